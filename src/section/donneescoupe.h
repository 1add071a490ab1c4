// The data of a section as tab-separated text for a spreadsheet: one header line,
// then row by row the relief samples (distance km, altitude m), the projected
// earthquakes (distance km, depth km, magnitude) and the volcanoes (distance km,
// altitude m), side by side, so that each pair of columns plots as one series.
// Decimals use the system's separator.
#pragma once

#include "drawing/bitmapsig.h"

#include <QString>

namespace coupe {

QString donneesCoupeTexte(const TBitmapSIG& section);

} // namespace coupe
