// The plate model PB2002 (Bird 2003) turned into the three plate products of the
// data folder (boundaries with the kind of each step, plate outlines, Euler
// poles; formats in plates/plaques.h).
#pragma once

#include <QByteArray>
#include <QString>

namespace import_plaques {

inline const char* const SourceLimites = "plates/PB2002_boundaries.dig.txt";
inline const char* const SourcePas = "plates/PB2002_steps.dat.txt";
inline const char* const SourceContours = "plates/PB2002_plates.dig.txt";
inline const char* const SourcePoles = "plates/PB2002_poles.dat.txt";

struct Sources {
    QByteArray limites, pas, contours, poles;
    // Names used in messages.
    QString nomLimites, nomPas, nomContours, nomPoles;
};

struct Produits {
    QByteArray limites, contours, poles;
    int nbLimites = 0, nbPoints = 0, nbPlaques = 0, nbPoles = 0;
};

// Builds the three texts; false with a French message naming the source file and
// line at fault (and nothing built). Every text is read back with the program's
// reader before it is returned.
bool convertir(const Sources& s, Produits& p, QString& erreur);

} // namespace import_plaques
