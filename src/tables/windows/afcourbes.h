// The time-series window of a GPS station: its curves picture, the calibration
// of the picture's axes (two markers and two values per axis, kept beside the
// picture), the read-out of the date and the variation under the pointer, and
// the velocity measured by dragging a line along a curve, shown beside the
// catalogue's velocity and the least-squares slope of the days of the drag.
#pragma once

#include "tables/courbes.h"

#include <QMainWindow>

class QDoubleSpinBox;
class QFrame;
class QLabel;
class QMouseEvent;
class QRadioButton;
class TImageView;
struct TBitmapLayer;

class TAfCourbes : public QMainWindow {
public:
    explicit TAfCourbes(QWidget* parent = nullptr);

    // Opens the window for a station: its picture, calibration and daily positions
    // from the folder "point" of the start folder. A picture that cannot be read is
    // reported in an error box and the window is not shown (false).
    bool ouvrir(const TStationGPS& station, const QString& dossierDepart);

    // Commands.
    void Definir1Click();
    void Effacer1Click();
    void Enregistrer1Click();
    void Fermer1Click();
    void choisirAxe(int axe);
    void OKEtalClick();
    void AbandonClick();

    // Pointer events in view pixels (the view's own mouse events come here).
    void appui(const QPoint& p);
    void deplacement(const QPoint& p, bool gaucheEnfonce);
    void relachement(const QPoint& p);

    courbes::TMesureCourbes& mesure() { return mesure_; }
    const courbes::FichiersStation& fichiers() const { return fichiers_; }
    TImageView* vue() const { return Image; }
    const TBitmap32& calque() const;

private:
    void lireValeurs();
    void montrer();

    courbes::TMesureCourbes mesure_;
    courbes::FichiersStation fichiers_;
    TImageView* Image = nullptr;
    TBitmapLayer* calque_ = nullptr;
    QFrame* instructetal = nullptr;
    QFrame* Panaffich = nullptr;
    QLabel* etidate = nullptr;
    QLabel* etiY = nullptr;
    QLabel* Etipente = nullptr;
    QLabel* EtiCatalogue = nullptr;
    QLabel* EtiAjustement = nullptr;
    QLabel* nomStation = nullptr;
    QRadioButton* boutonsAxes[4] = {};
    QDoubleSpinBox* valeurs1[4] = {};
    QDoubleSpinBox* valeurs2[4] = {};
};
