// Folioscope.exe started the three ways its command line allows.
#include "ExeDriver.h"
#include "Startup.h"
#include "WinText.h"

#include <gtest/gtest.h>

using namespace folio::test;

namespace {

constexpr wchar_t kMainWindowClass[] = L"FolioscopeForm1";
constexpr wchar_t kDialogClass[] = L"#32770";

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

struct UsageCase {
    const wchar_t* arguments;
};

class UsageMessage : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageMessage, ShowsTheUsageTextWithoutTheWindowAndEndsWithStatus2) {
    RunningExe exe(GetParam().arguments);
    ASSERT_TRUE(exe.Started());
    HWND box = exe.WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"Folioscope");
    EXPECT_EQ(MessageBoxText(box), folio::win::WideFromUtf8(folio::kUsageText));
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "only an OK button";
    EXPECT_EQ(GetDlgItem(box, 0x0014), nullptr) << "no icon";
    EXPECT_TRUE(exe.TopLevelWindows(kMainWindowClass).empty() ||
                !IsWindowVisible(exe.TopLevelWindows(kMainWindowClass).front()));
    PressButton(box, IDOK);
    EXPECT_EQ(exe.WaitForExit(), folio::kUsageExitStatus);
}

INSTANTIATE_TEST_SUITE_P(ArgumentCounts, UsageMessage,
                         testing::Values(UsageCase{L"one"}, UsageCase{L"one two"},
                                         UsageCase{L"a b c d"}, UsageCase{L"\"a\" \"b\" \"\"c d\""}));

TEST(BatchRun, AppendsTheFolderImagesToTheCsvFileWithoutAWindow) {
    TempFolder temp;
    const auto images = temp / L"my images";
    std::filesystem::create_directory(images);
    WriteBmp(images / L"wide one.bmp", 640, 480);
    WriteBmp(images / L"b.BMP", 3, 2);
    WriteFileBytes(images / L"notes.txt", "not an image");
    const auto csv = temp / L"out put.csv";
    WriteFileBytes(csv, "old line\r\n");

    RunningExe exe(Quoted(images.wstring() + L"\\") + L" *.bmp " + Quoted(csv));
    ASSERT_TRUE(exe.Started());
    EXPECT_EQ(exe.WaitForExit(), 0u);

    const std::string written = ReadFileBytes(csv);
    EXPECT_EQ(written.rfind("old line\r\n", 0), 0u) << "appended, not replaced";
    EXPECT_NE(written.find("\"wide one.bmp\",00640,00480,0072,0072,"), std::string::npos) << written;
    EXPECT_NE(written.find("\"b.BMP\",00003,00002,"), std::string::npos) << written;
    EXPECT_EQ(written.find("notes.txt"), std::string::npos);
    EXPECT_NE(written.find("\"BMP Packaging\",\"24 bit color.\""), std::string::npos) << written;
    EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
}

TEST(BatchRun, MissingFolderWritesNothingAndFails) {
    TempFolder temp;
    WriteBmp(temp / L"elsewhere.bmp", 4, 4);
    const auto csv = temp / L"out.csv";
    RunningExe exe(Quoted(temp / L"no such folder") + L" *.* " + Quoted(csv), temp.Path().wstring());
    ASSERT_TRUE(exe.Started());
    EXPECT_EQ(exe.WaitForExit(), 1u);
    EXPECT_FALSE(std::filesystem::exists(csv));
}

TEST(BatchRun, UnwritableCsvFileFails) {
    TempFolder temp;
    WriteBmp(temp / L"a.bmp", 4, 4);
    RunningExe exe(Quoted(temp.Path()) + L" *.* " + Quoted(temp / L"missing folder" / L"out.csv"));
    ASSERT_TRUE(exe.Started());
    EXPECT_EQ(exe.WaitForExit(), 1u);
}

TEST(BatchRun, RunsWhereNoDisplayExists) {
    TempFolder temp;
    WriteBmp(temp / L"a.bmp", 5, 7);
    const auto csv = temp / L"out.csv";
    RunningExe exe(Quoted(temp.Path()) + L" *.bmp " + Quoted(csv), {}, /*withDisplay=*/false);
    ASSERT_TRUE(exe.Started());
    EXPECT_EQ(exe.WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(csv).rfind("\"a.bmp\",00005,00007,", 0), 0u);
}

TEST(InteractiveRun, OpensTheTitledWindowAndEndsWhenItIsClosed) {
    RunningExe exe(L"");
    ASSERT_TRUE(exe.Started());
    HWND window = exe.WaitForWindow(kMainWindowClass);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"Folioscope v" FOLIO_VERSION_TEXT_W);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exe.WaitForExit(), 0u);
}

TEST(InteractiveRun, BlanksAndQuotesAloneCountAsNoArguments) {
    RunningExe exe(L" \"\"  \t ");
    ASSERT_TRUE(exe.Started());
    HWND window = exe.WaitForWindow(kMainWindowClass);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exe.WaitForExit(), 0u);
}

} // namespace
