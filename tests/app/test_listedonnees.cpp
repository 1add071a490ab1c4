// Data lists: parsing, replacement of the previous list's items, and the rule
// that opening a listed file never runs a program.
#include "app/listedonnees.h"
#include "app/windows/listedonneesmenu.h"
#include "ui/dialogs.h"
#include "ui/windows/qtdialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ecrire(const QTemporaryDir& dir, const QString& nom, const QByteArray& contenu, bool executable = false)
{
    const QString chemin = dir.filePath(nom);
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write(contenu);
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        p |= QFile::ExeOwner;
    QFile::setPermissions(chemin, p);
    return chemin;
}

// Records what would be handed to the system instead of opening it.
struct OuvreurEspion {
    QList<QUrl> ouverts;
    bool reussite = true;
    OuvreurEspion()
    {
        definirOuvreurSysteme([this](const QUrl& u) {
            ouverts.append(u);
            return reussite;
        });
    }
    ~OuvreurEspion() { definirOuvreurSysteme({}); }
};

} // namespace

TEST(ListeDonnees, ParsingLines)
{
    const auto e = analyserListeDonnees("seismes\\s.fse,Séismes 2010,oui\r\n"
                                        "\r\n"
                                        "table2.txt,Table GPS, non\n"
                                        "repere.obf,Repères,OUI\n"
                                        "autre.txt,Sans drapeau\n"
                                        "ligne sans virgule\n"
                                        "apres.txt,Jamais lu,OUI\n",
                                        "/donnees");
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].chemin, "/donnees/seismes/s.fse");
    EXPECT_EQ(e[0].libelle, QString::fromUtf8("Séismes 2010"));
    EXPECT_TRUE(e[0].ouvrir);
    EXPECT_EQ(e[1].libelle, "Table GPS");
    EXPECT_FALSE(e[1].ouvrir);
    EXPECT_TRUE(e[2].ouvrir);
    EXPECT_EQ(e[3].libelle, "Sans drapeau");
    EXPECT_FALSE(e[3].ouvrir);
    // Windows-1252 captions are read too.
    const auto w = analyserListeDonnees("a.gps,S\xE9ismes,N\r\n", "/d");
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].libelle, QString::fromUtf8("Séismes"));
    EXPECT_TRUE(lireListeDonnees("/nonexistent/liste.cft").empty());
}

TEST(ListeDonnees, KindsByExtension)
{
    EXPECT_EQ(genreFichierListe("a/b.obf"), GenreFichierListe::Reperes);
    EXPECT_EQ(genreFichierListe("x.GPS"), GenreFichierListe::GPS);
    EXPECT_EQ(genreFichierListe("s.Fse"), GenreFichierListe::Seismes);
    // A GPS text table is a document for the system, not loaded.
    EXPECT_EQ(genreFichierListe("table2.txt"), GenreFichierListe::Autre);
}

TEST(ListeDonnees, MenuItemsReplacedByTheNextList)
{
    QTemporaryDir dir;
    const QString l1 = ecrire(dir, "un.cft", "s.fse,Séismes,oui\nt.txt,Texte,non\n");
    const QString l2 = ecrire(dir, "deux.cft", "r.obf,Repères,non\n");
    QMenu aide;
    aide.addAction("&Fichier d'aide");
    aide.addAction("&A propos de...");
    aide.addAction(QString::fromUtf8("Vider la mémoire"));
    QAction* sep = aide.addSeparator();
    sep->setVisible(false);
    std::vector<EntreeListe> ouverts;
    MenuListeDonnees menu(&aide, sep, [&ouverts](const EntreeListe& e) { ouverts.push_back(e); });

    menu.charger(l1);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_TRUE(sep->isVisible());
    EXPECT_EQ(aide.actions().size(), 6);
    EXPECT_EQ(menu.actions()[0]->text(), QString::fromUtf8("Séismes"));
    EXPECT_TRUE(menu.actions()[0]->isChecked());
    EXPECT_FALSE(menu.actions()[1]->isChecked());
    ASSERT_EQ(ouverts.size(), 1u); // the "oui" entry opened at once
    EXPECT_EQ(ouverts[0].chemin, QDir(dir.path()).filePath("s.fse"));

    menu.actions()[1]->trigger();
    EXPECT_TRUE(menu.actions()[1]->isChecked());
    ASSERT_EQ(ouverts.size(), 2u);
    EXPECT_EQ(ouverts[1].libelle, "Texte");

    menu.charger(l2);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(aide.actions().size(), 5);
    EXPECT_EQ(menu.liste().entrees().size(), 1u);
    EXPECT_EQ(menu.actions()[0]->text(), QString::fromUtf8("Repères"));
}

TEST(ListeDonnees, ProgramsAndLaunchersAreNeverOpened)
{
    QTemporaryDir dir;
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    OuvreurEspion espion;

    const QStringList refuses = {
        ecrire(dir, "lanceur.desktop", "[Desktop Entry]\nExec=rm -rf ~\n"),
        ecrire(dir, "cache.txt", "[Desktop Entry]\nType=Application\n"),
        ecrire(dir, "script.sh", "echo\n"),
        ecrire(dir, "script.txt", "#!/bin/sh\necho\n"),
        ecrire(dir, "prog.pdf", QByteArray("\x7f" "ELF\x02\x01", 6)),
        ecrire(dir, "setup.EXE", "MZ"),
        ecrire(dir, "doc.odt", "texte", true), // execute permission
        ecrire(dir, "outil.py", "print(1)\n"),
        ecrire(dir, "appli.AppImage", "x"),
    };
    for (const QString& c : refuses) {
        d.shown.clear();
        EXPECT_FALSE(verifierOuvertureSure(c).permis) << c.toStdString();
        EXPECT_FALSE(ouvrirDocument(c));
        ASSERT_EQ(d.shown.size(), 1u);
        EXPECT_EQ(d.shown[0].kind, MsgKind::Warning);
        EXPECT_TRUE(d.shown[0].text.contains(QString::fromUtf8("par sécurité"))) << d.shown[0].text.toStdString();
    }
    // A link with a harmless name that leads to a script is refused too.
    const QString lien = dir.filePath("lien.txt");
    ASSERT_TRUE(QFile::link(refuses[2], lien));
    EXPECT_FALSE(verifierOuvertureSure(lien).permis);
    EXPECT_TRUE(espion.ouverts.isEmpty());

    // Documents are handed over.
    const QString doc = ecrire(dir, "table2.txt", "POS  ABCD 1 2 3\n");
    d.shown.clear();
    EXPECT_TRUE(ouvrirDocument(doc));
    ASSERT_EQ(espion.ouverts.size(), 1);
    EXPECT_EQ(espion.ouverts[0], QUrl::fromLocalFile(doc));
    EXPECT_TRUE(d.shown.empty());

    // Missing file or folder: "Fichier non trouvé"; a system that fails says so.
    EXPECT_FALSE(ouvrirDocument(dir.filePath("absent.ods")));
    EXPECT_EQ(d.lastText(), QString::fromUtf8("Fichier non trouvé"));
    EXPECT_FALSE(ouvrirDocument(dir.path()));
    EXPECT_EQ(d.lastText(), QString::fromUtf8("Fichier non trouvé"));
    espion.reussite = false;
    d.shown.clear();
    EXPECT_FALSE(ouvrirDocument(doc));
    EXPECT_EQ(d.lastText(), QString::fromUtf8("Aucun programme de ce système ne sait ouvrir le fichier « table2.txt »."));
}

TEST(ListeDonnees, HelpPageAndSpreadsheet)
{
    QTemporaryDir dir;
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    OuvreurEspion espion;
    const QString avant = QDir::currentPath();
    QDir::setCurrent(dir.path());
    // No help page: the warning names the missing file.
    EXPECT_FALSE(ouvrirFichierAide());
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_EQ(d.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(d.shown[0].text.contains(QDir::toNativeSeparators(dir.filePath("aide/index.html"))))
        << d.shown[0].text.toStdString();
    EXPECT_TRUE(espion.ouverts.isEmpty());
    d.shown.clear();
    QDir().mkdir("aide");
    ecrire(dir, "aide/index.html", "<html></html>");
    EXPECT_TRUE(ouvrirFichierAide());
    ASSERT_EQ(espion.ouverts.size(), 1);
    EXPECT_TRUE(espion.ouverts[0].toLocalFile().endsWith("aide/index.html"));

    const QString ods = ecrire(dir, "donnees.ods", "PK");
    d.files.push_back(ods);
    EXPECT_TRUE(chargerDonneesDansTableur());
    ASSERT_EQ(d.fileRequests.size(), 1u);
    EXPECT_EQ(d.fileRequests[0].filter,
              "tableur OpenOffice|*.ods;*.sxc|tableur Excel|*.xls;*.xlsx|texte CSV|*.csv|tous|*.*");
    // The next dialog starts in the folder used last.
    EXPECT_FALSE(chargerDonneesDansTableur()); // cancelled
    EXPECT_EQ(d.fileRequests[1].folder, QFileInfo(ods).absolutePath());
    QDir::setCurrent(avant);
}

// Every kind of spreadsheet the open dialog lists must show its files: a mask
// written without its star matches no file name at all.
TEST(ListeDonnees, SpreadsheetFilterMatchesTheFilesItNames)
{
    ScriptedDialogs d;
    DialogServiceGuard g(&d);
    EXPECT_FALSE(chargerDonneesDansTableur()); // cancelled: only the request matters
    ASSERT_EQ(d.fileRequests.size(), 1u);
    const QString filtre = d.fileRequests[0].filter;
    auto retenu = [&](int index, const QString& nom) {
        return QDir::match(QtDialogService::filterMasks(filtre, index), nom);
    };
    EXPECT_TRUE(retenu(1, "notes.ods"));
    EXPECT_TRUE(retenu(2, "vitesses.xls"));
    EXPECT_TRUE(retenu(2, "vitesses.xlsx"));
    EXPECT_FALSE(retenu(2, "vitesses.ods"));
    EXPECT_TRUE(retenu(3, "japon.csv"));
    EXPECT_TRUE(retenu(4, "tout.txt"));
}
