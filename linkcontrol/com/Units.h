#pragma once
// Twips (1/1440 inch), HIMETRIC (1/100 mm) and pixels at the screen's real resolution.
#include <windows.h>

namespace com {

inline int ScreenPixelsPerInch(int axis) {
    HDC screen = GetDC(nullptr);
    int ppi = screen ? GetDeviceCaps(screen, axis) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

inline long TwipsToPixelsX(long twips) { return MulDiv(twips, ScreenPixelsPerInch(LOGPIXELSX), 1440); }
inline long TwipsToPixelsY(long twips) { return MulDiv(twips, ScreenPixelsPerInch(LOGPIXELSY), 1440); }
inline long PixelsToTwipsX(long pixels) { return MulDiv(pixels, 1440, ScreenPixelsPerInch(LOGPIXELSX)); }
inline long PixelsToTwipsY(long pixels) { return MulDiv(pixels, 1440, ScreenPixelsPerInch(LOGPIXELSY)); }
inline long HimetricToTwips(long himetric) { return MulDiv(himetric, 1440, 2540); }
inline long TwipsToHimetric(long twips) { return MulDiv(twips, 2540, 1440); }

} // namespace com
