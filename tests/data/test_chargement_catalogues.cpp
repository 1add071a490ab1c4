// The map's "Charger un fichier ..." commands also take the agencies' CSV files: the
// store loaders hand them to the catalogue readers, and the stores change only when
// the file could be read.
#include "data/loaders.h"
#include "data_test_util.h"

using ChargementCatalogues = StoresFixture;

TEST_F(ChargementCatalogues, CsvFilesFillTheThreeStores)
{
    const QString seismes = ecrire(
        "seismes.csv",
        "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type,horizontalError,"
        "depthError,magError,magNst,status,locationSource,magSource\n"
        "2011-03-11T05:46:24.120Z,38.297,142.373,29,9.1,mww,541,9.5,,,us,x,2022,\"Tohoku, Japan\",earthquake,,,,,"
        "reviewed,us,us\n");
    ResultatChargement r = ChargerSeismes(seismes);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(TabSeismes.size(), 1u);
    EXPECT_FLOAT_EQ(TabSeismes[0].Magnitude, 9.1f);
    EXPECT_TRUE(SeismesCharges);

    const QString volcans = ecrire(
        "volcans.csv",
        "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,Last Known Eruption,Region,"
        "Subregion,Latitude,Longitude,Elevation (m),Dominant Rock Type,Tectonic Setting\n"
        "211060,Etna,Italy,Stratovolcano(es),Eruption Observed,2022 CE,Med,Italy,37.748,14.999,3357,Basalt,Rift\n");
    r = ChargerVolcans(volcans);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(TabVolcans.size(), 1u);
    EXPECT_EQ(TabVolcans[0].TypeVolcan, 20);
    EXPECT_EQ(TabVolcans[0].Activite, 1);

    const QString gps = ecrire(
        "vitesses.csv",
        "station,latitude,longitude,height_m,vE_mm_yr,vN_mm_yr,vU_mm_yr,sE_mm_yr,sN_mm_yr,sU_mm_yr\n"
        "ZIMM,46.877098,7.465278,956.3,19.75,16.36,0.9,0.02,0.03,0.05\n"
        "KOKB,22.126278,-159.664871,1167.4,-62.13,34.41,-0.1,0.04,0.02,0.2\n");
    r = ChargerGPS(gps);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(TabStations.size(), 2u);
    EXPECT_EQ(TabStations[1].Rang, 1);
    EXPECT_DOUBLE_EQ(TabStations[1].VitLong, -62.13);
}

TEST_F(ChargementCatalogues, AnUnknownLayoutLeavesTheStoreAsItWas)
{
    TabSeismes.resize(3);
    const QString autre = ecrire("autre.csv", "a,b,c\n1,2,3\n");
    const ResultatChargement r = ChargerSeismes(autre);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(TabSeismes.size(), 3u);
    EXPECT_FALSE(SeismesCharges);
}
