// Polygon outline, growing and anti-aliased filling.
#include "ui/polygon.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Sum of the coverage (alpha / 255) over a rectangle of a bitmap drawn in opaque colour
// on a cleared background.
double coverage(const TBitmap32& b, QRect r = {})
{
    if (r.isNull())
        r = b.boundsRect();
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += alphaOf(b.pixel(x, y)) / 255.0;
    return sum;
}

TPolygon32 rectangle(double x0, double y0, double x1, double y1)
{
    TPolygon32 p;
    p.Closed = true;
    p.Add(x0, y0);
    p.Add(x1, y0);
    p.Add(x1, y1);
    p.Add(x0, y1);
    return p;
}

} // namespace

TEST(Polygon, PathBookkeeping)
{
    TPolygon32 p;
    EXPECT_TRUE(p.IsEmpty());
    p.NewLine(); // no empty sub-path is started twice
    EXPECT_EQ(p.Points.size(), 1u);
    p.Add(1, 2);
    p.NewLine();
    p.Add(3, 4);
    EXPECT_EQ(p.Points.size(), 2u);
    EXPECT_FALSE(p.IsEmpty());
    p.Antialiased = false;
    p.FillMode = TPolyFillMode::Winding;
    const TPolygon32 e = p.EmptyCopy();
    EXPECT_TRUE(e.IsEmpty());
    EXPECT_FALSE(e.Antialiased);
    EXPECT_EQ(e.FillMode, TPolyFillMode::Winding);
}

TEST(Polygon, OpenOutlineIsTracedForthAndBack)
{
    TPolygon32 p;
    p.Add(0, 0);
    p.Add(10, 0);
    p.Add(10, 10);
    const TPolygon32 o = p.Outline();
    EXPECT_TRUE(o.Closed);
    ASSERT_EQ(o.Points.size(), 1u);
    ASSERT_EQ(o.Points[0].size(), 4u);
    EXPECT_EQ(o.Points[0][3], fixedPoint(10, 0));
}

TEST(Polygon, FillAreaMatchesGeometry)
{
    // Axis-aligned with fractional borders, a triangle and a disc-like octagon.
    TBitmap32 b(100, 100);
    rectangle(10.3, 20.25, 50.8, 60.5).DrawFill(b, clBlack32);
    EXPECT_NEAR(coverage(b), 40.5 * 40.25, 2.0);
    // Pixels well inside are fully opaque and pure colour; outside untouched.
    EXPECT_EQ(b.pixel(30, 40), clBlack32);
    EXPECT_EQ(b.pixel(5, 5), clTransparentWhite32);

    b.clear();
    TPolygon32 t;
    t.Add(10, 10);
    t.Add(90, 10);
    t.Add(50, 80);
    t.DrawFill(b, clBlack32);
    EXPECT_NEAR(coverage(b), 0.5 * 80 * 70, 0.005 * 2800);
}

TEST(Polygon, FillWithoutAntialiasingUsesWholePixels)
{
    TBitmap32 b(40, 40);
    TPolygon32 r = rectangle(4.5, 4.5, 14.5, 9.5); // centres 5..14 x 5..9
    r.Antialiased = false;
    r.DrawFill(b, clBlack32);
    int n = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const TColor32 c = b.pixel(x, y);
            EXPECT_TRUE(c == clBlack32 || c == clTransparentWhite32);
            n += c == clBlack32;
        }
    EXPECT_EQ(n, 50);
    EXPECT_EQ(b.pixel(5, 5), clBlack32);
    EXPECT_EQ(b.pixel(14, 9), clBlack32);
    EXPECT_EQ(b.pixel(15, 9), clTransparentWhite32);
}

TEST(Polygon, WindingAndAlternateRules)
{
    // Two overlapping squares turning the same way: the overlap is a hole with the
    // alternate rule and filled with the winding rule.
    TPolygon32 p = rectangle(10, 10, 50, 50);
    p.NewLine();
    p.Add(30, 30);
    p.Add(70, 30);
    p.Add(70, 70);
    p.Add(30, 70);
    TBitmap32 alt(80, 80);
    p.DrawFill(alt, clBlack32);
    EXPECT_EQ(alphaOf(alt.pixel(40, 40)), 0u);
    EXPECT_EQ(alt.pixel(20, 20), clBlack32);

    p.FillMode = TPolyFillMode::Winding;
    TBitmap32 wind(80, 80);
    p.DrawFill(wind, clBlack32);
    EXPECT_EQ(wind.pixel(40, 40), clBlack32);
    EXPECT_NEAR(coverage(wind), 2 * 1600 - 400, 3.0);
}

TEST(Polygon, FillBlendsExactlyInStraightAlpha)
{
    TBitmap32 b(30, 30);
    rectangle(2, 2, 20, 20).DrawFill(b, 0x80FF0000);
    // Over a cleared pixel the source comes back unchanged.
    EXPECT_EQ(b.pixel(10, 10), 0x80FF0000u);
    // Half-covered border pixel: colour kept, alpha about halved.
    const TColor32 edge = b.pixel(2, 10);
    EXPECT_EQ(edge & 0x00FFFFFF, 0x00FF0000u);
    EXPECT_NEAR(static_cast<int>(alphaOf(edge)), 64, 2);
}

TEST(Polygon, FillIsClipped)
{
    TBitmap32 b(20, 20);
    rectangle(-1000, -1000, 1000, 10).DrawFill(b, clBlack32);
    EXPECT_EQ(b.pixel(0, 0), clBlack32);
    EXPECT_EQ(b.pixel(19, 9), clBlack32);
    EXPECT_EQ(b.pixel(19, 11), clTransparentWhite32);
    TBitmap32 c(20, 20);
    rectangle(30, 30, 60, 60).DrawFill(c, clBlack32);
    rectangle(-60, 5, -30, 8).DrawFill(c, clBlack32);
    EXPECT_EQ(c, TBitmap32(20, 20));
}

TEST(Polygon, ClippedFillIsTheWindowOfTheWholeFill)
{
    // A star crossing every edge of a small bitmap is filled as the same star in a
    // large bitmap, seen through the window; the coverage callbacks give what the
    // drawing blends.
    TPolygon32 star;
    star.Closed = true;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 14.3 : 41.7;
        star.Add(50.2 + r * std::cos(i * M_PI / 5), 40.6 + r * std::sin(i * M_PI / 5));
    }
    for (const TPolyFillMode mode : {TPolyFillMode::Alternate, TPolyFillMode::Winding}) {
        star.FillMode = mode;
        TBitmap32 whole(120, 100), window(40, 30);
        star.DrawFill(whole, 0xFF204080);
        TPolygon32 shifted = star.EmptyCopy();
        for (const TFixedPoint& p : star.Points.back())
            shifted.Add(fromFixed(p.X) - 30, fromFixed(p.Y) - 25);
        shifted.DrawFill(window, 0xFF204080);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(window.pixel(x, y), whole.pixel(x + 30, y + 25)) << x << "," << y;

        TBitmap32 fromCoverage(120, 100);
        star.FillCoverage(120, 100, [&](int y, int x0, const std::uint8_t* cov, int n) {
            for (int i = 0; i < n; ++i)
                if (cov[i])
                    fromCoverage.setPixel(x0 + i, y, withAlpha(0xFF204080, cov[i]));
        });
        EXPECT_EQ(fromCoverage, whole);
    }
    TBitmap32 edge(120, 100), fromEdge(120, 100);
    star.DrawEdge(edge, clBlack32);
    star.EdgeCoverage(120, 100, [&](int x, int y, std::uint32_t w) {
        fromEdge.setPixel(x, y, blendOverWeighted(clBlack32, fromEdge.pixel(x, y), w));
    });
    EXPECT_EQ(fromEdge, edge);
}

TEST(Polygon, GrownOpenPathIsAStroke)
{
    for (double d : {1.0, 2.0, 4.0}) {
        TPolygon32 p;
        p.Add(20, 30);
        p.Add(80, 30);
        TBitmap32 b(100, 60);
        p.Outline().Grow(d, 0).DrawFill(b, clBlack32);
        // Across the middle: 2d + 1 touched pixels, total coverage 2d.
        int touched = 0;
        double across = 0;
        for (int y = 0; y < 60; ++y) {
            touched += alphaOf(b.pixel(50, y)) > 0;
            across += alphaOf(b.pixel(50, y)) / 255.0;
        }
        EXPECT_EQ(touched, static_cast<int>(2 * d + 1)) << d;
        EXPECT_NEAR(across, 2 * d, 0.05) << d;
        // Round ends: the stroke reaches d beyond each end point on the axis only.
        EXPECT_GT(alphaOf(b.pixel(20 - static_cast<int>(d) + 1, 30)), 128u);
        EXPECT_EQ(alphaOf(b.pixel(20 - static_cast<int>(d) - 1, 30)), 0u);
        if (d >= 2) {
            EXPECT_EQ(alphaOf(b.pixel(20 - static_cast<int>(d), 30 - static_cast<int>(d))), 0u);
        }
        // Area of a capsule.
        EXPECT_NEAR(coverage(b), 60 * 2 * d + M_PI * d * d, 0.03 * (120 * d));
    }
}

TEST(Polygon, SharpGrowKeepsCorners)
{
    // An open right angle: mitred outer corner reaches the corner square, a round one
    // leaves it empty.
    TPolygon32 p;
    p.Add(10, 50);
    p.Add(50, 50);
    p.Add(50, 10);
    TBitmap32 sharp(70, 70), rounded(70, 70);
    p.Outline().Grow(4, 1).DrawFill(sharp, clBlack32);
    p.Outline().Grow(4, 0).DrawFill(rounded, clBlack32);
    EXPECT_EQ(sharp.pixel(53, 53), clBlack32);
    EXPECT_LT(alphaOf(rounded.pixel(53, 53)), 128u);
    EXPECT_EQ(alphaOf(rounded.pixel(54, 54)), 0u);
    // Sharp ends are cut square at the end points.
    EXPECT_EQ(alphaOf(sharp.pixel(8, 50)), 0u);
    EXPECT_EQ(alphaOf(rounded.pixel(8, 50)), 255u);
}

TEST(Polygon, GrownClosedPolygonKeepsItsInside)
{
    TPolygon32 r = rectangle(20, 20, 60, 60);
    TBitmap32 b(80, 80);
    r.Grow(3, 1).DrawFill(b, clBlack32);
    EXPECT_EQ(b.pixel(40, 40), clBlack32);
    EXPECT_EQ(b.pixel(18, 18), clBlack32); // mitred corner
    EXPECT_EQ(alphaOf(b.pixel(16, 16)), 0u);
    EXPECT_NEAR(coverage(b), 46.0 * 46.0, 4.0);
    // Whichever way the contour turns.
    TPolygon32 rev;
    rev.Closed = true;
    for (auto it = r.Points[0].rbegin(); it != r.Points[0].rend(); ++it)
        rev.Add(*it);
    TBitmap32 c(80, 80);
    rev.Grow(3, 1).DrawFill(c, clBlack32);
    EXPECT_EQ(b, c);
}

TEST(Polygon, DrawEdgeClosesClosedContoursOnly)
{
    TPolygon32 p;
    p.Add(10, 10);
    p.Add(30, 10);
    p.Add(30, 30);
    TBitmap32 open(40, 40);
    p.DrawEdge(open, clBlack32);
    EXPECT_EQ(open.pixel(20, 20), clTransparentWhite32);
    EXPECT_EQ(open.pixel(20, 10), clBlack32);
    p.Closed = true;
    TBitmap32 closed(40, 40);
    p.DrawEdge(closed, clBlack32);
    EXPECT_EQ(closed.pixel(20, 20), clBlack32); // the diagonal back to the start
}

TEST(Polygon, DegenerateInputDrawsNothing)
{
    TBitmap32 b(20, 20);
    TPolygon32 p;
    p.DrawFill(b, clBlack32);
    p.Add(5, 5);
    p.DrawFill(b, clBlack32);
    p.Add(5, 5);
    p.Add(10, 5); // zero-area sliver
    p.DrawFill(b, clBlack32);
    EXPECT_EQ(b, TBitmap32(20, 20));
    TBitmap32 empty;
    rectangle(0, 0, 5, 5).Draw(empty, clBlack32, clBlack32); // must not crash
}
