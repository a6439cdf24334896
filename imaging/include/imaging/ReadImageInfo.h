#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "imaging/ImageInfo.h"

namespace imaging {

// The header of one image, or why it could not be read.
struct ReadResult {
    std::optional<ImageInfo> info;
    std::string_view failure; // a short fixed reason; empty when info is set
};

// The formats the component reads, for callers that want one reader alone (fuzzing, tests).
enum class ImageFormat { Bmp, Pcx, Dcx, Tiff, Jpeg, Png, Gif, Jbig, Cals };

// Reads the header of an image held in memory; the format is found by content.
ReadResult ReadImageInfo(std::span<const std::uint8_t> bytes);

// Reads the header with the reader of one format only.
ReadResult ReadImageInfoAs(ImageFormat format, std::span<const std::uint8_t> bytes);

// Reads the header of a file (UTF-8 path): one open, one length query, a few bounded reads of
// the header's own bytes, one close.
ReadResult ReadImageInfoFromFile(const std::string& path);

} // namespace imaging
