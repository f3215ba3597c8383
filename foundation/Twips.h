#pragma once
#include <cmath>

// Twips: 1440 per inch, 56.7 per millimetre. Every computed position or size
// that becomes whole twips rounds halves to the even neighbour.
constexpr double kTwipsPerMm = 56.7;
constexpr double kTwipsPerInch = 1440.0;

inline int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v)); // default FE_TONEAREST: halves to even
}

// Window geometry: whole screen pixels for a length in twips at `dpi`, and back.
inline int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double pixelsToTwips(double pixels, double dpi)
{
    return pixels * kTwipsPerInch / dpi;
}
