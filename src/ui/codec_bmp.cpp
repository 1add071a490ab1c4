// BMP reading and writing.
//
// Pictures are written as 32-bit bitmaps with a version 4 header whose bit fields
// declare the alpha byte, so that alpha survives a round trip exactly. Reading
// handles uncompressed 1, 4, 8, 16, 24 and 32-bit pictures with plain or bit-field
// layouts, bottom-up or top-down; run-length compressed pictures go through Qt.
#include "ui/codecs.h"
#include "ui/codec_common.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

using namespace codec_detail;

namespace {

constexpr std::uint32_t BI_RGB_ = 0, BI_RLE8_ = 1, BI_RLE4_ = 2, BI_BITFIELDS_ = 3, BI_ALPHABITFIELDS_ = 6;

inline std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
inline std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline void put16(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void put32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

QString bmpMessage(const QString& detail) { return QStringLiteral("Image BMP illisible : %1").arg(detail); }

// A run-length code of two bytes draws up to 255 pixels; end-of-line and delta codes
// skip further, which is allowed up to 128 times the runs' worth. Small pictures
// pass whatever their size.
constexpr std::uint64_t kMaxPixelsPerRleByte = 255 * 128 / 2;
constexpr std::uint64_t kFreeRlePixels = std::uint64_t(1) << 20;

// One channel of a bit-field layout: where it sits and how to bring it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::uint32_t get(std::uint32_t v, std::uint32_t absent) const
    {
        if (!mask)
            return absent;
        const std::uint32_t x = (v & mask) >> shift;
        if (bits >= 8)
            return x >> (bits - 8);
        const std::uint32_t maxv = (1u << bits) - 1;
        return (x * 255 + maxv / 2) / maxv;
    }
    static Channel of(std::uint32_t mask)
    {
        Channel c;
        c.mask = mask;
        if (!mask)
            return c;
        while (!((mask >> c.shift) & 1))
            ++c.shift;
        while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1))
            ++c.bits;
        return c;
    }
};

bool decodeWithQt(const QByteArray& data, TBitmap32& out, QString* error)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage img;
    if (!reader.read(&img) || img.isNull()) {
        setError(error, bmpMessage(reader.errorString()));
        return false;
    }
    if (!sizeAcceptable(static_cast<std::uint64_t>(img.width()), static_cast<std::uint64_t>(img.height()))) {
        setError(error, tooLargeMessage(img.width(), img.height()));
        return false;
    }
    out = TBitmap32::fromImage(img);
    return true;
}

} // namespace

bool decodeBmp(const QByteArray& data, TBitmap32& out, QString* error)
{
    const auto* d = reinterpret_cast<const unsigned char*>(data.constData());
    const std::size_t size = static_cast<std::size_t>(data.size());
    if (size < 26 || d[0] != 'B' || d[1] != 'M') {
        setError(error, bmpMessage(QStringLiteral("en-tête absent ou tronqué")));
        return false;
    }
    const std::uint32_t pixelOffset = le32(d + 10);
    const std::uint32_t headerSize = le32(d + 14);
    if (headerSize < 12 || 14 + static_cast<std::uint64_t>(headerSize) > size) {
        setError(error, bmpMessage(QStringLiteral("en-tête tronqué")));
        return false;
    }
    const unsigned char* h = d + 14;
    std::int64_t width, height;
    std::uint32_t bitCount, compression = BI_RGB_, colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool haveMasks = false;
    bool otherLayout = false;
    if (headerSize == 12) { // OS/2 core header
        width = static_cast<std::int16_t>(le16(h + 4));
        height = static_cast<std::int16_t>(le16(h + 6));
        bitCount = le16(h + 10);
    } else if (headerSize >= 40 && headerSize != 64) {
        width = static_cast<std::int32_t>(le32(h + 4));
        height = static_cast<std::int32_t>(le32(h + 8));
        bitCount = le16(h + 14);
        compression = le32(h + 16);
        colorsUsed = le32(h + 32);
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                masks[i] = le32(h + 40 + 4 * i);
            haveMasks = true;
        }
        if (headerSize >= 56)
            masks[3] = le32(h + 52);
    } else if (headerSize >= 16) {
        // Other layouts (OS/2 2.x headers, which may stop after any field) go
        // through Qt, once the size they announce is known to fit the file; their
        // compression codes differ.
        width = static_cast<std::int32_t>(le32(h + 4));
        height = static_cast<std::int32_t>(le32(h + 8));
        bitCount = le16(h + 14);
        compression = headerSize < 20 || le32(h + 16) == BI_RGB_ ? BI_RGB_ : BI_RLE8_;
        otherLayout = true;
    } else {
        setError(error, bmpMessage(QStringLiteral("en-tête tronqué")));
        return false;
    }
    if (compression == BI_RLE8_ || compression == BI_RLE4_ || otherLayout) {
        // Qt makes the whole picture before it reads the pixels: the header must not
        // announce more than the file can hold.
        const std::uint64_t w = static_cast<std::uint64_t>(std::abs(width));
        const std::uint64_t hgt = static_cast<std::uint64_t>(std::abs(height));
        const std::uint64_t available = pixelOffset < size ? size - pixelOffset : 0;
        const bool fits = compression == BI_RGB_
                              ? ((w * std::min<std::uint32_t>(bitCount, 32) + 31) / 32) * 4 * hgt <= available
                              : w * hgt <= std::max(kFreeRlePixels, kMaxPixelsPerRleByte * available);
        if (!fits) {
            setError(error, bmpMessage(QStringLiteral("données de l'image tronquées")));
            return false;
        }
        return decodeWithQt(data, out, error);
    }
    if (compression != BI_RGB_ && compression != BI_BITFIELDS_ && compression != BI_ALPHABITFIELDS_) {
        setError(error, bmpMessage(QStringLiteral("compression %1 non prise en charge").arg(compression)));
        return false;
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || !sizeAcceptable(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
        setError(error, width <= 0 || height <= 0 ? bmpMessage(QStringLiteral("dimensions invalides"))
                                                  : tooLargeMessage(static_cast<std::uint64_t>(width),
                                                                    static_cast<std::uint64_t>(height)));
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        setError(error, bmpMessage(QStringLiteral("%1 bits par pixel non pris en charge").arg(bitCount)));
        return false;
    }

    // Masks given after a 40-byte header, and the palette.
    std::size_t pos = 14 + headerSize;
    if (compression != BI_RGB_ && !haveMasks) {
        const int count = compression == BI_ALPHABITFIELDS_ ? 4 : 3;
        if (pos + 4u * count > size) {
            setError(error, bmpMessage(QStringLiteral("masques de couleur tronqués")));
            return false;
        }
        for (int i = 0; i < count; ++i)
            masks[i] = le32(d + pos + 4 * i);
        pos += 4u * count;
    }
    std::vector<TColor32> palette;
    if (bitCount <= 8) {
        const std::size_t entry = headerSize == 12 ? 3 : 4;
        std::size_t count = colorsUsed ? colorsUsed : (std::size_t(1) << bitCount);
        count = std::min<std::size_t>(count, 256);
        count = std::min<std::size_t>(count, (size - std::min(size, pos)) / entry);
        palette.assign(256, clBlack32);
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* p = d + pos + entry * i;
            palette[i] = color32(p[2], p[1], p[0]);
        }
    }

    const int w = static_cast<int>(width), hgt = static_cast<int>(height);
    const std::uint64_t stride = ((static_cast<std::uint64_t>(w) * bitCount + 31) / 32) * 4;
    if (pixelOffset > size || stride * hgt > size - pixelOffset) {
        setError(error, bmpMessage(QStringLiteral("données de l'image tronquées")));
        return false;
    }
    TBitmap32 picture;
    if (!allocate(picture, w, hgt, Content::Undefined)) {
        setError(error, outOfMemoryMessage(w, hgt));
        return false;
    }

    if (compression == BI_RGB_) {
        if (bitCount == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else if (bitCount == 32) {
            masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        }
    }
    // In a plain 32-bit picture the fourth byte is officially unused; it is taken
    // as alpha when some pixel has it non-zero (pictures written with alpha there),
    // and the picture is opaque otherwise.
    if (compression == BI_RGB_ && bitCount == 32) {
        bool anyAlpha = false;
        for (int y = 0; y < hgt && !anyAlpha; ++y) {
            const unsigned char* row = d + pixelOffset + stride * static_cast<std::uint64_t>(y);
            for (int x = 0; x < w; ++x)
                if (row[4 * x + 3]) {
                    anyAlpha = true;
                    break;
                }
        }
        if (anyAlpha)
            masks[3] = 0xFF000000;
    }
    const Channel red = Channel::of(masks[0]), green = Channel::of(masks[1]), blue = Channel::of(masks[2]),
                  alpha = Channel::of(masks[3]);
    const bool standard32 = bitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF &&
                            (masks[3] == 0xFF000000 || masks[3] == 0);

    for (int y = 0; y < hgt; ++y) {
        const unsigned char* row = d + pixelOffset + stride * static_cast<std::uint64_t>(y);
        TColor32* dst = picture.scanLine(topDown ? y : hgt - 1 - y);
        if (standard32) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = le32(row + 4 * x);
                dst[x] = masks[3] ? v : (v | 0xFF000000);
            }
        } else if (bitCount == 24) {
            for (int x = 0; x < w; ++x)
                dst[x] = color32(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        } else if (bitCount >= 16) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = bitCount == 16 ? le16(row + 2 * x) : le32(row + 4 * x);
                dst[x] = color32(red.get(v, 0), green.get(v, 0), blue.get(v, 0), alpha.get(v, 255));
            }
        } else {
            const int perByte = 8 / static_cast<int>(bitCount);
            const std::uint32_t m = (1u << bitCount) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - static_cast<int>(bitCount) * (x % perByte + 1);
                dst[x] = palette[(row[x / perByte] >> shift) & m];
            }
        }
    }
    out = std::move(picture);
    return true;
}

bool encodeBmp(const TBitmap32& bmp, QByteArray& out, QString* error)
{
    constexpr std::uint32_t kFileHeader = 14, kInfoHeader = 108;
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(bmp.width()) * bmp.height() * 4;
    const std::uint64_t total = kFileHeader + kInfoHeader + pixelBytes;
    if (!encodable(bmp, std::numeric_limits<int>::max(), "BMP", error))
        return false;
    if (total > 0x7FFFFFFF) { // the size fields of the headers hold 32 bits
        setError(error, tooLargeForFormat("BMP", bmp.width(), bmp.height()));
        return false;
    }
    QByteArray buffer(static_cast<qsizetype>(total), '\0');
    auto* p = reinterpret_cast<unsigned char*>(buffer.data());
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(total));
    put32(p + 10, kFileHeader + kInfoHeader);
    unsigned char* h = p + kFileHeader;
    put32(h, kInfoHeader);
    put32(h + 4, static_cast<std::uint32_t>(bmp.width()));
    put32(h + 8, static_cast<std::uint32_t>(bmp.height())); // bottom-up
    put16(h + 12, 1);
    put16(h + 14, 32);
    put32(h + 16, BI_BITFIELDS_);
    put32(h + 20, static_cast<std::uint32_t>(pixelBytes));
    put32(h + 24, 3780); // 96 dpi
    put32(h + 28, 3780);
    put32(h + 40, 0x00FF0000);
    put32(h + 44, 0x0000FF00);
    put32(h + 48, 0x000000FF);
    put32(h + 52, 0xFF000000);
    put32(h + 56, 0x73524742); // 'sRGB'
    unsigned char* dst = p + kFileHeader + kInfoHeader;
    for (int y = bmp.height() - 1; y >= 0; --y) {
        const TColor32* row = bmp.scanLine(y);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        std::memcpy(dst, row, static_cast<std::size_t>(bmp.width()) * 4);
        dst += static_cast<std::size_t>(bmp.width()) * 4;
#else
        for (int x = 0; x < bmp.width(); ++x, dst += 4)
            put32(dst, row[x]);
#endif
    }
    out = std::move(buffer);
    return true;
}
