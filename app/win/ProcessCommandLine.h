#pragma once
#include <string>
#include <string_view>

namespace folio::win {

// The argument text of a full command line: the program name removed by the platform's rule
// (a quoted name runs to the next quote, a bare one to the first blank or tab), and the blanks
// and tabs after it.
std::wstring_view ArgumentsAfterProgramName(std::wstring_view commandLine);

// This process's own argument text, as UTF-8.
std::string ProcessArguments();

} // namespace folio::win
