#include "exercises/windows/commandesexercices.h"

#include "exercises/positionnement.h"
#include "exercises/windows/exoposition.h"
#include "exercises/windows/exovecteur.h"
#include "map/windows/delimCarte.h"

#include <QAction>

TCommandesExercices::TCommandesExercices(TCarte& carte)
    : QObject(&carte), carte_(carte), exemples_(carte.Config.DossierDepart)
{
    setObjectName(QStringLiteral("CommandesExercices"));
    positionnement_ = carte_.commande("Positionnementdesstations1");
    orientation_ = carte_.commande("Orientationdesvecteurs1");
    relatifs_ = carte_.commande("Mouvementsrelatifs1");
    // A check mark tells the exercises already begun.
    for (QAction* a : {positionnement_, orientation_, relatifs_}) {
        a->setEnabled(true);
        a->setCheckable(true);
        a->setChecked(false);
    }
    connect(positionnement_, &QAction::triggered, this, [this] { PositionnementdesstationsClick(); });
    connect(orientation_, &QAction::triggered, this, [this] { OrientationdesvecteursClick(); });
    connect(relatifs_, &QAction::triggered, this, [this] { MouvementsrelatifsClick(); });
}

void TCommandesExercices::changerHasard(SourceHasard hasard)
{
    hasard_ = std::move(hasard);
    if (vecteur_)
        vecteur_->changerHasard(hasard_);
    if (position_)
        position_->changerHasard(hasard_);
}

void TCommandesExercices::creerVecteur()
{
    if (vecteur_)
        return;
    vecteur_ = new Tvecteur(exemples_, &carte_);
    vecteur_->setWindowFlag(Qt::Tool);
    if (hasard_)
        vecteur_->changerHasard(hasard_);
}

void TCommandesExercices::marquer(QAction* item, bool demarre)
{
    // The check follows what was begun, not the click (which toggles it).
    if (demarre)
        commences_.insert(item);
    item->setChecked(commences_.count(item) > 0);
}

void TCommandesExercices::demarrerVecteur(int mode, QAction* item)
{
    creerVecteur();
    marquer(item, vecteur_->demarrer(mode));
}

void TCommandesExercices::OrientationdesvecteursClick()
{
    demarrerVecteur(Tvecteur::OrientationVecteurs, orientation_);
}

void TCommandesExercices::MouvementsrelatifsClick()
{
    demarrerVecteur(Tvecteur::MouvementsRelatifs, relatifs_);
}

void TCommandesExercices::PositionnementdesstationsClick()
{
    if (!position_) {
        TCarte* c = &carte_;
        position_ = new TPosvecteur(
            exemples_, [c] { return planisphereExercice(c->scene().fond(), c->scene().Etat.Decalage); }, &carte_);
        position_->setWindowFlag(Qt::Tool);
        if (hasard_)
            position_->changerHasard(hasard_);
    }
    marquer(positionnement_, position_->demarrer());
}
