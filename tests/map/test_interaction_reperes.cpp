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
    TGrilleReperes g = grille({{"Un nom beaucoup trop long", "45,5", "-3.25", "n"},
                               {"Deux", "10", "20", "X"},
                               {"Trois", "-10", "5", ""},
                               {"Quatre", "1", "2", "pas de point"}});
    const auto r = lireReperesGrille(g);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].Nom, "Un nom beaucoup");
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

TEST_F(InteractionReperes, ReadingStopsAtEmptyOrBadCoordinate)
{
    TGrilleReperes vide = grille({{"A", "", "3", ""}, {"B", "1", "2", ""}});
    EXPECT_TRUE(lireReperesGrille(vide).empty());
    TGrilleReperes mauvais = grille({{"A", "1", "2", ""}, {"B", "1", "abc", ""}, {"C", "3", "4", ""}});
    EXPECT_EQ(lireReperesGrille(mauvais).size(), 1u);
    // Only the first other mark is replaced: "1,2,3" becomes "1.2,3" and stops.
    TGrilleReperes deux = grille({{"A", "1,2,3", "2", ""}});
    EXPECT_TRUE(lireReperesGrille(deux).empty());
    EXPECT_EQ(deux.cellule(1, 1), "1.2,3");
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
