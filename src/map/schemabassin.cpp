#include "map/schemabassin.h"

#include "drawing/dessins.h"
#include "ui/arrondi.h"

#include <QFont>

#include <algorithm>
#include <array>

namespace {

constexpr TColor32 Noir = 0xFF000000;
constexpr TColor32 Bleu = 0xFF0000FF;
constexpr TColor32 Croute = 0xFFE3D3B8;
constexpr TColor32 Sediments = 0xFF8B5A2B;
constexpr TColor32 Rouge = 0xFFFF0000;

struct Point {
    int x;
    int y;
};

// Height of the outline at column x (linear between its points).
int hauteurProfil(const std::array<Point, 11>& p, int x)
{
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        if (x <= p[i + 1].x) {
            const double t = p[i + 1].x == p[i].x ? 0.0 : static_cast<double>(x - p[i].x) / (p[i + 1].x - p[i].x);
            return arrondi(p[i].y + t * (p[i + 1].y - p[i].y));
        }
    return p.back().y;
}

} // namespace

int ligneEauSchema(int eau)
{
    return 60 - arrondi(eau / 3.0);
}

int creteSchema(int dorsales)
{
    return 120 - arrondi(dorsales / 2.0);
}

TBitmap32 dessinerSchemaBassin(int dorsales, int eau)
{
    const int W = LargeurSchema, H = HauteurSchema;
    TBitmap32 b(W, H);
    const int flanc = 200 - arrondi(dorsales / 3.0);
    const int crete = creteSchema(dorsales);
    const int surface = std::clamp(ligneEauSchema(eau), 2, H - 40);
    // The continents at both ends, their slopes, the abyssal plains and the ridge.
    const std::array<Point, 11> profil{{{0, 50},
                                        {50, 50},
                                        {75, 205},
                                        {120, 207},
                                        {150, flanc},
                                        {W / 2, crete},
                                        {W - 150, flanc},
                                        {W - 120, 207},
                                        {W - 75, 205},
                                        {W - 50, 50},
                                        {W - 1, 50}}};
    for (std::size_t i = 0; i + 1 < profil.size(); ++i)
        TracerLigne(profil[i].x, profil[i].y, profil[i + 1].x, profil[i + 1].y, b, stPlein, flAucune, Noir, 0);
    // The crust below the outline.
    RemplirZone(W / 2, H - 2, Croute, b, rmPlein);
    // Sediments over the plains, thinning towards the ridge.
    for (int x = 72; x < W - 72; ++x) {
        const int distance = std::abs(x - W / 2);
        const int epaisseur = std::clamp((distance - 30) / 6, 0, 10);
        const int haut = hauteurProfil(profil, x);
        for (int y = haut + 1; y <= haut + epaisseur && y < H; ++y)
            if (b.pixel(x, y) == Croute)
                b.setPixel(x, y, Sediments);
    }
    // The sea surface over open water only, then the water under it.
    for (int y = surface; y <= surface + 1; ++y)
        for (int x = 0; x < W; ++x)
            if (alphaOf(b.pixel(x, y)) == 0)
                b.setPixel(x, y, Bleu);
    for (const int x : {100, W - 100, W / 2})
        if (surface + 3 < hauteurProfil(profil, x) && alphaOf(b.pixel(x, surface + 3)) == 0)
            RemplirZone(x, surface + 3, Bleu, b, rmObliques1);
    QFont police(QStringLiteral("Arial"), 48);
    police.setBold(true);
    b.drawText(W - 45, 0, QStringLiteral("?"), police, Rouge);

    TBitmap32 sortie(W, H, clWhite32);
    sortie.draw(0, 0, b, TBitmap32::DrawMode::Blend);
    return sortie;
}
