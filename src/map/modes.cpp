#include "map/modes.h"

#include "map/outils.h"

#include "data/records.h"
#include "map/etatcarte.h"
#include "map/grille.h"
#include "map/projection.h"
#include "ui/dialogs.h"

#include <algorithm>

namespace carte {

DescriptionMode descriptionMode(Mode m)
{
    switch (m) {
    case Mode::Zone:
        return {"&Délimitation d'une zone", "Délimitation d'une zone", "Délimiter une zone sur la carte", true, false};
    case Mode::Coupe:
        return {"&Tracé d'une coupe", "Mode coupe", "Délimiter la coupe sur la carte", true, false};
    case Mode::Consultation:
        return {"&Consultation", "Mode consultation", "Carte", false, false};
    case Mode::GrandCercle:
        return {"Tracé d'arc de grand cercle", "Grand cercle", "tracé d'arc de grand cercle", false, false};
    case Mode::Trajet:
        return {"Suivre un trajet", "Suivi d'un trajet", "Suivi d'un trajet", true, false};
    case Mode::Zoom:
        return {"Zoom", "Mode Zoom", nullptr, false, true};
    }
    return {"", "", nullptr, false, true};
}

Effets& Effets::operator|=(const Effets& o)
{
    regionBande |= o.regionBande;
    regionTraces |= o.regionTraces;
    zonesBande.insert(zonesBande.end(), o.zonesBande.begin(), o.zonesBande.end());
    zonesTraces.insert(zonesTraces.end(), o.zonesTraces.begin(), o.zonesTraces.end());
    calqueTracesCree = calqueTracesCree || o.calqueTracesCree;
    if (o.deplacerEchelle)
        deplacerEchelle = o.deplacerEchelle;
    if (o.menuStation >= 0)
        menuStation = o.menuStation;
    if (o.nouvelleReference >= 0)
        nouvelleReference = o.nouvelleReference;
    selectionZone = selectionZone || o.selectionZone;
    if (o.loupe)
        loupe = o.loupe;
    lignesTable.insert(lignesTable.end(), o.lignesTable.begin(), o.lignesTable.end());
    return *this;
}

FiltreZone filtreDeZone(const BornesSelection& b, int longMinVisible, int longMaxVisible)
{
    FiltreZone f;
    f.Latmin = std::min(b.Lat1, b.Lat2);
    f.Latmax = std::max(b.Lat1, b.Lat2);
    auto vue = [&](int c) { return c > longMaxVisible ? c - 360 : (c < longMinVisible ? c + 360 : c); };
    if (vue(b.Lon1) < vue(b.Lon2)) {
        f.Longmin = b.Lon1;
        f.Longmax = b.Lon2;
    } else {
        f.Longmin = b.Lon2;
        f.Longmax = b.Lon1;
    }
    return f;
}

TInteraction::TInteraction()
{
    installerOutilsCarte(*this);
}

TInteraction::~TInteraction() = default;

void TInteraction::enregistrerOutil(int tag, std::unique_ptr<TOutilSouris> outil)
{
    outils_[tag] = std::move(outil);
}

TOutilSouris* TInteraction::outil(int tag) const
{
    const auto it = outils_.find(tag);
    return it == outils_.end() ? nullptr : it->second.get();
}

void TInteraction::noterTracesDessines(const std::vector<QRect>& zones, Effets& e)
{
    tracesOccupees_.insert(tracesOccupees_.end(), zones.begin(), zones.end());
    e.zonesTraces.insert(e.zonesTraces.end(), zones.begin(), zones.end());
}

// What a drag draws when the tool does not say otherwise: a straight rubber line
// from the press, the bounds following the pointer as grid indices.
void TOutilSouris::glisser(TInteraction& m, std::vector<QRect>& dessine)
{
    const QPoint a = m.pointAppui(), p = m.pointCourant();
    if (TBitmap32* b = m.bande()) {
        const TColor32 c = m.contexte().couleurTrace;
        b->lineAA(a.x(), a.y(), p.x(), p.y(), c);
        b->lineAA(a.x() + 1, a.y() + 1, p.x() + 1, p.y() + 1, c);
        zonesLigne(a.x(), a.y(), p.x() + 1, p.y() + 1, dessine);
    }
    const IndicesGrille g = m.indices(p);
    m.bornesModifiables().Lat2 = g.ligne;
    m.bornesModifiables().Lon2 = g.colonne;
}

void TInteraction::attacherCalques(TBitmap32* bande, TBitmap32* traces)
{
    bande_ = bande;
    traces_ = traces;
    bandeOccupee_.clear();
    tracesOccupees_.clear();
}

int TInteraction::W() const
{
    if (ctx_.etat)
        return ctx_.etat->W;
    return bande_ ? bande_->width() : 0;
}

int TInteraction::H() const
{
    if (ctx_.etat)
        return ctx_.etat->H;
    return bande_ ? bande_->height() : 0;
}

int TInteraction::decalage() const
{
    return ctx_.etat ? ctx_.etat->Decalage : 0;
}

int TInteraction::f() const
{
    return ctx_.grille ? ctx_.grille->f() : 6;
}

int TInteraction::altitude(const IndicesGrille& g) const
{
    return ctx_.grille ? ctx_.grille->altitude(g.ligne, g.colonne) : 0;
}

namespace {
const TDonnees& aucuneDonnee()
{
    static const TDonnees vide;
    return vide;
}
} // namespace

const std::vector<TStationGPS>& TInteraction::stations() const
{
    return (ctx_.donnees ? *ctx_.donnees : aucuneDonnee()).TabStations;
}

const std::vector<TStationGPS>& TInteraction::stationsTri() const
{
    return (ctx_.donnees ? *ctx_.donnees : aucuneDonnee()).TabTri;
}

const std::vector<TVolcan>& TInteraction::volcans() const
{
    return (ctx_.donnees ? *ctx_.donnees : aucuneDonnee()).TabVolcans;
}

PositionGeo TInteraction::versGeo(QPoint p) const
{
    if (W() <= 0 || H() <= 0)
        return {};
    return carteVersGeo(p.x(), p.y(), W(), H(), decalage());
}

IndicesGrille TInteraction::indices(QPoint p) const
{
    return indicesGrille(p.x(), p.y(), W(), H(), decalage(), f());
}

namespace {

// Clears the rectangles (clipped to the layer) and reports them for repainting.
void effacerZones(TBitmap32& calque, const std::vector<QRect>& zones, QRect& region, std::vector<QRect>& sortie)
{
    for (const QRect& z : zones) {
        const QRect r = z & calque.boundsRect();
        if (r.isEmpty())
            continue;
        calque.fillRect(r, clTransparentWhite32);
        region |= r;
        sortie.push_back(r);
    }
}

} // namespace

void TInteraction::clearBande(Effets& e)
{
    if (bande_)
        effacerZones(*bande_, bandeOccupee_, e.regionBande, e.zonesBande);
    bandeOccupee_.clear();
}

void TInteraction::noterBande(Effets& e, const std::vector<QRect>& zones)
{
    for (const QRect& z : zones) {
        const QRect r = bande_ ? (z & bande_->boundsRect()) : z;
        if (r.isEmpty())
            continue;
        bandeOccupee_.push_back(r);
        e.regionBande |= r;
        e.zonesBande.push_back(r);
    }
}

Effets TInteraction::effacerBande()
{
    Effets e;
    clearBande(e);
    return e;
}

bool TInteraction::assurerCalqueTraces(Effets& e)
{
    if (!traces_)
        return false;
    if (traces_->isEmpty() && W() > 0 && H() > 0) {
        traces_->setSize(W(), H());
        e.calqueTracesCree = true;
    }
    return !traces_->isEmpty();
}

Effets TInteraction::ChoisirMode(int tag)
{
    Effets e;
    // The six modes of the map, and those a view registered a tool for.
    if (tag < 0 || (tag > 5 && !outil(tag)))
        return e;
    clearBande(e);
    panneau_.okVisible = false;
    panneau_.panelDistVisible = false;
    finirTrajet();
    panneau_.commandesDelimitees = false;
    mode_ = static_cast<Mode>(tag);
    if (TOutilSouris* o = outil(tag))
        o->choisi(*this, e);
    return e;
}

Effets TInteraction::appui(int x, int y, BoutonSouris bouton)
{
    Effets e;
    panneau_.loupeVisible = false;
    if (bouton == BoutonSouris::Droit) {
        finirTrajet();
        finParDroit_ = true;
    }
    if (!trajetEnCours_) {
        appui_ = QPoint(x, y);
        cumul_ = 0;
    }
    if (ctx_.placementEchelle) {
        e.deplacerEchelle = appui_;
        return e;
    }
    geoAppui_ = versGeo(appui_);
    panneau_.distance.clear();
    etape_ = 0;
    const IndicesGrille g = indices(appui_);
    const int latEntiere = arrondi(geoAppui_.latitude);
    const int lonEntiere = arrondi(geoAppui_.longitude);
    panneau_.position = textesPositionAppui(lonEntiere, latEntiere, g.surGrille, altitude(g));
    TOutilSouris* o = outil(static_cast<int>(mode_));
    if (o && o->bornesEnDegres()) {
        bornes_.Lat1 = latEntiere;
        bornes_.Lon1 = lonEntiere;
    } else {
        bornes_.Lat1 = g.ligne;
        bornes_.Lon1 = g.colonne;
    }
    if (bouton == BoutonSouris::Gauche)
        panneau_.commandesDelimitees = false;
    if (o)
        o->appui(*this, bouton, e);
    return e;
}

void TInteraction::lectureMouvement(Effets&)
{
    const IndicesGrille g = indices(courant_);
    panneau_.position =
        textesPositionMouvement(geoCourant_.longitude, geoCourant_.latitude, g.surGrille, altitude(g));
    const TStationGPS* proche = nullptr;
    if (ctx_.gpsCoche) {
        const std::vector<TStationGPS>& liste = stationsTri().empty() ? stations() : stationsTri();
        const bool ref = ctx_.etat && ctx_.etat->StationRef >= 0;
        const LectureStation ls = lectureStation(liste, geoCourant_.longitude, geoCourant_.latitude, ref,
                                                 ref ? ctx_.etat->VitLatRef : 0, ref ? ctx_.etat->VitLongRef : 0);
        panneau_.station = ls.station;
        panneau_.vitesse = ls.vitesse;
        if (ls.indice >= 0)
            proche = &liste[static_cast<std::size_t>(ls.indice)];
    } else {
        // A hidden layer leaves no reading behind.
        panneau_.station.clear();
        panneau_.vitesse.clear();
    }
    if (ctx_.volcansCoche) {
        const LectureVolcan lv = lectureVolcan(volcans(), geoCourant_.longitude, geoCourant_.latitude);
        panneau_.volcanVisible = lv.indice >= 0;
        panneau_.nomVolcan = lv.nom;
        panneau_.altVolcan = lv.altitude;
        panneau_.typeVolcan = lv.type;
        panneau_.activiteVolcan = lv.activite;
    } else {
        panneau_.volcanVisible = false;
    }
    panneau_.plaque.clear();
    panneau_.vitesseModele.clear();
    if (completerLecture)
        completerLecture(geoCourant_, proche, panneau_);
}

Effets TInteraction::deplacement(int x, int y, bool gaucheEnfonce)
{
    Effets e;
    courant_ = QPoint(x, y);
    geoCourant_ = versGeo(courant_);
    if (ctx_.placementEchelle) {
        if (gaucheEnfonce)
            e.deplacerEchelle = courant_;
        return e;
    }
    lectureMouvement(e);

    TOutilSouris* o = outil(static_cast<int>(mode_));
    if ((gaucheEnfonce || trajetEnCours_) && (!o || o->mesureDistance())) {
        etape_ = distanceGrandCercle(geoAppui_.longitude, geoAppui_.latitude, geoCourant_.longitude,
                                     geoCourant_.latitude);
        panneau_.distance = texteDistance(etape_);
    }

    if (!trajetEnCours_ && !gaucheEnfonce)
        return e;

    // Only the pixels the band covered before are cleared, then the new band is
    // drawn; both regions are repainted.
    clearBande(e);
    const bool dessinPossible = bande_ && !bande_->isEmpty();
    std::vector<QRect> dessine;
    // The leg of a path in progress follows the pointer, button down or not.
    if (trajetEnCours_ && dessinPossible) {
        const TSegmentGeo s{geoAppui_.latitude, geoAppui_.longitude, geoCourant_.latitude, geoCourant_.longitude};
        TraceGrandCercle(s, ctx_.couleurTrace, *bande_, decalage(), &dessine);
    }
    if (gaucheEnfonce) {
        // Without a layer to draw on, the tools still follow the pointer.
        TBitmap32* b = bande_;
        if (!dessinPossible)
            bande_ = nullptr;
        if (o)
            o->glisser(*this, dessine);
        else
            TOutilSouris().glisser(*this, dessine);
        bande_ = b;
    }
    noterBande(e, dessine);
    return e;
}

Effets TInteraction::relachement(int x, int y, BoutonSouris bouton)
{
    Effets e;
    relache_ = QPoint(x, y);
    if (ctx_.placementEchelle)
        return e;
    const PositionGeo geoRelache = versGeo(relache_);
    TOutilSouris* o = outil(static_cast<int>(mode_));
    panneau_.okVisible = o && o->okApresRelachement(*this);
    if (!o || o->mesureDistance()) {
        etape_ = distanceGrandCercle(geoAppui_.longitude, geoAppui_.latitude, geoRelache.longitude,
                                     geoRelache.latitude);
        panneau_.distance = texteDistance(etape_);
    }
    if (o)
        o->relachement(*this, geoRelache, bouton, e);
    return e;
}

Effets TInteraction::doubleClic()
{
    Effets e;
    if (TOutilSouris* o = outil(static_cast<int>(mode_)))
        o->doubleClic(*this, e);
    return e;
}

Effets TInteraction::conserverLesTraces()
{
    conserver_ = !conserver_;
    finirTrajet();
    return {};
}

Effets TInteraction::effacerLesTraces()
{
    Effets e;
    if (!traces_ || traces_->isEmpty())
        return e;
    if (!askOkCancel(QStringLiteral("Atention, les repères seront perdus")))
        return e;
    if (bande_ && !bande_->isEmpty()) {
        bande_->clear();
        e.regionBande = bande_->boundsRect();
        e.zonesBande.push_back(e.regionBande);
    }
    bandeOccupee_.clear();
    traces_->clear();
    tracesOccupees_.clear();
    e.regionTraces = traces_->boundsRect();
    e.zonesTraces.push_back(e.regionTraces);
    arcs.clear();
    coupes.clear();
    groupes.clear();
    cumul_ = 0;
    panneau_.distanceCumulee = texteDistanceCumulee(0);
    return e;
}

Effets TInteraction::effacerDernierGrandCercle()
{
    Effets e;
    if (arcs.empty())
        return e;
    clearBande(e);
    arcs.pop_back();
    e |= RedessinerTraces();
    return e;
}

Effets TInteraction::effacerDerniereCoupe()
{
    Effets e;
    if (coupes.empty())
        return e;
    clearBande(e);
    coupes.pop_back();
    e |= RedessinerTraces();
    return e;
}

Effets TInteraction::raz()
{
    Effets e;
    cumul_ = 0;
    panneau_.distanceCumulee = texteDistanceCumulee(0);
    panneau_.panelDistVisible = mode_ == Mode::Trajet;
    lignesTrajet_ = 0;
    if (!conserver_)
        e |= RedessinerTraces();
    return e;
}

Effets TInteraction::okClic()
{
    Effets e;
    panneau_.okVisible = false;
    if (TOutilSouris* o = outil(static_cast<int>(mode_)))
        o->ok(*this, e);
    return e;
}

Effets TInteraction::loupeClic(int largeurClient, int hauteurClient)
{
    Effets e;
    panneau_.loupeVisible = false;
    const double emin = ctx_.etat ? ctx_.etat->EchelleMin : 1.0;
    const double emax = ctx_.etat ? ctx_.etat->EchelleMax : 1.0;
    e.loupe = calculerLoupe(bornes_, relacheAGauche(), emin, emax, largeurClient, hauteurClient, H());
    return e;
}

Effets TInteraction::ajouterReperes(TGrilleReperes& grille, bool ajouter)
{
    Effets e;
    if (grille.relier) {
        cumul_ = 0;
        etape_ = 0;
        panneau_.panelDistVisible = true;
    }
    if (ajouter) {
        groupes.emplace_back();
    } else {
        groupes.resize(1);
        groupes[0] = GroupeReperes();
    }
    GroupeReperes& g = groupes.back();
    g.reperes = lireReperesGrille(grille);
    // The rows left out are told in one message; the table marks their cells.
    if (!grille.lignesIgnorees.empty())
        showWarning(messageLignesIgnorees(grille.lignesIgnorees));
    g.relier = grille.relier;
    g.grandsCercles = grille.grandsCercles;
    if (!g.reperes.empty()) {
        assurerCalqueTraces(e);
        e |= RedessinerTraces();
        if (mode_ == Mode::Trajet && groupes.back().reperes.size() > 1) {
            cumul_ = longueurGroupe(groupes.back().reperes);
            panneau_.distanceCumulee = texteDistanceCumulee(cumul_);
        }
    } else {
        groupes.pop_back();
        // The groups replaced by this empty one must leave the map too.
        if (!ajouter)
            e |= RedessinerTraces();
    }
    return e;
}

Effets TInteraction::RedessinerTraces()
{
    Effets e;
    if (!traces_ || traces_->isEmpty())
        return e;
    // Everything drawn on this layer since the last clear lies inside the
    // rectangles of tracesOccupees_; clearing those only keeps redraws cheap on
    // large maps.
    effacerZones(*traces_, tracesOccupees_, e.regionTraces, e.zonesTraces);
    std::vector<QRect> dessine;
    e.regionTraces |= dessinerGroupesReperes(groupes, *traces_, decalage(), ctx_.styleReperes, &dessine);
    for (const TSegmentGeo& s : arcs)
        e.regionTraces |= TraceGrandCercle(s, ctx_.couleurGrandCercle, *traces_, decalage(), &dessine);
    if (dessinerCoupeGardee)
        for (const TCoupeGardee& c : coupes) {
            const QRect r = dessinerCoupeGardee(c, *traces_);
            dessine.push_back(r);
            e.regionTraces |= r;
        }
    tracesOccupees_ = dessine;
    e.zonesTraces.insert(e.zonesTraces.end(), dessine.begin(), dessine.end());
    return e;
}

} // namespace carte
