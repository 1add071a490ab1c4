// Qt's own texts in French (buttons, colour and file dialogs); without the
// catalogue, English and no complaint.
#include "ui/windows/traduction.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

QString texteAnnuler()
{
    QDialogButtonBox boite(QDialogButtonBox::Cancel);
    return boite.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
}

// Leaves the application as the other tests expect it.
struct Traduction : ::testing::Test {
    QTranslator* installe = nullptr;
    void TearDown() override
    {
        delete installe; // a deleted translator removes itself
        QLocale::setDefault(QLocale::c());
    }
};

} // namespace

TEST_F(Traduction, MissingCatalogueKeepsEnglishQuietly)
{
    QTemporaryDir vide;
    installe = installerTraductionQt(*QCoreApplication::instance(), vide.path());
    EXPECT_EQ(installe, nullptr);
    EXPECT_EQ(texteAnnuler(), QStringLiteral("Cancel"));
}

TEST_F(Traduction, StandardDialogsSpeakFrench)
{
    installe = installerTraductionQt(*QCoreApplication::instance());
    ASSERT_NE(installe, nullptr) << "qtbase_fr.qm comes with the qt6-translations-l10n package";
    EXPECT_EQ(texteAnnuler(), QStringLiteral("Annuler"));
    QColorDialog couleur;
    couleur.setOption(QColorDialog::DontUseNativeDialog, true);
    QStringList textes;
    for (const QLabel* l : couleur.findChildren<QLabel*>())
        textes << l->text().remove(QLatin1Char('&'));
    EXPECT_TRUE(textes.contains(QStringLiteral("Couleurs de base"))) << textes.join('|').toStdString();
    // The file dialog's type column, which the catalogue leaves in English.
    QTemporaryDir dossier;
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(dossier.path())), QStringLiteral("Dossier"));
}
