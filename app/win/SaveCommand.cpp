#include "SaveCommand.h"

#include "CsvWriter.h"
#include "DebugLog.h"
#include "Messages.h"
#include "WinText.h"

#include <commdlg.h>

#include <algorithm>

#include <vector>

namespace folio::win {

namespace {
constexpr wchar_t kOverwriteQuestion[] =
    L"This file already exists, do you wish to overwrite it?  If so, choose yes, otherwise choose no to append to it.";
constexpr wchar_t kSaved[] = L"Data has been saved.";
constexpr wchar_t kFilter[] = L"CSV Files\0*.CSV\0All Files\0*.*\0";
constexpr DWORD kNameCapacity = 32768;
} // namespace

void SaveCommand::Run() {
    const auto fileName = AskFileName();
    if (!fileName)
        return;
    const std::string path = Utf8FromWide(*fileName);
    if (!OfferOverwrite(path) || !Write(path))
        return;
    ShowMessage(args_.owner, kSaved);
}

std::optional<std::wstring> SaveCommand::AskFileName() {
    std::vector<wchar_t> name(kNameCapacity, L'\0');
    lastFileName_.copy(name.data(), std::min<size_t>(lastFileName_.size(), kNameCapacity - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = args_.owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kNameCapacity;
    dialog.lpstrDefExt = L"csv";
    dialog.lpstrTitle = L"Save As";
    // The process's current folder is the folder tree's starting point; the dialog leaves it.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    lastFileName_ = name.data();
    return lastFileName_;
}

bool SaveCommand::OfferOverwrite(const std::string& path) {
    if (!debuglog::FileExists(path) || ShowMessage(args_.owner, kOverwriteQuestion, MB_YESNO) != IDYES)
        return true;
    try {
        args_.fileSystem->RemoveFile(path);
        return true;
    } catch (const FileError& error) {
        ShowFailure(L"The file could not be replaced:", error);
        return false;
    }
}

bool SaveCommand::Write(const std::string& path) {
    try {
        SaveInfoToCsv(*args_.grid, path, *args_.fileSystem, *args_.settings);
        return true;
    } catch (const FileError& error) {
        ShowFailure(L"The data could not be saved to:", error);
        return false;
    }
}

void SaveCommand::ShowFailure(const std::wstring& what, const FileError& error) {
    ShowMessage(args_.owner, what + L"\r\n" + WideFromUtf8(error.Path()) + L"\r\n\r\n" + WideFromUtf8(error.Reason()));
}

} // namespace folio::win
