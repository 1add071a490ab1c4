// The data records of a cross-section picture: relief samples, projected points
// and crust colourings. Packed to their stated sizes (12, 12 and 28 bytes).
#pragma once

#include "ui/bitmap32.h"

#include <cstdint>

#pragma pack(push, 1)

// One relief sample along the section.
struct PointProfil {
    double distance = 0;      // km along the section
    std::int32_t altitude = 0; // metres, negative below sea level
};

// An earthquake or volcano projected onto the section.
struct PointProjete {
    double distance = 0;     // km along the section
    std::int32_t valeur = 0; // metres: focal depth (positive downwards) or elevation
};

// A coloured band of crust between two distances, down to a level.
struct ZoneCroute {
    TColor32 couleur = 0;
    std::int32_t style = 0;   // fill pattern code 0..7
    double debut = 0;         // start distance, km
    double fin = 0;           // end distance, km
    std::int32_t niveau = 0;  // metres, negative below sea level
};

#pragma pack(pop)

static_assert(sizeof(PointProfil) == 12, "PointProfil is a 12-byte record");
static_assert(sizeof(PointProjete) == 12, "PointProjete is a 12-byte record");
static_assert(sizeof(ZoneCroute) == 28, "ZoneCroute is a 28-byte record");
