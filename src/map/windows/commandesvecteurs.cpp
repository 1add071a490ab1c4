#include "map/windows/commandesvecteurs.h"

#include "map/windows/delimCarte.h"
#include "map/windows/panneaucarte.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QMenu>
#include <QPushButton>

TCommandesVecteurs::TCommandesVecteurs(TCarte& carte, TPanneauxCarte& panneaux) : carte_(carte), panneaux_(panneaux)
{
    auto brancher = [this](const char* nom, void (TCommandesVecteurs::*f)()) {
        QObject::connect(carte_.commande(nom), &QAction::triggered, &carte_, [this, f] { (this->*f)(); });
    };
    brancher("Affichertouslesvecteurs1", &TCommandesVecteurs::Affichertouslesvecteurs1Click);
    brancher("Nafficheraucunvecteur1", &TCommandesVecteurs::Nafficheraucunvecteur1Click);
    brancher("Agrandir1", &TCommandesVecteurs::Agrandir1Click);
    brancher("Retrecir1", &TCommandesVecteurs::Retrecir1Click);
    brancher("Remiseazero1", &TCommandesVecteurs::Remiseazero1Click);
    brancher("Afficherlechelle1", &TCommandesVecteurs::Afficherlechelle1Click);
    brancher("CorrectiondesVlat1", &TCommandesVecteurs::CorrectiondesVlat1Click);
    QObject::connect(panneaux_.OKLegende, &QPushButton::clicked, &carte_, [this] { OKLegendeClick(); });

    // Pop-up of one GPS station.
    MenuVect = new QMenu(&carte_);
    MenuVect->setObjectName(QStringLiteral("MenuVect"));
    auto* groupe = new QActionGroup(MenuVect);
    Afficherlevecteur1 = MenuVect->addAction(QStringLiteral("Afficher le vecteur"));
    Afficherlevecteur1->setObjectName(QStringLiteral("Afficherlevecteur1"));
    Nepasafficherlevecteur1 = MenuVect->addAction(QStringLiteral("Ne pas afficher le vecteur"));
    Nepasafficherlevecteur1->setObjectName(QStringLiteral("Nepasafficherlevecteur1"));
    for (QAction* a : {Afficherlevecteur1, Nepasafficherlevecteur1}) {
        a->setCheckable(true);
        groupe->addAction(a);
    }
    QObject::connect(Afficherlevecteur1, &QAction::triggered, &carte_,
                     [this] { carte_.donnees().marquerStation(stationMenu_, true); });
    QObject::connect(Nepasafficherlevecteur1, &QAction::triggered, &carte_,
                     [this] { carte_.donnees().marquerStation(stationMenu_, false); });
}

void TCommandesVecteurs::Affichertouslesvecteurs1Click()
{
    carte_.donnees().afficherTousLesVecteurs(true);
}

void TCommandesVecteurs::Nafficheraucunvecteur1Click()
{
    carte_.donnees().afficherTousLesVecteurs(false);
}

void TCommandesVecteurs::Agrandir1Click()
{
    carte_.Reglages.agrandirVecteurs();
    carte_.scene().dessinerGPS();
}

void TCommandesVecteurs::Retrecir1Click()
{
    carte_.Reglages.retrecirVecteurs();
    carte_.scene().dessinerGPS();
}

void TCommandesVecteurs::Remiseazero1Click()
{
    carte_.scene().remiseAZeroStationRef();
}

void TCommandesVecteurs::CorrectiondesVlat1Click()
{
    carte_.Reglages.CorrectionVLat = carte_.commande("CorrectiondesVlat1")->isChecked();
    carte_.scene().dessinerGPS();
}

void TCommandesVecteurs::ouvrirMenuVect(int i, const QPoint& globalPos)
{
    if (!carte_.donnees().rangValide(i))
        return;
    stationMenu_ = i;
    const bool affiche = carte_.donnees().TabStations[static_cast<std::size_t>(i)].Affiche == 1;
    Afficherlevecteur1->setChecked(affiche);
    Nepasafficherlevecteur1->setChecked(!affiche);
    MenuVect->popup(globalPos);
}

// --- Legend ---

void TCommandesVecteurs::Afficherlechelle1Click()
{
    TScene& scene = carte_.scene();
    ReglagesAffichage& r = carte_.Reglages;
    if (carte_.commande("Afficherlechelle1")->isChecked()) {
        panneaux_.Paninstr->show();
        panneaux_.Paninstr->raise();
        r.PlacementLegende = true;
        scene.ImageLegende = construireLegende(r.EchelleVecteurs, r.CouleurVecteurs);
        if (scene.ImageLegende.isEmpty())
            return;
        TBitmapLayer* l = scene.calque(Calque::Legende);
        l->bitmap = scene.ImageLegende;
        const TImageView* vue = carte_.vue();
        const double z = vue->scale();
        const QPoint p(carte::arrondi(100 - vue->offset().x() / z), carte::arrondi(100 - vue->offset().y() / z));
        l->location = QRect(p, QSize(scene.ImageLegende.width(), scene.ImageLegende.height()));
        r.PosLegendeX = p.x();
        r.PosLegendeY = p.y();
        l->visible = true;
        carte_.vue()->invalidate();
    } else {
        panneaux_.Paninstr->hide();
        r.PlacementLegende = false;
        r.LegendePlacee = false;
        scene.calque(Calque::Legende)->visible = false;
        scene.dessinerGPS();
    }
}

void TCommandesVecteurs::OKLegendeClick()
{
    panneaux_.Paninstr->hide();
    carte_.Reglages.PlacementLegende = false;
    carte_.Reglages.LegendePlacee = true;
    carte_.scene().dessinerGPS();
}
