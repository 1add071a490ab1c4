#include "section/construction.h"

#include "data/longitude.h"
#include "map/grille.h"
#include "ui/arrondi.h"

#include <algorithm>
#include <cmath>

namespace coupe {

namespace {

constexpr double Rad = M_PI / 180.0;

// A longitude taken round the globe into [milieu - 180, milieu + 180).
double autourDe(double lon, double milieu)
{
    const double bas = milieu - 180.0;
    // Nearly every record needs at most one turn.
    if (lon < bas)
        lon += 360.0;
    else if (lon >= bas + 360.0)
        lon -= 360.0;
    if (lon < bas || lon >= bas + 360.0) {
        if (!std::isfinite(lon))
            return lon;
        double r = std::fmod(lon - bas, 360.0);
        if (r < 0)
            r += 360.0;
        lon = bas + r;
    }
    return lon;
}

// Grid indices of a map pixel. The products are formed before the divisions so
// that a pixel lying exactly between two nodes gives an exact half whatever the
// map's shift: the same place then reads the same node on a shifted map.
int ligneDe(const CarteCoupe& c, int y, int f)
{
    return arrondi(((c.H / 2.0 - y) * 180.0 * f) / c.H);
}

int colonneDe(const CarteCoupe& c, int x, int f)
{
    const int col = ramenerLongitude(
        arrondi(((x - c.W / 2.0) * 360.0 * f) / c.W - static_cast<double>(c.decalage) * f), 180 * f);
    // The 180° meridian is read in one column, whichever side of the map it shows on.
    return col == -180 * f ? 180 * f : col;
}

} // namespace

int pointsParDegre(const CarteCoupe& c)
{
    return c.grille && c.grille->f() > 0 ? c.grille->f() : 6;
}

double pasKm(const CarteCoupe& c)
{
    const int m = c.grille && c.grille->M() > 0 ? c.grille->M() : 10;
    return m * 1.85185;
}

int AltitudeAuPoint(const CarteCoupe& c, int x, int y)
{
    if (c.W <= 0 || c.H <= 0 || !c.grille)
        return 0;
    const int f = pointsParDegre(c);
    const int lat = ligneDe(c, y, f);
    const int lon = colonneDe(c, x, f);
    if (std::abs(lon) > 180 * f || std::abs(lat) > 90 * f)
        return 0;
    return c.grille->altitude(lat, lon);
}

LigneCoupe ligneDepuisPixels(QPoint appui, QPoint pointeur, const CarteCoupe& c)
{
    LigneCoupe l;
    if (c.W <= 0 || c.H <= 0)
        return l;
    const int f = pointsParDegre(c);
    struct Bout {
        QPoint p;
        int lat, lon;
    };
    Bout a{appui, ligneDe(c, appui.y(), f), colonneDe(c, appui.x(), f)};
    Bout b{pointeur, ligneDe(c, pointeur.y(), f), colonneDe(c, pointeur.x(), f)};
    // West to east; ends beyond 90° on either side are read as a line across the
    // 180° meridian, whose east end goes beyond 180°. A north-south line starts in
    // the south, where the distances along it start.
    if (a.lon > b.lon)
        std::swap(a, b);
    if (b.lon > 90 * f && a.lon < -90 * f) {
        std::swap(a, b);
        b.lon += 360 * f;
    }
    if (a.lon == b.lon && a.lat > b.lat)
        std::swap(a, b);
    l.bornes.Lat1 = a.lat;
    l.bornes.Lon1 = a.lon;
    l.bornes.Lat2 = b.lat;
    l.bornes.Lon2 = b.lon;
    l.debut = a.p;
    l.fin = b.p;
    // The east end's pixel as seen from the west end along the section's path: when
    // the path crosses a side of the map, a whole map width away from where it shows.
    const double attendu = (b.lon - a.lon) / static_cast<double>(f) / 360.0 * c.W;
    const int tours = arrondi((attendu - (l.fin.x() - l.debut.x())) / c.W);
    l.fin.rx() += tours * c.W;
    return l;
}

int NombreIntervalles(const carte::BornesSelection& b, int f)
{
    const double dLon = std::abs(static_cast<double>(b.Lon2) - b.Lon1);
    const double lat1 = b.Lat1, lat2 = b.Lat2;
    if (lat1 * lat2 > 0 || (lat1 == 0 && lat2 == 0)) {
        // Both ends on one side of the equator (or both on it): the longitude span
        // shrunk at the mean latitude.
        const double phi = (lat1 + lat2) / (2.0 * f) * Rad;
        const double dx = dLon * std::cos(phi);
        return arrondi(std::sqrt(dx * dx + (lat2 - lat1) * (lat2 - lat1)));
    }
    // Across the equator: two legs sharing the longitude span in proportion to
    // their latitudes, each shrunk at its middle latitude.
    const double somme = std::abs(lat1) + std::abs(lat2);
    double longueur = 0;
    for (const double lat : {lat1, lat2}) {
        const double dx = dLon * std::abs(lat) / somme * std::cos(lat / (2.0 * f) * Rad);
        longueur += std::sqrt(dx * dx + lat * lat);
    }
    return arrondi(longueur);
}

double TBande::u(double lon, double lat) const
{
    return lon * std::cos(angle) + lat * std::sin(angle);
}

double TBande::v(double lon, double lat) const
{
    return lat * std::cos(angle) - lon * std::sin(angle);
}

double TBande::longitudeProche(double lon) const
{
    return autourDe(lon, (lon1 + lon2) / 2.0);
}

TBande CalculerBande(double lat1, double lon1, double lat2, double lon2, double demiLargeur)
{
    TBande b;
    b.lat1 = lat1;
    b.lon1 = lon1;
    b.lat2 = lat2;
    b.lon2 = lon2;
    b.demiLargeur = demiLargeur;
    b.angle = lon1 != lon2 ? std::atan((lat2 - lat1) / (lon2 - lon1)) : M_PI / 2;
    b.u1 = b.u(lon1, lat1);
    b.u2 = b.u(lon2, lat2);
    b.v1 = b.v(lon1, lat1);
    b.uMin = std::min(b.u1, b.u2);
    b.uMax = std::max(b.u1, b.u2);
    return b;
}

TBande CalculerBande(const carte::BornesSelection& s, int f, double demiLargeur)
{
    return CalculerBande(s.Lat1 / static_cast<double>(f), s.Lon1 / static_cast<double>(f),
                         s.Lat2 / static_cast<double>(f), s.Lon2 / static_cast<double>(f), demiLargeur);
}

namespace {

// A map line given in unrolled pixels: drawn where it shows, and once more a map
// width away for the piece beyond a side.
QRect ligneCarte(QPointF a, QPointF b, TBitmap32& cible, TColor32 couleur, std::vector<QRect>* zones)
{
    const int W = cible.width();
    QRect r;
    if (W <= 0 || cible.height() <= 0)
        return r;
    const double decale = std::floor(a.x() / W) * W;
    a.rx() -= decale;
    b.rx() -= decale;
    // Large maps are shown shrunk: a second line one pixel further right and down
    // keeps every side on the screen, as the rubber line does.
    const int traits = W >= 1800 ? 2 : 1;
    std::vector<QRect> locales;
    for (const double dx : {0.0, -static_cast<double>(W), static_cast<double>(W)}) {
        const double xa = a.x() + dx, xb = b.x() + dx;
        if (std::max(xa, xb) < -2 || std::min(xa, xb) > W + 2)
            continue;
        for (int t = 0; t < traits; ++t)
            cible.lineAA(xa + t, a.y() + t, xb + t, b.y() + t, couleur);
        r |= carte::zonesLigne(xa, a.y(), xb, b.y(), locales); // its margin covers the second line
    }
    if (zones)
        zones->insert(zones->end(), locales.begin(), locales.end());
    return r & cible.boundsRect();
}

QPointF pixelDeroule(double lon, double lat, int W, int H, int decalage)
{
    // Continuous in longitude: no reduction, so a band's corners stay together.
    return QPointF(arrondi((lon + decalage) / 360.0 * W + W / 2.0), arrondi(H / 2.0 - lat / 180.0 * H));
}

} // namespace

QRect TracerBande(const TBande& b, TBitmap32& cible, TColor32 couleur, int decalage, std::vector<QRect>* zones)
{
    const int W = cible.width(), H = cible.height();
    if (W <= 0 || H <= 0)
        return {};
    const double dx = b.demiLargeur * std::sin(b.angle), dy = b.demiLargeur * std::cos(b.angle);
    const QPointF a1 = pixelDeroule(b.lon1 - dx, b.lat1 + dy, W, H, decalage);
    const QPointF c1 = pixelDeroule(b.lon1 + dx, b.lat1 - dy, W, H, decalage);
    const QPointF a2 = pixelDeroule(b.lon2 - dx, b.lat2 + dy, W, H, decalage);
    const QPointF c2 = pixelDeroule(b.lon2 + dx, b.lat2 - dy, W, H, decalage);
    QRect r;
    r |= ligneCarte(a1, a2, cible, couleur, zones);
    r |= ligneCarte(c1, c2, cible, couleur, zones);
    r |= ligneCarte(a1, c1, cible, couleur, zones);
    r |= ligneCarte(a2, c2, cible, couleur, zones);
    return r;
}

TBande BandeConservee(const carte::TCoupeGardee& t)
{
    double lat1 = t.Lat1, lon1 = t.Lon1, lat2 = t.Lat2, lon2 = t.Lon2;
    auto echanger = [&] {
        std::swap(lat1, lat2);
        std::swap(lon1, lon2);
    };
    if (lon1 > lon2)
        echanger();
    if (lon2 > 90 && lon1 < -90) {
        echanger();
        lon2 += 360;
    }
    if (lon1 == lon2 && lat1 > lat2)
        echanger();
    return CalculerBande(lat1, lon1, lat2, lon2, t.DemiLargeur);
}

QRect TracerCoupeConservee(const carte::TCoupeGardee& trace, TBitmap32& cible, TColor32 couleurBande,
                           TColor32 couleurLigne, int decalage, std::vector<QRect>* zones)
{
    const int W = cible.width(), H = cible.height();
    if (W <= 0 || H <= 0)
        return {};
    const TBande b = BandeConservee(trace);
    QRect r = TracerBande(b, cible, couleurBande, decalage, zones);
    r |= ligneCarte(pixelDeroule(b.lon1, b.lat1, W, H, decalage), pixelDeroule(b.lon2, b.lat2, W, H, decalage),
                    cible, couleurLigne, zones);
    return r;
}

void ProjeterPoints(TBitmapSIG& s, const TBande& b, int N, const CarteCoupe& c)
{
    s.seismes.clear();
    s.magnitudes_seismes.clear();
    s.volcans.clear();
    const double etendue = b.uMax - b.uMin;
    if (!(etendue > 0) || N < 0)
        return;
    const double facteur = N * pasKm(c) / etendue;
    const double vMin = b.v1 - b.demiLargeur, vMax = b.v1 + b.demiLargeur;
    const double cosA = std::cos(b.angle), sinA = std::sin(b.angle);
    const double milieu = (b.lon1 + b.lon2) / 2.0;
    auto proche = [milieu](double lon) { return autourDe(lon, milieu); };
    if (c.seismes) {
        const float mini = static_cast<float>(c.magnitudeMini);
        for (const TSeisme& q : *c.seismes) {
            if (!(q.Magnitude > mini))
                continue;
            const double lon = proche(q.Longitude), lat = q.Latitude;
            const double u = lon * cosA + lat * sinA;
            if (u < b.uMin || u > b.uMax)
                continue;
            const double v = lat * cosA - lon * sinA;
            if (v < vMin || v > vMax)
                continue;
            s.seismes.push_back({(u - b.uMin) * facteur, arrondi(q.Profondeur * 1000.0)});
            s.magnitudes_seismes.push_back(q.Magnitude);
        }
    }
    if (c.volcans) {
        for (const TVolcan& vo : *c.volcans) {
            const double lon = proche(vo.Longitude), lat = vo.Latitude;
            const double u = lon * cosA + lat * sinA;
            if (u < b.uMin || u > b.uMax)
                continue;
            const double v = lat * cosA - lon * sinA;
            // The band's width does not apply to volcanoes: those near the line only.
            if (std::fabs(v - b.v1) > 1.0)
                continue;
            s.volcans.push_back({(u - b.uMin) * facteur, arrondi(vo.Altitude)});
        }
    }
}

void Echantillonner(TBitmapSIG& s, const LigneCoupe& l, int N, const CarteCoupe& c)
{
    s.profil.clear();
    if (N < 0)
        return;
    const double pas = pasKm(c);
    const int dx = l.fin.x() - l.debut.x(), dy = l.fin.y() - l.debut.y();
    s.profil.reserve(static_cast<std::size_t>(N) + 1);
    for (int i = 0; i <= N; ++i) {
        const int x = N > 0 ? l.debut.x() + arrondi(static_cast<double>(i) * dx / N) : l.debut.x();
        const int y = N > 0 ? l.debut.y() + arrondi(static_cast<double>(i) * dy / N) : l.debut.y();
        s.profil.push_back({i * pas, AltitudeAuPoint(c, x, y)});
    }
}

ResultatCoupe ConstruireCoupe(TBitmapSIG& s, const LigneCoupe& l, double demiLargeur, const CarteCoupe& c)
{
    ResultatCoupe r;
    const int f = pointsParDegre(c);
    r.N = NombreIntervalles(l.bornes, f);
    r.bande = CalculerBande(l.bornes, f, demiLargeur);
    ProjeterPoints(s, r.bande, r.N, c);
    Echantillonner(s, l, r.N, c);
    return r;
}

} // namespace coupe
