// Renders a sample page with every kind of drawing, line style, thickness, fill
// pattern and text tag, and writes it as a PNG for a visual check
// (orbiplate-echantillon-dessins.png in the temporary folder).
#include "drawing/bitmapsig.h"
#include "drawing/dessins.h"

#include <gtest/gtest.h>

#include <QDir>

#include <memory>

namespace {

std::unique_ptr<TDessin> Nouveau(std::uint8_t nature, TColor32 couleur, int epaisseur = 0, int style = stPlein)
{
    auto d = std::make_unique<TDessin>();
    d->Nature = nature;
    d->Couleur = couleur;
    d->Epaisseur = static_cast<std::uint8_t>(epaisseur);
    d->StyleTrait = static_cast<std::uint8_t>(style);
    d->Opacite = 255;
    return d;
}

void Ajouter(TBitmapSIG& page, std::unique_ptr<TDessin> d, int& compteur)
{
    const auto nature = d->Nature;
    page.AjouterDessin(std::move(d), NomDessin(nature, ++compteur));
}

} // namespace

TEST(PageEchantillon, EveryKindStyleFillAndTag)
{
    TBitmapSIG page;
    page.Nature = nbLegende;
    page.echelle = 1.0;
    page.marge_gauche = 0;
    page.ligne_zero_profondeur = 0;
    int n = 0;
    const TColor32 couleurs[] = {0xFF000000, 0xFFC00000, 0xFF0060C0, 0xFF008000, 0xFF8000A0, 0xFFE07000};

    // Lines: thickness 0 to 5, solid then dashed, arrow codes 0, 1, 2, four directions.
    for (int t = 0; t <= 5; ++t)
        for (int st : {stPlein, stTirets}) {
            auto d = Nouveau(ndLigne, couleurs[t], t, st);
            const float x = 20 + t * 70 + st * 35;
            d->X1 = x;
            d->Y1 = 20;
            d->X2 = x + (t % 2 ? 0 : 25);
            d->Y2 = 110;
            d->Fleche = static_cast<std::uint8_t>((t + st) % 3);
            Ajouter(page, std::move(d), n);
        }
    const int dirs[4][4] = {{470, 40, 560, 40}, {560, 70, 470, 70}, {600, 20, 600, 110}, {640, 110, 640, 20}};
    for (int i = 0; i < 4; ++i) {
        auto d = Nouveau(ndLigne, couleurs[i + 1], i, stPlein);
        d->X1 = dirs[i][0];
        d->Y1 = dirs[i][1];
        d->X2 = dirs[i][2];
        d->Y2 = dirs[i][3];
        d->Fleche = flDouble;
        Ajouter(page, std::move(d), n);
    }
    auto diag = Nouveau(ndLigne, 0xFF404040, 2, stTirets);
    diag->X1 = 680;
    diag->Y1 = 110;
    diag->X2 = 860;
    diag->Y2 = 20;
    diag->Fleche = flFin;
    Ajouter(page, std::move(diag), n);

    // Rectangles and circles with each fill code, solid and dashed outlines.
    for (int code = 0; code <= 7; ++code) {
        auto r = Nouveau(ndRectangle, couleurs[code % 6], code % 3, code % 2 ? stTirets : stPlein);
        r->X1 = 20 + code * 105;
        r->Y1 = 140;
        r->X2 = r->X1 + 85;
        r->Y2 = 220;
        r->Remplissage = static_cast<std::uint8_t>(code);
        Ajouter(page, std::move(r), n);

        auto c = Nouveau(ndCercle, couleurs[(code + 2) % 6], (code + 1) % 4, code % 2 ? stPlein : stTirets);
        c->XC = 62 + code * 105;
        c->YC = 290;
        c->Rayon = 40;
        c->Remplissage = static_cast<std::uint8_t>(code);
        Ajouter(page, std::move(c), n);
    }
    // Small shapes that are too thin inside to be filled.
    auto petit = Nouveau(ndRectangle, 0xFF000000, 3);
    petit->X1 = 860;
    petit->Y1 = 150;
    petit->X2 = 866;
    petit->Y2 = 200;
    petit->Remplissage = rmPlein;
    Ajouter(page, std::move(petit), n);

    // Freehand strokes: thickness 0, 1, 3, 6 (round tips from 1 on).
    for (int i = 0; i < 4; ++i) {
        const int t = i == 0 ? 0 : (i == 1 ? 1 : (i == 2 ? 3 : 6));
        auto d = Nouveau(ndLibre, couleurs[i + 1], t);
        const float x0 = 20 + i * 150;
        for (int k = 0; k <= 20; ++k)
            d->Trace.Add(x0 + k * 6, 380 + 25 * std::sin(k * 0.5));
        d->X1 = x0;
        d->Y1 = 380;
        d->X2 = x0 + 120;
        d->Y2 = static_cast<float>(380 + 25 * std::sin(10.0));
        Ajouter(page, std::move(d), n);
    }

    // Text blocks: every tag, the three alignments, a literal "<B>" and "< ".
    const QStringList lignes{QStringLiteral("Plaque <b>Pacifique</b> <i>(subduction)</i>"),
                             QStringLiteral("<u>Vitesse</u> : 8 cm/an, 10<sup>3</sup> km<sup>2</sup>"),
                             QStringLiteral("CO<sub>2</sub> et H<sub>2</sub>O, <B> et a < b")};
    for (int a = 0; a < 3; ++a) {
        auto d = Nouveau(ndTexte, couleurs[a], 0);
        d->XC = 20 + a * 290;
        d->YC = 440;
        d->TaillePolice = 11;
        d->Alignement = static_cast<std::uint8_t>(a);
        d->Lignes = lignes;
        Ajouter(page, std::move(d), n);
    }
    auto grand = Nouveau(ndTexte, 0xFF003080, 0);
    grand->XC = 20;
    grand->YC = 530;
    grand->TaillePolice = 20;
    grand->StylePolice = spItalique;
    grand->Lignes = QStringList{QStringLiteral("Dorsale <b>médio-atlantique"), QStringLiteral("encore en gras</b>, puis normal")};
    Ajouter(page, std::move(grand), n);

    TBitmap32 calque(880, 640);
    DessinerDocument(page, calque);
    EXPECT_EQ(page.dessins.size(), static_cast<std::size_t>(n));

    // The layer is transparent where nothing was drawn; show it over white.
    TBitmap32 vue(880, 640, clWhite32);
    vue.draw(0, 0, calque, TBitmap32::DrawMode::Blend);
    const QString chemin = QDir::temp().filePath(QStringLiteral("orbiplate-echantillon-dessins.png"));
    ASSERT_TRUE(vue.toImage().save(chemin, "PNG"));
    std::printf("Page d'échantillon : %s\n", qPrintable(chemin));

    // Details (tips, dash gaps, superscripts) at three times the size.
    TBitmap32 detail(3 * 300, 3 * 260, clWhite32);
    detail.draw(detail.boundsRect(), QRect(0, 240, 300, 260), vue, TBitmap32::DrawMode::Opaque);
    ASSERT_TRUE(detail.toImage().save(QDir::temp().filePath(QStringLiteral("orbiplate-echantillon-detail.png")), "PNG"));
}
