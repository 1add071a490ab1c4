// Drawing objects (annotations) and the raster primitives they are drawn with.
//
// A TDessin is stored in document units and drawn onto any 32-bit bitmap at an
// origin and a scale. The primitives below are also called directly by the map
// (velocity vectors, zone frame), the sea-level diagram and the age overlay.
#pragma once

#include "ui/arrondi.h"
#include "ui/bitmap32.h"
#include "ui/polygon.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

// Kinds of drawing (TDessin::Nature).
constexpr std::uint8_t ndLibre = 0;     // freehand stroke
constexpr std::uint8_t ndLigne = 1;     // straight line, optional arrow heads
constexpr std::uint8_t ndRectangle = 2; // rectangle
constexpr std::uint8_t ndCercle = 3;    // circle
constexpr std::uint8_t ndTexte = 5;     // block of styled text

// Line styles (StyleTrait).
constexpr int stPlein = 0;   // solid
constexpr int stTirets = 1;  // dashed

// Arrow codes (Fleche).
constexpr int flAucune = 0;  // plain line
constexpr int flFin = 1;     // head at the end point
constexpr int flDouble = 2;  // heads at both ends

// Fill pattern codes (Remplissage).
constexpr int rmVide = 0;
constexpr int rmPlein = 1;
constexpr int rmVerticales = 2;
constexpr int rmHorizontales = 3;
constexpr int rmQuadrillage = 4;
constexpr int rmObliques1 = 5;
constexpr int rmObliques2 = 6;
constexpr int rmQuadrillageOblique = 7;

// Font style bits (StylePolice).
constexpr std::uint8_t spGras = 1;
constexpr std::uint8_t spItalique = 2;
constexpr std::uint8_t spSouligne = 4;
constexpr std::uint8_t spBarre = 8;

// Invisible but no longer empty: what pattern gaps and dash gaps are written with.
constexpr TColor32 clBlancAlpha1 = 0x01FFFFFF;


// True when the fill pattern `code` puts ink on pixel (x, y). Code 0 never does;
// unknown codes behave like an empty pattern.
bool MotifEncre(int code, int x, int y);

// Name shown in drawing lists for a drawing of this kind: the kind's list name
// followed by the running number ("Ligne 3").
QString NomListeNature(std::uint8_t nature);
QString NomDessin(std::uint8_t nature, int numero);

class TDessin {
public:
    TDessin();
    virtual ~TDessin();
    TDessin(const TDessin&) = delete;
    TDessin& operator=(const TDessin&) = delete;

    std::uint8_t Nature = ndLibre;
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    float XC = 0, YC = 0;
    float Rayon = 0;
    std::uint8_t Epaisseur = 0;          // thickness step 0..11; 0 is a one-pixel line
    TColor32 Couleur = clBlack32;        // line and text colour
    TColor32 CouleurFond = clWhite32;    // text background (kept, never painted)
    std::uint8_t Alignement = 0;         // 0 left, 1 centred, 2 right
    bool FondTransparent = true;         // kept, no effect on rendering
    std::uint8_t Opacite = 0;            // kept, no effect on rendering
    std::uint8_t Fleche = flAucune;
    std::uint8_t StyleTrait = stPlein;
    std::uint8_t Remplissage = rmVide;
    float TaillePolice = 10.0f;          // points at scale 1
    std::uint8_t StylePolice = 0;        // spGras | spItalique | spSouligne | spBarre
    QString NomPolice = QStringLiteral("Arial");
    QStringList Lignes;                  // text lines with inline markup
    TPolygon32 Trace;                    // freehand path, document units, 16.16 fixed point
    TBitmap32 Pointe;                    // 25 x 25 round tip, stamped blended

    // Copies every style and geometry field, the text lines and the path; a null
    // source leaves the drawing unchanged.
    void CopierDe(const TDessin* source);

    // Draws the drawing at origin (ox, oy) and scale s. `reference` is the picture
    // underneath (callers pass the target). False if drawing failed part-way.
    bool Dessiner(TBitmap32& target, const TBitmap32& reference, double ox, double oy, double s);

    // Redraws Pointe as a disc of radius Epaisseur in Couleur.
    void PreparerPointe();

    // The base font of a text block drawn at scale s.
    QFont PoliceAEchelle(double s) const;
};

// Freehand stroke: the path's points mapped by (x*s + ox, y*s + oy); thickness 0 is
// a one-pixel edge, otherwise the outline grown by t and filled.
void TracerChemin(const TPolygon32& path, int t, TColor32 colour, double ox, double oy, double s,
                  TBitmap32& target);

// Straight line of thickness t (4t + 1 parallel hairlines half a pixel apart),
// solid or dashed, with arrow heads per `arrow` (flAucune, flFin, flDouble).
// Nothing is drawn when both ends coincide.
void TracerLigne(int x1, int y1, int x2, int y2, TBitmap32& target, int style, int arrow, TColor32 colour,
                 int t);

// A line from (x, y) to (x + dx, y + dy) with a head at its end.
struct TFleche {
    int x, y, dx, dy;
};

// Solid lines of one colour and thickness, each with a head at its end: the very
// picture TracerLigne(x, y, x + dx, y + dy, target, stPlein, flFin, colour, t)
// gives, line after line in their order. The picture's rows are shared among
// `fils` threads (0: as many as the processor runs, on a large picture);
// `avant(debut, fin)`, when given, is called by each thread on its rows [debut,
// fin) before it draws the lines there (to clear them, say).
void TracerFleches(TBitmap32& target, const std::vector<TFleche>& fleches, TColor32 colour, int t,
                   const std::function<void(int, int)>& avant = {}, int fils = 0);

// Rectangle frame of thickness t around the corners, optionally filled with a
// pattern when the inside is larger than the frame.
void TracerRectangle(int x1, int y1, int x2, int y2, TBitmap32& target, int style, int fill, TColor32 colour,
                     int t);

// Circle of radius r and thickness t, optionally filled with a pattern when r > t.
void TracerCercle(int xc, int yc, int r, TBitmap32& target, int style, int fill, TColor32 colour, int t);

// Pattern fill of the fully transparent region (alpha 0) around the seed, four-way
// connected. Ink pixels take the colour, the others 0x01FFFFFF; both are written,
// not blended. A seed on a drawn pixel fills nothing. Iterative, never recursive.
void RemplirZone(int x, int y, TColor32 colour, TBitmap32& target, int fill);

// Round tip preview: clears `tip` to 25 x 25 transparent white and draws a disc of
// radius t centred on (13, 13).
void DessinerPointe(int t, TColor32 colour, TBitmap32& tip);

// Every pixel with the key's red, green and blue becomes that colour with alpha 0.
void RendreTransparent(TColor32 key, TBitmap32& bmp);
