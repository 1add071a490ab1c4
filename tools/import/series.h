// Daily GNSS position time series (NGL "tenv3", UNAVCO/PBO ".pos", and the
// "decimal year, year, day, dN, dE, dU" variant) and the curves picture drawn for
// the station: three stacked plots (latitude, longitude and height variation in
// cm against time in years) with graduated axes.
#pragma once

#include "tables/courbes.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct PointSerie {
    double t = 0;             // decimal year
    double n = 0, e = 0, u = 0; // north, east, up positions, m (any fixed origin)
};

struct SerieGPS {
    QString code;
    double latitude = 0, longitude = 0, hauteur = 0;  // degrees, degrees, m
    std::vector<PointSerie> points;                    // in time order
};

// Recognises the layout from the content; false with a message naming `nom`.
bool lireSerie(const QByteArray& donnees, const QString& nom, SerieGPS& s, QString* message);

// Least-squares velocities (mm/yr) of the three components and their formal
// uncertainties (scaled by the scatter); false with fewer than 10 points or less
// than a year of data.
struct VitessesSerie {
    double vN = 0, vE = 0, vU = 0, sN = 0, sE = 0, sU = 0;
};
bool vitessesSerie(const SerieGPS& s, VitessesSerie& v);

// Geometry of the curves picture. The viewer draws the picture with its top-left
// corner at (-15, -70) in a 580 x 700 view; its time axis is the band
// 55 < x < 565 and its plots the bands 34 < y < 205, 261 < y < 431, 488 < y < 658
// (view pixels). The plots' frames sit inside those bands.
namespace CourbesGPS {
constexpr int Largeur = 595;
constexpr int Hauteur = 770;
constexpr int DecalageX = 15;  // picture x = view x + 15
constexpr int DecalageY = 70;  // picture y = view y + 70
// Frame of the plots, picture pixels.
constexpr int Gauche = 75, Droite = 575;
constexpr int Haut[3] = {109, 336, 563};
constexpr int Bas[3] = {270, 496, 723};
} // namespace CourbesGPS

// Graduations actually drawn, in picture pixels, with their values (years or cm).
struct Graduation {
    double position;
    double valeur;
};
// value = position × pente + origine, picture pixels, as the axes were drawn.
struct EchelleAxe {
    double pente = 0, origine = 0;
};
struct AxesCourbes {
    std::vector<Graduation> temps;     // x positions
    std::vector<Graduation> variations[3];  // y positions, latitude, longitude, height
    EchelleAxe echelleTemps;           // years
    EchelleAxe echelles[3];            // cm
};

// Draws the curves picture of a series; `axes` receives the graduations.
TBitmap32 dessinerCourbes(const SerieGPS& s, AxesCourbes* axes = nullptr);

// The daily positions the picture plots: north, east and up in mm about their
// medians (the curves' zero), for the viewer's fit over a chosen window.
courbes::PositionsJournalieres positionsCourbes(const SerieGPS& s);

// The viewer's calibration of the picture drawn with these axes (its view's
// pixels are the picture's less the offsets 15 and 70).
courbes::Etalonnage etalonnageCourbes(const AxesCourbes& axes);
