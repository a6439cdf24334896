// A wider set of images made with ImageMagick, each compared field by field with what exiftool
// reads from it. Needs `convert` and `exiftool`; without them the check is skipped.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "Fixtures.h"
#include "imaging/ReadImageInfo.h"

namespace {

using namespace imaging;

bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Variant {
    const char* name;
    const char* options; // ImageMagick options and the output coder prefix
    const char* extension;
};

const Variant kVariants[] = {
    {"bmp24", "BMP3:", "bmp"},
    {"bmp8", "-type Palette BMP3:", "bmp"},
    {"bmp1", "-monochrome BMP3:", "bmp"},
    {"bmprle", "-type Palette -compress RLE BMP3:", "bmp"},
    {"bmpcore", "BMP2:", "bmp"},
    {"bmp32", "-alpha set -channel A -evaluate set 60% +channel BMP:", "bmp"},
    {"bmp565", "-define bmp:subtype=RGB565 BMP:", "bmp"},
    {"pcx24", "PCX:", "pcx"},
    {"pcx8", "-type Palette PCX:", "pcx"},
    {"tifnone", "-compress None TIFF:", "tif"},
    {"tiflzw", "-compress LZW -endian MSB TIFF:", "tif"},
    {"tifg4", "-monochrome -compress Group4 TIFF:", "tif"},
    {"tifg3", "-monochrome -compress Fax TIFF:", "tif"},
    {"tifjpeg", "-compress JPEG TIFF:", "tif"},
    {"tifzip", "-compress Zip -units PixelsPerCentimeter TIFF:", "tif"},
    {"tifrle", "-compress RLE -depth 8 TIFF:", "tif"},
    {"tiftile", "-define tiff:tile-geometry=16x16 TIFF:", "tif"},
    {"tifcmyk", "-colorspace CMYK -depth 8 TIFF:", "tif"},
    {"tifgray16", "-colorspace Gray -depth 16 TIFF:", "tif"},
    {"tifpal", "-type Palette -depth 8 TIFF:", "tif"},
    {"tifbig", "-depth 8 TIFF64:", "tif"},
    {"jpg", "JPEG:", "jpg"},
    {"jpgprog", "-interlace Plane JPEG:", "jpg"},
    {"jpggray", "-colorspace Gray JPEG:", "jpg"},
    {"jpgcmyk", "-colorspace CMYK JPEG:", "jpg"},
    {"jpgcm", "-units PixelsPerCentimeter JPEG:", "jpg"},
    {"png24", "PNG24:", "png"},
    {"png32", "PNG32:", "png"},
    {"png48", "PNG48:", "png"},
    {"png64", "-alpha set PNG64:", "png"},
    {"png8", "PNG8:", "png"},
    {"pngmono", "-monochrome PNG:", "png"},
    {"pnggray", "-colorspace Gray PNG:", "png"},
    {"pngcm", "-units PixelsPerCentimeter PNG24:", "png"},
    {"gif", "GIF:", "gif"},
    {"gif87", "GIF87:", "gif"},
    {"gifmono", "-monochrome GIF:", "gif"},
};
const char* const kSizes[] = {"1x1", "7x3", "257x129"};
const char* const kDensities[] = {"72", "96", "150", "300"}; // cycled, so each variant meets several

// exiftool's fields, by the group-qualified names asked for, in the order of the columns.
const char* const kFields[] = {
    "FileName", "FileType", "File:ImageWidth", "File:ImageHeight", "File:BitsPerSample", "ColorComponents",
    "IFD0:ImageWidth", "IFD0:ImageHeight", "IFD0:XResolution", "IFD0:YResolution", "IFD0:ResolutionUnit",
    "IFD0:BitsPerSample", "IFD0:SamplesPerPixel", "IFD0:Compression", "JFIF:XResolution", "JFIF:YResolution",
    "JFIF:ResolutionUnit", "PNG:ImageWidth", "PNG:ImageHeight", "BitDepth", "ColorType", "PixelsPerUnitX",
    "PixelsPerUnitY", "PixelUnits", "File:Compression", "PixelsPerMeterX", "PixelsPerMeterY",
    "File:XResolution", "File:YResolution", "BitsPerPixel", "ColorPlanes", "GIF:ImageWidth", "GIF:ImageHeight",
};

using Row = std::map<std::string, std::string>;

double Num(const Row& row, const std::string& field, double fallback = 0) {
    const auto it = row.find(field);
    if (it == row.end() || it->second == "-" || it->second.empty()) return fallback;
    return std::stod(it->second); // the first of several values ("8 8 8")
}

// What the component should report, in its own terms, from exiftool's reading.
std::optional<ImageInfo> ExpectedFrom(const Row& r) {
    ImageInfo e;
    const std::string type = r.at("FileType");
    if (type == "BMP") {
        e.fileTypeCode = kFileTypeBmp;
        e.width = static_cast<std::uint32_t>(Num(r, "File:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "File:ImageHeight"));
        const int depth = static_cast<int>(Num(r, "BitDepth"));
        e.bitsPerSample = depth == 16 ? 5 : depth >= 24 ? 8 : depth;
        e.samplesPerPixel = depth == 16 || depth == 24 ? 3 : depth == 32 ? 4 : 1;
        const int compression = static_cast<int>(Num(r, "File:Compression"));
        e.compression = compression == 1 || compression == 2 ? 50006 : 50001;
        e.xResolution = Num(r, "PixelsPerMeterX") * 0.0254;
        e.yResolution = Num(r, "PixelsPerMeterY") * 0.0254;
    } else if (type == "PCX") {
        e.fileTypeCode = kFileTypePcx;
        e.width = static_cast<std::uint32_t>(Num(r, "File:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "File:ImageHeight"));
        e.xResolution = Num(r, "File:XResolution");
        e.yResolution = Num(r, "File:YResolution");
        e.bitsPerSample = static_cast<int>(Num(r, "BitsPerPixel"));
        e.samplesPerPixel = static_cast<int>(Num(r, "ColorPlanes"));
        e.compression = 50000;
    } else if (type == "TIFF" || type == "BTF") {
        e.fileTypeCode = kFileTypeTiff;
        e.width = static_cast<std::uint32_t>(Num(r, "IFD0:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "IFD0:ImageHeight"));
        const double scale = Num(r, "IFD0:ResolutionUnit") == 3 ? 2.54 : 1;
        e.xResolution = Num(r, "IFD0:XResolution") * scale;
        e.yResolution = Num(r, "IFD0:YResolution") * scale;
        e.bitsPerSample = static_cast<int>(Num(r, "IFD0:BitsPerSample", 1));
        e.samplesPerPixel = static_cast<int>(Num(r, "IFD0:SamplesPerPixel", 1));
        e.compression = static_cast<int>(Num(r, "IFD0:Compression", 1));
    } else if (type == "JPEG") {
        e.fileTypeCode = kFileTypeJpeg;
        e.width = static_cast<std::uint32_t>(Num(r, "File:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "File:ImageHeight"));
        e.bitsPerSample = static_cast<int>(Num(r, "File:BitsPerSample"));
        e.samplesPerPixel = static_cast<int>(Num(r, "ColorComponents"));
        e.compression = 6;
        if (Num(r, "IFD0:XResolution") > 0) {
            const double scale = Num(r, "IFD0:ResolutionUnit") == 3 ? 2.54 : 1;
            e.xResolution = Num(r, "IFD0:XResolution") * scale;
            e.yResolution = Num(r, "IFD0:YResolution") * scale;
        } else {
            const double scale = Num(r, "JFIF:ResolutionUnit") == 2 ? 2.54 : 1;
            e.xResolution = Num(r, "JFIF:XResolution") * scale;
            e.yResolution = Num(r, "JFIF:YResolution") * scale;
        }
    } else if (type == "PNG") {
        e.fileTypeCode = kFileTypePng;
        e.width = static_cast<std::uint32_t>(Num(r, "PNG:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "PNG:ImageHeight"));
        e.bitsPerSample = static_cast<int>(Num(r, "BitDepth"));
        const int samples[] = {1, 0, 3, 1, 2, 0, 4};
        e.samplesPerPixel = samples[static_cast<int>(Num(r, "ColorType")) % 7];
        const double scale = Num(r, "PixelUnits") == 1 ? 0.0254 : 1;
        e.xResolution = Num(r, "PixelsPerUnitX") * scale;
        e.yResolution = Num(r, "PixelsPerUnitY") * scale;
        e.compression = 8;
    } else if (type == "GIF") {
        e.fileTypeCode = kFileTypeGif;
        e.width = static_cast<std::uint32_t>(Num(r, "GIF:ImageWidth"));
        e.height = static_cast<std::uint32_t>(Num(r, "GIF:ImageHeight"));
        e.bitsPerSample = static_cast<int>(Num(r, "BitsPerPixel"));
        e.samplesPerPixel = 1;
        e.compression = 5;
    } else {
        return std::nullopt;
    }
    return e;
}

void MakeImages(const std::filesystem::path& folder) {
    std::ostringstream script;
    script << "set -e\ncd '" << folder.string() << "'\n";
    std::size_t n = 0;
    for (const Variant& v : kVariants) {
        for (const char* size : kSizes) {
            const char* density = kDensities[n++ % std::size(kDensities)];
            script << "convert -size " << size << " gradient:red-blue -units PixelsPerInch -density " << density
                   << " -define png:exclude-chunks=date,time " << v.options << v.name << "-" << size << "."
                   << v.extension << "\n";
        }
    }
    const auto path = folder / "make.sh";
    std::ofstream(path) << script.str();
    ASSERT_EQ(std::system(("sh '" + path.string() + "'").c_str()), 0);
    std::filesystem::remove(path);
}

std::vector<Row> ExiftoolRows(const std::filesystem::path& folder) {
    std::string command = "exiftool -q -n -T";
    for (const char* field : kFields) command += std::string(" -") + field;
    const auto table = folder.parent_path() / "exiftool.tsv";
    command += " '" + folder.string() + "' > '" + table.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);

    std::vector<Row> rows;
    std::ifstream in(table);
    for (std::string line; std::getline(in, line);) {
        Row row;
        std::istringstream cells(line);
        std::string cell;
        for (const char* field : kFields) {
            std::getline(cells, cell, '\t');
            row[field] = cell;
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ExiftoolCrossCheck, GeneratedImagesAgreeWithExiftool) {
    if (!HaveTool("exiftool") || !HaveTool("convert")) GTEST_SKIP() << "needs exiftool and ImageMagick";
    ScratchFolder scratch("crosscheck");
    const auto folder = scratch.Path() / "images";
    std::filesystem::create_directories(folder);
    MakeImages(folder);
    const auto rows = ExiftoolRows(folder);
    ASSERT_EQ(rows.size(), std::size(kVariants) * std::size(kSizes));

    for (const Row& row : rows) {
        SCOPED_TRACE(row.at("FileName"));
        const auto expected = ExpectedFrom(row);
        ASSERT_TRUE(expected) << "exiftool names the type " << row.at("FileType");
        const auto result = ReadImageInfoFromFile((folder / row.at("FileName")).string());
        ASSERT_TRUE(result.info) << result.failure;
        const ImageInfo& got = *result.info;
        EXPECT_EQ(got.fileTypeCode, expected->fileTypeCode);
        EXPECT_EQ(got.width, expected->width);
        EXPECT_EQ(got.height, expected->height);
        // exiftool takes only the low byte of PCX's 16-bit resolution words (300 dpi reads as 44);
        // ImageMagick and the format's own layout agree on the whole word.
        const bool pcx = got.fileTypeCode == kFileTypePcx;
        EXPECT_NEAR(pcx ? std::fmod(got.xResolution, 256) : got.xResolution, expected->xResolution,
                    1e-9 * (1 + expected->xResolution));
        EXPECT_NEAR(pcx ? std::fmod(got.yResolution, 256) : got.yResolution, expected->yResolution,
                    1e-9 * (1 + expected->yResolution));
        EXPECT_EQ(got.bitsPerSample, expected->bitsPerSample);
        EXPECT_EQ(got.samplesPerPixel, expected->samplesPerPixel);
        EXPECT_EQ(got.compression, expected->compression);
    }
}

} // namespace
