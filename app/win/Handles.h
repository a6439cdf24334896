#pragma once
#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace folio::win {

// One owner per platform handle; Traits names the invalid value and how to free it.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (Valid())
            Traits::Free(handle_);
        handle_ = handle;
    }
    // Frees the handle and reports whether the platform could (a close can fail on a flush).
    bool Close() {
        const bool ok = !Valid() || Traits::Free(handle_);
        handle_ = Traits::Invalid();
        return ok;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Free(Handle h) { return CloseHandle(h) != 0; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Free(Handle h) { return FindClose(h) != 0; }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static bool Free(Handle h) { return DeleteObject(h) != 0; }
};
using GdiObject = UniqueHandle<GdiObjectTraits>;

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() { return nullptr; }
    static bool Free(Handle h) { return DeleteObject(h) != 0; }
};
using FontHandle = UniqueHandle<FontTraits>;

// A COM reference: released when it goes out of scope.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) { AddRefIfSet(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference that the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* p) {
        ComPtr result;
        result.p_ = p;
        result.AddRefIfSet();
        return result;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    // For out parameters: releases what it holds and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> result;
        if (p_)
            p_->QueryInterface(__uuidof(U), result.PutVoid());
        return result;
    }

private:
    void AddRefIfSet() {
        if (p_)
            p_->AddRef();
    }
    T* p_ = nullptr;
};

// A BSTR that is freed with its owner.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR Get() const { return b_; }
    BSTR* Put() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    BSTR Detach() { return std::exchange(b_, nullptr); }

private:
    BSTR b_ = nullptr;
};

// A VARIANT that is cleared with its owner.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }

private:
    VARIANT v_;
};

} // namespace folio::win
