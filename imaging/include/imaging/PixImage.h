#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/ImageInfo.h"

namespace imaging {

// The imaging component as the scan drives it: set a file name to load a file's header, read
// its attributes, release it. Only the header is read, never the pixel data.
class PixImage {
public:
    void ReleaseImage();
    // Loads path (enclosing double quotes are removed first). On failure the file name reads
    // back as "" and every attribute as nullopt.
    void SetImageFileName(const std::string& path);
    const std::string& ImageFileName() const { return fileName_; }

    std::optional<double> ImageWidth() const;
    std::optional<double> ImageHeight() const;
    std::optional<double> XResolution() const;
    std::optional<double> YResolution() const;
    std::optional<double> FileTypeCode() const;
    std::optional<double> BitsPerSample() const;
    std::optional<double> SamplesPerPixel() const;
    // Tags.TagByNumber(tagNumber).TagValue(valueIndex); nullopt for "no such tag". Every
    // format answers tag 259 (compression), whose one value has the index 1.
    std::optional<double> TagValue(std::int32_t tagNumber, std::int16_t valueIndex) const;

    // Why the last load failed, for tests and diagnostics; empty after a successful load.
    const std::string& LoadFailure() const { return failure_; }

private:
    std::string fileName_;
    std::string failure_;
    std::optional<ImageInfo> info_;
};

} // namespace imaging
