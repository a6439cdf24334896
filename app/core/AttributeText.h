#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace folio {

// The texts of the "File Type", "Colors" and "Compression" cells. A lookup that gives nothing
// leaves its cell empty.
std::optional<std::string> FileTypeText(std::int32_t code);
std::optional<std::string> ColorsText(std::int32_t bitsPerSample, std::int32_t samplesPerPixel);
// Always a text: codes outside the table read as their decimal number.
std::string CompressionText(std::int32_t code);

} // namespace folio
