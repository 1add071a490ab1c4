// Start folder and the configuration file "config.obc": nine file names, one a
// line, read once at start-up from the start folder.
#pragma once

#include <QString>

struct TConfiguration {
    // The folder the program started in, with a trailing "/".
    QString DossierDepart;
    // Base pictures: colour 3600, black and white 3600, colour 7200, black and white 7200.
    QString FondCouleur3600;
    QString FondNB3600;
    QString FondCouleur7200;
    QString FondNB7200;
    QString FichierGPS;
    QString FichierSeismes;
    QString FichierVolcans;
    // Elevation grid, as written in the file (relative names are taken from the
    // start folder); empty when the file gives none.
    QString FichierGrille;
    QString FichierPopulation;
    // The ocean-floor age picture and its colour scale, in the start folder.
    QString FichierAge;
    QString FichierEchelleAge;
    // Whether config.obc was read (false: every default was used).
    bool Lu = false;
};

// The start folder with a trailing separator.
QString dossierAvecSeparateur(const QString& dossier);

// Reads "config.obc" of the folder. Lines 1–7 and 9 are prefixed with the start
// folder. When the file cannot be opened every default is used; lines missing at
// the end of a shorter file take their defaults (no grid for line 8).
TConfiguration lireConfiguration(const QString& dossierDepart);

// The elevation grid path resolved against the start folder (empty stays empty).
QString cheminGrille(const TConfiguration& c);
