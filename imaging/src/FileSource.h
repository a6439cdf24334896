#pragma once
#include <array>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "PlatformFile.h"

namespace imaging {

// An open image file. Its first bytes are read at once, since every header lives there; a
// range elsewhere (a TIFF directory, a JPEG segment past a large EXIF block) is read into a
// window of its own on request.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t kHeadSize = 4096;

    // Opens path, asks its length and reads its head; Ready() tells whether all three worked.
    explicit FileSource(const std::string& path);
    bool Ready() const { return ready_; }

    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::size_t size) override;

private:
    PlatformFile file_;
    bool ready_ = false;
    std::array<std::uint8_t, kHeadSize> head_;
    std::size_t headSize_ = 0;
    std::vector<std::uint8_t> window_;
    std::uint64_t windowOffset_ = 0;
};

} // namespace imaging
