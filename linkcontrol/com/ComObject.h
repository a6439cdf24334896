#pragma once
// IUnknown for the library's objects: an interlocked reference count, QueryInterface from
// the list of exposed interfaces, and the module-wide object count behind DllCanUnloadNow.
#include "ComPtr.h"
#include <atomic>
#include <new>
#include <stdexcept>

namespace com {

// Live objects and server locks of this module.
class ModuleCount {
public:
    static void Increment() { count_.fetch_add(1); }
    static void Decrement() { count_.fetch_sub(1); }
    static bool IsZero() { return count_.load() == 0; }
private:
    static inline std::atomic<long> count_{0};
};

// Exposes interface I, and answers also for the interfaces it derives from (listed in Also:
// IDispatch for a dual interface, IOleWindow for IOleInPlaceObject, ...).
template <class I, class... Also>
struct Expose : I {
    using Interface = I;
    static bool Answers(REFIID iid) { return IsEqualIID(iid, __uuidof(I)) || (IsEqualIID(iid, __uuidof(Also)) || ...); }
};

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = FindInterface(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(refs_.fetch_add(1) + 1); }
    STDMETHODIMP_(ULONG) Release() override {
        long left = refs_.fetch_sub(1) - 1;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() { ModuleCount::Increment(); }
    virtual ~ComObject() { ModuleCount::Decrement(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    IUnknown* Identity() { return static_cast<typename First::Interface*>(this); }

    // Derived objects that expose more (a dual interface of their own) extend this.
    virtual void* FindInterface(REFIID iid) {
        if (IsEqualIID(iid, IID_IUnknown)) return Identity();
        void* found = nullptr;
        (TryExpose<First>(iid, found) || ... || TryExpose<Rest>(iid, found));
        return found;
    }

private:
    template <class E>
    bool TryExpose(REFIID iid, void*& found) {
        if (!E::Answers(iid)) return false;
        found = static_cast<typename E::Interface*>(static_cast<E*>(this));
        return true;
    }

    std::atomic<long> refs_{1};
};

// Runs the body of a COM method: an allocation failure becomes E_OUTOFMEMORY instead of an
// exception crossing the interface.
template <class Body>
HRESULT Guarded(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::length_error&) {
        return E_OUTOFMEMORY;
    }
}

// Creates an object with its first reference owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    return ComPtr<T>::Adopt(object);
}

} // namespace com
