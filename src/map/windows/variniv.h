// The sea-level calculator "Paramètres et calculs de simulation de variation du
// niveau marin": the level applied to the map with the surface, volume and
// threatened population it gives; the thermal expansion of the water above a
// chosen depth; the change of the ocean's water, ridges and sediment volumes with
// the schematic basin that follows it. The window keeps its own copy of the volumes
// it reads: U(0 … 110) and V(-200 … 250).
#pragma once

#include "map/niveaumarin.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TVariNiv : public QWidget {
    Q_OBJECT
public:
    explicit TVariNiv(QWidget* parent = nullptr);

    // The table in use: its volumes copied, the depth table filled (113 rows).
    void recevoirTable(const TTableSurfVol& t);
    // Rows of the depth table before its first depth (the two header rows).
    static constexpr int LignesEntete = 2;
    static constexpr int NbProfondeursAffichees = 111; // 0 … 11 000 m

    void CalculerClick();
    void Calcul2Click();
    void TableauVolClick(int ligne, int colonne);
    void BCarteClick();
    void VarVolDorsChange();
    // The water volume of the selected row of the depth table (km³).
    double volumeLigneChoisie() const;

    // Level to apply to the map (m).
    QSpinBox* Altimer = nullptr;
    QLabel* Lvarisurf = nullptr;
    QLabel* LVol = nullptr;
    QLabel* PopMenace = nullptr;
    QPushButton* OK = nullptr;
    QCheckBox* ReliesOcean = nullptr; // flooding connected to the ocean only
    QTableWidget* TableauVol = nullptr;
    QLineEdit* Edit1 = nullptr;
    QDoubleSpinBox* CDilat = nullptr;
    QDoubleSpinBox* ElevT = nullptr;
    QLabel* AugmVol = nullptr;
    QLabel* Remontee = nullptr;
    QPushButton* Calculer = nullptr;
    QSpinBox* ChVarVolEau = nullptr;
    QSpinBox* VarVolDors = nullptr;
    QSpinBox* VarvolSed = nullptr;
    QLabel* Remontee2 = nullptr;
    QPushButton* Calcul2 = nullptr;
    QPushButton* BCarte = nullptr;
    QLabel* Schema = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void dessinerSchema();

    std::array<double, NbProfondeursAffichees> U_{};
    std::array<double, TTableSurfVol::NbNiveaux> V_{};
};
