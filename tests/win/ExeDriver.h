#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace folio::test {

// Folioscope.exe started from a test, driven through its windows as a user would.
class RunningExe {
public:
    // Starts the program with the argument text appended after its quoted path.
    explicit RunningExe(const std::wstring& arguments, const std::wstring& workingFolder = {},
                        bool withDisplay = true);
    ~RunningExe();
    RunningExe(const RunningExe&) = delete;
    RunningExe& operator=(const RunningExe&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    // Waits for the process to end; nullopt when it is still running after the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // The first visible top-level window of the process with this class, once it appears.
    HWND WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;
    // Every top-level window of the process with this class, visible or not.
    std::vector<HWND> TopLevelWindows(const wchar_t* className) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// The text of a message box and a press on one of its buttons.
std::wstring MessageBoxText(HWND box);
void PressButton(HWND dialog, int buttonId);

// Path of Folioscope.exe as the build made it.
std::wstring FolioscopePath();

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A small uncompressed 24-bit BMP of width x height pixels at 72 dots per inch.
void WriteBmp(const std::filesystem::path& path, int width, int height);
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

} // namespace folio::test

namespace folio::test {

// Reads the common controls of another process through memory lent in that process.
class RemoteControls {
public:
    explicit RemoteControls(DWORD processId);
    ~RemoteControls();
    RemoteControls(const RemoteControls&) = delete;
    RemoteControls& operator=(const RemoteControls&) = delete;

    std::wstring ListViewText(HWND list, int item, int subItem);
    // Every row of a report list, each with its cells in column order.
    std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns);
    struct HeaderItem {
        std::wstring text;
        int width = 0;
        int format = 0;
    };
    std::vector<HeaderItem> Headers(HWND list);

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

// The place of a child control in its top-level window's inner area, in pixels.
RECT ChildRect(HWND topLevel, HWND child);
// A press and release of the left button at a point of a window's inner area.
void ClickAt(HWND window, POINT point);
// Waits until a condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(60));
// The first visible top-level window of a process with a class and a title.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title);

} // namespace folio::test
