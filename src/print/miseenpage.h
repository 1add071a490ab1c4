// Page layout of a print: one picture repeated in a grid of rows and columns on
// an A4 or A3 sheet, in portrait or landscape, with margins and spacing in whole
// millimetres. The layout finds the largest copy that fits the grid with the
// picture's height / width ratio, then centres the grid by growing the margins on
// the side that has room left.
//
// Everything here is headless: the print manager's window reads and writes these
// fields through its controls, and the printing functions (impression.h) place
// the cells from them.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

enum class FormatPapier { A4, A3 };
enum class OrientationPage { Portrait, Paysage };

class TMiseEnPage {
public:
    // The preview shows the page at this many pixels per millimetre.
    static constexpr double PixelsParMm = 0.6;
    static constexpr int MargeInitiale = 10;
    static constexpr int MargeMaxi = 420;
    static constexpr int EspacesMaxi = 200;
    static constexpr int LignesColonnesMaxi = 10;

    // Paper sides and the page as oriented (mm).
    int PetitCote = 210;
    int GrandCote = 297;
    int PW = 210; // page width
    int PH = 297; // page height
    int nblig = 1;
    int nbcol = 1;
    // Picture height / width.
    double R = 1.0;
    // Size of one printed copy (mm), from the last layout that succeeded; 0 before.
    int IW = 0;
    int IH = 0;
    int LargeurImprimable = 190;
    int HauteurImprimable = 277;
    int margegauche = MargeInitiale;
    int margedroite = MargeInitiale;
    int margehaut = MargeInitiale;
    int margebas = MargeInitiale;
    int espaces = 5;

    // The warning "Image trop petite." is up: the last layout could not fit a copy.
    bool Avertissement = false;
    // Values changed since the last layout ("Vérifier" is offered).
    bool AVerifier = false;

    FormatPapier format() const { return format_; }
    OrientationPage orientation() const { return orientation_; }

    // The layout. False when a copy would be 5 mm or less wide or high (4 mm or
    // less after fitting the height): the warning is raised and nothing else
    // changes, so the last good size and margins stay.
    bool MiseEnPage();

    // Margin and spacing edits: the texts of left, right, top, bottom and spacing,
    // read in that order up to the first that is not a whole number (margins kept
    // within 0..420, spacing within 0..200). The layout waits for "Vérifier".
    void margeChange(const QStringList& textes);

    // Both margins of one direction take their mean, rounded down (the layout is
    // not run: the grid keeps its size and moves to the middle of the page).
    void centrerVerticalement();
    void centrerHorizontalement();

    // The four margins back to 10 mm, then the layout.
    void RAZ();
    // New grid (each clamped to 1..10), then RAZ.
    void changerLignesColonnes(int lignes, int colonnes);
    // The page turns; then RAZ.
    void changerOrientation(OrientationPage o);
    // The paper changes; the layout runs with the current margins.
    void changerFormat(FormatPapier f);

    // Ratio of the picture to print (height / width); a ratio that is not a
    // positive number leaves the previous one.
    void definirRapport(double rapport);
    void definirRapport(int largeur, int hauteur);

    // The read-out of the copy size: "190 x 95".
    QString texteTaille() const;

    // The preview: the white page panel (the page at 0.6 px/mm with a 2-pixel
    // border: 130 x 182 for A4 portrait) and, inside it, the printed area.
    QSize panneauPage() const;
    QRect cadre() const;
    // The copies inside the printed area, in preview pixels relative to cadre().
    std::vector<QRect> cellulesApercu() const;

    // A copy size has been computed and the whole grid lies on the page with the
    // current margins and spacing: what printing needs.
    bool imprimable() const;

private:
    void orienter();

    FormatPapier format_ = FormatPapier::A4;
    OrientationPage orientation_ = OrientationPage::Portrait;
};
