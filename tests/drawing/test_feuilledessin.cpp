// The drawing sheet window and its dialogs driven without a display.
#include "carte_test_util.h"
#include "drawing/windows/dialoguestexte.h"
#include "drawing/windows/feuilledessin.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include "ui/windows/panneaucouleur.h"
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class FenetreFeuille : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.resize(900, 700);
        TBitmap32 img(1200, 800, 0xFF3060C0);
        img.fillRect(QRect(0, 0, 1200, 40), 0xFFFFFF00);
        f.AjouterImage(img);
        QApplication::processEvents();
    }
    QPoint vue(QPoint page) const { return f.vue()->mapToView(QPointF(page)).toPoint(); }
    QWidget* vp() const { return f.vue()->viewport(); }
    void glisser(QPoint a, QPoint b)
    {
        QTest::mousePress(vp(), Qt::LeftButton, {}, vue(a));
        QTest::mouseMove(vp(), vue((a + b) / 2));
        QTest::mouseMove(vp(), vue(b));
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, vue(b));
    }

    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    TFeuilleDessin f;
};

} // namespace

TEST_F(FenetreFeuille, ToolsDrawOnThePageAndTheMenusFollow)
{
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Feuille de dessin"));
    EXPECT_EQ(f.feuille().placeDocument(0), QRect(0, 0, 600, 400));
    EXPECT_TRUE(enfant<QToolButton>(f, "BoutonDeplace")->isChecked());
    EXPECT_FALSE(enfant<QAction>(f, "Annuler")->isEnabled());
    // The option buttons follow the tool.
    enfant<QToolButton>(f, "Bouton_trait")->click();
    EXPECT_TRUE(enfant<QAction>(f, "ChoixFlecheAction")->isVisible());
    EXPECT_FALSE(enfant<QAction>(f, "ChoixRemplisAction")->isVisible());
    glisser(QPoint(650, 100), QPoint(800, 200));
    ASSERT_EQ(f.feuille().dessins().Count(), 1);
    EXPECT_TRUE(enfant<QAction>(f, "Annuler")->isEnabled());
    ASSERT_EQ(f.menuEffacer()->actions().size(), 1);
    EXPECT_EQ(f.menuEffacer()->actions()[0]->text(), QStringLiteral("Ligne 1"));
    EXPECT_EQ(f.feuille().imagePage().pixel(725, 150), 0xFF000000u);

    // A rectangle with a hatched fill, in another colour and thickness.
    enfant<QToolButton>(f, "ToolButton_forme")->click();
    EXPECT_TRUE(enfant<QAction>(f, "ChoixRemplisAction")->isVisible());
    enfant<QMenu>(f, "Menuremplis")->actions()[5]->trigger(); // "Rayures &Obliques 1"
    EXPECT_EQ(f.feuille().remplissage, 5);
    script.colours.push_back(0xFFCC0000);
    enfant<QWidget>(f, "PanCouleur")->setFocus();
    QTest::mouseClick(enfant<QWidget>(f, "PanCouleur"), Qt::LeftButton);
    EXPECT_EQ(f.feuille().couleur, 0xFFCC0000u);
    glisser(QPoint(700, 450), QPoint(900, 600));
    ASSERT_EQ(f.feuille().dessins().Count(), 2);
    EXPECT_EQ(f.feuille().dessins().Dessin(1)->Remplissage, 5);
    EXPECT_EQ(f.feuille().dessins().Dessin(1)->Couleur, 0xFFCC0000u);

    // Erasing the line through its item; undo of the rectangle answered Yes.
    script.answers.push_back(MsgResult::Yes);
    f.menuEffacer()->actions()[0]->trigger();
    ASSERT_EQ(f.menuEffacer()->actions().size(), 1);
    EXPECT_EQ(f.menuEffacer()->actions()[0]->text(), QStringLiteral("Rectangle 2"));
    EXPECT_EQ(f.menuEffacer()->actions()[0]->data().toInt(), 0);
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "Annuler")->trigger();
    EXPECT_TRUE(f.menuEffacer()->actions().isEmpty());
    EXPECT_FALSE(enfant<QAction>(f, "Annuler")->isEnabled());
}

TEST_F(FenetreFeuille, DocumentsMenuTextAndTheWholePageSaved)
{
    // The context menu shows the document's opacity and removes it on Yes.
    f.feuille().definirOpacite(0, 30);
    QTest::mousePress(vp(), Qt::RightButton, {}, vue(QPoint(100, 100)));
    EXPECT_EQ(f.documentSelectionne(), 0);
    bool coche30 = false;
    for (QAction* a : enfant<QMenu>(f, "Opacite")->actions())
        if (a->isChecked())
            coche30 = a->text() == QStringLiteral("30 %");
    EXPECT_TRUE(coche30);
    enfant<QMenu>(f, "MenuSup")->hide();

    // A text with a bold word and a superscript, placed then validated.
    enfant<QToolButton>(f, "Bouton_texte")->click();
    f.executerDialogue = [](QDialog& d) {
        auto& s = static_cast<TSaisieTexte&>(d);
        s.TexteSaisi->setPlainText(QStringLiteral("Fosse du <b>Japon</b> : 8 000 m<sup>2</sup>"));
        return static_cast<int>(QDialog::Accepted);
    };
    QTest::mouseClick(vp(), Qt::LeftButton, {}, vue(QPoint(700, 500)));
    EXPECT_TRUE(f.feuille().placementTexte());
    auto* position = f.findChild<TContLegEch*>();
    ASSERT_NE(position, nullptr);
    EXPECT_TRUE(position->isVisible());
    EXPECT_EQ(position->windowTitle(), QStringLiteral("Positionner le texte"));
    position->basculerInstructions();
    EXPECT_TRUE(position->agrandi());
    EXPECT_EQ(position->Label2->text(), QStringLiteral("masquer instructions"));
    position->BitBtn1->click();
    EXPECT_FALSE(f.feuille().placementTexte());
    ASSERT_EQ(f.feuille().dessins().Count(), 1);
    EXPECT_EQ(f.feuille().dessins().Nom(0), QStringLiteral("Texte 1"));

    // Saved whatever the view shows: zoomed in and scrolled to a corner, the file
    // holds the whole page.
    f.vue()->setScale(3);
    f.vue()->horizontalScrollBar()->setValue(f.vue()->horizontalScrollBar()->maximum());
    f.vue()->verticalScrollBar()->setValue(f.vue()->verticalScrollBar()->maximum());
    QTemporaryDir dir;
    for (const char* nom : {"page.png", "page.jpeg"}) {
        script.files.push_back(dir.filePath(QString::fromLatin1(nom)));
        enfant<QAction>(f, "Enregistrer1")->trigger();
        TBitmap32 lu;
        ASSERT_TRUE(loadPicture(dir.filePath(QString::fromLatin1(nom)), lu));
        EXPECT_EQ(lu.width(), 1188);
        EXPECT_EQ(lu.height(), 840);
        QFile fichier(dir.filePath(QString::fromLatin1(nom)));
        ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
        EXPECT_EQ(sniffFormat(fichier.read(8)), QByteArray(nom).endsWith("png") ? ImageFormat::Png : ImageFormat::Jpeg);
    }
    TBitmap32 png;
    ASSERT_TRUE(loadPicture(dir.filePath(QStringLiteral("page.png")), png));
    EXPECT_EQ(png, f.feuille().imagePage());
    EXPECT_EQ(png.pixel(10, 10), 0xFFFFFF00u) << "the document's top-left, scrolled out of sight";
    // Only the formats really written are offered.
    const QString filtre = script.fileRequests.back().filter;
    EXPECT_FALSE(filtre.contains(QStringLiteral("ico")));
    EXPECT_FALSE(filtre.contains(QStringLiteral("emf")));

    // Removing the only document hides the sheet.
    f.show();
    f.ouvrirMenuDocument(0, QPoint());
    script.answers.push_back(MsgResult::Yes);
    enfant<QAction>(f, "SupprimerDocument")->trigger();
    EXPECT_EQ(f.feuille().nombreDocuments(), 0);
    EXPECT_FALSE(f.isVisible());
}

TEST(DialoguesTexte, MarkButtonsAlignmentAndColourDialog)
{
    TSaisieTexte s;
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Saisie d'un texte"));
    s.TexteSaisi->setPlainText(QStringLiteral("un mot"));
    QTextCursor c = s.TexteSaisi->textCursor();
    c.setPosition(3);
    c.setPosition(6, QTextCursor::KeepAnchor);
    s.TexteSaisi->setTextCursor(c);
    s.boutons[0]->click();
    EXPECT_EQ(s.TexteSaisi->toPlainText(), QStringLiteral("un <b>mot</b>"));
    EXPECT_EQ(s.TexteSaisi->textCursor().selectedText(), QStringLiteral("mot"));
    s.boutons[0]->click();
    EXPECT_EQ(s.TexteSaisi->toPlainText(), QStringLiteral("un mot"));
    s.alignements[1]->click();
    EXPECT_EQ(s.alignement(), 1);

    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    TChoixCouleurs& cc = choixCouleurs();
    EXPECT_EQ(cc.windowTitle(), QStringLiteral("Choix des couleurs"));
    cc.CouleurPr->setCouleur(0xFF123456);
    script.colours.push_back(0xFF00AA00);
    cc.CouleurPr->click();
    EXPECT_EQ(cc.CouleurPr->couleur(), 0xFF00AA00u);
    EXPECT_EQ(cc.Transpar->value(), 255);
}
