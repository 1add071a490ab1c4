#include "map/grandcercle.h"

#include "map/projection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace carte {

namespace {

// cos and sin of the longitude of every pixel column of a map W pixels wide,
// computed once per width: arcs step through thousands of columns.
struct TablesColonnes {
    int W = 0;
    std::vector<double> cosL;
    std::vector<double> sinL;
};

const TablesColonnes& tablesColonnes(int W)
{
    static TablesColonnes t;
    if (t.W != W) {
        t.W = W;
        t.cosL.resize(static_cast<std::size_t>(W) + 1);
        t.sinL.resize(static_cast<std::size_t>(W) + 1);
        for (int x = 0; x <= W; ++x) {
            const double l = (x - W / 2.0) / W * 2.0 * M_PI;
            t.cosL[static_cast<std::size_t>(x)] = std::cos(l);
            t.sinL[static_cast<std::size_t>(x)] = std::sin(l);
        }
    }
    return t;
}

// Calls piece(x1, y1, x2, y2) for each straight piece of the shorter arc, in order.
//
// When the ends lie more than 180° of longitude apart on the shifted map, the
// shorter arc leaves the map by one side and comes back by the other: the second
// end is then taken one map width beyond that side, the arc is stepped towards it
// as if the map went on, and each piece is drawn where it lies and again one map
// width back, so that what lies beyond the side shows at the opposite side.
//
// Two exactly antipodal ends have no shorter arc: they are drawn without crossing
// the side of the map, over the North Pole (or along the equator when both are
// on it).
template <class F>
void parcourirGrandCercle(const TSegmentGeo& s, int W, int H, int decalage, F&& piece)
{
    if (W <= 0 || H <= 0)
        return;
    const PointCarte p1 = geoVersCarte(s.Lon1, s.Lat1, W, H, decalage);
    const PointCarte p2 = geoVersCarte(s.Lon2, s.Lat2, W, H, decalage);
    const double rad = M_PI / 180.0;
    const double l1 = longitudeDecalee(s.Lon1, decalage);
    const double l2 = longitudeDecalee(s.Lon2, decalage);
    const double ecart = l2 - l1;
    int x2 = p2.x; // the second end as the stepping reaches it
    int report = 0; // where the pieces are drawn again: +W, -W or nowhere
    if (ecart > 180) {
        x2 -= W;
        report = W;
    } else if (ecart < -180) {
        x2 += W;
        report = -W;
    }
    auto morceau = [&](int xa, int ya, int xb, int yb) {
        if (report == 0) {
            piece(xa, ya, xb, yb);
            return;
        }
        const int gauche = std::min(xa, xb), droite = std::max(xa, xb);
        if (droite >= -2 && gauche <= W + 2)
            piece(xa, ya, xb, yb);
        if (report != 0 && droite + report >= -2 && gauche + report <= W + 2)
            piece(xa + report, ya, xb + report, yb);
    };

    if (std::abs(p1.x - x2) <= 14 || (std::fabs(s.Lat1) < 1 && std::fabs(s.Lat2) < 1)) {
        morceau(p1.x, p1.y, x2, p2.y);
        return;
    }
    if (std::fabs(s.Lat2) > 89) {
        morceau(p1.x, p1.y, x2, p2.y);
        return;
    }
    if (std::fabs(s.Lat1) > 89) {
        morceau(x2, p1.y, x2, p2.y);
        return;
    }

    // The great circle is the plane through the centre whose points satisfy
    // tan(lat) = -(N cos(lon) + M sin(lon)), longitudes counted with the shift.
    const double f1 = s.Lat1 * rad;
    const double f2 = s.Lat2 * rad;
    const double a1 = std::cos(f1) * std::cos(l1 * rad), b1 = std::cos(f1) * std::sin(l1 * rad), c1 = std::sin(f1);
    const double a2 = std::cos(f2) * std::cos(l2 * rad), b2 = std::cos(f2) * std::sin(l2 * rad), c2 = std::sin(f2);
    const double det = a1 * b2 - a2 * b1;
    if (std::fabs(det) < 1e-9) {
        // Both ends on one meridian circle: the arc runs over the nearer pole.
        const int yPole = (s.Lat1 + s.Lat2 >= 0) ? 0 : H;
        piece(p1.x, p1.y, p1.x, yPole);
        piece(p2.x, yPole, p2.x, p2.y);
        return;
    }
    const double N = (-c1 * b2 + c2 * b1) / det;
    const double M = (-a1 * c2 + a2 * c1) / det;

    const TablesColonnes& t = tablesColonnes(W);
    const int pas = x2 > p1.x ? 1 : -1;
    // Consecutive one-column steps that climb by the same number of rows lie on
    // one straight line: they are drawn as one piece.
    int xa = p1.x, ya = p1.y; // start of the pending piece
    int xp = p1.x, yp = p1.y; // its end
    int dyPiece = 0;
    bool enAttente = false;
    // Columns beyond the sides are those of the same longitudes on the map: the
    // table column follows x, brought back by a whole width when it leaves.
    int colonne = ((p1.x % W) + W) % W;
    for (int x = p1.x + pas; x != x2; x += pas) {
        colonne += pas;
        if (colonne >= W)
            colonne -= W;
        else if (colonne < 0)
            colonne += W;
        const std::size_t i = static_cast<std::size_t>(colonne);
        const double phi = std::atan(-(N * t.cosL[i] + M * t.sinL[i]));
        const int y = arrondi(H / 2.0 - phi / M_PI * H);
        if (enAttente && y - yp == dyPiece) {
            xp = x;
            yp = y;
            continue;
        }
        if (enAttente) {
            morceau(xa, ya, xp, yp);
            xa = xp;
            ya = yp;
        }
        dyPiece = y - yp;
        xp = x;
        yp = y;
        enAttente = true;
    }
    if (enAttente)
        morceau(xa, ya, xp, yp);
    morceau(xp, yp, x2, p2.y);
}

// Bounding boxes of runs of consecutive pieces.
class Zones {
public:
    explicit Zones(std::vector<QRect>* sortie) : sortie_(sortie) {}
    ~Zones() { vider(); }
    void ajouter(int x1, int y1, int x2, int y2)
    {
        const QRect r(QPoint(std::min(x1, x2) - 2, std::min(y1, y2) - 2),
                      QPoint(std::max(x1, x2) + 2, std::max(y1, y2) + 2));
        total_ |= r;
        if (!sortie_)
            return;
        courant_ |= r;
        if (++n_ == 16)
            vider();
    }
    QRect total() const { return total_; }

private:
    void vider()
    {
        if (sortie_ && !courant_.isEmpty())
            sortie_->push_back(courant_);
        courant_ = {};
        n_ = 0;
    }
    std::vector<QRect>* sortie_;
    QRect courant_;
    QRect total_;
    int n_ = 0;
};

} // namespace

std::vector<QLineF> piecesGrandCercle(const TSegmentGeo& s, int W, int H, int decalage)
{
    std::vector<QLineF> pieces;
    parcourirGrandCercle(s, W, H, decalage,
                         [&pieces](int x1, int y1, int x2, int y2) { pieces.emplace_back(x1, y1, x2, y2); });
    return pieces;
}

QRect regionPieces(const std::vector<QLineF>& pieces)
{
    if (pieces.empty())
        return {};
    double x0 = pieces[0].x1(), x1 = x0, y0 = pieces[0].y1(), y1 = y0;
    for (const QLineF& l : pieces) {
        x0 = std::min({x0, l.x1(), l.x2()});
        x1 = std::max({x1, l.x1(), l.x2()});
        y0 = std::min({y0, l.y1(), l.y2()});
        y1 = std::max({y1, l.y1(), l.y2()});
    }
    return QRect(QPoint(static_cast<int>(std::floor(x0)) - 2, static_cast<int>(std::floor(y0)) - 2),
                 QPoint(static_cast<int>(std::ceil(x1)) + 2, static_cast<int>(std::ceil(y1)) + 2));
}

QRect zonesLigne(double x1, double y1, double x2, double y2, std::vector<QRect>& zones)
{
    const double longueur = std::max(std::fabs(x2 - x1), std::fabs(y2 - y1));
    const int n = std::max(1, static_cast<int>(std::ceil(longueur / 32)));
    QRect total;
    for (int i = 0; i < n; ++i) {
        const double ax = x1 + (x2 - x1) * i / n, ay = y1 + (y2 - y1) * i / n;
        const double bx = x1 + (x2 - x1) * (i + 1) / n, by = y1 + (y2 - y1) * (i + 1) / n;
        const QRect r(QPoint(static_cast<int>(std::floor(std::min(ax, bx))) - 2,
                             static_cast<int>(std::floor(std::min(ay, by))) - 2),
                      QPoint(static_cast<int>(std::ceil(std::max(ax, bx))) + 2,
                             static_cast<int>(std::ceil(std::max(ay, by))) + 2));
        zones.push_back(r);
        total |= r;
    }
    return total;
}

QRect TraceGrandCercle(const TSegmentGeo& s, TColor32 couleur, TBitmap32& cible, int decalage,
                       std::vector<QRect>* zones)
{
    Zones z(zones);
    // The large maps are shown shrunk to the window: a second line one pixel
    // aside keeps the arc continuous on the screen (inside the zones' margin).
    const bool epais = cible.width() >= 1800;
    parcourirGrandCercle(s, cible.width(), cible.height(), decalage, [&](int x1, int y1, int x2, int y2) {
        cible.lineAA(x1, y1, x2, y2, couleur);
        if (epais) {
            const bool plat = std::abs(x2 - x1) >= std::abs(y2 - y1);
            cible.lineAA(x1 + !plat, y1 + plat, x2 + !plat, y2 + plat, couleur);
        }
        z.ajouter(x1, y1, x2, y2);
    });
    return z.total() & cible.boundsRect();
}

int longueurTrajet(const std::vector<QPointF>& lonLat)
{
    int total = 0;
    for (std::size_t i = 1; i < lonLat.size(); ++i)
        total += distanceGrandCercle(lonLat[i - 1].x(), lonLat[i - 1].y(), lonLat[i].x(), lonLat[i].y());
    return total;
}

bool loupeProposee(const BornesSelection& b)
{
    return std::abs(b.Lon1 - b.Lon2) > 40 && std::abs(b.Lat1 - b.Lat2) > 40;
}

ResultatLoupe calculerLoupe(const BornesSelection& zone, bool relacheAGauche, double echelleMin,
                            double echelleMax, int largeurClient, int hauteurClient, int H)
{
    ResultatLoupe r;
    int ouest = zone.Lon1;
    int est = zone.Lon2;
    if (relacheAGauche)
        std::swap(ouest, est);
    if (est < ouest)
        est += 360;
    r.ouest = ouest;
    r.est = est;
    r.sud = std::min(zone.Lat1, zone.Lat2);
    r.nord = std::max(zone.Lat1, zone.Lat2);

    const int milieu = ramenerLongitude((ouest + est) / 2); // integer mean, truncated
    r.decalage = -milieu;

    const int dLat = std::max(1, r.nord - r.sud);
    const int dLon = std::max(1, est - ouest);
    const double proportionsFenetre =
        largeurClient > 0 ? static_cast<double>(hauteurClient) / largeurClient : 0.5;
    if (static_cast<double>(dLat) / dLon > proportionsFenetre) {
        r.zoom = echelleMin * 180.0 / dLat;
    } else {
        // A zone wider than the window: its longitude span fills the window's width
        // (the whole map, 360°, fills it at echelleMin), so its latitude span, in
        // the window's proportions or less, fits the height too.
        r.zoom = echelleMin * 360.0 / dLon;
    }
    r.zoom = std::max(echelleMin, std::min(r.zoom, echelleMax));
    r.centreY = H / 2.0 - ((r.nord + r.sud) / 2.0) / 180.0 * H;
    return r;
}

bool coupeAcceptee(const BornesSelection& b)
{
    return std::abs(b.Lon1 - b.Lon2) > 19 || std::abs(b.Lat1 - b.Lat2) >= 20;
}

BornesSelection ordonnerBornesCoupe(BornesSelection b, int f)
{
    // The two ends are exchanged as wholes so that each latitude stays with its
    // longitude.
    auto echanger = [&b] {
        std::swap(b.Lon1, b.Lon2);
        std::swap(b.Lat1, b.Lat2);
    };
    if (b.Lon1 > b.Lon2)
        echanger();
    if (b.Lon2 > 90 * f && b.Lon1 < -90 * f) {
        echanger();
        b.Lon2 += 360 * f;
    }
    return b;
}

} // namespace carte
