#pragma once
#include <windows.h>

#include "FileSystem.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"

#include <optional>
#include <string>

namespace folio::win {

// "Save Info to CSV file": asks for a file name, offers to overwrite or append when the file
// holds data, writes the grid and confirms. Remembers the last name between uses.
class SaveCommand {
public:
    struct CreateArgs {
        HWND owner = nullptr;
        FileSystem* fileSystem = nullptr;
        const ResultGrid* grid = nullptr;
        const RegionalSettings* settings = nullptr;
    };
    explicit SaveCommand(const CreateArgs& args) : args_(args) {}

    void Run();

private:
    // The name chosen in the save dialog, or nullopt when the user cancelled it.
    std::optional<std::wstring> AskFileName();
    // Asks whether to overwrite a file that holds data and deletes it on Yes. False when the
    // file had to be deleted and could not be.
    bool OfferOverwrite(const std::string& path);
    bool Write(const std::string& path);
    void ShowFailure(const std::wstring& what, const FileError& error);

    CreateArgs args_;
    std::wstring lastFileName_;
};

} // namespace folio::win
