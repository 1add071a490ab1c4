#include "app/windows/listedonneesmenu.h"

#include <QAction>
#include <QMenu>

MenuListeDonnees::MenuListeDonnees(QMenu* aide, QAction* separateur, Ouvreur ouvrir, QObject* parent)
    : QObject(parent), aide_(aide), separateur_(separateur), ouvrir_(std::move(ouvrir))
{
}

void MenuListeDonnees::charger(const QString& cheminCft)
{
    remplacer(lireListeDonnees(cheminCft));
}

void MenuListeDonnees::remplacer(std::vector<EntreeListe> entrees)
{
    for (QAction* a : actions_) {
        aide_->removeAction(a);
        a->deleteLater();
    }
    actions_.clear();
    liste_.vider();

    std::vector<EntreeListe> gardees;
    for (const EntreeListe& e : entrees) {
        if (e.ouvrir && ouvrir_)
            ouvrir_(e);
        gardees.push_back(e);
        QAction* a = aide_->addAction(e.libelle);
        a->setCheckable(true);
        a->setChecked(e.ouvrir);
        const int i = static_cast<int>(actions_.size());
        connect(a, &QAction::triggered, this, [this, i] { ouvrirEntree(i); });
        actions_.append(a);
        if (separateur_)
            separateur_->setVisible(true);
    }
    liste_.remplacer(std::move(gardees));
}

void MenuListeDonnees::ouvrirEntree(int i)
{
    if (i < 0 || i >= actions_.size())
        return;
    if (ouvrir_)
        ouvrir_(liste_.entrees()[static_cast<std::size_t>(i)]);
    actions_[i]->setChecked(true);
}
