// The plate model applied to GPS stations: each station's plate, the rotations
// of the plates, and the velocities the model predicts at the stations.
#pragma once

#include "data/records.h"
#include "plates/cinematique.h"
#include "plates/dessinplaques.h"
#include "plates/plaques.h"

#include <cstdint>
#include <vector>

namespace plaques {

// Rotation of each outline's plate (index of `contours`) relative to the Pacific
// plate; a plate without a pole gets a zero rotation and `aUnPole` false.
struct RotationsPlaques {
    std::vector<Vec3> omega;
    std::vector<bool> aUnPole;
    int indice(const TModelePlaques& m, const QString& code) const;
};
RotationsPlaques rotationsDesPlaques(const TModelePlaques& m);

// Rotation of plate `a` relative to plate `b` (codes); false when either has no pole.
bool rotationCouple(const TModelePlaques& m, const QString& a, const QString& b, Vec3& omega);

// The plate of each station, computed again only when the stations moved (their
// count or positions changed): the 17,000 stations of a large network are looked
// up once, not at every redraw.
class TPlaquesStations {
public:
    const std::vector<int>& pour(const std::vector<TStationGPS>& stations, const TModelePlaques& m);
    void oublier() { signature_ = 0; plaques_.clear(); }

private:
    std::uint64_t signature_ = 0;
    std::vector<int> plaques_;
};

// Model velocity of every station whose Affiche is 1 (all of them with
// `tousLesVecteurs`), its plate relative to plate `plaqueB` (outline index):
// (omega_A - omega_B) x r. Stations outside every plate, or on a plate without
// a pole, are left out.
std::vector<VecteurCalcule> vecteursModele(const std::vector<TStationGPS>& stations, const std::vector<int>& plaqueDe,
                                           const RotationsPlaques& rot, int plaqueB, bool tousLesVecteurs = false);

// The plate holding the most of the stations (outline index), -1 when none.
int plaqueMajoritaire(const std::vector<TStationGPS>& stations, const TModelePlaques& m);

} // namespace plaques
