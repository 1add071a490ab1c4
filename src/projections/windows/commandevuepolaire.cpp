#include "projections/windows/commandevuepolaire.h"

#include "map/windows/delimCarte.h"
#include "projections/windows/mercatoroblique.h"
#include "projections/windows/vuepolaire.h"

#include <QAction>

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
