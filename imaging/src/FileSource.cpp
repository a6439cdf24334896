#include "FileSource.h"

#include <algorithm>

namespace imaging {

FileSource::FileSource(const std::string& path) : ByteSource(0), file_(path) {
    if (!file_.IsOpen()) return;
    const auto length = file_.Length();
    if (!length) return;
    SetLength(*length);
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(*length, kHeadSize));
    const auto got = file_.ReadAt(0, head_.data(), want);
    if (!got || *got != want) return;
    headSize_ = want;
    ready_ = true;
}

std::span<const std::uint8_t> FileSource::Bytes(std::uint64_t offset, std::size_t size) {
    if (!ready_ || !InRange(offset, size)) return {};
    if (offset + size <= headSize_) return std::span(head_).subspan(static_cast<std::size_t>(offset), size);
    if (offset >= windowOffset_ && offset + size <= windowOffset_ + window_.size())
        return std::span(window_).subspan(static_cast<std::size_t>(offset - windowOffset_), size);

    // Reading a little more than asked usually serves the next few requests as well.
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(
        std::max(size, kHeadSize), Length() - offset));
    window_.resize(want);
    const auto got = file_.ReadAt(offset, window_.data(), want);
    if (!got || *got < size) {
        window_.clear();
        return {};
    }
    window_.resize(*got);
    windowOffset_ = offset;
    return std::span(window_).first(size);
}

} // namespace imaging
