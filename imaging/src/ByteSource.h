#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace imaging {

// The bytes of one image: its length, and bounded ranges of it on request. Every range is
// checked against the length, so nothing beyond the end is ever read.
class ByteSource {
public:
    static constexpr std::size_t kMaxRead = std::size_t{1} << 16;

    virtual ~ByteSource() = default;
    std::uint64_t Length() const { return length_; }

    // The size bytes at offset (1 <= size <= kMaxRead), or an empty span when they do not all
    // lie inside the source or cannot be read. Valid until the next call.
    virtual std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::size_t size) = 0;

protected:
    explicit ByteSource(std::uint64_t length) : length_(length) {}
    void SetLength(std::uint64_t length) { length_ = length; }
    bool InRange(std::uint64_t offset, std::size_t size) const;

private:
    std::uint64_t length_;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : ByteSource(bytes.size()), bytes_(bytes) {}
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::size_t size) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// A range of another source seen as a source of its own (a TIFF structure inside a JPEG
// segment, a PCX page inside a DCX file).
class SubSource final : public ByteSource {
public:
    SubSource(ByteSource& parent, std::uint64_t base, std::uint64_t length);
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::size_t size) override;

private:
    ByteSource& parent_;
    std::uint64_t base_;
};

// Fixed-width numbers at positions of a span; a position outside it reads as 0.
class Fields {
public:
    explicit Fields(std::span<const std::uint8_t> bytes, bool bigEndian = false)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::size_t Size() const { return bytes_.size(); }
    std::uint8_t U8(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }
    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(Number(at, 2)); }
    std::uint32_t U32(std::size_t at) const { return static_cast<std::uint32_t>(Number(at, 4)); }
    std::uint64_t U64(std::size_t at) const { return Number(at, 8); }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

private:
    std::uint64_t Number(std::size_t at, std::size_t width) const;

    std::span<const std::uint8_t> bytes_;
    bool bigEndian_;
};

} // namespace imaging
