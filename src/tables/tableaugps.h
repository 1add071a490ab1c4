// The GPS data table without its window: the latitude/longitude filter of the
// stations, their sort by name, latitude or longitude, the texts of the grid's
// cells with the chosen number of significant digits, and the tab-separated text
// of the table (or of part of it) for a spreadsheet.
//
// The table shows TabTri, in its order; every change of TabTri goes through the
// data object, which tells the window (and the map) what changed.
#pragma once

#include "data/stores.h"

#include <QString>

#include <vector>

namespace tableaux {

// CritereTri.
enum Critere { ParNom = 0, ParLatitude = 1, ParLongitude = 2 };

// Significant digits of the numbers shown, with their bounds.
struct Chiffres {
    int LatLong = 12;     // 2 … 13
    int Altitude = 10;    // 2 … 13
    int Incertitudes = 4; // 1 … 5
    int Vitesses = 4;     // 1 … 5
    // The same brought within the bounds.
    Chiffres bornes() const;
    bool operator==(const Chiffres& o) const
    {
        return LatLong == o.LatLong && Altitude == o.Altitude && Incertitudes == o.Incertitudes &&
               Vitesses == o.Vitesses;
    }
};

// Names compared as byte strings: unsigned bytes, a proper prefix first (so an
// upper-case letter comes before every lower-case one).
bool nomAvant(const TStationGPS& a, const TStationGPS& b);
// Ascending and stable: stations that compare equal keep their order.
void trierStations(std::vector<TStationGPS>& stations, int critere);

// Filter: TabTri rebuilt from the window's bounds (bounds included, Longmin >
// Longmax across the 180° meridian, IncVitLat = 0 never passes). Returns its length.
int filtrer(TDonnees& d, const FiltreZone& bornes);
// Sort: TabTri rebuilt from the stations of TabStations whose Rang is not -1, each
// copy with its station's current Affiche and its index as Rang, then sorted.
// Returns its length.
int trier(TDonnees& d, int critere);

// Whether the vector of TabTri[k] is drawn: the mark of the station its Rang
// designates (the copy's own when it designates none).
bool stationAffichee(const TDonnees& d, int k);

constexpr int NbColonnes = 9;
constexpr int LignesEntete = 2;
// Columns whose header double click sorts or marks.
constexpr int ColonneNom = 0, ColonneMarque = 1, ColonneLatitude = 2, ColonneLongitude = 3, ColonneRang = 8;

// The two header rows.
QString entete(int ligne, int colonne);

// Appends v in the general format with `chiffres` significant digits and the
// system's separator, as carte::formatGeneral writes it (UTF-8, without the cost
// of a QString per number: a copy of the whole table writes a hundred thousand).
void ajouterGeneral(QByteArray& out, double v, int chiffres);

// The grid: two header rows, then one row per station of TabTri (two with the
// uncertainties shown: the station row and its uncertainty row under it).
class TGrilleGPS {
public:
    explicit TGrilleGPS(const TDonnees& d) : d_(d) {}

    Chiffres chiffres;
    bool incertitudes = false; // "Afficher les incertitudes"

    int lignesParStation() const { return incertitudes ? 2 : 1; }
    int nbStations() const { return static_cast<int>(d_.TabTri.size()); }
    // Rows of the grid, header rows included.
    int nbLignes() const { return LignesEntete + nbStations() * lignesParStation(); }
    // The index in TabTri of the station a row belongs to (an uncertainty row
    // belongs to the station above it); -1 for the header rows and past the end.
    int station(int ligne) const;
    bool ligneIncertitude(int ligne) const;
    // The station row of TabTri[k].
    int ligneStation(int k) const { return LignesEntete + k * lignesParStation(); }

    QString cellule(int ligne, int colonne) const;

    // "&Tout": the caption, then every row (header rows included), each its nine
    // cells joined by tabs, the hidden column included; one line each.
    QString texte(const QString& titre) const;
    // "la partie &sélectionnée": the caption, the header rows, then the rows from
    // `premiere` to `derniere` (grid rows; header rows in the range are not
    // repeated).
    QString textePartie(const QString& titre, int premiere, int derniere) const;

    // A cell's text appended as UTF-8.
    void ajouterCellule(QByteArray& out, int ligne, int colonne) const;

private:
    void ajouterLigne(QByteArray& t, int ligne) const;
    const TDonnees& d_;
};

} // namespace tableaux
