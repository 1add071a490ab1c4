#include "app/windows/orbiplate.h"

#include "app/windows/apropos.h"
#include "app/windows/fenetreaide.h"
#include "app/windows/listedonneesmenu.h"
#include "drawing/windows/dialoguestexte.h"
#include "drawing/windows/feuilledessin.h"
#include "print/windows/commandesexport.h"
#include "exercises/windows/commandesexercices.h"
#include "data/loaders.h"
#include "map/windows/delimCarte.h"
#include "map/windows/commandesfichiers.h"
#include "map/windows/commandesreperes.h"
#include "map/windows/tableaureperes.h"
#include "plates/windows/commandesplaques.h"
#include "print/windows/gestimp.h"
#include "section/windows/commandescoupe.h"
#include "projections/windows/commandevuepolaire.h"
#include "tables/windows/commandestableaux.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

TOrbiplate::TOrbiplate(const QString& dossier)
    : propres_(std::make_unique<TDonnees>()), donnees_(propres_.get()),
      carte_(std::make_unique<TCarte>(dossier, *donnees_))
{
}

TOrbiplate::TOrbiplate(const QString& dossier, TDonnees& donnees)
    : donnees_(&donnees), carte_(std::make_unique<TCarte>(dossier, *donnees_))
{
}

TOrbiplate::~TOrbiplate()
{
    TFeuilleDessin::impression() = {};
    coupes_.reset();
    export_.reset();
    polaire_.reset();
}

bool TOrbiplate::demarrer()
{
    if (!carte_->demarrer())
        return false;
    carte_->creerFenetresOutils();
    polaire_ = std::make_unique<TCommandeVuePolaire>(*carte_);

    TCarte* c = carte_.get();
    apropos_ = new TApropos(c->vue());
    liste_ = new MenuListeDonnees(c->menu("Aide1"), c->commande("SeparateurListe"),
                                  [this](const EntreeListe& e) { ouvrirEntree(e); }, c);

    new TCommandesTableaux(*c); // the GPS table and the time series, a child of the map

    // The general commands of the map's menus.
    QAction* configuration = c->commande("Chargerunfichierdeconfiguration1");
    QAction* apropos = c->commande("Apropos1");
    configuration->setEnabled(true);
    apropos->setEnabled(true);
    QObject::connect(configuration, &QAction::triggered, c, [this] { Chargerunfichierdeconfiguration1Click(); });
    QObject::connect(apropos, &QAction::triggered, c, [this] { Apropos1Click(); });
    QObject::connect(c->commande("Fichierdaide1"), &QAction::triggered, c, [this] { Fichierdaide1Click(); });
    QObject::connect(c->commande("Chargerdesdonneesdansuntableur1"), &QAction::triggered, c,
                     [c] { chargerDonneesDansTableur(c->DernierDossier); });

    // The dialogs that the commands open modally: the print layout manager, the
    // text entry and the section colours; then the map's exports, printing
    // through the manager, and the drawing sheet's printing.
    gestimp_ = new Tgestimp(c);
    saisieTexte();
    choixCouleurs();
    auto imprimer = [this](const TBitmap32& image) { return gestimp_->imprimer(image); };
    TFeuilleDessin::impression() = imprimer;
    export_ = std::make_unique<TCommandesExport>(*c, imprimer);
    coupes_ = std::make_unique<TCommandesCoupe>(*c, imprimer);

    // Features of their own folders, each wiring its menu items.
    new TCommandesExercices(*c);
    (new TCommandesPlaques(*c))->brancherVuePolaire(*polaire_);
    return true;
}

void TOrbiplate::Chargerunfichierdeconfiguration1Click()
{
    FileDialogRequest req;
    req.folder = carte_->DernierDossier;
    req.filter = QStringLiteral("configuration orbiplate|*.cft");
    req.fileName = QStringLiteral("*.cft");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    carte_->DernierDossier = QFileInfo(chemin).absolutePath();
    liste_->charger(chemin);
}

void TOrbiplate::Apropos1Click()
{
    apropos_->actualiser();
    apropos_->adjustSize();
    const QSize zone = carte_->vue()->size();
    apropos_->move(std::max(0, (zone.width() - apropos_->width()) / 2),
                   std::max(0, (zone.height() - apropos_->height()) / 2));
    apropos_->show();
    apropos_->raise();
}

void TOrbiplate::Fichierdaide1Click()
{
    ouvrirFichierAide([this](const QString& chemin) { afficherAideInterne(chemin); }, carte_.get());
}

void TOrbiplate::afficherAideInterne(const QString& chemin)
{
    if (!aide_)
        aide_ = new TFenetreAide(carte_.get());
    aide_->afficher(chemin);
}

void TOrbiplate::ouvrirEntree(const EntreeListe& e)
{
    TCarte& c = *carte_;
    switch (genreFichierListe(e.chemin)) {
    case GenreFichierListe::Reperes:
        c.reperes().chargerEtAjouter(e.chemin, true);
        break;
    case GenreFichierListe::GPS:
        c.fichiers().chargerGPS(e.chemin);
        break;
    case GenreFichierListe::Seismes:
        c.fichiers().chargerSeismes(e.chemin);
        break;
    case GenreFichierListe::Autre:
        ouvrirDocument(e.chemin);
        break;
    }
}
