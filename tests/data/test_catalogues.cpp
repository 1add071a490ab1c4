#include "data/catalogues.h"
#include "data/dates.h"
#include "data/textimport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

double jour(int a, int m, int j, int h = 0, int mi = 0, double s = 0)
{
    double d = 0;
    joursDepuis1899(a, m, j, d);
    return d + (h * 3600 + mi * 60 + s) / 86400.0;
}

} // namespace

// ---- earthquakes ----------------------------------------------------------------

TEST(CatalogueSeismes, ComCatColumnsTypeFilterAndQuotedPlace)
{
    const QByteArray csv =
        "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type,horizontalError,"
        "depthError,magError,magNst,status,locationSource,magSource\n"
        "2013-01-01T03:51:13.000Z,-20.809,-69.667,56.1,5.1,mb,64,109.1,,,us,usp000jxpn,2014-11-07T01:49:43.070Z,"
        "\"83 km SE of Iquique, Chile\",earthquake,,,,18,reviewed,guc,us\n"
        "2013-02-12T02:57:51.000Z,41.3,129.0,1,5.1,mb,,,,,us,x,2014,\"North Korea\",nuclear explosion,,,,,reviewed,us,us\n"
        "2013-03-01T00:00:00.000Z,10,190.5,,6.0,mw,,,,,us,y,2014,\"no depth\",earthquake,,,,,reviewed,us,us\n"
        "2013-03-02T12:00:00.000Z,10,-170,33,6.0,mw,,,,,us,z,2014,\"ok\",earthquake,,,,,reviewed,us,us\n";
    std::vector<TSeisme> s;
    BilanCatalogue b;
    ASSERT_TRUE(lireSeismesDepuis(csv, "q.csv", s, nullptr, &b));
    EXPECT_EQ(b.format, "USGS ComCat (CSV)");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(b.ignores, 2);  // the explosion and the event without depth
    EXPECT_NEAR(s[0].DateHeure, jour(2013, 1, 1, 3, 51, 13), 1e-9);
    EXPECT_FLOAT_EQ(s[0].Latitude, -20.809f);
    EXPECT_FLOAT_EQ(s[0].Longitude, -69.667f);
    EXPECT_FLOAT_EQ(s[0].Profondeur, 56.1f);
    EXPECT_FLOAT_EQ(s[0].Magnitude, 5.1f);
    EXPECT_NEAR(s[1].DateHeure, jour(2013, 3, 2, 12), 1e-9);
}

TEST(CatalogueSeismes, NeicIscGemAndPlainTables)
{
    const QByteArray neic =
        "Date,Time,Latitude,Longitude,Type,Depth,Depth Error,Depth Seismic Stations,Magnitude,Magnitude Type\n"
        "01/02/1965,13:44:18,19.246,145.616,Earthquake,131.6,,,6,MW\n"
        "07/01/1966,00:00:00,0,0,Nuclear Explosion,0,,,5.8,MB\n"
        "13/40/1966,00:00:00,0,0,Earthquake,0,,,5.8,MB\n";
    std::vector<TSeisme> s;
    BilanCatalogue b;
    ASSERT_TRUE(lireSeismesDepuis(neic, "n.csv", s, nullptr, &b));
    EXPECT_EQ(b.format, "USGS/NEIC (CSV)");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].DateHeure, jour(1965, 1, 2, 13, 44, 18), 1e-9);
    EXPECT_FLOAT_EQ(s[0].Profondeur, 131.6f);

    // ISC-GEM: the header is the last comment line, fields padded with blanks,
    // events without Mw skipped, fractional seconds kept.
    const QByteArray isc =
        "# ISC-GEM\n#\n"
        "#         date          ,    lat   ,    lon   , smajax , sminax , strike, q ,  depth ,   unc , q ,  mw  ,"
        "  unc , q , s , type ,    eventid\n"
        " 1904-01-20 14:51:36.41 ,    7.808 ,  -81.980 ,  140.8 ,   33.6 , 150.8 , C ,   10.0 ,  25.0 , C , 7.2  ,"
        "      , D ,   , BB   ,   16957810\n"
        " 1904-03-18 13:43:56.21 ,   42.701 ,  146.265 ,   51.3 ,   14.4 , 146.2 , C ,   15.0 ,   9.1 , C ,      ,"
        "      , D ,   ,      ,  602790124\n";
    s.clear();
    ASSERT_TRUE(lireSeismesDepuis(isc, "i.csv", s, nullptr, &b));
    EXPECT_EQ(b.format, "ISC-GEM (CSV)");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].DateHeure, jour(1904, 1, 20, 14, 51, 36.41), 1e-9);
    EXPECT_FLOAT_EQ(s[0].Magnitude, 7.2f);
    EXPECT_FLOAT_EQ(s[0].Profondeur, 10.0f);

    const QByteArray kmz = "eventid,time_utc,latitude,longitude,loc_quality,depth_km,depth_quality,mw,mw_kind\n"
                           "1,1904-04-04T10:02:34.56,41.802,23.108,B,15.0,C,6.84,direct\n";
    s.clear();
    ASSERT_TRUE(lireSeismesDepuis(kmz, "k.csv", s));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_FLOAT_EQ(s[0].Magnitude, 6.84f);

    // A table without dates, longitudes 0..360.
    const QByteArray fidji = "\"lat\",\"long\",\"depth\",\"mag\",\"stations\"\n-20.42,181.62,562,4.8,41\n";
    s.clear();
    ASSERT_TRUE(lireSeismesDepuis(fidji, "f.csv", s));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].Longitude, 181.62 - 360, 1e-4);
    EXPECT_EQ(s[0].DateHeure, 0.0);
}

TEST(CatalogueSeismes, GeoJsonFeed)
{
    const QByteArray json = R"({"type":"FeatureCollection","features":[
      {"type":"Feature","properties":{"mag":2,"time":1517966773840,"type":"earthquake"},
       "geometry":{"type":"Point","coordinates":[-118.6671667,34.4945,26.49]}},
      {"type":"Feature","properties":{"mag":1.2,"time":1517966773840,"type":"quarry blast"},
       "geometry":{"type":"Point","coordinates":[-118,34,0]}},
      {"type":"Feature","properties":{"mag":null,"time":1517966773840,"type":"earthquake"},
       "geometry":{"type":"Point","coordinates":[-118,34,0]}}]})";
    std::vector<TSeisme> s;
    BilanCatalogue b;
    ASSERT_TRUE(lireSeismesDepuis(json, "w.json", s, nullptr, &b));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(b.ignores, 2);
    // 2018-02-07 01:26:13.840 UTC
    EXPECT_NEAR(s[0].DateHeure, jour(2018, 2, 7, 1, 26, 13.84), 1e-8);
    EXPECT_FLOAT_EQ(s[0].Profondeur, 26.49f);
}

TEST(CatalogueSeismes, UnknownLayoutOrMissingFileLeavesOutputUntouched)
{
    std::vector<TSeisme> s(3);
    QString msg;
    EXPECT_FALSE(lireSeismesDepuis("a,b,c\n1,2,3\n", "inconnu.csv", s, &msg));
    EXPECT_TRUE(msg.contains("inconnu.csv"));
    EXPECT_TRUE(msg.contains("attendu"));
    EXPECT_EQ(s.size(), 3u);
    EXPECT_FALSE(lireSeismesDepuis("{\"type\":", "casse.json", s, &msg));
    EXPECT_TRUE(msg.contains("casse.json"));
    EXPECT_FALSE(lireCatalogueSeismes("/nonexistent/quakes.csv", s, &msg));
    EXPECT_TRUE(msg.contains("quakes.csv"));
    EXPECT_EQ(s.size(), 3u);
}

// ---- volcanoes ------------------------------------------------------------------

TEST(CatalogueVolcans, PrimaryTypesToCodes)
{
    EXPECT_EQ(typeVolcanGVP("Stratovolcano(es)"), 20);
    EXPECT_EQ(typeVolcanGVP("Stratovolcano"), 20);
    EXPECT_EQ(typeVolcanGVP("Shield"), 3);
    EXPECT_EQ(typeVolcanGVP("Shield(s)"), 3);
    EXPECT_EQ(typeVolcanGVP("Caldera"), 11);
    EXPECT_EQ(typeVolcanGVP("Lava dome(s)"), 13);
    EXPECT_EQ(typeVolcanGVP("Submarine"), 6);
    EXPECT_EQ(typeVolcanGVP("Fissure vent(s)"), 1);
    EXPECT_EQ(typeVolcanGVP("Volcanic field"), 2);
    EXPECT_EQ(typeVolcanGVP("Cone(s)"), 23);
    EXPECT_EQ(typeVolcanGVP("Pyroclastic cone(s)"), 24);
    EXPECT_EQ(typeVolcanGVP("Lava cone(s)"), 4);
    EXPECT_EQ(typeVolcanGVP("Pumice cone(s)"), 14);
    EXPECT_EQ(typeVolcanGVP("Tuff cone(s)"), 21);
    EXPECT_EQ(typeVolcanGVP("Tuff ring(s)"), 22);
    EXPECT_EQ(typeVolcanGVP("Maar(s)"), 10);
    EXPECT_EQ(typeVolcanGVP("Complex"), 27);
    EXPECT_EQ(typeVolcanGVP("Compound"), 26);
    EXPECT_EQ(typeVolcanGVP("Subglacial"), 7);
    EXPECT_EQ(typeVolcanGVP("Crater rows"), 5);
    EXPECT_EQ(typeVolcanGVP("Explosion crater(s)"), 12);
    EXPECT_EQ(typeVolcanGVP("Hydrothermal field"), 30);
    EXPECT_EQ(typeVolcanGVP("Fumarole field"), 31);
    EXPECT_EQ(typeVolcanGVP("Pyroclastic shield(s)"), 25);
    EXPECT_EQ(typeVolcanGVP("Unknown"), 0);
    EXPECT_EQ(typeVolcanGVP(""), 0);
}

TEST(CatalogueVolcans, LastEruptionToActivity)
{
    EXPECT_EQ(activiteDerniereEruption("2021 CE"), 1);
    // "actif depuis 1964": an eruption in 1991 belongs to D1.
    EXPECT_EQ(activiteDerniereEruption("1991 CE"), 1);
    EXPECT_EQ(activiteDerniereEruption("1964 CE"), 1);
    EXPECT_EQ(activiteDerniereEruption("1963 CE"), 2);
    EXPECT_EQ(activiteDerniereEruption("1902 CE"), 2);
    EXPECT_EQ(activiteDerniereEruption("1883 CE"), 3);
    EXPECT_EQ(activiteDerniereEruption("1707 CE"), 4);
    EXPECT_EQ(activiteDerniereEruption("1538 CE"), 5);
    EXPECT_EQ(activiteDerniereEruption("79 CE"), 6);
    EXPECT_EQ(activiteDerniereEruption("8300 BCE"), 7);
    EXPECT_EQ(activiteDerniereEruption("Unknown"), 0);
    EXPECT_EQ(activiteDerniereEruption(""), 0);
}

TEST(CatalogueVolcans, HoloceneAndPleistoceneListsWithEruptionUpdates)
{
    const QByteArray holo =
        "\xEF\xBB\xBFGlobal Volcanism Program - Volcanoes of the World 4.9.0,,,Basic List of Holocene Volcanoes,,\n"
        "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,Last Known Eruption,Region,"
        "Subregion,Latitude,Longitude,Elevation (m),Dominant Rock Type,Tectonic Setting\n"
        "210020,Chaine des Puys,France,Lava dome(s),Eruption Dated,4040 BCE,Med,W Europe,45.775,2.97,1464,Basalt,Rift\n"
        "273083,Pinatubo,Philippines,Stratovolcano,Eruption Observed,1991 CE,SE Asia,Luzon,15.13,120.35,1486,Dacite,"
        "Subduction\n"
        "300000,\"Tara, Batu\",Indonesia,Shield,Evidence Credible,Unknown,X,Y,-7.791,123.585,,Basalt,Subduction\n"
        "300001,A volcano with a very long name indeed,Iceland,Submarine,Eruption Dated,1200 CE,X,Y,63.0,-20.0,-150,"
        "Basalt,Rift\n"
        "bad,Broken,X,Shield,,,X,Y,north,east,12,,\n";
    std::vector<TVolcan> v;
    std::vector<int> numeros;
    BilanCatalogue b;
    ASSERT_TRUE(lireListeVolcansGVP(holo, "h.csv", v, numeros, nullptr, &b));
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(b.ignores, 1);
    EXPECT_EQ(shortToQString(v[0].Nom), "Chaine des Puys");
    EXPECT_EQ(v[0].TypeVolcan, 13);
    EXPECT_EQ(v[0].Activite, 7);
    EXPECT_FLOAT_EQ(v[0].Altitude, 1464.f);
    EXPECT_EQ(v[1].TypeVolcan, 20);
    EXPECT_EQ(v[1].Activite, 1);
    EXPECT_EQ(shortToQString(v[2].Nom), "Tara, Batu");
    EXPECT_EQ(v[2].Activite, 8);  // undated Holocene volcano: "U "
    EXPECT_LE(v[2].Altitude, -10000.f);  // no elevation: not displayed
    EXPECT_EQ(v[3].Nom.Len, 24);  // cut to what the binary file keeps
    EXPECT_FLOAT_EQ(v[3].Altitude, -150.f);
    EXPECT_EQ(v[3].Activite, 6);
    EXPECT_EQ(numeros[1], 273083);

    const QByteArray eruptions =
        "Volcano Number,Volcano Name,Eruption Number,Eruption Category,Area of Activity,VEI,VEI Modifier,"
        "Start Year Modifier,Start Year,Start Year Uncertainty,Latitude,Longitude\n"
        "300000,\"Tara, Batu\",1,Confirmed Eruption,,,,,1885,,-7.791,123.585\n"
        "300001,Long,2,Confirmed Eruption,,,,,1100,,63,-20\n"
        "300001,Long,3,Uncertain Eruption,,,,,2001,,63,-20\n";
    std::map<int, int> dernieres;
    ASSERT_TRUE(lireEruptionsGVP(eruptions, "e.csv", dernieres));
    EXPECT_EQ(dernieres.at(300001), 1100);  // the uncertain eruption does not count
    EXPECT_EQ(appliquerEruptions(v, numeros, dernieres), 1);
    EXPECT_EQ(v[2].Activite, 3);   // dated by the eruption list
    EXPECT_EQ(v[3].Activite, 6);   // an older eruption changes nothing

    // The eruption list alone gives one volcano per number.
    std::vector<TVolcan> e;
    ASSERT_TRUE(lireVolcansDepuis(eruptions, "e.csv", e));
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].Activite, 3);
    EXPECT_EQ(e[0].TypeVolcan, 0);

    const QByteArray pleisto =
        "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,Last Known Eruption,Region,"
        "Subregion,Latitude,Longitude,Elevation (m),Dominant Rock Type,Tectonic Setting\n"
        "210801,South Harghita Mountains,Romania,Lava dome(s),,,Med,W Europe,46.13,25.88,1289,,Intraplate\n";
    std::vector<TVolcan> p;
    ASSERT_TRUE(lireVolcansDepuis(pleisto, "p.csv", p));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].Activite, 9);  // "Q ": probably active in the Quaternary

    QString msg;
    EXPECT_FALSE(lireVolcansDepuis("Name,Lat,Lon\nEtna,37.7,15\n", "autre.csv", p, &msg));
    EXPECT_TRUE(msg.contains("autre.csv"));
    EXPECT_EQ(p.size(), 1u);
}

// ---- GPS -------------------------------------------------------------------------

TEST(CatalogueGPS, VelocityCsvAndMidasJoin)
{
    const QByteArray csv =
        "station,domes,name,latitude,longitude,height_m,vE_mm_yr,vN_mm_yr,vU_mm_yr,sE_mm_yr,sN_mm_yr,sU_mm_yr\n"
        "ZIMM,14001M004,Zimmerwald,46.877,7.465,956.3,19.75,16.36,0.9,0.02,0.03,0.05\n"
        "ZERO,1,x,1,2,3,1,1,1,0.1,0,0.1\n"
        "BAD,1,x,north,2,3,1,1,1,0.1,0.1,0.1\n";
    std::vector<TStationGPS> s;
    BilanCatalogue b;
    ASSERT_TRUE(lireGPSDepuis(csv, "v.csv", s, nullptr, &b));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(b.ignores, 2);  // zero north uncertainty, bad latitude
    EXPECT_EQ(s[0].Nom.bytes(), QByteArray("ZIMM"));
    EXPECT_DOUBLE_EQ(s[0].VitLat, 16.36);
    EXPECT_DOUBLE_EQ(s[0].VitLong, 19.75);
    EXPECT_DOUBLE_EQ(s[0].Altitude, 956300.0);  // mm
    EXPECT_DOUBLE_EQ(s[0].IncVitLat, 0.03);
    EXPECT_EQ(s[0].Affiche, 1);
    EXPECT_EQ(s[0].Rang, 0);

    const QByteArray midas =
        "00NA MIDAS4 2008.2355 2018.7324 10.4969 3190 2968   5171  0.036204  0.058800 -0.001110  0.000233 0.000262 "
        "0.000920  -0.002083   0.004510   0.013170 0.072 0.115 0.072 0.002145 0.002358 0.008472  1\n"
        "SHRT MIDAS4 2019.0 2020.0 1.0 300 300 100 0.01 0.01 0.0 0.001 0.001 0.001 0 0 0 0 0 0 0 0 0 0\n"
        "LOST MIDAS4 2008.0 2018.0 10.0 300 300 100 0.01 0.01 0.0 0.001 0.001 0.001 0 0 0 0 0 0 0 0 0 0\n";
    const QByteArray liste = "Sta  Lat(deg)   Long(deg) Hgt(m)  X(m) Y(m) Z(m)\n"
                             "00NA -12.4666   490.8440  104.851 0 0 0\n"
                             "SHRT 10 10 10 0 0 0\n";
    s.clear();
    ASSERT_TRUE(lireMidas(midas, liste, "m.txt", s, nullptr, &b, 2.5));
    ASSERT_EQ(s.size(), 1u);  // too short, and not in the station list
    EXPECT_NEAR(s[0].Longitude, 130.844, 1e-9);
    EXPECT_NEAR(s[0].VitLong, 36.204, 1e-9);
    EXPECT_NEAR(s[0].VitLat, 58.8, 1e-9);
    EXPECT_NEAR(s[0].IncVitLat, 0.262, 1e-9);
    QString msg;
    EXPECT_FALSE(lireGPSDepuis(midas, "m.txt", s, &msg));  // needs the station list
    EXPECT_TRUE(msg.contains("m.txt"));
}

TEST(CatalogueGPS, TextTableReadsBackThroughTheProgramsImport)
{
    std::vector<TStationGPS> st;
    const QByteArray csv =
        "station,latitude,longitude,height_m,vE_mm_yr,vN_mm_yr,vU_mm_yr,sE_mm_yr,sN_mm_yr,sU_mm_yr\n"
        "ZIMM,46.877098,7.465278,956.3,19.75,16.36,0.9,0.02,0.03,0.05\n"
        "KOKB,22.126278,-159.664871,1167.4,-62.13,34.41,-0.1,0.04,0.00001,0.2\n"
        "AB,-12.5,130.8,100.0,36.2,58.8,-1.1,0.23,0.26,0.92\n";
    ASSERT_TRUE(lireGPSDepuis(csv, "v.csv", st));
    ASSERT_EQ(st.size(), 3u);
    const QByteArray texte = texteGPS(st, "Réseau d'essai");
    std::vector<TStationGPS> relus;
    ASSERT_TRUE(importerGPSTexte(texte, relus));
    ASSERT_EQ(relus.size(), st.size());
    for (std::size_t i = 0; i < st.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(relus[i].Nom.bytes().trimmed(), st[i].Nom.bytes());
        EXPECT_NEAR(relus[i].Latitude, st[i].Latitude, 1e-6);
        EXPECT_NEAR(relus[i].Longitude, st[i].Longitude, 1e-6);
        EXPECT_NEAR(relus[i].Altitude, st[i].Altitude, 0.05);
        EXPECT_NEAR(relus[i].VitLat, st[i].VitLat, 5e-4);
        EXPECT_NEAR(relus[i].VitLong, st[i].VitLong, 5e-4);
        EXPECT_NEAR(relus[i].VitAlt, st[i].VitAlt, 5e-4);
        EXPECT_GT(relus[i].IncVitLat, 0.0);  // a tiny uncertainty must not drop the station
        EXPECT_NEAR(relus[i].IncVitLong, st[i].IncVitLong, 5e-5);
    }
}

TEST(CatalogueGPS, ReadsFilesByContentWhateverTheExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile f(dir.filePath("midas.IGS14.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("00NA MIDAS4 2008.2 2018.7 10.5 3190 2968 5171 0.036 0.058 -0.001 0.0002 0.0003 0.0009 0 0 0 0 0 0 0 0 0 1\n");
    f.close();
    std::vector<TStationGPS> s;
    QString msg;
    EXPECT_FALSE(lireCatalogueGPS(f.fileName(), s, &msg));
    EXPECT_TRUE(msg.contains("DataHoldings"));
    QFile l(dir.filePath("DataHoldings.txt"));
    ASSERT_TRUE(l.open(QIODevice::WriteOnly));
    l.write("Sta Lat(deg) Long(deg) Hgt(m)\n00NA -12.4666 130.8440 104.851\n");
    l.close();
    ASSERT_TRUE(lireCatalogueGPS(f.fileName(), s, &msg));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].VitLat, 58.0, 1e-9);
}
