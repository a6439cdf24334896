#include "FakeShell.h"

namespace {
FakeShell* active = nullptr;
}

FakeShell::FakeShell(HWND surface) : surface_(surface) {
    active = this;
    HMODULE library = GetModuleHandleW(L"JumpletControl.dll");
    shell_ = std::make_unique<ImportPatch>(library, "shell32.dll", "ShellExecuteA",
                                           reinterpret_cast<void*>(&FakeShell::ShellExecuteA));
    desktop_ = std::make_unique<ImportPatch>(library, "user32.dll", "GetDesktopWindow",
                                             reinterpret_cast<void*>(&FakeShell::GetDesktopWindow));
}

FakeShell::~FakeShell() {
    shell_.reset();
    desktop_.reset();
    active = nullptr;
}

bool FakeShell::ShowsHourglass(HWND surface) {
    SetCursor(nullptr);
    SendMessageW(surface, WM_SETCURSOR, reinterpret_cast<WPARAM>(surface), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
}

HWND WINAPI FakeShell::GetDesktopWindow() {
    ++active->desktopRequests_;
    return kDesktop;
}

HINSTANCE WINAPI FakeShell::ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                          LPCSTR directory, INT show) {
    active->calls_.push_back({window, operation != nullptr, parameters != nullptr, directory != nullptr,
                              file ? file : "<null>", show, ShowsHourglass(active->surface_)});
    // "File not found": the control does not look at the result.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(2));
}
