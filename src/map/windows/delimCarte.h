// The main map window: the world map with its layers, the menus, the zoom and
// shift scroll bars, the vector commands and the display choices.
#pragma once

#include "data/stores.h"
#include "map/config.h"
#include "map/calques.h"
#include "map/etatcarte.h"
#include "map/grille.h"
#include "map/modes.h"
#include "map/rendu.h"
#include "ui/windows/imageview.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QToolButton;
class TChoixCouleursCarte;
class TRecherche_Volc;
class TTableau_reperes;

class TCarte : public QMainWindow {
    Q_OBJECT
public:
    // dossierDepart: the folder holding the configuration and the data files;
    // donnees: the stores the map shows (and follows).
    TCarte(const QString& dossierDepart, TDonnees& donnees, QWidget* parent = nullptr);
    ~TCarte() override;

    // Start-up: configuration, elevation grid, colour base picture, layers, size on
    // the screen. False (after the error box) when the base picture is missing.
    bool demarrer();

    // --- State ---
    TDonnees& donnees() { return donnees_; }
    TConfiguration Config;
    QString DernierDossier; // initial folder of the open and save dialogs
    EtatCarte Etat;
    ReglagesAffichage Reglages;
    TGrilleAltitude Grille;
    TBitmap32 ImageLegende;  // the vector legend picture
    NomsFonds Fonds;         // the four configured base pictures

    // Modal dialogs of the window are run through this (tests replace it).
    std::function<int(QDialog&)> executerDialogue;

    // --- Controls ---
    TImageView* Document = nullptr;
    QScrollBar* Zoom = nullptr;
    QScrollBar* decalage = nullptr;
    QFrame* PanIcones = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* labalt = nullptr;
    QLabel* Latitude = nullptr;
    QLabel* Longitude = nullptr;
    QLabel* station = nullptr;
    QLabel* Vitesse = nullptr;
    QLabel* statRef = nullptr;
    QLabel* Labdistance = nullptr;
    QLabel* Lvolcan = nullptr;
    QLabel* NomsVolcans = nullptr;
    QLabel* AltVolc = nullptr;
    QLabel* typeVolcan = nullptr;
    QLabel* LDernerupt = nullptr;
    QFrame* PanelDist = nullptr;   // path length: "Distance cumulée :", LabDistCumul, "RAZ"
    QLabel* LabDistCumul = nullptr;
    QPushButton* RAZ = nullptr;
    QPushButton* OK = nullptr;     // after a zone: select its stations
    QFrame* Paninstr = nullptr;
    QPushButton* OKLegende = nullptr;
    QToolButton* Bcadre = nullptr;
    QToolButton* BCoupe = nullptr;
    QToolButton* Bcurseur = nullptr;
    QToolButton* BTrait = nullptr;
    QToolButton* BTrajet = nullptr;
    QToolButton* BLoupe = nullptr;
    QMenu* MenuVect = nullptr;
    QAction* Afficherlevecteur1 = nullptr;
    QAction* Nepasafficherlevecteur1 = nullptr;
    TChoixCouleursCarte* ChoixCouleursCarte = nullptr; // created on first use
    // Tool windows created at start-up, right after the map (or on first use).
    TRecherche_Volc* Recherche_Volc = nullptr;
    TTableau_reperes* Tableau_reperes = nullptr;
    void creerFenetresOutils();

    // The mouse tools: modes, readout, rubber band, traces, kept arcs and landmarks.
    carte::TInteraction Interaction;

    // Menus and their items (named after their captions).
    QMenu *Fichier1, *Edition1, *Affichage1, *Mode1, *Vecteurs1, *Exercices1, *Aide1;
    QMenu *Imprimer1, *Copier1, *Effacerledernier1;
    QAction *avecfonddecarteenNB1, *toutencouleurs1, *laselectionfondenNB1, *laselectionencouleurs1;
    QAction *Quitter1, *Chargerunfichierdeconfiguration1, *OuvrirunfichierGPS1, *OuvrirunfichierSeismes1,
        *Chargerunfichierdevolcans1, *Chargerunfonddecarte1, *Enregistrerlefichierdeseismes1,
        *Enregistrerlefichierdevolcans1, *EnregistrerlesvecteursaffichescommedonneesGPS1, *Enregistrerlimagesous1,
        *CalculetableSurfVol1, *Chargerdesdonneesdansuntableur1, *Chargerdesreperes1;
    QAction *Verslepressepapier1, *Copierverslafeuillededessin1, *Copierlapartiedelimiteeverslepressepapier1,
        *Copierlapartiedelimiteeverslafeuillededessin1, *CopieavecfondNB1, *Copieavecfondcouleur1,
        *Effacerlestraces1, *Grandcercle1, *Coupe1, *Rechercherunvolcan;
    QAction *PointsGPS1, *Seismes1, *Volcans1, *agedesfondsoceaniques1, *Niveaumarinsi1, *Population1,
        *FenetreCoupes1, *FenetreTableauGPS1, *FenetredeDessin1, *Vuepolaire1, *FenetreReperes1, *Choix1,
        *Pointsepais;
    QAction *Consultation, *Delimitezone, *Tracecoupe, *Tracdarcdegrandcercle, *Suivreuntrajet, *MZoom,
        *conserverlestraces;
    QAction *Choisirlesvecteursaafficher1, *Affichertouslesvecteurs1, *Nafficheraucunvecteur1, *Agrandir1,
        *Retrecir1, *Remiseazero1, *Afficherlechelle1, *CorrectiondesVlat1;
    QAction *Positionnementdesstations1, *Orientationdesvecteurs1, *Mouvementsrelatifs1;
    QAction *Fichierdaide1, *Apropos1, *Viderlamemoire1, *SeparateurListe;

    // --- Layers ---
    TBitmapLayer* calque(Calque c) { return calques_[static_cast<std::size_t>(c)]; }
    // Sizes the layer to the map (and places it over it) when it is not already so.
    void assurerCalque(Calque c);
    bool calqueAUneImage(Calque c) const;

    // --- Commands and handlers ---
    void PointsGPS1Click();
    void Seismes1Click();
    void Volcans1Click();
    void OuvrirunfichierGPS1Click();
    void OuvrirunfichierSeismes1Click();
    void Chargerunfichierdevolcans1Click();
    void Enregistrerlefichierdeseismes1Click();
    void Enregistrerlefichierdevolcans1Click();
    void EnregistrerlesvecteursaffichescommedonneesGPS1Click();
    void Chargerunfonddecarte1Click();
    void Choix1Click();
    void Affichertouslesvecteurs1Click();
    void Nafficheraucunvecteur1Click();
    void Agrandir1Click();
    void Retrecir1Click();
    void Remiseazero1Click();
    void Afficherlechelle1Click();
    void CorrectiondesVlat1Click();
    void Viderlamemoire1Click();
    void OKLegendeClick();
    void ZoomChange();
    void decalageChange();

    // Pointer events on the map, in map pixels, handed to the mouse tools. The
    // double click picks the reference station in consultation mode; a right press
    // there opens the station pop-up; during the legend placement the mouse only
    // drags the legend.
    void DocumentDblClick(const QPoint& mapPos);
    void DocumentMouseDown(Qt::MouseButton bouton, const QPoint& mapPos, const QPoint& globalPos);
    void DocumentMouseMove(Qt::MouseButtons boutons, const QPoint& mapPos);
    void DocumentMouseUp(Qt::MouseButton bouton, const QPoint& mapPos);

    // Mode menu items and tool buttons (tags of carte::Mode).
    void ChoisirMode(int tag);
    // Commands of the mouse tools.
    void BLoupeClick();
    void OKClick();
    void RAZDistClick();
    void conserverlestracesClick();
    void Effacerlestracs1Click();
    void Grandcercle1Click();
    void RechercherunvolcanClick();
    // Landmarks: the table window bound to the add operation, and a file loaded then added.
    void Fentrerepres1Click();
    void Chargerdesreperes1Click();
    void AjouterReperes();
    // The station pop-up for station i (non-blocking); its items act on that station.
    void ouvrirMenuVect(int i, const QPoint& globalPos);
    int stationMenuVect() const { return stationMenu_; }

    // Layer drawing from the stores.
    void DessinerSeismes();
    void DessinerVolcans();
    void DessinerGPS();
    // Loads a file of the kind and, when the store was replaced, shows its layer;
    // says what the load has to say (error, or warning for a partial load). False
    // when nothing was loaded: the map is then as it was.
    bool chargerGPS(const QString& chemin);
    bool chargerSeismes(const QString& chemin);
    bool chargerVolcans(const QString& chemin);
    // Shows the earthquake / volcano / GPS layer, checking its menu item.
    void afficherSeismes();
    void afficherVolcans();
    void afficherGPS();

    // Zoom bounds from the view's width; zoom at its minimum.
    void Ajuster();
    // Makes pic the base picture: size, roll by the shift, fit, then rebuild.
    void installerFond(TBitmap32&& pic);
    // Every layer rebuilt after a base picture change, in the fixed order.
    void ReconstruireCalques();
    // The base picture switch run when the display choices are confirmed.
    void changerFond(bool nb, bool precise);
    // Redraw of the traces layer from the kept arcs, sections and landmarks.
    std::function<void()> RedessinerTraces;
    // Carries out what a mouse-tool call asks: panel texts, repaint of the regions
    // drawn or cleared, traces layer shown, station menu, reference, zoom to zone...
    void appliquer(const carte::Effets& e);

    // Checks the reference station against the stations in the store (after a load).
    void verifierStationRef();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void creerMenus();
    void signalerChargement(const ResultatChargement& r);
    // What the map does when the stores change.
    void donneesChangees(unsigned magasins);
    void creerPanneaux();
    void creerCalques();
    void majVisibiliteMenusGPS();
    // An open dialog in the last folder used; the chosen file's folder becomes it.
    QString demanderFichier(const QString& filtre);
    void placerLegende(const QPoint& p);
    void majContexte();
    void majPanneau();
    void placerCalquesOutils();
    void selectionnerZone();

    TDonnees& donnees_;
    int ecouteur_ = 0;
    QPoint pointGlobal_; // screen point of the last press (station pop-up)
    std::array<TBitmapLayer*, NbCalques> calques_{};
    int stationMenu_ = -1;
    int largeurAjustee_ = -1;
    bool ajustement_ = false;
};
