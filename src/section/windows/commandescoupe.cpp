#include "section/windows/commandescoupe.h"

#include "map/modes.h"
#include "map/outils.h"
#include "map/windows/delimCarte.h"
#include "section/renducoupe.h"
#include "section/windows/demnom.h"
#include "section/windows/fcoupe.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace {

class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

// The section mode: a straight rubber line; a long enough line, once released,
// asks its name and width and becomes a section. OK builds it again.
class TOutilCoupe : public carte::TOutilSouris {
public:
    explicit TOutilCoupe(TCommandesCoupe& c) : c_(c) {}

    bool okApresRelachement(const carte::TInteraction& m) const override
    {
        // The line ends where the button was released, also after a plain click.
        return carte::coupeAcceptee(
            coupe::ligneDepuisPixels(m.pointAppui(), m.pointRelache(), c_.carteCoupe()).bornes);
    }
    void relachement(carte::TInteraction& m, const carte::PositionGeo&, carte::BoutonSouris b,
                     carte::Effets& e) override
    {
        if (b != carte::BoutonSouris::Gauche)
            return;
        c_.ligneRelachee(m, m.pointAppui(), m.pointRelache(), e);
    }
    void ok(carte::TInteraction& m, carte::Effets& e) override
    {
        if (c_.ligneAcceptee())
            c_.ConstruireCoupe(c_.nomCourant(), m, e);
    }

private:
    TCommandesCoupe& c_;
};

} // namespace

TCommandesCoupe::TCommandesCoupe(TCarte& carte, std::function<bool(const TBitmap32&)> imprimer)
    : carte_(carte), imprimer_(std::move(imprimer))
{
    const ReglagesAffichage* reglages = &carte_.Reglages;
    coupe::installerRenduCoupe([reglages] { return reglages->ProfLimite; });
    carte_.Interaction.enregistrerOutil(static_cast<int>(carte::Mode::Coupe), std::make_unique<TOutilCoupe>(*this));
    carte_.Interaction.dessinerCoupeGardee = [this](const carte::TCoupeGardee& g, TBitmap32& b) {
        const carte::ContexteCarte& ctx = carte_.Interaction.contexte();
        return coupe::TracerCoupeConservee(g, b, ctx.couleurTrace, ctx.couleurGrandCercle, carte_.Etat.Decalage);
    };
    for (const char* nom : {"Tracecoupe", "Coupe1", "FenetreCoupes1"})
        if (QAction* a = carte_.commande(nom))
            a->setEnabled(true);
    if (auto* b = carte_.findChild<QToolButton*>(QStringLiteral("BCoupe")))
        b->setEnabled(true);
    connect(carte_.commande("Coupe1"), &QAction::triggered, this, [this] {
        carte_.majContexte();
        carte_.appliquer(carte_.Interaction.effacerDerniereCoupe());
    });
    connect(carte_.commande("FenetreCoupes1"), &QAction::triggered, this, &TCommandesCoupe::FenetreCoupes1Click);
}

TCommandesCoupe::~TCommandesCoupe()
{
    // The map may outlive the commands: it goes back to the plain rubber line.
    carte_.Interaction.dessinerCoupeGardee = {};
    carte_.Interaction.enregistrerOutil(static_cast<int>(carte::Mode::Coupe),
                                        std::make_unique<carte::TOutilLigneCoupe>());
    coupe::installerRenduCoupe();
}

TCoupe& TCommandesCoupe::creerFenetre()
{
    if (!fenetre_) {
        fenetre_ = std::make_unique<TCoupe>();
        fenetre_->imprimer = imprimer_;
    }
    return *fenetre_;
}

coupe::CarteCoupe TCommandesCoupe::carteCoupe()
{
    coupe::CarteCoupe c;
    c.W = carte_.Etat.W;
    c.H = carte_.Etat.H;
    c.decalage = carte_.Etat.Decalage;
    c.grille = carte_.Interaction.contexte().grille;
    const TScene& s = carte_.scene();
    const TDonnees& d = carte_.donnees();
    if (s.affiche(Calque::Seismes))
        c.seismes = &d.TabSeismes;
    if (s.affiche(Calque::Volcans))
        c.volcans = &d.TabVolcans;
    c.magnitudeMini = carte_.Reglages.MagnitudeMini;
    c.pointsEpais = carte_.Reglages.PointsEpais;
    return c;
}

void TCommandesCoupe::ligneRelachee(carte::TInteraction& m, QPoint appui, QPoint relache, carte::Effets& e)
{
    const coupe::CarteCoupe c = carteCoupe();
    const coupe::LigneCoupe ligne = coupe::ligneDepuisPixels(appui, relache, c);
    // A line shorter than 20 grid steps both ways is silently ignored.
    if (!carte::coupeAcceptee(ligne.bornes))
        return;
    ligne_ = ligne;
    ligneValide_ = true;
    {
        TDemNom d(&carte_);
        d.Nom->setText(QStringLiteral("Coupe %1").arg(compteur_));
        d.LargAng->setValue(arrondi(2 * demiLargeur_));
        d.Nom->selectAll();
        const int r = carte_.executerDialogue(d);
        demiLargeur_ = d.LargAng->value() / 2.0;
        nom_ = d.Nom->text();
        if (r != QDialog::Accepted)
            return;
    }
    if (m.conserver()) {
        carte::TCoupeGardee g;
        const carte::PositionGeo a = m.versGeo(appui), b = m.versGeo(relache);
        g.Lat1 = a.latitude;
        g.Lon1 = a.longitude;
        g.Lat2 = b.latitude;
        g.Lon2 = b.longitude;
        g.DemiLargeur = demiLargeur_;
        assignShort(g.Nom, nom_.left(15));
        m.coupes.push_back(g);
        if (m.assurerCalqueTraces(e)) {
            std::vector<QRect> zones;
            const carte::ContexteCarte& ctx = m.contexte();
            e.regionTraces |= coupe::TracerCoupeConservee(g, *m.traces(), ctx.couleurTrace, ctx.couleurGrandCercle,
                                                          m.decalage(), &zones);
            m.noterTracesDessines(zones, e);
        }
    }
    ++compteur_;
    ConstruireCoupe(nom_, m, e);
    if (m.conserver())
        m.clearBande(e);
}

bool TCommandesCoupe::ConstruireCoupe(const QString& nom, carte::TInteraction& m, carte::Effets& e)
{
    if (!ligneValide_)
        return false;
    const coupe::CarteCoupe c = carteCoupe();
    TCoupe& f = creerFenetre();
    std::unique_ptr<TBitmapSIG> s = f.images().nouvelleCoupe(nom, c.pointsEpais);
    coupe::ResultatCoupe r;
    {
        Sablier sablier;
        r = coupe::ConstruireCoupe(*s, ligne_, demiLargeur_, c);
    }
    if (TBitmap32* b = m.bande(); b && !b->isEmpty()) {
        std::vector<QRect> zones;
        coupe::TracerBande(r.bande, *b, m.contexte().couleurTrace, m.decalage(), &zones);
        m.noterBandeDessinee(zones, e);
    }
    f.AjouterCoupe(std::move(s));
    return true;
}

void TCommandesCoupe::FenetreCoupes1Click()
{
    TCoupe& f = creerFenetre();
    if (!f.images().aucuneCoupe()) {
        f.show();
        f.raise();
    }
}
