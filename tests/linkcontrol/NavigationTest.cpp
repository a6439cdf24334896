// NavigateUrl: what reaches the shell, the pointer while it runs, and one real shell run.
#include "FakeShell.h"
#include "TestContainer.h"

#include <gtest/gtest.h>

using namespace testhost;

namespace {

class NavigationTest : public testing::Test {
protected:
    TestControl control{SharedHostWindow()};
};

std::string SystemCodePage(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace

TEST_F(NavigationTest, OpensTheUrlOnTheDesktopWithTheHourglassShown) {
    FakeShell shell(control.Surface());
    ASSERT_TRUE(shell.Installed());
    ASSERT_EQ(S_OK, control.Call(L"NavigateUrl"));
    ASSERT_EQ(1u, shell.Calls().size());
    const auto& call = shell.Calls()[0];
    EXPECT_EQ(FakeShell::kDesktop, call.window);
    EXPECT_EQ("http://", call.file) << "the new instance's URL goes to the shell unchanged";
    EXPECT_FALSE(call.hasOperation);
    EXPECT_FALSE(call.hasParameters);
    EXPECT_FALSE(call.hasDirectory);
    EXPECT_EQ(SW_SHOWNORMAL, call.show);
    EXPECT_TRUE(call.hourglassDuringCall);
    EXPECT_FALSE(FakeShell::ShowsHourglass(control.Surface())) << "the default pointer comes back";
    EXPECT_EQ(0, control.GetLong(L"MousePointer")) << "the label's pointer is not the surface's";
}

TEST_F(NavigationTest, EmptyUrlDoesNothing) {
    FakeShell shell(control.Surface());
    ASSERT_EQ(S_OK, control.Put(L"URL", Variant::Text(L"")));
    MessageBoxRecorder boxes;
    ASSERT_EQ(S_OK, control.Call(L"NavigateUrl"));
    EXPECT_TRUE(shell.Calls().empty());
    EXPECT_EQ(0, shell.DesktopRequests());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(NavigationTest, UrlReachesTheShellInTheSystemCodePage) {
    FakeShell shell(control.Surface());
    const std::wstring url = L"http://example.org/caf\u00E9/\u4E2D\u6587";
    ASSERT_EQ(S_OK, control.Put(L"URL", Variant::Text(url)));
    ASSERT_EQ(S_OK, control.Call(L"NavigateUrl"));
    ASSERT_EQ(1u, shell.Calls().size());
    EXPECT_EQ(SystemCodePage(url), shell.Calls()[0].file);
    CPINFO codePage{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    EXPECT_EQ(static_cast<char>(codePage.DefaultChar[0]), shell.Calls()[0].file.back())
        << "characters outside the code page become its default character";
}

TEST_F(NavigationTest, DisabledControlNavigatesAndEachCallOpensAgain) {
    FakeShell shell(control.Surface());
    ASSERT_EQ(S_OK, control.Put(L"Enabled", Variant::Bool(false)));
    ASSERT_EQ(S_OK, control.Put(L"URL", Variant::Text(L"https://example.org/")));
    MessageBoxRecorder boxes;
    control.Call(L"NavigateUrl");
    control.Call(L"NavigateUrl");
    ASSERT_EQ(2u, shell.Calls().size());
    EXPECT_EQ("https://example.org/", shell.Calls()[1].file);
    EXPECT_TRUE(boxes.Boxes().empty()) << "a shell failure is not reported";
}

TEST_F(NavigationTest, ClickDoesNotNavigate) {
    FakeShell shell(control.Surface());
    SendMessageW(control.Label(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control.Label(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(L"Click", control.events->Names().back());
    EXPECT_TRUE(shell.Calls().empty());
}

TEST_F(NavigationTest, RealShellOpensTheTarget) {
    const std::wstring target = NAVIGATE_TARGET_PATH;
    const std::wstring marker = target + L".ran";
    DeleteFileW(marker.c_str());
    ASSERT_EQ(S_OK, control.Put(L"URL", Variant::Text(target)));
    MessageBoxRecorder boxes;
    ASSERT_EQ(S_OK, control.Call(L"NavigateUrl"));
    bool ran = false;
    for (int waited = 0; waited < 300 && !ran; ++waited) {
        Sleep(50);
        ran = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    EXPECT_TRUE(ran) << "the shell started the target";
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(FakeShell::ShowsHourglass(control.Surface()));
    DeleteFileW(marker.c_str());
}
