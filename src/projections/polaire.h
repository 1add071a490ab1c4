// The view of the globe around a chosen pole (usually the Euler pole of a plate's
// rotation): the pole's hemisphere in one azimuthal equidistant disc, the opposite
// hemisphere in a second disc beside it, so that the small circles about the pole
// (the paths of a rotation about it) become concentric circles.
//
// The picture is Hm pixels high and 2·Hm wide. Disc 1 is centred at (Rd, Rd) and
// disc 2 at (Hm + Rd, Rd), with Rd = Hm div 2 the radius of both; a disc's edge
// is 90° from its centre. A pixel at distance r from the centre of disc 1 and at
// screen angle v (anticlockwise from the right) shows the point r/Rd·90° from the
// pole in the direction v, v = 0 being the pole's meridian towards the south and
// v = π/2 the east. Disc 2 shows the antipode of the point of disc 1 mirrored top
// to bottom: its pixel (Hm + Rd + dx, Rd + dy) holds the antipode of the pixel
// (Rd + dx, Rd − dy) of disc 1. Both discs are therefore seen from outside the
// globe, east to the right of north.
#pragma once

#include "data/records.h"
#include "map/projection.h"
#include "map/rendu.h"
#include "ui/bitmap32.h"

#include <vector>

namespace polaire {

namespace detail {
constexpr double factorielle(int n)
{
    return n <= 1 ? 1.0 : n * factorielle(n - 1);
}
// Terms (−1)ⁿ / (2n + d)! of the series of cos √u (d = 0) and sin √u / √u (d = 1).
constexpr double terme(int n, int d)
{
    return (n % 2 ? -1.0 : 1.0) / factorielle(2 * n + d);
}
inline constexpr double serieCos[13] = {terme(0, 0), terme(1, 0), terme(2, 0), terme(3, 0),  terme(4, 0),
                                        terme(5, 0), terme(6, 0), terme(7, 0), terme(8, 0),  terme(9, 0),
                                        terme(10, 0), terme(11, 0), terme(12, 0)};
inline constexpr double serieSin[13] = {terme(0, 1), terme(1, 1), terme(2, 1), terme(3, 1),  terme(4, 1),
                                        terme(5, 1), terme(6, 1), terme(7, 1), terme(8, 1),  terme(9, 1),
                                        terme(10, 1), terme(11, 1), terme(12, 1)};
} // namespace detail

struct PointGeo {
    double latitude = 0;
    double longitude = 0;
};

// The projection of a view around the pole (latitude, longitude) in degrees, for a
// picture Hm pixels high. The layer renderers of the map draw through it.
class TProjectionPolaire final : public carte::TProjection {
public:
    TProjectionPolaire(int Hm, double latitudePole, double longitudePole);

    int largeur() const override { return 2 * Hm_; }
    int hauteur() const override { return Hm_; }
    int Hm() const { return Hm_; }
    int rayon() const { return Rd_; }
    double latitudePole() const { return latPole_; }
    double longitudePole() const { return longPole_; }
    // Centre of disc 1 or 2 (x; y is Rd for both).
    int centreX(int disque) const { return disque == 2 ? Hm_ + Rd_ : Rd_; }

    // Real picture position of a point (degrees), before rounding; false for a
    // point that is not a number. `disque` tells which disc it falls in: 1 up to 90°
    // from the pole, 2 beyond.
    bool positionReelle(double longitude, double latitude, double& x, double& y, int* disque = nullptr) const;
    // Pixel of a point, rounded ties to even; (−1, −1) when there is none.
    carte::PointCarte ProjeterPolaire(double longitude, double latitude) const;
    // Point under a picture position; false outside both discs. A position left of
    // or on column Hm belongs to disc 1. The centre of a disc gives its pole.
    bool PointPolaire(double x, double y, PointGeo& g) const;

    // carte::TProjection
    bool versPixel(double longitude, double latitude, carte::PointCarte& p) const override;
    bool versPosition(double x, double y, carte::PositionGeo& g) const override;
    // The pictures of one unit of motion towards the east and the north, taken from
    // the projection itself (its derivative), in pixels of the distance scale from
    // the pole: a motion along a small circle about the pole is drawn along its
    // concentric circle, a motion towards the pole along the radius, with its true
    // length. Along the circles the picture is stretched as the discs are.
    void repereLocal(double longitude, double latitude, double& estX, double& estY, double& nordX,
                     double& nordY) const override;

    // The point shown by the disc-1 pixel at offset (dx, dy) from the centre, with
    // dx² + dy² ≤ Rd², as a unit vector in the frame of the pole's meridian: x
    // towards that meridian on the equator, y 90° east of it, z to the North Pole.
    // Every conversion of a pixel into a point goes through it. The pixel (dx, −dy)
    // shows the point mirrored across the meridian (y negated, exactly).
    void pointDisque1(double dx, double dy, double& x, double& y, double& z) const;
    // The same from the two functions of the distance to the centre that it is
    // made of: f = sin(o) / s and g = cos(o), o = s / Rd · 90°, s = √(dx² + dy²).
    void anneau(double dx, double dy, double& f, double& g) const
    {
        // cos √u and sin √u / √u as their series in u = o², o ≤ π/2: thirteen
        // terms leave an error below 10⁻¹⁷, as exact as the library's functions and
        // several times cheaper.
        const double u = (dx * dx + dy * dy) * k2_;
        double cg = serieCos[12], cf = serieSin[12];
        for (int n = 11; n >= 0; --n) {
            cg = cg * u + serieCos[n];
            cf = cf * u + serieSin[n];
        }
        g = cg;
        f = cf * k_;
    }
    void pointDisque1(double dx, double dy, double f, double g, double& x, double& y, double& z) const
    {
        z = g * cosD_ + dx * f * sinD_;
        y = -dy * f;
        x = -g * sinD_ + dx * f * cosD_;
    }

private:
    static constexpr const double* serieCos = detail::serieCos;
    static constexpr const double* serieSin = detail::serieSin;

    int Hm_;
    int Rd_;
    double latPole_;
    double longPole_;
    double lambdaP_;           // longitude of the pole, radians
    double sinD_ = 0, cosD_ = 1; // D = latitude of the pole − 90°
    double k_ = 0, k2_ = 0;      // radians per pixel from a disc's centre, and its square
    double P_[3], S_[3], E_[3];  // the pole and its south and east directions
};

// The geographic longitude (degrees) brought into −180 … 180.
double longitudeDegres(double radians);

// --- The picture ---

// The polar picture of a plate carrée base map of any size, rolled by `decalage`
// degrees as the map's base picture is: every pixel of the two discs gets the
// colour of the base pixel nearest to the point it shows (the map's own
// transform), every other pixel transparent black (0). The rows are shared among
// `fils` threads (0: one per processor); the result does not depend on it. The
// centre of each disc is marked with an eight-spoke black star.
void construireImagePolaire(const TBitmap32& source, int decalage, const TProjectionPolaire& projection,
                            TBitmap32& image, int fils = 0);
// The eight 5-pixel spokes around (cx, cy), the centre itself left as it is.
void dessinerEtoile(TBitmap32& image, int cx, int cy);

// --- The layers over it ---

// The reference circle of the TailleCercle scroll bar: the layer cleared, then
// the small circle R pixels from the pole in opaque red, in disc 1 up to Rd and
// as the circle Hm − R about the antipode in disc 2 beyond. It is drawn for radii
// R − g … R + g, g = round(1 / echelleVue), so that it stays visible zoomed out;
// each of them goes to its own disc. False, and the layer left empty, when R is
// not inside 1 … Hm − 1 (no circle to draw).
bool dessinerCercleRepere(TBitmap32& calque, int Hm, int R, double echelleVue);

// The circles about the pole every 10° (up to the discs' edges) and the great
// circles through it every 30°, in both discs, with the distance written along
// the first spoke; lines about one screen pixel wide at the view's scale.
void dessinerCerclesPole(TBitmap32& calque, int Hm, double echelleVue);
constexpr TColor32 CouleurCerclesPole = 0xD0FFFFFF;
// How many radii on each side of a circle's own the two functions above draw at a
// view scale: a zoom that leaves them unchanged leaves the circles as they are.
int epaisseurCercleRepere(double echelleVue);
int epaisseurCerclesPole(double echelleVue);

// The map's display settings as the polar view uses them: thick symbols, no veil
// over the picture, no legend merged.
ReglagesAffichage reglagesPolaires(const ReglagesAffichage& carte);

// Vector scale (pixels per mm/an) and arrow thickness of a build from a base map
// `largeurSource` pixels wide: 1.5 and 2 up to the 3600-pixel map, 3.0 and 3 for
// the 7200-pixel one.
struct VecteursPolaires {
    double echelle = 1.5;
    int fleche = 2;
};
VecteursPolaires vecteursPolaires(int largeurSource);

// The three overlays, each into a layer of the projection's size.
void dessinerSeismesPolaires(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& carte,
                             const TProjectionPolaire& projection);
void dessinerVolcansPolaires(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& carte,
                             const TProjectionPolaire& projection);
void dessinerGPSPolaires(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& carte,
                         const ReferenceVecteurs& reference, const VecteursPolaires& vecteurs,
                         const TProjectionPolaire& projection);

// --- Zoom controls ---

// View scale of a zoom scroll-bar position, the position first brought into
// mini … maxi (never below 1): a scale the view can always draw.
double echelleDeZoom(int position, int mini, int maxi);
// The position that fits a picture `largeurImage` pixels wide into a client area
// `largeurClient` wide, within mini … maxi.
int positionZoomAjustee(int largeurClient, int largeurImage, int mini, int maxi);

} // namespace polaire
