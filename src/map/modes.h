// The map's working modes and mouse tools, without any window: the map window
// forwards its pointer events in map pixels and copies the resulting texts and
// visibilities onto its controls, and repaints the regions it is told.
//
// Modes: consultation (read the map, pick the fixed station), zone delimitation,
// section line, great-circle arc and path following. Every pointer move updates
// the readout (position, altitude, nearest station and volcano). The rubber band
// is drawn on the interaction layer, kept drawings on the traces layer.
#pragma once

#include "data/stores.h"
#include "map/grandcercle.h"
#include "map/lecture.h"
#include "map/projection.h"
#include "map/reperes.h"
#include "ui/bitmap32.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct EtatCarte;
class TGrilleAltitude;

namespace carte {

// The tags of the mode menu items and tool buttons.
enum class Mode { Zone = 0, Coupe = 1, Consultation = 2, GrandCercle = 3, Trajet = 4, Zoom = 5 };

struct DescriptionMode {
    const char* menu;     // menu item caption
    const char* bulle;    // tool button hint
    const char* titre;    // window caption; nullptr: unchanged
    bool curseurCroix;    // cross cursor on the map, otherwise the default arrow
    bool curseurInchange; // the cursor is left as it is
};
DescriptionMode descriptionMode(Mode m);

enum class BoutonSouris { Gauche, Droit, Milieu };

// What the map window shows in its bottom panel and around the map.
struct EtatPanneau {
    TextesPosition position{QStringLiteral("Latitude : "), QStringLiteral("Longitude : "),
                            QStringLiteral("altitude : ")};
    QString station;          // `station`
    QString vitesse;          // `Vitesse`
    QString vitesseModele;    // `VitesseModele`: the plate model's velocity at the station
    QString plaque;           // `Plaque`: "Plaque : " and the plate under the pointer
    bool volcanVisible = false; // `Lvolcan`, `NomsVolcans`, `AltVolc`, `typeVolcan`, `LDernerupt`
    QString nomVolcan;
    QString altVolcan;
    QString typeVolcan;
    QString activiteVolcan;
    QString distance;         // `Labdistance`
    QString distanceCumulee = QStringLiteral("0 km"); // `LabDistCumul`
    bool okVisible = false;
    bool loupeVisible = false;          // `BLoupe`
    bool panelDistVisible = false;      // `PanelDist`
    bool commandesDelimitees = false;   // the four commands on the delimited part
};

// One-shot requests to the map window, returned by each event.
struct Effets {
    // Pixels to repaint: the bounding boxes, and the small rectangles that cover
    // exactly what was cleared or drawn (repainting these is enough).
    QRect regionBande;     // interaction layer
    QRect regionTraces;    // traces layer
    std::vector<QRect> zonesBande;
    std::vector<QRect> zonesTraces;
    bool calqueTracesCree = false; // the traces layer was just sized to the map: place and show it
    std::optional<QPoint> deplacerEchelle; // scale placement: the legend's new top-left map pixel
    int menuStation = -1;  // open the station pop-up menu for this station (index in TabStations)
    int nouvelleReference = -1; // this station (index in TabStations) becomes the fixed station
    bool selectionZone = false; // OK in zone mode: select the stations of the zone
    std::optional<ResultatLoupe> loupe; // zoom to zone: apply shift and zoom
    // Path vertices to write into the landmark table: row (1-based data row),
    // latitude and longitude texts, disposition "O".
    struct LigneTable {
        int ligne;
        QString latitude;
        QString longitude;
    };
    std::vector<LigneTable> lignesTable;

    Effets& operator|=(const Effets& o);
};

// What the machine reads from the map window at each event.
struct ContexteCarte {
    const TDonnees* donnees = nullptr;        // the stores read (none: empty stores)
    const EtatCarte* etat = nullptr;          // size, shift, reference station
    const TGrilleAltitude* grille = nullptr;  // altitudes; nullptr: every altitude 0, f = 6
    bool gpsCoche = false;      // "Points &GPS"
    bool volcansCoche = false;  // "&Volcans"
    bool placementEchelle = false;
    TColor32 couleurTrace = clWhite32;
    TColor32 couleurGrandCercle = clWhite32;
    StyleReperes styleReperes;
};

// The station filter of a delimited zone (whole-degree bounds): latitudes
// ordered; the longitudes ordered as they lie on the shifted map (a corner beyond
// the visible interval counts 360° nearer), each kept as delimited, so that a zone
// across the 180° meridian gives Longmin > Longmax.
FiltreZone filtreDeZone(const BornesSelection& b, int longMinVisible, int longMaxVisible);

class TInteraction;

// One mouse tool: what a press, a drag, a release, a double click and the OK button
// do in its mode. The machine does what every mode shares (the readout, the
// distance from the press, the band cleared before it is drawn again) and hands
// the rest to the tool of the current mode; a view registers its own tools (the
// section line, the clicks of an exercise) without touching the machine.
class TOutilSouris {
public:
    virtual ~TOutilSouris() = default;
    // The mode was just chosen.
    virtual void choisi(TInteraction& m, Effets& e) {}
    // The selection bounds of a press and of a drag: whole degrees (true) or
    // elevation-grid indices (false, the lines' bounds).
    virtual bool bornesEnDegres() const { return false; }
    // The great-circle distance from the press is shown while the button is down.
    virtual bool mesureDistance() const { return true; }
    virtual void appui(TInteraction& m, BoutonSouris b, Effets& e) {}
    // The button is down and the pointer moved: draw the band (the previous one is
    // already cleared) and add the rectangles it covers to `dessine`.
    virtual void glisser(TInteraction& m, std::vector<QRect>& dessine);
    virtual void relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris b, Effets& e) {}
    virtual void doubleClic(TInteraction& m, Effets& e) {}
    // The OK button shows after a release when this says so, and its click lands here.
    virtual bool okApresRelachement(const TInteraction& m) const { return false; }
    virtual void ok(TInteraction& m, Effets& e) {}
};

class TInteraction {
public:
    TInteraction();
    ~TInteraction();

    // The tool of a mode (tags of carte::Mode, or new ones), replacing any other.
    void enregistrerOutil(int tag, std::unique_ptr<TOutilSouris> outil);
    TOutilSouris* outil(int tag) const;

    // The two layers the machine draws on (owned by the map window). The band
    // layer is expected at the map's size; the traces layer is sized on first use.
    void attacherCalques(TBitmap32* bande, TBitmap32* traces);
    ContexteCarte& contexte() { return ctx_; }
    const ContexteCarte& contexte() const { return ctx_; }

    // Mode choice (menu items and tool buttons).
    Effets ChoisirMode(int tag);
    Mode mode() const { return mode_; }
    int modeCourant() const { return static_cast<int>(mode_); }

    // Pointer events, in map pixels.
    Effets appui(int x, int y, BoutonSouris bouton);
    Effets deplacement(int x, int y, bool gaucheEnfonce);
    Effets relachement(int x, int y, BoutonSouris bouton);
    Effets doubleClic();

    // Commands.
    Effets conserverLesTraces();              // toggles, stops any path
    bool conserver() const { return conserver_; }
    Effets effacerLesTraces();                // asks "Atention, les repères seront perdus"
    Effets effacerDernierGrandCercle();
    Effets effacerDerniereCoupe();
    Effets raz();                             // "RAZ" of the path panel
    Effets okClic();
    // The OK button hidden without its action.
    void cacherOK() { panneau_.okVisible = false; }
    Effets loupeClic(int largeurClient, int hauteurClient);
    // Adds the landmarks of the table (its flags: join, by great circles); with
    // `ajouter` a new group, otherwise the groups are replaced by this one. Rows
    // with faulty cells are left out, kept in grille.lignesIgnorees and listed in
    // one warning.
    Effets ajouterReperes(TGrilleReperes& grille, bool ajouter);

    // Redraws the traces layer from the kept lists (sizing it first when asked and
    // it has no picture yet).
    Effets RedessinerTraces();
    // Clears what the rubber band drew (mode or shift change).
    Effets effacerBande();
    // Something drawn on the traces layer outside the machine (a section band) must
    // be recorded so that the next redraw clears it.
    void noterTraces(const QRect& r) { tracesOccupees_.push_back(r); }
    // Adds a feature's readouts for the point under the pointer and the station
    // found near it (nullptr when none): the plate, the model's velocity.
    std::function<void(const PositionGeo&, const TStationGPS*, EtatPanneau&)> completerLecture;
    // Draws each kept section's band on the traces layer (set by the section code).
    std::function<QRect(const TCoupeGardee&, TBitmap32&)> dessinerCoupeGardee;
    // The traces' zones (for tests and the map window).
    const std::vector<QRect>& zonesTraces() const { return tracesOccupees_; }

    const EtatPanneau& panneau() const { return panneau_; }
    const BornesSelection& bornes() const { return bornes_; }
    bool trajetEnCours() const { return trajetEnCours_; }
    int distanceCumulee() const { return cumul_; }
    int distanceEtape() const { return etape_; }
    int lignesTrajet() const { return lignesTrajet_; }
    bool relacheAGauche() const { return relache_.x() < appui_.x(); }

    // The kept lists.
    std::vector<TSegmentGeo> arcs;
    std::vector<TCoupeGardee> coupes;
    TGroupesReperes groupes;

    // Current point (last move): map pixel and position.
    QPoint pointCourant() const { return courant_; }
    PositionGeo positionCourante() const { return geoCourant_; }

    // --- What the tools work with ---
    int W() const;
    int H() const;
    int decalage() const;
    PositionGeo versGeo(QPoint p) const;
    IndicesGrille indices(QPoint p) const;
    const std::vector<TStationGPS>& stations() const;
    TBitmap32* bande() const { return bande_; }
    TBitmap32* traces() const { return traces_; }
    // The traces layer, sized to the map on first use; false when there is none.
    bool assurerCalqueTraces(Effets& e);
    // Something drawn on the traces layer, to be cleared by its next redraw.
    void noterTracesDessines(const std::vector<QRect>& zones, Effets& e);
    // Something a tool drew on the band layer, to be cleared with the band.
    void noterBandeDessinee(const std::vector<QRect>& zones, Effets& e) { noterBande(e, zones); }
    void clearBande(Effets& e);
    EtatPanneau& panneauModifiable() { return panneau_; }
    BornesSelection& bornesModifiables() { return bornes_; }
    QPoint pointAppui() const { return appui_; }
    PositionGeo positionAppui() const { return geoAppui_; }
    QPoint pointRelache() const { return relache_; }
    void definirAppui(QPoint p, const PositionGeo& g)
    {
        appui_ = p;
        geoAppui_ = g;
    }
    void definirRelache(QPoint p) { relache_ = p; }
    // The path in progress: its legs and cumulative distance.
    bool& trajetEnCoursModifiable() { return trajetEnCours_; }
    bool& finParDroitModifiable() { return finParDroit_; }
    int& cumulModifiable() { return cumul_; }
    int& etapeModifiable() { return etape_; }
    int& lignesTrajetModifiable() { return lignesTrajet_; }
    void finirTrajet() { trajetEnCours_ = false; }

private:
    int f() const;
    int altitude(const IndicesGrille& g) const;
    const std::vector<TStationGPS>& stationsTri() const;
    const std::vector<TVolcan>& volcans() const;
    void lectureMouvement(Effets& e);
    void noterBande(Effets& e, const std::vector<QRect>& zones);

    ContexteCarte ctx_;
    TBitmap32* bande_ = nullptr;
    TBitmap32* traces_ = nullptr;
    // Rectangles covering what the rubber band last drew, and what the traces
    // layer holds since it was last cleared.
    std::vector<QRect> bandeOccupee_;
    std::vector<QRect> tracesOccupees_;

    Mode mode_ = Mode::Consultation;
    EtatPanneau panneau_;
    BornesSelection bornes_;
    QPoint appui_;         // press point, during a path the last vertex
    PositionGeo geoAppui_;
    QPoint courant_;
    PositionGeo geoCourant_;
    QPoint relache_;
    int etape_ = 0;        // leg distance, km
    int cumul_ = 0;        // cumulative distance, km
    bool trajetEnCours_ = false;
    bool finParDroit_ = false;
    bool conserver_ = false;
    int lignesTrajet_ = 0; // landmark table rows filled by the current path
    std::map<int, std::unique_ptr<TOutilSouris>> outils_;
};

} // namespace carte
