#include "map/windows/choixcouleurscarte.h"

#include "map/windows/delimCarte.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>




namespace {
QSpinBox* spin(const QString& nom, int mini, int maxi, int pas, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(nom);
    s->setRange(mini, maxi);
    s->setSingleStep(pas);
    return s;
}
QWidget* ligne(QWidget* parent, QWidget* controle, const QString& texte)
{
    auto* w = new QWidget(parent);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(controle);
    h->addWidget(new QLabel(texte, w), 1);
    return w;
}
} // namespace

TChoixCouleursCarte::TChoixCouleursCarte(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ChoixCouleursCarte"));
    setWindowTitle(QStringLiteral("Choix des couleurs"));
    setModal(true);

    CouleurS = new TPanneauCouleur(QStringLiteral("CouleurS"), this);
    CouleurGPS = new TPanneauCouleur(QStringLiteral("CouleurGPS"), this);
    CouleurVect = new TPanneauCouleur(QStringLiteral("CouleurVect"), this);
    CouleurVLF = new TPanneauCouleur(QStringLiteral("CouleurVLF"), this);
    CouleurVSM = new TPanneauCouleur(QStringLiteral("CouleurVSM"), this);
    CouleurVLV = new TPanneauCouleur(QStringLiteral("CouleurVLV"), this);
    CouleurVP = new TPanneauCouleur(QStringLiteral("CouleurVP"), this);
    CouleurVA = new TPanneauCouleur(QStringLiteral("CouleurVA"), this);
    CouleurPop = new TPanneauCouleur(QStringLiteral("CouleurPop"), this);

    PointsEpais = new QCheckBox(QStringLiteral("Points épais"), this);
    PointsEpais->setObjectName(QStringLiteral("PointsEpais"));
    FondNB = new QCheckBox(QStringLiteral("Fond N/B"), this);
    FondNB->setObjectName(QStringLiteral("FondNB"));
    CartePrecise = new QCheckBox(QStringLiteral("Carte précise (ralentit le logiciel)"), this);
    CartePrecise->setObjectName(QStringLiteral("CartePrecise"));

    Magnimini = spin(QStringLiteral("Magnimini"), 1, 9, 1, this);
    ProflimiteS = spin(QStringLiteral("ProflimiteS"), 50, 1000, 10, this);
    AttenueFond = spin(QStringLiteral("AttenueFond"), 0, 100, 5, this);
    DensPopMini = spin(QStringLiteral("DensPopMini"), 1, 100, 1, this);
    DensPopMax = spin(QStringLiteral("DensPopMax"), 10, 10000, 1, this);

    SpeedButton1 = new QPushButton(QStringLiteral("Police des tracés..."), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    connect(SpeedButton1, &QPushButton::clicked, this, [this] {
        QFont f = PoliceTraces;
        if (dialogs().chooseFont(f))
            PoliceTraces = f;
    });

    auto* seismes = new QGroupBox(QStringLiteral("Séismes"), this);
    auto* gs = new QVBoxLayout(seismes);
    gs->addWidget(ligne(seismes, CouleurS, QStringLiteral("Couleur des séismes")));
    gs->addWidget(ligne(seismes, Magnimini, QStringLiteral("Magnitude minimale")));
    gs->addWidget(ligne(seismes, ProflimiteS, QStringLiteral("Profondeur limite de dégradé")));

    auto* gps = new QGroupBox(QStringLiteral("GPS"), this);
    auto* gg = new QVBoxLayout(gps);
    gg->addWidget(ligne(gps, CouleurGPS, QStringLiteral("Stations")));
    gg->addWidget(ligne(gps, CouleurVect, QStringLiteral("Vecteurs")));

    auto* volcans = new QGroupBox(QStringLiteral("Volcans"), this);
    auto* gv = new QVBoxLayout(volcans);
    gv->addWidget(ligne(volcans, CouleurVLF, QStringLiteral("à lave fluide")));
    gv->addWidget(ligne(volcans, CouleurVSM, QStringLiteral("sous-marin \nou sous-glaciaire")));
    gv->addWidget(ligne(volcans, CouleurVLV, QStringLiteral("à lave visqueuse\nou explosif")));
    gv->addWidget(ligne(volcans, CouleurVP, QStringLiteral("cône de projections")));
    gv->addWidget(ligne(volcans, CouleurVA, QStringLiteral("autre (fumeroles,\nchamps hydrothermaux)")));

    auto* fond = new QGroupBox(QStringLiteral("Fond de carte"), this);
    auto* gf = new QVBoxLayout(fond);
    gf->addWidget(FondNB);
    gf->addWidget(CartePrecise);
    gf->addWidget(ligne(fond, AttenueFond, QStringLiteral("Atténuation du fond")));
    gf->addWidget(PointsEpais);
    gf->addWidget(SpeedButton1);

    auto* pop = new QGroupBox(QStringLiteral("Population"), this);
    auto* gp = new QVBoxLayout(pop);
    gp->addWidget(ligne(pop, CouleurPop, QStringLiteral("Couleur")));
    gp->addWidget(ligne(pop, DensPopMini, QStringLiteral("Densité minimale")));
    gp->addWidget(ligne(pop, DensPopMax, QStringLiteral("Densité maximale")));

    BoutonOK = new QPushButton(QStringLiteral("OK"), this);
    BoutonOK->setObjectName(QStringLiteral("BoutonOK"));
    BoutonOK->setDefault(true);
    BoutonAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    BoutonAnnuler->setObjectName(QStringLiteral("BoutonAnnuler"));
    connect(BoutonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BoutonAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    auto* grille = new QGridLayout;
    grille->addWidget(seismes, 0, 0);
    grille->addWidget(volcans, 0, 1, 2, 1);
    grille->addWidget(gps, 1, 0);
    grille->addWidget(fond, 2, 0);
    grille->addWidget(pop, 2, 1);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(BoutonOK);
    boutons->addWidget(BoutonAnnuler);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grille);
    v->addLayout(boutons);
}

void TChoixCouleursCarte::charger(const ReglagesAffichage& r, bool fondNB, bool cartePrecise)
{
    CouleurS->setCouleur(r.CouleurSeismes);
    CouleurGPS->setCouleur(r.CouleurStations);
    CouleurVect->setCouleur(r.CouleurVecteurs);
    TPanneauCouleur* const classes[NbClassesCouleurVolcan] = {CouleurVLF, CouleurVSM, CouleurVLV, CouleurVP,
                                                              CouleurVA};
    for (int i = 0; i < NbClassesCouleurVolcan; ++i)
        classes[i]->setCouleur(r.CouleurVolcans[static_cast<std::size_t>(i)]);
    CouleurPop->setCouleur(r.CouleurPopulation);
    PointsEpais->setChecked(r.PointsEpais);
    Magnimini->setValue(r.MagnitudeMini);
    ProflimiteS->setValue(carte::arrondi(r.ProfLimite));
    FondNB->setChecked(fondNB);
    CartePrecise->setChecked(cartePrecise);
    AttenueFond->setValue(pourcentageDepuisAttenuation(r.Attenuation));
    DensPopMini->setValue(r.DensiteMini);
    DensPopMax->setValue(r.DensiteMaxi);
    PoliceTraces = r.PoliceTraces;
}

void TChoixCouleursCarte::lire(ReglagesAffichage& r, bool& fondNB, bool& cartePrecise) const
{
    r.CouleurSeismes = withAlpha(CouleurS->couleur(), 255);
    r.CouleurStations = withAlpha(CouleurGPS->couleur(), 255);
    r.CouleurVecteurs = withAlpha(CouleurVect->couleur(), 255);
    const TPanneauCouleur* const classes[NbClassesCouleurVolcan] = {CouleurVLF, CouleurVSM, CouleurVLV, CouleurVP,
                                                                    CouleurVA};
    for (int i = 0; i < NbClassesCouleurVolcan; ++i)
        r.CouleurVolcans[static_cast<std::size_t>(i)] = withAlpha(classes[i]->couleur(), 255);
    r.CouleurPopulation = withAlpha(CouleurPop->couleur(), 255);
    r.PointsEpais = PointsEpais->isChecked();
    r.MagnitudeMini = Magnimini->value();
    r.ProfLimite = ProflimiteS->value();
    r.Attenuation = attenuationDepuisPourcentage(AttenueFond->value());
    r.DensiteMini = DensPopMini->value();
    r.DensiteMaxi = DensPopMax->value();
    r.PoliceTraces = PoliceTraces;
    fondNB = FondNB->isChecked();
    cartePrecise = CartePrecise->isChecked();
    r.CouleurOutils = fondNB ? clBlack32 : clWhite32;
}

TCommandeChoix::TCommandeChoix(TCarte& carte) : carte_(carte)
{
    QObject::connect(carte_.commande("Choix1"), &QAction::triggered, &carte_, [this] { Choix1Click(); });
}

void TCommandeChoix::Choix1Click()
{
    if (!dialogue_)
        dialogue_ = new TChoixCouleursCarte(&carte_);
    dialogue_->charger(carte_.Reglages, carte_.Etat.FondNBAffiche, carte_.Etat.CartePrecise);
    if (carte_.executerDialogue(*dialogue_) != QDialog::Accepted)
        return;
    bool nb = false, precise = false;
    dialogue_->lire(carte_.Reglages, nb, precise);
    carte_.commande("Pointsepais")->setChecked(carte_.Reglages.PointsEpais);
    carte_.changerFond(nb, precise);
}
