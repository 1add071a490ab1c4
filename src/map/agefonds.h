// The ocean-floor age overlay: a plate carrée picture of the world coloured by the
// age of the sea floor (everything else pure white), laid over the map at the map's
// size and shift, and its colour scale.
#pragma once

#include "ui/bitmap32.h"

#include <QString>

// Reads the age picture. A missing or unreadable file, or a picture that is not a
// world map (width twice its height, give or take two pixels), is refused with a
// French message naming the file.
bool chargerImageAge(const QString& chemin, TBitmap32& image, QString* message = nullptr);
// Reads the colour scale picture (any size); refused like the age picture.
bool chargerEchelleAge(const QString& chemin, TBitmap32& image, QString* message = nullptr);

// The layer for a W x H map shifted by D degrees: the picture stretched over the
// whole map (nearest pixel), its pure white made transparent, rolled by
// round(D / 360 × W) pixels like the map.
void remplirCalqueAge(TBitmap32& calque, const TBitmap32& image, int W, int H, int D);
