#include "Application.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    try {
        return folio::win::RunFolioscope(instance, showCommand);
    } catch (const std::exception&) {
        // Nothing is left to report to: the windows are gone. The status tells the caller.
        return 1;
    }
}
