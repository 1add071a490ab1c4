// A GPS station's position time series shown as a picture of three stacked plots
// (latitude, longitude and height variation against time), without its window:
// the calibration of the picture's axes from two markers per axis, its file
// beside the picture (".etl"), the read-out of the date and the variation under
// the pointer, and the velocity measured as the slope of a line dragged along a
// curve, compared with the catalogue's velocity and, where the station's daily
// positions are beside the picture, with the least-squares slope of the days
// between the two ends of the drag.
//
// Positions are the view's picture pixels: the station's picture is drawn into a
// 580 x 700 picture with its top-left corner at (-15, -70).
#pragma once

#include "data/records.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QPoint>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace courbes {

constexpr int LargeurVue = 580;
constexpr int HauteurVue = 700;
constexpr int DecalageImageX = -15; // the station's picture's top-left corner in the view
constexpr int DecalageImageY = -70;

// Axes: 0 time, then the three variations.
enum Axe { Temps = 0, Latitude = 1, Longitude = 2, Altitude = 3 };

// Bands of the view's picture, bounds excluded: the time axis (x) and the plots (y).
bool dansBandeTemps(int x);
// The variation axis whose plot band holds y (Latitude, Longitude, Altitude), 0 for none.
int bandeDe(int y);

// date = x × PenteTemps + OrigineTemps (decimal years); variation (cm) =
// y × pente + origine for each plot. 0 means not calibrated.
struct Etalonnage {
    double PenteTemps = 0, OrigineTemps = 0;
    double PenteLat = 0, OrigineLat = 0;
    double PenteLong = 0, OrigineLong = 0;
    double PenteAlt = 0, OrigineAlt = 0;

    bool tempsEtalonne() const { return PenteTemps != 0 && OrigineTemps != 0; }
    // A variation axis (Latitude, Longitude, Altitude) counts when its slope is not 0.
    bool axeEtalonne(int axe) const;
    bool unAxeEtalonne() const;
    double pente(int axe) const;
    double origine(int axe) const;
    void definir(int axe, double pente, double origine);

    double date(int x) const { return x * PenteTemps + OrigineTemps; }
    // Variation in cm on a variation axis.
    double variation(int axe, int y) const { return y * pente(axe) + origine(axe); }

    bool operator==(const Etalonnage& o) const;
};

// The ".etl" file: 64 bytes, the eight values as little-endian doubles in the
// order of the structure.
constexpr int TailleEtalonnage = 64;
QByteArray octetsEtalonnage(const Etalonnage& e);
// Anything else than 64 bytes of finite values is refused.
bool decoderEtalonnage(const QByteArray& octets, Etalonnage& e);
// A missing, unreadable or faulty file gives false (the picture is then uncalibrated).
bool lireEtalonnage(const QString& chemin, Etalonnage& e);
// Written under a temporary name and renamed; false with a French message naming
// the file (a folder that cannot be written says so).
bool ecrireEtalonnage(const QString& chemin, const Etalonnage& e, QString* message = nullptr);

// The files of a station in the folder "point" of the start folder. A name that
// could leave that folder (a separator, "." or "..", a control character) has none:
// the paths are then empty.
struct FichiersStation {
    QString image;       // Nom + ".jpg"
    QString etalonnage;  // Nom + ".etl"
    QString positions;   // Nom + ".txt", the daily positions
};
FichiersStation fichiersStation(const QString& dossierDepart, const QString& nom);

// Daily positions of a station: decimal years and north, east, up in mm (about
// any fixed origin), in time order.
struct PositionsJournalieres {
    std::vector<double> t, nord, est, haut;
    std::size_t taille() const { return t.size(); }
    const std::vector<double>& composante(int axe) const;
};
// Text lines "année<TAB>nord<TAB>est<TAB>haut" (mm), "#" lines are comments.
QByteArray textePositions(const QString& code, const PositionsJournalieres& p);
// Reads that text ("," or "." as decimal mark, tabs, spaces or ";" between the
// numbers); lines that are not four numbers, or whose date is outside 1800 … 2300
// or a position beyond 100 km, are skipped. False when fewer than two days are read.
constexpr double PositionMaxMm = 1e8;
bool analyserPositions(const QByteArray& texte, PositionsJournalieres& p);
bool lirePositions(const QString& chemin, PositionsJournalieres& p);

// Least-squares slope (mm/an) of one component over the days tmin ≤ t ≤ tmax.
struct Ajustement {
    double pente = 0;
    int jours = 0;
};
// Needs two days at different dates at least.
std::optional<Ajustement> ajusterDroite(const PositionsJournalieres& p, int axe, double tmin, double tmax);

// A line of the overlay, in view pixels.
struct Trait {
    QPoint a, b;
    TColor32 couleur;
};
constexpr TColor32 Bleu = 0xFF0000FF;
constexpr TColor32 Rouge = 0xFFFF0000;
constexpr TColor32 Vert = 0xFF00A000;

// The view's picture: the station's picture drawn with its top-left corner at
// (-15, -70) over a white 580 x 700 picture.
TBitmap32 imageVue(const TBitmap32& station);
// The overlay cleared to transparent, then the lines drawn on it.
void dessinerTraits(TBitmap32& calque, const std::vector<Trait>& traits);

// What the window shows.
struct Affichage {
    QString date;        // `etidate`
    QString variation;   // `etiY`
    QString vitesse;     // `Etipente`
    QString catalogue;   // "Vitesse du catalogue : ... mm/an"
    QString ajustement;  // "Droite ajustée sur N jours : ... mm/an"
};

// The calibration and measurement of one window.
class TMesureCourbes {
public:
    Etalonnage etalonnage;
    bool ModeCalibrage = false;
    bool ModeMesure = false;
    int axe = Temps; // the current axis of the calibration
    // Markers: x for the time axis, y for the others.
    std::array<int, 4> repere1{}, repere2{};
    // The two values of each axis (Annee1/Annee2, lat1/lat2, Long1/Long2, Alt1/Alt2).
    std::array<double, 4> valeur1{2000, 0, 0, 0}, valeur2{2000, 5, 5, 5};

    // The station shown: its catalogue velocities, and its daily positions if any.
    TStationGPS station;
    PositionsJournalieres positions;

    // Opening for a station: calibrated (measure mode) when a calibration was read.
    void ouvrir(const TStationGPS& s, const std::optional<Etalonnage>& lu, PositionsJournalieres jours);
    // "&Définir".
    void definir();
    // An axis button: the hint line of the axis.
    void choisirAxe(int a);
    // OK of the instructions: the axes with two different markers and two different
    // values are calibrated (the others keep theirs). Returns true when the window
    // is then in measure mode (some axis is calibrated).
    bool valider();
    // Abort and "&Effacer": both modes off, markers and calibration to 0.
    void effacer();

    // Pointer events, view pixels. After each, `trace` holds the overlay's lines
    // (the overlay is cleared and they are drawn) when it changed.
    void appui(int x, int y);
    void deplacement(int x, int y, bool gaucheEnfonce);
    void relachement(int x, int y);

    Affichage affichage;
    std::optional<std::vector<Trait>> trace;

private:
    void mesurer(int x, int y);
    bool departPose_ = false;
    int x0_ = 0, y0_ = 0;
};

// Texts.
QString texteDate(double annee);
QString texteVariation(int axe, double mm);
QString texteVitesse(int axe, double mmParAn);
QString texteCatalogue(double mmParAn);
QString texteAjustement(int jours, double mmParAn);

} // namespace courbes
