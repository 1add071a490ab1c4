// Lines of text with a small inline markup: "<b>", "<i>", "<u>", "<sup>", "<sub>"
// and their closing forms. Tags are case-sensitive and carry no attributes; any
// other "<" is ordinary text.
//
// Layout is done in two passes over the lines: the first measures each line in
// the fonts its tags select, the second draws the pieces side by side, each line
// offset by its alignment inside the block. The style state runs on from line to
// line within a pass (a tag left open applies to the following lines) and starts
// again from the base font at the beginning of each pass.
#pragma once

#include "ui/bitmap32.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QStringList>

#include <vector>

// One run of text drawn in one state of the markup.
struct TMorceauTexte {
    int ligne = 0;      // line index
    int x = 0;          // left of the piece
    int y = 0;          // top of the piece
    QString texte;
    QFont police;
};

// The result of laying out a block.
struct TMiseEnPageTexte {
    int hauteurLigne = 0;           // H: height of "EAjp" in the base font + 2
    int largeurBloc = 0;            // W: widest line (+ 8 when self-sized)
    int largeurTotale = 0;          // self-sized bitmap width
    int hauteurTotale = 0;          // self-sized bitmap height: H x lines + 4
    std::vector<int> largeurs;      // measured width of each line
    std::vector<TMorceauTexte> morceaux;
};

// Pixels per inch that point sizes are converted with (the screen's logical dpi,
// 96 without a screen).
int PixelsParPouce();

// Lays out `lignes` with the block's top-left at (x0, y0). When autoTaille is set
// the block spans the self-sized width (widest line + 8).
TMiseEnPageTexte MettreEnPageTexte(bool autoTaille, int x0, int y0, const QStringList& lignes, int alignement,
                                   const QFont& police);

// Draws onto a 32-bit bitmap. Self-sized: the target is resized to the block and
// cleared to `couleurFond` (x0 and y0 are then 0 for all callers). Otherwise the
// text is drawn in place over what is there, and `couleurFond` is unused.
void EcrireTexte(bool autoTaille, int x0, int y0, TBitmap32& cible, const QStringList& lignes,
                 TColor32 couleurTexte, TColor32 couleurFond, int alignement, const QFont& police);

// Draws onto an ordinary image, always self-sized: the image is replaced by one of
// the block's size filled with `couleurFond`, and the glyphs take `couleurPolice`.
void EcrireTexteCanevas(const QFont& police, const QColor& couleurPolice, int alignement,
                        const QColor& couleurFond, QImage& cible, const QStringList& lignes);
