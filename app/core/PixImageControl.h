#pragma once
#include "ImagingControl.h"
#include "imaging/PixImage.h"

namespace folio {

// The real imaging component behind the scan's interface.
class PixImageControl final : public ImagingControl {
public:
    void ReleaseImage() override { image_.ReleaseImage(); }
    void SetImageFileName(const std::string& path) override { image_.SetImageFileName(path); }
    std::string ImageFileName() const override { return image_.ImageFileName(); }

    std::optional<double> ImageWidth() const override { return image_.ImageWidth(); }
    std::optional<double> ImageHeight() const override { return image_.ImageHeight(); }
    std::optional<double> XResolution() const override { return image_.XResolution(); }
    std::optional<double> YResolution() const override { return image_.YResolution(); }
    std::optional<double> FileTypeCode() const override { return image_.FileTypeCode(); }
    std::optional<double> BitsPerSample() const override { return image_.BitsPerSample(); }
    std::optional<double> SamplesPerPixel() const override { return image_.SamplesPerPixel(); }
    std::optional<double> TagValue(std::int32_t tagNumber, std::int16_t valueIndex) const override {
        return image_.TagValue(tagNumber, valueIndex);
    }

    const imaging::PixImage& Image() const { return image_; }

private:
    imaging::PixImage image_;
};

} // namespace folio
