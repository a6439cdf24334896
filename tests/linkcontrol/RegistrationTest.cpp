// Self-registration, with HKEY_CLASSES_ROOT redirected to a scratch key for this process, so
// the registration the other tests rely on stays untouched.
#include "TestContainer.h"

#include <gtest/gtest.h>
#include <map>

namespace {

constexpr wchar_t kScratch[] = L"Software\\FolioscopeTests\\Classes";

using Tree = std::map<std::wstring, std::wstring>;  // "key\\path|value name" -> data, keys in lower case

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

void ReadTree(HKEY key, const std::wstring& path, Tree& tree) {
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256, dataLength = sizeof data - 2, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
        data[dataLength] = data[dataLength + 1] = 0;
        tree[Lower(path + L"|" + name)] = type == REG_SZ ? reinterpret_cast<wchar_t*>(data) : L"<binary>";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        std::wstring child = path.empty() ? name : path + L"\\" + name;
        tree[Lower(child) + L"|<key>"] = L"";
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            ReadTree(sub, child, tree);
            RegCloseKey(sub);
        }
    }
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &scratch_, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch_));
        library_ = LoadLibraryW(JUMPLET_DLL_PATH);
        ASSERT_NE(nullptr, library_);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        if (scratch_) RegCloseKey(scratch_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        if (library_) FreeLibrary(library_);
    }
    HRESULT Call(const char* entry) {
        auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(library_, entry)));
        return function ? function() : E_NOTIMPL;
    }
    Tree Snapshot() {
        Tree tree;
        ReadTree(scratch_, L"", tree);
        return tree;
    }

    HKEY scratch_ = nullptr;
    HMODULE library_ = nullptr;
};

} // namespace

TEST_F(RegistrationTest, RegistersTheControlThePageAndTheTypeLibrary) {
    ASSERT_EQ(S_OK, Call("DllRegisterServer"));
    Tree tree = Snapshot();
    const std::wstring control = L"CLSID\\{773B78CC-EC97-4ACB-9F2D-45CB6C5EA8F5}";
    const std::wstring page = L"CLSID\\{8056E635-E780-497E-877A-DB7621E5E0B8}";
    const std::wstring library = L"{0DC0943C-C304-43B1-9DB9-9FC9B6115D4A}";
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"JumpletControl.Jumplet\\CLSID|", L"{773B78CC-EC97-4ACB-9F2D-45CB6C5EA8F5}"},
        {control + L"\\InprocServer32|ThreadingModel", L"Apartment"},
        {control + L"\\ProgID|", L"JumpletControl.Jumplet"},
        {control + L"\\Control|<key>", L""},
        {control + L"\\TypeLib|", library},
        {control + L"\\Version|", L"1.0"},
        {control + L"\\MiscStatus\\1|", L"131473"},
        {page + L"\\InprocServer32|ThreadingModel", L"Apartment"},
        {L"TypeLib\\" + library + L"\\1.0|", L"JumpletControl"},
        {L"Interface\\{6813738D-3957-41F3-9038-D6AF956CAAFD}|", L"_Jumplet"},
        {L"Interface\\{F0247E19-F9A6-4011-9BD8-295CCB5B5389}|", L"__Jumplet"},
    };
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(tree.count(Lower(key))) << std::string(key.begin(), key.end());
        EXPECT_EQ(value, tree[Lower(key)]) << std::string(key.begin(), key.end());
    }
    std::wstring server = tree[Lower(control + L"\\InprocServer32|")];
    EXPECT_EQ(0, _wcsicmp(server.substr(server.size() - 18).c_str(), L"JumpletControl.dll"));
}

TEST_F(RegistrationTest, UnregistrationRemovesExactlyWhatRegistrationWrote) {
    Tree before = Snapshot();
    ASSERT_EQ(S_OK, Call("DllRegisterServer"));
    ASSERT_EQ(S_OK, Call("DllRegisterServer")) << "registering again replaces the old keys";
    ASSERT_EQ(S_OK, Call("DllUnregisterServer"));
    Tree after = Snapshot();
    // What may stay is the empty top-level folders the platform's type library code creates.
    for (auto it = after.begin(); it != after.end();)
        it = (it->first == L"typelib|<key>" || it->first == L"interface|<key>" || it->first == L"clsid|<key>")
                 ? after.erase(it)
                 : std::next(it);
    EXPECT_EQ(before, after);
    EXPECT_EQ(S_OK, Call("DllUnregisterServer")) << "nothing left to remove is no failure";
}
