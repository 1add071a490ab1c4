#include "plates/dessinplaques.h"

#include "drawing/dessins.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace plaques {

namespace {

struct PointF {
    double x = 0, y = 0;
};

// Lines of thickness about t: hairlines side by side along the normal, and with
// an edge colour, one hairline on each side.
void trait(TBitmap32& c, const PointF& a, const PointF& b, double nx, double ny, double t, TColor32 coul,
           TColor32 bord = 0)
{
    const int n = std::max(1, static_cast<int>(std::lround(t)));
    for (int i = 0; i < n; ++i) {
        const double o = (i - (n - 1) / 2.0);
        c.lineAA(a.x + nx * o, a.y + ny * o, b.x + nx * o, b.y + ny * o, coul);
    }
    if (alphaOf(bord) == 0)
        return;
    const double o = (n + 1) / 2.0;
    c.lineAA(a.x + nx * o, a.y + ny * o, b.x + nx * o, b.y + ny * o, bord);
    c.lineAA(a.x - nx * o, a.y - ny * o, b.x - nx * o, b.y - ny * o, bord);
}

// The tiles a rectangle of the layer touches.
void marquer(TracesCalque& t, double x0, double y0, double x1, double y1)
{
    const int k = TracesCalque::kTuile;
    const int nx = (t.largeur + k - 1) / k, ny = (t.hauteur + k - 1) / k;
    const int i0 = std::clamp(static_cast<int>(std::floor(std::min(x0, x1))) / k, 0, nx - 1);
    const int i1 = std::clamp(static_cast<int>(std::floor(std::max(x0, x1))) / k, 0, nx - 1);
    const int j0 = std::clamp(static_cast<int>(std::floor(std::min(y0, y1))) / k, 0, ny - 1);
    const int j1 = std::clamp(static_cast<int>(std::floor(std::max(y0, y1))) / k, 0, ny - 1);
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i)
            t.tuiles[static_cast<std::size_t>(j) * nx + i] = 1;
}

void effacer(TBitmap32& calque, TracesCalque* t)
{
    const int k = TracesCalque::kTuile;
    if (!t || t->largeur != calque.width() || t->hauteur != calque.height()) {
        calque.clear(clTransparentWhite32);
    } else {
        const int nx = (t->largeur + k - 1) / k, ny = (t->hauteur + k - 1) / k;
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx;) {
                if (!t->tuiles[static_cast<std::size_t>(j) * nx + i]) {
                    ++i;
                    continue;
                }
                int f = i;
                while (f < nx && t->tuiles[static_cast<std::size_t>(j) * nx + f])
                    ++f;
                calque.fillRect(QRect(i * k, j * k, (f - i) * k, k), clTransparentWhite32);
                i = f;
            }
    }
    if (t) {
        t->largeur = calque.width();
        t->hauteur = calque.height();
        t->tuiles.assign(static_cast<std::size_t>((t->largeur + k - 1) / k) * ((t->hauteur + k - 1) / k), 0);
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
                      const StyleLimites& style, TracesCalque* traces)
{
    effacer(calque, traces);
    const double marge = 12 * style.echelle; // line, edges and teeth around a step
    const double e = style.echelle;
    const double saut = std::max(proj.largeur(), proj.hauteur()) / 4.0;
    const double espacementDents = 20 * e, baseDent = 8 * e, hauteurDent = 7 * e;
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
            if (l > 3) {
                // A step whose middle is not drawn near the middle of its ends
                // crosses a seam of the picture (the map's edge, the rim between
                // the two discs of a polar view): it is left out.
                const PointGeo& g0 = s.points[i];
                const PointGeo& g1 = s.points[i + 1];
                double d = g1.longitude - g0.longitude;
                d = d > 180 ? d - 360 : d < -180 ? d + 360 : d;
                carte::PointCarte m;
                if (!proj.versPixel(g0.longitude + d / 2, (g0.latitude + g1.latitude) / 2, m)
                    || std::hypot(m.x - (pa.x + pb.x) / 2, m.y - (pa.y + pb.y) / 2) > 0.3 * l + 3)
                    continue;
            }
            const TypeLimite type = s.types[i];
            const TColor32 coul = style.couleurs[static_cast<std::size_t>(familleDe(type))];
            double nx = 0, ny = 1, ux = 1, uy = 0;
            if (l > 0) {
                ux = dx / l;
                uy = dy / l;
                nx = -uy;
                ny = ux;
            }
            trait(calque, pa, pb, nx, ny, 1.5 * e, coul, style.lisere);
            if (traces)
                marquer(*traces, std::min(pa.x, pb.x) - marge, std::min(pa.y, pb.y) - marge,
                        std::max(pa.x, pb.x) + marge, std::max(pa.y, pb.y) + marge);
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
    if (traces)
        marquer(*traces, x, y, x + leg.width(), y + leg.height());
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
        trait(b, a, z, 0, 1, 1.5 * e, c, style.lisere);
        if (static_cast<FamilleLimite>(f) == FamilleLimite::Subduction)
            for (double x = marge + 8 * e; x < marge + 34 * e; x += 14 * e)
                dent(b, {x - 4 * e, ym}, {x + 4 * e, ym}, {x, ym - 6 * e}, c);
        b.drawText(static_cast<int>(marge + 42 * e), y0 + (ligne - TBitmap32::textHeight(QStringLiteral("Xg"), texte)) / 2,
                   nomFamille(static_cast<FamilleLimite>(f)), texte, clBlack32);
    }
    return b;
}

void effacerTraces(TBitmap32& calque, TracesCalque& traces)
{
    effacer(calque, &traces);
}

void dessinerVecteurs(TBitmap32& calque, const std::vector<VecteurCalcule>& vecteurs, const carte::TProjection& proj,
                      double echelle, TColor32 couleur, int epaisseur, TracesCalque* traces)
{
    // Drawn tile by tile, as the measured vectors: neighbouring arrows then share
    // the processor's cache.
    struct Fleche {
        std::uint32_t tuile;
        int x, y, dx, dy;
    };
    std::vector<Fleche> f;
    f.reserve(vecteurs.size());
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
        const auto tx = static_cast<std::uint32_t>(std::clamp(p.x / 128, 0, 0xFFFF));
        const auto ty = static_cast<std::uint32_t>(std::clamp(p.y / 128, 0, 0xFFFF));
        f.push_back({ty << 16 | tx, p.x, p.y, dx, dy});
    }
    std::stable_sort(f.begin(), f.end(), [](const Fleche& a, const Fleche& b) { return a.tuile < b.tuile; });
    const double marge = 8 + 2 * epaisseur; // arrow head and thickness
    for (const Fleche& a : f) {
        TracerLigne(a.x, a.y, a.x + a.dx, a.y + a.dy, calque, stPlein, flFin, couleur, epaisseur);
        if (traces)
            marquer(*traces, std::min(a.x, a.x + a.dx) - marge, std::min(a.y, a.y + a.dy) - marge,
                    std::max(a.x, a.x + a.dx) + marge, std::max(a.y, a.y + a.dy) + marge);
    }
}

} // namespace plaques
