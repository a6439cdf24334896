#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace imaging {

// A file opened for reading by UTF-8 path, closed when destroyed. The one place that knows the
// system's file calls.
class PlatformFile {
public:
    explicit PlatformFile(const std::string& path);
    ~PlatformFile();
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    bool IsOpen() const;
    std::optional<std::uint64_t> Length() const;
    // Reads up to size bytes at offset; the count read, or nullopt on an error.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

} // namespace imaging
