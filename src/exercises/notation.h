// The marks of a three-question exercise.
//
//   question   right answer   wrong answer   highest mark after it
//      1           +1             -1                  1
//      2           +3             -2                  4
//      3           +6             -3                 10
//
// The help is free the first time it is opened in an exercise; each later
// opening removes one point.
#pragma once

#include <QString>

constexpr int QuestionsParExercice = 3;

namespace bareme {
int points(int question);   // added for a right answer
int retrait(int question);  // removed for a wrong answer
int maximum(int question);  // highest mark once the question is answered; 0 before question 1
} // namespace bareme

class TNoteExercice {
public:
    int question() const { return question_; }   // the question being asked, 1 … 3
    int note() const { return note_; }
    bool termine() const { return termine_; }
    bool aideUtilisee() const { return aideUtilisee_; }
    // Questions answered so far (0 … 3).
    int repondues() const { return termine_ ? QuestionsParExercice : question_ - 1; }

    // The mark as shown: "note/maximum of the questions answered" ("0/0" at start,
    // "-1/1" after a wrong first answer).
    QString texte() const;

    // Marks the current question's answer; after the third the exercise is over.
    // Does nothing once it is over.
    void repondre(bool juste);
    // The help panel is opened: true when this opening cost a point.
    bool ouvrirAide();

private:
    int question_ = 1;
    int note_ = 0;
    bool termine_ = false;
    bool aideUtilisee_ = false;
};
