// Rigid plate kinematics on a sphere: angular velocity vectors from Euler poles,
// the relative rotation of two plates, the velocity a rotation gives a point, and
// the least-squares rotation of a rigid plate fitted to measured GPS velocities.
//
// Angular velocities are vectors in an Earth-centred frame (x towards 0° N 0° E,
// y towards 0° N 90° E, z towards the north pole), in radians per million years.
// Velocities at the surface are in mm/an, with east and north components.
#pragma once

#include "data/records.h"

#include <QString>

#include <vector>

namespace plaques {

// Earth radius used for surface velocities, in km.
constexpr double RayonTerreKm = 6371.0;

struct Vec3 {
    double x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    double norme() const;
};
Vec3 produitVectoriel(const Vec3& a, const Vec3& b);
double produitScalaire(const Vec3& a, const Vec3& b);
// Unit vector of a geographic point.
Vec3 unitaire(double longitude, double latitude);

// A pole in geographic form: latitude, longitude (degrees) and rate (°/Ma,
// anticlockwise seen from above the pole). A zero rotation has the pole (0, 0).
struct Pole {
    double latitude = 0;
    double longitude = 0;
    double vitesse = 0;
};
// Pole -> angular velocity vector, and back (the rate always >= 0).
Vec3 vecteurRotation(const Pole& p);
Pole poleDe(const Vec3& omega);

// Rotation of plate A relative to plate B, from their rotations in one frame:
// omegaA - omegaB (its opposite for B relative to A).
inline Vec3 rotationRelative(const Vec3& omegaA, const Vec3& omegaB)
{
    return omegaA - omegaB;
}

struct VitesseSurface {
    double est = 0;  // mm/an
    double nord = 0; // mm/an
    double norme() const;
};
// Velocity omega x r at a point of the surface.
VitesseSurface vitessePredite(const Vec3& omega, double longitude, double latitude);

// --- Fit of a rigid rotation to measured velocities ---

struct StationAjustee {
    QString nom;
    double longitude = 0, latitude = 0;
    VitesseSurface mesuree, ajustee, residu;
    double ecart = 0; // |residu|, mm/an
};

struct ResultatAjustement {
    bool ok = false;
    QString erreur; // French message when !ok
    Vec3 omega;     // rad/Ma
    Pole pole;
    int nbStations = 0;
    double rms = 0; // root mean square of the residual speeds, mm/an
    std::vector<StationAjustee> stations;
    // Indices in `stations` of those whose misfit exceeds three times the RMS.
    std::vector<int> horsNorme;
};

// Least squares over the east and north components of every station: the
// rotation omega minimising the sum of |v_i - omega x r_i|^2. Refused (with a
// French message) below three stations, when a velocity is not finite, or when
// the stations are too close together for the three components of the rotation
// to be told apart (the smallest eigenvalue of the normal matrix below
// `seuilConditionnement` times the largest).
ResultatAjustement ajusterRotation(const std::vector<TStationGPS>& stations, double seuilConditionnement = 1e-3);

// Eigenvalues (ascending) of a symmetric 3 x 3 matrix.
void valeursPropres(const double m[3][3], double out[3]);

} // namespace plaques
