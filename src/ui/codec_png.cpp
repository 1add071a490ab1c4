// PNG reading and writing through libpng and zlib.
//
// libpng reports errors through a handler that must not return; it jumps back to
// the setjmp point of png_jmpbuf. As for JPEG, every object with a destructor is
// created before setjmp.
#include "ui/codecs.h"
#include "ui/codec_common.h"

#include <QtEndian>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>
#include <zlib.h>

using namespace codec_detail;

namespace {

struct PngContext {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    QByteArray* out = nullptr;
    char message[256] = {};
};

[[noreturn]] void pngError(png_structp png, png_const_charp msg)
{
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof ctx->message, "%s", msg ? msg : "");
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngReadFromMemory(png_structp png, png_bytep dest, png_size_t length)
{
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    if (length > ctx->size - ctx->pos)
        png_error(png, "fin des données atteinte avant la fin de l'image");
    std::memcpy(dest, ctx->data + ctx->pos, length);
    ctx->pos += length;
}

void pngWriteToMemory(png_structp png, png_bytep src, png_size_t length)
{
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    ctx->out->append(reinterpret_cast<const char*>(src), static_cast<qsizetype>(length));
}

void pngFlush(png_structp) {}

// Deflate shrinks data at most 1032 times (a match of 258 bytes coded in two bits),
// so the compressed rows of a picture take at least their size / 1032 in the file.
constexpr std::uint64_t kDeflateMaxRatio = 1032;

bool allOpaque(const TBitmap32& bmp)
{
    const TColor32* p = bmp.bits();
    const std::size_t n = static_cast<std::size_t>(bmp.width()) * bmp.height();
    TColor32 acc = 0xFF000000;
    for (std::size_t i = 0; i < n; ++i)
        acc &= p[i];
    return (acc >> 24) == 0xFF;
}

} // namespace

bool decodePng(const QByteArray& data, TBitmap32& out, QString* error)
{
    PngContext ctx;
    ctx.data = reinterpret_cast<const unsigned char*>(data.constData());
    ctx.size = static_cast<std::size_t>(data.size());
    if (ctx.size < 8 || png_sig_cmp(ctx.data, 0, 8) != 0) {
        setError(error, QStringLiteral("Image PNG illisible : signature PNG absente."));
        return false;
    }
    TBitmap32 picture;
    std::vector<png_bytep> rows;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        setError(error, QStringLiteral("Image PNG illisible : mémoire insuffisante."));
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        setError(error, QStringLiteral("Image PNG illisible ou tronquée : %1").arg(QString::fromUtf8(ctx.message)));
        return false;
    }
    png_set_read_fn(png, &ctx, pngReadFromMemory);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!sizeAcceptable(width, height)) {
        png_destroy_read_struct(&png, &info, nullptr);
        setError(error, tooLargeMessage(width, height));
        return false;
    }
    // The filtered rows (a filter byte and the packed samples each) must fit, once
    // compressed, in what the file holds.
    const std::uint64_t bitsPerPixel = std::uint64_t(png_get_channels(png, info)) * png_get_bit_depth(png, info);
    const std::uint64_t rawBytes = std::uint64_t(height) * (1 + (std::uint64_t(width) * bitsPerPixel + 7) / 8);
    if (rawBytes > kDeflateMaxRatio * ctx.size) {
        png_destroy_read_struct(&png, &info, nullptr);
        setError(error, QStringLiteral("Image PNG illisible ou tronquée : %1 octets ne peuvent pas former une "
                                       "image de %2 × %3 pixels.")
                            .arg(ctx.size)
                            .arg(width)
                            .arg(height));
        return false;
    }
    if (!allocate(picture, static_cast<int>(width), static_cast<int>(height), Content::Undefined)) {
        png_destroy_read_struct(&png, &info, nullptr);
        setError(error, outOfMemoryMessage(static_cast<int>(width), static_cast<int>(height)));
        return false;
    }

    // Every colour type and depth becomes 8-bit RGBA with straight alpha: palettes
    // and small grey depths are expanded, tRNS becomes an alpha channel, 16-bit
    // samples are scaled down, grey is copied to the three channels, and an opaque
    // alpha byte is added where the file has none.
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
#else
    png_set_swap_alpha(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4)
        png_error(png, "format de pixels inattendu");

    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(picture.scanLine(static_cast<int>(y)));
    png_read_image(png, rows.data());
    // Chunks after the picture data are not needed; a damaged tail is not an error.
    png_destroy_read_struct(&png, &info, nullptr);
    out = std::move(picture);
    return true;
}

bool encodePng(const TBitmap32& bmp, QByteArray& out, QString* error)
{
    if (!encodable(bmp, 1000000, "PNG", error)) // libpng's own limit on a side
        return false;
    PngContext ctx;
    QByteArray buffer;
    ctx.out = &buffer;
    // An opaque picture is written as RGB (its alpha is all 255 and comes back so).
    const bool opaque = allOpaque(bmp);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        setError(error, QStringLiteral("Échec de l'encodage PNG : mémoire insuffisante."));
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        setError(error, QStringLiteral("Échec de l'encodage PNG : %1").arg(QString::fromUtf8(ctx.message)));
        return false;
    }
    png_set_write_fn(png, &ctx, pngWriteToMemory, pngFlush);
    // Speed matters more than the last percent of size: the fastest deflate level
    // and the "sub" filter alone (no per-row filter search). On large photographs
    // this is about twice as fast as level 3 with a filter search, for files a
    // percent larger; drawings compress very well either way.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bmp.width()), static_cast<png_uint_32>(bmp.height()), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (opaque)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    if (opaque)
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    else
        png_set_swap_alpha(png);
#endif
    for (int y = 0; y < bmp.height(); ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(bmp.scanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    out = std::move(buffer);
    return true;
}
