#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "ImagingControl.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"
#include "ScanWindow.h"

namespace folio {

// '*' matches any run of characters, '?' one character, letter case ignored. As in Windows
// listings, a pattern ending in ".*" also matches names without an extension ("*.*" matches
// every name).
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The compression code of the loaded image (tag 259, value 1), or -1 when it cannot be read.
std::int32_t GetCompressionCode(const ImagingControl& imaging);

// Fills the result grid with one row per image file of a folder.
class ImageScanner {
public:
    ImageScanner(FileSystem& fileSystem, ImagingControl& imaging, ScanWindow& window,
                 ResultGrid& grid, const RegionalSettings& settings);

    // Rebuilds the grid from the files of folderPath that match filterText. Reports nothing:
    // a failing step leaves only its own cell (or its own row) out.
    void RetrieveImageInformation(const std::string& folderPath, const std::string& filterText);

private:
    void ScanListedFile(const std::string& folderPath, const ListedFile& file);
    std::string FullPath(const std::string& folderPath, const std::string& name) const;
    bool LoadImage(const std::string& fullPath);
    void ReleaseImage();
    GridRow ReadRow(const ListedFile& file) const;

    FileSystem& fileSystem_;
    ImagingControl& imaging_;
    ScanWindow& window_;
    ResultGrid& grid_;
    const RegionalSettings& settings_;
    std::int32_t sequence_ = 0;
};

} // namespace folio
