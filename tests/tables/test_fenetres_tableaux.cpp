// The GPS table and the time-series windows driven as a pupil would: from the
// map's menus and zone tool, with clicks on the buttons, the headers and the
// cells, the clipboard, and the mouse on the curves picture.
#include "data/data_test_util.h"
#include "data/decimal.h"
#include "data/loaders.h"
#include "map/windows/delimCarte.h"
#include "tables/courbes.h"
#include "tables/windows/afcourbes.h"
#include "tables/windows/commandestableaux.h"
#include "tables/windows/tableaux.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QTest>

#include "carte_test_util.h"

#include <gtest/gtest.h>

namespace {

void ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

TStationGPS station(const char* nom, double lat, double lon, double incVitLat = 0.3)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Latitude = lat;
    s.Longitude = lon;
    s.VitLat = -8.5;
    s.VitLong = 20;
    s.IncVitLat = incVitLat;
    s.Affiche = 1;
    return s;
}

class FenetresTableaux : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        definirSeparateurDecimal('.');
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(savePicture(dir.filePath("c3600.png"), TBitmap32(360, 180, 0xFF204060)));
        ecrire(dir.filePath("config.obc"), "c3600.png\nc3600.png\nc3600.png\nc3600.png\nt.gps\ns.fse\nv.fvo\n\np\n");
        // Two across the 180° meridian, one without a velocity uncertainty (never
        // listed), two elsewhere with the same latitude.
        ecrire(dir.filePath("t.gps"), encoderStations({station("USUD", 36, 138), station("KOKB", 22, -159.7),
                                                       station("TARA", 1, 173), station("NUL0", 10, 175, 0),
                                                       station("CHAT", -44, -176.5), station("ALIC", 36, 133.9)}));
        QDir(dir.path()).mkdir("point");
        carte = std::make_unique<TCarte>(dir.path(), donnees);
        ASSERT_TRUE(carte->demarrer());
        commandes = new TCommandesTableaux(*carte);
        carte->resize(900, 600);
        carte->show();
        QApplication::processEvents();
    }
    void TearDown() override { DeterminerSeparateurDecimal(); }

    TTableaux& table() { return *commandes->tableauxSiCree(); }
    QStringList colonne(int c)
    {
        QStringList l;
        TModeleGPS* m = table().modele();
        for (int r = 0; r < m->rowCount(); ++r)
            l << m->data(m->index(r, c), Qt::DisplayRole).toString();
        return l;
    }
    QSpinBox* spin(const char* nom) { return enfant<QSpinBox>(table(), nom); }
    void doubleClicCellule(int ligne, int col)
    {
        QTableView* v = table().tableau();
        QApplication::processEvents(); // laid out
        v->scrollTo(v->model()->index(ligne, col));
        const QPoint p = v->visualRect(v->model()->index(ligne, col)).center();
        // As the system sends a double click: a click, then the second press
        // (QTest sends only that) and its release.
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, p);
    }
    void doubleClicEntete(int col)
    {
        QHeaderView* h = table().tableau()->horizontalHeader();
        QApplication::processEvents();
        const QPoint p(h->sectionViewportPosition(col) + 5, 5);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, p);
    }

    QTemporaryDir dir;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<TCarte> carte;
    TCommandesTableaux* commandes = nullptr;
};

// The picture the data tool makes, reduced to plain frames.
void ecrireImageCourbes(const QString& chemin)
{
    TBitmap32 img(595, 770, clWhite32);
    img.frameRect(QRect(75, 109, 500, 161), clBlack32);
    ASSERT_TRUE(savePicture(chemin, img));
}

} // namespace

TEST_F(FenetresTableaux, MenuOpensTheTableWithTheDefaultFileSortedAndChecked)
{
    ASSERT_TRUE(TabStations.empty());
    enfant<QAction>(*carte, "Delimitezone")->trigger(); // no zone drawn yet: the bounds stay
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    ASSERT_NE(commandes->tableauxSiCree(), nullptr);
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(table().windowTitle(),
              QString::fromUtf8("Tri des données GPS concernant les plaques lithosphériques"));
    ASSERT_EQ(TabStations.size(), 6u) << "the default GPS file was loaded";
    EXPECT_EQ(colonne(0), QStringList({"ALIC", "CHAT", "KOKB", "TARA", "USUD"})) << "NUL0 has no uncertainty";
    EXPECT_EQ(colonne(1), QStringList({"X", "X", "X", "X", "X"}));
    EXPECT_EQ(colonne(8), QStringList({"0", "1", "2", "3", "4"}));
    EXPECT_TRUE(enfant<QLabel>(table(), "avertis")->isHidden());
    EXPECT_TRUE(table().tableau()->isColumnHidden(8));
    EXPECT_EQ(table().tableau()->columnWidth(0), 60);
    EXPECT_EQ(table().tableau()->columnWidth(1), 16);
    EXPECT_EQ(table().modele()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("Latitude\n(degrés)"));
}

TEST_F(FenetresTableaux, BoundsTurnRedUntilSortedAndTheWindowCrossesTheDateLine)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    EXPECT_FALSE(table().bornesPerimees());
    EXPECT_TRUE(enfant<QFrame>(table(), "panclic")->isHidden());
    spin("Longmin")->setValue(170);
    spin("Longmax")->setValue(-170);
    EXPECT_TRUE(table().bornesPerimees());
    EXPECT_FALSE(enfant<QFrame>(table(), "panclic")->isHidden());
    EXPECT_TRUE(spin("Longmin")->styleSheet().contains("red"));
    EXPECT_EQ(colonne(0).size(), 5) << "the table waits for Trier";

    QTest::mouseClick(enfant<QPushButton>(table(), "Trier"), Qt::LeftButton);
    EXPECT_FALSE(table().bornesPerimees());
    EXPECT_TRUE(enfant<QFrame>(table(), "panclic")->isHidden());
    EXPECT_TRUE(spin("Latmin")->styleSheet().contains("blue"));
    EXPECT_EQ(colonne(0), QStringList({"CHAT", "TARA"}));
    EXPECT_EQ(TabStations[0].Affiche, 0) << "USUD's vector is no longer drawn";
    // Back to the bounds the table shows: nothing to warn about.
    spin("Latmin")->setValue(10);
    EXPECT_TRUE(table().bornesPerimees());
    spin("Latmin")->setValue(-90);
    EXPECT_FALSE(table().bornesPerimees());
    EXPECT_TRUE(enfant<QFrame>(table(), "panclic")->isHidden());

    spin("Latmin")->setValue(60);
    QTest::mouseClick(enfant<QPushButton>(table(), "Trier"), Qt::LeftButton);
    EXPECT_EQ(table().modele()->rowCount(), 0);
    EXPECT_FALSE(enfant<QLabel>(table(), "avertis")->isHidden());
}

TEST_F(FenetresTableaux, HeaderDoubleClicksSortOrCheckEverything)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    table().resize(1000, 500);
    QApplication::processEvents();
    doubleClicEntete(2);
    EXPECT_EQ(table().critereTri(), tableaux::ParLatitude);
    EXPECT_TRUE(enfant<QAction>(table(), "parlatitude1")->isChecked());
    // USUD and ALIC share 36° N: they keep the order of the file.
    EXPECT_EQ(colonne(0), QStringList({"CHAT", "TARA", "KOKB", "USUD", "ALIC"}));
    doubleClicEntete(3);
    EXPECT_EQ(colonne(0), QStringList({"CHAT", "KOKB", "ALIC", "USUD", "TARA"}));
    doubleClicEntete(0);
    EXPECT_EQ(colonne(0).first(), "ALIC");

    enfant<QAction>(table(), "decochertout1")->trigger();
    EXPECT_EQ(colonne(1), QStringList({"", "", "", "", ""}));
    for (const TStationGPS& s : TabStations)
        EXPECT_EQ(s.Affiche, 0);
    doubleClicEntete(5); // a velocity column: nothing
    EXPECT_EQ(colonne(1).count("X"), 0);
    doubleClicEntete(1);
    EXPECT_EQ(colonne(1).count("X"), 5);
    EXPECT_EQ(TabStations[5].Affiche, 1);
}

TEST_F(FenetresTableaux, CheckColumnToggleOnStationAndUncertaintyRows)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    doubleClicCellule(1, 1); // CHAT
    EXPECT_EQ(colonne(1)[1], "");
    EXPECT_EQ(TabStations[4].Affiche, 0);
    EXPECT_EQ(TabTri[1].Affiche, 0);
    doubleClicCellule(1, 1);
    EXPECT_EQ(TabStations[4].Affiche, 1);

    enfant<QCheckBox>(table(), "AfficInc")->setChecked(true);
    ASSERT_EQ(table().modele()->rowCount(), 10);
    EXPECT_EQ(table().modele()->data(table().modele()->index(3, 5), Qt::DisplayRole).toString(), "+/- 0.3");
    doubleClicCellule(3, 1); // the uncertainty row of CHAT
    EXPECT_EQ(TabStations[4].Affiche, 0);
    EXPECT_EQ(colonne(1)[2], "") << "the mark shows on the station row";
    EXPECT_EQ(colonne(1)[3], "");
    EXPECT_EQ(colonne(1)[0], "X");
}

TEST_F(FenetresTableaux, CopyPutsTheTableOnTheClipboard)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    spin("Longmin")->setValue(170);
    spin("Longmax")->setValue(-150);
    QTest::mouseClick(enfant<QPushButton>(table(), "Trier"), Qt::LeftButton);
    ASSERT_EQ(table().modele()->rowCount(), 3);
    enfant<QAction>(table(), "Tout1")->trigger();
    QStringList lignes = QGuiApplication::clipboard()->text().split('\n');
    lignes.removeLast();
    ASSERT_EQ(lignes.size(), 6);
    EXPECT_EQ(lignes[0], table().windowTitle());
    EXPECT_EQ(lignes[3], "CHAT\tX\t-44\t-176.5\t0\t-8.5\t20\t0\t0");
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(lignes[i].count('\t'), 8);

    table().tableau()->selectRow(2);
    enfant<QAction>(table(), "lapartieselectionnee1")->trigger();
    lignes = QGuiApplication::clipboard()->text().split('\n');
    lignes.removeLast();
    ASSERT_EQ(lignes.size(), 4);
    EXPECT_TRUE(lignes[3].startsWith("TARA\t"));
}

TEST_F(FenetresTableaux, PrecisionPanelSetsTheDigits)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    enfant<QAction>(table(), "Precision1")->trigger();
    ASSERT_FALSE(enfant<QFrame>(table(), "PanChoix")->isHidden());
    EXPECT_EQ(spin("nbcLL")->value(), 12);
    spin("nbcvit")->setValue(1);
    spin("nbcLL")->setValue(2);
    QTest::mouseClick(enfant<QPushButton>(table(), "OKChoix"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QFrame>(table(), "PanChoix")->isHidden());
    EXPECT_EQ(colonne(6)[0], "2E+1") << "20 with one digit";
    EXPECT_EQ(colonne(3)[0], "1.3E+2") << "ALIC's 133.9 with two";
}

TEST_F(FenetresTableaux, ZoneOkFillsTheTableWithoutShowingIt)
{
    carte->resize(1000, 700);
    QApplication::processEvents();
    enfant<QAction>(*carte, "PointsGPS1")->trigger();
    enfant<QAction>(*carte, "Delimitezone")->trigger();
    TImageView* v = carte->vue();
    // Map pixels of the 360 x 180 map: x = 180 + longitude, y = 90 - latitude.
    auto vue = [&](QPoint m) { return v->mapToView(QPointF(m)).toPoint(); };
    const QPoint a(180 + 130, 90 - 45), b(180 + 145, 90 - 30); // 130° E … 145° E, 30° N … 45° N
    QTest::mouseMove(v->viewport(), vue(a));
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, vue(a));
    QTest::mouseMove(v->viewport(), vue(b));
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, vue(b));
    QTest::mouseClick(enfant<QPushButton>(*carte, "OK"), Qt::LeftButton);
    ASSERT_NE(commandes->tableauxSiCree(), nullptr);
    EXPECT_FALSE(table().isVisible());
    EXPECT_EQ(spin("Latmin")->value(), 30);
    EXPECT_EQ(spin("Latmax")->value(), 45);
    EXPECT_EQ(spin("Longmin")->value(), 130);
    EXPECT_EQ(spin("Longmax")->value(), 145);
    EXPECT_FALSE(table().bornesPerimees());
    ASSERT_EQ(TabTri.size(), 2u);
    EXPECT_EQ(colonne(0), QStringList({"ALIC", "USUD"}));
    EXPECT_EQ(colonne(1), QStringList({"X", "X"}));
    EXPECT_EQ(TabStations[1].Affiche, 0);

    // The menu now, still in zone mode: the delimited zone's bounds, OK hidden.
    QTest::mouseMove(v->viewport(), vue(a));
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, vue(a));
    QTest::mouseMove(v->viewport(), vue(QPoint(180 + 136, 90 - 35)));
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, vue(QPoint(180 + 136, 90 - 35)));
    ASSERT_FALSE(enfant<QPushButton>(*carte, "OK")->isHidden());
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    EXPECT_TRUE(enfant<QPushButton>(*carte, "OK")->isHidden());
    EXPECT_EQ(spin("Longmax")->value(), 136);
    EXPECT_EQ(colonne(0), QStringList({"ALIC"}));
    EXPECT_TRUE(table().isVisible());

    // "Carte" brings the map back with its vectors.
    QTest::mouseClick(enfant<QPushButton>(table(), "Carte"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(*carte, "PointsGPS1")->isChecked());
}

TEST_F(FenetresTableaux, ChooseVectorsKeepsTheTableAsItIs)
{
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    enfant<QAction>(table(), "parlongitude1")->trigger();
    enfant<QAction>(table(), "decochertout1")->trigger();
    table().hide();
    enfant<QAction>(*carte, "Choisirlesvecteursaafficher1")->trigger();
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(colonne(0).first(), "CHAT") << "no new sort";
    EXPECT_EQ(colonne(1).count("X"), 0) << "no new check";
}

TEST_F(FenetresTableaux, CurvesCalibratedMeasuredSavedAndFoundAgain)
{
    ecrireImageCourbes(dir.filePath("point/USUD.jpg"));
    courbes::PositionsJournalieres p;
    for (int i = 0; i <= 1461; ++i) {
        p.t.push_back(2000 + i / 365.25);
        p.nord.push_back(-6.0 * i / 365.25);
        p.est.push_back(0);
        p.haut.push_back(0);
    }
    ecrire(dir.filePath("point/USUD.txt"), courbes::textePositions("USUD", p));
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    doubleClicCellule(4, 0); // USUD
    TAfCourbes* c = table().courbes();
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->isVisible());
    EXPECT_EQ(c->windowTitle(), QString::fromUtf8("Affichage des courbes des données GPS"));
    EXPECT_TRUE(enfant<QFrame>(*c, "Panaffich")->isHidden()) << "no calibration yet";
    EXPECT_EQ(c->vue()->base().width(), 580);
    EXPECT_EQ(c->vue()->base().height(), 700);
    // The picture's frame at picture (75, 109) shows at (60, 39).
    EXPECT_LT(redOf(c->vue()->base().pixel(60, 100)), 0x40u);
    EXPECT_GT(redOf(c->vue()->base().pixel(62, 100)), 0xC0u);

    c->resize(1000, 760);
    QApplication::processEvents();
    QWidget* vp = c->vue()->viewport();
    auto vue = [&](QPoint m) { return c->vue()->mapToView(QPointF(m)).toPoint(); };
    auto glisser = [&](QPoint a, QPoint b) {
        QTest::mouseMove(vp, vue(a));
        QTest::mousePress(vp, Qt::LeftButton, {}, vue(a));
        QTest::mouseMove(vp, vue((a + b) / 2));
        QTest::mouseMove(vp, vue(b));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, vue(b));
    };
    enfant<QAction>(*c, "Definir1")->trigger();
    EXPECT_FALSE(enfant<QFrame>(*c, "instructetal")->isHidden());
    enfant<QDoubleSpinBox>(*c, "Annee2")->setValue(2004);
    QTest::mouseClick(enfant<QRadioButton>(*c, "BTemps"), Qt::LeftButton);
    glisser({100, 150}, {300, 150});
    // The markers on the overlay: blue at x = 100, red at x = 300.
    EXPECT_EQ(c->calque().pixel(100, 120) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(c->calque().pixel(300, 120) & 0xFFFFFF, 0xFF0000u);
    QTest::mouseClick(enfant<QRadioButton>(*c, "BLatitudes"), Qt::LeftButton);
    enfant<QDoubleSpinBox>(*c, "lat1")->setValue(0);
    enfant<QDoubleSpinBox>(*c, "lat2")->setValue(5);
    glisser({200, 50}, {200, 150});
    QTest::mouseClick(enfant<QPushButton>(*c, "OKEtal"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QFrame>(*c, "instructetal")->isHidden());
    ASSERT_FALSE(enfant<QFrame>(*c, "Panaffich")->isHidden());
    EXPECT_DOUBLE_EQ(c->mesure().etalonnage.PenteTemps, 0.02);

    // A move without a button (QTest moves the system's cursor then, which the
    // offscreen platform does not follow).
    QMouseEvent survol(QEvent::MouseMove, QPointF(vue(QPoint(200, 100))), QPointF(vp->mapToGlobal(vue(QPoint(200, 100)))),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &survol);
    EXPECT_EQ(enfant<QLabel>(*c, "etidate")->text(), "Date : 2002");
    EXPECT_EQ(enfant<QLabel>(*c, "etiY")->text(), "Variation de latitude (mm): 25");
    glisser({100, 150}, {300, 50});
    EXPECT_EQ(enfant<QLabel>(*c, "Etipente")->text(), "Vitesse en latitude (mm/an): -12.5");
    EXPECT_EQ(enfant<QLabel>(*c, "EtiCatalogue")->text(), "Vitesse du catalogue : -8.5 mm/an");
    EXPECT_TRUE(enfant<QLabel>(*c, "EtiAjustement")->text().endsWith(" jours : -6 mm/an"))
        << enfant<QLabel>(*c, "EtiAjustement")->text().toStdString();
    EXPECT_EQ(alphaOf(c->calque().pixel(200, 100)) > 0, true) << "the green line of the drag";

    enfant<QAction>(*c, "Enregistrer1")->trigger();
    EXPECT_TRUE(script.shown.empty());
    EXPECT_EQ(QFileInfo(dir.filePath("point/USUD.etl")).size(), 64);
    enfant<QAction>(*c, "Fermer1")->trigger();
    EXPECT_FALSE(c->isVisible());

    // Another station without its picture: the loader's error, the window stays hidden.
    doubleClicCellule(0, 0); // ALIC
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(script.shown[0].text.contains("ALIC.jpg")) << script.shown[0].text.toStdString();
    EXPECT_FALSE(c->isVisible());

    // USUD again: calibrated at once.
    doubleClicCellule(4, 3);
    ASSERT_TRUE(c->isVisible());
    EXPECT_FALSE(enfant<QFrame>(*c, "Panaffich")->isHidden());
    EXPECT_DOUBLE_EQ(c->mesure().etalonnage.OrigineTemps, 1998);

    // "&Effacer" forgets it; "En&registrer" then writes nothing.
    enfant<QAction>(*c, "Effacer1")->trigger();
    EXPECT_TRUE(enfant<QFrame>(*c, "Panaffich")->isHidden());
    enfant<QAction>(*c, "Enregistrer1")->trigger();
    courbes::Etalonnage lu;
    ASSERT_TRUE(courbes::lireEtalonnage(dir.filePath("point/USUD.etl"), lu));
    EXPECT_DOUBLE_EQ(lu.PenteTemps, 0.02);
}

TEST_F(FenetresTableaux, FaultyCalibrationFileOpensUncalibrated)
{
    ecrireImageCourbes(dir.filePath("point/USUD.jpg"));
    ecrire(dir.filePath("point/USUD.etl"), QByteArray(63, '\x11'));
    enfant<QAction>(*carte, "FenetreTableauGPS1")->trigger();
    table().ouvrirCourbes(4);
    TAfCourbes* c = table().courbes();
    ASSERT_TRUE(c && c->isVisible());
    EXPECT_TRUE(enfant<QFrame>(*c, "Panaffich")->isHidden());
    EXPECT_FALSE(c->mesure().etalonnage.unAxeEtalonne());
    EXPECT_TRUE(script.shown.empty()) << "silently, as a missing file";
}
