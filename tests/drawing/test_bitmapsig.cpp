// Picture panels: rendering of each kind, copies, annotations, the shape filler.
#include "drawing/bitmapsig.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TDessin> Rect(float x1, float y1, float x2, float y2, TColor32 c)
{
    auto d = std::make_unique<TDessin>();
    d->Nature = ndRectangle;
    d->X1 = x1;
    d->Y1 = y1;
    d->X2 = x2;
    d->Y2 = y2;
    d->Couleur = c;
    return d;
}

// Removes any kind-1 renderer installed by a test.
struct SansRenduCoupe {
    ~SansRenduCoupe() { DefinirRenduCoupe({}); }
};

} // namespace

TEST(TBitmapSIG, Defaults)
{
    TBitmapSIG p;
    EXPECT_EQ(p.Nature, 0);
    EXPECT_EQ(p.marge_gauche + p.marge_haut + p.marge_bas + p.marge_droite, 20);
    EXPECT_TRUE(p.points_epais);
    EXPECT_TRUE(p.cadre);
    EXPECT_EQ(p.couleur_cadre, 0xFF7F7F7Fu);
    EXPECT_EQ(p.couleur_fond, 0u);
    EXPECT_EQ(p.hauteur_relief, 110);
    EXPECT_EQ(p.mise_en_page, -1);
    EXPECT_FALSE(p.zones_visibles);
    EXPECT_FALSE(p.image);
}

TEST(TBitmapSIG, NewLegendPanelIsTransparentWithAGreyBorder)
{
    TBitmapSIG p;
    p.Nature = nbLegende;
    TBitmap32 t(30, 20, 0xFF123456);
    DessinerDocument(p, t);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool bord = x == 0 || y == 0 || x == 29 || y == 19;
            ASSERT_EQ(t.pixel(x, y), bord ? 0xFF7F7F7Fu : 0u) << x << "," << y;
        }
    p.cadre = false;
    DessinerDocument(p, t);
    EXPECT_EQ(t, TBitmap32(30, 20, 0));
}

TEST(TBitmapSIG, ImageStretchedLeavesLastRowAndColumn)
{
    auto img = std::make_shared<TBitmap32>(10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            img->setPixel(x, y, color32(x * 20, y * 30, 100));
    TBitmapSIG p;
    p.Nature = nbImage;
    p.image = img;
    p.cadre = false;
    p.couleur_fond = 0x80FFFFFF; // half opacity
    TBitmap32 t(20, 16);
    DessinerDocument(p, t);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(t.pixel(2 * x, 2 * y), img->pixel(x, y)) << x << "," << y;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(t.pixel(i, 15), 0x80FFFFFFu);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(t.pixel(19, i), 0x80FFFFFFu);

    // A see-through image pixel shows the half-opaque white background.
    img->setPixel(0, 0, 0x00000000);
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(0, 0), 0x80FFFFFFu);

    // With the border, the last row and column are the border.
    p.cadre = true;
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(19, 7), 0xFF7F7F7Fu);
    EXPECT_EQ(t.pixel(7, 15), 0xFF7F7F7Fu);
    EXPECT_EQ(t.pixel(4, 4), img->pixel(2, 2));

    // No image: background only.
    p.image.reset();
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(5, 5), 0x80FFFFFFu);
}

TEST(TBitmapSIG, FrameKindDrawsABlackRectangleAtTheMargins)
{
    TBitmapSIG p;
    p.Nature = nbCadre;
    p.cadre = false;
    p.marge_gauche = 2;
    p.marge_haut = 3;
    p.marge_droite = 4;
    p.marge_bas = 5;
    TBitmap32 t(30, 30);
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(2, 3), 0xFF000000u);
    EXPECT_EQ(t.pixel(25, 24), 0xFF000000u);
    EXPECT_EQ(t.pixel(15, 3), 0xFF000000u);
    EXPECT_EQ(t.pixel(2, 15), 0xFF000000u);
    EXPECT_EQ(t.pixel(15, 15), 0u);
    EXPECT_EQ(t.pixel(26, 25), 0u);
    EXPECT_EQ(t.pixel(1, 2), 0u);
}

TEST(TBitmapSIG, AnnotationsUseMarginOriginAndScale)
{
    TBitmapSIG p;
    p.Nature = nbLegende;
    p.cadre = false;
    p.marge_gauche = 10;
    p.ligne_zero_profondeur = 20;
    p.echelle = 2.0;
    p.AjouterDessin(Rect(0, 0, 5, 5, 0xFFFF0000), QStringLiteral("Rectangle 1"));
    TBitmap32 t(40, 40);
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(10, 20), 0xFFFF0000u);
    EXPECT_EQ(t.pixel(20, 30), 0xFFFF0000u);
    EXPECT_EQ(t.pixel(9, 20), 0u);
}

TEST(TBitmapSIG, SectionsDrawThroughTheRegisteredRenderer)
{
    SansRenduCoupe nettoyage;
    TBitmapSIG p;
    p.Nature = nbCoupe;
    p.couleur_fond = 0xFFFFFFFF;
    p.AjouterDessin(Rect(1, 1, 3, 3, 0xFF0000FF), QStringLiteral("Rectangle 1"));
    p.echelle = 1;
    TBitmap32 t(20, 20);
    // Without a renderer: background, border and annotations only.
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(t.pixel(0, 10), 0xFF7F7F7Fu);
    EXPECT_EQ(t.pixel(6, 1), 0xFF0000FFu);

    int appels = 0;
    DefinirRenduCoupe([&](TBitmapSIG& s, TBitmap32& b) {
        ++appels;
        EXPECT_EQ(&s, &p);
        EXPECT_EQ(b.pixel(0, 0), 0xFF7F7F7Fu); // after the border
        b.fillRect(QRect(5, 0, 10, 20), 0xFF00FF00);
    });
    DessinerDocument(p, t);
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(t.pixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(t.pixel(6, 1), 0xFF0000FFu); // annotations come last
}

TEST(TBitmapSIG, CopiesAreIndependentButShareTheImage)
{
    TBitmapSIG src;
    src.Nature = nbCoupe;
    src.nom = QStringLiteral("Andes");
    src.index = 5;
    src.echelle = 0.75;
    src.exageration = 10;
    src.zones_visibles = true;
    src.profil = {{0.0, -4000}, {18.5185, 1200}};
    src.seismes = {{3.0, 33000}};
    src.volcans = {{9.0, 5800}};
    src.zones_croute = {{0xFF808000, 5, 1.0, 2.0, -3000}};
    src.image = std::make_shared<TBitmap32>(4, 4, 0xFF000000);
    for (int i = 0; i < 3; ++i)
        src.AjouterDessin(Rect(i, i, i + 5, i + 5, 0xFF000000), QStringLiteral("Rectangle %1").arg(i + 1));

    TBitmapSIG c;
    c.AjouterDessin(Rect(0, 0, 1, 1, 0xFF000000), QStringLiteral("ancien"));
    c.CopierDe(&src);
    EXPECT_EQ(c.Nature, nbCoupe);
    EXPECT_EQ(c.nom, QStringLiteral("Andes"));
    EXPECT_EQ(c.index, 5);
    EXPECT_DOUBLE_EQ(c.echelle, 0.75);
    EXPECT_EQ(c.exageration, 10);
    EXPECT_TRUE(c.zones_visibles);
    ASSERT_EQ(c.profil.size(), 2u);
    EXPECT_EQ(c.profil[1].altitude, 1200);
    EXPECT_EQ(c.seismes[0].valeur, 33000);
    EXPECT_EQ(c.volcans[0].valeur, 5800);
    EXPECT_EQ(c.zones_croute[0].niveau, -3000);
    EXPECT_EQ(c.zones_croute[0].style, 5);
    EXPECT_EQ(c.image, src.image);
    ASSERT_EQ(c.dessins.size(), 3u);
    ASSERT_EQ(c.noms_dessins.size(), 3u);
    EXPECT_EQ(c.noms_dessins[2], QStringLiteral("Rectangle 3"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(c.dessins[i].get(), src.dessins[i].get());
        EXPECT_FLOAT_EQ(c.dessins[i]->X1, float(i));
    }

    // Releasing the source's annotations leaves the copy's intact.
    src.ViderDessins();
    src.profil.clear();
    ASSERT_EQ(c.dessins.size(), 3u);
    EXPECT_FLOAT_EQ(c.dessins[2]->X2, 7.0f);
    EXPECT_EQ(c.profil.size(), 2u);

    // A missing source changes nothing.
    c.CopierDe(nullptr);
    EXPECT_EQ(c.dessins.size(), 3u);
}

TEST(TBitmapSIG, AnnotationNamesAreCutToTwentyCharacters)
{
    TBitmapSIG p;
    p.AjouterDessin(Rect(0, 0, 1, 1, 0xFF000000), QStringLiteral("Un nom bien trop long pour la liste"));
    EXPECT_EQ(p.noms_dessins[0], QStringLiteral("Un nom bien trop lon"));
    EXPECT_TRUE(p.SupprimerDessin(0));
    EXPECT_FALSE(p.SupprimerDessin(0));
    EXPECT_TRUE(p.noms_dessins.empty());
}

TEST(TBitmapSIG, EmptySlotTruncatesTheAnnotations)
{
    TBitmapSIG p;
    p.Nature = nbLegende;
    p.cadre = false;
    p.echelle = 1;
    p.marge_gauche = 0;
    const TColor32 couleurs[5] = {0xFFFF0000, 0xFF00FF00, 0, 0xFF0000FF, 0xFF000000};
    for (int i = 0; i < 5; ++i)
        p.AjouterDessin(Rect(i * 6, 0, i * 6 + 4, 4, couleurs[i]), QStringLiteral("R%1").arg(i));
    p.dessins[2].reset();
    TBitmap32 t(40, 10);
    DessinerDocument(p, t);
    EXPECT_EQ(t.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(t.pixel(6, 0), 0xFF00FF00u);
    EXPECT_EQ(t.pixel(18, 0), 0u);
    EXPECT_EQ(t.pixel(24, 0), 0u);
    EXPECT_EQ(p.dessins.size(), 2u);
    EXPECT_EQ(p.noms_dessins.size(), 2u);

    // A copy of a picture with an empty slot stops there as well.
    p.AjouterDessin(nullptr, QStringLiteral("vide"));
    p.AjouterDessin(Rect(0, 0, 1, 1, 0xFF000000), QStringLiteral("après"));
    TBitmapSIG c;
    c.CopierDe(&p);
    EXPECT_EQ(c.dessins.size(), 2u);
}

TEST(RemplirForme, FillsOnlyUntouchedPixelsAndBlends)
{
    TBitmap32 b(20, 20);
    for (int i = 0; i < 20; ++i) {
        b.setPixel(i, 10, 0xFF000000);        // a drawn line
        b.setPixel(15, i, 0x00000000);        // transparent but not untouched
    }
    RemplirForme(2, 2, 0xFF00FF00, b, rmHorizontales);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(b.pixel(x, y), y % 5 == 0 ? 0xFF00FF00u : 0x0100FF00u) << x << "," << y;
    EXPECT_EQ(b.pixel(16, 2), clTransparentWhite32);
    EXPECT_EQ(b.pixel(15, 2), 0u);
    EXPECT_EQ(b.pixel(5, 15), clTransparentWhite32);

    // Seeded on a touched pixel or outside: nothing changes.
    const TBitmap32 avant = b;
    RemplirForme(15, 15, 0xFF00FF00, b, rmPlein);
    RemplirForme(3, 10, 0xFF00FF00, b, rmPlein);
    RemplirForme(30, 3, 0xFF00FF00, b, rmPlein);
    EXPECT_EQ(b, avant);

    // Transparent ink must not make the flood cycle.
    TBitmap32 c(50, 30);
    RemplirForme(0, 0, 0x00FF00FF, c, rmPlein);
    EXPECT_EQ(c.pixel(49, 29), clTransparentWhite32);
}
