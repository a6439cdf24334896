// folioscope-cli FOLDER PATTERN CSVFILE: the unattended batch run without a window.
#include <exception>
#include <iostream>
#include <string>

#include <unistd.h>

#include "PixImageControl.h"
#include "PosixFileSystem.h"
#include "Startup.h"

namespace {

// The usage message with the line ends of a terminal.
std::string UsageForTerminal()
{
    std::string text;
    for (const char* c = folio::kUsageText; *c; ++c)
        if (*c != '\r')
            text += *c;
    return text;
}

std::string CurrentFolder()
{
    std::string folder(4096, '\0');
    if (!::getcwd(folder.data(), folder.size()))
        return ".";
    folder.resize(folder.find('\0'));
    return folder;
}

int RunCommandLine(int argc, char** argv)
{
    folio::ArgumentList args;
    for (int i = 1; i < argc; ++i)
        args.slots.emplace_back(argv[i]);
    if (folio::ChooseStartupMode(args) != folio::StartupMode::Batch) {
        std::cerr << UsageForTerminal();
        return folio::kUsageExitStatus;
    }

    folio::PosixFileSystem fileSystem;
    folio::PixImageControl imaging;
    folio::SilentScanWindow window;
    folio::ResultGrid grid;
    const folio::RegionalSettings settings;
    folio::ImageScanner scanner(fileSystem, imaging, window, grid, settings);
    folio::Selection selection;
    selection.folder = CurrentFolder();

    std::string reason;
    const int status = folio::RunBatch(args, selection, fileSystem, scanner, grid, settings, &reason);
    if (status != 0)
        std::cerr << "folioscope-cli: " << reason << '\n';
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return RunCommandLine(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "folioscope-cli: " << error.what() << '\n';
        return 1;
    }
}
