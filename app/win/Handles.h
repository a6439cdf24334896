#pragma once
#include <windows.h>

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

} // namespace folio::win
