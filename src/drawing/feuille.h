// The drawing sheet without its window: a page on which pictures copied from the
// map and the sections lie as documents, moved and resized with handle frames,
// under and over the annotations drawn with the tools (pencil, line, shape, text,
// colour picker), and the composition of the whole page at its own size for
// saving, copying and printing.
//
// Coordinates are page pixels (the window removes its zoom and scroll). The
// annotations are kept in document units: (page pixel - origin (30, 0)) / scale 1.
#pragma once

#include "drawing/bitmapsig.h"
#include "drawing/listedessins.h"
#include "ui/raster_compose.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <memory>
#include <vector>

// The tools (the tags of the sheet's tool buttons).
constexpr int ofCrayon = 0;
constexpr int ofLigne = 1;
constexpr int ofForme = 2;
constexpr int ofTexte = 4;
constexpr int ofDeplacement = 6;
constexpr int ofPipette = 7;

// Page sizes.
constexpr int LargeurPagePaysage = 1188;
constexpr int HauteurPagePaysage = 840;

// A handle of a document's frame; Interieur moves the document.
enum class Poignee { Aucune, Interieur, HautGauche, Haut, HautDroite, Droite, BasDroite, Bas, BasGauche, Gauche };

class TFeuille : public TImageSource {
public:
    TFeuille();
    ~TFeuille() override;
    TFeuille(const TFeuille&) = delete;
    TFeuille& operator=(const TFeuille&) = delete;

    // --- The page ---
    bool paysage() const { return paysage_; }
    QSize taillePage() const;
    // Portrait or landscape: the page is cleared to opaque white; documents and
    // annotations keep their places.
    void definirPaysage(bool paysage);
    // The whole page (the page, the annotations, the documents, the text being
    // placed) composed at its own size over white, whatever a window shows of it.
    TBitmap32 imagePage() const;
    // TImageSource: the same with the documents' handle frames over it (the move
    // tool's), for the screen.
    QSize imageSize() const override { return taillePage(); }
    void compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background) const override;
    // The composed colour at page pixel p, as the screen shows it.
    TColor32 pixelAffiche(const QPoint& p) const;

    // --- Documents ---
    // A copied image arrives at half its size at the page's top-left corner,
    // without border and with a transparent background; handles at the corners.
    int ajouterImage(const TBitmap32& image);
    // A picture (a section, a legend panel) arrives at the given size as an
    // independent copy; handles at the corners and on the sides.
    int ajouterDocument(const TBitmapSIG& picture, int largeur, int hauteur);
    int nombreDocuments() const { return static_cast<int>(documents_.size()); }
    const TBitmapSIG& document(int i) const { return *documents_[static_cast<std::size_t>(i)].image; }
    QRect placeDocument(int i) const;
    const TBitmap32& renduDocument(int i) const;
    // The top-most document under page pixel p, its frame's handles included; -1.
    int documentSous(const QPoint& p) const;
    bool supprimerDocument(int i);
    void definirCadre(int i, bool cadre);
    // Opacity of a document's background, in percent (0 … 100, by tens in the menu).
    void definirOpacite(int i, int pourcent);
    int opacite(int i) const; // round(alpha / 255 × 10) × 10
    bool feuilleVide() const { return vide_; }

    // --- The move tool's frames ---
    Poignee poigneeSous(int i, const QPoint& p) const;
    // The frame a drag of handle h from `depart` to `courant` gives to document i,
    // starting from `rect`: a move stays on the page; a resize keeps 40 × 40 at
    // least and (page - 10) at most, and an image keeps its proportions by the
    // corner rules (the edge the drag moved least follows the other).
    QRect glisserCadre(int i, Poignee h, const QRect& rect, const QPoint& depart, const QPoint& courant) const;
    // Moves document i's frame (its rendering unchanged).
    void placerCadre(int i, const QRect& rect);
    // The end of a resize: both sides must exceed 20 pixels (otherwise nothing
    // changes); the size is limited to the page, the picture rendered again.
    bool redimensionner(int i, const QSize& taille);

    // --- Tool state ---
    int outil = ofDeplacement;
    TColor32 couleur = 0xFF000000;
    int epaisseur = 0;   // 0 … 11
    int remplissage = 0;
    int style = 0;       // 0 solid, 1 dashed
    int fleche = 0;
    bool rectangle = true; // the shape tool draws rectangles, else circles
    const TBitmap32& pointe() const { return pointe_; }
    void definirCouleur(TColor32 c);
    // The thickness spin: down while above 0, up while at most 10.
    void epaisseurMoins();
    void epaisseurPlus();

    // --- Drawing with the mouse (left button; page pixels) ---
    // False when the press is ignored (no document yet, beyond the page).
    bool appui(const QPoint& p);
    void deplacement(const QPoint& p);
    // Ends a pencil stroke, a line or a shape with a new annotation (true).
    bool relachement(const QPoint& p);
    const QPoint& pointAppui() const { return appui_; }

    // --- Annotations ---
    const TListeDessins& dessins() const { return dessins_; }
    // "Annuler": asks, then removes the last annotation. False with none.
    bool annuler();
    // An item of "&Effacer...": asks, then removes annotation i.
    bool effacer(int i);
    // Removes annotation i without asking.
    bool supprimerTrace(int i);

    // --- A text block being placed ---
    // The typed lines rendered (white made transparent) at (x, y), shown over the
    // page until validated.
    void placerTexte(const QPoint& p, const QStringList& lignes, const QFont& police, int alignement);
    bool placementTexte() const { return placement_; }
    void deplacerTexte(const QPoint& coin);
    // Drawn with its own white background or not.
    void definirTexteTransparent(bool transparent);
    // OK of the positioning dialog: the block becomes an annotation where it lies;
    // otherwise it goes. The text layer is hidden in both cases.
    void validerTexte(bool ok);
    QRect placeTexte() const;

    // --- Redrawing ---
    void RedessinerTout();
    void DessinerAnnotations();
    // Called with the page rectangle to repaint (empty: all).
    std::function<void(const QRect&)> aRepeindre;

private:
    struct Document {
        std::unique_ptr<TBitmapSIG> image;
        TBitmapLayer* calque = nullptr;
        bool cotes = false;
        QSize renduPour; // size the layer was last rendered at (nothing to do when it has not changed)
    };
    void rendre(Document& d, bool force);
    void repeindre(const QRect& r = QRect());
    void dessinerCadres() const;
    std::vector<const TBitmapLayer*> couches(bool avecCadres) const;
    QPointF versDocument(const QPoint& p) const;

    bool paysage_ = true;
    bool vide_ = true;
    TLayerStack pile_; // the page and its layers (composed in the order of couches())
    TBitmapLayer* apercu_ = nullptr;
    TBitmapLayer* annotations_ = nullptr;
    TBitmapLayer* texte_ = nullptr; // made at the first text placement
    mutable TBitmapLayer cadres_;   // the handle frames, over everything, screen only
    mutable bool cadresAJour_ = false;
    std::vector<Document> documents_;
    TListeDessins dessins_;
    TBitmap32 pointe_;
    QPoint appui_, dernier_;
    TPolygon32 chemin_;
    bool geste_ = false;
    // The document being moved or resized with its frame.
    int docGlisse_ = -1;
    Poignee poigneeGlissee_ = Poignee::Aucune;
    QRect rectDepart_;
    QRect rectCourant_;
    bool redimensionnement_ = false;
    // The text being placed.
    bool placement_ = false;
    bool texteTransparent_ = true;
    QStringList lignesTexte_;
    QFont policeTexte_;
    int alignementTexte_ = 0;
};
