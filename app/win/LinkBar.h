#pragma once
#include <windows.h>

#include "ControlHost.h"
#include "Twips.h"

#include <functional>
#include <memory>

namespace folio::win {

// Frame1: the borderless bar under the grid that holds the two command links, lnkRun and
// lnkCSVSave, each a Jumplet control of JumpletControl.dll.
class LinkBar {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int id = 0;
        Twips twips;
        std::function<void()> onRunClick;
        std::function<void()> onSaveClick;
    };
    void Create(const CreateArgs& args);
    HWND Hwnd() const { return hwnd_; }
    // Why the links could not be placed, or S_OK.
    HRESULT LinkFailure() const { return failure_; }
    HWND RunLinkWindow() const { return run_ ? run_->Window() : nullptr; }
    HWND SaveLinkWindow() const { return save_ ? save_->Window() : nullptr; }

private:
    std::unique_ptr<ControlHost> PlaceLink(const CreateArgs& args, const std::wstring& caption, LONG extentX,
                                           double leftTwips, std::function<void()> onClick);

    HWND hwnd_ = nullptr;
    std::unique_ptr<ControlHost> run_;
    std::unique_ptr<ControlHost> save_;
    HRESULT failure_ = S_OK;
};

} // namespace folio::win
