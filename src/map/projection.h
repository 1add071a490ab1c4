// Plate carrée transform between geographic positions and map pixels, with the
// longitude shift, plus the great-circle distance, the nearest-station search and
// the zoom bounds of the map view.
//
// The map is W pixels for 360° of longitude and H pixels for 180° of latitude.
// The shift D (whole degrees, -180 … 180) moves longitude λ to column λ + D.
#pragma once

#include "data/records.h"

#include <cmath>
#include <vector>

namespace carte {

// Rounding to the nearest integer, ties to even (the rounding of every coordinate
// computed from reals). Records read from files may hold any real: beyond 2^28 in
// either direction the result stops there (far off any map, with room left for
// adding a few such values, a point and its vector), and NaN gives -2^28, so that
// such a record lands nowhere on the map.
inline int arrondi(double v)
{
    constexpr double limite = 268435456.0;
    if (!(v > -limite))
        return -static_cast<int>(limite);
    if (v > limite)
        return static_cast<int>(limite);
    return static_cast<int>(std::nearbyint(v));
}

struct PointCarte {
    int x = 0;
    int y = 0;
    bool operator==(const PointCarte& o) const { return x == o.x && y == o.y; }
};

struct PositionGeo {
    double longitude = 0;
    double latitude = 0;
};

// Longitude as shown on a map shifted by `decalage` degrees, brought back once
// each way (below -180 first, then above 180).
inline double longitudeDecalee(double longitude, int decalage)
{
    double l = longitude + decalage;
    if (l < -180)
        l += 360;
    if (l > 180)
        l -= 360;
    return l;
}

// Geographic → map pixel, with the shifted longitude above.
inline PointCarte geoVersCarte(double longitude, double latitude, int W, int H, int decalage)
{
    const double l = longitudeDecalee(longitude, decalage);
    PointCarte p;
    p.y = arrondi(H / 2.0 - latitude / 180.0 * H);
    p.x = arrondi(l / 360.0 * W + W / 2.0);
    return p;
}

// Map pixel → geographic (the inverse, with one correction each way).
PositionGeo carteVersGeo(double mx, double my, int W, int H, int decalage);

// View coordinates (inside the image view's client area) → map pixel: the view's
// offset is removed and the result divided by the zoom factor, rounded.
PointCarte vueVersCarte(double vx, double vy, double offsetX, double offsetY, double zoom);

// Great-circle distance in whole kilometres on a sphere of radius 6371 km.
int distanceGrandCercle(double lon1, double lat1, double lon2, double lat2);
// The same before rounding, in radians of arc.
double angleGrandCercle(double lon1, double lat1, double lon2, double lat2);

// Index of the station nearest to (longitude, latitude) among those whose latitude
// and longitude both differ from it by strictly less than 0.7°; the first scanned
// wins ties; -1 when none.
int stationLaPlusProche(const std::vector<TStationGPS>& stations, double longitude, double latitude);

// The same search over any records with `Latitude` and `Longitude` (volcanoes).
template <class Enregistrement>
int indiceLePlusProche(const std::vector<Enregistrement>& liste, double longitude, double latitude)
{
    int meilleur = -1;
    int dmin = 40000;
    for (std::size_t i = 0; i < liste.size(); ++i) {
        const Enregistrement& e = liste[i];
        if (std::fabs(e.Latitude - latitude) < 0.7 && std::fabs(e.Longitude - longitude) < 0.7) {
            const int d = distanceGrandCercle(longitude, latitude, e.Longitude, e.Latitude);
            if (d < dmin) {
                dmin = d;
                meilleur = static_cast<int>(i);
            }
        }
    }
    return meilleur;
}

// Zoom bounds of a map W pixels wide in a view of the given client width.
double echelleMinPour(int largeurClient, int W);
double echelleMaxPour(int W);
// Scroll-bar positions of a zoom factor (logarithmic, `diviseur` units per unit of
// natural logarithm) and back.
int positionZoom(double echelle, int diviseur = 100);
double echelleDePosition(int position, int diviseur = 100);

// Roll in pixels for a change of shift of `degres` degrees on a map W pixels wide.
inline int roulementPixels(int degres, int W)
{
    return arrondi(degres / 360.0 * W);
}

} // namespace carte
