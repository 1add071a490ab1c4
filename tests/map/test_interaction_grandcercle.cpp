// Great-circle drawing cases, path sums, zoom to zone and section bounds.
#include "map/grandcercle.h"
#include "map/projection.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace carte;

namespace {
constexpr int W = 3600;
constexpr int H = 1800;

// Latitude of the great circle through a and b at longitude lon (degrees), by
// the vector cross product.
double latitudeSurCercle(double lat1, double lon1, double lat2, double lon2, double lon)
{
    const double r = M_PI / 180;
    auto v = [r](double la, double lo) {
        return std::array<double, 3>{std::cos(la * r) * std::cos(lo * r), std::cos(la * r) * std::sin(lo * r),
                                     std::sin(la * r)};
    };
    const auto a = v(lat1, lon1), b = v(lat2, lon2);
    const double nx = a[1] * b[2] - a[2] * b[1], ny = a[2] * b[0] - a[0] * b[2], nz = a[0] * b[1] - a[1] * b[0];
    return std::atan(-(nx * std::cos(lon * r) + ny * std::sin(lon * r)) / nz) / r;
}
} // namespace

TEST(InteractionGrandCercle, StraightCases)
{
    // 14 pixels apart horizontally (1.4 degrees): one segment; 15: stepped.
    auto p = piecesGrandCercle({40, 0, 50, 1.4}, W, H, 0);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0], QLineF(1800, 500, 1814, 400));
    p = piecesGrandCercle({40, 0, 50, 1.5}, W, H, 0);
    EXPECT_GT(p.size(), 1u);
    // Both ends within 1 degree of the equator.
    p = piecesGrandCercle({0.5, -10, -0.5, 100}, W, H, 0);
    ASSERT_EQ(p.size(), 1u);
    // ... and 200° apart: the straight line goes the short way, across the side of
    // the map, drawn from both sides.
    p = piecesGrandCercle({0.5, -100, -0.5, 100}, W, H, 0);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0], QLineF(800, 895, -800, 905));
    EXPECT_EQ(p[1], QLineF(4400, 895, 2800, 905));
    // Second end beyond 89 degrees: straight line between the two ends.
    p = piecesGrandCercle({10, 0, 89.5, 90}, W, H, 0);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0], QLineF(1800, 800, 2700, 5));
    // First end beyond 89 degrees: vertical line at the second end's column.
    p = piecesGrandCercle({-89.5, 0, 10, 90}, W, H, 0);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0], QLineF(2700, 1795, 2700, 800));
}

TEST(InteractionGrandCercle, SteppedArcFollowsTheCircle)
{
    const TSegmentGeo s{48.85, 2.35, 40.7, -74.0}; // Paris to New York
    const auto p = piecesGrandCercle(s, W, H, 0);
    const PointCarte a = geoVersCarte(s.Lon1, s.Lat1, W, H, 0);
    const PointCarte b = geoVersCarte(s.Lon2, s.Lat2, W, H, 0);
    ASSERT_GT(p.size(), 20u);
    EXPECT_EQ(p.front().p1(), QPointF(a.x, a.y));
    EXPECT_EQ(p.back().p2(), QPointF(b.x, b.y));
    double plusHaut = H;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i > 0)
            EXPECT_EQ(p[i].p1(), p[i - 1].p2()); // a connected polyline
        EXPECT_LT(p[i].x2(), p[i].x1());         // stepping westwards, column by column
        // Every vertex lies on the great circle (rows are rounded).
        const double lon = (p[i].x1() - W / 2.0) / W * 360;
        if (i > 0)
            EXPECT_NEAR(p[i].y1(), H / 2.0 - latitudeSurCercle(s.Lat1, s.Lon1, s.Lat2, s.Lon2, lon) / 180 * H, 0.51);
        plusHaut = std::min(plusHaut, p[i].y1());
    }
    // The arc bulges north of both ends.
    EXPECT_LT(plusHaut, std::min(a.y, b.y) - 20);

    // With a shift the same arc is drawn moved by the shift's pixels.
    const auto q = piecesGrandCercle(s, W, H, 30);
    ASSERT_EQ(q.size(), p.size());
    EXPECT_EQ(q[10].p1(), p[10].p1() + QPointF(300, 0));
}

TEST(InteractionGrandCercle, EndsOnOppositeMeridiansGoOverThePole)
{
    const auto p = piecesGrandCercle({60, 0, 70, 180}, W, H, 0);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].y2(), 0);
    EXPECT_EQ(p[1].y1(), 0);
    for (const QLineF& l : p)
        EXPECT_TRUE(std::isfinite(l.x1()) && std::isfinite(l.y1()) && std::isfinite(l.x2()) && std::isfinite(l.y2()));
}

TEST(InteractionGrandCercle, DrawingStaysInsideTheReturnedRegion)
{
    TBitmap32 b(W, H);
    const QRect r = TraceGrandCercle({30, -20, -10, 60}, clBlack32, b, 0);
    ASSERT_FALSE(r.isEmpty());
    int dedans = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (b.pixel(x, y) != clTransparentWhite32) {
                ASSERT_TRUE(r.contains(x, y)) << x << "," << y;
                ++dedans;
            }
    EXPECT_GT(dedans, 800);
}

TEST(InteractionGrandCercle, PathSums)
{
    EXPECT_EQ(longueurTrajet({}), 0);
    EXPECT_EQ(longueurTrajet({{0, 0}}), 0);
    // Three legs along the equator: 10 degrees each.
    const int d10 = distanceGrandCercle(0, 0, 10, 0);
    EXPECT_EQ(longueurTrajet({{0, 0}, {10, 0}, {20, 0}, {30, 0}}), 3 * d10);
    // Going back counts too.
    EXPECT_EQ(longueurTrajet({{0, 0}, {10, 0}, {0, 0}}), 2 * d10);
}

TEST(InteractionLoupe, OfferedOnlyBeyondFortyDegreesBothWays)
{
    EXPECT_TRUE(loupeProposee({0, 41, 0, 41}));
    EXPECT_TRUE(loupeProposee({41, 0, 10, -31}));
    EXPECT_FALSE(loupeProposee({0, 40, 0, 41}));
    EXPECT_FALSE(loupeProposee({0, 41, 0, 40}));
    EXPECT_FALSE(loupeProposee({0, 0, 0, 0}));
}

TEST(InteractionLoupe, TallZoneUsesLatitudeSpan)
{
    // Zone 60 degrees tall, 20 wide in a 2:1 window.
    const ResultatLoupe r = calculerLoupe({10, 70, 20, 40}, false, 0.5, 4.0, 1800, 900, H);
    EXPECT_EQ(r.decalage, -30);
    EXPECT_DOUBLE_EQ(r.zoom, 0.5 * 180 / 60);
    EXPECT_EQ(r.sud, 10);
    EXPECT_EQ(r.nord, 70);
    EXPECT_DOUBLE_EQ(r.centreY, H / 2.0 - 40.0 / 180 * H);
}

TEST(InteractionLoupe, WideZoneShowsWhole)
{
    // 40 degrees tall, 120 wide, window 1800 x 900: the width decides.
    const double emin = 1800.0 / W - 0.01;
    const ResultatLoupe r = calculerLoupe({0, 40, -60, 60}, false, emin, 4.0, 1800, 900, H);
    EXPECT_EQ(r.decalage, 0);
    const double largeurAffichee = 120.0 / 360 * W * r.zoom;
    const double hauteurAffichee = 40.0 / 180 * H * r.zoom;
    EXPECT_LE(largeurAffichee, 1800);
    EXPECT_GT(largeurAffichee, 1700);
    EXPECT_LE(hauteurAffichee, 900);
}

TEST(InteractionLoupe, ReleaseLeftOfPressAndAcrossTheDateLine)
{
    // Pressed at 170 E, released further right at -170 (across 180): east below
    // west gets 360 more; middle 180.
    ResultatLoupe r = calculerLoupe({0, 50, 170, -170}, false, 0.5, 4.0, 1800, 900, H);
    EXPECT_EQ(r.ouest, 170);
    EXPECT_EQ(r.est, 190);
    EXPECT_EQ(r.decalage, -180);
    // Released left of the press: the bounds are exchanged.
    r = calculerLoupe({0, 50, 60, 10}, true, 0.5, 4.0, 1800, 900, H);
    EXPECT_EQ(r.ouest, 10);
    EXPECT_EQ(r.est, 60);
    EXPECT_EQ(r.decalage, -35);
    // The zoom is capped.
    r = calculerLoupe({0, 1, 0, 1}, false, 0.5, 4.0, 1800, 900, H);
    EXPECT_DOUBLE_EQ(r.zoom, 4.0);
}

TEST(InteractionCoupe, AcceptanceAndOrdering)
{
    EXPECT_TRUE(coupeAcceptee({0, 0, 0, 20}));
    EXPECT_FALSE(coupeAcceptee({0, 19, 0, 19}));
    EXPECT_TRUE(coupeAcceptee({0, 20, 0, 0}));
    // Drawn east to west: the ends are exchanged, each latitude with its longitude.
    BornesSelection b = ordonnerBornesCoupe({10, 20, 300, 100}, 6);
    EXPECT_EQ(b.Lon1, 100);
    EXPECT_EQ(b.Lon2, 300);
    EXPECT_EQ(b.Lat1, 20);
    EXPECT_EQ(b.Lat2, 10);
    // Across the 180 degree meridian: from 170 E to 170 W.
    b = ordonnerBornesCoupe({0, 0, 170 * 6, -170 * 6}, 6);
    EXPECT_EQ(b.Lon1, 170 * 6);
    EXPECT_EQ(b.Lon2, 190 * 6);
    EXPECT_GT(b.Lon2, 180 * 6);
}

// The shorter arc across the side of the map: Tokyo to San Francisco runs over the
// North Pacific (drawn on both sides of the unshifted map), not through Indonesia,
// the South Atlantic and Brazil; the same line on the map shifted by 180° is one
// unbroken arc over the middle of the map.
TEST(InteractionGrandCercle, ShorterArcCrossesTheSideOfTheMap)
{
    const TSegmentGeo s{35.68, 139.69, 37.77, -122.42}; // Tokyo, San Francisco
    for (int sens = 0; sens < 2; ++sens) {
        const TSegmentGeo t = sens == 0 ? s : TSegmentGeo{s.Lat2, s.Lon2, s.Lat1, s.Lon1};
        const auto p = piecesGrandCercle(t, W, H, 0);
        ASSERT_GT(p.size(), 10u);
        bool aGauche = false, aDroite = false;
        for (const QLineF& l : p) {
            for (const QPointF& q : {l.p1(), l.p2()}) {
                // Every vertex over the North Pacific: either beyond Tokyo's meridian or
                // beyond San Francisco's (counted from the side of the map it is drawn from).
                const double lon = (q.x() - W / 2.0) / W * 360;
                EXPECT_TRUE(lon > 139 || lon < -122) << lon;
                const double lat = (H / 2.0 - q.y()) / H * 180;
                EXPECT_GT(lat, 34);
                EXPECT_LT(lat, 50);
            }
            aGauche |= std::min(l.x1(), l.x2()) <= 0;
            aDroite |= std::max(l.x1(), l.x2()) >= W;
        }
        EXPECT_TRUE(aGauche && aDroite) << "the arc is cut at both sides";
    }

    // Shifted by 180°: the Pacific is in the middle, one arc with no piece beyond a side.
    const auto q = piecesGrandCercle(s, W, H, 180);
    for (const QLineF& l : q) {
        EXPECT_GT(std::min(l.x1(), l.x2()), W / 4.0);
        EXPECT_LT(std::max(l.x1(), l.x2()), 3 * W / 4.0);
    }
    EXPECT_EQ(distanceGrandCercle(s.Lon1, s.Lat1, s.Lon2, s.Lat2), 8272);

    // On a picture: pixels at both sides, none over Africa or the Americas' middle.
    TBitmap32 b(W, H);
    TraceGrandCercle(s, clWhite32, b, 0);
    int cotes = 0, milieu = 0;
    for (int y = 0; y < H; ++y) {
        cotes += b.pixel(0, y) != clTransparentWhite32;
        cotes += b.pixel(W - 1, y) != clTransparentWhite32;
        for (int x = W / 2 - 900; x < W / 2 + 900; x += 7)
            milieu += b.pixel(x, y) != clTransparentWhite32;
    }
    EXPECT_GT(cotes, 1);
    EXPECT_EQ(milieu, 0);

    // Exactly antipodal ends have no shorter arc: over the North Pole, without
    // crossing a side.
    const auto a = piecesGrandCercle({30, -90, -30, 90}, W, H, 0);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].y2(), 0);
    for (const QLineF& l : a) {
        EXPECT_GE(std::min(l.x1(), l.x2()), 0);
        EXPECT_LE(std::max(l.x1(), l.x2()), W);
    }
}
