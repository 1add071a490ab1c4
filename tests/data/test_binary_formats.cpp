// Binary .fse/.fvo/.gps layouts, their loaders and writers.
#include "data/data_test_util.h"
#include "data/loaders.h"

#include <QFileInfo>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

template <typename T>
T a(const QByteArray& b, int offset)
{
    return qFromLittleEndian<T>(b.constData() + offset);
}

TSeisme seisme(double d, float lat, float lon, float prof, float mag)
{
    TSeisme s;
    s.DateHeure = d;
    s.Latitude = lat;
    s.Longitude = lon;
    s.Profondeur = prof;
    s.Magnitude = mag;
    return s;
}

TStationGPS station(const char* nom, double base, std::uint8_t affiche = 1)
{
    TStationGPS s;
    s.Nom.assignBytes(nom, static_cast<int>(std::strlen(nom)));
    s.Affiche = affiche;
    double* champs[] = {&s.Latitude, &s.Longitude, &s.Altitude, &s.IncLatitude, &s.IncLongitude, &s.IncAltitude,
                        &s.VitLat, &s.VitLong, &s.VitAlt, &s.IncVitLat, &s.IncVitLong, &s.IncVitAlt};
    for (int i = 0; i < 12; ++i)
        *champs[i] = base + i * 1.25;
    return s;
}

}  // namespace

TEST(FormatsBinaires, SeismeOccupe24OctetsAuxBonsDecalages)
{
    const QByteArray b = encoderSeismes({seisme(36526.5, 45.5f, -120.25f, 33.0f, 6.7f), seisme(1, 2, 3, 4, 5)});
    ASSERT_EQ(b.size(), 48);
    EXPECT_EQ(a<double>(b, 0), 36526.5);
    EXPECT_EQ(a<float>(b, 8), 45.5f);
    EXPECT_EQ(a<float>(b, 12), -120.25f);
    EXPECT_EQ(a<float>(b, 16), 33.0f);
    EXPECT_EQ(a<float>(b, 20), 6.7f);
    EXPECT_EQ(a<float>(b, 24 + 20), 5.0f);
}

TEST(FormatsBinaires, VolcanOccupe39OctetsEtPerdLe25eCaractere)
{
    TVolcan v;
    assignShort(v.Nom, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));  // 25 characters
    v.Latitude = -8.25f;
    v.Longitude = 115.5f;
    v.Altitude = 3142;
    v.TypeVolcan = 20;
    v.Activite = 1;
    const QByteArray b = encoderVolcans({v});
    ASSERT_EQ(b.size(), 39);
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 25);
    EXPECT_EQ(b.mid(1, 24), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX"));
    EXPECT_EQ(a<float>(b, 25), -8.25f);
    EXPECT_EQ(a<float>(b, 29), 115.5f);
    EXPECT_EQ(a<float>(b, 33), 3142.0f);
    EXPECT_EQ(b[37], 20);
    EXPECT_EQ(b[38], 1);

    std::vector<TVolcan> lus;
    decoderVolcans(b, lus);
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_EQ(lus[0].Nom.Len, 25);
    EXPECT_EQ(lus[0].Nom.Ch[24], '\0');
    EXPECT_EQ(QByteArray(lus[0].Nom.Ch, 24), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX"));
    EXPECT_EQ(lus[0].TypeVolcan, 20);
    EXPECT_EQ(lus[0].Altitude, 3142.0f);
}

TEST(FormatsBinaires, LongueurDeNomHorsCapaciteRameneeALaCapacite)
{
    QByteArray b(39, '\0');
    b[0] = char(200);
    std::vector<TVolcan> lus;
    decoderVolcans(b, lus);
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_EQ(lus[0].Nom.Len, 25);
}

TEST(FormatsBinaires, StationOccupe104OctetsIncVitAltEnSimple)
{
    TStationGPS s = station("ABCD", 10.0, 0);
    s.Rang = -1;
    s.IncVitAlt = 0.37;
    const QByteArray b = encoderStations({s});
    ASSERT_EQ(b.size(), 104);
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 4);
    EXPECT_EQ(b.mid(1, 4), QByteArray("ABCD"));
    EXPECT_EQ(a<std::int16_t>(b, 6), -1);
    EXPECT_EQ(b[8], 1) << "Affiche is always written as 1";
    EXPECT_EQ(b.mid(9, 3), QByteArray(3, '\0'));
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(a<double>(b, 12 + 8 * i), 10.0 + i * 1.25) << "double " << i;
    EXPECT_EQ(a<float>(b, 100), 0.37f);

    std::vector<TStationGPS> lus;
    decoderStations(b, lus);
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_EQ(lus[0].IncVitAlt, static_cast<double>(0.37f));
    EXPECT_EQ(lus[0].IncVitLong, s.IncVitLong);
    EXPECT_EQ(lus[0].Rang, -1);
    EXPECT_EQ(lus[0].Affiche, 1);
    EXPECT_EQ(shortToQString(lus[0].Nom), QStringLiteral("ABCD"));
}

TEST(FormatsBinaires, AncienFichierGpsAvecDemiDoubleLuProcheDeZeroOuZero)
{
    // Older files hold the low half of a double in bytes 100-103.
    QByteArray b = encoderStations({station("OLD", 1.0)});
    const double ancien = 1.8;
    quint64 bits;
    std::memcpy(&bits, &ancien, 8);
    qToLittleEndian<quint32>(static_cast<quint32>(bits), b.data() + 100);
    std::vector<TStationGPS> lus;
    decoderStations(b, lus);
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_EQ(lus[0].IncVitAlt, 0.0) << "the low half of 1.8 reads as about -1e8";
    EXPECT_EQ(lus[0].VitAlt, 1.0 + 8 * 1.25) << "the other fields are unaffected";

    // The low half of an exactly representable value is 0.
    qToLittleEndian<quint32>(0u, b.data() + 100);
    lus.clear();
    decoderStations(b, lus);
    EXPECT_EQ(lus[0].IncVitAlt, 0.0);

    // Bytes that make a NaN as a single read as 0.
    qToLittleEndian<quint32>(0x7FC00001u, b.data() + 100);
    lus.clear();
    decoderStations(b, lus);
    EXPECT_EQ(lus[0].IncVitAlt, 0.0);
}

TEST_F(StoresFixture, FseDe48Et50OctetsEtFichierVide)
{
    const QByteArray deux = encoderSeismes({seisme(1, 1, 1, 1, 1), seisme(2, 2, 2, 2, 2)});
    ResultatChargement r = ChargerSeismes(ecrire("a.fse", deux));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.lus, 2);
    EXPECT_FALSE(r.tronque);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(TabSeismes.size(), 2u);
    EXPECT_TRUE(SeismesCharges);

    // Two stray bytes: the partial third record is not kept, and the message says so.
    r = ChargerSeismes(ecrire("b.FSE", deux + QByteArray("\x01\x02", 2)));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.tronque);
    EXPECT_EQ(r.lus, 2);
    EXPECT_EQ(TabSeismes.size(), 2u);
    EXPECT_TRUE(r.message.contains(QStringLiteral("tronqué")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("b.FSE")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("2 enregistrements")));

    // An empty file yields no record: the load fails, says so, and the earthquakes
    // in place stay.
    r = ChargerSeismes(ecrire("vide.fse", QByteArray()));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.remplace);
    EXPECT_EQ(r.lus, 0);
    EXPECT_TRUE(r.message.contains(QStringLiteral("vide.fse")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("aucun séisme")));
    EXPECT_EQ(TabSeismes.size(), 2u);
}

TEST_F(StoresFixture, FichiersIllisiblesLaissentLeMagasinIntact)
{
    TabSeismes = {seisme(9, 9, 9, 9, 9)};
    TabVolcans.resize(3);
    TabStations.resize(2);
    const QString absent = dir.filePath("absent.fse");
    ResultatChargement r = ChargerSeismes(absent);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("absent.fse")));
    EXPECT_EQ(TabSeismes.size(), 1u);
    EXPECT_FALSE(SeismesCharges);

    // A folder is not a readable file either, whichever kind.
    EXPECT_FALSE(ChargerVolcans(dir.path()).ok);
    EXPECT_EQ(TabVolcans.size(), 3u);
    r = ChargerGPS(dir.filePath("absent.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("absent.txt")));
    EXPECT_EQ(TabStations.size(), 2u);
    EXPECT_FALSE(GPSCharges);
}

TEST_F(StoresFixture, VolcansAllerRetourParFichier)
{
    TVolcan v;
    assignShort(v.Nom, QStringLiteral("Piton de la Fournaise"));
    v.Altitude = -10000;
    v.TypeVolcan = 3;
    v.Activite = 9;
    TabVolcans = {v, v};
    const QString chemin = dir.filePath("v.fvo");
    ResultatEcriture w = EnregistrerVolcans(chemin);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.ecrits, 2);
    EXPECT_EQ(QFileInfo(chemin).size(), 78);
    TabVolcans.clear();
    ResultatChargement r = ChargerVolcans(chemin);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(TabVolcans.size(), 2u);
    EXPECT_EQ(shortToQString(TabVolcans[1].Nom), QStringLiteral("Piton de la Fournaise"));
    EXPECT_EQ(TabVolcans[1].Altitude, -10000.0f);
    EXPECT_EQ(TabVolcans[1].Activite, 9);
    EXPECT_TRUE(VolcansCharges);
}

TEST_F(StoresFixture, EnregistrerGPSNEcritQueLesStationsAffichees)
{
    TabStations = {station("AAAA", 1, 1), station("BBBB", 2, 0), station("CCCC", 3, 1)};
    TabStations[0].Rang = 0;
    TabStations[2].Rang = 2;
    const QString chemin = dir.filePath("v.gps");
    ResultatEcriture w = EnregistrerGPS(chemin);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.ecrits, 2);
    const QByteArray b = lireTout(chemin);
    ASSERT_EQ(b.size(), 208);
    EXPECT_EQ(a<std::int16_t>(b, 104 + 6), 2) << "Rang is written as it is in memory";

    // On reading, Rang is renumbered to each station's new index.
    TabStations.clear();
    ResultatChargement r = ChargerGPS(chemin);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(TabStations.size(), 2u);
    EXPECT_EQ(shortToQString(TabStations[1].Nom), QStringLiteral("CCCC"));
    EXPECT_EQ(TabStations[0].Rang, 0);
    EXPECT_EQ(TabStations[1].Rang, 1);
    EXPECT_EQ(TabStations[1].IncVitAlt, static_cast<double>(static_cast<float>(3 + 11 * 1.25)));
    EXPECT_TRUE(GPSCharges);
}

TEST_F(StoresFixture, EcritureImpossibleSignaleeEtAncienFichierGarde)
{
    const QString chemin = ecrire("s.fse", QByteArray("ancien"));
    TabSeismes = {seisme(1, 2, 3, 4, 5)};
    ResultatEcriture w = EnregistrerSeismes(dir.filePath("dossier-absent/s.fse"));
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains(QStringLiteral("s.fse")));
    EXPECT_EQ(lireTout(chemin), QByteArray("ancien"));
    // A successful save replaces the whole content.
    ASSERT_TRUE(EnregistrerSeismes(chemin).ok);
    EXPECT_EQ(lireTout(chemin).size(), 24);
}

TEST_F(StoresFixture, ExtensionChoisitBinaireOuTexteSansTenirCompteDeLaCasse)
{
    EXPECT_TRUE(estFichierBinaire("x/y.Fse", "FSE"));
    EXPECT_FALSE(estFichierBinaire("x/y.fse.txt", "FSE"));
    EXPECT_FALSE(estFichierBinaire("x/fse", "FSE"));
    // A .txt full of record bytes is read as text: nothing matches, nothing loaded,
    // and the message says the text has not the expected form.
    const QByteArray b = encoderSeismes({seisme(1, 2, 3, 4, 5)});
    ResultatChargement r = ChargerSeismes(ecrire("s.txt", b));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.lus, 0);
    EXPECT_TRUE(r.message.contains(QStringLiteral("forme attendue"))) << r.message.toStdString();
    r = ChargerSeismes(ecrire("S.FsE", b));
    EXPECT_EQ(r.lus, 1);
}
