#include "drawing/dessins.h"

#include "drawing/inondation.h"
#include "drawing/texteriche.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
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
    f.setPointSize(std::max(1, arrondi(s * TaillePolice)));
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
        const int p1x = arrondi(X1 * s + ox);
        const int p1y = arrondi(Y1 * s + oy);
        const int p2x = arrondi(X2 * s + ox);
        const int p2y = arrondi(Y2 * s + oy);
        const int pcx = arrondi(XC * s + ox);
        const int pcy = arrondi(YC * s + oy);
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
            TracerCercle(pcx, pcy, arrondi(Rayon * s), target, StyleTrait, Remplissage, Couleur, t);
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

    // The colour, opaque: what a blend of weight 255 leaves.
    TColor32 opaque() const { return c_; }

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

// The same for any coverage that is a number, without a branch.
inline std::uint32_t PoidsCouvertureSansTest(double cov)
{
    return bitmap_detail::coverageWeight(std::min(std::max(cov, 0.0), 1.0));
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
// are drawn once per shape and kept (shared, so that a shape handed to another
// thread outlives the thread's cache being emptied).
// The pixels a head covers fully, and the others, each by row.
struct TPointe {
    std::vector<TPixelPointe> pleins, partiels;
};
using TFormePointe = std::shared_ptr<const TPointe>;
const TFormePointe& PixelsPointe(int ex1, int ey1, int ex2, int ey2, int t, const TMelange& m, std::uint32_t alpha)
{
    thread_local std::unordered_map<std::uint64_t, TFormePointe> formes;
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
    TPointe px;
    for (int y = 0; y < cote; ++y)
        for (int x = 0; x < cote; ++x) {
            const std::uint32_t w = PoidsCumule(reste[static_cast<std::size_t>(y) * cote + x]);
            if (w)
                (w == 255 ? px.pleins : px.partiels)
                    .push_back({static_cast<std::int16_t>(x - r), static_cast<std::int16_t>(y - r),
                                static_cast<std::uint8_t>(w)});
        }
    return formes.emplace(clef, std::make_shared<const TPointe>(std::move(px))).first->second;
}

// The barb ends of an arrow head, relative to its tip: two barbs of length b at
// angles theta + pi -/+ h.
struct TBarbes {
    int ex1, ey1, ex2, ey2;
};

TBarbes CalculerBarbes(double theta, double h, int b)
{
    return {arrondi(b * std::cos(theta + kPi - h)), arrondi(b * std::sin(theta + kPi - h)),
            arrondi(b * std::cos(theta + kPi + h)), arrondi(b * std::sin(theta + kPi + h))};
}

// The barbs of the head at the end (or, with `debut`, at the start) of a line
// going (dx, dy), thickness t. Vectors of a map repeat the same few thousand
// directions: they are remembered, which spares the trigonometry.
TBarbes BarbesLigne(std::int64_t dx, std::int64_t dy, int t, bool debut)
{
    const int barbe = 2 * t + 7;
    auto calculer = [&] {
        double h = kPi / 4;
        double theta;
        if (dx != 0)
            theta = std::atan(static_cast<double>(dy) / static_cast<double>(dx));
        else
            theta = dy > 0 ? kPi / 2 : -kPi / 2;
        if (dx < 0)
            h = kPi - kPi / 4;
        return CalculerBarbes(theta, debut ? kPi - h : h, barbe);
    };
    if (dx < -2048 || dx >= 2048 || dy < -2048 || dy >= 2048 || t < 0 || t > 63)
        return calculer();
    struct Entree {
        std::uint32_t cle; // 0: empty
        TBarbes barbes;
    };
    constexpr int kBits = 12;
    thread_local std::vector<Entree> cache(1u << kBits, Entree{0, {}});
    const std::uint32_t cle = (static_cast<std::uint32_t>(dx + 2048) | static_cast<std::uint32_t>(dy + 2048) << 12 |
                               static_cast<std::uint32_t>(t) << 24 | static_cast<std::uint32_t>(debut) << 30) +
                              1;
    Entree& e = cache[(cle * 0x9E3779B1u) >> (32 - kBits)];
    if (e.cle != cle)
        e = {cle, calculer()};
    return e.barbes;
}

// The pixels of a bitmap (taken once, by the thread that owns it), and the rows
// [debut, fin) that a drawing may change; the others are left as they are.
// Threads sharing a picture each draw their own rows.
struct TZone {
    TColor32* bits;
    int w, h;
    int debut, fin;
    static TZone de(TBitmap32& b)
    {
        return {b.isEmpty() ? nullptr : b.bits(), b.width(), b.height(), 0, b.height()};
    }
    TZone lignes(int d, int f) const { return {bits, w, h, std::max(0, d), std::min(h, f)}; }
    bool vide() const { return debut >= fin || w <= 0; }
};

// Pixels of an arrow head, relative to its tip, blended in the zone's rows.
// (A head's pixels each get one blend, so their order does not matter; a full one
// leaves the colour, opaque.)
void PoserPointe(TZone z, int x, int y, const TPointe& forme, TMelange& m)
{
    const int w = z.w;
    TColor32* bits = z.bits;
    // Only the rows of the zone: [debut - y, fin - y) relative to the tip.
    const std::int64_t dy0 = static_cast<std::int64_t>(z.debut) - y, dy1 = static_cast<std::int64_t>(z.fin) - y;
    auto poser = [&](const std::vector<TPixelPointe>& px, auto&& ecrire) {
        auto p = std::lower_bound(px.begin(), px.end(), dy0,
                                  [](const TPixelPointe& a, std::int64_t d) { return a.dy < d; });
        for (; p != px.end() && p->dy < dy1; ++p) {
            const int px_ = x + p->dx;
            if (px_ >= 0 && px_ < w)
                ecrire(bits[static_cast<std::size_t>(y + p->dy) * w + px_], p->w);
        }
    };
    const TColor32 opaque = m.opaque();
    poser(forme.pleins, [opaque](TColor32& d, std::uint32_t) { d = opaque; });
    poser(forme.partiels, [&m](TColor32& d, std::uint32_t a) { m.blend(d, a); });
}

// Whether a head with its tip at (x, y), barbs of b pixels and thickness t can
// touch a w x h bitmap. (This also keeps far tips out of fixed-point range.)
bool PointeAtteint(int w, int h, int x, int y, int b, int t)
{
    const int portee = b + t + 2; // a head reaches at most b + t pixels from its tip
    return !(x < -portee || y < -portee || x >= w + portee || y >= h + portee);
}

// One arrow head with its tip at (x, y) and its barbs ending at the offsets `br`.
void PointeFleche(TBitmap32& target, int x, int y, const TBarbes& br, int b, int t, TColor32 colour)
{
    if (!PointeAtteint(target.width(), target.height(), x, y, b, t))
        return;
    if (alphaOf(colour) == 0)
        return;
    const int ex1 = br.ex1, ey1 = br.ey1, ex2 = br.ex2, ey2 = br.ey2;
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
    PoserPointe(TZone::de(target), x, y, *PixelsPointe(ex1, ey1, ex2, ey2, t, m, alphaOf(colour)), m);
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

// floor(v) for |v| < 2^62, inline (std::floor is a library call on the baseline
// instruction set).
inline std::int64_t Plancher(double v)
{
    const auto i = static_cast<std::int64_t>(v);
    return i - (v < static_cast<double>(i));
}

// One solid anti-aliased hairline, as TBitmap32::lineAA draws it, each of its
// pixels blended once. (Flattened: the per-column step is then inlined in the walk.)
#if defined(__GNUC__)
__attribute__((flatten))
#endif
void TraitFin(TZone z, double ax, double ay, double bx, double by, TColor32 colour)
{
    if (z.vide() || alphaOf(colour) == 0)
        return;
    const int W = z.w;
    const int H = z.h;
    const int y0 = z.debut, y1 = z.fin;
    TMelange& m = TMelange::pour(colour);
    TColor32* const bits = z.bits;
    bitmap_detail::wuColumns(ax, ay, bx, by, W, H, [&](bool steep, int a, double y, double poids, int) {
        // y lies within the clipped bitmap's margin.
        const std::int64_t fy = Plancher(y);
        const double f = y - static_cast<double>(fy);
        const int b = static_cast<int>(fy);
        const std::uint32_t w[2] = {PoidsCouverture((1.0 - f) * poids), PoidsCouverture(f * poids)};
        for (int i = 0; i < 2; ++i) {
            const int x = steep ? b + i : a;
            const int yy = steep ? a : b + i;
            if (w[i] && x >= 0 && yy >= y0 && x < W && yy < y1)
                m.blend(bits[static_cast<std::size_t>(yy) * W + x], m.alpha(w[i]));
        }
    });
}

// A solid line of thickness t >= 1 from (x1, y1) to (x2, y2): the band 2t + 1
// pixels wide across the line, ended square at both points. It is walked along
// its major axis; in each column (row for steep lines) the band spans [L, U] on
// the minor axis, and each pixel is blended once with the part of it the band
// covers: full inside, a fraction on the two edge pixels. Near the ends, the
// coverage is cut by the square ends (at the pixel's centre on the minor axis).
// All positions are taken from the first point, which is a whole pixel, so a line
// looks the same wherever it is drawn and costs only its visible columns.
void BandePleine(TZone z, int x1, int y1, int x2, int y2, int t, TColor32 colour)
{
    if (z.vide() || alphaOf(colour) == 0)
        return;
    const int W = z.w, H = z.h;
    const std::int64_t ddx = static_cast<std::int64_t>(x2) - x1;
    const std::int64_t ddy = static_cast<std::int64_t>(y2) - y1;
    const bool raide = std::llabs(ddy) > std::llabs(ddx);
    // The visible range of each axis, [debut, fin).
    const int y0 = z.debut, yFin = z.fin;
    const int majeur0 = raide ? y0 : 0, majeurFin = raide ? yFin : W;
    const int mineur0 = raide ? 0 : y0, mineurFin = raide ? W : yFin;
    // From the end with the lower major coordinate, (pa, pb), to (pa + La, pb + Lb).
    std::int64_t pa = raide ? y1 : x1, pb = raide ? x1 : y1;
    std::int64_t La = raide ? ddy : ddx, Lb = raide ? ddx : ddy;
    if (La < 0) {
        pa += La;
        pb += Lb;
        La = -La;
        Lb = -Lb;
    }
    const double fLa = static_cast<double>(La), fLb = static_cast<double>(Lb);
    const double pente = fLb / fLa;
    const double longueur = std::sqrt(fLa * fLa + fLb * fLb);
    const double demi = t + 0.5;                        // half-width across the line
    const double demiMineur = demi * longueur / fLa;    // the same along the minor axis
    const double etendue = demi * std::fabs(fLb) / longueur; // how far the square ends lean
    // Columns A (from pa) that the band may touch, and those the ends do not cut.
    std::int64_t aMin =
        std::max<std::int64_t>(static_cast<std::int64_t>(std::floor(-etendue)) - 1, majeur0 - pa);
    std::int64_t aMax =
        std::min<std::int64_t>(La + static_cast<std::int64_t>(std::ceil(etendue)) + 1, majeurFin - 1 - pa);
    if (aMin > aMax)
        return;
    const double marge = 0.5 + std::fabs(pente) * (demiMineur + 0.5);
    const std::int64_t jMin = mineur0 - pb, jMax = mineurFin - 1 - pb; // visible minor range, from pb
    if (!raide && (mineur0 > 0 || mineurFin < H)) {
        // Only some rows are visible: skip the columns whose band misses them all
        // (the band of column A spans pente * A -/+ demiMineur).
        const double cBas = static_cast<double>(jMin) - demiMineur - 1.5;
        const double cHaut = static_cast<double>(jMax) + demiMineur + 1.5;
        if (pente == 0) {
            if (cBas > 0 || cHaut < 0)
                return;
        } else {
            const double a0 = std::floor(std::min(cBas / pente, cHaut / pente)) - 1;
            const double a1 = std::ceil(std::max(cBas / pente, cHaut / pente)) + 1;
            if (a0 > static_cast<double>(aMin))
                aMin = static_cast<std::int64_t>(std::min(a0, static_cast<double>(aMax) + 1));
            if (a1 < static_cast<double>(aMax))
                aMax = static_cast<std::int64_t>(std::max(a1, static_cast<double>(aMin) - 1));
            if (aMin > aMax)
                return;
        }
    }

    TMelange& m = TMelange::pour(colour);
    const std::uint32_t plein = m.alpha(255);
    const TColor32 opaque = m.opaque();
    TColor32* const bits = z.bits;
    const std::size_t pasMajeur = raide ? static_cast<std::size_t>(W) : 1;
    const std::size_t pasMineur = raide ? 1 : static_cast<std::size_t>(W);
    // Near an end: each pixel's coverage across the line, cut by the ends.
    auto colonneAuBout = [&](std::int64_t A) {
        const double fA = static_cast<double>(A);
        const double c = pente * fA;
        const double L = c - demiMineur, U = c + demiMineur;
        const std::int64_t jBas = Plancher(L + 0.5);
        const std::int64_t jHaut = Plancher(U + 0.5);
        const double couvBas = std::min(U, jBas + 0.5) - L;
        const double couvHaut = U - (jHaut - 0.5);
        TColor32* const colonne = bits + static_cast<std::size_t>(pa + A) * pasMajeur;
        for (std::int64_t j = std::max(jBas, jMin); j <= std::min(jHaut, jMax); ++j) {
            const double fj = static_cast<double>(j);
            double couv = j == jBas ? couvBas : j == jHaut ? couvHaut : 1.0;
            couv *= std::clamp(fA + 0.5 + pente * fj, 0.0, 1.0);                  // after the start
            couv *= std::clamp(fLa - pente * (fj - fLb) - fA + 0.5, 0.0, 1.0); // before the end
            const std::uint32_t w = PoidsCouverture(couv);
            if (w)
                m.blend(colonne[static_cast<std::size_t>(pb + j) * pasMineur], m.alpha(w));
        }
    };
    // The columns the ends do not cut: A >= marge and A <= La - marge.
    const std::int64_t interieur0 = static_cast<std::int64_t>(std::ceil(marge));
    const std::int64_t interieur1 = static_cast<std::int64_t>(std::floor(fLa - marge));
    for (std::int64_t A = aMin; A <= std::min(aMax, interieur0 - 1); ++A)
        colonneAuBout(A);
    // Away from the ends: two edge pixels and a full run between them. The
    // columns' spans and edge weights are worked out a block at a time, with no
    // branch, then drawn.
    constexpr int kBloc = 64;
    std::int64_t jBasBloc[kBloc], jHautBloc[kBloc];
    std::uint32_t wBasBloc[kBloc], wHautBloc[kBloc];
    const std::int64_t finInterieur = std::min(aMax, interieur1);
    for (std::int64_t A0 = std::max(aMin, interieur0); A0 <= finInterieur; A0 += kBloc) {
        const int n = static_cast<int>(std::min<std::int64_t>(kBloc, finInterieur - A0 + 1));
        for (int i = 0; i < n; ++i) {
            const double c = pente * static_cast<double>(A0 + i);
            const double L = c - demiMineur, U = c + demiMineur;
            const std::int64_t jBas = Plancher(L + 0.5);
            const std::int64_t jHaut = Plancher(U + 0.5);
            jBasBloc[i] = jBas;
            jHautBloc[i] = jHaut;
            wBasBloc[i] = PoidsCouvertureSansTest(std::min(U, jBas + 0.5) - L);
            wHautBloc[i] = PoidsCouvertureSansTest(U - (jHaut - 0.5));
        }
        for (int i = 0; i < n; ++i) {
            const std::int64_t jBas = jBasBloc[i], jHaut = jHautBloc[i];
            TColor32* const colonne = bits + static_cast<std::size_t>(pa + A0 + i) * pasMajeur;
            auto pixel = [&](std::int64_t j) -> TColor32& {
                return colonne[static_cast<std::size_t>(pb + j) * pasMineur];
            };
            if (jBas >= jMin && jBas <= jMax && wBasBloc[i])
                m.blend(pixel(jBas), m.alpha(wBasBloc[i]));
            if (jHaut > jBas && jHaut >= jMin && jHaut <= jMax && wHautBloc[i])
                m.blend(pixel(jHaut), m.alpha(wHautBloc[i]));
            const std::int64_t de = std::max(jBas + 1, jMin), a = std::min(jHaut - 1, jMax);
            if (plein == 255 && de <= a) {
                // An opaque colour covers the run.
                TColor32* q = &pixel(de);
                for (std::int64_t j = de; j <= a; ++j, q += pasMineur)
                    *q = opaque;
            } else {
                for (std::int64_t j = de; j <= a; ++j)
                    m.blend(pixel(j), plein);
            }
        }
    }
    for (std::int64_t A = std::max({aMin, interieur0, interieur1 + 1}); A <= aMax; ++A)
        colonneAuBout(A);
}

} // namespace

namespace {

// The solid part of a line: its band when it is thick, its hairline otherwise.
void TraitPlein(int x1, int y1, int x2, int y2, const TBitmap32& target, TZone z, TColor32 colour, int t)
{
    if (t > 0) {
        BandePleine(z, x1, y1, x2, y2, t, colour);
        return;
    }
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    double u0 = 0, u1 = 1;
    if (!ClipperSegment(x1, y1, dx, dy, target, u0, u1))
        return;
    // A far-away start is brought near the bitmap, so that a line through a
    // zoomed view costs its visible length only.
    const double majeur = std::max(std::fabs(dx), std::fabs(dy));
    u0 = std::floor(u0 * majeur) / majeur;
    TraitFin(z, x1 + u0 * dx, y1 + u0 * dy, x1 + u1 * dx, y1 + u1 * dy, colour);
}

} // namespace

void TracerLigne(int x1, int y1, int x2, int y2, TBitmap32& target, int style, int arrow, TColor32 colour,
                 int t)
{
    if (x1 == x2 && y1 == y2)
        return;
    t = std::max(0, t);
    if (style != stTirets) {
        TraitPlein(x1, y1, x2, y2, target, TZone::de(target), colour, t);
    } else {
        // Dashed lines are 4t + 1 stippled hairlines half a pixel apart.
        const double dx = static_cast<double>(x2) - x1;
        const double dy = static_cast<double>(y2) - y1;
        const double len = std::sqrt(dx * dx + dy * dy);
        const double nx = dy / len;
        const double ny = -dx / len;
        const double pas = 0.5 / (t + 1);
        const double periode = 4.0 * (t + 1); // a dash and a gap, along the major axis
        const double majeur = std::max(std::fabs(dx), std::fabs(dy));
        const std::vector<TColor32> stipple = {colour, 0x00000000};
        for (int k = -2 * t; k <= 2 * t; ++k) {
            const double ox = k / 2.0 * nx;
            const double oy = k / 2.0 * ny;
            double u0 = 0, u1 = 1;
            if (!ClipperSegment(x1 + ox, y1 + oy, dx, dy, target, u0, u1))
                continue;
            // The start moves back to a whole number of dash periods, which keeps
            // the dashes where they were.
            u0 = std::floor(u0 * majeur / periode) * periode / majeur;
            const double ax = x1 + ox + u0 * dx, ay = y1 + oy + u0 * dy;
            const double bx = x1 + ox + u1 * dx, by = y1 + oy + u1 * dy;
            target.lineAAStipple(ax, ay, bx, by, stipple, pas);
        }
    }

    if (arrow != flFin && arrow != flDouble)
        return;
    const int barbe = 2 * t + 7;
    const auto idx = static_cast<std::int64_t>(x2) - x1, idy = static_cast<std::int64_t>(y2) - y1;
    PointeFleche(target, x2, y2, BarbesLigne(idx, idy, t, false), barbe, t, colour);
    if (arrow == flDouble)
        PointeFleche(target, x1, y1, BarbesLigne(idx, idy, t, true), barbe, t, colour);
}

void TracerFleches(TBitmap32& target, const std::vector<TFleche>& fleches, TColor32 colour, int t,
                   const std::function<void(int, int)>& avant, int fils)
{
    t = std::max(0, t);
    const int W = target.width(), H = target.height();
    if (target.isEmpty() || alphaOf(colour) == 0 || t > kPointesGardees) {
        // Nothing to see, or heads of unusual thickness drawn in place: one go.
        if (avant)
            avant(0, H);
        for (const TFleche& f : fleches)
            TracerLigne(f.x, f.y, f.x + f.dx, f.y + f.dy, target, stPlein, flFin, colour, t);
        return;
    }

    // The picture is drawn strip by strip: a strip is prepared (`avant`) and gets
    // all its lines while its pixels are still in the processor's cache. Each
    // strip gets every line that reaches it, in order, clipped to its rows: each
    // pixel receives the same blends in the same order as when the lines are drawn
    // one by one, whichever thread draws the strip.
    int n = fils > 0 ? fils : static_cast<int>(std::thread::hardware_concurrency());
    // Threads pay for themselves on large pictures only.
    if (fils <= 0 && static_cast<std::int64_t>(W) * H < 512 * 512)
        n = 1;
    n = std::clamp(n, 1, 16);
    // Strips of 64 rows; a hairline, which is walked from its start in every strip
    // it crosses, in four strips a thread.
    const int hauteurBande = t > 0 ? 64 : std::max(64, (H + 4 * n - 1) / (4 * n));
    const int nBandes = (H + hauteurBande - 1) / hauteurBande;
    n = std::min(n, nBandes);
    const int barbe = 2 * t + 7;
    const int portee = 3 * t + 12; // how far a line's band or head reaches beyond its ends
    TMelange& m = TMelange::pour(colour);
    // Lines by strip (strip k's are liste[debut[k] .. debut[k + 1])), and the
    // heads' shapes, looked up (and drawn, the first time) here so that the
    // threads only place them.
    thread_local std::vector<std::uint32_t> debut, liste;
    thread_local std::vector<const TPointe*> pointes;
    std::vector<TFormePointe> gardees; // kept alive while the strips are drawn
    debut.assign(static_cast<std::size_t>(nBandes) + 1, 0);
    pointes.assign(fleches.size(), nullptr);
    auto bandes = [&](const TFleche& f, int& b0, int& b1) {
        const std::int64_t y2 = static_cast<std::int64_t>(f.y) + f.dy;
        const std::int64_t haut = std::max<std::int64_t>(std::min<std::int64_t>(f.y, y2) - portee, 0);
        const std::int64_t bas = std::min<std::int64_t>(std::max<std::int64_t>(f.y, y2) + portee, H - 1);
        b0 = static_cast<int>(haut / hauteurBande);
        b1 = static_cast<int>(bas / hauteurBande);
        return (f.dx != 0 || f.dy != 0) && haut <= bas;
    };
    for (std::size_t i = 0; i < fleches.size(); ++i) {
        const TFleche& f = fleches[i];
        int b0, b1;
        if (!bandes(f, b0, b1))
            continue;
        for (int b = b0; b <= b1; ++b)
            ++debut[static_cast<std::size_t>(b) + 1];
        if (!PointeAtteint(W, H, f.x + f.dx, f.y + f.dy, barbe, t))
            continue;
        const TBarbes br = BarbesLigne(f.dx, f.dy, t, false);
        const TFormePointe& forme = PixelsPointe(br.ex1, br.ey1, br.ex2, br.ey2, t, m, alphaOf(colour));
        if (gardees.empty() || gardees.back() != forme)
            gardees.push_back(forme);
        pointes[i] = forme.get();
    }
    for (int b = 0; b < nBandes; ++b)
        debut[static_cast<std::size_t>(b) + 1] += debut[static_cast<std::size_t>(b)];
    liste.resize(debut.back());
    {
        thread_local std::vector<std::uint32_t> rempli;
        rempli.assign(debut.begin(), debut.end() - 1);
        for (std::size_t i = 0; i < fleches.size(); ++i) {
            int b0, b1;
            if (!bandes(fleches[i], b0, b1))
                continue;
            for (int b = b0; b <= b1; ++b)
                liste[rempli[static_cast<std::size_t>(b)]++] = static_cast<std::uint32_t>(i);
        }
    }

    const TZone zone = TZone::de(target);
    const std::uint32_t* const parBande = liste.data();
    const std::uint32_t* const debuts = debut.data();
    const auto* const formes = pointes.data();
    std::atomic<int> suivante{0};
    auto dessiner = [&] {
        TMelange& mk = TMelange::pour(colour);
        for (int k; (k = suivante.fetch_add(1, std::memory_order_relaxed)) < nBandes;) {
            const TZone z = zone.lignes(k * hauteurBande, (k + 1) * hauteurBande);
            if (avant)
                avant(z.debut, z.fin);
            for (std::uint32_t n = debuts[k]; n < debuts[k + 1]; ++n) {
                const std::uint32_t i = parBande[n];
                const TFleche& f = fleches[i];
                TraitPlein(f.x, f.y, f.x + f.dx, f.y + f.dy, target, z, colour, t);
                if (formes[i])
                    PoserPointe(z, f.x + f.dx, f.y + f.dy, *formes[i], mk);
            }
        }
    };
    std::vector<std::thread> equipe;
    equipe.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 1; k < n; ++k)
        equipe.emplace_back(dessiner);
    dessiner();
    for (std::thread& th : equipe)
        th.join();
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
                const int x = xc + arrondi(rayon * c);
                const int y = yc + arrondi(rayon * s);
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
            const int dx = arrondi(j * c);
            const int dy = arrondi(j * s);
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
