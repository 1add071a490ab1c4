// The products of the data folder, each built from the public sources by its own
// function. Every file is written under a temporary name and renamed when
// complete, so a failure leaves no half-written file behind.
#pragma once

#include "data/records.h"
#include "import/grilles.h"
#include "import/palette.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct Contexte {
    QDir sources;  // the staged public data sets (folders earthquakes/, relief/, ...)
    QDir sortie;   // the data folder being built
    // Files given on the command line to replace the default catalogues.
    QString seismes, volcans, gps;
    // The help pages to copy into the data folder's "aide" (empty: none).
    QString aide;
    // Calibrations (".etl") written beside the time-series pictures, for a viewer
    // that measures without calibrating first.
    bool etalonnages = false;
    // Only what the sources' licences allow to redistribute (the data package):
    // the ocean-floor age and the series of unknown origin are left out, and the
    // credits say so.
    bool diffusion = false;
};

struct Produit {
    QString nom;                 // short name shown in messages
    QStringList sources;         // files read, relative to Contexte::sources (or absolute)
    QStringList sorties;         // files written, relative to Contexte::sortie
    // Builds the product; false with a French message naming the file at fault.
    std::function<bool(const Contexte&, QStringList& journal, QString& erreur)> construire;
};

// Every product, in the order of the configuration file where it applies.
std::vector<Produit> listeProduits(const Contexte& ctx);

// Names written in "config.obc" (nine lines) and in the data list.
namespace NomsDonnees {
inline const char* const Couleur3600 = "planisphere3600.jpg";
inline const char* const NB3600 = "planisphere_nb2.jpg";
inline const char* const Couleur7200 = "planisphere7200.jpg";
inline const char* const NB7200 = "planispherenb.jpg";
inline const char* const GPS = "table2.txt";
inline const char* const Seismes = "s.fse";
inline const char* const Volcans = "volcans.fvo";
// The elevation grid's name without its first five characters and its extension
// gives the grid step in minutes: "topo_" + "10" + ".bil".
inline const char* const Relief = "topo_10.bil";
inline const char* const Population = "gpw2020.tdp";
inline const char* const Age = "age_unavcob.png";
inline const char* const EchelleAge = "echelle_age.png";
inline const char* const Exemples = "exemples.txt";
inline const char* const Credits = "credits.txt";
inline const char* const Liste = "autres_donnees.cft";
} // namespace NomsDonnees

// ---- pieces exposed for the tests ----------------------------------------------

struct BilanCatalogue;

// The rows a catalogue reading skipped, in French, with their reasons by
// decreasing count: "aucune ligne écartée", "54 lignes sans profondeur écartées",
// "124 lignes écartées : 70 lignes d'événements non sismiques, 54 lignes sans
// profondeur". Rows without a recorded reason are still counted.
QString texteIgnores(const BilanCatalogue& b);

// Drops the volcanoes from index `debut` on (a second list, with `numeros` its
// volcano numbers index for index, 0 when missing) that repeat one before
// `debut`: same volcano number, or, when a number is missing, same name (case
// ignored) within 0.1 degree. The first entry is kept; returns how many went.
int retirerDoublonsVolcans(std::vector<TVolcan>& volcans, std::vector<int>& numeros, std::size_t debut);

// Writes data through a temporary file renamed at the end.
bool ecrireAtomique(const QString& chemin, const QByteArray& donnees, QString& erreur);

// The elevation grid file: 1081 rows (north first) of 2161 little-endian int16,
// node (row j, column k) at latitude 90 - j/6, longitude -180 + k/6, sampled from
// any grid (exact copy when the grid has these very nodes).
QByteArray grilleAltitudes(const Grille& relief);

// Population rows of 1440 uint32 counts (0.25 degree cells, row r centred on
// latitude 84.875 - 0.25 r, r = 0..563, column i on -180 + 0.25 i ... as cell
// west edge). Counts come from the 0.25 degree densities times the cells' areas,
// rescaled in each 0.5 degree block so that the block keeps its count from the
// 0.5 degree count grid (rounded by largest remainder, so block totals are exact).
QByteArray grillePopulation(const Grille& densite025, const Grille& comptes05, double* total = nullptr,
                            double* totalSource = nullptr);

// Shaded relief picture of size w x h (plate carrée, north up, -180 at the left
// edge). Colour from the table, or light greys when `gris` is true.
TBitmap32 planisphere(const Grille& relief, const Palette& palette, int w, int h, bool gris);

// Age picture: ocean floor coloured by age (Myr), everything else pure white.
TBitmap32 imageAges(const Grille& ages, const Palette& palette, int w, int h);
// The scale of the age picture, labelled in French in millions of years.
TBitmap32 echelleAges(const Palette& palette);

// Lines of "exemples.txt": code, two skipped characters, then latitude, longitude,
// height, north and east velocity separated by tabs.
QByteArray texteExemples(const std::vector<TStationGPS>& stations);
