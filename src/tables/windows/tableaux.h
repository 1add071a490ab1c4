// The GPS data table window: the stations of a latitude/longitude window, sorted
// by name, latitude or longitude, with their positions, velocities and (on
// request) uncertainties; a check column that chooses which vectors the map
// draws; the copy of the table for a spreadsheet; and the opening of a station's
// time-series window by a double click.
//
// The grid is a view of TabTri through a model: it follows the data object, and
// its cells are written only when they are shown or copied, so that a table of
// seventeen thousand stations fills and scrolls at once.
#pragma once

#include "tables/tableaugps.h"

#include <QAbstractTableModel>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TAfCourbes;
class TCarte;

// The grid's rows under its two header rows (shown as the two lines of each
// column's header).
class TModeleGPS : public QAbstractTableModel {
public:
    TModeleGPS(const tableaux::TGrilleGPS& grille, QObject* parent);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Everything again (new TabTri, digits, one or two rows per station).
    void remplir();
    // Only the check column changed.
    void marquesChangees();

private:
    const tableaux::TGrilleGPS& grille_;
};

class TTableaux : public QMainWindow {
public:
    explicit TTableaux(TCarte& carte, QWidget* parent = nullptr);
    ~TTableaux() override;

    // Settings of the window.
    int critereTri() const { return CritereTri; }
    const tableaux::TGrilleGPS& grille() const { return grille_; }
    FiltreZone bornes() const;
    // The zone's bounds copied into the four spin edits (they turn red until "Trier"
    // when they differ from those the table was filtered with).
    void copierZone(const FiltreZone& zone);

    // Commands.
    void TrierClick();
    void Filtrer();
    void Trier();
    void Remplir();
    void choisirTri(int critere);   // "&Alphabétique", "par latitude", "par longitude"
    void PrecisionClick();          // "Precision..."
    void OKChoixClick();            // OK of the precision panel
    void cocherTout(bool coche);    // "&cocher tout" / "&décocher tout"
    void CarteClick();
    void Tout1Click();              // "&Copier..." / "&Tout"
    void lapartieselectionnee1Click();
    void Fermer1Click();
    // Double clicks: on a header column, and on a cell (view rows, under the headers).
    void enteteDoubleClic(int colonne);
    void celluleDoubleClic(int ligneVue, int colonne);
    // The time-series window of TabTri[k] (created on first use, then kept).
    void ouvrirCourbes(int k);

    TAfCourbes* courbes() const { return courbes_; }
    QTableView* tableau() const { return TableauGPS; }
    TModeleGPS* modele() const { return modele_; }
    // The four spin edits show bounds that the table does not show yet.
    bool bornesPerimees() const { return perime_; }

private:
    void donneesChangees(unsigned magasins);
    void signalerPerime(bool perime);
    bool bornesChangees() const;
    void majAvertissement();
    void basculerMarque(int k);

    TCarte& carte_;
    TDonnees& donnees_;
    int ecouteur_ = 0;
    tableaux::TGrilleGPS grille_;
    int CritereTri = tableaux::ParNom;
    bool perime_ = false;
    FiltreZone filtrees_; // the bounds of the last filter
    bool marquage_ = false; // the window is changing marks: the rows stay as they are

    TModeleGPS* modele_ = nullptr;
    QTableView* TableauGPS = nullptr;
    QSpinBox* Latmin = nullptr;
    QSpinBox* Latmax = nullptr;
    QSpinBox* Longmin = nullptr;
    QSpinBox* Longmax = nullptr;
    QCheckBox* AfficInc = nullptr;
    QLabel* avertis = nullptr;
    QFrame* panclic = nullptr;
    QFrame* PanChoix = nullptr;
    QSpinBox* nbcLL = nullptr;
    QSpinBox* nbcAlt = nullptr;
    QSpinBox* nbcerr = nullptr;
    QSpinBox* nbcvit = nullptr;
    QAction* tris_[3] = {};
    TAfCourbes* courbes_ = nullptr;
};
