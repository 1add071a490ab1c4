// Directions of the vector exercises: the eight directions a pupil chooses from,
// the answer expected for a displacement, and the arrow that shows the choice.
#pragma once

#include "ui/bitmap32.h"

#include <QPoint>
#include <QString>

// Direction codes, clockwise from north (the radio buttons' tags).
enum Direction : int { Nord = 0, NordEst, Est, SudEst, Sud, SudOuest, Ouest, NordOuest, NbDirections };

// The button's caption ("Nord", "N-E", "Est"…) and the answer's text (" N", " N-E"…).
QString libelleDirection(int code);
QString texteDirection(int code);

// What is right for a displacement of `nord` mm/an towards the north and `est`
// towards the east.
struct ReponseAttendue {
    bool valide = false;  // false for a displacement of zero length: nothing to ask
    int direction = -1;   // the quadrant (N-E, S-E, S-O, N-O), or the cardinal direction
                          // alone when a component is exactly zero
    int aussi = -1;       // the cardinal direction also accepted when one component
                          // is more than ten times the other; -1: none
    QString texte;        // " N-E", " N-E (ou N)", " S"…
    bool accepte(int code) const { return valide && (code == direction || code == aussi); }
};

ReponseAttendue reponseAttendue(double nord, double est);

// The arrow of a direction in the 65 × 65 picture: from the centre (32, 32) to the
// tip, then from the tip to each barb.
constexpr int CoteFleche = 65;
struct FlecheDirection {
    QPoint pointe, barbe1, barbe2;
};
FlecheDirection flecheDirection(int code);
// The picture cleared to `fond` with the arrow of `code` in `trait` (a code out of
// 0 … 7 leaves the picture clear). With `echelle` 2 the same picture is drawn at
// twice its size (65 × 2 pixels a side), for the screen.
void dessinerFleche(TBitmap32& image, int code, TColor32 fond, TColor32 trait, int echelle = 1);
