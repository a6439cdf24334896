#include "StreamPropertyBag.h"

#include <new>
#include <ole2.h>

namespace com {
namespace {

constexpr DWORD kFormatTag = 0x4A4C5031;  // "JLP1"
constexpr DWORD kMaxEntries = 1024;
constexpr DWORD kMaxTextLength = 1 << 20;

HRESULT WriteBytes(IStream& stream, const void* data, ULONG size) {
    ULONG written = 0;
    HRESULT hr = stream.Write(data, size, &written);
    return FAILED(hr) ? hr : (written == size ? S_OK : STG_E_MEDIUMFULL);
}

HRESULT ReadBytes(IStream& stream, void* data, ULONG size) {
    ULONG read = 0;
    HRESULT hr = stream.Read(data, size, &read);
    return FAILED(hr) ? hr : (read == size ? S_OK : STG_E_READFAULT);
}

template <class T>
HRESULT WriteValue(IStream& stream, const T& value) { return WriteBytes(stream, &value, sizeof value); }
template <class T>
HRESULT ReadValue(IStream& stream, T& value) { return ReadBytes(stream, &value, sizeof value); }

HRESULT WriteText(IStream& stream, const std::wstring& text) {
    DWORD length = static_cast<DWORD>(text.size());
    HRESULT hr = WriteValue(stream, length);
    return SUCCEEDED(hr) ? WriteBytes(stream, text.data(), length * sizeof(wchar_t)) : hr;
}

HRESULT ReadText(IStream& stream, std::wstring& text) {
    DWORD length = 0;
    HRESULT hr = ReadValue(stream, length);
    if (FAILED(hr)) return hr;
    if (length > kMaxTextLength) return STG_E_DOCFILECORRUPT;
    text.assign(length, L'\0');
    return ReadBytes(stream, text.data(), length * sizeof(wchar_t));
}

HRESULT WriteVariant(IStream& stream, const VARIANT& value) {
    HRESULT hr = WriteValue(stream, value.vt);
    if (FAILED(hr)) return hr;
    switch (value.vt) {
    case VT_I2: return WriteValue(stream, value.iVal);
    case VT_BOOL: return WriteValue(stream, value.boolVal);
    case VT_I4: return WriteValue(stream, value.lVal);
    case VT_R4: return WriteValue(stream, value.fltVal);
    case VT_BSTR: return WriteText(stream, BstrText(value.bstrVal));
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        auto persist = QueryAs<IPersistStream>(value.punkVal);
        return persist ? OleSaveToStream(persist.Get(), &stream) : DISP_E_TYPEMISMATCH;
    }
    default: return DISP_E_BADVARTYPE;
    }
}

HRESULT ReadVariant(IStream& stream, Variant& value) {
    VARTYPE type = VT_EMPTY;
    HRESULT hr = ReadValue(stream, type);
    if (FAILED(hr)) return hr;
    VARIANT& v = *value.Get();
    switch (type) {
    case VT_I2: hr = ReadValue(stream, v.iVal); break;
    case VT_BOOL: hr = ReadValue(stream, v.boolVal); break;
    case VT_I4: hr = ReadValue(stream, v.lVal); break;
    case VT_R4: hr = ReadValue(stream, v.fltVal); break;
    case VT_BSTR: {
        std::wstring text;
        hr = ReadText(stream, text);
        if (SUCCEEDED(hr)) value = Variant::Text(text);
        return hr;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        ComPtr<IUnknown> object;
        hr = OleLoadFromStream(&stream, IID_IUnknown, object.PutVoid());
        if (SUCCEEDED(hr)) {
            auto dispatch = object.As<IDispatch>();
            value = dispatch ? Variant::Object(dispatch.Get()) : Variant::Object(object.Get());
        }
        return hr;
    }
    default: return STG_E_DOCFILECORRUPT;
    }
    if (SUCCEEDED(hr)) v.vt = type;
    return hr;
}

} // namespace

STDMETHODIMP StreamPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    for (const auto& entry : entries_)
        if (_wcsicmp(entry.name.c_str(), name) == 0) {
            VARTYPE wanted = value->vt;
            HRESULT hr = VariantCopy(value, const_cast<VARIANT*>(entry.value.Get()));
            if (SUCCEEDED(hr) && wanted != VT_EMPTY && wanted != value->vt)
                hr = VariantChangeType(value, value, 0, wanted);
            return hr;
        }
    return E_INVALIDARG;
}

STDMETHODIMP StreamPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    try {
        entries_.push_back({name, Variant(*value)});
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT StreamPropertyBag::SaveTo(IStream& stream) const {
    HRESULT hr = WriteValue(stream, kFormatTag);
    if (SUCCEEDED(hr)) hr = WriteValue(stream, static_cast<DWORD>(entries_.size()));
    for (const auto& entry : entries_) {
        if (SUCCEEDED(hr)) hr = WriteText(stream, entry.name);
        if (SUCCEEDED(hr)) hr = WriteVariant(stream, *entry.value.Get());
    }
    return hr;
}

HRESULT StreamPropertyBag::LoadFrom(IStream& stream) {
    try {
        DWORD tag = 0, count = 0;
        HRESULT hr = ReadValue(stream, tag);
        if (SUCCEEDED(hr) && tag != kFormatTag) hr = STG_E_DOCFILECORRUPT;
        if (SUCCEEDED(hr)) hr = ReadValue(stream, count);
        if (SUCCEEDED(hr) && count > kMaxEntries) hr = STG_E_DOCFILECORRUPT;
        for (DWORD i = 0; SUCCEEDED(hr) && i < count; ++i) {
            Entry entry;
            hr = ReadText(stream, entry.name);
            if (SUCCEEDED(hr)) hr = ReadVariant(stream, entry.value);
            if (SUCCEEDED(hr)) entries_.push_back(std::move(entry));
        }
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace com
