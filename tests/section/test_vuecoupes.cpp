// The section window's core: frames and the frame under the mouse, readouts and
// measures, the tools that annotate, crust colouring and its level rule, the
// superposition sharing one scale.
#include "section/vuecoupes.h"

#include <gtest/gtest.h>

using namespace coupe;

namespace {

// A 2000 km section with a 2000 m plateau between 800 and 1200 km, foci down to 600 km.
std::unique_ptr<TBitmapSIG> nouvelle(TImagesCoupe& im, const QString& nom, double L = 2000, bool relief = false)
{
    im.reliefAuDessus = relief;
    auto s = im.nouvelleCoupe(nom, true);
    for (int i = 0; i <= 20; ++i) {
        const double d = i * L / 20;
        s->profil.push_back({d, d >= 0.4 * L && d <= 0.6 * L ? 2000 : -3000});
    }
    for (int k = 0; k < 10; ++k) {
        s->seismes.push_back({L * (0.3 + k * 0.04), 60000 * k});
        s->magnitudes_seismes.push_back(6);
    }
    return s;
}

class VueCoupes : public ::testing::Test {
protected:
    void SetUp() override { installerRenduCoupe(); }
    // One section in the 1260 x 800 image.
    TBitmapSIG& uneCoupe(bool relief = false)
    {
        v.definirTaille(1260, 800);
        v.images.AjouterCoupe(nouvelle(v.images, "Coupe A", 2000, relief));
        v.DessinerCadres();
        return v.images.image(4);
    }
    void glisser(QPoint a, QPoint b)
    {
        ASSERT_TRUE(v.appui(a));
        v.deplacement((a + b) / 2, true);
        v.deplacement(b, true);
    }
    TVueCoupes v;
};

} // namespace

TEST_F(VueCoupes, FramesAndTheFrameUnderTheMouse)
{
    uneCoupe();
    EXPECT_EQ(v.placeCadre(0), QRect(0, 0, 1260, 800));
    EXPECT_EQ(v.CadreSous(1000, 700).cadre, 0);
    v.images.juxtaposer(2);
    v.DessinerCadres();
    EXPECT_EQ(v.placeCadre(0), QRect(0, 0, 630, 800));
    EXPECT_EQ(v.placeCadre(1), QRect(631, 0, 629, 800));
    // The black line between the frames.
    EXPECT_EQ(v.imageAffichee().pixel(630, 300), clBlack32);
    EXPECT_EQ(v.CadreSous(630, 10).cadre, 0);
    const CadreSouris droite = v.CadreSous(700, 700);
    EXPECT_EQ(droite.cadre, 1);
    EXPECT_EQ(droite.ox, 631);
    EXPECT_EQ(droite.oy, 0);
    v.images.juxtaposer(4);
    v.DessinerCadres();
    EXPECT_EQ(v.placeCadre(3), QRect(631, 401, 629, 399));
    const CadreSouris bas = v.CadreSous(100, 500);
    EXPECT_EQ(bas.cadre, 2);
    EXPECT_EQ(bas.oy, 401);
    EXPECT_EQ(v.CadreSous(700, 500).cadre, 3);
    EXPECT_EQ(v.imageCadre(3).width(), 629);
    // Each frame's picture is laid out for its own size.
    EXPECT_NEAR(v.images.image(4).echelle, (630 - 60) / 2000.0, 1e-9);
}

TEST_F(VueCoupes, ReadoutsFollowTheToolAndThePicture)
{
    const TBitmapSIG& s = uneCoupe();
    const double p = s.echelle;
    const int x = 30 + static_cast<int>(std::lround(1000 * p));
    v.deplacement(QPoint(x, s.ligne_zero_profondeur + static_cast<int>(std::lround(100 * p))), false);
    EXPECT_EQ(v.texteXP(), QStringLiteral("Coupe A : X :1000 km  - profondeur : 100 km"));
    // On the plateau's line, its altitude.
    const int y = s.ligne_niveau_mer - static_cast<int>(std::lround(2000 * p * s.exageration / 1000.0));
    v.deplacement(QPoint(x, y), false);
    EXPECT_TRUE(v.texteXP().contains(QStringLiteral("altitude : 2000 m"))) << v.texteXP().toStdString();
    EXPECT_FALSE(v.texteXP().contains(QStringLiteral("profondeur")));
    // The shape tool reads nothing but the name; nor does a legend.
    v.outil = ocForme;
    v.deplacement(QPoint(x, y), false);
    EXPECT_EQ(v.texteXP(), QStringLiteral("Coupe A"));
    v.outil = ocMesure;
    v.images.juxtaposer(2);
    v.DessinerCadres();
    v.deplacement(QPoint(900, 300), false);
    EXPECT_EQ(v.texteXP(), QStringLiteral("Légende 2"));
}

TEST_F(VueCoupes, MeasuresDipsAndHeightDifferences)
{
    const TBitmapSIG& s = uneCoupe(true);
    const int fond = s.ligne_zero_profondeur + 100;
    // A vertical line in the depths: 90°.
    glisser(QPoint(500, fond), QPoint(500, fond + 200));
    EXPECT_TRUE(v.textePente().startsWith(QStringLiteral("Pendage : 90 ° ; Distance : "))) << v.textePente().toStdString();
    // 45° down to the left.
    v.relachement(QPoint(500, fond + 200));
    glisser(QPoint(500, fond), QPoint(400, fond + 100));
    EXPECT_EQ(v.textePente(), QStringLiteral("Pendage : 45 ° ; Distance : %1 km")
                                  .arg(std::lround(std::sqrt(2.0) * 100 / s.echelle)));
    v.relachement(QPoint(400, fond + 100));
    // The measure line and its reading stay after the release.
    EXPECT_TRUE(v.mesureGardee());
    v.deplacement(QPoint(300, 300), false);
    EXPECT_FALSE(v.textePente().isEmpty());
    // Inside the relief frame: the height difference at the relief's scale.
    const int h = s.hauteur_relief;
    glisser(QPoint(300, h - 10), QPoint(500, h - 30));
    EXPECT_EQ(v.textePente(),
              QStringLiteral("Dénivelé : %1 m ; Distance horizontale: %2 km")
                  .arg(std::lround(20 / s.echelle * 1000 / s.exageration))
                  .arg(std::lround(200 / s.echelle)));
    v.relachement(QPoint(500, h - 30));
    // One point in the relief frame, one below it: nothing.
    glisser(QPoint(300, h - 10), QPoint(300, fond));
    EXPECT_TRUE(v.textePente().isEmpty());
    v.relachement(QPoint(300, fond));
    EXPECT_FALSE(v.mesureGardee() && !v.textePente().isEmpty());
    // The next press ends the kept line.
    v.appui(QPoint(10, 10));
    EXPECT_FALSE(v.mesureGardee());
}

TEST_F(VueCoupes, ToolsKeepAnnotationsInKilometres)
{
    const TBitmapSIG& s = uneCoupe();
    const double p = s.echelle;
    const int z = s.ligne_zero_profondeur;
    v.outil = ocLigne;
    v.fleche = 1;
    v.style = 1;
    glisser(QPoint(130, z + 50), QPoint(330, z + 150));
    ASSERT_TRUE(v.relachement(QPoint(330, z + 150)));
    ASSERT_EQ(s.dessins.size(), 1u);
    const TDessin& l = *s.dessins[0];
    EXPECT_EQ(l.Nature, ndLigne);
    EXPECT_NEAR(l.X1, 100 / p, 1e-3);
    EXPECT_NEAR(l.Y1, 50 / p, 1e-3);
    EXPECT_NEAR(l.X2, 300 / p, 1e-3);
    EXPECT_EQ(l.Fleche, 1);
    EXPECT_EQ(l.StyleTrait, stTirets);
    EXPECT_EQ(v.images.traces().back().libelle, QStringLiteral("Ligne 1 - Coupe A"));
    EXPECT_EQ(s.noms_dessins[0], QStringLiteral("Ligne 1"));

    v.outil = ocForme;
    v.rectangle = false;
    v.remplissage = 4;
    glisser(QPoint(600, z + 100), QPoint(600, z + 160));
    ASSERT_TRUE(v.relachement(QPoint(600, z + 160)));
    EXPECT_EQ(s.dessins[1]->Nature, ndCercle);
    EXPECT_NEAR(s.dessins[1]->Rayon, 60 / p, 1e-3);
    EXPECT_EQ(s.dessins[1]->Remplissage, 4);
    EXPECT_EQ(v.images.traces().back().libelle, QStringLiteral("Cercle 2 - Coupe A"));

    v.outil = ocCrayon;
    v.epaisseurPlus();
    glisser(QPoint(700, z + 20), QPoint(760, z + 40));
    ASSERT_TRUE(v.relachement(QPoint(780, z + 40)));
    EXPECT_EQ(s.dessins[2]->Nature, ndLibre);
    EXPECT_EQ(s.dessins[2]->Epaisseur, 1);
    EXPECT_EQ(s.dessins[2]->Trace.Points[0].size(), 4u);
    EXPECT_NEAR(s.dessins[2]->X2, 750 / p, 1e-3);

    // Measuring keeps nothing.
    v.outil = ocMesure;
    glisser(QPoint(100, z + 20), QPoint(300, z + 40));
    EXPECT_FALSE(v.relachement(QPoint(300, z + 40)));
    EXPECT_EQ(s.dessins.size(), 3u);
    EXPECT_EQ(v.images.compteurDessins(), 3);
}

TEST_F(VueCoupes, TextPlacedThenKeptAtItsCorner)
{
    const TBitmapSIG& s = uneCoupe();
    v.outil = ocTexte;
    v.definirCouleur(0xFF0000C0);
    ASSERT_TRUE(v.appui(QPoint(200, 300)));
    QFont police(QStringLiteral("DejaVu Sans"), 14);
    v.placerTexte(QPoint(200, 300), {QStringLiteral("H<sub>2</sub>O")}, police, 0);
    EXPECT_TRUE(v.placementTexte());
    // Pressing and moving with the text tool moves the block.
    v.appui(QPoint(250, 320));
    v.deplacement(QPoint(260, 330), true);
    EXPECT_EQ(v.placeTexte().topLeft(), QPoint(260, 330));
    ASSERT_TRUE(v.validerTexte(true));
    ASSERT_EQ(s.dessins.size(), 1u);
    const TDessin& t = *s.dessins[0];
    EXPECT_EQ(t.Nature, ndTexte);
    EXPECT_NEAR(t.XC, (260 - 30) / s.echelle, 1e-3);
    EXPECT_NEAR(t.YC, (330 - s.ligne_zero_profondeur) / s.echelle, 1e-3);
    EXPECT_NEAR(t.TaillePolice, 14 / s.echelle, 1e-3);
    EXPECT_EQ(t.Couleur, 0xFF0000C0u);
    EXPECT_EQ(t.Lignes, QStringList{QStringLiteral("H<sub>2</sub>O")});
    EXPECT_EQ(v.images.traces().back().libelle, QStringLiteral("Texte 1 - Coupe A"));
    // Cancelled, the block goes; another tool's press ends the placing.
    v.placerTexte(QPoint(200, 300), {QStringLiteral("x")}, police, 0);
    v.outil = ocLigne;
    v.appui(QPoint(10, 10));
    EXPECT_FALSE(v.placementTexte());
    EXPECT_EQ(s.dessins.size(), 1u);
}

TEST_F(VueCoupes, CrustColouringKeptOnlyWhenTheReliefRisesAboveItsLevel)
{
    const TBitmapSIG& s = uneCoupe(true);
    const double p = s.echelle, E = s.exageration;
    auto ligneAltitude = [&](double m) { return s.ligne_niveau_mer - static_cast<int>(std::lround(m * p * E / 1000)); };
    v.outil = ocCroute;
    v.definirCouleur(0xFFAA5500);
    // From 700 to 1300 km down to -1000 m: the plateau rises above it.
    const int x0 = 30 + static_cast<int>(std::lround(700 * p)), x1 = 30 + static_cast<int>(std::lround(1300 * p));
    glisser(QPoint(x0, ligneAltitude(2500)), QPoint(x1, ligneAltitude(-1000)));
    ASSERT_TRUE(v.relachement(QPoint(x1, ligneAltitude(-1000))));
    ASSERT_EQ(s.zones_croute.size(), 1u);
    const ZoneCroute& z = s.zones_croute[0];
    EXPECT_NEAR(z.debut, 700, 2);
    EXPECT_NEAR(z.fin, 1300, 2);
    EXPECT_NEAR(z.niveau, -1000, 40);
    EXPECT_EQ(z.style, 1); // an empty fill style colours it plain
    EXPECT_EQ(z.couleur, 0xFFAA5500u);
    EXPECT_EQ(v.images.traces().back().libelle, QStringLiteral("1 - coloration Coupe A"));
    EXPECT_EQ(v.imageAffichee().pixel((x0 + x1) / 2, ligneAltitude(0)), 0xFFAA5500u);

    // A level above every sample in the range keeps nothing and has no entry.
    glisser(QPoint(x0, ligneAltitude(5000)), QPoint(x1, ligneAltitude(2500)));
    EXPECT_FALSE(v.relachement(QPoint(x1, ligneAltitude(2500))));
    EXPECT_EQ(s.zones_croute.size(), 1u);
    EXPECT_EQ(v.images.traces().size(), 1u);
    // A press below the relief frame, or no width: nothing.
    glisser(QPoint(x0, s.ligne_zero_profondeur + 10), QPoint(x1, s.ligne_zero_profondeur + 50));
    EXPECT_FALSE(v.relachement(QPoint(x1, s.ligne_zero_profondeur + 50)));
    glisser(QPoint(x0, ligneAltitude(2500)), QPoint(x0, ligneAltitude(-1000)));
    EXPECT_FALSE(v.relachement(QPoint(x0, ligneAltitude(-1000))));
    // Beyond the section's end it is cut to the last sample.
    glisser(QPoint(x0, ligneAltitude(2500)), QPoint(1250, ligneAltitude(-4000)));
    ASSERT_TRUE(v.relachement(QPoint(1250, ligneAltitude(-4000))));
    EXPECT_DOUBLE_EQ(s.zones_croute[1].fin, 2000);
    EXPECT_EQ(v.images.compteurDessins(), 2);
}

TEST_F(VueCoupes, ColourPickerAndThickness)
{
    const TBitmapSIG& s = uneCoupe();
    v.outil = ocPipette;
    // The first focus, at the surface, in the earthquake colour.
    const QPoint foyer(30 + static_cast<int>(std::lround(600 * s.echelle)), s.ligne_zero_profondeur);
    ASSERT_TRUE(v.appui(foyer));
    EXPECT_EQ(v.couleur, CouleurSeismesDefaut);
    EXPECT_EQ(v.outil, ocCrayon);
    for (int i = 0; i < 20; ++i)
        v.epaisseurPlus();
    EXPECT_EQ(v.epaisseur, 11);
    for (int i = 0; i < 20; ++i)
        v.epaisseurMoins();
    EXPECT_EQ(v.epaisseur, 0);
}

TEST_F(VueCoupes, SuperposedSectionsShareTheSmallerScaleAndTheUpperOneSlides)
{
    v.definirTaille(1260, 800);
    v.images.AjouterCoupe(nouvelle(v.images, "Longue", 3000));
    v.images.AjouterCoupe(nouvelle(v.images, "Courte", 1000));
    v.images.superposer();
    v.DessinerCadres();
    const TBitmapSIG& haut = v.images.image(v.images.cadre(0));
    const TBitmapSIG& bas = v.images.image(v.images.cadre(1));
    EXPECT_EQ(haut.nom, QStringLiteral("Courte"));
    EXPECT_EQ(haut.echelle, bas.echelle);
    EXPECT_NEAR(bas.echelle, 1200.0 / 3000, 1e-9);
    EXPECT_EQ(haut.mise_en_page, 0);
    EXPECT_EQ(haut.couleur_fond, TeinteSuperpositionDefaut);
    EXPECT_EQ(alphaOf(bas.couleur_fond), 0u);
    EXPECT_EQ(v.placeCadre(0), QRect(0, 0, 1260, 800));
    // Always frame 0 under the mouse.
    EXPECT_EQ(v.CadreSous(1200, 700).cadre, 0);
    // The upper section's tint veils the lower one where they overlap.
    const QPoint p(30 + static_cast<int>(std::lround(2000 * bas.echelle)), bas.ligne_zero_profondeur + 1);
    const TColor32 voile = v.pixelAffiche(p);
    // Sliding moves only the upper frame.
    const TBitmap32 avant = v.imageCadre(1);
    v.definirDecalageSuperposition(200);
    EXPECT_EQ(v.imageCadre(1), avant);
    EXPECT_EQ(v.CadreSous(10, 10).ox, 200);
    v.definirDecalageSuperposition(5000);
    EXPECT_EQ(v.decalageSuperposition(), 630);
    Q_UNUSED(voile);
}
