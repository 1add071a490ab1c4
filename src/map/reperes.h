// Landmarks: named points typed into a table, loaded from a ".obf" file or
// collected along a path, drawn on the map's traces layer with their names
// placed around them and optionally joined by straight lines or great circles.
#pragma once

#include "ui/bitmap32.h"

#include <QByteArray>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace carte {

// Where a landmark's name goes relative to its point: "N" above, "S" below,
// "E" right, "O" left (the default), "P" no point, the name starts at the position.
struct TRepere {
    QString Nom;                          // at most LongueurNomRepere characters
    double Latitude = 0;
    double Longitude = 0;
    QString Disposition = QStringLiteral("O");
};

constexpr int LongueurNomRepere = 15;

// One group of landmarks with its two flags: join the points, and join them by
// great circles rather than straight lines.
struct GroupeReperes {
    std::vector<TRepere> reperes;
    bool relier = false;
    bool grandsCercles = false;
};
using TGroupesReperes = std::vector<GroupeReperes>;

// One faulty cell of a table row.
struct ErreurRepere {
    int ligne = 0;   // grid row: 1 is the first row under the headers
    int colonne = 0; // 0 name, 1 latitude, 2 longitude, 3 disposition
    QString raison;  // French, e.g. "latitude « abc » illisible"
    QString nom;     // the row's name when it is a usable one, to point the row out
};

// The content of the landmark table: cells row by row, row 0 holding the headers,
// and the two check boxes saved with it.
struct TGrilleReperes {
    std::vector<QStringList> cellules;
    bool relier = false;
    bool grandsCercles = false;
    // The rows the last lireReperesGrille ignored, with their faults. Not part of
    // the content: neither compared nor saved.
    std::vector<ErreurRepere> lignesIgnorees;

    static constexpr int NbColonnes = 4;
    // The headers and one empty row.
    static TGrilleReperes nouvelle();
    static QStringList entetes();

    int lignes() const { return static_cast<int>(cellules.size()); }
    int colonnes() const;
    QString cellule(int ligne, int colonne) const;
    // Grows the rows (and their cells) as needed.
    void definirCellule(int ligne, int colonne, const QString& texte);
    bool operator==(const TGrilleReperes& o) const
    {
        return cellules == o.cellules && relier == o.relier && grandsCercles == o.grandsCercles;
    }
};

// The disposition kept for a typed text: the first letter, in upper case, when it
// is N, S, E or P; "O" otherwise.
QString dispositionDepuisTexte(const QString& texte);

// The disposition letter of a table cell, or an empty string when the text names
// none. Accepted, in any case and with blanks around: nothing (the default "O"),
// one of the letters N, S, E, O, P, or the words "nord", "sud", "est", "ouest",
// "pas de point".
QString dispositionReconnue(const QString& texte);

// Bounds of the table's cells. Longitudes are taken as typed, from -180 to 180: a
// longitude beyond them is refused rather than brought back, a typing slip being
// more likely than the 0..360 convention. Names longer than LongueurNomRepere
// are refused rather than cut, so that no name is shortened behind the user's back.
constexpr double LatitudeMaxRepere = 90;
constexpr double LongitudeMaxRepere = 180;

// The faults of one data row, in column order; none when the row gives a landmark
// (then written to *repere when given). A coordinate is read after its first other
// decimal mark is replaced by the system's separator.
std::vector<ErreurRepere> verifierLigneRepere(const TGrilleReperes& grille, int ligne, TRepere* repere = nullptr);
// Whether a data row is blank (no name, latitude or longitude): such rows are
// skipped without a word.
bool ligneRepereVide(const TGrilleReperes& grille, int ligne);
// The faults of every non-blank data row, row by row.
std::vector<ErreurRepere> verifierGrilleReperes(const TGrilleReperes& grille);

// One French message listing the ignored rows and why, e.g.
// "Ligne 3 (Brest) ignorée : latitude « abc » illisible.", one row a line; past
// `maxLignes` rows the rest is counted ("… et 4 autres lignes ignorées.").
// Empty when there is no fault.
QString messageLignesIgnorees(const std::vector<ErreurRepere>& erreurs, int maxLignes = 8);

// Reads the landmarks of the table from row 1 on. Blank rows are skipped; a row
// with a faulty cell (see verifierLigneRepere) is ignored, the reading goes on
// with the next one, and its faults are kept in grille.lignesIgnorees. Kept rows
// have their cells rewritten as read: the first other decimal mark of a
// coordinate becomes the system's separator, the disposition its letter. Ignored
// rows stay as typed.
std::vector<TRepere> lireReperesGrille(TGrilleReperes& grille);

// Landmark file: the column count, the row count (headers included), every cell
// row by row, then "R" or "N" (join the points) and "GC" or "N" (by great
// circles); one value per line, lines ended by CR LF, text in Windows-1252.
QByteArray ecrireFichierReperes(const TGrilleReperes& grille);
// False (and `erreur` set to a French message, the grid left untouched) when the
// text is not a landmark file.
bool lireFichierReperes(const QByteArray& donnees, TGrilleReperes& grille, QString* erreur = nullptr);
bool chargerFichierReperes(const QString& chemin, TGrilleReperes& grille, QString* erreur = nullptr);
bool enregistrerFichierReperes(const QString& chemin, const TGrilleReperes& grille, QString* erreur = nullptr);

// Tab-separated text for the clipboard: the title line, then the rows (only the
// block [ligne0, ligne1] x [colonne0, colonne1] for the second form).
QString texteTabule(const QString& titre, const TGrilleReperes& grille);
QString texteTabule(const QString& titre, const TGrilleReperes& grille, int ligne0, int colonne0, int ligne1,
                    int colonne1);

// Landmark text of a path vertex coordinate: up to two decimals ("##0.##").
QString texteCoordonneeRepere(double v);

// Sum of the great-circle distances between consecutive landmarks (whole km each).
int longueurGroupe(const std::vector<TRepere>& reperes);

struct StyleReperes {
    TColor32 couleur = clBlack32;
    bool pointsEpais = true;
    QFont police = QFont(QStringLiteral("Arial"), 10);
};

// Draws every group onto the traces layer (map-sized): each landmark's point
// (unless "P"), the link from the previous landmark when the group is joined, and
// the name placed by the disposition. Returns the pixels touched; with `zones`,
// small rectangles covering each drawn item are appended.
QRect dessinerGroupesReperes(const TGroupesReperes& groupes, TBitmap32& cible, int decalage,
                             const StyleReperes& style, std::vector<QRect>* zones = nullptr);

// Top-left corner of a name of size (largeur, hauteur) for a point at (x, y).
QPoint positionNom(const QString& disposition, int x, int y, int largeur, int hauteur);

} // namespace carte
