#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ImageScan.h"

namespace folio {
namespace {

using testing::EventLog;
using testing::FakeFileSystem;
using testing::FakeImage;
using testing::FakeImaging;
using testing::Op;
using ::testing::ElementsAre;

TEST(WildcardMatch, Patterns)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "photo.tif", true},
        {"*.*", "README", true}, // "*.*" finds names without an extension, as on Windows
        {"photo.*", "photo", true},
        {"photo.*", "photos", false},
        {"*.TIF", "photo.tif", true},
        {"*.tif", "PHOTO.TIF", true},
        {"*.TIF", "photo.tiff", false},
        {"*.tif", "photo.tif.bak", false},
        {"*.tif", "tif", false},
        {"?.bmp", "a.bmp", true},
        {"?.bmp", "ab.bmp", false},
        {"?.bmp", ".bmp", false},
        {"?.bmp", "\xC3\xA4.bmp", true}, // "?" is one character, not one byte
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXbYcd", false},
        {"*a", "aaa", true},
        {"**", "", true},
        {"*", "", true},
        {"", "a", false},
        {"\xC3\x84*.png", "\xC3\xA4pfel.PNG", true}, // "Ä" and "ä"
        {"a,b.tif", "A,B.TIF", true},
        {"[ab].tif", "a.tif", false}, // brackets are plain characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST(GetCompressionCode, ReadsTag259OrGivesMinusOne)
{
    EventLog log;
    FakeImaging imaging(log);
    const std::pair<std::optional<double>, std::int32_t> cases[] = {
        {5.0, 5}, {32773.0, 32773}, {6.5, 6}, {std::nullopt, -1}, {NAN, -1}, {1e20, -1},
    };
    for (const auto& [value, code] : cases) {
        FakeImage image;
        image.compression = value;
        imaging.images["x"] = image;
        imaging.SetImageFileName("x");
        EXPECT_EQ(GetCompressionCode(imaging), code);
    }
    imaging.images["x"].throwing = {Op::Tag};
    imaging.SetImageFileName("x");
    EXPECT_EQ(GetCompressionCode(imaging), -1);
}

class ImageScanTest : public ::testing::Test, protected testing::ScanHarness {
protected:
    // Puts files into a folder; each one listed by the name that loads it.
    void AddFiles(const std::string& folder, const std::vector<std::string>& names,
                  std::int64_t length = 1048576)
    {
        auto& listing = fileSystem.folders[folder];
        for (const std::string& name : names)
            listing.push_back(ListedFile{name, length});
    }
    void AddImage(const std::string& path, FakeImage image = {}) { imaging.images[path] = image; }

    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (const GridRow& row : grid.Rows())
            keys.push_back(row.key);
        return keys;
    }
};

TEST_F(ImageScanTest, FillsTheElevenCellsOfALoadedImage)
{
    AddFiles(R"(c:\pics)", {"a.bmp"});
    AddImage(R"(c:\pics\a.bmp)");
    scanner.RetrieveImageInformation(R"(c:\pics)", "*.*");

    ASSERT_EQ(grid.RowCount(), 1u);
    const GridRow& row = grid.Rows()[0];
    EXPECT_EQ(row.key, "A-1");
    EXPECT_EQ(row.fileName, "a.bmp");
    EXPECT_THAT(row.cells, ElementsAre("00640", "00480", "0072", "0072", "1,025.00 kb", "BMP Packaging",
                                       "24 bit color.", "Not Compressed.", "08", "03"));
    EXPECT_EQ(grid.Columns().size(), 11u);
    EXPECT_FALSE(imaging.Loaded());
}

TEST_F(ImageScanTest, AFailingStepEmptiesOnlyItsOwnCell)
{
    struct Case {
        Op op;
        std::optional<double> FakeImage::*field;
        std::vector<int> emptyCells; // 0-based cell indexes
    };
    const Case cases[] = {
        {Op::Width, &FakeImage::width, {0}},
        {Op::Height, &FakeImage::height, {1}},
        {Op::XRes, &FakeImage::xResolution, {2}},
        {Op::YRes, &FakeImage::yResolution, {3}},
        {Op::FileType, &FakeImage::fileType, {5}},
        {Op::Bits, &FakeImage::bits, {6, 8}},
        {Op::Samples, &FakeImage::samples, {6, 9}},
    };
    const std::array<std::string, 10> full = {"00640", "00480", "0072", "0072", "1,025.00 kb", "BMP Packaging",
                                              "24 bit color.", "Not Compressed.", "08", "03"};
    for (const Case& c : cases) {
        for (int how = 0; how < 3; ++how) { // throws, not a number, a number out of range
            FakeImage image;
            if (how == 0)
                image.throwing = {c.op};
            else
                image.*c.field = how == 1 ? std::nullopt : std::optional(1e12);
            imaging.images.clear();
            fileSystem.folders.clear();
            AddFiles("c:\\", {"a.bmp"});
            AddImage("c:\\a.bmp", image);

            scanner.RetrieveImageInformation("c:\\", "*.*");

            ASSERT_EQ(grid.RowCount(), 1u);
            std::array<std::string, 10> expected = full;
            for (int cell : c.emptyCells)
                expected[static_cast<std::size_t>(cell)] = "";
            EXPECT_EQ(grid.Rows()[0].cells, expected) << "op " << static_cast<int>(c.op) << " how " << how;
        }
    }
}

TEST_F(ImageScanTest, UnreadableCompressionAndLengthAndUnknownCodes)
{
    fileSystem.folders["d"] = {ListedFile{"a.tif", std::nullopt}, ListedFile{"b.tif", 0}};
    FakeImage a;
    a.throwing = {Op::Tag};
    FakeImage b;
    b.fileType = 0x40000;
    b.bits = 16;
    b.compression = -2;
    AddImage("d\\a.tif", a);
    AddImage("d\\b.tif", b);
    scanner.RetrieveImageInformation("d", "*.tif");

    ASSERT_EQ(grid.RowCount(), 2u);
    EXPECT_EQ(grid.Rows()[0].cells[4], "");
    EXPECT_EQ(grid.Rows()[0].cells[7], "Unable to retrieve.");
    EXPECT_EQ(grid.Rows()[1].cells[4], "0.00 kb");
    EXPECT_EQ(grid.Rows()[1].cells[5], "");
    EXPECT_EQ(grid.Rows()[1].cells[6], "Unknown");
    EXPECT_EQ(grid.Rows()[1].cells[7], "-2");
}

TEST_F(ImageScanTest, LengthsBeyondTwoGibibytesKeepTheirSize)
{
    AddFiles("d", {"huge.tif"}, 3221225472);
    AddImage("d\\huge.tif");
    scanner.RetrieveImageInformation("d", "*.*");
    ASSERT_EQ(grid.RowCount(), 1u);
    EXPECT_EQ(grid.Rows()[0].cells[4], "3,148,803.00 kb");
}

TEST_F(ImageScanTest, UnloadableFilesLeaveKeyGapsAndDotNamesTakeNoNumber)
{
    AddFiles("d", {".hidden.bmp", "a.bmp", "bad.bmp", ".x", "b.bmp"});
    AddImage("d\\a.bmp");
    AddImage("d\\b.bmp");
    AddImage("d\\.hidden.bmp");
    scanner.RetrieveImageInformation("d", "*.*");

    EXPECT_EQ(Keys(), (std::vector<std::string>{"A-1", "A-3"}));
    EXPECT_EQ(grid.Rows()[1].fileName, "b.bmp");
}

TEST_F(ImageScanTest, DrivesTheWindowAndTheImagingComponentInOrder)
{
    AddFiles("d", {".dot.bmp", "a.bmp", "skip.txt"});
    AddImage("d\\a.bmp");
    scanner.RetrieveImageInformation("d", "*.bmp");

    EXPECT_THAT(log, ElementsAre("BeginScan",
                                 // the dot name is passed over, but still released after
                                 "Release", "Set ", "Messages",
                                 "Show a.bmp", "Release", "Set ", "Set d\\a.bmp",
                                 "Release", "Set ", "Messages",
                                 "EndScan"));
}

TEST_F(ImageScanTest, FullPathHasOneSeparatorAndIsQuotedWhenItHoldsABlank)
{
    struct Case {
        char separator;
        const char* folder;
        const char* pathSet;
    };
    const Case cases[] = {
        {'\\', "c:\\", "c:\\a.bmp"},
        {'\\', "c:\\pics", "c:\\pics\\a.bmp"},
        {'\\', "c:\\pics\\", "c:\\pics\\a.bmp"},
        {'\\', "c:\\my pics", "\"c:\\my pics\\a.bmp\""},
        {'/', "/home/me/pics", "/home/me/pics/a.bmp"},
        {'/', "/", "/a.bmp"},
    };
    for (const Case& c : cases) {
        FakeFileSystem otherFileSystem(c.separator);
        otherFileSystem.folders[c.folder] = {ListedFile{"a.bmp", 2048}};
        ImageScanner otherScanner(otherFileSystem, imaging, window, grid, settings);
        imaging.images.clear();
        AddImage(c.pathSet);
        log.clear();

        otherScanner.RetrieveImageInformation(c.folder, "*.*");

        EXPECT_THAT(log, ::testing::Contains(std::string("Set ") + c.pathSet)) << c.folder;
        ASSERT_EQ(grid.RowCount(), 1u) << c.folder;
        EXPECT_EQ(grid.Rows()[0].cells[4], "2.00 kb"); // the length comes with the listing
    }
}

TEST_F(ImageScanTest, OnlyMatchingNamesAreScanned)
{
    AddFiles("d", {"a.bmp", "b.TIF", "c.tif", "d.tiff"});
    for (const char* name : {"d\\a.bmp", "d\\b.TIF", "d\\c.tif", "d\\d.tiff"})
        AddImage(name);
    scanner.RetrieveImageInformation("d", "*.tif");

    EXPECT_EQ(Keys(), (std::vector<std::string>{"A-1", "A-2"}));
    EXPECT_EQ(grid.Rows()[0].fileName, "b.TIF");
    EXPECT_EQ(std::count(log.begin(), log.end(), "Messages"), 2);
}

TEST_F(ImageScanTest, AMissingFolderGivesColumnsAndNoRows)
{
    AddFiles("d", {"a.bmp"});
    AddImage("d\\a.bmp");
    scanner.RetrieveImageInformation("d", "*.*");
    scanner.RetrieveImageInformation("missing", "*.*");

    EXPECT_EQ(grid.Columns().size(), 11u);
    EXPECT_EQ(grid.RowCount(), 0u);
    EXPECT_EQ(log.back(), "EndScan");
}

TEST_F(ImageScanTest, NothingEscapesWhenEveryOperationFails)
{
    AddFiles("d", {"a.bmp", "b.bmp"});
    AddImage("d\\a.bmp");
    imaging.alwaysThrowing = {Op::Release, Op::SetName, Op::GetName, Op::Width, Op::Height, Op::XRes,
                              Op::YRes,    Op::FileType, Op::Bits,   Op::Samples, Op::Tag};
    EXPECT_NO_THROW(scanner.RetrieveImageInformation("d", "*.*"));
    EXPECT_EQ(grid.RowCount(), 0u);
    EXPECT_EQ(log.front(), "BeginScan");
    EXPECT_EQ(log.back(), "EndScan");
}

TEST_F(ImageScanTest, AListingThatFailsHalfWayKeepsTheRowsSoFar)
{
    class BrokenListing final : public FakeFileSystem {
    public:
        bool ListFiles(const std::string&, const std::function<void(const ListedFile&)>& onFile) override
        {
            onFile(ListedFile{"a.bmp", 10});
            throw FileError("d", "device gone");
        }
    } broken;
    ImageScanner brokenScanner(broken, imaging, window, grid, settings);
    AddImage("d\\a.bmp");

    EXPECT_NO_THROW(brokenScanner.RetrieveImageInformation("d", "*.*"));
    EXPECT_EQ(grid.RowCount(), 1u);
    EXPECT_EQ(log.back(), "EndScan");
}

TEST_F(ImageScanTest, ARescanReplacesRowsAndWidthsButKeepsTheSortState)
{
    AddFiles("d", {"a.bmp", "b.bmp", "c.bmp"});
    FakeImage wide;
    wide.width = 2000;
    AddImage("d\\a.bmp", wide);
    AddImage("d\\b.bmp");
    AddImage("d\\c.bmp", wide);
    scanner.RetrieveImageInformation("d", "*.*");
    grid.ClickColumn(2);
    grid.ClickColumn(2); // width, descending

    scanner.RetrieveImageInformation("d", "*.*");

    EXPECT_EQ(grid.SortColumn(), 1);
    EXPECT_EQ(grid.Direction(), SortDirection::Descending);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"A-1", "A-3", "A-2"}));
    EXPECT_EQ(grid.Columns()[0].widthTwips, 1200);
    EXPECT_EQ(grid.Columns().size(), 11u);
}

} // namespace
} // namespace folio
