// Reading and writing pictures: JPEG (libjpeg), PNG (libpng), GIF (giflib for
// writing) and BMP. Failures never crash: they return false with a French message.
#pragma once

#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

enum class ImageFormat { Unknown, Jpeg, Png, Gif, Bmp };

// Format of a file to be saved, from its extension compared in upper case:
// ".GIF", ".JPG" (and ".JPEG"), ".PNG", anything else a bitmap (32-bit, alpha kept).
ImageFormat formatForSaving(const QString& path);
// Format of picture data, from its first bytes.
ImageFormat sniffFormat(const QByteArray& head);

// Decoding; the format is recognised from the content, whatever the extension.
bool loadPicture(const QString& path, TBitmap32& out, QString* error = nullptr);
bool decodePicture(const QByteArray& data, TBitmap32& out, QString* error = nullptr);

// Encoding, by the extension of the path (see formatForSaving). The file is written
// under a temporary name and renamed, so a failure leaves no half-written file.
bool savePicture(const QString& path, const TBitmap32& bmp, QString* error = nullptr, int jpegQuality = 90);
bool encodePicture(const TBitmap32& bmp, ImageFormat format, QByteArray& out, QString* error = nullptr,
                   int jpegQuality = 90);

// The individual codecs.
bool decodeJpeg(const QByteArray& data, TBitmap32& out, QString* error = nullptr);
bool encodeJpeg(const TBitmap32& bmp, QByteArray& out, int quality = 90, QString* error = nullptr);
bool decodePng(const QByteArray& data, TBitmap32& out, QString* error = nullptr);
bool encodePng(const TBitmap32& bmp, QByteArray& out, QString* error = nullptr);
bool decodeGif(const QByteArray& data, TBitmap32& out, QString* error = nullptr);
bool encodeGif(const TBitmap32& bmp, QByteArray& out, QString* error = nullptr);
bool decodeBmp(const QByteArray& data, TBitmap32& out, QString* error = nullptr);
bool encodeBmp(const TBitmap32& bmp, QByteArray& out, QString* error = nullptr);
