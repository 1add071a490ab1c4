// Layout and drawing of a cross-section picture at any frame size: the relief
// (in its own exaggerated frame above, or exaggerated above the sea-level line of
// the foci), the crust colourings, the earthquake foci at their true depth and the
// volcanoes on the relief. The same drawing serves the section window's frames,
// the drawing sheet, the printer and the saved images.
#pragma once

#include "drawing/bitmapsig.h"

#include <functional>

namespace coupe {

// The window defaults a new section takes.
constexpr TColor32 CouleurSeismesDefaut = 0xFFFF00FF;
constexpr TColor32 CouleurVolcansDefaut = 0xFFFF0000;
constexpr TColor32 CouleurProfilDefaut = 0xFF007F00;
constexpr TColor32 CouleurNiveauMerDefaut = 0xFF0000FF;
constexpr TColor32 TeinteSuperpositionDefaut = 0xA0FFFFFF;
constexpr TColor32 GrisRelief = 0xFFE0E0E0;

// The section's scale (echelle, pixels per km) and rows (hauteur_relief,
// ligne_zero_profondeur, ligne_niveau_mer) for a frame of this size. With
// relief_au_dessus the relief frame holds -11000 m … +9000 m exaggerated and the
// depth frame starts below it; otherwise the exaggerated relief stands on the
// sea-level line of the depths. The scale shrinks when the deepest focus would not
// fit. Nothing is done for another kind, an empty profile or a last distance of 0.
void CalculerMiseEnPage(TBitmapSIG& section, int largeur, int hauteur);

// The section's content over the background and border already drawn (laying it
// out first when mise_en_page is -1).
void DessinerCoupe(TBitmapSIG& section, TBitmap32& cible);

// Installs DessinerCoupe as the pictures' section renderer. The earthquake colour
// darkens with depth down to `profondeurLimite()` km (the map's depth limit).
void installerRenduCoupe(std::function<double()> profondeurLimite = {});

// The x of a distance (km) on a laid-out section.
int colonneDistance(const TBitmapSIG& s, double km);

} // namespace coupe
