#include "ui/polygon.h"

#include "ui/raster_scan.h"

#include <algorithm>
#include <cmath>

namespace {

struct Pt {
    double x;
    double y;
};

Pt toPt(TFixedPoint p) { return {fromFixed(p.X), fromFixed(p.Y)}; }
TFixedPoint toFixedPt(Pt p) { return {toFixed(p.x), toFixed(p.y)}; }

// Twice the signed area (shoelace); positive for contours that turn clockwise on the
// screen (y pointing down).
double signedArea2(const std::vector<Pt>& c)
{
    double a = 0;
    const std::size_t n = c.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Pt& p = c[i];
        const Pt& q = c[(i + 1) % n];
        a += p.x * q.y - q.x * p.y;
    }
    return a;
}

// Appends c as a new sub-path of out, turned so that its area is positive: pieces that
// all turn the same way only add to the winding number, so filling with the winding
// rule gives exactly their union.
void addPositive(TPolygon32& out, std::vector<Pt> c)
{
    if (c.size() < 3)
        return;
    if (signedArea2(c) < 0)
        std::reverse(c.begin(), c.end());
    out.NewLine();
    for (const Pt& p : c)
        out.Add(toFixedPt(p));
}

// Points of a contour with consecutive repeats removed (and, for closed ones, a last
// point equal to the first).
std::vector<Pt> cleanContour(const std::vector<TFixedPoint>& src, bool closed)
{
    std::vector<Pt> c;
    c.reserve(src.size());
    for (std::size_t i = 0; i < src.size(); ++i)
        if (i == 0 || !(src[i] == src[i - 1]))
            c.push_back(toPt(src[i]));
    if (closed && c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y)
        c.pop_back();
    return c;
}

// Whether the closed contour p0 .. pn, pn-1 .. p1 goes back over its own points.
bool isTracedBack(const std::vector<Pt>& c)
{
    const std::size_t m = c.size();
    if (m < 2 || m % 2 != 0)
        return false;
    for (std::size_t i = 1; i < m / 2; ++i)
        if (c[i].x != c[m - i].x || c[i].y != c[m - i].y)
            return false;
    return true;
}

int discSegments(double r)
{
    // Chord error at most about 1/8 pixel.
    const double tol = 0.125;
    if (r <= tol)
        return 8;
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tol / r));
    return std::clamp(static_cast<int>(std::ceil(2.0 * M_PI / step)), 8, 256);
}

std::vector<Pt> disc(Pt c, double r, int n)
{
    std::vector<Pt> d(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * M_PI * i / n;
        d[static_cast<std::size_t>(i)] = {c.x + r * std::cos(a), c.y + r * std::sin(a)};
    }
    return d;
}

// The join at p between the edge arriving in direction u and the edge leaving in
// direction v (unit vectors): the wedge that closes the gap between the two edge
// rectangles on the outer side, mitred when the mitre stays within the limit,
// bevelled otherwise.
void addMitreJoin(TPolygon32& out, Pt p, Pt u, Pt v, double d)
{
    const Pt nu{-u.y, u.x};
    const Pt nv{-v.y, v.x};
    const double side = nu.x * v.x + nu.y * v.y;
    if (std::fabs(side) < 1e-12)
        return; // straight on (no gap) or a full turn back (butt end)
    const double s = side < 0 ? 1.0 : -1.0; // outer side: v turns away from it
    const Pt a{p.x + s * nu.x * d, p.y + s * nu.y * d};
    const Pt b{p.x + s * nv.x * d, p.y + s * nv.y * d};
    const double cosTurn = nu.x * nv.x + nu.y * nv.y; // cosine of the turn angle
    const double denom = 1.0 + cosTurn;                // 2 cos^2(turn/2)
    constexpr double mitreLimit = 4.0;                 // mitre length / half width
    if (denom > 2.0 / (mitreLimit * mitreLimit)) {
        const Pt m{p.x + s * d * (nu.x + nv.x) / denom, p.y + s * d * (nu.y + nv.y) / denom};
        addPositive(out, {p, a, m, b});
    } else {
        addPositive(out, {p, a, b});
    }
}

} // namespace

void TPolygon32::NewLine()
{
    if (Points.empty() || !Points.back().empty())
        Points.emplace_back();
}

bool TPolygon32::IsEmpty() const
{
    for (const auto& sp : Points)
        if (!sp.empty())
            return false;
    return true;
}

TPolygon32 TPolygon32::EmptyCopy() const
{
    TPolygon32 p;
    p.Antialiased = Antialiased;
    p.Closed = Closed;
    p.FillMode = FillMode;
    return p;
}

TPolygon32 TPolygon32::Outline() const
{
    TPolygon32 out = EmptyCopy();
    out.Closed = true;
    for (const auto& sp : Points) {
        if (sp.empty())
            continue;
        out.NewLine();
        for (const TFixedPoint& p : sp)
            out.Add(p);
        if (!Closed)
            for (std::size_t i = sp.size() - 1; i-- > 1;)
                out.Add(sp[i]);
    }
    return out;
}

TPolygon32 TPolygon32::Grow(double delta, double edgeSharpness) const
{
    TPolygon32 out = EmptyCopy();
    out.Closed = true;
    out.FillMode = TPolyFillMode::Winding;
    const bool round = edgeSharpness < 0.5;
    const double d = std::isfinite(delta) ? delta : 0.0;
    const int segs = discSegments(d);

    for (const auto& sp : Points) {
        std::vector<Pt> c = cleanContour(sp, Closed);
        if (c.empty())
            continue;
        bool closed = Closed;
        if (closed && isTracedBack(c)) {
            // An open path traced forth and back (see Outline): grow the path itself,
            // which draws each piece once instead of twice.
            c.resize(c.size() / 2 + 1);
            closed = false;
        }
        const std::size_t n = c.size();
        if (closed && n >= 3 && std::fabs(signedArea2(c)) > 1e-9)
            addPositive(out, c); // the contour's own inside
        if (d <= 0) {
            if (!(closed && n >= 3)) {
                // Nothing to grow: keep the points so that the edge can still be drawn.
                out.NewLine();
                for (const Pt& p : c)
                    out.Add(toFixedPt(p));
            }
            continue;
        }
        if (n == 1) {
            if (round)
                addPositive(out, disc(c[0], d, segs));
            else
                addPositive(out, {{c[0].x - d, c[0].y - d}, {c[0].x + d, c[0].y - d}, {c[0].x + d, c[0].y + d},
                                  {c[0].x - d, c[0].y + d}});
            continue;
        }
        const std::size_t edges = closed ? n : n - 1;
        std::vector<Pt> dirs(edges);
        for (std::size_t i = 0; i < edges; ++i) {
            const Pt& p = c[i];
            const Pt& q = c[(i + 1) % n];
            const double len = std::hypot(q.x - p.x, q.y - p.y);
            const Pt u{(q.x - p.x) / len, (q.y - p.y) / len};
            dirs[i] = u;
            const Pt nrm{-u.y * d, u.x * d};
            addPositive(out, {{p.x + nrm.x, p.y + nrm.y},
                              {q.x + nrm.x, q.y + nrm.y},
                              {q.x - nrm.x, q.y - nrm.y},
                              {p.x - nrm.x, p.y - nrm.y}});
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (round) {
                addPositive(out, disc(c[i], d, segs));
                continue;
            }
            if (closed)
                addMitreJoin(out, c[i], dirs[(i + edges - 1) % edges], dirs[i], d);
            else if (i > 0 && i + 1 < n)
                addMitreJoin(out, c[i], dirs[i - 1], dirs[i], d);
        }
    }
    return out;
}

namespace {

void addEdges(TScanConverter& sc, const std::vector<std::vector<TFixedPoint>>& points)
{
    for (const auto& sp : points) {
        const std::size_t n = sp.size();
        if (n < 2)
            continue;
        // Filling always closes each sub-path.
        for (std::size_t i = 0; i < n; ++i) {
            const TFixedPoint& p = sp[i];
            const TFixedPoint& q = sp[(i + 1) % n];
            sc.addEdge(fromFixed(p.X), fromFixed(p.Y), fromFixed(q.X), fromFixed(q.Y));
        }
    }
}

} // namespace

void TPolygon32::DrawFill(TBitmap32& target, TColor32 fill) const
{
    if (target.isEmpty() || alphaOf(fill) == 0)
        return;
    TScanConverter sc;
    addEdges(sc, Points);
    sc.fill(target, fill, FillMode == TPolyFillMode::Winding, Antialiased);
}

// Calls fn(p, q) for every edge of the contours: closed contours of three points or
// more are joined back to their first point.
template <typename Fn>
void forEachEdge(const std::vector<std::vector<TFixedPoint>>& contours, bool closed, Fn fn)
{
    for (const auto& sp : contours) {
        const std::size_t n = sp.size();
        if (n < 2)
            continue;
        const std::size_t segs = closed && n > 2 ? n : n - 1;
        for (std::size_t i = 0; i < segs; ++i)
            fn(sp[i], sp[(i + 1) % n]);
    }
}

void TPolygon32::FillCoverage(int w, int h, const std::function<void(int, int, const std::uint8_t*, int)>& span) const
{
    TScanConverter sc;
    addEdges(sc, Points);
    sc.scan(w, h, FillMode == TPolyFillMode::Winding, Antialiased,
            [&](int y, int x0, const std::uint8_t* cov, int n) { span(y, x0, cov, n); });
}

void TPolygon32::EdgeCoverage(int w, int h, const std::function<void(int, int, std::uint32_t)>& plot) const
{
    if (w <= 0 || h <= 0)
        return;
    forEachEdge(Points, Closed, [&](const TFixedPoint& p, const TFixedPoint& q) {
        bitmap_detail::wuLine(fromFixed(p.X), fromFixed(p.Y), fromFixed(q.X), fromFixed(q.Y), w, h,
                              [&](int x, int y, double cov, int) {
                                  const std::uint32_t wt = bitmap_detail::coverageWeight(cov);
                                  if (wt && x >= 0 && y >= 0 && x < w && y < h)
                                      plot(x, y, wt);
                              });
    });
}

void TPolygon32::DrawEdge(TBitmap32& target, TColor32 colour) const
{
    if (target.isEmpty() || alphaOf(colour) == 0)
        return;
    forEachEdge(Points, Closed, [&](const TFixedPoint& p, const TFixedPoint& q) {
        target.lineAA(fromFixed(p.X), fromFixed(p.Y), fromFixed(q.X), fromFixed(q.Y), colour);
    });
}

void TPolygon32::Draw(TBitmap32& target, TColor32 edge, TColor32 fill) const
{
    DrawFill(target, fill);
    DrawEdge(target, edge);
}
