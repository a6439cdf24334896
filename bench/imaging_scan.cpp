// The imaging component alone over a folder: list it, then load each plain file into a
// PixImage the way the scan does (release, clear, set the path). Beside folioscope-cli this
// shows what the component costs and what the rest of the batch run adds.
// Usage: folio_imaging_scan FOLDER (prints how many files loaded).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "imaging/PixImage.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    imaging::PixImage image;
    long files = 0, loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error)) {
        if (!entry.is_regular_file(error)) continue;
        ++files;
        image.ReleaseImage();
        image.SetImageFileName("");
        image.SetImageFileName(entry.path().string());
        if (!image.ImageFileName().empty()) ++loaded;
    }
    if (error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    std::printf("%ld files, %ld loaded\n", files, loaded);
    return 0;
}
