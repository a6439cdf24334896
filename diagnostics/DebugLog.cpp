#include "DebugLog.h"

#include <cstdio>
#include <cwchar>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <iostream>
#include <sys/stat.h>
#endif

namespace debuglog {

std::wstring CurrentEvent;
double CurrentStep = 0;
long EventCount = 0;

namespace {

MessageBoxFunction& MessageBoxOverride() {
    static MessageBoxFunction show;
    return show;
}

// "General number" format: as short as the value allows (0, 11.001, -2147024809).
std::wstring GeneralNumber(double value) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15G", value);
    return buffer;
}

// "#,##0": whole number with digit grouping.
std::wstring GroupedWholeNumber(long value) {
    std::wstring digits = std::to_wstring(value < 0 ? -static_cast<long long>(value) : value);
    std::wstring grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += L',';
        grouped += digits[i];
    }
    return value < 0 ? L"-" + grouped : grouped;
}

// Shows a box with only an OK button and no icon; 0 when it could not be shown.
int ShowBox(const std::wstring& text, const std::wstring& title) {
    if (MessageBoxOverride())
        return MessageBoxOverride()(text, title);
#ifdef _WIN32
    return MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_TASKMODAL);
#else
    std::wcerr << title << L"\n" << text;
    return 1;
#endif
}

int LastSystemError() {
#ifdef _WIN32
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

} // namespace

std::wstring FormatErrorReport(double number, const std::wstring& description, const std::wstring& source) {
    return L"---------- Error on processing ---------\r\n"
           L"Count       : " + GroupedWholeNumber(EventCount) + L"\r\n"
           L"Step        : " + GeneralNumber(CurrentStep) + L"\r\n"
           L"Event       : " + CurrentEvent + L"\r\n"
           L"Err Number  : " + GeneralNumber(number) + L"\r\n"
           L"Description : " + description + L"\r\n"
           L"Source      : " + source + L"\r\n";
}

void DisplayError(double number, const std::wstring& description, const std::wstring& source) {
    int failure = 0;
    std::wstring reason;
    try {
        if (ShowBox(FormatErrorReport(number, description, source), L"System Error") != 0)
            return;
        failure = LastSystemError();
        std::string text = std::system_category().message(failure);
        reason.assign(text.begin(), text.end());
    } catch (const std::exception& e) {
        // Building the report failed (out of memory): report that instead of the error.
        std::string text = e.what();
        reason.assign(text.begin(), text.end());
        failure = -1;
    }
    ShowBox(reason, L"Display Error: " + GeneralNumber(failure));
}

void SetMessageBoxFunction(MessageBoxFunction show) { MessageBoxOverride() = std::move(show); }

#ifdef _WIN32

namespace {
std::wstring WideFromUtf8(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}
} // namespace

std::string GetVersionString() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return {};
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return {};
    std::string block(size, '\0');
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info)
        return {};
    // The revision is the fourth field of the resource: major.minor.0.revision.
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) +
           "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

bool FileExists(const std::string& utf8Path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (utf8Path.empty() || !GetFileAttributesExW(WideFromUtf8(utf8Path).c_str(), GetFileExInfoStandard, &data))
        return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

#else

std::string GetVersionString() { return FOLIO_VERSION_TEXT; }

bool FileExists(const std::string& utf8Path) {
    struct stat status {};
    return !utf8Path.empty() && stat(utf8Path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_size > 0;
}

#endif

} // namespace debuglog
