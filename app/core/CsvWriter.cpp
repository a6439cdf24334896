#include "CsvWriter.h"

namespace folio {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void SkipSign(std::string_view& text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
}

std::size_t SkipDigits(std::string_view& text)
{
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count]))
        ++count;
    text.remove_prefix(count);
    return count;
}

// Windows cannot hold a quote or a line break in a file name; where a file system can, the
// quotes are doubled so that the name stays one field whatever it holds.
std::string QuotedFileName(const std::string& name)
{
    if (name.find_first_of("\"\r\n") == std::string::npos)
        return '"' + name + '"';
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvLine(const GridRow& row, std::string_view decimalSeparator)
{
    std::string line = QuotedFileName(row.fileName);
    for (const std::string& cell : row.cells) {
        line += ',';
        if (IsNumericText(cell, decimalSeparator))
            line += cell;
        else
            line += '"' + cell + '"';
    }
    line += "\r\n";
    return line;
}

} // namespace

bool IsNumericText(std::string_view text, std::string_view decimalSeparator)
{
    text = TrimBlanks(text);
    SkipSign(text);
    std::size_t digits = SkipDigits(text);
    if (!decimalSeparator.empty() && text.starts_with(decimalSeparator)) {
        text.remove_prefix(decimalSeparator.size());
        digits += SkipDigits(text);
    }
    if (digits == 0)
        return false;
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        text.remove_prefix(1);
        SkipSign(text);
        if (SkipDigits(text) == 0)
            return false;
    }
    return text.empty();
}

void SaveInfoToCsv(const ResultGrid& grid, const std::string& fileName, FileSystem& fileSystem,
                   const RegionalSettings& settings)
{
    // Whole lines are gathered into blocks: one write per line would cost a system call each.
    constexpr std::size_t kBlockSize = 64 * 1024;
    const std::unique_ptr<AppendFile> file = fileSystem.OpenForAppend(fileName);
    std::string block;
    for (const GridRow& row : grid.Rows()) {
        const std::string line = CsvLine(row, settings.decimalSeparator);
        block += settings.encodeForFile ? settings.encodeForFile(line) : line;
        if (block.size() >= kBlockSize) {
            file->Write(block);
            block.clear();
        }
    }
    if (!block.empty())
        file->Write(block);
    file->Close();
}

} // namespace folio
