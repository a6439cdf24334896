// Times scans through the real window: starts Folioscope.exe in a folder, clicks
// "Retrieve Image Information" and waits until the grid is back with every row.
// Usage: folio_window_scan_bench FOLDER EXPECTED_ROWS [RUNS] [HOLD_SECONDS]
// HOLD_SECONDS keeps the window open after the last scan (for a screenshot).
#include "ExeDriver.h"
#include "Form1.h"

#include <commctrl.h>

#include <cstdio>
#include <thread>

using namespace folio::test;

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: %ls FOLDER EXPECTED_ROWS [RUNS] [HOLD_SECONDS]\n", argv[0]);
        return 2;
    }
    const std::wstring folder = argv[1];
    const int expected = _wtoi(argv[2]);
    const int runs = argc > 3 ? _wtoi(argv[3]) : 3;
    const int hold = argc > 4 ? _wtoi(argv[4]) : 0;

    RunningExe exe(L"", folder);
    HWND form = exe.WaitForWindow(folio::win::kForm1ClassName);
    if (!form) {
        std::fwprintf(stderr, L"no window\n");
        return 1;
    }
    SetWindowPos(form, nullptr, 0, 0, 1000, 560, SWP_NOZORDER);
    HWND list = GetDlgItem(form, folio::win::kIdListView1);
    HWND link = GetWindow(GetDlgItem(form, folio::win::kIdFrame1), GW_CHILD);
    HWND label = link ? GetWindow(link, GW_CHILD) : nullptr;
    if (!label) {
        std::fwprintf(stderr, L"no link control (is JumpletControl.dll registered?)\n");
        return 1;
    }
    for (int run = 1; run <= runs; ++run) {
        int repaints = 0;
        std::wstring lastName;
        const auto start = std::chrono::steady_clock::now();
        ClickAt(label, POINT{4, 4});
        // The window must stay responsive while it scans: count how often the file name moved.
        const bool done = WaitUntil([&] {
            const std::wstring name = WindowText(GetDlgItem(form, folio::win::kIdLabel4));
            if (name != lastName) {
                ++repaints;
                lastName = name;
            }
            return IsWindowEnabled(form) && IsWindowVisible(list) &&
                   SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == expected &&
                   std::chrono::steady_clock::now() - start > std::chrono::milliseconds(100);
        }, std::chrono::minutes(10));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!done) {
            std::fwprintf(stderr, L"run %d: the scan did not end with %d rows\n", run, expected);
            return 1;
        }
        std::wprintf(L"scan of %d files through the window, run %d: %.2f s (%.0f files/s; the file name was seen "
                     L"changing %d times)\n",
                     expected, run, seconds, expected / seconds, repaints);
    }
    std::this_thread::sleep_for(std::chrono::seconds(hold));
    PostMessageW(form, WM_CLOSE, 0, 0);
    exe.WaitForExit(std::chrono::seconds(30));
    return 0;
}
