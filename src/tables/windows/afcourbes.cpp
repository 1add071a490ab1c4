#include "tables/windows/afcourbes.h"

#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace courbes;

namespace {

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte = QString())
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    return l;
}

QDoubleSpinBox* valeur(QWidget* parent, const char* nom, double min, double max, double defaut)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QString::fromLatin1(nom));
    s->setRange(min, max);
    s->setDecimals(1);
    s->setSingleStep(0.1);
    s->setValue(defaut);
    return s;
}

} // namespace

TAfCourbes::TAfCourbes(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("AfCourbes"));
    setWindowTitle(QStringLiteral("Affichage des courbes des données GPS"));

    QMenu* echelles = menuBar()->addMenu(QStringLiteral("Echelles"));
    echelles->setObjectName(QStringLiteral("Echelles1"));
    auto action = [this](QMenu* m, const char* nom, const QString& texte, void (TAfCourbes::*f)()) {
        QAction* a = m->addAction(texte);
        a->setObjectName(QString::fromLatin1(nom));
        connect(a, &QAction::triggered, this, [this, f] { (this->*f)(); });
    };
    action(echelles, "Definir1", QStringLiteral("&Définir"), &TAfCourbes::Definir1Click);
    action(echelles, "Effacer1", QStringLiteral("&Effacer"), &TAfCourbes::Effacer1Click);
    action(echelles, "Enregistrer1", QStringLiteral("En&registrer"), &TAfCourbes::Enregistrer1Click);
    QAction* fermer = menuBar()->addAction(QStringLiteral("&Fermer"));
    fermer->setObjectName(QStringLiteral("Fermer1"));
    connect(fermer, &QAction::triggered, this, [this] { Fermer1Click(); });

    auto* centre = new QWidget(this);
    auto* h = new QHBoxLayout(centre);
    Image = new TImageView(centre);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setCentered(false);
    // The read-outs follow the pointer without a button down.
    Image->viewport()->setMouseTracking(true);
    Image->setBackground(clWhite32);
    Image->base() = TBitmap32(LargeurVue, HauteurVue, clWhite32);
    calque_ = Image->addLayer();
    calque_->setSizeAndPlace(LargeurVue, HauteurVue);
    Image->setMinimumSize(LargeurVue + 4, std::min(HauteurVue + 4, 600));
    Image->baseChanged();
    h->addWidget(Image, 1);
    connect(Image, &TImageView::mouseDown, this, [this](QMouseEvent* e, const QPoint& p) {
        if (e->button() == Qt::LeftButton)
            appui(p);
    });
    connect(Image, &TImageView::mouseMove, this,
            [this](QMouseEvent* e, const QPoint& p) { deplacement(p, e->buttons() & Qt::LeftButton); });
    connect(Image, &TImageView::mouseUp, this, [this](QMouseEvent* e, const QPoint& p) {
        if (e->button() == Qt::LeftButton)
            relachement(p);
    });

    auto* droite = new QVBoxLayout;
    h->addLayout(droite);
    nomStation = etiquette(centre, "nomStation");
    QFont gras = nomStation->font();
    gras.setBold(true);
    nomStation->setFont(gras);
    droite->addWidget(nomStation);

    // The calibration's instructions, axis buttons and values.
    instructetal = new QFrame(centre);
    instructetal->setObjectName(QStringLiteral("instructetal"));
    instructetal->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(instructetal);
    auto* consigne = etiquette(instructetal, "consigne",
                               QStringLiteral("Cliquer successivement sur les boutons et tracer les cadres de la "
                                              "première valeur repère à la deuxième"));
    consigne->setWordWrap(true);
    g->addWidget(consigne, 0, 0, 1, 3);
    g->addWidget(etiquette(instructetal, "valider", QStringLiteral("Valider par OK à la fin")), 1, 0, 1, 3);
    g->addWidget(etiquette(instructetal, "premiere", QStringLiteral("1re valeur")), 2, 1);
    g->addWidget(etiquette(instructetal, "deuxieme", QStringLiteral("2e valeur")), 2, 2);
    const char* const noms[4] = {"BTemps", "BLatitudes", "BLongitudes", "BAltitudes"};
    const char* const textes[4] = {"échelle des temps (dates) :", "échelle des latitudes (cm) :",
                                   "échelle des longitudes (cm) :", "échelle des altitudes (cm) :"};
    const char* const noms1[4] = {"Annee1", "lat1", "Long1", "Alt1"};
    const char* const noms2[4] = {"Annee2", "lat2", "Long2", "Alt2"};
    for (int a = 0; a < 4; ++a) {
        boutonsAxes[a] = new QRadioButton(QString::fromUtf8(textes[a]), instructetal);
        boutonsAxes[a]->setObjectName(QString::fromLatin1(noms[a]));
        connect(boutonsAxes[a], &QRadioButton::clicked, this, [this, a] { choisirAxe(a); });
        if (a == Temps) {
            valeurs1[a] = valeur(instructetal, noms1[a], 1980, 2100, 2000);
            valeurs2[a] = valeur(instructetal, noms2[a], 1980, 2100, 2000);
        } else {
            valeurs1[a] = valeur(instructetal, noms1[a], -100, 100, 0);
            valeurs2[a] = valeur(instructetal, noms2[a], -50, 50, 5);
        }
        g->addWidget(boutonsAxes[a], 3 + a, 0);
        g->addWidget(valeurs1[a], 3 + a, 1);
        g->addWidget(valeurs2[a], 3 + a, 2);
    }
    boutonsAxes[Temps]->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), instructetal);
    ok->setObjectName(QStringLiteral("OKEtal"));
    connect(ok, &QPushButton::clicked, this, [this] { OKEtalClick(); });
    auto* abandon = new QPushButton(QStringLiteral("Abandonner"), instructetal);
    abandon->setObjectName(QStringLiteral("Abandon"));
    connect(abandon, &QPushButton::clicked, this, [this] { AbandonClick(); });
    g->addWidget(ok, 7, 1);
    g->addWidget(abandon, 7, 2);
    instructetal->hide();
    droite->addWidget(instructetal);

    // The read-outs and the measure.
    Panaffich = new QFrame(centre);
    Panaffich->setObjectName(QStringLiteral("Panaffich"));
    Panaffich->setFrameShape(QFrame::StyledPanel);
    auto* v = new QVBoxLayout(Panaffich);
    etidate = etiquette(Panaffich, "etidate");
    etiY = etiquette(Panaffich, "etiY");
    Etipente = etiquette(Panaffich, "Etipente");
    EtiCatalogue = etiquette(Panaffich, "EtiCatalogue");
    EtiAjustement = etiquette(Panaffich, "EtiAjustement");
    auto* aide = etiquette(Panaffich, "aideMesure",
                           QStringLiteral("Tirer un trait le long d'une courbe pour en mesurer la pente."));
    aide->setWordWrap(true);
    for (QLabel* l : {aide, etidate, etiY, Etipente, EtiCatalogue, EtiAjustement}) {
        l->setMinimumWidth(300);
        v->addWidget(l);
    }
    Panaffich->hide();
    droite->addWidget(Panaffich);
    droite->addStretch(1);
    setCentralWidget(centre);
    resize(LargeurVue + 380, std::min(HauteurVue + 60, 760));
}

const TBitmap32& TAfCourbes::calque() const
{
    return calque_->bitmap;
}

bool TAfCourbes::ouvrir(const TStationGPS& station, const QString& dossierDepart)
{
    const QString nom = shortToQString(station.Nom);
    const FichiersStation f = fichiersStation(dossierDepart, nom);
    if (f.image.isEmpty()) {
        showError(QStringLiteral("Le nom de station « %1 » ne peut pas désigner un fichier du dossier « point ».")
                      .arg(nom));
        return false;
    }
    TBitmap32 image;
    QString erreur;
    if (!loadPicture(f.image, image, &erreur)) {
        showError(erreur);
        return false;
    }
    fichiers_ = f;
    Etalonnage e;
    std::optional<Etalonnage> lu;
    if (lireEtalonnage(f.etalonnage, e))
        lu = e;
    PositionsJournalieres jours;
    lirePositions(f.positions, jours);
    mesure_.ouvrir(station, lu, std::move(jours));
    Image->base() = imageVue(image);
    Image->baseChanged();
    nomStation->setText(QStringLiteral("Station : ") + nom);
    montrer();
    show();
    raise();
    activateWindow();
    return true;
}

void TAfCourbes::montrer()
{
    const Affichage& a = mesure_.affichage;
    etidate->setText(a.date);
    etiY->setText(a.variation);
    Etipente->setText(a.vitesse);
    EtiCatalogue->setText(a.catalogue);
    EtiAjustement->setText(a.ajustement);
    Panaffich->setVisible(mesure_.ModeMesure);
    instructetal->setVisible(mesure_.ModeCalibrage);
    if (mesure_.trace) {
        dessinerTraits(calque_->bitmap, *mesure_.trace);
        mesure_.trace.reset();
        Image->invalidate();
    }
}

void TAfCourbes::lireValeurs()
{
    for (int a = 0; a < 4; ++a) {
        mesure_.valeur1[static_cast<std::size_t>(a)] = valeurs1[a]->value();
        mesure_.valeur2[static_cast<std::size_t>(a)] = valeurs2[a]->value();
    }
}

void TAfCourbes::Definir1Click()
{
    mesure_.definir();
    for (int a = 0; a < 4; ++a)
        if (boutonsAxes[a]->isChecked())
            mesure_.axe = a;
    montrer();
}

void TAfCourbes::choisirAxe(int axe)
{
    if (axe < 0 || axe > 3)
        return;
    boutonsAxes[axe]->setChecked(true);
    mesure_.choisirAxe(axe);
    montrer();
}

void TAfCourbes::OKEtalClick()
{
    lireValeurs();
    mesure_.valider();
    montrer();
}

void TAfCourbes::AbandonClick()
{
    mesure_.effacer();
    montrer();
}

void TAfCourbes::Effacer1Click()
{
    mesure_.effacer();
    montrer();
}

void TAfCourbes::Enregistrer1Click()
{
    if (!mesure_.ModeMesure)
        return;
    QString message;
    if (!ecrireEtalonnage(fichiers_.etalonnage, mesure_.etalonnage, &message))
        showError(message);
}

void TAfCourbes::Fermer1Click()
{
    hide();
}

void TAfCourbes::appui(const QPoint& p)
{
    mesure_.appui(p.x(), p.y());
    montrer();
}

void TAfCourbes::deplacement(const QPoint& p, bool gaucheEnfonce)
{
    mesure_.deplacement(p.x(), p.y(), gaucheEnfonce);
    montrer();
}

void TAfCourbes::relachement(const QPoint& p)
{
    mesure_.relachement(p.x(), p.y());
    montrer();
}
