// Choice of codec: by content when reading, by extension when writing; files are
// written through a temporary name so that a failure leaves no partial file.
#include "ui/codecs.h"
#include "ui/codec_common.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>

using namespace codec_detail;

namespace {

QString quoted(const QString& path) { return QStringLiteral("« %1 »").arg(path); }

bool isIcon(const QByteArray& head)
{
    return head.size() >= 6 && head[0] == 0 && head[1] == 0 && (head[2] == 1 || head[2] == 2) && head[3] == 0;
}

// Windows icons are accepted when loading a picture, through Qt's reader.
bool decodeIcon(const QByteArray& data, TBitmap32& out)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    QImage img;
    if (!reader.read(&img) || img.isNull() ||
        !sizeAcceptable(static_cast<std::uint64_t>(img.width()), static_cast<std::uint64_t>(img.height())))
        return false;
    out = TBitmap32::fromImage(img);
    return true;
}

} // namespace

ImageFormat formatForSaving(const QString& path)
{
    const QString name = QFileInfo(path).fileName().toUpper();
    if (name.endsWith(QLatin1String(".GIF")))
        return ImageFormat::Gif;
    if (name.endsWith(QLatin1String(".JPG")) || name.endsWith(QLatin1String(".JPEG")))
        return ImageFormat::Jpeg;
    if (name.endsWith(QLatin1String(".PNG")))
        return ImageFormat::Png;
    return ImageFormat::Bmp;
}

ImageFormat sniffFormat(const QByteArray& head)
{
    const auto* b = reinterpret_cast<const unsigned char*>(head.constData());
    const qsizetype n = head.size();
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return ImageFormat::Jpeg;
    static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 8 && std::equal(pngSignature, pngSignature + 8, b))
        return ImageFormat::Png;
    if (n >= 4 && head.startsWith("GIF8"))
        return ImageFormat::Gif;
    if (n >= 2 && head.startsWith("BM"))
        return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

bool decodePicture(const QByteArray& data, TBitmap32& out, QString* error)
{
    switch (sniffFormat(data)) {
    case ImageFormat::Jpeg:
        return decodeJpeg(data, out, error);
    case ImageFormat::Png:
        return decodePng(data, out, error);
    case ImageFormat::Gif:
        return decodeGif(data, out, error);
    case ImageFormat::Bmp:
        return decodeBmp(data, out, error);
    case ImageFormat::Unknown:
        break;
    }
    if (isIcon(data) && decodeIcon(data, out))
        return true;
    setError(error, data.isEmpty() ? QStringLiteral("Les données de l'image sont vides.")
                                   : QStringLiteral("Les données ne forment pas une image reconnue."));
    return false;
}

bool loadPicture(const QString& path, TBitmap32& out, QString* error)
{
    QFile file(path);
    if (!file.exists()) {
        setError(error, QStringLiteral("Fichier non trouvé : %1.").arg(quoted(path)));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Impossible d'ouvrir le fichier %1 : %2").arg(quoted(path), file.errorString()));
        return false;
    }
    QByteArray data;
    try {
        data = file.readAll();
    } catch (const std::bad_alloc&) {
        setError(error, QStringLiteral("Mémoire insuffisante pour lire le fichier %1.").arg(quoted(path)));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("Impossible de lire le fichier %1 : %2").arg(quoted(path), file.errorString()));
        return false;
    }
    if (data.isEmpty()) {
        setError(error, QStringLiteral("Le fichier %1 est vide.").arg(quoted(path)));
        return false;
    }
    const ImageFormat format = sniffFormat(data);
    if (format == ImageFormat::Unknown) {
        if (isIcon(data) && decodeIcon(data, out))
            return true;
        setError(error, QStringLiteral("Le fichier %1 n'est pas une image reconnue.").arg(quoted(path)));
        return false;
    }
    QString detail;
    if (decodePicture(data, out, &detail))
        return true;
    setError(error, QStringLiteral("%1\nFichier : %2.").arg(detail, quoted(path)));
    return false;
}

bool encodePicture(const TBitmap32& bmp, ImageFormat format, QByteArray& out, QString* error, int jpegQuality)
{
    try {
        switch (format) {
        case ImageFormat::Jpeg:
            return encodeJpeg(bmp, out, jpegQuality, error);
        case ImageFormat::Png:
            return encodePng(bmp, out, error);
        case ImageFormat::Gif:
            return encodeGif(bmp, out, error);
        case ImageFormat::Bmp:
        case ImageFormat::Unknown:
            return encodeBmp(bmp, out, error);
        }
    } catch (const std::bad_alloc&) {
        setError(error, outOfMemoryMessage(bmp.width(), bmp.height()));
        return false;
    }
    return false;
}

bool savePicture(const QString& path, const TBitmap32& bmp, QString* error, int jpegQuality)
{
    QByteArray data;
    QString detail;
    if (!encodePicture(bmp, formatForSaving(path), data, &detail, jpegQuality)) {
        setError(error, QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(quoted(path), detail));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        setError(error, QStringLiteral("Impossible d'écrire le fichier %1.\n%2").arg(quoted(path), reason));
        return false;
    }
    return true;
}
