#include "PropertyPage1.h"

#include "com/LateBound.h"

namespace {

enum FieldId {
    kAutoRedraw = 101,
    kBorderStyle,
    kCaption,
    kEnabled,
    kUrl,
    kAlignment,
    kMousePointer,
    kLabel = 200,
};

constexpr DWORD kTextBox = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_3STATE;
constexpr DWORD kLabelStyle = SS_LEFT;

// A property value as text ("12", "abc"); numbers become their decimal text.
HRESULT ReadText(IDispatch& object, const wchar_t* name, std::wstring& text) {
    com::Variant value;
    HRESULT hr = com::GetProperty(object, name, value);
    if (SUCCEEDED(hr) && value.Type() != VT_BSTR) hr = value.ChangeType(VT_BSTR);
    if (SUCCEEDED(hr)) text = com::BstrText(value.Get()->bstrVal);
    return hr;
}

// A truth value as a check box state: the value combined bitwise with 1.
HRESULT ReadCheck(IDispatch& object, const wchar_t* name, int& state) {
    com::Variant value;
    HRESULT hr = com::GetProperty(object, name, value);
    if (SUCCEEDED(hr)) hr = value.ChangeType(VT_I4);
    if (SUCCEEDED(hr)) state = value.Get()->lVal & 1;
    return hr;
}

} // namespace

PropertyPage1::PropertyPage1() : PropertyPage(L"PropertyPage1", SIZE{5925, 3495}) {}

void PropertyPage1::CreateFields() {
    chkAutoRedraw = CreateField(L"Button", L"AutoRedraw", kCheckBox, kAutoRedraw, 90, 120, 2700, 285);
    lblBorderStyle = CreateField(L"Static", L"BorderStyle:", kLabelStyle, kLabel, 90, 770, 2700, 240);
    txtBorderStyle = CreateField(L"Edit", L"", kTextBox, kBorderStyle, 90, 1020, 2700, 330);
    lblcaption = CreateField(L"Static", L"Caption:", kLabelStyle, kLabel, 90, 1420, 2700, 240);
    txtcaption = CreateField(L"Edit", L"", kTextBox, kCaption, 90, 1670, 2700, 330);
    chkEnabled = CreateField(L"Button", L"Enabled", kCheckBox, kEnabled, 90, 2070, 2700, 285);
    lblURL = CreateField(L"Static", L"URL:", kLabelStyle, kLabel, 90, 2720, 2700, 240);
    txtURL = CreateField(L"Edit", L"", kTextBox, kUrl, 120, 2970, 2700, 330);
    lblAlignment = CreateField(L"Static", L"Alignment:", kLabelStyle, kLabel, 3000, 120, 2700, 240);
    txtAlignment = CreateField(L"Edit", L"", kTextBox, kAlignment, 3000, 370, 2700, 330);
    lblMousePointer = CreateField(L"Static", L"MousePointer:", kLabelStyle, kLabel, 3000, 770, 2700, 240);
    txtMousePointer = CreateField(L"Edit", L"", kTextBox, kMousePointer, 3000, 1020, 2700, 330);
}

HRESULT PropertyPage1::ReadSelection(IDispatch& first) {
    filling_ = true;
    std::wstring text;
    int state = 0;
    HRESULT hr = ReadText(first, L"MousePointer", text);
    if (SUCCEEDED(hr)) FillText(txtMousePointer, text);
    if (SUCCEEDED(hr)) hr = ReadText(first, L"Alignment", text);
    if (SUCCEEDED(hr)) FillText(txtAlignment, text);
    if (SUCCEEDED(hr)) hr = ReadText(first, L"URL", text);
    if (SUCCEEDED(hr)) FillText(txtURL, text);
    if (SUCCEEDED(hr)) hr = ReadCheck(first, L"Enabled", state);
    if (SUCCEEDED(hr)) FillCheck(chkEnabled, state);
    if (SUCCEEDED(hr)) hr = ReadText(first, L"Caption", text);
    if (SUCCEEDED(hr)) FillText(txtcaption, text);
    if (SUCCEEDED(hr)) hr = ReadText(first, L"BorderStyle", text);
    if (SUCCEEDED(hr)) FillText(txtBorderStyle, text);
    if (SUCCEEDED(hr)) hr = ReadCheck(first, L"AutoRedraw", state);
    if (SUCCEEDED(hr)) FillCheck(chkAutoRedraw, state);
    filling_ = false;
    return hr;
}

HRESULT PropertyPage1::ApplyChanges(IDispatch& first) {
    using com::Variant;
    // All seven, changed or not; the control converts the texts of its number properties.
    HRESULT hr = com::PutProperty(first, L"MousePointer", Variant::Text(TextOf(txtMousePointer)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"Alignment", Variant::Text(TextOf(txtAlignment)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"URL", Variant::Text(TextOf(txtURL)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"Enabled", Variant::Bool(IsChecked(chkEnabled)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"Caption", Variant::Text(TextOf(txtcaption)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"BorderStyle", Variant::Text(TextOf(txtBorderStyle)));
    if (SUCCEEDED(hr)) hr = com::PutProperty(first, L"AutoRedraw", Variant::Bool(IsChecked(chkAutoRedraw)));
    return hr;
}

void PropertyPage1::OnCommand(int id, int code) {
    switch (id) {
    case kMousePointer:
    case kAlignment:
    case kUrl:
    case kCaption:
    case kBorderStyle:
        if (code == EN_CHANGE && !filling_) Field_Change();
        break;
    case kEnabled:
        if (code == BN_CLICKED) CheckBox_Click(chkEnabled);
        break;
    case kAutoRedraw:
        if (code == BN_CLICKED) CheckBox_Click(chkAutoRedraw);
        break;
    default:
        break;
    }
}

void PropertyPage1::Field_Change() { SetChanged(); }

void PropertyPage1::CheckBox_Click(HWND checkBox) {
    // A click checks a clear or grey box and clears a checked one.
    SendMessageW(checkBox, BM_SETCHECK, IsChecked(checkBox) ? BST_UNCHECKED : BST_CHECKED, 0);
    Field_Change();
}

void PropertyPage1::FillText(HWND textBox, const std::wstring& text) {
    if (TextOf(textBox) == text) return;
    SetWindowTextW(textBox, text.c_str());
    Field_Change();
}

void PropertyPage1::FillCheck(HWND checkBox, int value) {
    if (static_cast<int>(SendMessageW(checkBox, BM_GETCHECK, 0, 0)) == value) return;
    SendMessageW(checkBox, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    Field_Change();
}

std::wstring PropertyPage1::TextOf(HWND field) {
    const int length = GetWindowTextLengthW(field);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), length + 1)));
    return text;
}

bool PropertyPage1::IsChecked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }
