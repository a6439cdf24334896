#pragma once
#include <windows.h>

#include "Twips.h"
#include "Form1Layout.h"

#include <string>

namespace folio::win {

std::wstring HwndGetText(HWND hwnd);
void HwndSetText(HWND hwnd, const std::wstring& text);
void HwndSetVisible(HWND hwnd, bool visible);
void HwndSetFont(HWND hwnd, HFONT font);
// Places a child at a rectangle given in twips.
void HwndPlace(HWND hwnd, const TwipRect& place, const Twips& twips);

// Registers a window class of this program, with the arrow pointer and the button-face
// background, unless it is registered already.
struct WindowClassArgs {
    HINSTANCE instance = nullptr;
    const wchar_t* name = nullptr;
    WNDPROC procedure = DefWindowProcW;
    HICON icon = nullptr;
};
bool RegisterWindowClassOnce(const WindowClassArgs& args);

// Creates a child control; the id is its control identifier, its creation order its tab order.
struct ChildArgs {
    HWND parent = nullptr;
    const wchar_t* className = nullptr;
    const wchar_t* text = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HFONT font = nullptr;
    void* createParam = nullptr;
};
HWND CreateChild(const ChildArgs& args);

// "MS Sans Serif" at a point size, for the screen's pixels per inch.
HFONT CreateSansSerifFont(double points, const Twips& twips, bool underline = false);

} // namespace folio::win
