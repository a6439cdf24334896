#pragma once
#include <windows.h>

#include <string>

namespace folio::win {

inline constexpr wchar_t kApplicationTitle[] = L"Folioscope";

// A modal box titled with the application title and without an icon; returns the button.
int ShowMessage(HWND owner, const std::wstring& text, UINT buttons = MB_OK);

} // namespace folio::win
