// Population grid: the rows each kind of file holds, files refused with a message,
// the density layer with its interpolation, the people below a sea level; and the
// ocean-floor age overlay laid over the map at its size and shift.
#include "map/agefonds.h"
#include "map/population.h"
#include "drawing/dessins.h"
#include "ui/codecs.h"
#include "niveau_test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ecrire(const QTemporaryDir& dir, const QString& nom, const QByteArray& o)
{
    const QString chemin = dir.filePath(nom);
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write(o);
    return chemin;
}

} // namespace

TEST(Population, BilFilesStartAtRowFiveOthersAtRowZero)
{
    QTemporaryDir dir;
    // Row 5 is the first row of a ".BIL" file, the sixth of any other.
    const QString bil = ecrire(dir, QStringLiteral("pop.bil"), fichierPopulation(5, {{5, 10, 77}, {563, 1439, 3}}));
    TGrillePopulation p;
    ASSERT_TRUE(lirePopulation(bil, p));
    EXPECT_EQ(p.premiereLigne, 5);
    EXPECT_EQ(p.nbLignes(), 559);
    EXPECT_EQ(p.compte(5, 10), 77u);
    EXPECT_EQ(p.compte(563, 1439), 3u);
    EXPECT_DOUBLE_EQ(p.total, 80);
    const QString tdp = ecrire(dir, QStringLiteral("Pop9515.tdp"), fichierPopulation(0, {{5, 10, 77}, {0, 0, 1}}));
    ASSERT_TRUE(lirePopulation(tdp, p));
    EXPECT_EQ(p.premiereLigne, 0);
    EXPECT_EQ(p.compte(5, 10), 77u);
    EXPECT_EQ(p.compte(0, 0), 1u);
    EXPECT_EQ(TGrillePopulation::premiereLigneDe(QStringLiteral("A.BIL")), 5);
}

TEST(Population, MissingTruncatedOrWrongSizeFilesAreRefusedNamingTheFile)
{
    QTemporaryDir dir;
    TGrillePopulation p;
    ASSERT_TRUE(lirePopulation(ecrire(dir, QStringLiteral("bon.tdp"), fichierPopulation(0, {{1, 1, 9}})), p));
    QString message;
    const QString absent = dir.filePath(QStringLiteral("absent.tdp"));
    EXPECT_FALSE(lirePopulation(absent, p, &message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(absent))) << message.toStdString();
    // A ".tdp" cut short, a ".bil" holding the rows of a ".tdp".
    const QString court = ecrire(dir, QStringLiteral("court.tdp"), fichierPopulation(0, {}).left(1000000));
    EXPECT_FALSE(lirePopulation(court, p, &message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(court)));
    EXPECT_TRUE(message.contains(QStringLiteral("564 lignes"))) << message.toStdString();
    const QString bil = ecrire(dir, QStringLiteral("grand.BIL"), fichierPopulation(0, {}));
    EXPECT_FALSE(lirePopulation(bil, p, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("559 lignes"))) << message.toStdString();
    // What was read before stays.
    EXPECT_EQ(p.compte(1, 1), 9u);
}

TEST(Population, DensityOpacityBetweenTheThresholds)
{
    EXPECT_EQ(alphaDensite(0.5, 1, 100), 0);
    EXPECT_EQ(alphaDensite(1, 1, 100), 0);
    EXPECT_EQ(alphaDensite(50.5, 1, 100), 128);
    EXPECT_EQ(alphaDensite(100, 1, 100), 255);
    EXPECT_EQ(alphaDensite(5000, 1, 100), 255);
    // Thresholds out of order: everything above the lower one is shown fully.
    EXPECT_EQ(alphaDensite(60, 50, 50), 255);
    EXPECT_EQ(alphaDensite(60, 100, 10), 0);
    EXPECT_EQ(alphaDensite(160, 100, 10), 255);
}

TEST(Population, LayerPlacesCellsInterpolatesAndJoinsTheSeam)
{
    // One crowded cell at the equator (row 339: latitude 0.125) and one on the last
    // column of the same row.
    TGrillePopulation p;
    QTemporaryDir dir;
    ASSERT_TRUE(lirePopulation(ecrire(dir, QStringLiteral("p.tdp"), fichierPopulation(0, {{339, 720, 1000000}, {339, 1439, 1000000}})), p));
    TBitmap32 calque;
    const TColor32 rouge = 0xFFFF0000;
    // 2880 pixels: two per cell; row 339 lands on pixel row round(359.5 × 2) = 719.
    const double total = dessinerPopulation(calque, p, 2880, 1440, 0, rouge, 1, 100);
    EXPECT_DOUBLE_EQ(total, 2000000);
    EXPECT_EQ(calque.pixel(1440, 719), 0xFFFF0000u);
    // Half-way to the next (empty) cell, half the opacity; nothing further.
    EXPECT_EQ(alphaOf(calque.pixel(1441, 719)), 128u);
    EXPECT_EQ(calque.pixel(1442, 719), clTransparentWhite32);
    // The last column's cell is joined to the first column across the seam.
    EXPECT_EQ(calque.pixel(2878, 719), 0xFFFF0000u);
    EXPECT_EQ(alphaOf(calque.pixel(2879, 719)), 128u);
    // Between rows: the pixel row between 339's and 338's (717) is half as opaque.
    EXPECT_EQ(alphaOf(calque.pixel(1440, 718)), 128u);
    EXPECT_EQ(calque.pixel(1440, 717), clTransparentWhite32);
    // Shifted by 90°, the cell moves a quarter of the map.
    dessinerPopulation(calque, p, 2880, 1440, 90, rouge, 1, 100);
    EXPECT_EQ(calque.pixel(2160, 719), 0xFFFF0000u);
    EXPECT_EQ(calque.pixel(1440, 719), clTransparentWhite32);
}

TEST(Population, OnlyPeopleBelowTheLevelAreThreatenedNeverEmptyCells)
{
    GrilleMonde m(-3000);
    m.bloc(-30, 60, -20, 60, 200); // a continent
    m.bloc(10, 20, 10, 20, 5);     // a coastal plain, open to no sea...
    m.bloc(10, 20, -20, 9.9, 5);   // ...but to the west coast
    m.bloc(40, 45, 40, 45, -20);   // a closed depression
    TGrilleAltitude g;
    m.charger(g);
    // Row r is latitude 84.875 - 0.25 r, column i longitude -180 + 0.25 i.
    auto ligne = lignePopulation;
    auto colonne = colonnePopulation;
    QTemporaryDir dir;
    TGrillePopulation p;
    ASSERT_TRUE(lirePopulation(
        ecrire(dir, QStringLiteral("p.tdp"),
               fichierPopulation(0, {{ligne(15.125), colonne(15), 1200},    // on the plain
                                     {ligne(42.125), colonne(42), 800},     // in the depression
                                     {ligne(30.125), colonne(30), 5000},    // high ground
                                     {ligne(0.125), colonne(-100), 7}})),   // at sea
        p));
    // A cell with no one, even on low ground, adds nothing; a level of 0 is not counted.
    EXPECT_EQ(populationMenacee(p, g, 10), 1200 + 800 + 7);
    EXPECT_EQ(populationMenacee(p, g, 5), 800 + 7);
    const TAtteinteOcean a = calculerAtteinteOcean(VueAltitudes::de(g));
    EXPECT_EQ(populationMenacee(p, g, 10, &a), 1200 + 7);
    EXPECT_EQ(populationMenacee(p, g, 201, &a), 1200 + 800 + 5000 + 7);
    // Rounded to the nearest thousand, with its share of the world.
    EXPECT_EQ(textePopulationMenacee(1234567, 8000000000.0),
              QStringLiteral("Population menacée : 1\u202F235\u202F000 personnes (0 %)"));
    EXPECT_EQ(textePopulationMenacee(2007, 7007), QStringLiteral("Population menacée : 2\u202F000 personnes (29 %)"));
    EXPECT_EQ(textePopulationMenacee(400, 0), QStringLiteral("Population menacée : 0 personnes (0 %)"));
}

// --- Ocean-floor age ---

namespace {

TBitmap32 imageAges(int w, int h)
{
    TBitmap32 b(w, h, clWhite32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x * 7 + y * 3) % 5)
                b.setPixel(x, y, color32(static_cast<std::uint32_t>(x * 255 / w), static_cast<std::uint32_t>(y * 255 / h), 90));
    return b;
}

} // namespace

TEST(AgeFonds, LayerIsThePictureStretchedWhiteClearedAndRolledLikeTheMap)
{
    const TBitmap32 image = imageAges(100, 50);
    for (const int d : {0, 90, -35, 180}) {
        TBitmap32 calque;
        remplirCalqueAge(calque, image, 360, 180, d);
        // The same done step by step: stretch, key colour, roll.
        TBitmap32 attendu(360, 180);
        attendu.draw(attendu.boundsRect(), image.boundsRect(), image, TBitmap32::DrawMode::Blend);
        RendreTransparent(clWhite32, attendu);
        attendu.rollHorizontal(arrondi(d / 360.0 * 360));
        EXPECT_EQ(calque, attendu) << d;
    }
    // With 90° the picture moves a quarter of the map to the right.
    TBitmap32 zero, quart;
    remplirCalqueAge(zero, image, 400, 200, 0);
    remplirCalqueAge(quart, image, 400, 200, 90);
    for (int x = 0; x < 400; x += 37)
        EXPECT_EQ(quart.pixel((x + 100) % 400, 77), zero.pixel(x, 77)) << x;
}

TEST(AgeFonds, MissingUnreadableOrNonWorldPicturesAreRefusedNamingTheFile)
{
    QTemporaryDir dir;
    TBitmap32 image;
    QString message;
    const QString absent = dir.filePath(QStringLiteral("age_unavcob.png"));
    EXPECT_FALSE(chargerImageAge(absent, image, &message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(absent))) << message.toStdString();
    const QString abime = ecrire(dir, QStringLiteral("abime.png"), QByteArray("\x89PNG\r\n\x1a\n12345", 13));
    EXPECT_FALSE(chargerImageAge(abime, image, &message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(abime)));
    const QString carre = dir.filePath(QStringLiteral("carre.png"));
    ASSERT_TRUE(savePicture(carre, imageAges(100, 100)));
    EXPECT_FALSE(chargerImageAge(carre, image, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("100 × 100"))) << message.toStdString();
    EXPECT_TRUE(image.isEmpty());
    const QString monde = dir.filePath(QStringLiteral("monde.png"));
    ASSERT_TRUE(savePicture(monde, imageAges(201, 100)));
    EXPECT_TRUE(chargerImageAge(monde, image, &message));
    EXPECT_EQ(image.width(), 201);
}
