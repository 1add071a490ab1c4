// Plate carrée transform between geographic positions and map pixels, with the
// longitude shift, plus the great-circle distance, the nearest-station search and
// the zoom bounds of the map view.
//
// The map is W pixels for 360° of longitude and H pixels for 180° of latitude.
// The shift D (whole degrees, -180 … 180) moves longitude λ to column λ + D.
#pragma once

#include "data/records.h"
#include "data/longitude.h"
#include "ui/arrondi.h"

#include <cmath>
#include <vector>

namespace carte {

using ::arrondi;

struct PointCarte {
    int x = 0;
    int y = 0;
    bool operator==(const PointCarte& o) const { return x == o.x && y == o.y; }
};

struct PositionGeo {
    double longitude = 0;
    double latitude = 0;
};

// Longitude as shown on a map shifted by `decalage` degrees.
inline double longitudeDecalee(double longitude, int decalage)
{
    return ramenerLongitude(longitude + decalage);
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

// A way of laying geographic points on a picture: the shifted plate carrée of the
// map, or the azimuthal discs of a view around a pole. The layer renderers draw
// through it, so that every view draws its symbols with the same code.
class TProjection {
public:
    virtual ~TProjection() = default;
    // Size of the picture the projection fills.
    virtual int largeur() const = 0;
    virtual int hauteur() const = 0;
    // Picture pixel of a point, rounded ties to even; false when the projection does
    // not show the point.
    virtual bool versPixel(double longitude, double latitude, PointCarte& p) const = 0;
    // Point shown at a picture position; false off the projection.
    virtual bool versPosition(double x, double y, PositionGeo& g) const = 0;
    // Picture displacement, in pixels, of one unit towards the east and one unit
    // towards the north at a point: the local frame in which velocity vectors are
    // drawn.
    virtual void repereLocal(double longitude, double latitude, double& estX, double& estY, double& nordX,
                             double& nordY) const = 0;
};

// The map's projection: a plate carrée W pixels for 360° and H for 180°, shifted
// by `decalage` degrees. North is up and east is right everywhere.
class TPlateCarree final : public TProjection {
public:
    TPlateCarree(int W, int H, int decalage) : W_(W), H_(H), decalage_(decalage) {}
    int largeur() const override { return W_; }
    int hauteur() const override { return H_; }
    int decalage() const { return decalage_; }
    PointCarte pixel(double longitude, double latitude) const
    {
        return geoVersCarte(longitude, latitude, W_, H_, decalage_);
    }
    bool versPixel(double longitude, double latitude, PointCarte& p) const override
    {
        p = pixel(longitude, latitude);
        return true;
    }
    bool versPosition(double x, double y, PositionGeo& g) const override
    {
        g = carteVersGeo(x, y, W_, H_, decalage_);
        return W_ > 0 && H_ > 0;
    }
    void repereLocal(double, double, double& estX, double& estY, double& nordX, double& nordY) const override
    {
        estX = 1;
        estY = 0;
        nordX = 0;
        nordY = -1;
    }

private:
    int W_;
    int H_;
    int decalage_;
};

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
