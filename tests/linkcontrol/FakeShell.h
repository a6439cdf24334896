#pragma once
// Stands in for GetDesktopWindow and ShellExecuteA inside the loaded JumpletControl.dll for
// its lifetime, recording each shell call and whether the control's surface showed the
// hourglass while the shell ran.
#include "ImportPatch.h"
#include <memory>
#include <string>
#include <vector>

class FakeShell {
public:
    struct Call {
        HWND window;
        bool hasOperation, hasParameters, hasDirectory;
        std::string file;
        int show;
        bool hourglassDuringCall;
    };
    static inline const HWND kDesktop = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5E5E));

    // surface: the control window whose pointer is probed during the call.
    explicit FakeShell(HWND surface);
    ~FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    bool Installed() const { return shell_->Applied() && desktop_->Applied(); }
    const std::vector<Call>& Calls() const { return calls_; }
    int DesktopRequests() const { return desktopRequests_; }

    // Whether the surface answers the pointer request with the hourglass.
    static bool ShowsHourglass(HWND surface);

private:
    static HWND WINAPI GetDesktopWindow();
    static HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

    HWND surface_;
    std::vector<Call> calls_;
    int desktopRequests_ = 0;
    std::unique_ptr<ImportPatch> shell_, desktop_;
};
