// The three exercises of the "&Exercices" menu taken to their end with the mouse,
// on a map window with a small data folder and a fixed random source, and what
// they say when the examples are missing, faulty or too few.
#include "data/decimal.h"
#include "data/stores.h"
#include "exercises/positionnement.h"
#include "exercises/windows/commandesexercices.h"
#include "exercises/windows/exoposition.h"
#include "exercises/windows/exovecteur.h"
#include "map/windows/delimCarte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "carte_test_util.h"

#include <gtest/gtest.h>

namespace {

// Four examples; with a source that always answers 0 the questions take them in
// order, skipping DDDD (still) in the orientation exercise:
//   AAAA  45.5 N, 6.1 E   (square 46)   north 3, east 0.2    N-E, or N
//   BBBB  90 S, 180 E     (square 162)  north -5, east -5    S-O
//   CCCC  0, 0            (square 82)   north 0, east 4      E
//   DDDD  10 N, 10 E                    still
// Relative to the first partner: AAAA/BBBB N-E, BBBB/AAAA S-O, CCCC/AAAA S-E.
const QByteArray exemplesTest = "AAAA\t 45.5\t6.1\t100\t3\t0.2\n"
                                "BBBB\t -90\t180\t0\t-5\t-5\n"
                                "CCCC\t 0\t0\t0\t0\t4\n"
                                "DDDD\t 10\t10\t0\t0\t0\n";

// Records, with each message, whether the green square was showing.
class DialoguesNotes : public ScriptedDialogs {
public:
    std::function<bool()> vertVisible;
    std::vector<bool> vert;
    MsgResult message(MsgKind kind, const QString& text, MsgButtons buttons) override
    {
        vert.push_back(vertVisible ? vertVisible() : false);
        return ScriptedDialogs::message(kind, text, buttons);
    }
};

class FenetresExercices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(savePicture(dir.filePath("c3600.png"), TBitmap32(360, 180, 0xFF3060A0)));
        ecrire("config.obc", "c3600.png\nc3600.png\nc3600.png\nc3600.png\nt.gps\ns.fse\nv.fvo\n\np\n");
        ecrire("exemples.txt", exemplesTest);
    }
    void ecrire(const char* nom, const QByteArray& octets)
    {
        QFile f(dir.filePath(QString::fromLatin1(nom)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(octets);
    }
    void demarrer()
    {
        carte = std::make_unique<TCarte>(dir.path(), donnees);
        ASSERT_TRUE(carte->demarrer());
        commandes = new TCommandesExercices(*carte);
        commandes->changerHasard([](int) { return 0; });
    }
    QAction* item(const char* nom) { return carte->commande(nom); }
    static void cliquer(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    template <class T>
    static T* dans(QWidget* w, const char* nom)
    {
        return enfant<T>(*w, nom);
    }
    QString dernier() const { return script.lastText(); }
    MsgKind dernierGenre() const { return script.shown.back().kind; }

    QTemporaryDir dir;
    TDonnees donnees;
    DialoguesNotes script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<TCarte> carte;
    TCommandesExercices* commandes = nullptr;
};

} // namespace

TEST_F(FenetresExercices, ItemsEnabledAndShownWithTheGPSLayer)
{
    demarrer();
    for (const char* n : {"Positionnementdesstations1", "Orientationdesvecteurs1", "Mouvementsrelatifs1"}) {
        EXPECT_TRUE(item(n)->isEnabled()) << n;
        EXPECT_FALSE(item(n)->isChecked()) << n;
    }
    EXPECT_FALSE(enfant<QMenu>(*carte, "Exercices1")->menuAction()->isVisible());
    carte->scene().afficher(Calque::GPS, true);
    EXPECT_TRUE(enfant<QMenu>(*carte, "Exercices1")->menuAction()->isVisible());
}

TEST_F(FenetresExercices, OrientationTakenToItsEnd)
{
    demarrer();
    item("Orientationdesvecteurs1")->trigger();
    Tvecteur* f = commandes->vecteur();
    ASSERT_TRUE(f && f->isVisible());
    EXPECT_TRUE(item("Orientationdesvecteurs1")->isChecked());
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Exercice : orientation des vecteurs de déplacement"));
    EXPECT_TRUE(dans<QLabel>(f, "Eti_instrO")->isVisible());
    EXPECT_FALSE(dans<QLabel>(f, "Eti_instrdif")->isVisible());
    EXPECT_FALSE(dans<QFrame>(f, "PanelRef")->isVisible());
    EXPECT_EQ(dans<QLabel>(f, "numero")->text(), QStringLiteral("1"));
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station : AAAA"));
    EXPECT_EQ(dans<QLabel>(f, "dlat")->text(), QStringLiteral("Déplacement annuel en latitude : 3 mm"));
    EXPECT_EQ(dans<QLabel>(f, "dlon")->text(), QStringLiteral("Déplacement annuel en longitude : 0")
                                                   + QLatin1Char(SeparateurDecimal()) + QStringLiteral("2 mm"));
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("0/0"));
    const TBitmap32 vide = f->imageFleche();

    // Question 1: no direction chosen counts as "Nord", right for 3 north / 0.2 east.
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernierGenre(), MsgKind::Information);
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 1/1"));

    // Question 2: "Nord" for -5 / -5 is wrong; the arrow shows the choice.
    EXPECT_EQ(dans<QLabel>(f, "numero")->text(), QStringLiteral("2"));
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station : BBBB"));
    cliquer(dans<QRadioButton>(f, "RadioButton1"));
    EXPECT_EQ(f->choix(), Nord);
    EXPECT_NE(f->imageFleche(), vide);
    EXPECT_NE(f->imageFleche().pixel(32, 6), vide.pixel(32, 6));
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernierGenre(), MsgKind::Error);
    EXPECT_EQ(dernier(), QStringLiteral("Erreur ! (la bonne réponse était  S-O). Note : -1/4"));

    // Question 3: a fresh choice; "Est" for 0 north / 4 east.
    EXPECT_EQ(f->imageFleche(), vide);
    EXPECT_FALSE(dans<QRadioButton>(f, "RadioButton1")->isChecked());
    cliquer(dans<QRadioButton>(f, "RadioButton3"));
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 5/10"));
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(f->note(Tvecteur::OrientationVecteurs).termine());

    // Finished: the item stays checked and starts nothing more.
    const std::size_t messages = script.shown.size();
    item("Orientationdesvecteurs1")->trigger();
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(item("Orientationdesvecteurs1")->isChecked());
    EXPECT_EQ(script.shown.size(), messages);
}

TEST_F(FenetresExercices, RelativeMovementsWithTheHelpOpenedTwice)
{
    demarrer();
    item("Mouvementsrelatifs1")->trigger();
    Tvecteur* f = commandes->vecteur();
    ASSERT_TRUE(f && f->isVisible());
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Exercice : orientation des vecteurs de déplacement relatif"));
    EXPECT_TRUE(dans<QLabel>(f, "Eti_instrdif")->isVisible());
    EXPECT_FALSE(dans<QLabel>(f, "Eti_instrO")->isVisible());
    EXPECT_TRUE(dans<QFrame>(f, "PanelRef")->isVisible());
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station 1 : AAAA"));
    EXPECT_EQ(dans<QLabel>(f, "CodestationR")->text(), QStringLiteral("Station de référence supposée fixe : BBBB"));
    EXPECT_EQ(dans<QLabel>(f, "DlatR")->text(), QStringLiteral("Déplacement annuel en latitude : -5 mm"));

    // The help: free the first time, one point the second; "X" closes it.
    QFrame* aide = dans<QFrame>(f, "Panaide");
    EXPECT_FALSE(aide->isVisible());
    cliquer(dans<QPushButton>(f, "BitBtn2"));
    EXPECT_TRUE(aide->isVisible());
    EXPECT_TRUE(dans<QLabel>(f, "Labeldiff")->isVisible());
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("0/0"));
    cliquer(dans<QPushButton>(f, "BitBtn2")); // already open: nothing more
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("0/0"));
    cliquer(dans<QPushButton>(f, "Button1"));
    EXPECT_FALSE(aide->isVisible());
    cliquer(dans<QPushButton>(f, "BitBtn2"));
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("-1/0"));

    cliquer(dans<QRadioButton>(f, "RadioButton2")); // N-E
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_FALSE(aide->isVisible()); // answering closes the help
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 0/1"));
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station 1 : BBBB"));
    cliquer(dans<QRadioButton>(f, "RadioButton6")); // S-O
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station 1 : CCCC"));
    cliquer(dans<QRadioButton>(f, "RadioButton4")); // S-E
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 9/10"));
    EXPECT_FALSE(f->isVisible());

    // The other mode of the window has kept its own state: it starts afresh.
    item("Orientationdesvecteurs1")->trigger();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("0/0"));
    EXPECT_EQ(dans<QLabel>(f, "numero")->text(), QStringLiteral("1"));
    EXPECT_FALSE(dans<QFrame>(f, "PanelRef")->isVisible());
}

TEST_F(FenetresExercices, ClosedMidwayTheExerciseGoesOnWithItsMark)
{
    demarrer();
    item("Orientationdesvecteurs1")->trigger();
    Tvecteur* f = commandes->vecteur();
    cliquer(dans<QPushButton>(f, "BitBtn1")); // right: 1/1
    // Chosen again while on the screen: the same question stays.
    item("Orientationdesvecteurs1")->trigger();
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station : BBBB"));
    f->close();
    item("Orientationdesvecteurs1")->trigger();
    ASSERT_TRUE(f->isVisible());
    EXPECT_EQ(dans<QLabel>(f, "numero")->text(), QStringLiteral("2"));
    EXPECT_EQ(dans<QLabel>(f, "PaNote")->text(), QStringLiteral("1/1"));
    // Reopened, it asks the next station not yet asked.
    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station : CCCC"));

    // The same for the positioning window.
    item("Positionnementdesstations1")->trigger();
    TPosvecteur* p = commandes->position();
    QTest::mouseClick(p->planis(), Qt::LeftButton, {}, QPoint(10, 10));
    item("Positionnementdesstations1")->trigger();
    EXPECT_EQ(p->carreChoisi(), 1);
    EXPECT_EQ(dans<QLabel>(p, "codestation")->text(), QStringLiteral("Station : AAAA"));
}

TEST_F(FenetresExercices, PositioningTakenToItsEnd)
{
    demarrer();
    item("Positionnementdesstations1")->trigger();
    TPosvecteur* f = commandes->position();
    ASSERT_TRUE(f && f->isVisible());
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Exercice : Position des stations GPS"));
    TPlanis* planis = dans<TPlanis>(f, "planis");
    ASSERT_EQ(planis->size(), QSize(540, 270));
    EXPECT_EQ(planis->image().size(), QSize(540, 270));
    // The map's base colour, under the grid.
    EXPECT_EQ(planis->image().pixel(15, 15), 0xFF3060A0u);
    QFrame* rouge = dans<QFrame>(f, "Marque");
    QFrame* vert = dans<QFrame>(f, "B_marque");
    script.vertVisible = [vert] { return !vert->isHidden(); };

    EXPECT_EQ(dans<QLabel>(f, "codestation")->text(), QStringLiteral("Station : AAAA"));
    const QString sep = QString(QLatin1Char(SeparateurDecimal()));
    EXPECT_EQ(dans<QLabel>(f, "dlat")->text(), QStringLiteral("Latitude : 45") + sep + QStringLiteral("5° N"));
    EXPECT_EQ(dans<QLabel>(f, "dlon")->text(), QStringLiteral("Longitude : 6") + sep + QStringLiteral("1° E"));

    // Question 1: OK without a click is wrong; the right square shows in green
    // while the message is up, then goes.
    EXPECT_FALSE(rouge->isVisible());
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernierGenre(), MsgKind::Error);
    EXPECT_EQ(dernier(), QStringLiteral("Erreur ! (voir la bonne réponse en vert). Note : -1/1"));
    ASSERT_FALSE(script.vert.empty());
    EXPECT_TRUE(script.vert.back());
    EXPECT_EQ(vert->pos(), QPoint(270, 60));
    EXPECT_TRUE(vert->isHidden());

    // Question 2: the south pole on the 180° meridian, in the bottom right square.
    EXPECT_EQ(dans<QLabel>(f, "numero")->text(), QStringLiteral("2"));
    EXPECT_EQ(dans<QLabel>(f, "dlat")->text(), QStringLiteral("Latitude : 90° S"));
    QTest::mouseClick(planis, Qt::LeftButton, {}, QPoint(535, 265));
    EXPECT_TRUE(rouge->isVisible());
    EXPECT_EQ(rouge->pos(), QPoint(510, 240));
    EXPECT_EQ(f->carreChoisi(), 162);
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 2/4"));
    EXPECT_FALSE(script.vert.back());
    EXPECT_FALSE(rouge->isVisible()); // reset for the next question
    EXPECT_EQ(f->carreChoisi(), 0);

    // Question 3: 0°, 0° is in the square right of Greenwich, below the equator's row top.
    EXPECT_EQ(dans<QLabel>(f, "dlat")->text(), QStringLiteral("Latitude : 0° "));
    QTest::mouseClick(planis, Qt::LeftButton, {}, QPoint(271, 121));
    cliquer(dans<QPushButton>(f, "BitBtn1"));
    EXPECT_EQ(dernier(), QStringLiteral("Bravo !  Note : 8/10"));
    EXPECT_FALSE(f->isVisible());
    const std::size_t messages = script.shown.size();
    item("Positionnementdesstations1")->trigger();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(script.shown.size(), messages);
    EXPECT_TRUE(item("Positionnementdesstations1")->isChecked());
}

TEST_F(FenetresExercices, ThePictureFollowsTheMapShift)
{
    // West half dark, east half light, as a geographic picture shifted on the map.
    TBitmap32 geo(360, 180);
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 360; ++x)
            geo.setPixel(x, y, x < 180 ? 0xFF000040 : 0xFFE0E0E0);
    ASSERT_TRUE(savePicture(dir.filePath("c3600.png"), geo));
    demarrer();
    carte->scene().decaler(120);
    item("Positionnementdesstations1")->trigger();
    const QImage& img = commandes->position()->planis()->image();
    EXPECT_EQ(img.pixel(100, 100), 0xFF000040u);
    EXPECT_EQ(img.pixel(400, 100), 0xFFE0E0E0u);
}

TEST_F(FenetresExercices, FaultyLinesAreToldOnceForBothWindows)
{
    ecrire("exemples.txt", exemplesTest + "EEEE\t 12\tdouze\t0\t1\t1\n");
    demarrer();
    item("Orientationdesvecteurs1")->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(script.shown[0].text.contains(QStringLiteral("la ligne 5"))) << script.shown[0].text.toStdString();
    EXPECT_TRUE(commandes->vecteur()->isVisible());
    item("Positionnementdesstations1")->trigger();
    EXPECT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(commandes->position()->isVisible());
}

TEST_F(FenetresExercices, TooFewExamplesOrNoFileSayWhyInsteadOfStarting)
{
    ecrire("exemples.txt", "AAAA\t 45.5\t6.1\t100\t3\t0.2\nAAAA\t 40\t6\t0\t1\t1\n");
    demarrer();
    item("Mouvementsrelatifs1")->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(script.shown[0].text.startsWith(QStringLiteral("L'exercice ne peut pas commencer")));
    EXPECT_FALSE(commandes->vecteur()->isVisible());
    EXPECT_FALSE(item("Mouvementsrelatifs1")->isChecked());
    item("Positionnementdesstations1")->trigger();
    EXPECT_EQ(script.shown.size(), 2u);
    EXPECT_FALSE(commandes->position()->isVisible());

    QFile::remove(dir.filePath("exemples.txt"));
    carte.reset();
    script.shown.clear();
    demarrer();
    item("Orientationdesvecteurs1")->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(script.shown[0].text.contains(QStringLiteral("exemples.txt")));
    EXPECT_TRUE(script.shown[0].text.contains(QStringLiteral("ne peut pas commencer")));
    EXPECT_FALSE(commandes->vecteur()->isVisible());
}
