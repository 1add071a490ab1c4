// The section mode on the map window: the rubber line, the name and width dialog,
// kept sections and their band, "Effacer le dernier tracé" › "Coupe", the OK
// button, "Fenêtre Coupes", and a profile that does not depend on the view's zoom
// nor on which side of the map a line across the date line is drawn.
#include "carte_test_util.h"
#include "coupe_test_util.h"

#include "data/loaders.h"
#include "data/stores.h"
#include "map/windows/delimCarte.h"
#include "section/windows/commandescoupe.h"
#include "section/windows/demnom.h"
#include "section/windows/fcoupe.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

void ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

// A 720 x 360 map (two pixels per degree) over an elevation grid whose altitude is
// the column index, with earthquakes and a volcano along 30° N.
class ModeCoupe : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString d = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(savePicture(d + QStringLiteral("c.png"), TBitmap32(720, 360, 0xFF204080)));
        ecrire(d + QStringLiteral("config.obc"), "c.png\nc.png\nc.png\nc.png\nt.gps\ns.fse\nv.fvo\ntopo_10.bil\np.tdp\n");
        ecrire(d + QStringLiteral("topo_10.bil"), octetsGrille([](int, int k) { return k; }));
        ecrire(d + QStringLiteral("s.fse"), encoderSeismes({seisme(0, 30, 100, 6), seisme(5, 31, 200, 5),
                                                            seisme(0, 50, 10, 7), seisme(179, 10, 30, 6)}));
        ecrire(d + QStringLiteral("v.fvo"), encoderVolcans({volcan(-3, 30.2, 1800)}));
        carte = std::make_unique<TCarte>(dir.path(), donnees);
        ASSERT_TRUE(carte->demarrer());
        carte->executerDialogue = [this](QDialog& dlg) {
            auto* n = qobject_cast<TDemNom*>(&dlg);
            if (!n)
                return static_cast<int>(QDialog::Rejected);
            ++dialogues;
            nomPropose = n->Nom->text();
            largeurProposee = n->LargAng->value();
            if (!nom.isEmpty())
                n->Nom->setText(nom);
            n->LargAng->setValue(largeur);
            return accepter ? static_cast<int>(QDialog::Accepted) : static_cast<int>(QDialog::Rejected);
        };
        commandes = std::make_unique<TCommandesCoupe>(*carte);
        carte->resize(1000, 700);
        carte->show();
        QApplication::processEvents();
        QApplication::processEvents();
        enfant<QAction>(*carte, "Tracecoupe")->trigger();
    }
    void TearDown() override
    {
        commandes.reset();
        carte.reset();
    }
    QWidget* vp() const { return carte->vue()->viewport(); }
    QPoint vue(QPoint m) const { return carte->vue()->mapToView(QPointF(m)).toPoint(); }
    // A drag on the map between two map pixels.
    void tracer(QPoint a, QPoint b)
    {
        QTest::mousePress(vp(), Qt::LeftButton, {}, vue(a));
        QTest::mouseMove(vp(), vue((a + b) / 2));
        QTest::mouseMove(vp(), vue(b));
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, vue(b));
    }
    QPoint px(double lon, double lat) const { return pixelCarte(lon, lat, carte->Etat.Decalage, 720, 360); }
    TCoupe* fenetre() const { return commandes->fenetre(); }
    const TBitmapSIG& derniere() const { return fenetre()->images().image(fenetre()->images().nombre() - 1); }
    std::vector<int> altitudes(const TBitmapSIG& s) const
    {
        std::vector<int> a;
        for (const PointProfil& p : s.profil)
            a.push_back(p.altitude);
        return a;
    }

    QTemporaryDir dir;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    TDonnees donnees;
    std::unique_ptr<TCarte> carte;
    std::unique_ptr<TCommandesCoupe> commandes;
    int dialogues = 0;
    QString nom;
    QString nomPropose;
    int largeur = 6;
    int largeurProposee = 0;
    bool accepter = true;
};

} // namespace

TEST_F(ModeCoupe, TheItemsAreOffered)
{
    EXPECT_TRUE(enfant<QAction>(*carte, "Tracecoupe")->isEnabled());
    EXPECT_TRUE(enfant<QToolButton>(*carte, "BCoupe")->isEnabled());
    EXPECT_TRUE(enfant<QToolButton>(*carte, "BCoupe")->isChecked());
    EXPECT_TRUE(enfant<QAction>(*carte, "Coupe1")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(*carte, "FenetreCoupes1")->isEnabled());
    EXPECT_EQ(carte->windowTitle(), QStringLiteral("Délimiter la coupe sur la carte"));
    // Before any section the window is made but not shown.
    enfant<QAction>(*carte, "FenetreCoupes1")->trigger();
    ASSERT_TRUE(fenetre());
    EXPECT_FALSE(fenetre()->isVisible());
}

TEST_F(ModeCoupe, ALineBecomesANamedSectionWithTheLayersShown)
{
    enfant<QAction>(*carte, "Seismes1")->trigger();
    enfant<QAction>(*carte, "Volcans1")->trigger();
    largeur = 4;
    tracer(px(-10, 30), px(10, 30));
    ASSERT_EQ(dialogues, 1);
    EXPECT_EQ(nomPropose, QStringLiteral("Coupe 1"));
    EXPECT_EQ(largeurProposee, 6);
    EXPECT_DOUBLE_EQ(commandes->demiLargeur(), 2.0);
    ASSERT_TRUE(fenetre());
    EXPECT_TRUE(fenetre()->isVisible());
    const TBitmapSIG& s = derniere();
    EXPECT_EQ(s.nom, QStringLiteral("Coupe 1"));
    EXPECT_EQ(s.profil.size(), 105u);
    EXPECT_EQ(s.profil.front().altitude, -60);
    EXPECT_EQ(s.profil.back().altitude, 60);
    // Both earthquakes of the band (2° each side), the volcano near the line.
    EXPECT_EQ(s.seismes.size(), 2u);
    ASSERT_EQ(s.volcans.size(), 1u);
    EXPECT_EQ(s.volcans[0].valeur, 1800);
    // The band's outline on the map's band layer.
    const TBitmap32& bande = carte->calque(Calque::Interaction)->bitmap;
    EXPECT_NE(bande.pixel(px(0, 32).x(), px(0, 32).y()), clTransparentWhite32);
    EXPECT_NE(bande.pixel(px(0, 28).x(), px(0, 28).y()), clTransparentWhite32);
    // OK shows and builds the same line again under the current name.
    EXPECT_TRUE(enfant<QPushButton>(*carte, "OK")->isVisible());
    enfant<QPushButton>(*carte, "OK")->click();
    EXPECT_EQ(fenetre()->images().nombreCoupes(), 2);
    EXPECT_EQ(derniere().nom, QStringLiteral("Coupe 1"));
    // The next one is numbered on.
    tracer(px(-10, 20), px(10, 25));
    EXPECT_EQ(nomPropose, QStringLiteral("Coupe 2"));
    EXPECT_EQ(largeurProposee, 4);
    EXPECT_EQ(fenetre()->images().nombreCoupes(), 3);

    // Hidden layers are not projected.
    enfant<QAction>(*carte, "Seismes1")->trigger();
    tracer(px(-10, 30), px(10, 30));
    EXPECT_TRUE(derniere().seismes.empty());
    EXPECT_EQ(derniere().volcans.size(), 1u);
}

TEST_F(ModeCoupe, ShortLinesAndCancelledDialogs)
{
    // Fewer than 20 grid steps both ways: ignored, no OK.
    tracer(px(0, 0), px(3, 3));
    EXPECT_EQ(dialogues, 0);
    EXPECT_FALSE(fenetre());
    EXPECT_FALSE(enfant<QPushButton>(*carte, "OK")->isVisible());
    // A plain click after a long drag does not reuse the old end.
    tracer(px(-10, 30), px(10, 30));
    ASSERT_EQ(dialogues, 1);
    QTest::mouseClick(vp(), Qt::LeftButton, {}, vue(px(40, 40)));
    EXPECT_EQ(dialogues, 1);
    EXPECT_FALSE(enfant<QPushButton>(*carte, "OK")->isVisible());
    // Cancelled: nothing built, but the width and name are taken; OK builds it.
    accepter = false;
    largeur = 10;
    nom = QStringLiteral("Plus tard");
    tracer(px(-10, 20), px(10, 20));
    EXPECT_EQ(fenetre()->images().nombreCoupes(), 1);
    EXPECT_DOUBLE_EQ(commandes->demiLargeur(), 5.0);
    ASSERT_TRUE(enfant<QPushButton>(*carte, "OK")->isVisible());
    enfant<QPushButton>(*carte, "OK")->click();
    EXPECT_EQ(fenetre()->images().nombreCoupes(), 2);
    EXPECT_EQ(derniere().nom, QStringLiteral("Plus tard"));
}

TEST_F(ModeCoupe, KeptSectionsAreDrawnAndTheLastOneErased)
{
    enfant<QAction>(*carte, "conserverlestraces")->trigger();
    nom = QStringLiteral("Une coupe au nom bien long");
    tracer(px(-10, 30), px(10, 30));
    ASSERT_EQ(carte->Interaction.coupes.size(), 1u);
    const carte::TCoupeGardee& g = carte->Interaction.coupes[0];
    EXPECT_EQ(shortToQString(g.Nom), QStringLiteral("Une coupe au no"));
    EXPECT_DOUBLE_EQ(g.DemiLargeur, 3.0);
    EXPECT_NEAR(g.Lon1, -10, 0.5);
    EXPECT_NEAR(g.Lat2, 30, 0.5);
    const TBitmap32& traces = carte->calque(Calque::Traces)->bitmap;
    ASSERT_FALSE(traces.isEmpty());
    const QPoint milieu = px(0, 30), bord = px(0, 33);
    EXPECT_NE(traces.pixel(milieu.x(), milieu.y()), clTransparentWhite32);
    EXPECT_NE(traces.pixel(bord.x(), bord.y()), clTransparentWhite32);
    // Kept, the rubber band is cleared.
    EXPECT_EQ(carte->calque(Calque::Interaction)->bitmap.pixel(bord.x(), bord.y()), clTransparentWhite32);
    // Redrawn after a shift of the map.
    carte->findChild<QScrollBar*>(QStringLiteral("decalage"))->setValue(90);
    const QPoint decale = px(0, 30);
    EXPECT_NE(traces.pixel(decale.x(), decale.y()), clTransparentWhite32);
    EXPECT_EQ(traces.pixel(milieu.x(), milieu.y()), clTransparentWhite32);
    // "Effacer le dernier tracé" › "Coupe".
    enfant<QAction>(*carte, "Coupe1")->trigger();
    EXPECT_TRUE(carte->Interaction.coupes.empty());
    EXPECT_EQ(traces.pixel(decale.x(), decale.y()), clTransparentWhite32);
    // The section itself stays in its window.
    EXPECT_EQ(fenetre()->images().nombreCoupes(), 1);
}

// The same line on the map shown at half, full and double size: the same profile,
// sampled on the map image.
TEST_F(ModeCoupe, TheProfileDoesNotDependOnTheZoom)
{
    std::vector<std::vector<int>> profils;
    for (const double zoom : {0.5, 1.0, 2.0}) {
        carte->vue()->setScale(zoom);
        carte->vue()->scrollToMap(QPoint(0, 0));
        QApplication::processEvents();
        // Even map pixels, which every zoom reaches exactly.
        tracer(QPoint(340, 120), QPoint(380, 130));
        ASSERT_TRUE(fenetre());
        profils.push_back(altitudes(derniere()));
    }
    ASSERT_EQ(fenetre()->images().nombreCoupes(), 3);
    EXPECT_EQ(profils[0], profils[1]);
    EXPECT_EQ(profils[2], profils[1]);
    // Every step of the line shows: 104 intervals over 120 grid columns.
    EXPECT_EQ(profils[1].front(), -60);
    EXPECT_EQ(profils[1].back(), 60);
}

TEST_F(ModeCoupe, AcrossTheDateLineOnEitherSideOfTheMap)
{
    enfant<QAction>(*carte, "Seismes1")->trigger();
    carte->vue()->setScale(1.0);
    carte->vue()->scrollToMap(QPoint(0, 0));
    QApplication::processEvents();
    // On the unshifted map: from 170° E, across the whole picture, to 170° W.
    tracer(px(170, 10), px(-170, 10));
    const TBitmapSIG& a = derniere();
    const std::vector<int> profilA = altitudes(a);
    const std::size_t seismesA = a.seismes.size();
    // On the map shifted by 180°, the same line in the middle.
    carte->findChild<QScrollBar*>(QStringLiteral("decalage"))->setValue(180);
    QApplication::processEvents();
    carte->vue()->scrollToMap(QPoint(0, 0));
    tracer(px(170, 10), px(-170, 10));
    EXPECT_EQ(altitudes(derniere()), profilA);
    EXPECT_EQ(derniere().seismes.size(), seismesA);
    EXPECT_EQ(seismesA, 1u);
    EXPECT_EQ(profilA.front(), 1020);
    EXPECT_EQ(profilA.back(), -1020);
    EXPECT_NEAR(derniere().profil.back().distance, 118 * 18.5185, 1e-6);
}
