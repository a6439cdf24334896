#include "DriveList.h"

#include "Hwnd.h"
#include "WinText.h"

#include <cwctype>
#include <vector>

namespace folio::win {

namespace {
std::wstring DriveText(wchar_t letter) { return {static_cast<wchar_t>(std::towlower(letter)), L':'}; }
} // namespace

void DriveList::Create(const CreateArgs& args) {
    hwnd_ = CreateChild({.parent = args.parent, .className = L"COMBOBOX",
                         .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, .id = args.id,
                         .font = args.font});
    Fill();
}

void DriveList::Fill() {
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::vector<wchar_t> buffer(length + 1, L'\0');
    GetLogicalDriveStringsW(length, buffer.data());
    for (const wchar_t* root = buffer.data(); *root; root += wcslen(root) + 1)
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DriveText(root[0]).c_str()));
}

bool DriveList::SelectDriveOf(const std::string& path) {
    if (path.size() < 2 || path[1] != ':')
        return false;
    const std::wstring text = DriveText(static_cast<wchar_t>(static_cast<unsigned char>(path[0])));
    const LRESULT index = SendMessageW(hwnd_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

std::string DriveList::Drive() const {
    const LRESULT index = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    wchar_t text[8] = L"";
    if (SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= 8)
        return {};
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return Utf8FromWide(text);
}

} // namespace folio::win
