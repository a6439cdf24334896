#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ResultGrid.h"
#include "Twips.h"

namespace folio::win {

// ListView1: the result grid in report view. A virtual list: it holds no texts of its own and
// asks the grid for each cell it paints, so that a hundred thousand rows cost nothing to show.
class ResultList {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int id = 0;
        HFONT font = nullptr;
        const ResultGrid* grid = nullptr;
    };
    void Create(const CreateArgs& args);
    HWND Hwnd() const { return hwnd_; }

    // After a scan: the grid's columns with their widths, and its rows.
    void RebuildColumns(const Twips& twips);
    // After a sort: the same rows in their new order, with the header's sort arrow.
    void ShowRowOrder();

    // LVN_GETDISPINFO: the text of one cell.
    void OnGetDispInfo(NMLVDISPINFOW& info) const;

private:
    bool DeleteColumn(int index);
    bool InsertColumn(int index, const std::wstring& header, int widthPixels);
    bool SetItemCount(std::size_t count);
    void ShowSortArrow();

    HWND hwnd_ = nullptr;
    const ResultGrid* grid_ = nullptr;
};

} // namespace folio::win
