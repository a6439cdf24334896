// JPEG: the marker segments from SOI up to the first SOS. The frame header (any SOF marker)
// gives size, precision and components; an EXIF block's resolution wins over JFIF's density.
#include <cstring>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kMaxSegments = 4096;
constexpr std::uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp0 = 0xE0, kApp1 = 0xE1;
constexpr std::uint8_t kTem = 0x01;

bool IsFrameMarker(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
bool IsLosslessFrame(std::uint8_t m) { return m == 0xC3 || m == 0xC7 || m == 0xCB || m == 0xCF; }
bool IsStandalone(std::uint8_t m) { return m == kTem || (m >= 0xD0 && m <= 0xD7); }

struct JpegScan {
    bool haveFrame = false;
    bool haveExif = false;
    bool haveJfif = false;
    double exifX = 0, exifY = 0;
    double jfifX = 0, jfifY = 0;
    ImageInfo frame;
};

Verdict ReadFrame(std::uint8_t marker, std::span<const std::uint8_t> body, JpegScan& scan) {
    if (scan.haveFrame) return kAccepted; // only the first frame header describes the image
    const Fields f(body, true);
    if (body.size() < 6) return Reject("JPEG frame header truncated");
    const std::uint8_t precision = f.U8(0);
    const std::uint16_t height = f.U16(1), width = f.U16(3);
    const std::uint8_t components = f.U8(5);
    const bool validPrecision = IsLosslessFrame(marker) ? precision >= 2 && precision <= 16
                                                        : precision == 8 || precision == 12;
    if (!validPrecision) return Reject("unknown JPEG precision");
    if (components < 1 || components > 4) return Reject("JPEG component count out of range");
    if (body.size() != 6 + 3u * components) return Reject("JPEG frame header length wrong");
    if (!DimensionsValid(width, height)) return Reject("JPEG size out of range");
    scan.haveFrame = true;
    scan.frame.width = width;
    scan.frame.height = height;
    scan.frame.bitsPerSample = precision;
    scan.frame.samplesPerPixel = components;
    return kAccepted;
}

void ReadJfif(std::span<const std::uint8_t> body, JpegScan& scan) {
    if (scan.haveJfif || body.size() < 12 || std::memcmp(body.data(), "JFIF\0", 5) != 0) return;
    const Fields f(body, true);
    const std::uint8_t units = f.U8(7);
    const double scale = units == 2 ? kCentimetresPerInch : 1.0;
    scan.haveJfif = true;
    scan.jfifX = f.U16(8) * scale;
    scan.jfifY = f.U16(10) * scale;
}

void ReadExif(ByteSource& source, std::uint64_t bodyAt, std::size_t bodySize, JpegScan& scan) {
    constexpr std::size_t kExifId = 6;
    if (scan.haveExif || bodySize <= kExifId) return;
    const auto id = source.Bytes(bodyAt, kExifId);
    if (id.empty() || std::memcmp(id.data(), "Exif\0\0", kExifId) != 0) return;
    SubSource tiff(source, bodyAt + kExifId, bodySize - kExifId);
    scan.haveExif = ExifResolution(tiff, scan.exifX, scan.exifY);
}

} // namespace

Verdict JpegInfo(ByteSource& source, ImageInfo& out) {
    const auto soi = source.Bytes(0, 3);
    if (soi.empty()) return Reject("JPEG header truncated");
    if (soi[0] != 0xFF || soi[1] != kSoi || soi[2] != 0xFF) return Reject("not a JPEG file");

    JpegScan scan;
    std::uint64_t at = 2;
    for (std::size_t segment = 0; segment < kMaxSegments; ++segment) {
        const auto head = source.Bytes(at, 2);
        if (head.empty()) return Reject("JPEG ends before its scan");
        if (head[0] != 0xFF) return Reject("JPEG marker expected");
        const std::uint8_t marker = head[1];
        if (marker == 0xFF) { ++at; continue; } // fill byte before a marker
        if (IsStandalone(marker)) { at += 2; continue; }
        if (marker == kEoi || marker == kSoi) return Reject("JPEG ends before its scan");

        const auto lengthBytes = source.Bytes(at + 2, 2);
        if (lengthBytes.empty()) return Reject("JPEG segment truncated");
        const std::uint16_t length = Fields(lengthBytes, true).U16(0);
        if (length < 2 || !FitsIn(at + 2, length, source.Length())) return Reject("JPEG segment truncated");
        const std::uint64_t bodyAt = at + 4;
        const std::size_t bodySize = length - 2u;

        if (marker == kSos) {
            if (!scan.haveFrame) return Reject("JPEG scan before frame header");
            if (at + 2 + length >= source.Length()) return Reject("JPEG data beyond end of file");
            out = scan.frame;
            out.fileTypeCode = kFileTypeJpeg;
            out.compression = kCompressionJpeg;
            out.xResolution = scan.haveExif ? scan.exifX : scan.jfifX;
            out.yResolution = scan.haveExif ? scan.exifY : scan.jfifY;
            return kAccepted;
        }
        if (IsFrameMarker(marker) || marker == kApp0) {
            const auto body = bodySize ? source.Bytes(bodyAt, bodySize) : std::span<const std::uint8_t>{};
            if (bodySize && body.empty()) return Reject("JPEG segment truncated");
            if (marker == kApp0) ReadJfif(body, scan);
            else if (auto v = ReadFrame(marker, body, scan); !v.Accepted()) return v;
        } else if (marker == kApp1) {
            ReadExif(source, bodyAt, bodySize, scan);
        }
        at += 2 + length;
    }
    return Reject("JPEG has too many segments");
}

} // namespace imaging
