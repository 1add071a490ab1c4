// Layout of a section into a frame in both modes, the shrink that fits the deepest
// focus, and what the drawing puts where: the relief at the scale the readouts
// use, the foci at their depth, the volcanoes, the sea-level marks, the crust
// colourings.
#include "map/rendu.h"
#include "section/renducoupe.h"
#include "section/vuecoupes.h"

#include <gtest/gtest.h>

using namespace coupe;

namespace {

// A 1000 km section, 11 samples, laid out in a 660 x 400 frame with the window's
// margins: 0.6 pixel per km.
std::unique_ptr<TBitmapSIG> section(int altitude = 1000, bool relief = false)
{
    auto s = std::make_unique<TBitmapSIG>();
    s->Nature = nbCoupe;
    s->zones_visibles = true;
    s->marge_gauche = 30;
    s->marge_droite = 30;
    s->marge_haut = 10;
    s->marge_bas = 5;
    s->exageration = 5;
    s->relief_au_dessus = relief;
    s->couleur_seismes = CouleurSeismesDefaut;
    s->couleur_volcans = CouleurVolcansDefaut;
    s->couleur_profil = CouleurProfilDefaut;
    s->couleur_niveau_mer = CouleurNiveauMerDefaut;
    s->couleur_fond = clWhite32;
    for (int i = 0; i <= 10; ++i)
        s->profil.push_back({i * 100.0, altitude});
    return s;
}

void ajouterSeisme(TBitmapSIG& s, double d, int profondeurM)
{
    s.seismes.push_back({d, profondeurM});
    s.magnitudes_seismes.push_back(5);
}

struct AvecRendu {
    AvecRendu() { installerRenduCoupe(); }
};

} // namespace

TEST(CalculerMiseEnPage, ReliefOnTheSeaLevelOfTheDepths)
{
    auto s = section();
    ajouterSeisme(*s, 500, 300000);
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_DOUBLE_EQ(s->echelle, 0.6);
    EXPECT_EQ(s->hauteur_relief, 0);
    // Room for 9000 m of relief, exaggerated five times, under the top margin.
    EXPECT_EQ(s->ligne_zero_profondeur, 37);
    EXPECT_EQ(s->ligne_niveau_mer, 37);

    // A focus at 600 km would fall below the frame: the scale shrinks so that it
    // lies on the bottom margin.
    ajouterSeisme(*s, 200, 600000);
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_NEAR(s->echelle, 358.0 / 600.0, 1e-12);
    EXPECT_EQ(s->ligne_zero_profondeur, 37);
    EXPECT_EQ(s->ligne_zero_profondeur + static_cast<int>(std::lround(600000 * s->echelle / 1000)), 400 - 5);
}

TEST(CalculerMiseEnPage, ReliefInItsOwnFrameAbove)
{
    auto s = section(1000, true);
    ajouterSeisme(*s, 500, 300000);
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_DOUBLE_EQ(s->echelle, 0.6);
    // -11000 … +9000 m exaggerated five times, with the margins.
    EXPECT_EQ(s->hauteur_relief, 75);
    EXPECT_EQ(s->ligne_zero_profondeur, 90);
    // 11000 m × 5 above the bottom of the relief frame.
    EXPECT_EQ(s->ligne_niveau_mer, 37);

    ajouterSeisme(*s, 200, 600000);
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_NEAR(s->echelle, 305.0 / 600.0, 1e-12);
    // The relief frame keeps its height; the rows follow the new scale.
    EXPECT_EQ(s->hauteur_relief, 75);
    EXPECT_EQ(s->ligne_zero_profondeur, 90);
    EXPECT_EQ(s->ligne_niveau_mer, 42);
}

TEST(CalculerMiseEnPage, NothingForLegendsEmptyOrFlatSections)
{
    auto s = section();
    s->profil.assign(1, {0.0, 100});
    s->echelle = 7;
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_EQ(s->echelle, 7);
    s->profil.clear();
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_EQ(s->echelle, 7);
    auto l = section();
    l->Nature = nbLegende;
    l->echelle = 1;
    CalculerMiseEnPage(*l, 660, 400);
    EXPECT_EQ(l->echelle, 1);

    // Drawn, such a section shows only its background and border.
    AvecRendu r;
    s->profil.assign(1, {0.0, 100});
    TBitmap32 b(200, 100);
    DessinerDocument(*s, b);
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 199; ++x)
            ASSERT_EQ(b.pixel(x, y), clWhite32);
}

TEST(CalculerMiseEnPage, AnExaggerationThatLeavesNoRoomNeverTurnsTheScaleOver)
{
    auto s = section(1000, true);
    s->exageration = 100;
    ajouterSeisme(*s, 500, 600000);
    CalculerMiseEnPage(*s, 660, 400);
    EXPECT_GT(s->echelle, 0);
}

// Without the relief frame the relief stands exaggerated on the sea-level line,
// as the layout reserved its room and as the readout reads it back.
TEST(DessinerCoupe, ReliefFociAndVolcanoesWhereTheReadoutsReadThem)
{
    AvecRendu r;
    auto s = section(1000);
    ajouterSeisme(*s, 500, 300000);
    s->volcans.push_back({250, 2000});
    TBitmap32 b(660, 400);
    DessinerDocument(*s, b);
    // 1000 m × 5 at 0.6 pixel per km: 3 pixels above row 37.
    EXPECT_EQ(b.pixel(600, 34), CouleurProfilDefaut);
    EXPECT_EQ(b.pixel(600, 36), clWhite32);
    const QString lecture = texteLecture(*s, true, ocMesure, QPoint(330, 34), 0, 0);
    EXPECT_TRUE(lecture.contains(QStringLiteral("altitude : 1000 m"))) << lecture.toStdString();
    EXPECT_TRUE(lecture.contains(QStringLiteral(" : X :500 km"))) << lecture.toStdString();
    // The focus at its true depth, darkened by it.
    EXPECT_EQ(b.pixel(330, 217), couleurProfondeur(CouleurSeismesDefaut, 300, 500));
    EXPECT_TRUE(texteLecture(*s, true, ocMesure, QPoint(330, 217), 0, 0).contains(QStringLiteral("profondeur : 300 km")));
    // The volcano on the relief.
    EXPECT_EQ(b.pixel(180, 37 - 6), CouleurVolcansDefaut);
    // The annotations' scale is the section's.
    EXPECT_DOUBLE_EQ(s->echelle, 0.6);
}

TEST(DessinerCoupe, ReliefFrameAboveWithSeaMarksAndTrueScaleReliefOverTheFoci)
{
    AvecRendu r;
    auto s = section(1000, true);
    s->profil[6].altitude = -2000;
    ajouterSeisme(*s, 500, 300000);
    TBitmap32 b(660, 400);
    DessinerDocument(*s, b);
    // The grey relief frame with its black outline (the section has foci).
    EXPECT_EQ(b.pixel(100, 60), GrisRelief);
    EXPECT_EQ(b.pixel(100, 74), clBlack32);
    // Exaggerated relief above, the sea surface over the sea floor.
    EXPECT_EQ(b.pixel(60, 34), CouleurProfilDefaut);
    EXPECT_EQ(b.pixel(390, 37), CouleurNiveauMerDefaut);
    const QString lecture = texteLecture(*s, true, ocMesure, QPoint(60, 34), 0, 0);
    EXPECT_TRUE(lecture.contains(QStringLiteral("altitude : 1000 m"))) << lecture.toStdString();
    // At true scale above the foci: 1000 m is 0.6 pixel, one row above row 90.
    EXPECT_EQ(b.pixel(60, 89), CouleurProfilDefaut);
    EXPECT_EQ(b.pixel(330, 90 + 180), couleurProfondeur(CouleurSeismesDefaut, 300, 500));
}

TEST(DessinerCoupe, CrustColouringBetweenTheSurfaceAndItsLevel)
{
    AvecRendu r;
    auto s = section(1000, true);
    ZoneCroute z;
    z.couleur = 0xFFCC0000;
    z.style = 1;
    z.debut = 200;
    z.fin = 800;
    z.niveau = -1000; // row 37 + 3 = 40
    s->zones_croute.push_back(z);
    TBitmap32 b(660, 400);
    DessinerDocument(*s, b);
    EXPECT_EQ(b.pixel(330, 37), 0xFFCC0000u);
    EXPECT_EQ(b.pixel(330, 40), 0xFFCC0000u);
    EXPECT_EQ(b.pixel(330, 42), GrisRelief);
    EXPECT_EQ(b.pixel(330, 30), GrisRelief); // above the surface
    EXPECT_EQ(b.pixel(100, 38), GrisRelief); // before its start
    // Hidden colourings are not drawn, nor without the relief frame.
    s->zones_visibles = false;
    DessinerDocument(*s, b);
    EXPECT_EQ(b.pixel(330, 38), GrisRelief);
    s->zones_visibles = true;
    s->relief_au_dessus = false;
    DessinerDocument(*s, b);
    EXPECT_EQ(b.pixel(330, 38), clWhite32);
}

TEST(DessinerCoupe, ImposedLayoutIsKeptAndSuperposedReliefFrameShowsThrough)
{
    AvecRendu r;
    auto s = section(1000, true);
    s->mise_en_page = 0;
    s->echelle = 0.4;
    s->hauteur_relief = 75;
    s->ligne_zero_profondeur = 90;
    s->ligne_niveau_mer = 37;
    s->couleur_fond = 0;
    TBitmap32 b(660, 400);
    DessinerDocument(*s, b);
    EXPECT_DOUBLE_EQ(s->echelle, 0.4);
    // The profile ends at 1000 km × 0.4 + 30.
    EXPECT_EQ(b.pixel(429, 37 - 2), CouleurProfilDefaut);
    EXPECT_EQ(alphaOf(b.pixel(500, 35)), 0u);
    // A transparent section's relief frame lets the one under it show.
    EXPECT_EQ(alphaOf(b.pixel(100, 60)), 0u);
}
