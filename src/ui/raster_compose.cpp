#include "ui/raster_compose.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

TBitmapLayer* TLayerStack::addLayer()
{
    layers_.push_back(std::make_unique<TBitmapLayer>());
    return layers_.back().get();
}

void TLayerStack::removeLayer(const TBitmapLayer* layer)
{
    const int i = indexOf(layer);
    if (i >= 0)
        layers_.erase(layers_.begin() + i);
}

int TLayerStack::indexOf(const TBitmapLayer* layer) const
{
    for (std::size_t i = 0; i < layers_.size(); ++i)
        if (layers_[i].get() == layer)
            return static_cast<int>(i);
    return -1;
}

namespace {

int floorToInt(double v)
{
    if (!(v > -1e9))
        return -1000000000;
    if (v > 1e9)
        return 1000000000;
    return static_cast<int>(std::floor(v));
}

bool validScale(double s) { return std::isfinite(s) && s > 0; }

} // namespace

int TViewPlacement::mapX(int x) const
{
    return floorToInt((x + 0.5 - offset.x()) / scale);
}

int TViewPlacement::mapY(int y) const
{
    return floorToInt((y + 0.5 - offset.y()) / scale);
}

QRect TViewPlacement::viewRect(const QRect& r) const
{
    if (r.isEmpty() || !validScale(scale))
        return {};
    const int l = floorToInt(offset.x() + r.left() * scale);
    const int t = floorToInt(offset.y() + r.top() * scale);
    const int rr = floorToInt(std::ceil(offset.x() + (r.right() + 1.0) * scale));
    const int b = floorToInt(std::ceil(offset.y() + (r.bottom() + 1.0) * scale));
    return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
}

void TLayerInkSummary::update(const TBitmap32& bmp)
{
    const std::uint64_t stamp = bmp.contentStamp();
    if (stamp == stamp_ && bmp.width() == w_ && bmp.height() == h_)
        return;
    stamp_ = stamp;
    if (bmp.width() == w_ && bmp.height() == h_ && ++epoch_ != 0)
        return;
    w_ = bmp.width();
    h_ = bmp.height();
    blocksPerRow_ = (w_ + kWidth - 1) / kWidth;
    epoch_ = 1;
    rowEpoch_.assign(static_cast<std::size_t>(h_), 0);
    seg_.resize(static_cast<std::size_t>(blocksPerRow_) * static_cast<std::size_t>(h_));
}

void TLayerInkSummary::startRow(int y)
{
    rowEpoch_[static_cast<std::size_t>(y)] = epoch_;
    const auto first = seg_.begin() + static_cast<std::ptrdiff_t>(y) * blocksPerRow_;
    std::fill(first, first + blocksPerRow_, kUnknown);
}

TColor32 TLayerInkSummary::examine(const TBitmap32& bmp, int y, int block)
{
    const int x0 = block * kWidth;
    const int n = std::min(kWidth, bmp.width() - x0);
    const TColor32* p = bmp.scanLine(y) + x0;
    const TColor32 first = p[0];
    TColor32 any = 0;  // OR of all pixels: tells whether some alpha is non-zero
    TColor32 diff = 0; // OR of (pixel XOR first): zero when all are equal
    int i = 0;
#ifdef __SSE2__
    const __m128i f = _mm_set1_epi32(static_cast<int>(first));
    __m128i vAny = _mm_setzero_si128();
    __m128i vDiff = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        vAny = _mm_or_si128(vAny, v);
        vDiff = _mm_or_si128(vDiff, _mm_xor_si128(v, f));
    }
    alignas(16) TColor32 lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), vAny);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 4), vDiff);
    any = lanes[0] | lanes[1] | lanes[2] | lanes[3];
    diff = lanes[4] | lanes[5] | lanes[6] | lanes[7];
#endif
    for (; i < n; ++i) {
        any |= p[i];
        diff |= p[i] ^ first;
    }
    if (alphaOf(any) == 0)
        return 0;
    return diff == 0 ? first : kMixed;
}

namespace {

// A run of neighbouring column runs that read the same segment of a layer row.
struct Segment {
    int block;
    int r0, r1; // runs r0..r1
};

// Where one layer's pixels come from for the columns of the area being composed.
struct LayerColumns {
    const TBitmapLayer* layer = nullptr;
    std::vector<int> col; // per run: layer column
    int first = 0;        // runs first..last fall inside the layer
    int last = -1;
    std::vector<Segment> segments; // runs first..last cut by layer segment
};

int layerRow(const TBitmapLayer& l, int my)
{
    const QRect& loc = l.location;
    if (my < loc.top() || my > loc.bottom())
        return -1;
    const int ly = floorToInt((my + 0.5 - loc.top()) * l.bitmap.height() / loc.height());
    return std::clamp(ly, 0, l.bitmap.height() - 1);
}

// Composed rows are opaque throughout (the background is), so layers are blended with
// the opaque-destination form of "over": Fc = Sc a + Dc (255 - a), alpha stays 255.
// For a source alpha a in 1..254 this is exactly what blendOver() gives.
inline TColor32 overOpaque(TColor32 s, std::uint32_t a, TColor32 d)
{
    const std::uint32_t ia = 255 - a;
    return 0xFF000000u | (div255(redOf(s) * a + redOf(d) * ia) << 16) |
           (div255(greenOf(s) * a + greenOf(d) * ia) << 8) | div255(blueOf(s) * a + blueOf(d) * ia);
}

// A pixel's alpha under a layer's master alpha, rounded as blendOverWeighted() does.
inline std::uint32_t weightedAlpha(std::uint32_t a, std::uint32_t master)
{
    return master >= 255 ? a : (a * master + 127) / 255;
}

// Blends the colour c with alpha a (1..254) over n opaque pixels.
void blendConstantOverOpaque(TColor32* d, int n, TColor32 c, std::uint32_t a)
{
    int i = 0;
#ifdef __SSE2__
    // 16-bit lanes hold the B, G, R, A bytes of two pixels; every intermediate stays
    // below 65536: Sc a + Dc (255 - a) + 128 <= 65153, plus its eighth bits <= 65407.
    const auto ca = [&](std::uint32_t v) { return static_cast<short>(v * a + 128); };
    const __m128i add = _mm_set_epi16(0, ca(redOf(c)), ca(greenOf(c)), ca(blueOf(c)), 0, ca(redOf(c)),
                                      ca(greenOf(c)), ca(blueOf(c)));
    const __m128i mul = _mm_set1_epi16(static_cast<short>(255 - a));
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const auto half = [&](__m128i x) {
        x = _mm_add_epi16(_mm_mullo_epi16(x, mul), add);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i lo = half(_mm_unpacklo_epi8(v, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
    }
#endif
    for (; i < n; ++i)
        d[i] = overOpaque(c, a, d[i]);
}

// Blend-mode layer pixels over the opaque runs d[r0..r1].
void blendSegment(const TColor32* src, const int* col, TColor32* d, int r0, int r1, std::uint32_t master)
{
    for (int r = r0; r <= r1; ++r) {
        const TColor32 s = src[col[r]];
        const std::uint32_t a = weightedAlpha(alphaOf(s), master);
        if (a == 255)
            d[r] = s;
        else if (a)
            d[r] = overOpaque(s, a, d[r]);
    }
}

} // namespace

void composeView(const TLayerStack& stack, const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background)
{
    std::vector<const TBitmapLayer*> visibles;
    visibles.reserve(static_cast<std::size_t>(stack.layerCount()));
    for (int i = 0; i < stack.layerCount(); ++i)
        if (stack.layer(i)->visible)
            visibles.push_back(stack.layer(i));
    composeLayers(stack.base, visibles, placement, area, out, background);
}

void composeLayers(const TBitmap32& base, const std::vector<const TBitmapLayer*>& stackLayers,
                   const TViewPlacement& placement, const QRect& area, TBitmap32& out, TColor32 background)
{
    const QRect a = area.intersected(out.boundsRect());
    if (a.isEmpty())
        return;
    background |= 0xFF000000u;
    if (!validScale(placement.scale)) {
        out.fillRect(a, background);
        return;
    }

    // Columns: runs of neighbouring view columns that show the same base column.
    std::vector<int> runMx;
    std::vector<int> runLen;
    for (int x = a.left(); x <= a.right(); ++x) {
        const int mx = placement.mapX(x);
        if (!runMx.empty() && runMx.back() == mx)
            ++runLen.back();
        else {
            runMx.push_back(mx);
            runLen.push_back(1);
        }
    }
    const int nRuns = static_cast<int>(runMx.size());

    int baseFirst = nRuns, baseLast = -1;
    for (int r = 0; r < nRuns; ++r)
        if (runMx[static_cast<std::size_t>(r)] >= 0 && runMx[static_cast<std::size_t>(r)] < base.width()) {
            baseFirst = std::min(baseFirst, r);
            baseLast = r;
        }

    std::vector<LayerColumns> layers;
    for (const TBitmapLayer* pl : stackLayers) {
        const TBitmapLayer& l = *pl;
        if (l.masterAlpha == 0 || l.bitmap.isEmpty() || l.location.isEmpty())
            continue;
        LayerColumns lc;
        lc.layer = &l;
        lc.col.assign(static_cast<std::size_t>(nRuns), -1);
        lc.first = nRuns;
        const QRect& loc = l.location;
        const int bw = l.bitmap.width();
        for (int r = 0; r < nRuns; ++r) {
            const int mx = runMx[static_cast<std::size_t>(r)];
            if (mx < loc.left() || mx > loc.right())
                continue;
            const int lx = floorToInt((mx + 0.5 - loc.left()) * bw / loc.width());
            lc.col[static_cast<std::size_t>(r)] = std::clamp(lx, 0, bw - 1);
            lc.first = std::min(lc.first, r);
            lc.last = r;
        }
        if (lc.first > lc.last)
            continue;
        if (l.drawMode == TBitmap32::DrawMode::Blend) {
            // Layer columns grow with the runs, so each segment is one stretch of runs.
            l.ink.update(l.bitmap);
            for (int r = lc.first; r <= lc.last; ++r) {
                const int block = lc.col[static_cast<std::size_t>(r)] / TLayerInkSummary::kWidth;
                if (!lc.segments.empty() && lc.segments.back().block == block)
                    lc.segments.back().r1 = r;
                else
                    lc.segments.push_back({block, r, r});
            }
        }
        layers.push_back(std::move(lc));
    }

    std::vector<TColor32> row(static_cast<std::size_t>(nRuns));
    int prevMy = 0;
    bool havePrev = false;
    for (int y = a.top(); y <= a.bottom(); ++y) {
        TColor32* dst = out.scanLine(y) + a.left();
        const int my = placement.mapY(y);
        if (havePrev && my == prevMy) {
            std::memcpy(dst, out.scanLine(y - 1) + a.left(), static_cast<std::size_t>(a.width()) * sizeof(TColor32));
            continue;
        }
        prevMy = my;
        havePrev = true;

        // Base over the background.
        std::fill(row.begin(), row.end(), background);
        if (my >= 0 && my < base.height() && baseFirst <= baseLast) {
            const TColor32* src = base.scanLine(my);
            for (int r = baseFirst; r <= baseLast; ++r) {
                const TColor32 s = src[runMx[static_cast<std::size_t>(r)]];
                row[static_cast<std::size_t>(r)] = alphaOf(s) == 255 ? s : blendOver(s, background);
            }
        }
        // Layers, bottom to top.
        for (const LayerColumns& lc : layers) {
            const TBitmapLayer& l = *lc.layer;
            const int ly = layerRow(l, my);
            if (ly < 0)
                continue;
            const TColor32* src = l.bitmap.scanLine(ly);
            const int* col = lc.col.data();
            TColor32* d = row.data();
            const std::uint32_t master = l.masterAlpha;
            if (l.drawMode == TBitmap32::DrawMode::Blend) {
                for (const Segment& sg : lc.segments) {
                    const TColor32 v = l.ink.segment(l.bitmap, ly, sg.block);
                    if (v == TLayerInkSummary::kMixed) {
                        blendSegment(src, col, d, sg.r0, sg.r1, master);
                        continue;
                    }
                    // One colour over the whole segment (a wash, or nothing at all).
                    const std::uint32_t a = weightedAlpha(alphaOf(v), master);
                    if (a == 255)
                        std::fill(d + sg.r0, d + sg.r1 + 1, v);
                    else if (a)
                        blendConstantOverOpaque(d + sg.r0, sg.r1 - sg.r0 + 1, v, a);
                }
            } else {
                const std::uint32_t a = weightedAlpha(255, master);
                for (int r = lc.first; r <= lc.last; ++r) {
                    const TColor32 s = src[col[r]] | 0xFF000000u;
                    d[r] = a == 255 ? s : overOpaque(s, a, d[r]);
                }
            }
        }
        // Spread each run over its view columns.
        if (nRuns == a.width()) {
            std::memcpy(dst, row.data(), static_cast<std::size_t>(nRuns) * sizeof(TColor32));
        } else {
            for (int r = 0; r < nRuns; ++r) {
                const TColor32 c = row[static_cast<std::size_t>(r)];
                const int n = runLen[static_cast<std::size_t>(r)];
                for (int k = 0; k < n; ++k)
                    *dst++ = c;
            }
        }
    }
}
