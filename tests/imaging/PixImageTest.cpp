// The component as the scan drives it: load by path, read back, release.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "imaging/PixImage.h"

namespace {

using imaging::PixImage;

std::string Quoted(const std::string& path) {
    std::string quoted(1, '"');
    quoted.append(path).push_back('"');
    return quoted;
}

TEST(PixImage, LoadedFileAnswersEveryAttribute) {
    PixImage image;
    const std::string path = FixturePath("bmp-info-24.bmp");
    image.SetImageFileName(path);
    EXPECT_EQ(image.ImageFileName(), path);
    EXPECT_EQ(image.LoadFailure(), "");
    EXPECT_EQ(image.ImageWidth(), 8.0);
    EXPECT_EQ(image.ImageHeight(), 6.0);
    EXPECT_DOUBLE_EQ(*image.XResolution(), 2834 * 0.0254);
    EXPECT_DOUBLE_EQ(*image.YResolution(), 2834 * 0.0254);
    EXPECT_EQ(image.FileTypeCode(), 0x60000);
    EXPECT_EQ(image.BitsPerSample(), 8.0);
    EXPECT_EQ(image.SamplesPerPixel(), 3.0);
}

TEST(PixImage, OnlyTheFirstValueOfTag259Exists) {
    PixImage image;
    image.SetImageFileName(FixturePath("tif-lzw-be.tif"));
    EXPECT_EQ(image.TagValue(259, 1), 5.0);
    EXPECT_EQ(image.TagValue(259, 2), std::nullopt);
    EXPECT_EQ(image.TagValue(259, 0), std::nullopt);
    EXPECT_EQ(image.TagValue(256, 1), std::nullopt);
    EXPECT_EQ(image.TagValue(-1, 1), std::nullopt);
}

TEST(PixImage, FailedLoadReadsBackEmptyAndAnswersNothing) {
    PixImage image;
    image.SetImageFileName(FixturePath("png-rgb.png"));
    ASSERT_NE(image.ImageFileName(), "");
    for (const std::string& path : {FixturePath("missing.png"), std::string(FOLIO_IMAGING_FIXTURES)}) {
        SCOPED_TRACE(path);
        image.SetImageFileName(path);
        EXPECT_EQ(image.ImageFileName(), "");
        EXPECT_NE(image.LoadFailure(), "");
        EXPECT_EQ(image.ImageWidth(), std::nullopt);
        EXPECT_EQ(image.FileTypeCode(), std::nullopt);
        EXPECT_EQ(image.TagValue(259, 1), std::nullopt);
    }
}

TEST(PixImage, ReleaseAndEmptyNameUnload) {
    PixImage image;
    image.SetImageFileName(FixturePath("gif-89a.gif"));
    image.ReleaseImage();
    EXPECT_EQ(image.ImageFileName(), "");
    EXPECT_EQ(image.BitsPerSample(), std::nullopt);
    image.SetImageFileName(FixturePath("gif-89a.gif"));
    image.SetImageFileName("");
    EXPECT_EQ(image.ImageFileName(), "");
    EXPECT_EQ(image.LoadFailure(), "");
    EXPECT_EQ(image.ImageHeight(), std::nullopt);
}

// A path holding a blank arrives in double quotes; one with letters beyond ASCII arrives as
// UTF-8 and must reach the file system intact.
TEST(PixImage, QuotedAndNonAsciiPathsLoad) {
    ScratchFolder folder("paths");
    const auto bytes = ReadFileBytes(FixturePath("jpeg-baseline.jpg"));
    const auto blank = folder.Path() / "with blank.jpg";
    const auto accented = folder.Path() / std::filesystem::path(u8"Bild \u00E4\u20AC.jpg");
    WriteFileBytes(blank, bytes);
    WriteFileBytes(accented, bytes);

    PixImage image;
    image.SetImageFileName(Quoted(blank.string()));
    EXPECT_EQ(image.ImageFileName(), blank.string());
    EXPECT_EQ(image.ImageWidth(), 16.0);

    const std::u8string u8 = accented.u8string();
    const std::string utf8(u8.begin(), u8.end());
    image.SetImageFileName(Quoted(utf8));
    EXPECT_EQ(image.ImageFileName(), utf8) << image.LoadFailure();
    EXPECT_EQ(image.FileTypeCode(), 0xB0000);
}

} // namespace

#ifndef _WIN32
#include <sys/stat.h>

namespace {

// A named pipe without a writer would block an ordinary open forever.
TEST(PixImage, NamedPipeIsNoImageAndDoesNotBlock) {
    ScratchFolder folder("pipe");
    const auto pipe = folder.Path() / "pipe.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    PixImage image;
    image.SetImageFileName(pipe.string());
    EXPECT_EQ(image.ImageFileName(), "");
}

} // namespace
#endif
