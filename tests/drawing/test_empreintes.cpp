// Fingerprints of fixed line drawings: thin and thick lines at many angles, with
// and without heads, opaque and translucent, over an empty and a shaded picture,
// crossing the picture's edges. The drawing code may get faster; any change to a
// single pixel of these pictures fails here.
#include "drawing/dessins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

std::uint64_t Empreinte(const TBitmap32& b)
{
    std::uint64_t h = 1469598103934665603ull;
    auto mele = [&h](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    };
    mele(static_cast<std::uint32_t>(b.width()));
    mele(static_cast<std::uint32_t>(b.height()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            mele(b.pixel(x, y));
    return h;
}

// A picture with a shaded, partly transparent background: blends over it take
// every path of the blending code.
TBitmap32 FondNuance(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, color32(static_cast<std::uint32_t>(x * 3), static_cast<std::uint32_t>(y * 5),
                                     static_cast<std::uint32_t>((x ^ y) & 0xFF),
                                     static_cast<std::uint32_t>((x + 2 * y) & 0xFF)));
    return b;
}

// A fan of lines from near the centre, every 7.5°, of lengths 3 to 60 pixels, with
// overlapping heads; some reach past the picture's edges.
void Eventail(TBitmap32& b, int style, int fleche, TColor32 c, int t)
{
    const int cx = b.width() / 2, cy = b.height() / 2;
    for (int i = 0; i < 48; ++i) {
        const double a = i * M_PI / 24;
        const double l = 3 + (i * 37) % 58;
        const int x2 = cx + static_cast<int>(std::lround(l * std::cos(a)));
        const int y2 = cy + static_cast<int>(std::lround(l * std::sin(a)));
        TracerLigne(cx + i % 3, cy - i % 2, x2, y2, b, style, fleche, c, t);
    }
    // Lines through and off the edges.
    TracerLigne(-30, 5, b.width() + 40, 17, b, style, fleche, c, t);
    TracerLigne(7, -50, 19, b.height() + 9, b, style, fleche, c, t);
    TracerLigne(b.width() - 3, b.height() - 2, b.width() + 25, b.height() + 30, b, style, fleche, c, t);
    TracerLigne(2, b.height() - 1, -20, b.height() - 15, b, style, fleche, c, t);
    // Exact horizontals, verticals and diagonals.
    TracerLigne(10, 10, 50, 10, b, style, fleche, c, t);
    TracerLigne(12, 12, 12, 60, b, style, fleche, c, t);
    TracerLigne(20, 80, 60, 40, b, style, fleche, c, t);
    TracerLigne(100, 20, 60, 60, b, style, fleche, c, t);
}

struct Scene {
    const char* nom;
    bool nuance;
    int style, fleche;
    TColor32 couleur;
    int t;
    std::uint64_t attendue;
};

} // namespace

TEST(EmpreintesTraits, LinesAndArrowsDrawTheSamePixelsAsBefore)
{
    const Scene scenes[] = {
        {"fin, flèche", false, stPlein, flFin, 0xFF1030C0, 0, 0xf85209bc296d88dbull},
        {"épaisseur 1, flèche", false, stPlein, flFin, 0xFF1030C0, 1, 0xecf126cce327a836ull},
        {"épaisseur 2, flèche", false, stPlein, flFin, 0xFF1030C0, 2, 0xcbac08408a0e53c7ull},
        {"épaisseur 3, flèche", false, stPlein, flFin, 0xFF1030C0, 3, 0x492c75b54439dfb6ull},
        {"épaisseur 5, sans flèche", false, stPlein, flAucune, 0xFF1030C0, 5, 0xa5b04dfcb0cb746dull},
        {"épaisseur 3, double flèche", false, stPlein, flDouble, 0xFF1030C0, 3, 0x83b828adb406422ull},
        {"translucide 3, flèche", false, stPlein, flFin, 0x80C02010, 3, 0xe592996814a30075ull},
        {"translucide fin, flèche", false, stPlein, flFin, 0x80C02010, 0, 0x6ff4f0ba97bb4519ull},
        {"nuancé, épaisseur 3", true, stPlein, flFin, 0xFF20A040, 3, 0x1cf720a76d5681d6ull},
        {"nuancé, translucide 2", true, stPlein, flDouble, 0xA020A040, 2, 0xf20990025dd6de88ull},
        {"nuancé, fin", true, stPlein, flFin, 0xFF20A040, 0, 0x1420c8211a5de8c0ull},
        {"tirets, épaisseur 1", false, stTirets, flFin, 0xFF1030C0, 1, 0x5bfbbfafcdf413eull},
        {"tirets nuancés, épaisseur 2", true, stTirets, flAucune, 0xC01030C0, 2, 0x849a629bb21dbf56ull},
    };
    for (const Scene& s : scenes) {
        TBitmap32 b = s.nuance ? FondNuance(160, 120) : TBitmap32(160, 120, clTransparentWhite32);
        Eventail(b, s.style, s.fleche, s.couleur, s.t);
        const std::uint64_t e = Empreinte(b);
        EXPECT_EQ(e, s.attendue) << s.nom << ": 0x" << std::hex << e;
    }
}

// Many arrows drawn at once, by strips of rows shared among threads, give the
// picture of the same arrows drawn one by one, whatever the number of threads,
// the picture's height and the colour; the preparation sees every row once.
TEST(TracerFleches, SameAsOneByOneWithAnyNumberOfThreads)
{
    std::vector<TFleche> fleches;
    std::uint32_t graine = 7;
    auto alea = [&graine](int n) {
        graine = graine * 1664525u + 1013904223u;
        return static_cast<int>((graine >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int i = 0; i < 400; ++i)
        fleches.push_back({alea(260) - 30, alea(230) - 30, alea(161) - 80, alea(161) - 80});
    fleches.push_back({50, 50, 0, 0});      // no length: nothing
    fleches.push_back({-500, 90, 2000, 7}); // across the whole picture
    fleches.push_back({120, -900, 3, 2000});
    for (const int hauteur : {1, 10, 63, 64, 65, 200}) {
        for (const int t : {0, 1, 3, 70}) {
            for (const TColor32 c : {TColor32(0xFF2040C0), TColor32(0x9020C040)}) {
                const TColor32 fond = 0x30FFFFFF;
                TBitmap32 attendue(200, hauteur, fond);
                for (const TFleche& f : fleches)
                    TracerLigne(f.x, f.y, f.x + f.dx, f.y + f.dy, attendue, stPlein, flFin, c, t);
                for (const int fils : {0, 1, 2, 3, 5}) {
                    TBitmap32 b(200, hauteur, 0xFF000000);
                    std::vector<int> vues(static_cast<std::size_t>(hauteur), 0);
                    TColor32* const px = b.bits(); // (the threads must not touch the bitmap object)
                    TracerFleches(
                        b, fleches, c, t,
                        [&](int debut, int fin) {
                            for (int y = debut; y < fin; ++y) {
                                ++vues[static_cast<std::size_t>(y)];
                                std::fill(px + y * 200, px + (y + 1) * 200, fond);
                            }
                        },
                        fils);
                    ASSERT_EQ(b, attendue) << "hauteur " << hauteur << ", épaisseur " << t << ", couleur " << std::hex
                                           << c << std::dec << ", " << fils << " fils";
                    for (int y = 0; y < hauteur; ++y)
                        ASSERT_EQ(vues[static_cast<std::size_t>(y)], 1) << "ligne " << y;
                }
            }
        }
    }
}
