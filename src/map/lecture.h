// Readout of the map's bottom panel: the texts shown for the position under the
// pointer (latitude, longitude, altitude), for the nearest GPS station (name and
// speed, absolute or relative to the fixed station) and for the nearest volcano
// (name, elevation, type, last activity); the elevation-grid indices of a map
// pixel; and the text of the volcano search.
//
// Numbers use the decimal separator of the system (data/decimal.h).
#pragma once

#include "data/records.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace carte {

// Picture formats "#0.#", "#0.##": at least one integer digit, at most
// `decimalesMax` decimals, no trailing zeros, halves rounded away from zero.
QString formatDecimal(double v, int decimalesMax);
// General format with `chiffres` significant digits: fixed notation while the
// integer part has at most that many digits and |v| >= 0.00001, otherwise
// "d.ddE+x"; trailing zeros removed.
QString formatGeneral(double v, int chiffres);

// Elevation-grid indices of a map pixel on a W x H map shifted by `decalage`
// degrees, with f grid points per degree. The column is brought once into
// [-180 f, 180 f].
struct IndicesGrille {
    int ligne = 0;
    int colonne = 0;
    bool surGrille = false; // |colonne| <= 180 f and |ligne| <= 90 f
};
IndicesGrille indicesGrille(double x, double y, int W, int H, int decalage, int f);

// The three position labels of the panel.
struct TextesPosition {
    QString latitude;
    QString longitude;
    QString altitude;
    bool operator==(const TextesPosition& o) const
    {
        return latitude == o.latitude && longitude == o.longitude && altitude == o.altitude;
    }
};

// While the pointer moves: "Latitude : 12.3 ° N", "Longitude : 4.5 ° O",
// "altitude : 1234". The hemisphere letter follows the sign of the value, none at
// exactly 0. Off the grid only the bare prefixes are shown.
TextesPosition textesPositionMouvement(double longitude, double latitude, bool surGrille, int altitude);
// At a press: the same in whole degrees ("Latitude : 12° N").
TextesPosition textesPositionAppui(int longitudeEntiere, int latitudeEntiere, bool surGrille, int altitude);

// "distance : 1234 km".
QString texteDistance(int km);
// "1234 km" (the cumulative distance of a path).
QString texteDistanceCumulee(int km);

// Nearest GPS station readout.
struct LectureStation {
    int indice = -1;      // in the list searched; -1: no station near, both texts empty
    QString station;      // "\nStation : NAME"
    QString vitesse;      // "Vitesse : 12.3 mm/an" or "Vitesse relative : 4.56 mm/an"
};
// `avecReference`: a fixed station is chosen, whose velocity components are
// (vitLatRef, vitLongRef); the speed shown is then that of the difference.
LectureStation lectureStation(const std::vector<TStationGPS>& stations, double longitude, double latitude,
                              bool avecReference, double vitLatRef, double vitLongRef);

// Index of the volcano nearest to the point among those whose latitude and
// longitude both differ from it by strictly less than 0.7 degrees; ties go to the
// first; -1 when none.
int volcanLePlusProche(const std::vector<TVolcan>& volcans, double longitude, double latitude);

struct LectureVolcan {
    int indice = -1; // -1: none near, the volcano labels are hidden
    QString nom;
    QString altitude; // "1234 m", empty when the elevation is unknown (<= -10000)
    QString type;
    QString activite;
};
LectureVolcan lectureVolcan(const std::vector<TVolcan>& volcans, double longitude, double latitude);

// Volcano search: the lines of every volcano whose name contains `texte`
// (compared in upper case), or the single line "Aucun volcan trouvé.".
// `trouves` receives the number of volcanoes listed.
QStringList rechercheVolcans(const QString& texte, const std::vector<TVolcan>& volcans, int* trouves = nullptr);

} // namespace carte
