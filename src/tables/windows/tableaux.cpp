#include "tables/windows/tableaux.h"

#include "app/listedonnees.h"
#include "data/decimal.h"
#include "map/windows/delimCarte.h"
#include "tables/windows/afcourbes.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace tableaux;

namespace {

const char* const Titre = "Tri des données GPS concernant les plaques lithosphériques";

QSpinBox* spin(QWidget* parent, const char* nom, int min, int max, int valeur)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(nom));
    s->setRange(min, max);
    s->setValue(valeur);
    return s;
}

QAction* action(QMenu* m, const char* nom, const QString& texte)
{
    QAction* a = m->addAction(texte);
    a->setObjectName(QString::fromLatin1(nom));
    return a;
}

QLabel* ligneCentree(QWidget* parent, const QString& texte)
{
    auto* l = new QLabel(texte, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

// --- The model ---

TModeleGPS::TModeleGPS(const TGrilleGPS& grille, QObject* parent) : QAbstractTableModel(parent), grille_(grille) {}

int TModeleGPS::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grille_.nbLignes() - LignesEntete;
}

int TModeleGPS::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant TModeleGPS::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int ligne = index.row() + LignesEntete;
    if (role == Qt::DisplayRole)
        return grille_.cellule(ligne, index.column());
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == ColonneMarque)
            return int(Qt::AlignCenter);
        if (index.column() >= ColonneLatitude)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && grille_.ligneIncertitude(ligne))
        return QColor(90, 90, 90);
    return {};
}

QVariant TModeleGPS::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString seconde = entete(1, section);
    return seconde.isEmpty() ? entete(0, section) : entete(0, section) + QLatin1Char('\n') + seconde;
}

void TModeleGPS::remplir()
{
    beginResetModel();
    endResetModel();
}

void TModeleGPS::marquesChangees()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, ColonneMarque), index(rowCount() - 1, ColonneMarque), {Qt::DisplayRole});
}

// --- The window ---

TTableaux::TTableaux(TCarte& carte, QWidget* parent)
    : QMainWindow(parent), carte_(carte), donnees_(carte.donnees()), grille_(carte.donnees())
{
    setObjectName(QStringLiteral("Tableaux"));
    setWindowTitle(QString::fromUtf8(Titre));
    // Numbers are written with the system's separator, learnt again here.
    DeterminerSeparateurDecimal();

    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    connect(action(fichier, "Chargerdesdonneesdansuntableur1", QStringLiteral("Charger des données dans un tableur")),
            &QAction::triggered, this, [this] { chargerDonneesDansTableur(carte_.DernierDossier); });
    fichier->addSeparator();
    connect(action(fichier, "Fermer1", QStringLiteral("&Fermer")), &QAction::triggered, this,
            [this] { Fermer1Click(); });

    QMenu* copier = menuBar()->addMenu(QStringLiteral("&Copier..."));
    copier->setObjectName(QStringLiteral("Copier1"));
    connect(action(copier, "Tout1", QStringLiteral("&Tout")), &QAction::triggered, this, [this] { Tout1Click(); });
    connect(action(copier, "lapartieselectionnee1", QStringLiteral("la partie &sélectionnée")), &QAction::triggered,
            this, [this] { lapartieselectionnee1Click(); });

    QMenu* choix = menuBar()->addMenu(QStringLiteral("Choi&x..."));
    choix->setObjectName(QStringLiteral("Choix1"));
    QMenu* tri = choix->addMenu(QStringLiteral("&Tri..."));
    tri->setObjectName(QStringLiteral("Tri1"));
    auto* groupe = new QActionGroup(this);
    const char* const nomsTri[3] = {"Alphabetique1", "parlatitude1", "parlongitude1"};
    const char* const textesTri[3] = {"&Alphabétique", "par latitude", "par longitude"};
    for (int c = 0; c < 3; ++c) {
        tris_[c] = action(tri, nomsTri[c], QString::fromUtf8(textesTri[c]));
        tris_[c]->setCheckable(true);
        groupe->addAction(tris_[c]);
        connect(tris_[c], &QAction::triggered, this, [this, c] { choisirTri(c); });
    }
    tris_[ParNom]->setChecked(true);
    connect(action(choix, "Precision1", QStringLiteral("Precision...")), &QAction::triggered, this,
            [this] { PrecisionClick(); });
    QMenu* stations = choix->addMenu(QStringLiteral("Choix des &stations"));
    stations->setObjectName(QStringLiteral("Choixdesstations1"));
    connect(action(stations, "cochertout1", QStringLiteral("&cocher tout")), &QAction::triggered, this,
            [this] { cocherTout(true); });
    connect(action(stations, "decochertout1", QStringLiteral("&décocher tout")), &QAction::triggered, this,
            [this] { cocherTout(false); });

    auto* centre = new QWidget(this);
    auto* v = new QVBoxLayout(centre);

    // The bounds, the commands and the panels.
    auto* haut = new QHBoxLayout;
    v->addLayout(haut);
    auto* cadreBornes = new QFrame(centre);
    cadreBornes->setObjectName(QStringLiteral("Bornes"));
    cadreBornes->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(cadreBornes);
    Latmin = spin(cadreBornes, "Latmin", -90, 90, -90);
    Latmax = spin(cadreBornes, "Latmax", -90, 90, 90);
    Longmin = spin(cadreBornes, "Longmin", -180, 180, -180);
    Longmax = spin(cadreBornes, "Longmax", -180, 180, 180);
    g->addWidget(new QLabel(QStringLiteral("Latitude min. :"), cadreBornes), 0, 0);
    g->addWidget(Latmin, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("max. :"), cadreBornes), 0, 2);
    g->addWidget(Latmax, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Longitude min. :"), cadreBornes), 1, 0);
    g->addWidget(Longmin, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("max. :"), cadreBornes), 1, 2);
    g->addWidget(Longmax, 1, 3);
    auto* trier = new QPushButton(QStringLiteral("Trier"), cadreBornes);
    trier->setObjectName(QStringLiteral("Trier"));
    connect(trier, &QPushButton::clicked, this, [this] { TrierClick(); });
    g->addWidget(trier, 0, 4, 2, 1);
    haut->addWidget(cadreBornes);
    for (QSpinBox* s : {Latmin, Latmax, Longmin, Longmax})
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, [this] { signalerPerime(bornesChangees()); });

    auto* colonne = new QVBoxLayout;
    AfficInc = new QCheckBox(QStringLiteral("Afficher les incertitudes"), centre);
    AfficInc->setObjectName(QStringLiteral("AfficInc"));
    connect(AfficInc, &QCheckBox::toggled, this, [this] { Remplir(); });
    colonne->addWidget(AfficInc);
    auto* boutonCarte = new QPushButton(QStringLiteral("Carte"), centre);
    boutonCarte->setObjectName(QStringLiteral("Carte"));
    boutonCarte->setToolTip(QStringLiteral("Voir les vecteurs cochés sur la carte"));
    connect(boutonCarte, &QPushButton::clicked, this, [this] { CarteClick(); });
    colonne->addWidget(boutonCarte);
    haut->addLayout(colonne);

    panclic = new QFrame(centre);
    panclic->setObjectName(QStringLiteral("panclic"));
    panclic->setFrameShape(QFrame::Box);
    panclic->setStyleSheet(QStringLiteral("QFrame#panclic { background: #ffffc0; }"));
    auto* lignes = new QVBoxLayout(panclic);
    for (const char* t : {"La zone délimitée", "a peut-être changé", "cliquer sur Trier", "pour ajuster le tableau"})
        lignes->addWidget(ligneCentree(panclic, QString::fromUtf8(t)));
    panclic->hide();
    haut->addWidget(panclic);

    PanChoix = new QFrame(centre);
    PanChoix->setObjectName(QStringLiteral("PanChoix"));
    PanChoix->setFrameShape(QFrame::StyledPanel);
    auto* pc = new QGridLayout(PanChoix);
    pc->addWidget(new QLabel(QStringLiteral("Précision des valeurs affichées :"), PanChoix), 0, 0, 1, 4);
    pc->addWidget(new QLabel(QStringLiteral("(nombre de chiffres affichés)"), PanChoix), 1, 0, 1, 4);
    nbcLL = spin(PanChoix, "nbcLL", 2, 13, 12);
    nbcAlt = spin(PanChoix, "nbcAlt", 2, 13, 10);
    nbcerr = spin(PanChoix, "nbcerr", 1, 5, 4);
    nbcvit = spin(PanChoix, "nbcvit", 1, 5, 4);
    pc->addWidget(new QLabel(QStringLiteral("latitude, longitude :"), PanChoix), 2, 0);
    pc->addWidget(nbcLL, 2, 1);
    pc->addWidget(new QLabel(QStringLiteral("altitude :"), PanChoix), 2, 2);
    pc->addWidget(nbcAlt, 2, 3);
    pc->addWidget(new QLabel(QStringLiteral("vitesses :"), PanChoix), 3, 0);
    pc->addWidget(nbcvit, 3, 1);
    pc->addWidget(new QLabel(QStringLiteral("incertitudes :"), PanChoix), 3, 2);
    pc->addWidget(nbcerr, 3, 3);
    auto* okChoix = new QPushButton(QStringLiteral("OK"), PanChoix);
    okChoix->setObjectName(QStringLiteral("OKChoix"));
    connect(okChoix, &QPushButton::clicked, this, [this] { OKChoixClick(); });
    pc->addWidget(okChoix, 4, 3);
    PanChoix->hide();
    haut->addWidget(PanChoix);
    haut->addStretch(1);

    avertis = new QLabel(QStringLiteral("Aucune donnée pour les critères de tri choisis"), centre);
    avertis->setObjectName(QStringLiteral("avertis"));
    avertis->setAlignment(Qt::AlignCenter);
    avertis->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    avertis->hide();
    v->addWidget(avertis);

    // The grid.
    modele_ = new TModeleGPS(grille_, this);
    TableauGPS = new QTableView(centre);
    TableauGPS->setObjectName(QStringLiteral("TableauGPS"));
    TableauGPS->setModel(modele_);
    TableauGPS->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableauGPS->setSelectionMode(QAbstractItemView::ContiguousSelection);
    TableauGPS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableauGPS->setWordWrap(false);
    TableauGPS->verticalHeader()->hide();
    // Rows of one height: the view never measures seventeen thousand of them.
    TableauGPS->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableauGPS->verticalHeader()->setDefaultSectionSize(TableauGPS->fontMetrics().height() + 6);
    QHeaderView* h = TableauGPS->horizontalHeader();
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setDefaultSectionSize(120);
    h->setMinimumSectionSize(16);
    h->resizeSection(ColonneNom, 60);
    h->resizeSection(ColonneMarque, 16);
    TableauGPS->setColumnHidden(ColonneRang, true);
    h->setToolTip(QStringLiteral("Double-cliquer sur « Station », « Latitude » ou « Longitude » pour trier, "
                                 "sur « V » pour tout cocher"));
    connect(h, &QHeaderView::sectionDoubleClicked, this, [this](int c) { enteteDoubleClic(c); });
    connect(TableauGPS, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { celluleDoubleClic(i.row(), i.column()); });
    v->addWidget(TableauGPS, 1);
    setCentralWidget(centre);
    resize(1000, 700);

    ecouteur_ = donnees_.ecouter([this](unsigned m) { donneesChangees(m); });
}

TTableaux::~TTableaux()
{
    donnees_.oublier(ecouteur_);
}

void TTableaux::donneesChangees(unsigned magasins)
{
    // The marks the window sets itself leave the rows in place (and the selection,
    // and the scrolling).
    if (marquage_) {
        modele_->marquesChangees();
        return;
    }
    if (magasins & TDonnees::Tri)
        modele_->remplir();
    else if (magasins & TDonnees::Stations)
        modele_->marquesChangees();
}

FiltreZone TTableaux::bornes() const
{
    FiltreZone f;
    f.Latmin = Latmin->value();
    f.Latmax = Latmax->value();
    f.Longmin = Longmin->value();
    f.Longmax = Longmax->value();
    return f;
}

void TTableaux::copierZone(const FiltreZone& zone)
{
    auto entier = [](double v) { return static_cast<int>(std::lround(v)); };
    Latmin->setValue(entier(zone.Latmin));
    Latmax->setValue(entier(zone.Latmax));
    Longmin->setValue(entier(zone.Longmin));
    Longmax->setValue(entier(zone.Longmax));
    signalerPerime(bornesChangees());
}

bool TTableaux::bornesChangees() const
{
    const FiltreZone b = bornes();
    return b.Latmin != filtrees_.Latmin || b.Latmax != filtrees_.Latmax || b.Longmin != filtrees_.Longmin ||
           b.Longmax != filtrees_.Longmax;
}

void TTableaux::signalerPerime(bool perime)
{
    perime_ = perime;
    const QString style = perime ? QStringLiteral("QSpinBox { color: red; }") : QStringLiteral("QSpinBox { color: blue; }");
    for (QSpinBox* s : {Latmin, Latmax, Longmin, Longmax})
        s->setStyleSheet(style);
    panclic->setVisible(perime);
}

void TTableaux::majAvertissement()
{
    avertis->setVisible(donnees_.TabTri.empty());
}

void TTableaux::Filtrer()
{
    filtrees_ = bornes();
    filtrer(donnees_, filtrees_);
    majAvertissement();
}

void TTableaux::Trier()
{
    trier(donnees_, CritereTri);
    majAvertissement();
}

void TTableaux::Remplir()
{
    grille_.incertitudes = AfficInc->isChecked();
    modele_->remplir();
}

void TTableaux::TrierClick()
{
    signalerPerime(false);
    // One drawing of the map's vectors for the whole command.
    const TScene::Differe differe(carte_.scene());
    Filtrer();
    Trier();
    Remplir();
}

void TTableaux::choisirTri(int critere)
{
    if (critere < ParNom || critere > ParLongitude)
        return;
    CritereTri = critere;
    tris_[critere]->setChecked(true);
    Trier();
    Remplir();
}

void TTableaux::PrecisionClick()
{
    const Chiffres& c = grille_.chiffres;
    nbcLL->setValue(c.LatLong);
    nbcAlt->setValue(c.Altitude);
    nbcerr->setValue(c.Incertitudes);
    nbcvit->setValue(c.Vitesses);
    PanChoix->show();
}

void TTableaux::OKChoixClick()
{
    Chiffres c;
    c.LatLong = nbcLL->value();
    c.Altitude = nbcAlt->value();
    c.Incertitudes = nbcerr->value();
    c.Vitesses = nbcvit->value();
    grille_.chiffres = c.bornes();
    PanChoix->hide();
    Remplir();
}

void TTableaux::cocherTout(bool coche)
{
    marquage_ = true;
    donnees_.marquerToutTabTri(coche);
    marquage_ = false;
}

void TTableaux::basculerMarque(int k)
{
    marquage_ = true;
    donnees_.marquerStationTri(k, !stationAffichee(donnees_, k));
    marquage_ = false;
}

void TTableaux::CarteClick()
{
    carte_.appliquer(carte_.Interaction.effacerBande());
    // The chosen vectors are what the pupil comes to see: the layer is shown if it
    // was hidden, redrawn otherwise.
    if (carte_.scene().affiche(Calque::GPS))
        carte_.scene().dessinerGPS();
    else if (QAction* gps = carte_.commande("PointsGPS1"))
        gps->trigger();
    carte_.vue()->invalidate();
    carte_.show();
    carte_.raise();
    carte_.activateWindow();
}

void TTableaux::Tout1Click()
{
    QGuiApplication::clipboard()->setText(grille_.texte(windowTitle()));
}

void TTableaux::lapartieselectionnee1Click()
{
    int premiere = -1, derniere = -1;
    const QModelIndexList sel = TableauGPS->selectionModel()->selectedIndexes();
    for (const QModelIndex& i : sel) {
        premiere = premiere < 0 ? i.row() : std::min(premiere, i.row());
        derniere = std::max(derniere, i.row());
    }
    if (premiere < 0 && TableauGPS->currentIndex().isValid())
        premiere = derniere = TableauGPS->currentIndex().row();
    if (premiere < 0) {
        // Nothing chosen: the caption and the headers only.
        QGuiApplication::clipboard()->setText(grille_.textePartie(windowTitle(), 0, -1));
        return;
    }
    QGuiApplication::clipboard()->setText(
        grille_.textePartie(windowTitle(), premiere + LignesEntete, derniere + LignesEntete));
}

void TTableaux::Fermer1Click()
{
    hide();
}

void TTableaux::enteteDoubleClic(int colonne)
{
    switch (colonne) {
    case ColonneNom:
        choisirTri(ParNom);
        break;
    case ColonneLatitude:
        choisirTri(ParLatitude);
        break;
    case ColonneLongitude:
        choisirTri(ParLongitude);
        break;
    case ColonneMarque:
        cocherTout(true);
        break;
    default:
        break;
    }
}

void TTableaux::celluleDoubleClic(int ligneVue, int colonne)
{
    // The station's index as column 8 gives it; an uncertainty row counts for the
    // station row above it.
    const int k = grille_.station(ligneVue + LignesEntete);
    if (k < 0)
        return;
    if (colonne == ColonneMarque)
        basculerMarque(k);
    else
        ouvrirCourbes(k);
}

void TTableaux::ouvrirCourbes(int k)
{
    if (k < 0 || static_cast<std::size_t>(k) >= donnees_.TabTri.size())
        return;
    if (!courbes_)
        courbes_ = new TAfCourbes(this);
    courbes_->ouvrir(donnees_.TabTri[static_cast<std::size_t>(k)], carte_.Config.DossierDepart);
}
