// Windows and OS/2 bitmaps: a 14-byte file header, then an information header whose size names
// its version (core 12, OS/2 16 and 64, info 40, 52, 56, v4 108, v5 124).
#include <cstdlib>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

enum BmpCompression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct BmpHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t imageSize = 0;
    std::uint32_t xPelsPerMetre = 0;
    std::uint32_t yPelsPerMetre = 0;
};

bool KnownHeaderSize(std::uint32_t size) {
    switch (size) {
    case 12: case 16: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
    }
}

void ReadHeaderFields(const Fields& f, BmpHeader& h) {
    h.dataOffset = f.U32(10);
    if (h.headerSize == 12) {
        h.width = f.U16(18);
        h.height = f.U16(20);
        h.planes = f.U16(22);
        h.bitCount = f.U16(24);
        return;
    }
    h.width = f.S32(18);
    h.height = f.S32(22);
    h.planes = f.U16(26);
    h.bitCount = f.U16(28);
    if (h.headerSize >= 20) h.compression = f.U32(30);
    if (h.headerSize >= 24) h.imageSize = f.U32(34);
    if (h.headerSize >= 32) {
        h.xPelsPerMetre = f.U32(38);
        h.yPelsPerMetre = f.U32(42);
    }
}

Verdict CheckCompression(const BmpHeader& h) {
    // OS/2 2.x numbers its own schemes 3 (Huffman) and 4 (RLE24) where Windows has bit fields.
    const bool os2 = h.headerSize == 16 || h.headerSize == 64;
    switch (h.compression) {
    case kRgb: return kAccepted;
    case kRle8: return h.bitCount == 8 ? kAccepted : Reject("BMP RLE8 needs 8 bits");
    case kRle4: return h.bitCount == 4 ? kAccepted : Reject("BMP RLE4 needs 4 bits");
    case kBitFields:
    case kAlphaBitFields:
        if (os2) return Reject("unsupported BMP compression");
        return h.bitCount == 16 || h.bitCount == 32 ? kAccepted : Reject("BMP bit fields need 16 or 32 bits");
    default: return Reject("unsupported BMP compression");
    }
}

bool Compressed(const BmpHeader& h) { return h.compression == kRle8 || h.compression == kRle4; }

// The pixel rows must lie inside the file; the last row needs no padding.
Verdict CheckDataExtent(const BmpHeader& h, std::uint64_t height, std::uint64_t length) {
    if (Compressed(h)) {
        if (h.dataOffset >= length) return Reject("BMP data beyond end of file");
        return FitsIn(h.dataOffset, h.imageSize, length) ? kAccepted : Reject("BMP data beyond end of file");
    }
    const auto bits = CheckedMul(static_cast<std::uint64_t>(h.width), h.bitCount);
    if (!bits) return Reject("BMP row size overflows");
    const std::uint64_t rowBytes = (*bits + 7) / 8;
    const std::uint64_t stride = (*bits + 31) / 32 * 4;
    const auto rows = CheckedMul(stride, height - 1);
    const auto size = rows ? CheckedAdd(*rows, rowBytes) : std::nullopt;
    if (!size || !FitsIn(h.dataOffset, *size, length)) return Reject("BMP data beyond end of file");
    return kAccepted;
}

void Describe(const BmpHeader& h, std::uint64_t height, ImageInfo& out) {
    out.fileTypeCode = kFileTypeBmp;
    out.width = static_cast<std::uint32_t>(h.width);
    out.height = static_cast<std::uint32_t>(height);
    out.xResolution = h.xPelsPerMetre * kInchesPerMetre;
    out.yResolution = h.yPelsPerMetre * kInchesPerMetre;
    switch (h.bitCount) {
    case 16: out.bitsPerSample = 5; out.samplesPerPixel = 3; break;
    case 24: out.bitsPerSample = 8; out.samplesPerPixel = 3; break;
    case 32: out.bitsPerSample = 8; out.samplesPerPixel = 4; break;
    default: out.bitsPerSample = static_cast<std::int32_t>(h.bitCount); out.samplesPerPixel = 1; break;
    }
    out.compression = Compressed(h) ? kCompressionBmpRle : kCompressionBmpPlain;
}

} // namespace

Verdict BmpInfo(ByteSource& source, ImageInfo& out) {
    const auto start = source.Bytes(0, kFileHeaderSize + 4);
    if (start.empty()) return Reject("BMP header truncated");
    if (start[0] != 'B' || start[1] != 'M') return Reject("not a BMP file");
    BmpHeader h;
    h.headerSize = Fields(start).U32(kFileHeaderSize);
    if (!KnownHeaderSize(h.headerSize)) return Reject("unknown BMP header size");
    const auto bytes = source.Bytes(0, kFileHeaderSize + h.headerSize);
    if (bytes.empty()) return Reject("BMP header truncated");
    ReadHeaderFields(Fields(bytes), h);

    if (h.planes != 1) return Reject("BMP plane count is not 1");
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return Reject("unknown BMP bit depth");
    }
    if (auto v = CheckCompression(h); !v.Accepted()) return v;
    if (h.height < 0 && Compressed(h)) return Reject("top-down BMP cannot be RLE");
    const std::uint64_t height = static_cast<std::uint64_t>(std::llabs(h.height));
    if (h.width <= 0 || !DimensionsValid(static_cast<std::uint64_t>(h.width), height))
        return Reject("BMP size out of range");
    if (h.dataOffset < kFileHeaderSize + h.headerSize) return Reject("BMP data offset inside header");
    if (auto v = CheckDataExtent(h, height, source.Length()); !v.Accepted()) return v;

    Describe(h, height, out);
    return kAccepted;
}

} // namespace imaging
