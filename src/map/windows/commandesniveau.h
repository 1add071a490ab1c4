// The overlays of the "&Affichage" menu drawn from the elevation grid and from
// files: "Niveau marin si..." with its calculator, "Population" and "age des fonds
// océaniques" with its legend window, and the hidden command "CalculetableSurfVol"
// of "&Fichier" that writes the level/volume table to "ModSVfH.fmo".
#pragma once

#include "map/population.h"
#include "map/scene.h"
#include "map/simulationniveau.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class TCarte;
class TEchage;
class TVariNiv;

class TCommandesNiveau : public QObject {
    Q_OBJECT
public:
    explicit TCommandesNiveau(TCarte& carte);
    ~TCommandesNiveau() override;

    void NiveaumarinClick();
    void Population1Click();
    void agefondsClick();
    void CalculetableSurfVolClick();
    // The level of the calculator applied to the map (its OK button).
    void appliquerNiveau();
    // The age layer filled from its picture when it holds none; false (after the
    // message) when the picture could not be read.
    bool RemplirCalqueAge();

    TSimulationNiveau& simulation() { return simulation_; }
    TVariNiv* variNiv() const { return variNiv_; }
    TEchage* echage() const { return echage_; }
    QLabel* popmenac() const { return Popmenac_; }
    const TGrillePopulation& population() const { return population_; }
    double totalMonde() const { return totalMonde_; }
    // Where the level/volume table is written.
    QString cheminTable() const;

private:
    void redessiner(Calque c);
    void viderMemoire();
    // The tables computed from the grid in use, given to the calculator and
    // written to "ModSVfH.fmo" when that file does not hold them already.
    void preparerTable();
    bool ecrireTable(QString* message);
    void dessinerPopulation();
    void modeChange();
    void afficherTextes(const ResultatNiveau& r);
    void majPopulationMenacee();

    TCarte& carte_;
    TSimulationNiveau simulation_;
    TGrillePopulation population_;
    double totalMonde_ = 0;
    TVariNiv* variNiv_ = nullptr;
    TEchage* echage_ = nullptr;
    QLabel* Popmenac_ = nullptr;
    QAction* Niveaumarinsi1_ = nullptr;
    QAction* Population1_ = nullptr;
    QAction* agedesfonds_ = nullptr;
    int niveauApplique_ = 0;             // the level the layer shows
    bool echecEcritureSignale_ = false; // the unwritable table is said once per run
};
