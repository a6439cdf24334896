#include <climits>

#include <gtest/gtest.h>

#include "AttributeText.h"

namespace folio {
namespace {

TEST(AttributeText, FileTypeTable)
{
    const std::pair<std::int32_t, const char*> rows[] = {
        {0x0, "No Packaging"},           {0x10000, "PCX Packaging"},
        {0x20000, "PDA Packaging"},      {0x30000, "TIFF Packaging"},
        {0x50000, "DCX Packaging"},      {0x60000, "BMP Packaging"},
        {0xB0000, "JPEG Packaging"},     {0xC0000, "CALS Packaging"},
        {0xE0000, "MO:DCA Packaging"},   {0x100000, "PDF Packaging"},
        {0x110000, "Plexus TIFF packaging"}, {0x120000, "JBIG Packaging"},
        {0x130000, "PNG Packaging"},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(FileTypeText(code), std::optional<std::string>(text)) << code;

    for (std::int32_t code : {0x40000, 0x70000, 0xD0000, 0xF0000, 0x140000, 0x10001, 1, -0x10000, INT_MIN, INT_MAX})
        EXPECT_EQ(FileTypeText(code), std::nullopt) << code;
}

TEST(AttributeText, ColorsTable)
{
    struct Row {
        std::int32_t bits, samples;
        std::optional<std::string> text;
    };
    const Row rows[] = {
        {1, 1, "Binary."},
        {1, 3, "3 bit color."},
        {4, 1, "16 level grayscale\\16 color."},
        {4, 3, "12 bit color."},
        {8, 1, "256 level grayscale\\16 color."},
        {8, 3, "24 bit color."},
        {1, 4, std::nullopt},
        {4, 0, std::nullopt},
        {8, 4, std::nullopt},
        {8, 2, std::nullopt},
        {8, -1, std::nullopt},
        {16, 3, "Unknown"},
        {2, 1, "Unknown"},
        {0, 0, "Unknown"},
        {-8, 3, "Unknown"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ColorsText(row.bits, row.samples), row.text) << row.bits << "/" << row.samples;
}

TEST(AttributeText, CompressionTable)
{
    const std::pair<std::int32_t, const char*> rows[] = {
        {-1, "Unable to retrieve."},
        {0, "Unable to retrieve."},
        {1, "Not Compressed."},
        {2, "Modified CCITT Group 3"},
        {3, "Standard CCITT Group 3"},
        {4, "Standard CCITT Group 4"},
        {5, "LZW compression"},
        {6, "JPEG encoding for JPEG"},
        {7, "JPEG encoding for TIFF"},
        {32773, "Packbits"},
        {34661, "JBIG compression"},
        {50000, "Compression scheme used in PCX"},
        {50001, "No compression, each line padded to four bytes"},
        {50006, "Compression used in some BMP files"},
        {50014, "Wang format JPEG"},
        {50016, "JPEG2000"},
        // Codes without a text read as their number.
        {8, "8"},
        {-2, "-2"},
        {50002, "50002"},
        {INT_MIN, "-2147483648"},
        {INT_MAX, "2147483647"},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(CompressionText(code), text) << code;
}

} // namespace
} // namespace folio
