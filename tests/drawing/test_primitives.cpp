// Pixel-level behaviour of the drawing primitives on small bitmaps.
#include "drawing/dessins.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr TColor32 kRouge = 0xFFFF0000;
constexpr TColor32 kBleu = 0xFF0000FF;

bool Encre(const TBitmap32& b, int x, int y)
{
    return b.contains(x, y) && alphaOf(b.pixel(x, y)) > 1;
}

int CompterEncre(const TBitmap32& b)
{
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += Encre(b, x, y);
    return n;
}

bool Intact(const TBitmap32& b)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != clTransparentWhite32)
                return false;
    return true;
}

} // namespace

TEST(MotifRemplissage, CodesFollowTheirSpacing)
{
    for (int x = -10; x < 20; ++x)
        for (int y = -10; y < 20; ++y) {
            EXPECT_FALSE(MotifEncre(rmVide, x, y));
            EXPECT_TRUE(MotifEncre(rmPlein, x, y));
            EXPECT_EQ(MotifEncre(rmVerticales, x, y), x % 5 == 0);
            EXPECT_EQ(MotifEncre(rmHorizontales, x, y), y % 5 == 0);
            EXPECT_EQ(MotifEncre(rmQuadrillage, x, y), x % 5 == 0 || y % 5 == 0);
            EXPECT_EQ(MotifEncre(rmObliques1, x, y), (x - y) % 7 == 0);
            EXPECT_EQ(MotifEncre(rmObliques2, x, y), (x + y) % 7 == 0);
            EXPECT_EQ(MotifEncre(rmQuadrillageOblique, x, y), (x - y) % 7 == 0 || (x + y) % 7 == 0);
            EXPECT_FALSE(MotifEncre(9, x, y));
        }
}

TEST(TracerLigne, CoincidentEndsDrawNothing)
{
    TBitmap32 b(40, 40);
    for (int t : {0, 3})
        for (int fl : {flAucune, flFin, flDouble})
            for (int st : {stPlein, stTirets})
                TracerLigne(20, 20, 20, 20, b, st, fl, kRouge, t);
    EXPECT_TRUE(Intact(b));
}

TEST(TracerLigne, ArrowHeadsPointAlongTheLine)
{
    struct Cas {
        int x1, y1, x2, y2;
    };
    // right, left, down, up
    const Cas cas[] = {{10, 30, 50, 30}, {50, 30, 10, 30}, {30, 10, 30, 50}, {30, 50, 30, 10}};
    for (const Cas& c : cas) {
        TBitmap32 b(61, 61);
        TracerLigne(c.x1, c.y1, c.x2, c.y2, b, stPlein, flFin, kRouge, 0);
        const int dx = (c.x2 > c.x1) - (c.x2 < c.x1);
        const int dy = (c.y2 > c.y1) - (c.y2 < c.y1);
        const int px = -dy, py = dx; // across the line
        SCOPED_TRACE(testing::Message() << "direction " << dx << "," << dy);
        // The barbs trail behind the tip on both sides, never ahead of it.
        for (int side : {-1, 1}) {
            EXPECT_TRUE(Encre(b, c.x2 - 3 * dx + side * 3 * px, c.y2 - 3 * dy + side * 3 * py));
            EXPECT_FALSE(Encre(b, c.x2 + 3 * dx + side * 3 * px, c.y2 + 3 * dy + side * 3 * py));
        }
        // No head at the start with code 1.
        for (int side : {-1, 1})
            EXPECT_FALSE(Encre(b, c.x1 + 3 * dx + side * 3 * px, c.y1 + 3 * dy + side * 3 * py));

        TBitmap32 d(61, 61);
        TracerLigne(c.x1, c.y1, c.x2, c.y2, d, stPlein, flDouble, kRouge, 0);
        for (int side : {-1, 1}) {
            EXPECT_TRUE(Encre(d, c.x1 + 3 * dx + side * 3 * px, c.y1 + 3 * dy + side * 3 * py));
            EXPECT_FALSE(Encre(d, c.x1 - 3 * dx + side * 3 * px, c.y1 - 3 * dy + side * 3 * py));
            EXPECT_TRUE(Encre(d, c.x2 - 3 * dx + side * 3 * px, c.y2 - 3 * dy + side * 3 * py));
        }
    }
}

TEST(TracerLigne, ThickArrowHeadsGrowWithThickness)
{
    TBitmap32 fin(80, 80), epais(80, 80);
    TracerLigne(10, 40, 60, 40, fin, stPlein, flFin, kRouge, 0);
    TracerLigne(10, 40, 60, 40, epais, stPlein, flFin, kRouge, 3);
    // Barb length 2t + 7: the thick head reaches further back than the thin one.
    EXPECT_FALSE(Encre(fin, 60 - 8, 40 - 8));
    EXPECT_TRUE(Encre(epais, 60 - 8, 40 - 8));
}

TEST(TracerLigne, ThicknessCoversTwoTPlusOnePixels)
{
    for (int t = 0; t <= 4; ++t) {
        SCOPED_TRACE(t);
        TBitmap32 h(60, 60), v(60, 60);
        TracerLigne(5, 30, 55, 30, h, stPlein, flAucune, kBleu, t);
        TracerLigne(30, 5, 30, 55, v, stPlein, flAucune, kBleu, t);
        int lignes = 0, colonnes = 0;
        for (int y = 0; y < 60; ++y)
            lignes += Encre(h, 30, y);
        for (int x = 0; x < 60; ++x)
            colonnes += Encre(v, x, 30);
        EXPECT_EQ(lignes, 2 * t + 1);
        EXPECT_EQ(colonnes, 2 * t + 1);
        EXPECT_EQ(h.pixel(30, 30), kBleu);
    }
    // A 45-degree line: 2t + 1 pixels across it, so about (2t + 1) * sqrt 2 in a column.
    TBitmap32 o(80, 80);
    TracerLigne(10, 10, 70, 70, o, stPlein, flAucune, kBleu, 3);
    int n = 0;
    for (int y = 0; y < 80; ++y)
        n += alphaOf(o.pixel(40, y)) >= 128;
    EXPECT_GE(n, 9);
    EXPECT_LE(n, 11);
}

TEST(TracerLigne, DashesAndGapsAreTwoTPlusOneLong)
{
    for (int t : {0, 1, 2}) {
        SCOPED_TRACE(t);
        TBitmap32 b(100, 20);
        TracerLigne(0, 10, 99, 10, b, stTirets, flAucune, kRouge, t);
        const int periode = 4 * (t + 1);
        for (int x = 1; x < 98; ++x) {
            const bool encre = (x % periode) < periode / 2;
            EXPECT_EQ(Encre(b, x, 10), encre) << "x = " << x;
        }
    }
}

TEST(TracerLigne, FarEndsDrawOnlyTheVisiblePartUnchanged)
{
    // The same lines drawn in a large bitmap and in a small window onto it.
    for (int st : {stPlein, stTirets})
        for (int t : {0, 2}) {
            SCOPED_TRACE(testing::Message() << st << " " << t);
            TBitmap32 grand(1400, 400), petit(60, 40);
            TracerLigne(7, 13, 1390, 390, grand, st, flAucune, kRouge, t);
            TracerLigne(7 - 700, 13 - 200, 1390 - 700, 390 - 200, petit, st, flAucune, kRouge, t);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 60; ++x)
                    ASSERT_EQ(petit.pixel(x, y), grand.pixel(x + 700, y + 200)) << x << "," << y;
        }
    // Ends a billion pixels away: only the crossing is drawn, at once.
    TBitmap32 b(30, 30);
    TracerLigne(-1000000000, 10, 1000000000, 10, b, stTirets, flDouble, kBleu, 1);
    TracerLigne(-1000000000, -1000000000, -1000000000, 1000000000, b, stPlein, flAucune, kBleu, 0);
    EXPECT_TRUE(Encre(b, 2, 10) || Encre(b, 6, 10));
    TBitmap32 c(30, 30);
    TracerCercle(15, 15, 1000000000, c, stPlein, rmPlein, kBleu, 3);
    EXPECT_EQ(c.pixel(15, 15), kBleu); // filled, the rim far outside
}

TEST(TracerLigne, ThickSolidLinesAreBandsTwoTPlusOneWide)
{
    // Across the line (counted along the minor axis, then brought back across by
    // the angle's cosine) a band of 2t + 1 pixels, and ink of about length x (2t + 1).
    for (const int t : {1, 2, 4})
        for (const QPoint d : {QPoint(60, 0), QPoint(60, 17), QPoint(45, 45), QPoint(-20, 58), QPoint(-53, -31)}) {
            SCOPED_TRACE(testing::Message() << t << " " << d.x() << "," << d.y());
            TBitmap32 b(160, 160);
            const int x1 = 80 - d.x() / 2, y1 = 80 - d.y() / 2;
            TracerLigne(x1, y1, x1 + d.x(), y1 + d.y(), b, stPlein, flAucune, kBleu, t);
            const double len = std::hypot(d.x(), d.y());
            const bool raide = std::abs(d.y()) > std::abs(d.x());
            const double cosinus = (raide ? std::abs(d.y()) : std::abs(d.x())) / len;
            // The middle column (row): inked pixels, and their coverage.
            double couverture = 0;
            int encre = 0;
            for (int i = 0; i < 160; ++i) {
                const TColor32 p = raide ? b.pixel(i, 80) : b.pixel(80, i);
                couverture += alphaOf(p) / 255.0;
                encre += alphaOf(p) >= 128;
            }
            EXPECT_NEAR(couverture * cosinus, 2 * t + 1, 0.05);
            EXPECT_NEAR(encre * cosinus, 2 * t + 1, 1.0);
            double total = 0;
            for (int y = 0; y < 160; ++y)
                for (int x = 0; x < 160; ++x)
                    total += alphaOf(b.pixel(x, y)) / 255.0;
            EXPECT_NEAR(total / (len * (2 * t + 1)), 1.0, 0.04);
            // The ends stay within a pixel of the square ends.
            const double ux = d.x() / len, uy = d.y() / len;
            for (int y = 0; y < 160; ++y)
                for (int x = 0; x < 160; ++x)
                    if (alphaOf(b.pixel(x, y)) > 0) {
                        const double le_long = (x - x1) * ux + (y - y1) * uy;
                        const double travers = std::abs((x - x1) * uy - (y - y1) * ux);
                        ASSERT_GT(le_long, -1.0 - 0.71) << x << "," << y;
                        ASSERT_LT(le_long, len + 1.0 + 0.71) << x << "," << y;
                        ASSERT_LT(travers, t + 0.5 + 0.71) << x << "," << y;
                    }
        }
}

TEST(TracerLigne, ThickLinesBlendTheirColourOnceAndHeadsAreTheSameEverywhere)
{
    // A translucent colour over a translucent veil: inside the band each pixel is
    // the colour blended once, at the edges less, never more.
    const TColor32 fond = 0x4DFFFFFF;
    const TColor32 c = 0xC0A203FB;
    const TColor32 une = blendOver(c, fond);
    for (const int t : {1, 3})
        for (const QPoint fin : {QPoint(71, 23), QPoint(30, 75), QPoint(8, 12)}) {
            SCOPED_TRACE(testing::Message() << t << " " << fin.x() << "," << fin.y());
            TBitmap32 ligne(80, 80, fond);
            TracerLigne(20, 40, fin.x(), fin.y(), ligne, stPlein, flAucune, c, t);
            const double dx = fin.x() - 20, dy = fin.y() - 40, len = std::hypot(dx, dy);
            int pleins = 0;
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 80; ++x) {
                    const TColor32 p = ligne.pixel(x, y);
                    ASSERT_LE(alphaOf(p), alphaOf(une)) << x << "," << y;
                    const double le_long = ((x - 20) * dx + (y - 40) * dy) / len;
                    const double travers = std::abs((x - 20) * dy - (y - 40) * dx) / len;
                    if (le_long > 1.5 && le_long < len - 1.5 && travers < t - 0.5) {
                        ASSERT_EQ(p, une) << x << "," << y;
                        ++pleins;
                    }
                }
            EXPECT_GT(pleins, 0);
        }

    // An arrow drawn at two places, or cut by the bitmap's edge, has the same pixels.
    for (const int t : {0, 1, 4})
        for (const QPoint d : {QPoint(30, 7), QPoint(-9, 25), QPoint(-17, -13)}) {
            SCOPED_TRACE(testing::Message() << t << " " << d.x() << "," << d.y());
            TBitmap32 a(120, 120), b(120, 120), bord(40, 40);
            TracerLigne(50, 50, 50 + d.x(), 50 + d.y(), a, stPlein, flDouble, kRouge, t);
            TracerLigne(57, 61, 57 + d.x(), 61 + d.y(), b, stPlein, flDouble, kRouge, t);
            TracerLigne(10, 12, 10 + d.x(), 12 + d.y(), bord, stPlein, flDouble, kRouge, t);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x) {
                    ASSERT_EQ(b.pixelS(x + 7, y + 11), b.contains(x + 7, y + 11) ? a.pixel(x, y) : 0u);
                    if (bord.contains(x - 40, y - 38))
                        ASSERT_EQ(bord.pixel(x - 40, y - 38), a.pixel(x, y)) << x << "," << y;
                }
        }
}

TEST(TracerRectangle, SolidFrameWithoutFill)
{
    TBitmap32 b(30, 30);
    TracerRectangle(20, 22, 5, 6, b, stPlein, rmVide, kRouge, 0);
    for (int x = 5; x <= 20; ++x) {
        EXPECT_EQ(b.pixel(x, 6), kRouge);
        EXPECT_EQ(b.pixel(x, 22), kRouge);
    }
    for (int y = 6; y <= 22; ++y) {
        EXPECT_EQ(b.pixel(5, y), kRouge);
        EXPECT_EQ(b.pixel(20, y), kRouge);
    }
    EXPECT_EQ(CompterEncre(b), 2 * 16 + 2 * 15);
    EXPECT_EQ(b.pixel(12, 12), clTransparentWhite32);
}

TEST(TracerRectangle, ThickFrameGrowsBothWays)
{
    TBitmap32 b(40, 40);
    TracerRectangle(10, 10, 30, 30, b, stPlein, rmVide, kRouge, 2);
    for (int k = -2; k <= 2; ++k) {
        EXPECT_EQ(b.pixel(20, 10 - k), kRouge);
        EXPECT_EQ(b.pixel(30 + k, 20), kRouge);
    }
    EXPECT_EQ(b.pixel(20, 7), clTransparentWhite32);
    EXPECT_EQ(b.pixel(20, 13), clTransparentWhite32);
    EXPECT_EQ(b.pixel(8, 8), kRouge); // the outer corner
}

TEST(TracerRectangle, EveryFillCodeFollowsItsPattern)
{
    for (int code = 0; code <= 7; ++code) {
        SCOPED_TRACE(code);
        TBitmap32 b(40, 40);
        TracerRectangle(5, 5, 30, 30, b, stPlein, code, kRouge, 1);
        for (int y = 7; y <= 28; ++y)
            for (int x = 7; x <= 28; ++x) {
                const TColor32 attendu =
                    code == 0 ? clTransparentWhite32 : (MotifEncre(code, x, y) ? kRouge : clBlancAlpha1);
                ASSERT_EQ(b.pixel(x, y), attendu) << x << "," << y;
            }
        // Outside stays untouched.
        EXPECT_EQ(b.pixel(2, 2), clTransparentWhite32);
        EXPECT_EQ(b.pixel(35, 20), clTransparentWhite32);
    }
}

TEST(TracerRectangle, SmallRectanglesAreNotFilled)
{
    // t = 3: the frame is 7 pixels across, so a width or height of 7 or less leaves
    // no inside to fill.
    TBitmap32 a(40, 40);
    TracerRectangle(10, 10, 17, 30, a, stPlein, rmPlein, kRouge, 3);
    EXPECT_EQ(CompterEncre(a), [&] {
        TBitmap32 r(40, 40);
        TracerRectangle(10, 10, 17, 30, r, stPlein, rmVide, kRouge, 3);
        return CompterEncre(r);
    }());
    TBitmap32 c(40, 40);
    TracerRectangle(10, 10, 30, 17, c, stPlein, rmPlein, kRouge, 3);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_NE(c.pixel(x, y), clBlancAlpha1);
    // One more pixel each way and the inside is filled.
    TBitmap32 d(40, 40);
    TracerRectangle(10, 10, 18, 18, d, stPlein, rmPlein, kBleu, 3);
    EXPECT_EQ(d.pixel(14, 14), kBleu);
}

TEST(TracerRectangle, DashedFrameKeepsTheFillInside)
{
    TBitmap32 b(50, 50);
    TracerRectangle(10, 10, 40, 40, b, stTirets, rmPlein, kRouge, 0);
    // Period 4 along the edges: two pixels of colour, two of alpha 1.
    EXPECT_EQ(b.pixel(12, 10), kRouge);
    EXPECT_EQ(b.pixel(13, 10), kRouge);
    EXPECT_EQ(b.pixel(14, 10), withAlpha(kRouge, 1));
    EXPECT_EQ(b.pixel(15, 10), withAlpha(kRouge, 1));
    EXPECT_EQ(b.pixel(25, 25), kRouge);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(b.pixel(i, 5), clTransparentWhite32);
        EXPECT_EQ(b.pixel(5, i), clTransparentWhite32);
        EXPECT_EQ(b.pixel(i, 45), clTransparentWhite32);
        EXPECT_EQ(b.pixel(45, i), clTransparentWhite32);
    }
}

TEST(TracerRectangle, ClippedAtTheEdges)
{
    TBitmap32 b(20, 20);
    TracerRectangle(-10, -10, 10, 10, b, stTirets, rmPlein, kRouge, 2);
    TracerRectangle(-100, 5, 100, 500, b, stPlein, rmVide, kRouge, 11);
    EXPECT_EQ(b.pixel(0, 0), kRouge);
}

TEST(TracerCercle, OutlineAndFillCodes)
{
    for (int code = 0; code <= 7; ++code) {
        SCOPED_TRACE(code);
        TBitmap32 b(50, 50);
        TracerCercle(25, 25, 15, b, stPlein, code, kBleu, 0);
        EXPECT_EQ(b.pixel(40, 25), kBleu);
        EXPECT_EQ(b.pixel(25, 10), kBleu);
        for (int y = 18; y <= 32; ++y)
            for (int x = 18; x <= 32; ++x) {
                const TColor32 attendu =
                    code == 0 ? clTransparentWhite32 : (MotifEncre(code, x, y) ? kBleu : clBlancAlpha1);
                ASSERT_EQ(b.pixel(x, y), attendu) << x << "," << y;
            }
        for (int i = 0; i < 50; ++i) {
            ASSERT_EQ(b.pixel(i, 3), clTransparentWhite32);
            ASSERT_EQ(b.pixel(3, i), clTransparentWhite32);
            ASSERT_EQ(b.pixel(46, i), clTransparentWhite32);
        }
    }
}

TEST(TracerCercle, ThickRingAndTheNoFillRule)
{
    TBitmap32 b(60, 60);
    TracerCercle(30, 30, 15, b, stPlein, rmVide, kRouge, 3);
    for (int r = 13; r <= 17; ++r)
        EXPECT_EQ(b.pixel(30 + r, 30), kRouge) << r;
    EXPECT_FALSE(Encre(b, 30 + 10, 30));
    EXPECT_FALSE(Encre(b, 30 + 20, 30));

    // The radius does not exceed the thickness: no fill.
    TBitmap32 c(60, 60);
    TracerCercle(30, 30, 3, c, stPlein, rmPlein, kRouge, 3);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_NE(c.pixel(x, y), clBlancAlpha1);
    TBitmap32 d(60, 60);
    TracerCercle(30, 30, 8, d, stPlein, rmVerticales, kRouge, 3);
    EXPECT_EQ(d.pixel(31, 30), clBlancAlpha1);
    EXPECT_EQ(d.pixel(30, 30), kRouge);
}

TEST(TracerCercle, DashedCircleKeepsTheFillInside)
{
    for (int t : {0, 2}) {
        SCOPED_TRACE(t);
        TBitmap32 b(60, 60);
        TracerCercle(30, 30, 18, b, stTirets, rmPlein, kRouge, t);
        int trous = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                trous += b.pixel(x, y) == withAlpha(kRouge, 1);
        EXPECT_GT(trous, 10);
        EXPECT_EQ(b.pixel(30, 30), kRouge);
        for (int i = 0; i < 60; ++i) {
            ASSERT_EQ(b.pixel(i, 2), clTransparentWhite32);
            ASSERT_EQ(b.pixel(2, i), clTransparentWhite32);
            ASSERT_EQ(b.pixel(57, i), clTransparentWhite32);
            ASSERT_EQ(b.pixel(i, 57), clTransparentWhite32);
        }
    }
}

TEST(RemplirZone, StopsAtDrawnPixelsAndAlphaOnePixels)
{
    TBitmap32 b(20, 20);
    for (int i = 0; i < 20; ++i)
        b.setPixel(10, i, i % 2 ? clBlancAlpha1 : kRouge);
    RemplirZone(2, 2, kBleu, b, rmPlein);
    EXPECT_EQ(b.pixel(9, 19), kBleu);
    EXPECT_EQ(b.pixel(11, 0), clTransparentWhite32);
    EXPECT_EQ(b.pixel(10, 1), clBlancAlpha1);

    // Seeded on a drawn pixel, or outside the bitmap: nothing changes.
    TBitmap32 c(20, 20);
    c.setPixel(5, 5, 0x80123456);
    const TBitmap32 avant = c;
    RemplirZone(5, 5, kBleu, c, rmPlein);
    RemplirZone(-1, 5, kBleu, c, rmPlein);
    RemplirZone(5, 20, kBleu, c, rmPlein);
    EXPECT_EQ(c, avant);

    // Transparent pixels of any colour are fillable.
    TBitmap32 d(4, 1, 0x00000000);
    RemplirZone(0, 0, kBleu, d, rmPlein);
    EXPECT_EQ(d.pixel(3, 0), kBleu);
}

TEST(RemplirZone, TransparentInkTerminates)
{
    // Ink with alpha 0 leaves its pixels fillable; the flood must still end and
    // reach every pixel once.
    TBitmap32 b(64, 48);
    RemplirZone(3, 3, 0x00FF0000, b, rmQuadrillage);
    EXPECT_EQ(b.pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(b.pixel(1, 1), clBlancAlpha1);
}

TEST(RendreTransparent, KeepsColoursAndClearsAlpha)
{
    TBitmap32 b(3, 1);
    b.setPixel(0, 0, 0xFFFFFFFF);
    b.setPixel(1, 0, 0x80FFFFFF);
    b.setPixel(2, 0, 0xFFFFFFFE);
    RendreTransparent(0xFFFFFFFF, b);
    EXPECT_EQ(b.pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(b.pixel(1, 0), 0x00FFFFFFu);
    EXPECT_EQ(b.pixel(2, 0), 0xFFFFFFFEu);

    TBitmap32 c(2, 1);
    c.setPixel(0, 0, 0xFF102030);
    c.setPixel(1, 0, 0xFF102031);
    RendreTransparent(0x7F102030, c);
    EXPECT_EQ(c.pixel(0, 0), 0x00102030u);
    EXPECT_EQ(c.pixel(1, 0), 0xFF102031u);
}

TEST(DessinerPointe, DiscOfRadiusT)
{
    TBitmap32 tip;
    for (int t : {0, 1, 4, 11}) {
        SCOPED_TRACE(t);
        DessinerPointe(t, kRouge, tip);
        ASSERT_EQ(tip.width(), 25);
        ASSERT_EQ(tip.height(), 25);
        EXPECT_EQ(tip.pixel(13, 13), kRouge);
        EXPECT_EQ(tip.pixel(13 + t, 13), kRouge);
        EXPECT_EQ(tip.pixel(13, 13 - t), kRouge);
        if (13 + t + 1 < 25)
            EXPECT_EQ(tip.pixel(13 + t + 1, 13), clTransparentWhite32);
        EXPECT_EQ(tip.pixel(0, 0), clTransparentWhite32);
        const int d = arrondi(t * 0.7);
        EXPECT_EQ(tip.pixel(13 + d, 13 + d), kRouge);
        // Nothing beyond the radius.
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x)
                if ((x - 13) * (x - 13) + (y - 13) * (y - 13) > (t + 1) * (t + 1))
                    ASSERT_EQ(tip.pixel(x, y), clTransparentWhite32) << x << "," << y;
    }
}
