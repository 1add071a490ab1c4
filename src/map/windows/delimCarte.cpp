#include "map/windows/delimCarte.h"

#include "data/decimal.h"
#include "map/windows/choixcouleurscarte.h"
#include "map/windows/commandesfichiers.h"
#include "map/windows/commandesniveau.h"
#include "map/windows/commandesreperes.h"
#include "map/windows/commandesvecteurs.h"
#include "map/windows/menuscarte.h"
#include "map/windows/panneaucarte.h"
#include "map/windows/recherchevolc.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Hourglass cursor for the lifetime of the guard.
class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

carte::BoutonSouris boutonSouris(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton:
        return carte::BoutonSouris::Droit;
    case Qt::MiddleButton:
        return carte::BoutonSouris::Milieu;
    default:
        return carte::BoutonSouris::Gauche;
    }
}

} // namespace

TCarte::TCarte(const QString& dossierDepart, TDonnees& donnees, QWidget* parent)
    : QMainWindow(parent), scene_(donnees), Etat(scene_.Etat), Reglages(scene_.Reglages),
      ImageLegende(scene_.ImageLegende)
{
    setObjectName(QStringLiteral("Carte"));
    setWindowTitle(QStringLiteral("Carte"));
    Config.DossierDepart = dossierAvecSeparateur(dossierDepart);
    DernierDossier = QDir::cleanPath(dossierDepart);
    executerDialogue = [](QDialog& d) { return d.exec(); };

    menus_ = std::make_unique<TMenusCarte>(creerMenusCarte(this));
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    Document = new TImageView(central);
    Document->setObjectName(QStringLiteral("Document"));
    Document->setCentered(false);
    Document->setSource(&scene_);
    Document->installEventFilter(this);
    Document->viewport()->setMouseTracking(true);
    panneaux_ = std::make_unique<TPanneauxCarte>(central, Document);
    v->addWidget(panneaux_->barre());
    v->addWidget(Document, 1);
    v->addWidget(panneaux_->lecture());
    setCentralWidget(central);

    Interaction.attacherCalques(&calque(Calque::Interaction)->bitmap, &calque(Calque::Traces)->bitmap);
    Interaction.contexte().etat = &Etat;
    Interaction.contexte().donnees = &donnees;
    brancherScene();
    brancherMenus();

    // The map's own features wire their items.
    fichiers_ = std::make_unique<TCommandesFichiers>(*this);
    vecteurs_ = std::make_unique<TCommandesVecteurs>(*this, *panneaux_);
    reperes_ = std::make_unique<TCommandesReperes>(*this);
    choix_ = std::make_unique<TCommandeChoix>(*this);
    recherche_ = std::make_unique<TCommandeRechercheVolcan>(*this);
    niveau_ = std::make_unique<TCommandesNiveau>(*this);
}

TCarte::~TCarte()
{
    emit fermeture();
    // The scene outlives the view that shows it only for the view's destruction.
    Document->setSource(nullptr);
}

QAction* TCarte::commande(const char* nom) const
{
    return findChild<QAction*>(QString::fromLatin1(nom));
}

QMenu* TCarte::menu(const char* nom) const
{
    return findChild<QMenu*>(QString::fromLatin1(nom));
}

TTableau_reperes* TCarte::tableauReperes() const
{
    return reperes_->tableau();
}

TRecherche_Volc* TCarte::rechercheVolcan() const
{
    return recherche_->fenetre();
}

void TCarte::creerFenetresOutils()
{
    recherche_->creerFenetre();
    reperes_->creerFenetre();
}

void TCarte::brancherScene()
{
    scene_.aRepeindre = [this](const QRect& r) {
        if (r.isEmpty())
            Document->invalidate();
        else
            Document->invalidate(r);
    };
    scene_.redessinerTraces = [this] {
        Sablier s;
        majContexte();
        appliquer(Interaction.RedessinerTraces());
    };
    scene_.fondChange = [this] {
        Interaction.attacherCalques(&calque(Calque::Interaction)->bitmap, &calque(Calque::Traces)->bitmap);
        Document->baseChanged();
        Ajuster();
    };
    scene_.affichageChange = [this](Calque c, bool oui) {
        QAction* a = c == Calque::Seismes  ? menus_->Seismes1
                     : c == Calque::Volcans ? menus_->Volcans1
                     : c == Calque::GPS     ? menus_->PointsGPS1
                                            : nullptr;
        if (a)
            a->setChecked(oui);
        if (c == Calque::GPS)
            majVisibiliteMenusGPS();
        emit calqueAffiche(c, oui);
    };
    scene_.referenceChange = [this] {
        if (Etat.StationRef < 0 || !donnees().rangValide(Etat.StationRef))
            panneaux_->definirStationRef(QString());
        else
            panneaux_->definirStationRef(
                (QStringLiteral(" Station considérée comme fixe : ") +
                 shortToQString(donnees().TabStations[static_cast<std::size_t>(Etat.StationRef)].Nom))
                    .left(37));
    };
}

void TCarte::brancherMenus()
{
    TMenusCarte& m = *menus_;
    majVisibiliteMenusGPS();
    connect(m.Quitter1, &QAction::triggered, this, &QWidget::close);
    connect(m.PointsGPS1, &QAction::triggered, this, [this](bool c) { couchesCliquees(Calque::GPS, c); });
    connect(m.Seismes1, &QAction::triggered, this, [this](bool c) { couchesCliquees(Calque::Seismes, c); });
    connect(m.Volcans1, &QAction::triggered, this, [this](bool c) { couchesCliquees(Calque::Volcans, c); });
    connect(m.Pointsepais, &QAction::triggered, this, [this](bool c) {
        Reglages.PointsEpais = c;
        scene_.reconstruireCalques();
    });
    for (const char* nom : NomsModes) {
        QAction* a = commande(nom);
        connect(a, &QAction::triggered, this, [this, a] { ChoisirMode(a->property("tag").toInt()); });
    }
    for (QToolButton* b : panneaux_->boutonsModes)
        connect(b, &QToolButton::clicked, this, [this, b] { ChoisirMode(b->property("tag").toInt()); });
    connect(panneaux_->BLoupe, &QToolButton::clicked, this, [this] {
        majContexte();
        const QSize vue = Document->viewport()->size();
        appliquer(Interaction.loupeClic(vue.width(), vue.height()));
    });
    connect(panneaux_->OK, &QPushButton::clicked, this, [this] {
        majContexte();
        appliquer(Interaction.okClic());
    });
    connect(panneaux_->RAZ, &QPushButton::clicked, this, [this] {
        majContexte();
        appliquer(Interaction.raz());
    });
    connect(m.conserverlestraces, &QAction::triggered, this, [this] {
        appliquer(Interaction.conserverLesTraces());
        menus_->conserverlestraces->setChecked(Interaction.conserver());
    });
    connect(m.Effacerlestraces1, &QAction::triggered, this, [this] {
        majContexte();
        appliquer(Interaction.effacerLesTraces());
    });
    connect(m.Grandcercle1, &QAction::triggered, this, [this] {
        majContexte();
        appliquer(Interaction.effacerDernierGrandCercle());
    });
    connect(m.Viderlamemoire1, &QAction::triggered, this, &TCarte::Viderlamemoire1Click);

    connect(panneaux_->Zoom, &QScrollBar::valueChanged, this, &TCarte::ZoomChange);
    connect(panneaux_->decalage, &QScrollBar::valueChanged, this, &TCarte::decalageChange);
    connect(Document, &TImageView::mouseDoubleClick, this,
            [this](QMouseEvent*, const QPoint& p) { DocumentDblClick(p); });
    connect(Document, &TImageView::mouseDown, this, [this](QMouseEvent* e, const QPoint& p) {
        DocumentMouseDown(e->button(), p, e->globalPosition().toPoint());
    });
    connect(Document, &TImageView::mouseMove, this,
            [this](QMouseEvent* e, const QPoint& p) { DocumentMouseMove(e->buttons(), p); });
    connect(Document, &TImageView::mouseUp, this,
            [this](QMouseEvent* e, const QPoint& p) { DocumentMouseUp(e->button(), p); });
}

bool TCarte::demarrer()
{
    Etat.fixerDecalage(0);
    DeterminerSeparateurDecimal();
    Etat.DiviseurZoom = 100;
    Config = lireConfiguration(Config.DossierDepart);
    Fonds = {Config.FondCouleur3600, Config.FondNB3600, Config.FondCouleur7200, Config.FondNB7200};
    Reglages.ProfLimite = 500;

    if (Grille.charger(cheminGrille(Config)))
        panneaux_->definirAltitude(Grille.texteMiniMaxi());
    Interaction.contexte().grille = Grille.f() > 0 && Grille.charge() ? &Grille : nullptr;

    TBitmap32 fond;
    if (!loadPicture(Config.FondCouleur3600, fond) || fond.isEmpty()) {
        showError(QStringLiteral("Il manque l'image de la carte de fond"));
        return false;
    }
    scene_.installerFond(std::move(fond));
    Etat.remiseAZero();
    Reglages.LegendePlacee = false;
    Reglages.PlacementLegende = false;

    // Over the whole screen, leaving room for the desktop's task bar.
    if (QScreen* ecran = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect g = ecran->geometry();
        move(g.topLeft());
        resize(g.width(), ecran->availableGeometry().height() - 42);
    }
    largeurAjustee_ = -1;
    Ajuster();
    return true;
}

bool TCarte::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Document && event->type() == QEvent::Resize && Etat.W > 0) {
        const int l = static_cast<QResizeEvent*>(event)->size().width();
        if (l != largeurAjustee_)
            QMetaObject::invokeMethod(this, [this] { Ajuster(); }, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TCarte::Ajuster()
{
    if (Etat.W <= 0 || ajustement_)
        return;
    ajustement_ = true;
    largeurAjustee_ = Document->width();
    // Client width without scroll bars; the margin of 1 % of the map leaves room for a
    // vertical bar, so the fitted map never needs a horizontal one.
    const int client = Document->width() - 2 * Document->frameWidth();
    Etat.EchelleMin = std::max(0.01, carte::echelleMinPour(client, Etat.W));
    Etat.EchelleMax = std::max(Etat.EchelleMin, carte::echelleMaxPour(Etat.W));
    Document->setScale(Etat.EchelleMin);
    {
        QScrollBar* zoom = panneaux_->Zoom;
        const QSignalBlocker bloque(zoom);
        zoom->setRange(carte::positionZoom(Etat.EchelleMin, Etat.DiviseurZoom),
                       carte::positionZoom(Etat.EchelleMax, Etat.DiviseurZoom));
        zoom->setValue(zoom->minimum());
    }
    Document->scrollToMap(QPoint(0, 0));
    Document->invalidate();
    ajustement_ = false;
}

void TCarte::ZoomChange()
{
    Document->setScale(carte::echelleDePosition(panneaux_->Zoom->value(), Etat.DiviseurZoom));
}

void TCarte::decalageChange()
{
    const int nouveau = panneaux_->decalage->value();
    if (nouveau == Etat.Decalage)
        return;
    Sablier s;
    appliquer(Interaction.effacerBande());
    scene_.decaler(nouveau);
}

// --- Layers ---

void TCarte::majVisibiliteMenusGPS()
{
    const bool gps = scene_.affiche(Calque::GPS);
    menus_->Vecteurs1->menuAction()->setVisible(gps);
    menus_->Exercices1->menuAction()->setVisible(gps);
}

void TCarte::couchesCliquees(Calque c, bool coche)
{
    // A layer shown for the first time loads its kind's default file.
    if (coche) {
        Sablier s;
        TDonnees& d = donnees();
        const TScene::Differe differe(scene_);
        if (c == Calque::Seismes && !d.SeismesCharges)
            signalerChargement(d.ChargerSeismes(Config.FichierSeismes));
        else if (c == Calque::Volcans && !d.VolcansCharges)
            signalerChargement(d.ChargerVolcans(Config.FichierVolcans));
        else if (c == Calque::GPS && !d.GPSCharges)
            signalerChargement(d.ChargerGPS(Config.FichierGPS));
        scene_.afficher(c, true);
    } else {
        scene_.afficher(c, false);
    }
}

void TCarte::afficherGPS()
{
    Sablier s;
    scene_.afficher(Calque::GPS, true);
}

void TCarte::afficherSeismes()
{
    Sablier s;
    scene_.afficher(Calque::Seismes, true);
}

void TCarte::afficherVolcans()
{
    Sablier s;
    scene_.afficher(Calque::Volcans, true);
}

void TCarte::signalerChargement(const ResultatChargement& r)
{
    if (r.message.isEmpty())
        return;
    // Nothing loaded: an error. Loaded in part (skipped records, truncated file, a
    // text import stopped on a bad line): a warning over the new map.
    if (r.remplace)
        showWarning(r.message);
    else
        showError(r.message);
}

QString TCarte::demanderFichier(const QString& filtre)
{
    FileDialogRequest req;
    req.folder = DernierDossier;
    req.filter = filtre;
    const QString chemin = dialogs().openFile(req);
    if (!chemin.isEmpty())
        DernierDossier = QFileInfo(chemin).absolutePath();
    return chemin;
}

void TCarte::changerFond(bool nb, bool precise)
{
    QString message;
    {
        Sablier s;
        if (!scene_.changerFond(nb, precise, Fonds, &message))
            showError(message);
    }
    scene_.reconstruireCalques();
}

void TCarte::Viderlamemoire1Click()
{
    const bool seismes = scene_.affiche(Calque::Seismes);
    const bool volcans = scene_.affiche(Calque::Volcans);
    const bool gps = scene_.affiche(Calque::GPS);
    {
        // The emptied kinds' layers are released, not redrawn.
        const TScene::Differe differe(scene_);
        donnees().viderMemoire(seismes, volcans, gps);
        if (!seismes)
            scene_.libererCalque(Calque::Seismes);
        if (!volcans)
            scene_.libererCalque(Calque::Volcans);
        if (!gps)
            scene_.libererCalque(Calque::GPS);
    }
    scene_.verifierStationRef();
    Document->invalidate();
}

// --- Mouse tools ---

void TCarte::majContexte()
{
    carte::ContexteCarte& c = Interaction.contexte();
    c.etat = &Etat;
    c.donnees = &donnees();
    c.gpsCoche = scene_.affiche(Calque::GPS);
    c.volcansCoche = scene_.affiche(Calque::Volcans);
    c.placementEchelle = Reglages.PlacementLegende;
    // White lines over the colour maps, black over the black-and-white ones.
    const TColor32 couleur = Etat.FondNBAffiche ? clBlack32 : clWhite32;
    c.couleurTrace = couleur;
    c.couleurGrandCercle = couleur;
    c.styleReperes.pointsEpais = menus_->Pointsepais->isChecked();
}

void TCarte::appliquer(const carte::Effets& e)
{
    panneaux_->afficher(Interaction.panneau());
    if (e.calqueTracesCree) {
        TBitmapLayer* l = calque(Calque::Traces);
        l->location = QRect(0, 0, Etat.W, Etat.H);
        l->visible = true;
        Document->invalidate();
    } else {
        // Only what the band and the traces covered before and cover now.
        for (const QRect& r : e.zonesBande)
            Document->invalidate(r);
        for (const QRect& r : e.zonesTraces)
            Document->invalidate(r);
    }
    if (!calque(Calque::Traces)->bitmap.isEmpty() && !calque(Calque::Traces)->visible) {
        calque(Calque::Traces)->visible = true;
        Document->invalidate();
    }
    if (e.deplacerEchelle)
        scene_.placerLegende(*e.deplacerEchelle);
    if (donnees().rangValide(e.nouvelleReference))
        scene_.choisirStationRef(e.nouvelleReference);
    if (e.menuStation >= 0)
        vecteurs_->ouvrirMenuVect(e.menuStation, pointGlobal_);
    if (e.selectionZone)
        selectionnerZone();
    if (e.loupe) {
        const carte::ResultatLoupe& r = *e.loupe;
        panneaux_->decalage->setValue(r.decalage); // shifts the map so that the zone is centred
        {
            const QSignalBlocker bloque(panneaux_->Zoom);
            panneaux_->Zoom->setValue(carte::positionZoom(r.zoom, Etat.DiviseurZoom));
        }
        Document->setScale(r.zoom);
        const QSize vue = Document->viewport()->size();
        Document->scrollToMap(QPoint(carte::arrondi(Etat.W / 2.0 - vue.width() / 2.0 / r.zoom),
                                     carte::arrondi(r.centreY - vue.height() / 2.0 / r.zoom)));
        Document->invalidate();
    }
    for (const auto& f : suiviEffets_)
        f(e);
}

void TCarte::ChoisirMode(int tag)
{
    if (tag < 0 || tag > 5)
        return;
    majContexte();
    appliquer(Interaction.ChoisirMode(tag));
    const carte::DescriptionMode d = carte::descriptionMode(static_cast<carte::Mode>(tag));
    for (const char* nom : NomsModes) {
        QAction* a = commande(nom);
        if (a->property("tag").toInt() == tag)
            a->setChecked(true);
    }
    panneaux_->cocherMode(tag);
    if (d.titre)
        setWindowTitle(QString::fromUtf8(d.titre));
    if (!d.curseurInchange) {
        if (d.curseurCroix)
            Document->viewport()->setCursor(Qt::CrossCursor);
        else
            Document->viewport()->unsetCursor();
    }
}

void TCarte::DocumentMouseDown(Qt::MouseButton bouton, const QPoint& mapPos, const QPoint& globalPos)
{
    pointGlobal_ = globalPos;
    majContexte();
    appliquer(Interaction.appui(mapPos.x(), mapPos.y(), boutonSouris(bouton)));
}

void TCarte::DocumentMouseMove(Qt::MouseButtons boutons, const QPoint& mapPos)
{
    majContexte();
    appliquer(Interaction.deplacement(mapPos.x(), mapPos.y(), boutons & Qt::LeftButton));
}

void TCarte::DocumentMouseUp(Qt::MouseButton bouton, const QPoint& mapPos)
{
    majContexte();
    appliquer(Interaction.relachement(mapPos.x(), mapPos.y(), boutonSouris(bouton)));
}

void TCarte::DocumentDblClick(const QPoint& mapPos)
{
    // The system reports the second press as a double click: it is a press too.
    majContexte();
    if (Interaction.pointCourant() != mapPos)
        appliquer(Interaction.deplacement(mapPos.x(), mapPos.y(), false));
    appliquer(Interaction.appui(mapPos.x(), mapPos.y(), carte::BoutonSouris::Gauche));
    if (panneaux_->Bcurseur->isChecked())
        appliquer(Interaction.doubleClic());
}

void TCarte::selectionnerZone()
{
    const FiltreZone zone = carte::filtreDeZone(Interaction.bornes(), Etat.LongMinVisible, Etat.LongMaxVisible);
    if (zoneChoisie)
        zoneChoisie(zone);
    else
        donnees().reconstruireTabTri(zone);
}

void TCarte::cacherOK()
{
    Interaction.cacherOK();
    panneaux_->afficher(Interaction.panneau());
}
