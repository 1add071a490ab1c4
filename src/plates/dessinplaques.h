// Drawing of the plate boundaries (coloured by kind, subduction teeth on the
// overriding plate), of their legend, and of the vectors computed from the plate
// model (predicted velocities, residuals of a fitted pole) through any projection.
#pragma once

#include "map/projection.h"
#include "plates/cinematique.h"
#include "plates/plaques.h"
#include "ui/bitmap32.h"

#include <QRect>

#include <array>
#include <cstdint>
#include <vector>

namespace plaques {

struct StyleLimites {
    // Colour of each family (FamilleLimite order).
    std::array<TColor32, NbFamilles> couleurs{0xFFFFE000,  // ridges: yellow
                                              0xFFFF2A2A,  // subduction: red
                                              0xFF3CE03C,  // transforms: green
                                              0xFFFF9A00,  // convergence: orange
                                              0xFF20E0FF}; // rifts: cyan
    TColor32 lisere = 0xA0000000; // dark edge that keeps the lines visible on any ground
    // Size factor: 1 on the 3600-pixel map, 2 on the 7200-pixel one.
    double echelle = 1;
    bool legende = true;
};

// What a drawing on a layer covered: the tiles it touched, so that the next
// drawing clears only them.
struct TracesCalque {
    int largeur = 0, hauteur = 0;
    std::vector<std::uint8_t> tuiles; // kTuile x kTuile pixels each, row by row
    static constexpr int kTuile = 64;
};

// Clears the layer and draws every boundary step through the projection; steps
// whose two ends are far apart on the picture (across the map's seam, or from
// one disc to the other) are left out. With `legende`, the legend is drawn at
// the bottom left. Returns the legend's rectangle (empty without one).
// With `traces`, only what its last drawing on this layer covered is cleared
// (the whole layer when its size changed), and it records what this one covers.
QRect dessinerLimites(TBitmap32& calque, const std::vector<SegmentLimite>& limites, const carte::TProjection& proj,
                      const StyleLimites& style, TracesCalque* traces = nullptr);

// The legend picture alone (translucent white ground, the five families).
TBitmap32 legendeLimites(const StyleLimites& style);

// One computed vector: east and north components (mm/an) at a point.
struct VecteurCalcule {
    double longitude = 0, latitude = 0;
    double est = 0, nord = 0;
};

// Draws arrows from each point, `echelle` pixels per mm/an, along the
// projection's local frame, in `couleur`; the layer is not cleared. With
// `traces`, the tiles drawn are recorded.
void dessinerVecteurs(TBitmap32& calque, const std::vector<VecteurCalcule>& vecteurs, const carte::TProjection& proj,
                      double echelle, TColor32 couleur, int epaisseur, TracesCalque* traces = nullptr);
// Clears what `traces` recorded on the layer (all of it when the size changed)
// and starts a new record.
void effacerTraces(TBitmap32& calque, TracesCalque& traces);

} // namespace plaques
