#include "ResultList.h"

#include "Hwnd.h"
#include "WinText.h"

#include <algorithm>

namespace folio::win {

void ResultList::Create(const CreateArgs& args) {
    grid_ = args.grid;
    hwnd_ = CreateChild({.parent = args.parent, .className = WC_LISTVIEWW,
                         .style = WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                         .exStyle = WS_EX_CLIENTEDGE, .id = args.id, .font = args.font});
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

bool ResultList::DeleteColumn(int index) { return ListView_DeleteColumn(hwnd_, index) != FALSE; }

bool ResultList::InsertColumn(int index, const std::wstring& header, int widthPixels) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = widthPixels;
    column.pszText = const_cast<wchar_t*>(header.c_str());
    return ListView_InsertColumn(hwnd_, index, &column) == index;
}

bool ResultList::SetItemCount(std::size_t count) {
    return ListView_SetItemCountEx(hwnd_, static_cast<int>(std::min<std::size_t>(count, INT_MAX)), 0) != FALSE;
}

void ResultList::RebuildColumns(const Twips& twips) {
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SetItemCount(0);
    while (DeleteColumn(0)) {
    }
    int index = 0;
    for (const GridColumn& column : grid_->Columns())
        InsertColumn(index++, WideFromUtf8(column.header), twips.ToPixelsX(column.widthTwips));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ShowRowOrder();
}

void ResultList::ShowRowOrder() {
    SetItemCount(grid_->RowCount());
    ShowSortArrow();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ResultList::ShowSortArrow() {
    HWND header = ListView_GetHeader(hwnd_);
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == grid_->SortColumn())
            item.fmt |= grid_->Direction() == SortDirection::Ascending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, i, &item);
    }
}

void ResultList::OnGetDispInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    item.pszText[0] = L'\0';
    const auto& rows = grid_->Rows();
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows.size() || item.iSubItem < 0 ||
        item.iSubItem >= ResultGrid::kColumnCount)
        return;
    const std::wstring text = WideFromUtf8(rows[static_cast<std::size_t>(item.iItem)].Text(item.iSubItem));
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

} // namespace folio::win
