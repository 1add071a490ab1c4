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
    bool coupeDemandee = false; // a section line was accepted (bounds in bornes())
    bool selectionZone = false; // OK in zone mode: select the stations of the zone
    bool refaireCoupe = false;  // OK in section mode: build the section again
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

class TInteraction {
public:
    TInteraction();

    // The two layers the machine draws on (owned by the map window). The band
    // layer is expected at the map's size; the traces layer is sized on first use.
    void attacherCalques(TBitmap32* bande, TBitmap32* traces);
    ContexteCarte& contexte() { return ctx_; }

    // Mode choice (menu items and tool buttons).
    Effets ChoisirMode(int tag);
    Mode mode() const { return mode_; }

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

private:
    int W() const;
    int H() const;
    int decalage() const;
    int f() const;
    int altitude(const IndicesGrille& g) const;
    const std::vector<TStationGPS>& stations() const;
    const std::vector<TStationGPS>& stationsTri() const;
    const std::vector<TVolcan>& volcans() const;
    PositionGeo versGeo(QPoint p) const;
    IndicesGrille indices(QPoint p) const;
    void lectureMouvement(Effets& e);
    void clearBande(Effets& e);
    void noterBande(Effets& e, const std::vector<QRect>& zones);
    bool assurerCalqueTraces(Effets& e);
    void finirTrajet() { trajetEnCours_ = false; }

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
    int compteurCoupes_ = 1;
};

} // namespace carte
