// The cross-section window "Coupe": the sections and the four legend panels in
// one, two or four frames or two sections superposed, the readouts and measures
// under the mouse, the annotation tools with undo and erasing, the frames'
// context menu and the exports (clipboard, image file, printer, drawing sheet).
#pragma once

#include "section/vuecoupes.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;
class TContLegEch;
class TImageView;
class TPanneauCouleur;

class TCoupe : public QMainWindow {
    Q_OBJECT
public:
    explicit TCoupe(QWidget* parent = nullptr);
    ~TCoupe() override;

    coupe::TVueCoupes& vueCoupes() { return vue_; }
    coupe::TImagesCoupe& images() { return vue_.images; }
    TImageView* Profil() const { return Profil_; }

    // A new section: placed in the frames, the window shown.
    void AjouterCoupe(std::unique_ptr<TBitmapSIG> section);
    // Everything drawn again and the menus made again from the pictures.
    void DessinerCadres();

    // --- Commands ---
    void Enregistrerlimagesous1Click();
    void Imprimer1Click();
    void Copier1Click();
    void Copierlacoupe1Click();
    void Copierverslafeuillededessin1Click();
    void Copierlesdonneesdelacoupe1Click();
    void Supprimerlacoupe1Click();
    void Inverserlorientationdelacoupe1Click();
    void Choix2Click();     // colours of the section under the mouse
    void Couleurs1Click();  // colours of new sections
    void ExagerationClick(int facteur);
    void Ladernierecoupe1Click();
    void EffacerTraceClick(int item);
    void AnnulerClick();
    void SuperposerClick();
    void JuxtaposerClick(int n);
    void ReliefaudessusClick(bool coche);
    void AfficherClick(int image);
    void CadreDuDessousClick(int image);
    void BoutonClick(int tag);

    // Mouse on the base image, in base pixels.
    void profilAppui(Qt::MouseButton b, const QPoint& p, const QPoint& globalPos);
    void profilDeplacement(Qt::MouseButtons b, const QPoint& p);
    void profilRelachement(Qt::MouseButton b, const QPoint& p);

    // Modal dialogs are run through this (tests replace it).
    std::function<int(QDialog&)> executerDialogue;
    // How the displayed view is printed (the print layout manager, set by the program).
    std::function<bool(const TBitmap32&)> imprimer;

    QMenu* menuTraces() const { return letrace1; }
    QMenu* menuAfficher() const { return Afficher1; }
    QMenu* menuDessous() const { return Cadredudessous1; }
    QMenu* menuContexte() const { return Menucopie; }
    TContLegEch* positionnement() const { return positionnement_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void majApres();
    void majMenusCoupes();
    void majOptions();
    void majPointe();
    void majLectures();
    void fermerSiVide();
    void definirTailleDepuisVue();

    coupe::TVueCoupes vue_;
    TImageView* Profil_ = nullptr;
    QLabel* PanXP = nullptr;
    QLabel* Panpente = nullptr;
    QScrollBar* ScrolC2 = nullptr;
    QToolButton* outils_[8] = {};
    QAction* Annuler = nullptr;
    QAction *aStyle = nullptr, *aFleche = nullptr, *aForme = nullptr, *aRemplis = nullptr, *aFonte = nullptr;
    TPanneauCouleur* PanCouleur = nullptr;
    QLabel* epais = nullptr;
    QMenu* letrace1 = nullptr;
    QMenu* Afficher1 = nullptr;
    QMenu* Cadredudessous1 = nullptr;
    QMenu* Menucopie = nullptr;
    QAction* Superposer1 = nullptr;
    QMenu* Juxtaposer1 = nullptr;
    QAction* juxtapositions_[3] = {};
    QAction* Reliefaudessus1 = nullptr;
    QActionGroup* exagerations_ = nullptr;
    QAction* Copierlesdonneesdelacoupe1 = nullptr;
    QAction* Inverserlorientationdelacoupe1 = nullptr;
    QAction* Choix2 = nullptr;
    QAction* Copierlacoupe1 = nullptr;
    QAction* Copierverslafeuillededessin1 = nullptr;
    TContLegEch* positionnement_ = nullptr;
};
