#pragma once
#include "FileSystem.h"

#include <optional>
#include <string>

namespace folio::win {

// The file system through the wide-character Win32 calls. Paths are UTF-8 on this side.
class Win32FileSystem final : public FileSystem {
public:
    char PathSeparator() const override { return '\\'; }
    bool ListFiles(const std::string& folder, const std::function<void(const ListedFile&)>& onFile) override;
    bool IsFolder(const std::string& path) override;
    std::optional<std::string> CurrentFolderOfDrive(const std::string& drive) override;
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) override;
    void RemoveFile(const std::string& path) override;

    // As CurrentFolderOfDrive, with the system's reason when the drive cannot be used.
    struct DriveFolder {
        std::optional<std::string> folder;
        std::string failure;
    };
    DriveFolder TryCurrentFolderOfDrive(const std::string& drive);
};

} // namespace folio::win
