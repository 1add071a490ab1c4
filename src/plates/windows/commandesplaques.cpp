#include "plates/windows/commandesplaques.h"

#include "map/lecture.h"
#include "map/windows/delimCarte.h"
#include "map/windows/echage.h"
#include "plates/windows/ajustementpole.h"
#include "projections/windows/commandevuepolaire.h"
#include "projections/windows/vuepolaire.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QMenu>
#include <QSpinBox>

#include <algorithm>
#include <set>
#include <cmath>

namespace {

constexpr TColor32 CouleurModele = 0xFFFF6A00;  // predicted velocities: deep orange
constexpr TColor32 CouleurResidus = 0xFF00D8FF; // residuals of a fit: cyan

class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

double angleEntre(const plaques::Pole& a, const plaques::Pole& b)
{
    const double c = plaques::produitScalaire(plaques::unitaire(a.longitude, a.latitude),
                                              plaques::unitaire(b.longitude, b.latitude));
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180.0 / M_PI;
}

} // namespace

TCommandesPlaques::TCommandesPlaques(TCarte& carte) : QObject(&carte), carte_(carte)
{
    Limites_ = carte_.commande("Limitesdeplaques1");
    Modele_ = carte_.commande("Vecteursdumodele1");
    Ajuster_ = carte_.commande("Ajusterunpoleeulerien1");
    menuReference_ = carte_.menu("Plaquedereferencedumodele1");
    for (QAction* a : {Limites_, Modele_, Ajuster_, menuReference_->menuAction()})
        a->setEnabled(true);
    connect(Limites_, &QAction::triggered, this, [this] { LimitesdeplaquesClick(); });
    connect(Modele_, &QAction::triggered, this, [this] { VecteursdumodeleClick(); });
    connect(Ajuster_, &QAction::triggered, this, [this] { AjusterunpoleeulerienClick(); });
    connect(carte_.commande("Viderlamemoire1"), &QAction::triggered, this, [this] { viderMemoire(); });

    // The plates by their French names; the list is the model's, known before it loads.
    groupeReference_ = new QActionGroup(this);
    QStringList codes = plaques::codesPlaques();
    std::sort(codes.begin(), codes.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(plaques::nomPlaque(a), plaques::nomPlaque(b)) < 0;
    });
    for (const QString& c : codes) {
        QAction* a = menuReference_->addAction(plaques::nomPlaque(c));
        a->setObjectName(QStringLiteral("Reference") + c);
        a->setCheckable(true);
        a->setChecked(c == plaqueRef_);
        a->setData(c);
        groupeReference_->addAction(a);
        connect(a, &QAction::triggered, this, [this, c] { choisirPlaqueDeReference(c); });
    }

    connect(&carte_, &TCarte::fermeture, this, [this] { debrancher(); });
    // Hiding the GPS layer takes the model vectors with it.
    connect(&carte_, &TCarte::calqueAffiche, this, [this](Calque c, bool) {
        if (c == Calque::GPS)
            dessinerVecteurs();
    });
    TScene& s = carte_.scene();
    s.redessinerPlaques = [this] { dessinerLimites(); };
    s.gpsRedessine = [this] { dessinerVecteurs(); };
    carte_.Interaction.completerLecture = [this](const carte::PositionGeo& g, const TStationGPS* st,
                                                 carte::EtatPanneau& p) {
        completerLecture(g.longitude, g.latitude, st, p.plaque, p.vitesseModele);
    };
}

TCommandesPlaques::~TCommandesPlaques()
{
    debrancher();
}

void TCommandesPlaques::debrancher()
{
    // Once the map has begun its destruction (this object is one of its children,
    // deleted after its members) it is no longer touched.
    if (debranche_)
        return;
    debranche_ = true;
    TScene& s = carte_.scene();
    s.redessinerPlaques = nullptr;
    s.gpsRedessine = nullptr;
    carte_.Interaction.completerLecture = nullptr;
}

bool TCommandesPlaques::chargerModele()
{
    if (modele_.contoursCharges() && modele_.polesCharges() && modele_.limitesChargees())
        return true;
    QString erreur;
    {
        Sablier sablier;
        if (!modele_.charger(carte_.Config.DossierDepart, erreur)) {
            modele_ = plaques::TModelePlaques();
        } else {
            rotations_ = plaques::rotationsDesPlaques(modele_);
            plaquesStations_.oublier();
            return true;
        }
    }
    showWarning(erreur + QStringLiteral("\nLes fichiers des plaques (plaques_limites.txt, plaques_contours.txt, "
                                        "plaques_poles.txt) sont construits par orbiplate-data."));
    return false;
}

// --- Boundaries ---

void TCommandesPlaques::LimitesdeplaquesClick()
{
    TScene& s = carte_.scene();
    if (!Limites_->isChecked()) {
        s.afficher(Calque::Plaques, false);
        if (legende_)
            legende_->hide();
        return;
    }
    if (!chargerModele()) {
        Limites_->setChecked(false);
        return;
    }
    {
        Sablier sablier;
        dessinerLimites();
    }
    s.afficher(Calque::Plaques, true);
    if (!legende_) {
        legende_ = new TEchage(&carte_);
        legende_->setObjectName(QStringLiteral("LegendePlaques"));
        legende_->setWindowTitle(QStringLiteral("Limites de plaques"));
        plaques::StyleLimites style;
        legende_->montrer(plaques::legendeLimites(style));
        const QRect g = carte_.geometry();
        legende_->move(std::max(g.left(), g.right() - legende_->width() - 30),
                       std::max(g.top(), g.bottom() - legende_->height() - 80));
    }
    legende_->show();
    legende_->raise();
}

void TCommandesPlaques::dessinerLimites()
{
    if (!modele_.limitesChargees())
        return;
    TScene& s = carte_.scene();
    s.assurerCalque(Calque::Plaques);
    plaques::StyleLimites style;
    style.echelle = std::max(1.0, s.Etat.W / 3600.0);
    plaques::dessinerLimites(s.calque(Calque::Plaques)->bitmap, modele_.limites, s.Etat.projection(), style,
                             &tracesLimites_);
    if (s.aRepeindre)
        s.aRepeindre(QRect());
}

// --- Model vectors and residuals ---

void TCommandesPlaques::VecteursdumodeleClick()
{
    if (Modele_->isChecked() && !chargerModele()) {
        Modele_->setChecked(false);
        return;
    }
    if (Modele_->isChecked() && !carte_.scene().affiche(Calque::GPS)) {
        carte_.afficherGPS(); // draws the model vectors too
        return;
    }
    Sablier sablier;
    dessinerVecteurs();
}

void TCommandesPlaques::choisirPlaqueDeReference(const QString& code)
{
    plaqueRef_ = code;
    for (QAction* a : groupeReference_->actions())
        a->setChecked(a->data().toString() == code);
    if (Modele_->isChecked())
        dessinerVecteurs();
}

int TCommandesPlaques::plaqueB() const
{
    const TScene& s = carte_.scene();
    const auto& st = carte_.scene().donnees().TabStations;
    if (s.Etat.StationRef >= 0 && static_cast<std::size_t>(s.Etat.StationRef) < st.size()) {
        const TStationGPS& r = st[static_cast<std::size_t>(s.Etat.StationRef)];
        return modele_.plaqueEn(r.Longitude, r.Latitude);
    }
    return rotations_.indice(modele_, plaqueRef_);
}

bool TCommandesPlaques::vitesseModele(double longitude, double latitude, plaques::VitesseSurface& v) const
{
    if (!modele_.contoursCharges())
        return false;
    const int a = modele_.plaqueEn(longitude, latitude), b = plaqueB();
    const int n = static_cast<int>(rotations_.omega.size());
    if (a < 0 || b < 0 || a >= n || b >= n || !rotations_.aUnPole[static_cast<std::size_t>(a)]
        || !rotations_.aUnPole[static_cast<std::size_t>(b)])
        return false;
    v = plaques::vitessePredite(rotations_.omega[static_cast<std::size_t>(a)] - rotations_.omega[static_cast<std::size_t>(b)],
                                longitude, latitude);
    return true;
}

void TCommandesPlaques::majVisibiliteVecteurs()
{
    TScene& s = carte_.scene();
    const bool residus = fenetre_ && fenetre_->isVisible() && fenetre_->AfficherResidus->isChecked() && fenetre_->resultat();
    const bool voulu = (Modele_->isChecked() || residus) && s.affiche(Calque::GPS);
    s.calque(Calque::VecteursModele)->visible = voulu && s.calqueAUneImage(Calque::VecteursModele);
}

void TCommandesPlaques::dessinerVecteurs()
{
    TScene& s = carte_.scene();
    const bool residus = fenetre_ && fenetre_->isVisible() && fenetre_->AfficherResidus->isChecked() && fenetre_->resultat();
    const bool modele = Modele_->isChecked() && modele_.contoursCharges();
    if (!(modele || residus) || !s.affiche(Calque::GPS)) {
        if (s.calqueAUneImage(Calque::VecteursModele))
            plaques::effacerTraces(s.calque(Calque::VecteursModele)->bitmap, tracesVecteurs_);
        majVisibiliteVecteurs();
        if (s.aRepeindre)
            s.aRepeindre(QRect());
        return;
    }
    s.assurerCalque(Calque::VecteursModele);
    TBitmap32& b = s.calque(Calque::VecteursModele)->bitmap;
    plaques::effacerTraces(b, tracesVecteurs_);
    const carte::TPlateCarree proj = s.Etat.projection();
    const int epaisseur = s.Reglages.PointsEpais ? 1 : 0;
    if (modele) {
        const auto& st = s.donnees().TabStations;
        const std::vector<plaques::VecteurCalcule> v =
            plaques::vecteursModele(st, plaquesStations_.pour(st, modele_), rotations_, plaqueB());
        // Thin over the measured vectors, so that both stay in view.
        plaques::dessinerVecteurs(b, v, proj, s.Reglages.EchelleVecteurs, CouleurModele, 0, &tracesVecteurs_);
    }
    if (residus) {
        std::vector<plaques::VecteurCalcule> v;
        for (const plaques::StationAjustee& a : fenetre_->resultat()->stations)
            v.push_back({a.longitude, a.latitude, a.residu.est, a.residu.nord});
        plaques::dessinerVecteurs(b, v, proj, s.Reglages.EchelleVecteurs * fenetre_->Agrandissement->value(),
                                  CouleurResidus, epaisseur, &tracesVecteurs_);
    }
    majVisibiliteVecteurs();
    if (s.aRepeindre)
        s.aRepeindre(QRect());
}

void TCommandesPlaques::completerLecture(double longitude, double latitude, const TStationGPS* station,
                                         QString& plaque, QString& vitesse) const
{
    const TScene& s = carte_.scene();
    if (!modele_.contoursCharges())
        return;
    if (s.affiche(Calque::Plaques)) {
        const int i = modele_.plaqueEn(longitude, latitude);
        plaque = QStringLiteral("Plaque : ")
                 + (i < 0 ? QString() : plaques::nomPlaque(modele_.contours[static_cast<std::size_t>(i)].code));
    }
    plaques::VitesseSurface v;
    if (station && Modele_->isChecked() && vitesseModele(station->Longitude, station->Latitude, v))
        vitesse = QStringLiteral("prédite par le modèle : ") + carte::formatDecimal(v.norme(), 2)
                  + QStringLiteral(" mm/an");
}

// --- Pole fit ---

void TCommandesPlaques::AjusterunpoleeulerienClick()
{
    const std::vector<TStationGPS>& choisies = carte_.donnees().TabTri;
    if (choisies.empty()) {
        showWarning(QStringLiteral("Aucune station GPS n'est sélectionnée : délimitez une zone sur la carte "
                                   "(menu Mode, « Délimitation d'une zone »), cliquez sur OK pour sélectionner "
                                   "ses stations, puis ajustez le pôle."));
        return;
    }
    plaques::ResultatAjustement r;
    {
        Sablier sablier;
        r = plaques::ajusterRotation(choisies);
    }
    if (!r.ok) {
        showWarning(r.erreur);
        return;
    }
    // The plate of most stations names the fit; with the previous fit, the
    // relative rotation of the two (free of the catalogue's frame) is set beside
    // the model's pole for the same pair.
    const bool modele = modele_.contoursCharges() || chargerModeleSilencieux();
    const int plaque = modele ? plaques::plaqueMajoritaire(choisies, modele_) : -1;
    const QString nom = plaque >= 0 ? plaques::nomPlaque(modele_.contours[static_cast<std::size_t>(plaque)].code) : QString();
    QString comparaison;
    if (precedent_) {
        const plaques::Pole rel = plaques::poleDe(plaques::rotationRelative(r.omega, precedent_->omega));
        const QString nomPrec = plaquePrecedente_ >= 0
                                    ? plaques::nomPlaque(modele_.contours[static_cast<std::size_t>(plaquePrecedente_)].code)
                                    : QStringLiteral("sans plaque");
        comparaison = QStringLiteral("<b>Par rapport à l'ajustement précédent</b> (%1, %2 stations) :<br>%3")
                          .arg(nomPrec.toHtmlEscaped())
                          .arg(precedent_->nbStations)
                          .arg(plaques::textePole(rel));
        plaques::Vec3 w;
        if (plaque >= 0 && plaquePrecedente_ >= 0 && plaque != plaquePrecedente_
            && plaques::rotationCouple(modele_, modele_.contours[static_cast<std::size_t>(plaque)].code,
                                       modele_.contours[static_cast<std::size_t>(plaquePrecedente_)].code, w)) {
            const plaques::Pole pb = plaques::poleDe(w);
            comparaison += QStringLiteral("<br>Modèle PB2002, %1 par rapport à %2 :<br>%3<br>Écart entre les deux "
                                          "pôles : %4° ; rapport des vitesses angulaires : %5")
                               .arg(nom.toHtmlEscaped(), nomPrec.toHtmlEscaped(), plaques::textePole(pb),
                                    carte::formatDecimal(angleEntre(rel, pb), 1),
                                    carte::formatDecimal(pb.vitesse > 0 ? rel.vitesse / pb.vitesse : 0, 2));
        }
    }
    if (!fenetre_) {
        fenetre_ = new TAjustementPole(&carte_);
        fenetre_->residusChanges = [this] { dessinerVecteurs(); };
        fenetre_->installEventFilter(this);
    }
    fenetre_->ouvrirVuePolaire = ouvrirVuePolaire;
    const bool premiere = !fenetre_->isVisible() && !fenetre_->property("place").toBool();
    fenetre_->montrer(r, nom, comparaison);
    if (premiere) {
        // At the top right of the map, clear of the menus and of the west of the map.
        const QRect g = carte_.geometry();
        fenetre_->move(std::max(g.left(), g.right() - fenetre_->width() - 30), g.top() + 90);
        fenetre_->setProperty("place", true);
    }
    precedent_ = r;
    plaquePrecedente_ = plaque;
    if (!carte_.scene().affiche(Calque::GPS))
        carte_.afficherGPS();
    else
        dessinerVecteurs();
}

void TCommandesPlaques::brancherVuePolaire(TCommandeVuePolaire& polaire)
{
    polaire_ = &polaire;
    TVuePolaire& v = polaire.vue();
    v.dessinerLimites = [this](TBitmap32& b, const polaire::TProjectionPolaire& proj) {
        if (!chargerModele())
            return false;
        plaques::StyleLimites style;
        style.echelle = std::max(1.0, proj.Hm() / 1800.0);
        plaques::dessinerLimites(b, modele_.limites, proj, style);
        return true;
    };
    v.activerLimites();
    ouvrirVuePolaire = [this](double lat, double lon) { polaire_->ouvrirAutourDe(lat, lon); };
    if (fenetre_)
        fenetre_->ouvrirVuePolaire = ouvrirVuePolaire;
    // The pole lists are filled when the dialog or the view first shows.
    polaire.choixPole().installEventFilter(this);
    v.installEventFilter(this);
}

std::vector<PoleNomme> TCommandesPlaques::couplesVoisins()
{
    std::vector<PoleNomme> c;
    if (!(modele_.polesCharges() && modele_.limitesChargees()) && !chargerModeleSilencieux())
        return c;
    std::set<std::pair<QString, QString>> vus;
    for (const plaques::SegmentLimite& s : modele_.limites) {
        QString a = plaques::nomPlaque(s.gauche), b = plaques::nomPlaque(s.droite);
        QString ca = s.gauche, cb = s.droite;
        if (QString::localeAwareCompare(a, b) > 0) {
            std::swap(a, b);
            std::swap(ca, cb);
        }
        if (ca == cb || !vus.insert({ca, cb}).second)
            continue;
        plaques::Vec3 w;
        if (!plaques::rotationCouple(modele_, ca, cb, w))
            continue;
        const plaques::Pole p = plaques::poleDe(w);
        c.push_back({a + QStringLiteral(" / ") + b, p.latitude, p.longitude, p.vitesse});
    }
    std::sort(c.begin(), c.end(),
              [](const PoleNomme& x, const PoleNomme& y) { return QString::localeAwareCompare(x.nom, y.nom) < 0; });
    return c;
}

bool TCommandesPlaques::eventFilter(QObject* o, QEvent* e)
{
    if (polaire_ && e->type() == QEvent::Show
        && (o == &polaire_->choixPole() || o == &polaire_->vue())) {
        TChoixPole& d = polaire_->choixPole();
        TVuePolaire& v = polaire_->vue();
        if (d.CouplePlaques->poles().empty() || v.CouplePlaques->poles().empty()) {
            const std::vector<PoleNomme> c = couplesVoisins();
            if (d.CouplePlaques->poles().empty())
                d.definirCouples(c);
            if (v.CouplePlaques->poles().empty())
                v.CouplePlaques->definir(c);
        }
    }
    // The residuals go with their window.
    if (o == fenetre_ && (e->type() == QEvent::Hide || e->type() == QEvent::Show))
        QMetaObject::invokeMethod(this, [this] { dessinerVecteurs(); }, Qt::QueuedConnection);
    return QObject::eventFilter(o, e);
}

bool TCommandesPlaques::chargerModeleSilencieux()
{
    QString erreur;
    if (!modele_.charger(carte_.Config.DossierDepart, erreur)) {
        modele_ = plaques::TModelePlaques();
        return false;
    }
    rotations_ = plaques::rotationsDesPlaques(modele_);
    plaquesStations_.oublier();
    return true;
}

void TCommandesPlaques::viderMemoire()
{
    TScene& s = carte_.scene();
    if (!s.affiche(Calque::Plaques)) {
        s.libererCalque(Calque::Plaques);
        tracesLimites_ = {};
    }
    if (!s.affiche(Calque::VecteursModele)) {
        s.libererCalque(Calque::VecteursModele);
        tracesVecteurs_ = {};
    }
}
