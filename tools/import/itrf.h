// Station positions and velocities of an ITRF SSC file (ITRF2014 GNSS), one
// station per DOMES number and code, turned into the program's station records.
//
// A station often has several solutions: the frame opens a new one at each
// earthquake or equipment change, and gives each its validity interval. The one
// kept stands for the station's long-term motion (see solutionsLongTerme).
#pragma once

#include "data/records.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <map>
#include <vector>

// One solution: position at the reference epoch and velocity, Earth-centred
// Cartesian (m, m/yr), with its validity interval.
struct SolutionITRF {
    QString domes, nom, code;
    int numero = 1;  // SOLN; 1 when the file gives none (a single solution)
    double x = 0, y = 0, z = 0;
    double vx = 0, vy = 0, vz = 0;
    double svx = 0, svy = 0, svz = 0;
    // Decimal years; NaN for an open bound (written 00:000:00000).
    double debut = NAN, fin = NAN;
};

namespace ITRF2014 {
// The GNSS data of the frame run from 1994.0 to 2015.1: an open bound of a
// validity interval stands for one of these dates.
constexpr double DebutDonnees = 1994.0;
constexpr double FinDonnees = 2015.1;
// Two velocities closer than this on every axis (m/yr) are the same velocity:
// the frame ties the velocities of a station's solutions across equipment
// changes, and prints them with 0.01 mm/yr steps.
constexpr double EcartVitesse = 0.00005;
} // namespace ITRF2014

// The time a station was observed, for the open bounds of its solutions
// (decimal years).
struct PeriodeStation {
    double debut = ITRF2014::DebutDonnees, fin = ITRF2014::FinDonnees;
};

// Years of validity of a solution, open bounds taken at the ends of the
// station's observation period.
double dureeSolution(const SolutionITRF& s, const PeriodeStation& p = {});

// Observation periods by station code, from the first and last days of data of
// the NGL station list (Sta Lat Long Hgt X Y Z Dtbeg Dtend ...), kept within the
// frame's data span. A station of the list is taken only when it lies within 1 km
// of the solutions of that code, so that two sites sharing a code are not mixed.
std::map<QString, PeriodeStation> periodesNGL(const QByteArray& liste, const std::vector<SolutionITRF>& s);

// Reads the position and velocity lines of an SSC file (header lines are
// passed over). Lines that look like station lines but do not convert are
// counted by reason in `ignores` ("N lignes <reason>"). False with a French
// message when no solution at all is found.
bool lireSolutionsITRF(const QByteArray& donnees, const QString& nom, std::vector<SolutionITRF>& out,
                       QString* message = nullptr, std::map<QString, int>* ignores = nullptr);

struct ChoixITRF {
    int stations = 0;
    int periodes = 0;          // stations with an observation period from the NGL list
    int plusieurs = 0;         // stations with more than one solution
    int autreQueDerniere = 0;  // stations whose kept velocity is not that of their last solution
};

// For each station (DOMES number and code, in the order of first appearance),
// the index in `s` of the solution standing for its long-term motion. Solutions
// of the same velocity (within ITRF2014::EcartVitesse) are gathered and their
// durations added (open bounds from `periodes`, by code, or the frame's data
// span): the velocity valid for the longest time wins, ties going to the most
// recent, and the latest solution having it is returned.
std::vector<std::size_t> solutionsLongTerme(const std::vector<SolutionITRF>& s,
                                            const std::map<QString, PeriodeStation>& periodes = {},
                                            ChoixITRF* choix = nullptr);

// A station record of a solution: geodetic position on GRS80, velocity and its
// uncertainty turned to north, east, up in mm/yr (uncertainties from the
// diagonal only), height in mm; Affiche = 1.
TStationGPS stationITRF(const SolutionITRF& s);

// The whole reading: one record per station, sorted by code, Rang = index.
// `listeNGL` is the NGL station list giving the observation periods (may be
// empty: open bounds then stand for the ends of the frame's data).
bool lireStationsITRF(const QByteArray& donnees, const QByteArray& listeNGL, const QString& nom,
                      std::vector<TStationGPS>& out, QString* message = nullptr, ChoixITRF* choix = nullptr,
                      std::map<QString, int>* ignores = nullptr);
