#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "RegionalSettings.h"

namespace folio {

// Rounds to the nearest whole number, a half going to the even neighbour (72.5 -> 72).
// nullopt when the value is not finite or outside the signed 32-bit range.
std::optional<std::int32_t> ToWholeNumber(double value);

// The value with at least `places` digits, leading zeros filling up ("00000": 640 -> "00640");
// a negative value keeps its minus sign in front ("-00005").
std::string FormatZeroPadded(std::int32_t value, int places);

// "#,##0.00": thousands grouped, always two decimals, with the given separators.
std::string FormatGrouped2(double value, const RegionalSettings& settings);

} // namespace folio
