#pragma once
// RAII holders for the three kinds of COM resource the library touches: interface pointers,
// BSTRs and VARIANTs. Nothing here calls Release, SysFreeString or VariantClear by hand
// elsewhere in the library.
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <string_view>
#include <utility>

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference: the caller keeps its own.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }

    // Adopts a reference the caller already owns (a fresh object, an out parameter).
    static ComPtr Adopt(T* p) { ComPtr result; result.p_ = p; return result; }

    void Reset() { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out parameters: releases what was held and hands out the slot.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    // Hands the reference to an out parameter of a COM method.
    T* Detach() { return std::exchange(p_, nullptr); }
    HRESULT CopyTo(T** out) const { if (!out) return E_POINTER; *out = p_; if (p_) p_->AddRef(); return S_OK; }

    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> result;
        if (p_) p_->QueryInterface(__uuidof(U), result.PutVoid());
        return result;
    }
    ComPtr<IUnknown> AsUnknown() const { return As<IUnknown>(); }

private:
    T* p_ = nullptr;
};

template <class U>
ComPtr<U> QueryAs(IUnknown* p) {
    ComPtr<U> result;
    if (p) p->QueryInterface(__uuidof(U), result.PutVoid());
    return result;
}

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text)
        : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr& other) : b_(other.b_ ? SysAllocStringLen(other.b_, SysStringLen(other.b_)) : nullptr) {}
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr& operator=(Bstr other) noexcept { std::swap(b_, other.b_); return *this; }

    static Bstr Adopt(BSTR b) { Bstr result; result.b_ = b; return result; }
    BSTR Get() const { return b_; }
    BSTR* Put() { SysFreeString(std::exchange(b_, nullptr)); return &b_; }
    BSTR Detach() { return std::exchange(b_, nullptr); }
    std::wstring Str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

// A fresh BSTR for an [out, retval] parameter; null (the empty text) when out of memory.
inline HRESULT ReturnBstr(std::wstring_view text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out || text.empty() ? S_OK : E_OUTOFMEMORY;
}

inline std::wstring BstrText(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& other) { VariantInit(&v_); VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)); }
    Variant(const VARIANT& other) { VariantInit(&v_); VariantCopy(&v_, const_cast<VARIANT*>(&other)); }
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    ~Variant() { VariantClear(&v_); }
    Variant& operator=(Variant other) noexcept { std::swap(v_, other.v_); return *this; }

    static Variant Short(short value) { Variant v; v.v_.vt = VT_I2; v.v_.iVal = value; return v; }
    static Variant Long(LONG value) { Variant v; v.v_.vt = VT_I4; v.v_.lVal = value; return v; }
    static Variant Bool(bool value) { Variant v; v.v_.vt = VT_BOOL; v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; return v; }
    static Variant Single(float value) { Variant v; v.v_.vt = VT_R4; v.v_.fltVal = value; return v; }
    static Variant Text(std::wstring_view text) { Variant v; v.v_.vt = VT_BSTR; v.v_.bstrVal = Bstr(text).Detach(); return v; }
    static Variant Object(IDispatch* object) {
        Variant v; v.v_.vt = VT_DISPATCH; v.v_.pdispVal = object; if (object) object->AddRef(); return v;
    }
    static Variant Object(IUnknown* object) {
        Variant v; v.v_.vt = VT_UNKNOWN; v.v_.punkVal = object; if (object) object->AddRef(); return v;
    }

    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }
    VARIANT* operator&() { return &v_; }
    VARTYPE Type() const { return v_.vt; }
    bool IsEmpty() const { return v_.vt == VT_EMPTY; }
    void Clear() { VariantClear(&v_); }
    VARIANT Detach() { VARIANT out = v_; VariantInit(&v_); return out; }

    // Converts in place to the given type the way automation does ("12" to 12, "abc" fails).
    HRESULT ChangeType(VARTYPE type) { return VariantChangeType(&v_, &v_, 0, type); }

private:
    VARIANT v_;
};

} // namespace com
