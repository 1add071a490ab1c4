#include "exercises/notation.h"

namespace {

constexpr int Points[QuestionsParExercice] = {1, 3, 6};
constexpr int Retraits[QuestionsParExercice] = {1, 2, 3};
constexpr int Maxima[QuestionsParExercice] = {1, 4, 10};

bool dansBareme(int q)
{
    return q >= 1 && q <= QuestionsParExercice;
}

} // namespace

namespace bareme {

int points(int question)
{
    return dansBareme(question) ? Points[question - 1] : 0;
}

int retrait(int question)
{
    return dansBareme(question) ? Retraits[question - 1] : 0;
}

int maximum(int question)
{
    if (question < 1)
        return 0;
    return Maxima[(question > QuestionsParExercice ? QuestionsParExercice : question) - 1];
}

} // namespace bareme

QString TNoteExercice::texte() const
{
    return QStringLiteral("%1/%2").arg(note_).arg(bareme::maximum(repondues()));
}

void TNoteExercice::repondre(bool juste)
{
    if (termine_)
        return;
    note_ += juste ? bareme::points(question_) : -bareme::retrait(question_);
    if (question_ >= QuestionsParExercice)
        termine_ = true;
    else
        ++question_;
}

bool TNoteExercice::ouvrirAide()
{
    const bool coute = aideUtilisee_;
    if (coute)
        --note_;
    aideUtilisee_ = true;
    return coute;
}
