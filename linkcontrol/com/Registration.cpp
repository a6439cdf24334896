#include "Registration.h"

#include "Module.h"

namespace com {
namespace {

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { if (key_) RegCloseKey(key_); }

    LSTATUS Create(HKEY parent, const std::wstring& path) {
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_, nullptr);
    }
    LSTATUS SetText(const wchar_t* name, const std::wstring& value) {
        return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY key_ = nullptr;
};

// Writes HKCR\path with a default value (and one named value when given).
HRESULT WriteKey(const std::wstring& path, const std::wstring& value, const wchar_t* name = nullptr,
                 const std::wstring& namedValue = {}) {
    RegistryKey key;
    LSTATUS status = key.Create(HKEY_CLASSES_ROOT, path);
    if (status == ERROR_SUCCESS) status = key.SetText(nullptr, value);
    if (status == ERROR_SUCCESS && name) status = key.SetText(name, namedValue);
    return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(const std::wstring& path) {
    LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(status);
}

HRESULT WriteClass(const ClassRegistration& entry, const std::wstring& modulePath, const std::wstring& libId) {
    const std::wstring key = L"CLSID\\" + GuidText(entry.clsid);
    HRESULT hr = WriteKey(key, entry.name);
    if (SUCCEEDED(hr)) hr = WriteKey(key + L"\\InprocServer32", modulePath, L"ThreadingModel", L"Apartment");
    if (SUCCEEDED(hr) && !entry.progId.empty()) {
        hr = WriteKey(key + L"\\ProgID", entry.progId);
        if (SUCCEEDED(hr)) hr = WriteKey(entry.progId, entry.name);
        if (SUCCEEDED(hr)) hr = WriteKey(entry.progId + L"\\CLSID", GuidText(entry.clsid));
    }
    if (SUCCEEDED(hr) && entry.isControl) {
        hr = WriteKey(key + L"\\Control", L"");
        if (SUCCEEDED(hr)) hr = WriteKey(key + L"\\MiscStatus", L"0");
        if (SUCCEEDED(hr)) hr = WriteKey(key + L"\\MiscStatus\\1", std::to_wstring(entry.miscStatus));
        if (SUCCEEDED(hr)) hr = WriteKey(key + L"\\TypeLib", libId);
        if (SUCCEEDED(hr)) hr = WriteKey(key + L"\\Version", entry.version);
    }
    return hr;
}

HRESULT DeleteClass(const ClassRegistration& entry) {
    HRESULT hr = DeleteTree(L"CLSID\\" + GuidText(entry.clsid));
    if (SUCCEEDED(hr) && !entry.progId.empty()) hr = DeleteTree(entry.progId);
    return hr;
}

HRESULT UnregisterTypeLibrary(ITypeLib& library) {
    TLIBATTR* attributes = nullptr;
    HRESULT hr = library.GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    TLIBATTR copy = *attributes;
    library.ReleaseTLibAttr(attributes);
    // Nothing to remove is what a repeated unregistration finds.
    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, &registeredPath)))
        return S_OK;
    SysFreeString(registeredPath);
    return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

HRESULT LibraryIdText(ITypeLib& library, std::wstring& text) {
    TLIBATTR* attributes = nullptr;
    HRESULT hr = library.GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    text = GuidText(attributes->guid);
    library.ReleaseTLibAttr(attributes);
    return S_OK;
}

} // namespace

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

HRESULT RegisterServer(const std::vector<ClassRegistration>& classes) {
    try {
        std::wstring path = ThisModulePath();
        if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadModuleTypeLib(library);
        if (FAILED(hr)) return hr;
        std::wstring libId;
        hr = LibraryIdText(*library.Get(), libId);
        if (FAILED(hr)) return hr;
        hr = UnregisterServer(classes);
        for (const auto& entry : classes)
            if (SUCCEEDED(hr)) hr = WriteClass(entry, path, libId);
        if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), path.data(), nullptr);
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(const std::vector<ClassRegistration>& classes) {
    try {
        HRESULT hr = S_OK;
        for (const auto& entry : classes)
            if (SUCCEEDED(hr)) hr = DeleteClass(entry);
        ComPtr<ITypeLib> library;
        if (SUCCEEDED(hr)) hr = LoadModuleTypeLib(library);
        if (SUCCEEDED(hr)) hr = UnregisterTypeLibrary(*library.Get());
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace com
