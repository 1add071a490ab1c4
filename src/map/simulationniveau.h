// The sea-level simulation over the map's elevation grid: the level/volume tables
// of both ways of flooding, computed from the grid in use when they are needed, and
// one level applied to the sea-level layer with the texts the calculator shows.
#pragma once

#include "map/niveaumarin.h"
#include "map/population.h"

#include <QString>

#include <optional>

// What applying a level gives to show.
struct ResultatNiveau {
    QString surface;     // "Surface recouverte : ..." / "Surface dégagée : ..." / empty at 0
    QString volume;      // "Volume d'eau correspondant : ..." / empty at 0
    QString population;  // "Population menacée : ..." or "... non calculée"
    bool populationCalculee = false;
    double menacee = 0;  // people below the level (before rounding)
};

class TSimulationNiveau {
public:
    explicit TSimulationNiveau(const TGrilleAltitude& grille) : grille_(grille) {}

    // The plain table computed again from the grid; the connected one is forgotten
    // (computed again when asked).
    void preparer();
    bool prete() const { return table_.has_value(); }

    // Flooding connected to the ocean only (otherwise every cell below the level).
    bool Reliee = false;

    const TTableSurfVol& table();        // plain flooding
    const TTableSurfVol& tableReliee();  // connected flooding
    const TTableSurfVol& tableEnUsage() { return Reliee ? tableReliee() : table(); }
    const TAtteinteOcean& atteinte();

    // Level L on the layer (W x H, shift D) and the texts; the threatened people
    // are counted when L >= 1 and a population grid is given (its world total is
    // `total`).
    ResultatNiveau appliquer(int L, TBitmap32& calque, int W, int H, int D, const TGrillePopulation* population,
                             double total);
    // The texts only.
    ResultatNiveau textes(int L, const TGrillePopulation* population, double total);

private:
    const TGrilleAltitude& grille_;
    std::optional<TTableSurfVol> table_;
    std::optional<TTableSurfVol> tableReliee_;
    std::optional<TAtteinteOcean> atteinte_;
};
