// Earthquake, volcano and GPS layers, depth shading, vector components and legend.
#include "map/lecture.h"
#include "map/rendu.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {
EtatCarte etat3600()
{
    EtatCarte e;
    e.W = 360;
    e.H = 180;
    return e;
}
TSeisme seisme(float lon, float lat, float prof, float mag)
{
    TSeisme s;
    s.Longitude = lon;
    s.Latitude = lat;
    s.Profondeur = prof;
    s.Magnitude = mag;
    return s;
}
TStationGPS station(double lon, double lat, double vn, double ve)
{
    TStationGPS s;
    s.Longitude = lon;
    s.Latitude = lat;
    s.VitLat = vn;
    s.VitLong = ve;
    s.Affiche = 1;
    return s;
}
int pixelsNonVides(const TBitmap32& b, TColor32 fond)
{
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.pixel(x, y) != fond;
    return n;
}
} // namespace

TEST(Ombrage, DepthWeights)
{
    EXPECT_EQ(poidsProfondeur(250, 500), 128); // round(127.5), ties to even
    EXPECT_EQ(poidsProfondeur(600, 500), 0);
    EXPECT_EQ(poidsProfondeur(500, 500), 0);
    EXPECT_EQ(poidsProfondeur(0, 500), 255);
    EXPECT_EQ(poidsProfondeur(-3, 500), 255);
    EXPECT_EQ(couleurProfondeur(0xFFFF00FF, 0, 500), 0xFFFF00FFu);
    EXPECT_EQ(couleurProfondeur(0xFFFF00FF, 700, 500), 0xFF000000u);
    // Monotonic between the two.
    EXPECT_LT(redOf(couleurProfondeur(0xFFFF00FF, 300, 500)), redOf(couleurProfondeur(0xFFFF00FF, 200, 500)));
}

TEST(Points, PlainAndThickPlotsAreClipped)
{
    TBitmap32 b(10, 10);
    tracerPoint(b, 0, 0, clBlack32, true);
    EXPECT_EQ(pixelsNonVides(b, clTransparentWhite32), 4);
    tracerPoint(b, 5, 5, clBlack32, false);
    EXPECT_EQ(pixelsNonVides(b, clTransparentWhite32), 5);
    tracerPoint(b, -5, 50, clBlack32, true); // wholly outside
    EXPECT_EQ(pixelsNonVides(b, clTransparentWhite32), 5);
}

TEST(CalqueSeismes, MagnitudeThresholdAndClear)
{
    ReglagesAffichage r;
    r.PointsEpais = false;
    TBitmap32 b(360, 180);
    b.clear(clWhite32);
    dessinerSeismes(b, {seisme(10, 10, 0, 3.0f), seisme(20, 20, 0, 2.99f), seisme(-30, 0, 800, 6)}, r, etat3600());
    EXPECT_EQ(pixelsNonVides(b, clTransparentWhite32), 2);
    EXPECT_EQ(b.pixel(190, 80), r.CouleurSeismes);
    EXPECT_EQ(b.pixel(150, 90), clBlack32);
    EXPECT_EQ(b.pixel(200, 70), clTransparentWhite32);
}

TEST(CalqueVolcans, ClassColours)
{
    ReglagesAffichage r;
    r.PointsEpais = false;
    r.CouleurVolcans = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
    std::vector<TVolcan> v(5);
    const int codes[5] = {5, 8, 16, 27, 31};
    for (int i = 0; i < 5; ++i) {
        v[static_cast<std::size_t>(i)].Longitude = static_cast<float>(i * 10);
        v[static_cast<std::size_t>(i)].TypeVolcan = static_cast<std::uint8_t>(codes[i]);
    }
    TBitmap32 b(360, 180);
    dessinerVolcans(b, v, r, etat3600());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(b.pixel(180 + i * 10, 90), 0xFF000001u + static_cast<TColor32>(i));
}

TEST(Vecteurs, ComponentsAbsoluteRelativeAndCorrected)
{
    EtatCarte e = etat3600();
    const TStationGPS s = station(60, 0, 10, 20);
    ComposantesVecteur c = composantesVecteur(s, e, 0, true);
    EXPECT_EQ(c.e, 20);
    EXPECT_EQ(c.n, 10);

    const std::vector<TStationGPS> ref{station(0, 0, 4, 6)};
    e.choisirStationRef(ref, 0);
    c = composantesVecteur(s, e, 0, false);
    EXPECT_EQ(c.e, 14);
    EXPECT_EQ(c.n, 6);
    c = composantesVecteur(s, e, 0, true); // cos(60°) = 0.5
    EXPECT_NEAR(c.n, 10 - 2, 1e-12);
    // The reference station itself has no vector without the correction.
    c = composantesVecteur(ref[0], e, 0, false);
    EXPECT_EQ(c.e, 0);
    EXPECT_EQ(c.n, 0);

    e.remiseAZero();
    c = composantesVecteur(s, e, 0, true);
    EXPECT_EQ(c.n, 10);
}

TEST(Vecteurs, ScaleStepsStopAtBounds)
{
    ReglagesAffichage r;
    for (int i = 0; i < 14; ++i)
        r.agrandirVecteurs();
    EXPECT_DOUBLE_EQ(r.EchelleVecteurs, 5);
    EXPECT_FALSE(r.agrandirVecteurs());
    ReglagesAffichage r2;
    for (int i = 0; i < 4; ++i)
        r2.retrecirVecteurs();
    EXPECT_DOUBLE_EQ(r2.EchelleVecteurs, 0.5);
    EXPECT_FALSE(r2.retrecirVecteurs());
}

TEST(CalqueGPS, VeilStationsVectorsAndReferenceSquare)
{
    ReglagesAffichage r;
    r.PointsEpais = false;
    r.Attenuation = attenuationDepuisPourcentage(40);
    EXPECT_EQ(alphaOf(r.Attenuation), 102u);
    EXPECT_EQ(pourcentageDepuisAttenuation(r.Attenuation), 40);
    EtatCarte e = etat3600();
    std::vector<TStationGPS> s{station(0, 0, 0, 20), station(-90, 45, 0, 0)};
    TBitmap32 b(360, 180);

    dessinerGPS(b, s, r, e, false, nullptr);
    EXPECT_EQ(pixelsNonVides(b, r.Attenuation), 0); // veil only

    dessinerGPS(b, s, r, e, true, nullptr);
    EXPECT_EQ(b.pixel(90, 45), r.CouleurStations);
    // An eastward vector of 30 pixels from (180, 90).
    EXPECT_NE(b.pixel(200, 90), r.Attenuation);
    EXPECT_EQ(b.pixel(180, 60), r.Attenuation);
    // The station with a zero vector has only its point around it.
    EXPECT_EQ(b.pixel(92, 45), r.Attenuation);

    e.choisirStationRef(s, 1);
    dessinerGPS(b, s, r, e, true, nullptr);
    EXPECT_EQ(b.pixel(88, 43), 0xFFFF0000u);
    EXPECT_EQ(b.pixel(92, 47), 0xFFFF0000u);
    EXPECT_NE(b.pixel(89, 44), 0xFFFF0000u);
    // Relative to a motionless reference the first vector is unchanged.
    EXPECT_NE(b.pixel(200, 90), r.Attenuation);

    // A reference index beyond the store is not followed.
    e.StationRef = 7;
    dessinerGPS(b, s, r, e, true, nullptr);
    EXPECT_NE(b.pixel(88, 43), 0xFFFF0000u);
}

TEST(Legende, SizeAndPlacementInTheGPSLayer)
{
    const TBitmap32 l = construireLegende(1.5, 0xFFA203FB);
    ASSERT_FALSE(l.isEmpty());
    QFont police(QStringLiteral("Arial"));
    police.setPointSize(12);
    police.setBold(true);
    EXPECT_EQ(l.width(), std::max(75, TBitmap32::textWidth(QStringLiteral("50 mm/an"), police)) + 5);
    EXPECT_EQ(l.height(), TBitmap32::textHeight(QStringLiteral("50 mm/an"), police) + 12);
    EXPECT_TRUE(construireLegende(0.001, 0xFF000000).isEmpty());

    ReglagesAffichage r;
    r.LegendePlacee = true;
    r.PosLegendeX = 50;
    r.PosLegendeY = 20;
    TBitmap32 b(360, 180);
    dessinerGPS(b, {}, r, etat3600(), true, &l);
    EXPECT_EQ(alphaOf(b.pixel(51, 21)), 0x60u);
    EXPECT_EQ(b.pixel(49, 21), clTransparentWhite32);
}

// Whatever a store holds (records made in memory, not read from a file), the
// layers and readouts are drawn without leaving the pictures or the int range.
TEST(Robustesse, LayersAndReadoutsStayDefinedWhateverTheStoresHold)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<TSeisme> seismes = {seisme(10, 10, -1e10f, 5),   seisme(10, 10, nan, 5),
                                          seisme(nan, inf, 10, 5),     seisme(1e30f, -1e30f, 1e30f, 1e30f),
                                          seisme(-1e30f, 1e30f, -inf, inf), seisme(20, 20, 10, 5)};
    std::vector<TVolcan> volcans(3);
    volcans[0].Longitude = nan;
    volcans[1].Latitude = 1e30f;
    volcans[1].TypeVolcan = 255;
    volcans[2].Altitude = 1e30f;
    std::vector<TStationGPS> stations = {station(0, 0, 1e12, -1e12), station(nan, nan, nan, nan),
                                         station(1e300, -1e300, 1e300, 1e300), station(5, 5, 10, 10)};
    stations[0].IncVitLat = 1;
    for (int decalage : {0, 90, -180}) {
        EtatCarte e = etat3600();
        e.fixerDecalage(decalage);
        ReglagesAffichage r;
        r.MagnitudeMini = -100;
        TBitmap32 calque(e.W, e.H);
        dessinerSeismes(calque, seismes, r, e);
        EXPECT_GT(pixelsNonVides(calque, clTransparentWhite32), 0) << "the valid records are still drawn";
        dessinerVolcans(calque, volcans, r, e);
        dessinerGPS(calque, stations, r, e, true, nullptr);
        e.choisirStationRef(stations, 0);
        dessinerGPS(calque, stations, r, e, true, nullptr);
        e.choisirStationRef(stations, 2);
        dessinerGPS(calque, stations, r, e, true, nullptr);
    }
    EXPECT_EQ(poidsProfondeur(-1e10, 500), 255);
    EXPECT_EQ(poidsProfondeur(std::nan(""), 500), 0);
    for (const TStationGPS& s : stations)
        carte::lectureStation({s}, s.Longitude, s.Latitude, true, 1e300, -1e300);
    for (const TVolcan& v : volcans)
        carte::lectureVolcan({v}, v.Longitude, v.Latitude);
    EXPECT_FALSE(carte::indicesGrille(std::nan(""), 1e300, 360, 180, 0, 6).surGrille);
    EXPECT_EQ(carte::arrondi(std::nan("")), -(1 << 28)) << "off every picture";
    EXPECT_EQ(carte::arrondi(1e300), 1 << 28);
}

// The renderers draw through any projection: here a sibling of the map's that
// shows only the northern hemisphere and turns the local frame a quarter turn
// (north to the right of the picture), as a view around a pole does.
TEST(Projections, RenderersFollowTheProjectionsFrameAndHiddenPoints)
{
    class QuartDeTour final : public carte::TProjection {
    public:
        int largeur() const override { return 200; }
        int hauteur() const override { return 100; }
        bool versPixel(double lon, double lat, carte::PointCarte& p) const override
        {
            if (lat < 0)
                return false;
            p = {carte::arrondi(100 + lon), carte::arrondi(90 - lat)};
            return true;
        }
        bool versPosition(double x, double y, carte::PositionGeo& g) const override
        {
            g = {x - 100, 90 - y};
            return y <= 90;
        }
        void repereLocal(double, double, double& ex, double& ey, double& nx, double& ny) const override
        {
            ex = 0;
            ey = 1; // east points down the picture
            nx = 1; // north points to the right
            ny = 0;
        }
    } projection;

    ReglagesAffichage r;
    r.PointsEpais = false;
    TBitmap32 calque(200, 100);
    dessinerSeismes(calque, {seisme(0, 40, 0, 5), seisme(10, -40, 0, 5)}, r, projection);
    EXPECT_EQ(calque.pixel(100, 50), r.CouleurSeismes);
    EXPECT_EQ(pixelsNonVides(calque, clTransparentWhite32), 1) << "the southern event is not shown";

    // A station moving north at 10 mm/an: its vector runs 15 pixels to the right.
    TStationGPS s = station(0, 40, 10, 0);
    dessinerGPS(calque, {s}, r, projection, ReferenceVecteurs{}, 1.5, true, nullptr);
    EXPECT_NE(calque.pixel(112, 50), r.Attenuation);
    EXPECT_EQ(calque.pixel(100, 40), r.Attenuation);
    EXPECT_EQ(calque.pixel(100, 60), r.Attenuation);
}
