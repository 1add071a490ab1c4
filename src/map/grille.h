// World elevation grid: signed 16-bit metres on ten-minute cells, rows j from -540
// (south) to 540 (north) and columns k from -1080 (west) to 1080 (east); the cell
// (0, 0) is latitude 0, longitude 0. Read once at start-up from a headerless file of
// little-endian values, north row first, west column first.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class TGrilleAltitude {
public:
    static constexpr int DemiLignes = 540;    // rows per hemisphere
    static constexpr int DemiColonnes = 1080; // columns per half-turn
    static constexpr int Lignes = 2 * DemiLignes + 1;
    static constexpr int Colonnes = 2 * DemiColonnes + 1;
    // Length of one grid step on a great circle, km (40000 km / 2160).
    static constexpr double PasKm = 18.518518518518519;

    TGrilleAltitude();

    // Grid step in minutes of arc from the file name: the name without its first
    // five characters and its four-character extension, read as an integer. Names
    // that give no usable step (empty, not a number, zero, or finer than the ten
    // minutes the array holds) give 10.
    static int pasDepuisNom(const QString& nomFichier);

    // Sets the step from the name, computes the per-row tables, then reads the file.
    // A file that cannot be opened leaves the grid at 0 and returns false; a short
    // file stops the reading and the cells not read stay 0.
    bool charger(const QString& chemin);
    // The same from the file's bytes already in memory (the name gives the step).
    void chargerOctets(const QString& nomFichier, const QByteArray& octets);

    int M() const { return m_; }      // step, minutes of arc
    int f() const { return f_; }      // grid points per degree
    bool charge() const { return charge_; }
    int mini() const { return mini_; }
    int maxi() const { return maxi_; }
    // The label text after a load: "mini : <min> ; maxi : <max>".
    QString texteMiniMaxi() const;

    // A (row, column) is on the grid when |row| <= 90 f and |column| <= 180 f.
    bool surGrille(int ligne, int colonne) const;
    // Altitude in metres; 0 off the grid.
    int altitude(int ligne, int colonne) const;

    // Cell width w(|j|) in km and cell area a(|j|) in km², |j| = 0 … 540.
    float largeur(int j) const { return w_[static_cast<std::size_t>(j < 0 ? -j : j)]; }
    float aire(int j) const { return a_[static_cast<std::size_t>(j < 0 ? -j : j)]; }
    const std::array<float, DemiLignes + 1>& tableLargeurs() const { return w_; }
    const std::array<float, DemiLignes + 1>& tableAires() const { return a_; }

    // Raw values, north row first (tests, overlays).
    const std::vector<std::int16_t>& valeurs() const { return z_; }

private:
    void calculerTables();
    void preparer(const QString& nomFichier);
    void lireValeurs(const QByteArray& octets);

    int m_ = 10;
    int f_ = 6;
    bool charge_ = false;
    int mini_ = 0;
    int maxi_ = 0;
    std::vector<std::int16_t> z_;
    std::array<float, DemiLignes + 1> w_{};
    std::array<float, DemiLignes + 1> a_{};
};
