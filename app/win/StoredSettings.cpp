#include "StoredSettings.h"

#include <olectl.h>

namespace folio::win {

StoredSettings::~StoredSettings() {
    for (Entry& entry : entries_)
        VariantClear(&entry.value);
}

void StoredSettings::Add(const std::wstring& key, const VARIANT& value) {
    Entry entry{key, {}};
    VariantInit(&entry.value);
    if (SUCCEEDED(VariantCopy(&entry.value, const_cast<VARIANT*>(&value))))
        entries_.push_back(entry);
}

void StoredSettings::AddInt32(const std::wstring& key, LONG value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    Add(key, v);
}

void StoredSettings::AddInt16(const std::wstring& key, SHORT value) {
    VARIANT v;
    v.vt = VT_I2;
    v.iVal = value;
    Add(key, v);
}

void StoredSettings::AddBool(const std::wstring& key, bool value) {
    VARIANT v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    Add(key, v);
}

void StoredSettings::AddSingle(const std::wstring& key, float value) {
    VARIANT v;
    v.vt = VT_R4;
    v.fltVal = value;
    Add(key, v);
}

void StoredSettings::AddText(const std::wstring& key, const std::wstring& value) {
    Variant v;
    v.Get()->vt = VT_BSTR;
    v.Get()->bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    Add(key, *v.Get());
}

void StoredSettings::AddObject(const std::wstring& key, IDispatch* object) {
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object; // VariantCopy takes its own reference
    Add(key, v);
}

StoredSettings::Entry* StoredSettings::Find(LPCOLESTR name) {
    for (Entry& entry : entries_)
        if (CompareStringOrdinal(entry.key.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL)
            return &entry;
    return nullptr;
}

HRESULT STDMETHODCALLTYPE StoredSettings::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyBag)
        return E_NOINTERFACE;
    *object = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StoredSettings::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value)
        return E_POINTER;
    const Entry* entry = Find(name);
    if (!entry)
        return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    VariantInit(value);
    if (wanted == VT_EMPTY)
        return VariantCopy(value, const_cast<VARIANT*>(&entry->value));
    return VariantChangeType(value, const_cast<VARIANT*>(&entry->value), 0, wanted);
}

HRESULT STDMETHODCALLTYPE StoredSettings::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value)
        return E_POINTER;
    if (Entry* entry = Find(name))
        return VariantCopy(&entry->value, value);
    Add(name, *value);
    return S_OK;
}

ComPtr<IDispatch> CreateSansSerifFontObject(bool underline) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
    description.cySize.int64 = 82500; // 8.25 pt, in units of 1/10000 point
    description.sWeight = FW_NORMAL;
    description.sCharset = 0;
    description.fUnderline = underline;
    ComPtr<IDispatch> font;
    OleCreateFontIndirect(&description, IID_IFontDisp, font.PutVoid());
    return font;
}

ComPtr<StoredSettings> LinkSettings(const std::wstring& caption, LONG extentX, LONG extentY) {
    constexpr LONG kNavy = 0x00800000;
    const std::wstring popup = L"There is no help associated with this command\\link";
    ComPtr<IDispatch> font = CreateSansSerifFontObject(true);
    auto settings = MakeComObject<StoredSettings>();
    settings->AddInt32(L"_extentx", extentX);
    settings->AddInt32(L"_extenty", extentY);
    settings->AddBool(L"autoredraw", false);
    settings->AddText(L"caption", caption);
    if (font)
        settings->AddObject(L"font", font.Get());
    settings->AddInt32(L"forecolor", kNavy);
    settings->AddInt16(L"mousepointer", 0);
    settings->AddText(L"fontname", L"MS Sans Serif");
    settings->AddSingle(L"fontsize", 8.25f);
    settings->AddBool(L"fontunderline", true);
    settings->AddText(L"popupmessage", popup);
    return settings;
}

} // namespace folio::win
