// The print manager's window: its controls, the layout and the preview following
// them, the PDF entry asking for a file name, OK printing and Cancel printing
// nothing.
#include "print/windows/gestimp.h"

#include "carte_test_util.h"
#include "pdf_test_util.h"
#include "ui/dialogs.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Gestimp : public ::testing::Test {
protected:
    void SetUp() override
    {
        g = std::make_unique<Tgestimp>();
        g->definirImprimantes({}, QString());
        g->DossierPDF = dir.path();
        photo = TBitmap32(400, 200, 0xFF2050A0);
    }
    QString pdf(const char* nom) const { return dir.filePath(QString::fromLatin1(nom)); }
    // The dialog as a user answers it: `faire` on the controls, then a click on `bouton`.
    void repondre(std::function<void(Tgestimp&)> faire, const char* bouton = "BoutonOK")
    {
        g->executerDialogue = [faire, bouton](QDialog& d) {
            auto& w = static_cast<Tgestimp&>(d);
            d.setResult(0);
            if (faire)
                faire(w);
            enfant<QPushButton>(w, bouton)->click();
            return d.result();
        };
    }

    QTemporaryDir dir;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    std::unique_ptr<Tgestimp> g;
    TBitmap32 photo;
};

} // namespace

TEST_F(Gestimp, OpensOnTheFirstLayout)
{
    Tgestimp& w = *g;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Choix de l'impression"));
    EXPECT_TRUE(w.portrait->isChecked());
    EXPECT_EQ(w.formatpage->currentText(), QStringLiteral("A4"));
    EXPECT_TRUE(w.BoutonCouleur->isChecked());
    EXPECT_EQ(w.Nombrecopies->maximum(), 100);
    EXPECT_EQ(w.Avertis->text(), QStringLiteral("Image trop petite.\nAjustez les valeurs"));
    // A square picture by default: 190 x 190 centred vertically, nothing to check.
    EXPECT_EQ(w.taillim->text(), QStringLiteral("190 x 190"));
    EXPECT_TRUE(w.Avertis->isHidden());
    EXPECT_TRUE(w.verifier->isHidden());
    EXPECT_EQ(w.Page->size(), QSize(130, 182));
    EXPECT_EQ(w.cadre->texte(), QStringLiteral("document(s)"));
    EXPECT_FALSE(w.cadre->avecImage());
}

TEST_F(Gestimp, PrinterListEndsWithThePdfEntry)
{
    QComboBox* liste = g->imprimante;
    // No printer: the PDF entry is the only one, and chosen.
    ASSERT_EQ(liste->count(), 1);
    EXPECT_EQ(liste->currentText(), QStringLiteral("Imprimer dans un fichier PDF…"));
    EXPECT_TRUE(g->versPDF());
    g->definirImprimantes({QStringLiteral("Salle 12"), QStringLiteral("CDI")}, QStringLiteral("CDI"));
    ASSERT_EQ(liste->count(), 3);
    EXPECT_EQ(liste->currentText(), QStringLiteral("CDI"));
    EXPECT_FALSE(g->versPDF());
    EXPECT_EQ(liste->itemText(2), QStringLiteral("Imprimer dans un fichier PDF…"));
    g->definirImprimantes({QStringLiteral("Salle 12")}, QStringLiteral("absente"));
    EXPECT_TRUE(g->versPDF());
}

TEST_F(Gestimp, LayoutFollowsTheControls)
{
    Tgestimp& w = *g;
    w.definirImage(TBitmap32(200, 100, clBlack32));
    EXPECT_DOUBLE_EQ(w.rapport(), 0.5);
    w.verifier->click(); // hidden, but a click still lays out
    EXPECT_EQ(w.taillim->text(), QStringLiteral("190 x 95"));
    EXPECT_EQ(w.margehaut->value(), 101);
    EXPECT_EQ(w.margebas->value(), 101);
    EXPECT_EQ(w.cadre->geometry(), QRect(8, 63, 114, 57));
    EXPECT_EQ(w.cadre->geometry(), w.miseEnPage().cadre());

    // A margin edit offers "Vérifier" and waits for it.
    w.margegauche->setValue(40);
    EXPECT_FALSE(w.verifier->isHidden());
    EXPECT_EQ(w.miseEnPage().margegauche, 40);
    EXPECT_EQ(w.taillim->text(), QStringLiteral("190 x 95"));
    w.verifier->click();
    EXPECT_EQ(w.taillim->text(), QStringLiteral("160 x 80"));
    EXPECT_TRUE(w.verifier->isHidden());

    // Text that is not a number stops the reading: bottom and spacing stay.
    w.margehaut->findChild<QLineEdit*>()->setText(QString());
    w.espaces->findChild<QLineEdit*>()->setText(QStringLiteral("9"));
    EXPECT_EQ(w.miseEnPage().espaces, 5);

    w.RAZ->click();
    EXPECT_EQ(w.margegauche->value(), 10);
    EXPECT_EQ(w.margedroite->value(), 10);
    EXPECT_EQ(w.taillim->text(), QStringLiteral("190 x 95"));

    // Two rows of a tall picture: the height limits, left and right grow.
    w.definirImage(TBitmap32(100, 200, clBlack32));
    w.espaces->setValue(5);
    w.nblig->setValue(2);
    EXPECT_EQ(w.taillim->text(), QStringLiteral("68 x 136"));
    EXPECT_EQ(w.margegauche->value(), 71);
    EXPECT_EQ(w.margedroite->value(), 71);
    EXPECT_EQ(w.cadre->nombreCellules(), 2);
    EXPECT_TRUE(w.cadre->avecImage());

    // Centring: the margins take their mean and the preview moves with them.
    w.margegauche->setValue(101);
    w.margedroite->setValue(41);
    w.CentreHrz->click();
    EXPECT_EQ(w.margegauche->value(), 71);
    EXPECT_EQ(w.margedroite->value(), 71);
    EXPECT_EQ(w.cadre->x(), qRound(71 * 0.6) + 2);
    w.margehaut->setValue(30);
    w.margebas->setValue(11);
    w.centrevert->click();
    EXPECT_EQ(w.margehaut->value(), 20);
    EXPECT_EQ(w.margebas->value(), 20);
    EXPECT_EQ(w.cadre->y(), qRound(20 * 0.6) + 2);
}

TEST_F(Gestimp, OrientationPaperAndWarning)
{
    Tgestimp& w = *g;
    w.definirImage(TBitmap32(200, 100, clBlack32));
    w.paysage->setChecked(true);
    EXPECT_EQ(w.Page->size(), QSize(182, 130));
    EXPECT_EQ(w.miseEnPage().PW, 297);
    EXPECT_EQ(w.taillim->text(), QStringLiteral("277 x 138"));
    w.formatpage->setCurrentIndex(1);
    EXPECT_EQ(w.miseEnPage().format(), FormatPapier::A3);
    EXPECT_EQ(w.Page->size(), QSize(256, 182));
    EXPECT_FALSE(w.verifier->isHidden());
    w.portrait->setChecked(true);
    EXPECT_EQ(w.Page->size(), QSize(182, 256));
    w.formatpage->setCurrentIndex(0);
    EXPECT_EQ(w.Page->size(), QSize(130, 182));

    // Ten columns 200 mm apart: the warning, the last size kept.
    w.RAZ->click();
    const QString avant = w.taillim->text();
    w.espaces->setValue(200);
    w.nbcol->setValue(10);
    EXPECT_FALSE(w.Avertis->isHidden());
    EXPECT_EQ(w.taillim->text(), avant);
    EXPECT_EQ(w.cadre->nombreCellules(), 0);
    w.espaces->setValue(2);
    w.verifier->click();
    EXPECT_TRUE(w.Avertis->isHidden());
    EXPECT_EQ(w.taillim->text(), QStringLiteral("17 x 8"));
    EXPECT_EQ(w.cadre->nombreCellules(), 10);
}

TEST_F(Gestimp, PdfEntryAsksForAFileAndOkPrints)
{
    script.files.push_back(pdf("classe"));
    repondre([](Tgestimp& w) {
        w.nblig->setValue(2);
        w.nbcol->setValue(2);
        w.Nombrecopies->setValue(2);
    });
    EXPECT_TRUE(g->imprimer(photo));
    ASSERT_EQ(script.fileRequests.size(), 1u);
    EXPECT_EQ(script.fileRequests[0].filter, QStringLiteral("Document PDF|*.pdf"));
    EXPECT_EQ(script.fileRequests[0].folder, dir.path());
    // The extension is added to a bare name.
    const QString fichier = pdf("classe.pdf");
    ASSERT_TRUE(QFileInfo::exists(fichier));
    EXPECT_EQ(pagesPdf(fichier), 2);
    EXPECT_EQ(imagesPdf(fichier).size(), 8u);
    EXPECT_TRUE(script.shown.empty());
    EXPECT_EQ(g->image(), photo);
}

TEST_F(Gestimp, CancelPrintsNothing)
{
    repondre([](Tgestimp& w) { w.nbcol->setValue(3); }, "BoutonAnnuler");
    EXPECT_FALSE(g->imprimer(photo));
    EXPECT_TRUE(script.fileRequests.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    // The settings stay for the next time.
    EXPECT_EQ(g->nbcol->value(), 3);

    // The file dialog cancelled: nothing either.
    repondre({});
    EXPECT_FALSE(g->imprimer(photo));
    EXPECT_EQ(script.fileRequests.size(), 1u);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(Gestimp, OkStaysWhileTheLayoutDoesNotFit)
{
    repondre([](Tgestimp& w) {
        w.espaces->setValue(200);
        w.nbcol->setValue(10);
    });
    EXPECT_FALSE(g->imprimer(photo));
    EXPECT_FALSE(g->Avertis->isHidden());
    EXPECT_TRUE(script.fileRequests.empty());

    // Margins typed without "Vérifier": OK lays out first, so the page holds the grid.
    script.files.push_back(pdf("marges.pdf"));
    repondre([](Tgestimp& w) {
        w.espaces->setValue(5);
        w.nbcol->setValue(1);
        w.margegauche->setValue(60);
    });
    EXPECT_TRUE(g->imprimer(photo));
    EXPECT_EQ(g->taillim->text(), QStringLiteral("140 x 70"));
    EXPECT_TRUE(g->verifier->isHidden());
}

TEST_F(Gestimp, GreyLevelsPrintACopyAndThePictureStaysInColour)
{
    for (const char* nom : {"g1.pdf", "g2.pdf"}) {
        script.files.push_back(pdf(nom));
        repondre([](Tgestimp& w) { w.BoutonGris->setChecked(true); });
        ASSERT_TRUE(g->imprimer(photo));
        EXPECT_EQ(g->image(), photo);
    }
    script.files.push_back(pdf("c.pdf"));
    repondre([](Tgestimp& w) { w.BoutonCouleur->setChecked(true); });
    ASSERT_TRUE(g->imprimer(g->image()));
    auto milieu = [&](const char* nom) {
        const QImage page = pagePdf(pdf(nom), 1, 30);
        return page.pixel(page.width() / 2, page.height() / 2);
    };
    const QRgb gris = milieu("g2.pdf");
    EXPECT_EQ(qRed(gris), qGreen(gris));
    EXPECT_EQ(qGreen(gris), qBlue(gris));
    const QRgb couleur = milieu("c.pdf");
    EXPECT_GT(qBlue(couleur), qRed(couleur) + 80);
}

TEST_F(Gestimp, FailuresAreToldInFrench)
{
    // A printer that went away since the list was made.
    g->definirImprimantes({QStringLiteral("Salle 12")}, QStringLiteral("Salle 12"));
    repondre({});
    EXPECT_FALSE(g->imprimer(photo));
    EXPECT_EQ(script.lastText(), QStringLiteral("L'imprimante « Salle 12 » n'est pas disponible."));

    // A PDF into a folder that does not exist.
    g->imprimante->setCurrentIndex(g->imprimante->count() - 1);
    script.files.push_back(pdf("absent/x.pdf"));
    EXPECT_FALSE(g->imprimer(photo));
    EXPECT_TRUE(script.lastText().startsWith(QStringLiteral("Impossible de créer le fichier")));
    EXPECT_EQ(script.shown.back().kind, MsgKind::Error);

    // Nothing to print.
    EXPECT_FALSE(g->imprimer(TBitmap32()));
    EXPECT_EQ(script.lastText(), QStringLiteral("Il n'y a pas d'image à imprimer."));
}
