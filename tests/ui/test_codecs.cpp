// Picture codecs: round trips, format choice, and damaged input.
#include "ui/codecs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdlib>
#include <random>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace {

// A drawing: a few flat colours, a transparent background and the alpha values
// that carry meaning (0, 1, 128).
TBitmap32 makeDrawing(int w, int h)
{
    TBitmap32 bmp(w, h, clTransparentWhite32);
    bmp.fillRect(QRect(2, 2, w / 2, h / 2), color32(200, 30, 40));
    bmp.fillRect(QRect(w / 3, h / 3, w / 2, h / 2), color32(10, 120, 250));
    bmp.fillRect(QRect(0, h - 3, w, 3), color32(0, 0, 0));
    bmp.setPixel(1, 1, color32(0, 0, 0, 1));
    bmp.setPixel(3, 1, color32(255, 255, 255, 1));
    bmp.setPixel(5, 1, color32(90, 90, 90, 128));
    return bmp;
}

// A photograph-like picture: smooth gradients with a little deterministic noise.
TBitmap32 makePhoto(int w, int h, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    TBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            auto clamp = [](int v) { return static_cast<std::uint32_t>(std::max(0, std::min(255, v))); };
            bmp.setPixel(x, y,
                         color32(clamp(x * 255 / w + noise(rng)), clamp(y * 255 / h + noise(rng)),
                                 clamp((x + y) * 127 / (w + h) + 64 + noise(rng))));
        }
    return bmp;
}

struct Diff {
    int max = 0;
    double mean = 0;
};

// Colour difference over the pixels of a and b (same size), channel by channel.
Diff colourDiff(const TBitmap32& a, const TBitmap32& b)
{
    Diff d;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const TColor32 p = a.pixel(x, y), q = b.pixel(x, y);
            for (int s = 0; s < 24; s += 8) {
                const int e = std::abs(static_cast<int>((p >> s) & 0xFF) - static_cast<int>((q >> s) & 0xFF));
                d.max = std::max(d.max, e);
                sum += e;
            }
        }
    d.mean = sum / (3.0 * a.width() * a.height());
    return d;
}

// PNG writer for raw rows of any colour type, to check what the reader accepts.
QByteArray rawPng(int w, int h, int colorType, int depth, const std::vector<std::vector<png_byte>>& rows,
                  const std::vector<png_color>& palette = {}, const std::vector<png_byte>& trns = {},
                  bool interlaced = false, const png_color_16* trnsColour = nullptr)
{
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            static_cast<QByteArray*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(d), n);
        },
        nullptr);
    png_set_IHDR(png, info, w, h, depth, colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!trns.empty() || trnsColour)
        png_set_tRNS(png, info, trns.empty() ? nullptr : trns.data(), static_cast<int>(trns.size()), trnsColour);
    png_write_info(png, info);
    std::vector<png_bytep> ptrs;
    for (auto& r : rows)
        ptrs.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, ptrs.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// JPEG writer for grey or CMYK samples.
QByteArray rawJpeg(int w, int h, J_COLOR_SPACE space, int components, const std::vector<JSAMPLE>& samples,
                   bool adobeInverted = false)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buf, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.write_Adobe_marker = adobeInverted;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&samples[cinfo.next_scanline * w * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buf), static_cast<qsizetype>(size));
    std::free(buf);
    return out;
}

int countPaletteTransparent(const TBitmap32& bmp)
{
    int n = 0;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            n += alphaOf(bmp.pixel(x, y)) == 0;
    return n;
}

} // namespace

// ----------------------------------------------------------------------- PNG

TEST(PngCodec, RoundTripKeepsEveryPixelIncludingAlpha)
{
    std::mt19937 rng(3);
    TBitmap32 noisy(37, 23);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, static_cast<TColor32>(rng()));
    for (const TBitmap32& bmp : {makeDrawing(40, 30), noisy, makePhoto(64, 48)}) {
        QByteArray data;
        QString err;
        ASSERT_TRUE(encodePng(bmp, data, &err)) << err.toStdString();
        TBitmap32 back;
        ASSERT_TRUE(decodePng(data, back, &err)) << err.toStdString();
        EXPECT_EQ(back, bmp);
    }
}

TEST(PngCodec, ReadsEveryColourTypeAsStraightArgb)
{
    TBitmap32 out;
    QString err;
    // 8-bit grey.
    ASSERT_TRUE(decodePng(rawPng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 200}}), out, &err)) << err.toStdString();
    EXPECT_EQ(out.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(out.pixel(1, 0), 0xFFC8C8C8u);
    // 1-bit grey, 9 pixels across a byte boundary.
    ASSERT_TRUE(decodePng(rawPng(9, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0, 0x80}}), out, &err));
    EXPECT_EQ(out.pixel(0, 0), clWhite32);
    EXPECT_EQ(out.pixel(1, 0), clBlack32);
    EXPECT_EQ(out.pixel(2, 0), clWhite32);
    EXPECT_EQ(out.pixel(8, 0), clWhite32);
    // 16-bit grey with alpha.
    ASSERT_TRUE(decodePng(rawPng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {{0x80, 0x00, 0x00, 0x00}}), out, &err));
    EXPECT_EQ(out.pixel(0, 0), 0x00808080u);
    // Palette with tRNS: entry 1 half transparent, entry 2 opaque (beyond the tRNS list).
    const std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ASSERT_TRUE(decodePng(rawPng(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}}, pal, {0, 128}), out, &err));
    EXPECT_EQ(out.pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(out.pixel(1, 0), 0x8000FF00u);
    EXPECT_EQ(out.pixel(2, 0), 0xFF0000FFu);
    // RGB with a transparent colour key.
    png_color_16 key{0, 10, 20, 30, 0};
    ASSERT_TRUE(decodePng(rawPng(2, 1, PNG_COLOR_TYPE_RGB, 8, {{10, 20, 30, 10, 20, 31}}, {}, {}, false, &key), out,
                          &err));
    EXPECT_EQ(out.pixel(0, 0), 0x000A141Eu);
    EXPECT_EQ(out.pixel(1, 0), 0xFF0A141Fu);
    // 16-bit RGBA, interlaced.
    std::vector<std::vector<png_byte>> rows;
    for (int y = 0; y < 5; ++y) {
        std::vector<png_byte> r;
        for (int x = 0; x < 5; ++x)
            for (int c : {x * 50, y * 50, 7, 255 - x})
                r.insert(r.end(), {static_cast<png_byte>(c), static_cast<png_byte>(c)}); // c * 257
        rows.push_back(r);
    }
    ASSERT_TRUE(decodePng(rawPng(5, 5, PNG_COLOR_TYPE_RGB_ALPHA, 16, rows, {}, {}, true), out, &err));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(out.pixel(x, y), color32(x * 50, y * 50, 7, 255 - x)) << x << "," << y;
}

// ----------------------------------------------------------------------- JPEG

TEST(JpegCodec, RoundTripStaysCloseAndDropsAlpha)
{
    TBitmap32 photo = makePhoto(120, 80);
    photo.setPixel(0, 0, withAlpha(photo.pixel(0, 0), 0));
    QByteArray data;
    QString err;
    ASSERT_TRUE(encodeJpeg(photo, data, 90, &err)) << err.toStdString();
    TBitmap32 back;
    ASSERT_TRUE(decodeJpeg(data, back, &err)) << err.toStdString();
    ASSERT_EQ(back.width(), 120);
    ASSERT_EQ(back.height(), 80);
    const Diff d = colourDiff(photo, back);
    EXPECT_LT(d.mean, 4.0);
    EXPECT_LT(d.max, 40);
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            ASSERT_EQ(alphaOf(back.pixel(x, y)), 255u);

    // A lower quality gives a smaller file.
    QByteArray small;
    ASSERT_TRUE(encodeJpeg(photo, small, 20));
    EXPECT_LT(small.size(), data.size());
}

TEST(JpegCodec, ReadsGreyAndCmykPictures)
{
    TBitmap32 out;
    QString err;
    std::vector<JSAMPLE> grey(16 * 8);
    for (int i = 0; i < 16 * 8; ++i)
        grey[i] = static_cast<JSAMPLE>(i < 64 ? 40 : 220);
    ASSERT_TRUE(decodeJpeg(rawJpeg(16, 8, JCS_GRAYSCALE, 1, grey), out, &err)) << err.toStdString();
    EXPECT_NEAR(redOf(out.pixel(2, 1)), 40, 3);
    EXPECT_EQ(redOf(out.pixel(2, 1)), blueOf(out.pixel(2, 1)));
    EXPECT_NEAR(greenOf(out.pixel(10, 6)), 220, 3);
    EXPECT_EQ(alphaOf(out.pixel(10, 6)), 255u);

    // Pure cyan ink (no black) in a plain and in an Adobe (inverted) CMYK file.
    std::vector<JSAMPLE> cmyk(8 * 8 * 4);
    for (int i = 0; i < 64; ++i) {
        cmyk[4 * i] = 255;
        cmyk[4 * i + 1] = cmyk[4 * i + 2] = cmyk[4 * i + 3] = 0;
    }
    ASSERT_TRUE(decodeJpeg(rawJpeg(8, 8, JCS_CMYK, 4, cmyk), out, &err)) << err.toStdString();
    EXPECT_NEAR(redOf(out.pixel(3, 3)), 0, 4);
    EXPECT_NEAR(greenOf(out.pixel(3, 3)), 255, 4);
    EXPECT_NEAR(blueOf(out.pixel(3, 3)), 255, 4);
    for (auto& s : cmyk)
        s = static_cast<JSAMPLE>(255 - s);
    ASSERT_TRUE(decodeJpeg(rawJpeg(8, 8, JCS_CMYK, 4, cmyk, true), out, &err)) << err.toStdString();
    EXPECT_NEAR(redOf(out.pixel(3, 3)), 0, 4);
    EXPECT_NEAR(greenOf(out.pixel(3, 3)), 255, 4);
}

// ----------------------------------------------------------------------- GIF

TEST(GifCodec, FewColoursComeBackExactlyWithOneTransparentIndex)
{
    TBitmap32 bmp = makeDrawing(50, 40);
    QByteArray data;
    QString err;
    ASSERT_TRUE(encodeGif(bmp, data, &err)) << err.toStdString();
    TBitmap32 back;
    ASSERT_TRUE(decodeGif(data, back, &err)) << err.toStdString();
    ASSERT_EQ(back.width(), 50);
    ASSERT_EQ(back.height(), 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) {
            const TColor32 p = bmp.pixel(x, y);
            if (alphaOf(p) < 128)
                ASSERT_EQ(back.pixel(x, y), clTransparentWhite32) << x << "," << y;
            else
                ASSERT_EQ(back.pixel(x, y), withAlpha(p, 255)) << x << "," << y;
        }

    // 256 opaque colours still fit the palette exactly.
    TBitmap32 ramp(256, 3);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 3; ++y)
            ramp.setPixel(x, y, color32(x, 255 - x, (x * 7) & 0xFF));
    ASSERT_TRUE(encodeGif(ramp, data));
    ASSERT_TRUE(decodeGif(data, back));
    EXPECT_EQ(back, ramp);
}

TEST(GifCodec, ManyColoursAreQuantisedWithBoundedError)
{
    const TBitmap32 photo = makePhoto(200, 150);
    QByteArray data;
    QString err;
    ASSERT_TRUE(encodeGif(photo, data, &err)) << err.toStdString();
    TBitmap32 back;
    ASSERT_TRUE(decodeGif(data, back, &err)) << err.toStdString();
    const Diff d = colourDiff(photo, back);
    EXPECT_LT(d.mean, 6.0);
    EXPECT_LT(d.max, 40);

    // 256 colours plus transparency: 255 colours are left, the transparent pixels
    // stay transparent and the others stay close.
    TBitmap32 ramp(256, 4);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 4; ++y)
            ramp.setPixel(x, y, y == 0 && x % 16 == 0 ? clTransparentWhite32 : color32(x, x, x));
    ASSERT_TRUE(encodeGif(ramp, data));
    ASSERT_TRUE(decodeGif(data, back));
    EXPECT_EQ(countPaletteTransparent(back), 16);
    for (int x = 0; x < 256; ++x)
        EXPECT_NEAR(static_cast<int>(redOf(back.pixel(x, 2))), x, 2);
}

TEST(GifCodec, ReadsInterlacedFramesOnTheirScreen)
{
    // A 6x9 interlaced picture placed at (2, 1) on a 10x12 screen, index 3 transparent.
    QByteArray data;
    int code = 0;
    GifFileType* gif = EGifOpen(
        &data,
        [](GifFileType* g, const GifByteType* b, int n) {
            static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(b), n);
            return n;
        },
        &code);
    ASSERT_NE(gif, nullptr);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {9, 9, 9}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    ASSERT_EQ(EGifPutScreenDesc(gif, 10, 12, 2, 0, map), GIF_OK);
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, 3};
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    ASSERT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
    ASSERT_EQ(EGifPutImageDesc(gif, 2, 1, 6, 9, true, nullptr), GIF_OK);
    // Rows go out in interlaced order; row y holds colour y % 4.
    for (int start : {0, 4, 2, 1})
        for (int y = start; y < 9; y += (start == 0 || start == 4) ? 8 : (start == 2 ? 4 : 2)) {
            std::vector<GifPixelType> line(6, static_cast<GifPixelType>(y % 4));
            ASSERT_EQ(EGifPutLine(gif, line.data(), 6), GIF_OK);
        }
    ASSERT_EQ(EGifCloseFile(gif, &code), GIF_OK);
    GifFreeMapObject(map);

    TBitmap32 out;
    QString err;
    ASSERT_TRUE(decodeGif(data, out, &err)) << err.toStdString();
    ASSERT_EQ(out.width(), 10);
    ASSERT_EQ(out.height(), 12);
    EXPECT_EQ(out.pixel(0, 0), clTransparentWhite32); // outside the frame
    EXPECT_EQ(out.pixel(2, 1), clBlack32);            // row 0
    EXPECT_EQ(out.pixel(3, 2), 0xFFFF0000u);          // row 1
    EXPECT_EQ(out.pixel(4, 3), 0xFF00FF00u);          // row 2
    EXPECT_EQ(alphaOf(out.pixel(5, 4)), 0u);          // row 3: transparent index
    EXPECT_EQ(out.pixel(7, 9), clBlack32);            // row 8, the second of pass 1
}

// ----------------------------------------------------------------------- BMP

TEST(BmpCodec, RoundTripKeepsEveryPixelAndReadsOlderLayouts)
{
    const TBitmap32 bmp = makeDrawing(33, 17);
    QByteArray data;
    QString err;
    ASSERT_TRUE(encodeBmp(bmp, data, &err));
    TBitmap32 back;
    ASSERT_TRUE(decodeBmp(data, back, &err)) << err.toStdString();
    EXPECT_EQ(back, bmp);

    // A picture that is entirely transparent stays so.
    const TBitmap32 empty(5, 4, clTransparentWhite32);
    ASSERT_TRUE(encodeBmp(empty, data));
    ASSERT_TRUE(decodeBmp(data, back));
    EXPECT_EQ(back, empty);

    // 24-bit and 8-bit pictures written by Qt.
    const TBitmap32 photo = makePhoto(13, 7);
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_Indexed8}) {
        QImage img = photo.toImage().convertToFormat(format);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(img.save(&buf, "BMP"));
        ASSERT_TRUE(decodeBmp(bytes, back, &err)) << err.toStdString();
        const TBitmap32 expected = TBitmap32::fromImage(img.convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(back, expected) << "format " << format;
    }
}

// ----------------------------------------------------------------------- choice of format

TEST(PictureFormat, SavingFollowsTheExtensionInAnyCase)
{
    EXPECT_EQ(formatForSaving("carte.gif"), ImageFormat::Gif);
    EXPECT_EQ(formatForSaving("/tmp/a.b/carte.Jpg"), ImageFormat::Jpeg);
    EXPECT_EQ(formatForSaving("carte.jpeg"), ImageFormat::Jpeg);
    EXPECT_EQ(formatForSaving("C:/x/CARTE.PNG"), ImageFormat::Png);
    EXPECT_EQ(formatForSaving("carte.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(formatForSaving("carte.xyz"), ImageFormat::Bmp);
    EXPECT_EQ(formatForSaving("carte"), ImageFormat::Bmp);
    EXPECT_EQ(formatForSaving("dossier.png/carte"), ImageFormat::Bmp);
    EXPECT_EQ(formatForSaving("carte.png.gif"), ImageFormat::Gif);
}

TEST(PictureFormat, ContentIsRecognisedWhateverTheName)
{
    const TBitmap32 bmp = makeDrawing(20, 10);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        ImageFormat format;
    } cases[] = {{"a.gif", ImageFormat::Gif}, {"a.Jpg", ImageFormat::Jpeg}, {"a.PNG", ImageFormat::Png},
                 {"a.bmp", ImageFormat::Bmp}, {"a.xyz", ImageFormat::Bmp},  {"sans_extension", ImageFormat::Bmp}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        QString err;
        ASSERT_TRUE(savePicture(path, bmp, &err)) << err.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        EXPECT_EQ(sniffFormat(data.left(16)), c.format) << c.name;
        // Renamed to a misleading extension, the picture still loads.
        const QString renamed = dir.filePath(QStringLiteral("copie_%1.jpg").arg(c.name));
        ASSERT_TRUE(QFile::copy(path, renamed));
        TBitmap32 back;
        ASSERT_TRUE(loadPicture(renamed, back, &err)) << c.name << ": " << err.toStdString();
        EXPECT_EQ(back.width(), 20);
        if (c.format == ImageFormat::Png || c.format == ImageFormat::Bmp) {
            EXPECT_EQ(back, bmp) << c.name;
        }
    }
    // Windows icons load through Qt's reader.
    QByteArray icon;
    QBuffer iconBuffer(&icon);
    iconBuffer.open(QIODevice::WriteOnly);
    if (makeDrawing(16, 16).toImage().save(&iconBuffer, "ICO")) {
        TBitmap32 back;
        EXPECT_EQ(sniffFormat(icon), ImageFormat::Unknown);
        ASSERT_TRUE(decodePicture(icon, back));
        EXPECT_EQ(back.width(), 16);
    }
    EXPECT_EQ(sniffFormat(QByteArray("GIF89a")), ImageFormat::Gif);
    EXPECT_EQ(sniffFormat(QByteArray("\xFF\xD8\xFF\xE0", 4)), ImageFormat::Jpeg);
    EXPECT_EQ(sniffFormat(QByteArray("\x89PNG\r\n\x1a\n", 8)), ImageFormat::Png);
    EXPECT_EQ(sniffFormat(QByteArray("BM")), ImageFormat::Bmp);
    EXPECT_EQ(sniffFormat(QByteArray("B")), ImageFormat::Unknown);
    EXPECT_EQ(sniffFormat(QByteArray()), ImageFormat::Unknown);
    EXPECT_EQ(sniffFormat(QByteArray("\x89PNG", 4)), ImageFormat::Unknown);
}

// ----------------------------------------------------------------------- damaged input and failures

TEST(PictureFailures, DamagedOrForeignDataIsRefusedWithAMessage)
{
    const TBitmap32 photo = makePhoto(64, 64);
    QByteArray jpeg, png, gif, bmp;
    ASSERT_TRUE(encodeJpeg(photo, jpeg));
    ASSERT_TRUE(encodePng(photo, png));
    ASSERT_TRUE(encodeGif(photo, gif));
    ASSERT_TRUE(encodeBmp(photo, bmp));
    std::mt19937 rng(11);
    QByteArray random(4000, '\0');
    for (auto& c : random)
        c = static_cast<char>(rng());
    QByteArray garbageGif = QByteArray("GIF89a") + random;
    QByteArray badJpeg = jpeg;
    for (int i = 600; i < badJpeg.size() - 2; i += 7)
        badJpeg[i] = static_cast<char>(0xFF); // markers everywhere inside the data
    QByteArray bigBmp = bmp;
    bigBmp[18] = bigBmp[19] = bigBmp[20] = static_cast<char>(0x7F); // absurd width

    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"empty", QByteArray()},
        {"random bytes", random},
        {"text", QByteArray("Ceci n'est pas une image.\n")},
        {"truncated jpeg", jpeg.left(jpeg.size() / 2)},
        {"jpeg header only", jpeg.left(3)},
        {"damaged jpeg", badJpeg},
        {"truncated png", png.left(png.size() / 2)},
        {"png signature only", png.left(8)},
        {"garbage gif", garbageGif},
        {"truncated gif", gif.left(gif.size() / 2)},
        {"truncated bmp", bmp.left(bmp.size() / 2)},
        {"bmp header only", bmp.left(20)},
        {"huge bmp", bigBmp},
    };
    for (const auto& c : cases) {
        TBitmap32 out(3, 3, clWhite32);
        QString err;
        EXPECT_FALSE(decodePicture(c.data, out, &err)) << c.what;
        EXPECT_FALSE(err.isEmpty()) << c.what;
        EXPECT_EQ(out, TBitmap32(3, 3, clWhite32)) << c.what << ": the target is left untouched";
    }
    // Each decoder refuses what belongs to another.
    TBitmap32 out;
    EXPECT_FALSE(decodeJpeg(png, out));
    EXPECT_FALSE(decodePng(jpeg, out));
    EXPECT_FALSE(decodeGif(bmp, out));
    EXPECT_FALSE(decodeBmp(gif, out));
}

TEST(PictureFailures, FilesNameThemselvesInMessagesAndFailedSavesLeaveNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TBitmap32 out;
    QString err;
    EXPECT_FALSE(loadPicture(dir.filePath("absent.png"), out, &err));
    EXPECT_TRUE(err.contains("absent.png")) << err.toStdString();

    const QString empty = dir.filePath("vide.png");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_FALSE(loadPicture(empty, out, &err));
    EXPECT_TRUE(err.contains("vide.png"));

    const QString text = dir.filePath("texte.jpg");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Latitude;Longitude\n45,2;3,1\n");
    }
    EXPECT_FALSE(loadPicture(text, out, &err));
    EXPECT_EQ(err, QStringLiteral("Le fichier « %1 » n'est pas une image reconnue.").arg(text));

    QByteArray jpeg;
    ASSERT_TRUE(encodeJpeg(makePhoto(32, 32), jpeg));
    const QString truncated = dir.filePath("coupe.jpg");
    {
        QFile f(truncated);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(jpeg.left(jpeg.size() - 40));
    }
    EXPECT_FALSE(loadPicture(truncated, out, &err));
    EXPECT_TRUE(err.startsWith("Image JPEG illisible ou tronquée")) << err.toStdString();
    EXPECT_TRUE(err.contains("coupe.jpg"));

    // An empty picture cannot be saved: the file in place is kept as it was.
    const QString kept = dir.filePath("garde.png");
    ASSERT_TRUE(savePicture(kept, makeDrawing(8, 8)));
    const qint64 size = QFileInfo(kept).size();
    EXPECT_FALSE(savePicture(kept, TBitmap32(), &err));
    EXPECT_TRUE(err.contains("garde.png"));
    EXPECT_EQ(QFileInfo(kept).size(), size);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4) << "no temporary file left";

    // Unwritable place.
    EXPECT_FALSE(savePicture(dir.filePath("pas/de/dossier.png"), makeDrawing(8, 8), &err));
    EXPECT_TRUE(err.startsWith("Impossible d'écrire le fichier")) << err.toStdString();
}

// ----------------------------------------------------------------------- headers larger than their file

namespace {

void put16le(QByteArray& b, int v)
{
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

// A GIF of a 10 x 10 screen with two colours, then one picture of w x h pixels at
// (left, top), its LZW data given as lzw (sub-blocks included).
QByteArray handmadeGif(int left, int top, int w, int h, const QByteArray& lzw)
{
    QByteArray g("GIF89a");
    put16le(g, 10);
    put16le(g, 10);
    g.append(static_cast<char>(0x80)); // global colour table of 2 entries
    g.append('\0');
    g.append('\0');
    g.append(QByteArray::fromHex("000000ffffff"));
    g.append(',');
    put16le(g, left);
    put16le(g, top);
    put16le(g, w);
    put16le(g, h);
    g.append('\0');
    g.append('\2'); // LZW minimum code size
    g.append(lzw);
    return g;
}

// Decodes data and returns how many bytes of pixels were held at once meanwhile.
std::size_t decodingPeak(const QByteArray& data, QString& err)
{
    bitmap_detail::resetPixelBytesPeak();
    const std::size_t before = bitmap_detail::pixelBytesInUse();
    TBitmap32 out(3, 3, clWhite32);
    EXPECT_FALSE(decodePicture(data, out, &err));
    EXPECT_EQ(out, TBitmap32(3, 3, clWhite32));
    return bitmap_detail::pixelBytesPeak() - before;
}

QByteArray withPngChunkCrc(QByteArray png, int chunkStart, int length)
{
    const auto* p = reinterpret_cast<const Bytef*>(png.constData()) + chunkStart + 4;
    const uLong crc = crc32(0, p, static_cast<uInt>(length + 4));
    for (int i = 0; i < 4; ++i)
        png[chunkStart + 8 + length + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    return png;
}

} // namespace

TEST(PictureFailures, GifHeadersLargerThanTheirFileAllocateNothing)
{
    constexpr std::size_t kSmall = 4 << 20;
    QString err;
    // 121 bytes: a 100 x 100 picture placed at (13000, 13000) on a 10 x 10 screen,
    // its first sub-block cut short. The canvas it announces is 0.69 GB.
    const QByteArray cut = handmadeGif(13000, 13000, 100, 100, QByteArray(1, '\xFF') + QByteArray(90, '\x55'));
    ASSERT_EQ(cut.size(), 121);
    EXPECT_LT(decodingPeak(cut, err), kSmall);
    EXPECT_TRUE(err.startsWith("Image GIF illisible ou tronquée")) << err.toStdString();

    // The same with its data complete: a canvas out of all proportion with the picture.
    QByteArray full(1, '\x5A');
    full += QByteArray(90, '\x55');
    full += QByteArray(1, '\0');
    EXPECT_LT(decodingPeak(handmadeGif(13000, 13000, 100, 100, full) + ";", err), kSmall);
    EXPECT_TRUE(err.startsWith("Image GIF illisible")) << err.toStdString();

    // A picture of 13000 x 13000 pixels cannot come out of 90 bytes of codes.
    EXPECT_LT(decodingPeak(handmadeGif(0, 0, 13000, 13000, full) + ";", err), kSmall);
    EXPECT_TRUE(err.startsWith("Image GIF illisible ou tronquée")) << err.toStdString();

    // A written picture larger than its screen still grows the canvas.
    QByteArray written;
    ASSERT_TRUE(encodeGif(makeDrawing(40, 30), written));
    written[6] = 5; // screen width 5
    written[8] = 5; // screen height 5
    TBitmap32 back;
    ASSERT_TRUE(decodeGif(written, back, &err)) << err.toStdString();
    EXPECT_EQ(back.width(), 40);
    EXPECT_EQ(back.height(), 30);
}

TEST(PictureFailures, JpegPngAndBmpHeadersLargerThanTheirFileAllocateNothing)
{
    constexpr std::size_t kSmall = 16 << 20;
    QString err;
    // JPEG: the frame header of a 16 x 16 picture made to say 16000 x 16000.
    QByteArray jpeg;
    ASSERT_TRUE(encodeJpeg(makePhoto(16, 16), jpeg));
    const int sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int i : {sof + 5, sof + 7}) {
        jpeg[i] = static_cast<char>(16000 >> 8);
        jpeg[i + 1] = static_cast<char>(16000 & 0xFF);
    }
    EXPECT_LT(decodingPeak(jpeg, err), kSmall);
    EXPECT_TRUE(err.startsWith("Image JPEG illisible ou tronquée")) << err.toStdString();

    // PNG: the IHDR of a 16 x 16 picture made to say 16000 x 16000 (checksum redone).
    QByteArray png;
    ASSERT_TRUE(encodePng(makePhoto(16, 16), png));
    for (int i : {16, 20}) {
        png[i] = 0;
        png[i + 1] = 0;
        png[i + 2] = static_cast<char>(16000 >> 8);
        png[i + 3] = static_cast<char>(16000 & 0xFF);
    }
    png = withPngChunkCrc(png, 8, 13);
    EXPECT_LT(decodingPeak(png, err), kSmall);
    EXPECT_TRUE(err.startsWith("Image PNG illisible ou tronquée")) << err.toStdString();

    // BMP: a run-length compressed 5000 x 5000 picture of a few bytes (Qt would make
    // it), and an OS/2 2.x header announcing rows the file does not have.
    QByteArray rle("BM");
    rle.append(QByteArray::fromHex("00000000" "00000000" "3e000000")); // pixels at 62
    rle.append(QByteArray::fromHex("28000000" "88130000" "88130000" "0100" "0800" "01000000"));
    rle.append(QByteArray(12, '\0'));
    rle.append(QByteArray::fromHex("02000000" "00000000")); // two colours used
    rle.append(QByteArray::fromHex("00000000" "ffffffff"));
    rle.append(QByteArray::fromHex("ff01" "0000" "0001")); // a run, end of line, end of picture
    EXPECT_LT(decodingPeak(rle, err), kSmall);
    EXPECT_TRUE(err.startsWith("Image BMP illisible")) << err.toStdString();
    QByteArray os2("BM");
    os2.append(QByteArray::fromHex("00000000" "00000000" "4e000000"));
    os2.append(QByteArray::fromHex("40000000" "401f0000" "401f0000" "0100" "1800"));
    os2.append(QByteArray(64 - 16, '\0'));
    os2.append(QByteArray(30, '\x7F'));
    EXPECT_LT(decodingPeak(os2, err), kSmall);
    EXPECT_TRUE(err.startsWith("Image BMP illisible")) << err.toStdString();
}
