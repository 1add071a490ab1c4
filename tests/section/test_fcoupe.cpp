// The section window driven without a display: its tools through the buttons and
// the mouse, undo and erasing, the context menu, the layouts, the exports.
#include "carte_test_util.h"
#include "drawing/windows/dialoguestexte.h"
#include "drawing/windows/feuilledessin.h"
#include "section/windows/fcoupe.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"
#include "ui/windows/panneaucouleur.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <random>

using namespace coupe;

namespace {

std::unique_ptr<TBitmapSIG> nouvelle(TImagesCoupe& im, const QString& nom, double L = 2000)
{
    auto s = im.nouvelleCoupe(nom, true);
    for (int i = 0; i <= 20; ++i) {
        const double d = i * L / 20;
        s->profil.push_back({d, d >= 0.4 * L && d <= 0.6 * L ? 2000 : -3000});
    }
    for (int k = 0; k < 10; ++k) {
        s->seismes.push_back({L * (0.3 + k * 0.04), 60000 * k});
        s->magnitudes_seismes.push_back(5.5f + k * 0.1f);
    }
    s->volcans.push_back({L / 2, 1500});
    return s;
}

class FenetreCoupe : public ::testing::Test {
protected:
    void SetUp() override
    {
        installerRenduCoupe();
        f.resize(1300, 900);
        f.executerDialogue = [this](QDialog& d) { return repondre(d); };
        f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe A")));
        QApplication::processEvents();
        QApplication::processEvents();
    }
    int repondre(QDialog& d)
    {
        if (&d == &saisieTexte()) {
            saisieTexte().TexteSaisi->setPlainText(texte);
            return QDialog::Accepted;
        }
        if (&d == &choixCouleurs()) {
            choixCouleurs().CouleurPr->setCouleur(0xFF00FFFF);
            choixCouleurs().Transpar->setValue(55);
            return QDialog::Accepted;
        }
        return QDialog::Rejected;
    }
    QWidget* vp() const { return f.Profil()->viewport(); }
    const TBitmapSIG& s() { return f.images().image(4); }
    void glisser(QPoint a, QPoint b)
    {
        QTest::mousePress(vp(), Qt::LeftButton, {}, a);
        QTest::mouseMove(vp(), (a + b) / 2);
        QTest::mouseMove(vp(), b);
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, b);
    }
    QString lecture(const char* nom) { return enfant<QLabel>(f, nom)->text(); }
    // The item of a menu whose caption is `texte`.
    static QAction* item(QMenu* m, const QString& texte)
    {
        for (QAction* a : m->actions())
            if (a->text() == texte)
                return a;
        ADD_FAILURE() << "no item " << texte.toStdString();
        return nullptr;
    }
    void contexte(QPoint p)
    {
        QTest::mousePress(vp(), Qt::RightButton, {}, p);
        f.menuContexte()->hide();
    }

    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    QString texte = QStringLiteral("CO<sub>2</sub>");
    TCoupe f;
};

} // namespace

TEST_F(FenetreCoupe, OpensWithTheMeasureToolAndTheSectionInOneFrame)
{
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Coupe"));
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(enfant<QToolButton>(f, "Bouton_mesure")->isChecked());
    EXPECT_EQ(enfant<QToolButton>(f, "BoutonCroute")->toolTip(), QStringLiteral("Coloration de la croûte"));
    EXPECT_FALSE(enfant<QAction>(f, "Annuler")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(f, "uncadre1")->isChecked());
    EXPECT_TRUE(enfant<QAction>(f, "x5")->isChecked());
    // The base image is the view's client area less 19 pixels each way.
    const QSize client = vp()->size();
    EXPECT_EQ(f.vueCoupes().taille(), QSize(client.width() - 19, client.height() - 19));
    EXPECT_EQ(f.vueCoupes().placeCadre(0).size(), f.vueCoupes().taille());
    // Every picture has its item in the frame menus.
    ASSERT_EQ(f.menuAfficher()->actions().size(), 5);
    EXPECT_EQ(f.menuAfficher()->actions()[4]->text(), QStringLiteral("Coupe A"));
    EXPECT_FALSE(f.menuDessous()->menuAction()->isVisible());
    // Two more sections: two then four frames.
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe B")));
    EXPECT_TRUE(enfant<QAction>(f, "deuxcadres1")->isChecked());
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe C")));
    EXPECT_TRUE(enfant<QAction>(f, "quatrecadres1")->isChecked());
    EXPECT_EQ(f.images().image(f.images().cadre(3)).nom, QStringLiteral("Légende 3"));
}

TEST_F(FenetreCoupe, ReadoutAndMeasureInThePanels)
{
    const int z = s().ligne_zero_profondeur;
    const double p = s().echelle;
    const QPoint ici(400, z + 100);
    QTest::mouseMove(vp(), ici);
    EXPECT_EQ(lecture("PanXP"), QStringLiteral("Coupe A : X :%1 km  - profondeur : %2 km")
                                    .arg(std::lround((400 - 30) / p))
                                    .arg(std::lround(100 / p)));
    QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(300, z + 100));
    QTest::mouseMove(vp(), QPoint(300, z + 300));
    EXPECT_TRUE(lecture("Panpente").startsWith(QStringLiteral("Pendage : 90 °"))) << lecture("Panpente").toStdString();
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(300, z + 300));
    EXPECT_TRUE(f.images().traces().empty());
}

TEST_F(FenetreCoupe, EveryToolThroughItsButton)
{
    const int z = s().ligne_zero_profondeur;
    // Line, with the style menus it shows.
    QTest::mouseClick(enfant<QToolButton>(f, "Bouton_trait"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(f, "ChoixFlecheAction")->isVisible());
    EXPECT_FALSE(enfant<QAction>(f, "ChoixRemplisAction")->isVisible());
    enfant<QMenu>(f, "MenuFleche")->actions()[2]->trigger();
    glisser(QPoint(100, z + 50), QPoint(300, z + 150));
    ASSERT_EQ(s().dessins.size(), 1u);
    EXPECT_EQ(s().dessins[0]->Fleche, 2);
    EXPECT_TRUE(enfant<QAction>(f, "Annuler")->isEnabled());
    ASSERT_EQ(f.menuTraces()->actions().size(), 1);
    EXPECT_EQ(f.menuTraces()->actions()[0]->text(), QStringLiteral("Ligne 1 - Coupe A"));
    // The line shows on the displayed image.
    EXPECT_NE(f.vueCoupes().imageAffichee().pixel(200, z + 100), clWhite32);

    // Shape: a circle, hatched, in another colour and thickness.
    QTest::mouseClick(enfant<QToolButton>(f, "ToolButton_forme"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(f, "ChoixRemplisAction")->isVisible());
    enfant<QMenu>(f, "Menu_formes")->actions()[1]->trigger();
    enfant<QMenu>(f, "Menuremplis")->actions()[3]->trigger();
    script.colours.push_back(0xFF00A000);
    QTest::mouseClick(enfant<QWidget>(f, "PanCouleur"), Qt::LeftButton);
    auto* spin = enfant<QSpinBox>(f, "SpinButton1");
    spin->setValue(3);
    EXPECT_EQ(f.vueCoupes().epaisseur, 3);
    spin->setValue(20);
    EXPECT_EQ(f.vueCoupes().epaisseur, 11);
    spin->setValue(2);
    glisser(QPoint(600, z + 100), QPoint(640, z + 130));
    ASSERT_EQ(s().dessins.size(), 2u);
    EXPECT_EQ(s().dessins[1]->Nature, ndCercle);
    EXPECT_EQ(s().dessins[1]->Remplissage, 3);
    EXPECT_EQ(s().dessins[1]->Couleur, 0xFF00A000u);
    EXPECT_EQ(s().dessins[1]->Epaisseur, 2);

    // Pencil.
    QTest::mouseClick(enfant<QToolButton>(f, "Bouton_crayon"), Qt::LeftButton);
    glisser(QPoint(700, z + 20), QPoint(800, z + 60));
    ASSERT_EQ(s().dessins.size(), 3u);
    EXPECT_EQ(s().dessins[2]->Nature, ndLibre);

    // Text with a subscript: typed, placed with the mouse, validated.
    QTest::mouseClick(enfant<QToolButton>(f, "Bouton_texte"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(f, "ChoixFonteAction")->isVisible());
    QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(400, 300));
    ASSERT_TRUE(f.positionnement());
    EXPECT_TRUE(f.positionnement()->isVisible());
    EXPECT_TRUE(f.vueCoupes().placementTexte());
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(400, 300));
    QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(420, 310));
    QTest::mouseMove(vp(), QPoint(450, 320));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(450, 320));
    EXPECT_EQ(f.vueCoupes().placeTexte().topLeft(), QPoint(450, 320));
    f.positionnement()->BitBtn1->click();
    EXPECT_FALSE(f.positionnement()->isVisible());
    ASSERT_EQ(s().dessins.size(), 4u);
    EXPECT_EQ(s().dessins[3]->Lignes, QStringList{QStringLiteral("CO<sub>2</sub>")});
    EXPECT_EQ(f.menuTraces()->actions()[3]->text(), QStringLiteral("Texte 4 - Coupe A"));

    // Colour picker: the colour of the displayed image; then the pencil.
    QTest::mouseClick(enfant<QToolButton>(f, "Bouton_Pipette"), Qt::LeftButton);
    QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.vueCoupes().couleur, clWhite32);
    EXPECT_TRUE(enfant<QToolButton>(f, "Bouton_crayon")->isChecked());
}

TEST_F(FenetreCoupe, CrustColouringNeedsTheReliefFrame)
{
    enfant<QAction>(f, "Reliefaudessus1")->trigger();
    EXPECT_TRUE(f.images().reliefAuDessus);
    // Only new sections take it.
    EXPECT_FALSE(s().relief_au_dessus);
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Relief")));
    enfant<QAction>(f, "uncadre1")->trigger();
    const TBitmapSIG& r = f.images().image(5);
    ASSERT_TRUE(r.relief_au_dessus);
    ASSERT_EQ(f.images().cadre(0), 5);
    QTest::mouseClick(enfant<QToolButton>(f, "BoutonCroute"), Qt::LeftButton);
    EXPECT_TRUE(enfant<QAction>(f, "ChoixRemplisAction")->isVisible());
    const double p = r.echelle, E = r.exageration;
    auto y = [&](double m) { return r.ligne_niveau_mer - static_cast<int>(std::lround(m * p * E / 1000)); };
    const int x0 = 30 + static_cast<int>(std::lround(700 * p)), x1 = 30 + static_cast<int>(std::lround(1300 * p));
    glisser(QPoint(x0, y(3000)), QPoint(x1, y(-500)));
    ASSERT_EQ(r.zones_croute.size(), 1u);
    EXPECT_EQ(f.menuTraces()->actions().back()->text(), QStringLiteral("1 - coloration Relief"));
    // Above every sample: not kept.
    glisser(QPoint(x0, y(6000)), QPoint(x1, y(4000)));
    EXPECT_EQ(r.zones_croute.size(), 1u);
    EXPECT_EQ(f.menuTraces()->actions().size(), 1);
}

TEST_F(FenetreCoupe, UndoAndEraseAskFirst)
{
    const int z = s().ligne_zero_profondeur;
    QTest::mouseClick(enfant<QToolButton>(f, "Bouton_trait"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        glisser(QPoint(100 + 100 * i, z + 50), QPoint(150 + 100 * i, z + 150));
    ASSERT_EQ(f.menuTraces()->actions().size(), 3);
    // No: nothing changes.
    script.answers.push_back(MsgResult::No);
    enfant<QAction>(f, "Annuler")->trigger();
    EXPECT_EQ(s().dessins.size(), 3u);
    EXPECT_EQ(script.lastText(), QStringLiteral("Voulez-vous effacer le dernier tracé"));
    // The middle one through its item.
    script.answers.push_back(MsgResult::Yes);
    f.menuTraces()->actions()[1]->trigger();
    EXPECT_EQ(script.lastText(), QStringLiteral("Voulez-vous effacer le tracé : Ligne 2 - Coupe A"));
    ASSERT_EQ(s().dessins.size(), 2u);
    EXPECT_EQ(s().noms_dessins[1], QStringLiteral("Ligne 3"));
    ASSERT_EQ(f.menuTraces()->actions().size(), 2);
    // Undo takes the last one, then the first; the button goes grey.
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "Annuler")->trigger();
    EXPECT_EQ(s().noms_dessins, std::vector<QString>{QStringLiteral("Ligne 1")});
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "Annuler")->trigger();
    EXPECT_TRUE(s().dessins.empty());
    EXPECT_FALSE(enfant<QAction>(f, "Annuler")->isEnabled());
    EXPECT_TRUE(f.menuTraces()->actions().isEmpty());
}

TEST_F(FenetreCoupe, ContextMenuOnAFrame)
{
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe B"), 1000));
    // Frames: B on the left, A on the right.
    const QRect droite = f.vueCoupes().placeCadre(1);
    const QPoint dansA = droite.center();
    QTest::mousePress(vp(), Qt::RightButton, {}, dansA);
    EXPECT_TRUE(f.menuContexte()->isVisible());
    EXPECT_EQ(f.vueCoupes().cadreCourant().cadre, 1);
    // The frame's picture is checked in "Afficher...".
    EXPECT_TRUE(f.menuAfficher()->actions()[4]->isChecked());
    f.menuContexte()->hide();

    // Its data for a spreadsheet.
    enfant<QAction>(f, "Copierlesdonneesdelacoupe1")->trigger();
    const QStringList lignes = QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_GE(lignes.size(), 22);
    EXPECT_TRUE(lignes[0].startsWith(QStringLiteral("Distance (km)\tAltitude (m)\tDistance séisme (km)")));
    EXPECT_EQ(lignes[1].split(QLatin1Char('\t')).size(), 7);
    EXPECT_EQ(lignes[1].split(QLatin1Char('\t'))[1], QStringLiteral("-3000"));
    EXPECT_EQ(lignes[2].split(QLatin1Char('\t'))[3], QStringLiteral("60"));
    EXPECT_EQ(lignes[1].split(QLatin1Char('\t'))[6], QStringLiteral("1500"));
    // The frame's bitmap to the clipboard, the picture to the drawing sheet.
    enfant<QAction>(f, "Copierlacoupe1")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), droite.size());
    enfant<QAction>(f, "Copierverslafeuillededessin1")->trigger();
    ASSERT_TRUE(feuilleDessinExistante());
    TFeuille& feuille = feuilleDessinExistante()->feuille();
    ASSERT_GE(feuille.nombreDocuments(), 1);
    EXPECT_EQ(feuille.placeDocument(feuille.nombreDocuments() - 1).size(), droite.size());
    EXPECT_EQ(feuille.document(feuille.nombreDocuments() - 1).nom, QStringLiteral("Coupe A"));
    // One frame of a large window comes shrunk to the page, in its proportions.
    const QSize avant = f.size();
    f.JuxtaposerClick(1);
    f.resize(1900, 1040);
    QApplication::processEvents();
    const QRect seul = f.vueCoupes().placeCadre(0);
    ASSERT_GT(seul.width(), feuille.taillePage().width());
    contexte(seul.center());
    enfant<QAction>(f, "Copierverslafeuillededessin1")->trigger();
    const QRect surPage = feuille.placeDocument(feuille.nombreDocuments() - 1);
    EXPECT_TRUE(QRect(QPoint(), feuille.taillePage()).contains(surPage));
    EXPECT_NEAR(double(surPage.width()) / surPage.height(), double(seul.width()) / seul.height(), 0.01);
    f.resize(avant);
    QApplication::processEvents();
    f.JuxtaposerClick(2);
    ASSERT_EQ(f.vueCoupes().placeCadre(1), droite);
    contexte(dansA);
    feuilleDessinExistante()->hide();

    // Reversing, its colours.
    const double premier = f.images().image(4).seismes[0].distance;
    enfant<QAction>(f, "Inverserlorientationdelacoupe1")->trigger();
    EXPECT_NEAR(f.images().image(4).seismes.back().distance, 2000 - premier, 1e-9);
    enfant<QAction>(f, "Choix2")->trigger();
    EXPECT_EQ(f.images().image(4).couleur_profil, 0xFF00FFFFu);

    // Another picture in this frame.
    f.menuAfficher()->actions()[2]->trigger();
    EXPECT_EQ(f.images().cadre(1), 2);
    // Over a legend, the section-only items are off; deleting asks about a legend.
    contexte(dansA);
    EXPECT_FALSE(enfant<QAction>(f, "Inverserlorientationdelacoupe1")->isEnabled());
    script.answers.push_back(MsgResult::No);
    enfant<QAction>(f, "Supprimerlacoupe1")->trigger();
    EXPECT_EQ(script.lastText(), QStringLiteral("Effacer cette légende ?"));
}

TEST_F(FenetreCoupe, DeletingTheSectionsClosesTheWindow)
{
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe B")));
    contexte(f.vueCoupes().placeCadre(0).center());
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "Supprimerlacoupe1")->trigger();
    EXPECT_EQ(script.lastText(), QStringLiteral("Supprimer cette coupe ?"));
    EXPECT_EQ(f.images().nombreCoupes(), 1);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.menuAfficher()->actions().size(), 5);
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "ladernierecoupe1")->trigger();
    EXPECT_TRUE(f.images().aucuneCoupe());
    EXPECT_FALSE(f.isVisible());
    // The next section opens it again, in one frame.
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe C")));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.images().nombreCadres(), 1);
}

TEST_F(FenetreCoupe, SuperposedWithTheSlideAndTheExaggeration)
{
    f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("Coupe B"), 1000));
    enfant<QAction>(f, "Superposer1")->trigger();
    auto* barre = enfant<QScrollBar>(f, "ScrolC2");
    EXPECT_TRUE(barre->isVisible());
    EXPECT_TRUE(f.menuDessous()->menuAction()->isVisible());
    EXPECT_EQ(f.menuAfficher()->title(), QStringLiteral("Cadre du dessus..."));
    EXPECT_EQ(barre->maximum(), f.vueCoupes().taille().width() / 2);
    barre->setValue(120);
    EXPECT_EQ(f.vueCoupes().decalageSuperposition(), 120);
    // The lower frame's menu shows a picture in frame 1.
    f.menuDessous()->actions()[0]->trigger();
    EXPECT_EQ(f.images().cadre(1), 0);
    enfant<QAction>(f, "x20")->trigger();
    EXPECT_EQ(f.images().image(4).exageration, 20);
    EXPECT_EQ(f.images().image(5).exageration, 20);
    enfant<QAction>(f, "deuxcadres1")->trigger();
    EXPECT_FALSE(barre->isVisible());
    EXPECT_EQ(f.menuAfficher()->title(), QStringLiteral("Afficher..."));
    // New sections' colours.
    enfant<QAction>(f, "Couleurs1")->trigger();
    EXPECT_EQ(f.images().couleurProfil, 0xFF00FFFFu);
    EXPECT_EQ(alphaOf(f.images().teinte), 200u);
}

TEST_F(FenetreCoupe, SavedPrintedAndCopiedAsDisplayed)
{
    QTemporaryDir dir;
    std::vector<TBitmap32> imprimees;
    f.imprimer = [&](const TBitmap32& b) {
        imprimees.push_back(b);
        return true;
    };
    enfant<QAction>(f, "Imprimer1")->trigger();
    ASSERT_EQ(imprimees.size(), 1u);
    EXPECT_EQ(QSize(imprimees[0].width(), imprimees[0].height()), f.vueCoupes().taille());
    // ".jpeg" writes JPEG, ".jpg" too; anything else a bitmap.
    for (const auto& [nom, format] : std::vector<std::pair<QString, ImageFormat>>{
             {"c.jpeg", ImageFormat::Jpeg}, {"c.JPG", ImageFormat::Jpeg}, {"c.png", ImageFormat::Png},
             {"c.gif", ImageFormat::Gif}, {"c.dat", ImageFormat::Bmp}}) {
        script.files.push_back(dir.filePath(nom));
        enfant<QAction>(f, "Enregistrerlimagesous1")->trigger();
        QFile fichier(dir.filePath(nom));
        ASSERT_TRUE(fichier.open(QIODevice::ReadOnly)) << nom.toStdString();
        EXPECT_EQ(sniffFormat(fichier.read(16)), format) << nom.toStdString();
    }
    EXPECT_EQ(script.fileRequests.back().defaultExt, QStringLiteral("png"));
    TBitmap32 relue;
    ASSERT_TRUE(loadPicture(dir.filePath("c.png"), relue));
    EXPECT_EQ(relue, f.vueCoupes().imageAffichee());
    // A folder that does not exist: a message naming the file.
    script.files.push_back(dir.filePath("absent/c.png"));
    enfant<QAction>(f, "Enregistrerlimagesous1")->trigger();
    EXPECT_TRUE(script.lastText().contains(QStringLiteral("c.png")));
    enfant<QAction>(f, "Copier1")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(relue.width(), relue.height()));
}

// The window's menus after random commands: each item of the frame menus names the
// picture at its place, each item of "le tracé..." an existing annotation.
TEST_F(FenetreCoupe, MenusFollowRandomCommands)
{
    std::mt19937 rng(7);
    auto au = [&](int n) { return std::uniform_int_distribution<int>(0, std::max(0, n - 1))(rng); };
    int n = 1;
    for (int pas = 0; pas < 120; ++pas) {
        const QSize t = f.vueCoupes().taille();
        const QPoint a(au(t.width()), au(t.height())), b(au(t.width()), au(t.height()));
        script.answers.push_back(MsgResult::Yes);
        switch (au(8)) {
        case 0:
            f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("C%1").arg(++n)));
            break;
        case 1:
            contexte(a);
            enfant<QAction>(f, "Supprimerlacoupe1")->trigger();
            break;
        case 2:
            enfant<QAction>(f, "ladernierecoupe1")->trigger();
            break;
        case 3:
            f.BoutonClick(au(3));
            glisser(a, b);
            break;
        case 4:
            enfant<QAction>(f, "Annuler")->trigger();
            break;
        case 5:
            if (!f.menuTraces()->actions().isEmpty())
                f.menuTraces()->actions()[au(f.menuTraces()->actions().size())]->trigger();
            break;
        case 6:
            contexte(a);
            enfant<QAction>(f, "Inverserlorientationdelacoupe1")->trigger();
            break;
        case 7: {
            const int d = au(4);
            if (d == 0)
                enfant<QAction>(f, "Superposer1")->trigger();
            else
                enfant<QAction>(f, d == 1 ? "uncadre1" : d == 2 ? "deuxcadres1" : "quatrecadres1")->trigger();
            break;
        }
        }
        script.answers.clear();
        if (f.images().aucuneCoupe())
            f.AjouterCoupe(nouvelle(f.images(), QStringLiteral("C%1").arg(++n)));
        ASSERT_TRUE(f.images().verifier().isEmpty()) << pas << " " << f.images().verifier().toStdString();
        const auto noms = f.images().nomsMenus();
        ASSERT_EQ(f.menuAfficher()->actions().size(), noms.size());
        for (int i = 0; i < noms.size(); ++i)
            ASSERT_EQ(f.menuAfficher()->actions()[i]->text(), f.images().image(i).nom);
        const auto& traces = f.images().traces();
        ASSERT_EQ(f.menuTraces()->actions().size(), static_cast<int>(traces.size()));
        for (std::size_t k = 0; k < traces.size(); ++k)
            ASSERT_EQ(f.menuTraces()->actions()[static_cast<int>(k)]->text(), traces[k].libelle);
    }
}
