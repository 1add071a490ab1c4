// Day counts: whole days since 30 December 1899 00:00, the fraction being the time
// of day (proleptic Gregorian calendar).
#pragma once

// Number of days from 30 December 1899 to the given civil date; false (and no
// value) for an impossible date: month outside 1-12, day outside the month
// (29 February only in leap years), year outside 1-9999.
bool joursDepuis1899(int annee, int mois, int jour, double& jours);

// Day count of a date and time of day; false for an impossible date or a time
// outside 00:00:00-23:59:59.
bool encoderDateHeure(int annee, int mois, int jour, int heures, int minutes, int secondes,
                      double& dateHeure);

// Civil date and time of a day count (inverse of the above, to the nearest second).
void decoderDateHeure(double dateHeure, int& annee, int& mois, int& jour, int& heures, int& minutes,
                      int& secondes);

bool anneeBissextile(int annee);
