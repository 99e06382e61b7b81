#pragma once

// Positions and sizes are twips held as single-precision numbers: 15 twips a
// pixel at 96 dots per inch.

#include <cmath>

namespace rt {

constexpr float kTwipsPerPixel = 15.0f;

inline int toPixels(float twips)
{
    return int(std::lround(double(twips) / kTwipsPerPixel));
}

inline float toTwips(int pixels)
{
    return float(pixels) * kTwipsPerPixel;
}

} // namespace rt
