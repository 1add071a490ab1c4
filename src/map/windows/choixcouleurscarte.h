// Display-choice dialog of the map ("Choix des couleurs"): colours, thresholds,
// background veil, base picture and population settings.
#pragma once

#include "map/rendu.h"
#include "ui/windows/panneaucouleur.h"

#include <QDialog>
#include <QFont>
#include <QPushButton>

class QCheckBox;
class QSpinBox;


class TChoixCouleursCarte : public QDialog {
    Q_OBJECT
public:
    explicit TChoixCouleursCarte(QWidget* parent = nullptr);

    // Loads every control from the settings and the base picture flags.
    void charger(const ReglagesAffichage& r, bool fondNB, bool cartePrecise);
    // Reads every control back (colours made opaque).
    void lire(ReglagesAffichage& r, bool& fondNB, bool& cartePrecise) const;

    TPanneauCouleur* CouleurS;
    TPanneauCouleur* CouleurGPS;
    TPanneauCouleur* CouleurVect;
    TPanneauCouleur* CouleurVLF;
    TPanneauCouleur* CouleurVSM;
    TPanneauCouleur* CouleurVLV;
    TPanneauCouleur* CouleurVP;
    TPanneauCouleur* CouleurVA;
    TPanneauCouleur* CouleurPop;
    QCheckBox* PointsEpais;
    QCheckBox* FondNB;
    QCheckBox* CartePrecise;
    QSpinBox* Magnimini;
    QSpinBox* ProflimiteS;
    QSpinBox* AttenueFond;
    QSpinBox* DensPopMini;
    QSpinBox* DensPopMax;
    QPushButton* SpeedButton1;
    QPushButton* BoutonOK;
    QPushButton* BoutonAnnuler;
    QFont PoliceTraces;
};

class TCarte;

// "&Choix...": the dialog over the map's settings; on OK the settings are taken,
// the base picture switched if asked, and the layers rebuilt.
class TCommandeChoix {
public:
    explicit TCommandeChoix(TCarte& carte);
    void Choix1Click();
    TChoixCouleursCarte* dialogue() const { return dialogue_; }

private:
    TCarte& carte_;
    TChoixCouleursCarte* dialogue_ = nullptr; // made on first use
};
