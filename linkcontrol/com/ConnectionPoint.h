#pragma once
// A connection point that lives inside its container object: its references are the
// container's, so it can never outlive it.
#include "ComPtr.h"
#include <ocidl.h>
#include <vector>

namespace com {

class ConnectionPoint : public IConnectionPoint {
public:
    // sinkIid: what advised sinks must answer; a dispinterface also accepts plain IDispatch.
    ConnectionPoint(IConnectionPointContainer& container, REFIID sinkIid, bool isDispInterface);
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return container_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return container_.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    REFIID SinkIid() const { return iid_; }

    // The connected sinks at this moment, as the given interface (a sink may unadvise while
    // it is being called, so callers walk this copy).
    template <class Sink>
    std::vector<ComPtr<Sink>> Sinks() const {
        std::vector<ComPtr<Sink>> result;
        for (const auto& connection : connections_)
            if (auto sink = connection.sink.template As<Sink>()) result.push_back(sink);
        return result;
    }

    void DisconnectAll() { connections_.clear(); }

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IUnknown> sink;
    };

    IConnectionPointContainer& container_;
    IID iid_;
    bool isDispInterface_;
    DWORD nextCookie_ = 1;
    std::vector<Connection> connections_;
};

} // namespace com
