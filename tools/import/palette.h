// Colour tables in the GMT "CPT" text layout: lines "z0 colour z1 colour [L|U|B]
// [;label]", colours as R/G/B, grey levels, "grayNN" or names; "B", "F", "N" lines
// for below, above and no data. Tables normalised to -1..1 with a hinge at 0 (the
// "# RANGE = min/max" and "# HARD_HINGE" comments) are stretched to their range.
#pragma once

#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct Palette {
    struct Tranche {
        double z0, z1;
        TColor32 c0, c1;
        QString etiquette;
    };
    std::vector<Tranche> tranches;  // in increasing z
    TColor32 dessous = 0xFF000000, dessus = 0xFFFFFFFF, sansDonnee = 0xFF808080;

    bool vide() const { return tranches.empty(); }
    double zMin() const { return tranches.front().z0; }
    double zMax() const { return tranches.back().z1; }
    // Colour of z, interpolated inside its slice; values beyond the ends take the
    // colour of the nearest end (not B/F), NaN the no-data colour.
    TColor32 couleur(double z) const;
};

// Parses a CPT text; false with a French message naming `nom` when no slice is found.
bool lirePalette(const QByteArray& texte, const QString& nom, Palette& p, QString* message);
bool chargerPalette(const QString& chemin, Palette& p, QString* message);
