// The landmark commands of the map: the landmark table window, "Fenêtre Repères",
// "Charger des reperes", the table's "Valider" adding its landmarks to the map,
// and the path vertices written into the table.
#pragma once

#include <QString>

class TCarte;
class TTableau_reperes;

class TCommandesReperes {
public:
    explicit TCommandesReperes(TCarte& carte);

    void creerFenetre();
    TTableau_reperes* tableau() const { return tableau_; }

    // The table's landmarks drawn on the map (a new group, or in place of the
    // others, as the table's box says).
    void AjouterReperes();
    void FenetreReperes1Click();
    void Chargerdesreperes1Click();
    // A landmark file loaded into the table then added (data lists).
    void chargerEtAjouter(const QString& chemin, bool ajouter);

private:
    TCarte& carte_;
    TTableau_reperes* tableau_ = nullptr;
};
