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
