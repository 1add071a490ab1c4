// Great-circle arcs on the plate carrée map, kept arcs and sections, path
// lengths, and the geometry of a delimited zone with the zoom that shows it.
#pragma once

#include "data/records.h"
#include "ui/bitmap32.h"

#include <QLineF>
#include <QPointF>
#include <QRect>

#include <vector>

namespace carte {

// One kept great-circle arc (degrees).
struct TSegmentGeo {
    double Lat1 = 0;
    double Lon1 = 0;
    double Lat2 = 0;
    double Lon2 = 0;
};
static_assert(sizeof(TSegmentGeo) == 32, "TSegmentGeo is four doubles");

// One kept section line: its two ends, its half-width (degrees) and its name.
struct TCoupeGardee {
    double Lat1 = 0;
    double Lon1 = 0;
    double Lat2 = 0;
    double Lon2 = 0;
    double DemiLargeur = 0;
    ShortString<15> Nom;
};
static_assert(sizeof(TCoupeGardee) == 56, "TCoupeGardee is five doubles and a 15-character short string");

// The straight pieces, in map pixels, that draw the shorter arc from (Lat1, Lon1)
// to (Lat2, Lon2) on a W x H map shifted by `decalage` degrees:
//  - ends at most 14 pixels apart horizontally, or both within 1° of the equator:
//    one straight line;
//  - second end beyond 89° of latitude: one straight line; first end beyond 89°:
//    one vertical line at the second end's column;
//  - otherwise the great circle is stepped one pixel column at a time from the first
//    end to the second. Two ends on opposite meridians (a circle through the poles)
//    go straight over the nearer pole.
// An arc whose shorter way crosses a side of the map is cut there: its pieces go
// up to the side (and a little beyond, for the anti-aliasing) and come back from
// the opposite side. Exactly antipodal ends, which have no shorter arc, are drawn
// without crossing a side, over the North Pole or along the equator.
std::vector<QLineF> piecesGrandCercle(const TSegmentGeo& s, int W, int H, int decalage);

// Draws the arc anti-aliased in `couleur` onto `cible` (whose size is the map's)
// and returns the pixels it may have touched. With `zones`, small rectangles
// covering the drawing closely (one per short run of pieces) are appended, so
// that the drawing can later be cleared without clearing its whole bounding box.
QRect TraceGrandCercle(const TSegmentGeo& s, TColor32 couleur, TBitmap32& cible, int decalage,
                       std::vector<QRect>* zones = nullptr);

// Small rectangles covering an anti-aliased straight line (one per 32 pixels of
// its length) appended to `zones`; returns their union.
QRect zonesLigne(double x1, double y1, double x2, double y2, std::vector<QRect>& zones);

// Pixels an anti-aliased drawing of these pieces may touch.
QRect regionPieces(const std::vector<QLineF>& pieces);

// Sum of the great-circle distances (whole km each) between consecutive points,
// given as (longitude, latitude).
int longueurTrajet(const std::vector<QPointF>& lonLat);

// Selection bounds: whole degrees in zone mode, elevation-grid indices for lines.
struct BornesSelection {
    int Lat1 = 0;
    int Lat2 = 0;
    int Lon1 = 0;
    int Lon2 = 0;
};

// The zoom-to-zone button is offered when the zone spans more than 40° both ways.
bool loupeProposee(const BornesSelection& b);

struct ResultatLoupe {
    int decalage = 0;      // new shift: the zone's middle longitude, negated
    double zoom = 1;       // new zoom factor of the view
    double centreY = 0;    // map row of the zone's middle latitude
    int ouest = 0;         // ordered bounds, east possibly beyond 180
    int est = 0;
    int sud = 0;
    int nord = 0;
};

// Zoom to a delimited zone (whole-degree bounds). `relacheAGauche`: the release
// was left of the press. A zone taller than the window's proportions gets
// echelleMin × 180 / (latitude span); a wider one is fitted to the window's width
// so that the whole zone shows. The zoom never exceeds echelleMax nor falls
// below echelleMin.
ResultatLoupe calculerLoupe(const BornesSelection& zone, bool relacheAGauche, double echelleMin,
                            double echelleMax, int largeurClient, int hauteurClient, int H);

// Section line bounds (grid indices, f points per degree): accepted when long
// enough; ordered west to east, a line across the 180° meridian getting its east
// end beyond 180 f.
bool coupeAcceptee(const BornesSelection& b);
BornesSelection ordonnerBornesCoupe(BornesSelection b, int f);

} // namespace carte
