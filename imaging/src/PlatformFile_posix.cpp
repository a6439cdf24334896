#include "PlatformFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {

// O_NONBLOCK: opening a named pipe must not wait for a writer; regular files ignore it.
PlatformFile::PlatformFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}

PlatformFile::~PlatformFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool PlatformFile::IsOpen() const { return fd_ >= 0; }

std::optional<std::uint64_t> PlatformFile::Length() const {
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::size_t> PlatformFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace imaging
