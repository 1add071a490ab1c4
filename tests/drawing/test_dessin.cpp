// Drawing objects: defaults, copies, rendering at an origin and scale, and the
// named drawing list with its confirmations.
#include "drawing/dessins.h"
#include "drawing/listedessins.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QRect>

#include <memory>

namespace {

QRect BoiteEncre(const TBitmap32& b)
{
    QRect r;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (alphaOf(b.pixel(x, y)) > 1)
                r |= QRect(x, y, 1, 1);
    return r;
}

std::unique_ptr<TDessin> Ligne(float x1, float y1, float x2, float y2)
{
    auto d = std::make_unique<TDessin>();
    d->Nature = ndLigne;
    d->X1 = x1;
    d->Y1 = y1;
    d->X2 = x2;
    d->Y2 = y2;
    return d;
}

std::unique_ptr<TDessin> Libre(int epaisseur)
{
    auto d = std::make_unique<TDessin>();
    d->Nature = ndLibre;
    d->Epaisseur = static_cast<std::uint8_t>(epaisseur);
    d->Couleur = 0xFF00A000;
    d->Trace.Add(10, 30);
    d->Trace.Add(40, 20);
    d->Trace.Add(70, 40);
    d->X1 = 10;
    d->Y1 = 30;
    d->X2 = 70;
    d->Y2 = 40;
    return d;
}

} // namespace

TEST(TDessin, DefaultsAndCopy)
{
    TDessin d;
    EXPECT_EQ(d.Nature, 0);
    EXPECT_EQ(d.Couleur, 0xFF000000u);
    EXPECT_EQ(d.CouleurFond, 0xFFFFFFFFu);
    EXPECT_TRUE(d.FondTransparent);
    EXPECT_FLOAT_EQ(d.TaillePolice, 10.0f);
    EXPECT_EQ(d.NomPolice, QStringLiteral("Arial"));
    EXPECT_TRUE(d.Lignes.isEmpty());
    EXPECT_TRUE(d.Trace.IsEmpty());
    EXPECT_FALSE(d.Trace.Closed);
    EXPECT_EQ(d.Pointe.width(), 25);
    EXPECT_EQ(d.Pointe.height(), 25);

    TDessin src;
    src.Nature = ndTexte;
    src.X1 = 1; src.Y1 = 2; src.X2 = 3; src.Y2 = 4; src.XC = 5; src.YC = 6; src.Rayon = 7;
    src.Epaisseur = 3;
    src.Couleur = 0xFF112233;
    src.CouleurFond = 0xFF445566;
    src.Alignement = 2;
    src.FondTransparent = false;
    src.Opacite = 255;
    src.Fleche = flDouble;
    src.StyleTrait = stTirets;
    src.Remplissage = rmObliques2;
    src.TaillePolice = 14.5f;
    src.StylePolice = spGras | spBarre;
    src.NomPolice = QStringLiteral("Liberation Serif");
    src.Lignes << QStringLiteral("un") << QStringLiteral("deux");
    src.Trace.Add(1.5, 2.5);

    TDessin c;
    c.CopierDe(&src);
    EXPECT_EQ(c.Nature, ndTexte);
    EXPECT_EQ(c.X1 + c.Y1 + c.X2 + c.Y2 + c.XC + c.YC + c.Rayon, 28.0f);
    EXPECT_EQ(c.Epaisseur, 3);
    EXPECT_EQ(c.Couleur, 0xFF112233u);
    EXPECT_EQ(c.CouleurFond, 0xFF445566u);
    EXPECT_EQ(c.Alignement, 2);
    EXPECT_FALSE(c.FondTransparent);
    EXPECT_EQ(c.Opacite, 255);
    EXPECT_EQ(c.Fleche, flDouble);
    EXPECT_EQ(c.StyleTrait, stTirets);
    EXPECT_EQ(c.Remplissage, rmObliques2);
    EXPECT_FLOAT_EQ(c.TaillePolice, 14.5f);
    EXPECT_EQ(c.StylePolice, spGras | spBarre);
    EXPECT_EQ(c.NomPolice, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(c.Lignes, src.Lignes);
    ASSERT_EQ(c.Trace.Points.size(), 1u);
    EXPECT_EQ(c.Trace.Points[0], src.Trace.Points[0]);

    // The copy's lines and path are its own.
    src.Lignes[0] = QStringLiteral("changé");
    src.Trace.Add(9, 9);
    EXPECT_EQ(c.Lignes[0], QStringLiteral("un"));
    EXPECT_EQ(c.Trace.Points[0].size(), 1u);

    // A missing source changes nothing.
    c.CopierDe(nullptr);
    EXPECT_EQ(c.Couleur, 0xFF112233u);
}

TEST(TDessin, ShapesLandAtOriginPlusScaledPosition)
{
    TBitmap32 b(100, 100);
    auto r = std::make_unique<TDessin>();
    r->Nature = ndRectangle;
    r->X1 = 5; r->Y1 = 5; r->X2 = 15; r->Y2 = 20;
    EXPECT_TRUE(r->Dessiner(b, b, 10, 20, 2.0));
    EXPECT_EQ(BoiteEncre(b), QRect(QPoint(20, 30), QPoint(40, 60)));

    TBitmap32 c(100, 100);
    auto o = std::make_unique<TDessin>();
    o->Nature = ndCercle;
    o->XC = 20; o->YC = 20; o->Rayon = 10;
    o->Remplissage = rmPlein;
    EXPECT_TRUE(o->Dessiner(c, c, 5, 5, 1.5));
    EXPECT_EQ(BoiteEncre(c), QRect(QPoint(20, 20), QPoint(50, 50)));
    EXPECT_EQ(c.pixel(35, 35), 0xFF000000u);

    // Kinds no tool creates draw nothing and do not fail.
    TBitmap32 e(20, 20);
    TDessin inconnu;
    inconnu.Nature = 7;
    EXPECT_TRUE(inconnu.Dessiner(e, e, 0, 0, 1));
    EXPECT_TRUE(BoiteEncre(e).isEmpty());
}

TEST(TDessin, TextScalesWithTheRenderScale)
{
    TDessin t;
    t.Nature = ndTexte;
    t.XC = 10;
    t.YC = 10;
    t.TaillePolice = 12;
    t.Lignes << QStringLiteral("HHHH");
    TBitmap32 a(400, 200), b(400, 200);
    ASSERT_TRUE(t.Dessiner(a, a, 0, 0, 1.0));
    ASSERT_TRUE(t.Dessiner(b, b, 0, 0, 2.0));
    const QRect ra = BoiteEncre(a), rb = BoiteEncre(b);
    ASSERT_FALSE(ra.isEmpty());
    EXPECT_EQ(t.PoliceAEchelle(2.0).pointSize(), 24);
    // Twice the distance from the origin and about twice the glyph size.
    EXPECT_NEAR(rb.left(), 2 * ra.left(), 3);
    EXPECT_NEAR(rb.width(), 2 * ra.width(), 4);
    EXPECT_NEAR(rb.height(), 2 * ra.height(), 4);
    // Nothing is painted behind the text, whatever the background colour.
    EXPECT_EQ(b.pixel(21, 50), clTransparentWhite32);
    EXPECT_EQ(b.pixel(399, 199), clTransparentWhite32);
}

TEST(TDessin, RoundTipsOnlyOnThickFreehandStrokes)
{
    for (int t : {0, 1, 3}) {
        SCOPED_TRACE(t);
        auto d = Libre(t);
        TBitmap32 avec(100, 80), sans(100, 80);
        ASSERT_TRUE(d->Dessiner(avec, avec, 0, 0, 1));
        TracerChemin(d->Trace, t, d->Couleur, 0, 0, 1, sans);
        ASSERT_FALSE(BoiteEncre(sans).isEmpty());
        int diffDebut = 0, diffFin = 0, diffMilieu = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) {
                if (avec.pixel(x, y) == sans.pixel(x, y))
                    continue;
                if (std::abs(x - 11) <= 12 && std::abs(y - 31) <= 12)
                    ++diffDebut;
                else if (std::abs(x - 71) <= 12 && std::abs(y - 41) <= 12)
                    ++diffFin;
                else
                    ++diffMilieu;
            }
        EXPECT_EQ(diffMilieu, 0);
        if (t == 0) {
            EXPECT_EQ(diffDebut, 0);
            EXPECT_EQ(diffFin, 0);
        } else {
            EXPECT_GT(diffDebut, 0);
            EXPECT_GT(diffFin, 0);
        }
    }
}

TEST(TDessin, FreehandPathFollowsOriginAndScale)
{
    auto d = Libre(0);
    TBitmap32 b(200, 120);
    ASSERT_TRUE(d->Dessiner(b, b, 20, 10, 2.0));
    const QRect r = BoiteEncre(b);
    EXPECT_NEAR(r.left(), 40, 1);
    EXPECT_NEAR(r.right(), 160, 1);
    EXPECT_NEAR(r.top(), 50, 1);
    EXPECT_NEAR(r.bottom(), 90, 1);
}

TEST(TListeDessins, NamesUseARunningCounterThatNeverGoesBack)
{
    TListeDessins l;
    EXPECT_EQ(l.Ajouter(Ligne(0, 0, 1, 1)), QStringLiteral("Ligne 1"));
    auto r = std::make_unique<TDessin>();
    r->Nature = ndRectangle;
    EXPECT_EQ(l.Ajouter(std::move(r)), QStringLiteral("Rectangle 2"));
    auto c = std::make_unique<TDessin>();
    c->Nature = ndCercle;
    EXPECT_EQ(l.Ajouter(std::move(c)), QStringLiteral("Cercle 3"));
    EXPECT_TRUE(l.Supprimer(2));
    auto t = std::make_unique<TDessin>();
    t->Nature = ndTexte;
    EXPECT_EQ(l.Ajouter(std::move(t)), QStringLiteral("Texte 4"));
    EXPECT_EQ(l.Ajouter(std::make_unique<TDessin>()), QStringLiteral("Dessin libre 5"));
    EXPECT_TRUE(l.Ajouter(nullptr).isEmpty());
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Compteur(), 5);

    // Removal by index closes the gap; bad indexes are refused.
    EXPECT_TRUE(l.Supprimer(0));
    EXPECT_EQ(l.Nom(0), QStringLiteral("Rectangle 2"));
    EXPECT_EQ(l.Dessin(1)->Nature, ndTexte);
    EXPECT_FALSE(l.Supprimer(-1));
    EXPECT_FALSE(l.Supprimer(3));
    EXPECT_EQ(l.Count(), 3);
}

TEST(TListeDessins, RemovalsAskFirstAndActOnlyOnYes)
{
    ScriptedDialogs sd;
    DialogServiceGuard g(&sd);
    TListeDessins l;
    l.Ajouter(Ligne(0, 0, 1, 1));
    l.Ajouter(Ligne(0, 0, 2, 2));
    l.Ajouter(Ligne(0, 0, 3, 3));

    sd.answers = {MsgResult::No};
    EXPECT_FALSE(l.AnnulerDernier());
    EXPECT_EQ(l.Count(), 3);
    ASSERT_EQ(sd.shown.size(), 1u);
    EXPECT_EQ(sd.shown[0].text, QStringLiteral("Voulez-vous effacer le dernier tracé"));
    EXPECT_EQ(sd.shown[0].buttons, MsgButtons::YesNo);

    sd.answers = {MsgResult::Yes};
    EXPECT_TRUE(l.AnnulerDernier());
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Nom(1), QStringLiteral("Ligne 2"));

    sd.answers = {MsgResult::No};
    EXPECT_FALSE(l.SupprimerApresConfirmation(0));
    EXPECT_EQ(sd.lastText(), QStringLiteral("Voulez-vous effacer le tracé : Ligne 1"));
    EXPECT_EQ(sd.shown.back().buttons, MsgButtons::YesNo);
    sd.answers = {MsgResult::Yes};
    EXPECT_TRUE(l.SupprimerApresConfirmation(0));
    ASSERT_EQ(l.Count(), 1);
    EXPECT_EQ(l.Nom(0), QStringLiteral("Ligne 2"));

    // Nothing to remove: no question at all.
    const std::size_t avant = sd.shown.size();
    EXPECT_FALSE(l.SupprimerApresConfirmation(5));
    l.Vider();
    EXPECT_FALSE(l.AnnulerDernier());
    EXPECT_EQ(sd.shown.size(), avant);
}

TEST(TListeDessins, LaterDrawingsCoverEarlierOnes)
{
    TListeDessins l;
    auto a = std::make_unique<TDessin>();
    a->Nature = ndRectangle;
    a->X1 = 2; a->Y1 = 2; a->X2 = 17; a->Y2 = 17;
    a->Remplissage = rmPlein;
    a->Couleur = 0xFFFF0000;
    auto b = std::make_unique<TDessin>();
    b->Nature = ndLigne;
    b->X1 = 0; b->Y1 = 10; b->X2 = 19; b->Y2 = 10;
    b->Couleur = 0xFF0000FF;
    l.Ajouter(std::move(a));
    l.Ajouter(std::move(b));
    TBitmap32 t(20, 20);
    EXPECT_EQ(l.Dessiner(t, 0, 0, 1), 0);
    EXPECT_EQ(t.pixel(10, 10), 0xFF0000FFu);
    EXPECT_EQ(t.pixel(10, 12), 0xFFFF0000u);
}
