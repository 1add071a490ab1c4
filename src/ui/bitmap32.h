// 32-bit ARGB bitmap with straight (non-premultiplied) alpha.
//
// Pixels are stored as 0xAARRGGBB in native 32-bit words, row after row with no
// padding; this is the memory layout of QImage::Format_ARGB32, so a bitmap can be
// shown or painted through a QImage without conversion. Exact values matter:
// cleared pixels are 0x00FFFFFF and a pixel written with alpha 1 is invisible but
// stops the region fills of the drawing primitives.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

using TColor32 = std::uint32_t;

constexpr TColor32 clTransparentWhite32 = 0x00FFFFFF;
constexpr TColor32 clWhite32 = 0xFFFFFFFF;
constexpr TColor32 clBlack32 = 0xFF000000;

constexpr std::uint32_t alphaOf(TColor32 c) { return c >> 24; }
constexpr std::uint32_t redOf(TColor32 c) { return (c >> 16) & 0xFF; }
constexpr std::uint32_t greenOf(TColor32 c) { return (c >> 8) & 0xFF; }
constexpr std::uint32_t blueOf(TColor32 c) { return c & 0xFF; }
constexpr TColor32 color32(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a = 255)
{
    return (a << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}
constexpr TColor32 withAlpha(TColor32 c, std::uint32_t a) { return (c & 0x00FFFFFF) | (a << 24); }

// x / 255 rounded to the nearest integer, for 0 <= x <= 255 * 255.
constexpr std::uint32_t div255(std::uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

// "Over" compositing in straight alpha. Over a fully transparent destination the
// source comes back unchanged; an opaque source replaces the destination.
TColor32 blendOverGeneral(TColor32 src, TColor32 dst);
inline TColor32 blendOver(TColor32 src, TColor32 dst)
{
    const std::uint32_t sa = alphaOf(src);
    if (sa == 0)
        return dst;
    if (sa == 255 || alphaOf(dst) == 0)
        return src;
    if (alphaOf(dst) == 255) {
        // Opaque destination (the common case on pictures): Fc = Sc Sa + Dc (1 - Sa).
        const std::uint32_t da = 255 - sa;
        return 0xFF000000u | (div255(redOf(src) * sa + redOf(dst) * da) << 16) |
               (div255(greenOf(src) * sa + greenOf(dst) * da) << 8) | div255(blueOf(src) * sa + blueOf(dst) * da);
    }
    return blendOverGeneral(src, dst);
}

// The source with its alpha scaled by weight/255, blended over the destination.
TColor32 blendOverWeighted(TColor32 src, TColor32 dst, std::uint32_t weight);

namespace bitmap_detail {
// Pixel memory. Large blocks are placed and flagged so that the system can back them
// with huge pages: a picture of 100 MB then costs a few dozen page faults instead of
// tens of thousands. Throws std::bad_alloc.
void* allocatePixels(std::size_t bytes);
// Sets n pixels from p to c, sixteen bytes at a time.
void fillPixels(TColor32* p, std::size_t n, TColor32 c);
void freePixels(void* p, std::size_t bytes) noexcept;
// Pixel memory held by all bitmaps now, and the most held at once since the last
// resetPixelBytesPeak(): what decoding a damaged file cost can be checked.
std::size_t pixelBytesInUse();
std::size_t pixelBytesPeak();
void resetPixelBytesPeak();

// A coverage 0..1 as the blending weight 0..255 the hairlines use.
inline std::uint32_t coverageWeight(double cov) { return static_cast<std::uint32_t>(cov * 255.0 + 0.5); }

// Anti-aliased hairline between real end points (Xiaolin Wu's method). Pixel (x, y)
// is centred on integer coordinates. Each column (row for steep lines) crossed by
// the line shares a coverage of secant(angle) between the two pixels nearest the
// line, so that the coverage adds up to the line's length; the end columns get the
// fraction of the column the line actually spans. A line of zero length draws nothing.
// plot(x, y, coverage 0..1, k) receives k, the number of pixel steps along the
// major axis from the line's first pixel (for stipples).
// The segment is first clipped to the area around the bitmap (w x h), so very long or
// far-away lines cost nothing.
//
// wuColumns gives the same line column by column: column(steep, a, y, weight, k) for
// the column (row when steep) a, where the line is at y across it and shares
// `weight` between pixels floor(y) and floor(y) + 1.
template <typename Column>
void wuColumns(double x0, double y0, double x1, double y1, int w, int h, Column column)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    if (x0 == x1 && y0 == y1)
        return;
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
        std::swap(w, h);
    }
    // Pixel index along the major axis of the original first point.
    const double startMajor = std::floor(x0 + 0.5);
    const bool reversed = x0 > x1;
    if (reversed) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (!std::isfinite(x1 - x0) || !std::isfinite(y1 - y0)) {
        // End points near the largest doubles, on either side: their difference
        // overflows. Only a short piece of such a line can be near the bitmap; the
        // line is first cut to a box that still holds every pixel it may touch.
        const double reach = 4.0 * (static_cast<double>(w) + h + 4);
        const double mx = x0 / 2 + x1 / 2, my = y0 / 2 + y1 / 2;
        const double hx = x1 / 2 - x0 / 2, hy = y1 / 2 - y0 / 2;
        // Parameter s in [-1, 1] along the line; keep |x| <= reach (x is the major axis).
        const double sLo = std::max(-1.0, (-reach - mx) / hx), sHi = std::min(1.0, (reach - mx) / hx);
        if (!(sLo <= sHi))
            return;
        x0 = mx + hx * sLo, y0 = my + hy * sLo;
        x1 = mx + hx * sHi, y1 = my + hy * sHi;
        if (!std::isfinite(x1 - x0) || !std::isfinite(y1 - y0) || (x0 == x1 && y0 == y1))
            return;
    }
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double gradient = dy / dx;

    // Clip (Liang-Barsky) to a margin of two pixels around the bitmap.
    {
        const double lo[2] = {-2.0, -2.0};
        const double hi[2] = {w + 1.0, h + 1.0};
        double t0 = 0, t1 = 1;
        const double p0[2] = {x0, y0};
        const double d[2] = {dx, dy};
        for (int a = 0; a < 2; ++a) {
            if (d[a] == 0) {
                if (p0[a] < lo[a] || p0[a] > hi[a])
                    return;
                continue;
            }
            double ta = (lo[a] - p0[a]) / d[a];
            double tb = (hi[a] - p0[a]) / d[a];
            if (ta > tb)
                std::swap(ta, tb);
            t0 = std::max(t0, ta);
            t1 = std::min(t1, tb);
        }
        if (t0 > t1)
            return;
        if (t1 < 1) {
            x1 = x0 + dx * t1;
            y1 = y0 + dy * t1;
        }
        if (t0 > 0) {
            x0 += dx * t0;
            y0 += dy * t0;
        }
    }

    // Steps k count from the original first point, so that a stipple keeps its
    // phase however the line is clipped. A first point that far away (more than
    // 2^30 pixels, where no step count fits an int) was clipped off anyway: its
    // steps count from the first pixel of the clipped segment instead.
    double origin = startMajor;
    {
        const double clippedStart = std::floor((reversed ? x1 : x0) + 0.5);
        if (!(std::fabs(origin - clippedStart) <= 1073741824.0))
            origin = clippedStart;
    }
    const double secant = std::sqrt(1.0 + gradient * gradient);
    auto across = [&](int a, double y, double weight) {
        column(steep, a, y, weight, static_cast<int>(reversed ? origin - a : a - origin));
    };

    const double xp1 = std::floor(x0 + 0.5);
    const double xp2 = std::floor(x1 + 0.5);
    if (xp1 == xp2) {
        across(static_cast<int>(xp1), (y0 + y1) / 2, (x1 - x0) * secant);
        return;
    }
    // First end: the part of its column right of x0.
    across(static_cast<int>(xp1), y0 + gradient * (xp1 - x0), (xp1 + 0.5 - x0) * secant);
    // Last end: the part of its column left of x1.
    across(static_cast<int>(xp2), y1 + gradient * (xp2 - x1), (x1 - (xp2 - 0.5)) * secant);
    const int first = static_cast<int>(xp1) + 1;
    const int last = static_cast<int>(xp2) - 1;
    double intery = y0 + gradient * (first - x0);
    for (int a = first; a <= last; ++a) {
        across(a, intery, secant);
        intery += gradient;
    }
}

template <typename Plot>
void wuLine(double x0, double y0, double x1, double y1, int w, int h, Plot plot)
{
    wuColumns(x0, y0, x1, y1, w, h, [&](bool steep, int a, double y, double weight, int k) {
        const double fy = std::floor(y);
        const double f = y - fy;
        const int iy = static_cast<int>(fy);
        auto put = [&](int b, double cov) {
            if (cov <= 0)
                return;
            if (steep)
                plot(b, a, std::min(cov, 1.0), k);
            else
                plot(a, b, std::min(cov, 1.0), k);
        };
        put(iy, (1.0 - f) * weight);
        put(iy + 1, f * weight);
    });
}
} // namespace bitmap_detail

// Allocator for pixel storage. Its value-less construction leaves the element
// uninitialised, so that storage about to be overwritten (a decoded picture) is not
// written twice.
template <typename T>
struct TDefaultInitAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = TDefaultInitAllocator<U>;
    };
    TDefaultInitAllocator() = default;
    template <typename U>
    TDefaultInitAllocator(const TDefaultInitAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(bitmap_detail::allocatePixels(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { bitmap_detail::freePixels(p, n * sizeof(T)); }
    template <typename U>
    void construct(U* p)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

class TBitmap32 {
public:
    // How draw() combines source pixels with the destination.
    enum class DrawMode { Opaque, Blend, Custom };
    using CombineFn = std::function<TColor32(TColor32 src, TColor32 dst)>;

    TBitmap32() = default;
    TBitmap32(int width, int height, TColor32 fill = clTransparentWhite32);
    TBitmap32(const TBitmap32&) = default;
    TBitmap32& operator=(const TBitmap32&) = default;
    // A moved-from bitmap is left empty (0 x 0).
    TBitmap32(TBitmap32&& o) noexcept;
    TBitmap32& operator=(TBitmap32&& o) noexcept;

    int width() const { return w_; }
    int height() const { return h_; }
    bool isEmpty() const { return w_ <= 0 || h_ <= 0; }
    QRect boundsRect() const { return QRect(0, 0, w_, h_); }

    // New size; the content is cleared to 0x00FFFFFF (a size of 0 frees the pixels).
    void setSize(int width, int height);
    // New size with unspecified content, for callers that write every pixel
    // afterwards (decoders, copies): the memory is not cleared first, and the
    // current buffer is kept when the pixel count does not change.
    void setSizeUninitialized(int width, int height);
    void clear(TColor32 c = clTransparentWhite32);

    TColor32* bits()
    {
        touch();
        return px_.data();
    }
    const TColor32* bits() const { return px_.data(); }
    TColor32* scanLine(int y)
    {
        touch();
        return px_.data() + static_cast<std::size_t>(y) * w_;
    }
    const TColor32* scanLine(int y) const { return px_.data() + static_cast<std::size_t>(y) * w_; }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    // Unchecked access (caller guarantees the point is inside).
    TColor32 pixel(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    void setPixel(int x, int y, TColor32 c)
    {
        touch();
        px_[static_cast<std::size_t>(y) * w_ + x] = c;
    }
    void blendPixel(int x, int y, TColor32 c)
    {
        touch();
        TColor32& d = px_[static_cast<std::size_t>(y) * w_ + x];
        d = blendOver(c, d);
    }

    // Clipped access: points outside are ignored (reads give 0).
    TColor32 pixelS(int x, int y) const { return contains(x, y) ? pixel(x, y) : 0; }
    void setPixelS(int x, int y, TColor32 c)
    {
        if (contains(x, y))
            setPixel(x, y, c);
    }
    void blendPixelS(int x, int y, TColor32 c)
    {
        if (contains(x, y))
            blendPixel(x, y, c);
    }
    // Blends c at a real position, spread over the four pixels around it with
    // bilinear weights (sub-pixel anti-aliased plot); clipped.
    void blendPixelF(double x, double y, TColor32 c);

    // Blended lines from x1 to x2 (or y1 to y2) inclusive, in any order; clipped.
    void hLineBlend(int x1, int x2, int y, TColor32 c);
    void vLineBlend(int x, int y1, int y2, TColor32 c);
    // Rectangles use the half-open QRect convention of left/top .. right+1/bottom+1:
    // r covers columns r.left() .. r.right() and rows r.top() .. r.bottom(). Clipped.
    void frameRect(const QRect& r, TColor32 c);     // one-pixel outline, blended
    void fillRect(const QRect& r, TColor32 c);      // plain write
    void fillRectBlend(const QRect& r, TColor32 c); // blended

    // Anti-aliased hairline between real end points, blended; clipped.
    void lineAA(double x1, double y1, double x2, double y2, TColor32 c);
    // The same line coloured by a stipple pattern: the counter starts at 0, advances
    // by step per pixel along the line, and picks pattern[floor(counter) mod size].
    void lineAAStipple(double x1, double y1, double x2, double y2, const std::vector<TColor32>& pattern,
                       double step);

    // Rolls the picture horizontally by dx pixels (positive to the right); pixels
    // leaving one edge re-enter at the other.
    void rollHorizontal(int dx);

    // Stretch-draws the part src of source onto the part dst of this bitmap
    // (nearest neighbour), clipped to this bitmap. Opaque copies, Blend composites
    // with blendOver, Custom calls combine(src, dst) per pixel.
    void draw(const QRect& dst, const QRect& src, const TBitmap32& source, DrawMode mode = DrawMode::Blend,
              const CombineFn& combine = {});
    void draw(int x, int y, const TBitmap32& source, DrawMode mode = DrawMode::Blend)
    {
        draw(QRect(x, y, source.width(), source.height()), source.boundsRect(), source, mode);
    }

    // Text, anti-aliased, blended in colour c with its top-left corner at (x, y).
    void drawText(int x, int y, const QString& text, const QFont& font, TColor32 c);
    static int textWidth(const QString& text, const QFont& font);
    static int textHeight(const QString& text, const QFont& font);

    // Views for Qt. asImage() shares this bitmap's memory (valid while it is not
    // resized); toImage() and fromImage() copy.
    QImage asImage();
    QImage asImage() const;
    QImage toImage() const;
    static TBitmap32 fromImage(const QImage& img);

    bool operator==(const TBitmap32& o) const { return w_ == o.w_ && h_ == o.h_ && px_ == o.px_; }
    bool operator!=(const TBitmap32& o) const { return !(*this == o); }

    // A value identifying the current content: it changes whenever the pixels may
    // have changed (any non-const access, resizing, assignment), so that summaries
    // derived from the pixels can tell whether they are still up to date. Copies
    // share the stamp of their source. Never 0.
    std::uint64_t contentStamp() const;

private:
    using Storage = std::vector<TColor32, TDefaultInitAllocator<TColor32>>;
    void touch() { stamp_ = 0; }

    int w_ = 0;
    int h_ = 0;
    Storage px_;
    mutable std::uint64_t stamp_ = 0; // 0: changed since the last contentStamp()
};
