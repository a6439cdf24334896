#pragma once
// Self-registration of the in-process classes of this module and of its type library.
#include <windows.h>
#include <string>
#include <vector>

namespace com {

struct ClassRegistration {
    CLSID clsid;
    std::wstring name;            // default value of the CLSID key
    std::wstring progId;          // empty: no ProgID
    bool isControl = false;       // writes Control, MiscStatus, TypeLib and Version
    DWORD miscStatus = 0;
    std::wstring version;         // "1.0"
};

// Deletes what an earlier registration left, then writes the class keys of every class and
// registers the embedded type library. Stops at the first failure.
HRESULT RegisterServer(const std::vector<ClassRegistration>& classes);
// Removes exactly what RegisterServer writes.
HRESULT UnregisterServer(const std::vector<ClassRegistration>& classes);

std::wstring GuidText(REFGUID guid);

} // namespace com
