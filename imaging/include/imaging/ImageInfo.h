#pragma once
#include <cstdint>

namespace imaging {

// File type codes, as the grid's "File Type" table knows them.
enum FileTypeCode : std::int32_t {
    kFileTypePcx = 0x10000,
    kFileTypeTiff = 0x30000,
    kFileTypeGif = 0x40000,
    kFileTypeDcx = 0x50000,
    kFileTypeBmp = 0x60000,
    kFileTypeJpeg = 0xB0000,
    kFileTypeCals = 0xC0000,
    kFileTypeJbig = 0x120000,
    kFileTypePng = 0x130000,
};

// What one image file's header says.
struct ImageInfo {
    std::int32_t fileTypeCode = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    double xResolution = 0; // dots per inch (TIFF without a unit: the raw value); 0 when none
    double yResolution = 0;
    std::int32_t bitsPerSample = 0;
    std::int32_t samplesPerPixel = 0;
    std::int32_t compression = 0; // tag 259, in the TIFF numbering or the component's own codes
};

} // namespace imaging
