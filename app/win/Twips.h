#pragma once
#include <windows.h>

#include <cmath>

namespace folio::win {

// Twips (1/1440 inch) against the screen's real pixels per inch: 15 twips to the pixel at 96.
class Twips {
public:
    explicit Twips(int pixelsPerInchX = 96, int pixelsPerInchY = 96) : dpiX_(pixelsPerInchX), dpiY_(pixelsPerInchY) {}
    static Twips OfScreen();

    int ToPixelsX(double twips) const { return static_cast<int>(std::lround(twips * dpiX_ / 1440.0)); }
    int ToPixelsY(double twips) const { return static_cast<int>(std::lround(twips * dpiY_ / 1440.0)); }
    double FromPixelsX(int pixels) const { return pixels * 1440.0 / dpiX_; }
    double FromPixelsY(int pixels) const { return pixels * 1440.0 / dpiY_; }
    int DpiY() const { return dpiY_; }

private:
    int dpiX_;
    int dpiY_;
};

inline Twips Twips::OfScreen() {
    HDC screen = GetDC(nullptr);
    const Twips twips(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return twips;
}

} // namespace folio::win
