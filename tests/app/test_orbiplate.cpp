// The program's windows put together: the data lists under the help menu, the
// help page, the About panel and the spreadsheet command, on a small data folder.
#include "app/listedonnees.h"
#include "app/windows/apropos.h"
#include "app/windows/fenetreaide.h"
#include "app/windows/listedonneesmenu.h"
#include "app/windows/orbiplate.h"
#include "data/loaders.h"
#include "data/stores.h"
#include "data/data_test_util.h"
#include "map/reperes.h"
#include "map/windows/delimCarte.h"
#include "map/windows/commandesvecteurs.h"
#include "map/windows/commandesfichiers.h"
#include "map/windows/commandesreperes.h"
#include "ui/windows/imageview.h"
#include "map/windows/recherchevolc.h"
#include "map/windows/tableaureperes.h"
#include "print/windows/gestimp.h"
#include "section/windows/commandescoupe.h"
#include "section/windows/fcoupe.h"
#include "projections/windows/commandevuepolaire.h"
#include "projections/windows/vuepolaire.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "carte_test_util.h"

#include <gtest/gtest.h>

namespace {

void ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

class Orbiplate : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        definirOuvreurSysteme([this](const QUrl& u) {
            ouverts.append(u);
            return true;
        });
        avant = QDir::currentPath();
        QDir::setCurrent(dir.path());
        ASSERT_TRUE(savePicture(dir.filePath("c3600.png"), TBitmap32(360, 180, 0xFF204060)));
        ecrire(dir.filePath("config.obc"), "c3600.png\nc3600.png\nc3600.png\nc3600.png\nt.gps\ns.fse\nv.fvo\n\np\n");
        std::vector<TSeisme> s(3);
        ecrire(dir.filePath("s.fse"), encoderSeismes(s));
        carte::TGrilleReperes g = carte::TGrilleReperes::nouvelle();
        g.definirCellule(1, 0, "Quito");
        g.definirCellule(1, 1, "-0.2");
        g.definirCellule(1, 2, "-78.5");
        ASSERT_TRUE(carte::enregistrerFichierReperes(dir.filePath("r.obf"), g));
        ecrire(dir.filePath("notes.txt"), "POS VEL\n");
        ecrire(dir.filePath("liste1.cft"), "s.fse,Seismes du monde,oui\nnotes.txt,Notes,non\nr.obf,Reperes,OUI\n");
        ecrire(dir.filePath("liste2.cft"), "notes.txt,Autres notes,non\n");
        o = std::make_unique<TOrbiplate>(dir.path(), donnees);
        ASSERT_TRUE(o->demarrer());
    }
    void TearDown() override
    {
        o.reset();
        QDir::setCurrent(avant);
        definirOuvreurSysteme({});
    }
    QStringList aide() const
    {
        QStringList t;
        for (QAction* a : enfant<QMenu>(o->carte(), "Aide1")->actions())
            if (!a->isSeparator())
                t << a->text();
        return t;
    }

    QTemporaryDir dir;
    QString avant;
    QList<QUrl> ouverts;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<TOrbiplate> o;
};

} // namespace

TEST_F(Orbiplate, ToolWindowsMadeAtStartUp)
{
    TCarte& c = o->carte();
    ASSERT_NE(c.rechercheVolcan(), nullptr);
    ASSERT_NE(c.tableauReperes(), nullptr);
    EXPECT_FALSE(c.rechercheVolcan()->isVisible());
    EXPECT_TRUE(enfant<QAction>(c, "Chargerunfichierdeconfiguration1")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(c, "Apropos1")->isEnabled());
    // The print manager waits hidden, over the map, with its settings.
    Tgestimp& impression = o->gestionnaireImpression();
    EXPECT_EQ(impression.windowTitle(), QStringLiteral("Choix de l'impression"));
    EXPECT_EQ(impression.parentWidget(), &c);
    EXPECT_FALSE(impression.isVisible());
    // The polar view waits hidden too; its map item is usable.
    EXPECT_TRUE(enfant<QAction>(c, "Vuepolaire1")->isEnabled());
    EXPECT_FALSE(o->vuePolaire().vue().isVisible());
    EXPECT_FALSE(o->vuePolaire().vue().construite());
}

TEST_F(Orbiplate, DataListOpensFlaggedFilesAndIsReplacedByTheNext)
{
    TCarte& c = o->carte();
    script.files.push_back(dir.filePath("liste1.cft"));
    enfant<QAction>(c, "Chargerunfichierdeconfiguration1")->trigger();
    EXPECT_EQ(script.fileRequests.back().filter, QStringLiteral("configuration orbiplate|*.cft"));
    EXPECT_EQ(aide(), (QStringList{"&Fichier d'aide", "&A propos de...", "Vider la mémoire", "Seismes du monde",
                                   "Notes", "Reperes"}));
    EXPECT_TRUE(enfant<QAction>(c, "SeparateurListe")->isVisible());
    const QList<QAction*>& items = o->listeDonnees()->actions();
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    // Flagged files opened at once: the earthquakes shown, the landmarks added.
    EXPECT_EQ(TabSeismes.size(), 3u);
    EXPECT_TRUE(enfant<QAction>(c, "Seismes1")->isChecked());
    EXPECT_TRUE(c.tableauReperes()->ajouter()->isChecked());
    ASSERT_EQ(c.Interaction.groupes.size(), 1u);
    EXPECT_EQ(c.Interaction.groupes[0].reperes[0].Nom, QStringLiteral("Quito"));
    EXPECT_TRUE(ouverts.isEmpty());

    // A ".txt" entry goes to the system's program, not to the GPS loader.
    items[1]->trigger();
    EXPECT_TRUE(items[1]->isChecked());
    ASSERT_EQ(ouverts.size(), 1);
    EXPECT_TRUE(ouverts[0].toLocalFile().endsWith("notes.txt"));
    EXPECT_TRUE(TabStations.empty());

    script.files.push_back(dir.filePath("liste2.cft"));
    enfant<QAction>(c, "Chargerunfichierdeconfiguration1")->trigger();
    EXPECT_EQ(aide(), (QStringList{"&Fichier d'aide", "&A propos de...", "Vider la mémoire", "Autres notes"}));
}

TEST_F(Orbiplate, HelpAboutAndSpreadsheet)
{
    TCarte& c = o->carte();
    ecrire(dir.filePath("credits.txt"), "Volcans : Smithsonian Institution, Global Volcanism Program\n");
    enfant<QAction>(c, "Apropos1")->trigger();
    EXPECT_FALSE(o->apropos()->isHidden());
    EXPECT_TRUE(o->apropos()->credits()->toPlainText().contains("Global Volcanism Program"));
    o->apropos()->ok()->click();
    EXPECT_TRUE(o->apropos()->isHidden());

    QDir(dir.path()).mkdir("aide");
    ecrire(dir.filePath("aide/index.html"), "<html></html>");
    enfant<QAction>(c, "Fichierdaide1")->trigger();
    ASSERT_EQ(ouverts.size(), 1);
    EXPECT_TRUE(ouverts[0].toLocalFile().endsWith("aide/index.html"));

    // The spreadsheet dialog starts in the map's last folder, and moves it.
    QDir(dir.path()).mkdir("tableurs");
    ecrire(dir.filePath("tableurs/v.ods"), "PK");
    c.DernierDossier = dir.filePath("tableurs");
    script.files.push_back(dir.filePath("tableurs/v.ods"));
    enfant<QAction>(c, "Chargerdesdonneesdansuntableur1")->trigger();
    EXPECT_EQ(script.fileRequests.back().folder, dir.filePath("tableurs"));
    ASSERT_EQ(ouverts.size(), 2);
    EXPECT_TRUE(ouverts[1].toLocalFile().endsWith("v.ods"));
}

TEST_F(Orbiplate, HelpWindowWhenTheSystemCannotShowThePage)
{
    TCarte& c = o->carte();
    QDir(dir.path()).mkdir("aide");
    ecrire(dir.filePath("aide/index.html"), "<html><body><h1>Aide</h1><p id='fin'>fin</p></body></html>");
    definirOuvreurSysteme([](const QUrl&) { return false; });
    enfant<QAction>(c, "Fichierdaide1")->trigger();
    TFenetreAide* aide = o->fenetreAide();
    ASSERT_NE(aide, nullptr);
    EXPECT_TRUE(aide->isVisible());
    // Made once: closed, it comes back as it was left.
    aide->suivreLien(QUrl(QStringLiteral("#fin")));
    aide->close();
    enfant<QAction>(c, "Fichierdaide1")->trigger();
    EXPECT_EQ(o->fenetreAide(), aide);
    EXPECT_TRUE(aide->isVisible());
    EXPECT_EQ(aide->navigateur()->source().fragment(), QStringLiteral("fin"));
}

TEST_F(Orbiplate, SectionsPrintThroughTheLayoutManager)
{
    TCarte& c = o->carte();
    EXPECT_TRUE(enfant<QAction>(c, "Tracecoupe")->isEnabled());
    EXPECT_TRUE(enfant<QAction>(c, "FenetreCoupes1")->isEnabled());
    TCoupe& f = o->coupes().creerFenetre();
    // The section window prints through the program's manager, which runs modally.
    int ouvertures = 0;
    o->gestionnaireImpression().executerDialogue = [&ouvertures](QDialog&) {
        ++ouvertures;
        return static_cast<int>(QDialog::Rejected);
    };
    ASSERT_TRUE(f.imprimer);
    f.imprimer(TBitmap32(100, 50, clWhite32));
    EXPECT_EQ(ouvertures, 1);
    EXPECT_EQ(o->gestionnaireImpression().image().width(), 100);
}
