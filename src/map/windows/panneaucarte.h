// The controls around the map: the tool bar over it (mode buttons, the zone's OK
// and zoom buttons, the zoom and shift scroll bars, the reference station), the
// readout panel under it (position, altitude, distance, station, volcano, path
// length) and the instructions of the legend placement.
#pragma once

#include "map/modes.h"

#include <QObject>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;
class QWidget;

class TPanneauxCarte {
public:
    // The bar and the readout panel are children of `central` (placed by its
    // layout), the instructions lie over the view `vue`.
    TPanneauxCarte(QWidget* central, QWidget* vue);

    QFrame* barre() const { return PanIcones; }
    QFrame* lecture() const { return Panel1; }

    // Shows what the mouse tools say (texts and visibilities change only when they differ).
    void afficher(const carte::EtatPanneau& p);
    // The tool buttons of the modes, one checked.
    void cocherMode(int tag);
    void definirStationRef(const QString& texte);
    void definirAltitude(const QString& texte);

    QScrollBar* Zoom = nullptr;
    QScrollBar* decalage = nullptr;
    QPushButton* OK = nullptr;
    QToolButton* BLoupe = nullptr;
    QPushButton* RAZ = nullptr;
    QFrame* Paninstr = nullptr;
    QPushButton* OKLegende = nullptr;
    QToolButton* Bcurseur = nullptr;
    // The mode buttons, in tag order (0 … 4).
    QToolButton* boutonsModes[5] = {};

private:
    QFrame* PanIcones = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* labalt = nullptr;
    QLabel* Latitude = nullptr;
    QLabel* Longitude = nullptr;
    QLabel* station = nullptr;
    QLabel* Vitesse = nullptr;
    QLabel* VitesseModele = nullptr;
    QLabel* Plaque = nullptr;
    QLabel* statRef = nullptr;
    QLabel* Labdistance = nullptr;
    QLabel* Lvolcan = nullptr;
    QLabel* NomsVolcans = nullptr;
    QLabel* AltVolc = nullptr;
    QLabel* typeVolcan = nullptr;
    QLabel* LDernerupt = nullptr;
    QFrame* PanelDist = nullptr;
    QLabel* LabDistCumul = nullptr;
};
