#include "framework/DpiScale.h"

#include <cstdint>
#include <limits>

namespace {

int Saturated(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// value * numerator / denominator, rounded half away from zero; the
// denominator is positive.
int MulDivRounded(int value, int numerator, int denominator)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t rounded = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return Saturated(rounded);
}

} // namespace

int ScaleForDpi(int length, int dpi)
{
    return RescaleForDpi(length, kBaseDpi, dpi);
}

int RescaleForDpi(int length, int fromDpi, int toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi)
        return length;
    return MulDivRounded(length, toDpi, fromDpi);
}

std::size_t PickScaleForDpi(int dpi, const int* percents, std::size_t count)
{
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < count; ++i) {
        // The picture's DPI, percent * 96 / 100, compared without division.
        if (static_cast<std::int64_t>(percents[i]) * kBaseDpi <= static_cast<std::int64_t>(dpi) * 100)
            chosen = i;
    }
    return chosen;
}
