// The sea-level, population and ocean-floor age items of the map window, and the
// calculator, driven without a display on a start folder of their own.
#include "data/data_test_util.h"
#include "map/agefonds.h"
#include "map/motifnombre.h"
#include "map/windows/commandesniveau.h"
#include "map/windows/delimCarte.h"
#include "map/windows/echage.h"
#include "map/windows/variniv.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "niveau_test_util.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "carte_test_util.h"

#include <gtest/gtest.h>

namespace {

// The map's 360 x 180 picture: pixel (x, y) is latitude 90 - y, longitude x - 180.
QPoint pixel(double lat, double lon)
{
    return {static_cast<int>(std::lround(lon + 180)), static_cast<int>(std::lround(90 - lat))};
}

TBitmap32 imageAges(int w, int h, std::uint32_t bleu)
{
    TBitmap32 b(w, h, clWhite32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            b.setPixel(x, y, color32(200, static_cast<std::uint32_t>(y * 255 / h), bleu));
    return b;
}

class FenetreNiveau : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        d = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(savePicture(d + QStringLiteral("c3600.png"), TBitmap32(360, 180, 0xFF336699)));
        ASSERT_TRUE(savePicture(d + QStringLiteral("c7200.png"), TBitmap32(720, 360, 0xFF336699)));
        ecrireFichier(QStringLiteral("config.obc"),
                      "c3600.png\nnb3600.png\nc7200.png\nnb7200.png\nt.gps\ns.fse\nv.fvo\ntopo_10.bil\npop.tdp\n");
        GrilleMonde m(-3000);
        m.bloc(-30, 60, -20, 60, 200); // a continent
        m.bloc(10, 20, -20, 20, 5);    // a coastal plain open to the west
        m.bloc(40, 45, 40, 45, -20);   // a closed depression
        ecrireFichier(QStringLiteral("topo_10.bil"), m.octets());
        ecrireFichier(QStringLiteral("pop.tdp"),
                      fichierPopulation(0, {{lignePopulation(15.125), colonnePopulation(15), 1200},
                                            {lignePopulation(42.125), colonnePopulation(42), 800},
                                            {lignePopulation(30.125), colonnePopulation(30), 5000},
                                            {lignePopulation(0.125), colonnePopulation(-100), 7}}));
        ASSERT_TRUE(savePicture(d + QStringLiteral("age_unavcob.png"), imageAges(180, 90, 50)));
        ASSERT_TRUE(savePicture(d + QStringLiteral("echelle_age.png"), TBitmap32(40, 120, 0xFF00AA00)));
    }
    void ecrireFichier(const QString& nom, const QByteArray& o)
    {
        QFile f(d + nom);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(o);
    }
    std::unique_ptr<TCarte> carte()
    {
        auto c = std::make_unique<TCarte>(dir.path(), donnees);
        EXPECT_TRUE(c->demarrer());
        return c;
    }
    static TColor32 px(TCarte& c, Calque k, const QPoint& p) { return c.calque(k)->bitmap.pixel(p.x(), p.y()); }
    // Sets the level and presses OK.
    static void niveau(TVariNiv& v, int L)
    {
        v.Altimer->setValue(L);
        v.OK->click();
    }

    QTemporaryDir dir;
    QString d;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
};

} // namespace

TEST_F(FenetreNiveau, SeaLevelOpensTheCalculatorAtLevelZeroAndWritesTheTable)
{
    auto c = carte();
    QAction* item = enfant<QAction>(*c, "Niveaumarinsi1");
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(enfant<QAction>(*c, "Population1")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(*c, "agedesfondsoceaniques1")->isEnabled());
    EXPECT_FALSE(enfant<QAction>(*c, "CalculetableSurfVol1")->isVisible());
    EXPECT_EQ(c->niveau().variNiv(), nullptr);

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    TVariNiv* v = c->niveau().variNiv();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Paramètres et calculs de simulation de variation du niveau marin"));
    // The depth table: two header rows, then 0 … 11 000 m.
    ASSERT_EQ(v->TableauVol->rowCount(), 113);
    EXPECT_EQ(v->TableauVol->item(0, 0)->text(), QStringLiteral("Profondeur"));
    EXPECT_EQ(v->TableauVol->item(0, 1)->text(), QStringLiteral("Volume"));
    EXPECT_EQ(v->TableauVol->item(1, 0)->text(), QStringLiteral("(m)"));
    EXPECT_EQ(v->TableauVol->item(1, 1)->text(), QStringLiteral("(km3)"));
    EXPECT_EQ(v->TableauVol->item(2, 0)->text(), QStringLiteral("0"));
    EXPECT_EQ(v->TableauVol->item(2, 1)->text(), QStringLiteral("0"));
    EXPECT_EQ(v->TableauVol->item(112, 0)->text(), QStringLiteral("11\u202F000"));
    EXPECT_DOUBLE_EQ(v->CDilat->value(), 0.00026);

    // Level 0 at once: land green, sea blue, no texts, no population.
    EXPECT_TRUE(c->scene().affiche(Calque::NiveauMarin));
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(30, 30)), CouleurTerre);
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(0, -100)), CouleurMer);
    EXPECT_TRUE(v->Lvarisurf->text().isEmpty());
    EXPECT_TRUE(v->LVol->text().isEmpty());
    EXPECT_EQ(v->PopMenace->text(), QStringLiteral("Population menacée : non calculée"));
    EXPECT_FALSE(c->niveau().popmenac()->isVisibleTo(c.get()));

    // The table written for compatibility, equal to the one in use.
    EXPECT_EQ(QFile(c->niveau().cheminTable()).size(), 8184);
    TTableSurfVol lue;
    ASSERT_TRUE(lireTableSurfVol(c->niveau().cheminTable(), lue));
    EXPECT_EQ(lue, c->niveau().simulation().table());
    EXPECT_TRUE(script.shown.empty());

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(c->scene().affiche(Calque::NiveauMarin));
    EXPECT_FALSE(v->isVisible());
    // The layer keeps its picture while hidden and comes back as it was.
    EXPECT_TRUE(c->calqueAUneImage(Calque::NiveauMarin));
    item->trigger();
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(c->scene().affiche(Calque::NiveauMarin));
}

TEST_F(FenetreNiveau, LevelsRiseAndFallWithTheirTextsAndTheThreatenedPeople)
{
    auto c = carte();
    enfant<QAction>(*c, "Population1")->trigger();
    EXPECT_TRUE(c->scene().affiche(Calque::Population));
    EXPECT_DOUBLE_EQ(c->niveau().totalMonde(), 7007);
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    TVariNiv& v = *c->niveau().variNiv();
    QLabel* popmenac = c->niveau().popmenac();

    // -10 m: uncovered sea floor, the population is not counted.
    niveau(v, -10);
    EXPECT_TRUE(v.Lvarisurf->text().startsWith(QStringLiteral("Surface dégagée : ")));
    EXPECT_EQ(v.PopMenace->text(), QStringLiteral("Population menacée : non calculée"));
    EXPECT_FALSE(popmenac->isVisibleTo(c.get()));

    // +10 m: the plain, the depression and the sea cell are below the level.
    niveau(v, 10);
    EXPECT_TRUE(v.Lvarisurf->text().startsWith(QStringLiteral("Surface recouverte : ")));
    EXPECT_TRUE(v.LVol->text().startsWith(QStringLiteral("Volume d'eau correspondant : ")));
    EXPECT_EQ(v.PopMenace->text(), QStringLiteral("Population menacée : 2\u202F000 personnes (29 %)"));
    EXPECT_TRUE(popmenac->isVisibleTo(c.get()));
    EXPECT_EQ(popmenac->text(), v.PopMenace->text());
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(15, 0)), CouleurMer);
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(42, 42)), CouleurMer);

    // Connected to the ocean only: the closed depression stays dry and apart.
    const QString volumePlain = v.LVol->text();
    v.ReliesOcean->setChecked(true);
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(42, 42)), CouleurIsolee);
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(15, 0)), CouleurMer);
    EXPECT_EQ(v.PopMenace->text(), QStringLiteral("Population menacée : 1\u202F000 personnes (14 %)"));
    EXPECT_NE(v.LVol->text(), volumePlain);
    EXPECT_EQ(v.TableauVol->item(3, 1)->text(),
              formatMotif(c->niveau().simulation().tableReliee().U[1], QStringLiteral("###,###,##0")));
    v.ReliesOcean->setChecked(false);
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(42, 42)), CouleurMer);

    // Hiding the population hides the count.
    enfant<QAction>(*c, "Population1")->trigger();
    EXPECT_FALSE(popmenac->isVisibleTo(c.get()));
    EXPECT_EQ(v.PopMenace->text(), QStringLiteral("Population menacée : non calculée"));
}

TEST_F(FenetreNiveau, UnwritableTableFileCostsOnlyThatFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ModSVfH.fmo")));
    auto c = carte();
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(script.shown[0].text.contains(QDir::toNativeSeparators(c->niveau().cheminTable())))
        << script.shown[0].text.toStdString();
    TVariNiv& v = *c->niveau().variNiv();
    niveau(v, 20);
    EXPECT_FALSE(v.Lvarisurf->text().isEmpty());
    EXPECT_EQ(px(*c, Calque::NiveauMarin, pixel(15, 0)), CouleurMer);
    // Said once per run, even when the layer is prepared again.
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    enfant<QAction>(*c, "Viderlamemoire1")->trigger();
    EXPECT_FALSE(c->calqueAUneImage(Calque::NiveauMarin));
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    EXPECT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(c->calqueAUneImage(Calque::NiveauMarin));
    // The hidden command says it plainly.
    enfant<QAction>(*c, "CalculetableSurfVol1")->trigger();
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_EQ(script.shown[1].kind, MsgKind::Error);
}

TEST_F(FenetreNiveau, HiddenCommandWritesTheTable)
{
    auto c = carte();
    enfant<QAction>(*c, "CalculetableSurfVol1")->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Information);
    TTableSurfVol lue;
    ASSERT_TRUE(lireTableSurfVol(c->niveau().cheminTable(), lue));
    EXPECT_EQ(lue, calculerTableSurfVol(VueAltitudes::de(c->Grille)));
}

TEST_F(FenetreNiveau, PopulationFileMissingOrOfTheWrongSizeLeavesTheLayerOff)
{
    for (const QByteArray& contenu : {QByteArray(), fichierPopulation(5, {})}) {
        if (contenu.isEmpty())
            QFile::remove(d + QStringLiteral("pop.tdp"));
        else
            ecrireFichier(QStringLiteral("pop.tdp"), contenu);
        script.shown.clear();
        auto c = carte();
        QAction* item = enfant<QAction>(*c, "Population1");
        item->trigger();
        EXPECT_FALSE(item->isChecked());
        EXPECT_FALSE(c->scene().affiche(Calque::Population));
        EXPECT_FALSE(c->calqueAUneImage(Calque::Population));
        ASSERT_EQ(script.shown.size(), 1u);
        EXPECT_TRUE(script.shown[0].text.contains(QDir::toNativeSeparators(d + QStringLiteral("pop.tdp"))))
            << script.shown[0].text.toStdString();
    }
}

TEST_F(FenetreNiveau, PopulationFollowsTheDisplayChoicesAndTheBasePicture)
{
    // A crowded square, so that the 360-pixel map shows it.
    std::vector<std::tuple<int, int, std::uint32_t>> foule;
    for (int r = lignePopulation(20); r <= lignePopulation(10); ++r)
        for (int i = colonnePopulation(10); i <= colonnePopulation(20); ++i)
            foule.emplace_back(r, i, 100000);
    ecrireFichier(QStringLiteral("pop.tdp"), fichierPopulation(0, foule));
    auto c = carte();
    enfant<QAction>(*c, "Population1")->trigger();
    const QPoint plaine = pixel(15, 15);
    const TColor32 avant = px(*c, Calque::Population, plaine);
    EXPECT_EQ(avant & 0x00FFFFFF, 0x00FF0000u);
    EXPECT_GT(alphaOf(avant), 0u);
    c->Reglages.CouleurPopulation = 0xFF00FF00;
    c->scene().reconstruireCalques();
    EXPECT_EQ(px(*c, Calque::Population, plaine) & 0x00FFFFFF, 0x0000FF00u);
    // A precise base picture: every overlay at its size.
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    enfant<QAction>(*c, "agedesfondsoceaniques1")->trigger();
    c->changerFond(false, true);
    ASSERT_EQ(c->Etat.W, 720);
    for (Calque k : {Calque::Population, Calque::NiveauMarin, Calque::AgeFonds}) {
        EXPECT_EQ(c->calque(k)->bitmap.width(), 720) << static_cast<int>(k);
        EXPECT_EQ(c->calque(k)->location, QRect(0, 0, 720, 360)) << static_cast<int>(k);
    }
    EXPECT_EQ(c->calque(Calque::NiveauMarin)->bitmap.pixel(2 * 210, 2 * 60), CouleurTerre);
}

TEST_F(FenetreNiveau, AgeOverlayWithItsLegendReloadedAfterOffAndOn)
{
    auto c = carte();
    QAction* item = enfant<QAction>(*c, "agedesfondsoceaniques1");
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    TBitmapLayer* l = c->calque(Calque::AgeFonds);
    ASSERT_EQ(l->bitmap.width(), 360);
    EXPECT_TRUE(l->visible);
    EXPECT_EQ(l->bitmap.pixel(10, 20), imageAges(180, 90, 50).pixel(5, 10));
    EXPECT_EQ(l->bitmap.pixel(300, 20), clTransparentWhite32); // white made transparent
    TEchage* e = c->niveau().echage();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Légende"));
    EXPECT_EQ(e->legende->pixmap().size(), QSize(40, 120));

    item->trigger();
    EXPECT_TRUE(l->bitmap.isEmpty());
    EXPECT_FALSE(l->visible);
    EXPECT_FALSE(e->isVisible());

    // On again: the picture is read again, and laid over the shifted map.
    ASSERT_TRUE(savePicture(d + QStringLiteral("age_unavcob.png"), imageAges(180, 90, 99)));
    enfant<QScrollBar>(*c, "decalage")->setValue(90);
    item->trigger();
    TBitmap32 attendu;
    remplirCalqueAge(attendu, imageAges(180, 90, 99), 360, 180, 90);
    EXPECT_EQ(l->bitmap, attendu);
    EXPECT_EQ(l->bitmap.pixel(100, 20), imageAges(180, 90, 99).pixel(5, 10));
    // A shift rolls it like the map.
    enfant<QScrollBar>(*c, "decalage")->setValue(0);
    remplirCalqueAge(attendu, imageAges(180, 90, 99), 360, 180, 0);
    EXPECT_EQ(l->bitmap, attendu);
    EXPECT_TRUE(script.shown.empty());
}

TEST_F(FenetreNiveau, AgePictureMissingLeavesTheOverlayOff)
{
    QFile::remove(d + QStringLiteral("age_unavcob.png"));
    auto c = carte();
    QAction* item = enfant<QAction>(*c, "agedesfondsoceaniques1");
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(c->calque(Calque::AgeFonds)->bitmap.isEmpty());
    EXPECT_FALSE(c->niveau().echage()->isVisible());
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].text.contains(QDir::toNativeSeparators(d + QStringLiteral("age_unavcob.png"))));
}

TEST_F(FenetreNiveau, CalculatorTurnsWarmingAndVolumesIntoLevels)
{
    auto c = carte();
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    TVariNiv& v = *c->niveau().variNiv();
    const TTableSurfVol& t = c->niveau().simulation().table();

    // Thermal expansion of the water above 700 m (the row chosen at first).
    EXPECT_EQ(v.TableauVol->currentRow(), 9);
    EXPECT_DOUBLE_EQ(v.volumeLigneChoisie(), t.U[7]);
    v.ElevT->setValue(1);
    v.Calculer->click();
    const double dv = t.U[7] * 0.00026;
    EXPECT_EQ(v.AugmVol->text(), texteAugmentationVolume(dv));
    EXPECT_EQ(v.Remontee->text(), texteRemontee(niveauPourVolume(t.V, dv)));
    EXPECT_TRUE(v.Remontee->text().startsWith(QStringLiteral("Remontée du niveau marin (m) : ")));
    // A clicked cell goes to the edit.
    v.TableauVol->setCurrentCell(12, 1);
    v.TableauVolClick(12, 1);
    EXPECT_EQ(v.Edit1->text(), v.TableauVol->item(12, 1)->text());

    // Three million km³ more water: the level found is put in the level box.
    const QImage schemaAvant = v.Schema->pixmap().toImage();
    v.ChVarVolEau->setValue(3);
    EXPECT_NE(v.Schema->pixmap().toImage(), schemaAvant);
    v.Calcul2->click();
    const std::optional<double> l = niveauPourVolume(t.V, 3e6);
    ASSERT_TRUE(l.has_value());
    EXPECT_EQ(v.Remontee2->text(), texteRemontee(l));
    EXPECT_EQ(v.Altimer->value(), std::lround(*l));
    EXPECT_TRUE(v.BCarte->isEnabled());
    v.BCarte->click();
    EXPECT_FALSE(v.BCarte->isEnabled());
    EXPECT_FALSE(v.Lvarisurf->text().isEmpty());

    // Beyond the table: said, and the level box left alone.
    v.ChVarVolEau->setValue(60);
    v.VarVolDors->setValue(60);
    v.VarvolSed->setValue(60);
    v.Calcul2->click();
    EXPECT_EQ(v.Remontee2->text(), QStringLiteral("Les valeurs entrées sortent du cadre du modèle"));
    EXPECT_EQ(v.Altimer->value(), std::lround(*l));
    EXPECT_FALSE(v.BCarte->isEnabled());
}

TEST_F(FenetreNiveau, EmptyingTheMemoryReleasesTheHiddenOverlaysOnly)
{
    auto c = carte();
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    enfant<QAction>(*c, "agedesfondsoceaniques1")->trigger();
    enfant<QAction>(*c, "Viderlamemoire1")->trigger();
    EXPECT_TRUE(c->calqueAUneImage(Calque::NiveauMarin));
    EXPECT_TRUE(c->calqueAUneImage(Calque::AgeFonds));
    enfant<QAction>(*c, "Niveaumarinsi1")->trigger();
    enfant<QAction>(*c, "Viderlamemoire1")->trigger();
    EXPECT_FALSE(c->calqueAUneImage(Calque::NiveauMarin));
    EXPECT_TRUE(c->calqueAUneImage(Calque::AgeFonds));
}
