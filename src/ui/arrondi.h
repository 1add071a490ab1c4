// The rounding of every coordinate computed from reals: to the nearest integer,
// ties to even. Whatever the value, the result is defined: beyond 2^28 in either
// direction it stops there (far off any picture, with room left for adding a few
// such values, a point and its vector, without overflowing an int), and NaN gives
// -2^28, so that a point computed from it lands nowhere on a picture.
#pragma once

#include <cmath>

inline int arrondi(double v)
{
    constexpr double limite = 268435456.0;
    if (!(v > -limite))
        return -static_cast<int>(limite);
    if (v > limite)
        return static_cast<int>(limite);
    return static_cast<int>(std::nearbyint(v));
}
