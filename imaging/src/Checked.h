#pragma once
#include <cstdint>
#include <optional>

namespace imaging {

// Arithmetic on values taken from a file: nullopt instead of a wrapped result.
inline std::optional<std::uint64_t> CheckedAdd(std::uint64_t a, std::uint64_t b) {
    std::uint64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
    return sum;
}

inline std::optional<std::uint64_t> CheckedMul(std::uint64_t a, std::uint64_t b) {
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
    return product;
}

// True when [offset, offset + size) lies inside a file of the given length.
inline bool FitsIn(std::uint64_t offset, std::uint64_t size, std::uint64_t length) {
    auto end = CheckedAdd(offset, size);
    return end && *end <= length;
}

} // namespace imaging
