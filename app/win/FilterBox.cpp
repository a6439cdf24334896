#include "FilterBox.h"

#include "Hwnd.h"
#include "WinText.h"

namespace folio::win {

void FilterBox::Create(const CreateArgs& args) {
    hwnd_ = CreateChild({.parent = args.parent, .className = L"COMBOBOX",
                         .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, .id = args.id,
                         .font = args.font});
    for (const wchar_t* pattern : {L"*.*", L"*.BMP", L"*.JBIG", L"*.JPG", L"*.PCX", L"*.PNG", L"*.TIF"})
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pattern));
    SendMessageW(hwnd_, CB_SETCURSEL, 0, 0);
}

std::string FilterBox::Text() const { return Utf8FromWide(HwndGetText(hwnd_)); }

void FilterBox::SetText(const std::string& text) { HwndSetText(hwnd_, WideFromUtf8(text)); }

} // namespace folio::win
