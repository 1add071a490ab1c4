// Fuzzing harness: the PNG decoder. The checksum of every complete chunk is redone
// first (half of the inputs), so that mutated headers and picture data get past
// libpng's checks to the decoder's own bounds.
#include "fuzz_commun.h"
#include "ui/codecs.h"

#include <zlib.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

namespace {

QByteArray checksumsRedone(QByteArray d)
{
    qsizetype pos = 8;
    while (pos + 12 <= d.size()) {
        const auto* p = reinterpret_cast<const unsigned char*>(d.constData()) + pos;
        const std::uint32_t longueur = (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        if (longueur > static_cast<std::uint64_t>(d.size() - pos - 12))
            break;
        const uLong crc = crc32(0, p + 4, static_cast<uInt>(longueur + 4));
        for (int i = 0; i < 4; ++i)
            d[pos + 8 + static_cast<qsizetype>(longueur) + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
        pos += 12 + static_cast<qsizetype>(longueur);
    }
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray d = fuzz::octets(data, size);
    fuzz::essayerDecodeur(&decodePng, size % 2 ? checksumsRedone(d) : d);
    return 0;
}
