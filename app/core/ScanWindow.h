#pragma once
#include <string>

namespace folio {

// What a scan does to the window that started it. A batch run without a display passes a
// window that does nothing.
class ScanWindow {
public:
    virtual ~ScanWindow() = default;
    // Disables the window, shows the wait pointer and hides the grid.
    virtual void BeginScan() = 0;
    virtual void ShowFileName(const std::string& name) = 0;
    // Lets the window repaint and handle what is pending, once per listed name.
    virtual void ProcessPendingMessages() = 0;
    // Shows the grid, enables the window and restores the default pointer; runs whatever failed.
    virtual void EndScan() = 0;
};

// The window of a run without a display: the scan changes nothing on screen.
class SilentScanWindow final : public ScanWindow {
public:
    void BeginScan() override {}
    void ShowFileName(const std::string&) override {}
    void ProcessPendingMessages() override {}
    void EndScan() override {}
};

} // namespace folio
