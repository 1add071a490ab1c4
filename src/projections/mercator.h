// The two discs of the polar view unrolled into a rectangle: the horizontal axis
// is the azimuth about the pole, the vertical axis the angular distance from it,
// so that the small circles about the pole (the paths of a rotation about it)
// become horizontal lines.
//
// The picture has the size of the polar picture (Wm = 2·Hm by Hm). Column x is
// the azimuth a = x · 2π / (Wm − 1) − π (the screen angle of the discs); row y is
// y · 90° / h from the pole, h = Hm div 2: row 0 is the pole, row h is 90° from it,
// row Hm the antipode. The upper half is read from disc 1, the lower half from
// disc 2, with the same azimuth in every row.
#pragma once

#include "ui/bitmap32.h"

namespace polaire {

// Builds the unrolled picture from the polar picture (nearest pixel). The rows
// are shared among `fils` threads (0: one per processor); the result does not
// depend on it.
void construireMercatorOblique(const TBitmap32& imagePolaire, TBitmap32& image, int fils = 0);

} // namespace polaire
