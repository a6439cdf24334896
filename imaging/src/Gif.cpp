// GIF: the logical screen descriptor, then the blocks up to the first image descriptor, whose
// start must lie inside the file. The image's own data is never walked.
#include <cstring>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::size_t kMaxSteps = 1 << 16;
constexpr std::uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr std::uint8_t kHasColorTable = 0x80;

std::uint64_t ColorTableSize(std::uint8_t packed) {
    return (packed & kHasColorTable) ? 3u << ((packed & 7) + 1) : 0;
}

// The image descriptor, its local colour table, the LZW code size and the first sub-block size.
Verdict CheckImageStart(ByteSource& source, std::uint64_t at) {
    const auto descriptor = source.Bytes(at, 10);
    if (descriptor.empty()) return Reject("GIF image descriptor truncated");
    const Fields f(descriptor);
    if (f.U16(5) == 0 || f.U16(7) == 0) return Reject("GIF image size is zero");
    const std::uint64_t codeAt = at + 10 + ColorTableSize(f.U8(9));
    const auto code = source.Bytes(codeAt, 2);
    if (code.empty()) return Reject("GIF data beyond end of file");
    if (code[0] < 1 || code[0] > 11) return Reject("GIF code size out of range");
    return kAccepted;
}

// Skips one extension's sub-blocks; at points at the extension introducer on entry.
bool SkipExtension(ByteSource& source, std::uint64_t& at, std::size_t& steps) {
    at += 2;
    while (steps++ < kMaxSteps) {
        const auto size = source.Bytes(at, 1);
        if (size.empty()) return false;
        at += 1 + size[0];
        if (size[0] == 0) return true;
    }
    return false;
}

} // namespace

Verdict GifInfo(ByteSource& source, ImageInfo& out) {
    const auto bytes = source.Bytes(0, kScreenDescriptorEnd);
    if (bytes.empty()) return Reject("GIF header truncated");
    if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)
        return Reject("not a GIF file");
    const Fields f(bytes);
    const std::uint16_t width = f.U16(6), height = f.U16(8);
    const std::uint8_t packed = f.U8(10);
    if (!DimensionsValid(width, height)) return Reject("GIF size out of range");

    std::uint64_t at = kScreenDescriptorEnd + ColorTableSize(packed);
    std::size_t steps = 0;
    while (true) {
        const auto introducer = source.Bytes(at, 1);
        if (introducer.empty()) return Reject("GIF ends before its image");
        if (introducer[0] == kImage) {
            if (auto v = CheckImageStart(source, at); !v.Accepted()) return v;
            break;
        }
        if (introducer[0] == kTrailer) return Reject("GIF has no image");
        if (introducer[0] != kExtension) return Reject("unknown GIF block");
        if (!SkipExtension(source, at, steps)) return Reject("GIF extension truncated");
    }

    out.fileTypeCode = kFileTypeGif;
    out.width = width;
    out.height = height;
    out.xResolution = 0;
    out.yResolution = 0;
    out.bitsPerSample = (packed & 7) + 1;
    out.samplesPerPixel = 1;
    out.compression = kCompressionLzw;
    return kAccepted;
}

} // namespace imaging
