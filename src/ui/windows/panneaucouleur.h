// A clickable colour panel: a click opens the colour dialog on its colour, and on
// OK the panel takes the chosen colour (opaque).
#pragma once

#include "ui/bitmap32.h"

#include <QPushButton>

class TPanneauCouleur : public QPushButton {
    Q_OBJECT
public:
    TPanneauCouleur(const QString& nom, QWidget* parent);
    TColor32 couleur() const { return couleur_; }
    void setCouleur(TColor32 c);

signals:
    void couleurChoisie(TColor32 c);

private:
    void choisir();
    TColor32 couleur_ = clBlack32;
};
