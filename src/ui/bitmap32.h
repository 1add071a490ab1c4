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

#include <cstdint>
#include <functional>
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

class TBitmap32 {
public:
    // How draw() combines source pixels with the destination.
    enum class DrawMode { Opaque, Blend, Custom };
    using CombineFn = std::function<TColor32(TColor32 src, TColor32 dst)>;

    TBitmap32() = default;
    TBitmap32(int width, int height, TColor32 fill = clTransparentWhite32);

    int width() const { return w_; }
    int height() const { return h_; }
    bool isEmpty() const { return w_ <= 0 || h_ <= 0; }
    QRect boundsRect() const { return QRect(0, 0, w_, h_); }

    // New size; the content is cleared to 0x00FFFFFF (a size of 0 frees the pixels).
    void setSize(int width, int height);
    void clear(TColor32 c = clTransparentWhite32);

    TColor32* bits() { return px_.data(); }
    const TColor32* bits() const { return px_.data(); }
    TColor32* scanLine(int y) { return px_.data() + static_cast<std::size_t>(y) * w_; }
    const TColor32* scanLine(int y) const { return px_.data() + static_cast<std::size_t>(y) * w_; }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    // Unchecked access (caller guarantees the point is inside).
    TColor32 pixel(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    void setPixel(int x, int y, TColor32 c) { px_[static_cast<std::size_t>(y) * w_ + x] = c; }
    void blendPixel(int x, int y, TColor32 c)
    {
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

private:
    int w_ = 0;
    int h_ = 0;
    std::vector<TColor32> px_;
};
