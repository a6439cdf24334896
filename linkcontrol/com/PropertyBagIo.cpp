#include "PropertyBagIo.h"

namespace com {

void PropertyWriter::Write(const wchar_t* key, const Variant& value, const Variant& writeDefault) {
    Variant left(value), right(writeDefault);
    if (VarCmp(left.Get(), right.Get(), LOCALE_USER_DEFAULT, 0) == static_cast<HRESULT>(VARCMP_EQ)) return;
    WriteAlways(key, value);
}

void PropertyWriter::WriteObject(const wchar_t* key, IUnknown* object) {
    if (!object) return;
    ComPtr<IDispatch> dispatch = QueryAs<IDispatch>(object);
    WriteAlways(key, dispatch ? Variant::Object(dispatch.Get()) : Variant::Object(object));
}

void PropertyWriter::WriteAlways(const wchar_t* key, const Variant& value) {
    Variant copy(value);
    HRESULT hr = bag_.Write(key, copy.Get());
    if (FAILED(hr)) lastError_ = hr;
}

void PropertyReader::Read(const wchar_t* key, const Variant& readDefault, VARTYPE type, const Apply& apply) {
    Variant value;
    HRESULT hr = bag_.Read(key, value.Get(), log_);
    // E_INVALIDARG is the bag's way of saying it holds no such key.
    if (FAILED(hr) && hr != E_INVALIDARG) {
        lastError_ = hr;
        return;
    }
    if (FAILED(hr) || value.IsEmpty()) value = readDefault;
    if (value.IsEmpty()) return;
    if (value.Type() != type) {
        hr = value.ChangeType(type);
        if (FAILED(hr)) {
            lastError_ = hr;
            return;
        }
    }
    hr = apply(*value.Get());
    if (FAILED(hr)) lastError_ = hr;
}

} // namespace com
