#include "Messages.h"

namespace folio::win {

int ShowMessage(HWND owner, const std::wstring& text, UINT buttons) {
    return MessageBoxW(owner, text.c_str(), kApplicationTitle, buttons | (owner ? MB_APPLMODAL : MB_TASKMODAL));
}

} // namespace folio::win
