#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace folio {

// A file operation that failed, with the path and the system's own reason, for the message
// a user sees.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string reason)
        : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}
    const std::string& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

struct ListedFile {
    std::string name;                  // without its folder
    std::optional<std::int64_t> length; // nullopt when the length could not be read
};

// A file opened for appending; closed when destroyed. Write throws FileError.
class AppendFile {
public:
    virtual ~AppendFile() = default;
    virtual void Write(std::string_view bytes) = 0;
    // Closes the file and reports a failure to flush; the destructor closes silently.
    virtual void Close() = 0;
};

// The file system as the core sees it. All paths and names are UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The character that joins a folder and a name: '\\' on Windows, '/' elsewhere.
    virtual char PathSeparator() const = 0;

    // Calls onFile for each plain file of folder (no subfolders, hidden or system files) in the
    // order the file system gives. Returns false when the folder cannot be listed.
    virtual bool ListFiles(const std::string& folder,
                           const std::function<void(const ListedFile&)>& onFile) = 0;
    virtual bool IsFolder(const std::string& path) = 0;
    // The current folder of a drive such as "c:" or "c:\", or nullopt when the drive cannot be
    // used (not ready, no medium, unknown). Systems without drives answer nullopt.
    virtual std::optional<std::string> CurrentFolderOfDrive(const std::string& drive) = 0;
    // Opens path for appending, creating it when missing. Throws FileError.
    virtual std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) = 0;
    // Deletes a file. Throws FileError.
    virtual void RemoveFile(const std::string& path) = 0;
};

} // namespace folio
