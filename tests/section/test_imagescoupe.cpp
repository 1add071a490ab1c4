// The picture list of the section window: frames as sections come and go, the
// undo entries and erase items through deletions, reversing, the exaggeration,
// and random sequences of commands that must keep the bookkeeping consistent.
#include "section/imagescoupe.h"
#include "section/renducoupe.h"

#include <gtest/gtest.h>

#include <random>

using namespace coupe;

namespace {

std::unique_ptr<TBitmapSIG> coupeSimple(TImagesCoupe& im, const QString& nom, double L = 1000)
{
    auto s = im.nouvelleCoupe(nom, true);
    for (int i = 0; i <= 10; ++i)
        s->profil.push_back({i * L / 10, 500 + 100 * (i % 3)});
    s->seismes.push_back({L / 4, 50000});
    s->magnitudes_seismes.push_back(5.5f);
    s->seismes.push_back({L / 2, 200000});
    s->magnitudes_seismes.push_back(6.5f);
    s->volcans.push_back({L / 3, 1500});
    s->echelle = 0.5;
    return s;
}

std::unique_ptr<TDessin> ligne(float x1, float x2)
{
    auto d = std::make_unique<TDessin>();
    d->Nature = ndLigne;
    d->X1 = x1;
    d->Y1 = 10;
    d->X2 = x2;
    d->Y2 = 40;
    return d;
}

ZoneCroute zone(double debut, double fin)
{
    ZoneCroute z;
    z.couleur = 0xFF00AA00;
    z.style = 1;
    z.debut = debut;
    z.fin = fin;
    z.niveau = -500;
    return z;
}

std::array<int, 4> cadres(const TImagesCoupe& im)
{
    return {im.cadre(0), im.cadre(1), im.cadre(2), im.cadre(3)};
}

} // namespace

TEST(ImagesCoupe, FourLegendsAtCreation)
{
    TImagesCoupe im;
    EXPECT_EQ(im.nombre(), 4);
    EXPECT_TRUE(im.aucuneCoupe());
    EXPECT_EQ(im.nomsMenus(), (QStringList{"Légende 1", "Légende 2", "Légende 3", "Légende 4"}));
    EXPECT_EQ(cadres(im), (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_EQ(im.image(2).echelle, 1.0);
    EXPECT_EQ(im.image(2).Nature, nbLegende);
    EXPECT_EQ(im.verifier(), QString());
}

TEST(ImagesCoupe, ThreeSectionsFillOneTwoThenFourFrames)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    EXPECT_EQ(im.nombreCadres(), 1);
    EXPECT_FALSE(im.aucuneCoupe());
    im.AjouterCoupe(coupeSimple(im, "B"));
    EXPECT_EQ(im.nombreCadres(), 2);
    im.AjouterCoupe(coupeSimple(im, "C"));
    EXPECT_EQ(im.nombreCadres(), 4);
    // The third, second and first section, then the third legend.
    EXPECT_EQ(cadres(im), (std::array<int, 4>{6, 5, 4, 2}));
    EXPECT_EQ(im.image(im.cadre(3)).nom, QStringLiteral("Légende 3"));
    EXPECT_EQ(im.nomsMenus().mid(4), (QStringList{"A", "B", "C"}));
    // A fourth keeps four frames and moves every frame on.
    im.AjouterCoupe(coupeSimple(im, "D"));
    EXPECT_EQ(cadres(im), (std::array<int, 4>{7, 6, 5, 4}));
    // Superposed, the upper section goes under the new one.
    im.superposer();
    EXPECT_EQ(im.cadre(0), 7);
    EXPECT_EQ(im.cadre(1), 6);
    im.AjouterCoupe(coupeSimple(im, "E"));
    EXPECT_EQ(im.cadre(0), 8);
    EXPECT_EQ(im.cadre(1), 7);
    EXPECT_EQ(im.nombreCadres(), 1);
    EXPECT_TRUE(im.superpositionEffective());
    EXPECT_EQ(im.verifier(), QString());
}

TEST(ImagesCoupe, DeletingTheOnlySectionAndStartingAgain)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    im.juxtaposer(4);
    EXPECT_TRUE(im.supprimerDerniereCoupe());
    EXPECT_TRUE(im.aucuneCoupe());
    EXPECT_EQ(cadres(im), (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_FALSE(im.supprimerDerniereCoupe()); // only legends left
    im.AjouterCoupe(coupeSimple(im, "B"));
    EXPECT_EQ(im.nombreCadres(), 1);
    EXPECT_EQ(im.cadre(0), 4);
    // Through the context menu as well.
    EXPECT_TRUE(im.supprimerImage(4, 0));
    EXPECT_TRUE(im.aucuneCoupe());
    EXPECT_EQ(im.verifier(), QString());
}

TEST(ImagesCoupe, DeletingOneSectionRenumbersFramesAndUndoEntries)
{
    TImagesCoupe im;
    for (const char* n : {"A", "B", "C"})
        im.AjouterCoupe(coupeSimple(im, n));
    // Frames: C, B, A, legend 3. Annotations on A (index 4), B (5) and C (6).
    im.ajouterDessin(4, ligne(1, 2), "Ligne 1");
    im.ajouterDessin(5, ligne(3, 4), "Ligne 2");
    im.ajouterZone(5, zone(100, 200), "3 - coloration B");
    im.ajouterDessin(6, ligne(5, 6), "Ligne 4");
    ASSERT_EQ(im.traces().size(), 4u);
    EXPECT_EQ(im.traces()[1].libelle, QStringLiteral("Ligne 2 - B"));

    // B goes (shown in frame 1 of four): its entries go, C's move down.
    ASSERT_TRUE(im.supprimerImage(5, 1));
    EXPECT_EQ(im.nomsMenus().mid(4), (QStringList{"A", "C"}));
    EXPECT_EQ(im.image(5).nom, QStringLiteral("C"));
    EXPECT_EQ(im.image(5).index, 5);
    ASSERT_EQ(im.traces().size(), 2u);
    EXPECT_EQ(im.traces()[1].action, (ActionCoupe{5, 0, false}));
    // Frame 0 showed C (now 5), frame 2 showed A; the clicked frame shows its legend.
    EXPECT_EQ(cadres(im), (std::array<int, 4>{5, 1, 4, 2}));
    EXPECT_EQ(im.verifier(), QString());

    // Undo removes C's line, then A's.
    EXPECT_TRUE(im.annuler());
    EXPECT_TRUE(im.image(5).dessins.empty());
    EXPECT_EQ(im.image(4).dessins.size(), 1u);
    EXPECT_TRUE(im.annuler());
    EXPECT_TRUE(im.image(4).dessins.empty());
    EXPECT_FALSE(im.peutAnnuler());
    EXPECT_EQ(im.verifier(), QString());

    // With one frame the clicked frame shows the last picture.
    im.juxtaposer(1);
    ASSERT_TRUE(im.supprimerImage(4, 0));
    EXPECT_EQ(im.cadre(0), 4);
    EXPECT_EQ(im.image(4).nom, QStringLiteral("C"));
}

TEST(ImagesCoupe, DeletingTheLastSectionForgetsItsEntries)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    im.AjouterCoupe(coupeSimple(im, "B"));
    im.ajouterDessin(5, ligne(1, 2), "Ligne 1");
    im.ajouterDessin(4, ligne(1, 2), "Ligne 2");
    im.ajouterZone(5, zone(10, 20), "3 - coloration B");
    ASSERT_TRUE(im.supprimerDerniereCoupe());
    ASSERT_EQ(im.traces().size(), 1u);
    EXPECT_EQ(im.traces()[0].action, (ActionCoupe{4, 0, false}));
    // The frame that showed B shows its own legend.
    EXPECT_EQ(cadres(im), (std::array<int, 4>{0, 4, 2, 3}));
    EXPECT_EQ(im.verifier(), QString());
}

TEST(ImagesCoupe, ErasingAnItemLowersTheLaterOnesOfThatPictureAndKind)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    im.ajouterDessin(4, ligne(1, 2), "Ligne 1");
    im.ajouterZone(4, zone(10, 20), "2 - coloration A");
    im.ajouterDessin(4, ligne(3, 4), "Ligne 3");
    im.ajouterZone(4, zone(30, 40), "4 - coloration A");
    im.ajouterDessin(0, ligne(5, 6), "Ligne 5");
    ASSERT_TRUE(im.effacerTrace(0));
    EXPECT_EQ(im.traces()[0].action, (ActionCoupe{4, 0, true}));
    EXPECT_EQ(im.traces()[1].action, (ActionCoupe{4, 0, false}));
    EXPECT_EQ(im.traces()[2].action, (ActionCoupe{4, 1, true}));
    EXPECT_EQ(im.traces()[3].action, (ActionCoupe{0, 0, false}));
    EXPECT_FLOAT_EQ(im.image(4).dessins[0]->X1, 3);
    ASSERT_TRUE(im.effacerTrace(0));
    EXPECT_EQ(im.image(4).zones_croute.size(), 1u);
    EXPECT_DOUBLE_EQ(im.image(4).zones_croute[0].debut, 30);
    EXPECT_EQ(im.traces()[1].action, (ActionCoupe{4, 0, true}));
    // Clearing a legend takes its entries with its annotations.
    ASSERT_TRUE(im.supprimerImage(0, 0));
    EXPECT_EQ(im.traces().size(), 2u);
    EXPECT_FALSE(im.effacerTrace(5));
    EXPECT_EQ(im.verifier(), QString());
}

TEST(ImagesCoupe, ReversingTwiceGivesTheSectionBack)
{
    installerRenduCoupe();
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A", 1234.5));
    TBitmapSIG& s = im.image(4);
    s.zones_croute.push_back(zone(100, 300));
    s.relief_au_dessus = true;
    s.AjouterDessin(ligne(100, 400), "Ligne 1");
    auto cercle = std::make_unique<TDessin>();
    cercle->Nature = ndCercle;
    cercle->XC = 200;
    cercle->YC = 50;
    cercle->Rayon = 30;
    s.AjouterDessin(std::move(cercle), "Cercle 2");
    auto texte = std::make_unique<TDessin>();
    texte->Nature = ndTexte;
    texte->XC = 600;
    texte->YC = -20;
    texte->Lignes = QStringList{"Fosse", "H<sub>2</sub>O"};
    texte->TaillePolice = 20;
    s.AjouterDessin(std::move(texte), "Texte 3");
    auto libre = std::make_unique<TDessin>();
    libre->Nature = ndLibre;
    libre->Epaisseur = 1;
    libre->Trace.Add(50.25, 10);
    libre->Trace.Add(70.5, 30);
    libre->X1 = 50.25f;
    libre->X2 = 70.5f;
    s.AjouterDessin(std::move(libre), "Dessin libre 4");

    TBitmap32 avant(900, 500), apres(900, 500), miroir(900, 500);
    DessinerDocument(s, avant);
    const double L = s.profil.back().distance;
    const std::vector<PointProfil> profil = s.profil;

    ASSERT_TRUE(im.inverser(4));
    EXPECT_DOUBLE_EQ(s.profil.front().distance, 0);
    EXPECT_EQ(s.profil.front().altitude, profil.back().altitude);
    EXPECT_DOUBLE_EQ(s.seismes[0].distance, L / 2);
    EXPECT_FLOAT_EQ(s.magnitudes_seismes[0], 6.5f);
    EXPECT_DOUBLE_EQ(s.zones_croute[0].debut, L - 300);
    EXPECT_DOUBLE_EQ(s.zones_croute[0].fin, L - 100);
    EXPECT_FLOAT_EQ(s.dessins[0]->X1, static_cast<float>(L - 100));
    EXPECT_FLOAT_EQ(s.dessins[1]->XC, static_cast<float>(L - 200));
    DessinerDocument(s, miroir);
    EXPECT_NE(miroir, avant);

    ASSERT_TRUE(im.inverser(4));
    for (std::size_t i = 0; i < profil.size(); ++i) {
        EXPECT_NEAR(s.profil[i].distance, profil[i].distance, 1e-9);
        EXPECT_EQ(s.profil[i].altitude, profil[i].altitude);
    }
    EXPECT_NEAR(s.dessins[2]->XC, 600, 1e-3);
    DessinerDocument(s, apres);
    EXPECT_EQ(apres, avant);
    // A legend is not reversed.
    EXPECT_FALSE(im.inverser(0));
}

TEST(ImagesCoupe, ExaggerationAndDefaultsForNewSections)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    im.definirExageration(20);
    EXPECT_EQ(im.image(4).exageration, 20);
    im.definirExageration(3); // not a menu factor
    EXPECT_EQ(im.exageration(), 20);
    im.couleurProfil = 0xFF123456;
    im.reliefAuDessus = true;
    auto s = im.nouvelleCoupe("N", false);
    EXPECT_EQ(s->exageration, 20);
    EXPECT_EQ(s->couleur_profil, 0xFF123456u);
    EXPECT_TRUE(s->relief_au_dessus);
    EXPECT_TRUE(s->zones_visibles);
    EXPECT_FALSE(s->points_epais);
    EXPECT_EQ(s->marge_gauche, 30);
    EXPECT_EQ(s->marge_droite, 30);
}

TEST(ImagesCoupe, SuperposingKeepsTwoOfTheDisplayedSections)
{
    TImagesCoupe im;
    im.AjouterCoupe(coupeSimple(im, "A"));
    im.superposer();
    // A lone section lies over the second legend, and nothing is superposed yet.
    EXPECT_EQ(im.cadre(0), 4);
    EXPECT_EQ(im.cadre(1), 1);
    EXPECT_FALSE(im.superpositionEffective());
    im.juxtaposer(4);
    for (const char* n : {"B", "C"})
        im.AjouterCoupe(coupeSimple(im, n));
    im.afficherDans(0, 0);
    // Frames: legend 1, B, A, legend 3.
    im.superposer();
    EXPECT_EQ(im.cadre(0), 5);
    EXPECT_EQ(im.cadre(1), 4);
    EXPECT_TRUE(im.superpositionEffective());
    EXPECT_EQ(im.cadresAffiches(), 2);
}

// Random sequences of every command on the list: after each, every frame shows an
// existing picture, the menus name the pictures at their places, and every undo
// entry points at an existing annotation or colouring (and each has one).
TEST(ImagesCoupe, RandomSequencesKeepTheBookkeepingConsistent)
{
    std::mt19937 rng(20240607);
    for (int essai = 0; essai < 300; ++essai) {
        TImagesCoupe im;
        int noms = 0;
        for (int pas = 0; pas < 60; ++pas) {
            const int op = std::uniform_int_distribution<int>(0, 10)(rng);
            auto au = [&](int n) { return std::uniform_int_distribution<int>(0, std::max(0, n - 1))(rng); };
            switch (op) {
            case 0:
            case 1:
                im.AjouterCoupe(coupeSimple(im, QStringLiteral("C%1").arg(++noms)));
                break;
            case 2:
                im.supprimerDerniereCoupe();
                break;
            case 3:
                im.supprimerImage(au(im.nombre()), au(4));
                break;
            case 4:
            case 5:
                im.ajouterDessin(au(im.nombre()), ligne(1, 2), QStringLiteral("Ligne %1").arg(im.prochainNumero()));
                break;
            case 6: {
                const int i = au(im.nombre());
                if (im.estCoupe(i))
                    im.ajouterZone(i, zone(10, 50), QStringLiteral("%1 - coloration").arg(im.prochainNumero()));
                break;
            }
            case 7:
                im.annuler();
                break;
            case 8:
                im.effacerTrace(au(static_cast<int>(im.traces().size())));
                break;
            case 9:
                im.inverser(au(im.nombre()));
                break;
            case 10: {
                const int d = au(5);
                if (d == 0)
                    im.superposer();
                else if (d == 4)
                    im.afficherDans(au(4), au(im.nombre()));
                else
                    im.juxtaposer(d == 1 ? 1 : d == 2 ? 2 : 4);
                break;
            }
            }
            const QString faute = im.verifier();
            ASSERT_TRUE(faute.isEmpty()) << "essai " << essai << ", pas " << pas << ", op " << op << ": "
                                         << faute.toStdString();
            const QStringList menus = im.nomsMenus();
            ASSERT_EQ(menus.size(), im.nombre());
            for (int i = 0; i < im.nombre(); ++i)
                ASSERT_EQ(menus[i], im.image(i).nom);
        }
    }
}
