// Readout texts of the map panel, grid indices and the volcano search.
#include "data/decimal.h"
#include "data/records.h"
#include "map/lecture.h"

#include <gtest/gtest.h>

using namespace carte;

namespace {

struct SeparateurPoint : ::testing::Test {
    void SetUp() override { definirSeparateurDecimal('.'); }
    void TearDown() override { definirSeparateurDecimal('.'); }
};

TVolcan volcan(const char* nom, float lat, float lon, float alt, int type, int activite)
{
    TVolcan v;
    assignShort(v.Nom, QString::fromUtf8(nom));
    v.Latitude = lat;
    v.Longitude = lon;
    v.Altitude = alt;
    v.TypeVolcan = static_cast<std::uint8_t>(type);
    v.Activite = static_cast<std::uint8_t>(activite);
    return v;
}

TStationGPS station(const char* nom, double lat, double lon, double vn, double ve)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Latitude = lat;
    s.Longitude = lon;
    s.VitLat = vn;
    s.VitLong = ve;
    return s;
}

} // namespace

using InteractionLecture = SeparateurPoint;

TEST_F(InteractionLecture, PictureAndGeneralFormats)
{
    EXPECT_EQ(formatDecimal(12.34, 1), "12.3");
    EXPECT_EQ(formatDecimal(12.0, 1), "12");
    EXPECT_EQ(formatDecimal(0.25, 1), "0.3"); // halves away from zero
    EXPECT_EQ(formatDecimal(-0.04, 1), "0");  // never "-0"
    EXPECT_EQ(formatDecimal(45.678, 2), "45.68");
    EXPECT_EQ(formatGeneral(12.345, 3), "12.3");
    EXPECT_EQ(formatGeneral(123.4, 3), "123");
    EXPECT_EQ(formatGeneral(0.5, 3), "0.5");
    EXPECT_EQ(formatGeneral(-23.456, 3), "-23.5");
    EXPECT_EQ(formatGeneral(1234, 3), "1.23E+3");
    EXPECT_EQ(formatGeneral(0, 3), "0");
    definirSeparateurDecimal(',');
    EXPECT_EQ(formatDecimal(12.34, 1), "12,3");
    EXPECT_EQ(formatGeneral(1.5, 3), "1,5");
}

TEST_F(InteractionLecture, MovingReadoutHemispheresAndZero)
{
    TextesPosition t = textesPositionMouvement(-4.56, 12.34, true, 250);
    EXPECT_EQ(t.latitude, "Latitude : 12.3 ° N");
    EXPECT_EQ(t.longitude, "Longitude : 4.6 ° O");
    EXPECT_EQ(t.altitude, "altitude : 250");
    t = textesPositionMouvement(120, -33.3, true, -4000);
    EXPECT_EQ(t.latitude, "Latitude : 33.3 ° S");
    EXPECT_EQ(t.longitude, "Longitude : 120 ° E");
    EXPECT_EQ(t.altitude, "altitude : -4000");
    t = textesPositionMouvement(0, 0, true, 0);
    EXPECT_EQ(t.latitude, "Latitude : 0 °");
    EXPECT_EQ(t.longitude, "Longitude : 0 °");
    // Off the grid only the prefixes.
    t = textesPositionMouvement(10, 10, false, 99);
    EXPECT_EQ(t.latitude, "Latitude : ");
    EXPECT_EQ(t.longitude, "Longitude : ");
    EXPECT_EQ(t.altitude, "altitude : ");
}

TEST_F(InteractionLecture, PressReadoutInWholeDegrees)
{
    TextesPosition t = textesPositionAppui(-5, 45, true, 12);
    EXPECT_EQ(t.latitude, "Latitude : 45° N");
    EXPECT_EQ(t.longitude, "Longitude : 5° O");
    t = textesPositionAppui(0, 0, true, 0);
    EXPECT_EQ(t.latitude, "Latitude : 0°");
    EXPECT_EQ(texteDistance(1234), "distance : 1234 km");
    EXPECT_EQ(texteDistanceCumulee(0), "0 km");
}

TEST(InteractionGrille, IndicesFromMapPixels)
{
    const int W = 3600, H = 1800, f = 6;
    // Centre of the map: cell (0, 0).
    IndicesGrille g = indicesGrille(1800, 900, W, H, 0, f);
    EXPECT_EQ(g.ligne, 0);
    EXPECT_EQ(g.colonne, 0);
    EXPECT_TRUE(g.surGrille);
    // Top-left corner: latitude 90, longitude -180.
    g = indicesGrille(0, 0, W, H, 0, f);
    EXPECT_EQ(g.ligne, 540);
    EXPECT_EQ(g.colonne, -1080);
    EXPECT_TRUE(g.surGrille);
    // 10 pixels = 1 degree = 6 cells.
    g = indicesGrille(1810, 890, W, H, 0, f);
    EXPECT_EQ(g.ligne, 6);
    EXPECT_EQ(g.colonne, 6);
    // With a shift of 30 degrees the pixel at the centre is longitude -30; the
    // column is brought back once into [-1080, 1080].
    g = indicesGrille(1800, 900, W, H, 30, f);
    EXPECT_EQ(g.colonne, -180);
    g = indicesGrille(100, 900, W, H, 30, f);
    EXPECT_EQ(g.colonne, (-170 - 30 + 360) * 6);
    // Below the map is off the grid.
    g = indicesGrille(1800, 1810, W, H, 0, f);
    EXPECT_FALSE(g.surGrille);
}

TEST_F(InteractionLecture, StationReadoutAbsoluteAndRelative)
{
    std::vector<TStationGPS> st{station("AAAA", 10, 10, 3, 4), station("BBBB", 10.2, 10.2, 0, 1),
                                station("CCCC", 50, 50, 0, 0)};
    LectureStation l = lectureStation(st, 10.05, 10.05, false, 0, 0);
    EXPECT_EQ(l.indice, 0);
    EXPECT_EQ(l.station, "\nStation : AAAA");
    EXPECT_EQ(l.vitesse, "Vitesse : 5 mm/an");
    l = lectureStation(st, 10.05, 10.05, true, 0, 1);
    EXPECT_EQ(l.vitesse, "Vitesse relative : 4.24 mm/an");
    l = lectureStation(st, 30, 30, false, 0, 0);
    EXPECT_EQ(l.indice, -1);
    EXPECT_TRUE(l.station.isEmpty());
    EXPECT_TRUE(l.vitesse.isEmpty());
}

TEST_F(InteractionLecture, VolcanoReadoutAndNearest)
{
    std::vector<TVolcan> v{volcan("Etna", 37.75f, 14.99f, 3330.4f, 20, 1), volcan("Loin", 37.75f, 15.7f, 0, 0, 0),
                           volcan("Sans altitude", -10, -10, -10000, 99, 42)};
    // Within 0.7 degree both ways only; 0.7 exactly is out.
    EXPECT_EQ(volcanLePlusProche(v, 15.0, 37.7), 0);
    EXPECT_EQ(volcanLePlusProche(v, 15.69, 37.75), 1);
    EXPECT_EQ(volcanLePlusProche(v, 14.99, 37.05), -1);
    LectureVolcan l = lectureVolcan(v, 15.0, 37.7);
    EXPECT_EQ(l.nom, "Etna");
    EXPECT_EQ(l.altitude, "3330 m");
    EXPECT_EQ(l.type, QString::fromUtf8("Strato-volcan"));
    EXPECT_EQ(l.activite, QString::fromUtf8("actif depuis 1964"));
    l = lectureVolcan(v, -10, -10);
    EXPECT_TRUE(l.altitude.isEmpty());
    EXPECT_TRUE(l.type.isEmpty());
    EXPECT_EQ(l.activite, QString::fromUtf8("dernière activité ?"));
    // Equal distances: the first wins.
    std::vector<TVolcan> jumeaux{volcan("Un", 0, 0.1f, 0, 0, 0), volcan("Deux", 0, -0.1f, 0, 0, 0)};
    EXPECT_EQ(volcanLePlusProche(jumeaux, 0, 0), 0);
}

TEST_F(InteractionLecture, VolcanoSearch)
{
    std::vector<TVolcan> v{volcan("Etna", 37.748f, 14.999f, 3330, 20, 1), volcan("Vesuvius", 40.821f, 14.426f, 1281, 20, 2),
                           volcan("Kick 'em Jenny", 12.3f, -61.64f, -10000, 6, 1)};
    int n = -1;
    QStringList r = rechercheVolcans("etn", v, &n);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(r.size(), 7);
    EXPECT_EQ(r[0], "Etna");
    EXPECT_EQ(r[1], "Latitude : 37.7");
    EXPECT_EQ(r[2], "Longitude : 15");
    EXPECT_EQ(r[3], "Altitude : 3330 m");
    EXPECT_EQ(r[4], "Strato-volcan");
    EXPECT_EQ(r[6], " ");
    // Unknown elevation: no altitude line.
    r = rechercheVolcans("JENNY", v, &n);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(r.size(), 6);
    EXPECT_EQ(r[3], QString::fromUtf8("Volcan sous-marin"));
    r = rechercheVolcans("E", v, &n);
    EXPECT_EQ(n, 3);
    r = rechercheVolcans("Fuji", v, &n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(r, QStringList{QString::fromUtf8("Aucun volcan trouvé.")});
}
