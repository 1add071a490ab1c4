// Readers for the public catalogues published by the agencies, in their own file
// layouts (CSV, GeoJSON, whitespace tables), turned into the program's records.
//
// Earthquakes: USGS ComCat search CSV, USGS/NEIC "significant earthquakes" CSV,
// ISC-GEM CSV (main catalogue or supplement, and the variant with one time column),
// plain lat/long/depth/mag tables, USGS GeoJSON feeds.
// Volcanoes: Smithsonian GVP volcano lists (Holocene or Pleistocene) and eruption
// lists. GPS: UNR MIDAS velocity tables (joined with the station list found beside
// them) and CSV velocity tables in mm/yr with station coordinates.
//
// The layout is recognised from the file's header, whatever its extension. An
// unknown layout or an unreadable file returns false with a French message naming
// the file and what was expected; rows that do not convert are skipped and counted.
#pragma once

#include "data/records.h"
#include "data/validation.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// Outcome of one catalogue reading, for messages.
struct BilanCatalogue {
    QString format;  // name of the recognised layout, e.g. "USGS ComCat (CSV)"
    int lus = 0;     // records appended
    int ignores = 0; // data rows skipped (bad numbers, missing magnitude, non-earthquake events)
    BilanRejets rejets; // the same, with the line and reason of the first one
    // The skipped rows by reason, each reason in French words that read after
    // "N lignes" ("sans profondeur", "hors limites", ...); they add up to `ignores`.
    std::map<QString, int> ignoresParMotif;
};

// Reasons recorded in BilanCatalogue::ignoresParMotif.
namespace MotifsIgnores {
inline const char* const NonSismique = "d'événements non sismiques";
inline const char* const SansPosition = "sans position";
inline const char* const HorsLimites = "hors limites";
inline const char* const SansProfondeur = "sans profondeur";
inline const char* const SansMagnitude = "sans magnitude";
inline const char* const DateIllisible = "à date illisible";
inline const char* const SansNom = "sans nom";
inline const char* const SansVitesse = "sans vitesse";
inline const char* const VitesseInutilisable = "sans incertitude de vitesse";
inline const char* const StationInconnue = "de stations absentes de la liste des stations";
inline const char* const SerieCourte = "de séries trop courtes";
inline const char* const SansNumero = "sans numéro de volcan";
inline const char* const GuillemetNonFerme = "à guillemet non fermé";
inline const char* const Incompletes = "incomplètes";
} // namespace MotifsIgnores

// Each reader appends to `out` and returns false (with a message) when the file
// cannot be read or its layout is not recognised; `out` is then left unchanged.
bool lireCatalogueSeismes(const QString& chemin, std::vector<TSeisme>& out, QString* message = nullptr,
                          BilanCatalogue* bilan = nullptr);
bool lireCatalogueVolcans(const QString& chemin, std::vector<TVolcan>& out, QString* message = nullptr,
                          BilanCatalogue* bilan = nullptr);
// Stations are appended with Affiche = 1 and Rang = their index in `out`.
bool lireCatalogueGPS(const QString& chemin, std::vector<TStationGPS>& out, QString* message = nullptr,
                      BilanCatalogue* bilan = nullptr);

// The same on data already in memory (`nom` is used in messages; for MIDAS tables
// the station list must be passed to lireMidas instead).
bool lireSeismesDepuis(const QByteArray& donnees, const QString& nom, std::vector<TSeisme>& out,
                       QString* message = nullptr, BilanCatalogue* bilan = nullptr);
bool lireVolcansDepuis(const QByteArray& donnees, const QString& nom, std::vector<TVolcan>& out,
                       QString* message = nullptr, BilanCatalogue* bilan = nullptr);
bool lireGPSDepuis(const QByteArray& donnees, const QString& nom, std::vector<TStationGPS>& out,
                   QString* message = nullptr, BilanCatalogue* bilan = nullptr);

// UNR MIDAS velocities (24 whitespace-separated fields, m/yr) joined on the station
// code with the NGL station list (Sta Lat Long Hgt ...). Stations missing from the
// list are skipped. Velocities become mm/yr, heights mm.
bool lireMidas(const QByteArray& vitesses, const QByteArray& stationsNGL, const QString& nom,
               std::vector<TStationGPS>& out, QString* message = nullptr, BilanCatalogue* bilan = nullptr,
               double dureeMini = 0);

// GVP eruption list: for each volcano number, the latest start year of a confirmed
// eruption (negative years are BCE).
bool lireEruptionsGVP(const QByteArray& donnees, const QString& nom, std::map<int, int>& derniereAnnee,
                      QString* message = nullptr);
// The same volcano list read with its volcano numbers, so that an eruption list can
// update the activity codes (see appliquerEruptions).
bool lireListeVolcansGVP(const QByteArray& donnees, const QString& nom, std::vector<TVolcan>& out,
                         std::vector<int>& numeros, QString* message = nullptr, BilanCatalogue* bilan = nullptr);
// Gives each volcano whose number has a later eruption in the list the activity
// code of that year; returns how many changed.
int appliquerEruptions(std::vector<TVolcan>& volcans, const std::vector<int>& numeros,
                       const std::map<int, int>& derniereAnnee);

// Volcano type code of a GVP "Primary Volcano Type" ("Stratovolcano(es)" -> 20,
// "Shield" -> 3, "Cone(s)" -> 23 scoria cone, ...); 0 when not recognised.
int typeVolcanGVP(const QString& typePrincipal);
// Activity code of a year of last eruption (negative = BCE): 1964 and after D1,
// 1900-1963 D2, 1800-1899 D3, 1700-1799 D4, 1500-1699 D5, 1-1499 D6, BCE D7.
int activiteDepuisAnnee(int annee);
// Activity code of a GVP "Last Known Eruption" text ("1991 CE", "8300 BCE"); 0 for
// "Unknown", an empty or an unreadable text.
int activiteDerniereEruption(const QString& texte);

// Day count (days since 30 December 1899, fraction = time of day) of an ISO-like
// date and time "YYYY-MM-DD[T ]hh:mm:ss[.fff][Z]" (time optional); false when the
// date is impossible.
bool dateHeureISO(const QString& texte, double& jours);

// The program's GPS text format: a header line holding "LAT ", then per station a
// "POS " line (latitude, longitude, height, and their uncertainties) and a "VEL "
// line (north, east, up velocities and their uncertainties, mm/yr), each starting
// with the 4-character code. Uses "." as decimal point.
QByteArray texteGPS(const std::vector<TStationGPS>& stations, const QString& titre);

// Splits one CSV line (commas, double-quoted fields with "" for a quote).
QStringList decouperCSV(const QString& ligne);
