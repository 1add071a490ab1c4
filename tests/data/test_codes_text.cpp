// Code tables, cp1252 text, the decimal separator rule and day counts.
#include "data/codes.h"
#include "data/dates.h"
#include "data/decimal.h"
#include "data/records.h"

#include <gtest/gtest.h>

#include <array>

TEST(CodesVolcans, TextesEtClassesParPlage)
{
    EXPECT_EQ(texteTypeVolcan(1), QStringLiteral("Volcan fissure"));
    EXPECT_EQ(texteTypeVolcan(12), QStringLiteral("Cratère d'explosion"));
    EXPECT_EQ(texteTypeVolcan(31), QStringLiteral("Champ de fumeroles"));
    for (int code : {0, 8, 9, 16, 19, 28, 29, 32, 255})
        EXPECT_TRUE(texteTypeVolcan(code).isEmpty()) << code;

    const int attendu[][2] = {{0, 0}, {5, 0}, {6, 1}, {9, 1}, {10, 2}, {16, 2}, {19, 2},
                              {20, 3}, {29, 3}, {30, 4}, {31, 4}, {200, 4}};
    for (const auto& c : attendu)
        EXPECT_EQ(classeCouleurVolcan(c[0]), c[1]) << c[0];

    // Every listed code has a text, the codes increase and the class of each is in range.
    int precedent = 0;
    for (const TypeVolcanDef& t : typesVolcans()) {
        EXPECT_GT(t.code, precedent);
        precedent = t.code;
        EXPECT_FALSE(texteTypeVolcan(t.code).isEmpty());
        EXPECT_EQ(codeTypeVolcanDepuisTexte(t.motCle), t.code) << t.motCle;
    }
    EXPECT_EQ(typesVolcans().size(), 23u);
}

TEST(CodesVolcans, MotCleDeCodeLePlusEleveGagne)
{
    EXPECT_EQ(codeTypeVolcanDepuisTexte("tuff ring / Tuff cone"), 22);
    EXPECT_EQ(codeTypeVolcanDepuisTexte("CRATER ROW, FISSURE VENT"), 5);
    EXPECT_EQ(codeTypeVolcanDepuisTexte("FUMAROLE FIELD STRATOVOLCANO HYDROTHERMAL FIELD"), 31);
    EXPECT_EQ(codeTypeVolcanDepuisTexte("Shield volcano(es)"), 3);
    EXPECT_EQ(codeTypeVolcanDepuisTexte(""), 0);
    EXPECT_EQ(codeTypeVolcanDepuisTexte("Lava dome?"), 13);
}

TEST(CodesActivite, CodesEtTextes)
{
    EXPECT_EQ(codeActiviteDepuisTexte("D1"), 1);
    EXPECT_EQ(codeActiviteDepuisTexte("d7"), 7);
    EXPECT_EQ(codeActiviteDepuisTexte("U "), 8);
    EXPECT_EQ(codeActiviteDepuisTexte("q "), 9);
    for (const char* autre : {"U", "Q", "D8", "D0", " U", "", "U?"})
        EXPECT_EQ(codeActiviteDepuisTexte(autre), 0) << autre;
    EXPECT_EQ(texteActivite(1), QStringLiteral("actif depuis 1964"));
    EXPECT_EQ(texteActivite(8), QStringLiteral("probablement actif à l'Holocène"));
    EXPECT_EQ(texteActivite(0), QStringLiteral("dernière activité ?"));
    EXPECT_EQ(texteActivite(10), QStringLiteral("dernière activité ?"));
    EXPECT_EQ(texteActivite(-3), QStringLiteral("dernière activité ?"));
}

TEST(Cp1252, LesDeuxSensPourLes256Octets)
{
    QByteArray tous;
    for (int i = 0; i < 256; ++i)
        tous.append(static_cast<char>(i));
    const QString texte = fromCp1252(tous);
    ASSERT_EQ(texte.size(), 256);
    EXPECT_EQ(toCp1252(texte), tous);
    EXPECT_EQ(texte.at(0x80), QChar(0x20AC));
    EXPECT_EQ(texte.at(0x9C), QChar(0x0153));
    EXPECT_EQ(texte.at(0x8C), QChar(0x0152));
    EXPECT_EQ(texte.at(0x92), QChar(0x2019));
    EXPECT_EQ(texte.at(0xE9), QChar(0x00E9));

    EXPECT_EQ(toCp1252(QStringLiteral("Cœur à 5 €")), QByteArray("C\x9c" "ur \xe0 5 \x80"));
    EXPECT_EQ(toCp1252(QStringLiteral("Ж\u4e2d")), QByteArray("??"));
    EXPECT_EQ(toCp1252(QString::fromUcs4(U"\U0001F600x")), QByteArray("?x"));

    ShortString<5> s;
    assignShort(s, QStringLiteral("Ébène!"));
    EXPECT_EQ(s.Len, 5);
    EXPECT_EQ(shortToQString(s), QStringLiteral("Ébène"));
}

TEST(SeparateurDecimal, RegleDeRemplacementEtConversions)
{
    definirSeparateurDecimal(',');
    EXPECT_EQ(SeparateurDecimal(), ',');
    EXPECT_EQ(remplacerMarqueDecimale(QStringLiteral("1.5 2.5")), QStringLiteral("1,5 2,5"));
    double v = 0;
    EXPECT_TRUE(convertirReelSysteme(QStringLiteral("2,3"), v));
    EXPECT_DOUBLE_EQ(v, 2.3);
    EXPECT_FALSE(convertirReelSysteme(QStringLiteral("2.3"), v));

    definirSeparateurDecimal('.');
    EXPECT_EQ(remplacerMarqueDecimale(QStringLiteral("1,5")), QStringLiteral("1.5"));
    EXPECT_FALSE(convertirReelSysteme(QStringLiteral("2,3"), v));
    definirSeparateurDecimal('x');
    EXPECT_EQ(SeparateurDecimal(), '.');

    // The system's own rule gives one of the two marks.
    DeterminerSeparateurDecimal();
    EXPECT_TRUE(SeparateurDecimal() == '.' || SeparateurDecimal() == ',');
    definirSeparateurDecimal('.');
}

TEST(SeparateurDecimal, FormesDeNombresAcceptees)
{
    double v = 0;
    const std::pair<const char*, double> bons[] = {
        {"  12.5 ", 12.5}, {"-0.25", -0.25}, {"+3", 3}, {".5", 0.5}, {"5.", 5}, {"1e3", 1000}, {"\t-2.5E-1", -0.25}};
    for (const auto& b : bons) {
        EXPECT_TRUE(convertirReel(QByteArray(b.first), '.', v)) << b.first;
        EXPECT_DOUBLE_EQ(v, b.second) << b.first;
    }
    for (const char* mauvais : {"", "   ", "-", ".", "1.2.3", "1,5", "inf", "nan", "0x10", "1e", "12a", "1 2", "--1",
                                "1e999"})
        EXPECT_FALSE(convertirReel(QByteArray(mauvais), '.', v)) << mauvais;
    EXPECT_TRUE(convertirReel(QByteArray("1,5"), ',', v));
    EXPECT_DOUBLE_EQ(v, 1.5);

    int n = 0;
    const QByteArray e = " -42 ";
    EXPECT_TRUE(convertirEntier(e.constData(), e.constData() + e.size(), n));
    EXPECT_EQ(n, -42);
    for (const char* mauvais : {"", "4.2", "x", "+-1", "99999999999"}) {
        const QByteArray m(mauvais);
        EXPECT_FALSE(convertirEntier(m.constData(), m.constData() + m.size(), n)) << mauvais;
    }
}

TEST(Dates, JoursDepuis1899)
{
    double j = -1;
    ASSERT_TRUE(joursDepuis1899(1899, 12, 30, j));
    EXPECT_EQ(j, 0);
    ASSERT_TRUE(joursDepuis1899(1900, 1, 1, j));
    EXPECT_EQ(j, 2);
    ASSERT_TRUE(joursDepuis1899(2000, 1, 1, j));
    EXPECT_EQ(j, 36526);
    ASSERT_TRUE(joursDepuis1899(1900, 3, 1, j));
    EXPECT_EQ(j, 61) << "1900 is not a leap year in the Gregorian calendar";
    ASSERT_TRUE(joursDepuis1899(1800, 1, 1, j));
    EXPECT_EQ(j, -36522);
    ASSERT_TRUE(joursDepuis1899(2004, 2, 29, j));

    for (auto d : {std::array<int, 3>{2001, 2, 29}, {1900, 2, 29}, {2000, 13, 1}, {2000, 0, 1}, {2000, 2, 31},
                   {2000, 4, 31}, {2000, 1, 0}, {0, 1, 1}, {10000, 1, 1}})
        EXPECT_FALSE(joursDepuis1899(d[0], d[1], d[2], j)) << d[0] << "-" << d[1] << "-" << d[2];

    double dh = 0;
    ASSERT_TRUE(encoderDateHeure(2011, 3, 11, 5, 46, 24, dh));
    int a, m, jj, h, mn, s;
    decoderDateHeure(dh, a, m, jj, h, mn, s);
    EXPECT_EQ((std::array<int, 6>{a, m, jj, h, mn, s}), (std::array<int, 6>{2011, 3, 11, 5, 46, 24}));
    EXPECT_FALSE(encoderDateHeure(2011, 3, 11, 24, 0, 0, dh));
    EXPECT_FALSE(encoderDateHeure(2011, 3, 11, 0, 60, 0, dh));
    EXPECT_FALSE(encoderDateHeure(2011, 3, 11, 0, 0, 60, dh));
}
