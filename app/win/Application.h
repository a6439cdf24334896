#pragma once
#include <windows.h>

namespace folio::win {

// The whole life of Folioscope.exe: reads the command line, then shows the usage message,
// runs the batch or opens the main window. Returns the process exit status.
int RunFolioscope(HINSTANCE instance, int showCommand);

} // namespace folio::win
