#include "AttributeText.h"

namespace folio {

std::optional<std::string> FileTypeText(std::int32_t code)
{
    switch (code) {
    case 0x0: return "No Packaging";
    case 0x10000: return "PCX Packaging";
    case 0x20000: return "PDA Packaging";
    case 0x30000: return "TIFF Packaging";
    case 0x50000: return "DCX Packaging";
    case 0x60000: return "BMP Packaging";
    case 0xB0000: return "JPEG Packaging";
    case 0xC0000: return "CALS Packaging";
    case 0xE0000: return "MO:DCA Packaging";
    case 0x100000: return "PDF Packaging";
    case 0x110000: return "Plexus TIFF packaging";
    case 0x120000: return "JBIG Packaging";
    case 0x130000: return "PNG Packaging";
    default: return std::nullopt;
    }
}

std::optional<std::string> ColorsText(std::int32_t bitsPerSample, std::int32_t samplesPerPixel)
{
    const char* oneSample = nullptr;
    const char* threeSamples = nullptr;
    switch (bitsPerSample) {
    case 1:
        oneSample = "Binary.";
        threeSamples = "3 bit color.";
        break;
    case 4:
        oneSample = "16 level grayscale\\16 color.";
        threeSamples = "12 bit color.";
        break;
    case 8:
        oneSample = "256 level grayscale\\16 color.";
        threeSamples = "24 bit color.";
        break;
    default:
        return "Unknown";
    }
    if (samplesPerPixel == 1)
        return oneSample;
    if (samplesPerPixel == 3)
        return threeSamples;
    return std::nullopt;
}

std::string CompressionText(std::int32_t code)
{
    switch (code) {
    case -1:
    case 0: return "Unable to retrieve.";
    case 1: return "Not Compressed.";
    case 2: return "Modified CCITT Group 3";
    case 3: return "Standard CCITT Group 3";
    case 4: return "Standard CCITT Group 4";
    case 5: return "LZW compression";
    case 6: return "JPEG encoding for JPEG";
    case 7: return "JPEG encoding for TIFF";
    case 32773: return "Packbits";
    case 34661: return "JBIG compression";
    case 50000: return "Compression scheme used in PCX";
    case 50001: return "No compression, each line padded to four bytes";
    case 50006: return "Compression used in some BMP files";
    case 50014: return "Wang format JPEG";
    case 50016: return "JPEG2000";
    default: return std::to_string(code);
    }
}

} // namespace folio
