// The GPS table without its window: the sort by the three criteria, the cells'
// texts and digit counts, the rows of the uncertainties, and the text copied for
// a spreadsheet.
#include "data/data_test_util.h"
#include "data/decimal.h"
#include "map/lecture.h"
#include "tables/tableaugps.h"

#include <cmath>

#include <QStringList>

#include <gtest/gtest.h>

using namespace tableaux;

namespace {

TStationGPS station(const QByteArray& nom, double lat, double lon)
{
    TStationGPS s;
    s.Nom.assignBytes(nom.constData(), static_cast<int>(nom.size()));
    s.Latitude = lat;
    s.Longitude = lon;
    s.IncVitLat = 0.5;
    return s;
}

QStringList noms(const std::vector<TStationGPS>& v)
{
    QStringList l;
    for (const TStationGPS& s : v)
        l << QString::fromLatin1(s.Nom.bytes());
    return l;
}

class SeparateurPoint : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override { definirSeparateurDecimal('.'); }
    void TearDown() override { DeterminerSeparateurDecimal(); }
};

} // namespace

TEST_F(SeparateurPoint, SortsAreStableAndNamesCompareAsBytes)
{
    // Equal latitudes keep the order of TabStations, whatever the previous sort.
    TabStations = {station("CCCC", 10, 3), station("AAAA", 5, 2), station("BBBB", 10, 1), station("DDDD", 5, 4)};
    reconstruireTabTri(FiltreZone{});
    trier(donnees, ParNom);
    EXPECT_EQ(noms(TabTri), QStringList({"AAAA", "BBBB", "CCCC", "DDDD"}));
    trier(donnees, ParLatitude);
    EXPECT_EQ(noms(TabTri), QStringList({"AAAA", "DDDD", "CCCC", "BBBB"}));
    trier(donnees, ParLongitude);
    EXPECT_EQ(noms(TabTri), QStringList({"BBBB", "AAAA", "CCCC", "DDDD"}));

    // A prefix before the longer name, upper case before lower case, bytes above
    // 127 (é in cp1252) after every ASCII letter.
    std::vector<TStationGPS> v = {station("ab", 0, 0), station("AB", 0, 0), station("ABC", 0, 0),
                                  station("\xe9t", 0, 0), station("zz", 0, 0), station("A", 0, 0)};
    trierStations(v, ParNom);
    EXPECT_EQ(noms(v), QStringList({"A", "AB", "ABC", "ab", "zz", QString::fromLatin1("\xe9t")}));
}

TEST_F(SeparateurPoint, SortRebuildsFromTheListedStationsWithTheirMarks)
{
    TabStations = {station("BBBB", 1, 1), station("AAAA", 2, 2), station("CCCC", 3, 3)};
    reconstruireTabTri(FiltreZone{});
    TabStations[1].Rang = -1;   // no longer listed
    TabStations[2].Affiche = 0; // unmarked on the map
    // A stored Rang that points elsewhere (a ".gps" file brings its own back).
    TabStations[0].Rang = 2;
    ASSERT_EQ(trier(donnees, ParNom), 2);
    EXPECT_EQ(noms(TabTri), QStringList({"BBBB", "CCCC"}));
    EXPECT_EQ(TabTri[0].Rang, 0) << "each copy designates its own station";
    EXPECT_EQ(TabTri[1].Rang, 2);
    EXPECT_EQ(TabTri[1].Affiche, 0);
    // The marks act on the station each row shows.
    marquerStationTri(0, false);
    EXPECT_EQ(TabStations[0].Affiche, 0);
    EXPECT_EQ(TabStations[2].Affiche, 0);
}

TEST_F(SeparateurPoint, CellsUseTheDigitCountsAndTheSystemSeparator)
{
    TStationGPS s = station("USUD", 36.1331104696, 138.362044342);
    s.Altitude = 1508609.80123;
    s.VitLat = -8.21643;
    s.VitLong = 0.00000123456;
    s.VitAlt = 12345.6;
    s.IncLatitude = 1.23456;
    s.IncLongitude = 2;
    s.IncAltitude = 3.5;
    s.IncVitLat = 0.0712345;
    s.IncVitLong = 0.1;
    s.IncVitAlt = 0.25;
    TabStations = {s};
    reconstruireTabTri(FiltreZone{});
    TGrilleGPS g(donnees);
    EXPECT_EQ(g.cellule(2, 0), "USUD");
    EXPECT_EQ(g.cellule(2, 1), "X");
    EXPECT_EQ(g.cellule(2, 2), "36.1331104696");
    EXPECT_EQ(g.cellule(2, 3), "138.362044342");
    EXPECT_EQ(g.cellule(2, 4), "1508609.801");
    EXPECT_EQ(g.cellule(2, 5), "-8.216");
    EXPECT_EQ(g.cellule(2, 6), "1.235E-6");
    EXPECT_EQ(g.cellule(2, 7), "1.235E+4") << "more integer digits than digits shown";
    EXPECT_EQ(g.cellule(2, 8), "0");

    g.chiffres.LatLong = 4;
    g.chiffres.Vitesses = 2;
    g.chiffres.Altitude = 99; // kept within 2 … 13
    EXPECT_EQ(g.cellule(2, 2), "36.13");
    EXPECT_EQ(g.cellule(2, 5), "-8.2");
    EXPECT_EQ(g.cellule(2, 4), "1508609.80123");

    definirSeparateurDecimal(',');
    EXPECT_EQ(g.cellule(2, 2), "36,13");

    g.incertitudes = true;
    EXPECT_EQ(g.nbLignes(), 4);
    EXPECT_TRUE(g.ligneIncertitude(3));
    EXPECT_EQ(g.cellule(3, 0), "");
    EXPECT_EQ(g.cellule(3, 1), "");
    EXPECT_EQ(g.cellule(3, 2), "+/- 1,235 mm");
    EXPECT_EQ(g.cellule(3, 3), "+/- 2 mm");
    EXPECT_EQ(g.cellule(3, 4), "+/- 3,5");
    EXPECT_EQ(g.cellule(3, 5), "+/- 0,07123");
    EXPECT_EQ(g.cellule(3, 8), "");
}

TEST_F(SeparateurPoint, CheckColumnFollowsTheMarksTheMapDraws)
{
    TabStations = {station("AAAA", 0, 0), station("BBBB", 1, 1)};
    reconstruireTabTri(FiltreZone{});
    TGrilleGPS g(donnees);
    // "N'afficher aucun vecteur" on the map changes TabStations only.
    afficherTousLesVecteurs(false);
    EXPECT_EQ(g.cellule(2, 1), "");
    EXPECT_EQ(g.cellule(3, 1), "");
    marquerStationTri(1, true);
    EXPECT_EQ(g.cellule(3, 1), "X");
    // A copy whose Rang designates nothing shows its own mark.
    TabTri[0].Rang = 40;
    TabTri[0].Affiche = 1;
    EXPECT_EQ(g.cellule(2, 1), "X");
}

TEST_F(SeparateurPoint, RowsBelongToTheirStationWithOrWithoutUncertainties)
{
    TabStations = {station("AAAA", 0, 0), station("BBBB", 1, 1), station("CCCC", 2, 2)};
    reconstruireTabTri(FiltreZone{});
    TGrilleGPS g(donnees);
    EXPECT_EQ(g.station(1), -1);
    EXPECT_EQ(g.station(2), 0);
    EXPECT_EQ(g.station(4), 2);
    EXPECT_EQ(g.station(5), -1);
    g.incertitudes = true;
    EXPECT_EQ(g.station(3), 0) << "an uncertainty row counts for the station above it";
    EXPECT_EQ(g.station(6), 2);
    EXPECT_EQ(g.station(7), 2);
    EXPECT_EQ(g.station(8), -1);
    EXPECT_EQ(g.ligneStation(2), 6);
    EXPECT_EQ(g.cellule(6, 8), "2");
}

TEST_F(SeparateurPoint, CopyGivesCaptionHeadersAndNineCellsARow)
{
    TabStations = {station("AAAA", 1.5, 2), station("BBBB", -3, 4), station("CCCC", 5, -6)};
    reconstruireTabTri(FiltreZone{});
    TGrilleGPS g(donnees);
    QStringList lignes = g.texte("Titre").split('\n');
    ASSERT_EQ(lignes.takeLast(), "") << "every line ends with a line feed";
    ASSERT_EQ(lignes.size(), 6);
    EXPECT_EQ(lignes[0], "Titre");
    EXPECT_EQ(lignes[1], QString::fromUtf8("Station\tV\tLatitude\tLongitude\tAltitude\tVit. Lat.\tVit. Long\tVit. Alt.\t"));
    EXPECT_EQ(lignes[2], QString::fromUtf8("\t\t(degrés)\t(degrés)\t(mm)\t(mm/an)\t(mm/an)\t(mm/an)\t"));
    EXPECT_EQ(lignes[3], "AAAA\tX\t1.5\t2\t0\t0\t0\t0\t0");
    EXPECT_EQ(lignes[5], "CCCC\tX\t5\t-6\t0\t0\t0\t0\t2");
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(lignes[i].split('\t').size(), 9) << i;

    // The selected part: caption, headers, then the rows chosen, headers not twice.
    lignes = g.textePartie("Titre", 3, 3).split('\n');
    lignes.removeLast();
    ASSERT_EQ(lignes.size(), 4);
    EXPECT_TRUE(lignes[3].startsWith("BBBB\t"));
    lignes = g.textePartie("Titre", 0, 2).split('\n');
    lignes.removeLast();
    ASSERT_EQ(lignes.size(), 4);
    EXPECT_TRUE(lignes[3].startsWith("AAAA\t"));

    g.incertitudes = true;
    lignes = g.texte("Titre").split('\n');
    lignes.removeLast();
    ASSERT_EQ(lignes.size(), 9);
    EXPECT_TRUE(lignes[4].startsWith("\t\t+/- 0 mm\t"));

    // An empty table: caption and headers.
    viderStations();
    EXPECT_EQ(g.texte("Titre").count('\n'), 3);
}

// The table writes its numbers itself (a copy writes a hundred thousand of
// them): they must read exactly as the rest of the program writes them.
TEST_F(SeparateurPoint, NumbersReadAsEverywhereElseInTheProgram)
{
    const double valeurs[] = {0,        -0.0,       1,         -1,        0.5,        2.5,          -8.5,
                              36.1331104696, 138.362044342, 1508609.80123, 0.00001, 0.0000099999, 0.00001234567,
                              123456789012345.0, 1e20, -3.25e-12, 99999.5, 9.99999, 0.1 + 0.2, 1.0 / 3,
                              std::nan(""), HUGE_VAL};
    for (char sep : {'.', ','}) {
        definirSeparateurDecimal(sep);
        for (double v : valeurs)
            for (int chiffres = 1; chiffres <= 13; ++chiffres) {
                QByteArray b;
                ajouterGeneral(b, v, chiffres);
                EXPECT_EQ(QString::fromUtf8(b), carte::formatGeneral(v, chiffres)) << v << " " << chiffres;
            }
    }
}
