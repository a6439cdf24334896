#include "Form1.h"

#include "DebugLog.h"
#include "Form1Layout.h"
#include "Hwnd.h"
#include "Messages.h"
#include "Win32FileSystem.h"
#include "WinRegional.h"
#include "WinText.h"

#include <cmath>

namespace folio::win {

namespace {

constexpr UINT kRunClicked = WM_APP + 1;
constexpr UINT kSaveClicked = WM_APP + 2;
constexpr UINT kShown = WM_APP + 3;
constexpr wchar_t kWaitNotice[] = L"Please wait while we load image information from the specified folder.";
constexpr int kDropDownPixels = 240;

HWND CreateLabel(HWND parent, int id, const wchar_t* text, HFONT font, DWORD alignment) {
    return CreateChild({.parent = parent, .className = L"STATIC", .text = text,
                        .style = WS_VISIBLE | SS_NOPREFIX | alignment, .id = id, .font = font});
}

// A combo box is placed by its closed field; the height it is given also sizes its list.
void PlaceCombo(HWND combo, const TwipRect& place, const Twips& twips) {
    const int top = twips.ToPixelsY(place.top);
    const int closedHeight = twips.ToPixelsY(place.top + place.height) - top;
    const int left = twips.ToPixelsX(place.left);
    const int width = twips.ToPixelsX(place.left + place.width) - left;
    SetWindowPos(combo, nullptr, left, top, width, closedHeight + kDropDownPixels, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives the closed field of a combo box a height in pixels, whatever its borders take.
void FitComboHeight(HWND combo, int pixels) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT shown;
        GetWindowRect(combo, &shown);
        const int difference = pixels - (shown.bottom - shown.top);
        if (difference == 0)
            return;
        const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        if (item == CB_ERR || item + difference <= 0)
            return;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item + difference);
    }
}

// The smallest outer size in whole pixels that is not below the minimum in twips.
SIZE MinimumOuterPixels(const Twips& twips) {
    int width = twips.ToPixelsX(design::kMinOuterWidth);
    int height = twips.ToPixelsY(design::kMinOuterHeight);
    while (twips.FromPixelsX(width) < design::kMinOuterWidth)
        ++width;
    while (twips.FromPixelsY(height) < design::kMinOuterHeight)
        ++height;
    return SIZE{width, height};
}

} // namespace

Form1::Form1(const CreateArgs& args) : args_(args), twips_(Twips::OfScreen()), settings_(UserRegionalSettings()) {
    scanner_ = std::make_unique<ImageScanner>(*args.fileSystem, pixEzImage1_, static_cast<ScanWindow&>(*this), grid_,
                                              settings_);
}

Form1::~Form1() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

std::unique_ptr<Form1> Form1::Create(const CreateArgs& args) {
    const WindowClassArgs windowClass{.instance = args.instance, .name = kForm1ClassName, .procedure = WindowProc,
                                      .icon = LoadIconW(nullptr, IDI_APPLICATION)};
    if (!args.fileSystem || !RegisterWindowClassOnce(windowClass))
        return nullptr;
    std::unique_ptr<Form1> form(new Form1(args));
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT outer{0, 0, form->twips_.ToPixelsX(design::kInnerWidth), form->twips_.ToPixelsY(design::kInnerHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, WS_EX_CONTROLPARENT);
    const std::wstring title = L"Folioscope v" + WideFromUtf8(debuglog::GetVersionString());
    CreateWindowExW(WS_EX_CONTROLPARENT, kForm1ClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, args.instance, form.get());
    if (!form->hwnd_)
        return nullptr;
    return form;
}

void Form1::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    PostMessageW(hwnd_, kShown, 0, 0);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return form->OnMessage(message, wParam, lParam);
    } catch (const std::exception&) {
        // A handler that failed leaves the window as it was; the default answer keeps it alive.
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT Form1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case kRunClicked:
        OnRunClick();
        return 0;
    case kSaveClicked:
        OnSaveClick();
        return 0;
    case kShown:
        OnShown();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1::OnCreate() {
    defaultFont_.Reset(CreateSansSerifFont(8.25, twips_));
    noticeFont_.Reset(CreateSansSerifFont(13.5, twips_));
    CreateControls();
    SelectStartingFolder();
    saveCommand_ = std::make_unique<SaveCommand>(
        SaveCommand::CreateArgs{hwnd_, args_.fileSystem, &grid_, &settings_});
}

void Form1::CreateControls() {
    HFONT font = defaultFont_.Get();
    label1_ = CreateLabel(hwnd_, kIdLabel1, L"Select Image Location:", font, SS_LEFT);
    dir1_.Create({hwnd_, kIdDir1, font});
    drive1_.Create({hwnd_, kIdDrive1, font});
    label2_ = CreateLabel(hwnd_, kIdLabel2, L"Image Information:", font, SS_LEFT);
    listView1_.Create({hwnd_, kIdListView1, font, &grid_});
    frame1_.Create({hwnd_, kIdFrame1, twips_, [this] { PostMessageW(hwnd_, kRunClicked, 0, 0); },
                    [this] { PostMessageW(hwnd_, kSaveClicked, 0, 0); }});
    combo1_.Create({hwnd_, kIdCombo1, font});
    label3_ = CreateLabel(hwnd_, kIdLabel3, kWaitNotice, noticeFont_.Get(), SS_CENTER);
    label4_ = CreateLabel(hwnd_, kIdLabel4, L"", noticeFont_.Get(), SS_CENTER);

    HwndPlace(label1_, design::kLabel1, twips_);
    HwndPlace(label2_, design::kLabel2, twips_);
    HwndPlace(label3_, design::kLabel3, twips_);
    HwndPlace(label4_, design::kLabel4, twips_);
    const int comboHeight = twips_.ToPixelsY(design::kDrive1.height);
    FitComboHeight(drive1_.Hwnd(), comboHeight);
    FitComboHeight(combo1_.Hwnd(), comboHeight);
}

void Form1::SelectStartingFolder() {
    wchar_t current[MAX_PATH * 4] = L"";
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, current);
    selection_.folder = length > 0 && length < MAX_PATH * 4 ? Utf8FromWide(current) : std::string("C:\\");
    selection_.drive = selection_.folder.substr(0, 2);
    drive1_.SelectDriveOf(selection_.drive);
    dir1_.SetFolder(selection_.folder);
    selection_.filter = combo1_.Text();
}

void Form1::OnShown() { ReportMissingLinks(); }

void Form1::ReportMissingLinks() {
    const HRESULT failure = frame1_.LinkFailure();
    if (SUCCEEDED(failure))
        return;
    wchar_t code[16];
    wsprintfW(code, L"0x%08X", static_cast<unsigned>(failure));
    std::wstring text =
        IsNotRegistered(failure)
            ? L"The link control library JumpletControl.dll is not registered, so the commands "
              L"\"Retrieve Image Information\" and \"Save Info to CSV file\" cannot be shown.\r\n\r\n"
              L"Register it once, from a command prompt opened as administrator in the folder that holds it:\r\n\r\n"
              L"    regsvr32 JumpletControl.dll\r\n\r\nthen start Folioscope again."
            : L"The link controls of JumpletControl.dll could not be placed on the window (error " + std::wstring(code) +
                  L": " + SystemErrorText(static_cast<DWORD>(failure)) +
                  L").\r\n\r\nRegistering the library again may help:\r\n\r\n    regsvr32 JumpletControl.dll";
    ShowMessage(hwnd_, text);
}

void Form1::OnSize(UINT state) {
    if (state == SIZE_MINIMIZED)
        return;
    if (state != SIZE_MAXIMIZED && SnapToMinimumSize())
        return; // the correction's own resize lays the window out
    Layout();
}

bool Form1::SnapToMinimumSize() {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const SIZE minimum = MinimumOuterPixels(twips_);
    const OuterSize now{twips_.FromPixelsX(outer.right - outer.left), twips_.FromPixelsY(outer.bottom - outer.top)};
    const OuterSize snapped = folio::win::SnapToMinimumSize(now);
    if (snapped.width == now.width && snapped.height == now.height)
        return false;
    const int width = snapped.width == now.width ? outer.right - outer.left : minimum.cx;
    const int height = snapped.height == now.height ? outer.bottom - outer.top : minimum.cy;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void Form1::Layout() {
    RECT inner;
    GetClientRect(hwnd_, &inner);
    const Form1Layout layout = ComputeForm1Layout(twips_.FromPixelsX(inner.right), twips_.FromPixelsY(inner.bottom));
    HDWP placing = BeginDeferWindowPos(5);
    auto place = [&](HWND hwnd, const TwipRect& rect) {
        const int left = twips_.ToPixelsX(rect.left);
        const int top = twips_.ToPixelsY(rect.top);
        const int width = twips_.ToPixelsX(rect.left + rect.width) - left;
        const int height = twips_.ToPixelsY(rect.top + rect.height) - top;
        if (placing)
            placing = DeferWindowPos(placing, hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(dir1_.Hwnd(), layout.dir1);
    place(listView1_.Hwnd(), layout.listView1);
    place(frame1_.Hwnd(), layout.frame1);
    if (placing)
        EndDeferWindowPos(placing);
    PlaceCombo(drive1_.Hwnd(), layout.drive1, twips_);
    PlaceCombo(combo1_.Hwnd(), layout.combo1, twips_);
}

void Form1::OnGetMinMaxInfo(MINMAXINFO& info) const {
    const SIZE minimum = MinimumOuterPixels(twips_);
    info.ptMinTrackSize.x = minimum.cx;
    info.ptMinTrackSize.y = minimum.cy;
}

void Form1::OnCommand(int id, int code) {
    if (id == kIdDrive1 && code == CBN_SELCHANGE)
        OnDriveChanged();
    else if (id == kIdCombo1 && (code == CBN_EDITCHANGE || code == CBN_CLOSEUP))
        selection_.filter = combo1_.Text();
}

LRESULT Form1::OnNotify(NMHDR& header) {
    if (header.idFrom == kIdListView1) {
        if (header.code == LVN_GETDISPINFOW)
            listView1_.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        else if (header.code == LVN_COLUMNCLICK)
            OnColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
    } else if (header.idFrom == kIdDir1) {
        if (header.code == TVN_ITEMEXPANDINGW)
            dir1_.OnItemExpanding(reinterpret_cast<NMTREEVIEWW&>(header));
        else if (header.code == TVN_SELCHANGEDW)
            selection_.folder = dir1_.Folder();
    }
    return 0;
}

bool Form1::OnSetCursor() {
    if (!scanning_)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

void Form1::OnClose() {
    // Closing in the middle of a scan would pull the window from under it; close at its end.
    if (scanning_) {
        closeRequested_ = true;
        return;
    }
    DestroyWindow(hwnd_);
}

void Form1::OnDestroy() {
    saveCommand_.reset();
    frame1_ = LinkBar();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    PostQuitMessage(0);
}

void Form1::OnDriveChanged() { ChangeDrive(drive1_.Drive()); }

bool Form1::ChangeDrive(const std::string& drive) {
    auto result = args_.fileSystem->TryCurrentFolderOfDrive(drive);
    if (result.folder && dir1_.SetFolder(*result.folder)) {
        selection_.drive = drive;
        selection_.folder = dir1_.Folder();
        lastDrive_ = drive;
        return true;
    }
    if (result.failure.empty())
        result.failure = SystemErrorUtf8(ERROR_PATH_NOT_FOUND);
    ShowMessage(hwnd_, L"Was not able to change to drive: " + WideFromUtf8(drive) + L"\r\nError: " +
                           WideFromUtf8(result.failure));
    const std::string fallback = lastDrive_.empty() ? std::string("C:\\") : lastDrive_;
    // Going back to the drive that just failed would ask again and again.
    if (!drive1_.SelectDriveOf(fallback) ||
        CompareStringOrdinal(WideFromUtf8(fallback.substr(0, 1)).c_str(), 1, WideFromUtf8(drive.substr(0, 1)).c_str(),
                             1, TRUE) == CSTR_EQUAL)
        return false;
    return ChangeDrive(drive1_.Drive());
}

void Form1::OnRunClick() {
    if (scanning_)
        return;
    selection_.folder = dir1_.Folder();
    selection_.filter = combo1_.Text();
    scanner_->RetrieveImageInformation(selection_.folder, selection_.filter);
}

void Form1::OnSaveClick() {
    if (!scanning_ && saveCommand_)
        saveCommand_->Run();
}

void Form1::OnColumnClick(int subItem) {
    grid_.ClickColumn(subItem + 1);
    listView1_.ShowRowOrder();
}

void Form1::BeginScan() {
    scanning_ = true;
    EnableWindow(hwnd_, FALSE);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    HwndSetVisible(listView1_.Hwnd(), false);
    UpdateWindow(hwnd_);
}

void Form1::ShowFileName(const std::string& name) { HwndSetText(label4_, WideFromUtf8(name)); }

void Form1::ProcessPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Form1::EndScan() {
    listView1_.RebuildColumns(twips_);
    HwndSetVisible(listView1_.Hwnd(), true);
    EnableWindow(hwnd_, TRUE);
    scanning_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (closeRequested_)
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

} // namespace folio::win
