// Scanline coverage rasteriser for polygons made of straight edges.
//
// Pixel (x, y) is the unit square centred on (x, y), so an edge through integer
// coordinates runs through pixel centres, like the anti-aliased hairlines. Coverage
// is measured on 16 sub-scanlines per pixel row, each crossing found exactly in x,
// which gives the alternate and the winding rule the same treatment.
#pragma once

#include "ui/bitmap32.h"

#include <vector>

class TScanConverter {
public:
    void clear() { edges_.clear(); }
    void addEdge(double x0, double y0, double x1, double y1);
    bool isEmpty() const { return edges_.empty(); }

    // Calls span(y, x0, coverage, n) for every run of touched pixels in row y, with
    // coverage[i] in 0..255 for pixel x0 + i; rows and columns are limited to
    // 0..width-1 and 0..height-1.
    template <typename Span>
    void scan(int width, int height, bool winding, bool antialiased, Span span);

    // Blends colour c with the coverage of the polygon onto target.
    void fill(TBitmap32& target, TColor32 c, bool winding, bool antialiased);

private:
    struct Edge {
        double x0, y0, y1, dxdy;
        int dir;
    };
    std::vector<Edge> edges_;

    struct Crossing {
        double x;
        int dir;
    };
    // Row buffers, as wide as the polygon's columns within the target.
    struct Scratch {
        std::vector<float> cov;
        std::vector<float> run;
        std::vector<std::uint8_t> out;
        std::vector<const Edge*> active;
        std::vector<Crossing> xs;
    };

    void scanRows(int width, int height, bool winding, bool antialiased,
                  void (*sink)(void*, int, int, const std::uint8_t*, int), void* ctx);
};

template <typename Span>
void TScanConverter::scan(int width, int height, bool winding, bool antialiased, Span span)
{
    scanRows(width, height, winding, antialiased,
             [](void* ctx, int y, int x0, const std::uint8_t* cov, int n) {
                 (*static_cast<Span*>(ctx))(y, x0, cov, n);
             },
             &span);
}
