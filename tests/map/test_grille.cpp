// Elevation grid: step from the name, per-row tables, load of full, short and missing files.
#include "map/grille.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// Writes `n` values of the grid, each value derived from its index.
QString ecrireGrille(const QTemporaryDir& dir, const QString& nom, std::size_t n)
{
    QByteArray data;
    data.resize(static_cast<qsizetype>(n * 2));
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<int>(i % 20000) - 10000));
        data[static_cast<qsizetype>(2 * i)] = static_cast<char>(v & 0xFF);
        data[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>(v >> 8);
    }
    const QString chemin = dir.filePath(nom);
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return chemin;
}
int valeurAttendue(std::size_t i) { return static_cast<int>(i % 20000) - 10000; }
} // namespace

TEST(Grille, StepFromTheName)
{
    EXPECT_EQ(TGrilleAltitude::pasDepuisNom(QStringLiteral("etopo10.bil")), 10);
    EXPECT_EQ(TGrilleAltitude::pasDepuisNom(QStringLiteral("/a/b/relie20.bin")), 20);
    // Unusable names fall back to ten-minute cells.
    EXPECT_EQ(TGrilleAltitude::pasDepuisNom(QString()), 10);
    EXPECT_EQ(TGrilleAltitude::pasDepuisNom(QStringLiteral("grille.bin")), 10);
    EXPECT_EQ(TGrilleAltitude::pasDepuisNom(QStringLiteral("etopo05.bil")), 10);
}

TEST(Grille, FullFileCellZeroAndMinMax)
{
    QTemporaryDir dir;
    const std::size_t n = static_cast<std::size_t>(TGrilleAltitude::Lignes) * TGrilleAltitude::Colonnes;
    const QString chemin = ecrireGrille(dir, QStringLiteral("etopo10.bil"), n);
    TGrilleAltitude g;
    ASSERT_TRUE(g.charger(chemin));
    EXPECT_EQ(g.M(), 10);
    EXPECT_EQ(g.f(), 6);
    // Cell (0, 0): the 1081st value of the 541st row.
    EXPECT_EQ(g.altitude(0, 0), valeurAttendue(540 * 2161 + 1080));
    EXPECT_EQ(g.altitude(540, -1080), valeurAttendue(0));
    EXPECT_EQ(g.altitude(-540, 1080), valeurAttendue(n - 1));
    EXPECT_EQ(g.mini(), -10000);
    EXPECT_EQ(g.maxi(), 9999);
    EXPECT_EQ(g.texteMiniMaxi(), QStringLiteral("mini : -10000 ; maxi : 9999"));
    EXPECT_TRUE(g.surGrille(540, 1080));
    EXPECT_FALSE(g.surGrille(541, 0));
    EXPECT_FALSE(g.surGrille(0, -1081));
    EXPECT_EQ(g.altitude(541, 0), 0);
}

TEST(Grille, ShortAndMissingFilesLeaveZeros)
{
    QTemporaryDir dir;
    const QString chemin = ecrireGrille(dir, QStringLiteral("etopo10.bil"), 2161 + 5);
    TGrilleAltitude g;
    ASSERT_TRUE(g.charger(chemin));
    EXPECT_EQ(g.altitude(539, -1080 + 4), valeurAttendue(2161 + 4));
    EXPECT_EQ(g.altitude(539, -1080 + 5), 0);
    EXPECT_EQ(g.altitude(0, 0), 0);

    TGrilleAltitude vide;
    EXPECT_FALSE(vide.charger(dir.filePath(QStringLiteral("absent10.bil"))));
    EXPECT_EQ(vide.altitude(0, 0), 0);
    EXPECT_FALSE(vide.charge());
}

TEST(Grille, RowTables)
{
    TGrilleAltitude g;
    EXPECT_NEAR(g.largeur(0), 18.5185185, 1e-5);
    EXPECT_NEAR(g.aire(0), 18.5185185 * 18.5185185, 1e-3);
    EXPECT_NEAR(g.largeur(540), 0.0, 1e-5);
    EXPECT_NEAR(g.largeur(-360), 18.5185185 * 0.5, 1e-4);
}

TEST(Grille, BytesInMemoryLoadAsTheFileDoesAndExtraBytesAreIgnored)
{
    QTemporaryDir dir;
    const std::size_t n = static_cast<std::size_t>(TGrilleAltitude::Lignes) * TGrilleAltitude::Colonnes;
    const QString chemin = ecrireGrille(dir, QStringLiteral("relie20.bin"), n + 7);
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    TGrilleAltitude depuisFichier, depuisOctets;
    ASSERT_TRUE(depuisFichier.charger(chemin));
    depuisOctets.chargerOctets(chemin, f.readAll() + QByteArray(1, '\x7F'));
    EXPECT_TRUE(depuisOctets.charge());
    EXPECT_EQ(depuisOctets.M(), 20);
    EXPECT_EQ(depuisOctets.valeurs(), depuisFichier.valeurs());
    EXPECT_EQ(depuisOctets.texteMiniMaxi(), depuisFichier.texteMiniMaxi());
}
