#include "drawing/listedessins.h"

#include "ui/dialogs.h"

QString TListeDessins::Ajouter(std::unique_ptr<TDessin> dessin)
{
    if (!dessin)
        return QString();
    ++compteur_;
    Entree e;
    e.nom = NomDessin(dessin->Nature, compteur_);
    e.dessin = std::move(dessin);
    entrees_.push_back(std::move(e));
    return entrees_.back().nom;
}

bool TListeDessins::Supprimer(int i)
{
    if (i < 0 || i >= Count())
        return false;
    entrees_.erase(entrees_.begin() + i);
    return true;
}

void TListeDessins::Vider()
{
    entrees_.clear();
}

bool TListeDessins::AnnulerDernier()
{
    if (entrees_.empty())
        return false;
    if (!askYesNo(QStringLiteral("Voulez-vous effacer le dernier tracé")))
        return false;
    entrees_.pop_back();
    return true;
}

bool TListeDessins::SupprimerApresConfirmation(int i)
{
    if (i < 0 || i >= Count())
        return false;
    if (!askYesNo(QStringLiteral("Voulez-vous effacer le tracé : ") + Nom(i)))
        return false;
    return Supprimer(i);
}

int TListeDessins::Dessiner(TBitmap32& cible, double ox, double oy, double s) const
{
    int echecs = 0;
    for (const Entree& e : entrees_)
        if (!e.dessin->Dessiner(cible, cible, ox, oy, s))
            ++echecs;
    return echecs;
}
