// Loading and saving earthquake, volcano and GPS files.
//
// The binary files (.fse, .fvo, .gps) are headerless sequences of little-endian
// fixed-size records (24, 39 and 104 bytes); any other extension is read as the
// kind's text dump (see textimport.h). Nothing here shows a dialog: every function
// returns a result whose French message the window layer shows.
#pragma once

#include "data/records.h"

#include <QByteArray>
#include <QString>

#include <vector>

constexpr int TailleSeisme = 24;
constexpr int TailleVolcan = 39;
constexpr int TailleStation = 104;

struct ResultatChargement {
    bool ok = false;      // false: nothing was loaded (unreadable file, no valid record, not a file of
                          // the kind), or a GPS text import stopped on a bad line
    int lus = 0;          // records read and kept
    int ignores = 0;      // records or lines skipped (implausible values, unreadable lines)
    bool tronque = false; // a binary file ended inside a record (that record is not kept)
    int ligneErreur = 0;  // GPS text: 1-based number of the line that stopped the import
    bool remplace = false; // store loaders: the store now holds what was read
    QString message;      // French text to show (an error when !ok, a warning otherwise);
                          // empty when there is nothing to say
};

struct ResultatEcriture {
    bool ok = false;
    int ecrits = 0;       // records written
    QString message;      // French text to show on failure
};

// True when the path's extension, upper-cased, is the binary one of the kind.
bool estFichierBinaire(const QString& chemin, const char* extensionMajuscule);

// Record codecs (whole buffers). A partial last record is not decoded; `tronque`
// tells whether there was one.
void decoderSeismes(const QByteArray& donnees, std::vector<TSeisme>& out, bool* tronque = nullptr);
void decoderVolcans(const QByteArray& donnees, std::vector<TVolcan>& out, bool* tronque = nullptr);
// Rang is kept as stored; the store loader renumbers it.
void decoderStations(const QByteArray& donnees, std::vector<TStationGPS>& out, bool* tronque = nullptr);
QByteArray encoderSeismes(const std::vector<TSeisme>& seismes);
QByteArray encoderVolcans(const std::vector<TVolcan>& volcans);
// Every station given is written, its Affiche byte as 1.
QByteArray encoderStations(const std::vector<TStationGPS>& stations);

// Reading into a vector (appended to `out`), binary or text by extension; the
// global stores are not touched. Only plausible records are kept (validation.h);
// the others are counted and the message says how many and where the first one
// was. A binary file whose records are mostly implausible is not a file of the
// kind: nothing is kept and the result fails.
ResultatChargement lireSeismes(const QString& chemin, std::vector<TSeisme>& out);
ResultatChargement lireVolcans(const QString& chemin, std::vector<TVolcan>& out);
ResultatChargement lireStations(const QString& chemin, std::vector<TStationGPS>& out);

// Store loaders (TDonnees uses them). A file that cannot be read, or that yields
// no valid record, leaves the store as it was and fails with a message naming the
// file and the reason; `remplace` tells whether the store now holds the file.
// Earthquakes and volcanoes: the store is replaced by the file's records.
ResultatChargement chargerSeismes(const QString& chemin, std::vector<TSeisme>& magasin);
ResultatChargement chargerVolcans(const QString& chemin, std::vector<TVolcan>& magasin);
// GPS: the store is replaced by the stations read, each station's Rang being
// renumbered to its index; a file that yields no station leaves the previous
// stations in place (also when a text import stops on a bad line).
ResultatChargement chargerStations(const QString& chemin, std::vector<TStationGPS>& magasin);

// Writing a whole file (through a temporary file renamed at the end, so that a
// failure leaves any previous file intact).
ResultatEcriture ecrireSeismes(const QString& chemin, const std::vector<TSeisme>& seismes);
ResultatEcriture ecrireVolcans(const QString& chemin, const std::vector<TVolcan>& volcans);
// Writes the stations whose Affiche is 1, in order.
ResultatEcriture ecrireStationsAffichees(const QString& chemin, const std::vector<TStationGPS>& stations);
