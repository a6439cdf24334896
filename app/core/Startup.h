#pragma once
#include <optional>
#include <string>

#include "CommandLine.h"
#include "FileSystem.h"
#include "ImageScan.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"

namespace folio {

enum class StartupMode { Interactive, Batch, Usage };

// No arguments (or none at all): Interactive; three: Batch; any other count: Usage.
StartupMode ChooseStartupMode(const std::optional<ArgumentList>& args);

// The usage message: four lines, each ended by CR LF.
extern const char kUsageText[];

// Exit status after the usage message.
inline constexpr int kUsageExitStatus = 2;

// What the main window has selected: drive list, folder tree and filter box.
struct Selection {
    std::string drive;
    std::string folder;
    std::string filter = "*.*";
};

// The unattended run of three arguments: selects the drive (first three characters of argument
// 1; skipped when that drive cannot be used), the folder (argument 1) and the filter (argument
// 2), scans, and appends the grid to the CSV file named by argument 3.
// Returns the exit status: 0 when the CSV file was written; 1 when the folder does not exist
// (then nothing is scanned and the CSV file is not touched) or the CSV file could not be
// opened or written. On 1, failureReason (when given) receives a one-line reason.
int RunBatch(const ArgumentList& args, Selection& selection, FileSystem& fileSystem,
             ImageScanner& scanner, ResultGrid& grid, const RegionalSettings& settings,
             std::string* failureReason = nullptr);

} // namespace folio
