// JBIG1 (ITU-T T.82) bi-level image entity: a 20-byte header (BIH) without a signature, so
// every field is held to what the standard allows before the file is taken for JBIG.
#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kPrivateTableSize = 1728;
constexpr std::uint8_t kOptionDpon = 0x04, kOptionDppriv = 0x02, kOptionDplast = 0x01;

} // namespace

Verdict JbigInfo(ByteSource& source, ImageInfo& out) {
    const auto bytes = source.Bytes(0, kHeaderSize);
    if (bytes.empty()) return Reject("not a JBIG file"); // too short to tell
    const Fields f(bytes, true);
    const std::uint8_t lowest = f.U8(0), highest = f.U8(1), planes = f.U8(2);
    const std::uint32_t width = f.U32(4), height = f.U32(8), stripeRows = f.U32(12);
    const std::uint8_t maxShiftX = f.U8(16), maxShiftY = f.U8(17), order = f.U8(18), options = f.U8(19);
    if (lowest != 0 || highest > 31 || planes < 1 || f.U8(3) != 0) return Reject("not a JBIG file");
    if (maxShiftX > 127 || maxShiftY != 0 || (order & 0xF0) != 0 || (options & 0x80) != 0)
        return Reject("not a JBIG file");
    if (stripeRows == 0) return Reject("JBIG stripe height is zero");
    if (!DimensionsValid(width, height)) return Reject("JBIG size out of range");

    std::uint64_t dataAt = kHeaderSize;
    const std::uint8_t privateTable = kOptionDpon | kOptionDppriv;
    if ((options & (privateTable | kOptionDplast)) == privateTable) dataAt += kPrivateTableSize;
    if (source.Length() <= dataAt) return Reject("JBIG has no image data");

    out.fileTypeCode = kFileTypeJbig;
    out.width = width;
    out.height = height;
    out.xResolution = 0;
    out.yResolution = 0;
    out.bitsPerSample = planes;
    out.samplesPerPixel = 1;
    out.compression = kCompressionJbig;
    return kAccepted;
}

} // namespace imaging
