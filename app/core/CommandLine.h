#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

// The program's arguments, numbered from 1. Slot 0 carries no argument; it only collects the
// blanks of a quoted run that opens the line before any argument has started.
struct ArgumentList {
    std::vector<std::string> slots{std::string()};

    // The number of arguments: the highest slot number.
    int Count() const { return static_cast<int>(slots.size()) - 1; }
    const std::string& operator[](int i) const { return slots.at(static_cast<std::size_t>(i)); }
};

// Splits a raw command line (without the program's own path) at blanks and tabs outside double
// quotes. A quote only switches quoting: it neither starts nor ends an argument, and a quoted
// run of blanks before an argument's first character lands on the previous argument. An empty
// raw line leaves args absent.
void ParseCommandLine(std::optional<ArgumentList>& args, std::string_view raw);

} // namespace folio
