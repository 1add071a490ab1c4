#include "projections/windows/commandevuepolaire.h"

#include "map/windows/delimCarte.h"
#include "projections/windows/mercatoroblique.h"
#include "projections/windows/vuepolaire.h"

#include "ui/arrondi.h"

#include <QAction>

#include <algorithm>

TCommandeVuePolaire::TCommandeVuePolaire(TCarte& carte) : carte_(carte)
{
    vue_ = new TVuePolaire(carte_, &carte_);
    vue_->setWindowFlag(Qt::Window);
    choix_ = new TChoixPole(&carte_);
    QAction* a = carte_.commande("Vuepolaire1");
    a->setEnabled(true);
    QObject::connect(a, &QAction::triggered, &carte_, [this] { Vuepolaire1Click(); });
}

TCommandeVuePolaire::~TCommandeVuePolaire() = default;

void TCommandeVuePolaire::Vuepolaire1Click()
{
    if (!vue_->construite()) {
        if (carte_.executerDialogue(*choix_) != QDialog::Accepted)
            return;
        if (!vue_->construire(choix_->pole()))
            return;
        afficherEnGrand(*vue_);
        vue_->ajusterZoom();
        return;
    }
    vue_->actualiserCalques();
    afficherEnGrand(*vue_);
}

void TCommandeVuePolaire::ouvrirAutourDe(double latitude, double longitude)
{
    const bool premiere = !vue_->construite();
    const PoleVue p{std::clamp(::arrondi(latitude), -90, 90), std::clamp(::arrondi(longitude), -180, 180)};
    choix_->setPole(p);
    if (!vue_->construire(p))
        return;
    afficherEnGrand(*vue_);
    if (premiere)
        vue_->ajusterZoom();
}
