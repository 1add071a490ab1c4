// The examples of the exercises: the stations of "exemples.txt" in the start
// folder, with their position and yearly displacement.
//
// One example a line:
//   characters 1 to 4   the station's code (its name, at most 4 characters);
//   characters 5 and 6  skipped (a tab then a blank in the files the import tool
//                       writes); when a single tab follows the code, the number
//                       right after it is the latitude and is not cut;
//   then tab-separated  latitude, longitude, altitude (read and ignored), north
//                       and east velocity components in mm/an; further fields
//                       are ignored.
// Numbers may use "," or "." as decimal mark (the other mark is replaced by the
// system's before conversion). Blank lines are not examples and are passed over.
#pragma once

#include "data/records.h"

#include <QByteArray>
#include <QString>

#include <vector>

constexpr const char* NomFichierExemples = "exemples.txt";

struct ResultatExemples {
    bool ok = false;                 // the file was read (even if no line was usable)
    int lus = 0;                     // examples kept
    std::vector<int> lignesIgnorees; // 1-based numbers of the lines that did not convert
    QString message;                 // French text to show; empty when there is nothing to say
};

// One line (without its end of line) into an example: name, latitude, longitude
// (brought into -180 … 180) and the two velocity components. False when the line
// does not convert or holds values that cannot be a station's (latitude beyond
// ±90, longitude beyond ±720, a component beyond ±1000 mm/an).
bool lireLigneExemple(const QByteArray& ligne, TStationGPS& exemple);

// Every line of a file's text, appended to `exemples`. The lines that do not
// convert are skipped and listed once in the message, named after `nomFichier`.
ResultatExemples lireExemples(const QByteArray& texte, std::vector<TStationGPS>& exemples,
                              const QString& nomFichier = QString::fromLatin1(NomFichierExemples));

// Reads the file at `chemin`. A file that cannot be read leaves `exemples` as it
// was, with a message naming the file.
ResultatExemples ChargerExemples(const QString& chemin, std::vector<TStationGPS>& exemples);

// The examples shared by the exercise windows, loaded from the start folder the
// first time one of them needs them (again later when the first load found none).
class TExemples {
public:
    explicit TExemples(const QString& dossierDepart) : dossier_(dossierDepart) {}

    const std::vector<TStationGPS>& liste() const { return liste_; }
    // Loads the file when nothing is loaded yet; the result of that load (a
    // default result with ok = true when the examples were already there).
    ResultatExemples assurer();
    // For tests and tools: examples given directly.
    void definir(std::vector<TStationGPS> exemples) { liste_ = std::move(exemples); }
    QString chemin() const;

private:
    QString dossier_;
    std::vector<TStationGPS> liste_;
};
