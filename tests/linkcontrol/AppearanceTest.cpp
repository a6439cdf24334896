// The control in a host window: automatic sizing, colours, events from real mouse and key
// messages, change reports.
#include "TestContainer.h"

#include <gtest/gtest.h>

using namespace testhost;

namespace {

constexpr long kNavy = 0x00800000, kBlue = 0x00FF0000, kPurple = 0x00800080;

class AppearanceTest : public testing::Test {
protected:
    HostWindow& host = SharedHostWindow();

    // The surface must be the label's size plus 60 twips, in its window and in its extent.
    static void ExpectSnappedToLabel(TestControl& control) {
        SIZE label = ClientSize(control.Label());
        SIZE surface = ClientSize(control.Surface());
        const long width = PixelsToTwipsX(label.cx) + 60, height = PixelsToTwipsY(label.cy) + 60;
        EXPECT_EQ(width, PixelsToTwipsX(surface.cx));
        EXPECT_EQ(height, PixelsToTwipsY(surface.cy));
        EXPECT_EQ(TwipsToHimetric(width), control.Extent().cx);
        EXPECT_EQ(TwipsToHimetric(height), control.Extent().cy);
        RECT labelRect{};
        GetWindowRect(control.Label(), &labelRect);
        MapWindowPoints(nullptr, control.Surface(), reinterpret_cast<POINT*>(&labelRect), 2);
        EXPECT_EQ(TwipsToPixelsX(5), labelRect.left) << "Label1 stands at 5, 5 twips";
    }

    static void Click(HWND window, UINT down, UINT up, WPARAM keys) {
        SendMessageW(window, down, keys, MAKELPARAM(2, 3));
        SendMessageW(window, up, 0, MAKELPARAM(2, 3));
    }
};

} // namespace

TEST_F(AppearanceTest, NewInstanceShowsDesignDefaultsAndSizesToCaption) {
    TestControl control(host);
    EXPECT_EQ(L"Jumplet", control.GetText(L"Caption"));
    EXPECT_EQ(kNavy, control.GetLong(L"ForeColor"));
    EXPECT_EQ(L"MS Sans Serif", control.GetText(L"FontName"));
    EXPECT_EQ(-1, control.GetLong(L"FontUnderline"));
    EXPECT_EQ(0, control.GetLong(L"FontBold"));
    EXPECT_EQ(L"http://", control.GetText(L"URL"));
    EXPECT_EQ(L"There is no help associated with this command\\link", control.GetText(L"PopupMessage"));
    EXPECT_EQ(0, control.GetLong(L"MousePointer"));
    EXPECT_EQ(static_cast<long>(0x8000000F), control.GetLong(L"BackColor"));
    ExpectSnappedToLabel(control);
    EXPECT_EQ(std::vector<std::wstring>{L"Show"}, control.events->Names());
}

TEST_F(AppearanceTest, CaptionResizesTheSurfaceAndReportsTheChange) {
    TestControl control(host);
    const long before = ClientSize(control.Surface()).cx;
    ASSERT_EQ(S_OK, control.Put(L"Caption", Variant::Text(L"Retrieve Image Information")));
    EXPECT_GT(ClientSize(control.Surface()).cx, before);
    ExpectSnappedToLabel(control);
    EXPECT_EQ(std::vector<std::wstring>{L"Caption"}, control.changes->names);
    ASSERT_FALSE(control.site->positionChanges.empty()) << "the site hears of the new size";
    RECT told = control.site->positionChanges.back();
    EXPECT_EQ(ClientSize(control.Surface()).cx, told.right - told.left);

    ASSERT_EQ(S_OK, control.Put(L"Caption", Variant::Text(L"")));
    EXPECT_EQ(0, ClientSize(control.Label()).cx);
    ExpectSnappedToLabel(control);
}

TEST_F(AppearanceTest, HostResizesSnapBack) {
    TestControl control(host);
    const SIZE settled = ClientSize(control.Surface());
    const SIZEL extent = control.Extent();

    RECT bigger{20, 30, 320, 130};
    ASSERT_EQ(S_OK, control.object.As<IOleInPlaceObject>()->SetObjectRects(&bigger, &bigger));
    EXPECT_EQ(settled.cx, ClientSize(control.Surface()).cx);
    EXPECT_EQ(settled.cy, ClientSize(control.Surface()).cy);
    RECT where{};
    GetWindowRect(control.Surface(), &where);
    MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&where), 2);
    EXPECT_EQ(20, where.left) << "the position is the host's";

    SIZEL huge{10000, 5000};
    ASSERT_EQ(S_OK, control.object->SetExtent(DVASPECT_CONTENT, &huge));
    EXPECT_EQ(extent.cx, control.Extent().cx);
    EXPECT_EQ(extent.cy, control.Extent().cy);
    ExpectSnappedToLabel(control);
}

TEST_F(AppearanceTest, FontChangeResizesLabelButNotSurfaceUntilNextResize) {
    TestControl control(host);
    const SIZE surface = ClientSize(control.Surface());
    const long label = ClientSize(control.Label()).cx;
    ASSERT_EQ(S_OK, control.Put(L"FontSize", Variant::Single(24)));
    EXPECT_GT(ClientSize(control.Label()).cx, label);
    EXPECT_EQ(surface.cx, ClientSize(control.Surface()).cx);
    RECT position{10, 10, 50, 50};
    control.object.As<IOleInPlaceObject>()->SetObjectRects(&position, &position);
    ExpectSnappedToLabel(control);
}

TEST_F(AppearanceTest, ResizeFailureShowsSystemErrorWithResizeEvent) {
    Placement refusing;
    refusing.positionChangeResult = E_ACCESSDENIED;
    MessageBoxRecorder boxes;
    TestControl control(host, nullptr, refusing);
    ASSERT_FALSE(boxes.Boxes().empty());
    control.Call(L"NavigateUrl");  // names itself in the diagnostics, then sizing names itself again
    const size_t seen = boxes.Boxes().size();
    ASSERT_EQ(S_OK, control.Put(L"Caption", Variant::Text(L"Longer caption than before")));
    ASSERT_EQ(seen + 1, boxes.Boxes().size());
    const auto& box = boxes.Boxes().back();
    EXPECT_EQ(L"System Error", box.title);
    EXPECT_EQ(L"---------- Error on processing ---------\r\n"
              L"Count       : 0\r\n"
              L"Step        : 0\r\n"
              L"Event       : Jumplet.Resize()\r\n"
              L"Err Number  : -2147024891\r\n"
              L"Description : Access denied.\r\n"
              L"Source      : JumpletControl\r\n",
              box.text);
}

TEST_F(AppearanceTest, PressedAndReleasedColoursArePaintedBeforeTheEvents) {
    TestControl control(host);
    ASSERT_EQ(kNavy, control.GetLong(L"ForeColor"));
    std::vector<std::pair<long, bool>> seen;  // ForeColor, and whether the label shows it
    control.events->onEvent = [&](const std::wstring& name, DISPPARAMS&) {
        if (name == L"MouseDown") seen.emplace_back(control.GetLong(L"ForeColor"), WindowShowsColor(control.Label(), kPurple));
        if (name == L"MouseUp") seen.emplace_back(control.GetLong(L"ForeColor"), WindowShowsColor(control.Label(), kBlue));
    };
    Click(control.Label(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ((std::vector<std::wstring>{L"Show", L"MouseDown", L"MouseUp", L"Click"}), control.events->Names());
    EXPECT_EQ((std::vector<std::pair<long, bool>>{{kPurple, true}, {kBlue, true}}), seen);
    const auto& down = control.events->events[1].arguments;
    ASSERT_EQ(4u, down.size());
    EXPECT_EQ(1, down[0].Get()->iVal) << "left button";
    EXPECT_EQ(1, down[1].Get()->iVal) << "shift";
    EXPECT_FLOAT_EQ(static_cast<float>(PixelsToTwipsX(2)), down[2].Get()->fltVal);
    EXPECT_FLOAT_EQ(static_cast<float>(PixelsToTwipsY(3)), down[3].Get()->fltVal);
    EXPECT_EQ(kBlue, control.GetLong(L"ForeColor")) << "stays blue after the release";
    EXPECT_TRUE(control.changes->names.empty()) << "colour feedback is not reported";
}

TEST_F(AppearanceTest, MouseEventsByButtonAndDoubleClickOrder) {
    TestControl control(host);
    control.events->events.clear();
    Click(control.Label(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
    EXPECT_EQ((std::vector<std::wstring>{L"MouseDown", L"MouseUp"}), control.events->Names());
    EXPECT_EQ(2, control.events->events[0].arguments[0].Get()->iVal);

    control.events->events.clear();
    Click(control.Label(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
    Click(control.Label(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON);
    SendMessageW(control.Label(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    SendMessageW(control.Surface(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"MouseDown", L"MouseUp", L"Click", L"DblClick", L"MouseUp"}),
              control.events->Names());
}

TEST_F(AppearanceTest, DisabledLabelRaisesNoMouseEvents) {
    TestControl control(host);
    ASSERT_EQ(S_OK, control.Put(L"Enabled", Variant::Bool(false)));
    EXPECT_EQ(0, control.GetLong(L"Enabled"));
    EXPECT_FALSE(IsWindowEnabled(control.Label()));
    EXPECT_TRUE(IsWindowEnabled(control.Surface())) << "only the label is disabled";
    control.events->events.clear();
    Click(control.Label(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
    Click(control.Label(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON);
    EXPECT_TRUE(control.events->events.empty());

    ASSERT_EQ(S_OK, control.Put(L"Enabled", Variant::Bool(true)));
    EXPECT_EQ(kBlue, control.GetLong(L"ForeColor")) << "enabling gives blue, not the navy held before";
    EXPECT_EQ((std::vector<std::wstring>{L"Enabled", L"Enabled"}), control.changes->names);
}

TEST_F(AppearanceTest, KeyPressCodeFlowsBackThroughTheHandlers) {
    TestControl control(host);
    auto second = com::MakeObject<EventRecorder>(ComPtr<ITypeInfo>());
    ComPtr<IConnectionPoint> point;
    control.object.As<IConnectionPointContainer>()->FindConnectionPoint(DIID___Jumplet, point.Put());
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(second.Get(), &cookie));
    control.events->onEvent = [](const std::wstring& name, DISPPARAMS& params) {
        if (name == L"KeyPress") *params.rgvarg[0].piVal = 'B';
    };
    // A click on the caption gives the control the keyboard.
    SendMessageW(control.Label(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host.Handle()),
                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(control.Surface(), GetFocus());
    SendMessageW(GetFocus(), WM_CHAR, 'a', 1);
    point->Unadvise(cookie);
    ASSERT_EQ(1u, second->events.size());
    EXPECT_EQ('B', second->events[0].arguments[0].Get()->iVal) << "the second host sees the first host's change";
}

TEST_F(AppearanceTest, HitTestPassesTheHostsAnswerBack) {
    TestControl control(host);
    control.events->onEvent = [](const std::wstring& name, DISPPARAMS& params) {
        if (name == L"HitTest") *params.rgvarg[0].piVal = HITRESULT_TRANSPARENT;  // HitResult, the last argument
    };
    RECT bounds{0, 0, 60, 20};
    DWORD result = 99;
    ASSERT_EQ(S_OK, control.object.As<IViewObjectEx>()->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{6, 4}, 0, &result));
    EXPECT_EQ(static_cast<DWORD>(HITRESULT_TRANSPARENT), result);
    const auto& hit = control.events->events.back();
    ASSERT_EQ(L"HitTest", hit.name);
    EXPECT_FLOAT_EQ(static_cast<float>(PixelsToTwipsX(6)), hit.arguments[0].Get()->fltVal);
}

TEST_F(AppearanceTest, CaptionTurnsTheUnderlineBackOn) {
    TestControl control(host);
    ASSERT_EQ(S_OK, control.Put(L"FontUnderline", Variant::Bool(false)));
    EXPECT_EQ(0, control.GetLong(L"FontUnderline"));
    ASSERT_EQ(S_OK, control.Put(L"Caption", Variant::Text(L"Save Info to CSV file")));
    EXPECT_EQ(-1, control.GetLong(L"FontUnderline"));
}

TEST_F(AppearanceTest, PropertiesReportChangesExceptPopupMessage) {
    TestControl control(host);
    const struct {
        const wchar_t* name;
        Variant value;
    } writes[] = {
        {L"Alignment", Variant::Short(2)},       {L"AutoRedraw", Variant::Bool(true)},
        {L"BorderStyle", Variant::Short(1)},     {L"MousePointer", Variant::Short(11)},
        {L"URL", Variant::Text(L"")},            {L"BackColor", Variant::Long(0xFF)},
        {L"FontBold", Variant::Bool(true)},      {L"FontItalic", Variant::Bool(true)},
        {L"FontName", Variant::Text(L"Tahoma")},  {L"FontSize", Variant::Single(12)},
        {L"ForeColor", Variant::Long(0x00FF00)}, {L"PopupMessage", Variant::Text(L"")},
    };
    std::vector<std::wstring> expected;
    for (const auto& write : writes) {
        ASSERT_EQ(S_OK, control.Put(write.name, write.value)) << std::string(write.name, write.name + wcslen(write.name));
        Variant read = control.Get(write.name);
        EXPECT_TRUE(SameValue(read, write.value)) << std::string(write.name, write.name + wcslen(write.name));
        if (std::wstring(write.name) != L"PopupMessage") expected.push_back(write.name);
    }
    EXPECT_EQ(expected, control.changes->names);
}

TEST_F(AppearanceTest, OutOfRangeValuesFailBackWithoutReport) {
    TestControl control(host);
    const struct {
        const wchar_t* name;
        short value;
    } rejected[] = {{L"Alignment", 3}, {L"Alignment", -1}, {L"BorderStyle", 2}, {L"MousePointer", 16}, {L"MousePointer", 100}};
    for (const auto& write : rejected)
        EXPECT_EQ(CTL_E_INVALIDPROPERTYVALUE, control.Put(write.name, Variant::Short(write.value)))
            << std::string(write.name, write.name + wcslen(write.name)) << " " << write.value;
    EXPECT_EQ(S_OK, control.Put(L"MousePointer", Variant::Short(99)));
    EXPECT_EQ(std::vector<std::wstring>{L"MousePointer"}, control.changes->names);
    EXPECT_EQ(0, control.GetLong(L"Alignment"));
}

TEST_F(AppearanceTest, FontObjectIsTheLabelsOwn) {
    TestControl control(host);
    auto arial = MakeFont(L"Tahoma", 12, true, false);
    ASSERT_EQ(S_OK, control.PutRef(L"Font", arial.Get()));
    Variant font = control.Get(L"Font");
    ASSERT_EQ(VT_DISPATCH, font.Type());
    EXPECT_EQ(L"Tahoma", FontName(font.Get()->pdispVal));
    EXPECT_NE(static_cast<IDispatch*>(arial.Get()), font.Get()->pdispVal) << "the label keeps a copy";
    EXPECT_EQ(-1, control.GetLong(L"FontBold"));
    // Changing the returned object changes the label.
    const long width = ClientSize(control.Label()).cx;
    com::QueryAs<IFont>(font.Get()->pdispVal)->put_Bold(FALSE);
    EXPECT_EQ(0, control.GetLong(L"FontBold"));
    EXPECT_LT(ClientSize(control.Label()).cx, width);
}
