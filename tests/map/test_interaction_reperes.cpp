// Landmark reading rules, the .obf file, the clipboard text and the drawing.
#include "data/decimal.h"
#include "map/projection.h"
#include "map/reperes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carte;

namespace {

TGrilleReperes grille(std::vector<QStringList> lignes)
{
    TGrilleReperes g;
    g.cellules.push_back(TGrilleReperes::entetes());
    for (auto& l : lignes)
        g.cellules.push_back(l);
    return g;
}

struct InteractionReperes : ::testing::Test {
    void SetUp() override { definirSeparateurDecimal('.'); }
    void TearDown() override { definirSeparateurDecimal('.'); }
};

} // namespace

TEST_F(InteractionReperes, ReadingRules)
{
    TGrilleReperes g = grille({{"Un nom de quinz", "45,5", "-3.25", "n"},
                               {"Deux", "10", "20", "o"},
                               {"Trois", "-10", "5", ""},
                               {"Quatre", "1", "2", "pas de point"}});
    const auto r = lireReperesGrille(g);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].Nom, "Un nom de quinz");
    EXPECT_EQ(r[0].Nom.size(), 15);
    EXPECT_DOUBLE_EQ(r[0].Latitude, 45.5);
    EXPECT_DOUBLE_EQ(r[0].Longitude, -3.25);
    EXPECT_EQ(r[0].Disposition, "N");
    EXPECT_EQ(r[1].Disposition, "O");
    EXPECT_EQ(r[2].Disposition, "O");
    EXPECT_EQ(r[3].Disposition, "P");
    // The comma is rewritten with the system's point; dispositions are rewritten.
    EXPECT_EQ(g.cellule(1, 1), "45.5");
    EXPECT_EQ(g.cellule(1, 3), "N");
    EXPECT_EQ(g.cellule(2, 3), "O");
    EXPECT_EQ(g.cellule(3, 3), "O");
}

TEST_F(InteractionReperes, CommaSystemRewritesPoints)
{
    definirSeparateurDecimal(',');
    TGrilleReperes g = grille({{"A", "12.5", "3,5", "s"}});
    const auto r = lireReperesGrille(g);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_DOUBLE_EQ(r[0].Latitude, 12.5);
    EXPECT_DOUBLE_EQ(r[0].Longitude, 3.5);
    EXPECT_EQ(g.cellule(1, 1), "12,5");
}

TEST_F(InteractionReperes, ReadingSkipsEmptyOrBadCoordinate)
{
    // A faulty row is left out; the rows after it are still read.
    TGrilleReperes vide = grille({{"A", "", "3", ""}, {"B", "1", "2", ""}});
    const auto lus = lireReperesGrille(vide);
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_EQ(lus[0].Nom, "B");
    TGrilleReperes mauvais = grille({{"A", "1", "2", ""}, {"B", "1", "abc", ""}, {"C", "3", "4", ""}});
    EXPECT_EQ(lireReperesGrille(mauvais).size(), 2u);
    // Only the first other mark is replaced: "1,2,3" reads as "1.2,3", which is no
    // number; the refused cell stays as typed.
    TGrilleReperes deux = grille({{"A", "1,2,3", "2", ""}});
    EXPECT_TRUE(lireReperesGrille(deux).empty());
    EXPECT_EQ(deux.cellule(1, 1), "1,2,3");
}

TEST_F(InteractionReperes, FileSaveThenLoadGivesSameCellsAndBoxes)
{
    TGrilleReperes g = grille({{QString::fromUtf8("Chaîne des Puys"), "45.77", "2.96", "E"}, {"", "", "", ""}});
    g.relier = true;
    g.grandsCercles = false;
    const QByteArray octets = ecrireFichierReperes(g);
    EXPECT_TRUE(octets.startsWith("4\r\n3\r\nNom\r\nLatitude\r\nLongitude\r\ndisposition\r\n"));
    EXPECT_TRUE(octets.endsWith("\r\nR\r\nN\r\n"));
    EXPECT_TRUE(octets.contains("Cha\xEEne")); // Windows-1252

    QTemporaryDir dir;
    const QString chemin = dir.filePath("essai.obf");
    ASSERT_TRUE(enregistrerFichierReperes(chemin, g));
    TGrilleReperes lu = TGrilleReperes::nouvelle();
    ASSERT_TRUE(chargerFichierReperes(chemin, lu));
    EXPECT_EQ(lu, g);

    g.relier = false;
    g.grandsCercles = true;
    TGrilleReperes lu2;
    ASSERT_TRUE(lireFichierReperes(ecrireFichierReperes(g), lu2));
    EXPECT_FALSE(lu2.relier);
    EXPECT_TRUE(lu2.grandsCercles);
}

TEST_F(InteractionReperes, BadFilesLeaveTheGridAlone)
{
    const TGrilleReperes avant = grille({{"A", "1", "2", "O"}});
    TGrilleReperes g = avant;
    QString erreur;
    EXPECT_FALSE(lireFichierReperes("bonjour\r\n", g, &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(lireFichierReperes("4\r\n3\r\nNom\r\n", g, &erreur)); // too few cells
    EXPECT_FALSE(lireFichierReperes("4\r\n999999999\r\n", g, &erreur)); // absurd size
    EXPECT_FALSE(chargerFichierReperes("/nonexistent/x.obf", g, &erreur));
    EXPECT_EQ(g, avant);
    // Line breaks inside a cell cannot shift the following values.
    TGrilleReperes casse = grille({{"deux\nlignes", "1", "2", "O"}});
    TGrilleReperes relu;
    ASSERT_TRUE(lireFichierReperes(ecrireFichierReperes(casse), relu));
    EXPECT_EQ(relu.cellule(1, 0), "deux lignes");
    EXPECT_EQ(relu.cellule(1, 1), "1");
    // A file with only LF line ends reads too.
    TGrilleReperes lf;
    ASSERT_TRUE(lireFichierReperes("2\n2\na\nb\nc\nd\nR\nGC\n", lf));
    EXPECT_EQ(lf.cellule(1, 1), "d");
    EXPECT_TRUE(lf.relier);
    EXPECT_TRUE(lf.grandsCercles);
}

TEST_F(InteractionReperes, ClipboardTextIsTabSeparated)
{
    TGrilleReperes g = grille({{"A", "1", "2", "O"}, {"B", "3", "4", "N"}});
    EXPECT_EQ(texteTabule("Titre", g),
              "Titre\nNom\tLatitude\tLongitude\tdisposition\nA\t1\t2\tO\nB\t3\t4\tN\n");
    EXPECT_EQ(texteTabule("Titre", g, 1, 1, 2, 2), "Titre\n1\t2\n3\t4\n");
}

TEST_F(InteractionReperes, CoordinateTextsAndGroupLength)
{
    EXPECT_EQ(texteCoordonneeRepere(0), "0");
    EXPECT_EQ(texteCoordonneeRepere(0.5), "0.5");
    EXPECT_EQ(texteCoordonneeRepere(-12.3456), "-12.35");
    std::vector<TRepere> r(3);
    r[1].Longitude = 10;
    r[2].Longitude = 10;
    r[2].Latitude = 10;
    EXPECT_EQ(longueurGroupe(r), distanceGrandCercle(0, 0, 10, 0) + distanceGrandCercle(10, 0, 10, 10));
}

TEST_F(InteractionReperes, NamePlacementByDisposition)
{
    EXPECT_EQ(positionNom("S", 100, 100, 40, 12), QPoint(80, 104));
    EXPECT_EQ(positionNom("O", 100, 100, 40, 12), QPoint(56, 94));
    EXPECT_EQ(positionNom("N", 100, 100, 40, 12), QPoint(80, 84));
    EXPECT_EQ(positionNom("E", 100, 100, 40, 12), QPoint(104, 94));
    EXPECT_EQ(positionNom("P", 100, 100, 40, 12), QPoint(100, 100));
}

TEST_F(InteractionReperes, DrawingPointsLinksAndNames)
{
    TBitmap32 b(720, 360);
    GroupeReperes g;
    TRepere a;
    a.Latitude = 0;
    a.Longitude = 0;
    a.Disposition = "E";
    TRepere c = a;
    c.Longitude = 20;
    c.Disposition = "P";
    c.Nom = "Nom";
    g.reperes = {a, c};
    g.relier = true;
    StyleReperes style;
    const QRect r = dessinerGroupesReperes({g}, b, 0, style);
    // Point of the first landmark (thick: 3 x 3), none for the "P" one.
    EXPECT_EQ(b.pixel(360, 180), clBlack32);
    EXPECT_EQ(b.pixel(361, 181), clBlack32);
    // Straight link along the equator between them.
    EXPECT_NE(b.pixel(370, 180), clTransparentWhite32);
    // The name starts at the "P" landmark's position.
    bool encre = false;
    for (int y = 180; y < 195; ++y)
        for (int x = 400; x < 420; ++x)
            encre = encre || alphaOf(b.pixel(x, y)) > 0;
    EXPECT_TRUE(encre);
    EXPECT_TRUE(r.contains(360, 180));
    EXPECT_TRUE(r.contains(405, 185));
}

TEST_F(InteractionReperes, FaultyCellsAreToldAndTheirRowsLeftAsTyped)
{
    TGrilleReperes g = grille({{"Brest", "48.39", "-4.49", "nord"},           // 1 kept
                               {"Paris", "abc", "2.35", ""},                  // 2 latitude
                               {"Lima", "-12", "200", "S"},                   // 3 longitude
                               {"Quito", "-0.2", "-78.5", "Z"},               // 4 disposition
                               {"Un nom de vingt et un", "1", "2", "E"},      // 5 name
                               {"", " ", "", "O"},                            // 6 blank: skipped
                               {"Pôle", "-90", "180", " pas de point "},      // 7 kept: bounds included
                               {"Trop au nord", "90.5", "", "sud-est"},       // 8 three faults
                               {"", "1e400", "-180.01", ""}});                // 9 two faults, no name
    const std::vector<TRepere> r = lireReperesGrille(g);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].Nom, "Brest");
    EXPECT_EQ(r[0].Disposition, "N");
    EXPECT_EQ(r[1].Nom, QString::fromUtf8("Pôle"));
    EXPECT_DOUBLE_EQ(r[1].Latitude, -90);
    EXPECT_DOUBLE_EQ(r[1].Longitude, 180);
    EXPECT_EQ(r[1].Disposition, "P");

    struct Attendu {
        int ligne, colonne;
        const char* raison;
    };
    const Attendu attendus[] = {{2, 1, "latitude « abc » illisible"},
                                {3, 2, "longitude « 200 » hors des bornes (de\u00a0−180\u00a0à\u00a0180)"},
                                {4, 3, "disposition « Z » inconnue (N, S, E, O ou P)"},
                                {5, 0, "nom de 21 caractères (15 au plus)"},
                                {8, 1, "latitude « 90.5 » hors des bornes (de\u00a0−90\u00a0à\u00a090)"},
                                {8, 2, "longitude manquante"},
                                {8, 3, "disposition « sud-est » inconnue (N, S, E, O ou P)"},
                                {9, 1, "latitude « 1e400 » illisible"},
                                {9, 2, "longitude « -180.01 » hors des bornes (de\u00a0−180\u00a0à\u00a0180)"}};
    ASSERT_EQ(g.lignesIgnorees.size(), std::size(attendus));
    for (std::size_t i = 0; i < std::size(attendus); ++i) {
        EXPECT_EQ(g.lignesIgnorees[i].ligne, attendus[i].ligne) << i;
        EXPECT_EQ(g.lignesIgnorees[i].colonne, attendus[i].colonne) << i;
        EXPECT_EQ(g.lignesIgnorees[i].raison, QString::fromUtf8(attendus[i].raison)) << i;
    }
    // Refused rows keep what was typed; kept rows get their letters.
    EXPECT_EQ(g.cellule(4, 3), "Z");
    EXPECT_EQ(g.cellule(1, 3), "N");
    EXPECT_EQ(g.cellule(7, 3), "P");

    // A second reading of the corrected grid forgets the earlier faults.
    TGrilleReperes bonne = grille({{"Brest", "48.39", "-4.49", ""}});
    bonne.lignesIgnorees = g.lignesIgnorees;
    EXPECT_EQ(lireReperesGrille(bonne).size(), 1u);
    EXPECT_TRUE(bonne.lignesIgnorees.empty());
}

TEST_F(InteractionReperes, OneMessageForTheIgnoredRowsCappedWithACount)
{
    EXPECT_TRUE(messageLignesIgnorees({}).isEmpty());

    TGrilleReperes g = grille({{"Brest", "abc", "-4.49", "Z"}, {"", "1", "", ""}});
    lireReperesGrille(g);
    EXPECT_EQ(messageLignesIgnorees(g.lignesIgnorees),
              QString::fromUtf8("Ligne 1 (Brest) ignorée : latitude « abc » illisible, "
                                "disposition « Z » inconnue (N, S, E, O ou P).\n"
                                "Ligne 2 ignorée : longitude manquante.\n\n"
                                "Corrigez les cases marquées en rouge, puis validez à nouveau."));

    // Past the cap, the remaining rows are counted, not listed; a very long cell is
    // quoted shortened.
    std::vector<QStringList> lignes;
    for (int i = 0; i < 12; ++i)
        lignes.push_back({QString(), QStringLiteral("x").repeated(i == 0 ? 300 : 1), QStringLiteral("1"), QString()});
    TGrilleReperes beaucoup = grille(lignes);
    lireReperesGrille(beaucoup);
    ASSERT_EQ(beaucoup.lignesIgnorees.size(), 12u);
    const QString m = messageLignesIgnorees(beaucoup.lignesIgnorees, 8);
    EXPECT_EQ(m.count(QStringLiteral("ignorée :")), 8);
    EXPECT_FALSE(m.contains(QString::fromUtf8("Ligne 9 ignorée")));
    EXPECT_TRUE(m.contains(QString::fromUtf8("… et 4 autres lignes ignorées.")));
    EXPECT_TRUE(m.contains(QString::fromUtf8("« xxxxxxxxxxxxxxxxxxx… »")));
    EXPECT_TRUE(messageLignesIgnorees(beaucoup.lignesIgnorees, 11).contains(QString::fromUtf8("… et 1 autre ligne ignorée.")));
}
