#include "CommandLine.h"

namespace folio {

void ParseCommandLine(std::optional<ArgumentList>& args, std::string_view raw)
{
    if (raw.empty())
        return;

    ArgumentList list;
    bool inWord = false;
    bool inQuotes = false;
    // Blanks, tabs and quotes are single bytes that never occur inside a UTF-8 sequence, so
    // walking bytes splits exactly as walking characters would.
    for (char c : raw) {
        const bool blank = c == ' ' || c == '\t';
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (blank && inQuotes) {
            list.slots.back() += ' ';
        } else if (blank) {
            inWord = false;
        } else {
            if (!inWord) {
                list.slots.emplace_back();
                inWord = true;
            }
            list.slots.back() += c;
        }
    }
    args = std::move(list);
}

} // namespace folio
