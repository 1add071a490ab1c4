#include "plates/cinematique.h"

#include <algorithm>
#include <cmath>

namespace plaques {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Rad = Pi / 180.0;
// mm/an of a rotation of 1 rad/Ma at the surface: 6371 km = 6.371e9 mm, over 1e6 years.
constexpr double MmParAnParRadMa = RayonTerreKm;

// Local east and north unit vectors at a point.
void repere(double longitude, double latitude, Vec3& est, Vec3& nord)
{
    const double l = longitude * Rad, p = latitude * Rad;
    est = {-std::sin(l), std::cos(l), 0};
    nord = {-std::sin(p) * std::cos(l), -std::sin(p) * std::sin(l), std::cos(p)};
}

} // namespace

double Vec3::norme() const
{
    return std::sqrt(x * x + y * y + z * z);
}

Vec3 produitVectoriel(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double produitScalaire(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 unitaire(double longitude, double latitude)
{
    const double l = longitude * Rad, p = latitude * Rad;
    return {std::cos(p) * std::cos(l), std::cos(p) * std::sin(l), std::sin(p)};
}

Vec3 vecteurRotation(const Pole& p)
{
    return unitaire(p.longitude, p.latitude) * (p.vitesse * Rad);
}

Pole poleDe(const Vec3& omega)
{
    const double n = omega.norme();
    Pole p;
    if (!(n > 0))
        return p;
    p.latitude = std::asin(std::clamp(omega.z / n, -1.0, 1.0)) / Rad;
    p.longitude = std::atan2(omega.y, omega.x) / Rad;
    p.vitesse = n / Rad;
    return p;
}

double VitesseSurface::norme() const
{
    return std::hypot(est, nord);
}

VitesseSurface vitessePredite(const Vec3& omega, double longitude, double latitude)
{
    // v = omega x R r: its east component is R omega . north, its north component
    // -R omega . east (r x east = north, r x north = -east).
    Vec3 e, n;
    repere(longitude, latitude, e, n);
    return {MmParAnParRadMa * produitScalaire(omega, n), -MmParAnParRadMa * produitScalaire(omega, e)};
}

void valeursPropres(const double m[3][3], double out[3])
{
    // Closed form for a symmetric matrix (trigonometric solution of the cubic).
    const double p1 = m[0][1] * m[0][1] + m[0][2] * m[0][2] + m[1][2] * m[1][2];
    const double q = (m[0][0] + m[1][1] + m[2][2]) / 3.0;
    if (p1 == 0) {
        out[0] = m[0][0];
        out[1] = m[1][1];
        out[2] = m[2][2];
        std::sort(out, out + 3);
        return;
    }
    const double p2 = (m[0][0] - q) * (m[0][0] - q) + (m[1][1] - q) * (m[1][1] - q) + (m[2][2] - q) * (m[2][2] - q)
                      + 2 * p1;
    const double p = std::sqrt(p2 / 6.0);
    double b[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            b[i][j] = (m[i][j] - (i == j ? q : 0)) / p;
    const double det = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) - b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0])
                       + b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
    const double r = std::clamp(det / 2.0, -1.0, 1.0);
    const double phi = std::acos(r) / 3.0;
    const double e1 = q + 2 * p * std::cos(phi);
    const double e3 = q + 2 * p * std::cos(phi + 2 * Pi / 3);
    out[0] = e3;
    out[1] = 3 * q - e1 - e3;
    out[2] = e1;
    std::sort(out, out + 3);
}

ResultatAjustement ajusterRotation(const std::vector<TStationGPS>& stations, double seuilConditionnement)
{
    ResultatAjustement r;
    r.nbStations = static_cast<int>(stations.size());
    if (stations.size() < 3) {
        r.erreur = QStringLiteral("Il faut au moins trois stations GPS pour ajuster un pôle eulérien "
                                  "(%1 sélectionnée(s)) : délimitez une zone plus grande.")
                       .arg(stations.size());
        return r;
    }
    // Normal equations M omega = b, with M = sum(I - r r^T) (rows north and -east
    // per station) and b = sum(north ve - east vn) / R.
    double m[3][3] = {};
    double b[3] = {};
    for (const TStationGPS& s : stations) {
        if (!std::isfinite(s.VitLat) || !std::isfinite(s.VitLong) || !std::isfinite(s.Latitude)
            || !std::isfinite(s.Longitude)) {
            r.erreur = QStringLiteral("La station %1 n'a pas de vitesse utilisable.").arg(shortToQString(s.Nom));
            return r;
        }
        Vec3 e, n;
        repere(s.Longitude, s.Latitude, e, n);
        const double ne[3] = {n.x, n.y, n.z}, ee[3] = {e.x, e.y, e.z};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                m[i][j] += ne[i] * ne[j] + ee[i] * ee[j];
            b[i] += (ne[i] * s.VitLong - ee[i] * s.VitLat) / MmParAnParRadMa;
        }
    }
    double vp[3];
    valeursPropres(m, vp);
    if (!(vp[0] > seuilConditionnement * vp[2])) {
        r.erreur = QStringLiteral("Les %1 stations sont trop proches les unes des autres pour ajuster un pôle "
                                  "stable : délimitez une zone plus étendue (plusieurs centaines de kilomètres).")
                       .arg(stations.size());
        return r;
    }
    // Cramer's rule on the well-conditioned 3 x 3 system.
    auto det3 = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
               + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det3(m);
    double w[3];
    for (int k = 0; k < 3; ++k) {
        double a[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                a[i][j] = j == k ? b[i] : m[i][j];
        w[k] = det3(a) / d;
    }
    r.omega = {w[0], w[1], w[2]};
    r.pole = poleDe(r.omega);
    double somme = 0;
    r.stations.reserve(stations.size());
    for (const TStationGPS& s : stations) {
        StationAjustee a;
        a.nom = shortToQString(s.Nom);
        a.longitude = s.Longitude;
        a.latitude = s.Latitude;
        a.mesuree = {s.VitLong, s.VitLat};
        a.ajustee = vitessePredite(r.omega, s.Longitude, s.Latitude);
        a.residu = {a.mesuree.est - a.ajustee.est, a.mesuree.nord - a.ajustee.nord};
        a.ecart = a.residu.norme();
        somme += a.ecart * a.ecart;
        r.stations.push_back(a);
    }
    r.rms = std::sqrt(somme / static_cast<double>(stations.size()));
    for (std::size_t i = 0; i < r.stations.size(); ++i)
        if (r.stations[i].ecart > 3 * r.rms)
            r.horsNorme.push_back(static_cast<int>(i));
    std::sort(r.horsNorme.begin(), r.horsNorme.end(),
              [&](int a, int b) { return r.stations[static_cast<std::size_t>(a)].ecart > r.stations[static_cast<std::size_t>(b)].ecart; });
    r.ok = true;
    return r;
}

} // namespace plaques
