// The view around a pole: where points fall in the two discs and back, the
// picture of the discs from a base map, the reference circle, the overlays drawn
// through the projection, and the unrolled view.
#include "map/projection.h"
#include "projections/mercator.h"
#include "projections/polaire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using polaire::TProjectionPolaire;

namespace {

constexpr double kRad = M_PI / 180;

// A base map whose every pixel tells where it is: 0xFF, then row (12 bits) and
// column (12 bits).
TBitmap32 fondRepere(int W, int H)
{
    TBitmap32 b(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            b.setPixel(x, y, 0xFF000000u | static_cast<TColor32>(y) << 12 | static_cast<TColor32>(x));
    return b;
}
int colonneDe(TColor32 c) { return static_cast<int>(c & 0xFFF); }
int ligneDe(TColor32 c) { return static_cast<int>((c >> 12) & 0xFFF); }

// The base pixel nearest to a point, by the map's transform.
carte::PointCarte pixelFond(double lon, double lat, int W, int H, int decalage)
{
    carte::PointCarte p = carte::geoVersCarte(lon, lat, W, H, decalage);
    p.x = ((p.x % W) + W) % W;
    p.y = std::clamp(p.y, 0, H - 1);
    return p;
}

bool dansDisque(const TProjectionPolaire& p, int x, int y, int disque)
{
    const double dx = x - p.centreX(disque), dy = y - p.rayon();
    return dx * dx + dy * dy <= static_cast<double>(p.rayon()) * p.rayon();
}

bool surEtoile(const TProjectionPolaire& p, int x, int y)
{
    for (int d = 1; d <= 2; ++d)
        if (std::abs(x - p.centreX(d)) <= 5 && std::abs(y - p.rayon()) <= 5 && !(x == p.centreX(d) && y == p.rayon()))
            return true;
    return false;
}

int distanceColonnes(int a, int b, int W)
{
    const int d = std::abs(a - b) % W;
    return std::min(d, W - d);
}

} // namespace

TEST(VuePolaire, NorthAndSouthPoleViewsPutTheHemispheresInTheirDiscs)
{
    const TProjectionPolaire nord(1800, 90, 0);
    EXPECT_EQ(nord.largeur(), 3600);
    EXPECT_EQ(nord.rayon(), 900);
    // (0°, 0°) at the right edge of disc 1, (0°, 90° E) at its top edge, longitudes
    // growing anticlockwise.
    EXPECT_EQ(nord.ProjeterPolaire(0, 0), (carte::PointCarte{1800, 900}));
    EXPECT_EQ(nord.ProjeterPolaire(90, 0), (carte::PointCarte{900, 0}));
    EXPECT_EQ(nord.ProjeterPolaire(180, 45), (carte::PointCarte{450, 900}));
    polaire::PointGeo g;
    ASSERT_TRUE(nord.PointPolaire(1800, 900, g));
    EXPECT_NEAR(g.latitude, 0, 1e-9);
    EXPECT_NEAR(g.longitude, 0, 1e-9);
    ASSERT_TRUE(nord.PointPolaire(900, 0, g));
    EXPECT_NEAR(g.latitude, 0, 1e-9);
    EXPECT_NEAR(g.longitude, 90, 1e-9);
    ASSERT_TRUE(nord.PointPolaire(900, 900, g));
    EXPECT_NEAR(g.latitude, 90, 1e-9);
    // The southern hemisphere in disc 2, centred on the South Pole and seen from
    // below it: the antipodes of disc 1 mirrored top to bottom, so that 0° is on the
    // left, 90° E at the top, 90° W at the bottom, longitudes growing clockwise.
    ASSERT_TRUE(nord.PointPolaire(2700, 900, g));
    EXPECT_NEAR(g.latitude, -90, 1e-9);
    EXPECT_GT(nord.ProjeterPolaire(0, -1).x, 1800);
    EXPECT_EQ(nord.ProjeterPolaire(90, -1e-9), (carte::PointCarte{2700, 0}));
    EXPECT_EQ(nord.ProjeterPolaire(-90, -1e-9), (carte::PointCarte{2700, 1800}));
    ASSERT_TRUE(nord.PointPolaire(2700, 1350, g));
    EXPECT_NEAR(g.latitude, -45, 1e-9);
    EXPECT_NEAR(g.longitude, -90, 1e-9) << "the antipode of the disc-1 point above, (45°, 90° E)";
    ASSERT_TRUE(nord.PointPolaire(2250, 900, g));
    EXPECT_NEAR(g.latitude, -45, 1e-9);
    EXPECT_NEAR(g.longitude, 0, 1e-9);
    // Outside both discs: no point.
    EXPECT_FALSE(nord.PointPolaire(10, 10, g));
    EXPECT_FALSE(nord.PointPolaire(3599, 0, g));

    const TProjectionPolaire sud(1800, -90, 0);
    EXPECT_LE(sud.ProjeterPolaire(0, -60).x, 1800) << "the southern hemisphere in disc 1";
    EXPECT_GT(sud.ProjeterPolaire(0, 60).x, 1800) << "the northern one in disc 2";
    ASSERT_TRUE(sud.PointPolaire(900, 900, g));
    EXPECT_NEAR(g.latitude, -90, 1e-9);
    ASSERT_TRUE(sud.PointPolaire(2700, 900, g));
    EXPECT_NEAR(g.latitude, 90, 1e-9);
    // Seen from below the South Pole, longitude 0 is on the left.
    EXPECT_EQ(sud.ProjeterPolaire(0, 0), (carte::PointCarte{0, 900}));
    EXPECT_EQ(sud.ProjeterPolaire(180, 0), (carte::PointCarte{1800, 900}));
    EXPECT_EQ(sud.ProjeterPolaire(90, -45), (carte::PointCarte{900, 450}));
}

TEST(VuePolaire, EveryPixelGivesBackItsPointWithinOnePixelsAngleInBothDiscs)
{
    std::mt19937 alea(2024);
    std::uniform_real_distribution<double> u(-1, 1), lon(-180, 180);
    const double poles[][2] = {{90, 0}, {-90, 0}, {50, -75}, {-33, 141}, {0, 180}, {12, -179}, {89, 45}};
    for (const auto& pole : poles) {
        const TProjectionPolaire p(1800, pole[0], pole[1]);
        const double angle = (M_PI / 2) / p.rayon();
        int disque2 = 0;
        for (int i = 0; i < 10000; ++i) {
            const double lat = std::asin(u(alea)) / kRad, lo = lon(alea);
            const carte::PointCarte px = p.ProjeterPolaire(lo, lat);
            // The discs are 2 Rd + 1 pixels across: with an even Hm their bottom and
            // outer edges are one pixel beyond the picture.
            ASSERT_GE(px.x, 0);
            ASSERT_LE(px.x, p.largeur());
            ASSERT_GE(px.y, 0);
            ASSERT_LE(px.y, p.hauteur());
            if (px.x > p.Hm())
                ++disque2;
            polaire::PointGeo g;
            if (!p.PointPolaire(px.x, px.y, g)) {
                // Rounded just outside its disc: only a point on the discs' edge, 90°
                // from the pole, may do so.
                const double d = carte::angleGrandCercle(lo, lat, p.longitudePole(), p.latitudePole());
                EXPECT_NEAR(d, M_PI / 2, angle) << lat << " " << lo;
                continue;
            }
            EXPECT_LE(carte::angleGrandCercle(lo, lat, g.longitude, g.latitude), angle)
                << "pole " << pole[0] << " " << pole[1] << ", point " << lat << " " << lo << " read back as "
                << g.latitude << " " << g.longitude;
        }
        EXPECT_NEAR(disque2, 5000, 300) << "half the sphere in each disc";
    }
}

TEST(VuePolaire, TheDiscsAreWholeAndShowTheNearestBasePixelWhateverTheThreads)
{
    const double poles[][2] = {{90, 0}, {-90, 0}, {50, -75}, {-20, 100}, {0, 180}};
    for (int W : {720, 721}) { // an odd width takes the general path
        const int H = 360;
        const TBitmap32 fond = fondRepere(W, H);
        for (const auto& pole : poles) {
            for (int decalage : {0, 35}) {
                // The map's base is rolled by its shift, as the scene keeps it.
                TBitmap32 source = fond;
                source.rollHorizontal(carte::roulementPixels(decalage, W));
                const TProjectionPolaire p(360, pole[0], pole[1]);
                TBitmap32 image, image3;
                polaire::construireImagePolaire(source, decalage, p, image, 1);
                polaire::construireImagePolaire(source, decalage, p, image3, 3);
                ASSERT_EQ(image.width(), 720);
                ASSERT_EQ(image.height(), 360);
                EXPECT_EQ(image, image3) << "the same picture with three threads";
                int exacts = 0, voisins = 0, autres = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        const TColor32 c = image.pixel(x, y);
                        const bool dedans = dansDisque(p, x, y, x > p.Hm() ? 2 : 1);
                        if (!dedans) {
                            ASSERT_EQ(c, 0u) << x << " " << y << ": transparent black outside the discs";
                            continue;
                        }
                        ASSERT_EQ(alphaOf(c), 255u) << x << " " << y << ": a hole inside a disc";
                        if (surEtoile(p, x, y))
                            continue;
                        polaire::PointGeo g;
                        ASSERT_TRUE(p.PointPolaire(x, y, g));
                        const carte::PointCarte attendu = pixelFond(g.longitude, g.latitude, W, H, decalage);
                        // The source is rolled: its pixel x holds the base column x − roll.
                        const int roule = carte::roulementPixels(decalage, W);
                        const int colonneLue = (((colonneDe(c) + roule) % W) + W) % W;
                        const int dc = distanceColonnes(colonneLue, attendu.x, W);
                        const int dl = std::abs(ligneDe(c) - attendu.y);
                        if (dc == 0 && dl == 0)
                            ++exacts;
                        else if (dc <= 1 && dl <= 1)
                            ++voisins;
                        else
                            ++autres;
                    }
                EXPECT_EQ(autres, 0) << "W " << W << " pole " << pole[0] << " " << pole[1];
                EXPECT_LE(voisins, exacts / 1000) << "a tie now and then, never more; W " << W << " pole " << pole[0]
                                                  << " " << pole[1] << " shift " << decalage;
            }
        }
    }
}

TEST(VuePolaire, TheCentresShowThePolesAndCarryTheStar)
{
    const TBitmap32 fond = fondRepere(720, 360);
    const TProjectionPolaire p(360, 90, 0);
    TBitmap32 image;
    polaire::construireImagePolaire(fond, 0, p, image);
    EXPECT_EQ(ligneDe(image.pixel(180, 180)), 0) << "the North Pole: the top row of the base";
    EXPECT_EQ(ligneDe(image.pixel(540, 180)), 359) << "the South Pole: the bottom row";
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        EXPECT_EQ(image.pixel(180 + carte::arrondi(5 * std::cos(a)), 180 - carte::arrondi(5 * std::sin(a))), clBlack32);
        EXPECT_EQ(image.pixel(540 + carte::arrondi(3 * std::cos(a)), 180 - carte::arrondi(3 * std::sin(a))), clBlack32);
    }
    EXPECT_NE(image.pixel(180 + 6, 180), clBlack32);
}

TEST(VuePolaire, TheReferenceCircleGoesToTheDiscOfItsRadiusAndNothingWrongIsDrawn)
{
    const int Hm = 400, Rd = 200;
    TBitmap32 calque;
    auto rougeA = [&](int cx, double r, int n) {
        int rouges = 0;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            const int x = carte::arrondi(cx + r * std::cos(a)), y = carte::arrondi(Rd - r * std::sin(a));
            rouges += calque.contains(x, y) && redOf(calque.pixel(x, y)) == 255 && alphaOf(calque.pixel(x, y)) > 0;
        }
        return rouges;
    };
    auto pixelsRouges = [&](int x0, int x1) {
        int n = 0;
        for (int y = 0; y < calque.height(); ++y)
            for (int x = x0; x < x1; ++x)
                n += alphaOf(calque.pixel(x, y)) > 0;
        return n;
    };
    // Within 90° of the pole: about the centre of disc 1.
    ASSERT_TRUE(polaire::dessinerCercleRepere(calque, Hm, 120, 1.0));
    EXPECT_EQ(calque.width(), 2 * Hm);
    EXPECT_EQ(rougeA(Rd, 120, 360), 360);
    EXPECT_EQ(pixelsRouges(Hm + 1, 2 * Hm), 0);
    // Rd + 100: the same small circle about the antipode, radius Hm − Rd − 100.
    ASSERT_TRUE(polaire::dessinerCercleRepere(calque, Hm, Rd + 100, 1.0));
    EXPECT_EQ(rougeA(Hm + Rd, Hm - Rd - 100, 360), 360);
    EXPECT_EQ(pixelsRouges(0, Hm), 0);
    // Zoomed out (a quarter), five radii so that it shows; each in its own disc,
    // none beyond a disc's edge.
    ASSERT_TRUE(polaire::dessinerCercleRepere(calque, Hm, Rd - 1, 0.25));
    EXPECT_EQ(rougeA(Rd, Rd - 3, 360), 360);
    EXPECT_EQ(rougeA(Hm + Rd, Rd - 3, 360), 360) << "Rd + 1 and Rd + 2 about the antipode";
    for (int y = 0; y < calque.height(); ++y)
        for (int x = 0; x < calque.width(); ++x)
            if (alphaOf(calque.pixel(x, y)) > 0) {
                const int cx = x > Hm ? Hm + Rd : Rd;
                ASSERT_LE(std::hypot(x - cx, y - Rd), Rd + 1.5) << x << " " << y;
            }
    // Radii the view cannot draw: nothing, and no failure.
    for (int r : {0, -5, Hm, Hm + 50, 1 << 30}) {
        EXPECT_FALSE(polaire::dessinerCercleRepere(calque, Hm, r, 1.0)) << r;
        EXPECT_EQ(pixelsRouges(0, 2 * Hm), 0) << r;
    }
    // A zoom of 0 (or not a number) draws a single circle.
    ASSERT_TRUE(polaire::dessinerCercleRepere(calque, Hm, 120, 0.0));
    EXPECT_EQ(rougeA(Rd, 120, 360), 360);
    EXPECT_EQ(rougeA(Rd, 123, 360), 0);
    ASSERT_TRUE(polaire::dessinerCercleRepere(calque, Hm, 120, std::nan("")));
    EXPECT_EQ(rougeA(Rd, 123, 360), 0);
}

TEST(VuePolaire, TheCirclesAboutThePoleAreConcentricEveryTenDegrees)
{
    const int Hm = 360, Rd = 180;
    TBitmap32 calque;
    polaire::dessinerCerclesPole(calque, Hm, 1.0);
    for (int k = 1; k <= 9; ++k)
        for (int cx : {Rd, Hm + Rd}) {
            // On the circle 10k° from the pole (away from the spokes and labels).
            const double r = k * Rd / 9.0, a = 200 * kRad;
            EXPECT_GT(alphaOf(calque.pixel(carte::arrondi(cx + r * std::cos(a)), carte::arrondi(Rd - r * std::sin(a)))),
                      0u)
                << k;
        }
    // Between two circles and two spokes: nothing.
    EXPECT_EQ(alphaOf(calque.pixel(carte::arrondi(Rd + 15 * Rd / 90.0 * std::cos(200 * kRad)),
                                   carte::arrondi(Rd - 15 * Rd / 90.0 * std::sin(200 * kRad)))),
              0u);
    // The spokes every 30°.
    EXPECT_GT(alphaOf(calque.pixel(Rd, Rd - 100)), 0u);
    EXPECT_GT(alphaOf(calque.pixel(Rd + carte::arrondi(100 * std::cos(210 * kRad)),
                                   Rd - carte::arrondi(100 * std::sin(210 * kRad)))),
              0u);
}

TEST(VuePolaire, OverlaysFollowTheMapsRulesThroughTheDiscs)
{
    const TProjectionPolaire p(400, 90, 0);
    ReglagesAffichage r;
    r.PointsEpais = false; // the view plots thick symbols whatever the map does
    r.MagnitudeMini = 5;
    TBitmap32 calque;
    std::vector<TSeisme> seismes(3);
    seismes[0].Longitude = 0;
    seismes[0].Latitude = 45;
    seismes[0].Magnitude = 5; // the minimum itself is shown
    seismes[0].Profondeur = 250;
    seismes[1].Longitude = 90;
    seismes[1].Latitude = 0;
    seismes[1].Magnitude = 4.99f;
    seismes[2].Longitude = 0;
    seismes[2].Latitude = -45; // in disc 2
    seismes[2].Magnitude = 7;
    polaire::dessinerSeismesPolaires(calque, seismes, r, p);
    ASSERT_EQ(calque.width(), 800);
    const carte::PointCarte a = p.ProjeterPolaire(0, 45), b = p.ProjeterPolaire(90, 0), c = p.ProjeterPolaire(0, -45);
    EXPECT_EQ(calque.pixel(a.x, a.y), couleurProfondeur(r.CouleurSeismes, 250, r.ProfLimite));
    EXPECT_EQ(calque.pixel(a.x + 1, a.y + 1), calque.pixel(a.x, a.y)) << "thick";
    EXPECT_EQ(calque.pixel(b.x, b.y), clTransparentWhite32);
    EXPECT_EQ(calque.pixel(c.x, c.y), r.CouleurSeismes);
    EXPECT_GT(c.x, 400);

    r.CouleurVolcans = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
    std::vector<TVolcan> volcans(2);
    volcans[0].Longitude = 10;
    volcans[0].Latitude = 10;
    volcans[0].TypeVolcan = 12;
    volcans[1].Longitude = -150;
    volcans[1].Latitude = -60;
    volcans[1].TypeVolcan = 31;
    polaire::dessinerVolcansPolaires(calque, volcans, r, p);
    const carte::PointCarte v0 = p.ProjeterPolaire(10, 10), v1 = p.ProjeterPolaire(-150, -60);
    EXPECT_EQ(calque.pixel(v0.x, v0.y), 0xFF000003u);
    EXPECT_EQ(calque.pixel(v1.x, v1.y), 0xFF000005u);
}

namespace {

// Unit picture directions of a station's north and east.
struct Repere {
    double ex, ey, nx, ny;
};
Repere repere(const TProjectionPolaire& p, double lon, double lat)
{
    Repere r;
    p.repereLocal(lon, lat, r.ex, r.ey, r.nx, r.ny);
    return r;
}

TStationGPS stationGPS(double lon, double lat, double vn, double ve)
{
    TStationGPS s;
    s.Longitude = lon;
    s.Latitude = lat;
    s.VitLat = vn;
    s.VitLong = ve;
    s.Affiche = 1;
    return s;
}

} // namespace

TEST(VuePolaire, VectorsPointWhereTheStationsMove)
{
    const TProjectionPolaire p(1800, 90, 0);
    // A station exactly below the North Pole's image: north is straight up (+π/2),
    // east to its right.
    const carte::PointCarte np = p.ProjeterPolaire(0, 90);
    const carte::PointCarte s = p.ProjeterPolaire(-90, 45);
    ASSERT_EQ(s.x, np.x);
    ASSERT_GT(s.y, np.y);
    Repere r = repere(p, -90, 45);
    EXPECT_NEAR(std::atan2(-r.ny, r.nx), M_PI / 2, 1e-9);
    EXPECT_NEAR(r.nx * r.nx + r.ny * r.ny, 1, 1e-9) << "towards the pole at the true scale";
    EXPECT_NEAR(std::atan2(-r.ey, r.ex), 0, 1e-9);
    // Above it, north points down.
    r = repere(p, 90, 45);
    EXPECT_NEAR(std::atan2(-r.ny, r.nx), -M_PI / 2, 1e-9);
    // At (0°, 0°), on the right edge: north towards the centre (left), east up;
    // never the other way round.
    r = repere(p, 0, 0);
    EXPECT_NEAR(r.nx, -1, 1e-9);
    EXPECT_NEAR(r.ny, 0, 1e-9);
    EXPECT_NEAR(r.ex, 0, 1e-9);
    EXPECT_LT(r.ey, -1) << "up, stretched as the circles are at 90° from the pole";
    // In disc 2 (the South Pole at its centre): north points away from the centre.
    r = repere(p, 0, -45);
    const carte::PointCarte sp = p.ProjeterPolaire(0, -45);
    EXPECT_LT(sp.x, 2700);
    EXPECT_NEAR(r.nx, -1, 1e-9);
    EXPECT_NEAR(r.ny, 0, 1e-9);

    // Drawn: 10 mm/an north at (0°, 0°) with the 3600 build's scale runs 15 pixels
    // towards the centre.
    ReglagesAffichage reglages;
    TBitmap32 calque;
    polaire::dessinerGPSPolaires(calque, {stationGPS(0, 0, 10, 0)}, reglages, ReferenceVecteurs{},
                                 polaire::vecteursPolaires(3600), p);
    const carte::PointCarte e = p.ProjeterPolaire(0, 0);
    EXPECT_EQ(calque.pixel(e.x - 12, e.y), reglages.CouleurVecteurs);
    EXPECT_EQ(calque.pixel(e.x, e.y - 12), clTransparentWhite32);
    EXPECT_EQ(calque.pixel(e.x, e.y + 12), clTransparentWhite32);
    EXPECT_EQ(calque.pixel(e.x - 40, e.y), clTransparentWhite32);
}

TEST(VuePolaire, AMotionAboutThePoleRunsAlongItsCircleWhateverThePole)
{
    // A plate turning about the pole: the velocity of each station is ω × r.
    std::mt19937 alea(5);
    std::uniform_real_distribution<double> u(-1, 1), lon(-180, 180);
    for (const auto& pole : {std::pair{50.0, -75.0}, {-60.0, 30.0}, {10.0, 170.0}}) {
        const TProjectionPolaire p(1800, pole.first, pole.second);
        const double pl = pole.first * kRad, pL = pole.second * kRad;
        const double w[3] = {std::cos(pl) * std::cos(pL), std::cos(pl) * std::sin(pL), std::sin(pl)};
        for (int i = 0; i < 500; ++i) {
            const double lat = std::asin(u(alea) * 0.99) / kRad, lo = lon(alea);
            const double f = lat * kRad, l = lo * kRad;
            const double g[3] = {std::cos(f) * std::cos(l), std::cos(f) * std::sin(l), std::sin(f)};
            const double v[3] = {w[1] * g[2] - w[2] * g[1], w[2] * g[0] - w[0] * g[2], w[0] * g[1] - w[1] * g[0]};
            const double ve = -std::sin(l) * v[0] + std::cos(l) * v[1];
            const double vn = -std::sin(f) * std::cos(l) * v[0] - std::sin(f) * std::sin(l) * v[1] + std::cos(f) * v[2];
            const double vitesse = std::hypot(ve, vn);
            if (vitesse < 0.05 || std::hypot(ve, vn) > 0.999 * 1 /* at 90° */)
                continue;
            double x, y;
            int disque;
            ASSERT_TRUE(p.positionReelle(lo, lat, x, y, &disque));
            const double rx = x - p.centreX(disque), ry = y - p.rayon();
            if (std::hypot(rx, ry) < 5)
                continue;
            const Repere r = repere(p, lo, lat);
            const double dx = ve * r.ex + vn * r.nx, dy = ve * r.ey + vn * r.ny;
            // Perpendicular to the radius: along the concentric circle.
            EXPECT_NEAR((dx * rx + dy * ry) / (std::hypot(dx, dy) * std::hypot(rx, ry)), 0, 1e-7)
                << "pole " << pole.first << " " << pole.second << " station " << lat << " " << lo;
        }
    }
    // A motion towards the pole runs along the radius with its true length.
    const TProjectionPolaire p(1800, 50, -75);
    for (const auto& s : {std::pair{36.0, -121.0}, {-10.0, 20.0}, {0.0, 100.0}}) {
        double x, y;
        int disque;
        p.positionReelle(s.second, s.first, x, y, &disque);
        const Repere r = repere(p, s.second, s.first);
        // Azimuth of the pole from the station.
        const double f = s.first * kRad, l = s.second * kRad, pf = 50 * kRad, pl = -75 * kRad;
        const double az = std::atan2(std::sin(pl - l) * std::cos(pf),
                                     std::cos(f) * std::sin(pf) - std::sin(f) * std::cos(pf) * std::cos(pl - l));
        const double ve = std::sin(az), vn = std::cos(az);
        const double dx = ve * r.ex + vn * r.nx, dy = ve * r.ey + vn * r.ny;
        const double rx = x - p.centreX(disque), ry = y - p.rayon();
        const double sens = disque == 1 ? -1 : 1; // towards the centre of disc 1, away in disc 2
        EXPECT_NEAR((dx * rx + dy * ry) / std::hypot(rx, ry), sens, 1e-7);
    }
}

TEST(VuePolaire, VectorScaleAndArrowOfTheBuildAndZoomBounds)
{
    EXPECT_EQ(polaire::vecteursPolaires(3600).echelle, 1.5);
    EXPECT_EQ(polaire::vecteursPolaires(3600).fleche, 2);
    EXPECT_EQ(polaire::vecteursPolaires(7200).echelle, 3.0);
    EXPECT_EQ(polaire::vecteursPolaires(7200).fleche, 3);
    // Zoom positions the view cannot draw are brought back into the bar's range.
    EXPECT_EQ(polaire::echelleDeZoom(90, 10, 100), 0.9);
    EXPECT_EQ(polaire::echelleDeZoom(0, 10, 100), 0.1);
    EXPECT_EQ(polaire::echelleDeZoom(-40, 10, 100), 0.1);
    EXPECT_EQ(polaire::echelleDeZoom(500, 20, 100), 1.0);
    EXPECT_GT(polaire::echelleDeZoom(0, 0, 0), 0);
    EXPECT_EQ(polaire::positionZoomAjustee(1900, 3600, 10, 100), 53);
    EXPECT_EQ(polaire::positionZoomAjustee(500, 7200, 10, 100), 10);
    EXPECT_EQ(polaire::positionZoomAjustee(0, 7200, 10, 100), 100);
    EXPECT_EQ(polaire::positionZoomAjustee(1900, 0, 10, 100), 100);
}

TEST(MercatorOblique, TheUnrolledViewRunsFromThePoleToItsAntipodeWithoutHoles)
{
    const TBitmap32 fond = fondRepere(720, 360);
    {
        const TProjectionPolaire p(360, 90, 0);
        TBitmap32 imageP, image;
        polaire::construireImagePolaire(fond, 0, p, imageP);
        polaire::construireMercatorOblique(imageP, image, 1);
        ASSERT_EQ(image.width(), 720);
        ASSERT_EQ(image.height(), 360);
        // The top row is the North Pole's pixel; row h the equator.
        for (int x = 0; x < 720; ++x) {
            ASSERT_EQ(image.pixel(x, 0), imageP.pixel(180, 180)) << x;
            EXPECT_NEAR(ligneDe(image.pixel(x, 180)), 180, 1) << x;
            EXPECT_NEAR(ligneDe(image.pixel(x, 90)), 90, 1) << x;
            EXPECT_NEAR(ligneDe(image.pixel(x, 270)), 270, 1) << x;
        }
        // Azimuth 0 (the middle column) is the pole's meridian, 0°; the same
        // longitude in both halves.
        EXPECT_NEAR(colonneDe(image.pixel(360, 100)), 360, 1);
        EXPECT_NEAR(colonneDe(image.pixel(360, 300)), 360, 1);
        EXPECT_NEAR(colonneDe(image.pixel(540, 250)), 540, 1); // 90° E, anticlockwise
    }
    const TProjectionPolaire p(360, 50, -75);
    TBitmap32 imageP, image, image4;
    polaire::construireImagePolaire(fond, 0, p, imageP);
    polaire::construireMercatorOblique(imageP, image, 1);
    polaire::construireMercatorOblique(imageP, image4, 4);
    EXPECT_EQ(image, image4);
    const int h = 180;
    int loin = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x) {
            const TColor32 c = image.pixel(x, y);
            ASSERT_EQ(alphaOf(c), 255u) << x << " " << y << ": every pixel comes from a disc";
            // The point at y · 90° / h from the pole in the direction of the column.
            const double a = x * 2 * M_PI / 719 - M_PI;
            double px, py;
            const double r = std::min<double>(y <= h ? y : 2 * h - y, h - 1e-6);
            if (y <= h) {
                px = h + r * std::cos(a);
                py = h - r * std::sin(a);
            } else {
                px = 360 + h - r * std::cos(a);
                py = h - r * std::sin(a);
            }
            polaire::PointGeo g;
            ASSERT_TRUE(p.PointPolaire(px, py, g));
            const carte::PointCarte attendu = pixelFond(g.longitude, g.latitude, 720, 360, 0);
            if (surEtoile(p, carte::arrondi(px), carte::arrondi(py)))
                continue;
            // A pixel of the discs spans 1 / cos(latitude) columns of the base map.
            const double colonnes = 2 + std::ceil(1 / std::max(0.01, std::cos(g.latitude * kRad)));
            if (distanceColonnes(colonneDe(c), attendu.x, 720) > colonnes || std::abs(ligneDe(c) - attendu.y) > 2)
                ++loin;
        }
    EXPECT_LT(loin, 720 * 360 / 1000);
}
