// The "&Vecteurs" menu of the map: which vectors are drawn, their scale, the
// reference station's reset, the latitude correction, the vector legend and its
// placement, and the pop-up of one station.
#pragma once

#include <QPoint>

class QAction;
class QMenu;
class TCarte;
class TPanneauxCarte;

class TCommandesVecteurs {
public:
    TCommandesVecteurs(TCarte& carte, TPanneauxCarte& panneaux);

    void Affichertouslesvecteurs1Click();
    void Nafficheraucunvecteur1Click();
    void Agrandir1Click();
    void Retrecir1Click();
    void Remiseazero1Click();
    void Afficherlechelle1Click();
    void OKLegendeClick();
    void CorrectiondesVlat1Click();
    // The pop-up of station i (non-blocking); its items act on that station.
    void ouvrirMenuVect(int i, const QPoint& globalPos);
    int stationMenuVect() const { return stationMenu_; }

private:
    TCarte& carte_;
    TPanneauxCarte& panneaux_;
    QMenu* MenuVect = nullptr;
    QAction* Afficherlevecteur1 = nullptr;
    QAction* Nepasafficherlevecteur1 = nullptr;
    int stationMenu_ = -1;
};
