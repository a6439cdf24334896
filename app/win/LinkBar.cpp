#include "LinkBar.h"

#include "Form1Layout.h"
#include "Hwnd.h"

namespace folio::win {

namespace {

constexpr wchar_t kClassName[] = L"FolioscopeLinkBar";
constexpr wchar_t kJumpletProgId[] = L"JumpletControl.Jumplet";
// The event interface __Jumplet of the link control library, and the DISPID of its Click.
constexpr IID kJumpletEvents = {0xF0247E19, 0xF9A6, 0x4011, {0x9B, 0xD8, 0x29, 0x5C, 0xCB, 0x5B, 0x53, 0x89}};
constexpr DISPID kClick = 1;
// The links' stored extents, in HIMETRIC.
constexpr LONG kRunExtentX = 3466;
constexpr LONG kSaveExtentX = 2699;
constexpr LONG kLinkExtentY = 450;

} // namespace

void LinkBar::Create(const CreateArgs& args) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(args.parent, GWLP_HINSTANCE));
    RegisterWindowClassOnce({.instance = instance, .name = kClassName});
    hwnd_ = CreateChild({.parent = args.parent, .className = kClassName,
                         .style = WS_VISIBLE | WS_CLIPCHILDREN, .exStyle = WS_EX_CONTROLPARENT, .id = args.id});
    run_ = PlaceLink(args, L"Retrieve Image Information", kRunExtentX, design::kLnkRun.left, args.onRunClick);
    if (run_)
        save_ = PlaceLink(args, L"Save Info to CSV file", kSaveExtentX, design::kLnkCsvSave.left, args.onSaveClick);
}

std::unique_ptr<ControlHost> LinkBar::PlaceLink(const CreateArgs& args, const std::wstring& caption, LONG extentX,
                                                double leftTwips, std::function<void()> onClick) {
    ControlHost::CreateArgs link;
    link.parent = hwnd_;
    link.progId = kJumpletProgId;
    link.eventInterface = kJumpletEvents;
    link.position = POINT{args.twips.ToPixelsX(leftTwips), args.twips.ToPixelsY(design::kLnkRun.top)};
    link.settings = LinkSettings(caption, extentX, kLinkExtentY);
    link.onEvent = [onClick = std::move(onClick)](DISPID id) {
        if (id == kClick && onClick)
            onClick();
    };
    HRESULT failure = S_OK;
    auto host = ControlHost::Create(link, failure);
    if (!host)
        failure_ = failure;
    return host;
}

} // namespace folio::win
