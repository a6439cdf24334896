#include "ByteSource.h"

#include "Checked.h"

namespace imaging {

bool ByteSource::InRange(std::uint64_t offset, std::size_t size) const {
    return size > 0 && size <= kMaxRead && FitsIn(offset, size, length_);
}

std::span<const std::uint8_t> MemorySource::Bytes(std::uint64_t offset, std::size_t size) {
    if (!InRange(offset, size)) return {};
    return bytes_.subspan(static_cast<std::size_t>(offset), size);
}

SubSource::SubSource(ByteSource& parent, std::uint64_t base, std::uint64_t length)
    : ByteSource(FitsIn(base, length, parent.Length()) ? length : 0), parent_(parent), base_(base) {}

std::span<const std::uint8_t> SubSource::Bytes(std::uint64_t offset, std::size_t size) {
    if (!InRange(offset, size)) return {};
    return parent_.Bytes(base_ + offset, size);
}

std::uint64_t Fields::Number(std::size_t at, std::size_t width) const {
    if (at > bytes_.size() || bytes_.size() - at < width) return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t byte = bigEndian_ ? i : width - 1 - i;
        value = (value << 8) | bytes_[at + byte];
    }
    return value;
}

} // namespace imaging
