// The main map window: the view of the map's scene with its zoom and shift scroll
// bars, the menus, the readout panel, and the wiring between the mouse, the mouse
// tools, the scene and the data object.
//
// The window keeps no state of its own about what the map shows: the scene holds
// the layers and which of them are shown (the menus show its state), the data
// object the stores. Each feature wires its own menu items (taken by name) from
// its own folder.
#pragma once

#include "data/stores.h"
#include "map/config.h"
#include "map/grille.h"
#include "map/modes.h"
#include "map/scene.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QDialog;
class QMenu;
class TImageView;
class TPanneauxCarte;
struct TMenusCarte;
class TCommandesFichiers;
class TCommandesReperes;
class TCommandesVecteurs;
class TCommandeChoix;
class TCommandeRechercheVolcan;
class TCommandesNiveau;
class TRecherche_Volc;
class TTableau_reperes;

class TCarte : public QMainWindow {
    Q_OBJECT
    TScene scene_; // first: the members below refer to it

public:
    // dossierDepart: the folder holding the configuration and the data files;
    // donnees: the stores the map shows (and follows).
    TCarte(const QString& dossierDepart, TDonnees& donnees, QWidget* parent = nullptr);
    ~TCarte() override;

    // Start-up: configuration, elevation grid, colour base picture, layers, size on
    // the screen. False (after the error box) when the base picture is missing.
    bool demarrer();

    // --- What the map is made of ---
    TScene& scene() { return scene_; }
    TDonnees& donnees() { return scene_.donnees(); }
    TImageView* vue() const { return Document; }
    // The mouse tools: modes, readout, rubber band, traces, kept arcs and landmarks.
    carte::TInteraction Interaction;
    // The scene's state, named as the commands name it.
    EtatCarte& Etat;
    ReglagesAffichage& Reglages;
    TBitmap32& ImageLegende;
    TBitmapLayer* calque(Calque c) { return scene_.calque(c); }
    bool calqueAUneImage(Calque c) const { return scene_.calqueAUneImage(c); }

    TConfiguration Config;
    QString DernierDossier; // initial folder of the open and save dialogs
    TGrilleAltitude Grille;
    NomsFonds Fonds;        // the four configured base pictures

    // Modal dialogs of the window are run through this (tests replace it).
    std::function<int(QDialog&)> executerDialogue;

    // --- For the features: their menu items, the windows they make ---
    // A menu item or a menu by its name (nullptr when there is none).
    QAction* commande(const char* nom) const;
    QMenu* menu(const char* nom) const;
    // Called with what each mouse-tool call asked for, after the window did its part.
    void suivreEffets(std::function<void(const carte::Effets&)> f) { suiviEffets_.push_back(std::move(f)); }
    // The zone tool's OK, with the zone's station filter: the GPS table takes it
    // over when it is there (it fills itself from the zone); otherwise the zone's
    // stations become the map's selection.
    std::function<void(const FiltreZone&)> zoneChoisie;
    // Hides the zone tool's OK button (a table opened from the menu).
    void cacherOK();
    TCommandesFichiers& fichiers() { return *fichiers_; }
    TCommandesReperes& reperes() { return *reperes_; }
    TCommandesVecteurs& vecteurs() { return *vecteurs_; }
    TCommandesNiveau& niveau() { return *niveau_; }
    TTableau_reperes* tableauReperes() const;
    TRecherche_Volc* rechercheVolcan() const;
    // The tool windows made right after the map (landmark table, volcano search).
    void creerFenetresOutils();
    // An open dialog in the last folder used; the chosen file's folder becomes it.
    QString demanderFichier(const QString& filtre);
    // Says what a load has to say: an error when nothing was loaded, a warning
    // when the file was read in part.
    static void signalerChargement(const ResultatChargement& r);

    // --- Layers ---
    // Shows the earthquake / volcano / GPS layer.
    void afficherSeismes();
    void afficherVolcans();
    void afficherGPS();
    void changerFond(bool nb, bool precise);
    // Zoom bounds from the view's width; zoom at its minimum.
    void Ajuster();

    // --- Mouse ---
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
    // What the mouse tools read of the window at each event.
    void majContexte();
    // Carries out what a mouse-tool call asks: panel texts, repaint of the regions
    // drawn or cleared, traces layer shown, station menu, reference, zoom to zone...
    void appliquer(const carte::Effets& e);

signals:
    // A layer was shown or hidden.
    void calqueAffiche(Calque c, bool oui);
    // The map is being destroyed: its scene and mode machine still exist, its child
    // objects (the features' commands) are deleted after them.
    void fermeture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void brancherMenus();
    void brancherScene();
    void couchesCliquees(Calque c, bool coche);
    void majVisibiliteMenusGPS();
    void ZoomChange();
    void decalageChange();
    void Viderlamemoire1Click();
    void selectionnerZone();

    std::unique_ptr<TMenusCarte> menus_;
    TImageView* Document = nullptr;
    std::unique_ptr<TPanneauxCarte> panneaux_;
    std::unique_ptr<TCommandesFichiers> fichiers_;
    std::unique_ptr<TCommandesVecteurs> vecteurs_;
    std::unique_ptr<TCommandesReperes> reperes_;
    std::unique_ptr<TCommandeChoix> choix_;
    std::unique_ptr<TCommandeRechercheVolcan> recherche_;
    std::unique_ptr<TCommandesNiveau> niveau_;
    std::vector<std::function<void(const carte::Effets&)>> suiviEffets_;
    QPoint pointGlobal_; // screen point of the last press (station pop-up)
    int largeurAjustee_ = -1;
    bool ajustement_ = false;
};
