// PNG: the signature, IHDR (which must come first), then the chunks up to the first IDAT,
// where pHYs may record the pixel density.
#include <array>
#include <cstring>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kMaxChunks = 100000;
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr std::uint8_t kUnitMetre = 1;

enum ColorType : std::uint8_t { kGray = 0, kRgb = 2, kPalette = 3, kGrayAlpha = 4, kRgba = 6 };

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool ChunkIs(std::span<const std::uint8_t> header, const char* type) {
    return std::memcmp(header.data() + 4, type, 4) == 0;
}

// Samples per pixel of a valid colour type and depth pair, or 0.
int SamplesOf(std::uint8_t colorType, std::uint8_t depth) {
    const bool wide = depth == 8 || depth == 16;
    switch (colorType) {
    case kGray: return depth == 1 || depth == 2 || depth == 4 || wide ? 1 : 0;
    case kRgb: return wide ? 3 : 0;
    case kPalette: return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case kGrayAlpha: return wide ? 2 : 0;
    case kRgba: return wide ? 4 : 0;
    default: return 0;
    }
}

Verdict ReadHeaderChunk(ByteSource& source, ImageInfo& out, std::uint8_t& colorType) {
    const auto bytes = source.Bytes(0, 8 + 8 + 13 + 4);
    if (bytes.empty()) return Reject("PNG header truncated");
    if (std::memcmp(bytes.data(), kSignature.data(), kSignature.size()) != 0) return Reject("not a PNG file");
    const Fields f(bytes, true);
    if (f.U32(8) != 13 || !ChunkIs(bytes.subspan(8), "IHDR")) return Reject("PNG does not begin with IHDR");
    if (Crc(bytes.subspan(12, 17)) != f.U32(29)) return Reject("PNG header checksum wrong");
    const std::uint32_t width = f.U32(16), height = f.U32(20);
    const std::uint8_t depth = f.U8(24);
    colorType = f.U8(25);
    if (!DimensionsValid(width, height)) return Reject("PNG size out of range");
    const int samples = SamplesOf(colorType, depth);
    if (samples == 0) return Reject("unknown PNG bit depth or colour type");
    if (f.U8(26) != 0 || f.U8(27) != 0 || f.U8(28) > 1) return Reject("unknown PNG compression, filter or interlace");
    out.fileTypeCode = kFileTypePng;
    out.width = width;
    out.height = height;
    out.bitsPerSample = depth;
    out.samplesPerPixel = samples;
    out.compression = kCompressionDeflate;
    out.xResolution = 0;
    out.yResolution = 0;
    return kAccepted;
}

void ReadPhysicalSize(std::span<const std::uint8_t> body, ImageInfo& out) {
    const Fields f(body, true);
    const double scale = f.U8(8) == kUnitMetre ? kInchesPerMetre : 1.0;
    out.xResolution = f.U32(0) * scale;
    out.yResolution = f.U32(4) * scale;
}

} // namespace

Verdict PngInfo(ByteSource& source, ImageInfo& out) {
    std::uint8_t colorType = 0;
    if (auto v = ReadHeaderChunk(source, out, colorType); !v.Accepted()) return v;

    bool havePalette = false;
    bool havePhysical = false;
    std::uint64_t at = 8 + 12 + 13;
    for (std::size_t chunk = 0; chunk < kMaxChunks; ++chunk) {
        const auto header = source.Bytes(at, 8);
        if (header.empty()) return Reject("PNG ends before its image data");
        const std::uint32_t length = Fields(header, true).U32(0);
        if (length > kMaxChunkLength) return Reject("PNG chunk length out of range");
        if (!FitsIn(at, std::uint64_t{length} + 12, source.Length())) {
            return ChunkIs(header, "IDAT") ? Reject("PNG data beyond end of file") : Reject("PNG chunk truncated");
        }
        if (ChunkIs(header, "IDAT")) {
            if (colorType == kPalette && !havePalette) return Reject("PNG palette missing");
            return kAccepted;
        }
        if (ChunkIs(header, "IEND")) return Reject("PNG has no image data");
        if (ChunkIs(header, "IHDR")) return Reject("PNG has a second IHDR");
        if (ChunkIs(header, "PLTE")) havePalette = true;
        if (ChunkIs(header, "pHYs") && !havePhysical) {
            if (length != 9) return Reject("PNG pHYs length wrong");
            const auto body = source.Bytes(at + 8, 9);
            if (body.empty()) return Reject("PNG chunk truncated");
            ReadPhysicalSize(body, out);
            havePhysical = true;
        }
        at += std::uint64_t{length} + 12;
    }
    return Reject("PNG has too many chunks");
}

} // namespace imaging
