// The map's commands that open the GPS table: "Fenêtre &Tableau GPS", "&Choisir
// les vecteurs à afficher", and the zone tool's OK, which fills the table from the
// delimited zone. The table window is made the first time one of them needs it.
#pragma once

#include "data/stores.h"

#include <QObject>

class TCarte;
class TTableaux;

class TCommandesTableaux : public QObject {
public:
    // Takes the map's items and its zone OK; a child of the map.
    explicit TCommandesTableaux(TCarte& carte);

    void FenetreTableauGPS1Click();
    void Choisirlesvecteursaafficher1Click();
    // The zone's bounds into the table, then "Trier" and "&cocher tout", the window
    // not shown.
    void zoneChoisie(const FiltreZone& zone);

    // The table, made on first use (the default GPS file is then loaded when no
    // station is in memory).
    TTableaux& tableaux();
    TTableaux* tableauxSiCree() const { return tableaux_; }

private:
    void ouvrir(bool trierEtCocher);

    TCarte& carte_;
    TTableaux* tableaux_ = nullptr;
};
