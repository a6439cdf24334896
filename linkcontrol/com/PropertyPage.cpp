#include "PropertyPage.h"

#include "Module.h"
#include "Units.h"

namespace com {
namespace {

constexpr wchar_t kPageClass[] = L"FolioscopePropertyPage";

HFONT CreatePageFont() {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(8, ScreenPixelsPerInch(LOGPIXELSY), 72);
    description.lfWeight = FW_NORMAL;
    wcscpy(description.lfFaceName, L"MS Sans Serif");
    return CreateFontIndirectW(&description);
}

} // namespace

void RegisterPropertyPageWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PropertyPage::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kPageClass;
    RegisterClassExW(&windowClass);
}

void UnregisterPropertyPageWindowClass() { UnregisterClassW(kPageClass, ThisModule()); }

PropertyPage::~PropertyPage() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (font_) DeleteObject(font_);
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
    site_ = ComPtr<IPropertyPageSite>(site);
    return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (window_) return E_UNEXPECTED;
    if (!font_) font_ = CreatePageFont();
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, caption_.c_str(),
                                  WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, ThisModule(),
                                  this);
    if (!window) return HRESULT_FROM_WIN32(GetLastError());
    return Guarded([&] {
        CreateFields();
        return ReadFirstSelected();
    });
}

STDMETHODIMP PropertyPage::Deactivate() {
    if (!window_) return S_OK;
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    const size_t bytes = (caption_.size() + 1) * sizeof(wchar_t);
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!title) return E_OUTOFMEMORY;
    memcpy(title, caption_.c_str(), bytes);
    info->cb = sizeof *info;
    info->pszTitle = title;
    info->size = {TwipsToPixelsX(sizeTwips_.cx), TwipsToPixelsY(sizeTwips_.cy)};
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    return Guarded([&] {
        objects_.clear();
        for (ULONG i = 0; i < count; ++i)
            if (auto object = QueryAs<IDispatch>(objects[i])) objects_.push_back(object);
        return ReadFirstSelected();
    });
}

HRESULT PropertyPage::ReadFirstSelected() {
    if (!window_ || objects_.empty()) return S_OK;
    return ReadSelection(*objects_.front().Get());
}

STDMETHODIMP PropertyPage::Show(UINT command) {
    if (!window_) return E_UNEXPECTED;
    ShowWindow(window_, static_cast<int>(command));
    return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!window_) return E_UNEXPECTED;
    MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP PropertyPage::Apply() {
    if (objects_.empty()) return S_OK;
    return Guarded([&] {
        HRESULT hr = ApplyChanges(*objects_.front().Get());
        if (SUCCEEDED(hr)) changed_ = false;
        return hr;
    });
}

STDMETHODIMP PropertyPage::TranslateAccelerator(MSG* message) {
    if (!message) return E_POINTER;
    return window_ && IsDialogMessageW(window_, message) ? S_OK : S_FALSE;
}

void PropertyPage::SetChanged() {
    changed_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

HWND PropertyPage::CreateField(const wchar_t* windowClass, const wchar_t* caption, DWORD style, int id, long left,
                               long top, long width, long height) {
    HWND field = CreateWindowExW(0, windowClass, caption, WS_CHILD | WS_VISIBLE | style, TwipsToPixelsX(left),
                                 TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height), window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    if (field) SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return field;
}

LRESULT CALLBACK PropertyPage::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* page = static_cast<PropertyPage*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page));
        page->window_ = window;
    }
    auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (page && message == WM_COMMAND) {
        ComPtr<IUnknown> keepAlive(page->Identity());
        page->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace com
