// The station positioning exercise: a 540 × 270 world map (plate carrée from
// 90° N at the top and 180° W at the left) divided into 18 × 9 squares of 20°,
// 30 pixels each. A square is numbered column + 18 × row + 1 (1 … 162); 0 means
// none.
#pragma once

#include "ui/bitmap32.h"

#include <QPoint>
#include <QString>

constexpr int LargeurPlanis = 540;
constexpr int HauteurPlanis = 270;
constexpr int CoteCarre = 30;
constexpr int ColonnesCarres = 18;
constexpr int LignesCarres = 9;

struct Carre {
    int colonne = -1;
    int ligne = -1;
    bool valide() const { return colonne >= 0 && colonne < ColonnesCarres && ligne >= 0 && ligne < LignesCarres; }
    int numero() const { return valide() ? colonne + ColonnesCarres * ligne + 1 : 0; }
    QPoint coin() const { return {CoteCarre * colonne, CoteCarre * ligne}; }
};

// The square holding a position. The edges of the map belong to the squares
// beside them: latitude -90 to the bottom row, longitude 180 to the last column.
// Any longitude is first brought into -180 … 180. An invalid square for a
// latitude beyond ±90 or a value that is not a number.
Carre carreDePosition(double latitude, double longitude);
// The square under a point of the picture; invalid outside it.
Carre carreDuPoint(int x, int y);
Carre carreDeNumero(int numero);

// "Latitude : 45,5° N", "Longitude : 6,1° E" (general format, 4 significant
// digits; no letter at 0).
QString texteLatitude(double latitude);
QString texteLongitude(double longitude);

// The exercise's picture made from the map's base picture `fond` as the map
// shows it (any size, rolled by the map's longitude shift `decalage`, in
// degrees), brought back to geographic longitudes, reduced to 540 × 270 by
// averaging, with the squares' grid drawn over it.
TBitmap32 planisphereExercice(const TBitmap32& fond, int decalage);
// The reduction alone (each pixel the mean of the base pixels it covers).
TBitmap32 reduirePlanisphere(const TBitmap32& fond, int decalage, int largeur, int hauteur);
// The grid of the squares drawn over a 540 × 270 picture (the equator dotted).
void dessinerGrille(TBitmap32& image);
