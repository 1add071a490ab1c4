// Flood over the four neighbours without recursion: the flood advances by
// horizontal runs, keeping two arrays of seed positions (the current front and the
// next one), so that flooding a whole page never grows the stack. Which pixels are
// reached does not depend on the order of the visit.
#pragma once

#include "ui/bitmap32.h"

#include <cstdint>
#include <vector>

// `fillable(colour)` tells whether a pixel may be reached; `write(x, y, pixel&)`
// rewrites it. Each pixel is written as soon as it is reached, so it is normally
// no longer fillable and never visited twice. When `suivre` is set a mask of
// visited pixels is kept as well, for writes that may leave a pixel fillable
// (for instance a fully transparent colour): without it the flood would cycle.
template <typename Fillable, typename Write>
void Inonder(TBitmap32& target, int sx, int sy, bool suivre, Fillable fillable, Write write)
{
    if (!target.contains(sx, sy))
        return;
    const int w = target.width();
    const int h = target.height();
    TColor32* px = target.bits();

    std::vector<std::uint8_t> vu;
    if (suivre)
        vu.assign(static_cast<std::size_t>(w) * h, 0);
    auto libre = [&](std::int64_t p) {
        return fillable(px[p]) && (!suivre || !vu[static_cast<std::size_t>(p)]);
    };

    std::vector<std::int64_t> front;
    std::vector<std::int64_t> suivant;
    front.reserve(256);
    suivant.reserve(256);
    suivant.push_back(static_cast<std::int64_t>(sy) * w + sx);

    while (!suivant.empty()) {
        front.swap(suivant);
        suivant.clear();
        for (const std::int64_t p : front) {
            if (!libre(p))
                continue;
            const int y = static_cast<int>(p / w);
            const std::int64_t ligne = static_cast<std::int64_t>(y) * w;
            int g = static_cast<int>(p - ligne);
            int d = g;
            while (g > 0 && libre(ligne + g - 1))
                --g;
            while (d < w - 1 && libre(ligne + d + 1))
                ++d;
            for (int x = g; x <= d; ++x) {
                if (suivre)
                    vu[static_cast<std::size_t>(ligne + x)] = 1;
                write(x, y, px[ligne + x]);
            }
            // One seed per run of reachable pixels on the rows above and below.
            for (const int ny : {y - 1, y + 1}) {
                if (ny < 0 || ny >= h)
                    continue;
                const std::int64_t autre = static_cast<std::int64_t>(ny) * w;
                bool dansRun = false;
                for (int x = g; x <= d; ++x) {
                    if (libre(autre + x)) {
                        if (!dansRun)
                            suivant.push_back(autre + x);
                        dansRun = true;
                    } else {
                        dansRun = false;
                    }
                }
            }
        }
    }
}
