// Printing into PDF files, read back with the poppler tools: pages, paper, the
// copies at their millimetre positions, the picture embedded once, grey levels on
// a copy only, and failures that say so and leave an earlier file whole.
#include "print/impression.h"

#include "pdf_test_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A dark picture with a light centre line, so that copies stand out on white.
TBitmap32 imageSombre(int w, int h, TColor32 couleur = 0xFF203060)
{
    TBitmap32 b(w, h, couleur);
    return b;
}

TMiseEnPage grille(int lignes, int colonnes, double r, OrientationPage o = OrientationPage::Portrait,
                   FormatPapier f = FormatPapier::A4)
{
    TMiseEnPage mp;
    mp.definirRapport(r);
    mp.changerFormat(f);
    mp.changerOrientation(o);
    mp.changerLignesColonnes(lignes, colonnes);
    EXPECT_TRUE(mp.imprimable());
    return mp;
}

// Every copy on the rendered page is where the layout puts it, within half a millimetre.
void verifierCellules(const QString& pdf, int page, const TMiseEnPage& mp)
{
    constexpr int ppp = 100;
    const QImage rendu = pagePdf(pdf, page, ppp);
    ASSERT_FALSE(rendu.isNull());
    const auto colonnes = bandesSombres(rendu, ppp, true);
    const auto lignes = bandesSombres(rendu, ppp, false);
    ASSERT_EQ(static_cast<int>(colonnes.size()), mp.nbcol);
    ASSERT_EQ(static_cast<int>(lignes.size()), mp.nblig);
    for (int c = 0; c < mp.nbcol; ++c) {
        const double x = mp.margegauche + c * (mp.IW + mp.espaces);
        EXPECT_NEAR(colonnes[static_cast<std::size_t>(c)].debut, x, 0.5) << "column " << c;
        EXPECT_NEAR(colonnes[static_cast<std::size_t>(c)].fin, x + mp.IW, 0.5) << "column " << c;
    }
    for (int r = 0; r < mp.nblig; ++r) {
        const double y = mp.margehaut + r * (mp.IH + mp.espaces);
        EXPECT_NEAR(lignes[static_cast<std::size_t>(r)].debut, y, 0.5) << "row " << r;
        EXPECT_NEAR(lignes[static_cast<std::size_t>(r)].fin, y + mp.IH, 0.5) << "row " << r;
    }
}

QByteArray contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Impression, PaperOnlyWhereThePictureIsTransparent)
{
    TBitmap32 b(3, 1);
    b.setPixel(0, 0, clTransparentWhite32);
    b.setPixel(1, 0, 0x80FF0000);
    b.setPixel(2, 0, 0xFF00FF00);
    const QImage c = imagePourImpression(b, false);
    EXPECT_EQ(c.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.pixel(1, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(c.pixel(2, 0), 0xFF00FF00u);
    const QImage g = imagePourImpression(b, true);
    EXPECT_EQ(g.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(g.pixel(0, 0)), 255);
    EXPECT_EQ(qGray(g.pixel(2, 0)), qGray(0xFF00FF00u));
    // The source is never touched.
    EXPECT_EQ(b.pixel(2, 0), 0xFF00FF00u);
}

TEST(Impression, CopiesArePagesOfOneJobWithThePictureEmbeddedOnce)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("carte.pdf"));
    const TMiseEnPage mp = grille(2, 2, 0.5);
    const TResultatImpression r = imprimerPDF(pdf, imageSombre(300, 150), false, mp, 3);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(pagesPdf(pdf), 3);
    EXPECT_TRUE(infoPdf(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 842 pts (A4)")));
    const auto images = imagesPdf(pdf);
    ASSERT_EQ(images.size(), 12u);
    for (const ImagePdf& im : images) {
        EXPECT_EQ(im.objet, images[0].objet);
        EXPECT_EQ(im.largeur, 300);
        EXPECT_EQ(im.hauteur, 150);
    }
    EXPECT_EQ(images.back().page, 3);
    verifierCellules(pdf, 1, mp);
    verifierCellules(pdf, 3, mp);
}

TEST(Impression, LandscapeAndA3PagesHoldTheirGrid)
{
    QTemporaryDir dir;
    const QString a4 = dir.filePath(QStringLiteral("paysage.pdf"));
    const TMiseEnPage mp = grille(3, 3, 840.0 / 1188.0, OrientationPage::Paysage);
    ASSERT_TRUE(imprimerPDF(a4, imageSombre(1188, 840), false, mp, 1).ok);
    EXPECT_EQ(pagesPdf(a4), 1);
    EXPECT_TRUE(infoPdf(a4, QStringLiteral("Page size")).startsWith(QStringLiteral("842 x 595 pts (A4)")));
    verifierCellules(a4, 1, mp);

    const QString a3 = dir.filePath(QStringLiteral("affiche.pdf"));
    const TMiseEnPage grand = grille(1, 2, 1.5, OrientationPage::Portrait, FormatPapier::A3);
    ASSERT_TRUE(imprimerPDF(a3, imageSombre(200, 300), false, grand, 2).ok);
    EXPECT_EQ(pagesPdf(a3), 2);
    EXPECT_TRUE(infoPdf(a3, QStringLiteral("Page size")).startsWith(QStringLiteral("842 x 1191 pts (A3)")));
    verifierCellules(a3, 2, grand);
}

TEST(Impression, GreyTwiceThenColourPrintsInColour)
{
    QTemporaryDir dir;
    const TMiseEnPage mp = grille(1, 1, 1.0);
    const TBitmap32 rouge = imageSombre(40, 40, 0xFFC00000);
    const TBitmap32 avant = rouge;
    auto milieu = [&](const QString& nom, bool gris) {
        const QString pdf = dir.filePath(nom);
        EXPECT_TRUE(imprimerPDF(pdf, rouge, gris, mp, 1).ok);
        const QImage page = pagePdf(pdf, 1, 30);
        return page.pixel(page.width() / 2, page.height() / 2);
    };
    const QRgb g1 = milieu(QStringLiteral("g1.pdf"), true);
    const QRgb g2 = milieu(QStringLiteral("g2.pdf"), true);
    const QRgb c = milieu(QStringLiteral("c.pdf"), false);
    EXPECT_EQ(qRed(g1), qGreen(g1));
    EXPECT_EQ(qRed(g1), qBlue(g1));
    EXPECT_EQ(g1, g2);
    EXPECT_GT(qRed(c), 150);
    EXPECT_LT(qGreen(c), 60);
    EXPECT_EQ(rouge, avant);
}

TEST(Impression, NothingWrittenForAnEmptyPictureOrALayoutThatDoesNotFit)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("rien.pdf"));
    TResultatImpression r = imprimerPDF(pdf, TBitmap32(), false, grille(1, 1, 1.0), 1);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, messageRienAImprimer());
    TMiseEnPage trop;
    trop.margeChange({QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("200")});
    trop.changerLignesColonnes(1, 10);
    r = imprimerPDF(pdf, imageSombre(10, 10), false, trop, 1);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, messageMiseEnPageImpossible());
    EXPECT_FALSE(QFileInfo::exists(pdf));
    // The same refusal on any device.
    QPdfWriter ecrivain(dir.filePath(QStringLiteral("autre.pdf")));
    EXPECT_FALSE(imprimerPages(ecrivain, imagePourImpression(imageSombre(10, 10), false), trop, 1, QStringLiteral("x")).ok);
}

TEST(Impression, UnwritableFolderSaysSo)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("absent/carte.pdf"));
    const TResultatImpression r = imprimerPDF(pdf, imageSombre(10, 10), false, grille(1, 1, 1.0), 1);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Impossible de créer le fichier « %1 »")
                                         .arg(QDir::toNativeSeparators(pdf))))
        << r.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    // A folder of that name is not replaced.
    const QString dossier = dir.filePath(QStringLiteral("dossier.pdf"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    EXPECT_FALSE(imprimerPDF(dossier, imageSombre(10, 10), false, grille(1, 1, 1.0), 1).ok);
    EXPECT_TRUE(QFileInfo(dossier).isDir());
}

TEST(Impression, FullDiskLeavesTheEarlierFileWhole)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("carte.pdf"));
    const TMiseEnPage mp = grille(1, 1, 1.0);
    ASSERT_TRUE(imprimerPDF(pdf, imageSombre(20, 20), false, mp, 1).ok);
    const QByteArray ancien = contenu(pdf);
    ASSERT_FALSE(ancien.isEmpty());

    // Files may not grow beyond 20 KB any more: a noisy picture needs far more.
    TBitmap32 bruit(600, 600);
    quint32 x = 12345;
    for (int y = 0; y < 600; ++y)
        for (int i = 0; i < 600; ++i) {
            x = x * 1103515245u + 12345u;
            bruit.setPixel(i, y, 0xFF000000u | (x >> 8));
        }
    rlimit avant{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &avant), 0);
    const auto signalAvant = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = avant;
    limite.rlim_cur = 20 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const TResultatImpression r = imprimerPDF(pdf, bruit, false, mp, 4);
    setrlimit(RLIMIT_FSIZE, &avant);
    std::signal(SIGXFSZ, signalAvant);

    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith(
        QStringLiteral("Impossible d'enregistrer le fichier « %1 »").arg(QDir::toNativeSeparators(pdf))))
        << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("Le fichier existant n'a pas été modifié.")));
    EXPECT_EQ(contenu(pdf), ancien);
    // No half-written file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("carte.pdf")});
}
