// "Pôle eulérien ajusté": the result of a pole fit to the stations of a zone
// (pole, rate, number of stations, misfit), the stations that do not follow the
// rigid plate, the residuals' display on the map, the comparison with the
// previous fit and the PB2002 pole of the same pair, and the polar view about
// the fitted pole.
#pragma once

#include "plates/cinematique.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

class TAjustementPole : public QWidget {
    Q_OBJECT
public:
    explicit TAjustementPole(QWidget* parent = nullptr);

    // Shows a fit; `plaque` is the French name of the plate holding most of its
    // stations (empty when none). `comparaison`: the text comparing it with the
    // previous fit, empty when there is none.
    void montrer(const plaques::ResultatAjustement& r, const QString& plaque, const QString& comparaison);

    QLabel* Resultat = nullptr;
    QLabel* Comparaison = nullptr;
    QLabel* TitreHorsNorme = nullptr;
    QListWidget* HorsNorme = nullptr;
    QCheckBox* AfficherResidus = nullptr;
    QSpinBox* Agrandissement = nullptr;
    QPushButton* VuePolaire = nullptr;
    QPushButton* Fermer = nullptr;

    // Opens the polar view about a pole (latitude, longitude in degrees); the
    // button is enabled only when set.
    std::function<void(double, double)> ouvrirVuePolaire;
    // The residuals' display changed (shown or not, enlargement).
    std::function<void()> residusChanges;

    // The fit shown.
    const std::optional<plaques::ResultatAjustement>& resultat() const { return resultat_; }

private:
    std::optional<plaques::ResultatAjustement> resultat_;
};

namespace plaques {
// "32,15° N", "38,2° E" with the system's decimal separator.
QString texteLatitude(double v);
QString texteLongitude(double v);
// "pôle 32,15° N, 38,2° E, 0,632 °/Ma".
QString textePole(const Pole& p);
} // namespace plaques
