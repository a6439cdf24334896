// The platform pieces of Folioscope.exe: command line, file system, 8-bit encoding.
#include "ExeDriver.h"
#include "Handles.h"
#include "ProcessCommandLine.h"
#include "Win32FileSystem.h"
#include "WinRegional.h"
#include "WinText.h"

#include <gtest/gtest.h>

#include <algorithm>

using folio::FileError;
using folio::ListedFile;
using folio::win::Win32FileSystem;
using namespace folio::test;

namespace {

TEST(ArgumentsAfterProgramName, SkipsTheProgramNameByThePlatformRule) {
    struct Case {
        const wchar_t* line;
        const wchar_t* arguments;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Folioscope.exe\" \"c:\\my images\\\" *.TIF out.csv",
         L"\"c:\\my images\\\" *.TIF out.csv"},
        {L"Folioscope.exe   \t a b", L"a b"},
        {L"Folioscope.exe", L""},
        {L"\"C:\\a b\\Folioscope.exe\"", L""},
        {L"\"C:\\a b\\Folioscope.exe", L""},
        {L"Folioscope.exe \" b\" c", L"\" b\" c"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(folio::win::ArgumentsAfterProgramName(c.line)), c.arguments) << c.line;
}

std::vector<ListedFile> ListAll(Win32FileSystem& fs, const std::string& folder, bool* ok = nullptr) {
    std::vector<ListedFile> files;
    const bool listed = fs.ListFiles(folder, [&](const ListedFile& f) { files.push_back(f); });
    if (ok)
        *ok = listed;
    return files;
}

std::string Utf8(const std::filesystem::path& path) { return folio::win::Utf8FromWide(path.wstring()); }

TEST(Win32FileSystem, ListsPlainAndReadOnlyFilesOnly) {
    TempFolder temp;
    WriteFileBytes(temp / L"plain.bmp", "12345");
    WriteFileBytes(temp / L"read only.tif", "1");
    WriteFileBytes(temp / L"hidden.bmp", "1");
    WriteFileBytes(temp / L"system.bmp", "1");
    WriteFileBytes(temp / L"\u00e9t\u00e9 \u03a9.png", "12");
    std::filesystem::create_directory(temp / L"sub folder");
    SetFileAttributesW((temp / L"read only.tif").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((temp / L"hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((temp / L"system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);

    Win32FileSystem fs;
    bool ok = false;
    auto files = ListAll(fs, Utf8(temp.Path()), &ok);
    SetFileAttributesW((temp / L"read only.tif").c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(ok);
    std::vector<std::string> names;
    for (const auto& f : files)
        names.push_back(f.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"plain.bmp", "read only.tif", "\xc3\xa9t\xc3\xa9 \xce\xa9.png"}));
    for (const auto& f : files) {
        if (f.name == "plain.bmp") {
            EXPECT_EQ(f.length, 5);
        }
    }
}

TEST(Win32FileSystem, FolderWithTrailingBackslashListsTheSameFiles) {
    TempFolder temp;
    WriteFileBytes(temp / L"a.bmp", "1");
    Win32FileSystem fs;
    EXPECT_EQ(ListAll(fs, Utf8(temp.Path()) + "\\").size(), 1u);
}

TEST(Win32FileSystem, EmptyFolderListsNothingAndMissingFolderFails) {
    TempFolder temp;
    Win32FileSystem fs;
    bool ok = false;
    EXPECT_TRUE(ListAll(fs, Utf8(temp.Path()), &ok).empty());
    EXPECT_TRUE(ok);
    ListAll(fs, Utf8(temp / L"missing"), &ok);
    EXPECT_FALSE(ok);
    ListAll(fs, "", &ok);
    EXPECT_FALSE(ok);
}

TEST(Win32FileSystem, LengthsBeyondFourGigabytesAreExact) {
    TempFolder temp;
    const auto big = temp / L"big.tif";
    {
        folio::win::FileHandle file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.Valid());
        LARGE_INTEGER size;
        size.QuadPart = 5'000'000'000LL;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    Win32FileSystem fs;
    auto files = ListAll(fs, Utf8(temp.Path()));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].length, 5'000'000'000LL);
}

TEST(Win32FileSystem, AppendsCreatesAndRemoves) {
    TempFolder temp;
    Win32FileSystem fs;
    const std::string path = Utf8(temp / L"r\u00e9sum\u00e9.csv");
    for (const char* part : {"one\r\n", "two\r\n"}) {
        auto file = fs.OpenForAppend(path);
        file->Write(part);
        file->Close();
    }
    EXPECT_EQ(ReadFileBytes(temp / L"r\u00e9sum\u00e9.csv"), "one\r\ntwo\r\n");
    fs.RemoveFile(path);
    EXPECT_FALSE(std::filesystem::exists(temp / L"r\u00e9sum\u00e9.csv"));
}

TEST(Win32FileSystem, FailuresNameThePathAndTheSystemReason) {
    TempFolder temp;
    Win32FileSystem fs;
    const std::string missing = Utf8(temp / L"no folder" / L"out.csv");
    for (auto attempt : {+[](Win32FileSystem& f, const std::string& p) { f.OpenForAppend(p); },
                         +[](Win32FileSystem& f, const std::string& p) { f.RemoveFile(p); }}) {
        try {
            attempt(fs, missing);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), missing);
            EXPECT_FALSE(e.Reason().empty());
        }
    }
    EXPECT_THROW(fs.OpenForAppend(""), FileError);
}

TEST(Win32FileSystem, DrivesAnswerWithTheirCurrentFolderOrNothing) {
    Win32FileSystem fs;
    const auto c = fs.CurrentFolderOfDrive("c:\\");
    ASSERT_TRUE(c.has_value());
    EXPECT_TRUE(fs.IsFolder(*c));
    EXPECT_EQ(std::tolower(static_cast<unsigned char>((*c)[0])), 'c');
    // Wine maps no drive to Q: unless asked to.
    const auto unknown = fs.TryCurrentFolderOfDrive("q:");
    EXPECT_FALSE(unknown.folder.has_value());
    EXPECT_FALSE(unknown.failure.empty());
    EXPECT_FALSE(fs.CurrentFolderOfDrive("no drive").has_value());
}

TEST(AnsiEncoding, CharactersOutsideTheCodePageBecomeItsDefaultCharacter) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system code page here is " << GetACP();
    EXPECT_EQ(folio::win::AnsiFromUtf8("caf\xc3\xa9 \xe2\x82\xac"), "caf\xe9 \x80");
    EXPECT_EQ(folio::win::AnsiFromUtf8("\xce\xa9 \xc4\x81"), "? ?") << "no look-alike for a-macron";
    EXPECT_EQ(folio::win::UserRegionalSettings().encodeForFile("plain"), "plain");
}

} // namespace
