#include "ui/raster_scan.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSubRows = 16;

struct Crossing {
    double x;
    int dir;
    bool operator<(const Crossing& o) const { return x < o.x; }
};

} // namespace

void TScanConverter::addEdge(double x0, double y0, double x1, double y1)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    if (y0 == y1)
        return; // horizontal edges never cross a scanline
    int dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    // Shift by half a pixel so that pixel x covers [x, x + 1) from here on.
    edges_.push_back({x0 + 0.5, y0 + 0.5, y1 + 0.5, (x1 - x0) / (y1 - y0), dir});
}

void TScanConverter::scanRows(int width, int height, bool winding, bool antialiased,
                              void (*sink)(void*, int, int, const std::uint8_t*, int), void* ctx)
{
    if (edges_.empty() || width <= 0 || height <= 0)
        return;
    std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    double yTop = edges_.front().y0;
    double yBottom = yTop;
    for (const Edge& e : edges_)
        yBottom = std::max(yBottom, e.y1);
    const int rowFirst = std::max(0, static_cast<int>(std::floor(yTop)));
    const int rowLast = std::min(height - 1, static_cast<int>(std::ceil(yBottom)));
    if (rowFirst > rowLast)
        return;

    const int subRows = antialiased ? kSubRows : 1;
    const float weight = 1.0f / static_cast<float>(subRows);
    std::vector<float> cov(static_cast<std::size_t>(width) + 2, 0.0f);
    std::vector<float> run(static_cast<std::size_t>(width) + 2, 0.0f);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width));
    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    std::size_t next = 0;
    const double w = width;

    for (int y = rowFirst; y <= rowLast; ++y) {
        int minX = width;
        int maxX = -1;
        for (int s = 0; s < subRows; ++s) {
            const double ys = antialiased ? y + (s + 0.5) / subRows : y + 0.5;
            while (next < edges_.size() && edges_[next].y0 <= ys)
                active.push_back(&edges_[next++]);
            active.erase(std::remove_if(active.begin(), active.end(), [ys](const Edge* e) { return e->y1 <= ys; }),
                         active.end());
            if (active.empty())
                continue;
            xs.clear();
            for (const Edge* e : active)
                if (e->y0 <= ys)
                    xs.push_back({e->x0 + (ys - e->y0) * e->dxdy, e->dir});
            std::sort(xs.begin(), xs.end());
            int wind = 0;
            double start = 0;
            for (const Crossing& c : xs) {
                const bool wasIn = winding ? wind != 0 : (wind & 1) != 0;
                wind += c.dir;
                const bool isIn = winding ? wind != 0 : (wind & 1) != 0;
                if (isIn == wasIn)
                    continue;
                if (isIn) {
                    start = c.x;
                    continue;
                }
                double a = start;
                double b = c.x;
                if (!antialiased) {
                    // Whole pixels whose centre lies in the span.
                    a = std::ceil(a - 0.5);
                    b = std::ceil(b - 0.5);
                }
                a = std::clamp(a, 0.0, w);
                b = std::clamp(b, 0.0, w);
                if (b <= a)
                    continue;
                const int ia = static_cast<int>(a);
                const int ib = static_cast<int>(b);
                if (ia == ib) {
                    cov[static_cast<std::size_t>(ia)] += static_cast<float>(b - a) * weight;
                } else {
                    cov[static_cast<std::size_t>(ia)] += static_cast<float>(ia + 1 - a) * weight;
                    run[static_cast<std::size_t>(ia) + 1] += weight;
                    run[static_cast<std::size_t>(ib)] -= weight;
                    cov[static_cast<std::size_t>(ib)] += static_cast<float>(b - ib) * weight;
                }
                minX = std::min(minX, ia);
                maxX = std::max(maxX, ib);
            }
        }
        if (maxX < minX)
            continue;
        const int last = std::min(maxX, width - 1);
        float acc = 0;
        for (int x = minX; x <= last; ++x) {
            acc += run[static_cast<std::size_t>(x)];
            const float c = cov[static_cast<std::size_t>(x)] + acc;
            out[static_cast<std::size_t>(x - minX)] =
                c >= 0.998f ? 255 : (c <= 0 ? 0 : static_cast<std::uint8_t>(c * 255.0f + 0.5f));
        }
        std::fill(cov.begin() + minX, cov.begin() + maxX + 2, 0.0f);
        std::fill(run.begin() + minX, run.begin() + maxX + 2, 0.0f);
        sink(ctx, y, minX, out.data(), last - minX + 1);
    }
}

void TScanConverter::fill(TBitmap32& target, TColor32 c, bool winding, bool antialiased)
{
    const bool opaque = alphaOf(c) == 255;
    scan(target.width(), target.height(), winding, antialiased,
         [&](int y, int x0, const std::uint8_t* cov, int n) {
             TColor32* row = target.scanLine(y) + x0;
             for (int i = 0; i < n; ++i) {
                 const std::uint32_t w = cov[i];
                 if (w == 0)
                     continue;
                 row[i] = (w == 255 && opaque) ? c : blendOverWeighted(c, row[i], w);
             }
         });
}
