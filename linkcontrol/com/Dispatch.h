#pragma once
// IDispatch for a dual interface, served by the type information of the embedded type
// library: names and calls go through ITypeInfo, which reaches the vtable of Dual.
#include "ComPtr.h"

namespace com {

template <class Dual>
class DispatchFromTypeInfo : public Dual {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = typeInfo_ ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return typeInfo_ ? typeInfo_.CopyTo(info) : E_UNEXPECTED;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!typeInfo_) return E_UNEXPECTED;
        return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argError) override {
        if (!typeInfo_) return E_UNEXPECTED;
        return typeInfo_->Invoke(static_cast<Dual*>(this), id, flags, params, result, excep, argError);
    }

protected:
    void SetTypeInfo(ComPtr<ITypeInfo> info) { typeInfo_ = std::move(info); }
    ITypeInfo* DualTypeInfo() const { return typeInfo_.Get(); }

private:
    ComPtr<ITypeInfo> typeInfo_;
};

} // namespace com
