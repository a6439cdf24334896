// Every fixture read from disk and from memory. The expected values are exiftool's for the
// same file (`exiftool -n`); for DCX, JBIG and CALS, which exiftool cannot read, they are what
// the headers hold.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Fixtures.h"
#include "imaging/ReadImageInfo.h"

namespace {

using namespace imaging;

constexpr double Ppm(double pixelsPerMetre) { return pixelsPerMetre * 0.0254; }
constexpr double Ppcm(double pixelsPerCentimetre) { return pixelsPerCentimetre * 2.54; }

struct Expected {
    const char* file;
    std::int32_t type;
    std::uint32_t width, height;
    double x, y;
    std::int32_t bits, samples, compression;
};

const Expected kFixtures[] = {
    {"bmp-core-24.bmp", kFileTypeBmp, 8, 6, 0, 0, 8, 3, 50001},
    {"bmp-info-1.bmp", kFileTypeBmp, 16, 8, Ppm(11811), Ppm(11811), 1, 1, 50001},
    {"bmp-info-4.bmp", kFileTypeBmp, 8, 6, Ppm(3779), Ppm(3779), 4, 1, 50001},
    {"bmp-info-24.bmp", kFileTypeBmp, 8, 6, Ppm(2834), Ppm(2834), 8, 3, 50001},
    {"bmp-rle4.bmp", kFileTypeBmp, 8, 6, Ppm(3779), Ppm(3779), 4, 1, 50006},
    {"bmp-rle8.bmp", kFileTypeBmp, 8, 6, Ppm(5905), Ppm(5905), 8, 1, 50006},
    {"bmp-topdown-24.bmp", kFileTypeBmp, 8, 6, Ppm(2834), Ppm(2834), 8, 3, 50001},
    {"bmp-v4-32.bmp", kFileTypeBmp, 8, 6, Ppm(7874), Ppm(7874), 8, 4, 50001},
    {"bmp-v5-16.bmp", kFileTypeBmp, 8, 6, 0, 0, 5, 3, 50001},
    {"bmp-v5-32.bmp", kFileTypeBmp, 8, 6, Ppm(7874), Ppm(7874), 8, 4, 50001},
    {"pcx-1.pcx", kFileTypePcx, 16, 8, 200, 200, 1, 1, 50000},
    {"pcx-8.pcx", kFileTypePcx, 8, 6, 96, 96, 8, 1, 50000},
    {"pcx-24.pcx", kFileTypePcx, 8, 6, 150, 150, 8, 3, 50000},
    {"dcx-2page.dcx", kFileTypeDcx, 8, 6, 150, 150, 8, 1, 50000},
    {"tif-none-le.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 3, 1},
    {"tif-lzw-be.tif", kFileTypeTiff, 8, 6, 300, 300, 8, 3, 5},
    {"tif-g3.tif", kFileTypeTiff, 16, 8, 204, 196, 1, 1, 3},
    {"tif-g4.tif", kFileTypeTiff, 16, 8, 300, 300, 1, 1, 4},
    {"tif-jpeg.tif", kFileTypeTiff, 16, 16, 96, 96, 8, 3, 7},
    {"tif-deflate-cm.tif", kFileTypeTiff, 8, 6, Ppcm(40), Ppcm(40), 8, 3, 8},
    {"tif-packbits-nounit.tif", kFileTypeTiff, 8, 6, 5, 5, 16, 1, 32773},
    {"tif-tiled.tif", kFileTypeTiff, 32, 32, 72, 72, 16, 3, 1},
    {"tif-rgba.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 4, 1},
    {"tif-cmyk.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 4, 1},
    {"tif-gray16.tif", kFileTypeTiff, 8, 6, 72, 72, 16, 1, 1},
    {"tif-palette.tif", kFileTypeTiff, 8, 6, 72, 72, 4, 1, 1},
    {"tif-2page.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 3, 1},
    {"tif-big-be.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 3, 1},
    {"tif-big-le.tif", kFileTypeTiff, 8, 6, 72, 72, 8, 3, 1},
    {"jpeg-baseline.jpg", kFileTypeJpeg, 16, 16, 96, 96, 8, 3, 6},
    {"jpeg-progressive.jpg", kFileTypeJpeg, 16, 16, 72, 72, 8, 3, 6},
    {"jpeg-gray-cm.jpg", kFileTypeJpeg, 16, 16, Ppcm(50), Ppcm(50), 8, 1, 6},
    {"jpeg-cmyk.jpg", kFileTypeJpeg, 16, 16, 72, 72, 8, 4, 6},
    {"jpeg-nodensity.jpg", kFileTypeJpeg, 16, 16, 1, 1, 8, 3, 6},
    {"jpeg-exif.jpg", kFileTypeJpeg, 16, 16, 300, 240, 8, 3, 6},
    {"jpeg-sof1.jpg", kFileTypeJpeg, 16, 16, 96, 96, 8, 3, 6},
    {"jpeg-sof3.jpg", kFileTypeJpeg, 16, 16, 96, 96, 8, 3, 6},
    {"png-rgb.png", kFileTypePng, 8, 6, Ppm(2834), Ppm(2834), 8, 3, 8},
    {"png-rgba.png", kFileTypePng, 8, 6, Ppm(11811), Ppm(11811), 8, 4, 8},
    {"png-gray1.png", kFileTypePng, 16, 8, Ppm(11811), Ppm(11811), 1, 1, 8},
    {"png-pal4.png", kFileTypePng, 8, 6, Ppm(3779), Ppm(3779), 4, 1, 8},
    {"png-graya.png", kFileTypePng, 8, 6, Ppm(2834), Ppm(2834), 8, 2, 8},
    {"png-rgb16.png", kFileTypePng, 8, 6, Ppm(2834), Ppm(2834), 16, 3, 8},
    {"png-nounit.png", kFileTypePng, 8, 6, 2, 2, 8, 3, 8},
    {"png-nophys.png", kFileTypePng, 8, 6, 0, 0, 8, 3, 8},
    {"gif-89a.gif", kFileTypeGif, 8, 6, 0, 0, 1, 1, 5},
    {"gif-87a.gif", kFileTypeGif, 8, 6, 0, 0, 3, 1, 5},
    {"gif-1.gif", kFileTypeGif, 16, 8, 0, 0, 1, 1, 5},
    {"jbig-16x8.jbig", kFileTypeJbig, 16, 8, 0, 0, 1, 1, 34661},
    {"jbig-40x30.jbg", kFileTypeJbig, 40, 30, 0, 0, 1, 1, 34661},
    {"cals-300.cal", kFileTypeCals, 16, 8, 300, 300, 1, 1, 4},
    {"cals-200.cal", kFileTypeCals, 40, 30, 200, 200, 1, 1, 4},
};

const Expected& Row(std::string_view file) {
    for (const Expected& e : kFixtures)
        if (file == e.file) return e;
    throw std::invalid_argument("no row for " + std::string(file));
}

void ExpectValues(const ReadResult& result, const Expected& e) {
    ASSERT_TRUE(result.info) << result.failure;
    const ImageInfo& info = *result.info;
    EXPECT_EQ(info.fileTypeCode, e.type);
    EXPECT_EQ(info.width, e.width);
    EXPECT_EQ(info.height, e.height);
    EXPECT_DOUBLE_EQ(info.xResolution, e.x);
    EXPECT_DOUBLE_EQ(info.yResolution, e.y);
    EXPECT_EQ(info.bitsPerSample, e.bits);
    EXPECT_EQ(info.samplesPerPixel, e.samples);
    EXPECT_EQ(info.compression, e.compression);
}

TEST(ImageValues, EveryFixtureReadsAsExiftoolReportsIt) {
    for (const Expected& e : kFixtures) {
        SCOPED_TRACE(e.file);
        ExpectValues(ReadImageInfoFromFile(FixturePath(e.file)), e);
        const auto bytes = ReadFileBytes(FixturePath(e.file));
        ExpectValues(ReadImageInfo(bytes), e);
    }
}

TEST(ImageValues, EveryFixtureHasExpectedValues) {
    for (const std::string& name : FixtureNames()) {
        const bool listed = std::any_of(std::begin(kFixtures), std::end(kFixtures),
                                        [&](const Expected& e) { return name == e.file; });
        EXPECT_TRUE(listed) << name << " has no row in the table";
    }
}

// A segment larger than the first read puts the frame header out of it; the file reader must
// fetch it from further on and still agree.
TEST(ImageValues, FrameHeaderBeyondTheFirstRead) {
    auto bytes = ReadFileBytes(FixturePath("jpeg-baseline.jpg"));
    std::vector<std::uint8_t> comment = {0xFF, 0xFE, 0x27, 0x12}; // COM segment of 10002 bytes
    comment.resize(comment.size() + 10000, 'x');
    bytes.insert(bytes.begin() + 2, comment.begin(), comment.end());
    ScratchFolder folder("frame-far");
    const auto path = folder.Path() / "far.jpg";
    WriteFileBytes(path, bytes);
    ExpectValues(ReadImageInfoFromFile(path.string()), Row("jpeg-baseline.jpg"));
}

// A TIFF of more than 2 GiB whose directory lies at its end (a sparse file, so nothing is
// written in between): found and read like a small one.
TEST(ImageValues, DirectoryAtTheEndOfALargeTiff) {
    constexpr std::uint64_t kStripBytes = (std::uint64_t{1} << 31) + 4096;
    constexpr std::uint32_t kDirectory = 8 + static_cast<std::uint32_t>(kStripBytes);
    std::vector<std::uint8_t> tail;
    const auto put16 = [&](std::uint16_t v) { tail.push_back(v & 0xFF); tail.push_back(v >> 8); };
    const auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(static_cast<std::uint16_t>(v >> 16)); };
    const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        put16(tag); put16(type); put32(1); put32(value);
    };
    const std::uint32_t rational = kDirectory + 2 + 9 * 12 + 4;
    put16(9);
    entry(256, 4, 40000); entry(257, 4, 53687); entry(258, 3, 8); entry(259, 3, 1); entry(262, 3, 1);
    entry(273, 4, 8); entry(279, 4, static_cast<std::uint32_t>(kStripBytes));
    entry(282, 5, rational); entry(283, 5, rational);
    put32(0);
    put32(600); put32(1);

    ScratchFolder folder("large-tiff");
    const auto path = folder.Path() / "large.tif";
    {
        std::ofstream out(path, std::ios::binary);
        const char header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
        out.write(header, sizeof header);
        out.seekp(4);
        const std::uint8_t at[4] = {kDirectory & 0xFF, (kDirectory >> 8) & 0xFF, (kDirectory >> 16) & 0xFF,
                                    kDirectory >> 24};
        out.write(reinterpret_cast<const char*>(at), 4);
        out.seekp(kDirectory);
        out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    }
    ExpectValues(ReadImageInfoFromFile(path.string()),
                 {"large.tif", kFileTypeTiff, 40000, 53687, 600, 600, 8, 1, 1});
}

} // namespace
