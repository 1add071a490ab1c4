#include "map/lecture.h"

#include "data/codes.h"
#include "data/decimal.h"
#include "data/longitude.h"
#include "map/projection.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace carte {

namespace {

QString avecSeparateur(QString s)
{
    if (SeparateurDecimal() != '.')
        s.replace(QLatin1Char('.'), QChar::fromLatin1(SeparateurDecimal()));
    return s;
}

void retirerZerosFinaux(std::string& s)
{
    const auto point = s.find('.');
    if (point == std::string::npos)
        return;
    std::size_t fin = s.size();
    while (fin > point + 1 && s[fin - 1] == '0')
        --fin;
    if (fin == point + 1)
        fin = point;
    s.erase(fin);
}

// Halves away from zero, as the picture formats do, on the value scaled by 10^d.
double arrondiDecimal(double v, int d)
{
    const double p = std::pow(10.0, d);
    return std::round(v * p) / p;
}

} // namespace

QString formatDecimal(double v, int decimalesMax)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    double r = arrondiDecimal(v, decimalesMax);
    if (r == 0)
        r = 0; // no "-0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimalesMax, r);
    std::string s(buf);
    retirerZerosFinaux(s);
    if (s == "-0")
        s = "0";
    return avecSeparateur(QString::fromStdString(s));
}

QString formatGeneral(double v, int chiffres)
{
    if (!std::isfinite(v) || v == 0)
        return QStringLiteral("0");
    if (chiffres < 1)
        chiffres = 1;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", chiffres - 1, v);
    std::string e(buf);
    const auto posE = e.find('e');
    const int exposant = std::atoi(e.c_str() + posE + 1);
    std::string s;
    if (exposant + 1 <= chiffres && std::fabs(v) >= 0.00001) {
        const int decimales = std::max(0, chiffres - 1 - exposant);
        std::snprintf(buf, sizeof buf, "%.*f", decimales, v);
        s = buf;
        retirerZerosFinaux(s);
    } else {
        std::string mantisse = e.substr(0, posE);
        retirerZerosFinaux(mantisse);
        s = mantisse + "E" + (exposant < 0 ? "-" : "+") + std::to_string(std::abs(exposant));
    }
    return avecSeparateur(QString::fromStdString(s));
}

IndicesGrille indicesGrille(double x, double y, int W, int H, int decalage, int f)
{
    IndicesGrille g;
    if (W <= 0 || H <= 0)
        return g;
    g.ligne = arrondi((H / 2.0 - y) * f / H * 180.0);
    g.colonne = ramenerLongitude(arrondi(((x - W / 2.0) / W * 360.0 - decalage) * f), 180 * f);
    g.surGrille = std::abs(g.colonne) <= 180 * f && std::abs(g.ligne) <= 90 * f;
    return g;
}

namespace {

const char* lettreLatitude(double v)
{
    return v > 0 ? " N" : (v < 0 ? " S" : "");
}

const char* lettreLongitude(double v)
{
    return v > 0 ? " E" : (v < 0 ? " O" : "");
}

TextesPosition prefixesSeuls()
{
    return {QStringLiteral("Latitude : "), QStringLiteral("Longitude : "), QStringLiteral("altitude : ")};
}

} // namespace

TextesPosition textesPositionMouvement(double longitude, double latitude, bool surGrille, int altitude)
{
    if (!surGrille)
        return prefixesSeuls();
    TextesPosition t;
    t.latitude = QStringLiteral("Latitude : ") + formatDecimal(std::fabs(latitude), 1) + QStringLiteral(" °") +
                 QLatin1String(lettreLatitude(latitude));
    t.longitude = QStringLiteral("Longitude : ") + formatDecimal(std::fabs(longitude), 1) + QStringLiteral(" °") +
                  QLatin1String(lettreLongitude(longitude));
    t.altitude = QStringLiteral("altitude : ") + QString::number(altitude);
    return t;
}

TextesPosition textesPositionAppui(int longitudeEntiere, int latitudeEntiere, bool surGrille, int altitude)
{
    if (!surGrille)
        return prefixesSeuls();
    TextesPosition t;
    t.latitude = QStringLiteral("Latitude : ") + QString::number(std::abs(latitudeEntiere)) + QStringLiteral("°") +
                 QLatin1String(lettreLatitude(latitudeEntiere));
    t.longitude = QStringLiteral("Longitude : ") + QString::number(std::abs(longitudeEntiere)) +
                  QStringLiteral("°") + QLatin1String(lettreLongitude(longitudeEntiere));
    t.altitude = QStringLiteral("altitude : ") + QString::number(altitude);
    return t;
}

QString texteDistance(int km)
{
    return QStringLiteral("distance : ") + QString::number(km) + QStringLiteral(" km");
}

QString texteDistanceCumulee(int km)
{
    return QString::number(km) + QStringLiteral(" km");
}

LectureStation lectureStation(const std::vector<TStationGPS>& stations, double longitude, double latitude,
                              bool avecReference, double vitLatRef, double vitLongRef)
{
    LectureStation l;
    l.indice = stationLaPlusProche(stations, longitude, latitude);
    if (l.indice < 0)
        return l;
    const TStationGPS& s = stations[static_cast<std::size_t>(l.indice)];
    l.station = QStringLiteral("\nStation : ") + shortToQString(s.Nom).left(15);
    if (!avecReference) {
        const double v = std::sqrt(s.VitLat * s.VitLat + s.VitLong * s.VitLong);
        l.vitesse = QStringLiteral("Vitesse : ") + formatGeneral(v, 3) + QStringLiteral(" mm/an");
    } else {
        const double n = s.VitLat - vitLatRef;
        const double e = s.VitLong - vitLongRef;
        l.vitesse = QStringLiteral("Vitesse relative : ") + formatGeneral(std::sqrt(n * n + e * e), 3) +
                    QStringLiteral(" mm/an");
    }
    return l;
}

int volcanLePlusProche(const std::vector<TVolcan>& volcans, double longitude, double latitude)
{
    return indiceLePlusProche(volcans, longitude, latitude);
}

LectureVolcan lectureVolcan(const std::vector<TVolcan>& volcans, double longitude, double latitude)
{
    LectureVolcan l;
    l.indice = volcanLePlusProche(volcans, longitude, latitude);
    if (l.indice < 0)
        return l;
    const TVolcan& v = volcans[static_cast<std::size_t>(l.indice)];
    l.nom = shortToQString(v.Nom);
    if (v.Altitude > -10000)
        l.altitude = QString::number(arrondi(v.Altitude)) + QStringLiteral(" m");
    l.type = texteTypeVolcan(v.TypeVolcan);
    l.activite = texteActivite(v.Activite);
    return l;
}

QStringList rechercheVolcans(const QString& texte, const std::vector<TVolcan>& volcans, int* trouves)
{
    QStringList lignes;
    int n = 0;
    const QString cherche = texte.toUpper();
    if (!cherche.isEmpty()) {
        for (const TVolcan& v : volcans) {
            const QString nom = shortToQString(v.Nom);
            if (!nom.toUpper().contains(cherche))
                continue;
            ++n;
            lignes << nom;
            lignes << QStringLiteral("Latitude : ") + formatGeneral(v.Latitude, 3);
            lignes << QStringLiteral("Longitude : ") + formatGeneral(v.Longitude, 3);
            if (v.Altitude > -10000)
                lignes << QStringLiteral("Altitude : ") + QString::number(arrondi(v.Altitude)) + QStringLiteral(" m");
            lignes << texteTypeVolcan(v.TypeVolcan);
            lignes << texteActivite(v.Activite);
            lignes << QStringLiteral(" ");
        }
    }
    if (n == 0)
        lignes << QStringLiteral("Aucun volcan trouvé.");
    if (trouves)
        *trouves = n;
    return lignes;
}

} // namespace carte
