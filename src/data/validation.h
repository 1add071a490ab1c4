// Plausibility checks of the records read from any file.
//
// Whatever a file holds (a photo renamed ".fse", a truncated table, a catalogue
// with a corrupted row), only records whose every number is finite and within the
// bounds below reach the stores; the readers count the others and say where the
// first one was. The bounds are wide: they only keep out what cannot be a
// measurement, never a rare but real event.
//
//   latitude            -90 … 90 degrees
//   longitude           any finite value within ±720 degrees, brought into -180 … 180
//   focal depth         -15 … 1000 km (negative: above sea level, as some catalogues
//                       give for shallow events under high ground)
//   magnitude           -3 … 10.5
//   date (day count)    finite, years -10000 … 10000
//   volcano altitude    -11000 … 9000 m; -10000 or less means "unknown" and is
//                       accepted (kept as it is, never drawn)
//   GPS velocity        each component within ±1000 mm/an
//   GPS uncertainties   0 … 1000 mm/an for velocities, 0 … 1e7 mm for positions
//   GPS height          within ±1e8 (the files give metres or millimetres)
#pragma once

#include "data/longitude.h"
#include "data/records.h"

#include <QString>

#include <map>

namespace bornes {
constexpr double LongitudeMax = 720;
constexpr double ProfondeurMin = -15;
constexpr double ProfondeurMax = 1000;
constexpr double MagnitudeMin = -3;
constexpr double MagnitudeMax = 10.5;
constexpr double DateMin = -4'350'000; // about year -10000
constexpr double DateMax = 2'960'000;  // about year 10000
constexpr double AltitudeVolcanMin = -11000;
constexpr double AltitudeVolcanMax = 9000;
constexpr double AltitudeInconnue = -10000;
constexpr double VitesseMax = 1000;
constexpr double IncertitudeVitesseMax = 1000;
constexpr double IncertitudePositionMax = 1e7;
constexpr double HauteurStationMax = 1e8;
} // namespace bornes


// Quick checks, for the readers' loops: true when every value is within bounds
// (the longitude may still need normalising).
inline bool seismePlausible(const TSeisme& s)
{
    // Without short cuts: the comparisons of a million records then run side by side.
    return (s.Latitude >= -90.0f) & (s.Latitude <= 90.0f) &
           (s.Longitude >= static_cast<float>(-bornes::LongitudeMax)) &
           (s.Longitude <= static_cast<float>(bornes::LongitudeMax)) &
           (s.Profondeur >= static_cast<float>(bornes::ProfondeurMin)) &
           (s.Profondeur <= static_cast<float>(bornes::ProfondeurMax)) &
           (s.Magnitude >= static_cast<float>(bornes::MagnitudeMin)) &
           (s.Magnitude <= static_cast<float>(bornes::MagnitudeMax)) & (s.DateHeure >= bornes::DateMin) &
           (s.DateHeure <= bornes::DateMax);
}

// Each check normalises the longitude of a valid record in place and returns an
// empty text; for an implausible record it returns the reason in French
// ("profondeur -1e+10 km hors limites") and leaves the record as it was.
QString verifierSeisme(TSeisme& s);
QString verifierVolcan(TVolcan& v);
QString verifierStation(TStationGPS& s);
// The same checks on values read as doubles, before they are stored in the single
// precision fields of a record (a double beyond the float range must never be
// converted).
QString verifierValeursSeisme(double date, double latitude, double longitude, double profondeur,
                              double magnitude);
QString verifierValeursVolcan(double latitude, double longitude, double altitude);

// A double stored in a single precision field: values beyond the float range
// (only the "unknown altitude" convention lets such a value through the checks)
// are brought to its ends instead of overflowing.
float versSimple(double v);

// What a reader skipped: how many records, and where and why the first one.
struct BilanRejets {
    int nombre = 0;
    int premier = 0;   // 1-based line or record number of the first one
    QString raison;    // its reason
    // How many for each kind of reason, when the reader tells it (short French
    // words that read after "N lignes": "sans profondeur", "hors limites"...).
    std::map<QString, int> parMotif;

    void noter(int position, const QString& pourquoi, const char* motif = nullptr)
    {
        if (nombre++ == 0) {
            premier = position;
            raison = pourquoi;
        }
        if (motif)
            ++parMotif[QString::fromUtf8(motif)];
    }
    void ajouter(const BilanRejets& autre)
    {
        if (autre.nombre == 0)
            return;
        if (nombre == 0) {
            premier = autre.premier;
            raison = autre.raison;
        }
        nombre += autre.nombre;
        for (const auto& [m, n] : autre.parMotif)
            parMotif[m] += n;
    }
    // "3 enregistrements ignorés (le premier, n° 12 : latitude 95 hors limites)", or
    // with `lignes` "3 lignes ignorées (la première, ligne 12 : …)". Empty when
    // nothing was skipped.
    QString texte(bool lignes) const;
};
