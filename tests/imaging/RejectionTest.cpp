// Broken files: each a fixture with a few bytes changed, and the reason the reader gives.
#include <gtest/gtest.h>

#include <functional>

#include "Fixtures.h"
#include "imaging/ReadImageInfo.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::initializer_list<std::uint8_t> values) {
    std::copy(values.begin(), values.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}
std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put(b, at, {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
}
void PutBe32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put(b, at, {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
}

// The first directory of a little-endian classic TIFF and one of its entries.
std::size_t TiffDirectory(const Bytes& b) { return Le32(b, 4); }
std::size_t TiffEntry(const Bytes& b, std::uint16_t tag) {
    const std::size_t directory = TiffDirectory(b);
    const std::size_t count = b[directory] | b[directory + 1] << 8;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = directory + 2 + i * 12;
        if ((b[at] | b[at + 1] << 8) == tag) return at;
    }
    throw std::invalid_argument("no such tag");
}

std::size_t Find(const Bytes& b, std::string_view text) {
    const auto it = std::search(b.begin(), b.end(), text.begin(), text.end(),
                                [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
    if (it == b.end()) throw std::invalid_argument("not found: " + std::string(text));
    return static_cast<std::size_t>(it - b.begin());
}

// Writes a fresh checksum after IHDR, so that a changed field is judged on its own.
void FixIhdrChecksum(Bytes& b) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; ++i) {
        c ^= b[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    PutBe32(b, 29, c ^ 0xFFFFFFFFu);
}

struct Broken {
    const char* fixture;
    const char* change;
    std::function<void(Bytes&)> apply;
    const char* reason;
};

const Broken kBroken[] = {
    {"bmp-info-24.bmp", "width 0", [](Bytes& b) { PutLe32(b, 18, 0); }, "BMP size out of range"},
    {"bmp-info-24.bmp", "height 2^24 + 1", [](Bytes& b) { PutLe32(b, 22, (1u << 24) + 1); }, "BMP size out of range"},
    {"bmp-info-24.bmp", "7 bits", [](Bytes& b) { Put(b, 28, {7, 0}); }, "unknown BMP bit depth"},
    {"bmp-info-24.bmp", "two planes", [](Bytes& b) { Put(b, 26, {2, 0}); }, "BMP plane count is not 1"},
    {"bmp-info-24.bmp", "header size 41", [](Bytes& b) { PutLe32(b, 14, 41); }, "unknown BMP header size"},
    {"bmp-info-24.bmp", "data offset past the end", [](Bytes& b) { PutLe32(b, 10, 0xFFFFFF00u); },
     "BMP data beyond end of file"},
    {"bmp-info-24.bmp", "data offset inside the header", [](Bytes& b) { PutLe32(b, 10, 20); },
     "BMP data offset inside header"},
    {"bmp-info-24.bmp", "width that overflows a row", [](Bytes& b) { PutLe32(b, 18, 1u << 24); },
     "BMP data beyond end of file"},
    {"bmp-info-24.bmp", "JPEG inside", [](Bytes& b) { PutLe32(b, 30, 4); }, "unsupported BMP compression"},
    {"bmp-rle8.bmp", "RLE8 stored top-down", [](Bytes& b) { PutLe32(b, 22, static_cast<std::uint32_t>(-6)); },
     "top-down BMP cannot be RLE"},
    {"bmp-rle8.bmp", "RLE8 on 4 bits", [](Bytes& b) { Put(b, 28, {4, 0}); }, "BMP RLE8 needs 8 bits"},
    {"bmp-rle8.bmp", "RLE size past the end", [](Bytes& b) { PutLe32(b, 34, 0x10000); },
     "BMP data beyond end of file"},
    {"pcx-8.pcx", "3 bits", [](Bytes& b) { b[3] = 3; }, "unknown PCX bit depth"},
    {"pcx-8.pcx", "5 planes", [](Bytes& b) { b[65] = 5; }, "unknown PCX plane count"},
    {"pcx-8.pcx", "window reversed", [](Bytes& b) { Put(b, 4, {9, 0}); }, "PCX window reversed"},
    {"pcx-8.pcx", "line shorter than width", [](Bytes& b) { Put(b, 66, {1, 0}); }, "PCX line shorter than its width"},
    {"pcx-8.pcx", "version 1", [](Bytes& b) { b[1] = 1; }, "unknown PCX version"},
    {"dcx-2page.dcx", "page past the end", [](Bytes& b) { PutLe32(b, 4, 0x7FFFFFFF); }, "DCX page offset out of range"},
    {"dcx-2page.dcx", "no pages", [](Bytes& b) { PutLe32(b, 4, 0); }, "DCX has no pages"},
    {"dcx-2page.dcx", "pages out of order", [](Bytes& b) { PutLe32(b, 8, 100); }, "DCX page offsets out of order"},
    {"tif-none-le.tif", "directory past the end", [](Bytes& b) { PutLe32(b, 4, 0x00FFFFFF); },
     "TIFF directory offset out of range"},
    {"tif-none-le.tif", "directory inside the header", [](Bytes& b) { PutLe32(b, 4, 4); },
     "TIFF directory offset out of range"},
    {"tif-none-le.tif", "directory pointing to itself",
     [](Bytes& b) {
         const std::size_t d = TiffDirectory(b);
         PutLe32(b, d + 2 + (b[d] | b[d + 1] << 8) * 12, static_cast<std::uint32_t>(d));
     },
     "TIFF next directory offset invalid"},
    {"tif-none-le.tif", "no entries", [](Bytes& b) { Put(b, TiffDirectory(b), {0, 0}); },
     "TIFF directory entry count out of range"},
    {"tif-none-le.tif", "width 0", [](Bytes& b) { PutLe32(b, TiffEntry(b, 256) + 8, 0); }, "TIFF size out of range"},
    {"tif-none-le.tif", "no height", [](Bytes& b) { Put(b, TiffEntry(b, 257), {0xFF, 0}); }, "TIFF size missing"},
    {"tif-none-le.tif", "strip past the end", [](Bytes& b) { PutLe32(b, TiffEntry(b, 279) + 8, 100000); },
     "TIFF image data beyond end of file"},
    {"tif-none-le.tif", "no strip offsets", [](Bytes& b) { Put(b, TiffEntry(b, 273), {0xFF, 0}); },
     "TIFF has no image data offsets"},
    {"tif-none-le.tif", "bits per sample out of the file",
     [](Bytes& b) { PutLe32(b, TiffEntry(b, 258) + 8, 0xFFFFFFF0u); }, "TIFF tag value beyond end of file"},
    {"tif-g4.tif", "0 bits", [](Bytes& b) { Put(b, TiffEntry(b, 258) + 8, {0, 0}); }, "unknown TIFF bit depth"},
    {"tif-g4.tif", "compression 0", [](Bytes& b) { Put(b, TiffEntry(b, 259) + 8, {0, 0}); }, "TIFF compression invalid"},
    {"tif-tiled.tif", "tile table past the end", [](Bytes& b) { PutLe32(b, TiffEntry(b, 325) + 8, 0xFFFF0000u); },
     "TIFF tag value beyond end of file"},
    {"tif-tiled.tif", "tile tables differ", [](Bytes& b) { PutLe32(b, TiffEntry(b, 325) + 4, 1); },
     "TIFF strip tables differ in length"},
    {"tif-tiled.tif", "a tile past the end",
     [](Bytes& b) { PutLe32(b, Le32(b, TiffEntry(b, 324) + 8) + 4, 0x10000); }, "TIFF image data beyond end of file"},
    {"tif-none-le.tif", "resolution past the end", [](Bytes& b) { PutLe32(b, TiffEntry(b, 282) + 8, 0xFFFFFF00u); },
     "TIFF tag value beyond end of file"},
    {"tif-big-le.tif", "BigTIFF offset size 4", [](Bytes& b) { b[4] = 4; }, "BigTIFF header invalid"},
    {"jpeg-baseline.jpg", "precision 9", [](Bytes& b) { b[Find(b, "\xFF\xC0") + 4] = 9; }, "unknown JPEG precision"},
    {"jpeg-baseline.jpg", "height 0", [](Bytes& b) { Put(b, Find(b, "\xFF\xC0") + 5, {0, 0}); }, "JPEG size out of range"},
    {"jpeg-baseline.jpg", "five components", [](Bytes& b) { b[Find(b, "\xFF\xC0") + 9] = 5; },
     "JPEG component count out of range"},
    {"jpeg-baseline.jpg", "segment longer than the file", [](Bytes& b) { Put(b, 4, {0xFF, 0xF0}); },
     "JPEG segment truncated"},
    {"jpeg-baseline.jpg", "no frame before the scan", [](Bytes& b) { b[Find(b, "\xFF\xC0") + 1] = 0xEF; },
     "JPEG scan before frame header"},
    {"jpeg-baseline.jpg", "garbage between segments", [](Bytes& b) { b[Find(b, "\xFF\xDB")] = 0; },
     "JPEG marker expected"},
    {"png-rgb.png", "width changed, checksum not", [](Bytes& b) { b[19] = 9; }, "PNG header checksum wrong"},
    {"png-rgb.png", "3 bits", [](Bytes& b) { b[24] = 3; FixIhdrChecksum(b); }, "unknown PNG bit depth or colour type"},
    {"png-rgb.png", "width 0", [](Bytes& b) { PutBe32(b, 16, 0); FixIhdrChecksum(b); }, "PNG size out of range"},
    {"png-rgb.png", "interlace 2", [](Bytes& b) { b[28] = 2; FixIhdrChecksum(b); },
     "unknown PNG compression, filter or interlace"},
    {"png-rgb.png", "image data past the end", [](Bytes& b) { PutBe32(b, Find(b, "IDAT") - 4, 0x10000); },
     "PNG data beyond end of file"},
    {"png-rgb.png", "chunk length beyond 2^31", [](Bytes& b) { PutBe32(b, Find(b, "IDAT") - 4, 0x80000000u); },
     "PNG chunk length out of range"},
    {"png-pal4.png", "palette missing", [](Bytes& b) { Put(b, Find(b, "PLTE"), {'p', 'L', 'T', 'x'}); },
     "PNG palette missing"},
    {"png-rgb.png", "IEND before IDAT", [](Bytes& b) { Put(b, Find(b, "IDAT"), {'I', 'E', 'N', 'D'}); },
     "PNG has no image data"},
    {"gif-89a.gif", "width 0", [](Bytes& b) { Put(b, 6, {0, 0}); }, "GIF size out of range"},
    {"gif-89a.gif", "unknown block", [](Bytes& b) { b[13 + 3 * 2] = 0x99; }, "unknown GIF block"},
    {"gif-89a.gif", "trailer before the image", [](Bytes& b) { b[13 + 3 * 2] = 0x3B; }, "GIF has no image"},
    {"jbig-16x8.jbig", "no planes", [](Bytes& b) { b[2] = 0; }, "unknown image format"},
    {"jbig-16x8.jbig", "width 0", [](Bytes& b) { PutBe32(b, 4, 0); }, "JBIG size out of range"},
    {"jbig-16x8.jbig", "height 2^32 - 1", [](Bytes& b) { PutBe32(b, 8, 0xFFFFFFFFu); }, "JBIG size out of range"},
    {"jbig-16x8.jbig", "vertical shift", [](Bytes& b) { b[17] = 1; }, "unknown image format"},
    {"cals-300.cal", "raster type 2", [](Bytes& b) { b[Find(b, "rtype: 1") + 7] = '2'; }, "CALS raster type is not 1"},
    {"cals-300.cal", "pel count unreadable", [](Bytes& b) { b[Find(b, "rpelcnt: ") + 12] = 'x'; },
     "CALS rpelcnt unreadable"},
    {"cals-300.cal", "no pel count", [](Bytes& b) { b[Find(b, "rpelcnt")] = 'x'; }, "CALS rpelcnt missing"},
    {"cals-300.cal", "height 0", [](Bytes& b) { Put(b, Find(b, ",000008"), {',', '0', '0', '0', '0', '0', '0'}); },
     "CALS size out of range"},
};

TEST(Rejection, BrokenHeadersNameTheirFault) {
    for (const Broken& broken : kBroken) {
        SCOPED_TRACE(std::string(broken.fixture) + ": " + broken.change);
        Bytes bytes = ReadFileBytes(FixturePath(broken.fixture));
        broken.apply(bytes);
        const auto result = imaging::ReadImageInfo(bytes);
        EXPECT_FALSE(result.info);
        EXPECT_EQ(result.failure, broken.reason);
    }
}

TEST(Rejection, FilesThatAreNoImage) {
    const struct {
        std::string content;
        const char* reason;
    } kCases[] = {
        {"", "file is empty"},
        {"hello, world: this is text and no image", "unknown image format"},
        {std::string(64, '\0'), "unknown image format"},
        {"BM", "BMP header truncated"},
        {"GIF89a", "GIF header truncated"},
        {std::string("II*\0", 4), "TIFF header truncated"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.content);
        const Bytes bytes(c.content.begin(), c.content.end());
        EXPECT_EQ(imaging::ReadImageInfo(bytes).failure, c.reason);
    }
}

TEST(Rejection, FileThatCannotBeRead) {
    EXPECT_EQ(imaging::ReadImageInfoFromFile(FixturePath("no-such-file.bmp")).failure, "file cannot be read");
    EXPECT_EQ(imaging::ReadImageInfoFromFile(FOLIO_IMAGING_FIXTURES).failure, "file cannot be read");
    EXPECT_EQ(imaging::ReadImageInfoFromFile("").failure, "file cannot be read");
}

// Cut short anywhere, a file either does not load or loads with the values of the whole file.
// Each prefix lives in a buffer of its own size so that a sanitizer sees any read beyond it.
TEST(Truncation, EveryFixtureAtEveryLength) {
    for (const std::string& name : FixtureNames()) {
        SCOPED_TRACE(name);
        const Bytes whole = ReadFileBytes(FixturePath(name));
        const auto full = imaging::ReadImageInfo(whole);
        ASSERT_TRUE(full.info) << full.failure;
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            const auto cut = imaging::ReadImageInfo(prefix);
            if (!cut.info) continue;
            SCOPED_TRACE(length);
            EXPECT_EQ(cut.info->fileTypeCode, full.info->fileTypeCode);
            EXPECT_EQ(cut.info->width, full.info->width);
            EXPECT_EQ(cut.info->height, full.info->height);
            EXPECT_EQ(cut.info->xResolution, full.info->xResolution);
            EXPECT_EQ(cut.info->yResolution, full.info->yResolution);
            EXPECT_EQ(cut.info->bitsPerSample, full.info->bitsPerSample);
            EXPECT_EQ(cut.info->samplesPerPixel, full.info->samplesPerPixel);
            EXPECT_EQ(cut.info->compression, full.info->compression);
        }
    }
}

} // namespace

namespace {

// The file reader serves the first 4 KiB from one read and the rest from a window of its own;
// cut around that border, a file must read as its bytes do from memory.
TEST(Truncation, FileAndMemoryAgreeAroundTheFirstRead) {
    ScratchFolder folder("cut");
    for (const char* name : {"dcx-2page.dcx", "tif-tiled.tif"}) {
        const Bytes whole = ReadFileBytes(FixturePath(name));
        ASSERT_GT(whole.size(), 4097u);
        for (std::size_t length : {std::size_t{4095}, std::size_t{4096}, std::size_t{4097}, whole.size() - 1,
                                   whole.size()}) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(length));
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            const auto path = folder.Path() / name;
            WriteFileBytes(path, prefix);
            const auto fromFile = imaging::ReadImageInfoFromFile(path.string());
            const auto fromMemory = imaging::ReadImageInfo(prefix);
            EXPECT_EQ(fromFile.failure, fromMemory.failure);
            ASSERT_EQ(fromFile.info.has_value(), fromMemory.info.has_value());
            if (fromFile.info) {
                EXPECT_EQ(fromFile.info->width, fromMemory.info->width);
                EXPECT_EQ(fromFile.info->height, fromMemory.info->height);
                EXPECT_EQ(fromFile.info->compression, fromMemory.info->compression);
            }
        }
    }
}

} // namespace
