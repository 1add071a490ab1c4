// The mode state machine driven with map pixels, as the map window forwards them.
#include "data/decimal.h"
#include "data/records.h"
#include "map/etatcarte.h"
#include "map/grille.h"
#include "map/modes.h"
#include "map/projection.h"
#include "ui/dialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include "data/data_test_util.h"

#include <gtest/gtest.h>

using namespace carte;

namespace {

// A 720 x 360 map: 2 pixels per degree, (360, 180) is latitude 0, longitude 0.
constexpr int W = 720;
constexpr int H = 360;

QPoint pixel(double lon, double lat)
{
    const PointCarte p = geoVersCarte(lon, lat, W, H, 0);
    return {p.x, p.y};
}

int distance(QPoint a, QPoint b)
{
    const PositionGeo ga = carteVersGeo(a.x(), a.y(), W, H, 0);
    const PositionGeo gb = carteVersGeo(b.x(), b.y(), W, H, 0);
    return distanceGrandCercle(ga.longitude, ga.latitude, gb.longitude, gb.latitude);
}

bool videHors(const TBitmap32& b, const QRect& r)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (!r.contains(x, y) && b.pixel(x, y) != clTransparentWhite32)
                return false;
    return true;
}

bool encreDans(const TBitmap32& b)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != clTransparentWhite32)
                return true;
    return false;
}

class InteractionModes : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        definirSeparateurDecimal('.');
        etat.W = W;
        etat.H = H;
        bande.setSize(W, H);
        m.attacherCalques(&bande, &traces);
        m.contexte().etat = &etat;
        m.contexte().donnees = &donnees;
    }

    void clic(QPoint p, BoutonSouris b = BoutonSouris::Gauche)
    {
        m.appui(p.x(), p.y(), b);
        m.relachement(p.x(), p.y(), b);
    }
    Effets glisser(QPoint a, QPoint b)
    {
        Effets e = m.appui(a.x(), a.y(), BoutonSouris::Gauche);
        e |= m.deplacement((a.x() + b.x()) / 2, (a.y() + b.y()) / 2, true);
        e |= m.deplacement(b.x(), b.y(), true);
        e |= m.relachement(b.x(), b.y(), BoutonSouris::Gauche);
        return e;
    }

    EtatCarte etat;
    TBitmap32 bande;
    TBitmap32 traces;
    TInteraction m;
};

} // namespace

TEST_F(InteractionModes, ChoosingModesSetsPanels)
{
    EXPECT_EQ(m.mode(), Mode::Consultation);
    m.ChoisirMode(4);
    EXPECT_EQ(m.mode(), Mode::Trajet);
    EXPECT_TRUE(m.panneau().panelDistVisible);
    m.ChoisirMode(0);
    EXPECT_EQ(m.mode(), Mode::Zone);
    EXPECT_FALSE(m.panneau().panelDistVisible);
    EXPECT_TRUE(m.panneau().distance.isEmpty());
    m.ChoisirMode(9); // unknown tag: nothing changes
    EXPECT_EQ(m.mode(), Mode::Zone);
    EXPECT_STREQ(descriptionMode(Mode::Trajet).titre, "Suivi d'un trajet");
    EXPECT_TRUE(descriptionMode(Mode::Zone).curseurCroix);
    EXPECT_FALSE(descriptionMode(Mode::GrandCercle).curseurCroix);
    EXPECT_EQ(descriptionMode(Mode::Zoom).titre, nullptr);
}

TEST_F(InteractionModes, ReadoutOnMoveWithStationsVolcanoesAndAltitude)
{
    // A grid with 1234 m at latitude 10, longitude 20 (row 60, column 120).
    QTemporaryDir dir;
    const QString chemin = dir.filePath("etopo10.bil");
    {
        QByteArray z(TGrilleAltitude::Lignes * TGrilleAltitude::Colonnes * 2, '\0');
        const qsizetype i = ((540 - 60) * TGrilleAltitude::Colonnes + (120 + 1080)) * 2;
        z[i] = static_cast<char>(1234 & 0xFF);
        z[i + 1] = static_cast<char>(1234 >> 8);
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(z);
    }
    TGrilleAltitude grille;
    ASSERT_TRUE(grille.charger(chemin));
    m.contexte().grille = &grille;

    TStationGPS s;
    assignShort(s.Nom, "GPS1");
    s.Latitude = 10.2;
    s.Longitude = 20.1;
    s.VitLat = 6;
    s.VitLong = 8;
    TabStations.push_back(s);
    TVolcan v;
    assignShort(v.Nom, "Mont");
    v.Latitude = 9.8f;
    v.Longitude = 20.3f;
    v.Altitude = 2500;
    v.TypeVolcan = 3;
    v.Activite = 2;
    TabVolcans.push_back(v);

    m.contexte().gpsCoche = true;
    m.contexte().volcansCoche = true;
    const QPoint p = pixel(20, 10);
    m.deplacement(p.x(), p.y(), false);
    const EtatPanneau& e = m.panneau();
    EXPECT_EQ(e.position.latitude, "Latitude : 10 ° N");
    EXPECT_EQ(e.position.longitude, "Longitude : 20 ° E");
    EXPECT_EQ(e.position.altitude, "altitude : 1234");
    EXPECT_EQ(e.station, "\nStation : GPS1");
    EXPECT_EQ(e.vitesse, "Vitesse : 10 mm/an");
    EXPECT_TRUE(e.volcanVisible);
    EXPECT_EQ(e.nomVolcan, "Mont");
    EXPECT_EQ(e.altVolcan, "2500 m");
    EXPECT_EQ(e.typeVolcan, "Volcan bouclier");

    // With a fixed station, the relative speed.
    etat.StationRef = 0;
    etat.VitLatRef = 6;
    etat.VitLongRef = 4;
    m.deplacement(p.x(), p.y(), false);
    EXPECT_EQ(m.panneau().vitesse, "Vitesse relative : 4 mm/an");

    // Far from everything: station texts emptied, volcano hidden.
    const QPoint loin = pixel(-100, -40);
    m.deplacement(loin.x(), loin.y(), false);
    EXPECT_TRUE(m.panneau().station.isEmpty());
    EXPECT_TRUE(m.panneau().vitesse.isEmpty());
    EXPECT_FALSE(m.panneau().volcanVisible);
    EXPECT_EQ(m.panneau().position.altitude, "altitude : 0");

    // Over them again with both layers hidden: no reading is left behind.
    m.deplacement(p.x(), p.y(), false);
    m.contexte().gpsCoche = false;
    m.contexte().volcansCoche = false;
    m.deplacement(p.x(), p.y(), false);
    EXPECT_TRUE(m.panneau().station.isEmpty());
    EXPECT_TRUE(m.panneau().vitesse.isEmpty());
    EXPECT_FALSE(m.panneau().volcanVisible);
}

TEST_F(InteractionModes, ZoneOffersZoomBeyondFortyDegrees)
{
    m.ChoisirMode(0);
    m.contexte().gpsCoche = true;
    glisser(pixel(0, 0), pixel(41, 41));
    EXPECT_EQ(m.bornes().Lat1, 0);
    EXPECT_EQ(m.bornes().Lon2, 41);
    EXPECT_TRUE(m.panneau().loupeVisible);
    EXPECT_TRUE(m.panneau().okVisible);
    EXPECT_TRUE(m.panneau().commandesDelimitees);
    // A press hides the button again; 40 degrees one way is not enough.
    glisser(pixel(0, 0), pixel(40, 41));
    EXPECT_FALSE(m.panneau().loupeVisible);
    glisser(pixel(0, 0), pixel(41, 40));
    EXPECT_FALSE(m.panneau().loupeVisible);
    // A plain click makes a zone of nothing, whatever the zone before.
    glisser(pixel(0, 0), pixel(60, 60));
    clic(pixel(10, 10));
    EXPECT_EQ(m.bornes().Lat2, 10);
    EXPECT_FALSE(m.panneau().loupeVisible);

    glisser(pixel(-10, -10), pixel(50, 50));
    const Effets e = m.loupeClic(1400, 700);
    ASSERT_TRUE(e.loupe.has_value());
    EXPECT_EQ(e.loupe->decalage, -20);
    EXPECT_FALSE(m.panneau().loupeVisible);
    const Effets ok = m.okClic();
    EXPECT_TRUE(ok.selectionZone);
    EXPECT_FALSE(m.panneau().okVisible);
}

TEST_F(InteractionModes, RubberBandClearsOnlyWhatItDrewBefore)
{
    m.ChoisirMode(0);
    const QPoint a = pixel(0, 0);
    m.appui(a.x(), a.y(), BoutonSouris::Gauche);
    const Effets e1 = m.deplacement(a.x() + 100, a.y() + 50, true);
    EXPECT_TRUE(e1.regionBande.contains(a));
    EXPECT_TRUE(e1.regionBande.contains(a.x() + 100, a.y() + 50));
    EXPECT_LT(e1.regionBande.width(), 110);
    EXPECT_EQ(bande.pixel(a.x() + 100, a.y() + 20), m.contexte().couleurTrace) << "frame drawn";
    // Moving back: the region covers the old frame (to clear it) and the new one.
    const Effets e2 = m.deplacement(a.x() + 20, a.y() + 10, true);
    EXPECT_TRUE(e2.regionBande.contains(a.x() + 100, a.y() + 50));
    EXPECT_EQ(bande.pixel(a.x() + 100, a.y() + 20), clTransparentWhite32);
    EXPECT_TRUE(videHors(bande, QRect(a, QSize(22, 12))));
    // Without a button nor a path nothing is redrawn.
    const Effets e3 = m.deplacement(a.x() + 200, a.y(), false);
    EXPECT_TRUE(e3.regionBande.isEmpty());
    // Changing mode clears the band.
    const Effets e4 = m.ChoisirMode(2);
    EXPECT_FALSE(e4.regionBande.isEmpty());
    EXPECT_FALSE(encreDans(bande));
}

TEST_F(InteractionModes, GreatCirclesKeptOnlyWhenAsked)
{
    m.ChoisirMode(3);
    Effets e = glisser(pixel(0, 40), pixel(80, 40));
    EXPECT_TRUE(m.arcs.empty());
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_EQ(m.panneau().distance, QStringLiteral("distance : %1 km").arg(distance(pixel(0, 40), pixel(80, 40))));
    m.conserverLesTraces();
    e = glisser(pixel(0, 40), pixel(80, 40));
    ASSERT_EQ(m.arcs.size(), 1u);
    EXPECT_TRUE(e.calqueTracesCree);
    EXPECT_EQ(traces.width(), W);
    EXPECT_FALSE(e.regionTraces.isEmpty());
    EXPECT_TRUE(encreDans(traces));
    glisser(pixel(-50, -10), pixel(50, -30));
    ASSERT_EQ(m.arcs.size(), 2u);
    // "Effacer le dernier tracé" > "Grand cercle" twice, then nothing left to remove.
    m.effacerDernierGrandCercle();
    EXPECT_EQ(m.arcs.size(), 1u);
    m.effacerDernierGrandCercle();
    EXPECT_TRUE(m.arcs.empty());
    EXPECT_FALSE(encreDans(traces));
    const Effets rien = m.effacerDernierGrandCercle();
    EXPECT_TRUE(rien.regionTraces.isEmpty());
}

TEST_F(InteractionModes, PathSumsLegsAndRightClickEndsWithoutLeg)
{
    m.ChoisirMode(4);
    const QPoint a = pixel(0, 0), b = pixel(30, 10), c = pixel(60, -20), d = pixel(100, 0);
    clic(a);
    EXPECT_TRUE(m.trajetEnCours());
    EXPECT_EQ(m.distanceCumulee(), 0);
    m.deplacement(b.x(), b.y(), false); // rubber band arc from the last vertex
    EXPECT_TRUE(encreDans(bande));
    EXPECT_EQ(m.panneau().distance, QStringLiteral("distance : %1 km").arg(distance(a, b)));
    clic(b);
    clic(c);
    const int total = distance(a, b) + distance(b, c);
    EXPECT_EQ(m.distanceCumulee(), total);
    EXPECT_EQ(m.panneau().distanceCumulee, QStringLiteral("%1 km").arg(total));
    EXPECT_TRUE(encreDans(traces));
    // Right click elsewhere: the path ends, no leg is added, the band is cleared.
    m.deplacement(d.x(), d.y(), false);
    clic(d, BoutonSouris::Droit);
    EXPECT_FALSE(m.trajetEnCours());
    EXPECT_EQ(m.panneau().distanceCumulee, QStringLiteral("%1 km").arg(total));
    EXPECT_FALSE(encreDans(bande));
    // Nothing was kept: the next path redraws the traces from the (empty) lists.
    clic(a);
    EXPECT_TRUE(m.groupes.empty());
    // RAZ.
    m.raz();
    EXPECT_EQ(m.distanceCumulee(), 0);
    EXPECT_EQ(m.panneau().distanceCumulee, "0 km");
    EXPECT_TRUE(m.panneau().panelDistVisible);
}

TEST_F(InteractionModes, KeptPathBecomesALandmarkGroupAndTableRows)
{
    m.ChoisirMode(4);
    m.conserverLesTraces();
    Effets e;
    e |= m.appui(pixel(10, 20).x(), pixel(10, 20).y(), BoutonSouris::Gauche);
    e |= m.relachement(pixel(10, 20).x(), pixel(10, 20).y(), BoutonSouris::Gauche);
    e |= m.appui(pixel(-0.5, 0).x(), pixel(-0.5, 0).y(), BoutonSouris::Gauche);
    e |= m.relachement(pixel(-0.5, 0).x(), pixel(-0.5, 0).y(), BoutonSouris::Gauche);
    ASSERT_EQ(m.groupes.size(), 1u);
    EXPECT_TRUE(m.groupes[0].relier);
    EXPECT_TRUE(m.groupes[0].grandsCercles);
    ASSERT_EQ(m.groupes[0].reperes.size(), 2u);
    EXPECT_DOUBLE_EQ(m.groupes[0].reperes[0].Latitude, 20);
    ASSERT_EQ(e.lignesTable.size(), 2u);
    EXPECT_EQ(e.lignesTable[0].ligne, 1);
    EXPECT_EQ(e.lignesTable[0].latitude, "20");
    EXPECT_EQ(e.lignesTable[1].ligne, 2);
    EXPECT_EQ(e.lignesTable[1].latitude, "0"); // latitude 0 is written, not left empty
    EXPECT_EQ(e.lignesTable[1].longitude, "-0.5");
    // After RAZ the next path writes from the first row again.
    m.raz();
    clic(pixel(0, 0), BoutonSouris::Droit);
    Effets e2 = m.appui(pixel(5, 5).x(), pixel(5, 5).y(), BoutonSouris::Gauche);
    e2 |= m.relachement(pixel(5, 5).x(), pixel(5, 5).y(), BoutonSouris::Gauche);
    ASSERT_EQ(e2.lignesTable.size(), 1u);
    EXPECT_EQ(e2.lignesTable[0].ligne, 1);
    EXPECT_EQ(m.groupes.size(), 2u);
}

TEST_F(InteractionModes, ClearingTracesAsksFirst)
{
    m.ChoisirMode(3);
    m.conserverLesTraces();
    glisser(pixel(0, 40), pixel(80, 40));
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    d.answers.push_back(MsgResult::Cancel);
    m.effacerLesTraces();
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_EQ(d.shown[0].text, QString::fromUtf8("Atention, les repères seront perdus"));
    EXPECT_EQ(d.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m.arcs.size(), 1u);
    d.answers.push_back(MsgResult::Ok);
    m.effacerLesTraces();
    EXPECT_TRUE(m.arcs.empty());
    EXPECT_FALSE(encreDans(traces));
    EXPECT_EQ(m.panneau().distanceCumulee, "0 km");
}

TEST_F(InteractionModes, ConsultationStationMenuAndReference)
{
    TStationGPS s;
    s.Latitude = 0.1;
    s.Longitude = 0.1;
    TabStations.push_back(s);
    m.contexte().gpsCoche = true;
    const QPoint p = pixel(0, 0);
    m.deplacement(p.x(), p.y(), false);
    const Effets droit = m.appui(p.x(), p.y(), BoutonSouris::Droit);
    EXPECT_EQ(droit.menuStation, 0);
    m.relachement(p.x(), p.y(), BoutonSouris::Droit);
    const Effets dbl = m.doubleClic();
    EXPECT_EQ(dbl.nouvelleReference, 0);
    // Away from any station nothing happens.
    const QPoint loin = pixel(50, 50);
    m.deplacement(loin.x(), loin.y(), false);
    EXPECT_EQ(m.doubleClic().nouvelleReference, -1);
    EXPECT_EQ(m.appui(loin.x(), loin.y(), BoutonSouris::Droit).menuStation, -1);
    // Only consultation mode picks the fixed station.
    m.ChoisirMode(3);
    m.deplacement(p.x(), p.y(), false);
    EXPECT_EQ(m.doubleClic().nouvelleReference, -1);
}

TEST_F(InteractionModes, ScalePlacementOnlyMovesTheLegend)
{
    m.contexte().placementEchelle = true;
    const Effets e = m.appui(100, 50, BoutonSouris::Gauche);
    ASSERT_TRUE(e.deplacerEchelle.has_value());
    EXPECT_EQ(*e.deplacerEchelle, QPoint(100, 50));
    const Effets f = m.deplacement(120, 60, true);
    EXPECT_EQ(*f.deplacerEchelle, QPoint(120, 60));
    EXPECT_EQ(m.panneau().position.latitude, "Latitude : ");
    EXPECT_FALSE(encreDans(bande));
}

TEST_F(InteractionModes, AddingLandmarksFromTheTable)
{
    TGrilleReperes vide = TGrilleReperes::nouvelle();
    vide.definirCellule(1, 0, "Rien");
    m.ajouterReperes(vide, true);
    EXPECT_TRUE(m.groupes.empty()); // an empty first latitude adds nothing, no empty group
    EXPECT_TRUE(traces.isEmpty());

    TGrilleReperes g = TGrilleReperes::nouvelle();
    g.definirCellule(1, 1, "0");
    g.definirCellule(1, 2, "0");
    g.definirCellule(2, 1, "0");
    g.definirCellule(2, 2, "10");
    g.relier = true;
    m.ChoisirMode(4);
    Effets e = m.ajouterReperes(g, true);
    ASSERT_EQ(m.groupes.size(), 1u);
    EXPECT_TRUE(e.calqueTracesCree);
    EXPECT_TRUE(encreDans(traces));
    EXPECT_TRUE(m.panneau().panelDistVisible);
    EXPECT_EQ(m.distanceCumulee(), distanceGrandCercle(0, 0, 10, 0));
    m.ajouterReperes(g, true);
    EXPECT_EQ(m.groupes.size(), 2u);
    // Without "Ajouter" the groups are replaced by the new one.
    m.ajouterReperes(g, false);
    EXPECT_EQ(m.groupes.size(), 1u);
    // Replaced by nothing: the map is cleared of the old ones too.
    m.ajouterReperes(vide, false);
    EXPECT_TRUE(m.groupes.empty());
    EXPECT_FALSE(encreDans(traces));
}

TEST(FiltreDeZone, BoundsOrderedAsTheyLieOnTheShiftedMap)
{
    // Plain map: corners in any order give the same window.
    carte::BornesSelection b{40, 10, 30, -20};
    FiltreZone f = carte::filtreDeZone(b, -180, 180);
    EXPECT_EQ(f.Latmin, 10);
    EXPECT_EQ(f.Latmax, 40);
    EXPECT_EQ(f.Longmin, -20);
    EXPECT_EQ(f.Longmax, 30);
    // Map shifted by 180°: a zone drawn from 170° E to 170° W crosses the 180°
    // meridian, which lies in the middle of the map.
    b = {10, -10, 170, -170};
    f = carte::filtreDeZone(b, -360, 0);
    EXPECT_EQ(f.Longmin, 170);
    EXPECT_EQ(f.Longmax, -170);
    TStationGPS dedans, dehors;
    dedans.Longitude = 179;
    dehors.Longitude = 0;
    dedans.IncVitLat = dehors.IncVitLat = 1;
    EXPECT_TRUE(f.passe(dedans));
    EXPECT_FALSE(f.passe(dehors));
}

// A view plugs its own mouse tool into the machine: it gets the presses, drags,
// releases and OK of its mode, with the shared readout and band handling around.
TEST_F(InteractionModes, ToolsPlugInWithoutTouchingTheMachine)
{
    struct Compteur : TOutilSouris {
        int appuis = 0, glisses = 0, relaches = 0, oks = 0;
        void appui(TInteraction&, BoutonSouris, Effets&) override { ++appuis; }
        void glisser(TInteraction& m, std::vector<QRect>& dessine) override
        {
            ++glisses;
            m.bande()->setPixel(m.pointCourant().x(), m.pointCourant().y(), clBlack32);
            dessine.push_back(QRect(m.pointCourant(), QSize(1, 1)));
        }
        void relachement(TInteraction&, const PositionGeo&, BoutonSouris, Effets&) override { ++relaches; }
        bool okApresRelachement(const TInteraction&) const override { return true; }
        void ok(TInteraction&, Effets& e) override
        {
            ++oks;
            e.selectionZone = true;
        }
    };
    auto* outil = new Compteur;
    m.enregistrerOutil(7, std::unique_ptr<TOutilSouris>(outil));
    EXPECT_EQ(m.outil(7), outil);
    m.ChoisirMode(7);
    EXPECT_EQ(m.modeCourant(), 7);
    m.appui(100, 100, BoutonSouris::Gauche);
    m.deplacement(120, 110, true);
    const Effets e = m.deplacement(130, 115, true);
    m.relachement(130, 115, BoutonSouris::Gauche);
    EXPECT_EQ(outil->appuis, 1);
    EXPECT_EQ(outil->glisses, 2);
    EXPECT_EQ(outil->relaches, 1);
    // The machine cleared the previous drag's pixel before the tool drew again.
    EXPECT_EQ(bande.pixel(120, 110), clTransparentWhite32);
    EXPECT_EQ(bande.pixel(130, 115), clBlack32);
    EXPECT_FALSE(e.zonesBande.empty());
    EXPECT_TRUE(m.panneau().okVisible);
    EXPECT_TRUE(m.okClic().selectionZone);
    EXPECT_EQ(outil->oks, 1);
    // An unknown mode with no tool is refused.
    m.ChoisirMode(9);
    EXPECT_EQ(m.modeCourant(), 7);
}
