// Drawing of the map's data layers (earthquakes, volcanoes, GPS stations with their
// velocity vectors) and of the vector legend, into 32-bit layers of the map's size.
#pragma once

#include "data/codes.h"
#include "data/records.h"
#include "map/etatcarte.h"
#include "ui/bitmap32.h"

#include <QFont>

#include <array>
#include <vector>

// Display choices, for the whole run.
struct ReglagesAffichage {
    TColor32 CouleurSeismes = 0xFFFF00FF;
    TColor32 CouleurStations = 0xFFA203FB;
    TColor32 CouleurVecteurs = 0xFFA203FB;
    std::array<TColor32, NbClassesCouleurVolcan> CouleurVolcans{0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000,
                                                                0xFFFF0000};
    int MagnitudeMini = 3;
    double ProfLimite = 500;
    TColor32 Attenuation = 0x00FFFFFF;
    double EchelleVecteurs = 1.5;
    bool PointsEpais = true;
    bool CorrectionVLat = false;
    TColor32 CouleurPopulation = 0xFFFF0000;
    int DensiteMini = 1;
    int DensiteMaxi = 100;
    TColor32 CouleurOutils = clWhite32; // mouse-tool lines: black over a black-and-white base
    QFont PoliceTraces = QFont(QStringLiteral("Arial"), 10);

    bool LegendePlacee = false;
    bool PlacementLegende = false;
    int PosLegendeX = 10;
    int PosLegendeY = 10;

    // "&Agrandir" / "&Rétrécir": ±0.25 within 0.5 … 5; false when already at the bound.
    bool agrandirVecteurs();
    bool retrecirVecteurs();
};

// Veil value of the "Atténuation du fond" spin (0 … 100): white with alpha round(v × 255 / 100).
TColor32 attenuationDepuisPourcentage(int pourcentage);
int pourcentageDepuisAttenuation(TColor32 attenuation);

// One point of colour c at (x, y), replacing what is there; with `epais` the
// 3 × 3 block around it. Pixels outside the layer are skipped.
void tracerPoint(TBitmap32& calque, int x, int y, TColor32 c, bool epais);

// Weight 0 … 255 of an earthquake colour for a focal depth: 255 at the surface
// (and above), 0 at ProfLimite or deeper.
int poidsProfondeur(double profondeur, double profLimite);
// The earthquake colour blended towards opaque black by the depth weight.
TColor32 couleurProfondeur(TColor32 couleur, double profondeur, double profLimite);

// The fixed station the vectors are drawn relative to.
struct ReferenceVecteurs {
    int station = -1; // index among the stations drawn; -1: absolute vectors
    double vitLat = 0;
    double vitLong = 0;
    static ReferenceVecteurs de(const EtatCarte& etat) { return {etat.StationRef, etat.VitLatRef, etat.VitLongRef}; }
};

// Components (east, north) in mm/an of a station's vector, relative to the
// reference station when there is one.
struct ComposantesVecteur {
    double e = 0;
    double n = 0;
};
ComposantesVecteur composantesVecteur(const TStationGPS& s, const ReferenceVecteurs& ref, double longitudeRef,
                                      bool correctionVLat);
ComposantesVecteur composantesVecteur(const TStationGPS& s, const EtatCarte& etat, double longitudeRef,
                                      bool correctionVLat);

// The layer renderers draw through any projection (the map's plate carrée, the
// polar discs); the layer must have the projection's size. Records the projection
// does not show are left out.
//
// Earthquake layer: cleared, then every event of magnitude >= MagnitudeMini plotted
// with its depth-shaded colour.
void dessinerSeismes(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& r,
                     const carte::TProjection& projection);
void dessinerSeismes(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& r,
                     const EtatCarte& etat);
// Volcano layer: cleared, then every volcano plotted in its class colour.
void dessinerVolcans(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& r,
                     const carte::TProjection& projection);
void dessinerVolcans(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& r,
                     const EtatCarte& etat);
// GPS layer: cleared to the attenuation veil; when `gpsAffiche`, the stations, the
// vectors of the stations whose Affiche is 1 (east and north components laid along
// the projection's local frame, `echelle` pixels per mm/an), the reference square
// and, when the legend is placed, the legend picture merged at its position.
// The vectors are `epaisseurVecteurs` thick (TracerLigne); −1: 1 with thick
// points, 0 otherwise.
void dessinerGPS(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& r,
                 const carte::TProjection& projection, const ReferenceVecteurs& ref, double echelle, bool gpsAffiche,
                 const TBitmap32* legende, int epaisseurVecteurs = -1);
void dessinerGPS(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& r,
                 const EtatCarte& etat, bool gpsAffiche, const TBitmap32* legende);

// The vector legend: an arrow of round(EchelleVecteurs × 50) pixels over the text
// "50 mm/an" on a translucent white ground. Empty when the length is 0.
TBitmap32 construireLegende(double echelleVecteurs, TColor32 couleur);
