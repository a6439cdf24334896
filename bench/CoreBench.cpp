// Prints what the result grid and the CSV writer cost for a large folder: filling, sorting by a
// few columns and writing 100 000 rows. Figures only; nothing here passes or fails.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

#include "CsvWriter.h"
#include "NumberFormat.h"
#include "PosixFileSystem.h"
#include "ResultGrid.h"

namespace {

using Clock = std::chrono::steady_clock;

// A file system that accepts writes and keeps nothing, to time the formatting alone.
class DiscardingFileSystem final : public folio::FileSystem {
public:
    std::size_t bytes = 0;
    char PathSeparator() const override { return '/'; }
    bool ListFiles(const std::string&, const std::function<void(const folio::ListedFile&)>&) override { return false; }
    bool IsFolder(const std::string&) override { return false; }
    std::optional<std::string> CurrentFolderOfDrive(const std::string&) override { return std::nullopt; }
    std::unique_ptr<folio::AppendFile> OpenForAppend(const std::string&) override
    {
        return std::make_unique<Sink>(bytes);
    }
    void RemoveFile(const std::string&) override {}

private:
    class Sink final : public folio::AppendFile {
    public:
        explicit Sink(std::size_t& bytes) : bytes_(bytes) {}
        void Write(std::string_view text) override { bytes_ += text.size(); }
        void Close() override {}

    private:
        std::size_t& bytes_;
    };
};

template <typename Work>
void Report(const char* what, Work&& work)
{
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    const double cpu = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
    std::printf("%-40s %9.1f ms %9.1f ms\n", what, elapsed.count(), cpu);
}

folio::GridRow MakeRow(int sequence, std::mt19937& random)
{
    static const char* const kTypes[] = {"BMP Packaging", "TIFF Packaging", "JPEG Packaging", "PNG Packaging"};
    static const char* const kExtensions[] = {".bmp", ".TIF", ".jpg", ".png"};
    const folio::RegionalSettings settings;
    std::uniform_int_distribution<int> size(1, 8000);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::int64_t> length(0, 50'000'000);
    const int k = kind(random);

    folio::GridRow row;
    row.key = "A-" + std::to_string(sequence);
    row.fileName = (sequence % 3 ? "IMG_" : "scan ") + std::to_string(random() % 1'000'000) + kExtensions[k];
    row.cells = {folio::FormatZeroPadded(size(random), 5),
                 folio::FormatZeroPadded(size(random), 5),
                 folio::FormatZeroPadded(72, 4),
                 folio::FormatZeroPadded(300, 4),
                 folio::FormatGrouped2(static_cast<double>(length(random)) / 1023.0, settings) + " kb",
                 kTypes[k],
                 "24 bit color.",
                 "Not Compressed.",
                 "08",
                 "03"};
    return row;
}

} // namespace

int main(int argc, char** argv)
{
    const int rowCount = argc > 1 ? std::stoi(argv[1]) : 100'000;
    std::printf("%d rows%35s %12s %12s\n", rowCount, "", "wall", "cpu");

    std::mt19937 random(12345);
    std::vector<folio::GridRow> rows;
    rows.reserve(static_cast<std::size_t>(rowCount));
    for (int i = 1; i <= rowCount; ++i)
        rows.push_back(MakeRow(i, random));

    folio::ResultGrid grid;
    grid.AddStandardColumns();
    Report("add rows", [&] {
        for (folio::GridRow& row : rows)
            grid.AddRow(std::move(row));
    });
    Report("order the added rows by file name", [&] { grid.Rows(); });
    Report("sort by Width (click)", [&] { grid.ClickColumn(2); });
    Report("sort by Width descending (click again)", [&] { grid.ClickColumn(2); });
    Report("sort by File Size", [&] { grid.ClickColumn(6); });
    Report("sort by File Type", [&] { grid.ClickColumn(7); });
    Report("sort by File Name", [&] { grid.ClickColumn(1); });

    const folio::RegionalSettings settings;
    DiscardingFileSystem discarding;
    Report("CSV: format all rows (no disk)", [&] { folio::SaveInfoToCsv(grid, "x", discarding, settings); });

    folio::PosixFileSystem posix;
    const std::string path = (std::filesystem::temp_directory_path() / "folio-bench.csv").string();
    std::filesystem::remove(path);
    Report("CSV: write all rows to a file", [&] { folio::SaveInfoToCsv(grid, path, posix, settings); });
    std::printf("CSV file: %llu bytes\n", static_cast<unsigned long long>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
    return 0;
}
