#include "ProcessCommandLine.h"

#include "WinText.h"

#include <windows.h>

namespace folio::win {

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
} // namespace

std::wstring_view ArgumentsAfterProgramName(std::wstring_view commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i]))
            ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

std::string ProcessArguments() {
    const wchar_t* line = GetCommandLineW();
    return line ? Utf8FromWide(ArgumentsAfterProgramName(line)) : std::string();
}

} // namespace folio::win
