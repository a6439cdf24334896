#include "ConnectionPoint.h"

#include <algorithm>
#include <olectl.h>
#include <new>

namespace com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID sinkIid, bool isDispInterface)
    : container_(container), iid_(sinkIid), isDispInterface_(isDispInterface) {}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> typed;
    if (FAILED(sink->QueryInterface(iid_, typed.PutVoid())) &&
        (!isDispInterface_ || FAILED(sink->QueryInterface(IID_IDispatch, typed.PutVoid()))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        connections_.push_back({nextCookie_, std::move(typed)});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    auto found = std::find_if(connections_.begin(), connections_.end(),
                              [cookie](const Connection& c) { return c.cookie == cookie; });
    if (found == connections_.end()) return CONNECT_E_NOCONNECTION;
    connections_.erase(found);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

} // namespace com
