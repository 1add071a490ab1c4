// The polar view as the map opens it: the pole dialog, the build once then the
// showing, the readouts under the mouse, the reference circle, the overlays with
// their default files, the copy, and the oblique view built once per build.
#include "carte_test_util.h"
#include "data/data_test_util.h"
#include "data/loaders.h"
#include "map/windows/delimCarte.h"
#include "projections/windows/commandevuepolaire.h"
#include "projections/windows/mercatoroblique.h"
#include "projections/windows/vuepolaire.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"
#include "ui/windows/patience.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

void ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

TSeisme seisme(float lon, float lat, float mag)
{
    TSeisme s;
    s.Longitude = lon;
    s.Latitude = lat;
    s.Magnitude = mag;
    return s;
}

class VuePolaireCarte : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        d = dir.path() + QLatin1Char('/');
        // A base map of 720 × 360 pixels: the discs are 180 pixels in radius.
        TBitmap32 fond(720, 360);
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 720; ++x)
                fond.setPixel(x, y, 0xFF000000u | static_cast<TColor32>(y) << 12 | static_cast<TColor32>(x));
        ASSERT_TRUE(savePicture(d + QStringLiteral("c.png"), fond));
        ecrire(d + QStringLiteral("config.obc"), "c.png\nc.png\nc.png\nc.png\nt.gps\ns.fse\nv.fvo\n\np\n");
        ecrire(d + QStringLiteral("s.fse"), encoderSeismes({seisme(10, 20, 6), seisme(-100, -30, 5)}));
        std::vector<TVolcan> v(1);
        v[0].Longitude = -60;
        v[0].Latitude = 15;
        v[0].TypeVolcan = 3;
        ecrire(d + QStringLiteral("v.fvo"), encoderVolcans(v));
        std::vector<TStationGPS> g(1);
        g[0].Nom.assignBytes("ABCD", 4);
        g[0].Longitude = -120;
        g[0].Latitude = 36;
        g[0].VitLat = 20;
        g[0].VitLong = -30;
        g[0].Affiche = 1;
        g[0].IncVitLat = 1;
        ecrire(d + QStringLiteral("t.gps"), encoderStations(g));
        c = std::make_unique<TCarte>(dir.path(), donnees);
        ASSERT_TRUE(c->demarrer());
        c->resize(900, 600);
        c->show();
        QApplication::processEvents();
        commande = std::make_unique<TCommandeVuePolaire>(*c);
        c->executerDialogue = [this](QDialog& dlg) {
            ++dialogues;
            auto& choix = static_cast<TChoixPole&>(dlg);
            EXPECT_EQ(choix.windowTitle(), QStringLiteral("Choix du pôle pour la projection"));
            choix.LatCentre->setValue(lat);
            choix.LongCentre->setValue(lon);
            return static_cast<int>(reponse);
        };
    }
    void TearDown() override
    {
        commande.reset();
        c.reset();
    }
    TVuePolaire& vue() { return commande->vue(); }
    void ouvrir() { enfant<QAction>(*c, "Vuepolaire1")->trigger(); }
    const TBitmap32& couche(int i) { return vue().vue()->stack().layer(i)->bitmap; }
    bool coucheVisible(int i) { return vue().vue()->stack().layer(i)->visible; }

    QTemporaryDir dir;
    QString d;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<TCarte> c;
    std::unique_ptr<TCommandeVuePolaire> commande;
    int dialogues = 0;
    int lat = 50, lon = -75;
    QDialog::DialogCode reponse = QDialog::Accepted;
};

// Layers of the view, bottom to top.
constexpr int CoucheCercles = 0, CoucheSeismes = 1, CoucheGPS = 2, CoucheVolcans = 3, CoucheCercle = 4;

} // namespace

TEST_F(VuePolaireCarte, ThePoleIsAskedOnceCancelEndsTheCommandAndTheViewIsBuiltOnce)
{
    QAction* item = enfant<QAction>(*c, "Vuepolaire1");
    ASSERT_TRUE(item->isEnabled());
    reponse = QDialog::Rejected;
    ouvrir();
    EXPECT_EQ(dialogues, 1);
    EXPECT_FALSE(vue().construite());
    EXPECT_FALSE(vue().isVisible());

    reponse = QDialog::Accepted;
    ouvrir();
    EXPECT_EQ(dialogues, 2);
    ASSERT_TRUE(vue().construite());
    EXPECT_TRUE(vue().isVisible());
    EXPECT_EQ(vue().windowTitle(), QStringLiteral("Vue Polaire"));
    EXPECT_EQ(vue().LatCentre->value(), 50);
    EXPECT_EQ(vue().LongCentre->value(), -75);
    EXPECT_EQ(vue().image().width(), 720);
    EXPECT_EQ(vue().image().height(), 360);
    EXPECT_EQ(vue().projection().latitudePole(), 50);
    // The zoom shows the whole width of the discs.
    const int client = vue().vue()->viewport()->width();
    EXPECT_EQ(vue().ValeurZoom->value(), std::clamp(carte::arrondi(100.0 * client / 720), 10, 100));
    EXPECT_DOUBLE_EQ(vue().vue()->scale(), vue().ValeurZoom->value() / 100.0);
    // The centre of disc 1 shows the pole: the base row of 50° N.
    EXPECT_EQ((vue().image().pixel(180, 180) >> 12) & 0xFFF, 80u);

    // Afterwards the command only shows the view again.
    vue().hide();
    ouvrir();
    EXPECT_EQ(dialogues, 2);
    EXPECT_EQ(vue().nombreConstructions(), 1);
    EXPECT_TRUE(vue().isVisible());
    // Its own OK button builds it around the pole of its spin edits.
    vue().LatCentre->setValue(90);
    vue().LongCentre->setValue(0);
    vue().Button1->click();
    EXPECT_EQ(vue().nombreConstructions(), 2);
    EXPECT_EQ((vue().image().pixel(180, 180) >> 12) & 0xFFF, 0u) << "the North Pole: the top row of the base";
}

TEST_F(VuePolaireCarte, TheReadoutsGiveThePointUnderTheMouseAndNothingOffTheDiscs)
{
    lat = 90;
    lon = 0;
    ouvrir();
    ASSERT_TRUE(vue().construite());
    QWidget* vp = vue().vue()->viewport();
    auto vers = [&](int x, int y) { return vue().vue()->mapToView(QPointF(x, y)).toPoint(); };
    // The pointer moving over the view, button up.
    auto bouger = [&](const QPoint& p) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), vp->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    };
    // 45° from the North Pole straight up: (45° N, 90° E).
    bouger(vers(180, 90));
    EXPECT_EQ(vue().Latcurs->text(), QStringLiteral("45"));
    EXPECT_EQ(vue().LongCurs->text(), QStringLiteral("90"));
    bouger(vers(90, 180));
    EXPECT_EQ(vue().Latcurs->text(), QStringLiteral("45"));
    EXPECT_EQ(std::abs(vue().LongCurs->text().toInt()), 180);
    // In disc 2, seen from below the South Pole: left of its centre is 0°.
    bouger(vers(540 - 90, 180));
    EXPECT_EQ(vue().Latcurs->text(), QStringLiteral("-45"));
    EXPECT_EQ(vue().LongCurs->text(), QStringLiteral("0"));
    // A corner, off both discs: both labels empty.
    bouger(vers(5, 5));
    EXPECT_TRUE(vue().Latcurs->text().isEmpty());
    EXPECT_TRUE(vue().LongCurs->text().isEmpty());
}

TEST_F(VuePolaireCarte, TheReferenceCircleFollowsItsBarAndEveryPositionDraws)
{
    ouvrir();
    QScrollBar* taille = vue().TailleCercle;
    EXPECT_EQ(taille->minimum(), 1);
    EXPECT_EQ(taille->maximum(), 359) << "radius Hm, the antipode itself, is not a circle";
    EXPECT_FALSE(coucheVisible(CoucheCercle));
    vue().ValeurZoom->setValue(100);
    taille->setValue(180 + 30);
    ASSERT_TRUE(coucheVisible(CoucheCercle));
    // About the centre of disc 2, radius Hm − Rd − 30.
    const TBitmap32& cercle = couche(CoucheCercle);
    auto rouge = [](TColor32 c) { return (c & 0x00FFFFFF) == 0xFF0000u && alphaOf(c) >= 0x80; };
    EXPECT_TRUE(rouge(cercle.pixel(540 + 150, 180)));
    EXPECT_TRUE(rouge(cercle.pixel(540, 180 - 150)));
    EXPECT_EQ(alphaOf(cercle.pixel(180 + 150, 180)), 0u);
    taille->setValue(taille->maximum());
    EXPECT_GT(alphaOf(couche(CoucheCercle).pixel(540 + 1, 180)), 0u) << "the smallest circle about the antipode";
    // Zoomed out, the circle is drawn several pixels wide.
    taille->setValue(100);
    vue().ValeurZoom->setValue(25);
    EXPECT_TRUE(rouge(couche(CoucheCercle).pixel(180 + 103, 180)));
    EXPECT_TRUE(rouge(couche(CoucheCercle).pixel(180 + 97, 180)));
    EXPECT_EQ(alphaOf(couche(CoucheCercle).pixel(180 + 107, 180)), 0u);
    // A zoom that keeps that width keeps the layers of both kinds of circles.
    enfant<QAction>(vue(), "Cerclesautourdupole1")->trigger();
    const std::uint64_t avant = couche(CoucheCercle).contentStamp(), avantPole = couche(CoucheCercles).contentStamp();
    vue().ValeurZoom->setValue(26);
    EXPECT_EQ(couche(CoucheCercle).contentStamp(), avant);
    EXPECT_EQ(couche(CoucheCercles).contentStamp(), avantPole);
    vue().ValeurZoom->setValue(60);
    EXPECT_NE(couche(CoucheCercle).contentStamp(), avant);
    EXPECT_NE(couche(CoucheCercles).contentStamp(), avantPole);
}

TEST_F(VuePolaireCarte, OverlaysLoadTheirDefaultFilesOnFirstUseAndFollowTheData)
{
    ouvrir();
    const polaire::TProjectionPolaire& p = vue().projection();
    ASSERT_FALSE(SeismesCharges);
    enfant<QAction>(vue(), "Seismes1")->trigger();
    EXPECT_TRUE(SeismesCharges);
    ASSERT_TRUE(coucheVisible(CoucheSeismes));
    const carte::PointCarte s = p.ProjeterPolaire(10, 20);
    EXPECT_EQ(couche(CoucheSeismes).pixel(s.x, s.y), c->Reglages.CouleurSeismes);
    // The map's minimum magnitude applies.
    const carte::PointCarte s2 = p.ProjeterPolaire(-100, -30);
    EXPECT_EQ(couche(CoucheSeismes).pixel(s2.x, s2.y), c->Reglages.CouleurSeismes);
    c->Reglages.MagnitudeMini = 6;
    vue().actualiserCalques();
    EXPECT_EQ(couche(CoucheSeismes).pixel(s2.x, s2.y), clTransparentWhite32);

    enfant<QAction>(vue(), "Volcans1")->trigger();
    EXPECT_TRUE(VolcansCharges);
    const carte::PointCarte v = p.ProjeterPolaire(-60, 15);
    EXPECT_EQ(couche(CoucheVolcans).pixel(v.x, v.y), c->Reglages.CouleurVolcans[0]);

    enfant<QAction>(vue(), "VecteursGPS1")->trigger();
    EXPECT_TRUE(GPSCharges);
    const carte::PointCarte g = p.ProjeterPolaire(-120, 36);
    EXPECT_EQ(couche(CoucheGPS).pixel(g.x, g.y), c->Reglages.CouleurStations);
    int vecteur = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x)
            vecteur += couche(CoucheGPS).pixel(x, y) == c->Reglages.CouleurVecteurs;
    EXPECT_GT(vecteur, 40) << "the vector, 36 mm/an at 1.5 pixels per mm/an, two thick";
    EXPECT_EQ(couche(CoucheGPS).pixel(5, 5), clTransparentWhite32) << "no veil over the discs";

    // A new earthquake file loaded on the map shows in the view.
    const QString autre = d + QStringLiteral("autre.fse");
    ecrire(autre, encoderSeismes({seisme(-30, -10, 7)}));
    ChargerSeismes(autre);
    const carte::PointCarte s3 = p.ProjeterPolaire(-30, -10);
    EXPECT_EQ(couche(CoucheSeismes).pixel(s3.x, s3.y), c->Reglages.CouleurSeismes);
    EXPECT_EQ(couche(CoucheSeismes).pixel(s.x, s.y), clTransparentWhite32);

    // Unchecked: hidden and released.
    enfant<QAction>(vue(), "Seismes1")->trigger();
    EXPECT_FALSE(coucheVisible(CoucheSeismes));
    EXPECT_TRUE(couche(CoucheSeismes).isEmpty());

    // The circles about the pole, on their own item.
    enfant<QAction>(vue(), "Cerclesautourdupole1")->trigger();
    EXPECT_TRUE(coucheVisible(CoucheCercles));
    EXPECT_GT(alphaOf(couche(CoucheCercles).pixel(180, 180 - 100)), 0u) << "the great circle through the pole";
}

TEST_F(VuePolaireCarte, AMissingDefaultFileSaysSoAndLeavesTheOverlayEmpty)
{
    QFile::remove(d + QStringLiteral("v.fvo"));
    ouvrir();
    enfant<QAction>(vue(), "Volcans1")->trigger();
    EXPECT_FALSE(script.shown.empty());
    EXPECT_TRUE(enfant<QAction>(vue(), "Volcans1")->isChecked());
    int encre = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x)
            encre += alphaOf(couche(CoucheVolcans).pixel(x, y)) != 0;
    EXPECT_EQ(encre, 0);
}

TEST_F(VuePolaireCarte, CopiesAndTheObliqueViewBuiltOncePerBuild)
{
    ouvrir();
    QApplication::clipboard()->clear();
    enfant<QAction>(vue(), "Copierlimage1")->trigger();
    const QImage copie = QApplication::clipboard()->image();
    ASSERT_FALSE(copie.isNull());
    const QRect affichee = vue().vue()->mapRectToView(QRect(0, 0, 720, 360)) & vue().vue()->viewport()->rect();
    EXPECT_EQ(copie.size(), affichee.size());

    QAction* mercator = enfant<QAction>(vue(), "VueMercator1");
    mercator->trigger();
    TMercatorOblique& m = vue().mercator();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Projection Mercator oblique"));
    EXPECT_EQ(vue().nombreConstructionsMercator(), 1);
    ASSERT_EQ(m.image().width(), 720);
    ASSERT_EQ(m.image().height(), 360);
    EXPECT_EQ(m.image().pixel(100, 0), vue().image().pixel(180, 180)) << "the top row is the pole";
    EXPECT_GE(m.ValeurZoom->value(), 20);
    // A second time without a rebuild: shown, not computed again.
    const std::uint64_t avant = m.image().contentStamp();
    m.hide();
    mercator->trigger();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(vue().nombreConstructionsMercator(), 1);
    EXPECT_EQ(m.image().contentStamp(), avant);
    // A new build of the polar view clears it: the next showing computes.
    vue().LatCentre->setValue(-20);
    vue().Button1->click();
    EXPECT_FALSE(vue().mercatorAJour());
    mercator->trigger();
    EXPECT_EQ(vue().nombreConstructionsMercator(), 2);
    EXPECT_EQ(m.image().pixel(100, 0), vue().image().pixel(180, 180));

    // Its zoom bar and its own copy.
    m.ValeurZoom->setValue(0);
    EXPECT_EQ(m.ValeurZoom->value(), 20);
    EXPECT_DOUBLE_EQ(m.VueMercaObl->scale(), 0.2);
    QApplication::clipboard()->clear();
    enfant<QAction>(m, "Copierlimage1")->trigger();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

TEST_F(VuePolaireCarte, TheZoomNeverReachesAScaleTheViewCannotDraw)
{
    ouvrir();
    vue().ValeurZoom->setValue(0);
    EXPECT_EQ(vue().ValeurZoom->value(), 10);
    EXPECT_DOUBLE_EQ(vue().vue()->scale(), 0.1);
    vue().ValeurZoom->setValue(1000);
    EXPECT_DOUBLE_EQ(vue().vue()->scale(), 1.0);
}

TEST(Patience, TheWaitingWindowShowsOnlyForLongComputationsAndErrorsComeBack)
{
    bool fait = false;
    EXPECT_FALSE(executerAvecPatience([&] { fait = true; }, nullptr, 500));
    EXPECT_TRUE(fait);
    bool vue = false;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<TPatience*>(w); p && p->isVisible())
                vue = p->windowTitle() == QStringLiteral("Patience") &&
                      p->Texte->text() == QStringLiteral("Calculs en cours... Patience !");
    });
    EXPECT_TRUE(executerAvecPatience([] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }, nullptr, 0));
    EXPECT_TRUE(vue);
    EXPECT_THROW(executerAvecPatience([] { throw std::bad_alloc(); }, nullptr, 0), std::bad_alloc);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TPatience*>(w) && w->isVisible());
}
