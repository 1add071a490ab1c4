// Polygon paths in 16.16 fixed point: outline, growing by a distance, anti-aliased
// filling and edge drawing onto a TBitmap32.
#pragma once

#include "ui/bitmap32.h"

#include <cstdint>
#include <functional>
#include <vector>

using TFixed = std::int32_t; // 16.16 fixed point

constexpr TFixed toFixed(double v) { return static_cast<TFixed>(v * 65536.0 + (v >= 0 ? 0.5 : -0.5)); }
constexpr double fromFixed(TFixed f) { return f / 65536.0; }

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
    bool operator==(const TFixedPoint& o) const { return X == o.X && Y == o.Y; }
};
inline TFixedPoint fixedPoint(double x, double y) { return {toFixed(x), toFixed(y)}; }

enum class TPolyFillMode { Alternate, Winding };

class TPolygon32 {
public:
    bool Antialiased = true;
    bool Closed = false;
    TPolyFillMode FillMode = TPolyFillMode::Alternate;
    // Sub-paths, each a list of points.
    std::vector<std::vector<TFixedPoint>> Points{{}};

    void Clear() { Points.assign(1, {}); }
    void Add(TFixedPoint p) { Points.back().push_back(p); }
    void Add(double x, double y) { Add(fixedPoint(x, y)); }
    // Starts a new sub-path (unless the current one is still empty).
    void NewLine();
    bool IsEmpty() const;
    // The same flags and no points.
    TPolygon32 EmptyCopy() const;

    // The closed contours around the path: a closed polygon's own contours; for an
    // open path, each sub-path traced forth and back, so that growing the outline by
    // d gives a stroke 2d wide.
    TPolygon32 Outline() const;
    // Every contour grown outwards by delta pixels. EdgeSharpness 0 gives round joins
    // and ends, 1 sharp (mitred) ones. The result fills with the winding rule.
    TPolygon32 Grow(double delta, double edgeSharpness = 0) const;

    // Filling (anti-aliased when Antialiased is set), blended; clipped.
    void DrawFill(TBitmap32& target, TColor32 fill) const;
    // The contours as one-pixel anti-aliased lines (closed ones joined back to their
    // first point), blended; clipped.
    void DrawEdge(TBitmap32& target, TColor32 colour) const;
    // Fill, then edge.
    void Draw(TBitmap32& target, TColor32 edge, TColor32 fill) const;

    // What DrawFill and DrawEdge would blend on a w x h bitmap, as weights 1..255
    // instead of pixels: span(y, x0, weights, n) for runs of a row (weights may be 0),
    // plot(x, y, weight) for each pixel of an edge (a pixel comes once per edge
    // crossing it).
    void FillCoverage(int w, int h, const std::function<void(int, int, const std::uint8_t*, int)>& span) const;
    void EdgeCoverage(int w, int h, const std::function<void(int, int, std::uint32_t)>& plot) const;
};
