// PropertyPage1 in a page site of the test's own, over a selection of real controls.
#include "FakeShell.h"
#include "TestContainer.h"

#include <gtest/gtest.h>
// The standard colour and font pages' identifiers.
#include <initguid.h>
#include <msstkppg.h>

using namespace testhost;

namespace {

constexpr long kNavy = 0x00800000, kBlue = 0x00FF0000;

class PageSite : public com::ComObject<com::Expose<IPropertyPageSite>> {
public:
    std::vector<DWORD> statuses;
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        statuses.push_back(flags);
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* locale) override {
        *locale = 0x409;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** container) override {
        *container = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
};

struct Field {
    const char* name;
    const wchar_t* windowClass;
    const wchar_t* caption;
    long left, top, width, height;
};

const Field kFields[] = {
    {"chkAutoRedraw", L"Button", L"AutoRedraw", 90, 120, 2700, 285},
    {"lblBorderStyle", L"Static", L"BorderStyle:", 90, 770, 2700, 240},
    {"txtBorderStyle", L"Edit", L"", 90, 1020, 2700, 330},
    {"lblcaption", L"Static", L"Caption:", 90, 1420, 2700, 240},
    {"txtcaption", L"Edit", L"", 90, 1670, 2700, 330},
    {"chkEnabled", L"Button", L"Enabled", 90, 2070, 2700, 285},
    {"lblURL", L"Static", L"URL:", 90, 2720, 2700, 240},
    {"txtURL", L"Edit", L"", 120, 2970, 2700, 330},
    {"lblAlignment", L"Static", L"Alignment:", 3000, 120, 2700, 240},
    {"txtAlignment", L"Edit", L"", 3000, 370, 2700, 330},
    {"lblMousePointer", L"Static", L"MousePointer:", 3000, 770, 2700, 240},
    {"txtMousePointer", L"Edit", L"", 3000, 1020, 2700, 330},
};

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class PropertyPageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_PropertyPage1, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                         page.PutVoid()));
        site = com::MakeObject<PageSite>();
        ASSERT_EQ(S_OK, page->SetPageSite(site.Get()));
        frame = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 100, 600, 300, host.Handle(), nullptr,
                                nullptr, nullptr);
    }
    void TearDown() override {
        page->Deactivate();
        page->SetObjects(0, nullptr);
        page->SetPageSite(nullptr);
        DestroyWindow(frame);
    }

    // Hands the page the selection and shows it, as a property frame does.
    void ShowPage(std::initializer_list<TestControl*> selection) {
        std::vector<IUnknown*> objects;
        for (auto* control : selection) objects.push_back(control->object.Get());
        ASSERT_EQ(S_OK, page->SetObjects(static_cast<ULONG>(objects.size()), objects.data()));
        RECT area{0, 0, 400, 240};
        ASSERT_EQ(S_OK, page->Activate(frame, &area, FALSE));
        ASSERT_EQ(S_OK, page->Show(SW_SHOW));
    }

    // The page's field at this place (twips), as its table gives it.
    HWND FieldNamed(const char* name) {
        for (const auto& field : kFields)
            if (std::string(field.name) == name) return FieldAt(field.left, field.top);
        return nullptr;
    }
    HWND FieldAt(long left, long top) {
        HWND pageWindow = GetWindow(frame, GW_CHILD);
        for (HWND child = GetWindow(pageWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT where{};
            GetWindowRect(child, &where);
            MapWindowPoints(nullptr, pageWindow, reinterpret_cast<POINT*>(&where), 2);
            if (where.left == TwipsToPixelsX(left) && where.top == TwipsToPixelsY(top)) return child;
        }
        return nullptr;
    }
    void SetText(const char* name, const wchar_t* text) { SetWindowTextW(FieldNamed(name), text); }
    LRESULT CheckState(const char* name) { return SendMessageW(FieldNamed(name), BM_GETCHECK, 0, 0); }

    HostWindow& host = SharedHostWindow();
    HWND frame = nullptr;
    ComPtr<IPropertyPage> page;
    ComPtr<PageSite> site;
};

} // namespace

TEST_F(PropertyPageTest, PageInfoGivesCaptionAndSize) {
    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_STREQ(L"PropertyPage1", info.pszTitle);
    EXPECT_EQ(TwipsToPixelsX(5925), info.size.cx);
    EXPECT_EQ(TwipsToPixelsY(3495), info.size.cy);
    CoTaskMemFree(info.pszTitle);
}

TEST_F(PropertyPageTest, ControlListsThePageFirst) {
    TestControl control(host);
    CAUUID pages{};
    ASSERT_EQ(S_OK, control.object.As<ISpecifyPropertyPages>()->GetPages(&pages));
    ASSERT_EQ(3u, pages.cElems);
    EXPECT_TRUE(IsEqualCLSID(CLSID_PropertyPage1, pages.pElems[0]));
    EXPECT_TRUE(IsEqualCLSID(CLSID_StockColorPage, pages.pElems[1]));
    EXPECT_TRUE(IsEqualCLSID(CLSID_StockFontPage, pages.pElems[2]));
    CoTaskMemFree(pages.pElems);
}

TEST_F(PropertyPageTest, TwelveFieldsAtTheirPlacesWithTheirCaptions) {
    TestControl control(host);
    ShowPage({&control});
    int count = 0;
    for (HWND child = GetWindow(GetWindow(frame, GW_CHILD), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    EXPECT_EQ(12, count);
    for (const auto& field : kFields) {
        SCOPED_TRACE(field.name);
        HWND window = FieldAt(field.left, field.top);
        ASSERT_NE(nullptr, window);
        wchar_t windowClass[32] = {};
        GetClassNameW(window, windowClass, 32);
        EXPECT_EQ(0, _wcsicmp(field.windowClass, windowClass));
        if (field.caption[0]) {
            EXPECT_EQ(field.caption, TextOf(window));
        }
        RECT size{};
        GetWindowRect(window, &size);
        EXPECT_EQ(TwipsToPixelsX(field.width), size.right - size.left);
        EXPECT_EQ(TwipsToPixelsY(field.height), size.bottom - size.top);
    }
}

TEST_F(PropertyPageTest, ReadsTheFirstSelectedControlOnlyAndIsThenChanged) {
    TestControl first(host), second(host);
    ASSERT_EQ(S_OK, first.Put(L"MousePointer", Variant::Short(11)));
    ASSERT_EQ(S_OK, first.Put(L"Alignment", Variant::Short(2)));
    ASSERT_EQ(S_OK, first.Put(L"URL", Variant::Text(L"https://example.org/")));
    ASSERT_EQ(S_OK, first.Put(L"Enabled", Variant::Bool(false)));
    ASSERT_EQ(S_OK, first.Put(L"Caption", Variant::Text(L"First")));
    ASSERT_EQ(S_OK, first.Put(L"BorderStyle", Variant::Short(1)));
    ASSERT_EQ(S_OK, first.Put(L"AutoRedraw", Variant::Bool(true)));
    ShowPage({&first, &second});
    EXPECT_EQ(L"11", TextOf(FieldNamed("txtMousePointer")));
    EXPECT_EQ(L"2", TextOf(FieldNamed("txtAlignment")));
    EXPECT_EQ(L"https://example.org/", TextOf(FieldNamed("txtURL")));
    EXPECT_EQ(BST_UNCHECKED, CheckState("chkEnabled"));
    EXPECT_EQ(L"First", TextOf(FieldNamed("txtcaption")));
    EXPECT_EQ(L"1", TextOf(FieldNamed("txtBorderStyle")));
    EXPECT_EQ(BST_CHECKED, CheckState("chkAutoRedraw"));
    EXPECT_EQ(S_OK, page->IsPageDirty()) << "filling the empty fields changed them";
    ASSERT_FALSE(site->statuses.empty());
    EXPECT_TRUE(site->statuses.back() & PROPPAGESTATUS_DIRTY);
}

TEST_F(PropertyPageTest, ApplyWritesAllSevenToTheFirstControlOnly) {
    TestControl first(host), second(host);
    ShowPage({&first, &second});
    SetText("txtcaption", L"Changed");
    first.changes->names.clear();
    ASSERT_EQ(S_OK, page->Apply());
    EXPECT_EQ(L"Changed", first.GetText(L"Caption"));
    EXPECT_EQ(L"Jumplet", second.GetText(L"Caption"));
    EXPECT_TRUE(second.changes->names.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"MousePointer", L"Alignment", L"URL", L"Enabled", L"Caption", L"BorderStyle",
                                         L"AutoRedraw"}),
              first.changes->names);
    EXPECT_EQ(S_FALSE, page->IsPageDirty());
}

TEST_F(PropertyPageTest, ApplyingUntouchedFieldsBringsUnderlineAndBlueBack) {
    TestControl control(host);
    ASSERT_EQ(S_OK, control.Put(L"FontUnderline", Variant::Bool(false)));
    ASSERT_EQ(kNavy, control.GetLong(L"ForeColor"));
    ShowPage({&control});
    ASSERT_EQ(S_OK, page->Apply());
    EXPECT_EQ(-1, control.GetLong(L"FontUnderline"));
    EXPECT_EQ(kBlue, control.GetLong(L"ForeColor"));
}

TEST_F(PropertyPageTest, TextInAlignmentStopsApplyAfterMousePointer) {
    TestControl control(host);
    ShowPage({&control});
    SetText("txtMousePointer", L"11");
    SetText("txtAlignment", L"abc");
    SetText("txtURL", L"https://example.org/");
    SetText("txtcaption", L"Not applied");
    control.changes->names.clear();
    EXPECT_EQ(DISP_E_TYPEMISMATCH, page->Apply()) << "the error goes to the container";
    EXPECT_EQ(11, control.GetLong(L"MousePointer"));
    EXPECT_EQ(0, control.GetLong(L"Alignment"));
    EXPECT_EQ(L"http://", control.GetText(L"URL"));
    EXPECT_EQ(L"Jumplet", control.GetText(L"Caption"));
    EXPECT_EQ(std::vector<std::wstring>{L"MousePointer"}, control.changes->names);
    EXPECT_EQ(S_OK, page->IsPageDirty()) << "still changed after a failed apply";
}

TEST_F(PropertyPageTest, GreyCheckBoxWritesFalse) {
    TestControl control(host);
    ShowPage({&control});
    SendMessageW(FieldNamed("chkEnabled"), BM_SETCHECK, BST_INDETERMINATE, 0);
    ASSERT_EQ(BST_INDETERMINATE, CheckState("chkEnabled"));
    ASSERT_EQ(S_OK, page->Apply());
    EXPECT_EQ(0, control.GetLong(L"Enabled"));
}

TEST_F(PropertyPageTest, EditsAndClicksMarkThePageChanged) {
    TestControl control(host);
    ShowPage({&control});
    ASSERT_EQ(S_OK, page->Apply());
    ASSERT_EQ(S_FALSE, page->IsPageDirty());
    const char* texts[] = {"txtMousePointer", "txtAlignment", "txtURL", "txtcaption", "txtBorderStyle"};
    for (const char* name : texts) {
        SCOPED_TRACE(name);
        ASSERT_EQ(S_OK, page->Apply());
        site->statuses.clear();
        SetText(name, L"7");
        EXPECT_EQ(S_OK, page->IsPageDirty());
        EXPECT_FALSE(site->statuses.empty());
        SetText(name, TextOf(FieldNamed(name)) == L"7" ? L"0" : L"7");
    }
    const struct {
        const char* name;
        LRESULT after;
    } boxes[] = {{"chkEnabled", BST_UNCHECKED}, {"chkAutoRedraw", BST_CHECKED}};
    SetText("txtMousePointer", L"0");
    SetText("txtAlignment", L"0");
    SetText("txtBorderStyle", L"0");
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.name);
        ASSERT_EQ(S_OK, page->Apply());
        site->statuses.clear();
        SendMessageW(FieldNamed(box.name), BM_CLICK, 0, 0);
        EXPECT_EQ(box.after, CheckState(box.name));
        EXPECT_EQ(S_OK, page->IsPageDirty());
        EXPECT_FALSE(site->statuses.empty());
    }
}

TEST_F(PropertyPageTest, EmptyUrlFieldWritesEmptyUrlAndNavigationThenDoesNothing) {
    TestControl control(host);
    ShowPage({&control});
    SetText("txtURL", L"");
    ASSERT_EQ(S_OK, page->Apply());
    EXPECT_EQ(L"", control.GetText(L"URL"));
    FakeShell shell(control.Surface());
    ASSERT_TRUE(shell.Installed());
    ASSERT_EQ(S_OK, control.Call(L"NavigateUrl"));
    EXPECT_TRUE(shell.Calls().empty());
}
