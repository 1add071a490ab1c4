// The map window driven without a display: start-up, menus, layers, display
// choices, legend placement, reference station, shift and base picture changes,
// and the mouse tools driven with simulated pointer events.
#include "data/loaders.h"
#include "data/stores.h"
#include "data/data_test_util.h"
#include "map/windows/choixcouleurscarte.h"
#include "map/windows/delimCarte.h"
#include "map/windows/commandesvecteurs.h"
#include "map/windows/commandesfichiers.h"
#include "map/windows/commandesreperes.h"
#include "ui/windows/imageview.h"
#include "map/windows/recherchevolc.h"
#include "map/windows/tableaureperes.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QScrollBar>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "carte_test_util.h"

#include <gtest/gtest.h>

namespace {

TBitmap32 image(int w, int h, TColor32 base)
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

TStationGPS station(const char* nom, double lon, double lat, double vn, double ve)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Longitude = lon;
    s.Latitude = lat;
    s.VitLat = vn;
    s.VitLong = ve;
    s.Affiche = 1;
    s.IncVitLat = 1;
    return s;
}

class FenetreCarte : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        viderSeismes();
        viderVolcans();
        viderStations();
        d = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(savePicture(d + QStringLiteral("c3600.png"), image(360, 180, 0xFF204000)));
        ASSERT_TRUE(savePicture(d + QStringLiteral("nb3600.png"), image(360, 180, 0xFF808000)));
        ASSERT_TRUE(savePicture(d + QStringLiteral("nb7200.png"), image(720, 360, 0xFF101000)));
        ecrire(d + QStringLiteral("config.obc"),
               "c3600.png\nnb3600.png\nc7200.png\nnb7200.png\nt.gps\ns.fse\nv.fvo\n\npop.tdp\n");
        std::vector<TSeisme> s(2);
        s[0].Longitude = 10;
        s[0].Latitude = 10;
        s[0].Magnitude = 5;
        s[1].Longitude = -60;
        s[1].Latitude = -20;
        s[1].Magnitude = 2;
        ecrire(d + QStringLiteral("s.fse"), encoderSeismes(s));
        std::vector<TVolcan> v(1);
        v[0].Longitude = 100;
        v[0].Latitude = 0;
        ecrire(d + QStringLiteral("v.fvo"), encoderVolcans(v));
        stations = {station("AAAA", 0, 0, 0, 20), station("BBBB", 30.2, 40, 5, 5)};
        ecrire(d + QStringLiteral("t.gps"), encoderStations(stations));
    }
    void TearDown() override
    {
        viderSeismes();
        viderVolcans();
        viderStations();
    }

    // A started map window.
    std::unique_ptr<TCarte> carte()
    {
        auto c = std::make_unique<TCarte>(dir.path(), donnees);
        EXPECT_TRUE(c->demarrer());
        return c;
    }
    static QStringList textes(QMenu* m)
    {
        QStringList t;
        for (QAction* a : m->actions())
            if (!a->isSeparator())
                t << a->text();
        return t;
    }

    QTemporaryDir dir;
    QString d;
    std::vector<TStationGPS> stations;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
};

} // namespace

TEST_F(FenetreCarte, StartWithoutBasePictureFails)
{
    QFile::remove(d + QStringLiteral("c3600.png"));
    TCarte c(dir.path(), donnees);
    EXPECT_FALSE(c.demarrer());
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(script.shown[0].text, QStringLiteral("Il manque l'image de la carte de fond"));
}

TEST_F(FenetreCarte, StartFitsTheMapAndBoundsTheZoom)
{
    auto c = carte();
    EXPECT_EQ(c->windowTitle(), QStringLiteral("Carte"));
    EXPECT_EQ(c->Etat.W, 360);
    EXPECT_EQ(c->Etat.H, 180);
    EXPECT_EQ(enfant<QScrollBar>(*c, "Zoom")->maximum(), carte::positionZoom(14400.0 / 360));
    EXPECT_EQ(enfant<QScrollBar>(*c, "Zoom")->value(), enfant<QScrollBar>(*c, "Zoom")->minimum());
    EXPECT_DOUBLE_EQ(c->vue()->scale(), c->Etat.EchelleMin);
    EXPECT_EQ(c->calque(Calque::Interaction)->bitmap.width(), 360);
    // Layers hold no pixels until shown.
    EXPECT_FALSE(c->calqueAUneImage(Calque::Seismes));
    EXPECT_FALSE(c->calqueAUneImage(Calque::GPS));
    enfant<QScrollBar>(*c, "Zoom")->setValue(enfant<QScrollBar>(*c, "Zoom")->maximum());
    EXPECT_NEAR(c->vue()->scale(), 40.0, 0.3);
}

TEST_F(FenetreCarte, MenusInPlaceWithTheirCaptions)
{
    auto c = carte();
    QStringList titres;
    for (QAction* a : c->menuBar()->actions())
        titres << a->text();
    EXPECT_EQ(titres, (QStringList{"&Fichier", "Edition", "&Affichage", "&Mode", "&Vecteurs", "&Exercices", "&Aide"}));
    EXPECT_EQ(textes(enfant<QMenu>(*c, "Fichier1")),
              (QStringList{"&Imprimer", "&Quitter", "Charger un fichier de configuration", "Charger un fichier GPS",
                           "Charger un fichier Séismes", "Charger un fichier de volcans", "Charger un fond de carte",
                           "Enregistrer le fichier de séismes", "Enregistrer le fichier de volcans",
                           "Enregistrer les vecteurs affichés comme données GPS", "Enregistrer l'image sous...",
                           "CalculetableSurfVol", "Charger des données dans un tableur", "Charger des reperes"}));
    EXPECT_EQ(textes(enfant<QMenu>(*c, "Affichage1")),
              (QStringList{"Points &GPS", "&Seismes", "&Volcans", "age des fonds océaniques", "Niveau marin si...",
                           "Population", "Limites de plaques", "Fenêtre Coupes", "Fenêtre &Tableau GPS", "Fenêtre  de Dessin",
                           "Vue polaire", "Fenêtre Repères", "&Choix...", "Points épais"}));
    EXPECT_EQ(textes(enfant<QMenu>(*c, "Vecteurs1")),
              (QStringList{"&Choisir les vecteurs à afficher", "Afficher &tous les vecteurs", "N'afficher aucun vecteur",
                           "&Agrandir", "&Rétrécir", "Remise à &zéro", "Aff&icher l'échelle",
                           "Correction des &V. lat", "Vecteurs du modèle", "Plaque de référence du modèle",
                           "Ajuster un pôle eulérien"}));
    EXPECT_EQ(textes(enfant<QMenu>(*c, "Aide1")), (QStringList{"&Fichier d'aide", "&A propos de...", "Vider la mémoire"}));
    EXPECT_EQ(textes(enfant<QMenu>(*c, "Mode1")).first(), QStringLiteral("&Consultation"));
    EXPECT_TRUE(enfant<QAction>(*c, "Consultation")->isChecked());
    EXPECT_TRUE(enfant<QAction>(*c, "CopieavecfondNB1")->isChecked());
    // Hidden items.
    EXPECT_FALSE(enfant<QAction>(*c, "Chargerunfichierdevolcans1")->isVisible());
    EXPECT_FALSE(enfant<QAction>(*c, "Pointsepais")->isVisible());
    EXPECT_TRUE(enfant<QAction>(*c, "Pointsepais")->isChecked());
    EXPECT_FALSE(enfant<QAction>(*c, "MZoom")->isVisible());
    // Commands of windows still to come are shown disabled.
    EXPECT_FALSE(enfant<QAction>(*c, "Enregistrerlimagesous1")->isEnabled());
    EXPECT_FALSE(enfant<QAction>(*c, "FenetreCoupes1")->isEnabled());
    EXPECT_FALSE(enfant<QAction>(*c, "Rechercherunvolcan")->isEnabled());
    // Vectors and exercises follow the GPS layer.
    EXPECT_FALSE(enfant<QMenu>(*c, "Vecteurs1")->menuAction()->isVisible());
    EXPECT_FALSE(enfant<QMenu>(*c, "Exercices1")->menuAction()->isVisible());
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    EXPECT_TRUE(enfant<QMenu>(*c, "Vecteurs1")->menuAction()->isVisible());
    EXPECT_TRUE(enfant<QMenu>(*c, "Exercices1")->menuAction()->isVisible());
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    EXPECT_FALSE(enfant<QMenu>(*c, "Vecteurs1")->menuAction()->isVisible());
}

TEST_F(FenetreCarte, EachLayerLoadsItsDefaultFileAndToggles)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    EXPECT_TRUE(SeismesCharges);
    EXPECT_EQ(TabSeismes.size(), 2u);
    TBitmapLayer* s = c->calque(Calque::Seismes);
    EXPECT_TRUE(s->visible);
    EXPECT_EQ(s->location, QRect(0, 0, 360, 180));
    EXPECT_EQ(s->bitmap.pixel(190, 80), c->Reglages.CouleurSeismes); // magnitude 5 at (10, 10)
    EXPECT_EQ(s->bitmap.pixel(120, 110), clTransparentWhite32);      // magnitude 2 under the threshold
    enfant<QAction>(*c, "Seismes1")->trigger();
    EXPECT_FALSE(s->visible);

    enfant<QAction>(*c, "Volcans1")->trigger();
    EXPECT_TRUE(VolcansCharges);
    EXPECT_TRUE(c->calque(Calque::Volcans)->visible);
    EXPECT_EQ(c->calque(Calque::Volcans)->bitmap.pixel(280, 90), 0xFFFF0000u);
    enfant<QAction>(*c, "Volcans1")->trigger();
    EXPECT_FALSE(c->calque(Calque::Volcans)->visible);

    enfant<QAction>(*c, "PointsGPS1")->trigger();
    EXPECT_TRUE(GPSCharges);
    EXPECT_EQ(TabStations.size(), 2u);
    TBitmapLayer* g = c->calque(Calque::GPS);
    EXPECT_TRUE(g->visible);
    EXPECT_EQ(g->bitmap.pixel(180, 90), c->Reglages.CouleurStations);
    EXPECT_NE(g->bitmap.pixel(200, 90), clTransparentWhite32); // the eastward vector
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    EXPECT_FALSE(g->visible);
}

TEST_F(FenetreCarte, MissingDefaultFileKeepsTheItemCheckedAndTheLayerEmpty)
{
    QFile::remove(d + QStringLiteral("s.fse"));
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    EXPECT_TRUE(enfant<QAction>(*c, "Seismes1")->isChecked());
    EXPECT_FALSE(script.shown.empty());
    EXPECT_TRUE(TabSeismes.empty());
}

TEST_F(FenetreCarte, VectorCommands)
{
    auto c = carte();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    enfant<QAction>(*c, "Nafficheraucunvecteur1")->trigger();
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(200, 90), clTransparentWhite32);
    enfant<QAction>(*c, "Affichertouslesvecteurs1")->trigger();
    EXPECT_NE(c->calque(Calque::GPS)->bitmap.pixel(200, 90), clTransparentWhite32);
    for (int i = 0; i < 20; ++i)
        enfant<QAction>(*c, "Agrandir1")->trigger();
    EXPECT_DOUBLE_EQ(c->Reglages.EchelleVecteurs, 5);
    enfant<QAction>(*c, "CorrectiondesVlat1")->trigger();
    EXPECT_TRUE(c->Reglages.CorrectionVLat);

    // The station pop-up acts on the station it was opened for.
    c->vecteurs().ouvrirMenuVect(0, QPoint(10, 10));
    EXPECT_TRUE(enfant<QAction>(*c, "Afficherlevecteur1")->isChecked());
    enfant<QAction>(*c, "Nepasafficherlevecteur1")->trigger();
    enfant<QMenu>(*c, "MenuVect")->hide();
    EXPECT_EQ(TabStations[0].Affiche, 0);
    EXPECT_EQ(TabStations[1].Affiche, 1);
}

TEST_F(FenetreCarte, DoubleClickChoosesTheReferenceStation)
{
    auto c = carte();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    c->DocumentDblClick(QPoint(100, 100)); // no station near
    EXPECT_EQ(c->Etat.StationRef, -1);
    c->DocumentDblClick(QPoint(210, 50)); // station BBBB at (30.2, 40)
    EXPECT_EQ(c->Etat.StationRef, 1);
    EXPECT_EQ(c->Etat.VitLatRef, 5);
    EXPECT_EQ(enfant<QLabel>(*c, "statRef")->text(), QStringLiteral(" Station considérée comme fixe : BBBB"));
    const TBitmap32& g = c->calque(Calque::GPS)->bitmap;
    EXPECT_EQ(g.pixel(c->Etat.PosRefX - 2, c->Etat.PosRefY - 2), 0xFFFF0000u);

    enfant<QAction>(*c, "Remiseazero1")->trigger();
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(enfant<QLabel>(*c, "statRef")->text().isEmpty());

    // A reload that no longer holds the reference station clears it.
    c->DocumentDblClick(QPoint(210, 50));
    ecrire(d + QStringLiteral("autre.gps"), encoderStations({station("CCCC", 5, 5, 1, 1)}));
    script.files.push_back(d + QStringLiteral("autre.gps"));
    enfant<QAction>(*c, "OuvrirunfichierGPS1")->trigger();
    EXPECT_EQ(TabStations.size(), 1u);
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(enfant<QLabel>(*c, "statRef")->text().isEmpty());
    EXPECT_EQ(c->DernierDossier, QDir::cleanPath(dir.path()));
}

TEST_F(FenetreCarte, ShiftRollsPicturesAndComesBackExactly)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    const TBitmap32 fond = c->scene().fond();
    const TBitmap32 seismes = c->calque(Calque::Seismes)->bitmap;
    enfant<QScrollBar>(*c, "decalage")->setValue(30);
    EXPECT_EQ(c->Etat.Decalage, 30);
    EXPECT_EQ(c->Etat.LongMinVisible, -210);
    EXPECT_EQ(c->scene().fond().pixel(30, 5), fond.pixel(0, 5));
    // The earthquake at longitude 10 now sits at 40°; the GPS layer was redrawn.
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap.pixel(220, 80), c->Reglages.CouleurSeismes);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(210, 90), c->Reglages.CouleurStations);
    // The reference station's square follows the station.
    c->DocumentDblClick(QPoint(240, 50)); // BBBB, now at 60.2° east on the map
    EXPECT_EQ(c->Etat.StationRef, 1);
    enfant<QScrollBar>(*c, "decalage")->setValue(60);
    EXPECT_EQ(c->Etat.PosRefX, 270);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(268, 48), 0xFFFF0000u);
    enfant<QScrollBar>(*c, "decalage")->setValue(180);
    enfant<QScrollBar>(*c, "decalage")->setValue(0);
    EXPECT_EQ(c->scene().fond(), fond);
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap, seismes);
}

TEST_F(FenetreCarte, DisplayDialogAppliesOnlyOnOk)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    c->executerDialogue = [](QDialog& dlg) {
        auto& ch = static_cast<TChoixCouleursCarte&>(dlg);
        EXPECT_EQ(ch.Magnimini->value(), 3);
        EXPECT_EQ(ch.ProflimiteS->value(), 500);
        EXPECT_TRUE(ch.PointsEpais->isChecked());
        EXPECT_FALSE(ch.FondNB->isChecked());
        ch.Magnimini->setValue(6);
        ch.AttenueFond->setValue(50);
        return static_cast<int>(QDialog::Rejected);
    };
    enfant<QAction>(*c, "Choix1")->trigger();
    EXPECT_EQ(c->Reglages.MagnitudeMini, 3);
    EXPECT_EQ(c->Reglages.Attenuation, 0x00FFFFFFu);

    // A colour panel takes the colour dialog's answer; OK applies everything.
    script.colours.push_back(0x8012AB34);
    c->executerDialogue = [](QDialog& dlg) {
        auto& ch = static_cast<TChoixCouleursCarte&>(dlg);
        EXPECT_EQ(ch.Magnimini->value(), 3); // reloaded from the settings
        ch.Magnimini->setValue(6);
        ch.AttenueFond->setValue(50);
        ch.PointsEpais->setChecked(false);
        ch.CouleurS->click();
        return static_cast<int>(QDialog::Accepted);
    };
    enfant<QAction>(*c, "Choix1")->trigger();
    EXPECT_EQ(c->Reglages.MagnitudeMini, 6);
    EXPECT_EQ(c->Reglages.Attenuation, 0x80FFFFFFu);
    EXPECT_FALSE(c->Reglages.PointsEpais);
    EXPECT_FALSE(enfant<QAction>(*c, "Pointsepais")->isChecked());
    EXPECT_EQ(c->Reglages.CouleurSeismes, 0xFF12AB34u);
    // Rebuilt with the new threshold: the magnitude 5 event is gone.
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap.pixel(190, 80), clTransparentWhite32);
}

TEST_F(FenetreCarte, BasePictureSwitchKeepsEachConfiguredName)
{
    auto c = carte();
    auto choisir = [&](bool nb, bool precise) {
        c->executerDialogue = [nb, precise](QDialog& dlg) {
            auto& ch = static_cast<TChoixCouleursCarte&>(dlg);
            ch.FondNB->setChecked(nb);
            ch.CartePrecise->setChecked(precise);
            return static_cast<int>(QDialog::Accepted);
        };
        enfant<QAction>(*c, "Choix1")->trigger();
    };
    enfant<QAction>(*c, "Seismes1")->trigger();
    choisir(true, true);
    EXPECT_TRUE(c->Etat.FondNBAffiche && c->Etat.CartePrecise);
    EXPECT_EQ(c->Etat.W, 720);
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap.width(), 720);
    EXPECT_EQ(c->Reglages.CouleurOutils, clBlack32);
    EXPECT_EQ(enfant<QScrollBar>(*c, "Zoom")->maximum(), carte::positionZoom(14400.0 / 720));

    // The colour 7200 picture is missing: nothing changes but the message.
    choisir(false, true);
    EXPECT_EQ(script.lastText(), QStringLiteral("Il manque l'image de la carte de fond "));
    EXPECT_TRUE(c->Etat.FondNBAffiche && c->Etat.CartePrecise);
    EXPECT_EQ(c->Etat.W, 720);

    // Both boxes unticked: the colour 3600 picture, not the black-and-white one.
    choisir(false, false);
    EXPECT_FALSE(c->Etat.FondNBAffiche || c->Etat.CartePrecise);
    EXPECT_EQ(c->Etat.W, 360);
    TBitmap32 attendu;
    ASSERT_TRUE(loadPicture(d + QStringLiteral("c3600.png"), attendu));
    EXPECT_EQ(c->scene().fond(), attendu);

    choisir(true, false);
    ASSERT_TRUE(loadPicture(d + QStringLiteral("nb3600.png"), attendu));
    EXPECT_EQ(c->scene().fond(), attendu);
}

TEST_F(FenetreCarte, UnreadableBasePictureKeepsThePreviousOne)
{
    auto c = carte();
    const TBitmap32 fond = c->scene().fond();
    ecrire(d + QStringLiteral("casse.jpg"), "pas une image");
    script.files.push_back(d + QStringLiteral("casse.jpg"));
    enfant<QAction>(*c, "Chargerunfonddecarte1")->trigger();
    EXPECT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(c->scene().fond(), fond);
    EXPECT_EQ(c->Etat.W, 360);

    // A readable one replaces it, rolled by the current shift.
    enfant<QScrollBar>(*c, "decalage")->setValue(90);
    script.files.push_back(d + QStringLiteral("nb7200.png"));
    enfant<QAction>(*c, "Chargerunfonddecarte1")->trigger();
    EXPECT_EQ(c->Etat.W, 720);
    TBitmap32 attendu;
    ASSERT_TRUE(loadPicture(d + QStringLiteral("nb7200.png"), attendu));
    attendu.rollHorizontal(180);
    EXPECT_EQ(c->scene().fond(), attendu);
}

TEST_F(FenetreCarte, LegendPlacedByDraggingThenMerged)
{
    auto c = carte();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    enfant<QAction>(*c, "Afficherlechelle1")->trigger();
    EXPECT_FALSE(enfant<QFrame>(*c, "Paninstr")->isHidden());
    EXPECT_TRUE(c->Reglages.PlacementLegende);
    TBitmapLayer* l = c->calque(Calque::Legende);
    ASSERT_FALSE(c->ImageLegende.isEmpty());
    EXPECT_TRUE(l->visible);
    EXPECT_EQ(l->location.size(), QSize(c->ImageLegende.width(), c->ImageLegende.height()));

    c->DocumentMouseDown(Qt::LeftButton, QPoint(20, 120), QPoint());
    c->DocumentMouseMove(Qt::LeftButton, QPoint(30, 130));
    EXPECT_EQ(l->location.topLeft(), QPoint(30, 130));
    enfant<QPushButton>(*c, "OKLegende")->click();
    EXPECT_TRUE(enfant<QFrame>(*c, "Paninstr")->isHidden());
    EXPECT_FALSE(c->Reglages.PlacementLegende);
    EXPECT_TRUE(c->Reglages.LegendePlacee);
    EXPECT_FALSE(l->visible);
    EXPECT_EQ(alphaOf(c->calque(Calque::GPS)->bitmap.pixel(c->ImageLegende.width() + 28, 131)), 0x60u);

    enfant<QAction>(*c, "Afficherlechelle1")->trigger();
    EXPECT_FALSE(c->Reglages.LegendePlacee);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(c->ImageLegende.width() + 28, 131), clTransparentWhite32);
}

TEST_F(FenetreCarte, EmptyingMemoryKeepsDisplayedKinds)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    c->DocumentDblClick(QPoint(210, 50));
    enfant<QAction>(*c, "PointsGPS1")->trigger(); // hidden: its stations go
    enfant<QAction>(*c, "Viderlamemoire1")->trigger();
    EXPECT_EQ(TabSeismes.size(), 2u);
    EXPECT_TRUE(TabStations.empty());
    EXPECT_FALSE(c->calqueAUneImage(Calque::GPS));
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(enfant<QLabel>(*c, "statRef")->text().isEmpty());
}

TEST_F(FenetreCarte, EveryResizeRefitsTheMap)
{
    auto c = carte();
    c->resize(900, 600);
    c->show();
    QApplication::processEvents();
    const double avant = c->Etat.EchelleMin;
    enfant<QScrollBar>(*c, "Zoom")->setValue(enfant<QScrollBar>(*c, "Zoom")->maximum());
    c->resize(1300, 700);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_GT(c->Etat.EchelleMin, avant);
    EXPECT_EQ(enfant<QScrollBar>(*c, "Zoom")->value(), enfant<QScrollBar>(*c, "Zoom")->minimum());
    EXPECT_DOUBLE_EQ(c->vue()->scale(), c->Etat.EchelleMin);
}

// --- The mouse tools, driven through the view's viewport ---

namespace {

// Pointer events at map pixels, as the user's mouse would send them.
struct Souris {
    TCarte& c;
    QWidget* vp() const { return c.vue()->viewport(); }
    QPoint vue(QPoint m) const { return c.vue()->mapToView(QPointF(m)).toPoint(); }
    void bouger(QPoint m) { QTest::mouseMove(vp(), vue(m)); }
    void appuyer(QPoint m, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(vp(), b, {}, vue(m)); }
    void relacher(QPoint m, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(vp(), b, {}, vue(m)); }
    void glisser(QPoint a, QPoint b)
    {
        bouger(a);
        appuyer(a);
        for (int i = 1; i <= 4; ++i)
            bouger(a + (b - a) * i / 4);
        relacher(b);
    }
    void cliquer(QPoint m, Qt::MouseButton b = Qt::LeftButton)
    {
        bouger(m);
        appuyer(m, b);
        relacher(m, b);
    }
};

int pixelsOpaques(const TBitmap32& b)
{
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += alphaOf(b.pixel(x, y)) > 0;
    return n;
}

// Adds up the areas the viewport was asked to repaint.
struct EspionPeinture : QObject {
    long long aire = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                aire += static_cast<long long>(r.width()) * r.height();
        return false;
    }
};

std::unique_ptr<TCarte> carteAffichee(std::unique_ptr<TCarte> c)
{
    c->resize(1000, 700);
    c->show();
    QApplication::processEvents();
    QApplication::processEvents();
    return c;
}

} // namespace

TEST_F(FenetreCarte, ModesFromMenuAndButtons)
{
    auto c = carte();
    EXPECT_TRUE(enfant<QToolButton>(*c, "Bcurseur")->isChecked());
    EXPECT_FALSE(enfant<QAction>(*c, "Tracecoupe")->isEnabled());
    EXPECT_FALSE(enfant<QToolButton>(*c, "BCoupe")->isEnabled());
    EXPECT_FALSE(enfant<QAction>(*c, "Coupe1")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(*c, "Grandcercle1")->isEnabled());

    enfant<QAction>(*c, "Suivreuntrajet")->trigger();
    EXPECT_TRUE(enfant<QToolButton>(*c, "BTrajet")->isChecked());
    EXPECT_FALSE(enfant<QToolButton>(*c, "Bcurseur")->isChecked());
    EXPECT_EQ(c->windowTitle(), QStringLiteral("Suivi d'un trajet"));
    EXPECT_EQ(c->vue()->viewport()->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(enfant<QFrame>(*c, "PanelDist")->isHidden());

    QTest::mouseClick(enfant<QToolButton>(*c, "BTrait"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(*c, "Tracdarcdegrandcercle")->isChecked());
    EXPECT_TRUE(enfant<QToolButton>(*c, "BTrait")->isChecked());
    EXPECT_FALSE(enfant<QToolButton>(*c, "BTrajet")->isChecked());
    EXPECT_EQ(c->windowTitle(), QStringLiteral("tracé d'arc de grand cercle"));
    EXPECT_EQ(c->vue()->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(enfant<QFrame>(*c, "PanelDist")->isHidden());

    QTest::mouseClick(enfant<QToolButton>(*c, "Bcadre"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(*c, "Delimitezone")->isChecked());
    EXPECT_EQ(c->windowTitle(), QStringLiteral("Délimiter une zone sur la carte"));
    QTest::mouseClick(enfant<QToolButton>(*c, "Bcurseur"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(*c, "Consultation")->isChecked());
    EXPECT_EQ(c->windowTitle(), QStringLiteral("Carte"));
}

TEST_F(FenetreCarte, ReadoutStationVolcanoMenuAndReference)
{
    std::vector<TVolcan> v(1);
    v[0].Longitude = 100;
    v[0].Latitude = 0;
    v[0].Altitude = 3350;
    assignShort(v[0].Nom, QStringLiteral("Etna"));
    ecrire(d + QStringLiteral("v.fvo"), encoderVolcans(v));
    auto c = carteAffichee(carte());
    Souris s{*c};
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    enfant<QAction>(*c, "Volcans1")->trigger();
    EXPECT_TRUE(enfant<QAction>(*c, "Rechercherunvolcan")->isEnabled());

    s.bouger(QPoint(180, 90)); // 0°, 0°: the equator and the prime meridian
    EXPECT_EQ(enfant<QLabel>(*c, "Latitude")->text(), QStringLiteral("Latitude : 0 °"));
    EXPECT_EQ(enfant<QLabel>(*c, "labalt")->text(), QStringLiteral("altitude : 0"));
    EXPECT_EQ(enfant<QLabel>(*c, "station")->text(), QStringLiteral("Station : AAAA"));
    EXPECT_EQ(enfant<QLabel>(*c, "Vitesse")->text(), QStringLiteral("Vitesse : 20 mm/an"));
    EXPECT_TRUE(enfant<QLabel>(*c, "Lvolcan")->isHidden());

    s.bouger(QPoint(280, 90)); // the volcano at 100° E
    EXPECT_EQ(enfant<QLabel>(*c, "Longitude")->text(), QStringLiteral("Longitude : 100 ° E"));
    EXPECT_TRUE(enfant<QLabel>(*c, "station")->text().isEmpty());
    EXPECT_FALSE(enfant<QLabel>(*c, "Lvolcan")->isHidden());
    EXPECT_EQ(enfant<QLabel>(*c, "NomsVolcans")->text(), QStringLiteral("Etna"));
    EXPECT_EQ(enfant<QLabel>(*c, "AltVolc")->text(), QStringLiteral("3350 m"));

    // Right press beside a station: its pop-up menu; double click: the fixed station.
    s.bouger(QPoint(210, 50));
    EXPECT_EQ(enfant<QLabel>(*c, "station")->text(), QStringLiteral("Station : BBBB"));
    s.appuyer(QPoint(210, 50), Qt::RightButton);
    EXPECT_EQ(c->vecteurs().stationMenuVect(), 1);
    enfant<QMenu>(*c, "MenuVect")->hide();
    s.relacher(QPoint(210, 50), Qt::RightButton);
    QTest::mouseDClick(s.vp(), Qt::LeftButton, {}, s.vue(QPoint(180, 90)));
    EXPECT_EQ(c->Etat.StationRef, 0);
    s.bouger(QPoint(210, 50));
    EXPECT_EQ(enfant<QLabel>(*c, "Vitesse")->text(), QStringLiteral("Vitesse relative : 15.8 mm/an"));

    // The search dialog lists the volcano.
    enfant<QAction>(*c, "Rechercherunvolcan")->trigger();
    ASSERT_NE(c->rechercheVolcan(), nullptr);
    EXPECT_TRUE(c->rechercheVolcan()->isVisible());
    c->rechercheVolcan()->nom()->setText(QStringLiteral("etn"));
    QTest::mouseClick(c->rechercheVolcan()->rechercher(), Qt::LeftButton);
    EXPECT_TRUE(c->rechercheVolcan()->reponse()->toPlainText().startsWith(QStringLiteral("Etna\nLatitude : 0")));
}

TEST_F(FenetreCarte, GreatCirclesKeptErasedOneByOneOrAll)
{
    auto c = carteAffichee(carte());
    Souris s{*c};
    enfant<QAction>(*c, "Tracdarcdegrandcercle")->trigger();
    // Not kept: only the band shows it, and the traces layer is not made.
    s.glisser(QPoint(60, 60), QPoint(300, 50));
    EXPECT_GT(pixelsOpaques(c->calque(Calque::Interaction)->bitmap), 0);
    EXPECT_FALSE(c->calqueAUneImage(Calque::Traces));
    EXPECT_TRUE(enfant<QLabel>(*c, "Labdistance")->text().startsWith(QStringLiteral("distance : ")));

    enfant<QAction>(*c, "conserverlestraces")->trigger();
    EXPECT_TRUE(enfant<QAction>(*c, "conserverlestraces")->isChecked());
    s.glisser(QPoint(60, 60), QPoint(300, 50));
    s.glisser(QPoint(60, 120), QPoint(300, 130));
    ASSERT_EQ(c->Interaction.arcs.size(), 2u);
    TBitmapLayer* t = c->calque(Calque::Traces);
    EXPECT_TRUE(t->visible);
    EXPECT_EQ(t->location, QRect(0, 0, 360, 180));
    const int deux = pixelsOpaques(t->bitmap);
    // Mode changes keep the traces.
    enfant<QAction>(*c, "Consultation")->trigger();
    EXPECT_EQ(pixelsOpaques(t->bitmap), deux);
    EXPECT_EQ(pixelsOpaques(c->calque(Calque::Interaction)->bitmap), 0);

    enfant<QAction>(*c, "Grandcercle1")->trigger();
    EXPECT_EQ(c->Interaction.arcs.size(), 1u);
    const int un = pixelsOpaques(t->bitmap);
    EXPECT_GT(un, 0);
    EXPECT_LT(un, deux);
    // The arcs are redrawn when the map is shifted, and come back with it.
    const TBitmap32 avant = t->bitmap;
    enfant<QScrollBar>(*c, "decalage")->setValue(90);
    EXPECT_GT(pixelsOpaques(t->bitmap), 0);
    EXPECT_GT(alphaOf(avant.pixel(60, 60)), 0u);
    EXPECT_EQ(alphaOf(t->bitmap.pixel(60, 60)), 0u);
    enfant<QScrollBar>(*c, "decalage")->setValue(0);
    EXPECT_EQ(pixelsOpaques(t->bitmap), un);

    script.answers.push_back(MsgResult::Cancel);
    enfant<QAction>(*c, "Effacerlestraces1")->trigger();
    EXPECT_EQ(script.lastText(), QStringLiteral("Atention, les repères seront perdus"));
    EXPECT_EQ(c->Interaction.arcs.size(), 1u);
    script.answers.push_back(MsgResult::Ok);
    enfant<QAction>(*c, "Effacerlestraces1")->trigger();
    EXPECT_TRUE(c->Interaction.arcs.empty());
    EXPECT_EQ(pixelsOpaques(t->bitmap), 0);
}

TEST_F(FenetreCarte, PathAddsLegsIntoThePanelAndTheLandmarkTable)
{
    auto c = carteAffichee(carte());
    Souris s{*c};
    enfant<QAction>(*c, "conserverlestraces")->trigger();
    enfant<QAction>(*c, "Suivreuntrajet")->trigger();
    EXPECT_EQ(enfant<QLabel>(*c, "LabDistCumul")->text(), QStringLiteral("0 km"));
    // Three vertices along the equator: 0°, 30° E, 60° E.
    s.cliquer(QPoint(180, 90));
    s.bouger(QPoint(200, 90)); // the band follows the pointer from the last vertex
    EXPECT_GT(pixelsOpaques(c->calque(Calque::Interaction)->bitmap), 0);
    s.cliquer(QPoint(210, 90));
    s.cliquer(QPoint(240, 90));
    EXPECT_EQ(enfant<QLabel>(*c, "LabDistCumul")->text(), QStringLiteral("6672 km"));
    EXPECT_TRUE(c->Interaction.trajetEnCours());
    // The right button ends the path without a leg.
    s.cliquer(QPoint(300, 90), Qt::RightButton);
    EXPECT_FALSE(c->Interaction.trajetEnCours());
    EXPECT_EQ(enfant<QLabel>(*c, "LabDistCumul")->text(), QStringLiteral("6672 km"));
    ASSERT_EQ(c->Interaction.groupes.size(), 1u);
    EXPECT_EQ(c->Interaction.groupes[0].reperes.size(), 3u);
    ASSERT_NE(c->tableauReperes(), nullptr);
    QTableWidget* tab = c->tableauReperes()->tableau();
    ASSERT_GE(tab->rowCount(), 3);
    EXPECT_EQ(tab->item(2, 2)->text(), QStringLiteral("60"));
    EXPECT_EQ(tab->item(2, 3)->text(), QStringLiteral("O"));
    EXPECT_GT(pixelsOpaques(c->calque(Calque::Traces)->bitmap), 0);

    QTest::mouseClick(enfant<QPushButton>(*c, "RAZ"), Qt::LeftButton);
    EXPECT_EQ(enfant<QLabel>(*c, "LabDistCumul")->text(), QStringLiteral("0 km"));
    EXPECT_FALSE(enfant<QFrame>(*c, "PanelDist")->isHidden());
}

TEST_F(FenetreCarte, ZoneSelectsItsStationsAndZoomsToIt)
{
    auto c = carteAffichee(carte());
    Souris s{*c};
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    enfant<QAction>(*c, "Delimitezone")->trigger();
    // A small zone around BBBB (30.2° E, 40° N): OK, no zoom button.
    s.glisser(QPoint(200, 40), QPoint(220, 60));
    EXPECT_TRUE(enfant<QToolButton>(*c, "BLoupe")->isHidden());
    EXPECT_FALSE(enfant<QPushButton>(*c, "OK")->isHidden());
    EXPECT_GT(pixelsOpaques(c->calque(Calque::Interaction)->bitmap), 0);
    QTest::mouseClick(enfant<QPushButton>(*c, "OK"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QPushButton>(*c, "OK")->isHidden());
    ASSERT_EQ(TabTri.size(), 1u);
    EXPECT_EQ(shortToQString(TabTri[0].Nom), QStringLiteral("BBBB"));
    EXPECT_EQ(TabStations[0].Affiche, 0);
    s.bouger(QPoint(180, 90)); // AAAA is no longer offered by the readout
    EXPECT_TRUE(enfant<QLabel>(*c, "station")->text().isEmpty());

    // A zone of 60° x 50° drawn from east to west: the zoom button centres it.
    s.glisser(QPoint(260, 40), QPoint(200, 90));
    ASSERT_FALSE(enfant<QToolButton>(*c, "BLoupe")->isHidden());
    const double avant = c->vue()->scale();
    QTest::mouseClick(enfant<QToolButton>(*c, "BLoupe"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QToolButton>(*c, "BLoupe")->isHidden());
    EXPECT_EQ(enfant<QScrollBar>(*c, "decalage")->value(), -50);
    EXPECT_EQ(c->Etat.Decalage, -50);
    EXPECT_GT(c->vue()->scale(), avant);
    // The zone's middle (50° E, 25° N) is in the middle of the view.
    const QPoint milieu = c->vue()->viewToMap(QPointF(c->vue()->viewport()->rect().center()));
    const carte::PositionGeo g = c->Etat.versGeo(milieu.x(), milieu.y());
    EXPECT_NEAR(g.longitude, 50, 3);
    EXPECT_NEAR(g.latitude, 25, 3);
}

TEST_F(FenetreCarte, RubberBandRepaintsOnlyWhatItCovered)
{
    auto c = carteAffichee(carte());
    Souris s{*c};
    // A long diagonal band (less than half the map wide, so that the shorter arc
    // stays on this side of the map): its bounding box covers a large part of the
    // view, the rectangles along the line only a small part of it.
    enfant<QAction>(*c, "Tracdarcdegrandcercle")->trigger();
    s.bouger(QPoint(20, 20));
    s.appuyer(QPoint(20, 20));
    s.bouger(QPoint(170, 159));
    QApplication::processEvents();
    EspionPeinture espion;
    s.vp()->installEventFilter(&espion);
    s.bouger(QPoint(171, 160));
    QApplication::processEvents();
    s.vp()->removeEventFilter(&espion);
    const QSize vue = s.vp()->size();
    EXPECT_GT(espion.aire, 0);
    EXPECT_LT(espion.aire, static_cast<long long>(vue.width()) * vue.height() / 4);
    s.relacher(QPoint(171, 160));
}

TEST_F(FenetreCarte, LandmarksFromTheTableAndFromAFile)
{
    auto c = carte();
    enfant<QAction>(*c, "FenetreReperes1")->trigger();
    ASSERT_NE(c->tableauReperes(), nullptr);
    EXPECT_TRUE(c->tableauReperes()->isVisible());
    carte::TGrilleReperes g = carte::TGrilleReperes::nouvelle();
    g.definirCellule(1, 0, QStringLiteral("Quito"));
    g.definirCellule(1, 1, QStringLiteral("-0,2"));
    g.definirCellule(1, 2, QStringLiteral("-78.5"));
    g.definirCellule(2, 0, QStringLiteral("Nairobi"));
    g.definirCellule(2, 1, QStringLiteral("-1.3"));
    g.definirCellule(2, 2, QStringLiteral("36.8"));
    g.definirCellule(2, 3, QStringLiteral("n"));
    g.relier = true;
    g.grandsCercles = true;
    c->tableauReperes()->definirGrille(g);
    c->tableauReperes()->valider1Click();
    ASSERT_EQ(c->Interaction.groupes.size(), 1u);
    EXPECT_EQ(c->Interaction.groupes[0].reperes.size(), 2u);
    EXPECT_EQ(c->tableauReperes()->tableau()->item(1, 3)->text(), QStringLiteral("N"));
    EXPECT_EQ(c->tableauReperes()->tableau()->item(0, 1)->text(), QStringLiteral("-0.2"));
    EXPECT_TRUE(c->calque(Calque::Traces)->visible);
    EXPECT_GT(pixelsOpaques(c->calque(Calque::Traces)->bitmap), 0);
    EXPECT_FALSE(enfant<QFrame>(*c, "PanelDist")->isHidden());

    // "Charger des reperes": the file replaces the table, then is added.
    carte::TGrilleReperes f = carte::TGrilleReperes::nouvelle();
    f.definirCellule(1, 0, QStringLiteral("Lima"));
    f.definirCellule(1, 1, QStringLiteral("-12"));
    f.definirCellule(1, 2, QStringLiteral("-77"));
    ASSERT_TRUE(carte::enregistrerFichierReperes(d + QStringLiteral("r.obf"), f));
    script.files.push_back(d + QStringLiteral("r.obf"));
    enfant<QAction>(*c, "Chargerdesreperes1")->trigger();
    EXPECT_EQ(script.fileRequests.back().filter, QStringLiteral("fichier orbiplate|*.obf"));
    ASSERT_EQ(c->Interaction.groupes.size(), 1u); // "Ajouter" unticked: replaced
    EXPECT_EQ(c->Interaction.groupes[0].reperes[0].Nom, QStringLiteral("Lima"));
}

TEST_F(FenetreCarte, FaultyLandmarkRowsAreToldOnceAndMarked)
{
    auto c = carte();
    enfant<QAction>(*c, "FenetreReperes1")->trigger();
    carte::TGrilleReperes g = carte::TGrilleReperes::nouvelle();
    const char* lignes[][4] = {{"Quito", "-0.2", "-78.5", ""}, {"Paris", "abc", "2.35", "N"},
                               {"Lima", "-12", "200", ""},     {"Tokyo", "35.7", "139.7", "E"}};
    for (int r = 0; r < 4; ++r)
        for (int col = 0; col < 4; ++col)
            g.definirCellule(r + 1, col, QString::fromUtf8(lignes[r][col]));
    c->tableauReperes()->definirGrille(g);
    script.shown.clear();
    c->tableauReperes()->valider1Click();

    ASSERT_EQ(c->Interaction.groupes.size(), 1u);
    ASSERT_EQ(c->Interaction.groupes[0].reperes.size(), 2u);
    EXPECT_EQ(c->Interaction.groupes[0].reperes[1].Nom, QStringLiteral("Tokyo"));
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(script.shown[0].text.startsWith(
        QString::fromUtf8("Ligne 2 (Paris) ignorée : latitude « abc » illisible.\nLigne 3 (Lima) ignorée")))
        << script.shown[0].text.toStdString();
    // The table comes back with the faulty cells marked, as typed.
    EXPECT_TRUE(c->tableauReperes()->celluleMarquee(1, 1));
    EXPECT_TRUE(c->tableauReperes()->celluleMarquee(2, 2));
    EXPECT_FALSE(c->tableauReperes()->celluleMarquee(3, 2));
    EXPECT_EQ(c->tableauReperes()->tableau()->item(1, 1)->text(), QStringLiteral("abc"));
}

TEST_F(FenetreCarte, DataOpenDialogsOfferCsv)
{
    auto c = carte();
    enfant<QAction>(*c, "OuvrirunfichierGPS1")->trigger();
    enfant<QAction>(*c, "OuvrirunfichierSeismes1")->trigger();
    enfant<QAction>(*c, "Chargerunfichierdevolcans1")->trigger();
    ASSERT_EQ(script.fileRequests.size(), 3u);
    for (const FileDialogRequest& r : script.fileRequests)
        EXPECT_TRUE(r.filter.contains(QStringLiteral("CSV|*.csv"))) << r.filter.toStdString();
}

// A wrong file never wipes what the map shows and always says why; a partial load
// says how much was read; saving nothing writes nothing; the save dialogs see the
// data files.
TEST_F(FenetreCarte, BadFilesSayWhyAndKeepTheMap)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    ASSERT_EQ(TabSeismes.size(), 2u);
    const TBitmap32 avant = c->calque(Calque::Seismes)->bitmap;
    auto charger = [&](const QString& nom, const QByteArray& octets, QAction* commande) {
        ecrire(d + nom, octets);
        script.files.push_back(d + nom);
        script.shown.clear();
        commande->trigger();
        return script.shown.empty() ? ScriptedDialogs::Shown{MsgKind::Information, QString(), MsgButtons::Ok}
                                    : script.shown.back();
    };

    QByteArray photo;
    {
        QBuffer tampon(&photo);
        tampon.open(QIODevice::WriteOnly);
        QImage photo(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                photo.setPixel(x, y, qRgb(x * 4, y * 5, 128));
        photo.save(&tampon, "JPG");
    }
    struct Cas {
        QString nom;
        QByteArray octets;
        const char* attendu;
    } mauvais[] = {
        {QStringLiteral("vide.fse"), QByteArray(), "aucun séisme"},
        {QStringLiteral("photo.fse"), photo, "n'est pas un fichier de séismes"},
        {QStringLiteral("autre.txt"), QByteArray("bonjour\nrien ici\n"), "forme attendue"},
        {QStringLiteral("profond.fse"), encoderSeismes({[] {
             TSeisme s;
             s.Latitude = 10;
             s.Longitude = 10;
             s.Profondeur = -1e10f;
             s.Magnitude = 5;
             return s;
         }()}),
         "profondeur"},
    };
    for (const Cas& m : mauvais) {
        const ScriptedDialogs::Shown vu = charger(m.nom, m.octets, enfant<QAction>(*c, "OuvrirunfichierSeismes1"));
        EXPECT_EQ(vu.kind, MsgKind::Error) << m.nom.toStdString();
        EXPECT_TRUE(vu.text.contains(m.nom)) << vu.text.toStdString();
        EXPECT_TRUE(vu.text.contains(QString::fromUtf8(m.attendu))) << vu.text.toStdString();
        EXPECT_EQ(TabSeismes.size(), 2u);
        EXPECT_EQ(c->calque(Calque::Seismes)->bitmap, avant);
    }

    // A truncated file loads its complete records and says so.
    std::vector<TSeisme> trois(3);
    for (TSeisme& s : trois)
        s.Magnitude = 5;
    QByteArray tronque = encoderSeismes(trois);
    tronque.chop(5);
    ScriptedDialogs::Shown vu = charger(QStringLiteral("t.fse"), tronque, enfant<QAction>(*c, "OuvrirunfichierSeismes1"));
    EXPECT_EQ(vu.kind, MsgKind::Warning);
    EXPECT_TRUE(vu.text.contains(QStringLiteral("tronqué"))) << vu.text.toStdString();
    EXPECT_EQ(TabSeismes.size(), 2u);

    // GPS: a garbage CSV says what is wrong, not that the file is missing.
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    ASSERT_EQ(TabStations.size(), 2u);
    vu = charger(QStringLiteral("n.csv"), QByteArray("\x89PNG\r\n\x1a\n\x01\x02,\x03\n"), enfant<QAction>(*c, "OuvrirunfichierGPS1"));
    EXPECT_EQ(vu.kind, MsgKind::Error);
    EXPECT_FALSE(vu.text.contains(QStringLiteral("non trouvé"))) << vu.text.toStdString();
    EXPECT_TRUE(vu.text.contains(QStringLiteral("n.csv")));
    EXPECT_EQ(TabStations.size(), 2u);
    vu = charger(QStringLiteral("vide.gps"), QByteArray(), enfant<QAction>(*c, "OuvrirunfichierGPS1"));
    EXPECT_EQ(vu.kind, MsgKind::Error);
    EXPECT_TRUE(vu.text.contains(QStringLiteral("aucune station"))) << vu.text.toStdString();
    EXPECT_EQ(TabStations.size(), 2u);

    // Save filters match the data files; nothing to save writes nothing.
    script.fileRequests.clear();
    enfant<QAction>(*c, "Enregistrerlefichierdeseismes1")->trigger();
    enfant<QAction>(*c, "EnregistrerlesvecteursaffichescommedonneesGPS1")->trigger();
    ASSERT_EQ(script.fileRequests.size(), 2u);
    EXPECT_TRUE(script.fileRequests[0].filter.endsWith(QStringLiteral("|*.fse")));
    EXPECT_TRUE(script.fileRequests[1].filter.endsWith(QStringLiteral("|*.gps")));
    viderSeismes();
    script.fileRequests.clear();
    script.shown.clear();
    enfant<QAction>(*c, "Enregistrerlefichierdeseismes1")->trigger();
    EXPECT_TRUE(script.fileRequests.empty());
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.lastText().contains(QStringLiteral("rien à enregistrer")));
}

// The map follows its stores: a file loaded through the data object, or vectors
// marked there, redraw the layers that show them without any map command.
TEST_F(FenetreCarte, LayersFollowTheDataObject)
{
    auto c = carte();
    enfant<QAction>(*c, "Seismes1")->trigger();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    TBitmapLayer* s = c->calque(Calque::Seismes);
    ASSERT_EQ(s->bitmap.pixel(190, 80), c->Reglages.CouleurSeismes);
    std::vector<TSeisme> autre(1);
    autre[0].Longitude = -100;
    autre[0].Latitude = 45;
    autre[0].Magnitude = 6;
    ecrire(d + QStringLiteral("autre.fse"), encoderSeismes(autre));
    ASSERT_TRUE(donnees.ChargerSeismes(d + QStringLiteral("autre.fse")).ok);
    EXPECT_EQ(s->bitmap.pixel(190, 80), clTransparentWhite32);
    EXPECT_EQ(s->bitmap.pixel(80, 45), c->Reglages.CouleurSeismes);

    TBitmapLayer* g = c->calque(Calque::GPS);
    ASSERT_NE(g->bitmap.pixel(200, 90), clTransparentWhite32); // AAAA's eastward vector
    donnees.afficherTousLesVecteurs(false);
    EXPECT_EQ(g->bitmap.pixel(200, 90), clTransparentWhite32);
    donnees.viderStations();
    EXPECT_EQ(g->bitmap.pixel(180, 90), clTransparentWhite32) << "the stations are gone from the map";
}

// What the screen shows is the scene's rendering: the view's pixels equal the
// scene rendered off screen for the same part of the map, fitted and zoomed.
TEST_F(FenetreCarte, ScreenShowsTheScenesRendering)
{
    auto c = carteAffichee(carte());
    enfant<QAction>(*c, "Seismes1")->trigger();
    enfant<QAction>(*c, "PointsGPS1")->trigger();
    for (double zoom : {0.0, 1.0, 2.0}) {
        if (zoom > 0)
            c->vue()->setScale(zoom);
        QApplication::processEvents();
        const QImage ecran = c->vue()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        TBitmap32 hors(ecran.width(), ecran.height());
        c->scene().rendreDans(c->vue()->placement(), hors.boundsRect(), hors, OptionsRendu{});
        int differents = 0;
        for (int y = 0; y < ecran.height(); ++y)
            for (int x = 0; x < ecran.width(); ++x)
                differents += (ecran.pixel(x, y) | 0xFF000000u) != hors.pixel(x, y);
        EXPECT_EQ(differents, 0) << "zoom " << c->vue()->scale();
        // At zoom 1 the map rendered at its own size gives the same pixels.
        if (zoom == 1.0) {
            const QPoint coin = c->vue()->viewToMap(QPointF(0, 0));
            const TBitmap32 r = c->scene().rendre(QRect(coin, QSize(100, 60)), QSize(100, 60));
            const QPoint v = c->vue()->mapToView(QPointF(coin)).toPoint();
            EXPECT_EQ(r.pixel(50, 30), ecran.pixel(v.x() + 50, v.y() + 30) | 0xFF000000u);
        }
    }
}
