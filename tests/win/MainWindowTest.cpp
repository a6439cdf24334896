// The main window of Folioscope.exe, driven the way a user drives it: resized, scanned through
// a click on the real lnkRun link, sorted by header clicks, saved through the save dialog.
#include "ExeDriver.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "Twips.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>

using namespace folio::test;
using folio::win::Twips;

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kOverwriteQuestion[] =
    L"This file already exists, do you wish to overwrite it?  If so, choose yes, otherwise choose no to append to it.";

// A folder of images: two that load, one that does not between them, and a text file.
void WriteFixtureImages(const std::filesystem::path& folder) {
    WriteBmp(folder / L"b wide.bmp", 640, 480);
    WriteFileBytes(folder / L"c broken.bmp", "BM not really");
    WriteBmp(folder / L"a.bmp", 3, 20);
    WriteFileBytes(folder / L"notes.txt", "text");
}

class MainWindow : public testing::Test {
protected:
    void Start(const std::filesystem::path& folder) {
        exe_ = std::make_unique<RunningExe>(L"", folder.wstring());
        ASSERT_TRUE(exe_->Started());
        form_ = exe_->WaitForWindow(folio::win::kForm1ClassName);
        ASSERT_NE(form_, nullptr);
        remote_ = std::make_unique<RemoteControls>(exe_->ProcessId());
    }
    void TearDown() override {
        if (form_ && IsWindow(form_))
            PostMessageW(form_, WM_CLOSE, 0, 0);
        if (exe_)
            exe_->WaitForExit(std::chrono::seconds(20));
    }

    HWND Control(int id) const { return GetDlgItem(form_, id); }
    HWND List() const { return Control(folio::win::kIdListView1); }
    HWND Link(int index) const {
        HWND link = GetWindow(Control(folio::win::kIdFrame1), GW_CHILD);
        for (int i = 0; i < index && link; ++i)
            link = GetWindow(link, GW_HWNDNEXT);
        return link;
    }
    void ClickLink(int index) {
        HWND link = Link(index);
        ASSERT_NE(link, nullptr) << "the link control is not on the window";
        HWND label = GetWindow(link, GW_CHILD);
        ClickAt(label ? label : link, POINT{4, 4});
    }
    int ItemCount() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    bool Idle() const { return IsWindowEnabled(form_) && IsWindowVisible(List()); }

    // Clicks lnkRun and waits for the scan to end with the given number of rows and columns
    // back at their standard widths.
    void Scan(int expectedRows) {
        const int fileNameWidth = twips_.ToPixelsX(1200);
        SendMessageW(List(), LVM_SETCOLUMNWIDTH, 0, fileNameWidth + 37);
        ClickLink(0);
        ASSERT_TRUE(WaitUntil([&] {
            const auto headers = remote_->Headers(List());
            return Idle() && headers.size() == 11 && headers[0].width == fileNameWidth &&
                   ItemCount() == expectedRows;
        })) << "rows: " << ItemCount();
    }
    std::vector<std::wstring> FileNames() const {
        std::vector<std::wstring> names;
        for (const auto& row : remote_->ListViewRows(List(), 1))
            names.push_back(row[0]);
        return names;
    }
    void ClickHeader(int column) {
        const auto headers = remote_->Headers(List());
        int x = headers[static_cast<size_t>(column)].width / 2; // the middle, away from the dividers
        for (int i = 0; i < column; ++i)
            x += headers[static_cast<size_t>(i)].width;
        ClickAt(reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0)), POINT{x, 5});
        SendMessageW(form_, WM_NULL, 0, 0);
    }

    HWND WaitForBox(const wchar_t* title) const {
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindProcessWindow(exe_->ProcessId(), kDialogClass, title)) != nullptr; },
                  std::chrono::seconds(20));
        return box;
    }
    void AnswerBox(const wchar_t* title, const std::wstring& expectedText, int button) {
        HWND box = WaitForBox(title);
        ASSERT_NE(box, nullptr) << "no box for " << std::string(expectedText.begin(), expectedText.end());
        EXPECT_EQ(MessageBoxText(box), expectedText);
        PressButton(box, button);
        WaitUntil([&] { return !IsWindow(box); }, std::chrono::seconds(10));
    }

    Twips twips_ = Twips::OfScreen();
    std::unique_ptr<RunningExe> exe_;
    std::unique_ptr<RemoteControls> remote_;
    HWND form_ = nullptr;
};

// The edit field of the save dialog that holds the file name.
HWND FileNameField(HWND dialog) {
    HWND combo = GetDlgItem(dialog, cmb13);
    if (combo) {
        HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, edt1);
}

TEST_F(MainWindow, LayoutFollowsEveryResizeAndKeepsTheMinimumSize) {
    TempFolder temp;
    Start(temp.Path());
    const int tolerance = 1;
    const int minWidth = twips_.ToPixelsX(folio::win::design::kMinOuterWidth);
    const int minHeight = twips_.ToPixelsY(folio::win::design::kMinOuterHeight);
    struct Case {
        int width, height;
        bool minimizeFirst;
    };
    const Case cases[] = {{900, 600, false}, {1200, 900, false}, {300, 150, false},
                          {minWidth + 40, 120, false}, {200, minHeight + 50, false}, {820, 560, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        SetWindowPos(form_, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
        if (c.minimizeFirst) {
            ShowWindow(form_, SW_MINIMIZE);
            SendMessageW(form_, WM_NULL, 0, 0);
            ShowWindow(form_, SW_RESTORE);
        }
        SendMessageW(form_, WM_NULL, 0, 0);
        RECT outer, inner;
        GetWindowRect(form_, &outer);
        GetClientRect(form_, &inner);
        EXPECT_EQ(outer.right - outer.left, std::max(c.width, minWidth));
        EXPECT_EQ(outer.bottom - outer.top, std::max(c.height, minHeight));

        const RECT tree = ChildRect(form_, Control(folio::win::kIdDir1));
        const RECT drive = ChildRect(form_, Control(folio::win::kIdDrive1));
        const RECT filter = ChildRect(form_, Control(folio::win::kIdCombo1));
        const RECT grid = ChildRect(form_, List());
        const RECT bar = ChildRect(form_, Control(folio::win::kIdFrame1));
        EXPECT_NEAR(tree.bottom, drive.top, tolerance) << "the folder tree reaches the drive list";
        EXPECT_EQ(drive.top, filter.top);
        EXPECT_NEAR(inner.bottom - drive.bottom, twips_.ToPixelsY(20), tolerance);
        EXPECT_EQ(bar.bottom, inner.bottom) << "the link bar touches the bottom";
        EXPECT_EQ(grid.bottom, bar.top);
        EXPECT_NEAR(inner.right - grid.right, twips_.ToPixelsX(20), tolerance);
        EXPECT_EQ(grid.left, twips_.ToPixelsX(3420));
        EXPECT_EQ(tree.left, twips_.ToPixelsX(60));
        EXPECT_EQ(bar.right - bar.left, twips_.ToPixelsX(3420 + 6675) - twips_.ToPixelsX(3420));
    }
}

TEST_F(MainWindow, ShowsTheFixedTextsAndTheFilterEntries) {
    TempFolder temp;
    Start(temp.Path());
    EXPECT_EQ(WindowText(Control(folio::win::kIdLabel1)), L"Select Image Location:");
    EXPECT_EQ(WindowText(Control(folio::win::kIdLabel2)), L"Image Information:");
    EXPECT_EQ(WindowText(Control(folio::win::kIdLabel3)),
              L"Please wait while we load image information from the specified folder.");
    HWND filter = Control(folio::win::kIdCombo1);
    EXPECT_EQ(WindowText(filter), L"*.*");
    EXPECT_EQ(SendMessageW(filter, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(remote_->Headers(List()).size(), 0u) << "no columns before the first scan";
    EXPECT_NE(Link(0), nullptr);
    EXPECT_NE(Link(1), nullptr);
}

TEST_F(MainWindow, ScanThroughTheRunLinkFillsTheGridAndSortingSurvivesTheNextScan) {
    TempFolder temp;
    WriteFixtureImages(temp.Path());
    Start(temp.Path());
    Scan(2);

    const auto headers = remote_->Headers(List());
    const wchar_t* expectedHeaders[] = {L"File Name", L"Width", L"Height", L"DPI (Width)", L"DPI (Height)",
                                        L"File Size", L"File Type", L"Colors", L"Compression",
                                        L"Bits per Sample", L"Samples per Pixel"};
    const int expectedWidths[] = {1200, 735, 735, 1001, 1066, 1001, 1320, 660, 1320, 1320, 1471};
    for (size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(headers[i].text, expectedHeaders[i]);
        EXPECT_EQ(headers[i].width, twips_.ToPixelsX(expectedWidths[i])) << i;
    }
    EXPECT_TRUE(headers[0].format & HDF_SORTUP) << "the sort arrow shows on File Name";

    auto rows = remote_->ListViewRows(List(), 11);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], L"a.bmp");
    EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"b wide.bmp", L"00640", L"00480", L"0072", L"0072", L"900.93 kb",
                                                  L"BMP Packaging", L"24 bit color.", rows[1][8], L"08", L"03"}));
    EXPECT_FALSE(WindowText(Control(folio::win::kIdLabel4)).empty()) << "the last file read stays named";

    ClickHeader(2); // Height: a new column keeps the direction
    EXPECT_EQ(FileNames(), (std::vector<std::wstring>{L"a.bmp", L"b wide.bmp"}));
    ClickHeader(1); // Width, ascending
    ClickHeader(1); // Width again: descending
    EXPECT_EQ(FileNames(), (std::vector<std::wstring>{L"b wide.bmp", L"a.bmp"}));
    EXPECT_TRUE(remote_->Headers(List())[1].format & HDF_SORTDOWN);
    EXPECT_FALSE(remote_->Headers(List())[0].format & (HDF_SORTUP | HDF_SORTDOWN));

    WriteBmp(temp / L"d.bmp", 1000, 1);
    Scan(3);
    EXPECT_EQ(FileNames(), (std::vector<std::wstring>{L"d.bmp", L"b wide.bmp", L"a.bmp"}))
        << "still by width, descending";
    EXPECT_TRUE(remote_->Headers(List())[1].format & HDF_SORTDOWN);
}

TEST_F(MainWindow, ScanOfAFolderWithoutImagesLeavesElevenColumnsAndNoRows) {
    TempFolder temp;
    WriteFileBytes(temp / L"readme.txt", "x");
    Start(temp.Path());
    Scan(0);
    EXPECT_EQ(remote_->Headers(List()).size(), 11u);
}

TEST_F(MainWindow, SaveCommandAsksOnlyForFilesWithDataAndAppendsOrReplaces) {
    TempFolder temp;
    WriteFixtureImages(temp.Path());
    Start(temp.Path());
    Scan(2);

    const std::string oldContent = "old line\r\n";
    struct Case {
        const wchar_t* label;
        const wchar_t* typedName;
        const wchar_t* savedName;
        const char* existing; // nullptr: no file before
        int answer;           // 0: no question expected
        bool cancel;
    };
    const Case cases[] = {
        {L"new file", L"new.csv", L"new.csv", nullptr, 0, false},
        {L"data, Yes", L"yes.csv", L"yes.csv", "old line\r\n", IDYES, false},
        {L"data, No", L"no.csv", L"no.csv", "old line\r\n", IDNO, false},
        {L"empty file", L"empty.csv", L"empty.csv", "", 0, false},
        {L"no extension typed", L"report", L"report.csv", nullptr, 0, false},
        {L"cancelled", L"cancelled.csv", L"cancelled.csv", nullptr, 0, true},
    };
    std::wstring previousName;
    std::string gridLines;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.label, c.label + wcslen(c.label)));
        const auto saved = temp / c.savedName;
        if (c.existing)
            WriteFileBytes(saved, c.existing);
        ClickLink(1);
        HWND dialog = WaitForBox(L"Save As");
        ASSERT_NE(dialog, nullptr);
        HWND field = FileNameField(dialog);
        if (!previousName.empty()) {
            EXPECT_NE(WindowText(field).find(previousName), std::wstring::npos) << "the last name is offered";
        }
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((temp / c.typedName).c_str()));
        PressButton(dialog, c.cancel ? IDCANCEL : IDOK);
        if (c.cancel) {
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, std::chrono::seconds(10)));
            EXPECT_FALSE(WaitUntil([&] { return FindProcessWindow(exe_->ProcessId(), kDialogClass, L"Folioscope"); },
                                   std::chrono::milliseconds(1500)))
                << "a cancelled dialog asks and confirms nothing";
            EXPECT_FALSE(std::filesystem::exists(saved));
            continue;
        }
        if (c.answer)
            AnswerBox(L"Folioscope", kOverwriteQuestion, c.answer);
        AnswerBox(L"Folioscope", L"Data has been saved.", IDOK);
        const std::string content = ReadFileBytes(saved);
        if (gridLines.empty())
            gridLines = content;
        EXPECT_EQ(std::count(gridLines.begin(), gridLines.end(), '\n'), 2) << gridLines;
        EXPECT_EQ(gridLines.rfind("\"a.bmp\",00003,00020,", 0), 0u) << "rows in displayed order";
        EXPECT_EQ(content, (c.answer == IDNO ? oldContent : std::string()) + gridLines);
        previousName = c.savedName;
    }
}

TEST_F(MainWindow, SaveFailuresNameTheFileAndTheReason) {
    TempFolder temp;
    WriteFixtureImages(temp.Path());
    Start(temp.Path());
    Scan(2);
    const auto locked = temp / L"locked.csv";
    WriteFileBytes(locked, "kept\r\n");
    // Held open without sharing, as another program would: it can be neither deleted nor written.
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (int answer : {IDYES, IDNO}) {
        ClickLink(1);
        HWND dialog = WaitForBox(L"Save As");
        ASSERT_NE(dialog, nullptr);
        SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(locked.c_str()));
        PressButton(dialog, IDOK);
        AnswerBox(L"Folioscope", kOverwriteQuestion, answer);
        HWND failure = WaitForBox(L"Folioscope");
        ASSERT_NE(failure, nullptr);
        const std::wstring text = MessageBoxText(failure);
        EXPECT_NE(text.find(L"locked.csv"), std::wstring::npos) << std::string(text.begin(), text.end());
        EXPECT_EQ(text.find(L"Data has been saved."), std::wstring::npos);
        PressButton(failure, IDOK);
        WaitUntil([&] { return !IsWindow(failure); }, std::chrono::seconds(10));
    }
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(locked), "kept\r\n");
    EXPECT_TRUE(IsWindowEnabled(form_)) << "the program keeps running";
}

} // namespace

namespace {

// A drive letter that the system lists but that holds nothing, as a drive without a medium:
// Wine lists a DOS device whose target does not exist and answers it as not ready.
class EmptyDrive {
public:
    EmptyDrive() {
        defined_ = DefineDosDeviceW(DDD_RAW_TARGET_PATH, L"Q:", L"\\??\\Z:\\folioscope-no-medium") != 0;
    }
    ~EmptyDrive() {
        if (defined_)
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    }
    bool Defined() const { return defined_ && (GetLogicalDrives() & (1u << ('Q' - 'A'))); }

private:
    bool defined_ = false;
};

class DriveChange : public MainWindow {
protected:
    std::wstring SelectedDrive() const {
        HWND list = Control(folio::win::kIdDrive1);
        const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
        wchar_t text[16] = L"";
        if (index >= 0 && SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) < 16)
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // What the list does when the user picks a drive from it.
    void PickDrive(const wchar_t* drive) {
        HWND list = Control(folio::win::kIdDrive1);
        const LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(drive));
        ASSERT_NE(index, CB_ERR) << "drive not listed";
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageW(form_, WM_COMMAND, MAKEWPARAM(folio::win::kIdDrive1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    void ExpectDriveMessage() {
        HWND box = WaitForBox(L"Folioscope");
        ASSERT_NE(box, nullptr);
        const std::wstring text = MessageBoxText(box);
        const std::wstring start = L"Was not able to change to drive: q:\r\nError: ";
        EXPECT_EQ(text.substr(0, start.size()), start);
        EXPECT_GT(text.size(), start.size()) << "the error is described";
        PressButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, std::chrono::seconds(10));
        SendMessageW(form_, WM_NULL, 0, 0);
    }
};

TEST_F(DriveChange, DriveWithoutMediumRightAfterStartGoesBackToC) {
    EmptyDrive drive;
    if (!drive.Defined())
        GTEST_SKIP() << "this Wine offers no drive without a medium";
    Start(L"Z:\\tmp"); // a folder on another drive than C:
    ASSERT_EQ(SelectedDrive(), L"z:");
    PickDrive(L"q:");
    ExpectDriveMessage();
    EXPECT_TRUE(WaitUntil([&] { return SelectedDrive() == L"c:"; }, std::chrono::seconds(10)));
    EXPECT_TRUE(IsWindowEnabled(form_));
}

TEST_F(DriveChange, DriveWithoutMediumAfterAChangeGoesBackToThatDrive) {
    EmptyDrive drive;
    if (!drive.Defined())
        GTEST_SKIP() << "this Wine offers no drive without a medium";
    TempFolder temp;
    Start(temp.Path());
    PickDrive(L"c:");
    SendMessageW(form_, WM_NULL, 0, 0);
    PickDrive(L"z:");
    PickDrive(L"q:");
    ExpectDriveMessage();
    EXPECT_TRUE(WaitUntil([&] { return SelectedDrive() == L"z:"; }, std::chrono::seconds(10)));
}

} // namespace
