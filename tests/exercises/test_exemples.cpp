// Reading "exemples.txt": the column layout, the decimal marks, the lines that do
// not convert (skipped and named once), and a missing file.
#include "data/decimal.h"
#include "exercises/exemples.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Puts the system's decimal separator back after a test that sets it.
struct Separateur {
    char avant = SeparateurDecimal();
    explicit Separateur(char c) { definirSeparateurDecimal(c); }
    ~Separateur() { definirSeparateurDecimal(avant); }
};

QString nom(const TStationGPS& s)
{
    return shortToQString(s.Nom);
}

} // namespace

TEST(LigneExemple, ReadsTheColumnsWithEitherDecimalMark)
{
    for (char systeme : {'.', ','}) {
        const Separateur sep(systeme);
        for (const char* ligne : {"ZIMM\t 46.8771\t7.4653\t956.3\t16.36\t19.75",
                                  "ZIMM\t 46,8771\t7,4653\t956,3\t16,36\t19,75\r"}) {
            TStationGPS s;
            ASSERT_TRUE(lireLigneExemple(ligne, s)) << ligne << " with " << systeme;
            EXPECT_EQ(nom(s), QStringLiteral("ZIMM"));
            EXPECT_DOUBLE_EQ(s.Latitude, 46.8771);
            EXPECT_DOUBLE_EQ(s.Longitude, 7.4653);
            EXPECT_DOUBLE_EQ(s.VitLat, 16.36);
            EXPECT_DOUBLE_EQ(s.VitLong, 19.75);
        }
    }
}

TEST(LigneExemple, CodeColumnsAndTheLatitudeAfterThem)
{
    const Separateur sep('.');
    TStationGPS s;
    // Two characters after the code are skipped whatever they are...
    ASSERT_TRUE(lireLigneExemple("ABC \t\t-12.5\t-170\tx\t1\t-2\textra", s));
    EXPECT_EQ(nom(s), QStringLiteral("ABC"));
    EXPECT_DOUBLE_EQ(s.Latitude, -12.5);
    EXPECT_DOUBLE_EQ(s.VitLong, -2);
    // ...but a single tab after the code does not cost the latitude its first digit.
    ASSERT_TRUE(lireLigneExemple("WTZR\t49.1442\t12.8789\t666.0\t15.57\t20.34", s));
    EXPECT_DOUBLE_EQ(s.Latitude, 49.1442);
    // A longitude beyond 180 is brought back.
    ASSERT_TRUE(lireLigneExemple("EAST\t 10\t190\t0\t1\t1", s));
    EXPECT_DOUBLE_EQ(s.Longitude, -170);
}

TEST(LigneExemple, RefusesWhatCannotBeAStation)
{
    const Separateur sep('.');
    TStationGPS s;
    for (const char* ligne : {
             "",                                   // nothing
             "ZIMM",                               // no fields
             "ZIMM\t 46.8\t7.4\t956\t16.3",        // four fields
             "ZIMM\t abc\t7.4\t956\t16.3\t19.7",   // not a number
             "ZIMM\t 46.8\t7.4\t956\t16.3\tnan",   // not a number either
             "ZIMM\t 95\t7.4\t956\t16.3\t19.7",    // latitude beyond the pole
             "ZIMM\t 46.8\t7.4\t956\t5000\t19.7",  // a component no plate reaches
             "AB\t\t46.8\t7.4\t956\t16.3\t19.7",   // a tab inside the code's columns
             "    \t 46.8\t7.4\t956\t16.3\t19.7",  // no code
         })
        EXPECT_FALSE(lireLigneExemple(ligne, s)) << ligne;
}

TEST(LectureExemples, SkipsBadLinesNamesThemOnceAndKeepsTheRest)
{
    const Separateur sep('.');
    std::vector<TStationGPS> ex;
    const QByteArray texte = "\xEF\xBB\xBF"
                             "AAAA\t 10\t20\t0\t1\t2\r\n"
                             "BBBB\t 10\t20\t0\tun\t2\r\n"
                             "\r\n"
                             "CCCC\t 95\t20\t0\t1\t2\n"
                             "DDDD\t -10\t-20\t0\t-1\t-2"; // last line, no end of line
    const ResultatExemples r = lireExemples(texte, ex, QStringLiteral("exemples.txt"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.lus, 2);
    ASSERT_EQ(ex.size(), 2u);
    EXPECT_EQ(nom(ex[0]), QStringLiteral("AAAA"));
    EXPECT_EQ(nom(ex[1]), QStringLiteral("DDDD"));
    EXPECT_EQ(r.lignesIgnorees, (std::vector<int>{2, 4}));
    EXPECT_EQ(r.message, QStringLiteral("Fichier « exemples.txt » : les lignes 2 et 4 n'ont pas pu être lues ; "
                                        "elles ont été ignorées (2 exemples lus)."));

    ex.clear();
    EXPECT_EQ(lireExemples("AAAA\t 10\t20\t0\t1\t2\nfaux\n", ex).message,
              QStringLiteral("Fichier « exemples.txt » : la ligne 2 n'a pas pu être lue ; elle a été ignorée "
                             "(1 exemple lu)."));
    // A clean file has nothing to say.
    EXPECT_TRUE(lireExemples("AAAA\t 10\t20\t0\t1\t2\n\n", ex).message.isEmpty());

    // A long list of bad lines is cut short in the message.
    QByteArray mauvais;
    for (int i = 0; i < 25; ++i)
        mauvais += "x\n";
    const ResultatExemples m = lireExemples(mauvais, ex);
    EXPECT_EQ(m.lignesIgnorees.size(), 25u);
    EXPECT_TRUE(m.message.contains(QStringLiteral("1, 2, 3, 4, 5, 6, 7, 8, 9, 10 et 15 autres"))) << m.message.toStdString();
    EXPECT_TRUE(m.message.contains(QStringLiteral("aucun exemple lu")));
}

TEST(LectureExemples, MissingFileChangesNothingAndTheStoreRetriesLater)
{
    QTemporaryDir dir;
    std::vector<TStationGPS> ex(1);
    const ResultatExemples r = ChargerExemples(dir.filePath("exemples.txt"), ex);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(ex.size(), 1u);
    EXPECT_TRUE(r.message.contains(QStringLiteral("non trouvé")));
    EXPECT_TRUE(r.message.contains(QStringLiteral("exemples.txt")));

    TExemples store(dir.path());
    EXPECT_FALSE(store.assurer().ok);
    QFile f(dir.filePath("exemples.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("AAAA\t 10\t20\t0\t1\t2\nBBBB\t 11\t21\t0\t1\t2\n");
    f.close();
    const ResultatExemples apres = store.assurer();
    EXPECT_TRUE(apres.ok);
    EXPECT_EQ(store.liste().size(), 2u);
    // Loaded once: a later change of the file is not read again during the run.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("CCCC\t 10\t20\t0\t1\t2\n");
    f.close();
    EXPECT_TRUE(store.assurer().ok);
    EXPECT_EQ(store.liste().size(), 2u);
}
