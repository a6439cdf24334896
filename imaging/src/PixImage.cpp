#include "imaging/PixImage.h"

#include "imaging/ReadImageInfo.h"

namespace imaging {
namespace {

constexpr std::int32_t kCompressionTag = 259;
constexpr std::int16_t kFirstValue = 1; // tag values are numbered from 1

std::string WithoutEnclosingQuotes(const std::string& path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return path.substr(1, path.size() - 2);
    return path;
}

} // namespace

void PixImage::ReleaseImage() {
    fileName_.clear();
    failure_.clear();
    info_.reset();
}

void PixImage::SetImageFileName(const std::string& path) {
    ReleaseImage();
    const std::string plain = WithoutEnclosingQuotes(path);
    if (plain.empty()) return;
    ReadResult result = ReadImageInfoFromFile(plain);
    if (!result.info) {
        failure_ = result.failure;
        return;
    }
    info_ = *result.info;
    fileName_ = plain;
}

std::optional<double> PixImage::ImageWidth() const {
    if (!info_) return std::nullopt;
    return info_->width;
}

std::optional<double> PixImage::ImageHeight() const {
    if (!info_) return std::nullopt;
    return info_->height;
}

std::optional<double> PixImage::XResolution() const {
    if (!info_) return std::nullopt;
    return info_->xResolution;
}

std::optional<double> PixImage::YResolution() const {
    if (!info_) return std::nullopt;
    return info_->yResolution;
}

std::optional<double> PixImage::FileTypeCode() const {
    if (!info_) return std::nullopt;
    return info_->fileTypeCode;
}

std::optional<double> PixImage::BitsPerSample() const {
    if (!info_) return std::nullopt;
    return info_->bitsPerSample;
}

std::optional<double> PixImage::SamplesPerPixel() const {
    if (!info_) return std::nullopt;
    return info_->samplesPerPixel;
}

std::optional<double> PixImage::TagValue(std::int32_t tagNumber, std::int16_t valueIndex) const {
    if (!info_ || tagNumber != kCompressionTag || valueIndex != kFirstValue) return std::nullopt;
    return info_->compression;
}

} // namespace imaging
