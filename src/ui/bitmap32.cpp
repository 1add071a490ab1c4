#include "ui/bitmap32.h"

#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#ifdef __linux__
#include <sys/mman.h>
#endif

TColor32 blendOverGeneral(TColor32 src, TColor32 dst)
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

namespace bitmap_detail {

void fillPixels(TColor32* p, std::size_t n, TColor32 c)
{
#if defined(__SSE2__)
    while (n > 0 && (reinterpret_cast<std::uintptr_t>(p) & 15) != 0) {
        *p++ = c;
        --n;
    }
    const __m128i v = _mm_set1_epi32(static_cast<int>(c));
    for (; n >= 16; n -= 16, p += 16) {
        auto* q = reinterpret_cast<__m128i*>(p);
        _mm_store_si128(q, v);
        _mm_store_si128(q + 1, v);
        _mm_store_si128(q + 2, v);
        _mm_store_si128(q + 3, v);
    }
    for (; n >= 4; n -= 4, p += 4)
        _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    for (; n > 0; --n)
        *p++ = c;
#else
    std::fill(p, p + n, c);
#endif
}

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kLargeBlock = 4 * kHugePage;

std::atomic<std::size_t> bytesInUse{0};
std::atomic<std::size_t> bytesPeak{0};

void countAllocation(std::size_t bytes)
{
    const std::size_t now = bytesInUse.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    std::size_t peak = bytesPeak.load(std::memory_order_relaxed);
    while (now > peak && !bytesPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void* allocateBlock(std::size_t bytes)
{
    if (bytes < kLargeBlock)
        return ::operator new(bytes);
    // Rounded up to whole huge pages, aligned on one.
    const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (size < bytes)
        throw std::bad_alloc();
    void* p = ::operator new(size, std::align_val_t(kHugePage));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(p, size, MADV_HUGEPAGE); // advice only: failure changes nothing
#endif
    return p;
}
} // namespace

std::size_t pixelBytesInUse() { return bytesInUse.load(std::memory_order_relaxed); }
std::size_t pixelBytesPeak() { return bytesPeak.load(std::memory_order_relaxed); }
void resetPixelBytesPeak() { bytesPeak.store(bytesInUse.load(std::memory_order_relaxed), std::memory_order_relaxed); }

void* allocatePixels(std::size_t bytes)
{
    void* p = allocateBlock(bytes);
    countAllocation(bytes);
    return p;
}

void freePixels(void* p, std::size_t bytes) noexcept
{
    if (!p)
        return;
    bytesInUse.fetch_sub(bytes, std::memory_order_relaxed);
    if (bytes < kLargeBlock)
        ::operator delete(p);
    else
        ::operator delete(p, std::align_val_t(kHugePage));
}

} // namespace bitmap_detail

TBitmap32::TBitmap32(int width, int height, TColor32 fill)
{
    setSizeUninitialized(width, height);
    clear(fill);
}

TBitmap32::TBitmap32(TBitmap32&& o) noexcept
    : w_(o.w_), h_(o.h_), px_(std::move(o.px_)), stamp_(o.stamp_)
{
    o.w_ = o.h_ = 0;
    Storage().swap(o.px_);
    o.stamp_ = 0;
}

TBitmap32& TBitmap32::operator=(TBitmap32&& o) noexcept
{
    if (this != &o) {
        w_ = o.w_;
        h_ = o.h_;
        px_ = std::move(o.px_);
        stamp_ = o.stamp_;
        o.w_ = o.h_ = 0;
        Storage().swap(o.px_);
        o.stamp_ = 0;
    }
    return *this;
}

std::uint64_t TBitmap32::contentStamp() const
{
    static std::atomic<std::uint64_t> next{1};
    if (stamp_ == 0)
        stamp_ = next.fetch_add(1, std::memory_order_relaxed);
    return stamp_;
}

void TBitmap32::setSize(int width, int height)
{
    touch();
    w_ = std::max(0, width);
    h_ = std::max(0, height);
    if (w_ == 0 || h_ == 0) {
        w_ = h_ = 0;
        Storage().swap(px_);
        return;
    }
    px_.assign(static_cast<std::size_t>(w_) * h_, clTransparentWhite32);
}

void TBitmap32::setSizeUninitialized(int width, int height)
{
    touch();
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == 0 || height == 0) {
        w_ = h_ = 0;
        Storage().swap(px_);
        return;
    }
    const std::size_t n = static_cast<std::size_t>(width) * height;
    if (n != px_.size()) {
        // Free first: growing in place would copy the old pixels over.
        w_ = h_ = 0;
        Storage().swap(px_);
        px_.resize(n);
    }
    w_ = width;
    h_ = height;
}

void TBitmap32::clear(TColor32 c)
{
    touch();
    if (!px_.empty())
        bitmap_detail::fillPixels(px_.data(), px_.size(), c);
}

void TBitmap32::blendPixelF(double x, double y, TColor32 c)
{
    touch();
    if (!(x > -2.0 && y > -2.0 && x < w_ + 1.0 && y < h_ + 1.0))
        return; // also rejects NaN
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

namespace {

// Blends c over a run of n pixels.
inline void blendRun(TColor32* d, int n, TColor32 c)
{
    const std::uint32_t a = alphaOf(c);
    if (a == 0)
        return;
    if (a == 255) {
        std::fill(d, d + n, c);
        return;
    }
    for (int i = 0; i < n; ++i)
        d[i] = blendOver(c, d[i]);
}

} // namespace

void TBitmap32::hLineBlend(int x1, int x2, int y, TColor32 c)
{
    touch();
    if (y < 0 || y >= h_)
        return;
    if (x1 > x2)
        std::swap(x1, x2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, w_ - 1);
    if (x1 <= x2)
        blendRun(scanLine(y) + x1, x2 - x1 + 1, c);
}

void TBitmap32::vLineBlend(int x, int y1, int y2, TColor32 c)
{
    touch();
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
    touch();
    const QRect q = r.intersected(boundsRect());
    for (int y = q.top(); y <= q.bottom(); ++y)
        std::fill(scanLine(y) + q.left(), scanLine(y) + q.right() + 1, c);
}

void TBitmap32::fillRectBlend(const QRect& r, TColor32 c)
{
    touch();
    const QRect q = r.intersected(boundsRect());
    for (int y = q.top(); y <= q.bottom(); ++y)
        blendRun(scanLine(y) + q.left(), q.width(), c);
}

void TBitmap32::rollHorizontal(int dx)
{
    touch();
    if (w_ == 0)
        return;
    int s = dx % w_;
    if (s < 0)
        s += w_;
    if (s == 0)
        return;
    // Per row: keep the s pixels that wrap around, move the rest right, put them back
    // in front.
    std::vector<TColor32> tail(static_cast<std::size_t>(s));
    const std::size_t keep = static_cast<std::size_t>(w_ - s);
    for (int y = 0; y < h_; ++y) {
        TColor32* row = scanLine(y);
        std::memcpy(tail.data(), row + keep, tail.size() * sizeof(TColor32));
        std::memmove(row + s, row, keep * sizeof(TColor32));
        std::memcpy(row, tail.data(), tail.size() * sizeof(TColor32));
    }
}

namespace {

using bitmap_detail::wuLine;

inline void blendCoverage(TColor32& d, TColor32 c, double cov)
{
    const std::uint32_t w = bitmap_detail::coverageWeight(cov);
    if (w >= 255)
        d = blendOver(c, d);
    else if (w)
        d = blendOverWeighted(c, d, w);
}

} // namespace

void TBitmap32::lineAA(double x1, double y1, double x2, double y2, TColor32 c)
{
    touch();
    if (isEmpty() || alphaOf(c) == 0)
        return;
    wuLine(x1, y1, x2, y2, w_, h_, [&](int x, int y, double cov, int) {
        if (contains(x, y))
            blendCoverage(px_[static_cast<std::size_t>(y) * w_ + x], c, cov);
    });
}

void TBitmap32::lineAAStipple(double x1, double y1, double x2, double y2, const std::vector<TColor32>& pattern,
                              double step)
{
    touch();
    if (pattern.empty() || isEmpty() || !std::isfinite(step))
        return;
    const auto n = static_cast<long long>(pattern.size());
    wuLine(x1, y1, x2, y2, w_, h_, [&](int x, int y, double cov, int k) {
        if (!contains(x, y))
            return;
        long long i = static_cast<long long>(std::floor(k * step)) % n;
        if (i < 0)
            i += n;
        blendCoverage(px_[static_cast<std::size_t>(y) * w_ + x], pattern[static_cast<std::size_t>(i)], cov);
    });
}

void TBitmap32::draw(const QRect& dst, const QRect& src, const TBitmap32& source, DrawMode mode,
                     const CombineFn& combine)
{
    touch();
    if (dst.isEmpty() || src.isEmpty() || source.isEmpty())
        return;
    const QRect clip = dst.intersected(boundsRect());
    if (clip.isEmpty())
        return;
    if (mode == DrawMode::Custom && !combine)
        mode = DrawMode::Blend;
    // Nearest neighbour: destination pixel centre mapped into the source rectangle.
    const double sx = static_cast<double>(src.width()) / dst.width();
    const double sy = static_cast<double>(src.height()) / dst.height();
    const bool sameSize = src.size() == dst.size();
    std::vector<int> colMap(static_cast<std::size_t>(clip.width()));
    for (int x = clip.left(); x <= clip.right(); ++x) {
        const int u = src.left() + static_cast<int>(std::floor((x - dst.left() + 0.5) * sx));
        colMap[static_cast<std::size_t>(x - clip.left())] = std::clamp(u, 0, source.width() - 1);
    }
    const int n = clip.width();
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        int v = src.top() + static_cast<int>(std::floor((y - dst.top() + 0.5) * sy));
        v = std::clamp(v, 0, source.height() - 1);
        const TColor32* srow = source.scanLine(v);
        TColor32* drow = scanLine(y) + clip.left();
        const int* cm = colMap.data();
        switch (mode) {
        case DrawMode::Opaque:
            if (sameSize && cm[0] + n <= source.width() && cm[n - 1] == cm[0] + n - 1)
                std::memcpy(drow, srow + cm[0], static_cast<std::size_t>(n) * sizeof(TColor32));
            else
                for (int i = 0; i < n; ++i)
                    drow[i] = srow[cm[i]];
            break;
        case DrawMode::Blend:
            for (int i = 0; i < n; ++i) {
                const TColor32 s = srow[cm[i]];
                const std::uint32_t a = alphaOf(s);
                if (a == 255)
                    drow[i] = s;
                else if (a)
                    drow[i] = blendOver(s, drow[i]);
            }
            break;
        case DrawMode::Custom:
            for (int i = 0; i < n; ++i)
                drow[i] = combine(srow[cm[i]], drow[i]);
            break;
        }
    }
}

namespace {

// Text is measured and drawn against the same device, an image at 96 dots per inch,
// so that measured sizes and drawn glyphs agree whatever the screen.
const QImage& textDevice()
{
    static const QImage dev = [] {
        QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return dev;
}

} // namespace

void TBitmap32::drawText(int x, int y, const QString& text, const QFont& font, TColor32 c)
{
    touch();
    if (text.isEmpty() || isEmpty() || alphaOf(c) == 0)
        return;
    const QFontMetrics fm(font, &textDevice());
    // Glyphs may reach outside the advance box (italics, negative bearings): render
    // into a mask with a margin around it.
    const QRect ink = fm.boundingRect(text);
    const int margin = 2 + fm.height() / 4;
    const int left = std::min(0, ink.left()) - margin;
    const int right = std::max(fm.horizontalAdvance(text), ink.right() + 1) + margin;
    const int top = -margin;
    const int bottom = std::max(fm.height(), fm.ascent() + ink.bottom() + 1) + margin;
    const int tw = right - left;
    const int th = bottom - top;
    if (x + right <= 0 || y + bottom <= 0 || x + left >= w_ || y + top >= h_)
        return;
    // Render the glyph coverage into a mask, then blend the colour through it, so that
    // the straight-alpha pixels of this bitmap are composited exactly.
    QImage mask(tw, th, QImage::Format_ARGB32_Premultiplied);
    mask.setDotsPerMeterX(3780);
    mask.setDotsPerMeterY(3780);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(-left, -top + fm.ascent()), text);
    }
    for (int my = 0; my < th; ++my) {
        const int ty = y + top + my;
        if (ty < 0 || ty >= h_)
            continue;
        const auto* mrow = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
        TColor32* row = scanLine(ty);
        for (int mx = 0; mx < tw; ++mx) {
            const int tx = x + left + mx;
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
    return QFontMetrics(font, &textDevice()).horizontalAdvance(text);
}

int TBitmap32::textHeight(const QString& text, const QFont& font)
{
    Q_UNUSED(text);
    return QFontMetrics(font, &textDevice()).height();
}

QImage TBitmap32::asImage()
{
    touch();
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
    b.setSizeUninitialized(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(b.scanLine(y), src.constScanLine(y), static_cast<std::size_t>(src.width()) * 4);
    return b;
}
