#pragma once
#include <windows.h>

#include <string>

namespace folio::win {

// Combo1: the editable drop-down of file patterns; any typed text is a pattern.
class FilterBox {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int id = 0;
        HFONT font = nullptr;
    };
    void Create(const CreateArgs& args);
    HWND Hwnd() const { return hwnd_; }

    std::string Text() const;
    void SetText(const std::string& text);

private:
    HWND hwnd_ = nullptr;
};

} // namespace folio::win
