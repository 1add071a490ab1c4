// The population grid: rows of 1440 counts (people per cell) of 0.25° × 0.25°
// cells, column i from longitude -180 + 0.25 i, row r centred on latitude
// 84.875 - 0.25 r, rows 0 to 563. A ".BIL" file holds rows 5 to 563, any other file
// rows 0 to 563; counts are unsigned 32-bit little-endian. From it: the density
// layer of the map and the people living below a sea level.
#pragma once

#include "map/grille.h"
#include "map/niveaumarin.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

struct TGrillePopulation {
    static constexpr int Colonnes = 1440;
    static constexpr int DerniereLigne = 563;

    int premiereLigne = 0;
    std::vector<std::uint32_t> comptes; // rows premiereLigne ... 563, west first
    double total = 0;                   // sum of every count: the world total

    bool vide() const { return comptes.empty(); }
    int nbLignes() const { return static_cast<int>(comptes.size() / Colonnes); }
    // Count of absolute row r (premiereLigne ... 563), column i.
    std::uint32_t compte(int r, int i) const
    {
        return comptes[static_cast<std::size_t>(r - premiereLigne) * Colonnes + static_cast<std::size_t>(i)];
    }
    static double latitudeLigne(int r) { return 84.875 - 0.25 * r; }
    static double longitudeColonne(int i) { return -180.0 + 0.25 * i; }
    // First row held by a file of that name: 5 for ".BIL" (any case), otherwise 0.
    static int premiereLigneDe(const QString& nomFichier);
    // Bytes such a file must have.
    static qint64 tailleAttendue(const QString& nomFichier);
};

// Reads the file whole. A missing file, or one not of the exact size its rows
// need, is refused with a French message naming the file; `p` is then unchanged.
bool lirePopulation(const QString& chemin, TGrillePopulation& p, QString* message = nullptr);
bool decoderPopulation(const QString& chemin, const QByteArray& octets, TGrillePopulation& p,
                       QString* message = nullptr);

// Opacity 0 … 255 of a density (people per km²): 0 up to `mini`, then linear up to
// 255 at `maxi`. Thresholds not in order (maxi <= mini) make a step at mini.
int alphaDensite(double densite, int mini, int maxi);

// The density layer of a W x H map shifted by D degrees: the colour with the
// opacity of each cell's density at pixel (round(i p) + shift, round((r + 20.5) p)),
// p = W / 1440 pixels per cell; opacities are interpolated linearly between the
// cells of a row (the last cell of a row joined to its first across the 180°
// meridian) and between the rows. Returns the world total.
double dessinerPopulation(TBitmap32& calque, const TGrillePopulation& p, int W, int H, int D, TColor32 couleur,
                          int mini, int maxi);

// People of the cells whose centre lies on grid cells below level L (with
// `atteinte`: those the ocean reaches below L). Cells with no one never count.
double populationMenacee(const TGrillePopulation& p, const TGrilleAltitude& g, int L,
                         const TAtteinteOcean* atteinte = nullptr);

// "Population menacée : 1 234 000 personnes (3 %)": the sum rounded to the nearest
// thousand, its share of the world total.
QString textePopulationMenacee(double somme, double total);
inline const char* const TexteMenaceNonCalculee = "Population menacée : non calculée";
