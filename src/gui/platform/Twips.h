#pragma once

#include <cmath>

// Window geometry is designed in twips; Qt's device-independent pixels take
// care of high-DPI screens from there.
inline constexpr int TwipsPerPixel = 15;

inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline constexpr int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}
