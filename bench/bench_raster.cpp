// Raster layer speed: map rolls, view composition, polygon fills, hairlines.
#include "ui/polygon.h"
#include "ui/raster_compose.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

TBitmap32 texturedPicture(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        TColor32* row = b.scanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | static_cast<TColor32>((x * 2654435761u) ^ (y * 40503u));
    }
    return b;
}

// A map-sized stack: base and six layers, mostly transparent with some drawing,
// one attenuation layer covering everything with partial alpha.
TLayerStack& mapStack()
{
    static TLayerStack s = [] {
        TLayerStack st;
        st.base = texturedPicture(7200, 3600);
        std::mt19937 rng(7);
        for (int i = 0; i < 6; ++i) {
            TBitmapLayer* l = st.addLayer();
            l->setSizeAndPlace(7200, 3600);
            if (i == 0)
                l->bitmap.clear(0x60FFFFFF);
            for (int k = 0; k < 3000; ++k) {
                const int x = static_cast<int>(rng() % 7200);
                const int y = static_cast<int>(rng() % 3600);
                l->bitmap.fillRect(QRect(x, y, 5, 5), 0xFF000000u | (rng() & 0xFFFFFF));
            }
        }
        return st;
    }();
    return s;
}

void BM_Roll7200x3600(benchmark::State& state)
{
    TBitmap32 b = texturedPicture(7200, 3600);
    int dx = 500;
    for (auto _ : state) {
        b.rollHorizontal(dx);
        dx = -dx;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Roll7200x3600)->Unit(benchmark::kMillisecond);

void BM_ComposeViewport(benchmark::State& state)
{
    const double scale = state.range(0) / 100.0;
    TLayerStack& s = mapStack();
    TBitmap32 out(1920, 1080);
    const TViewPlacement p{scale, QPointF(-1000 * scale, -900 * scale)};
    for (auto _ : state) {
        composeView(s, p, out.boundsRect(), out);
        benchmark::DoNotOptimize(out.bits());
    }
}
BENCHMARK(BM_ComposeViewport)->Arg(27)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The first composition after layers were redrawn: what is known about their
// pixels is learned again (one layer: the usual case; all six: after a reload).
void BM_ComposeViewportAfterRedraw(benchmark::State& state)
{
    const int changed = static_cast<int>(state.range(0));
    TLayerStack& s = mapStack();
    TBitmap32 out(1920, 1080);
    const TViewPlacement p{0.27, QPointF(-1000 * 0.27, -900 * 0.27)};
    for (auto _ : state) {
        for (int i = 0; i < changed; ++i)
            s.layer(i)->bitmap.setPixel(0, 0, s.layer(i)->bitmap.pixel(0, 0));
        composeView(s, p, out.boundsRect(), out);
        benchmark::DoNotOptimize(out.bits());
    }
}
BENCHMARK(BM_ComposeViewportAfterRedraw)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

// A rubber band moving: only a small region is recomposed.
void BM_ComposeRubberBandRegion(benchmark::State& state)
{
    TLayerStack& s = mapStack();
    TBitmap32 out(1920, 1080);
    const TViewPlacement p{0.27, QPointF(0, 0)};
    for (auto _ : state) {
        s.layer(5)->bitmap.setPixel(0, 0, 0x00FFFFFF); // the band is redrawn each time
        composeView(s, p, QRect(400, 300, 300, 200), out);
        benchmark::DoNotOptimize(out.bits());
    }
}
BENCHMARK(BM_ComposeRubberBandRegion)->Unit(benchmark::kMicrosecond);

void BM_StretchDrawViewport(benchmark::State& state)
{
    TLayerStack& s = mapStack();
    TBitmap32 out(1920, 1080);
    for (auto _ : state) {
        out.draw(QRect(0, 0, 1920, 1080), QRect(0, 0, 7111, 4000), s.base, TBitmap32::DrawMode::Blend);
        benchmark::DoNotOptimize(out.bits());
    }
}
BENCHMARK(BM_StretchDrawViewport)->Unit(benchmark::kMillisecond);

void BM_FillLargePolygon(benchmark::State& state)
{
    // A 200-point star covering most of a 1920 x 1080 bitmap.
    TPolygon32 p;
    p.Closed = true;
    p.FillMode = state.range(0) ? TPolyFillMode::Winding : TPolyFillMode::Alternate;
    for (int i = 0; i < 200; ++i) {
        const double a = 2 * M_PI * i / 200;
        const double r = (i % 2) ? 520 : 380;
        p.Add(960 + 1.7 * r * std::cos(a), 540 + r * std::sin(a));
    }
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        p.DrawFill(b, 0x80306090);
        benchmark::DoNotOptimize(b.bits());
    }
}
BENCHMARK(BM_FillLargePolygon)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GrowAndFillStroke(benchmark::State& state)
{
    // A freehand stroke of 500 points, 3 pixels thick.
    TPolygon32 p;
    std::mt19937 rng(3);
    double x = 100, y = 500;
    for (int i = 0; i < 500; ++i) {
        x += 3 + rng() % 3;
        y += static_cast<int>(rng() % 11) - 5;
        p.Add(x, y);
    }
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        const TPolygon32 g = p.Outline().Grow(3, 0);
        g.DrawFill(b, 0xFF000000);
        benchmark::DoNotOptimize(b.bits());
    }
}
BENCHMARK(BM_GrowAndFillStroke)->Unit(benchmark::kMillisecond);

void BM_10000Lines(benchmark::State& state)
{
    // Short lines, like vectors and arcs (up to about 40 pixels), some crossing the edges.
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> ux(-50, 1970), uy(-50, 1130), ud(-30, 30);
    std::vector<double> c;
    c.reserve(40000);
    for (int i = 0; i < 10000; ++i) {
        const double x = ux(rng), y = uy(rng);
        c.insert(c.end(), {x, y, x + ud(rng), y + ud(rng)});
    }
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        for (std::size_t i = 0; i < c.size(); i += 4)
            b.lineAA(c[i], c[i + 1], c[i + 2], c[i + 3], 0xC0203040);
        benchmark::DoNotOptimize(b.bits());
    }
}
BENCHMARK(BM_10000Lines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
