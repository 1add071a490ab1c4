// The help page: the watch of the system's opener, the choice between the system
// and the program's own help window, and that window on the real help page.
#include "app/listedonnees.h"
#include "app/windows/fenetreaide.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <functional>

#include <gtest/gtest.h>

namespace {

bool attendre(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < ms)
        QTest::qWait(20);
    return condition();
}

// A stand-in for xdg-open: a shell script with the given body.
QString script(const QTemporaryDir& dir, const QString& nom, const QByteArray& corps)
{
    const QString chemin = dir.filePath(nom);
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + corps + "\n");
    f.close();
    QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return chemin;
}

QString dossierAide()
{
    const QByteArray env = qgetenv("ORBIPLATE_SOURCE_DIR");
    const QString racine = env.isEmpty() ? QStringLiteral(ORBIPLATE_SOURCE_DIR) : QString::fromLocal8Bit(env);
    return racine + QStringLiteral("/aide");
}

struct Ouvreur {
    QList<QUrl> ouverts;
    bool reussite = true;
    Ouvreur()
    {
        definirOuvreurSysteme([this](const QUrl& u) {
            ouverts.append(u);
            return reussite;
        });
    }
    ~Ouvreur() { definirOuvreurSysteme({}); }
};

} // namespace

TEST(OuvreurSysteme, FailuresWithinTheDelayAreReported)
{
    QTemporaryDir dir;
    const QUrl page = QUrl::fromLocalFile(dir.filePath("é page.html"));
    int echecs = 0;
    auto compter = [&echecs] { ++echecs; };

    // No such program: false at once, and no later call.
    EXPECT_FALSE(lancerOuvreur(dir.filePath("absent"), page, compter, 2000));
    QTest::qWait(50);
    EXPECT_EQ(echecs, 0);

    // Exit code 3 ("no method available"): a failure.
    ASSERT_TRUE(lancerOuvreur(script(dir, "echoue", "exit 3"), page, compter, 2000));
    EXPECT_TRUE(attendre([&] { return echecs == 1; }, 3000));

    // Success, with the local path as argument.
    const QString trace = dir.filePath("trace");
    ASSERT_TRUE(lancerOuvreur(script(dir, "reussit", "echo \"$1\" > '" + trace.toLocal8Bit() + "'"), page, compter, 2000));
    ASSERT_TRUE(attendre([&] { return QFile(trace).size() > 0; }, 3000));
    QTest::qWait(100);
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(f.readAll()).trimmed(), dir.filePath("é page.html"));
    EXPECT_EQ(echecs, 1);

    // A failure after the delay (a browser left open, then closed badly) is not one.
    ASSERT_TRUE(lancerOuvreur(script(dir, "tard", "sleep 0.6; exit 4"), page, compter, 100));
    QTest::qWait(1200);
    EXPECT_EQ(echecs, 1);

    // The watch dies with its owner: no call into something gone.
    auto* proprietaire = new QObject;
    ASSERT_TRUE(lancerOuvreur(script(dir, "lent", "sleep 0.3; exit 1"), page, compter, 2000, proprietaire));
    delete proprietaire;
    QTest::qWait(700);
    EXPECT_EQ(echecs, 1);
}

TEST(OuvreurSysteme, HelpPageGoesToTheProgramWhenTheSystemCannotShowIt)
{
    QTemporaryDir dir;
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    Ouvreur ouvreur;
    const QString avant = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QStringList internes;
    auto interne = [&internes](const QString& c) { internes << c; };

    QDir().mkdir("aide");
    QFile f("aide/index.html");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString page = QFileInfo("aide/index.html").absoluteFilePath();
    // The system shows it: nothing else happens.
    EXPECT_TRUE(ouvrirFichierAide(interne));
    EXPECT_EQ(ouvreur.ouverts.size(), 1);
    EXPECT_TRUE(internes.isEmpty());
    // It cannot: the program shows it itself, or says so when it has no window.
    ouvreur.reussite = false;
    EXPECT_TRUE(ouvrirFichierAide(interne));
    EXPECT_EQ(internes, QStringList{page});
    EXPECT_TRUE(ouvrirFichierAide());
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_TRUE(d.shown[0].text.contains(QDir::toNativeSeparators(page)));
    // A page that looks like a program is never handed to the system.
    QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ouvreur.ouverts.clear();
    EXPECT_TRUE(ouvrirFichierAide(interne));
    EXPECT_TRUE(ouvreur.ouverts.isEmpty());
    EXPECT_EQ(internes.size(), 2);
    QDir::setCurrent(avant);
}

TEST(FenetreAide, RealHelpPageWithPicturesLinksAndHistory)
{
    ScriptedDialogs d;
    DialogServiceGuard garde(&d);
    Ouvreur ouvreur;
    TFenetreAide w;
    const QString index = dossierAide() + QStringLiteral("/index.html");
    ASSERT_TRUE(QFile::exists(index)) << index.toStdString();
    ASSERT_TRUE(w.afficher(index));
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Aide d'Orbiplate"));
    QTextBrowser* b = w.navigateur();
    EXPECT_TRUE(b->toPlainText().contains(QString::fromUtf8("aide pour les élèves et les professeurs")));

    // Every picture of the page is found beside it.
    int images = 0;
    for (QTextBlock bloc = b->document()->begin(); bloc.isValid(); bloc = bloc.next())
        for (auto it = bloc.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat fmt = it.fragment().charFormat();
            if (!fmt.isImageFormat())
                continue;
            const QString nom = fmt.toImageFormat().name();
            const QVariant v = b->loadResource(QTextDocument::ImageResource, QUrl(nom));
            const QImage image = v.typeId() == QMetaType::QImage ? v.value<QImage>() : QImage::fromData(v.toByteArray());
            EXPECT_GT(image.width(), 100) << nom.toStdString();
            ++images;
        }
    EXPECT_GE(images, 8);

    // Internal links move in the page, with back and forward.
    EXPECT_FALSE(w.precedente()->isEnabled());
    w.suivreLien(QUrl(QStringLiteral("#reperes")));
    EXPECT_EQ(b->source().fragment(), QStringLiteral("reperes"));
    EXPECT_GT(b->verticalScrollBar()->value(), 0);
    w.precedente()->trigger();
    EXPECT_TRUE(b->source().fragment().isEmpty());
    w.suivante()->trigger();
    EXPECT_EQ(b->source().fragment(), QStringLiteral("reperes"));

    // Web addresses go to the system; the page stays. A failure is told.
    const QUrl avant = b->source();
    w.suivreLien(QUrl(QStringLiteral("https://www.example.org/plaques")));
    ASSERT_EQ(ouvreur.ouverts.size(), 1);
    EXPECT_EQ(ouvreur.ouverts[0].host(), QStringLiteral("www.example.org"));
    EXPECT_EQ(b->source(), avant);
    ouvreur.reussite = false;
    w.suivreLien(QUrl(QStringLiteral("https://www.example.org/plaques")));
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_TRUE(d.shown[0].text.contains(QStringLiteral("https://www.example.org/plaques")));
    // A missing page is named.
    w.suivreLien(QUrl(QStringLiteral("absente.html")));
    ASSERT_EQ(d.shown.size(), 2u);
    EXPECT_TRUE(d.shown[1].text.contains(QStringLiteral("absente.html")));
    EXPECT_EQ(b->source(), avant);
}
