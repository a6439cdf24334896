#include <filesystem>
#include <map>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Fakes.h"
#include "ImageScan.h"
#include "PosixFileSystem.h"
#include "TempFolder.h"

namespace folio {
namespace {

using testing::TempFolder;

std::map<std::string, std::optional<std::int64_t>> Listing(PosixFileSystem& fileSystem, const std::string& folder)
{
    std::map<std::string, std::optional<std::int64_t>> listed;
    EXPECT_TRUE(fileSystem.ListFiles(folder, [&](const ListedFile& file) { listed[file.name] = file.length; }));
    return listed;
}

TEST(PosixFileSystem, ListsPlainFilesWithTheirLengths)
{
    TempFolder folder;
    folder.Write("a.bmp", "0123456789");
    folder.Write("empty.tif", "");
    folder.Write("with blank.png", "x");
    folder.Write(".hidden.bmp", "x");
    std::filesystem::create_directory(folder.Path("sub.bmp"));
    std::filesystem::create_symlink(folder.Path("a.bmp"), folder.Path("link.bmp"));
    std::filesystem::create_symlink(folder.Path("gone.bmp"), folder.Path("dangling.bmp"));
    ::mkfifo(folder.Path("pipe.bmp").c_str(), 0600);

    PosixFileSystem fileSystem;
    const std::map<std::string, std::optional<std::int64_t>> expected = {
        {"a.bmp", 10}, {"empty.tif", 0}, {"with blank.png", 1}, {"link.bmp", 10}};
    EXPECT_EQ(Listing(fileSystem, folder.Path()), expected);
    EXPECT_FALSE(fileSystem.ListFiles(folder.Path("missing"), [](const ListedFile&) { FAIL(); }));
    EXPECT_TRUE(fileSystem.IsFolder(folder.Path()));
    EXPECT_TRUE(fileSystem.IsFolder(folder.Path("sub.bmp")));
    EXPECT_FALSE(fileSystem.IsFolder(folder.Path("a.bmp")));
    EXPECT_FALSE(fileSystem.IsFolder(folder.Path("missing")));
    EXPECT_EQ(fileSystem.CurrentFolderOfDrive("c:\\"), std::nullopt);
    EXPECT_EQ(fileSystem.PathSeparator(), '/');
}

// A sparse file: the size is real, the disk space is not used.
TEST(PosixFileSystem, LengthsBeyondFourGibibytesScanWithTheirTrueSize)
{
    TempFolder folder;
    const std::int64_t length = 5LL * 1024 * 1024 * 1024;
    {
        const int fd = ::open(folder.Path("huge.tif").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, length), 0);
        ::close(fd);
    }
    PosixFileSystem fileSystem;
    EXPECT_EQ(Listing(fileSystem, folder.Path())["huge.tif"], length);

    testing::EventLog log;
    testing::FakeImaging imaging(log);
    imaging.images[folder.Path("huge.tif")] = {};
    SilentScanWindow window;
    ResultGrid grid;
    const RegionalSettings settings;
    ImageScanner scanner(fileSystem, imaging, window, grid, settings);
    scanner.RetrieveImageInformation(folder.Path(), "*.TIF");
    ASSERT_EQ(grid.RowCount(), 1u);
    EXPECT_EQ(grid.Rows()[0].cells[4], "5,248,005.00 kb");
}

TEST(PosixFileSystem, AppendsRemovesAndReportsFailuresWithThePath)
{
    TempFolder folder;
    PosixFileSystem fileSystem;
    const std::string path = folder.Path("out.csv");
    for (const char* text : {"one\r\n", "two\r\n"}) {
        auto file = fileSystem.OpenForAppend(path);
        file->Write(text);
        file->Close();
    }
    EXPECT_EQ(folder.Read("out.csv"), "one\r\ntwo\r\n");

    fileSystem.RemoveFile(path);
    EXPECT_FALSE(std::filesystem::exists(path));

    const std::string badPaths[] = {folder.Path("no/such/folder.csv"), "", folder.Path()};
    for (const std::string& bad : badPaths) {
        try {
            fileSystem.OpenForAppend(bad);
            ADD_FAILURE() << "opened " << bad;
        } catch (const FileError& error) {
            EXPECT_EQ(error.Path(), bad);
            EXPECT_FALSE(error.Reason().empty());
        }
    }
    EXPECT_THROW(fileSystem.RemoveFile(path), FileError);
}

TEST(PosixFileSystem, WriteFailuresThrow)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    PosixFileSystem fileSystem;
    auto file = fileSystem.OpenForAppend("/dev/full");
    EXPECT_THROW(file->Write("x"), FileError);
}

} // namespace
} // namespace folio
