// Text imports: line cutting, earthquake catalogue, volcano list, GPS velocity table.
#include "data/data_test_util.h"
#include "data/decimal.h"
#include "data/loaders.h"
#include "data/textimport.h"

namespace {

// Writes `texte` at 1-based column `col` of `ligne`, padding with blanks.
void placer(QByteArray& ligne, int col, const QByteArray& texte)
{
    if (ligne.size() < col - 1 + texte.size())
        ligne.append(QByteArray(col - 1 + texte.size() - ligne.size(), ' '));
    ligne.replace(col - 1, texte.size(), texte);
}

QByteArray ligneSeisme(const QByteArray& date, const QByteArray& lat, const QByteArray& lon, const QByteArray& prof,
                       const QByteArray& mag)
{
    QByteArray l;
    placer(l, 1, date);
    placer(l, 24, lat);
    placer(l, 33, lon);
    placer(l, 43, prof);
    placer(l, 50, mag);
    return l;
}

QByteArray ligneVolcan(const QByteArray& nom, const QByteArray& lat, const QByteArray& lon, const QByteArray& alt,
                       const QByteArray& type, const QByteArray& activite = QByteArray())
{
    QByteArray l;
    placer(l, 1, "0101-01=");
    placer(l, 11, nom);
    placer(l, 63, lat);
    placer(l, 71, lon);
    placer(l, 81, alt);
    placer(l, 87, type);
    if (!activite.isEmpty())
        placer(l, 132, activite);
    return l;
}

std::vector<QByteArray> lignes(const QByteArray& donnees)
{
    std::vector<QByteArray> r;
    LecteurLignes lecteur(donnees);
    QByteArray l;
    while (lecteur.suivante(l))
        r.push_back(l);
    return r;
}

const QByteArray kEnteteSeismes = "<PRE>\nDate       Time   Lat   Long   Depth  Mag\n-----------------------------\n";

}  // namespace

TEST(LectureLignes, FinsDeLigneCaracteresDeControleEtLimiteDe250)
{
    EXPECT_EQ(lignes("ab\r\ncd\n\nef"), (std::vector<QByteArray>{"ab", "cd", "", "ef"}));
    EXPECT_EQ(lignes("a\tb\x01\x1f" "c\n"), (std::vector<QByteArray>{"a\tbc"}));
    EXPECT_TRUE(lignes("").empty());

    // 260 bytes: 250 kept, the other ten form the next line; dropped bytes do not count.
    QByteArray longue(260, 'x');
    longue[255] = 'y';
    longue.insert(10, "\r\r\r");
    const auto l = lignes(longue + "\nsuite");
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0], QByteArray(250, 'x'));
    EXPECT_EQ(l[1], QByteArray("xxxxxyxxxx"));
    EXPECT_EQ(l[2], QByteArray("suite"));

    // Exactly 250 then a line feed: the line feed ends an empty next line.
    EXPECT_EQ(lignes(QByteArray(250, 'z') + "\nw").size(), 3u);
}

TEST(ImportSeismes, LignesEntreTiretsEtFinPre)
{
    QByteArray f = "Avant: ignoré\n" + kEnteteSeismes;
    f += ligneSeisme("2000/01/01 12:00:00.00", "  45.500", " -120.250", " 33.0", "6.7") + "\r\n";
    f += ligneSeisme("1999/13/01 00:00:00.00", "1", "1", "1", "1") + "\n";  // month 13
    f += ligneSeisme("2001/02/29 00:00:00.00", "1", "1", "1", "1") + "\n";  // not a leap year
    f += ligneSeisme("2000/02/29 06:00:00.00", "-1.5", "2", "3", "4.1") + "\n";
    f += ligneSeisme("2000/01/02 24:00:00.00", "1", "1", "1", "1") + "\n";  // hour 24
    f += ligneSeisme("2000/01/02 01:00:00.00", "1,5", "1", "1", "1") + "\n";  // comma
    f += ligneSeisme("2000/01/02 01:00:00.00", "1", "1", "", "1") + "\n";  // no depth
    f += "\n";
    f += "</pRe>\n";
    f += ligneSeisme("2000/01/03 00:00:00.00", "1", "1", "1", "1") + "\n";

    std::vector<TSeisme> out;
    ASSERT_EQ(importerSeismesTexte(f, out), 2);
    EXPECT_DOUBLE_EQ(out[0].DateHeure, 36526.5);
    EXPECT_EQ(out[0].Latitude, 45.5f);
    EXPECT_EQ(out[0].Longitude, -120.25f);
    EXPECT_EQ(out[0].Profondeur, 33.0f);
    EXPECT_EQ(out[0].Magnitude, 6.7f);
    EXPECT_DOUBLE_EQ(out[1].DateHeure, 36585.25);
    EXPECT_EQ(out[1].Latitude, -1.5f);
}

TEST(ImportSeismes, SansLigneDeTiretsRienEtFinDeFichierSansMarqueur)
{
    std::vector<TSeisme> out;
    EXPECT_EQ(importerSeismesTexte(ligneSeisme("2000/01/01 00:00:00.00", "1", "1", "1", "1"), out), 0);
    // Last line without a line feed, no "</PRE>".
    EXPECT_EQ(importerSeismesTexte(kEnteteSeismes + ligneSeisme("2000/01/01 00:00:00.00", "1", "1", "1", "1"), out),
              1);
}

TEST(ImportSeismes, PointDecimalQuelQueSoitLeSeparateurDuSysteme)
{
    const QByteArray f = kEnteteSeismes + ligneSeisme("2000/01/01 00:00:00.00", "10.25", "1", "1", "1");
    for (char sep : {'.', ','}) {
        definirSeparateurDecimal(sep);
        std::vector<TSeisme> out;
        ASSERT_EQ(importerSeismesTexte(f, out), 1);
        EXPECT_EQ(out[0].Latitude, 10.25f);
    }
    definirSeparateurDecimal('.');
}

TEST(ImportVolcans, ColonnesTypesEtActivites)
{
    QByteArray f = "<pre>\n---------- ---------\n";
    f += ligneVolcan("Etna", "37.734", "15.004", "3350", "Stratovolcano", "D1") + "\n";
    f += ligneVolcan("Tuffs", "1", "2", "3", "Tuff ring tuff cone", "u") + "\n";  // "U" alone: not "U "
    f += ligneVolcan("Champ", "1", "2", "3", "Fumarole field maar", "Q ") + "\n";
    f += ligneVolcan("Caldeira", "1", "2", "3", "Caldera lava cone", "d3") + "\n";
    f += ligneVolcan("Sans type", "1", "2", "3", "Unknown") + "\n";
    f += ligneVolcan("Sans altitude", "1", "2", "", "Caldera", "D2") + "\n";
    f += "</PRE>\n";
    f += ligneVolcan("Apres", "1", "2", "3", "Caldera") + "\n";

    std::vector<TVolcan> out;
    ASSERT_EQ(importerVolcansTexte(f, out), 5);
    EXPECT_EQ(out[0].Nom.Len, 25) << "the name keeps its trailing blanks";
    EXPECT_EQ(shortToQString(out[0].Nom).trimmed(), QStringLiteral("Etna"));
    EXPECT_EQ(out[0].Latitude, 37.734f);
    EXPECT_EQ(out[0].Longitude, 15.004f);
    EXPECT_EQ(out[0].Altitude, 3350.0f);
    EXPECT_EQ(out[0].TypeVolcan, 20);
    EXPECT_EQ(out[0].Activite, 1);
    EXPECT_EQ(out[1].TypeVolcan, 22);
    EXPECT_EQ(out[1].Activite, 0) << "the short line does not reach column 133";
    EXPECT_EQ(out[2].TypeVolcan, 31);
    EXPECT_EQ(out[2].Activite, 9);
    EXPECT_EQ(out[3].TypeVolcan, 11);
    EXPECT_EQ(out[3].Activite, 3);
    EXPECT_EQ(out[4].TypeVolcan, 0);
    EXPECT_EQ(out[4].Activite, 0);
}

TEST(ImportVolcans, NomCourtEtCaracteresCp1252)
{
    QByteArray l;
    placer(l, 11, "Pic \xe9l\x9c");  // "Pic élœ" in cp1252, line ends before column 35
    placer(l, 63, "1");
    placer(l, 71, "2");
    placer(l, 81, "3");
    std::vector<TVolcan> out;
    ASSERT_EQ(importerVolcansTexte("---------\n" + l, out), 1);
    EXPECT_EQ(shortToQString(out[0].Nom).left(8), QStringLiteral("Pic él\u0153 "));
}

namespace {

const QByteArray kEnteteGPS = "Table 2\nsite  lat  long ...\n";

QByteArray pos(const char* nom, const char* nombres)
{
    return QByteArray(nom) + " POS  " + nombres + "\n";
}
QByteArray vel(const char* nom, const char* nombres)
{
    return QByteArray(nom) + " VEL  " + nombres + "\n";
}

}  // namespace

TEST(ImportGPS, StationsFaitesDuDernierPOSEtDeLeurVEL)
{
    definirSeparateurDecimal('.');
    QByteArray f = "ignored POS 1 2 3 4 5 6\n" + kEnteteGPS;
    f += pos("ABCD", "45.5 6.25 300.0 1.1 1.2 1.3");
    f += vel("ABCD", "20.0 -10.5 0.5 0.25 0.3 0.9");
    f += "commentaire sans marqueur\n";
    f += pos("EFGH", "-30 120 10 1 1 1");
    f += vel("EFGH", "1 2 3 0 5 6");       // IncVitLat 0: not stored
    f += vel("IJKL", "7 8 9 0.5 0.6 0.7");  // keeps the last position read
    std::vector<TStationGPS> out;
    int ligne = -1;
    ASSERT_TRUE(importerGPSTexte(f, out, &ligne));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(shortToQString(out[0].Nom), QStringLiteral("ABCD"));
    EXPECT_EQ(out[0].Rang, 0);
    EXPECT_EQ(out[0].Affiche, 1);
    EXPECT_EQ(out[0].Latitude, 45.5);
    EXPECT_EQ(out[0].Longitude, 6.25);
    EXPECT_EQ(out[0].IncAltitude, 1.3);
    EXPECT_EQ(out[0].VitLat, 20.0);
    EXPECT_EQ(out[0].VitLong, -10.5);
    EXPECT_EQ(out[0].IncVitAlt, 0.9);
    EXPECT_EQ(shortToQString(out[1].Nom), QStringLiteral("IJKL"));
    EXPECT_EQ(out[1].Rang, 1);
    EXPECT_EQ(out[1].Latitude, -30.0);
    EXPECT_EQ(out[1].VitAlt, 9.0);
}

TEST(ImportGPS, CaractereApresLeMarqueurEtNomVideSiColonne5NonBlanche)
{
    definirSeparateurDecimal('.');
    QByteArray f = kEnteteGPS;
    f += "ABCD POS 45.5 6 7 8 9 10\n";   // the "4" right after the marker is lost
    f += "ABCDE VEL  1 2 3 4 5 6\n";     // column 5 not blank: no name
    std::vector<TStationGPS> out;
    ASSERT_TRUE(importerGPSTexte(f, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Latitude, 5.5);
    EXPECT_EQ(out[0].Nom.Len, 0);
}

TEST(ImportGPS, VirguleOuPointSousLesDeuxSeparateurs)
{
    QByteArray f = kEnteteGPS + pos("ABCD", "45,5 6.25 1 1 1 1") + vel("ABCD", "1,5 2 3 0,25 5 6.75");
    for (char sep : {'.', ','}) {
        definirSeparateurDecimal(sep);
        EXPECT_EQ(MarqueDecimaleRemplacee(), sep == '.' ? ',' : '.');
        std::vector<TStationGPS> out;
        ASSERT_TRUE(importerGPSTexte(f, out)) << sep;
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].Latitude, 45.5);
        EXPECT_EQ(out[0].Longitude, 6.25);
        EXPECT_EQ(out[0].VitLat, 1.5);
        EXPECT_EQ(out[0].IncVitLat, 0.25);
        EXPECT_EQ(out[0].IncVitAlt, 6.75);
    }
    definirSeparateurDecimal('.');
}

TEST(ImportGPS, NombreIllisibleArreteLImportALaLigne)
{
    definirSeparateurDecimal('.');
    QByteArray f = kEnteteGPS + pos("AAAA", "1 2 3 4 5 6") + vel("AAAA", "1 2 3 4 5 6");
    f += pos("BBBB", "1 2 3 4 5");  // line 5: only five numbers
    f += vel("BBBB", "1 2 3 4 5 6");
    std::vector<TStationGPS> out;
    int ligne = 0;
    EXPECT_FALSE(importerGPSTexte(f, out, &ligne));
    EXPECT_EQ(ligne, 5);
    EXPECT_EQ(out.size(), 1u);

    out.clear();
    EXPECT_FALSE(importerGPSTexte(kEnteteGPS + vel("AAAA", "1 2 x 4 5 6"), out, &ligne));
    EXPECT_EQ(ligne, 3);
    // The sixth number may end the line; a trailing blank is fine too.
    out.clear();
    EXPECT_TRUE(importerGPSTexte(kEnteteGPS + "AAAA  VEL  1 2 3 4 5 6 \n", out));
    EXPECT_EQ(out.size(), 1u);
}

TEST_F(StoresFixture, ChargerGPSTexteEchecNommeLaLigneEtGardeCeQuiPrecede)
{
    definirSeparateurDecimal('.');
    TabStations.resize(5);
    QByteArray f = kEnteteGPS + pos("AAAA", "1 2 3 4 5 6") + vel("AAAA", "1 2 3 4 5 6") + vel("BBBB", "1 2 a");
    ResultatChargement r = ChargerGPS(ecrire("table.txt", f));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.ligneErreur, 5);
    EXPECT_TRUE(r.message.contains(QStringLiteral("table.txt")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("ligne 5")));
    EXPECT_FALSE(r.message.contains(QStringLiteral("non trouvé")));
    ASSERT_EQ(TabStations.size(), 1u);
    EXPECT_EQ(shortToQString(TabStations[0].Nom), QStringLiteral("AAAA"));

    // A text that yields no station leaves the previous ones, failure or not, and
    // says so.
    TabStations.resize(3);
    r = ChargerGPS(ecrire("vide.txt", kEnteteGPS));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("aucune station"))) << r.message.toStdString();
    EXPECT_EQ(TabStations.size(), 3u);
    EXPECT_FALSE(ChargerGPS(ecrire("mauvais.txt", kEnteteGPS + pos("XXXX", "z"))).ok);
    EXPECT_EQ(TabStations.size(), 3u);
}
