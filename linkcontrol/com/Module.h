#pragma once
// Facts about the DLL this code is linked into: its handle, its path, its type library.
#include "ComPtr.h"
#include <string>

namespace com {

// The module that holds this code (the DLL, or the program in a static test build).
HMODULE ThisModule();
// Full path of ThisModule(); empty when it cannot be read.
std::wstring ThisModulePath();

// The type library embedded in ThisModule() as resource TYPELIB 1, loaded without touching the
// registry.
HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& library);
HRESULT ModuleTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info);

// Text for a failure code: the system's message, or a fixed one for the control errors.
std::wstring DescribeError(HRESULT hr);
// The number a script sees for a failure code: the code of an automation or control error
// (13 for a type mismatch, 380 for an invalid property value), else the HRESULT itself.
long ErrorNumber(HRESULT hr);

} // namespace com
