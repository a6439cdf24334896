#include "WinRegional.h"

#include "WinText.h"

#include <windows.h>

#include <climits>

namespace folio::win {

namespace {

std::string UserLocaleText(LCTYPE item, const char* fallback) {
    wchar_t buffer[16];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 16);
    if (length <= 1)
        return fallback;
    return Utf8FromWide(std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

} // namespace

std::string AnsiFromUtf8(std::string_view text) {
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(wide.size());
    // No best-fit: a character the code page lacks must show as its default character, not
    // as a look-alike that reads as a different name. A UTF-8 system code page takes no flags.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

RegionalSettings UserRegionalSettings() {
    RegionalSettings settings;
    settings.decimalSeparator = UserLocaleText(LOCALE_SDECIMAL, ".");
    settings.groupSeparator = UserLocaleText(LOCALE_STHOUSAND, ",");
    settings.encodeForFile = [](std::string_view text) { return AnsiFromUtf8(text); };
    return settings;
}

} // namespace folio::win
