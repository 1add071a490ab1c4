// Whatever a file holds, only plausible records reach the stores; the loaders say
// how many were skipped and where the first one was, and a load that keeps
// nothing leaves the store as it was.
#include "data/catalogues.h"
#include "data/data_test_util.h"
#include "data/decimal.h"
#include "data/loaders.h"
#include "data/textimport.h"
#include "data/validation.h"

#include <QRandomGenerator>

#include <cmath>
#include <limits>

namespace {

TSeisme seisme(float lat, float lon, float prof, float mag)
{
    TSeisme s;
    s.DateHeure = 40000;
    s.Latitude = lat;
    s.Longitude = lon;
    s.Profondeur = prof;
    s.Magnitude = mag;
    return s;
}

TStationGPS station(const char* nom, double lat, double lon, double vn, double ve)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Affiche = 1;
    s.Latitude = lat;
    s.Longitude = lon;
    s.VitLat = vn;
    s.VitLong = ve;
    s.IncVitLat = 0.5;
    s.IncVitLong = 0.5;
    return s;
}

} // namespace

TEST(Validation, RecordsOutOfAllMeasureAreRefusedWithTheirReason)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Cas {
        TSeisme s;
        const char* mot; // expected in the reason; nullptr: valid
    } cas[] = {
        {seisme(35, 140, 30, 6), nullptr},
        {seisme(-90, -180, -15, -3), nullptr},
        {seisme(90, 180, 1000, 10.5f), nullptr},
        {seisme(95, 0, 10, 5), "latitude"},
        {seisme(nan, 0, 10, 5), "latitude"},
        {seisme(0, inf, 10, 5), "longitude"},
        {seisme(0, 1e30f, 10, 5), "longitude"},
        {seisme(0, 0, -1e10f, 5), "profondeur"},
        {seisme(0, 0, nan, 5), "profondeur"},
        {seisme(0, 0, 10, 11), "magnitude"},
    };
    for (Cas& c : cas) {
        const QString r = verifierSeisme(c.s);
        if (c.mot)
            EXPECT_TRUE(r.contains(QLatin1String(c.mot))) << r.toStdString();
        else
            EXPECT_TRUE(r.isEmpty()) << r.toStdString();
    }
    TSeisme date = seisme(0, 0, 10, 5);
    date.DateHeure = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(verifierSeisme(date).contains(QStringLiteral("date")));

    // Longitudes beyond ±180 are brought back; ±180 themselves stay.
    TSeisme est = seisme(0, 190, 10, 5), ouest = seisme(0, -540, 10, 5), bord = seisme(0, -180, 10, 5);
    EXPECT_TRUE(verifierSeisme(est).isEmpty());
    EXPECT_FLOAT_EQ(est.Longitude, -170);
    EXPECT_TRUE(verifierSeisme(ouest).isEmpty());
    EXPECT_FLOAT_EQ(ouest.Longitude, -180);
    EXPECT_TRUE(verifierSeisme(bord).isEmpty());
    EXPECT_FLOAT_EQ(bord.Longitude, -180);

    // Volcanoes: an unknown altitude is a convention and passes, an absurd one not.
    TVolcan v;
    v.Latitude = 19.4f;
    v.Longitude = -155.3f;
    v.Altitude = -1e30f;
    EXPECT_TRUE(verifierVolcan(v).isEmpty());
    v.Altitude = 1e30f;
    EXPECT_TRUE(verifierVolcan(v).contains(QStringLiteral("altitude")));

    // Stations: a velocity of 1e12 mm/an, a negative or NaN uncertainty.
    TStationGPS s = station("AAAA", 45, 5, 1e12, 0);
    EXPECT_TRUE(verifierStation(s).contains(QStringLiteral("vitesse nord")));
    s = station("AAAA", 45, 5, 10, 20);
    s.IncVitLong = -1;
    EXPECT_TRUE(verifierStation(s).contains(QStringLiteral("incertitude")));
    s.IncVitLong = std::nan("");
    EXPECT_FALSE(verifierStation(s).isEmpty());
    s = station("AAAA", 45, 365, 10, 20);
    EXPECT_TRUE(verifierStation(s).isEmpty());
    EXPECT_DOUBLE_EQ(s.Longitude, 5);
}

TEST_F(StoresFixture, BinaryFilesKeepTheirValidRecordsAndSayWhereTheFirstBadOneWas)
{
    TabSeismes = {seisme(1, 1, 1, 1)};
    std::vector<TSeisme> s;
    for (int i = 0; i < 10; ++i)
        s.push_back(seisme(i, i, 10, 5));
    s[2].Latitude = 95;
    s[7].Profondeur = -1e10f;
    ResultatChargement r = ChargerSeismes(ecrire("m.fse", encoderSeismes(s)));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(r.remplace);
    EXPECT_EQ(r.lus, 8);
    EXPECT_EQ(r.ignores, 2);
    ASSERT_EQ(TabSeismes.size(), 8u);
    EXPECT_FLOAT_EQ(TabSeismes[2].Latitude, 3) << "the others keep their order";
    EXPECT_TRUE(r.message.contains(QStringLiteral("m.fse")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("8 séismes lus")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("2 enregistrements ignorés (le premier, n° 3 : latitude 95")))
        << r.message.toStdString();

    // A single record with a depth of -1e10 km: nothing valid, nothing replaced.
    r = ChargerSeismes(ecrire("un.fse", encoderSeismes({seisme(10, 10, -1e10f, 5)})));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.remplace);
    EXPECT_TRUE(r.message.contains(QStringLiteral("profondeur"))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("conservées")));
    EXPECT_EQ(TabSeismes.size(), 8u);

    // Random bytes, whatever their extension, are not a file of the kind.
    QByteArray hasard(24 * 1000 + 7, '\0');
    QRandomGenerator g(42);
    for (char& c : hasard)
        c = static_cast<char>(g.bounded(256));
    r = ChargerSeismes(ecrire("photo.fse", hasard));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("n'est pas un fichier de séismes"))) << r.message.toStdString();
    EXPECT_EQ(TabSeismes.size(), 8u);
    EXPECT_FALSE(ChargerVolcans(ecrire("photo.fvo", hasard)).ok);
    // A picture or a text of any size is recognised as such, even when some of its
    // bytes would read as plausible records.
    QByteArray jpeg("\xFF\xD8\xFF\xE0", 4);
    jpeg += QByteArray(24 * 10, '\0');
    jpeg += hasard.left(24 * 2);
    r = ChargerSeismes(ecrire("zeros.fse", jpeg));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("c'est une image JPEG"))) << r.message.toStdString();
    r = ChargerSeismes(ecrire("notes.fse", QByteArray("Des notes de cours sur les seismes du Japon.\n").repeated(4)));
    EXPECT_TRUE(r.message.contains(QStringLiteral("un fichier de texte"))) << r.message.toStdString();
    EXPECT_FALSE(ChargerGPS(ecrire("photo.gps", hasard)).ok);
    EXPECT_TRUE(TabVolcans.empty());
    EXPECT_TRUE(TabStations.empty());

    // A truncated .gps still says so, and keeps its complete stations.
    QByteArray gps = encoderStations({station("AAAA", 1, 2, 3, 4), station("BBBB", 5, 6, 7, 8)});
    gps.chop(30);
    r = ChargerGPS(ecrire("t.gps", gps));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.remplace);
    EXPECT_TRUE(r.message.contains(QStringLiteral("tronqué")));
    EXPECT_EQ(TabStations.size(), 1u);
}

TEST_F(StoresFixture, TextAndCatalogueReadersSkipImplausibleRowsByLine)
{
    // Earthquake text dump: the line of a 1e30 depth is named.
    const QByteArray tirets = "Date Heure\n-------------------------\n";
    const QByteArray bonne = "2001/02/03 04:05:06.00  12.3000  -45.6000  10.00  5.50\n";
    const QByteArray mauvaise = "2001/02/03 04:05:06.00  12.3000  -45.6000   1e30 5.50\n";
    std::vector<TSeisme> s;
    BilanRejets rejets;
    EXPECT_EQ(importerSeismesTexte(tirets + bonne + mauvaise + bonne, s, &rejets), 2);
    EXPECT_EQ(rejets.nombre, 1);
    EXPECT_EQ(rejets.premier, 4);
    EXPECT_TRUE(rejets.raison.contains(QStringLiteral("profondeur"))) << rejets.raison.toStdString();

    // GPS text: a velocity of 1e12 mm/an skips that station only.
    definirSeparateurDecimal('.');
    const QByteArray gps = "NOM LAT LON\n"
                           "AAAA POS  45.0 5.0 100 1 1 1\nAAAA VEL  1 2 3 0.5 0.5 0.5\n"
                           "BBBB POS  46.0 6.0 100 1 1 1\nBBBB VEL  1e12 2 3 0.5 0.5 0.5\n"
                           "CCCC POS  47.0 7.0 100 1 1 1\nCCCC VEL  1 2 3 0.5 0.5 0.5\n";
    ResultatChargement r = ChargerGPS(ecrire("table.txt", gps));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(TabStations.size(), 2u);
    EXPECT_EQ(TabStations[1].Rang, 1);
    EXPECT_TRUE(r.message.contains(QStringLiteral("ligne 5 : vitesse nord"))) << r.message.toStdString();

    // Agency CSV: the row of a latitude of 95 is named with its line.
    const QString csv = ecrire("c.csv", "time,latitude,longitude,depth,mag,type\n"
                                        "2011-03-11T05:46:24Z,38.3,142.4,29,9.1,earthquake\n"
                                        "2011-03-11T06:15:40Z,95,141.1,20,7.9,earthquake\n"
                                        "2011-03-11T06:25:50Z,38.1,144.6,20,7.7,earthquake\n");
    r = ChargerSeismes(csv);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(TabSeismes.size(), 2u);
    EXPECT_TRUE(r.message.contains(QStringLiteral("ligne 3 : latitude 95"))) << r.message.toStdString();

    // A garbage CSV given as GPS says what is wrong with it, not that it is missing.
    r = ChargerGPS(ecrire("n.csv", "\x89PNG\r\n\x1a\nxx,yy\n1,2\n"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("colonnes non reconnues"))) << r.message.toStdString();
    EXPECT_FALSE(r.message.contains(QStringLiteral("non trouvé")));
    EXPECT_EQ(TabStations.size(), 2u);
}

TEST(CatalogueCSV, AStrayQuoteCostsOneRowAndIsReportedWithItsLine)
{
    QByteArray csv = "time,latitude,longitude,depth,mag,place,type\n";
    csv += "2011-03-11T05:46:24Z,38.3,142.4,29,9.1,\"Tohoku, Japan,earthquake\n"; // never closed
    const int n = 40000;
    for (int i = 0; i < n; ++i)
        csv += "2011-03-11T05:46:24Z,38.3,142.4,29,6.1,\"Honshu, Japan\",earthquake\n";
    // A field holding a line break is still one record.
    csv += "2011-03-12T00:00:00Z,37.0,141.0,10,6.5,\"two\nlines\",earthquake\n";
    std::vector<TSeisme> out;
    QString message;
    BilanCatalogue bilan;
    ASSERT_TRUE(lireSeismesDepuis(csv, QStringLiteral("c.csv"), out, &message, &bilan));
    EXPECT_EQ(out.size(), static_cast<std::size_t>(n + 1));
    EXPECT_EQ(bilan.rejets.nombre, 1);
    EXPECT_EQ(bilan.rejets.premier, 2);
    EXPECT_TRUE(bilan.rejets.raison.contains(QStringLiteral("guillemet")));
    EXPECT_FLOAT_EQ(out.back().Magnitude, 6.5f);
}

TEST(Validation, ReasonsReadAsFrench)
{
    TSeisme s;
    s.Latitude = 95;
    const QString r = verifierSeisme(s);
    EXPECT_EQ(r, QString::fromUtf8("latitude 95 ° hors limites"));
}
