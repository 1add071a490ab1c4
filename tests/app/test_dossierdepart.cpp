// The start folder: the current one when it is a data folder, otherwise the user's
// own, filled from the installed data folder without ever losing the user's files.
#include "app/dossierdepart.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void ecrire(const QString& chemin, const QByteArray& texte)
{
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << chemin.toStdString();
    f.write(texte);
}

QByteArray lire(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

// A data folder as the data package installs it.
struct Installe {
    QTemporaryDir racine;
    QString dossier = racine.filePath("share/orbiplate/donnees");
    Installe()
    {
        ecrire(dossier + "/config.obc", "planisphere3600.jpg\n");
        ecrire(dossier + "/planisphere3600.jpg", "jpeg");
        ecrire(dossier + "/point/HUSB.jpg", "courbe");
        ecrire(dossier + "/.orbiplate-data.etat", "etat de construction");
    }
    // A new version of the package: other contents, another date.
    void nouvelleVersion(const QString& nom, const QByteArray& texte)
    {
        ecrire(dossier + "/" + nom, texte);
        QFile f(dossier + "/" + nom);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
    }
};

} // namespace

TEST(DossierDepart, CurrentDataFolderIsUsedAsItIs)
{
    Installe inst;
    QTemporaryDir courant, maison;
    ecrire(courant.filePath("config.obc"), "mes_donnees\n");
    const QString perso = maison.filePath("Orbiplate/donnees");
    const ChoixDossierDepart c = choisirDossierDepart(courant.path(), perso, {inst.dossier});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Courant);
    EXPECT_EQ(c.dossier, QDir(courant.path()).absolutePath());
    EXPECT_TRUE(c.avertissement.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(perso)) << "nothing is made for the user";
    EXPECT_TRUE(c.description().contains(QDir::toNativeSeparators(c.dossier)));

    // A folder with only the base picture is a data folder too (the defaults apply).
    QTemporaryDir image;
    ecrire(image.filePath("planisphere3600.jpg"), "jpeg");
    EXPECT_TRUE(estDossierDonnees(image.path()));
    EXPECT_FALSE(estDossierDonnees(maison.path()));
}

TEST(DossierDepart, UserFolderIsFilledOnceAndFollowsTheInstalledData)
{
    Installe inst;
    QTemporaryDir maison;
    const QString perso = maison.filePath("Orbiplate/donnees");

    // First start from the home folder, as a menu entry starts it.
    ChoixDossierDepart c = choisirDossierDepart(maison.path(), perso, {inst.dossier});
    ASSERT_EQ(c.origine, ChoixDossierDepart::Origine::Personnel) << c.avertissement.toStdString();
    EXPECT_EQ(c.dossier, QDir(perso).absolutePath());
    EXPECT_TRUE(c.avertissement.isEmpty());
    EXPECT_EQ(c.copies, (QStringList{"config.obc", "planisphere3600.jpg", "point/HUSB.jpg"}));
    EXPECT_EQ(lire(perso + "/point/HUSB.jpg"), "courbe");
    EXPECT_FALSE(QFileInfo::exists(perso + "/.orbiplate-data.etat")) << "hidden files stay behind";
    EXPECT_TRUE(c.description().contains(QDir::toNativeSeparators(c.dossier)));
    EXPECT_TRUE(c.description().contains(QDir::toNativeSeparators(inst.dossier)));

    // Files the program writes, and files the user changes, belong to the user.
    ecrire(perso + "/ModSVfH.fmo", "table");
    ecrire(perso + "/point/HUSB.etl", "etalonnage");
    ecrire(perso + "/config.obc", "planisphere3600.jpg\nmon_gps.txt\n");

    // Second start: nothing to copy.
    c = choisirDossierDepart(maison.path(), perso, {inst.dossier});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Personnel);
    EXPECT_TRUE(c.copies.isEmpty()) << c.copies.join(' ').toStdString();

    // A new data package: untouched copies follow it, the user's changes stay.
    inst.nouvelleVersion("point/HUSB.jpg", "courbe 2");
    inst.nouvelleVersion("config.obc", "nouvelle configuration\n");
    inst.nouvelleVersion("point/UTUR.jpg", "nouvelle station");
    c = choisirDossierDepart(maison.path(), perso, {inst.dossier});
    EXPECT_EQ(c.copies, (QStringList{"point/HUSB.jpg", "point/UTUR.jpg"}));
    EXPECT_EQ(lire(perso + "/point/HUSB.jpg"), "courbe 2");
    EXPECT_EQ(lire(perso + "/config.obc"), "planisphere3600.jpg\nmon_gps.txt\n");
    EXPECT_EQ(lire(perso + "/point/HUSB.etl"), "etalonnage");
    EXPECT_EQ(lire(perso + "/ModSVfH.fmo"), "table");

    // A damaged record of the copies makes every file the user's: none is overwritten.
    ecrire(perso + "/" + FichierCopieInstallee, "\x01\x02 illisible");
    inst.nouvelleVersion("planisphere3600.jpg", "jpeg 2");
    c = choisirDossierDepart(maison.path(), perso, {inst.dossier});
    EXPECT_TRUE(c.copies.isEmpty());
    EXPECT_EQ(lire(perso + "/planisphere3600.jpg"), "jpeg");
}

TEST(DossierDepart, FailuresToMakeTheUserFolder)
{
    Installe inst;
    QTemporaryDir maison;

    // The user's folder cannot be made (a file stands in the way): the installed
    // folder is used read only, and the user is told why.
    ecrire(maison.filePath("Orbiplate"), "un fichier");
    ChoixDossierDepart c = choisirDossierDepart(maison.path(), maison.filePath("Orbiplate/donnees"), {inst.dossier});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Installe);
    EXPECT_EQ(c.dossier, QDir(inst.dossier).absolutePath());
    EXPECT_TRUE(c.avertissement.contains("Orbiplate")) << c.avertissement.toStdString();
    EXPECT_TRUE(c.description().contains("lecture seule"));

    // A user folder already in use that cannot be brought up to date stays in use,
    // with a warning naming the file at fault; what could be copied is kept.
    const QString perso = maison.filePath("autre/donnees");
    ecrire(perso + "/config.obc", "planisphere3600.jpg\n");
    ecrire(perso + "/point", "un fichier à la place du dossier");
    c = choisirDossierDepart(maison.path(), perso, {inst.dossier});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Personnel);
    EXPECT_TRUE(c.avertissement.contains("point")) << c.avertissement.toStdString();
    EXPECT_EQ(lire(perso + "/planisphere3600.jpg"), "jpeg");
    EXPECT_EQ(lire(perso + "/config.obc"), "planisphere3600.jpg\n");

    // No installed data: the user's folder if it holds data, otherwise the current one.
    c = choisirDossierDepart(maison.path(), perso, {});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Personnel);
    c = choisirDossierDepart(maison.path(), maison.filePath("rien"), {});
    EXPECT_EQ(c.origine, ChoixDossierDepart::Origine::Courant);
    EXPECT_FALSE(QFileInfo::exists(maison.filePath("rien")));
}

TEST(DossierDepart, InstalledFoldersBesideTheProgram)
{
    Installe inst;
    QDir().mkpath(inst.racine.filePath("bin"));
    const QStringList d = dossiersDonneesInstalles(inst.racine.filePath("bin"));
    ASSERT_FALSE(d.isEmpty());
    EXPECT_EQ(d.front(), QDir(inst.dossier).absolutePath());
    EXPECT_EQ(d.count(d.front()), 1);

    // An installed folder without data is no data folder.
    QTemporaryDir vide;
    QDir().mkpath(vide.filePath("share/orbiplate/donnees"));
    QDir().mkpath(vide.filePath("bin"));
    EXPECT_FALSE(dossiersDonneesInstalles(vide.filePath("bin")).contains(QDir(vide.filePath("share/orbiplate/donnees")).absolutePath()));

    ecrire(inst.racine.filePath("share/orbiplate/aide/index.html"), "<html></html>");
    EXPECT_EQ(pageAideInstallee(inst.racine.filePath("bin")),
              QDir(inst.racine.filePath("share/orbiplate/aide/index.html")).absolutePath());
}
