#include "data/dates.h"

#include <cmath>

namespace {

// Days from 1 March of year 0 (proleptic Gregorian) to the given date, shifted
// so that 1970-01-01 is 0 (the classic civil-from-days arithmetic).
long long joursCivils(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilDepuisJours(long long z, int& annee, int& mois, int& jour)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    jour = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    mois = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    annee = static_cast<int>(y + (mois <= 2));
}

const long long kOrigine = joursCivils(1899, 12, 30);

}  // namespace

bool anneeBissextile(int annee)
{
    return (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
}

bool joursDepuis1899(int annee, int mois, int jour, double& jours)
{
    static const int kLongueurs[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1)
        return false;
    const int max = kLongueurs[mois - 1] + (mois == 2 && anneeBissextile(annee) ? 1 : 0);
    if (jour > max)
        return false;
    jours = static_cast<double>(joursCivils(annee, static_cast<unsigned>(mois), static_cast<unsigned>(jour)) -
                                kOrigine);
    return true;
}

bool encoderDateHeure(int annee, int mois, int jour, int heures, int minutes, int secondes,
                      double& dateHeure)
{
    if (heures < 0 || heures > 23 || minutes < 0 || minutes > 59 || secondes < 0 || secondes > 59)
        return false;
    double jours = 0;
    if (!joursDepuis1899(annee, mois, jour, jours))
        return false;
    dateHeure = jours + (heures * 3600.0 + minutes * 60.0 + secondes) / 86400.0;
    return true;
}

void decoderDateHeure(double dateHeure, int& annee, int& mois, int& jour, int& heures, int& minutes,
                      int& secondes)
{
    long long total = std::llround(dateHeure * 86400.0);
    long long j = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    long long s = total - j * 86400;
    civilDepuisJours(j + kOrigine, annee, mois, jour);
    heures = static_cast<int>(s / 3600);
    minutes = static_cast<int>(s / 60 % 60);
    secondes = static_cast<int>(s % 60);
}
