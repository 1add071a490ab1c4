// Plate products read and checked, point in plate, Euler vectors, relative poles,
// predicted velocities, the least-squares pole fit and its refusals, drawing.
#include "plates/cinematique.h"
#include "plates/dessinplaques.h"
#include "plates/modele.h"
#include "plates/plaques.h"

#include <QTemporaryDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace plaques;

namespace {

constexpr double Rad = M_PI / 180.0;

TStationGPS station(const char* nom, double lon, double lat, const VitesseSurface& v)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Longitude = lon;
    s.Latitude = lat;
    s.VitLong = v.est;
    s.VitLat = v.nord;
    s.IncVitLat = 1;
    s.Affiche = 1;
    return s;
}

// Stations on a grid of the box, moving with the rotation omega, plus noise.
std::vector<TStationGPS> stationsSynthetiques(const Vec3& omega, double lon0, double lat0, double taille, int n,
                                              double bruit, unsigned graine = 7)
{
    std::mt19937 gen(graine);
    std::normal_distribution<double> g(0, bruit);
    std::vector<TStationGPS> st;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double lon = lon0 + taille * i / (n - 1), lat = lat0 + taille * j / (n - 1);
            VitesseSurface v = vitessePredite(omega, lon, lat);
            if (bruit > 0) {
                v.est += g(gen);
                v.nord += g(gen);
            }
            st.push_back(station("S", lon, lat, v));
        }
    return st;
}

double angleEntre(const Pole& a, const Pole& b)
{
    return std::acos(std::clamp(produitScalaire(unitaire(a.longitude, a.latitude), unitaire(b.longitude, b.latitude)),
                                -1.0, 1.0))
           / Rad;
}

// Two panels side by side with a gap (like the two discs of a polar view): the
// west hemisphere on the left, the east one on the right.
class DeuxPanneaux final : public carte::TProjection {
public:
    int largeur() const override { return 400; }
    int hauteur() const override { return 200; }
    bool versPixel(double lon, double lat, carte::PointCarte& p) const override
    {
        p.x = static_cast<int>(std::lround(lon < 0 ? 180 + 2 * lon : 220 + 2 * lon));
        p.y = static_cast<int>(std::lround(100 - lat));
        return true;
    }
    bool versPosition(double, double, carte::PositionGeo&) const override { return false; }
    void repereLocal(double, double, double& ex, double& ey, double& nx, double& ny) const override
    {
        ex = 1, ey = 0, nx = 0, ny = -1;
    }
};

ContourPlaque carre(const char* code, double lon0, double lat0, double lon1, double lat1)
{
    // Anticlockwise seen from above: east along the south side, then north...
    ContourPlaque c{QString::fromLatin1(code), {{lon0, lat0}, {lon1, lat0}, {lon1, lat1}, {lon0, lat1}, {lon0, lat0}}};
    preparerContour(c);
    return c;
}

} // namespace

TEST(ProduitsPlaques, ReadWithEveryRecordChecked)
{
    std::vector<SegmentLimite> l;
    QString e;
    ASSERT_TRUE(analyserLimites("# commentaire\n> AF / EU\n10 35 SUB\n12 36.5 OSR\n350 37 -\n> NA - PA\n0 0 OTF\n1 1 -\n",
                                "l.txt", l, e))
        << e.toStdString();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].gauche, "AF");
    EXPECT_EQ(l[0].droite, "EU");
    EXPECT_EQ(l[0].polarite, '/');
    ASSERT_EQ(l[0].points.size(), 3u);
    EXPECT_DOUBLE_EQ(l[0].points[2].longitude, -10) << "longitudes beyond 180 come back into -180..180";
    EXPECT_EQ(l[0].types, (std::vector<TypeLimite>{TypeLimite::SUB, TypeLimite::OSR}));

    std::vector<PoleEuler> p;
    ASSERT_TRUE(analyserPoles("AF 59.160 -73.174 0.9270\nPA 0 0 0\n", "p.txt", p, e));
    EXPECT_EQ(p[0].code, "AF");
    EXPECT_DOUBLE_EQ(p[0].vitesse, 0.927);

    std::vector<ContourPlaque> c;
    ASSERT_TRUE(analyserContours("> AB\n0 0\n10 0\n10 10\n0 10\n0 0\n", "c.txt", c, e));
    EXPECT_TRUE(contient(c[0], 5, 5));
}

TEST(ProduitsPlaques, FaultyLinesRefusedWithFileAndLineAndNothingKept)
{
    struct Cas {
        int fichier; // 0 boundaries, 1 outlines, 2 poles
        const char* texte;
        const char* ligne;
    };
    const Cas cas[] = {
        {0, "> AF - EU\n10 95 OSR\n11 36 -\n", "ligne 2"},           // latitude out of range
        {0, "> AF - EU\n10 35 XXX\n11 36 -\n", "ligne 2"},           // unknown kind
        {0, "10 35 OSR\n> AF - EU\n", "ligne 1"},                    // point before a header
        {0, "> AF - EU\n10 35 OSR\n11 36 OSR\n> EU - NA\n1 1 OSR\n2 2 -\n", "ligne 4"}, // no last point
        {0, "> AF + EU\n10 35 OSR\n11 36 -\n", "ligne 1"},           // polarity
        {0, "> AF - EU\nnan 35 OSR\n11 36 -\n", "ligne 2"},
        {1, "> AB\n0 0\n10 0\n10 10\n0 10\n", "ligne 1"},             // not closed
        {1, "> AB\n0 0\n10 0\n10 10\n0 0\n> AB\n0 0\n1 0\n1 1\n0 0\n", "ligne 6"}, // twice
        {2, "AF 59.160 -73.174 0.9270\nAF 1 2 3\n", "ligne 2"},
        {2, "AF 91 0 1\n", "ligne 1"},
        {2, "AF 10 20 -1\n", "ligne 1"},
        {2, "AF 10 20\n", "ligne 1"},
    };
    for (const Cas& c : cas) {
        QString e;
        bool ok = true;
        std::size_t taille = 1;
        if (c.fichier == 0) {
            std::vector<SegmentLimite> l(1);
            ok = analyserLimites(c.texte, "limites.txt", l, e);
            taille = l.size();
        } else if (c.fichier == 1) {
            std::vector<ContourPlaque> l(1);
            ok = analyserContours(c.texte, "limites.txt", l, e);
            taille = l.size();
        } else {
            std::vector<PoleEuler> l(1);
            ok = analyserPoles(c.texte, "limites.txt", l, e);
            taille = l.size();
        }
        EXPECT_FALSE(ok) << c.texte;
        EXPECT_EQ(taille, 0u) << c.texte;
        EXPECT_TRUE(e.contains("limites.txt") && e.contains(c.ligne)) << c.texte << " -> " << e.toStdString();
    }
    // A missing file is named too.
    TModelePlaques m;
    QString e;
    QTemporaryDir dir;
    EXPECT_FALSE(m.charger(dir.path(), e));
    EXPECT_TRUE(e.contains("plaques_limites.txt")) << e.toStdString();
}

TEST(PlaqueDunPoint, OutlinesAcrossTheSeamAndAroundEachPole)
{
    TModelePlaques m;
    m.contours.push_back(carre("AA", 170, -10, -170, 10)); // across 180°
    // A cap around the north pole north of 60° N, run eastwards.
    ContourPlaque nord{QStringLiteral("NN"), {}};
    for (int l = -180; l <= 180; l += 30)
        nord.points.push_back({static_cast<double>(l == 180 ? -180 : l), 60});
    preparerContour(nord);
    EXPECT_EQ(nord.pole, 1);
    m.contours.push_back(nord);
    ContourPlaque sud{QStringLiteral("SS"), {}};
    for (int l = 180; l >= -180; l -= 30)
        sud.points.push_back({static_cast<double>(l == -180 ? 180 : l), -60});
    preparerContour(sud);
    EXPECT_EQ(sud.pole, -1);
    m.contours.push_back(sud);
    m.indexer();
    EXPECT_EQ(m.codeEn(179, 0), "AA");
    EXPECT_EQ(m.codeEn(-175, 5), "AA");
    EXPECT_EQ(m.codeEn(185, 5), "AA") << "longitudes brought into -180..180";
    EXPECT_EQ(m.codeEn(0, 0), "");
    EXPECT_EQ(m.codeEn(20, 75), "NN");
    EXPECT_EQ(m.codeEn(20, 90), "NN");
    EXPECT_EQ(m.codeEn(-100, -80), "SS");
    EXPECT_EQ(m.codeEn(-100, -50), "");
    EXPECT_EQ(m.codeEn(std::nan(""), 0), "");
    EXPECT_EQ(nomPlaque("PA"), QString::fromUtf8("Pacifique"));
    EXPECT_EQ(nomPlaque("NA"), QString::fromUtf8("Amérique du Nord"));
    EXPECT_EQ(codesPlaques().size(), 52);
}

TEST(Cinematique, RelativePoleIsTheDifferenceAndReversesForTheReversedPair)
{
    const Pole a{59.160, -73.174, 0.9270}, b{48.709, -78.167, 0.7486};
    const Vec3 wa = vecteurRotation(a), wb = vecteurRotation(b);
    const Vec3 ab = rotationRelative(wa, wb), ba = rotationRelative(wb, wa);
    EXPECT_NEAR(ab.x, wa.x - wb.x, 1e-15);
    EXPECT_NEAR(ab.z, wa.z - wb.z, 1e-15);
    const Pole pab = poleDe(ab), pba = poleDe(ba);
    EXPECT_NEAR(pab.vitesse, pba.vitesse, 1e-12);
    EXPECT_NEAR(pab.latitude, -pba.latitude, 1e-9) << "the reversed pair turns about the antipode";
    EXPECT_NEAR(std::fabs(pab.longitude - pba.longitude), 180, 1e-9);
    const Pole retour = poleDe(wa);
    EXPECT_NEAR(retour.latitude, a.latitude, 1e-9);
    EXPECT_NEAR(retour.longitude, a.longitude, 1e-9);
    EXPECT_NEAR(retour.vitesse, a.vitesse, 1e-12);
    EXPECT_EQ(poleDe({}).vitesse, 0);
}

TEST(Cinematique, VelocityNinetyDegreesFromThePoleIsOmegaTimesR)
{
    // Pole at 30° N 40° E, 1.2°/Ma: a point 90° away moves at omega R, along the
    // small circle (perpendicular to the direction of the pole).
    const Pole p{30, 40, 1.2};
    const Vec3 w = vecteurRotation(p);
    const double attendu = 1.2 * Rad * RayonTerreKm; // mm/an
    for (const auto& [lon, lat] : {std::pair{40.0, -60.0}, std::pair{130.0, 0.0}, std::pair{-50.0, 0.0}}) {
        ASSERT_NEAR(produitScalaire(unitaire(lon, lat), unitaire(p.longitude, p.latitude)), 0, 1e-12);
        EXPECT_NEAR(vitessePredite(w, lon, lat).norme(), attendu, 1e-9) << lon << " " << lat;
    }
    // Pole at the north pole: the equator moves east.
    const VitesseSurface v = vitessePredite(vecteurRotation({90, 0, 1}), 25, 0);
    EXPECT_NEAR(v.est, 1 * Rad * RayonTerreKm, 1e-9);
    EXPECT_NEAR(v.nord, 0, 1e-9);
    // The pole itself does not move, and a point at 30° from it moves at sin 30°.
    EXPECT_NEAR(vitessePredite(w, 40, 30).norme(), 0, 1e-9);
    EXPECT_NEAR(vitessePredite(w, 40, 60).norme(), attendu * 0.5, 1e-9);
}

TEST(AjustementPole, RecoversAKnownPoleAndTheMisfitGrowsWithNoise)
{
    const Pole vrai{32, 38, 0.63}; // an Australia-like rotation
    const Vec3 w = vecteurRotation(vrai);
    const ResultatAjustement exact = ajusterRotation(stationsSynthetiques(w, 115, -38, 30, 6, 0));
    ASSERT_TRUE(exact.ok) << exact.erreur.toStdString();
    EXPECT_NEAR(exact.pole.latitude, vrai.latitude, 1e-6);
    EXPECT_NEAR(exact.pole.longitude, vrai.longitude, 1e-6);
    EXPECT_NEAR(exact.pole.vitesse, vrai.vitesse, 1e-9);
    EXPECT_EQ(exact.nbStations, 36);
    EXPECT_LT(exact.rms, 1e-6);
    EXPECT_TRUE(exact.horsNorme.empty());

    double rmsPrecedent = exact.rms;
    for (double bruit : {0.5, 2.0, 5.0}) {
        const ResultatAjustement r = ajusterRotation(stationsSynthetiques(w, 115, -38, 30, 6, bruit));
        ASSERT_TRUE(r.ok);
        EXPECT_GT(r.rms, rmsPrecedent) << bruit;
        // About sqrt(2) sigma per station, less the three fitted parameters.
        EXPECT_NEAR(r.rms, bruit * std::sqrt(2.0), bruit * 0.5) << bruit;
        EXPECT_LT(angleEntre(r.pole, vrai), 2.0 * bruit) << bruit;
        rmsPrecedent = r.rms;
    }
}

TEST(AjustementPole, AStationOffTheRigidPlateIsListed)
{
    const Vec3 w = vecteurRotation({50, -80, 0.75});
    std::vector<TStationGPS> st = stationsSynthetiques(w, -110, 30, 25, 5, 0.3);
    st[7].VitLong += 25; // a station in a deforming zone
    const ResultatAjustement r = ajusterRotation(st);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.horsNorme.size(), 1u);
    EXPECT_EQ(r.horsNorme[0], 7);
    const StationAjustee& s = r.stations[7];
    EXPECT_NEAR(s.residu.est, s.mesuree.est - s.ajustee.est, 1e-12);
    EXPECT_GT(s.ecart, 3 * r.rms);
}

TEST(AjustementPole, RefusedForTooFewOrTooCloseStationsOrUnusableVelocities)
{
    const Vec3 w = vecteurRotation({50, -80, 0.75});
    std::vector<TStationGPS> deux = stationsSynthetiques(w, 0, 0, 10, 2, 0);
    deux.resize(2);
    ResultatAjustement r = ajusterRotation(deux);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.erreur.contains("trois stations")) << r.erreur.toStdString();
    EXPECT_FALSE(ajusterRotation({}).ok);

    // Ten stations within a few kilometres: the spin about their centre is not
    // constrained.
    r = ajusterRotation(stationsSynthetiques(w, 2.3, 48.8, 0.05, 4, 0.2));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.erreur.contains("trop proches")) << r.erreur.toStdString();
    // A wide enough network passes.
    EXPECT_TRUE(ajusterRotation(stationsSynthetiques(w, 2, 45, 8, 3, 0.2)).ok);

    std::vector<TStationGPS> st = stationsSynthetiques(w, 0, 0, 20, 3, 0);
    st[4].VitLat = std::numeric_limits<double>::quiet_NaN();
    r = ajusterRotation(st);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.erreur.contains("vitesse")) << r.erreur.toStdString();
}

TEST(VecteursModele, EachStationsPlateRelativeToTheChosenPlate)
{
    TModelePlaques m;
    m.contours.push_back(carre("AA", 0, 0, 20, 20));
    m.contours.push_back(carre("BB", 20, 0, 40, 20));
    m.poles = {{QStringLiteral("AA"), 10, 10, 1.0}, {QStringLiteral("BB"), -20, 50, 0.5}};
    m.indexer();
    std::vector<TStationGPS> st = {station("A1", 5, 5, {}), station("B1", 30, 10, {}), station("X1", 100, 50, {}),
                                   station("A2", 15, 15, {})};
    st[3].Affiche = 0;
    TPlaquesStations cache;
    const std::vector<int>& p = cache.pour(st, m);
    EXPECT_EQ(p, (std::vector<int>{0, 1, -1, 0}));
    const RotationsPlaques rot = rotationsDesPlaques(m);
    const std::vector<VecteurCalcule> v = vecteursModele(st, p, rot, 1);
    ASSERT_EQ(v.size(), 2u) << "X1 is on no plate, A2 not shown";
    const VitesseSurface attendu = vitessePredite(rot.omega[0] - rot.omega[1], 5, 5);
    EXPECT_NEAR(v[0].est, attendu.est, 1e-12);
    EXPECT_NEAR(v[0].nord, attendu.nord, 1e-12);
    EXPECT_NEAR(std::hypot(v[1].est, v[1].nord), 0, 1e-12) << "B1 does not move relative to its own plate";
    Vec3 couple;
    ASSERT_TRUE(rotationCouple(m, "AA", "BB", couple));
    EXPECT_NEAR(couple.x, (rot.omega[0] - rot.omega[1]).x, 1e-15);
    EXPECT_FALSE(rotationCouple(m, "AA", "ZZ", couple));
    // Moved stations are looked up again.
    st[0].Longitude = 25;
    EXPECT_EQ(cache.pour(st, m)[0], 1);
}

TEST(DessinLimites, TeethOnTheOverridingSideAndNoLineAcrossTheSeam)
{
    const carte::TPlateCarree proj(720, 360, 0);
    StyleLimites style;
    style.legende = false;
    auto pixelsCote = [&](char polarite, int& dessus, int& dessous) {
        // Eastwards along 10° N: the left plate is to the north.
        SegmentLimite s{QStringLiteral("AA"), QStringLiteral("BB"), polarite, {{-40, 10}, {0, 10}, {40, 10}},
                        {TypeLimite::SUB, TypeLimite::SUB}};
        TBitmap32 b(720, 360);
        dessinerLimites(b, {s}, proj, style);
        const int y = proj.pixel(0, 10).y;
        dessus = dessous = 0;
        for (int x = 300; x < 420; ++x) {
            dessus += (b.pixel(x, y - 4) >> 24) > 0x80;
            dessous += (b.pixel(x, y + 4) >> 24) > 0x80;
        }
    };
    int dessus, dessous;
    pixelsCote('/', dessus, dessous); // the right (south) plate dives: teeth to the north
    EXPECT_GT(dessus, 5);
    EXPECT_EQ(dessous, 0);
    pixelsCote('\\', dessus, dessous);
    EXPECT_EQ(dessus, 0);
    EXPECT_GT(dessous, 5);

    // A step across 180° is not drawn across the whole map.
    SegmentLimite s{QStringLiteral("AA"), QStringLiteral("BB"), '-', {{179, 0}, {-179, 0}}, {TypeLimite::OSR}};
    TBitmap32 b(720, 360);
    dessinerLimites(b, {s}, proj, style);
    EXPECT_EQ(b.pixel(360, 180), clTransparentWhite32);
    // Nor across the gap between two panels, though its ends are close on the picture.
    TBitmap32 p(400, 200);
    s = SegmentLimite{QStringLiteral("AA"), QStringLiteral("BB"), '-', {{-3, 0}, {-1, 0}, {1, 0}, {3, 0}},
                      {TypeLimite::OSR, TypeLimite::OSR, TypeLimite::OSR}};
    dessinerLimites(p, {s}, DeuxPanneaux(), style);
    EXPECT_NE(p.pixel(176, 100), clTransparentWhite32);
    EXPECT_NE(p.pixel(224, 100), clTransparentWhite32);
    EXPECT_EQ(p.pixel(200, 100), clTransparentWhite32);
    // Colours by family.
    s = SegmentLimite{QStringLiteral("AA"), QStringLiteral("BB"), '-', {{0, 0}, {20, 0}}, {TypeLimite::OTF}};
    dessinerLimites(b, {s}, proj, style);
    const TColor32 c = b.pixel(380, 180);
    EXPECT_TRUE(greenOf(c) > 2 * redOf(c) && greenOf(c) > 2 * blueOf(c)) << std::hex << c;
    style.legende = true;
    const QRect r = dessinerLimites(b, {s}, proj, style);
    EXPECT_FALSE(r.isEmpty());
    EXPECT_EQ(r.bottom(), 360 - 10 - 1);
}
