#include "map/windows/delimCarte.h"

#include "data/decimal.h"
#include "data/loaders.h"
#include "data/stores.h"
#include "map/windows/choixcouleurscarte.h"
#include "map/windows/recherchevolc.h"
#include "map/windows/tableaureperes.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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

QAction* item(QMenu* menu, const QString& nom, const QString& texte, bool actif = true)
{
    QAction* a = menu->addAction(texte);
    a->setObjectName(nom);
    a->setEnabled(actif);
    return a;
}

QAction* itemCoche(QMenu* menu, const QString& nom, const QString& texte, bool actif = true)
{
    QAction* a = item(menu, nom, texte, actif);
    a->setCheckable(true);
    return a;
}

QMenu* sousMenu(QMenu* parent, const QString& nom, const QString& texte)
{
    QMenu* m = parent->addMenu(texte);
    m->setObjectName(nom);
    m->menuAction()->setObjectName(nom + QStringLiteral("Item"));
    return m;
}

QLabel* etiquette(QWidget* parent, const QString& nom, const QString& texte = QString())
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(nom);
    return l;
}

QToolButton* bouton(QWidget* parent, const QString& nom, const QString& texte, const QString& bulle, int tag)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(nom);
    b->setText(texte);
    b->setToolTip(bulle);
    b->setCheckable(true);
    b->setProperty("tag", tag);
    return b;
}

} // namespace

TCarte::TCarte(const QString& dossierDepart, TDonnees& donnees, QWidget* parent)
    : QMainWindow(parent), donnees_(donnees)
{
    setObjectName(QStringLiteral("Carte"));
    setWindowTitle(QStringLiteral("Carte"));
    Config.DossierDepart = dossierAvecSeparateur(dossierDepart);
    DernierDossier = QDir::cleanPath(dossierDepart);
    executerDialogue = [](QDialog& d) { return d.exec(); };

    creerMenus();
    creerPanneaux();
    creerCalques();
    Interaction.attacherCalques(&calque(Calque::Interaction)->bitmap, &calque(Calque::Traces)->bitmap);
    Interaction.contexte().etat = &Etat;
    Interaction.contexte().donnees = &donnees_;
    ecouteur_ = donnees_.ecouter([this](unsigned m) { donneesChangees(m); });
    RedessinerTraces = [this] {
        Sablier s;
        majContexte();
        appliquer(Interaction.RedessinerTraces());
    };
}

TCarte::~TCarte()
{
    donnees_.oublier(ecouteur_);
}

void TCarte::donneesChangees(unsigned magasins)
{
    // A layer that holds a picture follows its store; the others are drawn when
    // they are first shown.
    if ((magasins & TDonnees::Seismes) && calqueAUneImage(Calque::Seismes))
        DessinerSeismes();
    if ((magasins & TDonnees::Volcans) && calqueAUneImage(Calque::Volcans))
        DessinerVolcans();
    if (magasins & TDonnees::Stations) {
        verifierStationRef();
        if (calqueAUneImage(Calque::GPS))
            DessinerGPS();
    }
}

void TCarte::creerMenus()
{
    QMenuBar* mb = menuBar();
    Fichier1 = mb->addMenu(QStringLiteral("&Fichier"));
    Fichier1->setObjectName(QStringLiteral("Fichier1"));
    // Printing and image export, the data lists and the landmarks come with their windows.
    Imprimer1 = sousMenu(Fichier1, QStringLiteral("Imprimer1"), QStringLiteral("&Imprimer"));
    avecfonddecarteenNB1 = item(Imprimer1, QStringLiteral("avecfonddecarteenNB1"),
                                QStringLiteral("avec fond de carte en N/B"), false);
    toutencouleurs1 = item(Imprimer1, QStringLiteral("toutencouleurs1"), QStringLiteral("tout en couleurs"), false);
    laselectionfondenNB1 = item(Imprimer1, QStringLiteral("laselectionfondenNB1"),
                                QStringLiteral("la sélection (fond en N/B)"), false);
    laselectionencouleurs1 = item(Imprimer1, QStringLiteral("laselectionencouleurs1"),
                                  QStringLiteral("la sélection en couleurs"), false);
    Imprimer1->menuAction()->setEnabled(false);
    Quitter1 = item(Fichier1, QStringLiteral("Quitter1"), QStringLiteral("&Quitter"));
    Chargerunfichierdeconfiguration1 = item(Fichier1, QStringLiteral("Chargerunfichierdeconfiguration1"),
                                            QStringLiteral("Charger un fichier de configuration"), false);
    OuvrirunfichierGPS1 = item(Fichier1, QStringLiteral("OuvrirunfichierGPS1"), QStringLiteral("Charger un fichier GPS"));
    OuvrirunfichierSeismes1 = item(Fichier1, QStringLiteral("OuvrirunfichierSeismes1"),
                                   QStringLiteral("Charger un fichier Séismes"));
    Chargerunfichierdevolcans1 = item(Fichier1, QStringLiteral("Chargerunfichierdevolcans1"),
                                      QStringLiteral("Charger un fichier de volcans"));
    Chargerunfichierdevolcans1->setVisible(false);
    Chargerunfonddecarte1 = item(Fichier1, QStringLiteral("Chargerunfonddecarte1"),
                                 QStringLiteral("Charger un fond de carte"));
    Enregistrerlefichierdeseismes1 = item(Fichier1, QStringLiteral("Enregistrerlefichierdeseismes1"),
                                          QStringLiteral("Enregistrer le fichier de séismes"));
    Enregistrerlefichierdevolcans1 = item(Fichier1, QStringLiteral("Enregistrerlefichierdevolcans1"),
                                          QStringLiteral("Enregistrer le fichier de volcans"));
    Enregistrerlefichierdevolcans1->setVisible(false);
    EnregistrerlesvecteursaffichescommedonneesGPS1 =
        item(Fichier1, QStringLiteral("EnregistrerlesvecteursaffichescommedonneesGPS1"),
             QStringLiteral("Enregistrer les vecteurs affichés comme données GPS"));
    Enregistrerlimagesous1 = item(Fichier1, QStringLiteral("Enregistrerlimagesous1"),
                                  QStringLiteral("Enregistrer l'image sous..."), false);
    CalculetableSurfVol1 = item(Fichier1, QStringLiteral("CalculetableSurfVol1"),
                                QStringLiteral("CalculetableSurfVol"), false);
    CalculetableSurfVol1->setVisible(false);
    Chargerdesdonneesdansuntableur1 = item(Fichier1, QStringLiteral("Chargerdesdonneesdansuntableur1"),
                                           QStringLiteral("Charger des données dans un tableur"));
    Chargerdesdonneesdansuntableur1->setVisible(false);
    Chargerdesreperes1 = item(Fichier1, QStringLiteral("Chargerdesreperes1"), QStringLiteral("Charger des reperes"));

    Edition1 = mb->addMenu(QStringLiteral("Edition"));
    Edition1->setObjectName(QStringLiteral("Edition1"));
    Copier1 = sousMenu(Edition1, QStringLiteral("Copier1"), QStringLiteral("&Copier"));
    Verslepressepapier1 = item(Copier1, QStringLiteral("Verslepressepapier1"), QStringLiteral("&Vers le presse-papier"),
                               false);
    Copierverslafeuillededessin1 = item(Copier1, QStringLiteral("Copierverslafeuillededessin1"),
                                        QStringLiteral("Copier vers la feuille de dessin"), false);
    Copierlapartiedelimiteeverslepressepapier1 =
        item(Copier1, QStringLiteral("Copierlapartiedelimiteeverslepressepapier1"),
             QStringLiteral("Copier la partie délimitée vers le presse-papier"), false);
    Copierlapartiedelimiteeverslafeuillededessin1 =
        item(Copier1, QStringLiteral("Copierlapartiedelimiteeverslafeuillededessin1"),
             QStringLiteral("Copier la partie délimitée vers la feuille de dessin"), false);
    Copier1->menuAction()->setEnabled(false);
    auto* copie = new QActionGroup(this);
    CopieavecfondNB1 = itemCoche(Edition1, QStringLiteral("CopieavecfondNB1"), QStringLiteral("Copie avec fond N/B"),
                                 false);
    Copieavecfondcouleur1 = itemCoche(Edition1, QStringLiteral("Copieavecfondcouleur1"),
                                      QStringLiteral("Copie avec fond couleur"), false);
    copie->addAction(CopieavecfondNB1);
    copie->addAction(Copieavecfondcouleur1);
    CopieavecfondNB1->setChecked(true);
    Effacerlestraces1 = item(Edition1, QStringLiteral("Effacerlestraces1"), QStringLiteral("Effacer les tracés"));
    Effacerledernier1 = sousMenu(Edition1, QStringLiteral("Effacerledernier1"), QStringLiteral("Effacer le dernier tracé"));
    Grandcercle1 = item(Effacerledernier1, QStringLiteral("Grandcercle1"), QStringLiteral("Grand cercle"));
    Coupe1 = item(Effacerledernier1, QStringLiteral("Coupe1"), QStringLiteral("Coupe"), false);
    Rechercherunvolcan = item(Edition1, QStringLiteral("Rechercherunvolcan"), QStringLiteral("Rechercher un volcan"),
                              false);

    Affichage1 = mb->addMenu(QStringLiteral("&Affichage"));
    Affichage1->setObjectName(QStringLiteral("Affichage1"));
    PointsGPS1 = itemCoche(Affichage1, QStringLiteral("PointsGPS1"), QStringLiteral("Points &GPS"));
    Seismes1 = itemCoche(Affichage1, QStringLiteral("Seismes1"), QStringLiteral("&Seismes"));
    Volcans1 = itemCoche(Affichage1, QStringLiteral("Volcans1"), QStringLiteral("&Volcans"));
    agedesfondsoceaniques1 = itemCoche(Affichage1, QStringLiteral("agedesfondsoceaniques1"),
                                       QStringLiteral("age des fonds océaniques"), false);
    Niveaumarinsi1 = itemCoche(Affichage1, QStringLiteral("Niveaumarinsi1"), QStringLiteral("Niveau marin si..."), false);
    Population1 = itemCoche(Affichage1, QStringLiteral("Population1"), QStringLiteral("Population"), false);
    Affichage1->addSeparator();
    FenetreCoupes1 = item(Affichage1, QStringLiteral("FenetreCoupes1"), QStringLiteral("Fenêtre Coupes"), false);
    FenetreTableauGPS1 = item(Affichage1, QStringLiteral("FenetreTableauGPS1"), QStringLiteral("Fenêtre &Tableau GPS"),
                              false);
    FenetredeDessin1 = item(Affichage1, QStringLiteral("FenetredeDessin1"), QStringLiteral("Fenêtre  de Dessin"), false);
    Vuepolaire1 = item(Affichage1, QStringLiteral("Vuepolaire1"), QStringLiteral("Vue polaire"), false);
    FenetreReperes1 = item(Affichage1, QStringLiteral("FenetreReperes1"), QStringLiteral("Fenêtre Repères"));
    Affichage1->addSeparator();
    Choix1 = item(Affichage1, QStringLiteral("Choix1"), QStringLiteral("&Choix..."));
    Pointsepais = itemCoche(Affichage1, QStringLiteral("Pointsepais"), QStringLiteral("Points épais"));
    Pointsepais->setChecked(true);
    Pointsepais->setVisible(false);

    Mode1 = mb->addMenu(QStringLiteral("&Mode"));
    Mode1->setObjectName(QStringLiteral("Mode1"));
    auto* modes = new QActionGroup(this);
    Consultation = itemCoche(Mode1, QStringLiteral("Consultation"), QStringLiteral("&Consultation"));
    Delimitezone = itemCoche(Mode1, QStringLiteral("Delimitezone"), QStringLiteral("&Délimitation d'une zone"));
    // The section line comes with the section window.
    Tracecoupe = itemCoche(Mode1, QStringLiteral("Tracecoupe"), QStringLiteral("&Tracé d'une coupe"), false);
    Tracdarcdegrandcercle = itemCoche(Mode1, QStringLiteral("Tracdarcdegrandcercle"),
                                      QStringLiteral("Tracé d'arc de grand cercle"));
    Suivreuntrajet = itemCoche(Mode1, QStringLiteral("Suivreuntrajet"), QStringLiteral("Suivre un trajet"));
    MZoom = itemCoche(Mode1, QStringLiteral("MZoom"), QStringLiteral("Zoom"), false);
    MZoom->setVisible(false);
    Consultation->setProperty("tag", 2);
    Delimitezone->setProperty("tag", 0);
    Tracecoupe->setProperty("tag", 1);
    Tracdarcdegrandcercle->setProperty("tag", 3);
    Suivreuntrajet->setProperty("tag", 4);
    MZoom->setProperty("tag", 5);
    for (QAction* a : {Consultation, Delimitezone, Tracecoupe, Tracdarcdegrandcercle, Suivreuntrajet, MZoom})
        modes->addAction(a);
    Consultation->setChecked(true);
    Mode1->addSeparator();
    conserverlestraces = itemCoche(Mode1, QStringLiteral("conserverlestraces"), QStringLiteral("conserver les tracés"));

    Vecteurs1 = mb->addMenu(QStringLiteral("&Vecteurs"));
    Vecteurs1->setObjectName(QStringLiteral("Vecteurs1"));
    Choisirlesvecteursaafficher1 = item(Vecteurs1, QStringLiteral("Choisirlesvecteursaafficher1"),
                                        QStringLiteral("&Choisir les vecteurs à afficher"), false);
    Affichertouslesvecteurs1 = item(Vecteurs1, QStringLiteral("Affichertouslesvecteurs1"),
                                    QStringLiteral("Afficher &tous les vecteurs"));
    Nafficheraucunvecteur1 = item(Vecteurs1, QStringLiteral("Nafficheraucunvecteur1"),
                                  QStringLiteral("N'afficher aucun vecteur"));
    Vecteurs1->addSeparator();
    Agrandir1 = item(Vecteurs1, QStringLiteral("Agrandir1"), QStringLiteral("&Agrandir"));
    Retrecir1 = item(Vecteurs1, QStringLiteral("Retrecir1"), QStringLiteral("&Rétrécir"));
    Vecteurs1->addSeparator();
    Remiseazero1 = item(Vecteurs1, QStringLiteral("Remiseazero1"), QStringLiteral("Remise à &zéro"));
    Afficherlechelle1 = itemCoche(Vecteurs1, QStringLiteral("Afficherlechelle1"), QStringLiteral("Aff&icher l'échelle"));
    Vecteurs1->addSeparator();
    CorrectiondesVlat1 = itemCoche(Vecteurs1, QStringLiteral("CorrectiondesVlat1"),
                                   QStringLiteral("Correction des &V. lat"));

    Exercices1 = mb->addMenu(QStringLiteral("&Exercices"));
    Exercices1->setObjectName(QStringLiteral("Exercices1"));
    Positionnementdesstations1 = item(Exercices1, QStringLiteral("Positionnementdesstations1"),
                                      QStringLiteral("&Positionnement des stations"), false);
    Orientationdesvecteurs1 = item(Exercices1, QStringLiteral("Orientationdesvecteurs1"),
                                   QStringLiteral("&Orientation des vecteurs"), false);
    Mouvementsrelatifs1 = item(Exercices1, QStringLiteral("Mouvementsrelatifs1"),
                               QStringLiteral("&Mouvements relatifs"), false);

    Aide1 = mb->addMenu(QStringLiteral("&Aide"));
    Aide1->setObjectName(QStringLiteral("Aide1"));
    Fichierdaide1 = item(Aide1, QStringLiteral("Fichierdaide1"), QStringLiteral("&Fichier d'aide"));
    Apropos1 = item(Aide1, QStringLiteral("Apropos1"), QStringLiteral("&A propos de..."), false);
    Viderlamemoire1 = item(Aide1, QStringLiteral("Viderlamemoire1"), QStringLiteral("Vider la mémoire"));
    // The items of a data list go after this separator, shown when there are some.
    SeparateurListe = Aide1->addSeparator();
    SeparateurListe->setObjectName(QStringLiteral("SeparateurListe"));
    SeparateurListe->setVisible(false);

    majVisibiliteMenusGPS();

    connect(Quitter1, &QAction::triggered, this, &QWidget::close);
    connect(OuvrirunfichierGPS1, &QAction::triggered, this, &TCarte::OuvrirunfichierGPS1Click);
    connect(OuvrirunfichierSeismes1, &QAction::triggered, this, &TCarte::OuvrirunfichierSeismes1Click);
    connect(Chargerunfichierdevolcans1, &QAction::triggered, this, &TCarte::Chargerunfichierdevolcans1Click);
    connect(Chargerunfonddecarte1, &QAction::triggered, this, &TCarte::Chargerunfonddecarte1Click);
    connect(Enregistrerlefichierdeseismes1, &QAction::triggered, this, &TCarte::Enregistrerlefichierdeseismes1Click);
    connect(Enregistrerlefichierdevolcans1, &QAction::triggered, this, &TCarte::Enregistrerlefichierdevolcans1Click);
    connect(EnregistrerlesvecteursaffichescommedonneesGPS1, &QAction::triggered, this,
            &TCarte::EnregistrerlesvecteursaffichescommedonneesGPS1Click);
    connect(PointsGPS1, &QAction::triggered, this, &TCarte::PointsGPS1Click);
    connect(Seismes1, &QAction::triggered, this, &TCarte::Seismes1Click);
    connect(Volcans1, &QAction::triggered, this, &TCarte::Volcans1Click);
    connect(Choix1, &QAction::triggered, this, &TCarte::Choix1Click);
    connect(Pointsepais, &QAction::triggered, this, [this](bool c) {
        Reglages.PointsEpais = c;
        ReconstruireCalques();
    });
    connect(Affichertouslesvecteurs1, &QAction::triggered, this, &TCarte::Affichertouslesvecteurs1Click);
    connect(Nafficheraucunvecteur1, &QAction::triggered, this, &TCarte::Nafficheraucunvecteur1Click);
    connect(Agrandir1, &QAction::triggered, this, &TCarte::Agrandir1Click);
    connect(Retrecir1, &QAction::triggered, this, &TCarte::Retrecir1Click);
    connect(Remiseazero1, &QAction::triggered, this, &TCarte::Remiseazero1Click);
    connect(Afficherlechelle1, &QAction::triggered, this, &TCarte::Afficherlechelle1Click);
    connect(CorrectiondesVlat1, &QAction::triggered, this, &TCarte::CorrectiondesVlat1Click);
    for (QAction* a : {Consultation, Delimitezone, Tracecoupe, Tracdarcdegrandcercle, Suivreuntrajet, MZoom})
        connect(a, &QAction::triggered, this, [this, a] { ChoisirMode(a->property("tag").toInt()); });
    connect(conserverlestraces, &QAction::triggered, this, &TCarte::conserverlestracesClick);
    connect(Effacerlestraces1, &QAction::triggered, this, &TCarte::Effacerlestracs1Click);
    connect(Grandcercle1, &QAction::triggered, this, &TCarte::Grandcercle1Click);
    connect(Rechercherunvolcan, &QAction::triggered, this, &TCarte::RechercherunvolcanClick);
    connect(FenetreReperes1, &QAction::triggered, this, &TCarte::Fentrerepres1Click);
    connect(Chargerdesreperes1, &QAction::triggered, this, &TCarte::Chargerdesreperes1Click);
    connect(Viderlamemoire1, &QAction::triggered, this, &TCarte::Viderlamemoire1Click);

    // Pop-up of one GPS station.
    MenuVect = new QMenu(this);
    MenuVect->setObjectName(QStringLiteral("MenuVect"));
    auto* vect = new QActionGroup(MenuVect);
    Afficherlevecteur1 = itemCoche(MenuVect, QStringLiteral("Afficherlevecteur1"), QStringLiteral("Afficher le vecteur"));
    Nepasafficherlevecteur1 = itemCoche(MenuVect, QStringLiteral("Nepasafficherlevecteur1"),
                                        QStringLiteral("Ne pas afficher le vecteur"));
    vect->addAction(Afficherlevecteur1);
    vect->addAction(Nepasafficherlevecteur1);
    auto marquer = [this](bool affiche) { donnees_.marquerStation(stationMenu_, affiche); };
    connect(Afficherlevecteur1, &QAction::triggered, this, [marquer] { marquer(true); });
    connect(Nepasafficherlevecteur1, &QAction::triggered, this, [marquer] { marquer(false); });
}

void TCarte::creerPanneaux()
{
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    // Tool bar: mode buttons (the mouse tools plug in here) and the two scroll bars.
    PanIcones = new QFrame(central);
    PanIcones->setObjectName(QStringLiteral("PanIcones"));
    PanIcones->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(PanIcones);
    h->setContentsMargins(4, 2, 4, 2);
    Bcadre = bouton(PanIcones, QStringLiteral("Bcadre"), QStringLiteral("▭"), QStringLiteral("Délimitation d'une zone"), 0);
    BCoupe = bouton(PanIcones, QStringLiteral("BCoupe"), QStringLiteral("╱"), QStringLiteral("Mode coupe"), 1);
    Bcurseur = bouton(PanIcones, QStringLiteral("Bcurseur"), QStringLiteral("➚"), QStringLiteral("Mode consultation"), 2);
    BTrait = bouton(PanIcones, QStringLiteral("BTrait"), QStringLiteral("◠"), QStringLiteral("Grand cercle"), 3);
    BTrajet = bouton(PanIcones, QStringLiteral("BTrajet"), QStringLiteral("⤳"), QStringLiteral("Suivi d'un trajet"), 4);
    BLoupe = bouton(PanIcones, QStringLiteral("BLoupe"), QStringLiteral("⊕"), QStringLiteral("Mode Zoom"), 5);
    BLoupe->setCheckable(false); // the zoom to the delimited zone, not a mode
    Bcurseur->setChecked(true);
    BLoupe->setVisible(false);
    BCoupe->setEnabled(false); // the section line comes with the section window
    for (QToolButton* b : {Bcadre, BCoupe, Bcurseur, BTrait, BTrajet, BLoupe})
        h->addWidget(b);
    for (QToolButton* b : {Bcadre, BCoupe, Bcurseur, BTrait, BTrajet})
        connect(b, &QToolButton::clicked, this, [this, b] { ChoisirMode(b->property("tag").toInt()); });
    connect(BLoupe, &QToolButton::clicked, this, &TCarte::BLoupeClick);
    OK = new QPushButton(QStringLiteral("OK"), PanIcones);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setToolTip(QStringLiteral("Sélectionner les stations GPS de la zone"));
    OK->setVisible(false);
    h->addWidget(OK);
    connect(OK, &QPushButton::clicked, this, &TCarte::OKClick);
    h->addSpacing(12);
    h->addWidget(etiquette(PanIcones, QStringLiteral("LabZoom"), QStringLiteral("Zoom")));
    Zoom = new QScrollBar(Qt::Horizontal, PanIcones);
    Zoom->setObjectName(QStringLiteral("Zoom"));
    Zoom->setMinimumWidth(200);
    h->addWidget(Zoom, 1);
    h->addSpacing(12);
    h->addWidget(etiquette(PanIcones, QStringLiteral("LabDecalage"), QStringLiteral("Décalage")));
    decalage = new QScrollBar(Qt::Horizontal, PanIcones);
    decalage->setObjectName(QStringLiteral("decalage"));
    decalage->setRange(-180, 180);
    decalage->setSingleStep(5);
    decalage->setPageStep(5);
    decalage->setMinimumWidth(200);
    h->addWidget(decalage, 1);
    statRef = etiquette(PanIcones, QStringLiteral("statRef"));
    h->addWidget(statRef);
    v->addWidget(PanIcones);

    Document = new TImageView(central);
    Document->setObjectName(QStringLiteral("Document"));
    Document->setCentered(false);
    Document->installEventFilter(this);
    v->addWidget(Document, 1);

    // Readout panel at the bottom.
    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* b = new QHBoxLayout(Panel1);
    b->setContentsMargins(6, 2, 6, 2);
    // Three short columns: position, distance and station, nearest volcano. Their
    // widths are fixed so that the texts changing under the pointer never move
    // the panel nor widen the window.
    auto colonne = [&](int largeur) {
        auto* w = new QWidget(Panel1);
        w->setFixedWidth(largeur);
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        b->addWidget(w);
        return w;
    };
    auto ajouter = [](QWidget* col, QWidget* w) {
        w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        static_cast<QVBoxLayout*>(col->layout())->addWidget(w);
    };
    QWidget* position = colonne(190);
    Latitude = etiquette(position, QStringLiteral("Latitude"), QStringLiteral("Latitude : "));
    Longitude = etiquette(position, QStringLiteral("Longitude"), QStringLiteral("Longitude : "));
    labalt = etiquette(position, QStringLiteral("labalt"), QStringLiteral("altitude : "));
    for (QLabel* l : {Latitude, Longitude, labalt})
        ajouter(position, l);
    QWidget* mesure = colonne(230);
    Labdistance = etiquette(mesure, QStringLiteral("Labdistance"));
    station = etiquette(mesure, QStringLiteral("station"));
    Vitesse = etiquette(mesure, QStringLiteral("Vitesse"));
    for (QLabel* l : {Labdistance, station, Vitesse})
        ajouter(mesure, l);
    // Nearest volcano: shown only while one is near the pointer.
    QWidget* volcan = colonne(330);
    auto* ligneVolcan = new QWidget(volcan);
    auto* lv = new QHBoxLayout(ligneVolcan);
    lv->setContentsMargins(0, 0, 0, 0);
    Lvolcan = etiquette(ligneVolcan, QStringLiteral("Lvolcan"), QStringLiteral("Volcan :"));
    NomsVolcans = etiquette(ligneVolcan, QStringLiteral("NomsVolcans"));
    AltVolc = etiquette(ligneVolcan, QStringLiteral("AltVolc"));
    QFont gras = NomsVolcans->font();
    gras.setBold(true);
    NomsVolcans->setFont(gras);
    lv->addWidget(Lvolcan);
    lv->addWidget(NomsVolcans);
    lv->addWidget(AltVolc);
    lv->addStretch(1);
    ajouter(volcan, ligneVolcan);
    typeVolcan = etiquette(volcan, QStringLiteral("typeVolcan"));
    LDernerupt = etiquette(volcan, QStringLiteral("LDernerupt"));
    ajouter(volcan, typeVolcan);
    ajouter(volcan, LDernerupt);
    for (QLabel* l : {Lvolcan, NomsVolcans, AltVolc, typeVolcan, LDernerupt})
        l->setVisible(false);
    b->addStretch(1);
    PanelDist = new QFrame(Panel1);
    PanelDist->setObjectName(QStringLiteral("PanelDist"));
    PanelDist->setFrameShape(QFrame::StyledPanel);
    auto* pd = new QHBoxLayout(PanelDist);
    pd->setContentsMargins(4, 0, 4, 0);
    pd->addWidget(etiquette(PanelDist, QStringLiteral("LabDist"), QStringLiteral("Distance cumulée :")));
    LabDistCumul = etiquette(PanelDist, QStringLiteral("LabDistCumul"), QStringLiteral("0 km"));
    LabDistCumul->setMinimumWidth(80);
    LabDistCumul->setFont(gras);
    pd->addWidget(LabDistCumul);
    pd->addWidget(etiquette(PanelDist, QStringLiteral("LabClicDroit"), QStringLiteral("Click droit pour terminer")));
    RAZ = new QPushButton(QStringLiteral("RAZ"), PanelDist);
    RAZ->setObjectName(QStringLiteral("RAZ"));
    pd->addWidget(RAZ);
    PanelDist->setVisible(false);
    b->addWidget(PanelDist);
    connect(RAZ, &QPushButton::clicked, this, &TCarte::RAZDistClick);
    v->addWidget(Panel1);
    setCentralWidget(central);

    // Legend placement instructions, over the top left of the map.
    Paninstr = new QFrame(Document);
    Paninstr->setObjectName(QStringLiteral("Paninstr"));
    Paninstr->setFrameShape(QFrame::Box);
    Paninstr->setAutoFillBackground(true);
    auto* pi = new QVBoxLayout(Paninstr);
    for (const QString& t : {QStringLiteral("Cliquer sur l'emplacement"), QStringLiteral("de l'échelle"),
                             QStringLiteral("puis sur OK")}) {
        QLabel* l = new QLabel(t, Paninstr);
        l->setAlignment(Qt::AlignCenter);
        pi->addWidget(l);
    }
    OKLegende = new QPushButton(QStringLiteral("OK"), Paninstr);
    OKLegende->setObjectName(QStringLiteral("OKLegende"));
    pi->addWidget(OKLegende);
    Paninstr->adjustSize();
    Paninstr->move(30, 30);
    Paninstr->hide();
    connect(OKLegende, &QPushButton::clicked, this, &TCarte::OKLegendeClick);

    connect(Zoom, &QScrollBar::valueChanged, this, &TCarte::ZoomChange);
    connect(decalage, &QScrollBar::valueChanged, this, &TCarte::decalageChange);
    connect(Document, &TImageView::mouseDoubleClick, this,
            [this](QMouseEvent*, const QPoint& p) { DocumentDblClick(p); });
    connect(Document, &TImageView::mouseDown, this, [this](QMouseEvent* e, const QPoint& p) {
        DocumentMouseDown(e->button(), p, e->globalPosition().toPoint());
    });
    connect(Document, &TImageView::mouseMove, this,
            [this](QMouseEvent* e, const QPoint& p) { DocumentMouseMove(e->buttons(), p); });
    connect(Document, &TImageView::mouseUp, this,
            [this](QMouseEvent* e, const QPoint& p) { DocumentMouseUp(e->button(), p); });
    Document->viewport()->setMouseTracking(true);
}

void TCarte::creerCalques()
{
    for (int i = 0; i < NbCalques; ++i) {
        TBitmapLayer* l = Document->addLayer();
        l->visible = false;
        l->drawMode = TBitmap32::DrawMode::Blend;
        l->masterAlpha = 255;
        calques_[static_cast<std::size_t>(i)] = l;
    }
}

bool TCarte::calqueAUneImage(Calque c) const
{
    return !calques_[static_cast<std::size_t>(c)]->bitmap.isEmpty();
}

void TCarte::assurerCalque(Calque c)
{
    TBitmapLayer* l = calque(c);
    if (l->bitmap.width() != Etat.W || l->bitmap.height() != Etat.H)
        l->setSizeAndPlace(Etat.W, Etat.H);
    else
        l->location = QRect(0, 0, Etat.W, Etat.H);
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
        labalt->setText(Grille.texteMiniMaxi());
    Interaction.contexte().grille = Grille.f() > 0 && Grille.charge() ? &Grille : nullptr;

    TBitmap32 fond;
    if (!loadPicture(Config.FondCouleur3600, fond) || fond.isEmpty()) {
        showError(QStringLiteral("Il manque l'image de la carte de fond"));
        return false;
    }
    Document->base() = std::move(fond);
    Etat.W = Document->base().width();
    Etat.H = Document->base().height();
    Document->baseChanged();
    placerCalquesOutils();
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
        const QSignalBlocker bloque(Zoom);
        Zoom->setRange(carte::positionZoom(Etat.EchelleMin, Etat.DiviseurZoom),
                       carte::positionZoom(Etat.EchelleMax, Etat.DiviseurZoom));
        Zoom->setValue(Zoom->minimum());
    }
    Document->scrollToMap(QPoint(0, 0));
    Document->invalidate();
    ajustement_ = false;
}

void TCarte::ZoomChange()
{
    Document->setScale(carte::echelleDePosition(Zoom->value(), Etat.DiviseurZoom));
}

void TCarte::decalageChange()
{
    const int nouveau = decalage->value();
    const int delta = nouveau - Etat.Decalage;
    if (delta == 0)
        return;
    Sablier s;
    appliquer(Interaction.effacerBande());
    const int dx = carte::roulementPixels(delta, Etat.W);
    Document->base().rollHorizontal(dx);
    for (Calque c : {Calque::Seismes, Calque::Volcans, Calque::AgeFonds, Calque::NiveauMarin, Calque::Population})
        if (calqueAUneImage(c))
            calque(c)->bitmap.rollHorizontal(dx);
    Etat.fixerDecalage(nouveau);
    if (calqueAUneImage(Calque::GPS))
        DessinerGPS();
    if (calqueAUneImage(Calque::Traces) && RedessinerTraces)
        RedessinerTraces();
    Document->invalidate();
}

// --- Data layers ---

void TCarte::DessinerSeismes()
{
    Sablier s;
    assurerCalque(Calque::Seismes);
    dessinerSeismes(calque(Calque::Seismes)->bitmap, donnees_.TabSeismes, Reglages, Etat);
    Document->invalidate();
}

void TCarte::DessinerVolcans()
{
    Sablier s;
    assurerCalque(Calque::Volcans);
    dessinerVolcans(calque(Calque::Volcans)->bitmap, donnees_.TabVolcans, Reglages, Etat);
    calque(Calque::Volcans)->visible = true;
    Document->invalidate();
}

void TCarte::DessinerGPS()
{
    Sablier s;
    verifierStationRef();
    if (Etat.StationRef >= 0)
        Etat.replacerStationRef();
    assurerCalque(Calque::GPS);
    dessinerGPS(calque(Calque::GPS)->bitmap, donnees_.TabStations, Reglages, Etat, PointsGPS1->isChecked(), &ImageLegende);
    if (Reglages.LegendePlacee)
        calque(Calque::Legende)->visible = false;
    Document->invalidate();
}

void TCarte::verifierStationRef()
{
    if (Etat.validerStationRef(donnees_.TabStations))
        statRef->clear();
}

void TCarte::majVisibiliteMenusGPS()
{
    const bool gps = PointsGPS1->isChecked();
    Vecteurs1->menuAction()->setVisible(gps);
    Exercices1->menuAction()->setVisible(gps);
}

void TCarte::afficherGPS()
{
    PointsGPS1->setChecked(true);
    majVisibiliteMenusGPS();
    calque(Calque::GPS)->visible = true;
    DessinerGPS();
}

void TCarte::afficherSeismes()
{
    Seismes1->setChecked(true);
    DessinerSeismes();
    calque(Calque::Seismes)->visible = true;
    Document->invalidate();
}

void TCarte::afficherVolcans()
{
    Volcans1->setChecked(true);
    Rechercherunvolcan->setEnabled(true);
    DessinerVolcans();
}

void TCarte::PointsGPS1Click()
{
    // The action toggled its check before this runs.
    majVisibiliteMenusGPS();
    if (!donnees_.GPSCharges)
        signalerChargement(donnees_.ChargerGPS(Config.FichierGPS));
    if (PointsGPS1->isChecked()) {
        calque(Calque::GPS)->visible = true;
        DessinerGPS();
    } else {
        calque(Calque::GPS)->visible = false;
        Document->invalidate();
    }
}

void TCarte::Seismes1Click()
{
    if (!Seismes1->isChecked()) {
        calque(Calque::Seismes)->visible = false;
        Document->invalidate();
        return;
    }
    if (!donnees_.SeismesCharges)
        signalerChargement(donnees_.ChargerSeismes(Config.FichierSeismes));
    afficherSeismes();
}

void TCarte::Volcans1Click()
{
    if (!Volcans1->isChecked()) {
        calque(Calque::Volcans)->visible = false;
        Document->invalidate();
        return;
    }
    if (!donnees_.VolcansCharges)
        signalerChargement(donnees_.ChargerVolcans(Config.FichierVolcans));
    afficherVolcans();
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

bool TCarte::chargerGPS(const QString& chemin)
{
    const ResultatChargement r = donnees_.ChargerGPS(chemin);
    // A load that kept nothing leaves the map as it was.
    if (r.remplace)
        afficherGPS();
    signalerChargement(r);
    return r.remplace;
}

bool TCarte::chargerSeismes(const QString& chemin)
{
    const ResultatChargement r = donnees_.ChargerSeismes(chemin);
    if (r.remplace)
        afficherSeismes();
    signalerChargement(r);
    return r.remplace;
}

bool TCarte::chargerVolcans(const QString& chemin)
{
    const ResultatChargement r = donnees_.ChargerVolcans(chemin);
    if (r.remplace)
        afficherVolcans();
    signalerChargement(r);
    return r.remplace;
}

void TCarte::OuvrirunfichierGPS1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("GPS|*.gps|Texte|*.txt|CSV|*.csv|Tous|*.*"));
    if (!chemin.isEmpty())
        chargerGPS(chemin);
}

void TCarte::OuvrirunfichierSeismes1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("Seismes|*.fse|Texte|*.txt|CSV|*.csv|GeoJSON|*.json;*.geojson"));
    if (!chemin.isEmpty())
        chargerSeismes(chemin);
}

void TCarte::Chargerunfichierdevolcans1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("Volcans|*.fvo|Texte|*.txt|CSV|*.csv"));
    if (!chemin.isEmpty())
        chargerVolcans(chemin);
}

namespace {
// A save dialog for one kind of data file; nothing to save is said before asking.
void enregistrer(const QString& dossier, const QString& ext, const QString& filtre, int nombre,
                 const QString& rien, const std::function<ResultatEcriture(const QString&)>& ecrire)
{
    if (nombre == 0) {
        showWarning(rien);
        return;
    }
    FileDialogRequest req;
    req.folder = dossier;
    req.defaultExt = ext;
    req.filter = filtre;
    req.fileName = QStringLiteral("*.") + ext;
    req.overwritePrompt = true;
    const QString chemin = dialogs().saveFile(req);
    if (chemin.isEmpty())
        return;
    const ResultatEcriture r = ecrire(chemin);
    if (!r.ok)
        showError(r.message.isEmpty() ? QStringLiteral("Impossible d'écrire le fichier ") + chemin : r.message);
}

int stationsAffichees(const TDonnees& d)
{
    int n = 0;
    for (const TStationGPS& s : d.TabStations)
        n += s.Affiche == 1;
    return n;
}
} // namespace

void TCarte::Enregistrerlefichierdeseismes1Click()
{
    enregistrer(DernierDossier, QStringLiteral("fse"), QStringLiteral("fichier binaire séisme|*.fse"),
                static_cast<int>(donnees_.TabSeismes.size()),
                QStringLiteral("Aucun séisme n'est chargé : il n'y a rien à enregistrer."),
                [this](const QString& c) { return donnees_.EnregistrerSeismes(c); });
}

void TCarte::Enregistrerlefichierdevolcans1Click()
{
    enregistrer(DernierDossier, QStringLiteral("fvo"), QStringLiteral("fichier binaire volcans|*.fvo"),
                static_cast<int>(donnees_.TabVolcans.size()),
                QStringLiteral("Aucun volcan n'est chargé : il n'y a rien à enregistrer."),
                [this](const QString& c) { return donnees_.EnregistrerVolcans(c); });
}

void TCarte::EnregistrerlesvecteursaffichescommedonneesGPS1Click()
{
    enregistrer(DernierDossier, QStringLiteral("gps"), QStringLiteral("fichier binaire gps|*.gps"),
                stationsAffichees(donnees_),
                QStringLiteral("Aucun vecteur GPS n'est affiché : il n'y a rien à enregistrer."),
                [this](const QString& c) { return donnees_.EnregistrerGPS(c); });
}

// --- Base picture ---

void TCarte::installerFond(TBitmap32&& pic)
{
    Document->base() = std::move(pic);
    Etat.W = Document->base().width();
    Etat.H = Document->base().height();
    Document->base().rollHorizontal(carte::roulementPixels(Etat.Decalage, Etat.W));
    placerCalquesOutils();
    Document->baseChanged();
    Ajuster();
}

void TCarte::Chargerunfonddecarte1Click()
{
    FileDialogRequest req;
    req.folder = DernierDossier;
    req.filter = QStringLiteral("Images|*.jpg;*.jpeg;*.png;*.gif;*.bmp|Tous|*.*");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    TBitmap32 pic;
    QString erreur;
    if (!loadPicture(chemin, pic, &erreur) || pic.isEmpty()) {
        // The picture in place stays: the map is never left empty.
        showError(QStringLiteral("Impossible de lire l'image ") + QFileInfo(chemin).fileName()
                  + (erreur.isEmpty() ? QString() : QStringLiteral(" : ") + erreur));
        return;
    }
    installerFond(std::move(pic));
    ReconstruireCalques();
}

void TCarte::changerFond(bool nb, bool precise)
{
    const ChoixFond c = choisirFond(nb, precise, Etat.FondNBAffiche, Etat.CartePrecise, Fonds);
    if (c.charger) {
        TBitmap32 pic;
        Sablier s;
        if (loadPicture(c.fichier, pic) && !pic.isEmpty()) {
            Etat.FondNBAffiche = c.FondNB;
            Etat.CartePrecise = c.Precise;
            installerFond(std::move(pic));
        } else {
            showError(c.messageEchec);
        }
    }
    ReconstruireCalques();
}

void TCarte::ReconstruireCalques()
{
    EtatReconstruction e;
    e.AgeAUneImage = calqueAUneImage(Calque::AgeFonds);
    e.TracesAUneImage = calqueAUneImage(Calque::Traces);
    e.SeismesCoche = Seismes1->isChecked();
    e.VolcansCoche = Volcans1->isChecked();
    e.GPSCoche = PointsGPS1->isChecked();
    e.NiveauMarinCoche = Niveaumarinsi1->isChecked();
    e.PopulationCoche = Population1->isChecked();
    for (EtapeReconstruction etape : ordreReconstruction(e)) {
        switch (etape) {
        case EtapeReconstruction::ReplacerCalques:
            for (TBitmapLayer* l : calques_)
                if (!l->bitmap.isEmpty() && l != calque(Calque::Legende))
                    l->location = QRect(0, 0, Etat.W, Etat.H);
            break;
        case EtapeReconstruction::Seismes:
            DessinerSeismes();
            break;
        case EtapeReconstruction::Volcans:
            DessinerVolcans();
            break;
        case EtapeReconstruction::GPS:
            DessinerGPS();
            break;
        case EtapeReconstruction::Traces:
            if (RedessinerTraces)
                RedessinerTraces();
            break;
        case EtapeReconstruction::Age:
        case EtapeReconstruction::NiveauMarin:
        case EtapeReconstruction::Population:
            // The overlays redraw themselves once they are part of the map.
            break;
        }
    }
    Document->invalidate();
}

void TCarte::Choix1Click()
{
    if (!ChoixCouleursCarte)
        ChoixCouleursCarte = new TChoixCouleursCarte(this);
    ChoixCouleursCarte->charger(Reglages, Etat.FondNBAffiche, Etat.CartePrecise);
    if (executerDialogue(*ChoixCouleursCarte) != QDialog::Accepted)
        return;
    bool nb = false, precise = false;
    ChoixCouleursCarte->lire(Reglages, nb, precise);
    Pointsepais->setChecked(Reglages.PointsEpais);
    changerFond(nb, precise);
}

// --- Vectors ---

void TCarte::Affichertouslesvecteurs1Click()
{
    donnees_.afficherTousLesVecteurs(true);
}

void TCarte::Nafficheraucunvecteur1Click()
{
    donnees_.afficherTousLesVecteurs(false);
}

void TCarte::Agrandir1Click()
{
    Reglages.agrandirVecteurs();
    DessinerGPS();
}

void TCarte::Retrecir1Click()
{
    Reglages.retrecirVecteurs();
    DessinerGPS();
}

void TCarte::Remiseazero1Click()
{
    Etat.remiseAZero();
    statRef->clear();
    DessinerGPS();
}

void TCarte::CorrectiondesVlat1Click()
{
    Reglages.CorrectionVLat = CorrectiondesVlat1->isChecked();
    DessinerGPS();
}

void TCarte::ouvrirMenuVect(int i, const QPoint& globalPos)
{
    if (!donnees_.rangValide(i))
        return;
    stationMenu_ = i;
    const bool affiche = donnees_.TabStations[static_cast<std::size_t>(i)].Affiche == 1;
    Afficherlevecteur1->setChecked(affiche);
    Nepasafficherlevecteur1->setChecked(!affiche);
    MenuVect->popup(globalPos);
}

// --- Legend ---

void TCarte::placerLegende(const QPoint& p)
{
    TBitmapLayer* l = calque(Calque::Legende);
    const QRect avant = l->location;
    l->location = QRect(p, ImageLegende.isEmpty() ? QSize(1, 1) : QSize(ImageLegende.width(), ImageLegende.height()));
    Reglages.PosLegendeX = p.x();
    Reglages.PosLegendeY = p.y();
    Reglages.LegendePlacee = true;
    Document->invalidate(avant.united(l->location));
}

void TCarte::Afficherlechelle1Click()
{
    if (Afficherlechelle1->isChecked()) {
        Paninstr->show();
        Paninstr->raise();
        Reglages.PlacementLegende = true;
        ImageLegende = construireLegende(Reglages.EchelleVecteurs, Reglages.CouleurVecteurs);
        if (ImageLegende.isEmpty())
            return;
        TBitmapLayer* l = calque(Calque::Legende);
        l->bitmap = ImageLegende;
        const double z = Document->scale();
        const QPoint p(carte::arrondi(100 - Document->offset().x() / z), carte::arrondi(100 - Document->offset().y() / z));
        l->location = QRect(p, QSize(ImageLegende.width(), ImageLegende.height()));
        Reglages.PosLegendeX = p.x();
        Reglages.PosLegendeY = p.y();
        l->visible = true;
        Document->invalidate();
    } else {
        Paninstr->hide();
        Reglages.PlacementLegende = false;
        Reglages.LegendePlacee = false;
        calque(Calque::Legende)->visible = false;
        DessinerGPS();
    }
}

void TCarte::OKLegendeClick()
{
    Paninstr->hide();
    Reglages.PlacementLegende = false;
    Reglages.LegendePlacee = true;
    DessinerGPS();
}

// --- General commands ---

void TCarte::Viderlamemoire1Click()
{
    donnees_.viderMemoire(Seismes1->isChecked(), Volcans1->isChecked(), PointsGPS1->isChecked());
    if (!Seismes1->isChecked())
        calque(Calque::Seismes)->bitmap.setSize(0, 0);
    if (!Volcans1->isChecked())
        calque(Calque::Volcans)->bitmap.setSize(0, 0);
    if (!PointsGPS1->isChecked())
        calque(Calque::GPS)->bitmap.setSize(0, 0);
    verifierStationRef();
    Document->invalidate();
}

// --- Mouse tools ---

void TCarte::placerCalquesOutils()
{
    // The band layer follows the map's size from the start; the traces layer only
    // once something was kept. Both are cleared by a new size, so the tools forget
    // what they had drawn and the traces are redrawn by the rebuild that follows.
    TBitmapLayer* bande = calque(Calque::Interaction);
    bande->setSizeAndPlace(Etat.W, Etat.H);
    bande->visible = true;
    TBitmapLayer* traces = calque(Calque::Traces);
    if (!traces->bitmap.isEmpty())
        traces->setSizeAndPlace(Etat.W, Etat.H);
    Interaction.attacherCalques(&bande->bitmap, &traces->bitmap);
}

void TCarte::majContexte()
{
    carte::ContexteCarte& c = Interaction.contexte();
    c.etat = &Etat;
    c.gpsCoche = PointsGPS1->isChecked();
    c.volcansCoche = Volcans1->isChecked();
    c.placementEchelle = Reglages.PlacementLegende;
    // White lines over the colour maps, black over the black-and-white ones.
    const TColor32 couleur = Etat.FondNBAffiche ? clBlack32 : clWhite32;
    c.couleurTrace = couleur;
    c.couleurGrandCercle = couleur;
    c.styleReperes.pointsEpais = Pointsepais->isChecked();
}

namespace {
void texte(QLabel* l, const QString& t)
{
    if (l->text() != t)
        l->setText(t);
}
} // namespace

void TCarte::majPanneau()
{
    const carte::EtatPanneau& p = Interaction.panneau();
    texte(Latitude, p.position.latitude);
    texte(Longitude, p.position.longitude);
    texte(labalt, p.position.altitude);
    texte(station, p.station.trimmed());
    texte(Vitesse, p.vitesse);
    texte(Labdistance, p.distance);
    texte(LabDistCumul, p.distanceCumulee);
    for (QLabel* l : {Lvolcan, NomsVolcans, AltVolc, typeVolcan, LDernerupt})
        if (l->isVisibleTo(Panel1) != p.volcanVisible)
            l->setVisible(p.volcanVisible);
    if (p.volcanVisible) {
        texte(NomsVolcans, p.nomVolcan);
        texte(AltVolc, p.altVolcan);
        texte(typeVolcan, p.typeVolcan);
        texte(LDernerupt, p.activiteVolcan);
    }
    if (OK->isVisibleTo(PanIcones) != p.okVisible)
        OK->setVisible(p.okVisible);
    if (BLoupe->isVisibleTo(PanIcones) != p.loupeVisible)
        BLoupe->setVisible(p.loupeVisible);
    if (PanelDist->isVisibleTo(Panel1) != p.panelDistVisible)
        PanelDist->setVisible(p.panelDistVisible);
}

void TCarte::appliquer(const carte::Effets& e)
{
    majPanneau();
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
        placerLegende(*e.deplacerEchelle);
    for (const carte::Effets::LigneTable& l : e.lignesTable) {
        creerFenetresOutils();
        Tableau_reperes->definirLigneTrajet(l.ligne, l.latitude, l.longitude);
    }
    if (donnees_.rangValide(e.nouvelleReference)) {
        const int i = e.nouvelleReference;
        Etat.choisirStationRef(donnees_.TabStations, i);
        DessinerGPS();
        statRef->setText((QStringLiteral(" Station considérée comme fixe : ")
                          + shortToQString(donnees_.TabStations[static_cast<std::size_t>(i)].Nom))
                             .left(37));
    }
    if (e.menuStation >= 0)
        ouvrirMenuVect(e.menuStation, pointGlobal_);
    if (e.selectionZone)
        selectionnerZone();
    if (e.loupe) {
        const carte::ResultatLoupe& r = *e.loupe;
        decalage->setValue(r.decalage); // shifts the map so that the zone is centred
        {
            const QSignalBlocker bloque(Zoom);
            Zoom->setValue(carte::positionZoom(r.zoom, Etat.DiviseurZoom));
        }
        Document->setScale(r.zoom);
        const QSize vue = Document->viewport()->size();
        Document->scrollToMap(QPoint(carte::arrondi(Etat.W / 2.0 - vue.width() / 2.0 / r.zoom),
                                     carte::arrondi(r.centreY - vue.height() / 2.0 / r.zoom)));
        Document->invalidate();
    }
}

void TCarte::ChoisirMode(int tag)
{
    if (tag < 0 || tag > 5)
        return;
    majContexte();
    appliquer(Interaction.ChoisirMode(tag));
    const carte::DescriptionMode d = carte::descriptionMode(static_cast<carte::Mode>(tag));
    for (QAction* a : {Consultation, Delimitezone, Tracecoupe, Tracdarcdegrandcercle, Suivreuntrajet, MZoom})
        if (a->property("tag").toInt() == tag)
            a->setChecked(true);
    for (QToolButton* b : {Bcadre, BCoupe, Bcurseur, BTrait, BTrajet})
        b->setChecked(b->property("tag").toInt() == tag);
    if (d.titre)
        setWindowTitle(QString::fromUtf8(d.titre));
    if (!d.curseurInchange) {
        if (d.curseurCroix)
            Document->viewport()->setCursor(Qt::CrossCursor);
        else
            Document->viewport()->unsetCursor();
    }
}

namespace {
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
    if (Bcurseur->isChecked())
        appliquer(Interaction.doubleClic());
}

void TCarte::BLoupeClick()
{
    majContexte();
    const QSize vue = Document->viewport()->size();
    appliquer(Interaction.loupeClic(vue.width(), vue.height()));
}

void TCarte::OKClick()
{
    majContexte();
    appliquer(Interaction.okClic());
}

void TCarte::selectionnerZone()
{
    // Until the GPS table exists, the zone's stations are the map's selection.
    donnees_.reconstruireTabTri(carte::filtreDeZone(Interaction.bornes(), Etat.LongMinVisible, Etat.LongMaxVisible));
}

void TCarte::RAZDistClick()
{
    majContexte();
    appliquer(Interaction.raz());
}

void TCarte::conserverlestracesClick()
{
    appliquer(Interaction.conserverLesTraces());
    conserverlestraces->setChecked(Interaction.conserver());
}

void TCarte::Effacerlestracs1Click()
{
    majContexte();
    appliquer(Interaction.effacerLesTraces());
}

void TCarte::Grandcercle1Click()
{
    majContexte();
    appliquer(Interaction.effacerDernierGrandCercle());
}

void TCarte::creerFenetresOutils()
{
    if (!Recherche_Volc) {
        Recherche_Volc = new TRecherche_Volc(donnees_, this);
        Recherche_Volc->setWindowFlag(Qt::Tool);
    }
    if (!Tableau_reperes) {
        Tableau_reperes = new TTableau_reperes(this);
        Tableau_reperes->setWindowFlag(Qt::Tool);
        Tableau_reperes->surValider = [this] { AjouterReperes(); };
    }
}

void TCarte::RechercherunvolcanClick()
{
    creerFenetresOutils();
    Recherche_Volc->show();
    Recherche_Volc->raise();
    Recherche_Volc->activateWindow();
}

void TCarte::AjouterReperes()
{
    creerFenetresOutils();
    majContexte();
    carte::TGrilleReperes g = Tableau_reperes->grille();
    appliquer(Interaction.ajouterReperes(g, Tableau_reperes->ajouterCoche()));
    // Decimal marks and dispositions come back as they were read.
    Tableau_reperes->definirGrille(g);
}

void TCarte::Fentrerepres1Click()
{
    creerFenetresOutils();
    Tableau_reperes->show();
    Tableau_reperes->raise();
    Tableau_reperes->activateWindow();
}

void TCarte::Chargerdesreperes1Click()
{
    creerFenetresOutils();
    FileDialogRequest req;
    req.folder = DernierDossier;
    req.filter = QStringLiteral("fichier orbiplate|*.obf");
    req.defaultExt = QStringLiteral("obf");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    DernierDossier = QFileInfo(chemin).absolutePath();
    if (Tableau_reperes->chargerFichier(chemin))
        AjouterReperes();
}
