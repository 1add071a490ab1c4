// Sea-level simulation: the level/volume table against the cell-by-cell formula,
// the water over flooded land, the table's file, the look-ups of the calculator,
// the flooding connected to the ocean, the sea-level layer and its texts.
#include "map/motifnombre.h"
#include "map/niveaumarin.h"
#include "map/schemabassin.h"
#include "data/decimal.h"
#include "niveau_test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

namespace {

// The table straight from its definition: for every level, every cell is put in
// its case; a row's counts and metres are summed as integers, then weighted by the
// row's area, rows in order.
TTableSurfVol tableCelluleParCellule(const PetiteGrille& g, const std::vector<std::int16_t>* atteinte)
{
    TTableSurfVol t;
    auto cle = [&](std::size_t i) -> std::int64_t { return atteinte ? (*atteinte)[i] : g.z[i]; };
    for (int L = TTableSurfVol::NiveauMin; L <= TTableSurfVol::NiveauMax; ++L) {
        const auto k = static_cast<std::size_t>(L - TTableSurfVol::NiveauMin);
        for (int r = 0; r < g.L; ++r) {
            long long nombre = 0, metres = 0;
            for (int c = 0; c < g.C; ++c) {
                const std::size_t i = g.index(r, c);
                const int e = g.z[i];
                const std::int64_t s = cle(i);
                if (L >= 1 && s <= L) {
                    if (e >= 1) {
                        ++nombre;
                        metres += L - e;
                    } else {
                        metres += L;
                    }
                } else if (L < 0 && s < 0) {
                    metres += std::min<std::int64_t>(-L, -s);
                    if (e == s && e >= L)
                        ++nombre;
                }
            }
            const double a = g.aires[static_cast<std::size_t>(r)];
            if (L >= 1) {
                t.S[k] += a * static_cast<double>(nombre);
                t.V[k] += a * static_cast<double>(metres) / 1000.0;
            } else if (L < 0) {
                t.S[k] -= a * static_cast<double>(nombre);
                t.V[k] -= a * static_cast<double>(metres) / 1000.0;
            }
        }
    }
    for (int n = 1; n < TTableSurfVol::NbProfondeurs; ++n)
        for (int r = 0; r < g.L; ++r) {
            long long metres = 0;
            for (int c = 0; c < g.C; ++c) {
                const std::size_t i = g.index(r, c);
                if (cle(i) < 0)
                    metres += std::min(-g.z[i], 100 * n);
            }
            t.U[static_cast<std::size_t>(n)] += g.aires[static_cast<std::size_t>(r)] * static_cast<double>(metres) / 1000.0;
        }
    return t;
}

// The cells the ocean reaches at each level, by one plain fill per level from the
// seed through the cells at or below that level.
std::vector<std::int16_t> atteinteParNiveaux(const PetiteGrille& g, std::size_t graine)
{
    std::vector<std::int16_t> s(g.z.size(), TAtteinteOcean::Jamais);
    for (int h = TAtteinteOcean::Profond; h <= TTableSurfVol::NiveauMax; ++h) {
        if (g.z[graine] > h)
            continue;
        std::vector<char> vu(g.z.size(), 0);
        std::deque<std::size_t> file{graine};
        vu[graine] = 1;
        while (!file.empty()) {
            const std::size_t i = file.front();
            file.pop_front();
            if (s[i] == TAtteinteOcean::Jamais)
                s[i] = h;
            const int r = static_cast<int>(i) / g.C, c = static_cast<int>(i) % g.C;
            const int voisins[4][2] = {{r - 1, c}, {r + 1, c}, {r, (c + g.C - 1) % g.C}, {r, (c + 1) % g.C}};
            for (const auto& v : voisins) {
                if (v[0] < 0 || v[0] >= g.L)
                    continue;
                const std::size_t j = g.index(v[0], v[1]);
                if (!vu[j] && g.z[j] <= h) {
                    vu[j] = 1;
                    file.push_back(j);
                }
            }
        }
    }
    return s;
}

PetiteGrille grilleAleatoire(unsigned graine)
{
    PetiteGrille g(26, 53, 0);
    std::mt19937 alea(graine);
    std::uniform_int_distribution<int> altitude(-320, 290);
    for (auto& e : g.z)
        e = static_cast<std::int16_t>(altitude(alea));
    // An ocean deep enough to hold the seed, a few cells beyond every depth band.
    g.bloc(2, 9, 3, 20, -4000);
    g.at(5, 10) = -11990;
    g.at(6, 11) = -12500;
    return g;
}

} // namespace

// --- The table ---

TEST(TableSurfVol, OnePassTableEqualsTheCellByCellFormulaExactly)
{
    for (unsigned graine : {1u, 7u, 42u}) {
        const PetiteGrille g = grilleAleatoire(graine);
        const TTableSurfVol rapide = calculerTableSurfVol(g.vue());
        const TTableSurfVol reference = tableCelluleParCellule(g, nullptr);
        EXPECT_EQ(rapide.S, reference.S) << graine;
        EXPECT_EQ(rapide.V, reference.V) << graine;
        EXPECT_EQ(rapide.U, reference.U) << graine;

        // The connected twin against one fill per level.
        const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
        ASSERT_EQ(a.graine, static_cast<long long>(g.index(6, 11)));
        const std::vector<std::int16_t> parNiveaux = atteinteParNiveaux(g, g.index(6, 11));
        EXPECT_EQ(a.niveau, parNiveaux) << graine;
        const TTableSurfVol reliee = calculerTableSurfVolReliee(g.vue(), a);
        const TTableSurfVol referenceReliee = tableCelluleParCellule(g, &parNiveaux);
        EXPECT_EQ(reliee, referenceReliee) << graine;
        for (int L = 1; L <= TTableSurfVol::NiveauMax; ++L)
            EXPECT_LE(reliee.surface(L), rapide.surface(L) + 1e-9);
    }
}

TEST(TableSurfVol, WaterOverFloodedLandIsTheLevelLessTheElevation)
{
    // One row: deep sea, a shore at 0, land at 3 and at 8 m; 1000 km² each.
    PetiteGrille g(1, 4, 0);
    g.aires = {1000};
    g.at(0, 0) = -100;
    g.at(0, 2) = 3;
    g.at(0, 3) = 8;
    const TTableSurfVol t = calculerTableSurfVol(g.vue());
    // +5 m: the sea and the shore gain 5 m of water, the land at 3 m only 2 m.
    EXPECT_DOUBLE_EQ(t.surface(5), 1000);
    EXPECT_DOUBLE_EQ(t.volume(5), (5 + 5 + 2) * 1000 / 1000.0);
    // At its own level a cell counts as covered but holds no water yet.
    EXPECT_DOUBLE_EQ(t.surface(8), 2000);
    EXPECT_DOUBLE_EQ(t.volume(8), (8 + 8 + 5 + 0) * 1.0);
    // Falls: the sea floor emerges at its own depth, the deeper sea loses |L|.
    EXPECT_DOUBLE_EQ(t.surface(-50), 0);
    EXPECT_DOUBLE_EQ(t.volume(-50), -50);
    EXPECT_DOUBLE_EQ(t.surface(-100), -1000);
    EXPECT_DOUBLE_EQ(t.volume(-100), -100);
    EXPECT_DOUBLE_EQ(t.volume(-150), -100);
    EXPECT_EQ(t.surface(0), 0);
    EXPECT_EQ(t.volume(0), 0);
    EXPECT_EQ(t.U[0], 0);
    EXPECT_DOUBLE_EQ(t.U[1], 100);
}

TEST(TableSurfVol, FileIs8184BytesReadBackEqualAndNeverHalfWritten)
{
    const TTableSurfVol t = calculerTableSurfVol(grilleAleatoire(3).vue());
    EXPECT_EQ(encoderTableSurfVol(t).size(), 8184);
    QTemporaryDir dir;
    const QString chemin = dir.filePath(QStringLiteral("ModSVfH.fmo"));
    ASSERT_TRUE(ecrireTableSurfVol(chemin, t));
    EXPECT_EQ(QFile(chemin).size(), 8184);
    TTableSurfVol relue;
    ASSERT_TRUE(lireTableSurfVol(chemin, relue));
    EXPECT_EQ(relue, t);
    // Layout: the pair S(-200), V(-200) first, U(120) last.
    const QByteArray o = encoderTableSurfVol(t);
    EXPECT_EQ(qFromLittleEndian<double>(o.constData() + 8), t.volume(-200));
    EXPECT_EQ(qFromLittleEndian<double>(o.constData() + 451 * 16), t.U[0]);
    EXPECT_EQ(qFromLittleEndian<double>(o.constData() + 8176), t.U[120]);

    // A folder that cannot take the file: a message naming it, nothing written.
    const QString bloque = dir.filePath(QStringLiteral("ModSVfH.fmo.bloque"));
    ASSERT_TRUE(QDir().mkpath(bloque));
    QString message;
    EXPECT_FALSE(ecrireTableSurfVol(bloque, t, &message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(bloque))) << message.toStdString();
    // A file of another size is refused.
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(o.left(8183));
    f.close();
    EXPECT_FALSE(lireTableSurfVol(chemin, relue, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("8183"))) << message.toStdString();
}

// --- The calculator ---

TEST(Calculatrice, StrictLookUpInterpolatesAndMissesExactTableValuesExceptZero)
{
    std::array<double, TTableSurfVol::NbNiveaux> V{};
    for (int L = TTableSurfVol::NiveauMin; L <= TTableSurfVol::NiveauMax; ++L)
        V[static_cast<std::size_t>(L + 200)] = 360000.0 * L + 25.0 * L * std::abs(L);
    EXPECT_EQ(niveauPourVolume(V, 0), 0.0);
    // Exactly a table entry: not found (the comparisons are strict).
    EXPECT_FALSE(niveauPourVolume(V, V[210]).has_value());
    EXPECT_FALSE(niveauPourVolume(V, V[100]).has_value());
    // Between two entries: linear.
    const auto l = niveauPourVolume(V, (V[210] + V[211]) / 2);
    ASSERT_TRUE(l.has_value());
    EXPECT_DOUBLE_EQ(*l, 10.5);
    // The search stops at 199/200 m, and below -200 m there is nothing.
    EXPECT_FALSE(niveauPourVolume(V, (V[400] + V[401]) / 2).has_value());
    EXPECT_TRUE(niveauPourVolume(V, (V[399] + V[400]) / 2).has_value());
    EXPECT_FALSE(niveauPourVolume(V, V[0] - 1).has_value());
    EXPECT_EQ(texteRemontee(std::nullopt), QStringLiteral("Les valeurs entrées sortent du cadre du modèle"));

    definirSeparateurDecimal(',');
    EXPECT_EQ(texteRemontee(10.5), QStringLiteral("Remontée du niveau marin (m) : 10,5"));
    // 1 °C over 233 129 037 km³ of water with 0.00026 /°C.
    EXPECT_DOUBLE_EQ(augmentationVolumeThermique(233129037.0, 0.00026, 1.0), 60613.54962);
    EXPECT_EQ(texteAugmentationVolume(60613.5), QStringLiteral("Augmentation de volume (km3) : 60\u202F614"));
    EXPECT_DOUBLE_EQ(variationVolumeOcean(-3, 2, 5), 4000000.0);
    definirSeparateurDecimal('.');
}

TEST(Calculatrice, PicturePatterns)
{
    definirSeparateurDecimal(',');
    EXPECT_EQ(formatMotif(1234567.4, QStringLiteral("###,###,##0")), QStringLiteral("1\u202F234\u202F567"));
    EXPECT_EQ(formatMotif(0, QStringLiteral("###,###,##0")), QStringLiteral("0"));
    // A pattern of '#' only writes nothing for 0.
    EXPECT_EQ(formatMotif(0.3, QStringLiteral("###,###,###,###")), QString());
    EXPECT_EQ(formatMotif(-2500.5, QStringLiteral("###,###,###,###")), QStringLiteral("-2\u202F501"));
    EXPECT_EQ(formatMotif(1234.006, QStringLiteral("#,##0.##")), QStringLiteral("1\u202F234,01"));
    EXPECT_EQ(formatMotif(3.1, QStringLiteral("#,##0.##")), QStringLiteral("3,1"));
    EXPECT_EQ(formatMotif(12.5, QStringLiteral("#0 %)")), QStringLiteral("13 %)"));
    EXPECT_EQ(formatMotif(-0.001, QStringLiteral("#,##0.##")), QStringLiteral("0"));
    definirSeparateurDecimal('.');
}

TEST(Calculatrice, TextsOfLevelZeroRiseAndFall)
{
    PetiteGrille g(3, 5, -500);
    g.bloc(1, 1, 1, 3, 5);
    const TTableSurfVol t = calculerTableSurfVol(g.vue());
    EXPECT_TRUE(texteSurface(0, t).isEmpty());
    EXPECT_TRUE(texteVolume(0, t).isEmpty());
    EXPECT_TRUE(texteSurface(10, t).startsWith(QStringLiteral("Surface recouverte : ")));
    EXPECT_TRUE(texteSurface(10, t).endsWith(QStringLiteral(" km²")));
    // A fall uncovers a positive surface; the water is lost.
    PetiteGrille plateau(3, 5, -500);
    plateau.bloc(0, 0, 0, 4, -5);
    const TTableSurfVol tp = calculerTableSurfVol(plateau.vue());
    const QString s = texteSurface(-10, tp);
    ASSERT_TRUE(s.startsWith(QStringLiteral("Surface dégagée : "))) << s.toStdString();
    EXPECT_FALSE(s.contains(QLatin1Char('-')));
    EXPECT_GT(s.mid(18).remove(QChar(0x202F)).remove(QStringLiteral(" km²")).toInt(), 0);
    EXPECT_TRUE(texteVolume(-10, tp).startsWith(QStringLiteral("Volume d'eau correspondant : -")));
}

// --- Flooding connected to the ocean ---

namespace {

// An ocean at -3000 m on the left half, a continent at 40 m on the right half.
PetiteGrille continent()
{
    PetiteGrille g(12, 24, -3000);
    g.bloc(0, 11, 10, 21, 40);
    return g;
}

EtatCellule etat(const PetiteGrille& g, const TAtteinteOcean& a, int r, int c, int L)
{
    const std::size_t i = g.index(r, c);
    return etatCelluleReliee(g.z[i], a.niveau[i], L);
}

} // namespace

TEST(Reliee, ClosedBasinBelowTheLevelStaysDry)
{
    PetiteGrille g = continent();
    g.bloc(4, 7, 14, 17, -30); // a depression ringed by land at 40 m
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(etat(g, a, 5, 15, 10), EtatCellule::Isolee);
    EXPECT_EQ(etat(g, a, 5, 15, 0), EtatCellule::Isolee);
    EXPECT_EQ(etat(g, a, 0, 12, 10), EtatCellule::Terre);
    EXPECT_EQ(etat(g, a, 5, 2, 10), EtatCellule::Mer);
    EXPECT_EQ(a.niveau[g.index(5, 15)], 40);
    // Once the sea tops the ring, the basin floods.
    EXPECT_EQ(etat(g, a, 5, 15, 41), EtatCellule::Mer);
    // The table: the plain one fills the basin at +10 m, the connected one does not.
    const TTableSurfVol plain = calculerTableSurfVol(g.vue());
    const TTableSurfVol reliee = calculerTableSurfVolReliee(g.vue(), a);
    EXPECT_GT(plain.volume(10), reliee.volume(10));
    EXPECT_NEAR(plain.volume(10) - reliee.volume(10), 10 * 4 * (g.aires[4] + g.aires[5] + g.aires[6] + g.aires[7]) / 1000,
                1e-9);
    EXPECT_EQ(plain.volume(41), reliee.volume(41));
    // Today's ocean only holds the ocean's water.
    EXPECT_LT(reliee.U[1], plain.U[1]);
}

TEST(Reliee, BasinJoinedToTheOceanByOneCellFloods)
{
    PetiteGrille g = continent();
    g.bloc(4, 7, 14, 17, -30);
    g.bloc(5, 5, 10, 13, 4); // a channel at 4 m from the coast, one cell wide
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(a.niveau[g.index(5, 15)], 4);
    EXPECT_EQ(etat(g, a, 6, 16, 3), EtatCellule::Isolee);
    EXPECT_EQ(etat(g, a, 6, 16, 5), EtatCellule::Mer);
    EXPECT_EQ(etat(g, a, 5, 11, 5), EtatCellule::Mer);
    // Touching the basin at a corner only is no channel.
    PetiteGrille d = continent();
    d.bloc(4, 7, 14, 17, -30);
    d.bloc(3, 3, 10, 13, -30); // from the coast to the basin's corner (4, 14)
    const TAtteinteOcean ad = calculerAtteinteOcean(d.vue());
    EXPECT_EQ(ad.niveau[d.index(3, 13)], -30);
    EXPECT_EQ(ad.niveau[d.index(5, 15)], 40);
}

TEST(Reliee, BasinJoinedAcrossThe180DegreeMeridianFloods)
{
    // Ocean on the left edge; land up to the right edge, with a low strip on the
    // last column next to a basin: the only way in is across the edge.
    PetiteGrille g(10, 20, 60);
    g.bloc(0, 9, 0, 3, -2000);
    g.bloc(3, 6, 15, 18, -15);
    g.bloc(4, 4, 19, 19, 2); // the last column touches the first
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(a.niveau[g.index(4, 19)], 2);
    EXPECT_EQ(a.niveau[g.index(5, 16)], 2);
    EXPECT_EQ(etat(g, a, 5, 16, 3), EtatCellule::Mer);
    EXPECT_EQ(etat(g, a, 5, 16, 2), EtatCellule::Isolee);
    // Not across the poles: a basin touching the top row only stays closed.
    PetiteGrille p(10, 20, 60);
    p.bloc(0, 9, 0, 3, -2000);
    p.bloc(0, 2, 10, 12, -15);
    const TAtteinteOcean ap = calculerAtteinteOcean(p.vue());
    EXPECT_EQ(ap.niveau[p.index(0, 11)], 60);
}

TEST(Reliee, FallingSeaLeavesTheWaterOfABasinCutOffAtItsSill)
{
    // A sea at -200 m behind a sill at -20 m, with shallow shelves at -10 m.
    PetiteGrille g(10, 30, 50);
    g.bloc(0, 9, 0, 9, -3000);
    g.bloc(2, 7, 15, 25, -200);
    g.bloc(2, 2, 15, 25, -10);
    g.bloc(4, 4, 10, 14, -20);
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(a.niveau[g.index(5, 20)], -20);
    const TTableSurfVol plain = calculerTableSurfVol(g.vue());
    const TTableSurfVol reliee = calculerTableSurfVolReliee(g.vue(), a);
    // Down to -20 m the sea is one: both ways agree.
    EXPECT_EQ(plain.volume(-15), reliee.volume(-15));
    EXPECT_EQ(plain.surface(-15), reliee.surface(-15));
    // At -100 m the cut-off sea only loses its top 20 m; its shelves emerge, its
    // floor does not.
    EXPECT_GT(reliee.volume(-100), plain.volume(-100));
    EXPECT_EQ(etat(g, a, 5, 20, -100), EtatCellule::Isolee);
    EXPECT_EQ(etat(g, a, 2, 20, -100), EtatCellule::Terre);
    EXPECT_EQ(etat(g, a, 5, 5, -100), EtatCellule::Mer);
    double basin = 0;
    for (int r = 3; r <= 7; ++r)
        basin += 11 * g.aires[static_cast<std::size_t>(r)];
    EXPECT_NEAR(reliee.volume(-100) - plain.volume(-100), 80 * basin / 1000, 1e-6);
}

TEST(Reliee, TheOceanIsTheLargestAreaBelowZeroEvenWhenAPitIsDeeper)
{
    PetiteGrille g = continent();
    g.bloc(0, 11, 0, 9, -500);
    g.bloc(0, 11, 22, 23, -500);
    g.bloc(5, 6, 15, 16, -900); // a deep closed pit inland
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(g.z[static_cast<std::size_t>(a.graine)], -500);
    EXPECT_EQ(etat(g, a, 5, 15, 10), EtatCellule::Isolee);
    EXPECT_EQ(etat(g, a, 3, 3, 10), EtatCellule::Mer);
    EXPECT_EQ(a.niveau[g.index(5, 15)], 40);
}

TEST(Reliee, NoCellBelowZeroMeansNoOcean)
{
    PetiteGrille g(4, 8, 0);
    const TAtteinteOcean a = calculerAtteinteOcean(g.vue());
    EXPECT_EQ(a.graine, -1);
    EXPECT_TRUE(std::all_of(a.niveau.begin(), a.niveau.end(), [](std::int16_t s) { return s == TAtteinteOcean::Jamais; }));
    EXPECT_EQ(etatCelluleReliee(0, TAtteinteOcean::Jamais, 5), EtatCellule::Isolee);
    EXPECT_EQ(calculerTableSurfVolReliee(g.vue(), a).volume(5), 0);
}

// --- The layer ---

TEST(CalqueNiveau, LevelZeroLandGreenSeaBlueAndConnectedLowGroundApart)
{
    GrilleMonde m(-1000);
    m.bloc(10, 30, 10, 30, 100);  // land
    m.bloc(18, 22, 18, 22, -50);  // a depression inside it
    m.bloc(-5, -5, -100, -100, 0); // a shore cell at 0
    TGrilleAltitude g;
    m.charger(g);
    TBitmap32 calque;
    dessinerNiveauMarin(calque, g, 360, 180, 0, 0);
    ASSERT_EQ(calque.width(), 360);
    // Pixel (x, y) of a 360 x 180 map lies on latitude 90 - y, longitude x - 180.
    EXPECT_EQ(calque.pixel(195, 65), CouleurTerre);
    EXPECT_EQ(calque.pixel(100, 120), CouleurMer);
    EXPECT_EQ(calque.pixel(80, 95), CouleurTerre); // at 0 m, level 0: not under water
    EXPECT_EQ(calque.pixel(200, 70), CouleurMer);

    const TAtteinteOcean a = calculerAtteinteOcean(VueAltitudes::de(g));
    dessinerNiveauMarin(calque, g, 360, 180, 0, 10, &a);
    EXPECT_EQ(calque.pixel(200, 70), CouleurIsolee);
    EXPECT_EQ(calque.pixel(195, 65), CouleurTerre);
    EXPECT_EQ(calque.pixel(100, 120), CouleurMer);
    EXPECT_EQ(calque.pixel(80, 95), CouleurMer);
    // Shifted by 90°: the same cells a quarter of the map further right.
    dessinerNiveauMarin(calque, g, 360, 180, 90, 10, &a);
    EXPECT_EQ(calque.pixel(290, 70), CouleurIsolee);
    EXPECT_EQ(calque.pixel(285, 65), CouleurTerre);
}

TEST(CalqueNiveau, WithoutAGridTheWholeMapIsSeaFromOneMetre)
{
    TGrilleAltitude g;
    TBitmap32 calque;
    dessinerNiveauMarin(calque, g, 72, 36, 0, 1);
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 72; ++x)
            ASSERT_EQ(calque.pixel(x, y), CouleurMer) << x << "," << y;
    dessinerNiveauMarin(calque, g, 72, 36, 0, 0);
    EXPECT_EQ(calque.pixel(10, 10), CouleurTerre);
}

// --- The basin drawing ---

TEST(SchemaBassin, RidgeAndWaterLineFollowTheirVolumes)
{
    auto hauteurNoir = [](const TBitmap32& b, int x) {
        for (int y = 60; y < b.height(); ++y)
            if (redOf(b.pixel(x, y)) < 60 && greenOf(b.pixel(x, y)) < 60 && blueOf(b.pixel(x, y)) < 60)
                return y;
        return -1;
    };
    const TBitmap32 plat = dessinerSchemaBassin(0, 0);
    const TBitmap32 haute = dessinerSchemaBassin(60, 0);
    EXPECT_EQ(plat.width(), LargeurSchema);
    EXPECT_EQ(hauteurNoir(plat, LargeurSchema / 2), creteSchema(0));
    EXPECT_EQ(hauteurNoir(haute, LargeurSchema / 2), creteSchema(60));
    EXPECT_EQ(creteSchema(60), 90);
    // The water line: blue, and the sky above it white.
    const TBitmap32 mer = dessinerSchemaBassin(0, 30);
    EXPECT_EQ(ligneEauSchema(30), 50);
    EXPECT_EQ(mer.pixel(120, 50), 0xFF0000FFu);
    EXPECT_EQ(mer.pixel(120, 47), clWhite32);
    EXPECT_EQ(plat.pixel(120, 50), clWhite32);
    // Water under the line is hatched blue: some pixels blue, none left empty.
    int bleus = 0;
    for (int x = 100; x < 120; ++x)
        bleus += mer.pixel(x, 100) == 0xFF0000FFu;
    EXPECT_GT(bleus, 0);
}
