// Qt's own texts in French: buttons, message boxes and the colour and file
// dialogs; without the catalogue, English and no complaint.
#include "ui/windows/traduction.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
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
    QDialogButtonBox boite(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    return boite.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
}

QStringList textes(const QWidget& w)
{
    QStringList t;
    for (const QPushButton* b : w.findChildren<QPushButton*>())
        t << b->text().remove(QLatin1Char('&'));
    for (const QLabel* l : w.findChildren<QLabel*>())
        t << l->text().remove(QLatin1Char('&'));
    return t;
}

// Leaves the application as the other tests expect it.
struct Traduction : ::testing::Test {
    QTranslator* installe = nullptr;
    void TearDown() override
    {
        if (installe) {
            QCoreApplication::removeTranslator(installe);
            delete installe;
        }
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
    EXPECT_EQ(QLocale().language(), QLocale::French);
}

TEST_F(Traduction, StandardDialogsSpeakFrench)
{
    installe = installerTraductionQt(*QCoreApplication::instance());
    ASSERT_NE(installe, nullptr) << "qtbase_fr.qm is part of the qt6-translations-l10n package";
    EXPECT_EQ(texteAnnuler(), QStringLiteral("Annuler"));

    QColorDialog couleur;
    couleur.setOption(QColorDialog::DontUseNativeDialog, true);
    const QStringList c = textes(couleur);
    EXPECT_TRUE(c.contains(QStringLiteral("Annuler"))) << c.join('|').toStdString();
    EXPECT_FALSE(c.contains(QStringLiteral("Basic colors")));
    EXPECT_FALSE(c.contains(QStringLiteral("Pick Screen Color")));

    QFileDialog fichier;
    fichier.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList f = textes(fichier);
    EXPECT_TRUE(f.contains(QStringLiteral("Annuler"))) << f.join('|').toStdString();
    EXPECT_FALSE(f.contains(QStringLiteral("Cancel")));
    // The type column of the file dialog, which the catalogue leaves in English.
    QTemporaryDir dossier;
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(dossier.path())), QStringLiteral("Dossier"));
    EXPECT_EQ(QCoreApplication::translate("QFileSystemModel", "Date Modified"), QString::fromUtf8("Dernière modification"));
}
