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

namespace {

// Where one layer's pixels come from for the columns of the area being composed.
struct LayerColumns {
    const TBitmapLayer* layer = nullptr;
    std::vector<int> col; // per run: layer column
    int first = 0;        // runs first..last fall inside the layer
    int last = -1;
};

int layerRow(const TBitmapLayer& l, int my)
{
    const QRect& loc = l.location;
    if (my < loc.top() || my > loc.bottom())
        return -1;
    const int ly = floorToInt((my + 0.5 - loc.top()) * l.bitmap.height() / loc.height());
    return std::clamp(ly, 0, l.bitmap.height() - 1);
}

// Whether any of the n pixels has a non-zero alpha.
inline bool anyInk(const TColor32* p, int n)
{
    int i = 0;
#ifdef __SSE2__
    __m128i acc = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 4)));
        const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 8)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 12)));
        acc = _mm_or_si128(acc, _mm_or_si128(a, b));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_srli_epi32(acc, 24), _mm_setzero_si128())) != 0xFFFF)
        return true;
#endif
    TColor32 any = 0;
    for (; i < n; ++i)
        any |= p[i];
    return (any >> 24) != 0;
}

// Calls fn(r, pixel) for the runs first..last whose layer pixel has a non-zero alpha.
// Layers are mostly empty: blocks of 64 layer pixels are tested at once (a plain
// contiguous scan) and the runs falling in an empty block are skipped.
template <typename Fn>
void forEachInkedRun(const TColor32* src, int width, const int* col, int first, int last, Fn fn)
{
    constexpr int kBlock = 64;
    int r = first;
    while (r <= last) {
        const int block = col[r] / kBlock;
        const int b0 = block * kBlock;
        const int b1 = std::min(b0 + kBlock, width);
        if (!anyInk(src + b0, b1 - b0)) {
            while (r <= last && col[r] < b1)
                ++r;
            continue;
        }
        for (; r <= last && col[r] < b1; ++r) {
            const TColor32 s = src[col[r]];
            if (alphaOf(s))
                fn(r, s);
        }
    }
}

} // namespace

void composeView(const TLayerStack& stack, const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background)
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

    const TBitmap32& base = stack.base;
    int baseFirst = nRuns, baseLast = -1;
    for (int r = 0; r < nRuns; ++r)
        if (runMx[static_cast<std::size_t>(r)] >= 0 && runMx[static_cast<std::size_t>(r)] < base.width()) {
            baseFirst = std::min(baseFirst, r);
            baseLast = r;
        }

    std::vector<LayerColumns> layers;
    for (int i = 0; i < stack.layerCount(); ++i) {
        const TBitmapLayer& l = *stack.layer(i);
        if (!l.visible || l.masterAlpha == 0 || l.bitmap.isEmpty() || l.location.isEmpty())
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
        if (lc.first <= lc.last)
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
                forEachInkedRun(src, l.bitmap.width(), col, lc.first, lc.last, [&](int r, TColor32 s) {
                    if (master == 255)
                        d[r] = blendOver(s, d[r]);
                    else
                        d[r] = blendOverWeighted(s, d[r], master);
                });
            } else {
                for (int r = lc.first; r <= lc.last; ++r) {
                    const TColor32 s = src[col[r]] | 0xFF000000u;
                    d[r] = master == 255 ? s : blendOverWeighted(s, d[r], master);
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
