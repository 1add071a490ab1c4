// The 32-bit straight-alpha bitmap: exact blending values, lines, rolls, stretching
// and text.
#include "ui/bitmap32.h"

#include <gtest/gtest.h>

#include <QFont>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double alphaSum(const TBitmap32& b)
{
    double s = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            s += alphaOf(b.pixel(x, y)) / 255.0;
    return s;
}

TBitmap32 numbered(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, 0xFF000000u | static_cast<TColor32>(y * 1000 + x));
    return b;
}

} // namespace

TEST(Blend, ExactValues)
{
    // Over a cleared (alpha 0) pixel, whatever its colour, the source comes back.
    for (TColor32 src : {0x80123456u, 0x01FFFFFFu, 0xFE000000u, 0x7F808080u})
        for (TColor32 dst : {clTransparentWhite32, 0x00000000u, 0x00ABCDEFu})
            EXPECT_EQ(blendOver(src, dst), src) << std::hex << src << " " << dst;
    // An opaque source replaces; an alpha-0 source leaves the destination.
    EXPECT_EQ(blendOver(0xFF102030u, 0x80FFFFFFu), 0xFF102030u);
    EXPECT_EQ(blendOver(0x00102030u, 0x80FFFFFFu), 0x80FFFFFFu);
    // Half over opaque: colours meet half way, result opaque.
    const TColor32 r = blendOver(0x80FF0000u, 0xFF0000FFu);
    EXPECT_EQ(alphaOf(r), 255u);
    EXPECT_NEAR(static_cast<int>(redOf(r)), 128, 1);
    EXPECT_NEAR(static_cast<int>(blueOf(r)), 127, 1);
    // Half over half: alpha 0.5 + 0.25.
    EXPECT_NEAR(static_cast<int>(alphaOf(blendOver(0x80FF0000u, 0x800000FFu))), 192, 1);
    // Weighted: weight 0 changes nothing, 255 is a plain blend.
    EXPECT_EQ(blendOverWeighted(0xFF112233u, 0x80445566u, 0), 0x80445566u);
    EXPECT_EQ(blendOverWeighted(0xFF112233u, 0x80445566u, 255), 0xFF112233u);
    EXPECT_EQ(blendOverWeighted(0xFF112233u, clTransparentWhite32, 128), 0x80112233u);
}

TEST(Bitmap, SizeClearAndRects)
{
    TBitmap32 b(5, 4);
    EXPECT_EQ(b.pixel(4, 3), clTransparentWhite32);
    b.setPixelS(-1, 0, clBlack32);
    b.setPixelS(5, 0, clBlack32);
    EXPECT_EQ(b.pixelS(7, 7), 0u);
    b.fillRect(QRect(-3, -3, 5, 5), clBlack32); // clipped to columns/rows 0..1
    EXPECT_EQ(b.pixel(1, 1), clBlack32);
    EXPECT_EQ(b.pixel(2, 1), clTransparentWhite32);
    b.frameRect(QRect(0, 0, 5, 4), 0xFFFF0000u);
    EXPECT_EQ(b.pixel(4, 3), 0xFFFF0000u);
    EXPECT_EQ(b.pixel(4, 1), 0xFFFF0000u);
    EXPECT_EQ(b.pixel(2, 2), clTransparentWhite32);
    b.hLineBlend(10, -10, 2, 0x80000000u); // reversed ends, clipped
    EXPECT_EQ(b.pixel(2, 2), 0x80000000u);
    b.vLineBlend(2, 100, -100, 0x00FFFFFFu);
    EXPECT_EQ(b.pixel(2, 2), 0x80000000u);
    b.setSize(0, 7);
    EXPECT_TRUE(b.isEmpty());
    b.fillRect(QRect(0, 0, 3, 3), clBlack32); // harmless on an empty bitmap
}

// The wide fill sets exactly the pixels asked for, whatever their alignment and
// count (the ragged starts and ends of the sixteen-byte stores).
TEST(Bitmap, WideFillStopsAtItsEnds)
{
    std::vector<TColor32> v(200);
    for (std::size_t debut = 0; debut < 8; ++debut)
        for (std::size_t n : {0, 1, 3, 4, 5, 15, 16, 17, 63, 64, 65, 150}) {
            std::fill(v.begin(), v.end(), 0u);
            bitmap_detail::fillPixels(v.data() + debut, n, 0x80FF00FFu);
            for (std::size_t i = 0; i < v.size(); ++i)
                ASSERT_EQ(v[i], i >= debut && i < debut + n ? 0x80FF00FFu : 0u) << debut << " " << n << " " << i;
        }
    TBitmap32 b(7, 3, 0xFF000000u);
    b.clear(0x12345678u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(b.pixel(x, y), 0x12345678u);
}

TEST(Bitmap, RollComesBackPixelForPixel)
{
    const TBitmap32 orig = numbered(37, 5);
    TBitmap32 b = orig;
    b.rollHorizontal(11);
    EXPECT_EQ(b.pixel(11, 2), orig.pixel(0, 2));
    EXPECT_EQ(b.pixel(0, 2), orig.pixel(26, 2)); // wrapped from the right edge
    b.rollHorizontal(-11);
    EXPECT_EQ(b, orig);
    b.rollHorizontal(37 * 3 + 4);
    b.rollHorizontal(-4);
    EXPECT_EQ(b, orig);
    b.rollHorizontal(-40);
    EXPECT_EQ(b.pixel(0, 0), orig.pixel(3, 0));
}

TEST(Lines, CoverageAddsUpToLength)
{
    TBitmap32 b(60, 60);
    b.lineAA(5, 10, 45, 10, clBlack32);
    EXPECT_NEAR(alphaSum(b), 40.0, 0.05);
    EXPECT_EQ(b.pixel(20, 10), clBlack32);
    EXPECT_EQ(b.pixel(20, 9), clTransparentWhite32);

    b.clear();
    b.lineAA(10.5, 5, 10.5, 25, clBlack32); // half-way between two columns
    EXPECT_NEAR(alphaSum(b), 20.0, 0.1);
    EXPECT_NEAR(static_cast<int>(alphaOf(b.pixel(10, 15))), 128, 1);
    EXPECT_NEAR(static_cast<int>(alphaOf(b.pixel(11, 15))), 128, 1);

    b.clear();
    b.lineAA(5, 5.5, 45, 45.5, clBlack32); // diagonal
    EXPECT_NEAR(alphaSum(b), 40.0 * std::sqrt(2.0), 1.0);

    // Real end points: a line from 10.25 to 12.75 covers 2.5 pixels.
    b.clear();
    b.lineAA(10.25, 30, 12.75, 30, clBlack32);
    EXPECT_NEAR(alphaSum(b), 2.5, 0.02);
    // Reversed direction draws the same pixels.
    TBitmap32 c(60, 60);
    c.lineAA(12.75, 30, 10.25, 30, clBlack32);
    EXPECT_EQ(b, c);
}

TEST(Lines, DegenerateAndClippedLinesAreSafe)
{
    TBitmap32 b(30, 30);
    b.lineAA(7.3, 8.1, 7.3, 8.1, clBlack32);
    b.lineAA(-100, -100, -5, -50, clBlack32);
    b.lineAA(NAN, 0, 10, 10, clBlack32);
    b.lineAA(1e300, 0, -1e300, 1, clBlack32);
    b.blendPixelF(-1e12, 1e12, clBlack32);
    b.blendPixelF(NAN, 3, clBlack32);
    EXPECT_EQ(b, TBitmap32(30, 30));
    // Partly outside: only the inside part, as if the bitmap were larger.
    b.lineAA(-1e6, 15, 1e6, 15, clBlack32);
    EXPECT_NEAR(alphaSum(b), 30.0, 0.01);
    TBitmap32 big(100, 100), small(30, 30);
    big.lineAA(-20, -7, 70, 50, clBlack32);
    small.lineAA(-20, -7, 70, 50, clBlack32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(small.pixel(x, y), big.pixel(x, y)) << x << "," << y;
}

TEST(Lines, EndPointsNearTheLargestDoublesDrawTheirVisiblePart)
{
    // The difference of these end points overflows; the visible part is still the
    // row across the bitmap, in both directions and for steep lines.
    const double big = 1.7e308;
    TBitmap32 a(30, 30), b(30, 30), c(30, 30);
    a.lineAA(-big, 12, big, 12, clBlack32);
    EXPECT_NEAR(alphaSum(a), 30.0, 0.01);
    b.lineAA(big, 12, -big, 12, clBlack32);
    EXPECT_EQ(a, b);
    c.lineAA(7, big, 7, -big, clBlack32);
    EXPECT_NEAR(alphaSum(c), 30.0, 0.01);
    EXPECT_EQ(alphaOf(c.pixel(7, 0)), 255u);
    // A stipple whose first point is far beyond any step count still alternates.
    TBitmap32 s(40, 3);
    s.lineAAStipple(-1e12, 1, 39, 1, {clBlack32, 0x00000000u}, 0.25);
    int dashes = 0;
    for (int x = 0; x < 40; ++x)
        dashes += s.pixel(x, 1) == clBlack32;
    EXPECT_GT(dashes, 10);
    EXPECT_LT(dashes, 30);
}

TEST(Lines, StippleDashLengths)
{
    // Two entries (colour, transparent) advancing 0.5 / (t + 1) per pixel: dashes and
    // gaps 2(t + 1) pixels long, starting with a dash at the first end point.
    for (int t : {0, 1, 3}) {
        TBitmap32 b(80, 5);
        b.lineAAStipple(0, 2, 79, 2, {clBlack32, 0x00000000u}, 0.5 / (t + 1));
        const int len = 2 * (t + 1);
        for (int x = 1; x < 79; ++x) {
            const bool dash = (x / len) % 2 == 0;
            ASSERT_EQ(b.pixel(x, 2), dash ? clBlack32 : clTransparentWhite32) << "t=" << t << " x=" << x;
        }
    }
    // The counter starts at the first point even when that point is outside.
    TBitmap32 a(40, 3), full(80, 3);
    a.lineAAStipple(-40, 1, 39, 1, {clBlack32, 0x00000000u}, 0.25);
    full.lineAAStipple(0, 1, 79, 1, {clBlack32, 0x00000000u}, 0.25);
    for (int x = 1; x < 39; ++x)
        ASSERT_EQ(a.pixel(x, 1), full.pixel(x + 40, 1)) << x;
    // Right to left: counted from the right end.
    TBitmap32 r(20, 3);
    r.lineAAStipple(19, 1, 0, 1, {clBlack32, 0x00000000u}, 0.25);
    EXPECT_EQ(r.pixel(18, 1), clBlack32);
    EXPECT_EQ(r.pixel(14, 1), clTransparentWhite32);
}

TEST(Bitmap, SubPixelPlotSpreadsBilinearly)
{
    TBitmap32 b(10, 10);
    b.blendPixelF(3.5, 4.0, clBlack32);
    EXPECT_NEAR(static_cast<int>(alphaOf(b.pixel(3, 4))), 128, 1);
    EXPECT_NEAR(static_cast<int>(alphaOf(b.pixel(4, 4))), 128, 1);
    EXPECT_EQ(b.pixel(3, 5), clTransparentWhite32);
    b.clear();
    b.blendPixelF(9.25, 9.25, clBlack32); // three of the four pixels are outside
    EXPECT_NEAR(static_cast<int>(alphaOf(b.pixel(9, 9))), 143, 1);
}

TEST(Bitmap, StretchDrawMapsNearestPixels)
{
    const TBitmap32 src = numbered(4, 2);
    TBitmap32 dst(8, 4);
    dst.draw(QRect(0, 0, 8, 4), src.boundsRect(), src, TBitmap32::DrawMode::Opaque);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.pixel(x, y), src.pixel(x / 2, y / 2));
    // Shrinking by 4 picks the pixel under each destination centre.
    const TBitmap32 wide = numbered(40, 8);
    TBitmap32 d(10, 2);
    d.draw(d.boundsRect(), wide.boundsRect(), wide, TBitmap32::DrawMode::Opaque);
    EXPECT_EQ(d.pixel(3, 1), wide.pixel(14, 6));
    // Part of the source, placed partly outside: clipped, no overrun.
    TBitmap32 e(5, 5);
    e.draw(QRect(-2, 3, 4, 4), QRect(1, 0, 2, 2), src, TBitmap32::DrawMode::Opaque);
    EXPECT_EQ(e.pixel(0, 3), src.pixel(2, 0));
    EXPECT_EQ(e.pixel(1, 4), src.pixel(2, 0));
    EXPECT_EQ(e.pixel(2, 4), clTransparentWhite32);
}

TEST(Bitmap, DrawModes)
{
    TBitmap32 layer(2, 1);
    layer.setPixel(0, 0, 0x80FF0000u);
    layer.setPixel(1, 0, clTransparentWhite32);
    TBitmap32 d(2, 1, 0xFF0000FFu);
    d.draw(0, 0, layer); // blend
    EXPECT_EQ(alphaOf(d.pixel(0, 0)), 255u);
    EXPECT_EQ(d.pixel(1, 0), 0xFF0000FFu);
    TBitmap32 o(2, 1, 0xFF0000FFu);
    o.draw(0, 0, layer, TBitmap32::DrawMode::Opaque);
    EXPECT_EQ(o, layer);
    TBitmap32 c(2, 1, 0xFF0000FFu);
    c.draw(c.boundsRect(), layer.boundsRect(), layer, TBitmap32::DrawMode::Custom,
           [](TColor32 s, TColor32 dd) { return s ^ dd; });
    EXPECT_EQ(c.pixel(1, 0), clTransparentWhite32 ^ 0xFF0000FFu);
}

TEST(Text, MeasuredAndDrawnInsideItsBox)
{
    QFont f("Arial");
    f.setPointSize(12);
    const QString s = QStringLiteral("Séismes 2024");
    const int w = TBitmap32::textWidth(s, f);
    const int h = TBitmap32::textHeight(s, f);
    EXPECT_GT(w, 50);
    EXPECT_GT(h, 10);
    QFont big = f;
    big.setPointSize(24);
    EXPECT_GT(TBitmap32::textWidth(s, big), w * 3 / 2);

    TBitmap32 b(200, 60);
    b.drawText(20, 10, s, f, 0xFF00A000u);
    int inside = 0, outside = 0, opaque = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const TColor32 p = b.pixel(x, y);
            if (alphaOf(p) == 0)
                continue;
            EXPECT_EQ(p & 0x00FFFFFF, 0x0000A000u); // straight alpha: colour kept exactly
            opaque += alphaOf(p) == 255;
            (QRect(20, 10, w, h).contains(x, y) ? inside : outside)++;
        }
    EXPECT_GT(inside, 100);
    EXPECT_GT(opaque, 20);
    EXPECT_EQ(outside, 0);

    // Partly outside the bitmap: drawn clipped, without fault.
    b.drawText(-30, -8, s, f, clBlack32);
    b.drawText(190, 55, s, f, clBlack32);
    b.drawText(5000, 5000, s, f, clBlack32);
}
