#include "ImageScan.h"

#include <vector>

#include "AttributeText.h"
#include "NumberFormat.h"
#include "TextFold.h"

namespace folio {

namespace {

std::u32string FoldedCharacters(std::string_view text)
{
    std::u32string characters;
    characters.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        characters += text::FoldCase(text::NextCharacter(text, i));
    return characters;
}

// Greedy match that backtracks to the last '*' only, linear in practice.
bool MatchCharacters(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

// Runs one step of the scan. A step that fails is abandoned so that the scan goes on with the
// next one; the failure has no other effect.
template <typename Step>
void SkipOnFailure(Step&& step)
{
    try {
        step();
    } catch (...) { // the imaging component may throw anything; only this step is lost
    }
}

// One cell's text, or "" when any part of producing it fails.
template <typename Produce>
std::string CellText(Produce&& produce)
{
    std::optional<std::string> text;
    SkipOnFailure([&] { text = produce(); });
    return text.value_or(std::string());
}

std::optional<std::int32_t> WholeNumber(const std::optional<double>& value)
{
    return value ? ToWholeNumber(*value) : std::nullopt;
}

std::optional<std::string> ZeroPadded(const std::optional<double>& value, int places)
{
    const auto whole = WholeNumber(value);
    return whole ? std::optional(FormatZeroPadded(*whole, places)) : std::nullopt;
}

} // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    const std::u32string foldedPattern = FoldedCharacters(pattern);
    const std::u32string foldedName = FoldedCharacters(name);
    if (MatchCharacters(foldedPattern, foldedName))
        return true;
    // "name.*" also finds "name" without an extension, as Windows listings do.
    const std::u32string_view stem(foldedPattern);
    return stem.ends_with(U".*") && foldedName.find(U'.') == std::u32string::npos &&
           MatchCharacters(stem.substr(0, stem.size() - 2), foldedName);
}

std::int32_t GetCompressionCode(const ImagingControl& imaging)
{
    std::optional<std::int32_t> code;
    SkipOnFailure([&] { code = WholeNumber(imaging.TagValue(259, 1)); });
    return code.value_or(-1);
}

ImageScanner::ImageScanner(FileSystem& fileSystem, ImagingControl& imaging, ScanWindow& window,
                           ResultGrid& grid, const RegionalSettings& settings)
    : fileSystem_(fileSystem), imaging_(imaging), window_(window), grid_(grid), settings_(settings)
{
}

namespace {

// Keeps the window's BeginScan and EndScan paired whatever happens in between.
class ScanSession {
public:
    explicit ScanSession(ScanWindow& window) : window_(window)
    {
        SkipOnFailure([&] { window_.BeginScan(); });
    }
    ~ScanSession() { SkipOnFailure([&] { window_.EndScan(); }); }
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

private:
    ScanWindow& window_;
};

} // namespace

void ImageScanner::RetrieveImageInformation(const std::string& folderPath,
                                            const std::string& filterText)
{
    ScanSession session(window_);
    grid_.Clear();
    grid_.AddStandardColumns();
    sequence_ = 0;
    SkipOnFailure([&] {
        fileSystem_.ListFiles(folderPath, [&](const ListedFile& file) {
            if (WildcardMatch(filterText, file.name))
                ScanListedFile(folderPath, file);
        });
    });
}

void ImageScanner::ScanListedFile(const std::string& folderPath, const ListedFile& file)
{
    if (!file.name.starts_with('.')) {
        ++sequence_;
        const std::string key = "A-" + std::to_string(sequence_);
        SkipOnFailure([&] { window_.ShowFileName(file.name); });
        if (LoadImage(FullPath(folderPath, file.name))) {
            GridRow row = ReadRow(file);
            row.key = key;
            grid_.AddRow(std::move(row));
        }
    }
    ReleaseImage();
    SkipOnFailure([&] { window_.ProcessPendingMessages(); });
}

std::string ImageScanner::FullPath(const std::string& folderPath, const std::string& name) const
{
    const char separator = fileSystem_.PathSeparator();
    if (!folderPath.empty() && folderPath.back() == separator)
        return folderPath + name;
    return folderPath + separator + name;
}

bool ImageScanner::LoadImage(const std::string& fullPath)
{
    ReleaseImage();
    const bool quote = fullPath.find(' ') != std::string::npos;
    SkipOnFailure([&] { imaging_.SetImageFileName(quote ? '"' + fullPath + '"' : fullPath); });
    // A name that cannot even be read back counts as a file that did not load.
    std::string loadedName;
    SkipOnFailure([&] { loadedName = imaging_.ImageFileName(); });
    return !loadedName.empty();
}

void ImageScanner::ReleaseImage()
{
    SkipOnFailure([&] { imaging_.ReleaseImage(); });
    SkipOnFailure([&] { imaging_.SetImageFileName(""); });
}

GridRow ImageScanner::ReadRow(const ListedFile& file) const
{
    const ImagingControl& image = imaging_;
    GridRow row;
    row.fileName = file.name;
    auto& cells = row.cells;
    cells[0] = CellText([&] { return ZeroPadded(image.ImageWidth(), 5); });
    cells[1] = CellText([&] { return ZeroPadded(image.ImageHeight(), 5); });
    cells[2] = CellText([&] { return ZeroPadded(image.XResolution(), 4); });
    cells[3] = CellText([&] { return ZeroPadded(image.YResolution(), 4); });
    cells[4] = CellText([&]() -> std::optional<std::string> {
        if (!file.length)
            return std::nullopt;
        return FormatGrouped2(static_cast<double>(*file.length) / 1023.0, settings_) + " kb";
    });
    cells[5] = CellText([&]() -> std::optional<std::string> {
        const auto code = WholeNumber(image.FileTypeCode());
        return code ? FileTypeText(*code) : std::nullopt;
    });
    cells[6] = CellText([&]() -> std::optional<std::string> {
        const auto bits = WholeNumber(image.BitsPerSample());
        const auto samples = WholeNumber(image.SamplesPerPixel());
        return bits && samples ? ColorsText(*bits, *samples) : std::nullopt;
    });
    cells[7] = CellText([&] { return std::optional(CompressionText(GetCompressionCode(image))); });
    cells[8] = CellText([&] { return ZeroPadded(image.BitsPerSample(), 2); });
    cells[9] = CellText([&] { return ZeroPadded(image.SamplesPerPixel(), 2); });
    return row;
}

} // namespace folio
