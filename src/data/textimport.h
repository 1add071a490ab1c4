// Imports of the text dumps of public catalogues: an earthquake catalogue and a
// volcano list in fixed columns (framed by a line of dashes and a closing
// "</PRE>"), and a GPS velocity table made of "POS " and "VEL " lines.
#pragma once

#include "data/records.h"
#include "data/validation.h"

#include <QByteArray>

#include <vector>

// Cuts text into lines the way the imports read them: a line ends at a line feed
// or at the end of the data; bytes below 32 other than the tab are dropped (so
// carriage returns vanish); a line holds at most 250 kept bytes, and when it
// reaches 250 it ends there, the bytes that follow forming the next line.
class LecteurLignes {
public:
    static constexpr int LongueurMax = 250;

    explicit LecteurLignes(const QByteArray& donnees);
    // False at the end of the data.
    bool suivante(QByteArray& ligne);
    // 1-based number of the line last returned.
    int numero() const { return m_numero; }

private:
    const char* m_p;
    const char* m_fin;
    int m_numero = 0;
};

// Earthquake catalogue: lines after the first holding "---------" up to a line
// equal to "</PRE>" (any case); each line gives the date "yyyy/mm/dd hh:mm:ss"
// (columns 1-19), latitude (24-31), longitude (33-41), depth in km (43-48) and
// magnitude (50-54). A line that does not convert, or whose values are out of all
// measure (validation.h), is skipped and counted in `rejets`. Returns the number
// of records appended to `out`; `cadre` tells whether the line of dashes was found.
int importerSeismesTexte(const QByteArray& donnees, std::vector<TSeisme>& out, BilanRejets* rejets = nullptr,
                         bool* cadre = nullptr);

// Volcano list: same framing; name (columns 11-35, kept as is), latitude (63-69),
// longitude (71-78), altitude in m (81-85), type text (87-106), activity code
// (132-133). A line whose numbers do not convert or are implausible is skipped and
// counted.
int importerVolcansTexte(const QByteArray& donnees, std::vector<TVolcan>& out, BilanRejets* rejets = nullptr,
                         bool* cadre = nullptr);

// GPS velocity table. Stations are appended to `out` (with Rang = their index in
// `out`); the decimal mark that is not the system's separator is replaced before
// conversion. Returns false when a number of a "POS "/"VEL " line does not
// convert: the import stops there, what was appended stays, and `ligneErreur`
// receives the 1-based line number. A station whose values are implausible is not
// appended and is counted in `rejets`; `entete` tells whether the "LAT " line was found.
bool importerGPSTexte(const QByteArray& donnees, std::vector<TStationGPS>& out, int* ligneErreur = nullptr,
                      BilanRejets* rejets = nullptr, bool* entete = nullptr);
