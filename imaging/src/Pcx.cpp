// ZSoft PCX (a 128-byte header before run-length coded rows) and DCX, a table of up to 1023
// PCX page offsets ended by 0, of which only the first page is read.
#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::uint32_t kDcxMagic = 987654321;

bool KnownPcxVersion(std::uint8_t version) {
    return version == 0 || version == 2 || version == 3 || version == 4 || version == 5;
}

bool KnownBitsPerPlane(std::uint8_t bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

} // namespace

Verdict PcxInfo(ByteSource& source, ImageInfo& out) {
    const auto bytes = source.Bytes(0, kPcxHeaderSize);
    if (bytes.empty()) return Reject("PCX header truncated");
    const Fields f(bytes);
    if (f.U8(0) != 0x0A) return Reject("not a PCX file");
    if (!KnownPcxVersion(f.U8(1))) return Reject("unknown PCX version");
    if (f.U8(2) > 1) return Reject("unknown PCX encoding");
    const std::uint8_t bits = f.U8(3);
    if (!KnownBitsPerPlane(bits)) return Reject("unknown PCX bit depth");
    const std::uint8_t planes = f.U8(65);
    if (planes < 1 || planes > 4) return Reject("unknown PCX plane count");

    const std::uint16_t xMin = f.U16(4), yMin = f.U16(6), xMax = f.U16(8), yMax = f.U16(10);
    if (xMax < xMin || yMax < yMin) return Reject("PCX window reversed");
    const std::uint64_t width = std::uint64_t{xMax} - xMin + 1;
    const std::uint64_t height = std::uint64_t{yMax} - yMin + 1;
    if (!DimensionsValid(width, height)) return Reject("PCX size out of range");
    if (f.U16(66) < (width * bits + 7) / 8) return Reject("PCX line shorter than its width");
    if (source.Length() <= kPcxHeaderSize) return Reject("PCX has no image data");

    out.fileTypeCode = kFileTypePcx;
    out.width = static_cast<std::uint32_t>(width);
    out.height = static_cast<std::uint32_t>(height);
    out.xResolution = f.U16(12);
    out.yResolution = f.U16(14);
    out.bitsPerSample = bits;
    out.samplesPerPixel = planes;
    out.compression = kCompressionPcx;
    return kAccepted;
}

Verdict DcxInfo(ByteSource& source, ImageInfo& out) {
    const auto bytes = source.Bytes(0, 12);
    if (bytes.empty()) return Reject("DCX header truncated");
    const Fields f(bytes);
    if (f.U32(0) != kDcxMagic) return Reject("not a DCX file");
    const std::uint32_t first = f.U32(4);
    const std::uint32_t second = f.U32(8);
    if (first == 0) return Reject("DCX has no pages");
    // The offset table (at least the first entry and its terminator or successor) precedes the pages.
    if (first < 12 || first >= source.Length()) return Reject("DCX page offset out of range");
    std::uint64_t pageEnd = source.Length();
    if (second != 0) {
        if (second <= first || second > source.Length()) return Reject("DCX page offsets out of order");
        pageEnd = second;
    }
    SubSource page(source, first, pageEnd - first);
    if (auto v = PcxInfo(page, out); !v.Accepted()) return v;
    out.fileTypeCode = kFileTypeDcx;
    return kAccepted;
}

} // namespace imaging
