#include "imaging/ReadImageInfo.h"

#include <cstring>

#include "FileSource.h"
#include "Formats.h"

namespace imaging {
namespace {

using Reader = Verdict (*)(ByteSource&, ImageInfo&);

Reader ReaderOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp: return BmpInfo;
    case ImageFormat::Pcx: return PcxInfo;
    case ImageFormat::Dcx: return DcxInfo;
    case ImageFormat::Tiff: return TiffInfo;
    case ImageFormat::Jpeg: return JpegInfo;
    case ImageFormat::Png: return PngInfo;
    case ImageFormat::Gif: return GifInfo;
    case ImageFormat::Jbig: return JbigInfo;
    case ImageFormat::Cals: return CalsInfo;
    }
    return nullptr;
}

bool StartsWith(std::span<const std::uint8_t> bytes, const char* prefix, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), prefix, size) == 0;
}

// The format a file's first bytes announce. CALS starts with a text record and JBIG has no
// signature at all: both are tried only when nothing else matches.
std::optional<ImageFormat> FormatBySignature(std::span<const std::uint8_t> start) {
    if (StartsWith(start, "BM", 2)) return ImageFormat::Bmp;
    if (StartsWith(start, "\x0A", 1)) return ImageFormat::Pcx;
    if (StartsWith(start, "\xB1\x68\xDE\x3A", 4)) return ImageFormat::Dcx;
    if (StartsWith(start, "II*\0", 4) || StartsWith(start, "MM\0*", 4) || StartsWith(start, "II+\0", 4) ||
        StartsWith(start, "MM\0+", 4))
        return ImageFormat::Tiff;
    if (StartsWith(start, "\xFF\xD8", 2)) return ImageFormat::Jpeg;
    if (StartsWith(start, "\x89PNG", 4)) return ImageFormat::Png;
    if (StartsWith(start, "GIF8", 4)) return ImageFormat::Gif;
    return std::nullopt;
}

ReadResult Run(Reader reader, ByteSource& source) {
    if (!reader) return {std::nullopt, "unknown image format"};
    ImageInfo info;
    const Verdict verdict = reader(source, info);
    if (!verdict.Accepted()) return {std::nullopt, verdict.reason};
    return {info, {}};
}

ReadResult Dispatch(ByteSource& source) {
    if (source.Length() == 0) return {std::nullopt, "file is empty"};
    const auto start = source.Bytes(0, static_cast<std::size_t>(std::min<std::uint64_t>(source.Length(), 8)));
    if (auto format = FormatBySignature(start)) return Run(ReaderOf(*format), source);
    ReadResult cals = Run(CalsInfo, source);
    if (cals.failure != "not a CALS file") return cals;
    ReadResult jbig = Run(JbigInfo, source);
    if (jbig.failure != "not a JBIG file") return jbig;
    return {std::nullopt, "unknown image format"};
}

} // namespace

ReadResult ReadImageInfo(std::span<const std::uint8_t> bytes) {
    MemorySource source(bytes);
    return Dispatch(source);
}

ReadResult ReadImageInfoAs(ImageFormat format, std::span<const std::uint8_t> bytes) {
    MemorySource source(bytes);
    return Run(ReaderOf(format), source);
}

ReadResult ReadImageInfoFromFile(const std::string& path) {
    FileSource source(path);
    if (!source.Ready()) return {std::nullopt, "file cannot be read"};
    return Dispatch(source);
}

} // namespace imaging
