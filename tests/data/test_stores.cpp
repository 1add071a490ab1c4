// The table store TabTri, display marks and the emptying of stores.
#include "data/data_test_util.h"
#include "data/stores.h"

namespace {

TStationGPS st(double lat, double lon, double incVitLat = 1.0)
{
    TStationGPS s;
    s.Latitude = lat;
    s.Longitude = lon;
    s.IncVitLat = incVitLat;
    s.Rang = 7;
    return s;
}

}  // namespace

TEST_F(StoresFixture, ReconstructionParFiltreDeZone)
{
    TabStations = {st(10, 175), st(10, -175), st(10, 0), st(10, 179, 0), st(95, 175), st(-10, 170)};
    FiltreZone f;
    f.Longmin = 170;
    f.Longmax = -170;  // across the 180° meridian
    ASSERT_EQ(reconstruireTabTri(f), 3);
    EXPECT_EQ(TabTri[0].Rang, 0);
    EXPECT_EQ(TabTri[1].Rang, 1);
    EXPECT_EQ(TabTri[2].Rang, 5);
    const int rangs[] = {0, 1, -1, -1, -1, 5};
    const int affiches[] = {1, 1, 0, 0, 0, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(TabStations[i].Rang, rangs[i]) << i;
        EXPECT_EQ(TabStations[i].Affiche, affiches[i]) << i;
    }
    for (const TStationGPS& s : TabTri)
        EXPECT_EQ(s.Affiche, 1);

    // An ordinary window, bounds included.
    f = FiltreZone{0, 10, -10, 175};
    EXPECT_EQ(reconstruireTabTri(f), 2);
    // Nothing passes: an empty table and every station unmarked.
    EXPECT_EQ(reconstruireTabTri([](const TStationGPS&) { return false; }), 0);
    EXPECT_TRUE(TabTri.empty());
    for (const TStationGPS& s : TabStations)
        EXPECT_EQ(s.Rang, -1);
}

TEST_F(StoresFixture, TabTriDepuisMarquesSeulementSiVide)
{
    TabStations = {st(1, 1), st(2, 2), st(3, 3)};
    TabStations[0].Rang = 0;
    TabStations[1].Rang = -1;
    TabStations[2].Rang = 2;
    TabStations[2].Affiche = 0;
    ASSERT_TRUE(tabTriDepuisMarques());
    ASSERT_EQ(TabTri.size(), 2u);
    EXPECT_EQ(TabTri[1].Latitude, 3);
    EXPECT_EQ(TabTri[1].Affiche, 1);
    EXPECT_EQ(TabStations[2].Affiche, 0) << "only the copy is marked";
    EXPECT_FALSE(tabTriDepuisMarques());
    EXPECT_EQ(TabTri.size(), 2u);
}

TEST_F(StoresFixture, MarquesSuiventRangSeulementSIlDesigneUneStation)
{
    TabStations = {st(1, 1), st(2, 2)};
    reconstruireTabTri(FiltreZone{});
    ASSERT_EQ(TabTri.size(), 2u);
    EXPECT_TRUE(marquerStationTri(1, false));
    EXPECT_EQ(TabTri[1].Affiche, 0);
    EXPECT_EQ(TabStations[1].Affiche, 0);
    EXPECT_EQ(TabStations[0].Affiche, 1);
    EXPECT_FALSE(marquerStationTri(2, true));
    EXPECT_FALSE(marquerStationTri(-1, true));

    // A stale copy (stations reloaded since) is marked but designates nothing.
    TabTri[0].Rang = 40;
    EXPECT_FALSE(rangValide(40));
    marquerToutTabTri(false);
    EXPECT_EQ(TabTri[0].Affiche, 0);
    EXPECT_EQ(TabStations[0].Affiche, 1);

    afficherTousLesVecteurs(false);
    EXPECT_EQ(TabStations[0].Affiche + TabStations[1].Affiche, 0);
    afficherTousLesVecteurs(true);
    EXPECT_EQ(TabStations[0].Affiche + TabStations[1].Affiche, 2);
}

TEST_F(StoresFixture, ViderLaMemoireGardeLesTypesAffiches)
{
    TabSeismes.resize(4);
    TabVolcans.resize(2);
    TabStations = {st(1, 1)};
    TabTri = TabStations;
    SeismesCharges = VolcansCharges = GPSCharges = true;
    viderMemoire(false, true, false);
    EXPECT_TRUE(TabSeismes.empty());
    EXPECT_FALSE(SeismesCharges);
    EXPECT_EQ(TabVolcans.size(), 2u);
    EXPECT_TRUE(VolcansCharges);
    EXPECT_TRUE(TabStations.empty());
    EXPECT_TRUE(TabTri.empty()) << "copies of emptied stations go too";
    EXPECT_FALSE(GPSCharges);
}

TEST_F(StoresFixture, StationsAuDelaDe32767NeSontPasDesignables)
{
    TabStations.assign(32770, st(0, 0));
    EXPECT_EQ(reconstruireTabTri(FiltreZone{}), 32768);
    EXPECT_EQ(TabStations[32767].Rang, 32767);
    EXPECT_EQ(TabStations[32769].Rang, -1);
    EXPECT_EQ(TabStations[32769].Affiche, 1);
}

// Every change of a store is told to the listeners, with the stores it touched;
// a load that keeps nothing tells nothing.
TEST_F(StoresFixture, ListenersHearWhichStoresChanged)
{
    std::vector<unsigned> entendu;
    const int n = donnees.ecouter([&entendu](unsigned m) { entendu.push_back(m); });
    TSeisme s;
    s.Magnitude = 5;
    ASSERT_TRUE(ChargerSeismes(ecrire("s.fse", encoderSeismes({s}))).ok);
    EXPECT_FALSE(ChargerSeismes(ecrire("vide.fse", QByteArray())).ok);
    TStationGPS g;
    g.IncVitLat = 1;
    TabStations = {g, g};
    afficherTousLesVecteurs(false);
    reconstruireTabTri(FiltreZone{});
    marquerStationTri(0, false);
    EXPECT_FALSE(donnees.marquerStation(5, true)) << "no such station: nothing said";
    viderMemoire(false, true, true);
    const std::vector<unsigned> attendu = {TDonnees::Seismes, TDonnees::Stations,
                                           TDonnees::Stations | TDonnees::Tri, TDonnees::Stations | TDonnees::Tri,
                                           TDonnees::Seismes};
    EXPECT_EQ(entendu, attendu);
    donnees.oublier(n);
    viderStations();
    EXPECT_EQ(entendu.size(), attendu.size());
}
