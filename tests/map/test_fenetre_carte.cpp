// The map window driven without a display: start-up, menus, layers, display
// choices, legend placement, reference station, shift and base picture changes.
#include "data/loaders.h"
#include "data/stores.h"
#include "map/windows/choixcouleurscarte.h"
#include "map/windows/delimCarte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QScrollBar>
#include <QTemporaryDir>

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

class FenetreCarte : public ::testing::Test {
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
        auto c = std::make_unique<TCarte>(dir.path());
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
    TCarte c(dir.path());
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
    EXPECT_EQ(c->Zoom->maximum(), carte::positionZoom(14400.0 / 360));
    EXPECT_EQ(c->Zoom->value(), c->Zoom->minimum());
    EXPECT_DOUBLE_EQ(c->Document->scale(), c->Etat.EchelleMin);
    EXPECT_EQ(c->calque(Calque::Interaction)->bitmap.width(), 360);
    // Layers hold no pixels until shown.
    EXPECT_FALSE(c->calqueAUneImage(Calque::Seismes));
    EXPECT_FALSE(c->calqueAUneImage(Calque::GPS));
    c->Zoom->setValue(c->Zoom->maximum());
    EXPECT_NEAR(c->Document->scale(), 40.0, 0.3);
}

TEST_F(FenetreCarte, MenusInPlaceWithTheirCaptions)
{
    auto c = carte();
    QStringList titres;
    for (QAction* a : c->menuBar()->actions())
        titres << a->text();
    EXPECT_EQ(titres, (QStringList{"&Fichier", "Edition", "&Affichage", "&Mode", "&Vecteurs", "&Exercices", "&Aide"}));
    EXPECT_EQ(textes(c->Fichier1),
              (QStringList{"&Imprimer", "&Quitter", "Charger un fichier de configuration", "Charger un fichier GPS",
                           "Charger un fichier Séismes", "Charger un fichier de volcans", "Charger un fond de carte",
                           "Enregistrer le fichier de séismes", "Enregistrer le fichier de volcans",
                           "Enregistrer les vecteurs affichés comme données GPS", "Enregistrer l'image sous...",
                           "CalculetableSurfVol", "Charger des données dans un tableur", "Charger des reperes"}));
    EXPECT_EQ(textes(c->Affichage1),
              (QStringList{"Points &GPS", "&Seismes", "&Volcans", "age des fonds océaniques", "Niveau marin si...",
                           "Population", "Fenêtre Coupes", "Fenêtre &Tableau GPS", "Fenêtre  de Dessin",
                           "Vue polaire", "Fenêtre Repères", "&Choix...", "Points épais"}));
    EXPECT_EQ(textes(c->Vecteurs1),
              (QStringList{"&Choisir les vecteurs à afficher", "Afficher &tous les vecteurs", "N'afficher aucun vecteur",
                           "&Agrandir", "&Rétrécir", "Remise à &zéro", "Aff&icher l'échelle",
                           "Correction des &V. lat"}));
    EXPECT_EQ(textes(c->Aide1), (QStringList{"&Fichier d'aide", "&A propos de...", "Vider la mémoire"}));
    EXPECT_EQ(textes(c->Mode1).first(), QStringLiteral("&Consultation"));
    EXPECT_TRUE(c->Consultation->isChecked());
    EXPECT_TRUE(c->CopieavecfondNB1->isChecked());
    // Hidden items.
    EXPECT_FALSE(c->Chargerunfichierdevolcans1->isVisible());
    EXPECT_FALSE(c->Pointsepais->isVisible());
    EXPECT_TRUE(c->Pointsepais->isChecked());
    EXPECT_FALSE(c->MZoom->isVisible());
    // Commands of windows still to come are shown disabled.
    EXPECT_FALSE(c->Enregistrerlimagesous1->isEnabled());
    EXPECT_FALSE(c->FenetreCoupes1->isEnabled());
    EXPECT_FALSE(c->Rechercherunvolcan->isEnabled());
    // Vectors and exercises follow the GPS layer.
    EXPECT_FALSE(c->Vecteurs1->menuAction()->isVisible());
    EXPECT_FALSE(c->Exercices1->menuAction()->isVisible());
    c->PointsGPS1->trigger();
    EXPECT_TRUE(c->Vecteurs1->menuAction()->isVisible());
    EXPECT_TRUE(c->Exercices1->menuAction()->isVisible());
    c->PointsGPS1->trigger();
    EXPECT_FALSE(c->Vecteurs1->menuAction()->isVisible());
}

TEST_F(FenetreCarte, EachLayerLoadsItsDefaultFileAndToggles)
{
    auto c = carte();
    c->Seismes1->trigger();
    EXPECT_TRUE(SeismesCharges);
    EXPECT_EQ(TabSeismes.size(), 2u);
    TBitmapLayer* s = c->calque(Calque::Seismes);
    EXPECT_TRUE(s->visible);
    EXPECT_EQ(s->location, QRect(0, 0, 360, 180));
    EXPECT_EQ(s->bitmap.pixel(190, 80), c->Reglages.CouleurSeismes); // magnitude 5 at (10, 10)
    EXPECT_EQ(s->bitmap.pixel(120, 110), clTransparentWhite32);      // magnitude 2 under the threshold
    c->Seismes1->trigger();
    EXPECT_FALSE(s->visible);

    c->Volcans1->trigger();
    EXPECT_TRUE(VolcansCharges);
    EXPECT_TRUE(c->calque(Calque::Volcans)->visible);
    EXPECT_EQ(c->calque(Calque::Volcans)->bitmap.pixel(280, 90), 0xFFFF0000u);
    c->Volcans1->trigger();
    EXPECT_FALSE(c->calque(Calque::Volcans)->visible);

    c->PointsGPS1->trigger();
    EXPECT_TRUE(GPSCharges);
    EXPECT_EQ(TabStations.size(), 2u);
    TBitmapLayer* g = c->calque(Calque::GPS);
    EXPECT_TRUE(g->visible);
    EXPECT_EQ(g->bitmap.pixel(180, 90), c->Reglages.CouleurStations);
    EXPECT_NE(g->bitmap.pixel(200, 90), clTransparentWhite32); // the eastward vector
    c->PointsGPS1->trigger();
    EXPECT_FALSE(g->visible);
}

TEST_F(FenetreCarte, MissingDefaultFileKeepsTheItemCheckedAndTheLayerEmpty)
{
    QFile::remove(d + QStringLiteral("s.fse"));
    auto c = carte();
    c->Seismes1->trigger();
    EXPECT_TRUE(c->Seismes1->isChecked());
    EXPECT_FALSE(script.shown.empty());
    EXPECT_TRUE(TabSeismes.empty());
}

TEST_F(FenetreCarte, VectorCommands)
{
    auto c = carte();
    c->PointsGPS1->trigger();
    c->Nafficheraucunvecteur1->trigger();
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(200, 90), clTransparentWhite32);
    c->Affichertouslesvecteurs1->trigger();
    EXPECT_NE(c->calque(Calque::GPS)->bitmap.pixel(200, 90), clTransparentWhite32);
    for (int i = 0; i < 20; ++i)
        c->Agrandir1->trigger();
    EXPECT_DOUBLE_EQ(c->Reglages.EchelleVecteurs, 5);
    c->CorrectiondesVlat1->trigger();
    EXPECT_TRUE(c->Reglages.CorrectionVLat);

    // The station pop-up acts on the station it was opened for.
    c->ouvrirMenuVect(0, QPoint(10, 10));
    EXPECT_TRUE(c->Afficherlevecteur1->isChecked());
    c->Nepasafficherlevecteur1->trigger();
    c->MenuVect->hide();
    EXPECT_EQ(TabStations[0].Affiche, 0);
    EXPECT_EQ(TabStations[1].Affiche, 1);
}

TEST_F(FenetreCarte, DoubleClickChoosesTheReferenceStation)
{
    auto c = carte();
    c->PointsGPS1->trigger();
    c->DocumentDblClick(QPoint(100, 100)); // no station near
    EXPECT_EQ(c->Etat.StationRef, -1);
    c->DocumentDblClick(QPoint(210, 50)); // station BBBB at (30.2, 40)
    EXPECT_EQ(c->Etat.StationRef, 1);
    EXPECT_EQ(c->Etat.VitLatRef, 5);
    EXPECT_EQ(c->statRef->text(), QStringLiteral(" Station considérée comme fixe : BBBB"));
    const TBitmap32& g = c->calque(Calque::GPS)->bitmap;
    EXPECT_EQ(g.pixel(c->Etat.PosRefX - 2, c->Etat.PosRefY - 2), 0xFFFF0000u);

    c->Remiseazero1->trigger();
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(c->statRef->text().isEmpty());

    // A reload that no longer holds the reference station clears it.
    c->DocumentDblClick(QPoint(210, 50));
    ecrire(d + QStringLiteral("autre.gps"), encoderStations({station("CCCC", 5, 5, 1, 1)}));
    script.files.push_back(d + QStringLiteral("autre.gps"));
    c->OuvrirunfichierGPS1->trigger();
    EXPECT_EQ(TabStations.size(), 1u);
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(c->statRef->text().isEmpty());
    EXPECT_EQ(c->DernierDossier, QDir::cleanPath(dir.path()));
}

TEST_F(FenetreCarte, ShiftRollsPicturesAndComesBackExactly)
{
    auto c = carte();
    c->Seismes1->trigger();
    c->PointsGPS1->trigger();
    const TBitmap32 fond = c->Document->base();
    const TBitmap32 seismes = c->calque(Calque::Seismes)->bitmap;
    c->decalage->setValue(30);
    EXPECT_EQ(c->Etat.Decalage, 30);
    EXPECT_EQ(c->Etat.LongMinVisible, -210);
    EXPECT_EQ(c->Document->base().pixel(30, 5), fond.pixel(0, 5));
    // The earthquake at longitude 10 now sits at 40°; the GPS layer was redrawn.
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap.pixel(220, 80), c->Reglages.CouleurSeismes);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(210, 90), c->Reglages.CouleurStations);
    // The reference station's square follows the station.
    c->DocumentDblClick(QPoint(240, 50)); // BBBB, now at 60.2° east on the map
    EXPECT_EQ(c->Etat.StationRef, 1);
    c->decalage->setValue(60);
    EXPECT_EQ(c->Etat.PosRefX, 270);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(268, 48), 0xFFFF0000u);
    c->decalage->setValue(180);
    c->decalage->setValue(0);
    EXPECT_EQ(c->Document->base(), fond);
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap, seismes);
}

TEST_F(FenetreCarte, DisplayDialogAppliesOnlyOnOk)
{
    auto c = carte();
    c->Seismes1->trigger();
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
    c->Choix1->trigger();
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
    c->Choix1->trigger();
    EXPECT_EQ(c->Reglages.MagnitudeMini, 6);
    EXPECT_EQ(c->Reglages.Attenuation, 0x80FFFFFFu);
    EXPECT_FALSE(c->Reglages.PointsEpais);
    EXPECT_FALSE(c->Pointsepais->isChecked());
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
        c->Choix1->trigger();
    };
    c->Seismes1->trigger();
    choisir(true, true);
    EXPECT_TRUE(c->Etat.FondNBAffiche && c->Etat.CartePrecise);
    EXPECT_EQ(c->Etat.W, 720);
    EXPECT_EQ(c->calque(Calque::Seismes)->bitmap.width(), 720);
    EXPECT_EQ(c->Reglages.CouleurOutils, clBlack32);
    EXPECT_EQ(c->Zoom->maximum(), carte::positionZoom(14400.0 / 720));

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
    EXPECT_EQ(c->Document->base(), attendu);

    choisir(true, false);
    ASSERT_TRUE(loadPicture(d + QStringLiteral("nb3600.png"), attendu));
    EXPECT_EQ(c->Document->base(), attendu);
}

TEST_F(FenetreCarte, UnreadableBasePictureKeepsThePreviousOne)
{
    auto c = carte();
    const TBitmap32 fond = c->Document->base();
    ecrire(d + QStringLiteral("casse.jpg"), "pas une image");
    script.files.push_back(d + QStringLiteral("casse.jpg"));
    c->Chargerunfonddecarte1->trigger();
    EXPECT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(c->Document->base(), fond);
    EXPECT_EQ(c->Etat.W, 360);

    // A readable one replaces it, rolled by the current shift.
    c->decalage->setValue(90);
    script.files.push_back(d + QStringLiteral("nb7200.png"));
    c->Chargerunfonddecarte1->trigger();
    EXPECT_EQ(c->Etat.W, 720);
    TBitmap32 attendu;
    ASSERT_TRUE(loadPicture(d + QStringLiteral("nb7200.png"), attendu));
    attendu.rollHorizontal(180);
    EXPECT_EQ(c->Document->base(), attendu);
}

TEST_F(FenetreCarte, LegendPlacedByDraggingThenMerged)
{
    auto c = carte();
    c->PointsGPS1->trigger();
    c->Afficherlechelle1->trigger();
    EXPECT_FALSE(c->Paninstr->isHidden());
    EXPECT_TRUE(c->Reglages.PlacementLegende);
    TBitmapLayer* l = c->calque(Calque::Legende);
    ASSERT_FALSE(c->ImageLegende.isEmpty());
    EXPECT_TRUE(l->visible);
    EXPECT_EQ(l->location.size(), QSize(c->ImageLegende.width(), c->ImageLegende.height()));

    c->DocumentMouseDown(Qt::LeftButton, QPoint(20, 120), QPoint());
    c->DocumentMouseMove(Qt::LeftButton, QPoint(30, 130));
    EXPECT_EQ(l->location.topLeft(), QPoint(30, 130));
    c->OKLegende->click();
    EXPECT_TRUE(c->Paninstr->isHidden());
    EXPECT_FALSE(c->Reglages.PlacementLegende);
    EXPECT_TRUE(c->Reglages.LegendePlacee);
    EXPECT_FALSE(l->visible);
    EXPECT_EQ(alphaOf(c->calque(Calque::GPS)->bitmap.pixel(c->ImageLegende.width() + 28, 131)), 0x60u);

    c->Afficherlechelle1->trigger();
    EXPECT_FALSE(c->Reglages.LegendePlacee);
    EXPECT_EQ(c->calque(Calque::GPS)->bitmap.pixel(c->ImageLegende.width() + 28, 131), clTransparentWhite32);
}

TEST_F(FenetreCarte, EmptyingMemoryKeepsDisplayedKinds)
{
    auto c = carte();
    c->Seismes1->trigger();
    c->PointsGPS1->trigger();
    c->DocumentDblClick(QPoint(210, 50));
    c->PointsGPS1->trigger(); // hidden: its stations go
    c->Viderlamemoire1->trigger();
    EXPECT_EQ(TabSeismes.size(), 2u);
    EXPECT_TRUE(TabStations.empty());
    EXPECT_FALSE(c->calqueAUneImage(Calque::GPS));
    EXPECT_EQ(c->Etat.StationRef, -1);
    EXPECT_TRUE(c->statRef->text().isEmpty());
}

TEST_F(FenetreCarte, EveryResizeRefitsTheMap)
{
    auto c = carte();
    c->resize(900, 600);
    c->show();
    QApplication::processEvents();
    const double avant = c->Etat.EchelleMin;
    c->Zoom->setValue(c->Zoom->maximum());
    c->resize(1300, 700);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_GT(c->Etat.EchelleMin, avant);
    EXPECT_EQ(c->Zoom->value(), c->Zoom->minimum());
    EXPECT_DOUBLE_EQ(c->Document->scale(), c->Etat.EchelleMin);
}
