// Rich-text layout and drawing. Widths are measured with the same fonts, so the
// expectations hold whatever the installed glyphs are.
#include "drawing/dessins.h"
#include "drawing/texteriche.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <algorithm>

namespace {

QFont Base(int points = 12)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    return f;
}

int Largeur(const QString& s, const QFont& f)
{
    return TBitmap32::textWidth(s, f);
}

QFont Gras(QFont f)
{
    f.setBold(true);
    return f;
}

std::vector<TMorceauTexte> DeLaLigne(const TMiseEnPageTexte& m, int ligne)
{
    std::vector<TMorceauTexte> r;
    for (const auto& p : m.morceaux)
        if (p.ligne == ligne)
            r.push_back(p);
    return r;
}

int FinDeLigne(const TMiseEnPageTexte& m, int ligne)
{
    const auto ps = DeLaLigne(m, ligne);
    return ps.back().x + Largeur(ps.back().texte, ps.back().police);
}

} // namespace

TEST(TexteRiche, PiecesAbutWithTheirOwnFonts)
{
    const QFont f = Base();
    const auto m = MettreEnPageTexte(false, 7, 3, {QStringLiteral("a<b>b</b>c")}, 0, f);
    ASSERT_EQ(m.morceaux.size(), 3u);
    EXPECT_EQ(m.morceaux[0].texte, QStringLiteral("a"));
    EXPECT_EQ(m.morceaux[1].texte, QStringLiteral("b"));
    EXPECT_EQ(m.morceaux[2].texte, QStringLiteral("c"));
    EXPECT_FALSE(m.morceaux[0].police.bold());
    EXPECT_TRUE(m.morceaux[1].police.bold());
    EXPECT_FALSE(m.morceaux[2].police.bold());
    EXPECT_EQ(m.morceaux[0].x, 7);
    EXPECT_EQ(m.morceaux[1].x, 7 + Largeur("a", f));
    EXPECT_EQ(m.morceaux[2].x, 7 + Largeur("a", f) + Largeur("b", Gras(f)));
    for (const auto& p : m.morceaux)
        EXPECT_EQ(p.y, 3 + 1);
    EXPECT_EQ(m.largeurs[0], Largeur("a", f) + Largeur("b", Gras(f)) + Largeur("c", f));
}

TEST(TexteRiche, UnknownTagsAndLoneBracketsAreText)
{
    const QFont f = Base();
    const auto m = MettreEnPageTexte(false, 0, 0, {QStringLiteral("x<B>y< z<sup")}, 0, f);
    QString tout;
    for (const auto& p : m.morceaux) {
        tout += p.texte;
        EXPECT_FALSE(p.police.bold());
        EXPECT_EQ(p.y, 1);
    }
    EXPECT_EQ(tout, QStringLiteral("x<B>y< z<sup"));
    // Each piece ends at a "<" that opened no tag.
    EXPECT_EQ(m.morceaux[0].texte, QStringLiteral("x<"));
    EXPECT_EQ(m.morceaux[1].texte, QStringLiteral("B>y<"));
    EXPECT_EQ(m.morceaux[2].texte, QStringLiteral(" z<"));

    // Italic and underline open and close as well.
    const auto n = MettreEnPageTexte(false, 0, 0, {QStringLiteral("<i>a<u>b</i>c</u>d")}, 0, f);
    ASSERT_EQ(n.morceaux.size(), 4u);
    EXPECT_TRUE(n.morceaux[0].police.italic() && !n.morceaux[0].police.underline());
    EXPECT_TRUE(n.morceaux[1].police.italic() && n.morceaux[1].police.underline());
    EXPECT_TRUE(!n.morceaux[2].police.italic() && n.morceaux[2].police.underline());
    EXPECT_TRUE(!n.morceaux[3].police.italic() && !n.morceaux[3].police.underline());
}

TEST(TexteRiche, SuperscriptAndSubscriptGeometry)
{
    for (int taille : {12, 18, 30}) {
        SCOPED_TRACE(taille);
        const QFont f = Base(taille);
        const int ppi = PixelsParPouce();
        const int q = arrondi(taille / 6.0);
        const auto m = MettreEnPageTexte(false, 0, 10, {QStringLiteral("km<sup>2</sup>x<sub>3</sub>y")}, 0, f);
        ASSERT_EQ(m.morceaux.size(), 5u);
        const auto& sup = m.morceaux[1];
        const auto& sub = m.morceaux[3];
        EXPECT_EQ(sup.texte, QStringLiteral("2"));
        EXPECT_DOUBLE_EQ(sup.police.pointSizeF(), taille - q);
        EXPECT_EQ(sup.y, 10 + 1 - arrondi(q * ppi / 72.0));
        EXPECT_DOUBLE_EQ(sub.police.pointSizeF(), taille - q);
        EXPECT_EQ(sub.y, 10 + 1 + arrondi(q * ppi / 72.0 * 2));
        EXPECT_DOUBLE_EQ(m.morceaux[2].police.pointSizeF(), taille);
        EXPECT_EQ(m.morceaux[2].y, 11);
        EXPECT_EQ(m.morceaux[4].y, 11);
        EXPECT_EQ(m.morceaux[2].x, Largeur("km", f) + Largeur("2", sup.police));
    }
}

TEST(TexteRiche, AlignmentInsideTheBlock)
{
    const QFont f = Base();
    const QStringList lignes{QStringLiteral("i"), QStringLiteral("<b>WWWW</b>"), QStringLiteral("mm<i>m</i>")};
    const auto droite = MettreEnPageTexte(false, 20, 0, lignes, 2, f);
    const int w = *std::max_element(droite.largeurs.begin(), droite.largeurs.end());
    EXPECT_EQ(droite.largeurBloc, w);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FinDeLigne(droite, i), 20 + w) << i;

    const auto centre = MettreEnPageTexte(false, 20, 0, lignes, 1, f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(DeLaLigne(centre, i).front().x, 20 + (w - centre.largeurs[i]) / 2) << i;

    const auto gauche = MettreEnPageTexte(false, 20, 0, lignes, 0, f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(DeLaLigne(gauche, i).front().x, 20);

    // Self-sized, the block is 8 pixels wider than the widest line.
    const auto auto_ = MettreEnPageTexte(true, 0, 0, lignes, 2, f);
    EXPECT_EQ(auto_.largeurBloc, w + 8);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FinDeLigne(auto_, i), w + 8);
}

TEST(TexteRiche, LineHeightAndSelfSizedBitmap)
{
    const QFont f = Base();
    const int h = TBitmap32::textHeight(QStringLiteral("EAjp"), f) + 2;
    const QStringList lignes{QStringLiteral("un"), QStringLiteral("deux deux"), QStringLiteral("trois")};
    const auto m = MettreEnPageTexte(true, 0, 0, lignes, 0, f);
    EXPECT_EQ(m.hauteurLigne, h);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(DeLaLigne(m, i).front().y, i * h + 1);

    TBitmap32 b(3, 3);
    EcrireTexte(true, 0, 0, b, lignes, 0xFF000000, 0xFFFFFF00, 0, f);
    EXPECT_EQ(b.height(), h * 3 + 4);
    EXPECT_EQ(b.width(), Largeur(QStringLiteral("deux deux"), f) + 8);
    EXPECT_EQ(b.pixel(b.width() - 1, b.height() - 1), 0xFFFFFF00u);
    bool encre = false;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            encre |= redOf(b.pixel(x, y)) < 100;
    EXPECT_TRUE(encre);

    // No lines: an 8 x 4 bitmap of the background colour, in both forms.
    TBitmap32 vide(50, 50);
    EcrireTexte(true, 0, 0, vide, {}, 0xFF000000, 0xFF00FF00, 1, f);
    EXPECT_EQ(vide.width(), 8);
    EXPECT_EQ(vide.height(), 4);
    EXPECT_EQ(vide, TBitmap32(8, 4, 0xFF00FF00));
    QImage img(30, 30, QImage::Format_ARGB32);
    EcrireTexteCanevas(f, Qt::black, 0, QColor(0, 0, 255), img, {});
    EXPECT_EQ(img.size(), QSize(8, 4));
    EXPECT_EQ(img.pixel(7, 3), qRgb(0, 0, 255));
}

TEST(TexteRiche, OpenTagsRunOnToLaterLinesOnly)
{
    const QFont f = Base();
    const auto m = MettreEnPageTexte(false, 0, 0, {QStringLiteral("a<b>b"), QStringLiteral("c")}, 0, f);
    EXPECT_TRUE(DeLaLigne(m, 1).front().police.bold());
    EXPECT_EQ(m.largeurs[1], Largeur("c", Gras(f)));
}

TEST(TexteRiche, TagLeftOpenAtTheEndDoesNotShiftEarlierLines)
{
    // The measuring pass and the drawing pass both start from the base font: the
    // first line is measured and drawn in the same (regular) font, so right-aligned
    // lines still end together.
    const QFont f = Base(14);
    const QStringList lignes{QStringLiteral("mmmmmmmm"), QStringLiteral("x"), QStringLiteral("fin<b>")};
    for (int alignement : {1, 2}) {
        SCOPED_TRACE(alignement);
        const auto m = MettreEnPageTexte(false, 0, 0, lignes, alignement, f);
        EXPECT_FALSE(DeLaLigne(m, 0).front().police.bold());
        EXPECT_EQ(m.largeurs[0], Largeur(lignes[0], f));
        if (alignement == 2) {
            EXPECT_EQ(FinDeLigne(m, 0), m.largeurBloc);
            EXPECT_EQ(FinDeLigne(m, 1), m.largeurBloc);
        } else {
            EXPECT_EQ(DeLaLigne(m, 0).front().x, 0);
        }
    }
}

TEST(TexteRiche, InPlaceDrawingPaintsOnlyGlyphs)
{
    const QFont f = Base();
    TBitmap32 b(200, 60);
    EcrireTexte(false, 30, 10, b, {QStringLiteral("Terre"), QStringLiteral("<u>plaque</u>")}, 0xFF0000FF,
                0xFFFF0000, 0, f);
    EXPECT_EQ(b.width(), 200);
    int encre = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const TColor32 p = b.pixel(x, y);
            if (p == clTransparentWhite32)
                continue;
            ++encre;
            EXPECT_EQ(p & 0x00FFFFFF, 0x0000FFu) << x << "," << y; // never the background colour
            EXPECT_GE(x, 29);
            EXPECT_GE(y, 10);
        }
    EXPECT_GT(encre, 20);
}

TEST(TexteRiche, CanvasFormDrawsTheFontColourOverItsBackground)
{
    const QFont f = Base(16);
    QImage img;
    EcrireTexteCanevas(f, QColor(255, 0, 0), 2, QColor(255, 255, 255), img,
                       {QStringLiteral("H<sub>2</sub>O"), QStringLiteral("<b>roche</b>")});
    const auto m = MettreEnPageTexte(true, 0, 0, {QStringLiteral("H<sub>2</sub>O"), QStringLiteral("<b>roche</b>")},
                                     2, f);
    EXPECT_EQ(img.width(), m.largeurTotale);
    EXPECT_EQ(img.height(), m.hauteurTotale);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    int rouges = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            rouges += qRed(p) > 200 && qGreen(p) < 60;
        }
    EXPECT_GT(rouges, 10);
}
