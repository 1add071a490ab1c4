#include "exercises/positionnement.h"

#include "data/longitude.h"
#include "map/lecture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr TColor32 CouleurGrille = 0xC0202020;
constexpr TColor32 CouleurEquateur = 0xFFFFFFFF;

int borne(int v, int lo, int hi)
{
    return std::max(lo, std::min(hi, v));
}

QString texteCoordonnee(const QString& intitule, double v, const char* positif, const char* negatif)
{
    QString t = intitule + carte::formatGeneral(std::fabs(v), 4) + QStringLiteral("° ");
    if (v > 0)
        t += QLatin1String(positif);
    else if (v < 0)
        t += QLatin1String(negatif);
    return t;
}

// Source pixel ranges [debut[i], debut[i + 1]) of the n destination pixels over a
// length of `source` pixels, each at least one pixel long.
std::vector<int> decoupage(int source, int n)
{
    std::vector<int> d(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
        d[static_cast<std::size_t>(i)] =
            static_cast<int>(static_cast<std::int64_t>(i) * source / n);
    for (int i = 0; i < n; ++i)
        if (d[static_cast<std::size_t>(i) + 1] <= d[static_cast<std::size_t>(i)])
            d[static_cast<std::size_t>(i) + 1] = d[static_cast<std::size_t>(i)] + 1;
    return d;
}

} // namespace

Carre carreDePosition(double latitude, double longitude)
{
    Carre c;
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || latitude < -90 || latitude > 90)
        return c;
    const double lon = ramenerLongitude(longitude);
    c.ligne = borne(static_cast<int>((90 - latitude) / 20), 0, LignesCarres - 1);
    c.colonne = borne(static_cast<int>((lon + 180) / 20), 0, ColonnesCarres - 1);
    return c;
}

Carre carreDuPoint(int x, int y)
{
    Carre c;
    if (x < 0 || y < 0 || x >= LargeurPlanis || y >= HauteurPlanis)
        return c;
    c.colonne = x / CoteCarre;
    c.ligne = y / CoteCarre;
    return c;
}

Carre carreDeNumero(int numero)
{
    Carre c;
    if (numero < 1 || numero > ColonnesCarres * LignesCarres)
        return c;
    c.colonne = (numero - 1) % ColonnesCarres;
    c.ligne = (numero - 1) / ColonnesCarres;
    return c;
}

QString texteLatitude(double latitude)
{
    return texteCoordonnee(QStringLiteral("Latitude : "), latitude, "N", "S");
}

QString texteLongitude(double longitude)
{
    return texteCoordonnee(QStringLiteral("Longitude : "), longitude, "E", "O");
}

TBitmap32 reduirePlanisphere(const TBitmap32& fond, int decalage, int largeur, int hauteur)
{
    TBitmap32 r;
    if (fond.isEmpty() || largeur <= 0 || hauteur <= 0)
        return r;
    r.setSizeUninitialized(largeur, hauteur);
    const int W = fond.width(), H = fond.height();
    // Longitude -180 is at the map's column decalage / 360 × W.
    const int origine = static_cast<int>(std::lround(ramenerLongitude(static_cast<double>(decalage)) / 360.0 * W));
    const std::vector<int> colonnes = decoupage(W, largeur);
    const std::vector<int> lignes = decoupage(H, hauteur);
    std::vector<std::uint32_t> a(static_cast<std::size_t>(largeur)), rr(a.size()), g(a.size()), b(a.size()),
        n(a.size());
    // Column of the base picture for each geographic column, rolled once.
    std::vector<int> source(static_cast<std::size_t>(W));
    for (int x = 0; x < W; ++x)
        source[static_cast<std::size_t>(x)] = ((x + origine) % W + W) % W;
    for (int v = 0; v < hauteur; ++v) {
        std::fill(a.begin(), a.end(), 0u);
        std::fill(rr.begin(), rr.end(), 0u);
        std::fill(g.begin(), g.end(), 0u);
        std::fill(b.begin(), b.end(), 0u);
        std::fill(n.begin(), n.end(), 0u);
        const int y1 = std::min(lignes[static_cast<std::size_t>(v) + 1], H);
        for (int y = std::min(lignes[static_cast<std::size_t>(v)], H - 1); y < y1; ++y) {
            const TColor32* ligne = fond.scanLine(y);
            for (int u = 0; u < largeur; ++u) {
                const int x1 = std::min(colonnes[static_cast<std::size_t>(u) + 1], W);
                std::uint32_t sa = 0, sr = 0, sg = 0, sb = 0;
                int x = std::min(colonnes[static_cast<std::size_t>(u)], W - 1);
                const int compte = x1 - x;
                for (; x < x1; ++x) {
                    const TColor32 c = ligne[source[static_cast<std::size_t>(x)]];
                    sa += alphaOf(c);
                    sr += redOf(c);
                    sg += greenOf(c);
                    sb += blueOf(c);
                }
                const auto k = static_cast<std::size_t>(u);
                a[k] += sa;
                rr[k] += sr;
                g[k] += sg;
                b[k] += sb;
                n[k] += static_cast<std::uint32_t>(compte);
            }
        }
        TColor32* sortie = r.scanLine(v);
        for (int u = 0; u < largeur; ++u) {
            const auto k = static_cast<std::size_t>(u);
            const std::uint32_t d = n[k] ? n[k] : 1, demi = d / 2;
            sortie[u] = color32((rr[k] + demi) / d, (g[k] + demi) / d, (b[k] + demi) / d, (a[k] + demi) / d);
        }
    }
    return r;
}

void dessinerGrille(TBitmap32& image)
{
    const int w = image.width(), h = image.height();
    for (int k = 0; k <= ColonnesCarres; ++k) {
        const int x = std::min(k * CoteCarre, w - 1);
        image.vLineBlend(x, 0, h - 1, CouleurGrille);
    }
    for (int k = 0; k <= LignesCarres; ++k) {
        const int y = std::min(k * CoteCarre, h - 1);
        image.hLineBlend(0, w - 1, y, CouleurGrille);
    }
    // The equator runs through the middle of the fifth row: dotted, to find one's way.
    const int equateur = h / 2;
    for (int x = 0; x < w; x += 4)
        image.hLineBlend(x, std::min(x + 1, w - 1), equateur, CouleurEquateur);
}

TBitmap32 planisphereExercice(const TBitmap32& fond, int decalage)
{
    TBitmap32 image = reduirePlanisphere(fond, decalage, LargeurPlanis, HauteurPlanis);
    if (image.isEmpty())
        image = TBitmap32(LargeurPlanis, HauteurPlanis, 0xFFFFFFFF);
    dessinerGrille(image);
    return image;
}
