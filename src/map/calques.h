// The map's layer stack (bottom to top), the order in which layers are rebuilt
// after a change of base picture, and the choice of base picture from the
// display-choice flags.
#pragma once

#include <QString>

#include <vector>

enum class Calque {
    AgeFonds = 0,   // ocean-floor age
    Population,
    NiveauMarin,    // sea level
    Plaques,        // plate boundaries and their legend
    GPS,            // stations, vectors and the background veil
    VecteursModele, // velocities of the plate model, and residuals of a fitted pole
    Seismes,
    Volcans,
    Traces,         // great circles, paths, sections, landmarks
    Legende,        // vector legend while it is being placed
    Interaction,    // rubber bands and zone frames
};
constexpr int NbCalques = 11; // above the base picture

// Stack position of each layer, 1 being the base picture.
constexpr int rangDansPile(Calque c) { return static_cast<int>(c) + 2; }

// What a rebuild looks at: which layers hold a picture, which menu items are checked.
struct EtatReconstruction {
    bool AgeAUneImage = false;
    bool TracesAUneImage = false;
    bool SeismesCoche = false;
    bool VolcansCoche = false;
    bool GPSCoche = false;
    bool NiveauMarinCoche = false;
    bool PopulationCoche = false;
    bool PlaquesAUneImage = false;
};

enum class EtapeReconstruction {
    ReplacerCalques,   // every layer holding a picture placed over (0, 0, W, H)
    Age,
    Seismes,
    Volcans,
    GPS,
    NiveauMarin,
    Population,
    Traces,
    Plaques,
};

// The steps of a rebuild, in order.
std::vector<EtapeReconstruction> ordreReconstruction(const EtatReconstruction& e);

// The base pictures named by the configuration.
struct NomsFonds {
    QString Couleur3600;
    QString NB3600;
    QString Couleur7200;
    QString NB7200;
};

// Base picture to load when the display-choice dialog is confirmed with the
// boxes "Fond N/B" (nb) and "Carte précise" (precise), given the flags of the
// picture in place. `charger` false: keep the picture in place.
struct ChoixFond {
    bool charger = false;
    QString fichier;
    QString messageEchec;
    bool FondNB = false;
    bool Precise = false;
};
ChoixFond choisirFond(bool nb, bool precise, bool fondNBAffiche, bool cartePrecise, const NomsFonds& noms);
