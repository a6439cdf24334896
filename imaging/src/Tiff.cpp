// TIFF (classic, either byte order) and BigTIFF: the header, then the first image file
// directory wherever it lies, and the strip or tile tables it points to. The same directory
// reader serves the EXIF block of a JPEG file.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

enum TiffType : std::uint16_t {
    kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kSByte = 6, kUndefined = 7,
    kSShort = 8, kSLong = 9, kSRational = 10, kFloat = 11, kDouble = 12, kIfd = 13,
    kLong8 = 16, kSLong8 = 17, kIfd8 = 18,
};

// The tags this reader uses, in the order of the slots that keep them.
constexpr std::array<std::uint16_t, 12> kWantedTags = {
    256, // ImageWidth
    257, // ImageLength
    258, // BitsPerSample
    259, // Compression
    262, // PhotometricInterpretation
    273, // StripOffsets
    277, // SamplesPerPixel
    279, // StripByteCounts
    282, // XResolution
    283, // YResolution
    296, // ResolutionUnit
    324, // TileOffsets
};
enum Slot : std::size_t {
    kWidth, kLength, kBitsPerSample, kCompression, kPhotometric, kStripOffsets, kSamplesPerPixel,
    kStripByteCounts, kXResolution, kYResolution, kResolutionUnit, kTileOffsets, kSlotCount
};
constexpr std::uint16_t kTileByteCountsTag = 325;

constexpr std::uint64_t kMaxEntries = 3000;
// Strip and tile tables up to this many entries are checked whole; longer ones at both ends.
constexpr std::uint64_t kMaxCheckedStrips = 4096;
constexpr std::size_t kStripChunk = 512;

constexpr std::uint16_t kUnitCentimetre = 3;

std::size_t TypeSize(std::uint16_t type) {
    switch (type) {
    case kByte: case kAscii: case kSByte: case kUndefined: return 1;
    case kShort: case kSShort: return 2;
    case kLong: case kSLong: case kFloat: case kIfd: return 4;
    case kRational: case kSRational: case kDouble: case kLong8: case kSLong8: case kIfd8: return 8;
    default: return 0;
    }
}

bool IsUnsignedType(std::uint16_t type) {
    return type == kByte || type == kShort || type == kLong || type == kLong8 || type == kIfd || type == kIfd8;
}

struct Entry {
    std::uint16_t type = 0;
    std::uint64_t count = 0;
    std::array<std::uint8_t, 8> inlineValue{};
    std::uint64_t valueOffset = 0;
    bool isInline = false;
    bool present = false;
};

class TiffReader {
public:
    explicit TiffReader(ByteSource& source) : source_(source) {}

    Verdict ReadHeader();
    Verdict ReadFirstDirectory();

    const Entry& Tag(Slot slot) const { return slots_[slot]; }
    const Entry& TileByteCounts() const { return tileByteCounts_; }
    std::optional<std::uint64_t> Unsigned(const Entry& entry, std::uint64_t index);
    std::optional<double> Number(const Entry& entry, std::uint64_t index);
    // Decodes count unsigned values from index on into out; false when they cannot be read.
    bool UnsignedRun(const Entry& entry, std::uint64_t index, std::size_t count, std::uint64_t* out);
    bool NextDirectoryValid() const;
    // True unless an entry this reader uses points to values beyond the end of the file.
    bool ValuesInFile() const;
    std::uint64_t Length() const { return source_.Length(); }

private:
    void KeepEntry(const Fields& f, std::size_t at);
    std::span<const std::uint8_t> ValueBytes(const Entry& entry, std::uint64_t index, std::size_t count);
    std::uint64_t Decode(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) const;

    ByteSource& source_;
    bool bigEndian_ = false;
    bool bigTiff_ = false;
    std::uint64_t firstDirectory_ = 0;
    std::uint64_t nextDirectory_ = 0;
    std::array<Entry, kSlotCount> slots_{};
    Entry tileByteCounts_{};
};

Verdict TiffReader::ReadHeader() {
    const auto bytes = source_.Bytes(0, 8);
    if (bytes.empty()) return Reject("TIFF header truncated");
    if (bytes[0] == 'I' && bytes[1] == 'I') bigEndian_ = false;
    else if (bytes[0] == 'M' && bytes[1] == 'M') bigEndian_ = true;
    else return Reject("not a TIFF file");
    const Fields f(bytes, bigEndian_);
    if (f.U16(2) == 42) {
        firstDirectory_ = f.U32(4);
        if (firstDirectory_ < 8) return Reject("TIFF directory offset out of range");
        return kAccepted;
    }
    if (f.U16(2) != 43) return Reject("not a TIFF file");
    const auto big = source_.Bytes(0, 16);
    if (big.empty()) return Reject("TIFF header truncated");
    const Fields b(big, bigEndian_);
    if (b.U16(4) != 8 || b.U16(6) != 0) return Reject("BigTIFF header invalid");
    bigTiff_ = true;
    firstDirectory_ = b.U64(8);
    if (firstDirectory_ < 16) return Reject("TIFF directory offset out of range");
    return kAccepted;
}

Verdict TiffReader::ReadFirstDirectory() {
    const std::size_t countSize = bigTiff_ ? 8 : 2;
    const std::size_t entrySize = bigTiff_ ? 20 : 12;
    const std::size_t nextSize = bigTiff_ ? 8 : 4;
    const auto countBytes = source_.Bytes(firstDirectory_, countSize);
    if (countBytes.empty()) return Reject("TIFF directory offset out of range");
    const std::uint64_t count = Decode(countBytes, 0, countSize);
    if (count == 0 || count > kMaxEntries) return Reject("TIFF directory entry count out of range");

    const std::size_t tableSize = static_cast<std::size_t>(count) * entrySize + nextSize;
    const auto table = source_.Bytes(firstDirectory_ + countSize, tableSize);
    if (table.empty()) return Reject("TIFF directory truncated");
    const Fields f(table, bigEndian_);
    for (std::size_t i = 0; i < count; ++i) KeepEntry(f, i * entrySize);
    nextDirectory_ = Decode(table, tableSize - nextSize, nextSize);
    return kAccepted;
}

void TiffReader::KeepEntry(const Fields& f, std::size_t at) {
    const std::uint16_t tag = f.U16(at);
    Entry* slot = nullptr;
    if (tag == kTileByteCountsTag) slot = &tileByteCounts_;
    for (std::size_t i = 0; i < kWantedTags.size() && !slot; ++i)
        if (kWantedTags[i] == tag) slot = &slots_[i];
    if (!slot || slot->present) return; // a repeated tag: the first one counts

    Entry entry;
    entry.present = true;
    entry.type = f.U16(at + 2);
    const std::size_t valueSize = bigTiff_ ? 8 : 4;
    entry.count = bigTiff_ ? f.U64(at + 4) : f.U32(at + 4);
    const std::size_t valueAt = at + (bigTiff_ ? 12 : 8);
    const std::size_t typeSize = TypeSize(entry.type);
    const auto total = CheckedMul(entry.count, typeSize);
    entry.isInline = total && *total <= valueSize;
    for (std::size_t i = 0; i < valueSize; ++i) entry.inlineValue[i] = f.U8(valueAt + i);
    entry.valueOffset = bigTiff_ ? f.U64(valueAt) : f.U32(valueAt);
    *slot = entry;
}

std::uint64_t TiffReader::Decode(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) const {
    const Fields f(bytes, bigEndian_);
    switch (width) {
    case 1: return f.U8(at);
    case 2: return f.U16(at);
    case 4: return f.U32(at);
    default: return f.U64(at);
    }
}

std::span<const std::uint8_t> TiffReader::ValueBytes(const Entry& entry, std::uint64_t index, std::size_t count) {
    const std::size_t size = TypeSize(entry.type);
    if (size == 0 || count == 0 || index >= entry.count || entry.count - index < count) return {};
    const std::size_t bytes = size * count;
    const auto at = CheckedMul(index, size);
    if (!at) return {};
    if (entry.isInline) return std::span(entry.inlineValue).subspan(static_cast<std::size_t>(*at), bytes);
    const auto offset = CheckedAdd(entry.valueOffset, *at);
    return offset ? source_.Bytes(*offset, bytes) : std::span<const std::uint8_t>{};
}

std::optional<std::uint64_t> TiffReader::Unsigned(const Entry& entry, std::uint64_t index) {
    std::uint64_t value = 0;
    if (!UnsignedRun(entry, index, 1, &value)) return std::nullopt;
    return value;
}

bool TiffReader::UnsignedRun(const Entry& entry, std::uint64_t index, std::size_t count, std::uint64_t* out) {
    if (!entry.present || !IsUnsignedType(entry.type)) return false;
    const auto bytes = ValueBytes(entry, index, count);
    if (bytes.empty()) return false;
    const std::size_t size = TypeSize(entry.type);
    for (std::size_t i = 0; i < count; ++i) out[i] = Decode(bytes, i * size, size);
    return true;
}

std::optional<double> TiffReader::Number(const Entry& entry, std::uint64_t index) {
    if (!entry.present) return std::nullopt;
    const auto bytes = ValueBytes(entry, index, 1);
    if (bytes.empty()) return std::nullopt;
    const Fields f(bytes, bigEndian_);
    double value = 0;
    switch (entry.type) {
    case kByte: value = f.U8(0); break;
    case kShort: value = f.U16(0); break;
    case kLong: case kIfd: value = f.U32(0); break;
    case kLong8: case kIfd8: value = static_cast<double>(f.U64(0)); break;
    case kSByte: value = static_cast<std::int8_t>(f.U8(0)); break;
    case kSShort: value = static_cast<std::int16_t>(f.U16(0)); break;
    case kSLong: value = f.S32(0); break;
    case kSLong8: value = static_cast<double>(static_cast<std::int64_t>(f.U64(0))); break;
    case kRational:
        if (f.U32(4) == 0) return std::nullopt;
        value = static_cast<double>(f.U32(0)) / f.U32(4);
        break;
    case kSRational:
        if (f.S32(4) == 0) return std::nullopt;
        value = static_cast<double>(f.S32(0)) / f.S32(4);
        break;
    case kFloat: value = std::bit_cast<float>(f.U32(0)); break;
    case kDouble: value = std::bit_cast<double>(f.U64(0)); break;
    default: return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool TiffReader::ValuesInFile() const {
    const auto inFile = [this](const Entry& entry) {
        if (!entry.present || entry.isInline || TypeSize(entry.type) == 0) return true;
        const auto size = CheckedMul(entry.count, TypeSize(entry.type));
        return size && FitsIn(entry.valueOffset, *size, source_.Length());
    };
    return std::all_of(slots_.begin(), slots_.end(), inFile) && inFile(tileByteCounts_);
}

bool TiffReader::NextDirectoryValid() const {
    if (nextDirectory_ == 0) return true;
    return nextDirectory_ != firstDirectory_ && nextDirectory_ < source_.Length();
}

// Each strip or tile (offset, byte count) must lie inside the file.
Verdict CheckDataExtent(TiffReader& tiff, const Entry& offsets, const Entry& counts) {
    if (!offsets.present || offsets.count == 0) return Reject("TIFF has no image data offsets");
    if (counts.present && counts.count != offsets.count) return Reject("TIFF strip tables differ in length");
    const std::uint64_t n = offsets.count;
    const auto checkRun = [&](std::uint64_t first, std::size_t size) {
        std::array<std::uint64_t, kStripChunk> at{}, bytes{};
        if (!tiff.UnsignedRun(offsets, first, size, at.data())) return false;
        if (counts.present && !tiff.UnsignedRun(counts, first, size, bytes.data())) return false;
        for (std::size_t i = 0; i < size; ++i) {
            if (!counts.present && at[i] >= tiff.Length()) return false;
            if (counts.present && bytes[i] != 0 && !FitsIn(at[i], bytes[i], tiff.Length())) return false;
        }
        return true;
    };
    const std::uint64_t checked = std::min(n, n <= kMaxCheckedStrips ? n : std::uint64_t{kStripChunk});
    for (std::uint64_t first = 0; first < checked; first += kStripChunk) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(kStripChunk, checked - first));
        if (!checkRun(first, size)) return Reject("TIFF image data beyond end of file");
    }
    if (checked < n && !checkRun(n - 1, 1)) return Reject("TIFF image data beyond end of file");
    return kAccepted;
}

bool KnownBitsPerSample(std::uint64_t bits) { return (bits >= 1 && bits <= 16) || bits == 24 || bits == 32 || bits == 64; }

void ReadResolution(TiffReader& tiff, double& x, double& y) {
    const auto unit = tiff.Unsigned(tiff.Tag(kResolutionUnit), 0);
    const double scale = unit && *unit == kUnitCentimetre ? kCentimetresPerInch : 1.0;
    x = tiff.Number(tiff.Tag(kXResolution), 0).value_or(0) * scale;
    y = tiff.Number(tiff.Tag(kYResolution), 0).value_or(0) * scale;
}

} // namespace

Verdict TiffInfo(ByteSource& source, ImageInfo& out) {
    TiffReader tiff(source);
    if (auto v = tiff.ReadHeader(); !v.Accepted()) return v;
    if (auto v = tiff.ReadFirstDirectory(); !v.Accepted()) return v;
    if (!tiff.NextDirectoryValid()) return Reject("TIFF next directory offset invalid");
    if (!tiff.ValuesInFile()) return Reject("TIFF tag value beyond end of file");

    const auto width = tiff.Unsigned(tiff.Tag(kWidth), 0);
    const auto height = tiff.Unsigned(tiff.Tag(kLength), 0);
    if (!width || !height) return Reject("TIFF size missing");
    if (!DimensionsValid(*width, *height)) return Reject("TIFF size out of range");

    const Entry& bitsEntry = tiff.Tag(kBitsPerSample);
    const auto bits = bitsEntry.present ? tiff.Unsigned(bitsEntry, 0) : std::optional<std::uint64_t>(1);
    if (!bits || !KnownBitsPerSample(*bits)) return Reject("unknown TIFF bit depth");
    const Entry& samplesEntry = tiff.Tag(kSamplesPerPixel);
    const auto samples = samplesEntry.present ? tiff.Unsigned(samplesEntry, 0) : std::optional<std::uint64_t>(1);
    if (!samples || *samples < 1 || *samples > 64) return Reject("TIFF samples per pixel out of range");
    const Entry& compressionEntry = tiff.Tag(kCompression);
    const auto compression =
        compressionEntry.present ? tiff.Unsigned(compressionEntry, 0) : std::optional<std::uint64_t>(kCompressionNone);
    if (!compression || *compression == 0 || *compression > 0xFFFF) return Reject("TIFF compression invalid");

    const bool tiled = tiff.Tag(kTileOffsets).present;
    const Verdict extent = tiled ? CheckDataExtent(tiff, tiff.Tag(kTileOffsets), tiff.TileByteCounts())
                                 : CheckDataExtent(tiff, tiff.Tag(kStripOffsets), tiff.Tag(kStripByteCounts));
    if (!extent.Accepted()) return extent;

    out.fileTypeCode = kFileTypeTiff;
    out.width = static_cast<std::uint32_t>(*width);
    out.height = static_cast<std::uint32_t>(*height);
    ReadResolution(tiff, out.xResolution, out.yResolution);
    out.bitsPerSample = static_cast<std::int32_t>(*bits);
    out.samplesPerPixel = static_cast<std::int32_t>(*samples);
    out.compression = static_cast<std::int32_t>(*compression);
    return kAccepted;
}

bool ExifResolution(ByteSource& source, double& x, double& y) {
    TiffReader tiff(source);
    if (!tiff.ReadHeader().Accepted() || !tiff.ReadFirstDirectory().Accepted()) return false;
    if (!tiff.Tag(kXResolution).present || !tiff.Tag(kYResolution).present) return false;
    ReadResolution(tiff, x, y);
    return x > 0 && y > 0;
}

} // namespace imaging
