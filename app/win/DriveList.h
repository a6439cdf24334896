#pragma once
#include <windows.h>

#include <string>

namespace folio::win {

// Drive1: a drop-down list of the machine's drives, each shown as its letter and colon ("c:").
class DriveList {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int id = 0;
        HFONT font = nullptr;
    };
    void Create(const CreateArgs& args);
    HWND Hwnd() const { return hwnd_; }

    // Selects the drive of a path such as "c:", "C:\" or "c:\images"; false when it is not listed.
    bool SelectDriveOf(const std::string& path);
    // The selected drive as the list shows it, or "" when none is selected.
    std::string Drive() const;

private:
    void Fill();
    HWND hwnd_ = nullptr;
};

} // namespace folio::win
