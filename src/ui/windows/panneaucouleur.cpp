#include "ui/windows/panneaucouleur.h"

#include "ui/dialogs.h"

TPanneauCouleur::TPanneauCouleur(const QString& nom, QWidget* parent) : QPushButton(parent)
{
    setObjectName(nom);
    setFixedSize(48, 24);
    setFlat(true);
    setAutoFillBackground(true);
    connect(this, &QPushButton::clicked, this, &TPanneauCouleur::choisir);
    setCouleur(clBlack32);
}

void TPanneauCouleur::setCouleur(TColor32 c)
{
    couleur_ = withAlpha(c, 255);
    setStyleSheet(QStringLiteral("background-color: #%1; border: 1px solid black;")
                      .arg(couleur_ & 0xFFFFFF, 6, 16, QLatin1Char('0')));
}

void TPanneauCouleur::choisir()
{
    TColor32 c = couleur_;
    if (dialogs().chooseColor(c)) {
        setCouleur(c);
        emit couleurChoisie(couleur_);
    }
}
