// JPEG reading and writing through libjpeg (libjpeg-turbo's IJG interface).
//
// libjpeg reports fatal errors through error_exit, which must not return: the
// handler below formats the message and jumps back to the setjmp point of the
// caller, which releases the codec object. Objects with destructors are all
// created before setjmp so that the jump never skips one.
#include "ui/codecs.h"
#include "ui/codec_common.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

using namespace codec_detail;

namespace {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are ignored except the end of data met before the end of the picture:
// libjpeg would pad the picture with grey, but a truncated file is a failure.
void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        jpegErrorExit(cinfo);
}

void jpegSilentOutput(j_common_ptr) {}

void installErrorManager(JpegErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.emit_message = jpegEmitMessage;
    err.pub.output_message = jpegSilentOutput;
    err.message[0] = '\0';
}

inline std::uint32_t mul255(std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// CMYK scan line (4 bytes per pixel) to opaque ARGB, in place. Files written by
// Adobe software store the inks inverted (0 = full ink), which is what the
// Adobe marker tells.
void cmykToArgb(TColor32* row, int width, bool inverted)
{
    auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    for (int x = 0; x < width; ++x) {
        std::uint32_t c = bytes[4 * x], m = bytes[4 * x + 1], y = bytes[4 * x + 2], k = bytes[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[x] = color32(mul255(c, k), mul255(m, k), mul255(y, k));
    }
}

QString decodeMessage(const char* detail)
{
    return QStringLiteral("Image JPEG illisible ou tronquée : %1").arg(QString::fromLocal8Bit(detail));
}

// Each 8 x 8 block of each component takes at least one bit of Huffman codes, so a
// byte of data holds 512 pixels at the very most; arithmetic coding does better on
// flat pictures, hence a margin of four. Small pictures pass whatever their size.
constexpr std::uint64_t kMaxPixelsPerJpegByte = 2048;
constexpr std::uint64_t kFreeJpegPixels = std::uint64_t(1) << 20;
// libjpeg's own working memory (whole-picture coefficients of progressive files).
constexpr long kJpegWorkingMemory = 1536L << 20;

} // namespace

bool decodeJpeg(const QByteArray& data, TBitmap32& out, QString* error)
{
    if (data.isEmpty()) {
        setError(error, decodeMessage("fichier vide"));
        return false;
    }
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    TBitmap32 picture;
    std::vector<JSAMPROW> rows;
    installErrorManager(err);
    cinfo.err = &err.pub;
    jpeg_create_decompress(&cinfo);

    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        setError(error, decodeMessage(err.message));
        return false;
    }

    cinfo.mem->max_memory_to_use = kJpegWorkingMemory;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        cinfo.out_color_space = JCS_CMYK;
    } else {
        // Decoded straight into the ARGB words: BGRA bytes on little-endian
        // machines, ARGB bytes on big-endian ones; libjpeg sets alpha to 255.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        cinfo.out_color_space = JCS_EXT_BGRA;
#else
        cinfo.out_color_space = JCS_EXT_ARGB;
#endif
    }

    if (!sizeAcceptable(cinfo.image_width, cinfo.image_height)) {
        const QString msg = tooLargeMessage(cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        setError(error, msg);
        return false;
    }
    const int width = static_cast<int>(cinfo.image_width);
    const int height = static_cast<int>(cinfo.image_height);
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    if (pixels > std::max(kFreeJpegPixels, kMaxPixelsPerJpegByte * static_cast<std::uint64_t>(data.size()))) {
        jpeg_destroy_decompress(&cinfo);
        setError(error, QStringLiteral("Image JPEG illisible ou tronquée : %1 octets ne peuvent pas former une "
                                       "image de %2 × %3 pixels.")
                            .arg(data.size())
                            .arg(width)
                            .arg(height));
        return false;
    }
    if (!allocate(picture, width, height, Content::Undefined)) {
        jpeg_destroy_decompress(&cinfo);
        setError(error, outOfMemoryMessage(width, height));
        return false;
    }
    rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] = reinterpret_cast<JSAMPROW>(picture.scanLine(y));

    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height ||
        cinfo.output_components != 4)
        ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION first = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, rows.data() + first, cinfo.output_height - first);
    }
    const bool inverted = cinfo.saw_Adobe_marker;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);

    if (cmyk) {
        for (int y = 0; y < height; ++y)
            cmykToArgb(picture.scanLine(y), width, inverted);
    }
    out = std::move(picture);
    return true;
}

bool encodeJpeg(const TBitmap32& bmp, QByteArray& out, int quality, QString* error)
{
    if (!encodable(bmp, JPEG_MAX_DIMENSION, "JPEG", error))
        return false;
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    installErrorManager(err);
    cinfo.err = &err.pub;
    jpeg_create_compress(&cinfo);

    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        setError(error, QStringLiteral("Échec de l'encodage JPEG : %1").arg(QString::fromLocal8Bit(err.message)));
        return false;
    }

    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bmp.width());
    cinfo.image_height = static_cast<JDIMENSION>(bmp.height());
    cinfo.input_components = 4;
    // The alpha byte is read as padding and dropped.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo.in_color_space = JCS_EXT_BGRX;
#else
    cinfo.in_color_space = JCS_EXT_XRGB;
#endif
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row[1] = {reinterpret_cast<JSAMPROW>(const_cast<TColor32*>(bmp.scanLine(static_cast<int>(cinfo.next_scanline))))};
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return true;
}
