// The "&Exercices" menu of the map: "&Positionnement des stations",
// "&Orientation des vecteurs" and "&Mouvements relatifs". The two exercise
// windows are made on first use and kept; the examples are loaded once for both.
#pragma once

#include "exercises/exemples.h"
#include "exercises/tirage.h"

#include <QObject>

#include <set>

class QAction;
class TCarte;
class Tvecteur;
class TPosvecteur;

class TCommandesExercices : public QObject {
    Q_OBJECT
public:
    // Takes and enables the menu's items; lives as a child of the map window.
    explicit TCommandesExercices(TCarte& carte);

    void PositionnementdesstationsClick();
    void OrientationdesvecteursClick();
    void MouvementsrelatifsClick();

    Tvecteur* vecteur() const { return vecteur_; }
    TPosvecteur* position() const { return position_; }
    TExemples& exemples() { return exemples_; }
    // The random source of the draws, for the windows made and to be made.
    void changerHasard(SourceHasard hasard);

private:
    void creerVecteur();
    void demarrerVecteur(int mode, QAction* item);
    void marquer(QAction* item, bool demarre);

    TCarte& carte_;
    TExemples exemples_;
    SourceHasard hasard_;
    Tvecteur* vecteur_ = nullptr;
    TPosvecteur* position_ = nullptr;
    QAction* positionnement_ = nullptr;
    QAction* orientation_ = nullptr;
    QAction* relatifs_ = nullptr;
    std::set<QAction*> commences_;
};
