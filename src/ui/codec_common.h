// Shared helpers of the picture codecs (internal to the codec sources).
#pragma once

#include "ui/bitmap32.h"

#include <QString>

#include <cstdint>

namespace codec_detail {

// Largest picture the decoders accept: 2^28 pixels (1 GiB of ARGB). Larger headers
// are refused with a message instead of attempting a huge allocation.
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;

inline bool sizeAcceptable(std::uint64_t w, std::uint64_t h)
{
    return w > 0 && h > 0 && w <= 0x7FFFFFFF && h <= 0x7FFFFFFF && w * h <= kMaxPixels;
}

inline void setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

inline QString tooLargeMessage(std::uint64_t w, std::uint64_t h)
{
    return QStringLiteral("Image trop grande (%1 × %2 pixels).").arg(w).arg(h);
}

// Allocates the pixels of bmp; false (instead of an exception) when memory runs out.
// Decoders that write every pixel ask for uninitialised pixels (Content::Undefined);
// the others get them cleared to 0x00FFFFFF.
enum class Content { Cleared, Undefined };
inline bool allocate(TBitmap32& bmp, int w, int h, Content content = Content::Cleared)
{
    try {
        if (content == Content::Undefined)
            bmp.setSizeUninitialized(w, h);
        else
            bmp.setSize(w, h);
    } catch (const std::bad_alloc&) {
        bmp.setSize(0, 0);
        return false;
    }
    return true;
}

inline QString outOfMemoryMessage(int w, int h)
{
    return QStringLiteral("Mémoire insuffisante pour une image de %1 × %2 pixels.").arg(w).arg(h);
}

inline QString tooLargeForFormat(const char* formatName, int w, int h)
{
    return QStringLiteral("Image trop grande pour le format %1 (%2 × %3 pixels).")
        .arg(QLatin1String(formatName))
        .arg(w)
        .arg(h);
}

// Whether bmp can be written in a format whose sides are limited to maxSide pixels.
inline bool encodable(const TBitmap32& bmp, int maxSide, const char* formatName, QString* error)
{
    if (bmp.isEmpty()) {
        setError(error, QStringLiteral("Impossible d'enregistrer une image vide."));
        return false;
    }
    if (bmp.width() > maxSide || bmp.height() > maxSide) {
        setError(error, tooLargeForFormat(formatName, bmp.width(), bmp.height()));
        return false;
    }
    return true;
}

} // namespace codec_detail
