#include "map/outils.h"

#include "map/etatcarte.h"

namespace carte {

void installerOutilsCarte(TInteraction& m)
{
    m.enregistrerOutil(static_cast<int>(Mode::Consultation), std::make_unique<TOutilConsultation>());
    m.enregistrerOutil(static_cast<int>(Mode::Zone), std::make_unique<TOutilZone>());
    m.enregistrerOutil(static_cast<int>(Mode::GrandCercle), std::make_unique<TOutilGrandCercle>());
    m.enregistrerOutil(static_cast<int>(Mode::Trajet), std::make_unique<TOutilTrajet>());
    m.enregistrerOutil(static_cast<int>(Mode::Coupe), std::make_unique<TOutilLigneCoupe>());
}

// --- Consultation ---

void TOutilConsultation::appui(TInteraction& m, BoutonSouris b, Effets& e)
{
    const PositionGeo g = m.positionCourante();
    if (b == BoutonSouris::Droit && m.contexte().gpsCoche)
        e.menuStation = stationLaPlusProche(m.stations(), g.longitude, g.latitude);
}

void TOutilConsultation::doubleClic(TInteraction& m, Effets& e)
{
    const PositionGeo g = m.positionCourante();
    e.nouvelleReference = stationLaPlusProche(m.stations(), g.longitude, g.latitude);
}

// --- Zone ---

void TOutilZone::choisi(TInteraction& m, Effets&)
{
    m.etapeModifiable() = 0;
    m.panneauModifiable().distance.clear();
}

void TOutilZone::glisser(TInteraction& m, std::vector<QRect>& dessine)
{
    const QPoint a = m.pointAppui(), p = m.pointCourant();
    const QRect cadre(QPoint(std::min(a.x(), p.x()), std::min(a.y(), p.y())),
                      QPoint(std::max(a.x(), p.x()), std::max(a.y(), p.y())));
    if (TBitmap32* b = m.bande()) {
        const TColor32 c = m.contexte().couleurTrace;
        b->frameRect(cadre, c);
        // Large maps are shown shrunk: a second frame just inside keeps every
        // side on the screen.
        if (m.W() >= 1800 && cadre.width() > 2 && cadre.height() > 2)
            b->frameRect(cadre.adjusted(1, 1, -1, -1), c);
        // The four sides only, not the inside of the frame.
        dessine.push_back(QRect(cadre.left() - 1, cadre.top() - 1, cadre.width() + 2, 3));
        dessine.push_back(QRect(cadre.left() - 1, cadre.bottom() - 1, cadre.width() + 2, 3));
        dessine.push_back(QRect(cadre.left() - 1, cadre.top() - 1, 3, cadre.height() + 2));
        dessine.push_back(QRect(cadre.right() - 1, cadre.top() - 1, 3, cadre.height() + 2));
    }
    m.definirRelache(p);
    const PositionGeo g = m.positionCourante();
    m.bornesModifiables().Lat2 = arrondi(g.latitude);
    m.bornesModifiables().Lon2 = arrondi(g.longitude);
}

void TOutilZone::relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris, Effets&)
{
    EtatPanneau& p = m.panneauModifiable();
    p.commandesDelimitees = true;
    // The zone ends where the button is released, also when the pointer did not
    // move since the press (a plain click must not reuse an older zone's corner).
    m.bornesModifiables().Lat2 = arrondi(ou.latitude);
    m.bornesModifiables().Lon2 = arrondi(ou.longitude);
    p.loupeVisible = loupeProposee(m.bornes());
}

bool TOutilZone::okApresRelachement(const TInteraction& m) const
{
    // OK selects the zone's stations: offered while they are shown.
    return m.contexte().gpsCoche;
}

void TOutilZone::ok(TInteraction&, Effets& e)
{
    e.selectionZone = true;
}

// --- Great circle ---

void TOutilGrandCercle::glisser(TInteraction& m, std::vector<QRect>& dessine)
{
    if (TBitmap32* b = m.bande()) {
        const PositionGeo a = m.positionAppui(), g = m.positionCourante();
        const TSegmentGeo s{a.latitude, a.longitude, g.latitude, g.longitude};
        TraceGrandCercle(s, m.contexte().couleurGrandCercle, *b, m.decalage(), &dessine);
    }
}

void TOutilGrandCercle::relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris, Effets& e)
{
    if (!m.conserver())
        return;
    const PositionGeo a = m.positionAppui();
    const TSegmentGeo s{a.latitude, a.longitude, ou.latitude, ou.longitude};
    m.arcs.push_back(s);
    if (m.assurerCalqueTraces(e)) {
        std::vector<QRect> zones;
        e.regionTraces |= TraceGrandCercle(s, m.contexte().couleurGrandCercle, *m.traces(), m.decalage(), &zones);
        m.noterTracesDessines(zones, e);
    }
}

// --- Path ---

void TOutilTrajet::choisi(TInteraction& m, Effets&)
{
    m.panneauModifiable().panelDistVisible = true;
}

void TOutilTrajet::relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris, Effets& e)
{
    bool& enCours = m.trajetEnCoursModifiable();
    if (m.finParDroitModifiable()) {
        // A right click ends the path.
        m.clearBande(e);
        m.finirTrajet();
        m.finParDroitModifiable() = false;
        return;
    }
    if (enCours) {
        m.cumulModifiable() += m.distanceEtape();
        m.panneauModifiable().distanceCumulee = texteDistanceCumulee(m.distanceCumulee());
    } else {
        if (m.conserver()) {
            GroupeReperes g;
            g.relier = true;
            g.grandsCercles = true;
            m.groupes.push_back(g);
        } else {
            e |= m.RedessinerTraces();
        }
        enCours = true;
    }
    const PositionGeo a = m.positionAppui();
    if (m.assurerCalqueTraces(e)) {
        const TSegmentGeo s{a.latitude, a.longitude, ou.latitude, ou.longitude};
        std::vector<QRect> zones;
        e.regionTraces |= TraceGrandCercle(s, m.contexte().couleurTrace, *m.traces(), m.decalage(), &zones);
        m.noterTracesDessines(zones, e);
    }
    m.definirAppui(m.pointRelache(), ou);
    if (m.conserver()) {
        if (m.groupes.empty()) {
            GroupeReperes g;
            g.relier = true;
            g.grandsCercles = true;
            m.groupes.push_back(g);
        }
        TRepere r;
        r.Latitude = ou.latitude;
        r.Longitude = ou.longitude;
        r.Disposition = QStringLiteral("O");
        m.groupes.back().reperes.push_back(r);
        const int ligne = ++m.lignesTrajetModifiable();
        e.lignesTable.push_back({ligne, texteCoordonneeRepere(r.Latitude), texteCoordonneeRepere(r.Longitude)});
    }
}

} // namespace carte
