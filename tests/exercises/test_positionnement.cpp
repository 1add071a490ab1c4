// The squares of the positioning exercise, the coordinates shown to the pupil
// and the world picture made from the map's base picture.
#include "data/decimal.h"
#include "exercises/positionnement.h"

#include <gtest/gtest.h>

TEST(Carres, SquareOfAPositionUpToTheEdgesOfTheMap)
{
    EXPECT_EQ(carreDePosition(45.5, 6.1).numero(), 2 * 18 + 9 + 1);
    EXPECT_EQ(carreDePosition(90, 0).ligne, 0);
    EXPECT_EQ(carreDePosition(0, -180).colonne, 0);
    EXPECT_EQ(carreDePosition(90, -180).numero(), 1);
    // The south pole and the 180° meridian belong to the last row and column: a
    // click can find them.
    EXPECT_EQ(carreDePosition(-90, 0).ligne, 8);
    EXPECT_EQ(carreDePosition(0, 180).colonne, 17);
    EXPECT_EQ(carreDePosition(-90, 180).numero(), 162);
    EXPECT_EQ(carreDuPoint(539, 269).numero(), carreDePosition(-90, 180).numero());
    // A square's edge belongs to the square to its south and east.
    EXPECT_EQ(carreDePosition(70, -160).numero(), carreDuPoint(30, 30).numero());
    EXPECT_EQ(carreDePosition(-33.9, 18.5).numero(), 6 * 18 + 9 + 1);
    // Longitudes beyond ±180 are brought back; impossible latitudes have no square.
    EXPECT_EQ(carreDePosition(10, 186.1).numero(), carreDePosition(10, -173.9).numero());
    EXPECT_EQ(carreDePosition(91, 0).numero(), 0);
    EXPECT_EQ(carreDePosition(std::nan(""), 0).numero(), 0);
}

TEST(Carres, SquareOfAClick)
{
    EXPECT_EQ(carreDuPoint(0, 0).numero(), 1);
    EXPECT_EQ(carreDuPoint(29, 29).numero(), 1);
    EXPECT_EQ(carreDuPoint(30, 0).numero(), 2);
    EXPECT_EQ(carreDuPoint(9 * 30 + 12, 2 * 30 + 3).numero(), 46);
    EXPECT_EQ(carreDuPoint(540, 10).numero(), 0);
    EXPECT_EQ(carreDuPoint(-1, 10).numero(), 0);
    EXPECT_EQ(carreDuPoint(10, 270).numero(), 0);
    for (int n : {1, 46, 162})
        EXPECT_EQ(carreDeNumero(n).numero(), n);
    EXPECT_EQ(carreDeNumero(46).coin(), QPoint(270, 60));
    EXPECT_FALSE(carreDeNumero(0).valide());
    EXPECT_FALSE(carreDeNumero(163).valide());
}

TEST(Carres, CoordinatesAsThePupilReadsThem)
{
    const char avant = SeparateurDecimal();
    definirSeparateurDecimal(',');
    EXPECT_EQ(texteLatitude(45.5), QStringLiteral("Latitude : 45,5° N"));
    EXPECT_EQ(texteLatitude(-33.4567), QStringLiteral("Latitude : 33,46° S"));
    EXPECT_EQ(texteLongitude(-147.4992), QStringLiteral("Longitude : 147,5° O"));
    EXPECT_EQ(texteLongitude(6.1), QStringLiteral("Longitude : 6,1° E"));
    EXPECT_EQ(texteLongitude(0), QStringLiteral("Longitude : 0° "));
    definirSeparateurDecimal(avant);
}

TEST(PlanisphereExercice, BackToGeographicLongitudesWhateverTheMapShift)
{
    // A geographic picture: west half red, east half blue.
    const int W = 720, H = 360;
    TBitmap32 geo(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            geo.setPixel(x, y, x < W / 2 ? 0xFFFF0000 : 0xFF0000FF);
    for (int decalage : {0, 90, -135, 180}) {
        TBitmap32 fond = geo;
        fond.rollHorizontal(decalage * W / 360); // as the map shows it
        const TBitmap32 r = reduirePlanisphere(fond, decalage, LargeurPlanis, HauteurPlanis);
        ASSERT_EQ(r.width(), LargeurPlanis);
        ASSERT_EQ(r.height(), HauteurPlanis);
        EXPECT_EQ(r.pixel(5, 100), 0xFFFF0000u) << decalage;
        EXPECT_EQ(r.pixel(268, 100), 0xFFFF0000u) << decalage;
        EXPECT_EQ(r.pixel(272, 100), 0xFF0000FFu) << decalage;
        EXPECT_EQ(r.pixel(535, 100), 0xFF0000FFu) << decalage;
    }
    // A 2 × 2 checkerboard reduced by two is grey.
    TBitmap32 damier(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            damier.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    const TBitmap32 gris = reduirePlanisphere(damier, 0, 2, 1);
    EXPECT_EQ(gris.pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(gris.pixel(1, 0), 0xFF808080u);
}

TEST(PlanisphereExercice, TheGridOfTheSquaresIsDrawn)
{
    const TBitmap32 blanc(3600, 1800, 0xFFFFFFFF);
    const TBitmap32 p = planisphereExercice(blanc, 0);
    ASSERT_EQ(p.width(), 540);
    ASSERT_EQ(p.height(), 270);
    for (int k = 0; k < 18; ++k)
        EXPECT_NE(p.pixel(30 * k, 15), 0xFFFFFFFFu) << k;
    for (int k = 0; k < 9; ++k)
        EXPECT_NE(p.pixel(15, 30 * k), 0xFFFFFFFFu) << k;
    EXPECT_EQ(p.pixel(15, 15), 0xFFFFFFFFu);
    EXPECT_NE(p.pixel(539, 15), 0xFFFFFFFFu); // the frame's right edge
    // Without a base picture: the grid on white.
    EXPECT_EQ(planisphereExercice(TBitmap32(), 0).width(), 540);
}
