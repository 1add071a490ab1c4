// The map window's menu bar: every menu and item in its place, named after its
// caption. The map wires its own items; each feature (landmarks, display choices,
// data lists, help, and the views still to come) takes its items by name and
// wires them from its own folder. Items of features not built yet stay disabled.
#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;

struct TMenusCarte {
    QMenu *Fichier1, *Edition1, *Affichage1, *Mode1, *Vecteurs1, *Exercices1, *Aide1;
    QMenu *Imprimer1, *Copier1, *Effacerledernier1;
    QAction *Quitter1, *OuvrirunfichierGPS1, *OuvrirunfichierSeismes1, *Chargerunfichierdevolcans1,
        *Chargerunfonddecarte1, *Enregistrerlefichierdeseismes1, *Enregistrerlefichierdevolcans1,
        *EnregistrerlesvecteursaffichescommedonneesGPS1;
    QAction *CopieavecfondNB1, *Copieavecfondcouleur1, *Effacerlestraces1, *Grandcercle1, *Coupe1;
    QAction *PointsGPS1, *Seismes1, *Volcans1, *agedesfondsoceaniques1, *Niveaumarinsi1, *Population1,
        *Pointsepais;
    QAction *Consultation, *Delimitezone, *Tracecoupe, *Tracdarcdegrandcercle, *Suivreuntrajet, *MZoom,
        *conserverlestraces;
    QAction *Viderlamemoire1, *SeparateurListe;
};

// Builds the menu bar of `fenetre`.
TMenusCarte creerMenusCarte(QMainWindow* fenetre);

// The mode items and their tags (as the tool buttons).
inline constexpr const char* NomsModes[] = {"Delimitezone", "Tracecoupe", "Consultation", "Tracdarcdegrandcercle",
                                            "Suivreuntrajet", "MZoom"};
