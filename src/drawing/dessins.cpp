#include "drawing/dessins.h"

#include "drawing/inondation.h"
#include "drawing/texteriche.h"

#include <algorithm>
#include <cmath>

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

// One arrow head with its tip at (x, y): two barbs of length b at angles
// theta + pi -/+ h, the open polyline grown by t with sharp joins.
void PointeFleche(TBitmap32& target, int x, int y, double theta, double h, int b, int t, TColor32 colour)
{
    // A head reaches at most b + t pixels from its tip: skip the ones that cannot
    // touch the bitmap (this also keeps far tips out of fixed-point range).
    const int portee = b + t + 2;
    if (x < -portee || y < -portee || x >= target.width() + portee || y >= target.height() + portee)
        return;
    TPolygon32 head;
    head.Closed = false;
    head.Add(x + Arrondi(b * std::cos(theta + kPi - h)), y + Arrondi(b * std::sin(theta + kPi - h)));
    head.Add(x, y);
    head.Add(x + Arrondi(b * std::cos(theta + kPi + h)), y + Arrondi(b * std::sin(theta + kPi + h)));
    // Growing by 0 is the outline itself: a thin head is its two barbs.
    if (t <= 0)
        head.Outline().DrawEdge(target, colour);
    else
        head.Outline().Grow(t, 1).Draw(target, colour, colour);
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
    const std::vector<TColor32> stipple{colour, 0x00000000};
    const double pas = 0.5 / (t + 1);
    const double periode = 4.0 * (t + 1); // a dash and a gap, along the major axis
    const double majeur = std::max(std::fabs(dx), std::fabs(dy));
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
            target.lineAA(ax, ay, bx, by, colour);
    }

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
