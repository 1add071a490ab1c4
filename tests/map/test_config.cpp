// The configuration file: defaults, prefixes, short files.
#include "map/config.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
void ecrire(const QString& chemin, const QByteArray& texte)
{
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write(texte);
}
} // namespace

TEST(Configuration, DefaultsFromTheStartFolder)
{
    QTemporaryDir dir;
    const TConfiguration c = lireConfiguration(dir.path());
    const QString d = dir.path() + QLatin1Char('/');
    EXPECT_FALSE(c.Lu);
    EXPECT_EQ(c.DossierDepart, d);
    EXPECT_EQ(c.FondCouleur3600, d + QStringLiteral("planisphere3600.jpg"));
    EXPECT_EQ(c.FondNB3600, d + QStringLiteral("planisphere_nb2.jpg"));
    EXPECT_EQ(c.FondCouleur7200, d + QStringLiteral("planisphere7200.jpg"));
    EXPECT_EQ(c.FondNB7200, d + QStringLiteral("planispherenb.jpg"));
    EXPECT_EQ(c.FichierGPS, d + QStringLiteral("table2.txt"));
    EXPECT_EQ(c.FichierSeismes, d + QStringLiteral("s.fse"));
    EXPECT_EQ(c.FichierVolcans, d + QStringLiteral("volcans.fvo"));
    EXPECT_TRUE(c.FichierGrille.isEmpty());
    EXPECT_TRUE(cheminGrille(c).isEmpty());
    EXPECT_EQ(c.FichierPopulation, d + QStringLiteral("Pop9515.tdp"));
}

TEST(Configuration, NineLinesWithGridUnprefixedAndShortFiles)
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    ecrire(d + QStringLiteral("config.obc"),
           "a.jpg\r\nb.jpg\r\nc.jpg\r\nd.jpg\r\ng.gps\r\ns2.fse\r\nv2.fvo\r\nrelie10.bil\r\npop.bil\r\n");
    TConfiguration c = lireConfiguration(dir.path() + QLatin1Char('/'));
    EXPECT_TRUE(c.Lu);
    EXPECT_EQ(c.DossierDepart, d);
    EXPECT_EQ(c.FondCouleur3600, d + QStringLiteral("a.jpg"));
    EXPECT_EQ(c.FondNB7200, d + QStringLiteral("d.jpg"));
    EXPECT_EQ(c.FichierGPS, d + QStringLiteral("g.gps"));
    EXPECT_EQ(c.FichierSeismes, d + QStringLiteral("s2.fse"));
    EXPECT_EQ(c.FichierGrille, QStringLiteral("relie10.bil"));
    EXPECT_EQ(cheminGrille(c), d + QStringLiteral("relie10.bil"));
    EXPECT_EQ(c.FichierPopulation, d + QStringLiteral("pop.bil"));

    ecrire(d + QStringLiteral("config.obc"), "a.jpg\nb.jpg\n");
    c = lireConfiguration(dir.path());
    EXPECT_EQ(c.FondNB3600, d + QStringLiteral("b.jpg"));
    EXPECT_EQ(c.FondCouleur7200, d + QStringLiteral("planisphere7200.jpg"));
    EXPECT_EQ(c.FichierSeismes, d + QStringLiteral("s.fse"));
    EXPECT_TRUE(c.FichierGrille.isEmpty());
}
