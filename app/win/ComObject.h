#pragma once
#include <windows.h>
#include <unknwn.h>

#include "Handles.h"

#include <utility>

namespace folio::win {

// The reference count of a COM object written here. The object deletes itself on its last
// Release, so it is only ever made through MakeComObject.
class ComRefCount {
public:
    ULONG AddRefCount() { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
    ULONG ReleaseCount() { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

private:
    LONG count_ = 1;
};

#define FOLIO_COM_REFCOUNT                                                                          \
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.AddRefCount(); }                      \
    ULONG STDMETHODCALLTYPE Release() override {                                                    \
        const ULONG left = refs_.ReleaseCount();                                                    \
        if (left == 0)                                                                              \
            DestroySelf(this);                                                                      \
        return left;                                                                                \
    }                                                                                               \
    ::folio::win::ComRefCount refs_

template <typename T>
void DestroySelf(T* object) {
    delete object;
}

// Makes a COM object holding its first reference.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
    return ComPtr<T>::Attach(new T(std::forward<Args>(args)...));
}

} // namespace folio::win
