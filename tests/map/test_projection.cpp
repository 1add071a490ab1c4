// Map transform, great-circle distance, nearest station and zoom bounds.
#include "map/etatcarte.h"
#include "map/lecture.h"
#include "map/projection.h"
#include "map/rendu.h"
#include "ui/bitmap32.h"

#include <gtest/gtest.h>

using namespace carte;

namespace {
TStationGPS station(double lon, double lat)
{
    TStationGPS s;
    s.Longitude = lon;
    s.Latitude = lat;
    return s;
}
} // namespace

TEST(Transformation, ShiftWrapsLongitudeAndReadoutGivesItBack)
{
    const int W = 3600, H = 1800;
    const PointCarte p = geoVersCarte(160, 0, W, H, 30);
    EXPECT_EQ(p.x, 100); // λ = -170, near the left edge
    EXPECT_EQ(p.y, 900);
    const PositionGeo g = carteVersGeo(p.x, p.y, W, H, 30);
    EXPECT_NEAR(g.longitude, 160, 1e-9);
    EXPECT_NEAR(g.latitude, 0, 1e-9);

    // Negative shift wraps the other way.
    EXPECT_EQ(geoVersCarte(-170, 0, W, H, -30).x, 3400); // λ = 160
    EXPECT_NEAR(carteVersGeo(3400, 0, W, H, -30).longitude, -170, 1e-9);
}

TEST(Transformation, PolesAndTiesToEven)
{
    EXPECT_EQ(geoVersCarte(0, 90, 3600, 1800, 0).y, 0);
    EXPECT_EQ(geoVersCarte(0, -90, 3600, 1800, 0).y, 1800);
    EXPECT_EQ(geoVersCarte(-180, 0, 3600, 1800, 0).x, 0);
    EXPECT_EQ(geoVersCarte(180, 0, 3600, 1800, 0).x, 3600);
    // 0.05° on a 3600 map is 0.5 pixel: ties go to the even neighbour.
    EXPECT_EQ(geoVersCarte(0.05, 0, 3600, 1800, 0).x, 1800);
    EXPECT_EQ(geoVersCarte(0.15, 0, 3600, 1800, 0).x, 1802);
    EXPECT_EQ(arrondi(2.5), 2);
    EXPECT_EQ(arrondi(-2.5), -2);
}

TEST(Transformation, RecordsOutOfAllMeasureLandOffTheMap)
{
    // Binary files may hold any real; rounding stops at 2^28, NaN goes there too.
    EXPECT_EQ(arrondi(4.15e34), 1 << 28);
    EXPECT_EQ(arrondi(-1.3e257), -(1 << 28));
    EXPECT_EQ(arrondi(NAN), -(1 << 28));
    EXPECT_EQ(arrondi(-2.5), -2);
    const PointCarte p = geoVersCarte(1e300, NAN, 360, 180, 90);
    EXPECT_FALSE(QRect(0, 0, 360, 180).contains(p.x, p.y));

    // Drawn among ordinary records, such records leave no pixel.
    EtatCarte e;
    e.W = 360;
    e.H = 180;
    e.fixerDecalage(90);
    TSeisme normal;
    normal.Magnitude = 6;
    std::vector<TSeisme> seismes(4, normal);
    seismes[1].Latitude = 4.15e34f;
    seismes[2].Longitude = NAN;
    seismes[3].Latitude = -INFINITY;
    TBitmap32 tous(360, 180), seul(360, 180);
    dessinerSeismes(tous, seismes, ReglagesAffichage(), e);
    dessinerSeismes(seul, {normal}, ReglagesAffichage(), e);
    EXPECT_EQ(tous, seul);
    // A station far away with a huge vector pointing back across the map.
    TStationGPS loin;
    loin.Latitude = -1e300;
    loin.VitLat = -1e300;
    loin.VitLong = 1e300;
    loin.Affiche = 1;
    TBitmap32 gps(360, 180), vide(360, 180);
    dessinerGPS(gps, {loin}, ReglagesAffichage(), e, true, nullptr);
    dessinerGPS(vide, {}, ReglagesAffichage(), e, true, nullptr);
    EXPECT_EQ(gps, vide);
}

TEST(Transformation, ViewToMapRemovesOffsetAndZoom)
{
    const PointCarte p = vueVersCarte(250, 130, -50, 30, 2.0);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 50);
}

TEST(Transformation, ShiftThereAndBackRestoresEveryPixel)
{
    for (int W : {3600, 3601, 7200}) {
        TBitmap32 b(W, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < W; ++x)
                b.setPixel(x, y, 0xFF000000u | static_cast<TColor32>(x * 7 + y));
        const TBitmap32 avant = b;
        b.rollHorizontal(roulementPixels(180 - 0, W));
        EXPECT_NE(b, avant);
        b.rollHorizontal(roulementPixels(0 - 180, W));
        EXPECT_EQ(b, avant) << W;
    }
}

TEST(Transformation, VisibleLongitudesFollowTheShift)
{
    EtatCarte e;
    e.fixerDecalage(30);
    EXPECT_EQ(e.LongMinVisible, -210);
    EXPECT_EQ(e.LongMaxVisible, 150);
}

TEST(GrandCercle, DistancesInWholeKilometres)
{
    EXPECT_EQ(distanceGrandCercle(12, 34, 12, 34), 0);
    EXPECT_EQ(distanceGrandCercle(0, 0, 180, 0), 20015);
    EXPECT_EQ(distanceGrandCercle(10, 45, -170, -45), 20015);
    EXPECT_EQ(distanceGrandCercle(0, 0, 0, 90), 10008);
    // One degree along the equator.
    EXPECT_EQ(distanceGrandCercle(0, 0, 1, 0), 111);
}

TEST(StationProche, TiesGoToTheEarlierStationAndBoundIsStrict)
{
    std::vector<TStationGPS> s{station(10.3, 5), station(9.7, 5), station(10, 5.2)};
    // The first two are equally far from (10, 5) and farther than the third.
    EXPECT_EQ(stationLaPlusProche(s, 10, 5), 2);
    s.pop_back();
    EXPECT_EQ(stationLaPlusProche(s, 10, 5), 0);

    std::vector<TStationGPS> loin{station(0.7, 0), station(0, -0.7), station(0.69, 0.69)};
    EXPECT_EQ(stationLaPlusProche(loin, 0, 0), 2);
    loin.pop_back();
    EXPECT_EQ(stationLaPlusProche(loin, 0, 0), -1);
    EXPECT_EQ(stationLaPlusProche({}, 0, 0), -1);
}

TEST(Zoom, BoundsAndLogarithmicScrollBar)
{
    EXPECT_DOUBLE_EQ(echelleMaxPour(3600), 4.0);
    EXPECT_EQ(positionZoom(echelleMaxPour(3600)), 139);
    EXPECT_EQ(positionZoom(echelleMaxPour(7200)), 69);
    EXPECT_DOUBLE_EQ(echelleMinPour(1800, 3600), 0.49);
    EXPECT_NEAR(echelleDePosition(positionZoom(2.0)), 2.0, 0.01);
}

TEST(StationReference, ClearedWhenTheStoreNoLongerHoldsIt)
{
    std::vector<TStationGPS> s{station(1, 1), station(2, 2)};
    s[1].VitLat = 3;
    s[1].VitLong = 4;
    assignShort(s[1].Nom, QStringLiteral("ABCD"));
    EtatCarte e;
    e.W = 3600;
    e.H = 1800;
    e.choisirStationRef(s, 1);
    EXPECT_EQ(e.StationRef, 1);
    EXPECT_EQ(e.VitLatRef, 3);
    EXPECT_EQ(e.PosRefX, 1820);
    EXPECT_FALSE(e.validerStationRef(s));

    // Reloaded with another station at that index.
    std::vector<TStationGPS> autre{station(1, 1), station(50, 50)};
    EXPECT_TRUE(e.validerStationRef(autre));
    EXPECT_EQ(e.StationRef, -1);
    EXPECT_EQ(e.VitLatRef, 0);

    e.choisirStationRef(s, 1);
    s.resize(1);
    EXPECT_TRUE(e.validerStationRef(s));
    EXPECT_EQ(e.StationRef, -1);
}

// The seam of a shifted map: a longitude that lands exactly on 180° after the
// shift stays at the right side (column W), one just beyond comes back at the
// left side; the elevation-grid column wraps the same way, its two ends kept.
TEST(Transformation, SeamOfAShiftedMapForPixelsAndGridColumns)
{
    constexpr int W = 3600, H = 1800, f = 6;
    for (int decalage : {30, -150, 180}) {
        const double bord = 180 - decalage; // lands on +180 once shifted
        EXPECT_EQ(carte::geoVersCarte(bord, 0, W, H, decalage).x, W) << decalage;
        EXPECT_EQ(carte::geoVersCarte(bord + 0.1, 0, W, H, decalage).x, 1) << decalage;
        EXPECT_EQ(carte::geoVersCarte(bord - 360, 0, W, H, decalage).x, 0) << "the other side of the seam";
        EXPECT_EQ(carte::geoVersCarte(-180 - decalage, 0, W, H, decalage).x, 0) << decalage;
    }
    // Grid columns: the right side of the map shifted by 30° is longitude 150,
    // column 150 f; one pixel beyond wraps to the west end of the grid.
    carte::IndicesGrille g = carte::indicesGrille(W, H / 2, W, H, 30, f);
    EXPECT_EQ(g.colonne, 150 * f);
    EXPECT_TRUE(g.surGrille);
    g = carte::indicesGrille(W / 2 + 1500, H / 2, W, H, -30, f); // longitude 180 exactly
    EXPECT_EQ(g.colonne, 180 * f) << "the east end of the grid is kept";
    g = carte::indicesGrille(W / 2 + 1501, H / 2, W, H, -30, f);
    EXPECT_EQ(g.colonne, -180 * f + 1) << "just beyond: the west end";
    g = carte::indicesGrille(W / 2 - 1500, H / 2, W, H, 30, f); // longitude -180 exactly
    EXPECT_EQ(g.colonne, -180 * f);

    // The normalisation itself, degrees and columns, near and far.
    EXPECT_EQ(ramenerLongitude(180.0), 180.0);
    EXPECT_EQ(ramenerLongitude(-180.0), -180.0);
    EXPECT_EQ(ramenerLongitude(190.0), -170.0);
    EXPECT_EQ(ramenerLongitude(-540.0), -180.0);
    EXPECT_NEAR(ramenerLongitude(3600.0 + 10.5), 10.5, 1e-9);
    EXPECT_EQ(ramenerLongitude(1081, 1080), -1079);
    EXPECT_EQ(ramenerLongitude(-1080 * 5, 1080), -1080);
    EXPECT_TRUE(std::isnan(ramenerLongitude(std::nan(""))));
}
