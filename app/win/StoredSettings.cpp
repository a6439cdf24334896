#include "StoredSettings.h"

#include <olectl.h>

#include <new>

namespace folio::win {

void StoredSettings::Add(const std::wstring& key, const VARIANT& value) {
    Entry entry{key, {}};
    if (SUCCEEDED(VariantCopy(entry.value.Get(), const_cast<VARIANT*>(&value))))
        entries_.push_back(std::move(entry));
}

void StoredSettings::AddInt32(const std::wstring& key, LONG value) { Add(key, *com::Variant::Long(value).Get()); }

void StoredSettings::AddInt16(const std::wstring& key, SHORT value) { Add(key, *com::Variant::Short(value).Get()); }

void StoredSettings::AddBool(const std::wstring& key, bool value) { Add(key, *com::Variant::Bool(value).Get()); }

void StoredSettings::AddSingle(const std::wstring& key, float value) { Add(key, *com::Variant::Single(value).Get()); }

void StoredSettings::AddText(const std::wstring& key, const std::wstring& value) {
    Add(key, *com::Variant::Text(value).Get());
}

void StoredSettings::AddObject(const std::wstring& key, IDispatch* object) {
    Add(key, *com::Variant::Object(object).Get());
}

StoredSettings::Entry* StoredSettings::Find(LPCOLESTR name) {
    for (Entry& entry : entries_)
        if (CompareStringOrdinal(entry.key.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL)
            return &entry;
    return nullptr;
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
        return VariantCopy(value, const_cast<VARIANT*>(entry->value.Get()));
    return VariantChangeType(value, const_cast<VARIANT*>(entry->value.Get()), 0, wanted);
}

HRESULT STDMETHODCALLTYPE StoredSettings::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value)
        return E_POINTER;
    if (Entry* entry = Find(name))
        return VariantCopy(entry->value.Get(), value);
    Add(name, *value);
    return S_OK;
}

com::ComPtr<IDispatch> CreateSansSerifFontObject(bool underline) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
    description.cySize.int64 = 82500; // 8.25 pt, in units of 1/10000 point
    description.sWeight = FW_NORMAL;
    description.sCharset = 0;
    description.fUnderline = underline;
    com::ComPtr<IDispatch> font;
    OleCreateFontIndirect(&description, IID_IFontDisp, font.PutVoid());
    return font;
}

com::ComPtr<StoredSettings> LinkSettings(const std::wstring& caption, LONG extentX, LONG extentY) {
    constexpr LONG kNavy = 0x00800000;
    const std::wstring popup = L"There is no help associated with this command\\link";
    com::ComPtr<IDispatch> font = CreateSansSerifFontObject(true);
    auto settings = com::MakeObject<StoredSettings>();
    if (!settings)
        throw std::bad_alloc(); // like every other allocation while the window is made
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
