#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace folio {

// What the scan asks of an imaging component, one operation at a time. Any operation may
// throw, and a read may give something that is not a number (nullopt): the scan treats
// either as that one step failing and leaves only the cell it was filling empty.
class ImagingControl {
public:
    virtual ~ImagingControl() = default;

    virtual void ReleaseImage() = 0;
    // Setting a path loads that file; a path holding a blank arrives enclosed in double quotes.
    virtual void SetImageFileName(const std::string& path) = 0;
    // The path last set, or "" when loading it failed.
    virtual std::string ImageFileName() const = 0;

    virtual std::optional<double> ImageWidth() const = 0;
    virtual std::optional<double> ImageHeight() const = 0;
    virtual std::optional<double> XResolution() const = 0;
    virtual std::optional<double> YResolution() const = 0;
    virtual std::optional<double> FileTypeCode() const = 0;
    virtual std::optional<double> BitsPerSample() const = 0;
    virtual std::optional<double> SamplesPerPixel() const = 0;
    // Tags.TagByNumber(tagNumber).TagValue(valueIndex): nullopt when the image has no such tag
    // or the tag no such value.
    virtual std::optional<double> TagValue(std::int32_t tagNumber, std::int16_t valueIndex) const = 0;
};

} // namespace folio
