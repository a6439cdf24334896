#include "Label.h"

#include "com/ComObject.h"
#include "com/Module.h"
#include "com/Units.h"
#include <new>
#include <utility>
#include <windowsx.h>

namespace {

constexpr wchar_t kLabelClass[] = L"FolioscopeJumpletLabel";
constexpr short kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

// Hears a font object's change reports on behalf of the label that uses it.
class FontChangeSink : public com::ComObject<com::Expose<IPropertyNotifySink>> {
public:
    explicit FontChangeSink(Label& label) : label_(&label) {}
    void Detach() { label_ = nullptr; }
    STDMETHODIMP OnChanged(DISPID) override {
        if (label_) label_->OnFontChanged();
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    Label* label_;
};

LPCWSTR CursorOf(short pointer) {
    switch (pointer) {
    case 2: return IDC_CROSS;
    case 3: return IDC_IBEAM;
    case 5: return IDC_SIZEALL;
    case 6: return IDC_SIZENESW;
    case 7: return IDC_SIZENS;
    case 8: return IDC_SIZENWSE;
    case 9: return IDC_SIZEWE;
    case 10: return IDC_UPARROW;
    case 11: return IDC_WAIT;
    case 12: return IDC_NO;
    case 13: return IDC_APPSTARTING;
    case 14: return IDC_HELP;
    case 15: return IDC_SIZEALL;
    default: return IDC_ARROW;
    }
}

bool IsPointerCode(short pointer) { return (pointer >= 0 && pointer <= 15) || pointer == 99; }

bool IsColor(OLE_COLOR color) {
    COLORREF ignored = 0;
    return SUCCEEDED(OleTranslateColor(color, nullptr, &ignored));
}

COLORREF ColorOf(OLE_COLOR color) {
    COLORREF value = 0;
    OleTranslateColor(color, nullptr, &value);
    return value;
}

short ShiftMask(WPARAM keys) {
    short shift = 0;
    if (keys & MK_SHIFT) shift |= 1;
    if (keys & MK_CONTROL) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

com::ComPtr<IFont> DesignFont() {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
    description.cySize.int64 = 82500;  // 8.25 pt
    description.sWeight = FW_NORMAL;
    description.sCharset = ANSI_CHARSET;
    description.fUnderline = TRUE;
    com::ComPtr<IFont> font;
    // Without a font object the label cannot exist; the control's creation fails instead.
    if (FAILED(OleCreateFontIndirect(&description, IID_IFont, font.PutVoid())) || !font) throw std::bad_alloc();
    return font;
}

} // namespace

void RegisterLabelWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &Label::WindowProc;
    windowClass.hInstance = com::ThisModule();
    windowClass.lpszClassName = kLabelClass;
    RegisterClassExW(&windowClass);
}

void UnregisterLabelWindowClass() { UnregisterClassW(kLabelClass, com::ThisModule()); }

Label::Label(LabelEvents& owner) : owner_(owner), font_(DesignFont()) {
    ConnectFontSink();
    AutoSize();
}

Label::~Label() {
    DisconnectFontSink();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

HRESULT Label::CreateWindowIn(HWND surface) {
    POINT origin{com::TwipsToPixelsX(positionTwips_.x), com::TwipsToPixelsY(positionTwips_.y)};
    HWND window = CreateWindowExW(WS_EX_TRANSPARENT, kLabelClass, caption_.c_str(), WS_CHILD | WS_VISIBLE,
                                  origin.x, origin.y, sizePixels_.cx, sizePixels_.cy, surface, nullptr,
                                  com::ThisModule(), this);
    if (!window) return HRESULT_FROM_WIN32(GetLastError());
    EnableWindow(window, enabled_);
    return S_OK;
}

// ---- settings ----

void Label::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    if (window_) SetWindowTextW(window_, caption_.c_str());
    AutoSize();
}

HRESULT Label::SetAlignment(short alignment) {
    if (alignment < 0 || alignment > 2) return CTL_E_INVALIDPROPERTYVALUE;
    alignment_ = alignment;
    Refresh();
    return S_OK;
}

HRESULT Label::SetBorderStyle(short borderStyle) {
    if (borderStyle < 0 || borderStyle > 1) return CTL_E_INVALIDPROPERTYVALUE;
    borderStyle_ = borderStyle;
    AutoSize();
    return S_OK;
}

void Label::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (window_) EnableWindow(window_, enabled);
    Refresh();
}

HRESULT Label::SetMousePointer(short pointer) {
    if (!IsPointerCode(pointer)) return CTL_E_INVALIDPROPERTYVALUE;
    mousePointer_ = pointer;
    return S_OK;
}

HRESULT Label::SetForeColor(OLE_COLOR color) {
    if (!IsColor(color)) return CTL_E_INVALIDPROPERTYVALUE;
    foreColor_ = color;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return S_OK;
}

HRESULT Label::SetBackColor(OLE_COLOR color) {
    if (!IsColor(color)) return CTL_E_INVALIDPROPERTYVALUE;
    backColor_ = color;
    return S_OK;
}

HRESULT Label::SetFont(IFont* font) {
    if (!font) return CTL_E_INVALIDPROPERTYVALUE;
    com::ComPtr<IFont> copy;
    HRESULT hr = font->Clone(copy.Put());
    if (FAILED(hr)) return hr;
    DisconnectFontSink();
    font_ = std::move(copy);
    ConnectFontSink();
    OnFontChanged();
    return S_OK;
}

HRESULT Label::SetFontUnderline(bool underline) { return font_->put_Underline(underline); }

void Label::OnFontChanged() { AutoSize(); }

HRESULT Label::ConnectFontSink() {
    auto points = font_.As<IConnectionPointContainer>();
    com::ComPtr<IConnectionPoint> point;
    if (!points || FAILED(points->FindConnectionPoint(IID_IPropertyNotifySink, point.Put()))) return E_NOINTERFACE;
    auto sink = com::MakeObject<FontChangeSink>(*this);
    if (!sink) return E_OUTOFMEMORY;
    HRESULT hr = point->Advise(sink.Get(), &fontCookie_);
    if (SUCCEEDED(hr)) fontSink_ = com::ComPtr<IPropertyNotifySink>(sink.Get());
    return hr;
}

void Label::DisconnectFontSink() {
    if (!fontSink_) return;
    static_cast<FontChangeSink*>(fontSink_.Get())->Detach();
    auto points = font_.As<IConnectionPointContainer>();
    com::ComPtr<IConnectionPoint> point;
    if (points && SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, point.Put())))
        point->Unadvise(fontCookie_);
    fontSink_.Reset();
    fontCookie_ = 0;
}

// ---- size and position ----

void Label::AutoSize() {
    HDC screen = GetDC(nullptr);
    HFONT font = nullptr;
    font_->get_hFont(&font);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    RECT text{0, 0, 0, 0};
    if (!caption_.empty()) DrawTextW(screen, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const long border = borderStyle_ == 1 ? 2 : 0;
    sizePixels_ = {text.right + border, (caption_.empty() ? metrics.tmHeight : text.bottom) + border};
    Reposition();
}

void Label::Move(long leftTwips, long topTwips) {
    positionTwips_ = {leftTwips, topTwips};
    Reposition();
}

void Label::Reposition() {
    if (!window_) return;
    SetWindowPos(window_, nullptr, com::TwipsToPixelsX(positionTwips_.x), com::TwipsToPixelsY(positionTwips_.y),
                 sizePixels_.cx, sizePixels_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
}

SIZE Label::SizeTwips() const { return {com::PixelsToTwipsX(sizePixels_.cx), com::PixelsToTwipsY(sizePixels_.cy)}; }

void Label::Refresh() {
    if (!window_) return;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

// ---- painting ----

void Label::Paint(HDC dc, const RECT& area) const {
    // Transparent: what shows behind the caption is the surface's own background.
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    RECT text = area;
    if (borderStyle_ == 1) {
        FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&text, -1, -1);
    }
    HFONT font = nullptr;
    font_->get_hFont(&font);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const UINT align = alignment_ == 1 ? DT_RIGHT : alignment_ == 2 ? DT_CENTER : DT_LEFT;
    if (enabled_) {
        SetTextColor(dc, ColorOf(foreColor_));
        DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, align);
    } else {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption_.c_str()),
                   static_cast<WPARAM>(caption_.size()), text.left, text.top, text.right - text.left,
                   text.bottom - text.top, DST_PREFIXTEXT | DSS_DISABLED);
    }
    SelectObject(dc, previous);
}

void Label::DrawInto(HDC dc, const RECT& surfaceArea) const {
    const int left = surfaceArea.left + com::TwipsToPixelsX(positionTwips_.x);
    const int top = surfaceArea.top + com::TwipsToPixelsY(positionTwips_.y);
    Paint(dc, RECT{left, top, left + sizePixels_.cx, top + sizePixels_.cy});
}

void Label::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    Paint(dc, client);
    EndPaint(window_, &paint);
}

// ---- window ----

LRESULT CALLBACK Label::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* label = static_cast<Label*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(label));
        label->window_ = window;
    }
    if (message == WM_NCDESTROY) {
        if (auto* label = reinterpret_cast<Label*>(GetWindowLongPtrW(window, GWLP_USERDATA))) label->window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    auto* label = reinterpret_cast<Label*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!label) return DefWindowProcW(window, message, wParam, lParam);
    // The owner's handlers raise events, and a host may let go of the control from one.
    com::ComPtr<IUnknown> keepAlive = label->owner_.HoldOwner();
    return label->OnMessage(message, wParam, lParam);
}

LRESULT Label::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: return OnSetCursor();
    case WM_LBUTTONDOWN: OnButtonDown(kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONDOWN: OnButtonDown(kMiddleButton, wParam, lParam); return 0;
    case WM_LBUTTONUP: OnButtonUp(kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONUP: OnButtonUp(kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONUP: OnButtonUp(kMiddleButton, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK:
        // The platform's order for a double click: down, up, click, double click, up.
        if (enabled_) {
            buttonsDown_ |= kLeftButton;
            inDoubleClick_ = true;
            SetCapture(window_);
            owner_.Label1_DblClick();
        }
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

BOOL Label::OnSetCursor() {
    SetCursor(LoadCursorW(nullptr, CursorOf(mousePointer_)));
    return TRUE;
}

void Label::OnButtonDown(short button, WPARAM keys, LPARAM position) {
    if (!enabled_) return;
    buttonsDown_ |= button;
    SetCapture(window_);
    owner_.Label1_MouseDown(button, ShiftMask(keys), static_cast<float>(com::PixelsToTwipsX(GET_X_LPARAM(position))),
                            static_cast<float>(com::PixelsToTwipsY(GET_Y_LPARAM(position))));
}

void Label::OnButtonUp(short button, WPARAM keys, LPARAM position) {
    if (!enabled_ || !(buttonsDown_ & button)) return;
    buttonsDown_ &= static_cast<short>(~button);
    if (!buttonsDown_ && GetCapture() == window_) ReleaseCapture();
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    RECT client{};
    GetClientRect(window_, &client);
    owner_.Label1_MouseUp(button, ShiftMask(keys), static_cast<float>(com::PixelsToTwipsX(point.x)),
                          static_cast<float>(com::PixelsToTwipsY(point.y)));
    const bool endsDoubleClick = button == kLeftButton && std::exchange(inDoubleClick_, false);
    if (button == kLeftButton && !endsDoubleClick && PtInRect(&client, point)) owner_.Label1_Click();
}
