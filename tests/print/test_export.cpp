// The map's exports: what the view shows, or the delimited zone, captured off
// screen over the colour or the black-and-white base, to a file, the clipboard,
// the drawing sheet or the printer, the screen never changing.
#include "carte_test_util.h"
#include "data/data_test_util.h"
#include "drawing/windows/feuilledessin.h"
#include "map/windows/delimCarte.h"
#include "print/windows/commandesexport.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TBitmap32 motif(int w, int h, TColor32 base)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, base | static_cast<TColor32>((x * 3 + y) & 0xFF));
    return b;
}

void ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

class ExportCarte : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        d = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(savePicture(d + QStringLiteral("c3600.png"), motif(360, 180, 0xFF204000)));
        ASSERT_TRUE(savePicture(d + QStringLiteral("nb3600.png"), motif(360, 180, 0xFF808000)));
        ecrire(d + QStringLiteral("config.obc"), "c3600.png\nnb3600.png\nc7200.png\nnb7200.png\nt.gps\ns.fse\nv.fvo\n\np\n");
        std::vector<TSeisme> s(1);
        s[0].Longitude = 10;
        s[0].Latitude = 10;
        s[0].Magnitude = 5;
        ecrire(d + QStringLiteral("s.fse"), encoderSeismes(s));
        c = std::make_unique<TCarte>(dir.path(), donnees);
        ASSERT_TRUE(c->demarrer());
        c->resize(900, 600);
        c->show();
        QApplication::processEvents();
        enfant<QAction>(*c, "Seismes1")->trigger();
        QApplication::processEvents();
        e = std::make_unique<TCommandesExport>(*c, [this](const TBitmap32& b) {
            imprimes.push_back(b);
            return true;
        });
    }
    QImage ecran() const { return c->vue()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir dir;
    QString d;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<TCarte> c;
    std::unique_ptr<TCommandesExport> e;
    std::vector<TBitmap32> imprimes;
};

} // namespace

TEST_F(ExportCarte, CapturesAreWhatTheViewShowsAndTheBlackAndWhiteBaseNeverShowsOnScreen)
{
    const QRect visible = e->partieVisible();
    ASSERT_FALSE(visible.isEmpty());
    const QImage avant = ecran();
    const TBitmap32 couleur = e->capturer(visible, false);
    ASSERT_EQ(couleur.width(), visible.width());
    EXPECT_EQ(couleur.pixel(5, 5), avant.pixel(visible.left() + 5, visible.top() + 5) | 0xFF000000u);

    // Printing on the black-and-white base: the picture has its grey base and the
    // earthquake; the screen and the scene's base are unchanged.
    const TBitmap32 fond = c->scene().fond();
    enfant<QAction>(*c, "avecfonddecarteenNB1")->trigger();
    ASSERT_EQ(imprimes.size(), 1u);
    const TBitmap32& nb = imprimes[0];
    EXPECT_EQ(nb.width(), visible.width());
    const QPoint pVue = c->vue()->mapToView(QPointF(5, 5)).toPoint() - visible.topLeft();
    EXPECT_EQ(greenOf(nb.pixel(pVue.x(), pVue.y())), 0x80u) << "the black-and-white base";
    EXPECT_EQ(c->scene().fond(), fond);
    EXPECT_EQ(ecran(), avant);
    // "tout en couleurs" prints what the screen shows.
    enfant<QAction>(*c, "toutencouleurs1")->trigger();
    ASSERT_EQ(imprimes.size(), 2u);
    EXPECT_EQ(imprimes[1], couleur);

    // A shifted map: the black-and-white base rolls with it.
    enfant<QScrollBar>(*c, "decalage")->setValue(90);
    QApplication::processEvents();
    enfant<QAction>(*c, "avecfonddecarteenNB1")->trigger();
    TBitmap32 nbAttendu;
    ASSERT_TRUE(loadPicture(d + QStringLiteral("nb3600.png"), nbAttendu));
    nbAttendu.rollHorizontal(90);
    const QPoint m = c->vue()->viewToMap(QPointF(visible.left() + 40, visible.top() + 40));
    EXPECT_EQ(imprimes.back().pixel(40, 40), nbAttendu.pixel(m.x(), m.y()));
}

TEST_F(ExportCarte, TheDelimitedZoneGoesToTheSheetAndIsFinished)
{
    QAction* zoneVersFeuille = enfant<QAction>(*c, "Copierlapartiedelimiteeverslafeuillededessin1");
    EXPECT_FALSE(zoneVersFeuille->isEnabled()) << "no zone yet";
    enfant<QAction>(*c, "Delimitezone")->trigger();
    QWidget* vp = c->vue()->viewport();
    auto vue = [this](QPoint m) { return c->vue()->mapToView(QPointF(m)).toPoint(); };
    // A zone 14 pixels wide on the screen is not copied.
    const QPoint a(100, 50);
    const QPoint petit = c->vue()->viewToMap(QPointF(vue(a) + QPoint(14, 40)));
    QTest::mousePress(vp, Qt::LeftButton, {}, vue(a));
    QTest::mouseMove(vp, vue(petit));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, vue(petit));
    EXPECT_TRUE(zoneVersFeuille->isEnabled());
    EXPECT_TRUE(e->zoneDelimitee().isEmpty());
    zoneVersFeuille->trigger();
    EXPECT_EQ(feuilleDessinExistante() ? feuilleDessinExistante()->feuille().nombreDocuments() : 0, 0);

    // A real zone: a document of its size (half, as every copied image), its
    // outline not in it; afterwards the outline is gone and OK hidden.
    const QPoint b(200, 120);
    QTest::mousePress(vp, Qt::LeftButton, {}, vue(a));
    QTest::mouseMove(vp, vue(b));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, vue(b));
    const QRect r = e->zoneDelimitee();
    ASSERT_FALSE(r.isEmpty());
    const TBitmap32 sansCadre = e->capturer(r, false, true);
    EXPECT_NE(sansCadre.pixel(0, r.height() / 2), c->Reglages.CouleurOutils) << "no outline in the picture";
    script.files.clear();
    enfant<QAction>(*c, "CopieavecfondNB1")->setChecked(false);
    enfant<QAction>(*c, "Copieavecfondcouleur1")->setChecked(true);
    zoneVersFeuille->trigger();
    ASSERT_NE(feuilleDessinExistante(), nullptr);
    TFeuilleDessin& f = *feuilleDessinExistante();
    ASSERT_EQ(f.feuille().nombreDocuments(), 1);
    EXPECT_EQ(f.feuille().placeDocument(0).size(), QSize(r.width() / 2, r.height() / 2));
    EXPECT_EQ(*f.feuille().document(0).image, sansCadre);
    EXPECT_FALSE(enfant<QPushButton>(*c, "OK")->isVisible());
    EXPECT_FALSE(zoneVersFeuille->isEnabled());
    for (int x = 0; x < c->Etat.W; ++x)
        EXPECT_EQ(c->calque(Calque::Interaction)->bitmap.pixel(x, 50), clTransparentWhite32);
    f.close();
}

TEST_F(ExportCarte, SavingWritesTheFormatOfTheExtension)
{
    for (const char* nom : {"carte.jpeg", "carte.png", "carte.gif", "carte.bmp"}) {
        script.files.push_back(d + QString::fromLatin1(nom));
        enfant<QAction>(*c, "Enregistrerlimagesous1")->trigger();
        QFile f(d + QString::fromLatin1(nom));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nom;
        const ImageFormat attendu = QByteArray(nom).endsWith("jpeg") ? ImageFormat::Jpeg
                                    : QByteArray(nom).endsWith("png") ? ImageFormat::Png
                                    : QByteArray(nom).endsWith("gif") ? ImageFormat::Gif
                                                                       : ImageFormat::Bmp;
        EXPECT_EQ(sniffFormat(f.read(8)), attendu) << nom;
    }
    EXPECT_FALSE(script.fileRequests.back().filter.contains(QStringLiteral("wmf")));
    // An unwritable path says so.
    script.files.push_back(d + QStringLiteral("absent/carte.png"));
    enfant<QAction>(*c, "Enregistrerlimagesous1")->trigger();
    EXPECT_EQ(script.shown.back().kind, MsgKind::Error);
    EXPECT_TRUE(script.lastText().contains(QStringLiteral("carte.png")));
}
