// The drawing sheet window ("Feuille de dessin"): the page of the core's TFeuille
// shown in a scrolling view, its tool bar, option buttons, colour and thickness,
// menus and the documents' context menu. The map and the section window hand it
// their pictures; it saves, copies and prints the whole page.
#pragma once

#include "drawing/feuille.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolButton;
class TImageView;
class TContLegEch;
class TPanneauCouleur;

class TFeuilleDessin : public QMainWindow {
    Q_OBJECT
public:
    explicit TFeuilleDessin(QWidget* parent = nullptr);
    ~TFeuilleDessin() override;

    TFeuille& feuille() { return feuille_; }
    TImageView* vue() const { return SupportGlobal; }

    // A copied map image, shown at half its size at the page's top-left corner.
    void AjouterImage(const TBitmap32& image);
    // A picture of the section window at its frame's size, as an independent copy.
    void AjouterDocument(const TBitmapSIG& picture, int largeur, int hauteur);

    // Tools (the buttons' tags).
    void BoutonClick(int tag);
    void AnnulerClick();
    // Menus.
    void Enregistrer1Click();
    void Imprimer1Click();
    void Copier1Click();
    void PaysageClick(bool paysage);
    // The document context menu on document i at a screen point (non-blocking).
    void ouvrirMenuDocument(int i, const QPoint& globalPos);
    int documentSelectionne() const { return selectionne_; }
    void MarquerLeCadreClick();
    void OpaciteClick(int pourcent);
    void SupprimerDocumentClick();

    // Mouse on the page, in page pixels.
    void pageAppui(Qt::MouseButton b, const QPoint& p, const QPoint& globalPos);
    void pageDeplacement(Qt::MouseButtons b, const QPoint& p);
    void pageRelachement(Qt::MouseButton b, const QPoint& p);

    // Modal dialogs are run through this (tests replace it).
    std::function<int(QDialog&)> executerDialogue;
    // How the page is printed (the print layout manager, set by the program).
    static std::function<bool(const TBitmap32&)>& impression();

    // The "&Effacer..." items: one per annotation, its index as data.
    QMenu* menuEffacer() const { return Effacer1; }

private:
    void majApres();
    void majOptions();
    void majPointe();
    void reconstruireEffacer();

    TFeuille feuille_;
    TImageView* SupportGlobal = nullptr;
    QToolButton* outils_[8] = {}; // by tag
    QAction* Annuler = nullptr;
    QToolButton *ChoixStyle = nullptr, *ChoixFleche = nullptr, *ChoixForme = nullptr, *ChoixRemplis = nullptr,
                *ChoixFonte = nullptr;
    // Their places in the tool bar (a tool bar shows or hides its actions).
    QAction *aStyle = nullptr, *aFleche = nullptr, *aForme = nullptr, *aRemplis = nullptr, *aFonte = nullptr;
    TPanneauCouleur* PanCouleur = nullptr;
    QLabel* epais = nullptr;
    QMenu* Effacer1 = nullptr;
    QMenu* MenuSup = nullptr;
    QAction* MarquerLeCadre = nullptr;
    QActionGroup* opacites_ = nullptr;
    QAction* Portrait = nullptr;
    QAction* Paysage = nullptr;
    TContLegEch* positionnement_ = nullptr;
    int selectionne_ = -1;
};

// The program's drawing sheet: made by the first copy to it, then kept.
TFeuilleDessin& feuilleDessin();
// nullptr until a copy made it.
TFeuilleDessin* feuilleDessinExistante();
