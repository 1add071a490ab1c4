// The page layout: the copy size that fits, the grid centred by the margins, the
// warning, the edits, centring, RAZ, orientation and paper, and the preview.
#include "print/miseenpage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TMiseEnPage avecRapport(double r)
{
    TMiseEnPage mp;
    mp.definirRapport(r);
    return mp;
}

} // namespace

TEST(MiseEnPage, WidthLimitsAndTopAndBottomGrow)
{
    TMiseEnPage mp = avecRapport(0.5);
    ASSERT_TRUE(mp.MiseEnPage());
    EXPECT_EQ(mp.IW, 190);
    EXPECT_EQ(mp.IH, 95);
    EXPECT_EQ(mp.margehaut, 101);
    EXPECT_EQ(mp.margebas, 101);
    EXPECT_EQ(mp.margegauche, 10);
    EXPECT_EQ(mp.margedroite, 10);
    EXPECT_EQ(mp.texteTaille(), QStringLiteral("190 x 95"));
    EXPECT_EQ(mp.HauteurImprimable, 95);
    EXPECT_EQ(mp.LargeurImprimable, 190);
    EXPECT_FALSE(mp.Avertissement);
    // Running it again changes nothing: the grid already fills the room.
    ASSERT_TRUE(mp.MiseEnPage());
    EXPECT_EQ(mp.margehaut, 101);
    EXPECT_EQ(mp.IH, 95);
}

TEST(MiseEnPage, HeightLimitsAndLeftAndRightGrow)
{
    TMiseEnPage mp = avecRapport(2.0);
    mp.changerLignesColonnes(2, 1);
    EXPECT_EQ(mp.IH, 136);
    EXPECT_EQ(mp.IW, 68);
    EXPECT_EQ(mp.margegauche, 71);
    EXPECT_EQ(mp.margedroite, 71);
    EXPECT_EQ(mp.margehaut, 10);
    EXPECT_TRUE(mp.imprimable());
    EXPECT_FALSE(mp.AVerifier);
}

TEST(MiseEnPage, TooSmallWarnsAndKeepsTheLastGoodLayout)
{
    TMiseEnPage mp = avecRapport(0.5);
    ASSERT_TRUE(mp.MiseEnPage());
    // Ten columns 200 mm apart leave a negative width.
    mp.margeChange({QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("101"), QStringLiteral("101"),
                    QStringLiteral("200")});
    mp.changerLignesColonnes(1, 10);
    EXPECT_TRUE(mp.Avertissement);
    EXPECT_EQ(mp.texteTaille(), QStringLiteral("190 x 95"));
    EXPECT_EQ(mp.margehaut, 10); // RAZ set them before the layout failed
    // Ten cells of the old size cannot go on the page: nothing may be printed.
    EXPECT_FALSE(mp.imprimable());

    // A copy 5 mm wide is too small; 6 mm passes. A very flat picture fails on its height.
    TMiseEnPage etroit = avecRapport(1.0);
    etroit.margeChange({QStringLiteral("100"), QStringLiteral("105"), QStringLiteral("10"), QStringLiteral("10"),
                        QStringLiteral("5")});
    EXPECT_FALSE(etroit.MiseEnPage());
    etroit.margeChange({QStringLiteral("100"), QStringLiteral("104")});
    EXPECT_TRUE(etroit.MiseEnPage());
    EXPECT_EQ(etroit.IW, 6);
    TMiseEnPage plat = avecRapport(0.02);
    EXPECT_FALSE(plat.MiseEnPage());
    EXPECT_EQ(plat.IW, 0);
    EXPECT_FALSE(plat.imprimable());

    // Fitting the height to 4 mm or less warns too, without touching the margins.
    TMiseEnPage bas = avecRapport(1.0);
    bas.margeChange({QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("140"), QStringLiteral("153")});
    EXPECT_FALSE(bas.MiseEnPage());
    EXPECT_EQ(bas.margegauche, 10);
    EXPECT_EQ(bas.margehaut, 140);
    // A ratio so tall that the fitted width rounds to nothing.
    TMiseEnPage haut = avecRapport(1e9);
    EXPECT_FALSE(haut.MiseEnPage());
}

TEST(MiseEnPage, EditsAreReadUpToTheFirstText)
{
    TMiseEnPage mp;
    mp.margeChange({QStringLiteral("12"), QStringLiteral("13"), QStringLiteral(""), QStringLiteral("15"),
                    QStringLiteral("7")});
    EXPECT_EQ(mp.margegauche, 12);
    EXPECT_EQ(mp.margedroite, 13);
    EXPECT_EQ(mp.margehaut, 10);
    EXPECT_EQ(mp.margebas, 10);
    EXPECT_EQ(mp.espaces, 5);
    EXPECT_TRUE(mp.AVerifier);
    EXPECT_EQ(mp.IW, 0); // the layout waits for "Vérifier"
    // Values beyond what a page can hold are brought back in range.
    mp.margeChange({QStringLiteral("-4"), QStringLiteral("99999"), QStringLiteral("10"), QStringLiteral("10"),
                    QStringLiteral("2000000000")});
    EXPECT_EQ(mp.margegauche, 0);
    EXPECT_EQ(mp.margedroite, TMiseEnPage::MargeMaxi);
    EXPECT_EQ(mp.espaces, TMiseEnPage::EspacesMaxi);
    EXPECT_FALSE(mp.MiseEnPage());
}

TEST(MiseEnPage, CentringAndRAZ)
{
    TMiseEnPage mp = avecRapport(0.5);
    mp.margeChange({QStringLiteral("30"), QStringLiteral("5"), QStringLiteral("40"), QStringLiteral("21")});
    mp.centrerHorizontalement();
    EXPECT_EQ(mp.margegauche, 17);
    EXPECT_EQ(mp.margedroite, 17);
    mp.centrerVerticalement();
    EXPECT_EQ(mp.margehaut, 30);
    EXPECT_EQ(mp.margebas, 30);
    EXPECT_EQ(mp.LargeurImprimable, 210 - 34);
    EXPECT_EQ(mp.HauteurImprimable, 297 - 60);

    mp.RAZ();
    // The four margins back to 10, then laid out again.
    EXPECT_EQ(mp.margegauche, 10);
    EXPECT_EQ(mp.margedroite, 10);
    EXPECT_EQ(mp.margehaut, 101);
    EXPECT_EQ(mp.IW, 190);
    EXPECT_FALSE(mp.AVerifier);
}

TEST(MiseEnPage, OrientationAndPaper)
{
    TMiseEnPage mp = avecRapport(0.5);
    mp.changerOrientation(OrientationPage::Paysage);
    EXPECT_EQ(mp.PW, 297);
    EXPECT_EQ(mp.PH, 210);
    // 277 x 138.5: the height fits (ties go to even), the grid centred vertically.
    EXPECT_EQ(mp.IW, 277);
    EXPECT_EQ(mp.IH, 138);
    EXPECT_EQ(mp.margehaut, 10 + 26);

    mp.changerFormat(FormatPapier::A3);
    EXPECT_EQ(mp.format(), FormatPapier::A3);
    EXPECT_EQ(mp.PW, 420);
    EXPECT_EQ(mp.PH, 297);
    // Laid out with the margins as they were, and "Vérifier" offered.
    EXPECT_EQ(mp.IW, 400);
    EXPECT_EQ(mp.IH, 200);
    EXPECT_TRUE(mp.AVerifier);

    mp.changerOrientation(OrientationPage::Portrait);
    EXPECT_EQ(mp.PW, 297);
    EXPECT_EQ(mp.PH, 420);
    mp.changerFormat(FormatPapier::A4);
    EXPECT_EQ(mp.PW, 210);
    EXPECT_EQ(mp.PH, 297);
}

TEST(MiseEnPage, PreviewAtSixTenthsOfAPixelPerMillimetre)
{
    TMiseEnPage mp = avecRapport(0.5);
    EXPECT_EQ(mp.panneauPage(), QSize(130, 182));
    ASSERT_TRUE(mp.MiseEnPage());
    // top round(101 * 0.6) + 2, left round(10 * 0.6) + 2, 190 x 95 mm at 0.6.
    EXPECT_EQ(mp.cadre(), QRect(8, 63, 114, 57));
    mp.changerOrientation(OrientationPage::Paysage);
    EXPECT_EQ(mp.panneauPage(), QSize(182, 130));
    mp.changerFormat(FormatPapier::A3);
    EXPECT_EQ(mp.panneauPage(), QSize(256, 182));
    const QRect c = mp.cadre();
    EXPECT_LE(c.right(), mp.panneauPage().width());
    EXPECT_LE(c.bottom(), mp.panneauPage().height());

    // The cells of the preview, relative to the printed area.
    TMiseEnPage g = avecRapport(1.0);
    g.changerLignesColonnes(2, 3);
    const auto cellules = g.cellulesApercu();
    ASSERT_EQ(cellules.size(), 6u);
    EXPECT_EQ(cellules[0].topLeft(), QPoint(0, 0));
    EXPECT_EQ(cellules[4].topLeft(),
              QPoint(qRound((g.IW + g.espaces) * 0.6), qRound((g.IH + g.espaces) * 0.6)));
    EXPECT_LE(cellules[5].right(), g.cadre().width());
}

TEST(MiseEnPage, RatioFromThePicture)
{
    TMiseEnPage mp;
    mp.definirRapport(1188, 840);
    EXPECT_DOUBLE_EQ(mp.R, 840.0 / 1188.0);
    // An empty picture or a ratio that is not a number leaves the last one.
    mp.definirRapport(0, 840);
    mp.definirRapport(std::nan(""));
    mp.definirRapport(-1.0);
    EXPECT_DOUBLE_EQ(mp.R, 840.0 / 1188.0);
}
