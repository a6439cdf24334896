#include "Startup.h"

#include "CsvWriter.h"
#include "TextFold.h"

namespace folio {

const char kUsageText[] =
    "The command line arguments for this application need to be specified as:\r\n"
    "Folder to run -   example:    \"c:\\images\\\"\r\n"
    "File Filter -   example:           \"*.TIF\"\r\n"
    "CSV Filename -   example:    \"c:\\report.txt\"\r\n";

StartupMode ChooseStartupMode(const std::optional<ArgumentList>& args)
{
    if (!args || args->Count() == 0)
        return StartupMode::Interactive;
    return args->Count() == 3 ? StartupMode::Batch : StartupMode::Usage;
}

namespace {

// The first three characters (not bytes) of a text, or all of it when shorter.
std::string FirstCharacters(const std::string& text, int count)
{
    std::size_t end = 0;
    for (int i = 0; i < count && end < text.size(); ++i)
        text::NextCharacter(text, end);
    return text.substr(0, end);
}

// Selecting a drive moves the folder to that drive's current folder; a drive that cannot be
// used leaves the selection as it was.
void SelectDrive(Selection& selection, const std::string& drive, FileSystem& fileSystem)
{
    if (const auto folder = fileSystem.CurrentFolderOfDrive(drive)) {
        selection.drive = drive;
        selection.folder = *folder;
    }
}

int Fail(std::string* failureReason, std::string reason)
{
    if (failureReason)
        *failureReason = std::move(reason);
    return 1;
}

} // namespace

int RunBatch(const ArgumentList& args, Selection& selection, FileSystem& fileSystem,
             ImageScanner& scanner, ResultGrid& grid, const RegionalSettings& settings,
             std::string* failureReason)
{
    const std::string& folder = args[1];
    SelectDrive(selection, FirstCharacters(folder, 3), fileSystem);
    // Scanning whatever folder was selected before would report another folder's images.
    if (!fileSystem.IsFolder(folder))
        return Fail(failureReason, folder + ": no such folder");
    selection.folder = folder;
    selection.filter = args[2];

    scanner.RetrieveImageInformation(selection.folder, selection.filter);
    try {
        SaveInfoToCsv(grid, args[3], fileSystem, settings);
    } catch (const FileError& error) {
        return Fail(failureReason, error.what());
    }
    return 0;
}

} // namespace folio
