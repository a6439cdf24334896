// Shows a Jumplet's property pages in the platform's property frame, signals that the frame is
// up by creating the file named on the command line, and closes the frame a few seconds
// later. property-frame-shot.sh takes the screenshot in between.
#include "JumpletControl.h"
#include "com/ComPtr.h"

#include <ocidl.h>
#include <olectl.h>
#include <initguid.h>
#include <msstkppg.h>

namespace {

const wchar_t* readyMarker = nullptr;
int ticks = 0;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    if (ticks == 2 && readyMarker) {
        HANDLE file = CreateFileW(readyMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    if (ticks == 8)
        if (HWND frame = GetActiveWindow()) PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments && count > 1) readyMarker = arguments[1];
    if (FAILED(OleInitialize(nullptr))) return 1;
    int status = 1;
    {
        com::ComPtr<_Jumplet> control;
        if (SUCCEEDED(CoCreateInstance(CLSID_Jumplet, nullptr, CLSCTX_INPROC_SERVER, IID__Jumplet, control.PutVoid()))) {
            control.As<IPersistStreamInit>()->InitNew();
            control->put_Caption(com::Bstr(L"Retrieve Image Information").Get());
            control->put_URL(com::Bstr(L"https://example.org/folioscope").Get());
            SetTimer(nullptr, 0, 500, &OnTimer);
            IUnknown* objects[] = {control.Get()};
            CLSID pages[] = {CLSID_PropertyPage1, CLSID_StockColorPage, CLSID_StockFontPage};
            HRESULT hr = OleCreatePropertyFrame(nullptr, 20, 20, L"lnkRun", 1, objects, 3, pages, 0x409, 0, nullptr);
            status = SUCCEEDED(hr) ? 0 : 2;
        }
    }
    OleUninitialize();
    LocalFree(arguments);
    return status;
}
