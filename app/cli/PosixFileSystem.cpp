#include "PosixFileSystem.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folio {

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

class Directory {
public:
    explicit Directory(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~Directory()
    {
        if (dir_)
            ::closedir(dir_);
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    bool IsOpen() const { return dir_ != nullptr; }
    int Descriptor() const { return ::dirfd(dir_); }
    const dirent* Next() { return ::readdir(dir_); }

private:
    DIR* dir_;
};

class PosixAppendFile final : public AppendFile {
public:
    PosixAppendFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~PosixAppendFile() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    PosixAppendFile(const PosixAppendFile&) = delete;
    PosixAppendFile& operator=(const PosixAppendFile&) = delete;

    void Write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw FileError(path_, SystemReason(written < 0 ? errno : EIO));
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void Close() override
    {
        const int fd = fd_;
        fd_ = -1;
        if (fd >= 0 && ::close(fd) != 0)
            throw FileError(path_, SystemReason(errno));
    }

private:
    std::string path_;
    int fd_;
};

} // namespace

bool PosixFileSystem::ListFiles(const std::string& folder,
                                const std::function<void(const ListedFile&)>& onFile)
{
    Directory directory(folder);
    if (!directory.IsOpen())
        return false;
    while (const dirent* entry = directory.Next()) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat status {};
        if (::fstatat(directory.Descriptor(), entry->d_name, &status, 0) != 0 || !S_ISREG(status.st_mode))
            continue;
        onFile(ListedFile{entry->d_name, static_cast<std::int64_t>(status.st_size)});
    }
    return true;
}

bool PosixFileSystem::IsFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<std::string> PosixFileSystem::CurrentFolderOfDrive(const std::string&)
{
    return std::nullopt;
}

std::unique_ptr<AppendFile> PosixFileSystem::OpenForAppend(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw FileError(path, SystemReason(errno));
    return std::make_unique<PosixAppendFile>(path, fd);
}

void PosixFileSystem::RemoveFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        throw FileError(path, SystemReason(errno));
}

} // namespace folio
