#include "projections/mercator.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace polaire {

namespace {

inline int arrondiPixel(double v)
{
    constexpr double magique = 6755399441055744.0;
    return static_cast<int>((v + magique) - magique);
}

} // namespace

void construireMercatorOblique(const TBitmap32& imagePolaire, TBitmap32& image, int fils)
{
    const int Wm = imagePolaire.width(), Hm = imagePolaire.height();
    if (Wm < 2 || Hm < 2) {
        image.setSize(std::max(0, Wm), std::max(0, Hm));
        return;
    }
    const int h = Hm / 2;
    image.setSizeUninitialized(Wm, Hm);
    TColor32* const sortie = image.bits();
    const TColor32* const P = imagePolaire.bits();

    std::vector<double> cosA(static_cast<std::size_t>(Wm)), sinA(static_cast<std::size_t>(Wm));
    for (int x = 0; x < Wm; ++x) {
        const double a = x * 2 * M_PI / (Wm - 1) - M_PI;
        cosA[static_cast<std::size_t>(x)] = std::cos(a);
        sinA[static_cast<std::size_t>(x)] = std::sin(a);
    }
    auto lire = [&](int x, int y) -> TColor32 {
        if (x < 0 || y < 0 || x >= Wm || y >= Hm)
            return 0;
        return P[static_cast<std::size_t>(y) * Wm + x];
    };
    // The disc pixel r pixels from a centre in the direction of column x: the
    // nearest one, or the one towards the centre when the nearest lies just outside
    // the disc or the picture (on the edge, r = h; with an even Hm the discs' bottom
    // and outer edges are one pixel beyond the picture), so that every pixel comes
    // from a disc.
    auto decalageDisque = [&](double r, int x, int& ox, int& oy) {
        const double cx = r * cosA[static_cast<std::size_t>(x)], cy = r * sinA[static_cast<std::size_t>(x)];
        ox = arrondiPixel(cx);
        oy = arrondiPixel(cy);
        if (ox * ox + oy * oy > h * h || h - oy >= Hm || h + std::abs(ox) >= Hm) {
            ox = static_cast<int>(cx);
            oy = static_cast<int>(cy);
        }
    };
    // Columns x0 … x1 − 1 of row y.
    auto segment = [&](int y, int x0, int x1) {
        TColor32* ligne = sortie + static_cast<std::size_t>(y) * Wm;
        int ox, oy;
        if (y <= h) {
            // Disc 1: the pole's hemisphere, y pixels from its centre.
            for (int x = x0; x < x1; ++x) {
                decalageDisque(y, x, ox, oy);
                ligne[x] = lire(h + ox, h - oy);
            }
        } else {
            // Disc 2: 2h − y pixels from the antipode, the same azimuth (the disc
            // shows the antipodes of disc 1 mirrored top to bottom).
            for (int x = x0; x < x1; ++x) {
                decalageDisque(2 * h - y, x, ox, oy);
                ligne[x] = lire(Hm + h - ox, h - oy);
            }
        }
    };
    // Blocks of rows read neighbouring rings of a disc: taken column block by column
    // block, each reads a small sector of it, still in the processor's cache for the
    // next row.
    constexpr int kLignes = 16, kColonnes = 256;
    auto rangee = [&](int y0, int y1) {
        for (int x0 = 0; x0 < Wm; x0 += kColonnes)
            for (int y = y0; y < y1; ++y)
                segment(y, x0, std::min(Wm, x0 + kColonnes));
    };

    int n = fils > 0 ? fils : static_cast<int>(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, 16);
    std::atomic<int> suivant{0};
    auto travail = [&] {
        for (;;) {
            const int debut = suivant.fetch_add(kLignes);
            if (debut >= Hm)
                return;
            rangee(debut, std::min(Hm, debut + kLignes));
        }
    };
    std::vector<std::thread> equipe;
    for (int i = 1; i < n; ++i)
        equipe.emplace_back(travail);
    travail();
    for (std::thread& t : equipe)
        t.join();
}

} // namespace polaire
