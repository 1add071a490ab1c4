// The drawing sheet's page without its window, and the text dialog's mark buttons.
#include "drawing/feuille.h"
#include "drawing/marquestexte.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

TEST(MarquesTexte, WrapUnwrapInsertAndLeaveAlone)
{
    // A selected word wrapped in bold stays selected; releasing bold unwraps it.
    TexteSaisi t{QStringLiteral("un mot ici"), 3, 3};
    t = appliquerMarque(t, 0, true);
    EXPECT_EQ(t, (TexteSaisi{QStringLiteral("un <b>mot</b> ici"), 6, 3}));
    t = appliquerMarque(t, 0, false);
    EXPECT_EQ(t, (TexteSaisi{QStringLiteral("un mot ici"), 3, 3}));

    // Without a selection: the opening tag at the caret, the caret after it; the
    // release inserts the closing tag.
    t = {QStringLiteral("E=mc"), 4, 0};
    t = appliquerMarque(t, 3, true);
    EXPECT_EQ(t, (TexteSaisi{QStringLiteral("E=mc<sup>"), 9, 0}));
    t.texte += QLatin1Char('2');
    t.curseur = 10;
    t = appliquerMarque(t, 3, false);
    EXPECT_EQ(t, (TexteSaisi{QStringLiteral("E=mc<sup>2</sup>"), 16, 0}));

    // Releasing italic on a selection that is not preceded by "<i>" changes nothing
    // and keeps the selection.
    t = {QStringLiteral("<b>abc</b>"), 3, 3};
    EXPECT_EQ(appliquerMarque(t, 1, false), t);
    // A selection at the very start cannot be preceded by a tag.
    t = {QStringLiteral("abc"), 0, 3};
    EXPECT_EQ(appliquerMarque(t, 2, false), t);
    // The closing tag may be missing after the selection: only the opening goes.
    t = {QStringLiteral("<sub>2 x"), 5, 1};
    EXPECT_EQ(appliquerMarque(t, 4, false), (TexteSaisi{QStringLiteral("2 x"), 0, 1}));
}

namespace {

TBitmap32 image(int w, int h, TColor32 c)
{
    return TBitmap32(w, h, c);
}

class Feuille : public ::testing::Test {
protected:
    TFeuille f;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};

    void trait(int outil, QPoint a, QPoint b)
    {
        f.outil = outil;
        ASSERT_TRUE(f.appui(a));
        f.deplacement(b);
        f.relachement(b);
    }
};

} // namespace

TEST_F(Feuille, ImagesArriveAtHalfSizeAndThePageIgnoresInputUntilThen)
{
    f.outil = ofLigne;
    EXPECT_FALSE(f.appui(QPoint(100, 100))) << "no document yet";
    EXPECT_TRUE(f.feuilleVide());

    const int i = f.ajouterImage(image(1200, 800, 0xFF3366AA));
    EXPECT_EQ(i, 0);
    EXPECT_EQ(f.placeDocument(0), QRect(0, 0, 600, 400));
    EXPECT_FALSE(f.document(0).cadre);
    EXPECT_EQ(alphaOf(f.document(0).couleur_fond), 0u);
    EXPECT_EQ(f.outil, ofDeplacement);
    EXPECT_EQ(f.renduDocument(0).pixel(300, 200), 0xFF3366AAu);

    // Beyond the page: ignored.
    f.outil = ofLigne;
    EXPECT_FALSE(f.appui(QPoint(1188, 10)));
    EXPECT_TRUE(f.appui(QPoint(1187, 10)));
}

TEST_F(Feuille, ToolsMakeAnnotationsInDocumentUnits)
{
    f.ajouterImage(image(100, 100, 0xFF808080));
    trait(ofLigne, QPoint(200, 100), QPoint(300, 150));
    trait(ofForme, QPoint(400, 400), QPoint(430, 440)); // rectangle
    f.rectangle = false;
    trait(ofForme, QPoint(600, 300), QPoint(603, 304)); // circle of radius 5
    f.outil = ofCrayon;
    ASSERT_TRUE(f.appui(QPoint(700, 700)));
    f.deplacement(QPoint(710, 705));
    f.deplacement(QPoint(720, 715));
    f.relachement(QPoint(730, 720));

    const TListeDessins& d = f.dessins();
    ASSERT_EQ(d.Count(), 4);
    EXPECT_EQ(d.Nom(0), QStringLiteral("Ligne 1"));
    EXPECT_EQ(d.Nom(1), QStringLiteral("Rectangle 2"));
    EXPECT_EQ(d.Nom(2), QStringLiteral("Cercle 3"));
    EXPECT_EQ(d.Nom(3), QStringLiteral("Dessin libre 4"));
    EXPECT_FLOAT_EQ(d.Dessin(0)->X1, 170) << "page x - 30";
    EXPECT_FLOAT_EQ(d.Dessin(0)->Y2, 150);
    EXPECT_FLOAT_EQ(d.Dessin(2)->XC, 570);
    EXPECT_FLOAT_EQ(d.Dessin(2)->Rayon, 5);
    EXPECT_FLOAT_EQ(d.Dessin(3)->X2, 700);

    // The page shows them: the line's middle is ink.
    EXPECT_EQ(f.imagePage().pixel(250, 125), 0xFF000000u);

    // The colour picker takes the page's colour and goes back to the pencil.
    f.outil = ofPipette;
    f.appui(QPoint(20, 20));
    EXPECT_EQ(f.couleur, 0xFF808080u);
    EXPECT_EQ(f.outil, ofCrayon);
}

TEST_F(Feuille, UndoAndEraseKeepTheListAndItsNamesRight)
{
    f.ajouterImage(image(100, 100, 0xFF808080));
    trait(ofLigne, QPoint(200, 100), QPoint(300, 150));
    // Undo answered No keeps the drawing.
    script.answers.push_back(MsgResult::No);
    EXPECT_TRUE(f.annuler());
    EXPECT_EQ(f.dessins().Count(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("Voulez-vous effacer le dernier tracé"));
    // Undo answered Yes removes it from the page at once.
    script.answers.push_back(MsgResult::Yes);
    f.annuler();
    EXPECT_EQ(f.dessins().Count(), 0);
    EXPECT_NE(f.imagePage().pixel(250, 125), 0xFF000000u);
    EXPECT_FALSE(f.annuler()) << "nothing left to undo";

    // Line, circle, rectangle; the circle erased: line at 0, rectangle at 1, the
    // next drawing numbered 5 (numbers only grow).
    trait(ofLigne, QPoint(200, 100), QPoint(300, 150));
    f.rectangle = false;
    trait(ofForme, QPoint(600, 300), QPoint(620, 300));
    f.rectangle = true;
    trait(ofForme, QPoint(400, 400), QPoint(430, 440));
    script.answers.push_back(MsgResult::Yes);
    EXPECT_TRUE(f.effacer(1));
    EXPECT_TRUE(script.lastText().startsWith(QStringLiteral("Voulez-vous effacer le tracé : Cercle")));
    ASSERT_EQ(f.dessins().Count(), 2);
    EXPECT_EQ(f.dessins().Nom(0), QStringLiteral("Ligne 2"));
    EXPECT_EQ(f.dessins().Nom(1), QStringLiteral("Rectangle 4"));
    trait(ofLigne, QPoint(10, 10), QPoint(50, 50));
    EXPECT_EQ(f.dessins().Nom(2), QStringLiteral("Ligne 5"));
}

TEST_F(Feuille, FramesMoveAndResizeWithinTheRules)
{
    f.ajouterImage(image(400, 200, 0xFF2040A0)); // 200 x 100 document
    // Mostly downwards on the bottom-right corner: the right edge follows.
    QRect r = f.glisserCadre(0, Poignee::BasDroite, f.placeDocument(0), QPoint(199, 99), QPoint(204, 149));
    EXPECT_EQ(r.height(), 150);
    EXPECT_EQ(r.width(), 300);
    // Mostly sideways: the bottom edge follows.
    r = f.glisserCadre(0, Poignee::BasDroite, f.placeDocument(0), QPoint(199, 99), QPoint(299, 104));
    EXPECT_EQ(r.width(), 300);
    EXPECT_EQ(r.height(), 150);
    // The top-left corner, mostly upwards: the left edge follows.
    r = f.glisserCadre(0, Poignee::HautGauche, QRect(100, 100, 200, 100), QPoint(100, 100), QPoint(98, 50));
    EXPECT_EQ(r, QRect(0, 50, 300, 150));
    // Never below 40 x 40 nor beyond the page less 10.
    r = f.glisserCadre(0, Poignee::Droite, f.placeDocument(0), QPoint(199, 50), QPoint(5000, 50));
    EXPECT_LE(r.width(), 1178);
    // A move stays on the page.
    r = f.glisserCadre(0, Poignee::Interieur, f.placeDocument(0), QPoint(10, 10), QPoint(-500, 2000));
    EXPECT_EQ(r.topLeft(), QPoint(0, 740));

    // Through the mouse: press on the corner handle, drag, release.
    f.outil = ofDeplacement;
    ASSERT_EQ(f.poigneeSous(0, QPoint(199, 99)), Poignee::BasDroite);
    ASSERT_TRUE(f.appui(QPoint(199, 99)));
    f.deplacement(QPoint(204, 149));
    f.relachement(QPoint(204, 149));
    EXPECT_EQ(f.placeDocument(0).size(), QSize(300, 150));
    EXPECT_EQ(f.renduDocument(0).width(), 300);

    // A side of 20 pixels or less keeps the old rendering.
    EXPECT_FALSE(f.redimensionner(0, QSize(300, 15)));
    EXPECT_EQ(f.renduDocument(0).height(), 150);

    // Moving by the inside.
    ASSERT_TRUE(f.appui(QPoint(100, 50)));
    f.deplacement(QPoint(150, 80));
    f.relachement(QPoint(150, 80));
    EXPECT_EQ(f.placeDocument(0).topLeft(), QPoint(50, 30));
}

TEST_F(Feuille, ContextMenuSettingsAndRemoval)
{
    f.ajouterImage(image(100, 100, 0x00000000)); // a transparent picture
    f.ajouterImage(image(100, 100, 0xFF00FF00));
    EXPECT_EQ(f.documentSous(QPoint(10, 10)), 1) << "the later document covers the earlier";
    f.definirOpacite(0, 30);
    EXPECT_EQ(f.opacite(0), 30);
    EXPECT_EQ(alphaOf(f.renduDocument(0).pixel(20, 20)), 76u) << "round(76.5), ties to even";
    f.definirCadre(1, true);
    EXPECT_EQ(f.renduDocument(1).pixel(49, 20), f.document(1).couleur_cadre) << "the border's last column";
    EXPECT_TRUE(f.supprimerDocument(1));
    EXPECT_EQ(f.nombreDocuments(), 1);
    EXPECT_EQ(f.documentSous(QPoint(10, 10)), 0);
    EXPECT_FALSE(f.supprimerDocument(3));
}

TEST_F(Feuille, TheSavedPageIsTheWholePageAndTheTextBecomesAnAnnotation)
{
    f.ajouterImage(image(200, 200, 0xFFAA0000));
    f.placerCadre(0, QRect(1088, 740, 100, 100)); // the far corner of the page
    TBitmap32 page = f.imagePage();
    EXPECT_EQ(page.width(), 1188);
    EXPECT_EQ(page.height(), 840);
    EXPECT_EQ(page.pixel(1100, 800), 0xFFAA0000u);
    EXPECT_EQ(page.pixel(500, 400), 0xFFFFFFFFu);

    // A text placed, moved, then validated: an annotation where it lay.
    f.outil = ofTexte;
    f.placerTexte(QPoint(100, 100), {QStringLiteral("Fosse du <b>Japon</b>")}, QFont(QStringLiteral("Arial"), 14),
                  1);
    EXPECT_TRUE(f.placementTexte());
    f.appui(QPoint(300, 200));
    EXPECT_EQ(f.placeTexte().topLeft(), QPoint(300, 200));
    f.validerTexte(true);
    EXPECT_FALSE(f.placementTexte());
    ASSERT_EQ(f.dessins().Count(), 1);
    const TDessin& t = *f.dessins().Dessin(0);
    EXPECT_EQ(t.Nature, ndTexte);
    EXPECT_FLOAT_EQ(t.XC, 270);
    EXPECT_FLOAT_EQ(t.YC, 200);
    EXPECT_EQ(t.Alignement, 1);
    EXPECT_EQ(t.Lignes, QStringList{QStringLiteral("Fosse du <b>Japon</b>")});
    EXPECT_EQ(f.dessins().Nom(0), QStringLiteral("Texte 1"));

    // Portrait: the page turns, everything keeps its place.
    f.definirPaysage(false);
    EXPECT_EQ(f.imagePage().width(), 840);
    EXPECT_EQ(f.imagePage().height(), 1188);
}

TEST_F(Feuille, RepeatedDragsNeverTakeADocumentOffThePage)
{
    f.ajouterImage(image(600, 400, 0xFF2040A0)); // 300 x 200
    f.outil = ofDeplacement;
    for (int k = 0; k < 30; ++k) {
        const QPoint c = f.placeDocument(0).center();
        ASSERT_TRUE(f.appui(c));
        for (int i = 1; i <= 40; ++i)
            f.deplacement(c + QPoint(i, 3 * i));
        f.relachement(c + QPoint(40, 120));
        const QRect r = f.placeDocument(0);
        ASSERT_LE(r.right(), 1187);
        ASSERT_LE(r.bottom(), 839) << k;
    }
}

// An annotation or a text put on a copied map shows on it: the annotations lie
// over the documents.
TEST_F(Feuille, AnnotationsShowOverTheDocuments)
{
    f.ajouterImage(image(800, 600, 0xFF3366AA)); // 400 x 300 at the top-left
    trait(ofLigne, QPoint(100, 150), QPoint(300, 150));
    EXPECT_EQ(f.imagePage().pixel(200, 150), 0xFF000000u);
    f.outil = ofTexte;
    f.placerTexte(QPoint(50, 50), {QStringLiteral("<b>Japon</b>")}, QFont(QStringLiteral("Arial"), 20), 0);
    f.validerTexte(true);
    const TBitmap32 page = f.imagePage();
    int encre = 0;
    for (int y = 50; y < 90; ++y)
        for (int x = 50; x < 150; ++x)
            encre += page.pixel(x, y) == 0xFF000000u;
    EXPECT_GT(encre, 20) << "the validated text is not hidden by the map";
}
