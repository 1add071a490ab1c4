// The small dialogs of the drawing tools: the text entry with its mark buttons
// ("Saisie d'un texte"), the companion shown while a new text block is placed
// with the mouse ("Positionner le texte"), and the section colours ("Choix des
// couleurs").
#pragma once

#include "ui/bitmap32.h"

#include <QDialog>
#include <QFont>

class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;
class TPanneauCouleur;

class TSaisieTexte : public QDialog {
    Q_OBJECT
public:
    explicit TSaisieTexte(QWidget* parent = nullptr);

    // Before showing: the text takes the caller's drawing colour, on white, in the
    // dialog's font.
    void preparer(TColor32 couleur);
    // After OK: the lines, the alignment (0 left, 1 centred, 2 right) and the font.
    QStringList lignes() const;
    int alignement() const;
    QFont police() const { return police_; }
    void definirPolice(const QFont& f);

    // A click on a mark button (0 bold … 4 subscript) that is now down or up.
    void marqueCliquee(int bouton, bool enfonce);

    QPlainTextEdit* TexteSaisi = nullptr;
    QToolButton* boutons[5] = {}; // gras, italique, souligne, exposant, indice
    QRadioButton* alignements[3] = {};
    QPushButton* Button1 = nullptr; // "Fonte"

private:
    QFont police_;
    QColor couleur_ = Qt::black;
};

class TContLegEch : public QDialog {
    Q_OBJECT
public:
    explicit TContLegEch(QWidget* parent = nullptr);

    bool transparent() const;
    // The owner's mode value; 0: a text block.
    int mode = 0;
    // Small (instructions hidden) or enlarged.
    bool agrandi() const { return agrandi_; }
    void basculerInstructions();

    QRadioButton* Oui = nullptr;
    QRadioButton* Non = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
    QLabel* Label2 = nullptr;       // "voir instructions"

signals:
    // OK or Cancel: the placement ends (the dialog hides itself, never released).
    void fermee(bool ok);
    void transparenceChangee(bool transparent);

private:
    QLabel* Label1 = nullptr;
    bool agrandi_ = false;
};

class TChoixCouleurs : public QDialog {
    Q_OBJECT
public:
    explicit TChoixCouleurs(QWidget* parent = nullptr);

    TPanneauCouleur* CouleurS = nullptr;
    TPanneauCouleur* CouleurV = nullptr;
    TPanneauCouleur* CouleurPr = nullptr;
    TPanneauCouleur* CoulNiv0 = nullptr;
    QSpinBox* Transpar = nullptr;
};

// The dialogs made once at start-up and kept for the whole run.
TSaisieTexte& saisieTexte();
TChoixCouleurs& choixCouleurs();
