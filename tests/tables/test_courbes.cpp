// The time-series measurement without its window: calibration from the markers,
// read-outs, the velocity of a drag with the catalogue's and the fitted one, the
// calibration file and the daily positions file.
#include "data/decimal.h"
#include "tables/courbes.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace courbes;

namespace {

class Mesure : public ::testing::Test {
protected:
    void SetUp() override { definirSeparateurDecimal(','); }
    void TearDown() override { DeterminerSeparateurDecimal(); }

    // Drags a marker pair for the axis and validates nothing yet.
    void reperes(int axe, QPoint a, QPoint b)
    {
        m.choisirAxe(axe);
        m.appui(a.x(), a.y());
        m.deplacement(b.x(), b.y(), true);
        m.relachement(b.x(), b.y());
    }
    void glisser(QPoint a, QPoint b)
    {
        m.appui(a.x(), a.y());
        m.deplacement((a.x() + b.x()) / 2, (a.y() + b.y()) / 2, true);
        m.relachement(b.x(), b.y());
    }
    // Time markers at x = 100 and 300 for 2000 and 2004; latitude markers at
    // y = 50 (0 cm) and y = 150 (5 cm).
    void etalonnerTempsEtLatitude()
    {
        m.definir();
        m.valeur1[Temps] = 2000;
        m.valeur2[Temps] = 2004;
        reperes(Temps, {100, 60}, {300, 60});
        m.valeur1[Latitude] = 0;
        m.valeur2[Latitude] = 5;
        reperes(Latitude, {200, 50}, {200, 150});
        ASSERT_TRUE(m.valider());
    }

    TMesureCourbes m;
};

PositionsJournalieres droite(double t0, double t1, double pente)
{
    PositionsJournalieres p;
    for (double t = t0; t <= t1 + 1e-9; t += 1 / 365.25) {
        p.t.push_back(t);
        p.nord.push_back(pente * (t - t0) + 3);
        p.est.push_back(-2 * pente * (t - t0));
        p.haut.push_back(0);
    }
    return p;
}

} // namespace

TEST_F(Mesure, TimeAndLatitudeCalibrationGiveDateAndVelocity)
{
    etalonnerTempsEtLatitude();
    EXPECT_DOUBLE_EQ(m.etalonnage.PenteTemps, 0.02);
    EXPECT_DOUBLE_EQ(m.etalonnage.OrigineTemps, 1998);
    EXPECT_DOUBLE_EQ(m.etalonnage.PenteLat, 0.05);
    EXPECT_TRUE(m.ModeMesure);
    EXPECT_FALSE(m.ModeCalibrage);

    m.deplacement(200, 100, false);
    EXPECT_EQ(m.affichage.date, "Date : 2002");
    EXPECT_EQ(m.affichage.variation, "Variation de latitude (mm): 25");
    // Outside the time band, or between two plots: nothing.
    m.deplacement(40, 100, false);
    EXPECT_EQ(m.affichage.date, "");
    m.deplacement(200, 230, false);
    EXPECT_EQ(m.affichage.date, "");

    m.station.VitLat = -8.25;
    glisser({100, 150}, {300, 50});
    EXPECT_EQ(m.affichage.vitesse, "Vitesse en latitude (mm/an): -12,5");
    EXPECT_EQ(m.affichage.catalogue, "Vitesse du catalogue : -8,25 mm/an");
    EXPECT_EQ(m.affichage.ajustement, "") << "no daily positions beside this picture";

    definirSeparateurDecimal('.');
    glisser({100, 150}, {300, 50});
    EXPECT_EQ(m.affichage.vitesse, "Vitesse en latitude (mm/an): -12.5");
}

TEST_F(Mesure, DragsThatDoNotMeasureShowNothing)
{
    etalonnerTempsEtLatitude();
    // Ending at the start's x.
    glisser({100, 150}, {100, 50});
    EXPECT_EQ(m.affichage.vitesse, "");
    // Ending in another plot: the pixels of two plots make no slope.
    glisser({100, 150}, {300, 300});
    EXPECT_EQ(m.affichage.vitesse, "");
    EXPECT_EQ(m.affichage.catalogue, "");
    // Starting in a plot whose axis is not calibrated.
    glisser({100, 300}, {300, 350});
    EXPECT_EQ(m.affichage.vitesse, "");
    // A flat line is a velocity of 0.
    glisser({100, 120}, {300, 120});
    EXPECT_EQ(m.affichage.vitesse, "Vitesse en latitude (mm/an): 0");
    // The drag's line is green, from the start to the pointer.
    m.appui(100, 150);
    m.deplacement(250, 60, true);
    ASSERT_TRUE(m.trace.has_value());
    ASSERT_EQ(m.trace->size(), 1u);
    EXPECT_EQ((*m.trace)[0].a, QPoint(100, 150));
    EXPECT_EQ((*m.trace)[0].b, QPoint(250, 60));
    EXPECT_EQ((*m.trace)[0].couleur, Vert);
}

TEST_F(Mesure, OnlyTheLongitudeAxisCalibrated)
{
    m.definir();
    m.valeur1[Longitude] = -10;
    m.valeur2[Longitude] = 10;
    reperes(Longitude, {200, 420}, {200, 270});
    ASSERT_TRUE(m.valider());
    EXPECT_FALSE(m.etalonnage.tempsEtalonne());
    m.deplacement(200, 300, false);
    EXPECT_EQ(m.affichage.date, "");
    EXPECT_EQ(m.affichage.variation, "Variation de longitude (mm): 60");
    m.deplacement(200, 100, false);
    EXPECT_EQ(m.affichage.variation, "");
    // Without the time axis no velocity.
    glisser({100, 300}, {300, 400});
    EXPECT_EQ(m.affichage.vitesse, "");
}

TEST_F(Mesure, AxesLeftUncalibrated)
{
    // Equal values for both markers.
    m.definir();
    m.valeur1[Temps] = m.valeur2[Temps] = 2000;
    reperes(Temps, {100, 60}, {300, 60});
    EXPECT_FALSE(m.valider());
    EXPECT_FALSE(m.etalonnage.tempsEtalonne());
    EXPECT_FALSE(m.ModeMesure);
    // A press without a drag places no second marker: the axis stays as it was,
    // rather than being calibrated from x = 0.
    m.definir();
    m.valeur2[Temps] = 2004;
    m.choisirAxe(Temps);
    m.appui(150, 60);
    m.relachement(150, 60);
    EXPECT_FALSE(m.valider());
    EXPECT_FALSE(m.etalonnage.tempsEtalonne());

    // A second calibration of one axis keeps the others; "&Effacer" drops all.
    etalonnerTempsEtLatitude();
    m.definir();
    m.valeur1[Altitude] = 0;
    m.valeur2[Altitude] = 2;
    reperes(Altitude, {200, 600}, {200, 500});
    ASSERT_TRUE(m.valider());
    EXPECT_DOUBLE_EQ(m.etalonnage.PenteTemps, 0.02);
    EXPECT_DOUBLE_EQ(m.etalonnage.PenteAlt, -0.02);
    m.effacer();
    EXPECT_EQ(m.etalonnage, Etalonnage());
    EXPECT_FALSE(m.ModeMesure);
    EXPECT_EQ(m.repere1[Temps], 0);
    EXPECT_EQ(m.repere2[Altitude], 0);
}

TEST_F(Mesure, MarkersAndHintLines)
{
    m.definir();
    m.choisirAxe(Longitude);
    ASSERT_TRUE(m.trace.has_value());
    EXPECT_EQ((*m.trace)[0].a, QPoint(50, 426));
    EXPECT_EQ((*m.trace)[0].b, QPoint(570, 426));
    m.choisirAxe(Temps);
    EXPECT_EQ((*m.trace)[0].a, QPoint(60, 50));
    EXPECT_EQ((*m.trace)[0].b, QPoint(60, 210));
    m.appui(120, 400);
    ASSERT_EQ(m.trace->size(), 1u);
    EXPECT_EQ((*m.trace)[0].a, QPoint(120, 50));
    m.deplacement(310, 20, true);
    ASSERT_EQ(m.trace->size(), 2u);
    EXPECT_EQ((*m.trace)[0].couleur, Bleu);
    EXPECT_EQ((*m.trace)[1].couleur, Rouge);
    EXPECT_EQ((*m.trace)[1].a, QPoint(310, 50));
    EXPECT_EQ(m.repere1[Temps], 120);
    EXPECT_EQ(m.repere2[Temps], 310);
}

TEST_F(Mesure, AnotherStationWithoutCalibrationOpensUncalibrated)
{
    etalonnerTempsEtLatitude();
    TStationGPS s;
    m.ouvrir(s, std::nullopt, {});
    EXPECT_FALSE(m.ModeMesure);
    EXPECT_EQ(m.etalonnage, Etalonnage()) << "the previous picture's axes are not this one's";
    Etalonnage e;
    e.PenteTemps = 0.01;
    e.OrigineTemps = 1999;
    m.ouvrir(s, e, {});
    EXPECT_TRUE(m.ModeMesure);
    EXPECT_EQ(m.etalonnage, e);
}

TEST_F(Mesure, FitOverTheDaysOfTheDrag)
{
    etalonnerTempsEtLatitude(); // x = 100 … 300 is 2000 … 2004
    // North positions rising 10 mm/an until 2002, then falling 4 mm/an.
    PositionsJournalieres p = droite(2000, 2002, 10);
    const PositionsJournalieres apres = droite(2002 + 1 / 365.25, 2004, -4);
    for (std::size_t i = 0; i < apres.taille(); ++i) {
        p.t.push_back(apres.t[i]);
        p.nord.push_back(apres.nord[i] + 40);
        p.est.push_back(0);
        p.haut.push_back(0);
    }
    m.positions = p;
    glisser({100, 150}, {195, 60});
    const int jours = static_cast<int>(std::lround((195 - 100) * 0.02 * 365.25)); // 2000 … 2001.9
    EXPECT_TRUE(m.affichage.ajustement.startsWith("Droite ajustée sur ")) << m.affichage.ajustement.toStdString();
    EXPECT_TRUE(m.affichage.ajustement.endsWith(" jours : 10 mm/an")) << m.affichage.ajustement.toStdString();
    EXPECT_NEAR(m.affichage.ajustement.section(' ', 3, 3).toInt(), jours, 2);
    // Drawn from right to left over the second window.
    glisser({300, 60}, {205, 150});
    EXPECT_TRUE(m.affichage.ajustement.endsWith(" jours : -4 mm/an")) << m.affichage.ajustement.toStdString();

    const auto a = ajusterDroite(p, Longitude, 2000, 2001.5);
    ASSERT_TRUE(a.has_value());
    EXPECT_NEAR(a->pente, -20, 1e-6);
    EXPECT_FALSE(ajusterDroite(p, Latitude, 1990, 1995).has_value());
    EXPECT_FALSE(ajusterDroite(p, Latitude, 2001, 2001.001).has_value()) << "a single day";
    EXPECT_FALSE(ajusterDroite(p, Latitude, 2002, 2001).has_value());
}

TEST(FichiersCourbes, CalibrationFileRoundTripAndFaultyFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Etalonnage e;
    e.PenteTemps = 0.02;
    e.OrigineTemps = 1998;
    e.PenteLat = -0.05;
    e.OrigineLat = 10;
    e.PenteAlt = 1e-300;
    const QString chemin = dir.filePath("USUD.etl");
    QString message;
    ASSERT_TRUE(ecrireEtalonnage(chemin, e, &message)) << message.toStdString();
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray octets = f.readAll();
    f.close();
    ASSERT_EQ(octets.size(), 64);
    EXPECT_EQ(octets.mid(8, 8), QByteArray::fromHex("0000000000389f40")) << "1998 as a little-endian double";
    Etalonnage lu;
    ASSERT_TRUE(lireEtalonnage(chemin, lu));
    EXPECT_EQ(lu, e);

    // Wrong sizes and non-finite values: not a calibration.
    for (const QByteArray& faux : {octets.left(63), octets + QByteArray(1, '\0'), QByteArray()})
        EXPECT_FALSE(decoderEtalonnage(faux, lu)) << faux.size();
    for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Etalonnage x = e;
        x.OrigineLong = v;
        EXPECT_FALSE(decoderEtalonnage(octetsEtalonnage(x), lu));
    }
    EXPECT_EQ(lu, e) << "a refused file leaves the calibration as it was";
    EXPECT_FALSE(lireEtalonnage(dir.filePath("absent.etl"), lu));

    // No folder to write in.
    Etalonnage autre;
    autre.PenteTemps = 1;
    EXPECT_FALSE(ecrireEtalonnage(dir.filePath("manque/USUD.etl"), autre, &message));
    EXPECT_TRUE(message.contains("USUD.etl")) << message.toStdString();
    EXPECT_TRUE(message.contains("n'existe pas")) << message.toStdString();

    // A folder that cannot be written: a French message naming the file, and the
    // calibration already there is kept. (With rights that ignore the folder's
    // permissions, a folder of the system that no one can create files in.)
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool protege = !QFileInfo(dir.path()).isWritable();
    const QString cible = protege ? chemin : QStringLiteral("/proc/self/USUD.etl");
    EXPECT_FALSE(ecrireEtalonnage(cible, autre, &message));
    EXPECT_TRUE(message.contains("USUD.etl")) << message.toStdString();
    if (protege) {
        EXPECT_TRUE(message.contains(QString::fromUtf8("protégé en écriture"))) << message.toStdString();
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(lireEtalonnage(chemin, lu));
    EXPECT_EQ(lu, e);
}

TEST(FichiersCourbes, StationNamesStayInsideThePointFolder)
{
    const FichiersStation f = fichiersStation("/depart", "USUD");
    EXPECT_EQ(f.image, "/depart/point/USUD.jpg");
    EXPECT_EQ(f.etalonnage, "/depart/point/USUD.etl");
    EXPECT_EQ(f.positions, "/depart/point/USUD.txt");
    for (const char* nom : {"", ".", "..", "../ab", "a/b", "a\\b", "c:x", "a\tb"})
        EXPECT_TRUE(fichiersStation("/depart", QString::fromLatin1(nom)).image.isEmpty()) << nom;
    EXPECT_FALSE(fichiersStation("/depart", "..A").image.isEmpty()) << "dots inside a name are harmless";
}

TEST(FichiersCourbes, DailyPositionsTextRoundTrip)
{
    PositionsJournalieres p = droite(2005, 2005.1, 7.5);
    const QByteArray t = textePositions("P156", p);
    EXPECT_TRUE(t.startsWith("# P156 : "));
    PositionsJournalieres lu;
    ASSERT_TRUE(analyserPositions(t, lu));
    ASSERT_EQ(lu.taille(), p.taille());
    EXPECT_NEAR(lu.t[5], p.t[5], 1e-5);
    EXPECT_NEAR(lu.nord[5], p.nord[5], 0.005);

    // As a spreadsheet may save it: commas, semicolons, CRLF, out of order, with
    // lines that are not four numbers.
    ASSERT_TRUE(analyserPositions("2001,5;1,5;2;3\r\nblabla\n2000,5\t4\t5\t6\n2002 1 2\n2003 1 2 x\n", lu));
    ASSERT_EQ(lu.taille(), 2u);
    EXPECT_EQ(lu.t[0], 2000.5);
    EXPECT_EQ(lu.nord[1], 1.5);
    EXPECT_EQ(lu.haut[0], 6);
    EXPECT_FALSE(analyserPositions("# rien\n2000 1 2 3\n", lu)) << "one day is no series";
    EXPECT_FALSE(analyserPositions("2000 nan 1 2\n2001 inf 1 2\n", lu));
    // Dates and positions no station can have: skipped, not fitted.
    EXPECT_FALSE(analyserPositions("2000 1 2 3\n1e300 1 2 3\n2001 1 2 1e300\n-5 0 0 0\n", lu));
}
