#include "projections/polaire.h"

#include "data/longitude.h"
#include "ui/arrondi.h"

#include <QFont>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace polaire {

namespace {

constexpr double kRad = M_PI / 180.0;

double borne(double v, double lo, double hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// Round to the nearest integer, ties to even, for values well inside the int
// range (pixel coordinates of the pictures): the classic addition of 1.5 · 2^52,
// which leaves the rounding to the processor's default mode without a library call.
inline int arrondiPixel(double v)
{
    constexpr double magique = 6755399441055744.0;
    return static_cast<int>((v + magique) - magique);
}

} // namespace

double longitudeDegres(double radians)
{
    return ramenerLongitude(radians / kRad);
}

TProjectionPolaire::TProjectionPolaire(int Hm, double latitudePole, double longitudePole)
    : Hm_(std::max(0, Hm)), Rd_(std::max(0, Hm) / 2), latPole_(borne(latitudePole, -90, 90)),
      longPole_(ramenerLongitude(longitudePole))
{
    const double phi = latPole_ * kRad;
    lambdaP_ = longPole_ * kRad;
    k_ = Rd_ > 0 ? (M_PI / 2) / Rd_ : 0;
    k2_ = k_ * k_;
    const double D = phi - M_PI / 2;
    sinD_ = std::sin(D);
    cosD_ = std::cos(D);
    const double sp = std::sin(phi), cp = std::cos(phi), sl = std::sin(lambdaP_), cl = std::cos(lambdaP_);
    P_[0] = cp * cl;
    P_[1] = cp * sl;
    P_[2] = sp;
    S_[0] = sp * cl;
    S_[1] = sp * sl;
    S_[2] = -cp;
    E_[0] = -sl;
    E_[1] = cl;
    E_[2] = 0;
}

void TProjectionPolaire::pointDisque1(double dx, double dy, double& x, double& y, double& z) const
{
    double f, g;
    anneau(dx, dy, f, g);
    pointDisque1(dx, dy, f, g, x, y, z);
}

bool TProjectionPolaire::PointPolaire(double x, double y, PointGeo& g) const
{
    if (!std::isfinite(x) || !std::isfinite(y) || Hm_ <= 0)
        return false;
    const bool disque2 = x > Hm_;
    const double dx = x - centreX(disque2 ? 2 : 1);
    const double dy = y - Rd_;
    if (dx * dx + dy * dy > static_cast<double>(Rd_) * Rd_)
        return false;
    // A pixel of disc 2 shows the antipode of the pixel of disc 1 mirrored top to
    // bottom.
    double px, py, pz;
    pointDisque1(dx, disque2 ? -dy : dy, px, py, pz);
    double lat = std::atan2(pz, std::sqrt(px * px + py * py));
    double lon = lambdaP_ + std::atan2(py, px);
    if (disque2) {
        lat = -lat;
        lon += M_PI;
    }
    g.latitude = lat / kRad;
    g.longitude = longitudeDegres(lon);
    return true;
}

bool TProjectionPolaire::positionReelle(double longitude, double latitude, double& x, double& y, int* disque) const
{
    if (!std::isfinite(longitude) || !std::isfinite(latitude) || Hm_ <= 0)
        return false;
    const double phi = latitude * kRad, lam = longitude * kRad;
    const double G[3] = {std::cos(phi) * std::cos(lam), std::cos(phi) * std::sin(lam), std::sin(phi)};
    const double c = G[0] * P_[0] + G[1] * P_[1] + G[2] * P_[2];
    const double a = G[0] * S_[0] + G[1] * S_[1] + G[2] * S_[2];
    const double b = G[0] * E_[0] + G[1] * E_[1];
    const double delta = std::atan2(std::sqrt(a * a + b * b), c);
    const double v = std::atan2(b, a);
    const double k = 2.0 * Rd_ / M_PI;
    if (delta <= M_PI / 2) {
        const double rho = delta * k;
        x = Rd_ + rho * std::cos(v);
        y = Rd_ - rho * std::sin(v);
        if (disque)
            *disque = 1;
    } else {
        const double rho = (M_PI - delta) * k;
        x = Hm_ + Rd_ - rho * std::cos(v);
        y = Rd_ - rho * std::sin(v);
        if (disque)
            *disque = 2;
    }
    return true;
}

carte::PointCarte TProjectionPolaire::ProjeterPolaire(double longitude, double latitude) const
{
    double x, y;
    if (!positionReelle(longitude, latitude, x, y))
        return {-1, -1};
    return {arrondi(x), arrondi(y)};
}

bool TProjectionPolaire::versPixel(double longitude, double latitude, carte::PointCarte& p) const
{
    p = ProjeterPolaire(longitude, latitude);
    return p.x >= 0 && p.y >= 0;
}

bool TProjectionPolaire::versPosition(double x, double y, carte::PositionGeo& g) const
{
    PointGeo p;
    if (!PointPolaire(x, y, p))
        return false;
    g.latitude = p.latitude;
    g.longitude = p.longitude;
    return true;
}

void TProjectionPolaire::repereLocal(double longitude, double latitude, double& estX, double& estY, double& nordX,
                                     double& nordY) const
{
    estX = 1;
    estY = 0;
    nordX = 0;
    nordY = -1;
    if (!std::isfinite(longitude) || !std::isfinite(latitude))
        return;
    const double phi = latitude * kRad, lam = longitude * kRad;
    const double sp = std::sin(phi), cp = std::cos(phi), sl = std::sin(lam), cl = std::cos(lam);
    const double G[3] = {cp * cl, cp * sl, sp};
    const double est[3] = {-sl, cl, 0};
    const double nord[3] = {-sp * cl, -sp * sl, cp};
    auto scal = [](const double* u, const double* w) { return u[0] * w[0] + u[1] * w[1] + u[2] * w[2]; };
    const double c = scal(G, P_), a = scal(G, S_), b = scal(G, E_);
    const double sinDelta = std::sqrt(a * a + b * b);
    const double delta = std::atan2(sinDelta, c);
    const bool disque2 = delta > M_PI / 2;

    // Picture displacement of a unit step t, in pixels of the distance scale
    // (2 Rd / π per radian).
    auto image = [&](const double* t, double& px, double& py) {
        const double dc = scal(t, P_), da = scal(t, S_), db = scal(t, E_);
        if (sinDelta < 1e-9) {
            // At the pole (or its antipode) the discs are locally the tangent plane.
            px = disque2 ? -da : da;
            py = -db;
            return;
        }
        const double cv = a / sinDelta, sv = b / sinDelta;
        const double dDelta = -dc / sinDelta;
        const double dv = (a * db - b * da) / (sinDelta * sinDelta);
        if (!disque2) {
            px = dDelta * cv - delta * dv * sv;
            py = -dDelta * sv - delta * dv * cv;
        } else {
            px = dDelta * cv + (M_PI - delta) * dv * sv;
            py = dDelta * sv - (M_PI - delta) * dv * cv;
        }
    };
    image(est, estX, estY);
    image(nord, nordX, nordY);
}

// --- The picture ---

void dessinerEtoile(TBitmap32& image, int cx, int cy)
{
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        for (int t = 1; t <= 5; ++t)
            image.setPixelS(cx + arrondi(t * std::cos(a)), cy - arrondi(t * std::sin(a)), clBlack32);
    }
}

namespace {

// How the points of the discs are looked up in the base map: the map's transform
// (column l / 360 · W + W / 2 of the longitude l shifted by the map's shift, row
// (90° − latitude) / 180 · H), applied to a point given as a unit vector in the
// frame of the pole's meridian.
class Echantillonnage {
public:
    Echantillonnage(const TBitmap32& source, int decalage, const TProjectionPolaire& projection)
        : src_(source.bits()), W_(source.width()), H_(source.height()), parRadianX_(W_ / (2 * M_PI)),
          parRadianY_(H_ / M_PI),
          origineX_((decalage / 360.0 + 0.5) * W_ + projection.longitudePole() * kRad * parRadianX_)
    {
        // Row r takes the colatitudes (r − ½ … r + ½) · π / H: the points whose
        // height z lies in (seuils[r + 1], seuils[r]].
        seuils_.resize(static_cast<std::size_t>(H_) + 2);
        seuils_[0] = HUGE_VAL;
        seuils_[static_cast<std::size_t>(H_) + 1] = -HUGE_VAL;
        for (int r = 1; r <= H_; ++r)
            seuils_[static_cast<std::size_t>(r)] = std::cos((r - 0.5) * M_PI / H_);
        // Column c takes the directions from the one of the boundary c − 1 to the
        // one of the boundary c, at c ± ½.
        bordX_.resize(static_cast<std::size_t>(W_));
        bordY_.resize(static_cast<std::size_t>(W_));
        for (int c = 0; c < W_; ++c) {
            const double a = (c + 0.5 - origineX_) / parRadianX_;
            bordX_[static_cast<std::size_t>(c)] = std::cos(a);
            bordY_[static_cast<std::size_t>(c)] = std::sin(a);
        }
    }

    int W() const { return W_; }
    int H() const { return H_; }
    TColor32 pixel(int ligne, int colonne) const
    {
        return src_[static_cast<std::size_t>(ligne) * static_cast<std::size_t>(W_) + static_cast<std::size_t>(colonne)];
    }
    // The unclamped row (0 … H) of the height z, and the row to read for it and for
    // its antipode.
    int rangExact(double z) const { return arrondiPixel(std::acos(borne(z, -1, 1)) * parRadianY_); }
    int ligne(int rang) const { return rang >= H_ ? H_ - 1 : rang; }
    int ligneAntipode(int rang) const { return std::clamp(H_ - rang, 0, H_ - 1); }
    // From the row of a nearby point: a step or two.
    int rangDepuis(int rang, double z) const
    {
        while (z <= seuils_[static_cast<std::size_t>(rang) + 1])
            ++rang;
        while (z > seuils_[static_cast<std::size_t>(rang)])
            --rang;
        return rang;
    }
    // Column of the direction (x, y), half a turn further for the antipode.
    int colonneExacte(double x, double y, bool antipode = false) const
    {
        // Brought into 0 … W before rounding, as the map's transform does with the
        // longitude, so that halves round alike.
        double c = origineX_ + std::atan2(y, x) * parRadianX_ + (antipode ? W_ / 2.0 : 0);
        while (c < 0)
            c += W_;
        while (c > W_)
            c -= W_;
        const int n = arrondiPixel(c);
        return n >= W_ ? n - W_ : n;
    }
    // From the column of a nearby direction, walking across the column boundaries
    // (round the seam). A far jump (next to a geographic pole) is computed.
    int colonneDepuis(int c, double x, double y) const
    {
        for (int pas = 0; pas < 8; ++pas) {
            if (bordX_[static_cast<std::size_t>(c)] * y - bordY_[static_cast<std::size_t>(c)] * x >= 0) {
                c = c + 1 == W_ ? 0 : c + 1;
                continue;
            }
            const int b = c == 0 ? W_ - 1 : c - 1;
            if (bordX_[static_cast<std::size_t>(b)] * y - bordY_[static_cast<std::size_t>(b)] * x < 0) {
                c = b;
                continue;
            }
            return c;
        }
        return colonneExacte(x, y);
    }
    int demiTour(int c) const
    {
        c += W_ / 2;
        return c >= W_ ? c - W_ : c;
    }

private:
    const TColor32* src_;
    int W_, H_;
    double parRadianX_, parRadianY_, origineX_;
    std::vector<double> seuils_;
    std::vector<double> bordX_, bordY_;
};

// Half-width of the discs at the row dy from their centre.
int demiLargeur(int Rd, int dy)
{
    const double R2 = static_cast<double>(Rd) * Rd;
    return static_cast<int>(std::floor(std::sqrt(std::max(0.0, R2 - static_cast<double>(dy) * dy))));
}

// The pixels of the rows Rd ± dy that neither disc covers.
void viderHorsDisques(const TProjectionPolaire& pr, TColor32* sortie, int dy)
{
    const int Hm = pr.Hm(), Rd = pr.rayon(), L = 2 * Hm, m = demiLargeur(Rd, dy);
    for (int y : {Rd - dy, Rd + dy}) {
        if (y < 0 || y >= Hm)
            continue;
        TColor32* l = sortie + static_cast<std::size_t>(y) * static_cast<std::size_t>(L);
        std::fill(l, l + std::max(0, Rd - m), 0u);
        std::fill(l + std::min(L, Rd + m + 1), l + std::min(L, std::max(Rd + m + 1, Hm + Rd - m)), 0u);
        std::fill(l + std::min(L, Hm + Rd + m + 1), l + L, 0u);
    }
}

// The pixels dxa … dxb (and −dxa … −dxb) of the rows Rd − dy and Rd + dy of both
// discs. Each pixel (dx, dy) of disc 1 gives four: itself, (dx, −dy) mirrored
// across the pole's meridian, and their antipodes in disc 2; the pixels (±dx, dy)
// share their distance to the centre. `suivi`: rows and columns followed from one
// pixel to the next (an even W, the antipode half a turn of whole columns away);
// otherwise each is computed.
template <bool suivi>
void segmentPolaire(const TProjectionPolaire& pr, const Echantillonnage& e, TColor32* sortie, int dy, int dxa,
                    int dxb)
{
    const int Hm = pr.Hm(), Rd = pr.rayon(), L = 2 * Hm;
    TColor32* haut = sortie + static_cast<std::size_t>(Rd - dy) * static_cast<std::size_t>(L);
    TColor32* bas = dy > 0 && Rd + dy < Hm ? sortie + static_cast<std::size_t>(Rd + dy) * static_cast<std::size_t>(L)
                                           : nullptr;
    struct Suivi {
        int rang = 0, c1 = 0, c2 = 0;
    } cotes[2];
    for (int dx = dxa; dx <= dxb; ++dx) {
        double f, g;
        pr.anneau(dx, dy, f, g);
        for (int cote = 0; cote < (dx == 0 ? 1 : 2); ++cote) {
            const int sx = cote == 0 ? dx : -dx;
            double X, Y, Z;
            pr.pointDisque1(sx, dy, f, g, X, Y, Z);
            Suivi& s = cotes[cote];
            int c1a, c2a;
            if (suivi && dx > dxa) {
                s.rang = e.rangDepuis(s.rang, Z);
                s.c1 = e.colonneDepuis(s.c1, X, Y);
                s.c2 = e.colonneDepuis(s.c2, X, -Y);
            } else {
                s.rang = e.rangExact(Z);
                s.c1 = e.colonneExacte(X, Y);
                s.c2 = e.colonneExacte(X, -Y);
                if (suivi && dx == 0)
                    cotes[1] = s; // both sides start from the centre
            }
            if (suivi) {
                c1a = e.demiTour(s.c1);
                c2a = e.demiTour(s.c2);
            } else {
                c1a = e.colonneExacte(X, Y, true);
                c2a = e.colonneExacte(X, -Y, true);
            }
            const int l = e.ligne(s.rang), la = e.ligneAntipode(s.rang);
            const int x1 = Rd + sx, x2 = Hm + Rd + sx;
            const bool dansImage2 = x2 < L;
            if (dy == 0) {
                haut[x1] = e.pixel(l, s.c1);
                if (dansImage2)
                    haut[x2] = e.pixel(la, c1a);
                continue;
            }
            haut[x1] = e.pixel(l, s.c2);
            if (dansImage2)
                haut[x2] = e.pixel(la, c1a);
            if (bas) {
                bas[x1] = e.pixel(l, s.c1);
                if (dansImage2)
                    bas[x2] = e.pixel(la, c2a);
            }
        }
    }
}

} // namespace

void construireImagePolaire(const TBitmap32& source, int decalage, const TProjectionPolaire& projection,
                            TBitmap32& image, int fils)
{
    const int Hm = projection.Hm(), Rd = projection.rayon(), L = 2 * Hm;
    if (Hm <= 0 || source.isEmpty()) {
        image.setSize(std::max(0, L), std::max(0, Hm));
        return;
    }
    image.setSizeUninitialized(L, Hm);
    TColor32* const sortie = image.bits();
    const Echantillonnage e(source, decalage, projection);
    const bool suivi = e.W() % 2 == 0;

    // Blocks of 32 rows by 64 columns of the quarter dx, dy ≥ 0: the base pixels
    // each block reads lie close together, in four small regions of the base map.
    constexpr int kLignes = 32, kColonnes = 64;
    const int blocsY = Rd / kLignes + 1;
    int n = fils > 0 ? fils : static_cast<int>(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, 16);
    std::atomic<int> suivant{0};
    auto travail = [&] {
        for (;;) {
            const int b = suivant.fetch_add(1);
            if (b >= blocsY)
                return;
            const int dy0 = b * kLignes, dy1 = std::min(Rd, dy0 + kLignes - 1);
            for (int dy = dy0; dy <= dy1; ++dy)
                viderHorsDisques(projection, sortie, dy);
            const int mMax = demiLargeur(Rd, dy0);
            for (int xa = 0; xa <= mMax; xa += kColonnes)
                for (int dy = dy0; dy <= dy1; ++dy) {
                    const int xb = std::min(xa + kColonnes - 1, demiLargeur(Rd, dy));
                    if (xb < xa)
                        continue;
                    if (suivi)
                        segmentPolaire<true>(projection, e, sortie, dy, xa, xb);
                    else
                        segmentPolaire<false>(projection, e, sortie, dy, xa, xb);
                }
        }
    };
    std::vector<std::thread> equipe;
    for (int i = 1; i < n; ++i)
        equipe.emplace_back(travail);
    travail();
    for (std::thread& t : equipe)
        t.join();
    // Rows no disc reaches (none when Hm ≤ 2 Rd + 1).
    for (int y = 2 * Rd + 1; y < Hm; ++y)
        std::fill(sortie + static_cast<std::size_t>(y) * static_cast<std::size_t>(L),
                  sortie + static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(L), 0u);

    dessinerEtoile(image, projection.centreX(1), Rd);
    dessinerEtoile(image, projection.centreX(2), Rd);
}

// --- The layers over it ---

namespace {

// A circle of radius r about (cx, cy) as a polygon of round(2πr) segments.
void cercle(TBitmap32& calque, double cx, double cy, double r, TColor32 c)
{
    const int n = std::max(3, arrondi(2 * M_PI * r));
    double xa = cx + r, ya = cy;
    for (int i = 1; i <= n; ++i) {
        const double a = 2 * M_PI * i / n;
        const double xb = cx + r * std::cos(a), yb = cy - r * std::sin(a);
        calque.lineAA(xa, ya, xb, yb, c);
        xa = xb;
        ya = yb;
    }
}

void preparer(TBitmap32& calque, int Hm)
{
    if (calque.width() != 2 * Hm || calque.height() != Hm)
        calque.setSize(2 * Hm, Hm);
    else
        calque.clear(clTransparentWhite32);
}

int epaisseurVue(double echelleVue, double parPixel)
{
    if (!(echelleVue > 0) || !std::isfinite(echelleVue))
        return 0;
    return std::clamp(arrondi(parPixel / echelleVue), 0, 50);
}

} // namespace

int epaisseurCercleRepere(double echelleVue)
{
    return epaisseurVue(echelleVue, 1.0);
}

int epaisseurCerclesPole(double echelleVue)
{
    return epaisseurVue(echelleVue, 0.5);
}

bool dessinerCercleRepere(TBitmap32& calque, int Hm, int R, double echelleVue)
{
    preparer(calque, std::max(0, Hm));
    const int Rd = Hm / 2;
    if (Hm <= 0 || Rd <= 0 || R < 1 || R >= Hm)
        return false;
    const int g = epaisseurCercleRepere(echelleVue);
    for (int j = -g; j <= g; ++j) {
        const int r = R + j;
        if (r <= 0 || r >= Hm)
            continue;
        if (r <= Rd)
            cercle(calque, Rd, Rd, r, 0xFFFF0000);
        else
            cercle(calque, Hm + Rd, Rd, Hm - r, 0xFFFF0000);
    }
    return true;
}

void dessinerCerclesPole(TBitmap32& calque, int Hm, double echelleVue)
{
    preparer(calque, std::max(0, Hm));
    const int Rd = Hm / 2;
    if (Rd < 9)
        return;
    const int g = epaisseurCerclesPole(echelleVue);
    for (int disque = 1; disque <= 2; ++disque) {
        const double cx = disque == 1 ? Rd : Hm + Rd, cy = Rd;
        for (int k = 1; k <= 9; ++k)
            for (int j = -g; j <= g; ++j)
                cercle(calque, cx, cy, k * Rd / 9.0 + j, CouleurCerclesPole);
        for (int k = 0; k < 12; ++k) {
            const double a = k * M_PI / 6, ca = std::cos(a), sa = std::sin(a);
            for (int j = -g; j <= g; ++j)
                calque.lineAA(cx - j * sa, cy - j * ca, cx + Rd * ca - j * sa, cy - Rd * sa - j * ca,
                              CouleurCerclesPole);
        }
        // The distances from the pole of the view, along the circles, a little above
        // the first spoke; beyond 90° in the disc of the antipode.
        QFont police(QStringLiteral("Arial"));
        police.setPixelSize(std::clamp(arrondi(12 / std::max(echelleVue, 0.01)), 8, 200));
        for (int k = 1; k <= 8; ++k) {
            const int degres = disque == 1 ? 10 * k : 180 - 10 * k;
            const double r = k * Rd / 9.0;
            const QString texte = QString::number(degres) + QChar(0x00B0);
            const double a = 4 * kRad;
            calque.drawText(arrondi(cx + r * std::cos(a)) + 2,
                            arrondi(cy - r * std::sin(a)) - TBitmap32::textHeight(texte, police), texte, police,
                            CouleurCerclesPole);
        }
    }
}

namespace {

// The layer at the picture's size. Its content is left as it is: each renderer
// clears it first, and clearing it here too would cost a second pass over it
// (a hundred megabytes with the 7200-pixel map).
void tailleCalque(TBitmap32& calque, const TProjectionPolaire& projection)
{
    if (calque.width() != projection.largeur() || calque.height() != projection.hauteur())
        calque.setSizeUninitialized(projection.largeur(), projection.hauteur());
}

} // namespace

ReglagesAffichage reglagesPolaires(const ReglagesAffichage& carte)
{
    ReglagesAffichage r = carte;
    r.PointsEpais = true;
    r.Attenuation = clTransparentWhite32;
    r.LegendePlacee = false;
    return r;
}

VecteursPolaires vecteursPolaires(int largeurSource)
{
    if (largeurSource >= 7200)
        return {3.0, 3};
    return {1.5, 2};
}

void dessinerSeismesPolaires(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& carte,
                             const TProjectionPolaire& projection)
{
    tailleCalque(calque, projection);
    dessinerSeismes(calque, seismes, reglagesPolaires(carte), projection);
}

void dessinerVolcansPolaires(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& carte,
                             const TProjectionPolaire& projection)
{
    tailleCalque(calque, projection);
    dessinerVolcans(calque, volcans, reglagesPolaires(carte), projection);
}

void dessinerGPSPolaires(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& carte,
                         const ReferenceVecteurs& reference, const VecteursPolaires& vecteurs,
                         const TProjectionPolaire& projection)
{
    tailleCalque(calque, projection);
    dessinerGPS(calque, stations, reglagesPolaires(carte), projection, reference, vecteurs.echelle, true, nullptr,
                vecteurs.fleche);
}

// --- Zoom controls ---

double echelleDeZoom(int position, int mini, int maxi)
{
    mini = std::max(1, mini);
    maxi = std::max(mini, maxi);
    return std::clamp(position, mini, maxi) / 100.0;
}

int positionZoomAjustee(int largeurClient, int largeurImage, int mini, int maxi)
{
    mini = std::max(1, mini);
    maxi = std::max(mini, maxi);
    if (largeurImage <= 0 || largeurClient <= 0)
        return maxi;
    return std::clamp(arrondi(100.0 * largeurClient / largeurImage), mini, maxi);
}

} // namespace polaire
