// The cross-section window without its window: the base image cut into one, two
// or four frames (or two sections superposed, the upper one sliding sideways),
// each frame's picture drawn from its data at the frame's size, the readouts and
// measures under the mouse, and the tools that annotate a section or a legend
// (pencil, line, shape, text placing, measure, crust colouring, colour picker).
//
// Coordinates are base-image pixels (the window removes its view's zoom and
// scroll). An annotation is kept in km from its picture's origin (left margin,
// sea-level row of the depths), so that it follows the section at any size.
#pragma once

#include "section/imagescoupe.h"
#include "ui/raster_compose.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>

namespace coupe {

// The tools (the tags of the window's tool buttons).
constexpr int ocCrayon = 0;
constexpr int ocLigne = 1;
constexpr int ocForme = 2;
constexpr int ocTexte = 4;
constexpr int ocMesure = 5;
constexpr int ocCroute = 6;
constexpr int ocPipette = 7;

// The frame under a base pixel and where it starts.
struct CadreSouris {
    int cadre = 0;
    int ox = 0;
    int oy = 0;
};

// The readout and the measure between two base pixels over picture `s` (frame
// offsets ox, oy); `outil` decides whether positions are read.
QString texteLecture(const TBitmapSIG& s, bool coupe, int outil, QPoint p, int ox, int oy);
QString texteMesure(const TBitmapSIG& s, bool coupe, QPoint p0, QPoint p1, int oy);

class TVueCoupes : public TImageSource {
public:
    TVueCoupes();
    ~TVueCoupes() override;
    TVueCoupes(const TVueCoupes&) = delete;
    TVueCoupes& operator=(const TVueCoupes&) = delete;

    TImagesCoupe images;

    // --- The base image and its frames ---
    void definirTaille(int largeur, int hauteur);
    QSize taille() const { return QSize(pile_.base.width(), pile_.base.height()); }
    // Draws every frame again from its picture (after any change).
    void DessinerCadres();
    // Where frame k lies in the base image (empty when it is not shown).
    QRect placeCadre(int k) const;
    CadreSouris CadreSous(int x, int y) const;
    // The slide of the upper section when superposed (ScrolC2), within ± half the
    // base width.
    int decalageSuperposition() const { return decalageSup_; }
    void definirDecalageSuperposition(int px);

    // --- What is shown ---
    QSize imageSize() const override { return taille(); }
    void compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background) const override;
    // The whole view merged at the base size ("&Copier", saving, printing).
    TBitmap32 imageAffichee() const;
    // The bitmap of frame k ("&Copier la coupe").
    const TBitmap32& imageCadre(int k) const;
    TColor32 pixelAffiche(const QPoint& p) const;

    // --- Tool state ---
    int outil = ocMesure;
    TColor32 couleur = clBlack32;
    TColor32 couleurFondTexte = clWhite32;
    int epaisseur = 0; // 0 … 11
    int remplissage = 0;
    int style = 0;     // 0 solid, 1 dashed
    int fleche = 0;
    bool rectangle = true;
    const TBitmap32& pointe() const { return pointe_; }
    void definirCouleur(TColor32 c);
    void epaisseurMoins();
    void epaisseurPlus();

    // --- The mouse (base pixels) ---
    // Readouts, and with the left button down the tool's rubber shape and measure.
    void deplacement(const QPoint& p, bool gauche);
    // Left press: false when ignored (no section shown, outside the image).
    bool appui(const QPoint& p);
    // Ends a stroke, a line, a shape or a colouring; true when something was kept.
    bool relachement(const QPoint& p);
    // Right press: the frame under the pointer becomes current; false outside.
    bool choisirCadre(const QPoint& p);
    const CadreSouris& cadreCourant() const { return courant_; }
    // The picture shown in the current frame.
    int imageCourante() const { return images.cadre(courant_.cadre); }
    const QString& texteXP() const { return texteXP_; }
    const QString& textePente() const { return textePente_; }
    // The measure line stays after its release until the next press.
    bool mesureGardee() const { return mesureGardee_; }

    // --- A text block being placed (text tool) ---
    void placerTexte(const QPoint& p, const QStringList& lignes, const QFont& police, int alignement);
    bool placementTexte() const { return placement_; }
    void deplacerTexte(const QPoint& coin);
    void definirTexteTransparent(bool transparent);
    // OK: the block becomes a text annotation of the current frame's picture where
    // it lies (true). Otherwise it goes.
    bool validerTexte(bool ok);
    QRect placeTexte() const;

    // Called with the base rectangle to repaint (empty: all).
    std::function<void(const QRect&)> aRepeindre;

private:
    std::vector<const TBitmapLayer*> couches() const;
    void repeindre(const QRect& r = QRect());
    void effacerOutil();
    void noterOutil(const QRect& r);
    QPointF versKm(const QPoint& p) const;
    void garderDessin(std::unique_ptr<TDessin> d);
    bool garderZone(const QPoint& p);
    void majTexteLayer();

    TLayerStack pile_;
    std::array<TBitmapLayer*, NbCadresMax> cadres_{};
    TBitmapLayer* outil_ = nullptr;
    TBitmapLayer* texte_ = nullptr;
    std::array<QRect, NbCadresMax> places_{};
    QRect zoneOutil_; // what the tool layer holds since it was last cleared
    int decalageSup_ = 0;

    CadreSouris courant_;
    QString texteXP_;
    QString textePente_;
    TBitmap32 pointe_;
    QPoint appui_, dernier_;
    TPolygon32 chemin_;
    bool geste_ = false;
    bool mesureGardee_ = false;

    bool placement_ = false;
    bool texteTransparent_ = true;
    QStringList lignesTexte_;
    QFont policeTexte_;
    int alignementTexte_ = 0;
    TBitmap32 texteOpaque_;
    TBitmap32 texteClair_;
};

} // namespace coupe
