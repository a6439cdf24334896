#include "Jumplet.h"

#include "DebugLog.h"
#include "com/Module.h"
#include <shellapi.h>
// The standard colour and font pages' identifiers are defined here, once.
#include <initguid.h>
#include <msstkppg.h>

namespace {

constexpr OLE_COLOR kNavy = 0x00800000;
constexpr OLE_COLOR kBlue = 0x00FF0000;
constexpr OLE_COLOR kPurple = 0x00800080;
constexpr OLE_COLOR kButtonFace = 0x8000000F;
// The colour Enabled = False gives the caption: the system's grey text colour. While the
// label is disabled the platform draws it greyed whatever this value, so only hosts that
// read ForeColor or save the instance see it.
constexpr OLE_COLOR kDisabledText = 0x80000011;
constexpr wchar_t kNewPopupMessage[] = L"There is no help associated with this command\\link";
constexpr wchar_t kDefaultPopupMessage[] = L"There is no help for this command\\link";
constexpr wchar_t kErrorSource[] = L"JumpletControl";

void ReportError(HRESULT hr) {
    debuglog::DisplayError(com::ErrorNumber(hr), com::DescribeError(hr), kErrorSource);
}

bool IsTrue(VARIANT_BOOL value) { return value != VARIANT_FALSE; }
VARIANT_BOOL AsVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// The text in the system's 8-bit code page; characters it cannot map become its default character.
HRESULT ToSystemCodePage(const std::wstring& text, std::string& converted) {
    converted.clear();
    if (text.empty()) return S_OK;
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return HRESULT_FROM_WIN32(GetLastError());
    converted.assign(static_cast<size_t>(length), '\0');
    if (!WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), converted.data(), length, nullptr,
                             nullptr))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

} // namespace

Jumplet::Jumplet() : OleControl(CLSID_Jumplet), Label1(*this) {
    Label1.SetForeColor(kNavy);
    Label1.Move(5, 5);
    SetLabelCaption(L"Jumplet");
}

// ---- surface ----

void Jumplet::UserControl_Resize() {
    debuglog::CurrentEvent = L"Jumplet.Resize()";
    Label1.Move(5, 5);
    const SIZE label = Label1.SizeTwips();
    HRESULT hr = SetSurfaceSize(label.cx + 60, label.cy + 60);
    if (FAILED(hr)) ReportError(hr);
}

void Jumplet::OnSurfaceCreated() {
    HRESULT hr = Label1.CreateWindowIn(Surface());
    if (FAILED(hr)) ReportError(hr);
}

void Jumplet::UserControl_KeyPress(short& keyAscii) { RaiseEvent(L"KeyPress", {com::ByRef(&keyAscii)}); }

void Jumplet::UserControl_Show() { RaiseEvent(L"Show"); }

bool Jumplet::OnSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CHAR: {
        short keyAscii = static_cast<short>(wParam);
        UserControl_KeyPress(keyAscii);
        // The host may have changed the key, or swallowed it with 0.
        result = keyAscii ? DefWindowProcW(Surface(), WM_CHAR, static_cast<WPARAM>(keyAscii), lParam) : 0;
        return true;
    }
    case WM_SHOWWINDOW:
        if (wParam) UserControl_Show();
        return false;
    default:
        return false;
    }
}

void Jumplet::OnHitTest(float x, float y, short& hitResult) {
    RaiseEvent(L"HitTest", {com::ByRef(&x), com::ByRef(&y), com::ByRef(&hitResult)});
}

// ---- Label1 ----

void Jumplet::Label1_MouseDown(short button, short shift, float x, float y) {
    Label1.SetForeColor(kPurple);
    Label1.Refresh();
    RaiseEvent(L"MouseDown", {com::ByRef(&button), com::ByRef(&shift), com::ByRef(&x), com::ByRef(&y)});
}

void Jumplet::Label1_MouseUp(short button, short shift, float x, float y) {
    Label1.SetForeColor(kBlue);
    Label1.Refresh();
    RaiseEvent(L"MouseUp", {com::ByRef(&button), com::ByRef(&shift), com::ByRef(&x), com::ByRef(&y)});
}

void Jumplet::Label1_Click() { RaiseEvent(L"Click"); }

void Jumplet::Label1_DblClick() { RaiseEvent(L"DblClick"); }

void Jumplet::SetLabelCaption(std::wstring caption) {
    Label1.SetCaption(std::move(caption));
    UserControl_Resize();
}

// ---- properties ----

STDMETHODIMP Jumplet::get_Alignment(short* Alignment) {
    if (!Alignment) return E_POINTER;
    *Alignment = Label1.Alignment();
    return S_OK;
}

STDMETHODIMP Jumplet::put_Alignment(short New_Alignment) {
    HRESULT hr = Label1.SetAlignment(New_Alignment);
    if (SUCCEEDED(hr)) ReportChange(L"Alignment");
    return hr;
}

STDMETHODIMP Jumplet::get_AutoRedraw(VARIANT_BOOL* AutoRedraw) {
    if (!AutoRedraw) return E_POINTER;
    *AutoRedraw = AsVariantBool(autoRedraw_);
    return S_OK;
}

STDMETHODIMP Jumplet::put_AutoRedraw(VARIANT_BOOL New_AutoRedraw) {
    autoRedraw_ = IsTrue(New_AutoRedraw);
    ReportChange(L"AutoRedraw");
    return S_OK;
}

STDMETHODIMP Jumplet::get_BorderStyle(short* BorderStyle) {
    if (!BorderStyle) return E_POINTER;
    *BorderStyle = Label1.BorderStyle();
    return S_OK;
}

STDMETHODIMP Jumplet::put_BorderStyle(short New_BorderStyle) {
    HRESULT hr = Label1.SetBorderStyle(New_BorderStyle);
    if (SUCCEEDED(hr)) ReportChange(L"BorderStyle");
    return hr;
}

STDMETHODIMP Jumplet::get_Caption(BSTR* Caption) {
    return com::Guarded([&] { return com::ReturnBstr(Label1.Caption(), Caption); });
}

STDMETHODIMP Jumplet::put_Caption(BSTR New_caption) {
    return com::Guarded([&] {
        SetLabelCaption(com::BstrText(New_caption));
        ReportChange(L"Caption");
        return Label1.SetFontUnderline(true);
    });
}

STDMETHODIMP Jumplet::get_Enabled(VARIANT_BOOL* Enabled) {
    if (!Enabled) return E_POINTER;
    *Enabled = AsVariantBool(Label1.Enabled());
    return S_OK;
}

STDMETHODIMP Jumplet::put_Enabled(VARIANT_BOOL New_Enabled) {
    Label1.SetEnabled(IsTrue(New_Enabled));
    ReportChange(L"Enabled");
    return Label1.SetForeColor(IsTrue(New_Enabled) ? kBlue : kDisabledText);
}

STDMETHODIMP Jumplet::get_MousePointer(short* MousePointer) {
    if (!MousePointer) return E_POINTER;
    *MousePointer = Label1.MousePointer();
    return S_OK;
}

STDMETHODIMP Jumplet::put_MousePointer(short New_MousePointer) {
    HRESULT hr = Label1.SetMousePointer(New_MousePointer);
    if (SUCCEEDED(hr)) ReportChange(L"MousePointer");
    return hr;
}

STDMETHODIMP Jumplet::Refresh() {
    Label1.Refresh();
    return S_OK;
}

STDMETHODIMP Jumplet::get_URL(BSTR* URL) {
    return com::Guarded([&] { return com::ReturnBstr(url_, URL); });
}

STDMETHODIMP Jumplet::put_URL(BSTR New_URL) {
    return com::Guarded([&] {
        url_ = com::BstrText(New_URL);
        ReportChange(L"URL");
        return S_OK;
    });
}

STDMETHODIMP Jumplet::get_BackColor(OLE_COLOR* BackColor) {
    if (!BackColor) return E_POINTER;
    *BackColor = Label1.BackColor();
    return S_OK;
}

STDMETHODIMP Jumplet::put_BackColor(OLE_COLOR New_BackColor) {
    HRESULT hr = Label1.SetBackColor(New_BackColor);
    if (SUCCEEDED(hr)) ReportChange(L"BackColor");
    return hr;
}

STDMETHODIMP Jumplet::get_Font(IFontDisp** Font) {
    if (!Font) return E_POINTER;
    *Font = nullptr;
    return Label1.Font()->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(Font));
}

STDMETHODIMP Jumplet::putref_Font(IFontDisp* New_Font) {
    auto font = com::QueryAs<IFont>(New_Font);
    HRESULT hr = Label1.SetFont(font.Get());
    if (SUCCEEDED(hr)) ReportChange(L"Font");
    return hr;
}

HRESULT Jumplet::GetFontFlag(HRESULT (STDMETHODCALLTYPE IFont::*get)(BOOL*), VARIANT_BOOL* value) const {
    if (!value) return E_POINTER;
    BOOL flag = FALSE;
    HRESULT hr = (Label1.Font()->*get)(&flag);
    *value = AsVariantBool(flag);
    return hr;
}

HRESULT Jumplet::SetFontFlag(HRESULT (STDMETHODCALLTYPE IFont::*set)(BOOL), VARIANT_BOOL value, const wchar_t* name) {
    HRESULT hr = (Label1.Font()->*set)(IsTrue(value));
    if (SUCCEEDED(hr)) ReportChange(name);
    return hr;
}

STDMETHODIMP Jumplet::get_FontBold(VARIANT_BOOL* FontBold) { return GetFontFlag(&IFont::get_Bold, FontBold); }
STDMETHODIMP Jumplet::put_FontBold(VARIANT_BOOL New_FontBold) {
    return SetFontFlag(&IFont::put_Bold, New_FontBold, L"FontBold");
}
STDMETHODIMP Jumplet::get_FontItalic(VARIANT_BOOL* FontItalic) { return GetFontFlag(&IFont::get_Italic, FontItalic); }
STDMETHODIMP Jumplet::put_FontItalic(VARIANT_BOOL New_FontItalic) {
    return SetFontFlag(&IFont::put_Italic, New_FontItalic, L"FontItalic");
}
STDMETHODIMP Jumplet::get_FontUnderline(VARIANT_BOOL* FontUnderline) {
    return GetFontFlag(&IFont::get_Underline, FontUnderline);
}
STDMETHODIMP Jumplet::put_FontUnderline(VARIANT_BOOL New_FontUnderline) {
    return SetFontFlag(&IFont::put_Underline, New_FontUnderline, L"FontUnderline");
}

STDMETHODIMP Jumplet::get_FontName(BSTR* FontName) {
    if (!FontName) return E_POINTER;
    return Label1.Font()->get_Name(FontName);
}

STDMETHODIMP Jumplet::put_FontName(BSTR New_FontName) {
    HRESULT hr = Label1.Font()->put_Name(New_FontName);
    if (SUCCEEDED(hr)) ReportChange(L"FontName");
    return hr;
}

STDMETHODIMP Jumplet::get_FontSize(float* FontSize) {
    if (!FontSize) return E_POINTER;
    CY size{};
    HRESULT hr = Label1.Font()->get_Size(&size);
    *FontSize = static_cast<float>(static_cast<double>(size.int64) / 10000.0);
    return hr;
}

STDMETHODIMP Jumplet::put_FontSize(float New_FontSize) {
    CY size{};
    HRESULT hr = VarCyFromR4(New_FontSize, &size);
    if (SUCCEEDED(hr)) hr = Label1.Font()->put_Size(size);
    if (SUCCEEDED(hr)) ReportChange(L"FontSize");
    return hr;
}

STDMETHODIMP Jumplet::get_ForeColor(OLE_COLOR* ForeColor) {
    if (!ForeColor) return E_POINTER;
    *ForeColor = Label1.ForeColor();
    return S_OK;
}

STDMETHODIMP Jumplet::put_ForeColor(OLE_COLOR New_ForeColor) {
    HRESULT hr = Label1.SetForeColor(New_ForeColor);
    if (SUCCEEDED(hr)) ReportChange(L"ForeColor");
    return hr;
}

STDMETHODIMP Jumplet::get_PopupMessage(BSTR* PopupMessage) {
    return com::Guarded([&] { return com::ReturnBstr(popupMessage_, PopupMessage); });
}

STDMETHODIMP Jumplet::put_PopupMessage(BSTR NewMessage) {
    return com::Guarded([&] {
        popupMessage_ = com::BstrText(NewMessage);
        return S_OK;
    });
}

// ---- navigation ----

STDMETHODIMP Jumplet::NavigateUrl() {
    debuglog::CurrentEvent = L"Jumplet.NavigateUrl()";
    HRESULT hr = com::Guarded([&] {
        com::Bstr url;
        HRESULT step = get_URL(url.Put());
        if (FAILED(step) || url.Str().empty()) return step;
        SetSurfaceMousePointer(11);
        HWND desktop = GetDesktopWindow();
        step = get_URL(url.Put());
        std::string file;
        if (SUCCEEDED(step)) step = ToSystemCodePage(url.Str(), file);
        if (FAILED(step)) return step;
        // The shell's own failures (no handler, a missing file) are not the control's to report.
        ShellExecuteA(desktop, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        SetSurfaceMousePointer(0);
        return S_OK;
    });
    if (FAILED(hr)) ReportError(hr);
    return S_OK;
}

// ---- settings ----

void Jumplet::InitNewProperties() {
    url_ = L"http://";
    popupMessage_ = kNewPopupMessage;
}

std::vector<CLSID> Jumplet::PropertyPageIds() const {
    return {CLSID_PropertyPage1, CLSID_StockColorPage, CLSID_StockFontPage};
}

void Jumplet::ReadProperties(com::PropertyReader& in) {
    using com::Variant;
    debuglog::CurrentEvent = L"Jumplet.ReadProperties()";
    auto fontObject = [this](const VARIANT& v) { return Label1.SetFont(com::QueryAs<IFont>(v.pdispVal).Get()); };
    auto foreColor = [this](const VARIANT& v) { return Label1.SetForeColor(static_cast<OLE_COLOR>(v.lVal)); };
    auto backColor = [this](const VARIANT& v) { return Label1.SetBackColor(static_cast<OLE_COLOR>(v.lVal)); };
    const auto ambient = AmbientFont();
    const Variant ambientFont = ambient ? Variant::Object(static_cast<IDispatch*>(ambient.Get())) : Variant();

    in.Read(L"Alignment", Variant::Short(0), VT_I2, [this](const VARIANT& v) { return Label1.SetAlignment(v.iVal); });
    in.Read(L"AutoRedraw", Variant::Bool(true), VT_BOOL, [this](const VARIANT& v) {
        autoRedraw_ = IsTrue(v.boolVal);
        return S_OK;
    });
    in.Read(L"BorderStyle", Variant::Short(0), VT_I2, [this](const VARIANT& v) { return Label1.SetBorderStyle(v.iVal); });
    in.Read(L"Caption", Variant::Text(L"Jumplet"), VT_BSTR, [this](const VARIANT& v) {
        SetLabelCaption(com::BstrText(v.bstrVal));
        return S_OK;
    });
    in.Read(L"Enabled", Variant::Bool(true), VT_BOOL, [this](const VARIANT& v) {
        Label1.SetEnabled(IsTrue(v.boolVal));
        return S_OK;
    });
    in.Read(L"Font", ambientFont, VT_DISPATCH, fontObject);
    in.Read(L"ForeColor", Variant::Long(static_cast<LONG>(kBlue)), VT_I4, foreColor);
    in.Read(L"MouseIcon", Variant(), VT_UNKNOWN, [this](const VARIANT& v) {
        mouseIcon_ = com::ComPtr<IUnknown>(v.punkVal);
        return S_OK;
    });
    in.Read(L"MousePointer", Variant::Short(4), VT_I2, [this](const VARIANT& v) { return Label1.SetMousePointer(v.iVal); });
    in.Read(L"BackColor", Variant::Long(static_cast<LONG>(kButtonFace)), VT_I4, backColor);
    in.Read(L"URL", Variant::Text(L"http://"), VT_BSTR, [this](const VARIANT& v) {
        url_ = com::BstrText(v.bstrVal);
        return S_OK;
    });
    in.Read(L"BackColor", Variant::Long(static_cast<LONG>(kButtonFace)), VT_I4, backColor);
    in.Read(L"Font", ambientFont, VT_DISPATCH, fontObject);
    // The font keys come after the font object and override its flags, name and size. An
    // empty name or a size of 0 (a set without those keys) leaves the font's own.
    in.Read(L"FontBold", Variant::Bool(false), VT_BOOL, [this](const VARIANT& v) {
        return Label1.Font()->put_Bold(IsTrue(v.boolVal));
    });
    in.Read(L"FontItalic", Variant::Bool(false), VT_BOOL, [this](const VARIANT& v) {
        return Label1.Font()->put_Italic(IsTrue(v.boolVal));
    });
    in.Read(L"FontName", Variant::Text(L""), VT_BSTR, [this](const VARIANT& v) {
        return SysStringLen(v.bstrVal) ? Label1.Font()->put_Name(v.bstrVal) : S_OK;
    });
    in.Read(L"FontSize", Variant::Single(0), VT_R4, [this](const VARIANT& v) {
        CY size{};
        HRESULT hr = VarCyFromR4(v.fltVal, &size);
        if (FAILED(hr) || size.int64 == 0) return hr;
        return Label1.Font()->put_Size(size);
    });
    in.Read(L"FontUnderline", Variant::Bool(false), VT_BOOL, [this](const VARIANT& v) {
        return Label1.Font()->put_Underline(IsTrue(v.boolVal));
    });
    in.Read(L"ForeColor", Variant::Long(static_cast<LONG>(kBlue)), VT_I4, foreColor);
    in.Read(L"PopupMessage", Variant::Text(kDefaultPopupMessage), VT_BSTR, [this](const VARIANT& v) {
        popupMessage_ = com::BstrText(v.bstrVal);
        return S_OK;
    });
}

void Jumplet::AfterReadProperties(HRESULT lastFailure) {
    if (FAILED(lastFailure)) ReportError(lastFailure);
}

void Jumplet::WriteProperties(com::PropertyWriter& out) {
    using com::Variant;
    debuglog::CurrentEvent = L"Jumplet.WriteProperties()";
    IFont& font = *Label1.Font();
    BOOL bold = FALSE, italic = FALSE, underline = FALSE;
    font.get_Bold(&bold);
    font.get_Italic(&italic);
    font.get_Underline(&underline);
    com::Bstr name;
    font.get_Name(name.Put());
    float size = 0;
    get_FontSize(&size);
    // The saved font is a copy: a host that keeps the set in memory keeps what was saved.
    com::ComPtr<IFont> savedFont;
    HRESULT cloned = font.Clone(savedFont.Put());
    if (FAILED(cloned)) out.RecordFailure(cloned);
    const Variant foreColor = Variant::Long(static_cast<LONG>(Label1.ForeColor()));
    const Variant backColor = Variant::Long(static_cast<LONG>(Label1.BackColor()));
    const Variant blue = Variant::Long(static_cast<LONG>(kBlue));
    const Variant buttonFace = Variant::Long(static_cast<LONG>(kButtonFace));

    out.Write(L"Alignment", Variant::Short(Label1.Alignment()), Variant::Short(0));
    out.Write(L"AutoRedraw", Variant::Bool(autoRedraw_), Variant::Bool(true));
    out.Write(L"BorderStyle", Variant::Short(Label1.BorderStyle()), Variant::Short(0));
    out.Write(L"Caption", Variant::Text(Label1.Caption()), Variant::Text(L"Jumplet"));
    out.Write(L"Enabled", Variant::Bool(Label1.Enabled()), Variant::Bool(true));
    // The label's font is an object of its own, never the container's ambient font: always written.
    out.WriteObject(L"Font", savedFont.Get());
    out.Write(L"ForeColor", foreColor, blue);
    out.WriteObject(L"MouseIcon", mouseIcon_.Get());
    out.Write(L"MousePointer", Variant::Short(Label1.MousePointer()), Variant::Short(99));
    out.Write(L"BackColor", backColor, buttonFace);
    out.Write(L"URL", Variant::Text(url_), Variant::Text(L"http://"));
    out.Write(L"BackColor", backColor, buttonFace);
    out.WriteObject(L"Font", savedFont.Get());
    out.Write(L"FontBold", Variant::Bool(bold), Variant::Short(0));
    out.Write(L"FontItalic", Variant::Bool(italic), Variant::Short(0));
    out.Write(L"FontName", Variant::Text(name.Str()), Variant::Text(L""));
    out.Write(L"FontSize", Variant::Single(size), Variant::Short(0));
    out.Write(L"FontUnderline", Variant::Bool(underline), Variant::Short(0));
    out.Write(L"ForeColor", foreColor, blue);
    out.Write(L"PopupMessage", Variant::Text(popupMessage_), Variant::Text(L""));
}

void Jumplet::AfterWriteProperties(HRESULT lastFailure) {
    if (FAILED(lastFailure)) ReportError(lastFailure);
}
