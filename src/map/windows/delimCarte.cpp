#include "map/windows/delimCarte.h"

#include "data/decimal.h"
#include "data/loaders.h"
#include "data/stores.h"
#include "map/windows/choixcouleurscarte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
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
#include <QUrl>
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
    b->setEnabled(false); // the mouse tools plug in here
    return b;
}

} // namespace

TCarte::TCarte(const QString& dossierDepart, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Carte"));
    setWindowTitle(QStringLiteral("Carte"));
    Config.DossierDepart = dossierAvecSeparateur(dossierDepart);
    DernierDossier = QDir::cleanPath(dossierDepart);
    executerDialogue = [](QDialog& d) { return d.exec(); };

    creerMenus();
    creerPanneaux();
    creerCalques();
}

TCarte::~TCarte() = default;

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
    Chargerdesreperes1 = item(Fichier1, QStringLiteral("Chargerdesreperes1"), QStringLiteral("Charger des reperes"),
                              false);

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
    Effacerlestraces1 = item(Edition1, QStringLiteral("Effacerlestraces1"), QStringLiteral("Effacer les tracés"), false);
    Effacerledernier1 = sousMenu(Edition1, QStringLiteral("Effacerledernier1"), QStringLiteral("Effacer le dernier tracé"));
    Grandcercle1 = item(Effacerledernier1, QStringLiteral("Grandcercle1"), QStringLiteral("Grand cercle"), false);
    Coupe1 = item(Effacerledernier1, QStringLiteral("Coupe1"), QStringLiteral("Coupe"), false);
    Effacerledernier1->menuAction()->setEnabled(false);
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
    FenetreReperes1 = item(Affichage1, QStringLiteral("FenetreReperes1"), QStringLiteral("Fenêtre Repères"), false);
    Affichage1->addSeparator();
    Choix1 = item(Affichage1, QStringLiteral("Choix1"), QStringLiteral("&Choix..."));
    Pointsepais = itemCoche(Affichage1, QStringLiteral("Pointsepais"), QStringLiteral("Points épais"));
    Pointsepais->setChecked(true);
    Pointsepais->setVisible(false);

    Mode1 = mb->addMenu(QStringLiteral("&Mode"));
    Mode1->setObjectName(QStringLiteral("Mode1"));
    auto* modes = new QActionGroup(this);
    Consultation = itemCoche(Mode1, QStringLiteral("Consultation"), QStringLiteral("&Consultation"), false);
    Delimitezone = itemCoche(Mode1, QStringLiteral("Delimitezone"), QStringLiteral("&Délimitation d'une zone"), false);
    Tracecoupe = itemCoche(Mode1, QStringLiteral("Tracecoupe"), QStringLiteral("&Tracé d'une coupe"), false);
    Tracdarcdegrandcercle = itemCoche(Mode1, QStringLiteral("Tracdarcdegrandcercle"),
                                      QStringLiteral("Tracé d'arc de grand cercle"), false);
    Suivreuntrajet = itemCoche(Mode1, QStringLiteral("Suivreuntrajet"), QStringLiteral("Suivre un trajet"), false);
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
    conserverlestraces = itemCoche(Mode1, QStringLiteral("conserverlestraces"), QStringLiteral("conserver les tracés"),
                                   false);

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
    connect(Chargerdesdonneesdansuntableur1, &QAction::triggered, this,
            &TCarte::Chargerdesdonneesdansuntableur1Click);
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
    connect(Fichierdaide1, &QAction::triggered, this, &TCarte::Fichierdaide1Click);
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
    auto marquer = [this](bool affiche) {
        if (stationMenu_ < 0 || static_cast<std::size_t>(stationMenu_) >= TabStations.size())
            return;
        TabStations[static_cast<std::size_t>(stationMenu_)].Affiche = affiche ? 1 : 0;
        DessinerGPS();
    };
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
    BLoupe = bouton(PanIcones, QStringLiteral("BLoupe"), QStringLiteral("🔍"), QStringLiteral("Mode Zoom"), 5);
    Bcurseur->setChecked(true);
    BLoupe->setVisible(false);
    for (QToolButton* b : {Bcadre, BCoupe, Bcurseur, BTrait, BTrajet, BLoupe})
        h->addWidget(b);
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
    Latitude = etiquette(Panel1, QStringLiteral("Latitude"), QStringLiteral("Latitude : "));
    Longitude = etiquette(Panel1, QStringLiteral("Longitude"), QStringLiteral("Longitude : "));
    labalt = etiquette(Panel1, QStringLiteral("labalt"), QStringLiteral("altitude : "));
    station = etiquette(Panel1, QStringLiteral("station"));
    Vitesse = etiquette(Panel1, QStringLiteral("Vitesse"));
    for (QLabel* l : {Latitude, Longitude, labalt, station, Vitesse}) {
        l->setMinimumWidth(150);
        b->addWidget(l);
    }
    b->addStretch(1);
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

    TBitmap32 fond;
    if (!loadPicture(Config.FondCouleur3600, fond) || fond.isEmpty()) {
        showError(QStringLiteral("Il manque l'image de la carte de fond"));
        return false;
    }
    Document->base() = std::move(fond);
    Etat.W = Document->base().width();
    Etat.H = Document->base().height();
    Document->baseChanged();
    calque(Calque::Interaction)->setSizeAndPlace(Etat.W, Etat.H);
    calque(Calque::Interaction)->visible = true;
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
    TBitmapLayer* inter = calque(Calque::Interaction);
    inter->bitmap.clear();
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
    dessinerSeismes(calque(Calque::Seismes)->bitmap, TabSeismes, Reglages, Etat);
    Document->invalidate();
}

void TCarte::DessinerVolcans()
{
    Sablier s;
    assurerCalque(Calque::Volcans);
    dessinerVolcans(calque(Calque::Volcans)->bitmap, TabVolcans, Reglages, Etat);
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
    dessinerGPS(calque(Calque::GPS)->bitmap, TabStations, Reglages, Etat, PointsGPS1->isChecked(), &ImageLegende);
    if (Reglages.LegendePlacee)
        calque(Calque::Legende)->visible = false;
    Document->invalidate();
}

void TCarte::verifierStationRef()
{
    if (Etat.validerStationRef(TabStations))
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
    DessinerVolcans();
}

void TCarte::PointsGPS1Click()
{
    // The action toggled its check before this runs.
    majVisibiliteMenusGPS();
    if (!GPSCharges) {
        const ResultatChargement r = ChargerGPS(Config.FichierGPS);
        if (!r.ok && !r.message.isEmpty())
            showError(r.message);
    }
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
    if (!SeismesCharges) {
        const ResultatChargement r = ChargerSeismes(Config.FichierSeismes);
        if (!r.ok && !r.message.isEmpty())
            showError(r.message);
    }
    afficherSeismes();
}

void TCarte::Volcans1Click()
{
    if (!Volcans1->isChecked()) {
        calque(Calque::Volcans)->visible = false;
        Document->invalidate();
        return;
    }
    if (!VolcansCharges) {
        const ResultatChargement r = ChargerVolcans(Config.FichierVolcans);
        if (!r.ok && !r.message.isEmpty())
            showError(r.message);
    }
    afficherVolcans();
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

void TCarte::OuvrirunfichierGPS1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("GPS|*.gps|Texte|*.txt|Tous|*.*"));
    if (chemin.isEmpty())
        return;
    const ResultatChargement r = ChargerGPS(chemin);
    if (!r.ok)
        showError(QStringLiteral("Fichier ") + chemin + QStringLiteral(" non trouvé"));
    afficherGPS();
}

void TCarte::OuvrirunfichierSeismes1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("Seismes|*.fse|Texte|*.txt"));
    if (chemin.isEmpty())
        return;
    const ResultatChargement r = ChargerSeismes(chemin);
    if (!r.ok && !r.message.isEmpty())
        showError(r.message);
    afficherSeismes();
}

void TCarte::Chargerunfichierdevolcans1Click()
{
    const QString chemin = demanderFichier(QStringLiteral("Volcans|*.fvo|Texte|*.txt"));
    if (chemin.isEmpty())
        return;
    const ResultatChargement r = ChargerVolcans(chemin);
    if (!r.ok && !r.message.isEmpty())
        showError(r.message);
    afficherVolcans();
}

namespace {
void enregistrer(const QString& dossier, const QString& ext, const QString& filtre,
                 ResultatEcriture (*ecrire)(const QString&))
{
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
} // namespace

void TCarte::Enregistrerlefichierdeseismes1Click()
{
    enregistrer(DernierDossier, QStringLiteral("fse"), QStringLiteral("fichier binaire séisme|fse"),
                &EnregistrerSeismes);
}

void TCarte::Enregistrerlefichierdevolcans1Click()
{
    enregistrer(DernierDossier, QStringLiteral("fvo"), QStringLiteral("fichier binaire volcans|fvo"),
                &EnregistrerVolcans);
}

void TCarte::EnregistrerlesvecteursaffichescommedonneesGPS1Click()
{
    enregistrer(DernierDossier, QStringLiteral("gps"), QStringLiteral("fichier binaire gps|gps"), &EnregistrerGPS);
}

void TCarte::Chargerdesdonneesdansuntableur1Click()
{
    FileDialogRequest req;
    req.folder = DernierDossier;
    req.filter = QStringLiteral("tableur OpenOffice|*.ods;*.sxc|tableur Excel|.xls|tous|*.*");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    if (!QFileInfo::exists(chemin) || !QDesktopServices::openUrl(QUrl::fromLocalFile(chemin)))
        showWarning(QStringLiteral("Fichier non trouvé"));
}

// --- Base picture ---

void TCarte::installerFond(TBitmap32&& pic)
{
    Document->base() = std::move(pic);
    Etat.W = Document->base().width();
    Etat.H = Document->base().height();
    Document->base().rollHorizontal(carte::roulementPixels(Etat.Decalage, Etat.W));
    TBitmapLayer* inter = calque(Calque::Interaction);
    inter->setSizeAndPlace(Etat.W, Etat.H);
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
    afficherTousLesVecteurs(true);
    DessinerGPS();
}

void TCarte::Nafficheraucunvecteur1Click()
{
    afficherTousLesVecteurs(false);
    DessinerGPS();
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

void TCarte::DocumentDblClick(const QPoint& mapPos)
{
    if (!Bcurseur->isChecked())
        return;
    const carte::PositionGeo g = Etat.versGeo(mapPos.x(), mapPos.y());
    const int i = carte::stationLaPlusProche(TabStations, g.longitude, g.latitude);
    if (i < 0)
        return;
    Etat.choisirStationRef(TabStations, i);
    DessinerGPS();
    statRef->setText((QStringLiteral(" Station considérée comme fixe : ")
                      + shortToQString(TabStations[static_cast<std::size_t>(i)].Nom))
                         .left(37));
}

void TCarte::ouvrirMenuVect(int i, const QPoint& globalPos)
{
    if (i < 0 || static_cast<std::size_t>(i) >= TabStations.size())
        return;
    stationMenu_ = i;
    const bool affiche = TabStations[static_cast<std::size_t>(i)].Affiche == 1;
    Afficherlevecteur1->setChecked(affiche);
    Nepasafficherlevecteur1->setChecked(!affiche);
    MenuVect->popup(globalPos);
}

void TCarte::DocumentMouseDown(Qt::MouseButton bouton, const QPoint& mapPos, const QPoint& globalPos)
{
    if (Reglages.PlacementLegende) {
        if (bouton == Qt::LeftButton)
            placerLegende(mapPos);
        return;
    }
    if (bouton == Qt::RightButton && Consultation->isChecked() && PointsGPS1->isChecked()) {
        const carte::PositionGeo g = Etat.versGeo(mapPos.x(), mapPos.y());
        ouvrirMenuVect(carte::stationLaPlusProche(TabStations, g.longitude, g.latitude), globalPos);
    }
}

void TCarte::DocumentMouseMove(Qt::MouseButtons boutons, const QPoint& mapPos)
{
    if (Reglages.PlacementLegende && (boutons & Qt::LeftButton))
        placerLegende(mapPos);
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

void TCarte::Fichierdaide1Click()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().filePath(QStringLiteral("aide/index.html"))));
}

void TCarte::Viderlamemoire1Click()
{
    viderMemoire(Seismes1->isChecked(), Volcans1->isChecked(), PointsGPS1->isChecked());
    if (!Seismes1->isChecked())
        calque(Calque::Seismes)->bitmap.setSize(0, 0);
    if (!Volcans1->isChecked())
        calque(Calque::Volcans)->bitmap.setSize(0, 0);
    if (!PointsGPS1->isChecked())
        calque(Calque::GPS)->bitmap.setSize(0, 0);
    verifierStationRef();
    Document->invalidate();
}
