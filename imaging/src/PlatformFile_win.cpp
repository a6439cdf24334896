#include "PlatformFile.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace imaging {
namespace {

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int size = static_cast<int>(utf8.size());
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wide <= 0) return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), wide);
    return out;
}

} // namespace

PlatformFile::PlatformFile(const std::string& path) : handle_(INVALID_HANDLE_VALUE) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) return;
    handle_ = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
}

PlatformFile::~PlatformFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool PlatformFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

std::optional<std::uint64_t> PlatformFile::Length() const {
    LARGE_INTEGER size{};
    if (GetFileType(handle_) != FILE_TYPE_DISK || !GetFileSizeEx(handle_, &size) || size.QuadPart < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::size_t> PlatformFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(handle_, out + done, want, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return std::nullopt;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

} // namespace imaging
