#pragma once
#include <windows.h>
#include <oaidl.h>
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

// An IDispatch whose members are reached by dispatch identifier only: it offers no type
// information and knows no names. The object adds IUnknown and Invoke.
class DispatchByIdOnly : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }

protected:
    ~DispatchByIdOnly() = default;
};

// Makes a COM object holding its first reference.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
    return ComPtr<T>::Attach(new T(std::forward<Args>(args)...));
}

} // namespace folio::win
