#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace folio {

// The user's number separators and the 8-bit encoding of written files. On Windows they come
// from the regional settings and the system code page; natively they keep these defaults.
struct RegionalSettings {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";
    // Turns a UTF-8 text into the bytes a CSV file holds; empty means UTF-8 unchanged.
    std::function<std::string(std::string_view)> encodeForFile;
};

} // namespace folio
