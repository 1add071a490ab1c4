// The rigid plates of the PB2002 model (Bird 2003) as the data folder holds them:
// the plate boundaries (polylines whose steps carry their kind), the closed
// outline of each plate with its two-letter code, and each plate's Euler pole
// relative to the Pacific plate. Readers of the three product files, the plate
// under a point and the French names of the 52 plates.
//
// Product files (UTF-8 text, lines starting with '#' are comments):
//  - plaques_limites.txt: a segment starts with "> AF - AN" (plate on the left,
//    '-' or the subduction polarity '/' (the right plate dives under the left
//    one) or '\' (the left under the right), plate on the right, as one travels
//    along the segment seen from above); then one line per point,
//    "longitude latitude KIND", KIND being the kind of the step from this point
//    to the next (CCB, CTF, CRB, OSR, OTF, OCB, SUB) and "-" on the last point.
//  - plaques_contours.txt: "> AF" then "longitude latitude" lines, a closed
//    outline run anticlockwise seen from above (last point = first point).
//  - plaques_poles.txt: "AF latitude longitude rate" (degrees, degrees per
//    million years, anticlockwise), relative to the Pacific plate.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace plaques {

inline const char* const FichierLimites = "plaques_limites.txt";
inline const char* const FichierContours = "plaques_contours.txt";
inline const char* const FichierPoles = "plaques_poles.txt";

// The kinds of boundary steps of the model.
enum class TypeLimite : std::uint8_t {
    CCB, // continental convergent boundary
    CTF, // continental transform fault
    CRB, // continental rift
    OSR, // oceanic spreading ridge
    OTF, // oceanic transform fault
    OCB, // oceanic convergent boundary
    SUB, // subduction zone
};
constexpr int NbTypesLimite = 7;
// "OSR" -> TypeLimite::OSR; false for anything else.
bool typeDeCode(const QString& code, TypeLimite& t);
const char* codeDeType(TypeLimite t);

// The five families the map draws in their own colours.
enum class FamilleLimite : std::uint8_t { Dorsale, Subduction, Transformante, Convergence, Rift };
constexpr int NbFamilles = 5;
FamilleLimite familleDe(TypeLimite t);
// "Dorsales océaniques", "Zones de subduction", ...
QString nomFamille(FamilleLimite f);

struct PointGeo {
    double longitude = 0; // -180 … 180
    double latitude = 0;
};

struct SegmentLimite {
    QString gauche, droite; // plate codes
    // '/' : the right plate subducts under the left one; '\' : the left under the
    // right; '-' : no subduction along the segment.
    char polarite = '-';
    std::vector<PointGeo> points;
    // types[i]: the step from points[i] to points[i + 1] (points.size() - 1 of them).
    std::vector<TypeLimite> types;
};

struct ContourPlaque {
    QString code;
    std::vector<PointGeo> points; // closed
    // Latitude range, and the pole the outline encircles (+1 north, -1 south, 0 none).
    double latMin = 0, latMax = 0;
    int pole = 0;
};

struct PoleEuler {
    QString code;
    double latitude = 0;  // degrees
    double longitude = 0; // degrees
    double vitesse = 0;   // degrees per million years, anticlockwise
};

// Each reader reads the whole file and checks every record; on the first faulty
// line it returns false with a French message naming the file and the line, and
// the output stays empty (a partial model would mislead).
bool lireLimites(const QString& chemin, std::vector<SegmentLimite>& out, QString& erreur);
bool lireContours(const QString& chemin, std::vector<ContourPlaque>& out, QString& erreur);
bool lirePoles(const QString& chemin, std::vector<PoleEuler>& out, QString& erreur);
// The same on file contents (the importer checks what it writes with them).
bool analyserLimites(const QByteArray& texte, const QString& nom, std::vector<SegmentLimite>& out, QString& erreur);
bool analyserContours(const QByteArray& texte, const QString& nom, std::vector<ContourPlaque>& out, QString& erreur);
bool analyserPoles(const QByteArray& texte, const QString& nom, std::vector<PoleEuler>& out, QString& erreur);

// Latitude range and encircled pole of an outline (the readers fill them).
void preparerContour(ContourPlaque& c);
// True when the point lies inside the outline: a ray along the meridian towards
// the north pole crosses the outline an odd number of times, the parity reversed
// for an outline around the north pole. Steps are taken straight in longitude and
// latitude (they are at most ~100 km long).
bool contient(const ContourPlaque& c, double longitude, double latitude);

// French name of a plate code ("PA" -> "Pacifique"); the code itself when unknown.
QString nomPlaque(const QString& code);
// Every code of the model with a French name, in the model's order.
const QStringList& codesPlaques();

// The plates of the model, loaded from a data folder.
class TModelePlaques {
public:
    // Reads the three products of `dossier` (with its trailing separator or not).
    // False with the message of the first file at fault; what was loaded before stays.
    bool charger(const QString& dossier, QString& erreur);
    // Reads only the boundaries (the layer needs nothing else).
    bool chargerLimites(const QString& dossier, QString& erreur);
    bool limitesChargees() const { return !limites.empty(); }
    bool contoursCharges() const { return !contours.empty(); }
    bool polesCharges() const { return !poles.empty(); }

    // Index in `contours` of the plate holding the point, -1 when none does: the
    // plate filling the point's cell of the lookup grid, or among the outlines
    // crossing the cell the one holding it.
    int plaqueEn(double longitude, double latitude) const;
    // Its code, empty when none.
    QString codeEn(double longitude, double latitude) const;
    // Index in `poles` of a code, -1 when missing.
    int indicePole(const QString& code) const;

    std::vector<SegmentLimite> limites;
    std::vector<ContourPlaque> contours;
    std::vector<PoleEuler> poles;

    // Builds the lookup grid of the outlines (charger calls it; after a direct
    // change of `contours`, call it again).
    void indexer();

private:
    int parcoursComplet(double longitude, double latitude) const;

    // One-degree cells: the plate filling a cell that no outline crosses, or -1
    // and the list of the outlines crossing it.
    static constexpr int NbLon = 360, NbLat = 180;
    std::vector<int> cellule_;
    std::vector<std::vector<int>> candidats_;
    mutable int dernier_ = -1;
};

} // namespace plaques
