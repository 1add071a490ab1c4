// The landmark table window and the volcano search dialog, driven as a user would.
#include "data/records.h"
#include "map/windows/recherchevolc.h"
#include "map/windows/tableaureperes.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include "data/stores.h"
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using carte::TGrilleReperes;

namespace {

TGrilleReperes exemple()
{
    TGrilleReperes g = TGrilleReperes::nouvelle();
    g.definirCellule(1, 0, "Paris");
    g.definirCellule(1, 1, "48.85");
    g.definirCellule(1, 2, "2.35");
    g.definirCellule(1, 3, "N");
    g.definirCellule(2, 0, "Brest");
    g.definirCellule(2, 1, "48.39");
    g.definirCellule(2, 2, "-4.49");
    g.definirCellule(2, 3, "O");
    g.relier = true;
    return g;
}

} // namespace

TEST(FenetreReperes, GridRoundTripAndPathRows)
{
    TTableau_reperes t;
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Repères à ajouter sur la carte"));
    const TGrilleReperes g = exemple();
    t.definirGrille(g);
    EXPECT_EQ(t.tableau()->rowCount(), 2);
    EXPECT_EQ(t.grille(), g);
    EXPECT_TRUE(t.relier()->isChecked());
    t.definirLigneTrajet(4, "10.5", "-3");
    EXPECT_EQ(t.tableau()->rowCount(), 4);
    EXPECT_EQ(t.grille().cellule(4, 1), "10.5");
    EXPECT_EQ(t.grille().cellule(4, 3), "O");
}

TEST(FenetreReperes, EnterAddsARowBackspaceRemovesIt)
{
    TTableau_reperes t;
    t.show();
    QTableWidget* tab = t.tableau();
    ASSERT_EQ(tab->rowCount(), 1);
    tab->setCurrentCell(0, 3);
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(tab->rowCount(), 2);
    EXPECT_EQ(tab->currentRow(), 1);
    EXPECT_EQ(tab->currentColumn(), 0);
    // Enter elsewhere than in the last cell adds nothing.
    tab->setCurrentCell(0, 3);
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(tab->rowCount(), 2);
    // Backspace in the empty first cell of the last row removes it, not a filled one.
    tab->setCurrentCell(1, 0);
    QTest::keyClick(tab, Qt::Key_Backspace);
    EXPECT_EQ(tab->rowCount(), 1);
    tab->setItem(0, 0, new QTableWidgetItem("rempli"));
    tab->setCurrentCell(0, 3);
    QTest::keyClick(tab, Qt::Key_Return);
    tab->setItem(1, 0, new QTableWidgetItem("x"));
    tab->setCurrentCell(1, 0);
    QTest::keyClick(tab, Qt::Key_Backspace);
    EXPECT_EQ(tab->rowCount(), 2);
}

TEST(FenetreReperes, LoadSaveCopyAndValidate)
{
    QTemporaryDir dir;
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    TTableau_reperes t;
    t.definirGrille(exemple());

    const QString chemin = dir.filePath("trajet.obf");
    d.files.push_back(chemin);
    t.Enregistrersous1Click();
    ASSERT_EQ(d.fileRequests.size(), 1u);
    EXPECT_EQ(d.fileRequests[0].filter, "fichier orbiplate|*.obf");
    EXPECT_EQ(d.fileRequests[0].defaultExt, "obf");

    t.definirGrille(TGrilleReperes::nouvelle());
    d.files.push_back(chemin);
    t.Charger1Click();
    EXPECT_EQ(t.grille(), exemple());

    // An unreadable file is reported and the grid stays.
    d.files.push_back(dir.filePath("absent.obf"));
    t.Charger1Click();
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_EQ(d.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(t.grille(), exemple());

    t.Tout1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromUtf8("Repères à ajouter sur la carte\nNom\tLatitude\tLongitude\tdisposition\n"
                                "Paris\t48.85\t2.35\tN\nBrest\t48.39\t-4.49\tO\n"));
    t.tableau()->setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 1), true);
    t.lapartieslectionne1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Repères à ajouter sur la carte\nBrest\t48.39\n"));

    // Pasting tab-separated text at the current cell, the rows growing as needed.
    QGuiApplication::clipboard()->setText("Lyon\t45.76\t4.83\tE\nNice\t43.7\t7.26\tS\n");
    t.tableau()->setCurrentCell(1, 0);
    t.Coller1Click();
    EXPECT_EQ(t.tableau()->rowCount(), 3);
    EXPECT_EQ(t.grille().cellule(2, 0), "Lyon");
    EXPECT_EQ(t.grille().cellule(3, 3), "S");

    int valide = 0;
    t.surValider = [&valide] { ++valide; };
    t.valider1Click();
    EXPECT_EQ(valide, 1);
}

TEST(FenetreReperes, FaultyCellsStayMarkedUntilEdited)
{
    TTableau_reperes t;
    t.show();
    TGrilleReperes g = exemple();
    g.definirCellule(1, 1, "abc");
    g.definirCellule(3, 0, "Lima");
    g.definirCellule(3, 1, "-12");
    g.definirCellule(3, 2, "200");
    g.definirCellule(3, 3, "Z");
    EXPECT_EQ(carte::lireReperesGrille(g).size(), 1u);
    t.definirGrille(g);
    QTableWidget* tab = t.tableau();
    ASSERT_EQ(tab->rowCount(), 3);
    EXPECT_TRUE(t.celluleMarquee(0, 1));
    EXPECT_FALSE(t.celluleMarquee(0, 0));
    EXPECT_EQ(tab->item(0, 1)->toolTip(), QString::fromUtf8("latitude « abc » illisible"));
    EXPECT_NE(tab->item(0, 1)->background().color(), tab->item(0, 0)->background().color());

    // Typing into a marked cell removes its mark only.
    tab->setCurrentCell(0, 1);
    tab->editItem(tab->item(0, 1));
    QLineEdit* editeur = tab->findChild<QLineEdit*>();
    ASSERT_NE(editeur, nullptr);
    editeur->selectAll();
    QTest::keyClicks(editeur, "48.85");
    QTest::keyClick(editeur, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits after its own handling of the key
    EXPECT_EQ(tab->item(0, 1)->text(), "48.85");
    EXPECT_FALSE(t.celluleMarquee(0, 1));
    EXPECT_TRUE(tab->item(0, 1)->toolTip().isEmpty());
    EXPECT_TRUE(t.celluleMarquee(2, 2));
    EXPECT_TRUE(t.celluleMarquee(2, 3));
    // A new grid clears the marks.
    t.definirGrille(exemple());
    EXPECT_FALSE(t.celluleMarquee(2, 2));
}

TEST(FenetreRechercheVolcan, SearchFillsTheMemo)
{
    TDonnees donnees;
    std::vector<TVolcan>& TabVolcans = donnees.TabVolcans;
    TVolcan a;
    assignShort(a.Nom, "Etna");
    a.Latitude = 37.748f;
    a.Longitude = 14.999f;
    a.Altitude = 3330;
    a.TypeVolcan = 20;
    a.Activite = 1;
    TVolcan b = a;
    assignShort(b.Nom, "Etna Nord");
    TabVolcans = {a, b};

    TRecherche_Volc r(donnees);
    EXPECT_EQ(r.windowTitle(), "Recherche d'un volcan");
    r.show();
    QTest::keyClicks(r.nom(), "etna");
    QTest::mouseClick(r.rechercher(), Qt::LeftButton);
    const QString texte = r.reponse()->toPlainText();
    EXPECT_TRUE(texte.startsWith("Etna\nLatitude : 37.7\nLongitude : 15\nAltitude : 3330 m\nStrato-volcan\n"));
    EXPECT_EQ(r.reponse()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    r.nom()->setText("nord");
    QTest::keyClick(r.nom(), Qt::Key_Return);
    EXPECT_TRUE(r.reponse()->toPlainText().startsWith("Etna Nord\n"));
    EXPECT_EQ(r.reponse()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    r.nom()->setText("Fuji");
    r.RechercherClick();
    EXPECT_EQ(r.reponse()->toPlainText(), QString::fromUtf8("Aucun volcan trouvé."));
}
