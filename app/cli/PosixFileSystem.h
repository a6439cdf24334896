#pragma once
#include "FileSystem.h"

namespace folio {

// The file system of a POSIX system. Listings hold regular files only (a symbolic link counts
// when it leads to one); names starting with "." are hidden there, as on any POSIX shell.
class PosixFileSystem final : public FileSystem {
public:
    char PathSeparator() const override { return '/'; }
    bool ListFiles(const std::string& folder,
                   const std::function<void(const ListedFile&)>& onFile) override;
    bool IsFolder(const std::string& path) override;
    // POSIX has no drives.
    std::optional<std::string> CurrentFolderOfDrive(const std::string& drive) override;
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) override;
    void RemoveFile(const std::string& path) override;
};

} // namespace folio
