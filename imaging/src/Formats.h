#pragma once
#include <cstdint>
#include <string_view>

#include "ByteSource.h"
#include "imaging/ImageInfo.h"

namespace imaging {

// The outcome of one format's reader: accepted, or rejected with a short fixed reason.
struct Verdict {
    std::string_view reason; // empty: the header was read and out is complete
    bool Accepted() const { return reason.empty(); }
};
inline Verdict Reject(std::string_view why) { return {why}; }
inline constexpr Verdict kAccepted{};

// The largest width or height any reader accepts; anything beyond is taken as a broken header.
inline constexpr std::uint64_t kMaxDimension = std::uint64_t{1} << 24;

inline bool DimensionsValid(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension;
}

// Compression codes reported as tag 259 by formats that have no such tag.
inline constexpr std::int32_t kCompressionNone = 1;
inline constexpr std::int32_t kCompressionCcittG4 = 4;
inline constexpr std::int32_t kCompressionLzw = 5;
inline constexpr std::int32_t kCompressionJpeg = 6;
inline constexpr std::int32_t kCompressionDeflate = 8;
inline constexpr std::int32_t kCompressionJbig = 34661;
inline constexpr std::int32_t kCompressionPcx = 50000;
inline constexpr std::int32_t kCompressionBmpPlain = 50001;
inline constexpr std::int32_t kCompressionBmpRle = 50006;

inline constexpr double kInchesPerMetre = 0.0254;
inline constexpr double kCentimetresPerInch = 2.54;

// One reader per format. Each reads only the header (and what it must walk to find it), fills
// out completely on success, and leaves out unspecified on rejection.
Verdict BmpInfo(ByteSource& source, ImageInfo& out);
Verdict PcxInfo(ByteSource& source, ImageInfo& out);
Verdict DcxInfo(ByteSource& source, ImageInfo& out);
Verdict TiffInfo(ByteSource& source, ImageInfo& out);
Verdict JpegInfo(ByteSource& source, ImageInfo& out);
Verdict PngInfo(ByteSource& source, ImageInfo& out);
Verdict GifInfo(ByteSource& source, ImageInfo& out);
Verdict JbigInfo(ByteSource& source, ImageInfo& out);
Verdict CalsInfo(ByteSource& source, ImageInfo& out);

// The resolution an EXIF block (a TIFF structure) records in its first directory, in dots per
// inch; false when it records none or cannot be read.
bool ExifResolution(ByteSource& tiff, double& x, double& y);

} // namespace imaging
