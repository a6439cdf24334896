#pragma once
#include "RegionalSettings.h"

namespace folio::win {

// The user's decimal and group separators, and files written in the system's ANSI code page.
RegionalSettings UserRegionalSettings();

// UTF-8 text in the system's ANSI code page; a character outside it becomes the code page's
// default character.
std::string AnsiFromUtf8(std::string_view text);

} // namespace folio::win
