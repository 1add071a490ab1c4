// Elevation grids for the sea-level tests: small grids of any size with their own
// cell areas, and the map's full grid built from chosen blocks.
#pragma once

#include "map/grille.h"
#include "map/niveaumarin.h"
#include "map/population.h"

#include <QByteArray>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

struct PetiteGrille {
    int L;
    int C;
    std::vector<std::int16_t> z;
    std::vector<double> aires;

    PetiteGrille(int lignes, int colonnes, int fond) : L(lignes), C(colonnes), z(static_cast<std::size_t>(lignes * colonnes), static_cast<std::int16_t>(fond))
    {
        for (int r = 0; r < L; ++r)
            aires.push_back(100.0 * std::cos((r - (L - 1) / 2.0) * 1.4 / L) + 0.37 * r);
    }
    std::int16_t& at(int r, int c) { return z[static_cast<std::size_t>(r * C + c)]; }
    std::size_t index(int r, int c) const { return static_cast<std::size_t>(r * C + c); }
    // Cells r0 … r1, c0 … c1 (inclusive) at elevation e.
    void bloc(int r0, int r1, int c0, int c1, int e)
    {
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                at(r, c) = static_cast<std::int16_t>(e);
    }
    VueAltitudes vue() const
    {
        VueAltitudes v;
        v.z = z.data();
        v.lignes = L;
        v.colonnes = C;
        v.aires = aires;
        return v;
    }
};

// The map's grid (ten-minute cells), `fond` everywhere; blocks are set in degrees.
struct GrilleMonde {
    std::vector<std::int16_t> z;
    explicit GrilleMonde(int fond)
        : z(static_cast<std::size_t>(TGrilleAltitude::Lignes) * TGrilleAltitude::Colonnes, static_cast<std::int16_t>(fond))
    {
    }
    // Latitudes la0 … la1 and longitudes lo0 … lo1 (degrees, inclusive) at e.
    void bloc(double la0, double la1, double lo0, double lo1, int e)
    {
        for (int j = static_cast<int>(std::lround(la0 * 6)); j <= std::lround(la1 * 6); ++j)
            for (int k = static_cast<int>(std::lround(lo0 * 6)); k <= std::lround(lo1 * 6); ++k)
                z[static_cast<std::size_t>(TGrilleAltitude::DemiLignes - j) * TGrilleAltitude::Colonnes +
                  static_cast<std::size_t>(k + TGrilleAltitude::DemiColonnes)] = static_cast<std::int16_t>(e);
    }
    QByteArray octets() const
    {
        QByteArray o(static_cast<qsizetype>(z.size() * 2), Qt::Uninitialized);
        for (std::size_t i = 0; i < z.size(); ++i)
            qToLittleEndian<std::int16_t>(z[i], o.data() + 2 * i);
        return o;
    }
    void charger(TGrilleAltitude& g) const { g.chargerOctets(QStringLiteral("topo_10.bil"), octets()); }
};

// A population file of the given rows (first ... 563), every count 0 except the
// cells (row, column, count) given.
inline QByteArray fichierPopulation(int premiere, const std::vector<std::tuple<int, int, std::uint32_t>>& cellules)
{
    const int lignes = TGrillePopulation::DerniereLigne + 1 - premiere;
    QByteArray o(lignes * TGrillePopulation::Colonnes * 4, '\0');
    for (const auto& [r, i, n] : cellules)
        qToLittleEndian<std::uint32_t>(n, o.data() + 4 * ((r - premiere) * TGrillePopulation::Colonnes + i));
    return o;
}
// Row and column of the population cell at a latitude and a longitude.
inline int lignePopulation(double lat) { return static_cast<int>(std::lround((84.875 - lat) / 0.25)); }
inline int colonnePopulation(double lon) { return static_cast<int>(std::lround((lon + 180) / 0.25)); }
