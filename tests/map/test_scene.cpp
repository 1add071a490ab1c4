// The map's scene without a window: layers drawn from the data object, shown or
// not, and the whole map or any part of it rendered at any size, with any layers,
// over any base picture.
#include "data/data_test_util.h"
#include "map/scene.h"

#include <gtest/gtest.h>

namespace {

TBitmap32 motif(int w, int h, TColor32 base)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, base | static_cast<TColor32>((x * 7 + y * 3) & 0xFF));
    return b;
}

class Scene : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        scene.installerFond(motif(360, 180, 0xFF204000));
        TSeisme s;
        s.Longitude = 10;
        s.Latitude = 10;
        s.Magnitude = 5;
        TabSeismes = {s};
        SeismesCharges = true;
    }
    TScene scene{donnees};
};

} // namespace

TEST_F(Scene, RendersAnyPartAtAnySizeWithTheChosenLayersAndBase)
{
    scene.afficher(Calque::Seismes, true);
    const TColor32 rouge = scene.Reglages.CouleurSeismes;
    ASSERT_EQ(scene.calque(Calque::Seismes)->bitmap.pixel(190, 80), rouge);

    // The whole map at its own size: the base with the earthquake over it.
    TBitmap32 b = scene.rendre(QRect(0, 0, 360, 180), QSize(360, 180));
    EXPECT_EQ(b.pixel(190, 80), rouge);
    EXPECT_EQ(b.pixel(10, 10), scene.fond().pixel(10, 10));

    // A part, enlarged twice: each map pixel becomes a 2 x 2 block.
    b = scene.rendre(QRect(180, 60, 40, 30), QSize(80, 60));
    EXPECT_EQ(b.pixel(20, 40), rouge);
    EXPECT_EQ(b.pixel(21, 41), rouge);
    EXPECT_EQ(b.pixel(0, 0), scene.fond().pixel(180, 60));
    EXPECT_EQ(b.pixel(79, 59), scene.fond().pixel(219, 89));

    // Half size: one map pixel in two.
    b = scene.rendre(QRect(0, 0, 360, 180), QSize(180, 90));
    EXPECT_EQ(b.pixel(0, 0), scene.fond().pixel(1, 1));

    // Without the earthquakes, over another base of the map's size.
    const TBitmap32 gris = motif(360, 180, 0xFF808000);
    OptionsRendu o;
    o.calques = 0;
    o.fond = &gris;
    b = scene.rendre(QRect(0, 0, 360, 180), QSize(360, 180), o);
    EXPECT_EQ(b.pixel(190, 80), gris.pixel(190, 80));
    // A hidden layer rendered on request.
    scene.afficher(Calque::Seismes, false);
    o.calques = bitCalque(Calque::Seismes);
    o.fond = nullptr;
    b = scene.rendre(QRect(0, 0, 360, 180), QSize(360, 180), o);
    EXPECT_EQ(b.pixel(190, 80), rouge);
    EXPECT_EQ(scene.rendre(QRect(0, 0, 360, 180), QSize(360, 180)).pixel(190, 80), scene.fond().pixel(190, 80));
}

TEST_F(Scene, LayersFollowTheStoresOnceEvenWhenDeferred)
{
    std::vector<QRect> repeints;
    scene.aRepeindre = [&repeints](const QRect& r) { repeints.push_back(r); };
    scene.afficher(Calque::Seismes, true);
    TSeisme autre;
    autre.Longitude = -100;
    autre.Latitude = 45;
    autre.Magnitude = 6;
    {
        const TScene::Differe differe(scene);
        TabSeismes = {autre};
        donnees.annoncer(TDonnees::Seismes);
        EXPECT_EQ(scene.calque(Calque::Seismes)->bitmap.pixel(80, 45), clTransparentWhite32)
            << "nothing drawn while deferred";
        repeints.clear();
    }
    EXPECT_EQ(scene.calque(Calque::Seismes)->bitmap.pixel(80, 45), scene.Reglages.CouleurSeismes);
    EXPECT_FALSE(repeints.empty());

    // A shift rolls the base and the layer by its pixels.
    const TBitmap32 fond = scene.fond();
    scene.decaler(90);
    EXPECT_EQ(scene.fond().pixel(90, 7), fond.pixel(0, 7));
    EXPECT_EQ(scene.calque(Calque::Seismes)->bitmap.pixel(170, 45), scene.Reglages.CouleurSeismes);
    scene.decaler(0);
    EXPECT_EQ(scene.fond(), fond);
}
