#pragma once
// Pixel figures are written for 96 DPI (100 %); a window shown at another
// scale multiplies them by its DPI / 96. Platform-free, so that tests and
// fuzzers reach the arithmetic without windows.h; the Win32 side, which
// finds a window's DPI, is framework/WindowDpi.h.
#include <cstddef>

inline constexpr int kBaseDpi = 96;

// A length given at 96 DPI, at this DPI. Rounds half away from zero as
// MulDiv does, so a figure and its negative scale alike; at 96 DPI (and for
// a DPI that is not positive) every figure comes back unchanged. Saturates
// at the int range.
int ScaleForDpi(int length, int dpi);

// The same length moved from one DPI to another (a window that changes
// monitors); unchanged when either DPI is not positive.
int RescaleForDpi(int length, int fromDpi, int toDpi);

// Of pictures drawn for the scales given in percent (ascending), the one to
// show at this DPI: the largest that is not bigger than the DPI asks, so a
// picture is never shrunk and blurred; the first below the smallest scale.
std::size_t PickScaleForDpi(int dpi, const int* percents, std::size_t count);

// The scales the program's and the library's menu pictures are drawn for.
inline constexpr int kPictureScales[] = {100, 150, 200};
inline constexpr std::size_t kPictureScaleCount = sizeof(kPictureScales) / sizeof(kPictureScales[0]);

// One dialog's or window's scale: its DPI and the figures at it.
class CDpiScale {
public:
    constexpr explicit CDpiScale(int dpi = kBaseDpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}
    int Dpi() const { return m_dpi; }
    // A 96-DPI figure at this scale.
    int operator()(int length) const { return ScaleForDpi(length, m_dpi); }
    // Index into kPictureScales of the picture to show.
    std::size_t PictureScale() const { return PickScaleForDpi(m_dpi, kPictureScales, kPictureScaleCount); }

private:
    int m_dpi;
};
