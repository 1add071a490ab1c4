// GIF reading and writing through giflib.
//
// Reading keeps the first picture of the file, with its transparent index (from the
// graphics control extension that precedes it) turned into alpha 0. Writing builds
// a palette of at most 256 entries: the exact colours when the picture has few
// enough (drawings usually do), otherwise a median-cut palette refined by two
// rounds of k-means; pixels with alpha below 128 all take one reserved index,
// declared transparent.
#include "ui/codecs.h"
#include "ui/codec_common.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include <gif_lib.h>

using namespace codec_detail;

namespace {

// ---------------------------------------------------------------- decoding

struct GifReader {
    const GifByteType* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
};

int gifReadFromMemory(GifFileType* gif, GifByteType* dest, int length)
{
    auto* reader = static_cast<GifReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                                reader->size - reader->pos);
    std::memcpy(dest, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

QString gifReadMessage(int code)
{
    const char* text = GifErrorString(code);
    return QStringLiteral("Image GIF illisible ou tronquée : %1").arg(QString::fromLatin1(text ? text : "?"));
}

// Closes the decoder and reports its error.
bool failRead(GifFileType* gif, QString* error, int code)
{
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
    setError(error, gifReadMessage(code));
    return false;
}

bool failRead(GifFileType* gif, QString* error, const QString& message)
{
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
    setError(error, message);
    return false;
}

// Bytes of LZW codes in the chain of sub-blocks that starts at pos (each block is a
// length byte and that many bytes, a length of 0 ends the chain); -1 when the chain
// runs past the end of the data. giflib reads the whole chain before it reports the
// picture complete, so a picture whose chain is cut cannot decode.
long long lzwDataBytes(const GifReader& reader, std::size_t pos)
{
    long long total = 0;
    while (pos < reader.size) {
        const std::size_t n = reader.data[pos++];
        if (n == 0)
            return total;
        if (n > reader.size - pos)
            return -1;
        pos += n;
        total += static_cast<long long>(n);
    }
    return -1;
}

// An LZW code of b bits stands for at most 2^b pixels (the longest string the
// table can hold when codes have that width), and codes are 12 bits wide at most:
// a byte of codes gives at most 8 * 4096 / 12 pixels.
constexpr std::uint64_t kMaxPixelsPerLzwByte = 2731;
// The canvas is the logical screen, grown to hold the picture. It may exceed the
// picture by this factor, or be up to kFreeCanvasPixels whatever the picture;
// beyond that, the header describes no plausible picture.
constexpr std::uint64_t kCanvasPerPicture = 4;
constexpr std::uint64_t kFreeCanvasPixels = std::uint64_t(1) << 22;

// ---------------------------------------------------------------- encoding

struct PaletteEntry {
    std::uint8_t r, g, b;
};

// Exact palette: fills indices and palette and returns true when the opaque pixels
// use at most maxColors colours.
bool exactPalette(const TBitmap32& bmp, int maxColors, std::uint8_t transparentIndex, std::vector<std::uint8_t>& indices,
                  std::vector<PaletteEntry>& palette)
{
    constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    constexpr std::size_t kSlots = 1024; // four times the largest palette
    std::array<std::uint32_t, kSlots> keys;
    std::array<std::uint8_t, kSlots> values{};
    keys.fill(kEmpty);
    palette.clear();

    const std::size_t n = static_cast<std::size_t>(bmp.width()) * bmp.height();
    const TColor32* px = bmp.bits();
    std::uint32_t lastKey = kEmpty;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const TColor32 c = px[i];
        if (alphaOf(c) < 128) {
            indices[i] = transparentIndex;
            continue;
        }
        const std::uint32_t key = c & 0x00FFFFFF;
        if (key == lastKey) {
            indices[i] = lastIndex;
            continue;
        }
        std::size_t slot = (key * 2654435761u) >> 22; // 10 bits
        while (keys[slot] != kEmpty && keys[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        if (keys[slot] == kEmpty) {
            if (static_cast<int>(palette.size()) >= maxColors)
                return false;
            keys[slot] = key;
            values[slot] = static_cast<std::uint8_t>(palette.size());
            palette.push_back({static_cast<std::uint8_t>(redOf(c)), static_cast<std::uint8_t>(greenOf(c)),
                               static_cast<std::uint8_t>(blueOf(c))});
        }
        lastKey = key;
        lastIndex = values[slot];
        indices[i] = lastIndex;
    }
    return true;
}

// Colours to quantise: the distinct opaque colours with their pixel counts when
// there are not too many, otherwise the cells of a grid of 6 bits per channel,
// each standing for the mean of its pixels.
struct ColourPoint {
    float c[3];
    std::uint32_t weight;
};

constexpr std::size_t kMaxDistinct = 65536;

// Open-addressing table from a 24-bit colour to a count (then to an index).
class ColourTable {
public:
    explicit ColourTable(std::size_t slotsLog2) : mask_((std::size_t(1) << slotsLog2) - 1),
        keys_(mask_ + 1, kEmpty), values_(mask_ + 1, 0) {}
    // Slot of key, inserted if absent; npos when the table is full enough.
    std::size_t find(std::uint32_t key, bool insert)
    {
        std::size_t slot = (key * 2654435761u) & mask_;
        while (keys_[slot] != kEmpty && keys_[slot] != key)
            slot = (slot + 1) & mask_;
        if (keys_[slot] == kEmpty) {
            if (!insert || size_ >= kMaxDistinct)
                return npos;
            keys_[slot] = key;
            ++size_;
        }
        return slot;
    }
    std::uint32_t& value(std::size_t slot) { return values_[slot]; }
    std::uint32_t key(std::size_t slot) const { return keys_[slot]; }
    std::size_t slotCount() const { return keys_.size(); }
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    static constexpr std::size_t npos = ~std::size_t(0);

private:
    std::size_t mask_;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint32_t> values_;
    std::size_t size_ = 0;
};

inline float weightedDist2(const float* a, const float* b)
{
    const float dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return 2 * dr * dr + 4 * dg * dg + db * db; // rough perceptual weights
}

constexpr float kAxisWeight[3] = {1.41f, 2.0f, 1.0f}; // square roots of the weights above

// Nearest palette entry under the weighted distance. Entries are sorted by green,
// the heaviest axis: the search walks outwards from the green of the colour and
// stops on each side once the green difference alone exceeds the best distance.
class PaletteSearch {
public:
    explicit PaletteSearch(const std::vector<PaletteEntry>& palette)
    {
        for (std::size_t i = 0; i < palette.size(); ++i)
            entries_.push_back({float(palette[i].r), float(palette[i].g), float(palette[i].b), int(i)});
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.c[1] < b.c[1]; });
    }
    int find(const float* c) const
    {
        const auto start = std::lower_bound(entries_.begin(), entries_.end(), c[1],
                                            [](const Entry& e, float g) { return e.c[1] < g; });
        std::ptrdiff_t up = start - entries_.begin(), down = up - 1;
        const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(entries_.size());
        float bestD = std::numeric_limits<float>::max();
        int best = entries_.empty() ? 0 : entries_.front().index;
        while (up < n || down >= 0) {
            if (up < n) {
                const Entry& e = entries_[static_cast<std::size_t>(up)];
                const float dg = e.c[1] - c[1];
                if (4 * dg * dg >= bestD) {
                    up = n;
                } else {
                    const float d = weightedDist2(e.c, c);
                    if (d < bestD)
                        bestD = d, best = e.index;
                    ++up;
                }
            }
            if (down >= 0) {
                const Entry& e = entries_[static_cast<std::size_t>(down)];
                const float dg = e.c[1] - c[1];
                if (4 * dg * dg >= bestD) {
                    down = -1;
                } else {
                    const float d = weightedDist2(e.c, c);
                    if (d < bestD)
                        bestD = d, best = e.index;
                    --down;
                }
            }
        }
        return best;
    }

private:
    struct Entry {
        float c[3];
        int index;
    };
    std::vector<Entry> entries_;
};

struct Box {
    std::size_t begin, end; // range of points
    double weight = 0;
    float lo[3] = {256, 256, 256}, hi[3] = {-1, -1, -1};
    void measure(const std::vector<ColourPoint>& pts)
    {
        weight = 0;
        for (int a = 0; a < 3; ++a)
            lo[a] = 256, hi[a] = -1;
        for (std::size_t i = begin; i < end; ++i) {
            weight += pts[i].weight;
            for (int a = 0; a < 3; ++a)
                lo[a] = std::min(lo[a], pts[i].c[a]), hi[a] = std::max(hi[a], pts[i].c[a]);
        }
    }
    int longestAxis() const
    {
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if ((hi[a] - lo[a]) * kAxisWeight[a] > (hi[axis] - lo[axis]) * kAxisWeight[axis])
                axis = a;
        return axis;
    }
    float extent() const
    {
        const int a = longestAxis();
        return (hi[a] - lo[a]) * kAxisWeight[a];
    }
};

// Median cut over the points, then two rounds of k-means that move each entry to
// the centre of the colours that actually map to it.
std::vector<PaletteEntry> medianCut(std::vector<ColourPoint>& pts, int maxColors)
{
    std::vector<Box> boxes;
    if (!pts.empty()) {
        Box all{0, pts.size()};
        all.measure(pts);
        boxes.push_back(all);
    }
    while (static_cast<int>(boxes.size()) < maxColors) {
        int pick = -1;
        double bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& bx = boxes[i];
            const double score = bx.end - bx.begin > 1 ? bx.weight * bx.extent() : 0;
            if (score > bestScore) {
                bestScore = score;
                pick = static_cast<int>(i);
            }
        }
        if (pick < 0)
            break;
        Box& bx = boxes[static_cast<std::size_t>(pick)];
        const int axis = bx.longestAxis();
        std::sort(pts.begin() + static_cast<std::ptrdiff_t>(bx.begin), pts.begin() + static_cast<std::ptrdiff_t>(bx.end),
                  [axis](const ColourPoint& a, const ColourPoint& b) { return a.c[axis] < b.c[axis]; });
        double acc = 0;
        std::size_t cut = bx.begin + 1;
        for (std::size_t i = bx.begin; i + 1 < bx.end; ++i) {
            acc += pts[i].weight;
            cut = i + 1;
            if (acc * 2 >= bx.weight)
                break;
        }
        Box other{cut, bx.end};
        bx.end = cut;
        bx.measure(pts);
        other.measure(pts);
        boxes.push_back(other);
    }

    std::vector<PaletteEntry> palette;
    auto meanOf = [](double s, double w) { return static_cast<std::uint8_t>(std::clamp(s / w + 0.5, 0.0, 255.0)); };
    for (const Box& bx : boxes) {
        double s[3] = {0, 0, 0};
        for (std::size_t i = bx.begin; i < bx.end; ++i)
            for (int a = 0; a < 3; ++a)
                s[a] += double(pts[i].c[a]) * pts[i].weight;
        palette.push_back({meanOf(s[0], bx.weight), meanOf(s[1], bx.weight), meanOf(s[2], bx.weight)});
    }
    if (palette.empty())
        palette.push_back({0, 0, 0});

    for (int round = 0; round < 2; ++round) {
        const PaletteSearch search(palette);
        std::vector<double> sum(palette.size() * 4, 0.0);
        for (const ColourPoint& p : pts) {
            const std::size_t k = static_cast<std::size_t>(search.find(p.c));
            for (int a = 0; a < 3; ++a)
                sum[4 * k + a] += double(p.c[a]) * p.weight;
            sum[4 * k + 3] += p.weight;
        }
        for (std::size_t k = 0; k < palette.size(); ++k)
            if (sum[4 * k + 3] > 0)
                palette[k] = {meanOf(sum[4 * k], sum[4 * k + 3]), meanOf(sum[4 * k + 1], sum[4 * k + 3]),
                              meanOf(sum[4 * k + 2], sum[4 * k + 3])};
    }
    return palette;
}

void quantisedPalette(const TBitmap32& bmp, int maxColors, std::uint8_t transparentIndex,
                      std::vector<std::uint8_t>& indices, std::vector<PaletteEntry>& palette)
{
    const std::size_t n = static_cast<std::size_t>(bmp.width()) * bmp.height();
    const TColor32* px = bmp.bits();
    std::vector<ColourPoint> pts;

    // First try: distinct colours.
    ColourTable table(17);
    bool exact = true;
    {
        std::uint32_t lastKey = ColourTable::kEmpty;
        std::size_t lastSlot = 0;
        for (std::size_t i = 0; i < n && exact; ++i) {
            if (alphaOf(px[i]) < 128)
                continue;
            const std::uint32_t key = px[i] & 0x00FFFFFF;
            if (key != lastKey) {
                lastSlot = table.find(key, true);
                if (lastSlot == ColourTable::npos) {
                    exact = false;
                    break;
                }
                lastKey = key;
            }
            ++table.value(lastSlot);
        }
    }
    std::vector<std::uint32_t> cellCount;
    std::vector<std::uint64_t> cellSum;
    if (exact) {
        for (std::size_t s = 0; s < table.slotCount(); ++s)
            if (table.key(s) != ColourTable::kEmpty) {
                const std::uint32_t k = table.key(s);
                pts.push_back({{float(redOf(k)), float(greenOf(k)), float(blueOf(k))}, table.value(s)});
            }
    } else {
        cellCount.assign(std::size_t(1) << 18, 0);
        cellSum.assign(std::size_t(3) << 18, 0);
        for (std::size_t i = 0; i < n; ++i) {
            const TColor32 c = px[i];
            if (alphaOf(c) < 128)
                continue;
            const std::size_t cell = ((redOf(c) >> 2) << 12) | ((greenOf(c) >> 2) << 6) | (blueOf(c) >> 2);
            ++cellCount[cell];
            cellSum[3 * cell] += redOf(c);
            cellSum[3 * cell + 1] += greenOf(c);
            cellSum[3 * cell + 2] += blueOf(c);
        }
        for (std::size_t cell = 0; cell < cellCount.size(); ++cell)
            if (const std::uint32_t w = cellCount[cell])
                pts.push_back({{float(cellSum[3 * cell]) / w, float(cellSum[3 * cell + 1]) / w,
                                float(cellSum[3 * cell + 2]) / w},
                               w});
    }

    palette = medianCut(pts, maxColors);
    const PaletteSearch search(palette);

    // Each distinct colour (or grid cell) is matched once, then pixels look it up.
    if (exact) {
        for (std::size_t s = 0; s < table.slotCount(); ++s)
            if (table.key(s) != ColourTable::kEmpty) {
                const std::uint32_t k = table.key(s);
                const float c[3] = {float(redOf(k)), float(greenOf(k)), float(blueOf(k))};
                table.value(s) = static_cast<std::uint32_t>(search.find(c));
            }
        std::uint32_t lastKey = ColourTable::kEmpty;
        std::uint8_t lastIndex = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (alphaOf(px[i]) < 128) {
                indices[i] = transparentIndex;
                continue;
            }
            const std::uint32_t key = px[i] & 0x00FFFFFF;
            if (key != lastKey) {
                lastIndex = static_cast<std::uint8_t>(table.value(table.find(key, false)));
                lastKey = key;
            }
            indices[i] = lastIndex;
        }
    } else {
        std::vector<std::uint8_t> cellIndex(cellCount.size(), 0);
        for (std::size_t cell = 0; cell < cellCount.size(); ++cell)
            if (const std::uint32_t w = cellCount[cell]) {
                const float c[3] = {float(cellSum[3 * cell]) / w, float(cellSum[3 * cell + 1]) / w,
                                    float(cellSum[3 * cell + 2]) / w};
                cellIndex[cell] = static_cast<std::uint8_t>(search.find(c));
            }
        for (std::size_t i = 0; i < n; ++i) {
            const TColor32 c = px[i];
            indices[i] = alphaOf(c) < 128
                             ? transparentIndex
                             : cellIndex[((redOf(c) >> 2) << 12) | ((greenOf(c) >> 2) << 6) | (blueOf(c) >> 2)];
        }
    }
}

int gifWriteToMemory(GifFileType* gif, const GifByteType* src, int length)
{
    auto* out = static_cast<QByteArray*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(src), length);
    return length;
}

} // namespace

bool decodeGif(const QByteArray& data, TBitmap32& out, QString* error)
{
    GifReader reader{reinterpret_cast<const GifByteType*>(data.constData()), static_cast<std::size_t>(data.size()), 0};
    int code = 0;
    GifFileType* gif = DGifOpen(&reader, gifReadFromMemory, &code);
    if (!gif) {
        setError(error, gifReadMessage(code));
        return false;
    }
    const int screenW = gif->SWidth, screenH = gif->SHeight;
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            return failRead(gif, error, gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            return failRead(gif, error, D_GIF_ERR_NO_IMAG_DSCR);
        if (record == EXTENSION_RECORD_TYPE) {
            int extCode = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &extCode, &ext) == GIF_ERROR)
                return failRead(gif, error, gif->Error);
            if (extCode == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    return failRead(gif, error, gif->Error);
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return failRead(gif, error, gif->Error);
        const GifImageDesc desc = gif->Image;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        // The canvas is the logical screen, grown if the picture overflows it.
        const int w = std::max(screenW, desc.Left + desc.Width);
        const int h = std::max(screenH, desc.Top + desc.Height);
        if (desc.Width <= 0 || desc.Height <= 0)
            return failRead(gif, error, D_GIF_ERR_NO_IMAG_DSCR);
        if (!sizeAcceptable(static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(h)))
            return failRead(gif, error, tooLargeMessage(w, h));
        // Nothing is allocated before the data is known to be there: giflib has read
        // the descriptor and the LZW code size, the codes follow.
        const long long lzwBytes = lzwDataBytes(reader, reader.pos);
        if (lzwBytes < 0)
            return failRead(gif, error, D_GIF_ERR_READ_FAILED);
        const std::uint64_t picturePixels = static_cast<std::uint64_t>(desc.Width) * desc.Height;
        if (picturePixels > kMaxPixelsPerLzwByte * static_cast<std::uint64_t>(lzwBytes))
            return failRead(gif, error,
                            QStringLiteral("Image GIF illisible ou tronquée : %1 octets de données ne peuvent "
                                           "pas former une image de %2 × %3 pixels.")
                                .arg(lzwBytes)
                                .arg(desc.Width)
                                .arg(desc.Height));
        const std::uint64_t canvasPixels = static_cast<std::uint64_t>(w) * h;
        if (canvasPixels > std::max(kFreeCanvasPixels, kCanvasPerPicture * picturePixels))
            return failRead(gif, error,
                            QStringLiteral("Image GIF illisible : un écran de %1 × %2 pixels pour une image de "
                                           "%3 × %4 pixels.")
                                .arg(w)
                                .arg(h)
                                .arg(desc.Width)
                                .arg(desc.Height));
        TBitmap32 picture;
        if (!allocate(picture, w, h)) {
            int ignored = 0;
            DGifCloseFile(gif, &ignored);
            setError(error, outOfMemoryMessage(w, h));
            return false;
        }
        std::array<TColor32, 256> colours;
        colours.fill(clBlack32);
        if (map)
            for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
                colours[static_cast<std::size_t>(i)] =
                    color32(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        if (transparent >= 0 && transparent < 256)
            colours[static_cast<std::size_t>(transparent)] = withAlpha(colours[static_cast<std::size_t>(transparent)], 0);

        std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
        auto readRow = [&](int row) {
            if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                return false;
            TColor32* dst = picture.scanLine(desc.Top + row) + desc.Left;
            for (int x = 0; x < desc.Width; ++x)
                dst[x] = colours[line[static_cast<std::size_t>(x)]];
            return true;
        };
        if (desc.Interlace) {
            static const int start[4] = {0, 4, 2, 1};
            static const int step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = start[pass]; row < desc.Height; row += step[pass])
                    if (!readRow(row))
                        return failRead(gif, error, gif->Error);
        } else {
            for (int row = 0; row < desc.Height; ++row)
                if (!readRow(row))
                    return failRead(gif, error, gif->Error);
        }
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
        out = std::move(picture);
        return true;
    }
}

bool encodeGif(const TBitmap32& bmp, QByteArray& out, QString* error)
{
    if (!encodable(bmp, 0xFFFF, "GIF", error))
        return false;
    const std::size_t n = static_cast<std::size_t>(bmp.width()) * bmp.height();
    bool hasTransparent = false;
    for (std::size_t i = 0; i < n && !hasTransparent; ++i)
        hasTransparent = alphaOf(bmp.bits()[i]) < 128;
    const int maxColors = hasTransparent ? 255 : 256;

    std::vector<std::uint8_t> indices(n);
    std::vector<PaletteEntry> palette;
    // The reserved index follows the palette; it is fixed once the palette is known.
    constexpr std::uint8_t kProvisional = 255;
    if (!exactPalette(bmp, maxColors, kProvisional, indices, palette))
        quantisedPalette(bmp, maxColors, kProvisional, indices, palette);
    int transparentIndex = -1;
    if (hasTransparent) {
        transparentIndex = static_cast<int>(palette.size());
        if (transparentIndex != kProvisional)
            for (std::size_t i = 0; i < n; ++i)
                if (alphaOf(bmp.bits()[i]) < 128)
                    indices[i] = static_cast<std::uint8_t>(transparentIndex);
        palette.push_back({255, 255, 255});
    }
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size()))
        ++bits;

    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) {
        setError(error, QStringLiteral("Échec de l'encodage GIF : mémoire insuffisante."));
        return false;
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const PaletteEntry p = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)]
                                                                    : PaletteEntry{0, 0, 0};
        map->Colors[i] = GifColorType{p.r, p.g, p.b};
    }

    QByteArray buffer;
    int code = 0;
    GifFileType* gif = EGifOpen(&buffer, gifWriteToMemory, &code);
    auto fail = [&](int errorCode) {
        int ignored = 0;
        if (gif)
            EGifCloseFile(gif, &ignored);
        GifFreeMapObject(map);
        setError(error, QStringLiteral("Échec de l'encodage GIF : %1")
                            .arg(QString::fromLatin1(GifErrorString(errorCode) ? GifErrorString(errorCode) : "?")));
        return false;
    };
    if (!gif)
        return fail(code);
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, bmp.width(), bmp.height(), bits, 0, map) == GIF_ERROR)
        return fail(gif->Error);
    if (transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.UserInputFlag = false;
        gcb.DelayTime = 0;
        gcb.TransparentColor = transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_ERROR)
            return fail(gif->Error);
    }
    if (EGifPutImageDesc(gif, 0, 0, bmp.width(), bmp.height(), false, nullptr) == GIF_ERROR)
        return fail(gif->Error);
    for (int y = 0; y < bmp.height(); ++y)
        if (EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * bmp.width(), bmp.width()) == GIF_ERROR)
            return fail(gif->Error);
    if (EGifCloseFile(gif, &code) == GIF_ERROR) {
        gif = nullptr;
        return fail(code);
    }
    GifFreeMapObject(map);
    out = std::move(buffer);
    return true;
}
