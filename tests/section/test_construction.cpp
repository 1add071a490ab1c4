// Building a section from a line on the map: the number of intervals, the band,
// the projected earthquakes and volcanoes, the sampled relief, and the lines
// across the map's side.
#include "coupe_test_util.h"

#include "map/grandcercle.h"
#include "map/lecture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace coupe;

namespace {

CarteCoupe carte3600(const TGrilleAltitude* g, int decalage = 0)
{
    CarteCoupe c;
    c.W = 3600;
    c.H = 1800;
    c.decalage = decalage;
    c.grille = g;
    return c;
}

struct Coupe {
    TBitmapSIG s;
    ResultatCoupe r;
};

std::unique_ptr<Coupe> construire(QPoint a, QPoint b, double demiLargeur, const CarteCoupe& c)
{
    auto k = std::make_unique<Coupe>();
    k->s.Nature = nbCoupe;
    k->r = ConstruireCoupe(k->s, ligneDepuisPixels(a, b, c), demiLargeur, c);
    return k;
}

std::vector<int> altitudes(const TBitmapSIG& s)
{
    std::vector<int> a;
    for (const PointProfil& p : s.profil)
        a.push_back(p.altitude);
    return a;
}

std::vector<double> distances(const std::vector<PointProjete>& v)
{
    std::vector<double> d;
    for (const PointProjete& p : v)
        d.push_back(double(p.distance)); // a copy: the packed member may be misaligned
    return d;
}

} // namespace

TEST(NombreIntervalles, BothHemispheresAndTheEquator)
{
    // Along 30° N from 10° W to 10° E: 120 steps of longitude shrunk by cos 30°.
    EXPECT_EQ(NombreIntervalles({180, 180, -60, 60}, 6), 104);
    // The same in the southern hemisphere.
    EXPECT_EQ(NombreIntervalles({-180, -180, -60, 60}, 6), 104);
    // Across the equator: two legs, each shrunk at its own middle latitude
    // (10° S to 20° N over 30° of longitude).
    EXPECT_EQ(NombreIntervalles({-60, 120, 0, 180}, 6), 253);
    // One end on the equator: only the other leg counts.
    EXPECT_EQ(NombreIntervalles({0, 60, 0, 60}, 6), 85);
    // Both ends on the equator: the longitude span, whatever the order.
    EXPECT_EQ(NombreIntervalles({0, 0, 0, 120}, 6), 120);
    EXPECT_EQ(NombreIntervalles({0, 0, 120, 0}, 6), 120);
    // A north-south line counts its latitude span.
    EXPECT_EQ(NombreIntervalles({-60, 180, 120, 120}, 6), 240);
}

TEST(ConstruireCoupe, TenDegreesEitherSideOfGreenwichAlongThirtyNorth)
{
    const CarteCoupe c = carte3600(&grilleColonnes());
    auto k = construire(pixelCarte(-10, 30), pixelCarte(10, 30), 3, c);
    EXPECT_EQ(k->r.N, 104);
    ASSERT_EQ(k->s.profil.size(), 105u);
    EXPECT_NEAR(k->s.profil[1].distance, 18.5185, 1e-9);
    EXPECT_NEAR(k->s.profil.back().distance, 1925.924, 1e-3);
    // Sampled from the west end to the east end, column by column of the grid.
    EXPECT_EQ(k->s.profil.front().altitude, -60);
    EXPECT_EQ(k->s.profil.back().altitude, 60);
    for (std::size_t i = 1; i < k->s.profil.size(); ++i)
        EXPECT_GE(k->s.profil[i].altitude, k->s.profil[i - 1].altitude);
    EXPECT_DOUBLE_EQ(k->r.bande.angle, 0.0);
}

TEST(ConstruireCoupe, EastToWestEqualsWestToEast)
{
    CarteCoupe c = carte3600(&grilleColonnes());
    const std::vector<TSeisme> seismes = {seisme(-5, 31, 10, 5), seisme(4, 28.5, 300, 6), seisme(0, 40, 10, 7)};
    // On the line from (10° W, 32° N) to (10° E, 27° N) and 0.8° off it.
    const std::vector<TVolcan> volcans = {volcan(2, 29.0, 1500), volcan(-8, 30.7, 800)};
    c.seismes = &seismes;
    c.volcans = &volcans;
    const QPoint ouest = pixelCarte(-10, 32), est = pixelCarte(10, 27);
    auto a = construire(ouest, est, 3, c);
    auto b = construire(est, ouest, 3, c);
    EXPECT_EQ(a->r.N, b->r.N);
    EXPECT_EQ(altitudes(a->s), altitudes(b->s));
    EXPECT_EQ(distances(a->s.seismes), distances(b->s.seismes));
    EXPECT_EQ(distances(a->s.volcans), distances(b->s.volcans));
    ASSERT_EQ(a->s.seismes.size(), 2u);
    EXPECT_EQ(a->s.seismes[1].valeur, 300000);
    EXPECT_FLOAT_EQ(a->s.magnitudes_seismes[1], 6.0f);
    ASSERT_EQ(a->s.volcans.size(), 2u);
    EXPECT_EQ(a->s.volcans[0].valeur, 1500);
}

TEST(ConstruireCoupe, NorthSouthLineStartsInTheSouth)
{
    // The grid gives each node its row index: the profile tells which end came first.
    static const auto lignes = grilleMotif([](int j, int) { return j; });
    CarteCoupe c = carte3600(lignes.get());
    const std::vector<TSeisme> seismes = {seisme(21.9, 0, 50, 5), seisme(22.1, 0, 50, 5), seisme(18.2, -9, 80, 5)};
    c.seismes = &seismes;
    // Drawn from north to south.
    auto k = construire(pixelCarte(20, 30), pixelCarte(20, -10), 2, c);
    EXPECT_DOUBLE_EQ(k->r.bande.angle, M_PI / 2);
    EXPECT_EQ(k->s.profil.front().altitude, -60);
    EXPECT_EQ(k->s.profil.back().altitude, 180);
    // The band is 2° of longitude on each side; distances grow northwards.
    ASSERT_EQ(k->s.seismes.size(), 2u);
    EXPECT_NEAR(k->s.seismes[0].distance, 10.0 / 40 * k->r.N * 18.5185, 1e-6);
    EXPECT_NEAR(k->s.seismes[1].distance, 1.0 / 40 * k->r.N * 18.5185, 1e-3);
}

TEST(ProjeterPoints, MagnitudeRuleAndTheVolcanoes)
{
    CarteCoupe c = carte3600(nullptr);
    c.magnitudeMini = 3;
    const std::vector<TSeisme> seismes = {seisme(0, 30, 10, 3.0), seisme(1, 30, 20, 3.1), seisme(0, 35.9, 30, 4),
                                          seisme(0, 36.1, 30, 4), seisme(0, 30, 35.4, 5)};
    const std::vector<TVolcan> volcans = {volcan(0, 31.5, 2000), volcan(0, 28.5, 2000), volcan(5, 30.9, 1234.6),
                                          volcan(11, 30, 100)};
    c.seismes = &seismes;
    c.volcans = &volcans;
    // A 12° band: six degrees on each side of the line.
    auto k = construire(pixelCarte(-10, 30), pixelCarte(10, 30), 6, c);
    // A magnitude equal to the minimum is left out; the band keeps 35.9° N, not 36.1° N.
    ASSERT_EQ(k->s.seismes.size(), 3u);
    EXPECT_EQ(k->s.seismes[0].valeur, 20000);
    EXPECT_EQ(k->s.seismes[1].valeur, 30000);
    EXPECT_EQ(k->s.seismes[2].valeur, 35400);
    // Half way along the line.
    EXPECT_NEAR(k->s.seismes[1].distance, k->s.profil.back().distance / 2, 1e-9);
    // Volcanoes: within 1° of the line only, whatever the band; beyond an end, none.
    ASSERT_EQ(k->s.volcans.size(), 1u);
    EXPECT_EQ(k->s.volcans[0].valeur, 1235);
    EXPECT_NEAR(k->s.volcans[0].distance, 15.0 / 20 * k->s.profil.back().distance, 1e-9);

    // Hidden layers project nothing; no grid reads 0 m everywhere.
    c.seismes = nullptr;
    c.volcans = nullptr;
    auto vide = construire(pixelCarte(-10, 30), pixelCarte(10, 30), 6, c);
    EXPECT_TRUE(vide->s.seismes.empty());
    EXPECT_TRUE(vide->s.volcans.empty());
    EXPECT_EQ(vide->s.profil[50].altitude, 0);
}

TEST(ConstruireCoupe, ShiftedMapLineAcrossTheDateLineIsTwentyDegrees)
{
    const CarteCoupe decalee = carte3600(&grilleColonnes(), 180);
    // On the map shifted by 180° the date line is in the middle.
    const LigneCoupe l = ligneDepuisPixels(pixelCarte(170, 10, 180), pixelCarte(-170, 10, 180), decalee);
    EXPECT_EQ(l.bornes.Lon1, 170 * 6);
    EXPECT_EQ(l.bornes.Lon2 - l.bornes.Lon1, 120);
    EXPECT_EQ(NombreIntervalles(l.bornes, 6), 118);
}

// The same line from 170° E to 170° W on the unshifted map is read as crossing the
// date line: it must be sampled there too, not along the straight segment across
// the whole picture.
TEST(ConstruireCoupe, LineAcrossTheMapSideEqualsTheSameLineOnTheShiftedMap)
{
    CarteCoupe droite = carte3600(&grilleColonnes(), 0);
    CarteCoupe decalee = carte3600(&grilleColonnes(), 180);
    const std::vector<TSeisme> seismes = {seisme(179, 10, 100, 6), seisme(-175, 11, 200, 6), seisme(0, 10, 10, 6),
                                          seisme(100, 10, 10, 6)};
    const std::vector<TVolcan> volcans = {volcan(-178, 11.3, 900), volcan(10, 10, 900)};
    for (CarteCoupe* c : {&droite, &decalee}) {
        c->seismes = &seismes;
        c->volcans = &volcans;
    }
    auto a = construire(pixelCarte(170, 10, 0), pixelCarte(-170, 12, 0), 2, droite);
    auto b = construire(pixelCarte(170, 10, 180), pixelCarte(-170, 12, 180), 2, decalee);
    EXPECT_EQ(a->r.N, b->r.N);
    EXPECT_EQ(a->r.N, 118);
    EXPECT_EQ(altitudes(a->s), altitudes(b->s));
    EXPECT_EQ(distances(a->s.seismes), distances(b->s.seismes));
    EXPECT_EQ(distances(a->s.volcans), distances(b->s.volcans));
    // Every sample lies between 170° E and 170° W, through the date line.
    for (int alt : altitudes(a->s))
        EXPECT_TRUE(alt >= 1020 || alt <= -1020) << alt;
    EXPECT_EQ(a->s.profil.front().altitude, 1020);
    EXPECT_EQ(a->s.profil.back().altitude, -1020);
    // Only the two earthquakes near the date line, the volcano near it.
    ASSERT_EQ(a->s.seismes.size(), 2u);
    EXPECT_NEAR(a->s.seismes[0].distance, 9.0 / 20 * a->s.profil.back().distance, 0.05 * a->s.profil.back().distance);
    ASSERT_EQ(a->s.volcans.size(), 1u);
    // Drawn the other way it is the same section.
    auto c = construire(pixelCarte(-170, 12, 0), pixelCarte(170, 10, 0), 2, droite);
    EXPECT_EQ(altitudes(c->s), altitudes(a->s));
}

TEST(LigneCoupe, OrdersTheEndsAsTheSectionModeDoes)
{
    const CarteCoupe c = carte3600(nullptr);
    for (const auto& [a, b] : std::vector<std::pair<QPoint, QPoint>>{{pixelCarte(20, 10), pixelCarte(-30, 40)},
                                                                     {pixelCarte(-100, 5), pixelCarte(100, -5)},
                                                                     {pixelCarte(150, 5), pixelCarte(-120, -5)},
                                                                     {pixelCarte(-60, 5), pixelCarte(170, -5)}}) {
        const LigneCoupe l = ligneDepuisPixels(a, b, c);
        const carte::IndicesGrille ia = carte::indicesGrille(a.x(), a.y(), 3600, 1800, 0, 6);
        const carte::IndicesGrille ib = carte::indicesGrille(b.x(), b.y(), 3600, 1800, 0, 6);
        const carte::BornesSelection o = carte::ordonnerBornesCoupe({ia.ligne, ib.ligne, ia.colonne, ib.colonne}, 6);
        EXPECT_EQ(l.bornes.Lat1, o.Lat1);
        EXPECT_EQ(l.bornes.Lat2, o.Lat2);
        EXPECT_EQ(l.bornes.Lon1, o.Lon1);
        EXPECT_EQ(l.bornes.Lon2, o.Lon2);
        // The east end's pixel lies east of the west end's, a map width away when
        // the line crosses the side.
        EXPECT_NEAR(l.fin.x() - l.debut.x(), (o.Lon2 - o.Lon1) / 6.0 * 10, 2);
    }
}

TEST(TracerBande, KeptSectionAcrossTheSideIsDrawnOnBothSides)
{
    TBitmap32 calque(3600, 1800);
    carte::TCoupeGardee g;
    g.Lat1 = 10;
    g.Lon1 = 170;
    g.Lat2 = 10;
    g.Lon2 = -170;
    g.DemiLargeur = 2;
    const QRect r = TracerCoupeConservee(g, calque, 0xFFFFFFFF, 0xFF000000, 0);
    auto touche = [&](int x0, int x1, int y) {
        for (int x = x0; x <= x1; ++x)
            if (calque.pixel(x, y) != clTransparentWhite32)
                return true;
        return false;
    };
    const int centre = pixelCarte(0, 10).y();
    // The centre line from 170° E to the side and from the other side to 170° W...
    EXPECT_TRUE(touche(3550, 3599, centre));
    EXPECT_TRUE(touche(0, 50, centre));
    // ... and nothing across the rest of the map.
    EXPECT_FALSE(touche(200, 3400, centre));
    EXPECT_FALSE(touche(200, 3400, pixelCarte(0, 12).y()));
    EXPECT_TRUE(touche(3550, 3599, pixelCarte(0, 12).y()));
    EXPECT_EQ(r.left(), 0);
    EXPECT_EQ(r.right(), 3599);

    // On the shifted map the same kept section lies in the middle.
    TBitmap32 decale(3600, 1800);
    TracerCoupeConservee(g, decale, 0xFFFFFFFF, 0xFF000000, 180);
    EXPECT_NE(decale.pixel(1800, centre), clTransparentWhite32);
    EXPECT_EQ(decale.pixel(100, centre), clTransparentWhite32);
    // The band's long sides are W degrees from the line.
    EXPECT_NE(decale.pixel(1800, pixelCarte(0, 12).y()), clTransparentWhite32);
    EXPECT_NE(decale.pixel(1800, pixelCarte(0, 8).y()), clTransparentWhite32);
    EXPECT_EQ(decale.pixel(1800, pixelCarte(0, 11).y()), clTransparentWhite32);
}

TEST(AltitudeAuPoint, NearestNodeWrappedAndOffTheGrid)
{
    static const auto g = grilleMotif([](int j, int k) { return j * 3 + (k % 3); });
    const CarteCoupe c = carte3600(g.get());
    // 45° N, 0°: row 270, column 0.
    EXPECT_EQ(AltitudeAuPoint(c, 1800, 450), 810);
    // A pixel a whole map width to the east reads the same place.
    EXPECT_EQ(AltitudeAuPoint(c, 1800 + 3600, 450), 810);
    EXPECT_EQ(AltitudeAuPoint(c, 1800 - 3600, 450), 810);
    // Beyond a pole: 0 m.
    EXPECT_EQ(AltitudeAuPoint(c, 1800, -20), 0);
    EXPECT_EQ(AltitudeAuPoint(carte3600(nullptr), 1800, 450), 0);
    // The shift moves the map under the pixels, not the grid.
    const CarteCoupe decalee = carte3600(g.get(), 90);
    EXPECT_EQ(AltitudeAuPoint(decalee, 1800 + 900, 450), 810);
}
