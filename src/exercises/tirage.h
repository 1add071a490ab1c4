// Drawing the examples of the questions.
//
// Every example can be drawn (the last of the file too). Within one exercise a
// station already asked is not asked again while other stations remain. A
// displacement of zero length has no direction: such a question is never drawn.
#pragma once

#include "data/records.h"

#include <QByteArray>

#include <functional>
#include <set>
#include <vector>

// A whole number drawn uniformly from 0 to n - 1 (n >= 1). Tests give a fixed one.
using SourceHasard = std::function<int(int n)>;
// The system's generator.
SourceHasard hasardSysteme();

enum class GenreExercice {
    Orientation, // direction of a station's own displacement
    Relatif,     // direction of a station's displacement relative to another, fixed
    Position,    // the square of the world map holding a station
};

// Enough examples to start the exercise: at least two that can be asked (for the
// relative movements, two stations of different names whose displacements differ).
bool exerciceFaisable(const std::vector<TStationGPS>& exemples, GenreExercice genre);
// The French sentence saying why an exercise cannot start.
QString messageExemplesInsuffisants(GenreExercice genre, int exemplesLus);

// One question: the example asked and, for the relative movements, the reference.
struct Question {
    int exemple = -1;
    int reference = -1;
    bool valide() const { return exemple >= 0; }
};

// The displacement (north, east) a question asks about.
void deplacementQuestion(const std::vector<TStationGPS>& exemples, const Question& q, GenreExercice genre,
                         double& nord, double& est);

// The draws of one exercise (it remembers the stations asked).
class TTirage {
public:
    explicit TTirage(GenreExercice genre, SourceHasard hasard = hasardSysteme())
        : genre_(genre), hasard_(std::move(hasard))
    {
    }
    void changerHasard(SourceHasard hasard) { hasard_ = std::move(hasard); }
    // The next question; an invalid one when the examples allow none.
    Question tirer(const std::vector<TStationGPS>& exemples);
    GenreExercice genre() const { return genre_; }

private:
    int tirerParmi(const std::vector<int>& candidats);

    GenreExercice genre_;
    SourceHasard hasard_;
    std::set<QByteArray> demandees_; // names already asked
};
