#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace folio {

std::optional<std::int32_t> ToWholeNumber(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Explicit half-to-even, independent of the floating-point rounding mode in force.
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        whole > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(whole);
}

std::string FormatZeroPadded(std::int32_t value, int places)
{
    const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    std::string digits = std::to_string(magnitude);
    if (static_cast<int>(digits.size()) < places)
        digits.insert(0, static_cast<std::size_t>(places) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

namespace {

// Inserts the group separator between every three digits of a run of digits.
std::string GroupThousands(std::string_view digits, const std::string& separator)
{
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

std::string FormatGrouped2(double value, const RegionalSettings& settings)
{
    // Room for the largest double in fixed notation with two decimals.
    char buffer[std::numeric_limits<double>::max_exponent10 + 8];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (!std::isfinite(value))
        return std::string(text);

    std::string formatted;
    if (text.front() == '-') {
        text.remove_prefix(1);
        if (text != "0.00") // rounding to zero drops the sign
            formatted = "-";
    }
    const std::size_t point = text.find('.');
    formatted += GroupThousands(text.substr(0, point), settings.groupSeparator);
    formatted += settings.decimalSeparator;
    formatted += text.substr(point + 1);
    return formatted;
}

} // namespace folio
