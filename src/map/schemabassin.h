// The schematic section of an ocean basin shown by the sea-level calculator: the
// crust with its mid-ocean ridge, the sediments, the water and its surface, and a
// question mark. The ridge grows with the change of ridge volume and the water line
// rises with the change of water volume, both in millions of km³.
#pragma once

#include "ui/bitmap32.h"

constexpr int LargeurSchema = 400;
constexpr int HauteurSchema = 260;

// Ridge: its flanks at 200 - round(dorsales / 3) and its crest at
// 120 - round(dorsales / 2) pixels from the top; water line at
// 60 - round(eau / 3). An opaque picture on a white background.
TBitmap32 dessinerSchemaBassin(int dorsales, int eau);

// Height of the water line and of the ridge's crest (pixels from the top).
int ligneEauSchema(int eau);
int creteSchema(int dorsales);
