#include "tables/windows/commandestableaux.h"

#include "map/modes.h"
#include "map/windows/delimCarte.h"
#include "tables/windows/tableaux.h"

#include <QAction>

TCommandesTableaux::TCommandesTableaux(TCarte& carte) : QObject(&carte), carte_(carte)
{
    setObjectName(QStringLiteral("CommandesTableaux"));
    QAction* tableau = carte.commande("FenetreTableauGPS1");
    QAction* vecteurs = carte.commande("Choisirlesvecteursaafficher1");
    tableau->setEnabled(true);
    vecteurs->setEnabled(true);
    connect(tableau, &QAction::triggered, this, [this] { FenetreTableauGPS1Click(); });
    connect(vecteurs, &QAction::triggered, this, [this] { Choisirlesvecteursaafficher1Click(); });
    carte.zoneChoisie = [this](const FiltreZone& zone) { zoneChoisie(zone); };
}

TTableaux& TCommandesTableaux::tableaux()
{
    if (!tableaux_) {
        TDonnees& d = carte_.donnees();
        if (d.TabStations.empty())
            TCarte::signalerChargement(d.ChargerGPS(carte_.Config.FichierGPS));
        tableaux_ = new TTableaux(carte_, &carte_);
    }
    return *tableaux_;
}

void TCommandesTableaux::ouvrir(bool trierEtCocher)
{
    TTableaux& t = tableaux();
    // A zone delimited on the map gives the table its bounds.
    if (carte_.Interaction.mode() == carte::Mode::Zone && carte_.Interaction.panneau().commandesDelimitees)
        t.copierZone(carte::filtreDeZone(carte_.Interaction.bornes(), carte_.Etat.LongMinVisible,
                                         carte_.Etat.LongMaxVisible));
    {
        const TScene::Differe differe(carte_.scene());
        carte_.donnees().tabTriDepuisMarques();
        if (trierEtCocher) {
            t.TrierClick();
            t.cocherTout(true);
        }
    }
    t.showMaximized();
    t.raise();
    t.activateWindow();
}

void TCommandesTableaux::FenetreTableauGPS1Click()
{
    carte_.cacherOK();
    ouvrir(true);
}

void TCommandesTableaux::Choisirlesvecteursaafficher1Click()
{
    ouvrir(false);
}

void TCommandesTableaux::zoneChoisie(const FiltreZone& zone)
{
    TTableaux& t = tableaux();
    const TScene::Differe differe(carte_.scene());
    t.copierZone(zone);
    t.TrierClick();
    t.cocherTout(true);
}
