#include "map/scene.h"

#include "ui/codecs.h"

TScene::TScene(TDonnees& donnees) : donnees_(donnees)
{
    for (int i = 0; i < NbCalques; ++i) {
        TBitmapLayer* l = pile_.addLayer();
        l->visible = false;
        l->drawMode = TBitmap32::DrawMode::Blend;
        l->masterAlpha = 255;
        calques_[static_cast<std::size_t>(i)] = l;
    }
    ecouteur_ = donnees_.ecouter([this](unsigned m) { donneesChangees(m); });
}

TScene::~TScene()
{
    donnees_.oublier(ecouteur_);
}

void TScene::repeindre(const QRect& r)
{
    if (aRepeindre)
        aRepeindre(r);
}

bool TScene::calqueAUneImage(Calque c) const
{
    return !calque(c)->bitmap.isEmpty();
}

void TScene::assurerCalque(Calque c)
{
    TBitmapLayer* l = calque(c);
    if (l->bitmap.width() != Etat.W || l->bitmap.height() != Etat.H)
        l->setSizeAndPlace(Etat.W, Etat.H);
    else
        l->location = QRect(0, 0, Etat.W, Etat.H);
}

void TScene::libererCalque(Calque c)
{
    calque(c)->bitmap.setSize(0, 0);
    repeindre();
}

void TScene::afficher(Calque c, bool oui)
{
    TBitmapLayer* l = calque(c);
    const bool avant = l->visible;
    l->visible = oui;
    if (oui) {
        switch (c) {
        case Calque::Seismes:
            dessinerSeismes();
            break;
        case Calque::Volcans:
            dessinerVolcans();
            break;
        case Calque::GPS:
            dessinerGPS();
            break;
        default:
            break;
        }
    }
    repeindre();
    if (avant != oui && affichageChange)
        affichageChange(c, oui);
}

// --- Drawing from the stores ---

void TScene::dessinerSeismes()
{
    enAttente_ &= ~static_cast<unsigned>(TDonnees::Seismes);
    assurerCalque(Calque::Seismes);
    ::dessinerSeismes(calque(Calque::Seismes)->bitmap, donnees_.TabSeismes, Reglages, Etat.projection());
    repeindre();
}

void TScene::dessinerVolcans()
{
    enAttente_ &= ~static_cast<unsigned>(TDonnees::Volcans);
    assurerCalque(Calque::Volcans);
    ::dessinerVolcans(calque(Calque::Volcans)->bitmap, donnees_.TabVolcans, Reglages, Etat.projection());
    repeindre();
}

void TScene::dessinerGPS()
{
    enAttente_ &= ~static_cast<unsigned>(TDonnees::Stations);
    verifierStationRef();
    if (Etat.StationRef >= 0)
        Etat.replacerStationRef();
    assurerCalque(Calque::GPS);
    ::dessinerGPS(calque(Calque::GPS)->bitmap, donnees_.TabStations, Reglages, Etat.projection(),
                  ReferenceVecteurs::de(Etat), Reglages.EchelleVecteurs, affiche(Calque::GPS), &ImageLegende);
    // A placed legend is merged into the GPS layer: its own layer goes.
    if (Reglages.LegendePlacee)
        calque(Calque::Legende)->visible = false;
    if (gpsRedessine)
        gpsRedessine();
    repeindre();
}

void TScene::donneesChangees(unsigned magasins)
{
    if (differe_ > 0) {
        enAttente_ |= magasins;
        return;
    }
    // A layer that holds a picture follows its store; the others are drawn when
    // they are first shown.
    if ((magasins & TDonnees::Seismes) && calqueAUneImage(Calque::Seismes))
        dessinerSeismes();
    if ((magasins & TDonnees::Volcans) && calqueAUneImage(Calque::Volcans))
        dessinerVolcans();
    if (magasins & TDonnees::Stations) {
        verifierStationRef();
        if (calqueAUneImage(Calque::GPS))
            dessinerGPS();
    }
}

TScene::Differe::Differe(TScene& s) : s_(s)
{
    ++s_.differe_;
}

TScene::Differe::~Differe()
{
    if (--s_.differe_ == 0) {
        const unsigned m = s_.enAttente_;
        s_.enAttente_ = 0;
        s_.donneesChangees(m);
    }
}

void TScene::reconstruireCalques()
{
    EtatReconstruction e;
    e.AgeAUneImage = calqueAUneImage(Calque::AgeFonds);
    e.TracesAUneImage = calqueAUneImage(Calque::Traces);
    e.SeismesCoche = affiche(Calque::Seismes);
    e.VolcansCoche = affiche(Calque::Volcans);
    e.GPSCoche = affiche(Calque::GPS);
    e.NiveauMarinCoche = affiche(Calque::NiveauMarin);
    e.PopulationCoche = affiche(Calque::Population);
    e.PlaquesAUneImage = calqueAUneImage(Calque::Plaques);
    for (EtapeReconstruction etape : ordreReconstruction(e)) {
        switch (etape) {
        case EtapeReconstruction::ReplacerCalques:
            for (int i = 0; i < NbCalques; ++i) {
                TBitmapLayer* l = calques_[static_cast<std::size_t>(i)];
                if (!l->bitmap.isEmpty() && l != calque(Calque::Legende))
                    l->location = QRect(0, 0, Etat.W, Etat.H);
            }
            break;
        case EtapeReconstruction::Seismes:
            dessinerSeismes();
            break;
        case EtapeReconstruction::Volcans:
            dessinerVolcans();
            break;
        case EtapeReconstruction::GPS:
            dessinerGPS();
            break;
        case EtapeReconstruction::Traces:
            if (redessinerTraces)
                redessinerTraces();
            break;
        case EtapeReconstruction::Age:
            if (redessinerSurcouche)
                redessinerSurcouche(Calque::AgeFonds);
            break;
        case EtapeReconstruction::NiveauMarin:
            if (redessinerSurcouche)
                redessinerSurcouche(Calque::NiveauMarin);
            break;
        case EtapeReconstruction::Population:
            if (redessinerSurcouche)
                redessinerSurcouche(Calque::Population);
            break;
        case EtapeReconstruction::Plaques:
            if (redessinerPlaques)
                redessinerPlaques();
            break;
        }
    }
    repeindre();
}

// --- Base picture and shift ---

void TScene::installerFond(TBitmap32&& pic)
{
    pile_.base = std::move(pic);
    Etat.W = pile_.base.width();
    Etat.H = pile_.base.height();
    pile_.base.rollHorizontal(carte::roulementPixels(Etat.Decalage, Etat.W));
    // The band layer follows the map's size from the start; the traces layer only
    // once something was kept. Both are cleared by a new size, so the tools forget
    // what they had drawn and the traces are redrawn by the rebuild that follows.
    TBitmapLayer* bande = calque(Calque::Interaction);
    bande->setSizeAndPlace(Etat.W, Etat.H);
    bande->visible = true;
    TBitmapLayer* traces = calque(Calque::Traces);
    if (!traces->bitmap.isEmpty())
        traces->setSizeAndPlace(Etat.W, Etat.H);
    if (fondChange)
        fondChange();
    repeindre();
}

bool TScene::changerFond(bool nb, bool precise, const NomsFonds& noms, QString* message)
{
    const ChoixFond c = choisirFond(nb, precise, Etat.FondNBAffiche, Etat.CartePrecise, noms);
    if (!c.charger)
        return true;
    TBitmap32 pic;
    if (!loadPicture(c.fichier, pic) || pic.isEmpty()) {
        if (message)
            *message = c.messageEchec;
        return false;
    }
    Etat.FondNBAffiche = c.FondNB;
    Etat.CartePrecise = c.Precise;
    installerFond(std::move(pic));
    return true;
}

void TScene::decaler(int nouveau)
{
    const int delta = nouveau - Etat.Decalage;
    if (delta == 0)
        return;
    const int dx = carte::roulementPixels(delta, Etat.W);
    pile_.base.rollHorizontal(dx);
    for (Calque c : {Calque::Seismes, Calque::Volcans, Calque::AgeFonds, Calque::NiveauMarin, Calque::Population})
        if (calqueAUneImage(c))
            calque(c)->bitmap.rollHorizontal(dx);
    Etat.fixerDecalage(nouveau);
    if (calqueAUneImage(Calque::GPS))
        dessinerGPS();
    // Redrawn rather than rolled: its legend stays in the corner of the map.
    if (calqueAUneImage(Calque::Plaques) && redessinerPlaques)
        redessinerPlaques();
    if (calqueAUneImage(Calque::Traces) && redessinerTraces)
        redessinerTraces();
    repeindre();
}

// --- Reference station and legend ---

bool TScene::verifierStationRef()
{
    if (!Etat.validerStationRef(donnees_.TabStations))
        return false;
    if (referenceChange)
        referenceChange();
    return true;
}

void TScene::choisirStationRef(int i)
{
    if (!donnees_.rangValide(i))
        return;
    Etat.choisirStationRef(donnees_.TabStations, i);
    if (referenceChange)
        referenceChange();
    dessinerGPS();
}

void TScene::remiseAZeroStationRef()
{
    Etat.remiseAZero();
    if (referenceChange)
        referenceChange();
    dessinerGPS();
}

void TScene::placerLegende(const QPoint& p)
{
    TBitmapLayer* l = calque(Calque::Legende);
    const QRect avant = l->location;
    l->location = QRect(p, ImageLegende.isEmpty() ? QSize(1, 1) : QSize(ImageLegende.width(), ImageLegende.height()));
    Reglages.PosLegendeX = p.x();
    Reglages.PosLegendeY = p.y();
    Reglages.LegendePlacee = true;
    repeindre(avant.united(l->location));
}

// --- Rendering ---

void TScene::rendreDans(const TViewPlacement& placement, const QRect& zoneVue, TBitmap32& cible,
                        const OptionsRendu& options) const
{
    std::vector<const TBitmapLayer*> couches;
    couches.reserve(NbCalques);
    for (int i = 0; i < NbCalques; ++i) {
        const TBitmapLayer* l = calques_[static_cast<std::size_t>(i)];
        const bool voulu = options.calques ? (*options.calques & (1u << i)) != 0 : l->visible;
        if (voulu)
            couches.push_back(l);
    }
    const TBitmap32& base = options.fond ? *options.fond : pile_.base;
    composeLayers(base, couches, placement, zoneVue, cible, options.fondVue);
}

void TScene::compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out, TColor32 background) const
{
    OptionsRendu o;
    o.fondVue = background;
    rendreDans(placement, area, out, o);
}

TBitmap32 TScene::rendre(const QRect& zone, const QSize& taille, const OptionsRendu& options) const
{
    TBitmap32 b;
    if (taille.isEmpty() || zone.isEmpty())
        return b;
    b.setSize(taille.width(), taille.height());
    TViewPlacement p;
    p.scale = static_cast<double>(taille.width()) / zone.width();
    p.offset = QPointF(-zone.left() * p.scale, -zone.top() * p.scale);
    rendreDans(p, b.boundsRect(), b, options);
    return b;
}
