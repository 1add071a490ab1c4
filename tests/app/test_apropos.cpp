// The About panel: credits from the data folder, or the built-in summary.
#include "app/windows/apropos.h"

#include <QFile>
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

TEST(Apropos, OkHidesThePanel)
{
    QWidget carte;
    carte.resize(800, 600);
    TApropos a(&carte);
    carte.show();
    EXPECT_FALSE(a.isVisible());
    a.actualiser();
    a.show();
    EXPECT_TRUE(a.isVisible());
    QTest::mouseClick(a.ok(), Qt::LeftButton);
    EXPECT_FALSE(a.isVisible());
}
