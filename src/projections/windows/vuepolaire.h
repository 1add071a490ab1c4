// The polar view window "Vue Polaire": the two discs around the chosen pole with
// the map's earthquakes, volcanoes and GPS vectors, the red reference circle, the
// circles about the pole, the coordinates under the mouse, and the oblique
// Mercator view unrolled from it. The pole dialog "Choix du pôle pour la
// projection" asks for the pole the first time; the map's "Vue polaire" command
// opens them.
#pragma once

#include "data/stores.h"
#include "projections/polaire.h"

#include <QComboBox>
#include <QDialog>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFormLayout;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class TCarte;
class TImageView;
struct TBitmapLayer;
class TMercatorOblique;

// The pole of a view, in whole degrees as the spin edits give it.
struct PoleVue {
    int latitude = 90;  // −90 … 90
    int longitude = 0;  // −180 … 180
};

// A pole offered by name: the relative rotation of a pair of plates.
struct PoleNomme {
    QString nom;          // "Afrique / Amérique du Sud"
    double latitude = 0;  // degrees
    double longitude = 0;
    double vitesse = 0;   // degrees per million years
};

// "Couple de plaques": a list of named poles; choosing one puts its pole, rounded
// to whole degrees, into two spin edits and its rotation rate into a label.
// The first entry, "(aucun)", leaves the spin edits as they are.
class TListePoles : public QComboBox {
    Q_OBJECT
public:
    TListePoles(QSpinBox* latitude, QSpinBox* longitude, QLabel* vitesse, QWidget* parent = nullptr);
    void definir(const std::vector<PoleNomme>& poles);
    const std::vector<PoleNomme>& poles() const { return poles_; }

private:
    void choisi(int i);
    QSpinBox* latitude_;
    QSpinBox* longitude_;
    QLabel* vitesse_;
    std::vector<PoleNomme> poles_;
};

// The modal pole dialog.
class TChoixPole : public QDialog {
    Q_OBJECT
public:
    explicit TChoixPole(QWidget* parent = nullptr);
    PoleVue pole() const;
    void setPole(const PoleVue& p);
    // The poles of the list "Couple de plaques" (none: the list is not shown).
    void definirCouples(const std::vector<PoleNomme>& poles);
    QSpinBox* LatCentre = nullptr;  // −90 … 90
    QSpinBox* LongCentre = nullptr; // −180 … 180
    TListePoles* CouplePlaques = nullptr; // shown once it has poles
    QLabel* VitesseRotation = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Annuler = nullptr;

private:
    QFormLayout* formulaire_ = nullptr;
};

class TVuePolaire : public QMainWindow {
    Q_OBJECT
public:
    // The view reads the map's base picture, stores and display settings.
    explicit TVuePolaire(TCarte& carte, QWidget* parent = nullptr);
    ~TVuePolaire() override;

    QSpinBox* LatCentre = nullptr;
    QSpinBox* LongCentre = nullptr;
    QPushButton* Button1 = nullptr;   // "OK": builds with the pole above
    QScrollBar* TailleCercle = nullptr;
    QScrollBar* ValeurZoom = nullptr; // 10 … 100, view scale = position / 100
    QLabel* Latcurs = nullptr;
    QLabel* LongCurs = nullptr;
    QAction* Seismes1 = nullptr;
    QAction* Volcans1 = nullptr;
    QAction* VecteursGPS1 = nullptr;
    QAction* Cerclesautourdupole1 = nullptr;
    QAction* Limitesdeplaques1 = nullptr; // enabled once dessinerLimites is set
    TListePoles* CouplePlaques = nullptr; // beside the pole's spin edits
    QLabel* VitesseRotation = nullptr;
    // Draws the plate boundaries into a layer of the polar picture's size; false
    // when they could not be read (the feature that has them sets it).
    std::function<bool(TBitmap32&, const polaire::TProjectionPolaire&)> dessinerLimites;
    // The item follows whether boundaries can be drawn.
    void activerLimites();
    QAction* VueMercator1 = nullptr;
    QAction* Copierlimage1 = nullptr;

    TImageView* vue() const { return vue_; }
    const polaire::TProjectionPolaire& projection() const { return projection_; }
    // The picture of the discs (the view's base).
    const TBitmap32& image() const;
    bool construite() const { return construite_; }
    int nombreConstructions() const { return constructions_; }
    // The unrolled view; it is built again on its first showing after each build.
    TMercatorOblique& mercator() { return *mercator_; }
    bool mercatorAJour() const { return mercatorAJour_; }
    int nombreConstructionsMercator() const { return constructionsMercator_; }

    // Builds the view around the pole of LatCentre and LongCentre from the map's
    // base picture, then redraws the overlays that are shown. False (after saying
    // why) when there is no base picture or not enough memory; the view is then
    // left as it was.
    bool ConstruireVuePolaire();
    // The same around another pole, put into the spin edits first.
    bool construire(const PoleVue& pole);
    PoleVue pole() const;
    // The zoom that shows the whole width of the discs.
    void ajusterZoom();
    // Redraws the overlays shown when the map's data or display settings changed
    // since they were drawn.
    void actualiserCalques();
    // The readout for a picture pixel.
    void afficherCurseur(const QPoint& pixel);

    void SeismesClick(bool coche);
    void VolcansClick(bool coche);
    void VecteursGPSClick(bool coche);
    void CerclesClick(bool coche);
    void LimitesClick(bool coche);
    void TailleCercleChange();
    void ValeurZoomChange();
    void VueMercatorClick();
    void CopierlimageClick();

protected:
    void changeEvent(QEvent* e) override;

private:
    // The layers over the discs, bottom to top; each is drawn by its case of
    // dessiner() and hidden (its memory released) by cacher().
    enum Couche { Cercles, Seismes, GPS, Volcans, Cercle, Plaques, NbCouches };
    void dessiner(Couche c);
    void cacher(Couche c);
    void donneesChangees(unsigned magasins);
    QByteArray signature() const;

    TCarte& carte_;
    TDonnees& donnees_; // outlives the map window, whose child this window is
    TImageView* vue_ = nullptr;
    TBitmapLayer* couches_[NbCouches] = {};
    polaire::TProjectionPolaire projection_{0, 90, 0};
    polaire::VecteursPolaires vecteurs_;
    std::unique_ptr<TMercatorOblique> mercator_;
    int ecouteur_ = 0;
    bool construite_ = false;
    int constructions_ = 0;
    bool mercatorAJour_ = false;
    int constructionsMercator_ = 0;
    bool chargement_ = false;  // a default file is being loaded by a menu item
    QByteArray dessineAvec_;   // the settings the overlays were drawn with
    // The radii on each side of the two kinds of circles as last drawn (−1: not
    // drawn): a zoom that keeps them keeps the layers.
    int epaisseurCercle_ = -1;
    int epaisseurCercles_ = -1;
};
