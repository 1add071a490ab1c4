// Sea-level simulation on the elevation grid: the level/volume table (surface
// flooded or uncovered and water volume for each whole level from -200 to 250 m,
// water volume above each depth limit), its file "ModSVfH.fmo", the reach of the
// ocean over low ground, the look-ups of the calculator and the sea-level layer.
//
// Two ways of flooding. The plain one puts under water every cell below the level.
// The one "connected to the ocean" floods only the cells that the open ocean
// reaches through cells below the level (across the 180° meridian, not across the
// poles): a closed depression (the Caspian, the Dead Sea, Death Valley) stays dry
// until the sea spills into it. When the sea falls, a basin whose sill emerges
// keeps its water at the level of its sill.
#pragma once

#include "map/grille.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

// The elevations the simulation works on: `lignes` rows of `colonnes` values, north
// row first; the first and the last column lie on the same meridian (-180° and
// 180°), so that they touch. aires[r] is the area in km² of a cell of row r.
struct VueAltitudes {
    const std::int16_t* z = nullptr;
    int lignes = 0;
    int colonnes = 0;
    std::vector<double> aires;

    std::size_t taille() const { return static_cast<std::size_t>(lignes) * static_cast<std::size_t>(colonnes); }
    // The whole elevation grid with its per-row cell areas.
    static VueAltitudes de(const TGrilleAltitude& g);
};

struct TTableSurfVol {
    static constexpr int NiveauMin = -200;
    static constexpr int NiveauMax = 250;
    static constexpr int NbNiveaux = NiveauMax - NiveauMin + 1; // 451
    static constexpr int NbProfondeurs = 121;                   // limits 0, 100, ... 12000 m

    // S(L) km² (negative: uncovered) and V(L) km³ gained (L > 0) or lost (L < 0) by
    // the ocean when its level changes by L metres.
    std::array<double, NbNiveaux> S{};
    std::array<double, NbNiveaux> V{};
    // U(n): km³ of ocean water between the surface and the depth 100 n m.
    std::array<double, NbProfondeurs> U{};

    double surface(int L) const { return S[static_cast<std::size_t>(L - NiveauMin)]; }
    double volume(int L) const { return V[static_cast<std::size_t>(L - NiveauMin)]; }
    bool operator==(const TTableSurfVol& o) const { return S == o.S && V == o.V && U == o.U; }
    bool operator!=(const TTableSurfVol& o) const { return !(*this == o); }
};

// --- The table ---

// From every node of the grid, each row's cells weighted by the row's area. For a
// rise L >= 1: land at 1 <= e <= L goes under water (S += a, V += (L - e) a / 1000),
// the ocean (e <= 0) gains V += L a / 1000; for a fall L < 0: the sea floor at
// L <= e < 0 emerges (S -= a, V -= |e| a / 1000) and the deeper ocean loses
// V -= |L| a / 1000. U(n) sums min(|e|, 100 n) a / 1000 over the cells below 0.
// Every level is read from per-row counts accumulated once, so the whole table
// costs one pass over the grid.
TTableSurfVol calculerTableSurfVol(const VueAltitudes& v);

// --- Reach of the ocean ---

// For every cell, the lowest sea level at which the open ocean reaches it through
// cells at or below that level: the highest elevation met on the lowest path from
// the ocean (never below the cell's own elevation). The open ocean is the deepest
// cell of the largest connected area below 0 m. Only the levels of the table
// (-200 ... 250 m) are told apart: a cell reached below all of them gets `Profond`,
// one reached only above them (or never: a grid with no cell below 0 has no
// ocean) keeps `Jamais`.
struct TAtteinteOcean {
    static constexpr std::int16_t Profond = -201;
    static constexpr std::int16_t Jamais = std::numeric_limits<std::int16_t>::max();
    std::vector<std::int16_t> niveau; // per cell, in the order of the grid
    long long graine = -1;            // the ocean's seed cell, -1 without ocean

    bool vide() const { return niveau.empty(); }
};
TAtteinteOcean calculerAtteinteOcean(const VueAltitudes& v);

// The same table for the flooding connected to the ocean: for a rise, only the
// cells reached at that level count; for a fall, a cell of today's ocean loses the
// water above max(L, its reach) (a basin cut off keeps its water at its sill's
// level) and emerges only where nothing holds water over it; U counts today's
// ocean only. Equal to calculerTableSurfVol where no low ground is cut off.
TTableSurfVol calculerTableSurfVolReliee(const VueAltitudes& v, const TAtteinteOcean& atteinte);

// --- The file "ModSVfH.fmo" ---

constexpr int TailleFichierSurfVol = 8184; // 451 pairs S, V then 121 U, little-endian doubles
QByteArray encoderTableSurfVol(const TTableSurfVol& t);
// False unless the bytes are exactly one table.
bool decoderTableSurfVol(const QByteArray& octets, TTableSurfVol& t);
// Written under a temporary name and renamed. On failure `message` names the file.
bool ecrireTableSurfVol(const QString& chemin, const TTableSurfVol& t, QString* message = nullptr);
bool lireTableSurfVol(const QString& chemin, TTableSurfVol& t, QString* message = nullptr);

// --- The calculator ---

// The level at which the ocean has gained volume A (km³; negative: lost): 0 for 0;
// otherwise the first L from -200 to 199 with V(L) < A < V(L + 1), interpolated
// linearly. Nothing when A is outside that range (or equal to one of its values).
std::optional<double> niveauPourVolume(const std::array<double, TTableSurfVol::NbNiveaux>& V, double A);
// Thermal expansion: the water volume (km³) times the coefficient (/°C) times the
// warming (°C).
double augmentationVolumeThermique(double volumeEau, double coefficient, double rechauffement);
// Change of the ocean's water, ridges and sediment volumes, each in millions of km³,
// as km³.
double variationVolumeOcean(int eau, int dorsales, int sediments);

// --- Texts of the calculator ---

// "Surface recouverte : 1 234 km²" (L >= 1), "Surface dégagée : ..." (L < 0), empty at 0.
QString texteSurface(int L, const TTableSurfVol& t);
// "Volume d'eau correspondant : 1 234 km3", empty at 0.
QString texteVolume(int L, const TTableSurfVol& t);
QString texteRemontee(const std::optional<double>& niveau);
QString texteAugmentationVolume(double km3);
inline const char* const TexteHorsModele = "Les valeurs entrées sortent du cadre du modèle";

// --- The sea-level layer ---

constexpr TColor32 CouleurTerre = 0x9000FF00;   // above the level
constexpr TColor32 CouleurMer = 0xC00000FF;     // under water
constexpr TColor32 CouleurIsolee = 0xB0FF9900;  // below the level but cut off from the ocean

// What a cell shows at level L: under water, dry, or (connected flooding only) low
// ground or water the ocean does not reach.
enum class EtatCellule { Terre, Mer, Isolee };
inline EtatCellule etatCellule(int e, int L)
{
    return e < L ? EtatCellule::Mer : EtatCellule::Terre;
}
inline EtatCellule etatCelluleReliee(int e, int atteinte, int L)
{
    if (atteinte < L)
        return EtatCellule::Mer;
    if (e < L || (e < atteinte && atteinte < 0))
        return EtatCellule::Isolee;
    return EtatCellule::Terre;
}

// The layer (W x H, the map shifted by D degrees) coloured pixel by pixel from the
// grid cell under it: row round((H/2 - y) f / H 180), column round((x - W/2) 360 f / W
// - D f) brought once into [-180 f, 180 f]. With `atteinte` (of this grid), the
// flooding connected to the ocean.
void dessinerNiveauMarin(TBitmap32& calque, const TGrilleAltitude& g, int W, int H, int D, int L,
                         const TAtteinteOcean* atteinte = nullptr);
