// The rounding of every coordinate computed from reals: to the nearest integer,
// ties to even. Whatever the value, the result is defined: NaN gives 0 and values
// beyond ±1e9 are clamped there (pixels that far are off every picture, and sums
// made with them cannot overflow an int).
#pragma once

#include <cmath>

inline int arrondi(double v)
{
    if (!(v == v))
        return 0;
    if (v > 1e9)
        v = 1e9;
    else if (v < -1e9)
        v = -1e9;
    return static_cast<int>(std::nearbyint(v));
}
