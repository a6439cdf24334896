#pragma once
#include <functional>
#include <string>

// The shared diagnostics module. Each program or library that links it has its own copy of
// the state below; nothing is shared between them at run time.
namespace debuglog {

// Name of the procedure now running, as "Class.Procedure()"; set on entry, never restored.
extern std::wstring CurrentEvent;
// Progress marker and entry count; nothing changes them yet, so the error box reports 0.
extern double CurrentStep;
extern long EventCount;

// Shows the modal "System Error" box with the diagnostic state and the error. Never fails:
// when the box cannot be shown, a plain box with the failure's description is shown instead.
void DisplayError(double number, const std::wstring& description, const std::wstring& source);

// The seven lines of the "System Error" box, each ended by CR LF.
std::wstring FormatErrorReport(double number, const std::wstring& description, const std::wstring& source);

// The running program's version as "major.minor.revision", or "" when it cannot be read.
std::string GetVersionString();

// True only for a file of at least one byte; a missing, empty or unreadable path gives false.
bool FileExists(const std::string& utf8Path);

// Replaces the platform's message box, so that tests see what would be shown instead of
// waiting for a user. Returns what the box would return (1 for OK). Pass {} to restore.
using MessageBoxFunction =
    std::function<int(const std::wstring& text, const std::wstring& title)>;
void SetMessageBoxFunction(MessageBoxFunction show);

} // namespace debuglog
