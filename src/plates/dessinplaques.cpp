#include "plates/dessinplaques.h"

#include "drawing/dessins.h"

#include <QFont>

#include <cmath>

namespace plaques {

namespace {

struct PointF {
    double x = 0, y = 0;
};

// Lines of thickness about t: hairlines side by side along the normal.
void trait(TBitmap32& c, const PointF& a, const PointF& b, double nx, double ny, double t, TColor32 coul)
{
    const int n = std::max(1, static_cast<int>(std::lround(t)));
    for (int i = 0; i < n; ++i) {
        const double o = (i - (n - 1) / 2.0);
        c.lineAA(a.x + nx * o, a.y + ny * o, b.x + nx * o, b.y + ny * o, coul);
    }
}

// Filled triangle by hairlines from the apex to points along the base.
void dent(TBitmap32& c, const PointF& b1, const PointF& b2, const PointF& sommet, TColor32 coul)
{
    const double l = std::hypot(b2.x - b1.x, b2.y - b1.y);
    const int n = std::max(2, static_cast<int>(std::ceil(l * 2)));
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        c.lineAA(sommet.x, sommet.y, b1.x + (b2.x - b1.x) * t, b1.y + (b2.y - b1.y) * t, coul);
    }
}

QFont police(double taille, bool gras = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(8, static_cast<int>(std::lround(taille))));
    f.setBold(gras);
    return f;
}

} // namespace

QRect dessinerLimites(TBitmap32& calque, const std::vector<SegmentLimite>& limites, const carte::TProjection& proj,
                      const StyleLimites& style)
{
    calque.clear(clTransparentWhite32);
    const double e = style.echelle;
    const double saut = std::max(proj.largeur(), proj.hauteur()) / 4.0;
    const double espacementDents = 16 * e, baseDent = 6 * e, hauteurDent = 5 * e;
    for (const SegmentLimite& s : limites) {
        // Teeth: the overriding plate is the left one for '/', the right one for '\'.
        const double cote = s.polarite == '/' ? 1 : s.polarite == '\\' ? -1 : 0;
        double parcouru = espacementDents / 2; // along the current run of subduction steps
        carte::PointCarte p0;
        bool ok0 = proj.versPixel(s.points[0].longitude, s.points[0].latitude, p0);
        for (std::size_t i = 0; i + 1 < s.points.size(); ++i) {
            carte::PointCarte p1;
            const bool ok1 = proj.versPixel(s.points[i + 1].longitude, s.points[i + 1].latitude, p1);
            const bool ok = ok0 && ok1;
            const carte::PointCarte a = p0;
            p0 = p1;
            ok0 = ok1;
            if (!ok)
                continue;
            const PointF pa{static_cast<double>(a.x), static_cast<double>(a.y)};
            const PointF pb{static_cast<double>(p1.x), static_cast<double>(p1.y)};
            const double dx = pb.x - pa.x, dy = pb.y - pa.y;
            const double l = std::hypot(dx, dy);
            if (l > saut)
                continue;
            const TypeLimite type = s.types[i];
            const TColor32 coul = style.couleurs[static_cast<std::size_t>(familleDe(type))];
            double nx = 0, ny = 1, ux = 1, uy = 0;
            if (l > 0) {
                ux = dx / l;
                uy = dy / l;
                nx = -uy;
                ny = ux;
            }
            trait(calque, pa, pb, nx, ny, e + 2, style.lisere);
            trait(calque, pa, pb, nx, ny, e, coul);
            if (type != TypeLimite::SUB || cote == 0 || l == 0) {
                parcouru = espacementDents / 2;
                continue;
            }
            // Left of the travel on a picture with north up and east right is
            // (dy, -dx); a mirrored projection swaps the sides.
            double ex, ey, nox, noy;
            proj.repereLocal((s.points[i].longitude + s.points[i + 1].longitude) / 2,
                             (s.points[i].latitude + s.points[i + 1].latitude) / 2, ex, ey, nox, noy);
            const double miroir = ex * noy - ey * nox > 0 ? -1 : 1;
            const double gx = uy * cote * miroir, gy = -ux * cote * miroir;
            double pos = espacementDents - parcouru;
            while (pos <= l) {
                const PointF c{pa.x + ux * pos, pa.y + uy * pos};
                const PointF b1{c.x - ux * baseDent / 2, c.y - uy * baseDent / 2};
                const PointF b2{c.x + ux * baseDent / 2, c.y + uy * baseDent / 2};
                const PointF s1{c.x + gx * hauteurDent, c.y + gy * hauteurDent};
                dent(calque, b1, b2, s1, coul);
                pos += espacementDents;
            }
            parcouru = l - (pos - espacementDents);
        }
    }
    if (!style.legende)
        return {};
    const TBitmap32 leg = legendeLimites(style);
    const int x = static_cast<int>(10 * e), y = calque.height() - leg.height() - static_cast<int>(10 * e);
    if (y < 0)
        return {};
    calque.draw(x, y, leg, TBitmap32::DrawMode::Blend);
    return QRect(x, y, leg.width(), leg.height());
}

TBitmap32 legendeLimites(const StyleLimites& style)
{
    const double e = style.echelle;
    const QFont titre = police(13 * e, true), texte = police(12 * e);
    const QString t = QStringLiteral("Limites de plaques (Bird, 2003)");
    int largeur = TBitmap32::textWidth(t, titre);
    for (int f = 0; f < NbFamilles; ++f)
        largeur = std::max(largeur, static_cast<int>(46 * e) + TBitmap32::textWidth(nomFamille(static_cast<FamilleLimite>(f)), texte));
    const int ligne = static_cast<int>(std::lround(18 * e));
    const int marge = static_cast<int>(std::lround(6 * e));
    const int hautTitre = TBitmap32::textHeight(t, titre);
    TBitmap32 b(largeur + 2 * marge, hautTitre + NbFamilles * ligne + 2 * marge, withAlpha(clWhite32, 0xD0));
    b.frameRect(b.boundsRect(), 0xFF404040);
    b.drawText(marge, marge, t, titre, clBlack32);
    for (int f = 0; f < NbFamilles; ++f) {
        const int y0 = marge + hautTitre + f * ligne;
        const double ym = y0 + ligne / 2.0;
        const TColor32 c = style.couleurs[static_cast<std::size_t>(f)];
        const PointF a{static_cast<double>(marge), ym}, z{marge + 34 * e, ym};
        trait(b, a, z, 0, 1, e + 2, style.lisere);
        trait(b, a, z, 0, 1, e, c);
        if (static_cast<FamilleLimite>(f) == FamilleLimite::Subduction)
            for (double x = marge + 8 * e; x < marge + 34 * e; x += 14 * e)
                dent(b, {x - 3 * e, ym}, {x + 3 * e, ym}, {x, ym - 5 * e}, c);
        b.drawText(static_cast<int>(marge + 42 * e), y0 + (ligne - TBitmap32::textHeight(QStringLiteral("Xg"), texte)) / 2,
                   nomFamille(static_cast<FamilleLimite>(f)), texte, clBlack32);
    }
    return b;
}

void dessinerVecteurs(TBitmap32& calque, const std::vector<VecteurCalcule>& vecteurs, const carte::TProjection& proj,
                      double echelle, TColor32 couleur, int epaisseur)
{
    for (const VecteurCalcule& v : vecteurs) {
        carte::PointCarte p;
        if (!proj.versPixel(v.longitude, v.latitude, p))
            continue;
        double ex, ey, nx, ny;
        proj.repereLocal(v.longitude, v.latitude, ex, ey, nx, ny);
        const double e = v.est * echelle, n = v.nord * echelle;
        const int dx = carte::arrondi(e * ex + n * nx);
        const int dy = carte::arrondi(e * ey + n * ny);
        if (dx == 0 && dy == 0)
            continue;
        TracerLigne(p.x, p.y, p.x + dx, p.y + dy, calque, stPlein, flFin, couleur, epaisseur);
    }
}

} // namespace plaques
