// The landmark table window: a grid of names, latitudes, longitudes and
// dispositions that is loaded from and saved to ".obf" files, copied to the
// clipboard as tab-separated text, and handed to the map by "Valider".
#pragma once

#include "map/reperes.h"

#include <QMainWindow>

#include <functional>

class QCheckBox;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

class TTableau_reperes : public QMainWindow {
public:
    explicit TTableau_reperes(QWidget* parent = nullptr);

    // The map binds its add operation here ("Valider").
    std::function<void()> surValider;

    // The grid's content (row 0: the headers) with the "Relier" and "GC" boxes.
    carte::TGrilleReperes grille() const;
    // Shows a grid; the cells of the rows its reading ignored (g.lignesIgnorees)
    // are marked in red, with the reason as tool tip, until they are edited.
    void definirGrille(const carte::TGrilleReperes& g);
    // Whether the cell (table row, column; row 0 is the first under the headers)
    // is marked as faulty.
    bool celluleMarquee(int ligne, int colonne) const;
    bool ajouterCoche() const;
    void definirAjouter(bool coche);

    // Loads a landmark file into the grid; a failure is shown and leaves the grid.
    bool chargerFichier(const QString& chemin);
    // A path vertex written into data row `ligne` (1-based), the rows growing as needed.
    void definirLigneTrajet(int ligne, const QString& latitude, const QString& longitude);

    // Menu commands.
    void Charger1Click();
    void Enregistrersous1Click();
    void Fermer1Click();
    void Tout1Click();
    void lapartieslectionne1Click();
    void Coller1Click();
    void valider1Click();

    // Fits the grid to its rows and columns and the window to the grid.
    void ajuster();

    QTableWidget* tableau() const { return Tableau; }
    QCheckBox* relier() const { return Relier; }
    QCheckBox* gc() const { return GC; }
    QCheckBox* ajouter() const { return Ajouter; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void TableauKeyPress(int touche, bool& traite);
    void marquerErreurs(const std::vector<carte::ErreurRepere>& erreurs);
    void celluleModifiee(QTableWidgetItem* item);

    QTableWidget* Tableau = nullptr;
    QCheckBox* Relier = nullptr;
    QCheckBox* GC = nullptr;
    QCheckBox* Ajouter = nullptr;
    QWidget* PanneauBas = nullptr;
    bool marquage_ = false; // the marks are being changed: not an edit
};
