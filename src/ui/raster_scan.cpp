#include "ui/raster_scan.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSubRows = 16;

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

    // Columns: the edges' extent, clipped to the target.
    double xLeft = edges_.front().x0;
    double xRight = xLeft;
    for (const Edge& e : edges_) {
        const double xe = e.x0 + (e.y1 - e.y0) * e.dxdy;
        xLeft = std::min({xLeft, e.x0, xe});
        xRight = std::max({xRight, e.x0, xe});
    }
    const double w = width;
    const int colFirst = static_cast<int>(std::clamp(std::floor(xLeft) - 1.0, 0.0, w));
    const int colEnd = static_cast<int>(std::clamp(std::ceil(xRight) + 1.0, 0.0, w)); // one past
    if (colFirst >= colEnd)
        return;

    const int subRows = antialiased ? kSubRows : 1;
    const float weight = 1.0f / static_cast<float>(subRows);
    // Scratch kept from call to call; cov and run are all zero between rows. A sink
    // that fills another polygon gets buffers of its own.
    thread_local Scratch shared;
    thread_local bool sharedBusy = false;
    Scratch own;
    Scratch& sc = sharedBusy ? own : shared;
    struct Release {
        bool* flag;
        ~Release()
        {
            if (flag)
                *flag = false;
        }
    } release{sharedBusy ? nullptr : &sharedBusy};
    sharedBusy = true;
    const std::size_t span = static_cast<std::size_t>(colEnd - colFirst);
    if (sc.cov.size() < span + 2) {
        sc.cov.assign(span + 2, 0.0f);
        sc.run.assign(span + 2, 0.0f);
        sc.out.resize(span);
    }
    float* const cov = sc.cov.data(); // column x at x - colFirst
    float* const run = sc.run.data();
    std::uint8_t* const out = sc.out.data();
    std::vector<const Edge*>& active = sc.active;
    std::vector<Crossing>& xs = sc.xs;
    active.clear();
    std::size_t next = 0;
    const double lo = colFirst;
    const double hi = colEnd;

    for (int y = rowFirst; y <= rowLast; ++y) {
        int minX = colEnd - colFirst; // relative to colFirst
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
            // A handful of crossings: insertion sort.
            for (std::size_t i = 1; i < xs.size(); ++i) {
                const Crossing c = xs[i];
                std::size_t j = i;
                for (; j > 0 && c.x < xs[j - 1].x; --j)
                    xs[j] = xs[j - 1];
                xs[j] = c;
            }
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
                a = std::clamp(a, lo, hi);
                b = std::clamp(b, lo, hi);
                if (b <= a)
                    continue;
                const int ia = static_cast<int>(a) - colFirst;
                const int ib = static_cast<int>(b) - colFirst;
                if (ia == ib) {
                    cov[ia] += static_cast<float>(b - a) * weight;
                } else {
                    cov[ia] += static_cast<float>(ia + colFirst + 1 - a) * weight;
                    run[ia + 1] += weight;
                    run[ib] -= weight;
                    cov[ib] += static_cast<float>(b - (ib + colFirst)) * weight;
                }
                minX = std::min(minX, ia);
                maxX = std::max(maxX, ib);
            }
        }
        if (maxX < minX)
            continue;
        const int last = std::min(maxX, colEnd - colFirst - 1);
        float acc = 0;
        for (int x = minX; x <= last; ++x) {
            acc += run[x];
            const float c = cov[x] + acc;
            out[x - minX] = c >= 0.998f ? 255 : (c <= 0 ? 0 : static_cast<std::uint8_t>(c * 255.0f + 0.5f));
        }
        std::fill(cov + minX, cov + maxX + 2, 0.0f);
        std::fill(run + minX, run + maxX + 2, 0.0f);
        sink(ctx, y, colFirst + minX, out, last - minX + 1);
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
