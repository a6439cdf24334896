#include "Hwnd.h"

#include <cmath>

namespace folio::win {

std::wstring HwndGetText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

void HwndSetText(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

void HwndSetVisible(HWND hwnd, bool visible) { ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE); }

void HwndSetFont(HWND hwnd, HFONT font) { SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

void HwndPlace(HWND hwnd, const TwipRect& place, const Twips& twips) {
    // Edges are rounded, not sizes, so that touching edges in twips touch in pixels too.
    const int left = twips.ToPixelsX(place.left);
    const int top = twips.ToPixelsY(place.top);
    const int right = twips.ToPixelsX(place.left + place.width);
    const int bottom = twips.ToPixelsY(place.top + place.height);
    SetWindowPos(hwnd, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool RegisterWindowClassOnce(const WindowClassArgs& args) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(args.instance, args.name, &windowClass))
        return true;
    windowClass.lpfnWndProc = args.procedure;
    windowClass.hInstance = args.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = args.name;
    windowClass.hIcon = args.icon;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateChild(const ChildArgs& args) {
    HWND hwnd = CreateWindowExW(args.exStyle, args.className, args.text, WS_CHILD | WS_CLIPSIBLINGS | args.style,
                                0, 0, 0, 0, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(args.parent, GWLP_HINSTANCE)),
                                args.createParam);
    if (hwnd && args.font)
        HwndSetFont(hwnd, args.font);
    return hwnd;
}

HFONT CreateSansSerifFont(double points, const Twips& twips, bool underline) {
    const int height = -static_cast<int>(std::lround(points * twips.DpiY() / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

} // namespace folio::win
