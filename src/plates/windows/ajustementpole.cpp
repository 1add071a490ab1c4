#include "plates/windows/ajustementpole.h"

#include "map/lecture.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace plaques {

QString texteLatitude(double v)
{
    return carte::formatDecimal(std::fabs(v), 2) + QStringLiteral("° ") + (v < 0 ? QStringLiteral("S") : QStringLiteral("N"));
}

QString texteLongitude(double v)
{
    return carte::formatDecimal(std::fabs(v), 2) + QStringLiteral("° ") + (v < 0 ? QStringLiteral("O") : QStringLiteral("E"));
}

QString textePole(const Pole& p)
{
    return QStringLiteral("pôle %1, %2, %3 °/Ma")
        .arg(texteLatitude(p.latitude), texteLongitude(p.longitude), carte::formatDecimal(p.vitesse, 3));
}

} // namespace plaques

using plaques::texteLatitude;
using plaques::texteLongitude;

TAjustementPole::TAjustementPole(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("AjustementPole"));
    setWindowTitle(QStringLiteral("Pôle eulérien ajusté"));
    auto* v = new QVBoxLayout(this);
    Resultat = new QLabel(this);
    Resultat->setObjectName(QStringLiteral("Resultat"));
    Resultat->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(Resultat);
    Comparaison = new QLabel(this);
    Comparaison->setObjectName(QStringLiteral("Comparaison"));
    Comparaison->setWordWrap(true);
    Comparaison->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(Comparaison);
    TitreHorsNorme = new QLabel(this);
    TitreHorsNorme->setObjectName(QStringLiteral("TitreHorsNorme"));
    TitreHorsNorme->setWordWrap(true);
    v->addWidget(TitreHorsNorme);
    HorsNorme = new QListWidget(this);
    HorsNorme->setObjectName(QStringLiteral("HorsNorme"));
    HorsNorme->setMaximumHeight(140);
    v->addWidget(HorsNorme);
    auto* h = new QHBoxLayout;
    AfficherResidus = new QCheckBox(QStringLiteral("Afficher les résidus (mesurée - ajustée)"), this);
    AfficherResidus->setObjectName(QStringLiteral("AfficherResidus"));
    AfficherResidus->setChecked(true);
    h->addWidget(AfficherResidus);
    h->addWidget(new QLabel(QStringLiteral("agrandis"), this));
    Agrandissement = new QSpinBox(this);
    Agrandissement->setObjectName(QStringLiteral("Agrandissement"));
    Agrandissement->setRange(1, 50);
    Agrandissement->setValue(5);
    Agrandissement->setPrefix(QStringLiteral("× "));
    h->addWidget(Agrandissement);
    h->addStretch(1);
    v->addLayout(h);
    auto* b = new QHBoxLayout;
    VuePolaire = new QPushButton(QStringLiteral("Vue polaire autour de ce pôle"), this);
    VuePolaire->setObjectName(QStringLiteral("VuePolaire"));
    Fermer = new QPushButton(QStringLiteral("Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    b->addWidget(VuePolaire);
    b->addStretch(1);
    b->addWidget(Fermer);
    v->addLayout(b);

    connect(Fermer, &QPushButton::clicked, this, &QWidget::close);
    connect(VuePolaire, &QPushButton::clicked, this, [this] {
        if (ouvrirVuePolaire && resultat_)
            ouvrirVuePolaire(resultat_->pole.latitude, resultat_->pole.longitude);
    });
    auto change = [this] {
        Agrandissement->setEnabled(AfficherResidus->isChecked());
        if (residusChanges)
            residusChanges();
    };
    connect(AfficherResidus, &QCheckBox::toggled, this, change);
    connect(Agrandissement, qOverload<int>(&QSpinBox::valueChanged), this, change);
}

void TAjustementPole::montrer(const plaques::ResultatAjustement& r, const QString& plaque, const QString& comparaison)
{
    resultat_ = r;
    QString t = QStringLiteral("<b>Pôle eulérien ajusté aux vitesses des stations</b><br>"
                               "Latitude : %1<br>Longitude : %2<br>Vitesse angulaire : %3 °/Ma<br>"
                               "Stations : %4<br>Écart quadratique moyen (RMS) : %5 mm/an")
                    .arg(texteLatitude(r.pole.latitude), texteLongitude(r.pole.longitude),
                         carte::formatDecimal(r.pole.vitesse, 3))
                    .arg(r.nbStations)
                    .arg(carte::formatDecimal(r.rms, 2));
    if (!plaque.isEmpty())
        t += QStringLiteral("<br>Plaque de la plupart des stations : %1").arg(plaque.toHtmlEscaped());
    t += QStringLiteral("<br><i>Vitesses dans le repère du fichier GPS chargé.</i>");
    Resultat->setText(t);
    Comparaison->setText(comparaison);
    Comparaison->setVisible(!comparaison.isEmpty());
    HorsNorme->clear();
    TitreHorsNorme->setText(r.horsNorme.empty()
                                ? QStringLiteral("Aucune station ne s'écarte de plus de 3 × RMS (%1 mm/an) : "
                                                 "la zone se comporte comme une plaque rigide.")
                                      .arg(carte::formatDecimal(3 * r.rms, 2))
                                : QStringLiteral("%1 station(s) s'écartent de plus de 3 × RMS (%2 mm/an) : la plaque "
                                                 "n'y est pas rigide (déformation près d'une limite de plaques ?)")
                                      .arg(r.horsNorme.size())
                                      .arg(carte::formatDecimal(3 * r.rms, 2)));
    for (int i : r.horsNorme) {
        const plaques::StationAjustee& s = r.stations[static_cast<std::size_t>(i)];
        HorsNorme->addItem(QStringLiteral("%1 : %2 mm/an (%3, %4)")
                               .arg(s.nom.trimmed(), carte::formatDecimal(s.ecart, 2), texteLatitude(s.latitude),
                                    texteLongitude(s.longitude)));
    }
    HorsNorme->setVisible(!r.horsNorme.empty());
    VuePolaire->setEnabled(static_cast<bool>(ouvrirVuePolaire));
    VuePolaire->setToolTip(ouvrirVuePolaire ? QString() : QStringLiteral("La vue polaire n'est pas disponible."));
    adjustSize();
    show();
    raise();
}
