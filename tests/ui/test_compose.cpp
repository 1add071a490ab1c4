// View composition against a plain per-pixel composition, at random zooms and
// offsets, and after layers change between two compositions.
#include "ui/raster_compose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

constexpr TColor32 kBg = 0xFFC0C0C0;

// One view pixel at a time, straight from the placement rules.
TBitmap32 referenceView(const TLayerStack& s, const TViewPlacement& p, int w, int h, TColor32 background)
{
    background |= 0xFF000000u;
    TBitmap32 out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int mx = static_cast<int>(std::floor((x + 0.5 - p.offset.x()) / p.scale));
            const int my = static_cast<int>(std::floor((y + 0.5 - p.offset.y()) / p.scale));
            TColor32 c = background;
            if (s.base.contains(mx, my))
                c = blendOver(s.base.pixel(mx, my), c);
            for (int i = 0; i < s.layerCount(); ++i) {
                const TBitmapLayer& l = *s.layer(i);
                const QRect& loc = l.location;
                if (!l.visible || l.masterAlpha == 0 || l.bitmap.isEmpty() || !loc.contains(mx, my))
                    continue;
                int lx = static_cast<int>(std::floor((mx + 0.5 - loc.left()) * l.bitmap.width() / loc.width()));
                int ly = static_cast<int>(std::floor((my + 0.5 - loc.top()) * l.bitmap.height() / loc.height()));
                lx = std::clamp(lx, 0, l.bitmap.width() - 1);
                ly = std::clamp(ly, 0, l.bitmap.height() - 1);
                TColor32 src = l.bitmap.pixel(lx, ly);
                if (l.drawMode != TBitmap32::DrawMode::Blend)
                    src |= 0xFF000000u;
                c = blendOverWeighted(src, c, l.masterAlpha);
            }
            out.setPixel(x, y, c);
        }
    return out;
}

// Layer content of the kinds a map holds: empty, a wash over everything, scattered
// marks of any alpha, isolated pixels, and solid strips.
void paintLayer(TBitmap32& b, std::mt19937& rng)
{
    const int kind = static_cast<int>(rng() % 5);
    if (kind == 0)
        return;
    if (kind == 1 || kind == 4)
        b.clear(static_cast<TColor32>(rng()));
    const int marks = static_cast<int>(rng() % 40);
    for (int k = 0; k < marks; ++k) {
        const int x = static_cast<int>(rng() % b.width()) - 3, y = static_cast<int>(rng() % b.height()) - 3;
        const TColor32 c = static_cast<TColor32>(rng());
        switch (rng() % 4) {
        case 0: b.fillRect(QRect(x, y, 1 + rng() % 90, 1 + rng() % 6), c); break;
        case 1: b.fillRectBlend(QRect(x, y, 1 + rng() % 12, 1 + rng() % 12), c); break;
        case 2: b.setPixelS(x, y, withAlpha(c, rng() % 3)); break; // nearly invisible
        default: b.lineAA(x, y, x + static_cast<int>(rng() % 60) - 30, y + 17.5, c); break;
        }
    }
    if (kind == 4) // every pixel different
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                if (rng() % 3 == 0)
                    b.setPixel(x, y, static_cast<TColor32>(rng()));
}

TLayerStack randomStack(std::mt19937& rng)
{
    TLayerStack s;
    const int w = 150 + static_cast<int>(rng() % 200), h = 60 + static_cast<int>(rng() % 100);
    s.base.setSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) // mostly opaque, some translucent base pixels
            s.base.setPixel(x, y, rng() % 8 ? (0xFF000000u | static_cast<TColor32>(rng())) : static_cast<TColor32>(rng()));
    const int n = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) {
        TBitmapLayer* l = s.addLayer();
        if (rng() % 3 == 0) { // stretched and shifted, partly outside the base
            l->bitmap.setSize(20 + static_cast<int>(rng() % 150), 10 + static_cast<int>(rng() % 80));
            l->location = QRect(static_cast<int>(rng() % w) - 40, static_cast<int>(rng() % h) - 20,
                                10 + static_cast<int>(rng() % 300), 10 + static_cast<int>(rng() % 120));
        } else {
            l->setSizeAndPlace(w, h);
        }
        paintLayer(l->bitmap, rng);
        l->visible = rng() % 6 != 0;
        l->masterAlpha = static_cast<std::uint8_t>(rng() % 3 ? 255 : rng() % 256);
        l->drawMode = rng() % 8 ? TBitmap32::DrawMode::Blend : TBitmap32::DrawMode::Opaque;
    }
    return s;
}

TViewPlacement randomPlacement(std::mt19937& rng)
{
    static const double scales[] = {0.11, 0.27, 0.5, 0.73, 1.0, 1.0, 1.37, 2.0, 3.3};
    const double scale = scales[rng() % (sizeof scales / sizeof scales[0])];
    return {scale, QPointF(static_cast<int>(rng() % 200) - 150 + (rng() % 4) * 0.25,
                           static_cast<int>(rng() % 120) - 90 + (rng() % 4) * 0.25)};
}

} // namespace

TEST(Compose, MatchesPerPixelCompositionAtAnyZoomAndOffset)
{
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 60; ++trial) {
        const TLayerStack s = randomStack(rng);
        const TViewPlacement p = randomPlacement(rng);
        const TBitmap32 expected = referenceView(s, p, 230, 140, kBg);
        TBitmap32 out(230, 140);
        composeView(s, p, out.boundsRect(), out, kBg);
        ASSERT_EQ(out, expected) << "trial " << trial << ", scale " << p.scale;
        // A part of the view, composed over other content, agrees with the whole.
        const QRect area(static_cast<int>(rng() % 200), static_cast<int>(rng() % 120), 1 + rng() % 80, 1 + rng() % 50);
        TBitmap32 part(230, 140, 0xFF123456);
        composeView(s, p, area, part, kBg);
        for (int y = 0; y < 140; ++y)
            for (int x = 0; x < 230; ++x)
                ASSERT_EQ(part.pixel(x, y), area.contains(x, y) ? expected.pixel(x, y) : 0xFF123456u)
                    << "trial " << trial << " at " << x << ", " << y;
    }
}

TEST(Compose, FollowsLayerChangesBetweenCompositions)
{
    // Each change is made after a composition has looked at the layer; the next
    // composition must show it, whichever way the pixels were written.
    const TViewPlacement views[] = {{1.0, QPointF(-5, -3)}, {0.27, QPointF(0, 0)}, {2.0, QPointF(-40, -20)}};
    const std::function<void(TBitmapLayer&)> changes[] = {
        [](TBitmapLayer& l) { l.bitmap.setPixel(70, 20, 0xFFFF0000); },
        [](TBitmapLayer& l) { l.bitmap.scanLine(21)[130] = 0x8000FF00; },
        [](TBitmapLayer& l) { l.bitmap.bits()[22 * l.bitmap.width() + 5] = 0xFF0000FF; },
        [](TBitmapLayer& l) { l.bitmap.fillRect(QRect(60, 10, 70, 30), 0x40FFFFFF); },
        [](TBitmapLayer& l) { l.bitmap.fillRectBlend(QRect(0, 0, 200, 100), 0x30000080); },
        [](TBitmapLayer& l) { l.bitmap.clear(0x00FFFFFF); },
        [](TBitmapLayer& l) { l.bitmap.clear(0x40FFFFFF); },
        [](TBitmapLayer& l) { l.bitmap.lineAA(0, 0, 199, 99, 0xFF202020); },
        [](TBitmapLayer& l) { l.bitmap.hLineBlend(0, 199, 50, 0xC0FFFF00); },
        [](TBitmapLayer& l) { l.bitmap.rollHorizontal(37); },
        [](TBitmapLayer& l) { l.bitmap.draw(10, 10, TBitmap32(50, 50, 0x80FF00FF)); },
        [](TBitmapLayer& l) { l.bitmap = TBitmap32(200, 100, 0xFF00FFFF); },
        [](TBitmapLayer& l) {
            TBitmap32 other(200, 100, 0x2000FF00);
            l.bitmap = std::move(other);
        },
        [](TBitmapLayer& l) { l.setSizeAndPlace(200, 100); },
        [](TBitmapLayer& l) { l.bitmap.blendPixelF(100.5, 50.25, 0xFF000000); },
        [](TBitmapLayer& l) { l.bitmap.asImage().fill(0x7F102030); },
        [](TBitmapLayer& l) { l.bitmap.setSize(100, 50); },
    };
    for (const TViewPlacement& p : views) {
        TLayerStack s;
        s.base = TBitmap32(200, 100, 0xFF336699);
        TBitmapLayer* veil = s.addLayer();
        veil->setSizeAndPlace(200, 100);
        veil->bitmap.clear(0x40FFFFFF);
        TBitmapLayer* marks = s.addLayer();
        marks->setSizeAndPlace(200, 100);
        TBitmap32 out(160, 90);
        int step = 0;
        for (const auto& change : changes) {
            composeView(s, p, out.boundsRect(), out, kBg);
            ASSERT_EQ(out, referenceView(s, p, 160, 90, kBg)) << "before change " << step;
            change(step % 2 ? *veil : *marks);
            change(step % 2 ? *marks : *veil);
            ++step;
        }
        composeView(s, p, out.boundsRect(), out, kBg);
        ASSERT_EQ(out, referenceView(s, p, 160, 90, kBg)) << "after the last change";
    }
}

TEST(Bitmap, UninitialisedSizingAndMoves)
{
    TBitmap32 b(30, 20, 0xFF112233);
    const TColor32* before = b.bits();
    // Same pixel count: the buffer stays (its content is unspecified, here the old one).
    b.setSizeUninitialized(20, 30);
    EXPECT_EQ(b.width(), 20);
    EXPECT_EQ(b.height(), 30);
    EXPECT_EQ(b.bits(), before);
    b.setSizeUninitialized(64, 64);
    b.fillRect(b.boundsRect(), 0xFF000000);
    // setSize still clears, whatever was there.
    b.setSize(64, 64);
    EXPECT_EQ(b, TBitmap32(64, 64, clTransparentWhite32));
    b.setSizeUninitialized(0, 5);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.width(), 0);

    // A moved-from bitmap is empty, not a size without pixels.
    TBitmap32 src(5000, 1000, 0xFF445566); // a large block
    TBitmap32 dst = std::move(src);
    EXPECT_TRUE(src.isEmpty());
    EXPECT_EQ(src.width(), 0);
    EXPECT_EQ(dst.pixel(4999, 999), 0xFF445566u);
    src = std::move(dst);
    EXPECT_TRUE(dst.isEmpty());
    EXPECT_EQ(src.pixel(0, 0), 0xFF445566u);

    // The content stamp changes with writes, not with reads; copies share it.
    const std::uint64_t s0 = src.contentStamp();
    EXPECT_NE(s0, 0u);
    EXPECT_EQ(static_cast<const TBitmap32&>(src).scanLine(3)[0], 0xFF445566u);
    EXPECT_EQ(src.contentStamp(), s0);
    const TBitmap32 copy = src;
    EXPECT_EQ(copy.contentStamp(), s0);
    src.setPixel(1, 1, 0);
    const std::uint64_t s1 = src.contentStamp();
    EXPECT_NE(s1, s0);
    EXPECT_EQ(copy.contentStamp(), s0);
    TBitmap32 other(5, 5);
    other = copy;
    EXPECT_EQ(other.contentStamp(), s0);
    other.clear();
    EXPECT_NE(other.contentStamp(), s0);
    EXPECT_NE(other.contentStamp(), s1);
}
