// The one longitude normalisation of the program: a longitude brought into
// -180 … 180 by whole turns. The two ends are kept as they are (they are the two
// sides of the map's seam), so a value already inside comes back unchanged. It
// also serves for whole counts of grid columns, with the half turn counted in
// columns (180 × columns per degree). NaN comes back as NaN.
#pragma once

#include <cmath>
#include <type_traits>

template <class T>
T ramenerLongitude(T v, T demiTour = T(180))
{
    if (v >= -demiTour && v <= demiTour)
        return v;
    const T tour = demiTour + demiTour;
    // One turn each way, the common case (a shifted or a slightly outside longitude).
    if (v > demiTour && v - tour <= demiTour)
        return v - tour;
    if (v < -demiTour && v + tour >= -demiTour)
        return v + tour;
    T r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::fmod(v, tour);
    else
        r = v % tour;
    if (r > demiTour)
        r -= tour;
    else if (r < -demiTour)
        r += tour;
    return r;
}
