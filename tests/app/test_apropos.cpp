// The About panel: credits from the data folder, or the built-in summary.
#include "app/dossierdepart.h"
#include "app/windows/apropos.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(Apropos, CreditsFromTheDataFolderOrBuiltIn)
{
    QTemporaryDir dir;
    // No credits file: the summary names the sources and their licences.
    const QString defaut = TApropos::texteCredits(dir.path());
    for (const char* mot : {"Global Volcanism Program", "USGS", "ISC-GEM", "CC BY-SA 3.0", "CIESIN", "CC BY 4.0",
                            "Müller", "Nevada Geodetic Laboratory", "ITRF2014", "SRTM15+"})
        EXPECT_TRUE(defaut.contains(QString::fromUtf8(mot))) << mot;

    QFile f(dir.filePath("credits.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString::fromUtf8("Données : Smithsonian Institution — licence libre\n").toUtf8());
    f.close();
    EXPECT_EQ(TApropos::texteCredits(dir.path()), QString::fromUtf8("Données : Smithsonian Institution — licence libre\n"));
}

TEST(Apropos, NamesTheStartFolderAndOkHidesThePanel)
{
    QWidget carte;
    carte.resize(800, 600);
    TApropos a(&carte);
    carte.show();
    EXPECT_FALSE(a.isVisible());
    // The panel names the start folder in use and reads its credits.
    QTemporaryDir dir;
    QFile f(dir.filePath("credits.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Crédits du dossier personnel\n");
    f.close();
    ChoixDossierDepart choix;
    choix.origine = ChoixDossierDepart::Origine::Personnel;
    choix.dossier = dir.path();
    choix.installe = QStringLiteral("/usr/share/orbiplate/donnees");
    const ChoixDossierDepart avant = choixDossierDepartRetenu();
    retenirChoixDossierDepart(choix);
    a.actualiser();
    retenirChoixDossierDepart(avant);
    EXPECT_EQ(a.dossierDepart()->text(), choix.description());
    EXPECT_TRUE(a.dossierDepart()->text().contains(QDir::toNativeSeparators(dir.path())));
    EXPECT_EQ(a.credits()->toPlainText(), QString::fromUtf8("Crédits du dossier personnel\n"));
    a.show();
    EXPECT_TRUE(a.isVisible());
    QTest::mouseClick(a.ok(), Qt::LeftButton);
    EXPECT_FALSE(a.isVisible());
}
