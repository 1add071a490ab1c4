#include "projections/windows/vuepolaire.h"

#include "map/lecture.h"
#include "map/windows/delimCarte.h"
#include "projections/mercator.h"
#include "projections/windows/mercatoroblique.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"
#include "ui/windows/patience.h"

#include <QAction>
#include <QApplication>
#include <QDataStream>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <new>

namespace {

constexpr int ZoomMini = 10, ZoomMaxi = 100;

QSpinBox* spin(QWidget* parent, const char* nom, int mini, int maxi, int valeur)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(nom));
    s->setRange(mini, maxi);
    s->setValue(valeur);
    s->setSuffix(QStringLiteral(" °"));
    return s;
}

class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

} // namespace

// --- Named poles ---

TListePoles::TListePoles(QSpinBox* latitude, QSpinBox* longitude, QLabel* vitesse, QWidget* parent)
    : QComboBox(parent), latitude_(latitude), longitude_(longitude), vitesse_(vitesse)
{
    setObjectName(QStringLiteral("CouplePlaques"));
    addItem(QStringLiteral("(aucun)"));
    setVisible(false);
    vitesse_->setVisible(false);
    connect(this, qOverload<int>(&QComboBox::activated), this, &TListePoles::choisi);
}

void TListePoles::definir(const std::vector<PoleNomme>& poles)
{
    poles_ = poles;
    clear();
    addItem(QStringLiteral("(aucun)"));
    for (const PoleNomme& p : poles_)
        addItem(p.nom);
    setVisible(!poles_.empty());
    vitesse_->setVisible(!poles_.empty());
    vitesse_->clear();
}

void TListePoles::choisi(int i)
{
    if (i <= 0 || static_cast<std::size_t>(i) > poles_.size()) {
        vitesse_->clear();
        return;
    }
    const PoleNomme& p = poles_[static_cast<std::size_t>(i - 1)];
    latitude_->setValue(carte::arrondi(p.latitude));
    longitude_->setValue(carte::arrondi(p.longitude));
    vitesse_->setText(QStringLiteral("Rotation : %1 °/Ma autour de %2, %3")
                          .arg(carte::formatDecimal(p.vitesse, 3), carte::formatDecimal(p.latitude, 2),
                               carte::formatDecimal(p.longitude, 2)));
}

// --- The pole dialog ---

TChoixPole::TChoixPole(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChoixPole"));
    setWindowTitle(QStringLiteral("Choix du pôle pour la projection"));
    auto* l = new QVBoxLayout(this);
    auto* groupe = new QGroupBox(QStringLiteral("Pôle eulérien"), this);
    auto* f = new QFormLayout(groupe);
    LatCentre = spin(groupe, "LatCentre", -90, 90, 90);
    LongCentre = spin(groupe, "LongCentre", -180, 180, 0);
    f->addRow(QStringLiteral("Latitude (N +, S −)"), LatCentre);
    f->addRow(QStringLiteral("Longitude (E +, O −)"), LongCentre);
    VitesseRotation = new QLabel(groupe);
    VitesseRotation->setObjectName(QStringLiteral("VitesseRotation"));
    CouplePlaques = new TListePoles(LatCentre, LongCentre, VitesseRotation, groupe);
    f->addRow(QStringLiteral("Couple de plaques"), CouplePlaques);
    f->addRow(VitesseRotation);
    formulaire_ = f;
    definirCouples({});
    l->addWidget(groupe);
    auto* boutons = new QDialogButtonBox(this);
    OK = boutons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Annuler = boutons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(boutons);
}

void TChoixPole::definirCouples(const std::vector<PoleNomme>& poles)
{
    CouplePlaques->definir(poles);
    formulaire_->setRowVisible(CouplePlaques, !poles.empty());
    formulaire_->setRowVisible(VitesseRotation, !poles.empty());
}

PoleVue TChoixPole::pole() const
{
    return {LatCentre->value(), LongCentre->value()};
}

void TChoixPole::setPole(const PoleVue& p)
{
    LatCentre->setValue(p.latitude);
    LongCentre->setValue(p.longitude);
}

// --- The view ---

TVuePolaire::TVuePolaire(TCarte& carte, QWidget* parent)
    : QMainWindow(parent), carte_(carte), donnees_(carte.donnees())
{
    setObjectName(QStringLiteral("VuePolaire"));
    setWindowTitle(QStringLiteral("Vue Polaire"));

    QMenu* affichage = menuBar()->addMenu(QStringLiteral("Affichage"));
    affichage->setObjectName(QStringLiteral("Affichage1"));
    auto item = [&](const char* nom, const QString& titre, bool coche) {
        QAction* a = affichage->addAction(titre);
        a->setObjectName(QString::fromLatin1(nom));
        a->setCheckable(coche);
        return a;
    };
    Seismes1 = item("Seismes1", QStringLiteral("Séismes"), true);
    Volcans1 = item("Volcans1", QStringLiteral("Volcans"), true);
    VecteursGPS1 = item("VecteursGPS1", QStringLiteral("Vecteurs GPS"), true);
    Cerclesautourdupole1 = item("Cerclesautourdupole1", QStringLiteral("Cercles autour du pôle"), true);
    Limitesdeplaques1 = item("Limitesdeplaques1", QStringLiteral("Limites de plaques"), true);
    Limitesdeplaques1->setEnabled(false);
    affichage->addSeparator();
    VueMercator1 = item("VueMercator1", QStringLiteral("Vue Mercator"), false);
    Copierlimage1 = menuBar()->addAction(QStringLiteral("Copier l'image"));
    Copierlimage1->setObjectName(QStringLiteral("Copierlimage1"));

    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(4, 4, 4, 4);
    auto* barre = new QHBoxLayout;
    auto* pole = new QGroupBox(QStringLiteral("Pôle eulérien"), central);
    auto* hp = new QHBoxLayout(pole);
    LatCentre = spin(pole, "LatCentre", -90, 90, 90);
    LongCentre = spin(pole, "LongCentre", -180, 180, 0);
    Button1 = new QPushButton(QStringLiteral("OK"), pole);
    Button1->setObjectName(QStringLiteral("Button1"));
    hp->addWidget(new QLabel(QStringLiteral("Latitude"), pole));
    hp->addWidget(LatCentre);
    hp->addWidget(new QLabel(QStringLiteral("Longitude"), pole));
    hp->addWidget(LongCentre);
    hp->addWidget(Button1);
    VitesseRotation = new QLabel(pole);
    VitesseRotation->setObjectName(QStringLiteral("VitesseRotation"));
    CouplePlaques = new TListePoles(LatCentre, LongCentre, VitesseRotation, pole);
    hp->addWidget(CouplePlaques);
    hp->addWidget(VitesseRotation);
    barre->addWidget(pole);

    auto* reglages = new QGroupBox(central);
    auto* fr = new QFormLayout(reglages);
    TailleCercle = new QScrollBar(Qt::Horizontal, reglages);
    TailleCercle->setObjectName(QStringLiteral("TailleCercle"));
    TailleCercle->setRange(1, 1);
    TailleCercle->setMinimumWidth(220);
    ValeurZoom = new QScrollBar(Qt::Horizontal, reglages);
    ValeurZoom->setObjectName(QStringLiteral("ValeurZoom"));
    ValeurZoom->setRange(ZoomMini, ZoomMaxi);
    ValeurZoom->setValue(90);
    ValeurZoom->setMinimumWidth(220);
    fr->addRow(QStringLiteral("Rayon du cercle-repère"), TailleCercle);
    fr->addRow(QStringLiteral("Zoom"), ValeurZoom);
    barre->addWidget(reglages);

    auto* curseur = new QGroupBox(QStringLiteral("Curseur"), central);
    curseur->setObjectName(QStringLiteral("Curseur"));
    auto* fc = new QFormLayout(curseur);
    Latcurs = new QLabel(curseur);
    Latcurs->setObjectName(QStringLiteral("Latcurs"));
    LongCurs = new QLabel(curseur);
    LongCurs->setObjectName(QStringLiteral("LongCurs"));
    Latcurs->setMinimumWidth(70);
    LongCurs->setMinimumWidth(70);
    fc->addRow(QStringLiteral("Latitude :"), Latcurs);
    fc->addRow(QStringLiteral("Longitude :"), LongCurs);
    barre->addWidget(curseur);
    barre->addStretch(1);
    v->addLayout(barre);

    vue_ = new TImageView(central);
    vue_->setObjectName(QStringLiteral("VuePol"));
    vue_->setCentered(false);
    vue_->viewport()->setMouseTracking(true);
    vue_->setScale(0.9);
    v->addWidget(vue_, 1);
    setCentralWidget(central);
    for (TBitmapLayer*& c : couches_) {
        c = vue_->addLayer();
        c->visible = false;
    }

    mercator_ = std::make_unique<TMercatorOblique>(this);
    mercator_->setWindowFlag(Qt::Window);

    connect(Button1, &QPushButton::clicked, this, [this] { ConstruireVuePolaire(); });
    connect(Seismes1, &QAction::triggered, this, &TVuePolaire::SeismesClick);
    connect(Volcans1, &QAction::triggered, this, &TVuePolaire::VolcansClick);
    connect(VecteursGPS1, &QAction::triggered, this, &TVuePolaire::VecteursGPSClick);
    connect(Cerclesautourdupole1, &QAction::triggered, this, &TVuePolaire::CerclesClick);
    connect(Limitesdeplaques1, &QAction::triggered, this, &TVuePolaire::LimitesClick);
    connect(VueMercator1, &QAction::triggered, this, &TVuePolaire::VueMercatorClick);
    connect(Copierlimage1, &QAction::triggered, this, &TVuePolaire::CopierlimageClick);
    connect(TailleCercle, &QScrollBar::valueChanged, this, &TVuePolaire::TailleCercleChange);
    connect(ValeurZoom, &QScrollBar::valueChanged, this, &TVuePolaire::ValeurZoomChange);
    connect(vue_, &TImageView::mouseMove, this, [this](QMouseEvent*, const QPoint& p) { afficherCurseur(p); });

    ecouteur_ = donnees_.ecouter([this](unsigned m) { donneesChangees(m); });
}

TVuePolaire::~TVuePolaire()
{
    donnees_.oublier(ecouteur_);
}

const TBitmap32& TVuePolaire::image() const
{
    return vue_->base();
}

PoleVue TVuePolaire::pole() const
{
    return {LatCentre->value(), LongCentre->value()};
}

bool TVuePolaire::construire(const PoleVue& pole)
{
    LatCentre->setValue(pole.latitude);
    LongCentre->setValue(pole.longitude);
    return ConstruireVuePolaire();
}

bool TVuePolaire::ConstruireVuePolaire()
{
    const TBitmap32& fond = carte_.scene().fond();
    if (fond.isEmpty()) {
        showError(QStringLiteral("Il manque l'image de la carte de fond"));
        return false;
    }
    const polaire::TProjectionPolaire projection(fond.height(), LatCentre->value(), LongCentre->value());
    const int decalage = carte_.Etat.Decalage;
    TBitmap32 image;
    try {
        executerAvecPatience([&] { polaire::construireImagePolaire(fond, decalage, projection, image); }, this);
    } catch (const std::bad_alloc&) {
        showError(QStringLiteral("Mémoire insuffisante pour construire la vue polaire : fermez d'autres fenêtres "
                                 "ou utilisez la carte la moins précise."));
        return false;
    }
    const int ancienHm = construite_ ? projection_.Hm() : 0;
    const QPoint centreVu = vue_->viewToMap(QPointF(vue_->viewport()->rect().center()));
    projection_ = projection;
    vecteurs_ = polaire::vecteursPolaires(fond.width());
    vue_->base() = std::move(image);
    for (TBitmapLayer* c : couches_)
        c->location = QRect(0, 0, projection_.largeur(), projection_.hauteur());
    {
        // Every radius of the bar is a circle the view can draw: 1 … Hm − 1. A
        // picture of another size keeps the circle's angle from the pole.
        const QSignalBlocker bloque(TailleCercle);
        const int rayon = ancienHm > 0 ? carte::arrondi(TailleCercle->value() * double(projection_.Hm()) / ancienHm)
                                       : TailleCercle->value();
        TailleCercle->setRange(1, std::max(1, projection_.Hm() - 1));
        TailleCercle->setPageStep(std::max(1, projection_.Hm() / 18));
        TailleCercle->setSingleStep(std::max(1, projection_.Hm() / 180));
        TailleCercle->setValue(rayon);
    }
    const bool autreTaille = ancienHm > 0 && ancienHm != projection_.Hm();
    if (autreTaille) {
        // And the view keeps showing the same part of the globe at the same size.
        const QSignalBlocker bloque(ValeurZoom);
        ValeurZoom->setValue(carte::arrondi(ValeurZoom->value() * double(ancienHm) / projection_.Hm()));
        vue_->setScale(polaire::echelleDeZoom(ValeurZoom->value(), ZoomMini, ZoomMaxi));
    }
    construite_ = true;
    ++constructions_;
    mercatorAJour_ = false;
    {
        Sablier s;
        if (Seismes1->isChecked())
            dessiner(Seismes);
        if (VecteursGPS1->isChecked())
            dessiner(GPS);
        if (Volcans1->isChecked())
            dessiner(Volcans);
        if (Cerclesautourdupole1->isChecked())
            dessiner(Cercles);
        if (Limitesdeplaques1->isChecked())
            dessiner(Plaques);
        if (couches_[Cercle]->visible)
            dessiner(Cercle);
    }
    dessineAvec_ = signature();
    vue_->baseChanged();
    if (autreTaille) {
        const double k = double(projection_.Hm()) / ancienHm, e = vue_->scale();
        const QSize v = vue_->viewport()->size();
        vue_->scrollToMap(QPoint(carte::arrondi(centreVu.x() * k - v.width() / 2.0 / e),
                                 carte::arrondi(centreVu.y() * k - v.height() / 2.0 / e)));
    }
    vue_->invalidate();
    return true;
}

void TVuePolaire::ajusterZoom()
{
    const int position =
        polaire::positionZoomAjustee(vue_->viewport()->width(), projection_.largeur(), ZoomMini, ZoomMaxi);
    if (position == ValeurZoom->value())
        ValeurZoomChange();
    else
        ValeurZoom->setValue(position);
    vue_->scrollToMap(QPoint(0, 0));
}

// --- Overlays ---

void TVuePolaire::dessiner(Couche c)
{
    if (!construite_)
        return;
    TBitmapLayer* l = couches_[c];
    TBitmap32& b = l->bitmap;
    const TDonnees& d = donnees_;
    const double echelle = vue_->scale();
    switch (c) {
    case Seismes:
        polaire::dessinerSeismesPolaires(b, d.TabSeismes, carte_.Reglages, projection_);
        break;
    case Volcans:
        polaire::dessinerVolcansPolaires(b, d.TabVolcans, carte_.Reglages, projection_);
        break;
    case GPS: {
        ReferenceVecteurs ref = ReferenceVecteurs::de(carte_.Etat);
        if (!d.rangValide(ref.station))
            ref = ReferenceVecteurs{};
        polaire::dessinerGPSPolaires(b, d.TabStations, carte_.Reglages, ref, vecteurs_, projection_);
        break;
    }
    case Cercles:
        polaire::dessinerCerclesPole(b, projection_.Hm(), echelle);
        epaisseurCercles_ = polaire::epaisseurCerclesPole(echelle);
        break;
    case Cercle:
        polaire::dessinerCercleRepere(b, projection_.Hm(), TailleCercle->value(), echelle);
        epaisseurCercle_ = polaire::epaisseurCercleRepere(echelle);
        break;
    case Plaques:
        if (b.width() != projection_.largeur() || b.height() != projection_.hauteur())
            b.setSize(projection_.largeur(), projection_.hauteur());
        if (!dessinerLimites || !dessinerLimites(b, projection_)) {
            Limitesdeplaques1->setChecked(false);
            cacher(Plaques);
            return;
        }
        break;
    case NbCouches:
        return;
    }
    l->location = QRect(0, 0, projection_.largeur(), projection_.hauteur());
    l->visible = true;
    vue_->invalidate();
}

void TVuePolaire::cacher(Couche c)
{
    // A hidden overlay gives back its memory: it is drawn again when shown.
    couches_[c]->visible = false;
    couches_[c]->bitmap.setSize(0, 0);
    vue_->invalidate();
}

void TVuePolaire::SeismesClick(bool coche)
{
    Seismes1->setChecked(coche);
    if (!coche) {
        cacher(Seismes);
        return;
    }
    Sablier s;
    TDonnees& d = donnees_;
    if (!d.SeismesCharges) {
        chargement_ = true;
        TCarte::signalerChargement(d.ChargerSeismes(carte_.Config.FichierSeismes));
        chargement_ = false;
    }
    dessiner(Seismes);
}

void TVuePolaire::VolcansClick(bool coche)
{
    Volcans1->setChecked(coche);
    if (!coche) {
        cacher(Volcans);
        return;
    }
    Sablier s;
    TDonnees& d = donnees_;
    if (!d.VolcansCharges) {
        chargement_ = true;
        TCarte::signalerChargement(d.ChargerVolcans(carte_.Config.FichierVolcans));
        chargement_ = false;
    }
    dessiner(Volcans);
}

void TVuePolaire::VecteursGPSClick(bool coche)
{
    VecteursGPS1->setChecked(coche);
    if (!coche) {
        cacher(GPS);
        return;
    }
    Sablier s;
    TDonnees& d = donnees_;
    if (!d.GPSCharges) {
        chargement_ = true;
        TCarte::signalerChargement(d.ChargerGPS(carte_.Config.FichierGPS));
        chargement_ = false;
    }
    dessiner(GPS);
}

void TVuePolaire::CerclesClick(bool coche)
{
    Cerclesautourdupole1->setChecked(coche);
    if (coche)
        dessiner(Cercles);
    else
        cacher(Cercles);
}

void TVuePolaire::LimitesClick(bool coche)
{
    Limitesdeplaques1->setChecked(coche);
    if (!coche) {
        cacher(Plaques);
        return;
    }
    Sablier s;
    dessiner(Plaques);
}

void TVuePolaire::activerLimites()
{
    Limitesdeplaques1->setEnabled(static_cast<bool>(dessinerLimites));
}

void TVuePolaire::TailleCercleChange()
{
    dessiner(Cercle);
}

void TVuePolaire::ValeurZoomChange()
{
    vue_->setScale(polaire::echelleDeZoom(ValeurZoom->value(), ZoomMini, ZoomMaxi));
    // The circles keep about a screen pixel of width at the new scale: drawn again
    // only when that takes another number of radii (the circles about the pole
    // take a tenth of a second on the large map).
    const double echelle = vue_->scale();
    if (couches_[Cercle]->visible && polaire::epaisseurCercleRepere(echelle) != epaisseurCercle_)
        dessiner(Cercle);
    if (couches_[Cercles]->visible && polaire::epaisseurCerclesPole(echelle) != epaisseurCercles_)
        dessiner(Cercles);
}

void TVuePolaire::donneesChangees(unsigned magasins)
{
    if (chargement_ || !construite_)
        return;
    if ((magasins & TDonnees::Seismes) && couches_[Seismes]->visible)
        dessiner(Seismes);
    if ((magasins & TDonnees::Volcans) && couches_[Volcans]->visible)
        dessiner(Volcans);
    if ((magasins & TDonnees::Stations) && couches_[GPS]->visible)
        dessiner(GPS);
}

QByteArray TVuePolaire::signature() const
{
    // What the overlays depend on besides the stores: the map's colours and
    // thresholds and the station taken as fixed.
    QByteArray s;
    QDataStream o(&s, QIODevice::WriteOnly);
    const ReglagesAffichage& r = carte_.Reglages;
    o << r.CouleurSeismes << r.CouleurStations << r.CouleurVecteurs << r.MagnitudeMini << r.ProfLimite
      << r.CorrectionVLat;
    for (TColor32 c : r.CouleurVolcans)
        o << c;
    o << carte_.Etat.StationRef << carte_.Etat.VitLatRef << carte_.Etat.VitLongRef;
    return s;
}

void TVuePolaire::actualiserCalques()
{
    if (!construite_ || signature() == dessineAvec_)
        return;
    Sablier s;
    for (Couche c : {Seismes, GPS, Volcans})
        if (couches_[c]->visible)
            dessiner(c);
    dessineAvec_ = signature();
}

void TVuePolaire::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        actualiserCalques();
    QMainWindow::changeEvent(e);
}

void TVuePolaire::afficherCurseur(const QPoint& pixel)
{
    polaire::PointGeo g;
    if (construite_ && projection_.PointPolaire(pixel.x(), pixel.y(), g)) {
        Latcurs->setText(carte::formatDecimal(g.latitude, 2));
        LongCurs->setText(carte::formatDecimal(g.longitude, 2));
    } else {
        Latcurs->clear();
        LongCurs->clear();
    }
}

// --- The unrolled view and the copy ---

void TVuePolaire::VueMercatorClick()
{
    if (!construite_)
        return;
    if (!mercatorAJour_) {
        TBitmap32 image;
        try {
            const TBitmap32& polaire = vue_->base();
            executerAvecPatience([&] { polaire::construireMercatorOblique(polaire, image); }, this);
        } catch (const std::bad_alloc&) {
            showError(QStringLiteral("Mémoire insuffisante pour construire la vue Mercator oblique."));
            return;
        }
        mercator_->installer(std::move(image));
        mercatorAJour_ = true;
        ++constructionsMercator_;
        afficherEnGrand(*mercator_);
        mercator_->ajusterZoom();
        return;
    }
    afficherEnGrand(*mercator_);
}

void TVuePolaire::CopierlimageClick()
{
    copierPartieAffichee(*vue_);
}
