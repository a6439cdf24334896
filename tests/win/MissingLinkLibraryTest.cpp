// Folioscope.exe on a machine where JumpletControl.dll is not registered: the window still
// opens and says what is missing and how to register it.
#include "ExeDriver.h"
#include "Form1.h"

#include <gtest/gtest.h>

using namespace folio::test;

namespace {

// Points the link control's ProgID at a class nobody registered while it lives, and puts the
// registered class back afterwards.
class ProgIdHidden {
public:
    ProgIdHidden() {
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(original_);
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(original_), &size) != ERROR_SUCCESS)
            return;
        const wchar_t bogus[] = L"{0F0110C0-0000-4000-8000-00000000F0F0}";
        ok_ = RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(bogus), sizeof(bogus)) ==
              ERROR_SUCCESS;
    }
    ~ProgIdHidden() {
        if (ok_)
            RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(original_),
                           static_cast<DWORD>((wcslen(original_) + 1) * sizeof(wchar_t)));
        if (key_)
            RegCloseKey(key_);
    }
    bool Ok() const { return ok_; }

private:
    static constexpr wchar_t kKey[] = L"JumpletControl.Jumplet\\CLSID";
    HKEY key_ = nullptr;
    wchar_t original_[64] = L"";
    bool ok_ = false;
};

TEST(MissingLinkLibrary, TheWindowOpensAndNamesTheLibraryAndHowToRegisterIt) {
    ProgIdHidden hidden;
    ASSERT_TRUE(hidden.Ok()) << "the link control is not registered in this prefix";
    TempFolder temp;
    RunningExe exe(L"", temp.Path().wstring());
    ASSERT_TRUE(exe.Started());
    HWND form = exe.WaitForWindow(folio::win::kForm1ClassName);
    ASSERT_NE(form, nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessWindow(exe.ProcessId(), L"#32770", L"Folioscope")); },
                          std::chrono::seconds(30)));
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"JumpletControl.dll"), std::wstring::npos);
    EXPECT_NE(text.find(L"regsvr32"), std::wstring::npos);
    EXPECT_NE(text.find(L"not registered"), std::wstring::npos);
    PressButton(box, IDOK);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(GetWindow(GetDlgItem(form, folio::win::kIdFrame1), GW_CHILD), nullptr) << "no links to show";
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(exe.WaitForExit(), 0u);
}

} // namespace
