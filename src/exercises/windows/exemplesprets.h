// Before an exercise starts: its examples loaded (once), what the loading had
// to say told to the pupil, and whether there are enough of them.
#pragma once

#include "exercises/tirage.h"

class TExemples;

// True when the exercise can start. Otherwise the pupil has been told why
// (file missing or unreadable, too few usable examples).
bool exemplesPrets(TExemples& exemples, GenreExercice genre);
