#include "Application.h"

#include "Form1.h"
#include "PixImageControl.h"
#include "ProcessCommandLine.h"
#include "Startup.h"
#include "Win32FileSystem.h"
#include "WinRegional.h"
#include "WinText.h"

#include <commctrl.h>
#include <ole2.h>

namespace folio::win {

namespace {

constexpr wchar_t kApplicationTitle[] = L"Folioscope";

// The batch run has no window to show progress in.
class HiddenScanWindow final : public ScanWindow {
public:
    void BeginScan() override {}
    void ShowFileName(const std::string&) override {}
    void ProcessPendingMessages() override {}
    void EndScan() override {}
};

int ShowUsage() {
    MessageBoxW(nullptr, WideFromUtf8(kUsageText).c_str(), kApplicationTitle, MB_OK | MB_TASKMODAL);
    return kUsageExitStatus;
}

int RunBatchMode(const ArgumentList& args) {
    Win32FileSystem fileSystem;
    PixImageControl imaging;
    HiddenScanWindow window;
    ResultGrid grid;
    const RegionalSettings settings = UserRegionalSettings();
    ImageScanner scanner(fileSystem, imaging, window, grid, settings);
    Selection selection;
    return RunBatch(args, selection, fileSystem, scanner, grid, settings);
}

// Keeps COM (single-threaded, with OLE's clipboard and drag services) for the window's life.
class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (ok_)
            OleUninitialize();
    }

private:
    bool ok_;
};

int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(window) && IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunInteractive(HINSTANCE instance, int showCommand) {
    OleSession ole;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    Win32FileSystem fileSystem;
    Form1::CreateArgs args;
    args.instance = instance;
    args.fileSystem = &fileSystem;
    auto form = Form1::Create(args);
    if (!form)
        return 1;
    form->Show(showCommand);
    return RunMessageLoop(form->Hwnd());
}

} // namespace

int RunFolioscope(HINSTANCE instance, int showCommand) {
    std::optional<ArgumentList> args;
    ParseCommandLine(args, ProcessArguments());
    switch (ChooseStartupMode(args)) {
    case StartupMode::Usage:
        return ShowUsage();
    case StartupMode::Batch:
        return RunBatchMode(*args);
    case StartupMode::Interactive:
        break;
    }
    return RunInteractive(instance, showCommand);
}

} // namespace folio::win
