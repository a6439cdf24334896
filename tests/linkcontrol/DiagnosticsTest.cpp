// The "System Error" box text and its fallback, on this program's own copy of the module.
#include "DebugLog.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class DiagnosticsTest : public testing::Test {
protected:
    void TearDown() override {
        debuglog::SetMessageBoxFunction({});
        debuglog::CurrentEvent.clear();
    }
};

} // namespace

TEST_F(DiagnosticsTest, ReportHasSevenLinesEachEndedByCrLf) {
    debuglog::CurrentEvent = L"Jumplet.Resize()";
    EXPECT_EQ(L"---------- Error on processing ---------\r\n"
              L"Count       : 0\r\n"
              L"Step        : 0\r\n"
              L"Event       : Jumplet.Resize()\r\n"
              L"Err Number  : 380\r\n"
              L"Description : Invalid property value\r\n"
              L"Source      : JumpletControl\r\n",
              debuglog::FormatErrorReport(380, L"Invalid property value", L"JumpletControl"));
}

TEST_F(DiagnosticsTest, NumbersInGeneralFormatAndEmptySource) {
    const struct {
        double number;
        const wchar_t* line;
    } cases[] = {{0, L"Err Number  : 0\r\n"},
                 {11.001, L"Err Number  : 11.001\r\n"},
                 {-2147024809, L"Err Number  : -2147024809\r\n"}};
    for (const auto& c : cases) {
        std::wstring report = debuglog::FormatErrorReport(c.number, L"d", L"");
        EXPECT_NE(std::wstring::npos, report.find(c.line)) << c.number;
        EXPECT_TRUE(report.ends_with(L"Description : d\r\nSource      : \r\n"));
    }
}

TEST_F(DiagnosticsTest, ShowsTheReportTitledSystemError) {
    std::vector<std::pair<std::wstring, std::wstring>> shown;
    debuglog::SetMessageBoxFunction([&](const std::wstring& text, const std::wstring& title) {
        shown.emplace_back(title, text);
        return IDOK;
    });
    debuglog::CurrentEvent = L"Jumplet.NavigateUrl()";
    debuglog::DisplayError(5, L"Invalid procedure call", L"JumpletControl");
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"System Error", shown[0].first);
    EXPECT_EQ(debuglog::FormatErrorReport(5, L"Invalid procedure call", L"JumpletControl"), shown[0].second);
}

TEST_F(DiagnosticsTest, FailingBoxFallsBackToDisplayErrorBox) {
    std::vector<std::wstring> titles;
    debuglog::SetMessageBoxFunction([&](const std::wstring&, const std::wstring& title) {
        titles.push_back(title);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return titles.size() == 1 ? 0 : IDOK;
    });
    debuglog::DisplayError(1, L"x", L"y");
    ASSERT_EQ(2u, titles.size());
    EXPECT_EQ(L"Display Error: 8", titles[1]);
}
