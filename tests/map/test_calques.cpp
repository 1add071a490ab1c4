// Layer rebuild order and the base picture choice.
#include "map/calques.h"

#include <gtest/gtest.h>

using E = EtapeReconstruction;

TEST(Reconstruction, StepsInTheirFixedOrder)
{
    EtatReconstruction e;
    EXPECT_EQ(ordreReconstruction(e), std::vector<E>{E::ReplacerCalques});
    e.AgeAUneImage = e.TracesAUneImage = e.SeismesCoche = e.VolcansCoche = e.GPSCoche = e.NiveauMarinCoche =
        e.PopulationCoche = true;
    EXPECT_EQ(ordreReconstruction(e), (std::vector<E>{E::ReplacerCalques, E::Age, E::Seismes, E::Volcans, E::GPS,
                                                      E::NiveauMarin, E::Population, E::Traces}));
    EtatReconstruction f;
    f.GPSCoche = f.SeismesCoche = true;
    EXPECT_EQ(ordreReconstruction(f), (std::vector<E>{E::ReplacerCalques, E::Seismes, E::GPS}));
    EXPECT_EQ(rangDansPile(Calque::AgeFonds), 2);
    EXPECT_EQ(rangDansPile(Calque::Interaction), 12);
}

TEST(ChoixDuFond, EachCombinationAndNoRenaming)
{
    const NomsFonds n{QStringLiteral("c3600"), QStringLiteral("nb3600"), QStringLiteral("c7200"),
                      QStringLiteral("nb7200")};
    ChoixFond c = choisirFond(true, true, false, false, n);
    EXPECT_TRUE(c.charger);
    EXPECT_EQ(c.fichier, QStringLiteral("nb7200"));
    EXPECT_EQ(c.messageEchec, QStringLiteral("Il manque l'image de la carte de fond noir et blanc"));
    EXPECT_TRUE(c.FondNB && c.Precise);
    EXPECT_FALSE(choisirFond(true, true, true, true, n).charger);

    c = choisirFond(false, true, true, true, n);
    EXPECT_EQ(c.fichier, QStringLiteral("c7200"));
    EXPECT_EQ(c.messageEchec, QStringLiteral("Il manque l'image de la carte de fond "));
    EXPECT_FALSE(choisirFond(false, true, false, true, n).charger);

    c = choisirFond(true, false, false, false, n);
    EXPECT_EQ(c.fichier, QStringLiteral("nb3600"));
    EXPECT_EQ(c.messageEchec, QStringLiteral("Il manque l'image de la carte de fond"));

    // Back to colour after a black-and-white precise map: the colour 3600 picture.
    c = choisirFond(false, false, true, true, n);
    EXPECT_TRUE(c.charger);
    EXPECT_EQ(c.fichier, QStringLiteral("c3600"));
    EXPECT_FALSE(c.FondNB || c.Precise);
    EXPECT_FALSE(choisirFond(false, false, false, false, n).charger);
}
