// The data list's items under the help menu: one checkable item per entry,
// after a separator that shows once a list is loaded. A new list replaces the
// items of the previous one; entries flagged "OUI" are opened at once.
#pragma once

#include "app/listedonnees.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;

class MenuListeDonnees : public QObject {
public:
    using Ouvreur = std::function<void(const EntreeListe&)>;

    // `separateur` is the (hidden) separator of the help menu placed before the
    // list's items; `ouvrir` opens one entry's file by its kind.
    MenuListeDonnees(QMenu* aide, QAction* separateur, Ouvreur ouvrir, QObject* parent = nullptr);

    // "Charger un fichier de configuration" after the open dialog.
    void charger(const QString& cheminCft);
    // The same with entries already read.
    void remplacer(std::vector<EntreeListe> entrees);

    const TListeDonnees& liste() const { return liste_; }
    const QList<QAction*>& actions() const { return actions_; }

private:
    void ouvrirEntree(int i);

    QMenu* aide_;
    QAction* separateur_;
    Ouvreur ouvrir_;
    TListeDonnees liste_;
    QList<QAction*> actions_;
};
