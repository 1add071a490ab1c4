// Breadth-first flood over the four neighbours, with two arrays of pixel positions
// (the current front and the next one) instead of recursion, so that flooding a
// whole page never grows the stack.
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
    const std::int32_t seed = sy * w + sx;
    if (!fillable(px[seed]))
        return;

    std::vector<std::uint8_t> vu;
    if (suivre)
        vu.assign(static_cast<std::size_t>(w) * h, 0);

    std::vector<std::int32_t> front;
    std::vector<std::int32_t> suivant;
    front.reserve(1024);
    suivant.reserve(1024);

    auto atteindre = [&](std::int32_t p, int x, int y) {
        if (!fillable(px[p]))
            return;
        if (suivre) {
            if (vu[static_cast<std::size_t>(p)])
                return;
            vu[static_cast<std::size_t>(p)] = 1;
        }
        write(x, y, px[p]);
        suivant.push_back(p);
    };

    atteindre(seed, sx, sy);
    while (!suivant.empty()) {
        front.swap(suivant);
        suivant.clear();
        for (const std::int32_t p : front) {
            const int y = p / w;
            const int x = p - y * w;
            if (x > 0)
                atteindre(p - 1, x - 1, y);
            if (y > 0)
                atteindre(p - w, x, y - 1);
            if (x < w - 1)
                atteindre(p + 1, x + 1, y);
            if (y < h - 1)
                atteindre(p + w, x, y + 1);
        }
    }
}
