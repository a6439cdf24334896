#pragma once
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include "StoredSettings.h"
#include "com/ComPtr.h"

#include <functional>
#include <memory>
#include <string>

namespace folio::win {

class ControlSite;
class ControlEvents;

// One ActiveX control placed in a window of this program: created from its ProgID, loaded
// from its stored settings, activated in place, and connected to its event interface.
class ControlHost {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        const wchar_t* progId = nullptr;
        IID eventInterface{};
        POINT position{}; // pixels in the parent
        com::ComPtr<StoredSettings> settings;
        // Called for each event the control raises, with its dispatch identifier.
        std::function<void(DISPID)> onEvent;
    };
    // nullptr when the control cannot be made; failure then holds the reason
    // (REGDB_E_CLASSNOTREG or CO_E_CLASSSTRING when its library is not registered).
    static std::unique_ptr<ControlHost> Create(const CreateArgs& args, HRESULT& failure);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    void MoveTo(POINT position);
    // The control's own window, once it is active in place.
    HWND Window() const;
    const com::ComPtr<IOleObject>& Object() const { return object_; }

private:
    ControlHost() = default;
    HRESULT Activate(const CreateArgs& args);

    com::ComPtr<IOleObject> object_;
    com::ComPtr<ControlSite> site_;
    com::ComPtr<ControlEvents> events_;
    com::ComPtr<IConnectionPoint> connection_;
    DWORD cookie_ = 0;
};

// True when a failure of ControlHost::Create means the control's library is not registered.
bool IsNotRegistered(HRESULT failure);

} // namespace folio::win
