// Times the column-click sort of the result grid with its virtual list, at 100 000 rows (or
// the row count given), inside a real window: sort, show the new order, repaint.
#include "Form1.h"
#include "ResultGrid.h"
#include "ResultList.h"
#include "Twips.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const int rowCount = argc > 1 ? _wtoi(argv[1]) : 100000;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateWindowExW(0, L"STATIC", L"sort bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 600,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    folio::ResultGrid grid;
    grid.AddStandardColumns();
    std::mt19937 random(42);
    for (int i = 0; i < rowCount; ++i) {
        folio::GridRow row;
        row.key = "A-" + std::to_string(i + 1);
        row.fileName = "scan " + std::to_string(random() % 1000000) + ".tif";
        for (int c = 0; c < 10; ++c)
            row.cells[static_cast<size_t>(c)] = std::to_string(random() % 100000);
        grid.AddRow(std::move(row));
    }
    folio::win::ResultList list;
    list.Create({window, 1, nullptr, &grid});
    SetWindowPos(list.Hwnd(), nullptr, 0, 0, 980, 560, SWP_NOZORDER);
    const folio::win::Twips twips = folio::win::Twips::OfScreen();
    auto time = [&](const wchar_t* what, auto&& step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        UpdateWindow(list.Hwnd());
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::wprintf(L"%-52ls %8.1f ms\n", what, ms);
    };
    time(L"fill the list (columns, item count, first paint)", [&] { list.RebuildColumns(twips); });
    for (int column : {1, 1, 6, 0, 0}) {
        const std::wstring what = L"sort " + std::to_wstring(rowCount) + L" rows by column " +
                                  std::to_wstring(column) + L" and repaint";
        time(what.c_str(), [&] {
            grid.ClickColumn(column + 1);
            list.ShowRowOrder();
        });
    }
    DestroyWindow(window);
    return 0;
}
