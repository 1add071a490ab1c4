#include "ui/bitmap32.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

TColor32 blendOver(TColor32 src, TColor32 dst)
{
    const std::uint32_t sa = alphaOf(src);
    if (sa == 0)
        return dst;
    if (sa == 255)
        return src;
    const std::uint32_t da = alphaOf(dst);
    if (da == 0)
        return src;
    // Straight alpha: Fa = Sa + Da (1 - Sa); Fc = (Sc Sa + Dc Da (1 - Sa)) / Fa.
    const std::uint32_t ws = sa * 255;
    const std::uint32_t wd = da * (255 - sa);
    const std::uint32_t fa = ws + wd; // Fa scaled by 255 * 255
    const std::uint32_t half = fa / 2;
    const std::uint32_t r = (redOf(src) * ws + redOf(dst) * wd + half) / fa;
    const std::uint32_t g = (greenOf(src) * ws + greenOf(dst) * wd + half) / fa;
    const std::uint32_t b = (blueOf(src) * ws + blueOf(dst) * wd + half) / fa;
    const std::uint32_t a = (fa + 127) / 255;
    return color32(r, g, b, a);
}

TColor32 blendOverWeighted(TColor32 src, TColor32 dst, std::uint32_t weight)
{
    if (weight >= 255)
        return blendOver(src, dst);
    const std::uint32_t a = (alphaOf(src) * weight + 127) / 255;
    return blendOver(withAlpha(src, a), dst);
}

TBitmap32::TBitmap32(int width, int height, TColor32 fill)
{
    setSize(width, height);
    clear(fill);
}

void TBitmap32::setSize(int width, int height)
{
    w_ = std::max(0, width);
    h_ = std::max(0, height);
    if (w_ == 0 || h_ == 0) {
        w_ = h_ = 0;
        std::vector<TColor32>().swap(px_);
        return;
    }
    px_.assign(static_cast<std::size_t>(w_) * h_, clTransparentWhite32);
}

void TBitmap32::clear(TColor32 c)
{
    std::fill(px_.begin(), px_.end(), c);
}

void TBitmap32::blendPixelF(double x, double y, TColor32 c)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double wx = x - fx;
    const double wy = y - fy;
    const double w[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
    const int dx[4] = {0, 1, 0, 1};
    const int dy[4] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k) {
        const int px = ix + dx[k];
        const int py = iy + dy[k];
        if (!contains(px, py))
            continue;
        const auto weight = static_cast<std::uint32_t>(std::lround(w[k] * 255.0));
        if (weight == 0)
            continue;
        TColor32& d = px_[static_cast<std::size_t>(py) * w_ + px];
        d = blendOverWeighted(c, d, weight);
    }
}

void TBitmap32::hLineBlend(int x1, int x2, int y, TColor32 c)
{
    if (y < 0 || y >= h_)
        return;
    if (x1 > x2)
        std::swap(x1, x2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, w_ - 1);
    TColor32* row = scanLine(y);
    for (int x = x1; x <= x2; ++x)
        row[x] = blendOver(c, row[x]);
}

void TBitmap32::vLineBlend(int x, int y1, int y2, TColor32 c)
{
    if (x < 0 || x >= w_)
        return;
    if (y1 > y2)
        std::swap(y1, y2);
    y1 = std::max(y1, 0);
    y2 = std::min(y2, h_ - 1);
    for (int y = y1; y <= y2; ++y)
        blendPixel(x, y, c);
}

void TBitmap32::frameRect(const QRect& r, TColor32 c)
{
    if (r.isEmpty())
        return;
    hLineBlend(r.left(), r.right(), r.top(), c);
    if (r.bottom() != r.top())
        hLineBlend(r.left(), r.right(), r.bottom(), c);
    if (r.height() > 2) {
        vLineBlend(r.left(), r.top() + 1, r.bottom() - 1, c);
        if (r.right() != r.left())
            vLineBlend(r.right(), r.top() + 1, r.bottom() - 1, c);
    }
}

void TBitmap32::fillRect(const QRect& r, TColor32 c)
{
    const QRect q = r.intersected(boundsRect());
    for (int y = q.top(); y <= q.bottom(); ++y)
        std::fill(scanLine(y) + q.left(), scanLine(y) + q.right() + 1, c);
}

void TBitmap32::fillRectBlend(const QRect& r, TColor32 c)
{
    const QRect q = r.intersected(boundsRect());
    for (int y = q.top(); y <= q.bottom(); ++y) {
        TColor32* row = scanLine(y);
        for (int x = q.left(); x <= q.right(); ++x)
            row[x] = blendOver(c, row[x]);
    }
}

void TBitmap32::rollHorizontal(int dx)
{
    if (w_ == 0)
        return;
    int s = dx % w_;
    if (s < 0)
        s += w_;
    if (s == 0)
        return;
    for (int y = 0; y < h_; ++y) {
        TColor32* row = scanLine(y);
        std::rotate(row, row + (w_ - s), row + w_);
    }
}

namespace {

// Xiaolin Wu's line with real end points; plot(x, y, coverage 0..1, distance along).
template <typename Plot>
void wuLine(double x0, double y0, double x1, double y1, Plot plot)
{
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    bool reversed = false;
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        reversed = true;
    }
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double gradient = dx == 0.0 ? 1.0 : dy / dx;
    const double length = dx;

    auto put = [&](int a, int b, double cov, double along) {
        if (cov <= 0)
            return;
        const double t = reversed ? length - along : along;
        if (steep)
            plot(b, a, cov, t);
        else
            plot(a, b, cov, t);
    };
    auto fpart = [](double v) { return v - std::floor(v); };
    auto rfpart = [&](double v) { return 1.0 - fpart(v); };

    // first end point
    double xend = std::round(x0);
    double yend = y0 + gradient * (xend - x0);
    double xgap = rfpart(x0 + 0.5);
    const int xpxl1 = static_cast<int>(xend);
    const int ypxl1 = static_cast<int>(std::floor(yend));
    put(xpxl1, ypxl1, rfpart(yend) * xgap, 0);
    put(xpxl1, ypxl1 + 1, fpart(yend) * xgap, 0);
    double intery = yend + gradient;

    // second end point
    xend = std::round(x1);
    yend = y1 + gradient * (xend - x1);
    xgap = fpart(x1 + 0.5);
    const int xpxl2 = static_cast<int>(xend);
    const int ypxl2 = static_cast<int>(std::floor(yend));

    for (int x = xpxl1 + 1; x < xpxl2; ++x) {
        const int iy = static_cast<int>(std::floor(intery));
        put(x, iy, rfpart(intery), x - x0);
        put(x, iy + 1, fpart(intery), x - x0);
        intery += gradient;
    }
    if (xpxl2 != xpxl1) {
        put(xpxl2, ypxl2, rfpart(yend) * xgap, length);
        put(xpxl2, ypxl2 + 1, fpart(yend) * xgap, length);
    }
}

} // namespace

void TBitmap32::lineAA(double x1, double y1, double x2, double y2, TColor32 c)
{
    wuLine(x1, y1, x2, y2, [&](int x, int y, double cov, double) {
        if (!contains(x, y))
            return;
        const auto w = static_cast<std::uint32_t>(std::lround(std::min(cov, 1.0) * 255.0));
        if (w)
            blendPixel(x, y, w >= 255 ? c : withAlpha(c, (alphaOf(c) * w + 127) / 255));
    });
}

void TBitmap32::lineAAStipple(double x1, double y1, double x2, double y2, const std::vector<TColor32>& pattern,
                              double step)
{
    if (pattern.empty())
        return;
    const auto n = static_cast<long long>(pattern.size());
    wuLine(x1, y1, x2, y2, [&](int x, int y, double cov, double along) {
        if (!contains(x, y))
            return;
        long long k = static_cast<long long>(std::floor(along * step)) % n;
        if (k < 0)
            k += n;
        const TColor32 c = pattern[static_cast<std::size_t>(k)];
        const auto w = static_cast<std::uint32_t>(std::lround(std::min(cov, 1.0) * 255.0));
        if (w)
            blendPixel(x, y, w >= 255 ? c : withAlpha(c, (alphaOf(c) * w + 127) / 255));
    });
}

void TBitmap32::draw(const QRect& dst, const QRect& src, const TBitmap32& source, DrawMode mode,
                     const CombineFn& combine)
{
    if (dst.isEmpty() || src.isEmpty() || source.isEmpty())
        return;
    const QRect clip = dst.intersected(boundsRect());
    if (clip.isEmpty())
        return;
    const double sx = static_cast<double>(src.width()) / dst.width();
    const double sy = static_cast<double>(src.height()) / dst.height();
    std::vector<int> colMap(static_cast<std::size_t>(clip.width()));
    for (int x = clip.left(); x <= clip.right(); ++x) {
        int u = src.left() + static_cast<int>((x - dst.left() + 0.5) * sx);
        colMap[static_cast<std::size_t>(x - clip.left())] = std::clamp(u, 0, source.width() - 1);
    }
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        int v = src.top() + static_cast<int>((y - dst.top() + 0.5) * sy);
        v = std::clamp(v, 0, source.height() - 1);
        const TColor32* srow = source.scanLine(v);
        TColor32* drow = scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const TColor32 s = srow[colMap[static_cast<std::size_t>(x - clip.left())]];
            switch (mode) {
            case DrawMode::Opaque:
                drow[x] = s;
                break;
            case DrawMode::Blend:
                drow[x] = blendOver(s, drow[x]);
                break;
            case DrawMode::Custom:
                drow[x] = combine ? combine(s, drow[x]) : blendOver(s, drow[x]);
                break;
            }
        }
    }
}

void TBitmap32::drawText(int x, int y, const QString& text, const QFont& font, TColor32 c)
{
    if (text.isEmpty() || isEmpty())
        return;
    const int tw = textWidth(text, font) + 4;
    const int th = textHeight(text, font) + 2;
    // Render the glyph coverage into an 8-bit mask, then blend the colour through it,
    // so that the straight-alpha pixels of this bitmap are composited exactly.
    QImage mask(tw, th, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    }
    for (int my = 0; my < th; ++my) {
        const int ty = y + my;
        if (ty < 0 || ty >= h_)
            continue;
        const auto* mrow = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
        TColor32* row = scanLine(ty);
        for (int mx = 0; mx < tw; ++mx) {
            const int tx = x + mx;
            if (tx < 0 || tx >= w_)
                continue;
            const std::uint32_t cov = qAlpha(mrow[mx]);
            if (cov)
                row[tx] = blendOverWeighted(c, row[tx], cov);
        }
    }
}

int TBitmap32::textWidth(const QString& text, const QFont& font)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

int TBitmap32::textHeight(const QString& text, const QFont& font)
{
    Q_UNUSED(text);
    return QFontMetrics(font).height();
}

QImage TBitmap32::asImage()
{
    if (isEmpty())
        return QImage();
    return QImage(reinterpret_cast<uchar*>(px_.data()), w_, h_, w_ * 4, QImage::Format_ARGB32);
}

QImage TBitmap32::asImage() const
{
    if (isEmpty())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(px_.data()), w_, h_, w_ * 4, QImage::Format_ARGB32);
}

QImage TBitmap32::toImage() const
{
    return asImage().copy();
}

TBitmap32 TBitmap32::fromImage(const QImage& img)
{
    TBitmap32 b;
    if (img.isNull())
        return b;
    const QImage src = img.format() == QImage::Format_ARGB32 ? img : img.convertToFormat(QImage::Format_ARGB32);
    b.setSize(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(b.scanLine(y), src.constScanLine(y), static_cast<std::size_t>(src.width()) * 4);
    return b;
}
