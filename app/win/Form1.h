#pragma once
#include <windows.h>
#include <commctrl.h>

#include "DriveList.h"
#include "FileSystem.h"
#include "FilterBox.h"
#include "FolderTree.h"
#include "Handles.h"
#include "ImageScan.h"
#include "LinkBar.h"
#include "PixImageControl.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"
#include "ResultList.h"
#include "SaveCommand.h"
#include "ScanWindow.h"
#include "Startup.h"
#include "Twips.h"

#include <memory>
#include <optional>
#include <string>

namespace folio::win {

class Win32FileSystem;

// Control identifiers of the main window, in tab order.
enum Form1ControlId : int {
    kIdLabel1 = 101,
    kIdDir1,
    kIdDrive1,
    kIdLabel2,
    kIdListView1,
    kIdFrame1,
    kIdCombo1,
    kIdLabel3,
    kIdLabel4,
};

inline constexpr wchar_t kForm1ClassName[] = L"FolioscopeForm1";

// The main window: the folder, drive and pattern on the left, the result grid on the right,
// the two command links below it. It is also what the scan shows its progress in.
class Form1 final : private ScanWindow {
public:
    struct CreateArgs {
        HINSTANCE instance = nullptr;
        Win32FileSystem* fileSystem = nullptr;
    };
    static std::unique_ptr<Form1> Create(const CreateArgs& args);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    HWND Hwnd() const { return hwnd_; }
    void Show(int showCommand);

private:
    explicit Form1(const CreateArgs& args);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnSize(UINT state);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnCommand(int id, int code);
    LRESULT OnNotify(NMHDR& header);
    bool OnSetCursor();
    void OnClose();
    void OnDestroy();
    void OnShown();

    void OnDriveChanged();
    void OnRunClick();
    void OnSaveClick();
    void OnColumnClick(int subItem);

    void CreateControls();
    void SelectStartingFolder();
    bool ChangeDrive(const std::string& drive);
    bool SnapToMinimumSize();
    void Layout();
    void ReportMissingLinks();

    // What the scan does to the window.
    void BeginScan() override;
    void ShowFileName(const std::string& name) override;
    void ProcessPendingMessages() override;
    void EndScan() override;

    CreateArgs args_;
    HWND hwnd_ = nullptr;
    Twips twips_;
    FontHandle defaultFont_;
    FontHandle noticeFont_;

    HWND label1_ = nullptr;
    FolderTree dir1_;
    DriveList drive1_;
    HWND label2_ = nullptr;
    ResultList listView1_;
    LinkBar frame1_;
    FilterBox combo1_;
    HWND label3_ = nullptr;
    HWND label4_ = nullptr;

    Selection selection_;
    std::string lastDrive_;
    ResultGrid grid_;
    PixImageControl pixEzImage1_;
    RegionalSettings settings_;
    std::unique_ptr<ImageScanner> scanner_;
    std::unique_ptr<SaveCommand> saveCommand_;
    bool scanning_ = false;
    bool closeRequested_ = false;
};

} // namespace folio::win
