// The library's entry points: class objects, unloading and self-registration.
#include "Jumplet.h"
#include "Label.h"
#include "PropertyPage1.h"
#include "com/ClassFactory.h"
#include "com/Registration.h"
#include <olectl.h>

namespace {

// The OLEMISC flags containers read before loading the control.
constexpr DWORD kJumpletMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                     OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

std::vector<com::ClassRegistration> Classes() {
    return {
        {CLSID_Jumplet, L"JumpletControl.Jumplet", L"JumpletControl.Jumplet", true, kJumpletMiscStatus, L"1.0"},
        {CLSID_PropertyPage1, L"JumpletControl.PropertyPage1", L"", false, 0, L"1.0"},
    };
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        com::RegisterControlWindowClasses();
        com::RegisterPropertyPageWindowClass();
        RegisterLabelWindowClass();
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterLabelWindowClass();
        com::UnregisterPropertyPageWindowClass();
        com::UnregisterControlWindowClasses();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    com::CreateFunction create = nullptr;
    if (IsEqualCLSID(clsid, CLSID_Jumplet)) create = &com::CreateObject<Jumplet>;
    if (IsEqualCLSID(clsid, CLSID_PropertyPage1)) create = &com::CreateObject<PropertyPage1>;
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    auto factory = com::MakeObject<com::ClassFactory>(create);
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return com::ModuleCount::IsZero() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    return com::Guarded([] { return com::RegisterServer(Classes()); });
}

STDAPI DllUnregisterServer() {
    return com::Guarded([] { return com::UnregisterServer(Classes()); });
}
