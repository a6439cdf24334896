#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace folio::win {

// The one place where the program's UTF-8 texts meet the platform's wide strings.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's description of an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);
inline std::string SystemErrorUtf8(DWORD error) { return Utf8FromWide(SystemErrorText(error)); }

} // namespace folio::win
