#include "data/validation.h"

#include <cmath>
#include <limits>

namespace {

QString nombre(double v)
{
    return QString::number(v, 'g', 6);
}

bool dans(double v, double mini, double maxi)
{
    return v >= mini && v <= maxi; // false for NaN
}

QString horsLimites(const char* quoi, double v, const char* unite = "")
{
    return QStringLiteral("%1 %2%3 hors limites").arg(QString::fromUtf8(quoi), nombre(v), QString::fromUtf8(unite));
}

// Latitude and longitude of any record; the longitude is normalised on success.
QString verifierPosition(double latitude, double longitude)
{
    if (!dans(latitude, -90, 90))
        return horsLimites("latitude", latitude, " °");
    if (!dans(longitude, -bornes::LongitudeMax, bornes::LongitudeMax))
        return horsLimites("longitude", longitude, " °");
    return QString();
}

} // namespace

float versSimple(double v)
{
    constexpr double maxi = std::numeric_limits<float>::max();
    if (v > maxi)
        return std::numeric_limits<float>::max();
    if (v < -maxi)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(v); // NaN stays NaN
}

QString verifierValeursSeisme(double date, double latitude, double longitude, double profondeur,
                              double magnitude)
{
    QString r = verifierPosition(latitude, longitude);
    if (!r.isEmpty())
        return r;
    if (!dans(profondeur, bornes::ProfondeurMin, bornes::ProfondeurMax))
        return horsLimites("profondeur", profondeur, " km");
    if (!dans(magnitude, bornes::MagnitudeMin, bornes::MagnitudeMax))
        return horsLimites("magnitude", magnitude);
    if (!dans(date, bornes::DateMin, bornes::DateMax))
        return horsLimites("date", date);
    return QString();
}

QString verifierSeisme(TSeisme& s)
{
    const QString r = verifierValeursSeisme(s.DateHeure, s.Latitude, s.Longitude, s.Profondeur, s.Magnitude);
    if (r.isEmpty())
        s.Longitude = static_cast<float>(ramenerLongitude(s.Longitude));
    return r;
}

QString verifierValeursVolcan(double latitude, double longitude, double altitude)
{
    QString r = verifierPosition(latitude, longitude);
    if (!r.isEmpty())
        return r;
    // An unknown altitude (-10000 or less) is a convention of the files, not a value.
    const bool inconnue = std::isfinite(altitude) && altitude <= bornes::AltitudeInconnue;
    if (!inconnue && !dans(altitude, bornes::AltitudeVolcanMin, bornes::AltitudeVolcanMax))
        return horsLimites("altitude", altitude, " m");
    return QString();
}

QString verifierVolcan(TVolcan& v)
{
    const QString r = verifierValeursVolcan(v.Latitude, v.Longitude, v.Altitude);
    if (r.isEmpty())
        v.Longitude = static_cast<float>(ramenerLongitude(v.Longitude));
    return r;
}

QString verifierStation(TStationGPS& s)
{
    QString r = verifierPosition(s.Latitude, s.Longitude);
    if (!r.isEmpty())
        return r;
    if (!dans(s.Altitude, -bornes::HauteurStationMax, bornes::HauteurStationMax))
        return horsLimites("hauteur", s.Altitude);
    struct Champ {
        const char* nom;
        double v;
        double mini, maxi;
        const char* unite;
    };
    const Champ champs[] = {
        {"vitesse nord", s.VitLat, -bornes::VitesseMax, bornes::VitesseMax, " mm/an"},
        {"vitesse est", s.VitLong, -bornes::VitesseMax, bornes::VitesseMax, " mm/an"},
        {"vitesse verticale", s.VitAlt, -bornes::VitesseMax, bornes::VitesseMax, " mm/an"},
        {"incertitude de la vitesse nord", s.IncVitLat, 0, bornes::IncertitudeVitesseMax, " mm/an"},
        {"incertitude de la vitesse est", s.IncVitLong, 0, bornes::IncertitudeVitesseMax, " mm/an"},
        {"incertitude de la vitesse verticale", s.IncVitAlt, 0, bornes::IncertitudeVitesseMax, " mm/an"},
        {"incertitude de la latitude", s.IncLatitude, 0, bornes::IncertitudePositionMax, " mm"},
        {"incertitude de la longitude", s.IncLongitude, 0, bornes::IncertitudePositionMax, " mm"},
        {"incertitude de la hauteur", s.IncAltitude, 0, bornes::IncertitudePositionMax, ""},
    };
    for (const Champ& c : champs)
        if (!dans(c.v, c.mini, c.maxi))
            return horsLimites(c.nom, c.v, c.unite);
    s.Longitude = ramenerLongitude(s.Longitude);
    return QString();
}

QString BilanRejets::texte(bool lignes) const
{
    if (nombre == 0)
        return QString();
    if (lignes) {
        if (nombre == 1)
            return QStringLiteral("1 ligne ignorée (ligne %1 : %2)").arg(premier).arg(raison);
        return QStringLiteral("%1 lignes ignorées (la première, ligne %2 : %3)").arg(nombre).arg(premier).arg(raison);
    }
    if (nombre == 1)
        return QStringLiteral("1 enregistrement ignoré (n° %1 : %2)").arg(premier).arg(raison);
    return QStringLiteral("%1 enregistrements ignorés (le premier, n° %2 : %3)")
        .arg(nombre)
        .arg(premier)
        .arg(raison);
}
