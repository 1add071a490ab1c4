// The answer expected for a displacement, the marks of an exercise, the arrow of
// a direction, and the draws of the questions.
#include "exercises/notation.h"
#include "exercises/orientation.h"
#include "exercises/tirage.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> acceptes(const ReponseAttendue& r)
{
    std::vector<int> a;
    for (int c = 0; c < NbDirections; ++c)
        if (r.accepte(c))
            a.push_back(c);
    return a;
}

TStationGPS exemple(const char* nom, double vn, double ve, double lat = 0, double lon = 0)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.VitLat = vn;
    s.VitLong = ve;
    s.Latitude = lat;
    s.Longitude = lon;
    return s;
}

SourceHasard toujours(int k)
{
    return [k](int n) { return k < 0 ? n + k : k; };
}

} // namespace

TEST(ReponseAttendue, QuadrantsAndTheCardinalDirectionOfALongComponent)
{
    const ReponseAttendue a = reponseAttendue(3, 0.2);
    EXPECT_EQ(a.texte, QStringLiteral(" N-E (ou N)"));
    EXPECT_EQ(acceptes(a), (std::vector<int>{Nord, NordEst}));

    const ReponseAttendue b = reponseAttendue(-5, -5);
    EXPECT_EQ(b.texte, QStringLiteral(" S-O"));
    EXPECT_EQ(acceptes(b), (std::vector<int>{SudOuest}));

    EXPECT_EQ(reponseAttendue(0.5, -8).texte, QStringLiteral(" N-O (ou O)"));
    EXPECT_EQ(reponseAttendue(-30, 1).texte, QStringLiteral(" S-E (ou S)"));
    // Ten times exactly is not more than ten times.
    EXPECT_EQ(reponseAttendue(10, 1).texte, QStringLiteral(" N-E"));
}

TEST(ReponseAttendue, AZeroComponentLeavesTheCardinalDirectionAlone)
{
    const ReponseAttendue nord = reponseAttendue(4, 0);
    EXPECT_TRUE(nord.valide);
    EXPECT_EQ(nord.texte, QStringLiteral(" N"));
    EXPECT_EQ(acceptes(nord), (std::vector<int>{Nord}));
    EXPECT_EQ(acceptes(reponseAttendue(-4, 0)), (std::vector<int>{Sud}));
    EXPECT_EQ(reponseAttendue(0, -2).texte, QStringLiteral(" O"));
    EXPECT_EQ(acceptes(reponseAttendue(0, 2)), (std::vector<int>{Est}));
    // No displacement, no direction: nothing is right.
    const ReponseAttendue rien = reponseAttendue(0, 0);
    EXPECT_FALSE(rien.valide);
    EXPECT_TRUE(acceptes(rien).empty());
}

TEST(NoteExercice, MarksOfTheThreeQuestionsAndTheHelp)
{
    TNoteExercice debut;
    EXPECT_EQ(debut.texte(), QStringLiteral("0/0"));

    TNoteExercice faux;
    faux.repondre(false);
    EXPECT_EQ(faux.texte(), QStringLiteral("-1/1"));
    faux.repondre(false);
    faux.repondre(false);
    EXPECT_EQ(faux.texte(), QStringLiteral("-6/10"));
    EXPECT_TRUE(faux.termine());

    TNoteExercice juste;
    juste.repondre(true);
    juste.repondre(true);
    EXPECT_EQ(juste.texte(), QStringLiteral("4/4"));
    juste.repondre(true);
    EXPECT_EQ(juste.texte(), QStringLiteral("10/10"));
    // Over: further answers change nothing.
    juste.repondre(false);
    EXPECT_EQ(juste.texte(), QStringLiteral("10/10"));

    TNoteExercice aide;
    EXPECT_FALSE(aide.ouvrirAide()); // the first opening is free
    aide.repondre(true);
    EXPECT_TRUE(aide.ouvrirAide());
    aide.repondre(true);
    aide.repondre(true);
    EXPECT_EQ(aide.texte(), QStringLiteral("9/10"));
}

TEST(Fleche, EachDirectionDrawsItsArrowFromTheCentre)
{
    const TColor32 fond = 0xFFD4D0C8, trait = 0xFF000080;
    for (int code = 0; code < NbDirections; ++code) {
        TBitmap32 b;
        dessinerFleche(b, code, fond, trait);
        ASSERT_EQ(b.width(), CoteFleche);
        const FlecheDirection f = flecheDirection(code);
        EXPECT_NE(b.pixel(f.pointe.x(), f.pointe.y()), fond) << code;
        EXPECT_NE(b.pixel(f.barbe1.x(), f.barbe1.y()), fond) << code;
        EXPECT_NE(b.pixel(32, 32), fond) << code;
        // The opposite tip stays clear.
        const FlecheDirection o = flecheDirection((code + 4) % NbDirections);
        EXPECT_EQ(b.pixel(o.pointe.x(), o.pointe.y()), fond) << code;
    }
    TBitmap32 vide;
    dessinerFleche(vide, -1, fond, trait);
    EXPECT_EQ(vide, TBitmap32(CoteFleche, CoteFleche, fond));
}

TEST(Tirage, EveryExampleCanBeDrawnTheLastOneToo)
{
    const std::vector<TStationGPS> ex = {exemple("AAAA", 1, 1), exemple("BBBB", 2, 2), exemple("CCCC", 3, 3)};
    TTirage t(GenreExercice::Orientation, toujours(-1)); // always the last candidate
    EXPECT_EQ(t.tirer(ex).exemple, 2);
}

TEST(Tirage, NoStationTwiceWhileOthersRemain)
{
    const std::vector<TStationGPS> ex = {exemple("AAAA", 1, 1), exemple("BBBB", 2, 2), exemple("AAAA", 5, 5)};
    TTirage t(GenreExercice::Position, toujours(0));
    std::vector<int> suite;
    for (int i = 0; i < 3; ++i)
        suite.push_back(t.tirer(ex).exemple);
    // A then B; the second line of AAAA is the same station: only then may it come back.
    EXPECT_EQ(suite[0], 0);
    EXPECT_EQ(suite[1], 1);
    EXPECT_NE(suite[2], 1);
}

TEST(Tirage, AStillStationIsNeverAskedItsDirection)
{
    const std::vector<TStationGPS> ex = {exemple("ZERO", 0, 0), exemple("AAAA", 1, 1), exemple("BBBB", 2, 2)};
    TTirage t(GenreExercice::Orientation, toujours(0));
    for (int i = 0; i < 6; ++i)
        EXPECT_NE(t.tirer(ex).exemple, 0);
    // It can still be a place to find, or a reference to move against.
    EXPECT_EQ(TTirage(GenreExercice::Position, toujours(0)).tirer(ex).exemple, 0);
    EXPECT_TRUE(exerciceFaisable({exemple("ZERO", 0, 0), exemple("AAAA", 1, 1)}, GenreExercice::Relatif));
    EXPECT_FALSE(exerciceFaisable({exemple("ZERO", 0, 0), exemple("AAAA", 1, 1)}, GenreExercice::Orientation));
}

TEST(Tirage, RelativeQuestionsPairTwoStationsThatMoveApart)
{
    // BBBB moves as AAAA: they cannot be asked against each other.
    const std::vector<TStationGPS> ex = {exemple("AAAA", 1, 1), exemple("BBBB", 1, 1), exemple("AAAA", 4, 0),
                                         exemple("CCCC", -2, 3)};
    TTirage t(GenreExercice::Relatif, toujours(0));
    for (int i = 0; i < 8; ++i) {
        const Question q = t.tirer(ex);
        ASSERT_TRUE(q.valide());
        const TStationGPS& s = ex[static_cast<std::size_t>(q.exemple)];
        const TStationGPS& r = ex[static_cast<std::size_t>(q.reference)];
        EXPECT_NE(s.Nom.bytes(), r.Nom.bytes());
        double n = 0, e = 0;
        deplacementQuestion(ex, q, GenreExercice::Relatif, n, e);
        EXPECT_TRUE(n != 0 || e != 0);
        EXPECT_DOUBLE_EQ(n, s.VitLat - r.VitLat);
    }
}

TEST(Tirage, TooFewExamplesAndAWaywardSource)
{
    const std::vector<TStationGPS> un = {exemple("AAAA", 1, 1)};
    const std::vector<TStationGPS> meme = {exemple("AAAA", 1, 1), exemple("AAAA", 2, 2)};
    const std::vector<TStationGPS> pareils = {exemple("AAAA", 1, 1), exemple("BBBB", 1, 1)};
    for (GenreExercice g : {GenreExercice::Orientation, GenreExercice::Relatif, GenreExercice::Position}) {
        EXPECT_FALSE(exerciceFaisable({}, g));
        EXPECT_FALSE(exerciceFaisable(un, g));
        EXPECT_FALSE(exerciceFaisable(meme, g));
        EXPECT_FALSE(TTirage(g).tirer({}).valide());
    }
    EXPECT_FALSE(exerciceFaisable(pareils, GenreExercice::Relatif));
    EXPECT_TRUE(exerciceFaisable(pareils, GenreExercice::Orientation));
    EXPECT_EQ(messageExemplesInsuffisants(GenreExercice::Relatif, 1),
              QStringLiteral("L'exercice ne peut pas commencer : il faut au moins deux stations de noms différents "
                             "dont les déplacements diffèrent dans le fichier « exemples.txt » (un seul exemple a "
                             "été lu)."));
    // A source answering outside its range still gives an example of the list.
    TTirage fou(GenreExercice::Orientation, [](int n) { return n + 7; });
    EXPECT_EQ(fou.tirer(pareils).exemple, 0);
}
