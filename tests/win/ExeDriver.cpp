#include "ExeDriver.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace folio::test {

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassName(window) == search->className &&
        (!search->visibleOnly || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> FindTopLevel(DWORD processId, const wchar_t* className, bool visibleOnly) {
    WindowSearch search{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The environment of this process without DISPLAY, double-NUL terminated.
std::wstring EnvironmentWithoutDisplay() {
    std::wstring block;
    wchar_t* environment = GetEnvironmentStringsW();
    for (const wchar_t* entry = environment; *entry; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, L"DISPLAY=", 8) != 0)
            block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(environment);
    block.push_back(L'\0');
    return block;
}

} // namespace

RunningExe::RunningExe(const std::wstring& arguments, const std::wstring& workingFolder, bool withDisplay) {
    std::wstring commandLine = L"\"" + FolioscopePath() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring environment = withDisplay ? std::wstring() : EnvironmentWithoutDisplay();
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       withDisplay ? nullptr : environment.data(),
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    }
}

RunningExe::~RunningExe() {
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

std::optional<DWORD> RunningExe::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

HWND RunningExe::WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        auto found = FindTopLevel(processId_, className, true);
        if (!found.empty())
            return found.front();
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

std::vector<HWND> RunningExe::TopLevelWindows(const wchar_t* className) const {
    return FindTopLevel(processId_, className, false);
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[4096] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

std::wstring ClassName(HWND window) {
    wchar_t buffer[256] = L"";
    GetClassNameW(window, buffer, 256);
    return buffer;
}

std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void PressButton(HWND dialog, int buttonId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::wstring FolioscopePath() {
    // The build names a host path; Wine shows the host's root as drive Z:.
    std::wstring path = FOLIOSCOPE_EXE;
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

TempFolder::TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            (L"folio-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteBmp(const std::filesystem::path& path, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const int imageBytes = rowBytes * height;
    std::string bytes;
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    bytes += "BM";
    put(54 + imageBytes, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(imageBytes, 4);
    put(2835, 4); // 72 dots per inch, in pixels per metre
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    bytes.append(static_cast<size_t>(imageBytes), '\x7f');
    WriteFileBytes(path, bytes);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace folio::test

#include <commctrl.h>

namespace folio::test {

namespace {
constexpr size_t kRemoteSize = 65536;
constexpr size_t kTextOffset = 4096;
constexpr int kTextCapacity = 4096;
} // namespace

RemoteControls::RemoteControls(DWORD processId) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_)
        memory_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteControls::~RemoteControls() {
    if (memory_)
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

std::wstring RemoteControls::ListViewText(HWND list, int item, int subItem) {
    if (!memory_)
        return L"<no access>";
    LVITEMW request{};
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<wchar_t*>(memory_ + kTextOffset);
    request.cchTextMax = kTextCapacity;
    WriteProcessMemory(process_, memory_, &request, sizeof(request), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
    std::wstring text(kTextCapacity, L'\0');
    ReadProcessMemory(process_, memory_ + kTextOffset, text.data(), kTextCapacity * sizeof(wchar_t), nullptr);
    text.resize(wcslen(text.c_str()));
    return text;
}

std::vector<std::vector<std::wstring>> RemoteControls::ListViewRows(HWND list, int columns) {
    std::vector<std::vector<std::wstring>> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        std::vector<std::wstring> row;
        for (int column = 0; column < columns; ++column)
            row.push_back(ListViewText(list, item, column));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<RemoteControls::HeaderItem> RemoteControls::Headers(HWND list) {
    std::vector<HeaderItem> items;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count && memory_; ++i) {
        HDITEMW request{};
        request.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        request.pszText = reinterpret_cast<wchar_t*>(memory_ + kTextOffset);
        request.cchTextMax = kTextCapacity;
        WriteProcessMemory(process_, memory_, &request, sizeof(request), nullptr);
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_, memory_, &request, sizeof(request), nullptr);
        std::wstring text(kTextCapacity, L'\0');
        ReadProcessMemory(process_, memory_ + kTextOffset, text.data(), kTextCapacity * sizeof(wchar_t), nullptr);
        text.resize(wcslen(text.c_str()));
        items.push_back({text, request.cxy, request.fmt});
    }
    return items;
}

RECT ChildRect(HWND topLevel, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, topLevel, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ClickAt(HWND window, POINT point) {
    // Sent, not posted: each message is handled before the next one goes, and before the
    // caller looks at what the click did.
    const LPARAM at = MAKELPARAM(point.x, point.y);
    DWORD_PTR ignored = 0;
    for (auto [message, keys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}})
        SendMessageTimeoutW(window, message, keys, at, SMTO_NORMAL, 10000, &ignored);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    return true;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    for (HWND window : FindTopLevel(processId, className, true))
        if (WindowText(window) == title)
            return window;
    return nullptr;
}

} // namespace folio::test
