#include "Module.h"

#include <olectl.h>

namespace com {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::wstring ThisModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& library) {
    std::wstring path = ThisModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
}

HRESULT ModuleTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadModuleTypeLib(library);
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(guid, info.Put());
}

long ErrorNumber(HRESULT hr) {
    switch (hr) {
    case DISP_E_TYPEMISMATCH: return 13;
    case DISP_E_OVERFLOW: return 6;
    case E_OUTOFMEMORY: return 7;
    default: break;
    }
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<long>(hr);
}

std::wstring DescribeError(HRESULT hr) {
    switch (hr) {
    case CTL_E_INVALIDPROPERTYVALUE: return L"Invalid property value";
    case DISP_E_TYPEMISMATCH: return L"Type mismatch";
    case DISP_E_OVERFLOW: return L"Overflow";
    default: break;
    }
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Automation error";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

} // namespace com
