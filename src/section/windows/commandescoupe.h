// The map's section commands: the section mode's mouse tool (the rubber line, the
// name and width dialog, the kept section and its band), the map's OK button in
// section mode, "Effacer le dernier tracé" › "Coupe", "Fenêtre Coupes", the kept
// sections redrawn with the traces, and the section window made on first use.
#pragma once

#include "section/construction.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class TCarte;
class TCoupe;

namespace carte {
class TInteraction;
struct Effets;
} // namespace carte

class TCommandesCoupe : public QObject {
    Q_OBJECT
public:
    // `imprimer` prints a picture through the print layout manager.
    TCommandesCoupe(TCarte& carte, std::function<bool(const TBitmap32&)> imprimer = {});
    ~TCommandesCoupe() override;

    // The section window: nullptr until the first section (or "Fenêtre Coupes").
    TCoupe* fenetre() const { return fenetre_.get(); }
    TCoupe& creerFenetre();

    // What the construction reads of the map now.
    coupe::CarteCoupe carteCoupe();
    // A line released on the map in section mode (pressed at `appui`, released at
    // `relache`, map pixels): the name and width dialog, then the section.
    void ligneRelachee(carte::TInteraction& m, QPoint appui, QPoint relache, carte::Effets& e);
    // Builds a section of the last accepted line under this name and shows it;
    // its band is drawn on the map's band layer. False without a line.
    bool ConstruireCoupe(const QString& nom, carte::TInteraction& m, carte::Effets& e);
    // "Fenêtre Coupes": the window, shown when it holds a section.
    void FenetreCoupes1Click();

    // The section mode's state.
    double demiLargeur() const { return demiLargeur_; }
    int compteur() const { return compteur_; }
    const QString& nomCourant() const { return nom_; }
    bool ligneAcceptee() const { return ligneValide_; }
    const coupe::LigneCoupe& ligne() const { return ligne_; }

private:
    TCarte& carte_;
    std::function<bool(const TBitmap32&)> imprimer_;
    std::unique_ptr<TCoupe> fenetre_;
    double demiLargeur_ = 3.0;
    int compteur_ = 1;
    QString nom_;
    coupe::LigneCoupe ligne_;
    bool ligneValide_ = false;
};
