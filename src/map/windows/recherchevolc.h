// The volcano search dialog: the volcanoes whose name contains the typed text,
// with their position, elevation, type and last activity.
#pragma once

#include <QDialog>

class QLineEdit;
class TDonnees;
class QPlainTextEdit;
class QPushButton;

class TRecherche_Volc : public QDialog {
public:
    explicit TRecherche_Volc(const TDonnees& donnees, QWidget* parent = nullptr);

    void RechercherClick();

    QLineEdit* nom() const { return Nom; }
    QPushButton* rechercher() const { return Rechercher; }
    QPlainTextEdit* reponse() const { return Reponse; }

private:
    const TDonnees& donnees_;
    QLineEdit* Nom = nullptr;
    QPushButton* Rechercher = nullptr;
    QPlainTextEdit* Reponse = nullptr;
};

class TCarte;

// "Rechercher un volcan": the search window, made once; the item is enabled once
// the volcanoes are shown.
class TCommandeRechercheVolcan {
public:
    explicit TCommandeRechercheVolcan(TCarte& carte);
    void creerFenetre();
    TRecherche_Volc* fenetre() const { return fenetre_; }
    void RechercherunvolcanClick();

private:
    TCarte& carte_;
    TRecherche_Volc* fenetre_ = nullptr;
};
