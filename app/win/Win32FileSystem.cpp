#include "Win32FileSystem.h"

#include "Handles.h"
#include "WinText.h"

namespace folio::win {

namespace {

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::wstring ListingPattern(const std::string& folder) {
    std::wstring pattern = WideFromUtf8(folder);
    if (pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
        pattern += L'\\';
    return pattern + L'*';
}

std::int64_t LengthOf(const WIN32_FIND_DATAW& found) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
}

class Win32AppendFile final : public AppendFile {
public:
    Win32AppendFile(std::string path, FileHandle file) : path_(std::move(path)), file_(std::move(file)) {}

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!file_.Valid() || !WriteFile(file_.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
                throw FileError(path_, SystemErrorUtf8(file_.Valid() ? GetLastError() : ERROR_INVALID_HANDLE));
            bytes.remove_prefix(written);
        }
    }

    void Close() override {
        if (!file_.Close())
            throw FileError(path_, SystemErrorUtf8(GetLastError()));
    }

private:
    std::string path_;
    FileHandle file_;
};

// "c:", "c:\" or "c:\images" give the drive's root "c:\"; anything else gives "".
std::wstring DriveRoot(const std::string& drive) {
    std::wstring wide = WideFromUtf8(drive);
    if (wide.size() < 2 || wide[1] != L':' || !iswalpha(wide[0]))
        return {};
    return wide.substr(0, 2) + L'\\';
}

} // namespace

bool Win32FileSystem::ListFiles(const std::string& folder, const std::function<void(const ListedFile&)>& onFile) {
    if (folder.empty())
        return false;
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileExW(ListingPattern(folder).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (found.dwFileAttributes & kSkippedAttributes)
            continue;
        onFile(ListedFile{Utf8FromWide(found.cFileName), LengthOf(found)});
    } while (FindNextFileW(find.Get(), &found));
    return true;
}

bool Win32FileSystem::IsFolder(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Win32FileSystem::DriveFolder Win32FileSystem::TryCurrentFolderOfDrive(const std::string& drive) {
    const std::wstring root = DriveRoot(drive);
    if (root.empty())
        return {std::nullopt, SystemErrorUtf8(ERROR_INVALID_DRIVE)};
    if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR)
        return {std::nullopt, SystemErrorUtf8(ERROR_INVALID_DRIVE)};
    // Asking for the volume's name is what tells a drive without a medium from a usable one.
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0))
        return {std::nullopt, SystemErrorUtf8(GetLastError())};
    // "c:" alone resolves to the drive's own current folder.
    wchar_t buffer[MAX_PATH * 4];
    const std::wstring bare = root.substr(0, 2);
    const DWORD length = GetFullPathNameW(bare.c_str(), MAX_PATH * 4, buffer, nullptr);
    std::string folder = Utf8FromWide(root);
    if (length != 0 && length < MAX_PATH * 4) {
        std::string current = Utf8FromWide(std::wstring_view(buffer, length));
        if (IsFolder(current))
            folder = std::move(current);
    }
    return {std::move(folder), {}};
}

std::optional<std::string> Win32FileSystem::CurrentFolderOfDrive(const std::string& drive) {
    return TryCurrentFolderOfDrive(drive).folder;
}

std::unique_ptr<AppendFile> Win32FileSystem::OpenForAppend(const std::string& path) {
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw FileError(path, SystemErrorUtf8(GetLastError()));
    return std::make_unique<Win32AppendFile>(path, std::move(file));
}

void Win32FileSystem::RemoveFile(const std::string& path) {
    if (!DeleteFileW(WideFromUtf8(path).c_str()))
        throw FileError(path, SystemErrorUtf8(GetLastError()));
}

} // namespace folio::win
