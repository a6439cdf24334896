// CALS raster type 1 (MIL-R-28002): sixteen 128-byte text records ("keyword: value", blank
// padded), then CCITT group 4 coded rows from byte 2048 on.
#include <array>
#include <cctype>
#include <string_view>

#include "Checked.h"
#include "Formats.h"

namespace imaging {
namespace {

constexpr std::size_t kRecordSize = 128;
constexpr std::size_t kRecordCount = 16;
constexpr std::size_t kHeaderSize = kRecordSize * kRecordCount;

constexpr std::array<std::string_view, 11> kKeywords = {
    "srcdocid", "dstdocid", "txtfilid", "figid", "srcgph", "doccls",
    "rtype", "rorient", "rpelcnt", "rdensty", "notes",
};

struct Record {
    std::string_view keyword;
    std::string_view value; // without the blanks around it
};

Record SplitRecord(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return {};
    std::string_view value = text.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\0')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\0')) value.remove_suffix(1);
    return {text.substr(0, colon), value};
}

bool IsKeyword(std::string_view word) {
    for (auto keyword : kKeywords)
        if (keyword == word) return true;
    return false;
}

// A decimal number of at most nine digits at the start of text; the rest of text is returned.
std::optional<std::uint32_t> TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    std::uint32_t value = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        if (digits == 9) return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(text[digits] - '0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

struct CalsHeader {
    bool typeOne = true;
    std::optional<std::uint32_t> width, height, density;
};

Verdict ReadRecord(const Record& record, CalsHeader& header) {
    std::string_view value = record.value;
    if (record.keyword == "rtype") {
        header.typeOne = value == "1";
    } else if (record.keyword == "rpelcnt") {
        header.width = TakeNumber(value);
        if (value.empty() || value.front() != ',') return Reject("CALS rpelcnt unreadable");
        value.remove_prefix(1);
        header.height = TakeNumber(value);
        if (!header.width || !header.height || !value.empty()) return Reject("CALS rpelcnt unreadable");
    } else if (record.keyword == "rdensty") {
        header.density = TakeNumber(value);
        if (!header.density || !value.empty()) return Reject("CALS rdensty unreadable");
    }
    return kAccepted;
}

} // namespace

Verdict CalsInfo(ByteSource& source, ImageInfo& out) {
    const auto bytes = source.Bytes(0, std::min<std::uint64_t>(kHeaderSize, source.Length()));
    if (bytes.empty()) return Reject("CALS header truncated");
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!IsKeyword(SplitRecord(text.substr(0, std::min(text.size(), kRecordSize))).keyword))
        return Reject("not a CALS file");
    if (bytes.size() < kHeaderSize) return Reject("CALS header truncated");

    CalsHeader header;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const Record record = SplitRecord(text.substr(i * kRecordSize, kRecordSize));
        if (auto v = ReadRecord(record, header); !v.Accepted()) return v;
    }
    if (!header.typeOne) return Reject("CALS raster type is not 1");
    if (!header.width || !header.height) return Reject("CALS rpelcnt missing");
    if (!DimensionsValid(*header.width, *header.height)) return Reject("CALS size out of range");
    if (source.Length() <= kHeaderSize) return Reject("CALS has no image data");

    out.fileTypeCode = kFileTypeCals;
    out.width = *header.width;
    out.height = *header.height;
    out.xResolution = header.density.value_or(0);
    out.yResolution = out.xResolution;
    out.bitsPerSample = 1;
    out.samplesPerPixel = 1;
    out.compression = kCompressionCcittG4;
    return kAccepted;
}

} // namespace imaging
