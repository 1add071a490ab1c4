#include "drawing/dessins.h"

#include "drawing/inondation.h"
#include "drawing/texteriche.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Pattern spacing: 5 pixels for the straight patterns, round(5 * sqrt 2) = 7 for
// the oblique ones, so that the stripes look equally dense.
int EspacementMotif(int code)
{
    return code >= rmObliques1 ? 7 : 5;
}

} // namespace

bool MotifEncre(int code, int x, int y)
{
    const int d = EspacementMotif(code);
    switch (code) {
    case rmPlein:
        return true;
    case rmVerticales:
        return x % d == 0;
    case rmHorizontales:
        return y % d == 0;
    case rmQuadrillage:
        return x % d == 0 || y % d == 0;
    case rmObliques1:
        return (x - y) % d == 0;
    case rmObliques2:
        return (x + y) % d == 0;
    case rmQuadrillageOblique:
        return (x - y) % d == 0 || (x + y) % d == 0;
    default:
        return false;
    }
}

QString NomListeNature(std::uint8_t nature)
{
    switch (nature) {
    case ndLibre:
        return QStringLiteral("Dessin libre ");
    case ndLigne:
        return QStringLiteral("Ligne ");
    case ndRectangle:
        return QStringLiteral("Rectangle ");
    case ndCercle:
        return QStringLiteral("Cercle ");
    case ndTexte:
        return QStringLiteral("Texte ");
    default:
        return QStringLiteral("Dessin ");
    }
}

QString NomDessin(std::uint8_t nature, int numero)
{
    return NomListeNature(nature) + QString::number(numero);
}

// ---------------------------------------------------------------------------
// TDessin

TDessin::TDessin()
{
    Pointe.setSize(25, 25);
}

TDessin::~TDessin() = default;

void TDessin::CopierDe(const TDessin* source)
{
    if (!source || source == this)
        return;
    Nature = source->Nature;
    X1 = source->X1;
    Y1 = source->Y1;
    X2 = source->X2;
    Y2 = source->Y2;
    XC = source->XC;
    YC = source->YC;
    Rayon = source->Rayon;
    Epaisseur = source->Epaisseur;
    Couleur = source->Couleur;
    CouleurFond = source->CouleurFond;
    Alignement = source->Alignement;
    FondTransparent = source->FondTransparent;
    Opacite = source->Opacite;
    Fleche = source->Fleche;
    StyleTrait = source->StyleTrait;
    Remplissage = source->Remplissage;
    TaillePolice = source->TaillePolice;
    StylePolice = source->StylePolice;
    NomPolice = source->NomPolice;
    Lignes = source->Lignes; // copy-on-write: later edits of either list stay apart
    if (!source->Trace.IsEmpty())
        Trace = source->Trace;
}

QFont TDessin::PoliceAEchelle(double s) const
{
    QFont f(NomPolice);
    // A size that rounds to 0 (tiny zoom) still makes a valid font.
    f.setPointSize(std::max(1, Arrondi(s * TaillePolice)));
    f.setBold(StylePolice & spGras);
    f.setItalic(StylePolice & spItalique);
    f.setUnderline(StylePolice & spSouligne);
    f.setStrikeOut(StylePolice & spBarre);
    return f;
}

void TDessin::PreparerPointe()
{
    DessinerPointe(Epaisseur, Couleur, Pointe);
}

bool TDessin::Dessiner(TBitmap32& target, const TBitmap32& reference, double ox, double oy, double s)
{
    Q_UNUSED(reference);
    try {
        const int p1x = Arrondi(X1 * s + ox);
        const int p1y = Arrondi(Y1 * s + oy);
        const int p2x = Arrondi(X2 * s + ox);
        const int p2y = Arrondi(Y2 * s + oy);
        const int pcx = Arrondi(XC * s + ox);
        const int pcy = Arrondi(YC * s + oy);
        const int t = Epaisseur;
        switch (Nature) {
        case ndLibre:
            TracerChemin(Trace, t, Couleur, ox, oy, s, target);
            PreparerPointe();
            if (t > 0) {
                target.draw(p1x - 12, p1y - 12, Pointe, TBitmap32::DrawMode::Blend);
                target.draw(p2x - 12, p2y - 12, Pointe, TBitmap32::DrawMode::Blend);
            }
            break;
        case ndLigne:
            TracerLigne(p1x, p1y, p2x, p2y, target, StyleTrait, Fleche, Couleur, t);
            break;
        case ndRectangle:
            TracerRectangle(p1x, p1y, p2x, p2y, target, StyleTrait, Remplissage, Couleur, t);
            break;
        case ndCercle:
            TracerCercle(pcx, pcy, Arrondi(Rayon * s), target, StyleTrait, Remplissage, Couleur, t);
            break;
        case ndTexte:
            EcrireTexte(false, pcx, pcy, target, Lignes, Couleur, CouleurFond, Alignement, PoliceAEchelle(s));
            break;
        default:
            break; // kinds no tool creates
        }
    } catch (...) {
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Primitives

void TracerChemin(const TPolygon32& path, int t, TColor32 colour, double ox, double oy, double s,
                  TBitmap32& target)
{
    TPolygon32 p = path.EmptyCopy();
    for (const auto& sub : path.Points) {
        if (sub.empty())
            continue;
        p.NewLine();
        for (const TFixedPoint& q : sub)
            p.Add(fromFixed(q.X) * s + ox, fromFixed(q.Y) * s + oy);
    }
    if (p.IsEmpty())
        return;
    if (t <= 0)
        p.DrawEdge(target, colour);
    else
        p.Outline().Grow(t, 0).Draw(target, colour, colour);
}

namespace {

// Blends one colour onto pixels. Lines and heads gather, per pixel, what is left
// of the destination under each of their weights 1..255 (1 - a / 255 for the
// colour's alpha a scaled by the weight, as blendOverWeighted scales it), and blend
// the colour once with the alpha this leaves: the over operator applied to one
// colour only multiplies what is left of the destination, so this is blending it
// once per weight, without the rounding of each step. Recent results are
// remembered per destination and alpha (most pixels lie over a layer's uniform
// background), which spares the divisions of the general blend.
class TMelange {
public:
    static TMelange& pour(TColor32 c)
    {
        thread_local TMelange m;
        if (m.couleur_ != c || m.generation_ == 0) {
            m.couleur_ = c;
            m.c_ = withAlpha(c, 255);
            m.alpha_ = alphaOf(c);
            if (++m.generation_ == 0) {
                for (Entree& e : m.entrees_)
                    e.generation = 0;
                m.generation_ = 1;
            }
        }
        return m;
    }

    // The alpha of one blend of the colour with weight w.
    std::uint32_t alpha(std::uint32_t w) const { return alpha_ == 255 ? w : (alpha_ * w + 127) / 255; }

    // Blends the colour with alpha w (1..255) over d.
    void blend(TColor32& d, std::uint32_t w)
    {
        if (w >= 255 || d == c_) {
            d = c_; // an opaque colour over itself stays itself
            return;
        }
        Entree& e = entrees_[((d * 0x9E3779B1u) ^ (w * 0x85EBCA77u)) >> (32 - kBits)];
        if (e.generation != generation_ || e.d != d || e.w != w) {
            e = {d, w, blendOverWeighted(c_, d, w), generation_};
        }
        d = e.resultat;
    }

private:
    static constexpr int kBits = 10;
    struct Entree {
        TColor32 d;
        std::uint32_t w;
        TColor32 resultat;
        std::uint32_t generation;
    };
    TColor32 couleur_ = 0;
    TColor32 c_ = 0; // the colour, opaque
    std::uint32_t alpha_ = 0;
    std::uint32_t generation_ = 0;
    Entree entrees_[1 << kBits] = {};
};

// 1 - a / 255: what is left of a pixel under alpha a.
struct TReste {
    float v[256];
    TReste()
    {
        for (int w = 0; w < 256; ++w)
            v[w] = 1.0f - static_cast<float>(w) / 255.0f;
    }
};
const TReste kReste;

// The alpha that leaves the fraction `reste` of a pixel.
inline std::uint32_t PoidsCumule(float reste)
{
    const float w = (1.0f - reste) * 255.0f + 0.5f;
    return w >= 255.0f ? 255u : static_cast<std::uint32_t>(w);
}

// Heads of thicker strokes are drawn in place.
constexpr int kPointesGardees = 64;

// The weight of a hairline's coverage, as TBitmap32::lineAA blends it.
inline std::uint32_t PoidsCouverture(double cov)
{
    return cov > 0 ? bitmap_detail::coverageWeight(std::min(cov, 1.0)) : 0;
}

// A pixel of an arrow head, relative to its tip.
struct TPixelPointe {
    std::int16_t dx, dy;
    std::uint8_t w;
};

// The pixels of an arrow head whose barbs end at (ex1, ey1) and (ex2, ey2) from the
// tip: the open polyline barb-tip-barb, for t = 0 its outline's edges (each barb
// forth and back), otherwise the outline grown by t with sharp joins, filled, then
// edged. All points are whole pixels, so a head looks the same at every tip: heads
// are drawn once per shape and kept.
const std::vector<TPixelPointe>& PixelsPointe(int ex1, int ey1, int ex2, int ey2, int t, const TMelange& m,
                                              std::uint32_t alpha)
{
    thread_local std::unordered_map<std::uint64_t, std::vector<TPixelPointe>> formes;
    // Barbs of at most 2t + 7 pixels (t <= kPointesGardees): 12 bits each, t above.
    const auto cle = [](int v) { return static_cast<std::uint64_t>(v & 0xFFF); };
    const std::uint64_t clef =
        cle(ex1) | cle(ey1) << 12 | cle(ex2) << 24 | cle(ey2) << 36 | static_cast<std::uint64_t>(t) << 48 |
        static_cast<std::uint64_t>(alpha) << 56;
    auto it = formes.find(clef);
    if (it != formes.end())
        return it->second;
    if (formes.size() >= 4096)
        formes.clear();

    const int r = std::max({std::abs(ex1), std::abs(ey1), std::abs(ex2), std::abs(ey2)}) + t + 4;
    const int cote = 2 * r + 1;
    std::vector<float> reste(static_cast<std::size_t>(cote) * cote, 1.0f);
    auto poser = [&](int x, int y, std::uint32_t w) {
        reste[static_cast<std::size_t>(y) * cote + x] *= kReste.v[m.alpha(std::min(w, 255u))];
    };
    TPolygon32 head;
    head.Closed = false;
    head.Add(r + ex1, r + ey1);
    head.Add(r, r);
    head.Add(r + ex2, r + ey2);
    if (t <= 0) {
        head.Outline().EdgeCoverage(cote, cote, poser);
    } else {
        const TPolygon32 g = head.Outline().Grow(t, 1);
        g.FillCoverage(cote, cote, [&](int y, int x0, const std::uint8_t* cov, int n) {
            for (int i = 0; i < n; ++i)
                if (cov[i])
                    poser(x0 + i, y, cov[i]);
        });
        g.EdgeCoverage(cote, cote, poser);
    }
    std::vector<TPixelPointe> px;
    for (int y = 0; y < cote; ++y)
        for (int x = 0; x < cote; ++x) {
            const std::uint32_t w = PoidsCumule(reste[static_cast<std::size_t>(y) * cote + x]);
            if (w)
                px.push_back({static_cast<std::int16_t>(x - r), static_cast<std::int16_t>(y - r),
                              static_cast<std::uint8_t>(w)});
        }
    return formes.emplace(clef, std::move(px)).first->second;
}

// One arrow head with its tip at (x, y): two barbs of length b at angles
// theta + pi -/+ h.
void PointeFleche(TBitmap32& target, int x, int y, double theta, double h, int b, int t, TColor32 colour)
{
    // A head reaches at most b + t pixels from its tip: skip the ones that cannot
    // touch the bitmap (this also keeps far tips out of fixed-point range).
    const int portee = b + t + 2;
    if (x < -portee || y < -portee || x >= target.width() + portee || y >= target.height() + portee)
        return;
    if (alphaOf(colour) == 0)
        return;
    const int ex1 = Arrondi(b * std::cos(theta + kPi - h));
    const int ey1 = Arrondi(b * std::sin(theta + kPi - h));
    const int ex2 = Arrondi(b * std::cos(theta + kPi + h));
    const int ey2 = Arrondi(b * std::sin(theta + kPi + h));
    if (t > kPointesGardees) {
        // Beyond any stroke a tool offers: drawn in place rather than kept.
        TPolygon32 head;
        head.Closed = false;
        head.Add(x + ex1, y + ey1);
        head.Add(x, y);
        head.Add(x + ex2, y + ey2);
        head.Outline().Grow(t, 1).Draw(target, colour, colour);
        return;
    }
    TMelange& m = TMelange::pour(colour);
    const std::vector<TPixelPointe>& px = PixelsPointe(ex1, ey1, ex2, ey2, t, m, alphaOf(colour));
    const int w = target.width();
    const int hh = target.height();
    TColor32* bits = target.bits();
    for (const TPixelPointe& p : px) {
        const int px_ = x + p.dx;
        const int py = y + p.dy;
        if (px_ >= 0 && py >= 0 && px_ < w && py < hh)
            m.blend(bits[static_cast<std::size_t>(py) * w + px_], p.w);
    }
}

// The part [u0, u1] of the segment (x, y) + u (dx, dy), u in [0, 1], that lies
// within a few pixels of the bitmap (Liang-Barsky). False when none does.
bool ClipperSegment(double x, double y, double dx, double dy, const TBitmap32& target, double& u0, double& u1)
{
    constexpr double marge = 4;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x + marge, target.width() - 1 + marge - x, y + marge, target.height() - 1 + marge - y};
    u0 = 0;
    u1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            u0 = std::max(u0, r);
        else
            u1 = std::min(u1, r);
    }
    return u0 <= u1;
}

struct TTrait {
    double ax, ay, bx, by;
};

// Solid hairlines parallel to the line (x1, y1) + u (dx, dy), at most `ecart`
// pixels from it, each an anti-aliased hairline as TBitmap32::lineAA draws it. They
// are walked together column by column (row by row for steep lines): the weights
// of all of them are gathered per pixel, and each pixel is blended once.
void TraitsPleins(TBitmap32& target, const std::vector<TTrait>& traits, double x1, double y1, double dx, double dy,
                  double ecart, TColor32 colour)
{
    if (target.isEmpty() || alphaOf(colour) == 0 || traits.empty())
        return;
    const int W = target.width();
    const int H = target.height();
    TMelange& m = TMelange::pour(colour);
    TColor32* const bits = target.bits();
    if (traits.size() == 1) {
        // A single hairline blends each of its pixels once.
        const TTrait& t = traits.front();
        bitmap_detail::wuColumns(t.ax, t.ay, t.bx, t.by, W, H, [&](bool steep, int a, double y, double poids, int) {
            const double fy = std::floor(y);
            const double f = y - fy;
            const int b = static_cast<int>(fy);
            const std::uint32_t w[2] = {PoidsCouverture((1.0 - f) * poids), PoidsCouverture(f * poids)};
            for (int i = 0; i < 2; ++i) {
                const int x = steep ? b + i : a;
                const int yy = steep ? a : b + i;
                if (w[i] && x >= 0 && yy >= 0 && x < W && yy < H)
                    m.blend(bits[static_cast<std::size_t>(yy) * W + x], m.alpha(w[i]));
            }
        });
        return;
    }
    // Major axis a, minor axis b.
    const bool raide = std::fabs(dy) > std::fabs(dx);
    const int nMajeur = raide ? H : W;
    const int nMineur = raide ? W : H;
    const double pente = raide ? dx / dy : dy / dx;
    const double secante = std::sqrt(1.0 + pente * pente);
    // Each hairline from its lower major end: b = decalage + pente * a between the
    // columns premiere and derniere, whose weights are the parts of them it spans.
    struct Ligne {
        double decalage;
        int premiere, derniere;
        double bPremiere, bDerniere; // where it crosses its end columns
        double poidsPremiere, poidsDerniere;
    };
    thread_local std::vector<Ligne> lignes;
    lignes.clear();
    int aDebut = nMajeur, aFin = -1;
    for (const TTrait& t : traits) {
        double pa = raide ? t.ay : t.ax, pb = raide ? t.ax : t.ay;
        double qa = raide ? t.by : t.bx, qb = raide ? t.bx : t.by;
        if (!std::isfinite(pa) || !std::isfinite(pb) || !std::isfinite(qa) || !std::isfinite(qb))
            continue;
        if (pa > qa) {
            std::swap(pa, qa);
            std::swap(pb, qb);
        }
        if (pa == qa && pb == qb)
            continue;
        Ligne l;
        const double xp1 = std::floor(pa + 0.5);
        const double xp2 = std::floor(qa + 0.5);
        if (!(xp1 <= nMajeur + 1.0 && xp2 >= -2.0))
            continue;
        l.decalage = pb - pente * pa;
        l.premiere = static_cast<int>(std::max(xp1, -2.0));
        l.derniere = static_cast<int>(std::min(xp2, nMajeur + 1.0));
        if (xp1 == xp2) {
            l.bPremiere = l.bDerniere = (pb + qb) / 2;
            l.poidsPremiere = l.poidsDerniere = (qa - pa) * secante;
        } else {
            l.bPremiere = pb + pente * (xp1 - pa);
            l.poidsPremiere = (xp1 + 0.5 - pa) * secante;
            l.bDerniere = qb + pente * (xp2 - qa);
            l.poidsDerniere = (qa - (xp2 - 0.5)) * secante;
        }
        aDebut = std::min(aDebut, l.premiere);
        aFin = std::max(aFin, l.derniere);
        lignes.push_back(l);
    }
    aDebut = std::max(aDebut, 0);
    aFin = std::min(aFin, nMajeur - 1);
    if (lignes.empty() || aDebut > aFin)
        return;
    // A parallel at distance e lies within e * sqrt 2 of the line along the minor
    // axis, its two pixels per column one more.
    const int marge = static_cast<int>(std::ceil(ecart * 1.4143)) + 2;
    const int K = 2 * marge + 2;
    thread_local std::vector<float> reste;
    reste.assign(static_cast<std::size_t>(K), 1.0f);
    float* const r = reste.data();
    const double bCentre = (raide ? x1 : y1) - pente * (raide ? y1 : x1);
    auto melanger = [&](int a, int b, std::uint32_t alpha) {
        if (alpha && b >= 0 && b < nMineur)
            m.blend(bits[raide ? static_cast<std::size_t>(a) * W + b : static_cast<std::size_t>(b) * W + a], alpha);
    };
    for (int a = aDebut; a <= aFin; ++a) {
        const int base = static_cast<int>(std::floor(std::clamp(bCentre + pente * a, -1e9, 1e9))) - marge;
        int lo = K, hi = -1;
        for (const Ligne& l : lignes) {
            if (a < l.premiere || a > l.derniere)
                continue;
            double y = l.decalage + pente * a;
            double poids = secante;
            if (a == l.premiere) {
                y = l.bPremiere;
                poids = l.poidsPremiere;
            } else if (a == l.derniere) {
                y = l.bDerniere;
                poids = l.poidsDerniere;
            }
            const double fy = std::floor(y);
            const double f = y - fy;
            const int iy = static_cast<int>(fy);
            const std::uint32_t w0 = PoidsCouverture((1.0 - f) * poids);
            const std::uint32_t w1 = PoidsCouverture(f * poids);
            const int j = iy - base;
            if (j < 0 || j + 1 >= K) {
                // Outside the band (never expected): blended at once.
                melanger(a, iy, m.alpha(w0));
                melanger(a, iy + 1, m.alpha(w1));
                continue;
            }
            r[j] *= kReste.v[m.alpha(w0)];
            r[j + 1] *= kReste.v[m.alpha(w1)];
            lo = std::min(lo, j);
            hi = std::max(hi, j + 1);
        }
        for (int j = lo; j <= hi; ++j) {
            melanger(a, base + j, PoidsCumule(r[j]));
            r[j] = 1.0f;
        }
    }
}

} // namespace

void TracerLigne(int x1, int y1, int x2, int y2, TBitmap32& target, int style, int arrow, TColor32 colour,
                 int t)
{
    if (x1 == x2 && y1 == y2)
        return;
    t = std::max(0, t);
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double nx = dy / len;
    const double ny = -dx / len;
    const double pas = 0.5 / (t + 1);
    const double periode = 4.0 * (t + 1); // a dash and a gap, along the major axis
    const double majeur = std::max(std::fabs(dx), std::fabs(dy));
    thread_local std::vector<TTrait> traits;
    traits.clear();
    std::vector<TColor32> stipple;
    if (style == stTirets)
        stipple = {colour, 0x00000000};
    for (int k = -2 * t; k <= 2 * t; ++k) {
        const double ox = k / 2.0 * nx;
        const double oy = k / 2.0 * ny;
        double u0 = 0, u1 = 1;
        if (!ClipperSegment(x1 + ox, y1 + oy, dx, dy, target, u0, u1))
            continue;
        // Far-away ends are brought near the bitmap, so that a line through a
        // zoomed view costs its visible length only. The start moves back to a whole
        // number of dash periods, which keeps the dashes where they were.
        const double recul = style == stTirets ? std::floor(u0 * majeur / periode) * periode
                                               : std::floor(u0 * majeur);
        u0 = recul / majeur;
        const double ax = x1 + ox + u0 * dx, ay = y1 + oy + u0 * dy;
        const double bx = x1 + ox + u1 * dx, by = y1 + oy + u1 * dy;
        if (style == stTirets)
            target.lineAAStipple(ax, ay, bx, by, stipple, pas);
        else
            traits.push_back({ax, ay, bx, by});
    }
    TraitsPleins(target, traits, x1, y1, dx, dy, t, colour);

    if (arrow != flFin && arrow != flDouble)
        return;
    const int barbe = 2 * t + 7;
    double h = kPi / 4;
    double theta;
    if (x2 != x1)
        theta = std::atan(dy / dx);
    else
        theta = y2 > y1 ? kPi / 2 : -kPi / 2;
    if (x2 < x1)
        h = kPi - kPi / 4;
    PointeFleche(target, x2, y2, theta, h, barbe, t, colour);
    if (arrow == flDouble)
        PointeFleche(target, x1, y1, theta, kPi - h, barbe, t, colour);
}

namespace {

// One horizontal or vertical edge of a rectangle frame. Solid edges blend; dashed
// edges write the colour on the first half of each period and the same colour
// with alpha 1 on the second half, so the frame stays closed for the fill.
void BordRectangle(TBitmap32& target, bool horizontal, int fixe, int de, int a, bool tirets, double periode,
                   TColor32 colour)
{
    const int limite = horizontal ? target.width() : target.height();
    const int autre = horizontal ? target.height() : target.width();
    if (fixe < 0 || fixe >= autre)
        return;
    if (de > a)
        std::swap(de, a);
    de = std::max(de, 0);
    a = std::min(a, limite - 1);
    const TColor32 trou = withAlpha(colour, 1);
    for (int c = de; c <= a; ++c) {
        const int x = horizontal ? c : fixe;
        const int y = horizontal ? fixe : c;
        if (tirets) {
            const double q = c / periode;
            target.setPixel(x, y, q - std::floor(q) < 0.5 ? colour : trou);
        } else {
            target.blendPixel(x, y, colour);
        }
    }
}

} // namespace

void TracerRectangle(int x1, int y1, int x2, int y2, TBitmap32& target, int style, int fill, TColor32 colour,
                     int t)
{
    if (target.isEmpty())
        return;
    t = std::max(0, t);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const bool tirets = style == stTirets;
    const double periode = 4.0 * (t + 1);
    for (int k = -t; k <= t; ++k) {
        BordRectangle(target, true, y1 - k, x1 - k, x2 + k, tirets, periode, colour);
        BordRectangle(target, true, y2 + k, x1 - k, x2 + k, tirets, periode, colour);
        BordRectangle(target, false, x1 - k, y1 - k, y2 + k, tirets, periode, colour);
        BordRectangle(target, false, x2 + k, y1 - k, y2 + k, tirets, periode, colour);
    }
    if (fill != rmVide && 2 * t + 1 < y2 - y1 && 2 * t + 1 < x2 - x1)
        RemplirZone(x1 + t + 1, y1 + t + 1, colour, target, fill);
}

void TracerCercle(int xc, int yc, int r, TBitmap32& target, int style, int fill, TColor32 colour, int t)
{
    if (target.isEmpty())
        return;
    t = std::max(0, t);
    r = std::max(0, r);
    // Steps around the rim; none when the ring misses the bitmap altogether (wholly
    // outside it, or the bitmap wholly inside the inner edge).
    std::int64_t n = 7 * (static_cast<std::int64_t>(r) + t);
    {
        const double cx = std::clamp<double>(xc, 0, target.width() - 1);
        const double cy = std::clamp<double>(yc, 0, target.height() - 1);
        const double proche = std::hypot(cx - xc, cy - yc);
        const double fx = std::max<double>(std::abs(xc), std::abs(xc - (target.width() - 1)));
        const double fy = std::max<double>(std::abs(yc), std::abs(yc - (target.height() - 1)));
        const double loin = std::hypot(fx, fy);
        if (proche > double(r) + t + 2 || loin < double(r) - t - 2)
            n = 0;
    }
    if (n > 0) {
        const bool tirets = style == stTirets;
        const double periode = 4.0 * (t + 1);
        const TColor32 trou = withAlpha(colour, 1);
        for (std::int64_t i = 0; i < n; ++i) {
            const double a = 2 * kPi * double(i) / double(n);
            const double c = std::cos(a);
            const double s = std::sin(a);
            const double q = double(i) / periode;
            const bool vide = tirets && q - std::floor(q) >= 0.5;
            auto point = [&](double rayon) {
                const int x = xc + Arrondi(rayon * c);
                const int y = yc + Arrondi(rayon * s);
                if (vide)
                    target.setPixelS(x, y, trou);
                else
                    target.blendPixelS(x, y, colour);
            };
            if (t == 0) {
                point(r);
                continue;
            }
            for (int k = 0; k < 2 * t; ++k) {
                point(r - k / 2.0);
                point(r + k / 2.0);
            }
            // The outer and inner edges are plotted at their real positions, which
            // smooths the rim.
            for (const double rayon : {double(r + t), double(r - t)}) {
                if (vide)
                    point(rayon);
                else
                    target.blendPixelF(xc + rayon * c, yc + rayon * s, colour);
            }
        }
    }
    if (t < r && fill != rmVide)
        RemplirZone(xc, yc, colour, target, fill);
}

void RemplirZone(int x, int y, TColor32 colour, TBitmap32& target, int fill)
{
    // An ink colour with alpha 0 would leave its pixels fillable: track visits then.
    const bool suivre = alphaOf(colour) == 0;
    Inonder(
        target, x, y, suivre, [](TColor32 p) { return alphaOf(p) == 0; },
        [&](int px, int py, TColor32& p) { p = MotifEncre(fill, px, py) ? colour : clBlancAlpha1; });
}

void DessinerPointe(int t, TColor32 colour, TBitmap32& tip)
{
    tip.setSize(25, 25);
    tip.clear(clTransparentWhite32);
    t = std::clamp(t, 0, 11);
    tip.blendPixelF(13, 13, colour);
    const int n = 4 * t + 1;
    for (int i = 1; i <= n; ++i) {
        const double a = i * kPi / (2 * n + 2);
        const double c = std::cos(a);
        const double s = std::sin(a);
        for (int j = 1; j <= t; ++j) {
            const int dx = Arrondi(j * c);
            const int dy = Arrondi(j * s);
            tip.blendPixelS(13 + dx, 13 + dy, colour);
            tip.blendPixelS(13 - dx, 13 + dy, colour);
            tip.blendPixelS(13 + dx, 13 - dy, colour);
            tip.blendPixelS(13 - dx, 13 - dy, colour);
        }
    }
    tip.vLineBlend(13, 13 - t, 13 + t, colour);
    tip.hLineBlend(13 - t, 13 + t, 13, colour);
}

void RendreTransparent(TColor32 key, TBitmap32& bmp)
{
    const TColor32 rgb = key & 0x00FFFFFF;
    TColor32* p = bmp.bits();
    const std::size_t n = static_cast<std::size_t>(bmp.width()) * bmp.height();
    for (std::size_t i = 0; i < n; ++i)
        if ((p[i] & 0x00FFFFFF) == rgb)
            p[i] = rgb;
}
