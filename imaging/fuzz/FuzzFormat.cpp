// One fuzz target: FOLIO_FUZZ_FORMAT names the reader it drives, or is absent for the
// dispatcher that picks a reader by content.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/ReadImageInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
#ifdef FOLIO_FUZZ_FORMAT
    const auto result = imaging::ReadImageInfoAs(imaging::ImageFormat::FOLIO_FUZZ_FORMAT, bytes);
#else
    const auto result = imaging::ReadImageInfo(bytes);
#endif
    // A loaded header must be complete and within the component's own limits.
    if (result.info && (result.info->width == 0 || result.info->height == 0 || !result.failure.empty()))
        __builtin_trap();
    return 0;
}
