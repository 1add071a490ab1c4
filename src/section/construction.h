// A cross-section built from a line drawn on the map: the number of grid steps
// along the line, the band around it (drawn on the map), the earthquakes and
// volcanoes of the band projected onto the line, and the relief sampled from the
// elevation grid.
//
// Everything works in map-image pixels and degrees: the view's zoom and scroll
// never enter, so a line gives the same section at every zoom. A line across the
// map's side (170° E to 170° W on the unshifted map, read as crossing the 180°
// meridian) is followed the short way, across the side, exactly as the same line
// drawn on a map shifted so that it lies in the middle.
#pragma once

#include "data/records.h"
#include "drawing/bitmapsig.h"
#include "map/grandcercle.h"
#include "ui/bitmap32.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class TGrilleAltitude;

namespace coupe {

// What the construction reads of the map.
struct CarteCoupe {
    int W = 0;        // map image width, pixels for 360°
    int H = 0;        // map image height, pixels for 180°
    int decalage = 0; // longitude shift of the map, degrees
    const TGrilleAltitude* grille = nullptr; // nullptr: every altitude 0, 6 points per degree
    // The stores of the layers shown; nullptr for a layer that is not shown.
    const std::vector<TSeisme>* seismes = nullptr;
    const std::vector<TVolcan>* volcans = nullptr;
    int magnitudeMini = 3; // the map's minimum magnitude: only stronger events are projected
    bool pointsEpais = true;
};

// Grid points per degree (f) and the distance between two samples (M × 1.85185 km).
int pointsParDegre(const CarteCoupe& c);
double pasKm(const CarteCoupe& c);

// Elevation in metres under a map-image pixel (x may lie beyond either side: it is
// taken round the globe), nearest grid node, 0 off the grid.
int AltitudeAuPoint(const CarteCoupe& c, int x, int y);

// An accepted line: its ends in grid indices, west end first (the east end's
// longitude index may exceed 180 f for a line across the 180° meridian; on a
// north-south line the south end comes first), and the same two ends in map
// pixels, the second one unrolled (possibly beyond a side of the map) so that the
// straight segment between them is the section's path.
struct LigneCoupe {
    carte::BornesSelection bornes;
    QPoint debut;
    QPoint fin;
};
// The line pressed at `appui` and dragged to `pointeur` (map pixels).
LigneCoupe ligneDepuisPixels(QPoint appui, QPoint pointeur, const CarteCoupe& c);

// Number of grid steps along the line (flat-earth approximation): the line's
// length in grid steps with the longitude span shrunk by the cosine of the mean
// latitude, or, for a line that meets the equator, the sum of its two legs on
// either side, each shrunk at its own end's latitude. A line along the equator
// counts its longitude span.
int NombreIntervalles(const carte::BornesSelection& b, int f);

// The band around the line, in the rotated frame u (along the line) and v
// (across it), degrees. Longitudes are continuous from the west end: lon2 >= lon1.
struct TBande {
    double lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;
    double demiLargeur = 0;
    double angle = 0; // radians, π/2 for a north-south line
    double u1 = 0, u2 = 0, v1 = 0;
    double uMin = 0, uMax = 0;

    double u(double lon, double lat) const;
    double v(double lon, double lat) const;
    // The longitude taken round the globe to lie within 180° of the line's middle.
    double longitudeProche(double lon) const;
};
// The band of the line between two ends in degrees (lon2 continuous from lon1,
// the west end first), `demiLargeur` degrees on each side.
TBande CalculerBande(double lat1, double lon1, double lat2, double lon2, double demiLargeur);
TBande CalculerBande(const carte::BornesSelection& b, int f, double demiLargeur);

// The band's outline (four lines) on a map layer of W x H pixels shifted by
// `decalage`; a line across a side of the map is drawn in its two pieces.
// Returns what may have been touched and appends small covering rectangles.
QRect TracerBande(const TBande& b, TBitmap32& cible, TColor32 couleur, int decalage,
                  std::vector<QRect>* zones = nullptr);
// A kept section: its band in `couleurBande` and its centre line in `couleurLigne`.
QRect TracerCoupeConservee(const carte::TCoupeGardee& trace, TBitmap32& cible, TColor32 couleurBande,
                           TColor32 couleurLigne, int decalage, std::vector<QRect>* zones = nullptr);
// The band of a kept section: its ends ordered as the section mode orders a line.
TBande BandeConservee(const carte::TCoupeGardee& trace);

// Fills the section's earthquake and volcano lists: the earthquakes inside the
// band stronger than the minimum magnitude (depth in metres), the volcanoes within
// 1° of the line whatever the band's width (elevation in metres), each at its
// distance along the line (the line spanning N samples).
void ProjeterPoints(TBitmapSIG& section, const TBande& b, int N, const CarteCoupe& c);

// Fills the profile: N + 1 samples from the west end, pas_km apart, each the
// elevation under the pixel at i/N of the way (each coordinate rounded).
void Echantillonner(TBitmapSIG& section, const LigneCoupe& l, int N, const CarteCoupe& c);

// Band, projection and sampling of a line into the section.
struct ResultatCoupe {
    TBande bande;
    int N = 0;
};
ResultatCoupe ConstruireCoupe(TBitmapSIG& section, const LigneCoupe& l, double demiLargeur, const CarteCoupe& c);

} // namespace coupe
