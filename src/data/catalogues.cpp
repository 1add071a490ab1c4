#include "data/catalogues.h"

#include "data/dates.h"
#include "data/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

namespace M = MotifsIgnores;

bool lireFichier(const QString& chemin, QByteArray& donnees, QString* message)
{
    return lireFichierEntier(chemin, donnees, message);
}

void dire(QString* message, const QString& texte)
{
    if (message)
        *message = texte;
}

// Appends the records a reader kept and reports them; `texte` takes the number read.
template <typename T>
bool conclure(std::vector<T>& out, const std::vector<T>& lus, const BilanRejets& rejets, BilanCatalogue* bilan,
              const QString& format, QString* message, const QString& texte)
{
    out.insert(out.end(), lus.begin(), lus.end());
    if (bilan) {
        bilan->format = format;
        bilan->lus = static_cast<int>(lus.size());
        bilan->ignores = rejets.nombre;
        bilan->rejets = rejets;
        bilan->ignoresParMotif = rejets.parMotif;
    }
    QString t = texte.arg(lus.size());
    if (rejets.nombre > 0)
        t += QStringLiteral(" ; ") + rejets.texte(true);
    dire(message, t + QLatin1Char('.'));
    return true;
}

// Text of a file as lines: UTF-8 (with or without byte order mark); bytes that are
// not valid UTF-8 are taken as Latin-1 so that older exports still read.
QStringList lignesTexte(const QByteArray& donnees)
{
    QByteArray d = donnees;
    if (d.startsWith("\xEF\xBB\xBF"))
        d.remove(0, 3);
    QString texte = QString::fromUtf8(d);
    if (texte.contains(QChar::ReplacementCharacter))
        texte = QString::fromLatin1(d);
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texte.split(QLatin1Char('\n'));
}

// A number with "." as decimal point, blanks around it allowed; false when empty
// or not a number.
bool reel(const QString& texte, double& v)
{
    const QString t = texte.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    v = t.toDouble(&ok);
    return ok && std::isfinite(v);
}

bool positionValide(double lat, double lon)
{
    return lat >= -90.0 && lat <= 90.0 && lon >= -bornes::LongitudeMax && lon <= bornes::LongitudeMax;
}

QString cle(const QString& nomColonne)
{
    QString c = nomColonne.trimmed().toLower();
    if (c.startsWith(QLatin1Char('"')) && c.endsWith(QLatin1Char('"')) && c.size() >= 2)
        c = c.mid(1, c.size() - 2).trimmed();
    return c;
}

// Index of the first column whose (lower-cased) name is one of `noms`, or -1.
int colonne(const QStringList& entetes, std::initializer_list<const char*> noms)
{
    for (const char* n : noms) {
        const int i = entetes.indexOf(QString::fromLatin1(n));
        if (i >= 0)
            return i;
    }
    return -1;
}

QString champ(const QStringList& ligne, int i)
{
    return (i >= 0 && i < ligne.size()) ? ligne[i].trimmed() : QString();
}

// One record of a CSV file: its text and the 1-based number of its first line.
struct LigneCSV {
    int numero;
    QString texte;
};

// A quoted field may hold line breaks, but never more than this many: a quote
// still open after them is a stray one.
constexpr int LignesParChampMax = 50;

int nombreGuillemets(const QString& l)
{
    return static_cast<int>(l.count(QLatin1Char('"')));
}

// Cuts the lines from `debut` into records in one pass: physical lines are joined
// while a quoted field is still open, up to LignesParChampMax lines. A quote that
// does not close within them is an error of its line: that line is reported in
// `rejets` and reading goes on with the next one, so that one stray quote costs
// one row and not the rest of the file.
std::vector<LigneCSV> lignesCSV(const QStringList& lignes, int debut, BilanRejets* rejets = nullptr)
{
    std::vector<LigneCSV> out;
    out.reserve(static_cast<std::size_t>(std::max<qsizetype>(0, lignes.size() - debut)));
    const int n = static_cast<int>(lignes.size());
    int i = debut;
    while (i < n) {
        bool ouverte = nombreGuillemets(lignes[i]) % 2 != 0;
        if (!ouverte) {
            out.push_back({i + 1, lignes[i]});
            ++i;
            continue;
        }
        int j = i + 1;
        while (ouverte && j < n && j - i < LignesParChampMax) {
            if (nombreGuillemets(lignes[j]) % 2 != 0)
                ouverte = false;
            ++j;
        }
        if (ouverte) {
            if (rejets)
                rejets->noter(i + 1, QStringLiteral("guillemet non fermé"), M::GuillemetNonFerme);
            ++i;
            continue;
        }
        QString texte = lignes[i];
        for (int k = i + 1; k < j; ++k)
            texte += QLatin1Char('\n') + lignes[k];
        out.push_back({i + 1, std::move(texte)});
        i = j;
    }
    return out;
}

// ---- earthquakes ---------------------------------------------------------------

bool typeEstSeisme(const QString& type)
{
    const QString t = type.trimmed().toLower();
    return t.isEmpty() || t.contains(QLatin1String("earthquake"));
}

// "MM/DD/YYYY" and "hh:mm:ss" of the NEIC table.
bool dateNEIC(const QString& date, const QString& heure, double& jours)
{
    static const QRegularExpression reD(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{1,4})\\s*$"));
    const auto m = reD.match(date);
    if (!m.hasMatch()) {
        // Some rows of that table hold an ISO time stamp instead.
        return dateHeureISO(date, jours);
    }
    double j = 0;
    if (!joursDepuis1899(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt(), j))
        return false;
    static const QRegularExpression reH(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2}):(\\d{1,2}(?:\\.\\d*)?)\\s*$"));
    const auto h = reH.match(heure);
    if (h.hasMatch()) {
        const int hh = h.captured(1).toInt();
        const int mm = h.captured(2).toInt();
        const double ss = h.captured(3).toDouble();
        if (hh > 23 || mm > 59 || ss >= 61)
            return false;
        j += (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
    } else if (!heure.trimmed().isEmpty()) {
        return false;
    }
    jours = j;
    return true;
}

struct DispositionSeismes {
    QString nom;
    int date = -1, heure = -1, lat = -1, lon = -1, prof = -1, mag = -1, type = -1;
    bool dateUS = false;   // date and time in two columns, MM/DD/YYYY
    bool filtreType = false;
};

bool reconnaitreSeismes(const QStringList& e, DispositionSeismes& d)
{
    auto has = [&](const char* n) { return e.contains(QString::fromLatin1(n)); };
    d.lat = colonne(e, {"latitude", "lat"});
    d.lon = colonne(e, {"longitude", "lon", "long"});
    d.prof = colonne(e, {"depth", "depth_km", "depth (km)"});
    if (d.lat < 0 || d.lon < 0 || d.prof < 0)
        return false;
    if (has("time") && has("mag") && has("latitude")) {
        d.nom = QStringLiteral("USGS ComCat (CSV)");
        d.date = colonne(e, {"time"});
        d.mag = colonne(e, {"mag"});
        d.type = colonne(e, {"type"});
        d.filtreType = true;
        return true;
    }
    if (has("date") && has("time") && has("magnitude")) {
        d.nom = QStringLiteral("USGS/NEIC (CSV)");
        d.date = colonne(e, {"date"});
        d.heure = colonne(e, {"time"});
        d.mag = colonne(e, {"magnitude"});
        d.type = colonne(e, {"type"});
        d.dateUS = true;
        d.filtreType = true;
        return true;
    }
    if (has("mw") && (has("date") || has("time_utc"))) {
        d.nom = QStringLiteral("ISC-GEM (CSV)");
        d.date = colonne(e, {"date", "time_utc"});
        d.mag = colonne(e, {"mw"});
        return true;
    }
    if (has("mag") || has("magnitude")) {
        // A plain table without dates (e.g. teaching data sets).
        d.nom = QStringLiteral("tableau lat/long/depth/mag");
        d.date = colonne(e, {"time", "date", "time_utc"});
        d.mag = colonne(e, {"mag", "magnitude"});
        return true;
    }
    return false;
}

const QString attenduSeismes = QStringLiteral(
    "attendu : un CSV USGS ComCat (time, latitude, longitude, depth, mag…), USGS/NEIC (Date, Time, "
    "Latitude, Longitude, Type, Depth, Magnitude…), ISC-GEM (date, lat, lon, depth, mw…) ou un "
    "GeoJSON USGS");

// An earthquake from values read as doubles: empty text when they are plausible
// (the record is then filled), else the reason.
QString seismeDepuisValeurs(double jours, double lat, double lon, double prof, double mag, TSeisme& s)
{
    const QString raison = verifierValeursSeisme(jours, lat, lon, prof, mag);
    if (!raison.isEmpty())
        return raison;
    s.DateHeure = jours;
    s.Latitude = static_cast<float>(lat);
    s.Longitude = static_cast<float>(ramenerLongitude(lon));
    s.Profondeur = static_cast<float>(prof);
    s.Magnitude = static_cast<float>(mag);
    return QString();
}

bool seismesGeoJSON(const QByteArray& donnees, const QString& nom, std::vector<TSeisme>& out, QString* message,
                    BilanCatalogue* bilan)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(donnees, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject()) {
        dire(message, QStringLiteral("Fichier « %1 » : GeoJSON illisible (%2).").arg(nom, err.errorString()));
        return false;
    }
    const QJsonArray features = doc.object().value(QStringLiteral("features")).toArray();
    if (doc.object().value(QStringLiteral("type")).toString() != QLatin1String("FeatureCollection")) {
        dire(message, QStringLiteral("Fichier « %1 » : %2.").arg(nom, attenduSeismes));
        return false;
    }
    std::vector<TSeisme> lus;
    BilanRejets rejets;
    int numero = 0;
    for (const QJsonValue& fv : features) {
        ++numero;
        const QJsonObject f = fv.toObject();
        const QJsonObject p = f.value(QStringLiteral("properties")).toObject();
        const QJsonArray c = f.value(QStringLiteral("geometry")).toObject().value(QStringLiteral("coordinates")).toArray();
        const QJsonValue mag = p.value(QStringLiteral("mag"));
        const QJsonValue temps = p.value(QStringLiteral("time"));
        const QString type = p.value(QStringLiteral("type")).toString();
        if (!typeEstSeisme(type)) {
            rejets.noter(numero, QStringLiteral("événement « %1 », pas un séisme").arg(type), M::NonSismique);
            continue;
        }
        if (c.size() < 3 || !mag.isDouble() || !temps.isDouble() || !c[0].isDouble() || !c[1].isDouble() ||
            !c[2].isDouble()) {
            const char* motif = c.size() < 2 || !c[0].isDouble() || !c[1].isDouble() ? M::SansPosition
                                : c.size() < 3 || !c[2].isDouble()                    ? M::SansProfondeur
                                : !mag.isDouble()                                      ? M::SansMagnitude
                                                                                       : M::DateIllisible;
            rejets.noter(numero, QStringLiteral("position, profondeur, magnitude ou date manquante"), motif);
            continue;
        }
        // Epoch milliseconds (UTC) to days since 30 December 1899; 1 January 1970 is day 25569.
        const double jours = temps.toDouble() / 86400000.0 + 25569.0;
        TSeisme s;
        const QString raison = seismeDepuisValeurs(jours, c[1].toDouble(), c[0].toDouble(), c[2].toDouble(),
                                                   mag.toDouble(), s);
        if (!raison.isEmpty()) {
            rejets.noter(numero, raison, M::HorsLimites);
            continue;
        }
        lus.push_back(s);
    }
    const bool ok = conclure(out, lus, rejets, bilan, QStringLiteral("USGS GeoJSON"), message,
                             QStringLiteral("%1 séismes lus"));
    // Features are counted, not lines.
    if (message && rejets.nombre > 0)
        *message = QStringLiteral("%1 séismes lus ; %2.").arg(lus.size()).arg(rejets.texte(false));
    return ok;
}

// ---- volcanoes -----------------------------------------------------------------

struct TypeGVP {
    const char* cle;  // upper case, plural marks removed
    int code;
};

// GVP primary types (plural forms "(s)", "(es)" removed) and their type codes.
// A bare "Cone" in the GVP lists denotes small scoria/cinder cones: code 23.
const TypeGVP typesGVP[] = {
    {"STRATOVOLCANO", 20},     {"SHIELD", 3},              {"SHIELD VOLCANO", 3},
    {"CALDERA", 11},           {"LAVA DOME", 13},          {"SUBMARINE", 6},
    {"SUBMARINE VOLCANO", 6},  {"FISSURE VENT", 1},        {"VOLCANIC FIELD", 2},
    {"CONE", 23},              {"SCORIA CONE", 23},        {"CINDER CONE", 15},
    {"PYROCLASTIC CONE", 24},  {"MAAR", 10},               {"TUFF CONE", 21},
    {"TUFF RING", 22},         {"COMPLEX", 27},            {"COMPLEX VOLCANO", 27},
    {"COMPOUND", 26},          {"COMPOUND VOLCANO", 26},   {"SUBGLACIAL", 7},
    {"SUBGLACIAL VOLCANO", 7}, {"CRATER ROW", 5},          {"EXPLOSION CRATER", 12},
    {"PUMICE CONE", 14},       {"HYDROTHERMAL FIELD", 30}, {"FUMAROLE FIELD", 31},
    {"LAVA CONE", 4},          {"PYROCLASTIC SHIELD", 25}, {"LAVA FIELD", 2},
    // A tuya is a flat-topped, steep-sided volcano built by eruptions under an ice
    // sheet: a subglacial volcano.
    {"TUYA", 7},
};

QString sansPluriel(const QString& t)
{
    QString s = t.toUpper();
    static const QRegularExpression re(QStringLiteral("\\((?:S|ES)\\)"));
    s.remove(re);
    s = s.simplified();
    if (s.endsWith(QLatin1String("ROWS")))
        s.chop(1);
    return s;
}

struct DispositionVolcans {
    int numero = -1, nom = -1, type = -1, preuve = -1, eruption = -1, lat = -1, lon = -1, alt = -1;
};

QStringList entetesCles(const QString& ligne)
{
    QStringList e = decouperCSV(ligne);
    for (QString& c : e)
        c = cle(c);
    return e;
}

// Finds the header line of a GVP list (a banner line may come first).
int trouverEnteteGVP(const QStringList& lignes, const char* colonneRequise)
{
    const int n = std::min<int>(lignes.size(), 10);
    for (int i = 0; i < n; ++i) {
        const QStringList e = entetesCles(lignes[i]);
        if (e.contains(QLatin1String("volcano number")) && e.contains(QString::fromLatin1(colonneRequise)))
            return i;
    }
    return -1;
}

TVolcan volcanDepuis(const QString& nom, double lat, double lon, double alt, int type, int activite)
{
    TVolcan v;
    // The binary file keeps only 24 name characters: longer names are cut here so
    // that what is written is what is read back.
    QByteArray b = toCp1252(nom.trimmed());
    if (b.size() > 24)
        b.truncate(24);
    v.Nom.assignBytes(b.constData(), static_cast<int>(b.size()));
    v.Latitude = static_cast<float>(lat);
    v.Longitude = static_cast<float>(ramenerLongitude(lon));
    v.Altitude = versSimple(alt);
    v.TypeVolcan = static_cast<std::uint8_t>(type);
    v.Activite = static_cast<std::uint8_t>(activite);
    return v;
}

// Activity of a row of a GVP volcano list: the dated class of its last known
// eruption; an undated volcano of the Holocene list "U " (probably active in the
// Holocene); a row of the Pleistocene list (no activity evidence, no eruption)
// "Q " (probably active in the Quaternary).
int activiteLigneGVP(const QString& eruption, const QString& preuve)
{
    const int a = activiteDerniereEruption(eruption);
    if (a != 0)
        return a;
    const QString e = eruption.trimmed().toLower();
    const QString p = preuve.trimmed().toLower();
    if (e.contains(QLatin1String("pleistocene")) || (e.isEmpty() && p.isEmpty()))
        return 9;
    if (p.contains(QLatin1String("uncertain")) || p.contains(QLatin1String("credible")) ||
        p.contains(QLatin1String("unrest")) || p.contains(QLatin1String("holocene")))
        return 8;
    return 0;
}

bool volcansListeGVP(const QStringList& lignes, int entete, const QString& nom, std::vector<TVolcan>& out,
                     std::vector<int>* numeros, QString* message, BilanCatalogue* bilan)
{
    const QStringList e = entetesCles(lignes[entete]);
    DispositionVolcans d;
    d.numero = colonne(e, {"volcano number"});
    d.nom = colonne(e, {"volcano name"});
    d.type = colonne(e, {"primary volcano type"});
    d.preuve = colonne(e, {"activity evidence"});
    d.eruption = colonne(e, {"last known eruption"});
    d.lat = colonne(e, {"latitude"});
    d.lon = colonne(e, {"longitude"});
    d.alt = colonne(e, {"elevation (m)", "elevation"});
    if (d.nom < 0 || d.lat < 0 || d.lon < 0 || d.type < 0) {
        dire(message, QStringLiteral("Fichier « %1 » : colonnes de la liste GVP incomplètes (attendu : Volcano "
                                     "Name, Primary Volcano Type, Last Known Eruption, Latitude, Longitude, "
                                     "Elevation (m)).")
                          .arg(nom));
        return false;
    }
    std::vector<TVolcan> lus;
    std::vector<int> nums;
    BilanRejets rejets;
    for (const LigneCSV& l : lignesCSV(lignes, entete + 1, &rejets)) {
        if (l.texte.trimmed().isEmpty())
            continue;
        const QStringList c = decouperCSV(l.texte);
        double lat = 0, lon = 0, alt = -10000;
        if (!reel(champ(c, d.lat), lat) || !reel(champ(c, d.lon), lon)) {
            rejets.noter(l.numero, QStringLiteral("latitude ou longitude illisible"), M::SansPosition);
            continue;
        }
        if (champ(c, d.nom).isEmpty()) {
            rejets.noter(l.numero, QStringLiteral("nom manquant"), M::SansNom);
            continue;
        }
        if (!reel(champ(c, d.alt), alt))
            alt = -10000;  // unknown elevation: not displayed
        const QString raison = verifierValeursVolcan(lat, lon, alt);
        if (!raison.isEmpty()) {
            rejets.noter(l.numero, raison, M::HorsLimites);
            continue;
        }
        const int type = typeVolcanGVP(champ(c, d.type));
        const int act = activiteLigneGVP(champ(c, d.eruption), champ(c, d.preuve));
        lus.push_back(volcanDepuis(champ(c, d.nom), lat, lon, alt, type, act));
        nums.push_back(champ(c, d.numero).toInt());
    }
    if (numeros)
        numeros->insert(numeros->end(), nums.begin(), nums.end());
    return conclure(out, lus, rejets, bilan, QStringLiteral("GVP, liste des volcans (CSV)"), message,
                    QStringLiteral("%1 volcans lus"));
}

struct Eruption {
    int annee = 0;
    bool confirmee = false;
};

int anneeEruption(const QStringList& c, int colAnnee)
{
    bool ok = false;
    const int a = champ(c, colAnnee).toInt(&ok);
    return ok ? a : std::numeric_limits<int>::min();
}

// One volcano per volcano number of an eruption list, with the activity of its
// latest confirmed eruption; the type is unknown (0) and so is the elevation.
bool volcansDepuisEruptions(const QStringList& lignes, int entete, const QString& nom, std::vector<TVolcan>& out,
                            QString* message, BilanCatalogue* bilan)
{
    const QStringList e = entetesCles(lignes[entete]);
    const int cNum = colonne(e, {"volcano number"}), cNom = colonne(e, {"volcano name"});
    const int cCat = colonne(e, {"eruption category"}), cAn = colonne(e, {"start year"});
    const int cLat = colonne(e, {"latitude"}), cLon = colonne(e, {"longitude"});
    if (cNum < 0 || cNom < 0 || cAn < 0 || cLat < 0 || cLon < 0) {
        dire(message, QStringLiteral("Fichier « %1 » : colonnes de la liste d'éruptions GVP incomplètes (attendu : "
                                     "Volcano Number, Volcano Name, Start Year, Latitude, Longitude).")
                          .arg(nom));
        return false;
    }
    struct V {
        QString nom;
        double lat, lon;
        int annee;
        int ordre;
    };
    std::map<int, V> parVolcan;
    BilanRejets rejets;
    int ordre = 0;
    for (const LigneCSV& l : lignesCSV(lignes, entete + 1, &rejets)) {
        if (l.texte.trimmed().isEmpty())
            continue;
        const QStringList c = decouperCSV(l.texte);
        double lat = 0, lon = 0;
        bool ok = false;
        const int num = champ(c, cNum).toInt(&ok);
        if (!ok || !reel(champ(c, cLat), lat) || !reel(champ(c, cLon), lon)) {
            rejets.noter(l.numero, QStringLiteral("numéro, latitude ou longitude illisible"), ok ? M::SansPosition : M::SansNumero);
            continue;
        }
        const QString raison = verifierValeursVolcan(lat, lon, -10000);
        if (!raison.isEmpty()) {
            rejets.noter(l.numero, raison, M::HorsLimites);
            continue;
        }
        const bool confirmee = cCat < 0 || champ(c, cCat).toLower().contains(QLatin1String("confirmed"));
        const int annee = confirmee ? anneeEruption(c, cAn) : std::numeric_limits<int>::min();
        auto it = parVolcan.find(num);
        if (it == parVolcan.end())
            parVolcan.emplace(num, V{champ(c, cNom), lat, lon, annee, ordre++});
        else
            it->second.annee = std::max(it->second.annee, annee);
    }
    std::vector<const V*> ordonnes;
    for (const auto& kv : parVolcan)
        ordonnes.push_back(&kv.second);
    std::sort(ordonnes.begin(), ordonnes.end(), [](const V* a, const V* b) { return a->ordre < b->ordre; });
    std::vector<TVolcan> lus;
    for (const V* v : ordonnes) {
        const int act = v->annee == std::numeric_limits<int>::min() ? 0 : activiteDepuisAnnee(v->annee);
        lus.push_back(volcanDepuis(v->nom, v->lat, v->lon, -10000, 0, act));
    }
    return conclure(out, lus, rejets, bilan, QStringLiteral("GVP, liste des éruptions (CSV)"), message,
                    QStringLiteral("%1 volcans lus"));
}

// ---- GPS -----------------------------------------------------------------------

TStationGPS stationDepuis(const QString& code, double lat, double lon, double hauteurM, double vN, double vE,
                          double vU, double sN, double sE, double sU)
{
    TStationGPS s;
    QByteArray b = toCp1252(code.trimmed());
    if (b.size() > 4)
        b.truncate(4);
    s.Nom.assignBytes(b.constData(), static_cast<int>(b.size()));
    s.Affiche = 1;
    s.Latitude = lat;
    s.Longitude = lon;
    s.Altitude = hauteurM * 1000.0;  // the station table shows heights in mm
    s.VitLat = vN;
    s.VitLong = vE;
    s.VitAlt = vU;
    s.IncVitLat = sN;
    s.IncVitLong = sE;
    s.IncVitAlt = sU;
    return s;
}

// The reason kind of a station refused by stationUtilisable.
const char* motifStation(const TStationGPS& s)
{
    if (s.Nom.Len == 0)
        return M::SansNom;
    if (s.IncVitLat == 0)
        return M::VitesseInutilisable;
    return M::HorsLimites;
}

void numeroter(std::vector<TStationGPS>& out, std::size_t depuis)
{
    for (std::size_t i = depuis; i < out.size(); ++i)
        out[i].Rang = static_cast<std::int16_t>(std::min<std::size_t>(i, 32767));
}

// A station is kept only with a code, a usable north-velocity uncertainty (the
// program treats an uncertainty of exactly 0 as "no velocity") and plausible
// values; empty text when it is kept, else why not. The longitude is normalised.
QString stationUtilisable(TStationGPS& s)
{
    if (s.Nom.Len == 0)
        return QStringLiteral("code de station manquant");
    if (s.IncVitLat == 0)
        return QStringLiteral("incertitude de la vitesse nord nulle");
    return verifierStation(s);
}

bool gpsCSV(const QStringList& lignes, const QString& nom, std::vector<TStationGPS>& out, QString* message,
            BilanCatalogue* bilan)
{
    int entete = 0;
    while (entete < lignes.size() && (lignes[entete].trimmed().isEmpty() || lignes[entete].startsWith('#')))
        ++entete;
    if (entete >= lignes.size()) {
        dire(message, QStringLiteral("Fichier « %1 » vide.").arg(nom));
        return false;
    }
    const QStringList e = entetesCles(lignes[entete]);
    const int cSta = colonne(e, {"station", "site", "sta", "code"});
    const int cLat = colonne(e, {"latitude", "lat"}), cLon = colonne(e, {"longitude", "lon", "long"});
    const int cH = colonne(e, {"height_m", "height", "hgt(m)", "height (m)"});
    const int cVE = colonne(e, {"ve_mm_yr", "ve"}), cVN = colonne(e, {"vn_mm_yr", "vn"});
    const int cVU = colonne(e, {"vu_mm_yr", "vu"});
    const int cSE = colonne(e, {"se_mm_yr", "se"}), cSN = colonne(e, {"sn_mm_yr", "sn"});
    const int cSU = colonne(e, {"su_mm_yr", "su"});
    if (cSta < 0 || cLat < 0 || cLon < 0 || cVE < 0 || cVN < 0 || cSN < 0) {
        dire(message, QStringLiteral("Fichier « %1 » : colonnes non reconnues (attendu : station, latitude, "
                                     "longitude, height_m, vE_mm_yr, vN_mm_yr, vU_mm_yr, sE_mm_yr, sN_mm_yr, "
                                     "sU_mm_yr ; ou une table de vitesses MIDAS de l'UNR).")
                          .arg(nom));
        return false;
    }
    const std::size_t depuis = out.size();
    std::vector<TStationGPS> lus;
    BilanRejets rejets;
    for (const LigneCSV& l : lignesCSV(lignes, entete + 1, &rejets)) {
        if (l.texte.trimmed().isEmpty() || l.texte.startsWith('#'))
            continue;
        const QStringList c = decouperCSV(l.texte);
        double lat, lon, h = 0, ve, vn, vu = 0, se = 0, sn, su = 0;
        if (!reel(champ(c, cLat), lat) || !reel(champ(c, cLon), lon) || !reel(champ(c, cVE), ve) ||
            !reel(champ(c, cVN), vn) || !reel(champ(c, cSN), sn)) {
            rejets.noter(l.numero, QStringLiteral("position ou vitesse illisible"),
                         reel(champ(c, cLat), lat) && reel(champ(c, cLon), lon) ? M::SansVitesse : M::SansPosition);
            continue;
        }
        reel(champ(c, cH), h);
        reel(champ(c, cVU), vu);
        reel(champ(c, cSE), se);
        reel(champ(c, cSU), su);
        TStationGPS s = stationDepuis(champ(c, cSta), lat, lon, h, vn, ve, vu, sn, se, su);
        const QString raison = stationUtilisable(s);
        if (!raison.isEmpty()) {
            rejets.noter(l.numero, raison, motifStation(s));
            continue;
        }
        lus.push_back(s);
    }
    conclure(out, lus, rejets, bilan, QStringLiteral("vitesses GPS (CSV)"), message,
             QStringLiteral("%1 stations lues"));
    numeroter(out, depuis);
    return true;
}

bool estTableMidas(const QByteArray& donnees)
{
    const int fin = donnees.indexOf('\n');
    const QByteArray l = donnees.left(fin < 0 ? 200 : fin).simplified();
    const QList<QByteArray> f = l.split(' ');
    return f.size() >= 24 && f[1].startsWith("MIDAS");
}

} // namespace

// ---- public --------------------------------------------------------------------

QStringList decouperCSV(const QString& ligne)
{
    QStringList champs;
    QString courant;
    bool guillemets = false;
    for (int i = 0; i < ligne.size(); ++i) {
        const QChar ch = ligne[i];
        if (guillemets) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < ligne.size() && ligne[i + 1] == QLatin1Char('"')) {
                    courant += QLatin1Char('"');
                    ++i;
                } else {
                    guillemets = false;
                }
            } else {
                courant += ch;
            }
        } else if (ch == QLatin1Char('"')) {
            guillemets = true;
        } else if (ch == QLatin1Char(',')) {
            champs << courant;
            courant.clear();
        } else {
            courant += ch;
        }
    }
    champs << courant;
    return champs;
}

bool dateHeureISO(const QString& texte, double& jours)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(-?\\d{1,4})-(\\d{1,2})-(\\d{1,2})(?:[T ]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}(?:\\.\\d*)?))?)?\\s*Z?\\s*$"));
    const auto m = re.match(texte);
    if (!m.hasMatch())
        return false;
    double j = 0;
    if (!joursDepuis1899(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), j))
        return false;
    if (m.capturedLength(4) > 0) {
        const int hh = m.captured(4).toInt(), mm = m.captured(5).toInt();
        const double ss = m.capturedLength(6) > 0 ? m.captured(6).toDouble() : 0.0;
        if (hh > 23 || mm > 59 || ss >= 61)
            return false;
        j += (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
    }
    jours = j;
    return true;
}

bool lireSeismesDepuis(const QByteArray& donnees, const QString& nom, std::vector<TSeisme>& out, QString* message,
                       BilanCatalogue* bilan)
{
    const QByteArray debut = donnees.left(4096).trimmed();
    if (debut.startsWith('{') || debut.startsWith("\xEF\xBB\xBF{"))
        return seismesGeoJSON(donnees, nom, out, message, bilan);

    const QStringList lignes = lignesTexte(donnees);
    // The header is the first line that is not a comment; tables whose header sits
    // in their last comment line (ISC-GEM) start directly with data.
    int premiere = 0;
    QString dernierCommentaire;
    while (premiere < lignes.size() &&
           (lignes[premiere].startsWith('#') || lignes[premiere].trimmed().isEmpty())) {
        if (lignes[premiere].startsWith('#'))
            dernierCommentaire = lignes[premiere].mid(1);
        ++premiere;
    }
    if (premiere >= lignes.size()) {
        dire(message, QStringLiteral("Fichier « %1 » : aucune donnée (%2).").arg(nom, attenduSeismes));
        return false;
    }
    DispositionSeismes d;
    int debutDonnees = premiere + 1;
    if (!reconnaitreSeismes(entetesCles(lignes[premiere]), d)) {
        if (dernierCommentaire.isEmpty() || !reconnaitreSeismes(entetesCles(dernierCommentaire), d)) {
            dire(message, QStringLiteral("Fichier « %1 » : colonnes non reconnues (%2).").arg(nom, attenduSeismes));
            return false;
        }
        debutDonnees = premiere;
    }
    std::vector<TSeisme> lus;
    BilanRejets rejets;
    for (const LigneCSV& l : lignesCSV(lignes, debutDonnees, &rejets)) {
        if (l.texte.trimmed().isEmpty() || l.texte.startsWith('#'))
            continue;
        const QStringList c = decouperCSV(l.texte);
        if (d.filtreType && d.type >= 0 && !typeEstSeisme(champ(c, d.type))) {
            rejets.noter(l.numero, QStringLiteral("événement « %1 », pas un séisme").arg(champ(c, d.type)), M::NonSismique);
            continue;
        }
        double lat, lon, prof, mag, jours = 0;
        if (!reel(champ(c, d.lat), lat) || !reel(champ(c, d.lon), lon)) {
            rejets.noter(l.numero, QStringLiteral("latitude ou longitude illisible"), M::SansPosition);
            continue;
        }
        if (!reel(champ(c, d.prof), prof)) {
            rejets.noter(l.numero,
                         champ(c, d.prof).isEmpty() ? QStringLiteral("profondeur manquante")
                                                    : QStringLiteral("profondeur illisible"),
                         M::SansProfondeur);
            continue;
        }
        if (!reel(champ(c, d.mag), mag)) {
            rejets.noter(l.numero,
                         champ(c, d.mag).isEmpty() ? QStringLiteral("magnitude manquante")
                                                   : QStringLiteral("magnitude illisible"),
                         M::SansMagnitude);
            continue;
        }
        if (d.date >= 0) {
            const bool ok = d.dateUS ? dateNEIC(champ(c, d.date), champ(c, d.heure), jours)
                                     : dateHeureISO(champ(c, d.date), jours);
            if (!ok) {
                rejets.noter(l.numero, QStringLiteral("date illisible"), M::DateIllisible);
                continue;
            }
        }
        TSeisme s;
        const QString raison = seismeDepuisValeurs(jours, lat, lon, prof, mag, s);
        if (!raison.isEmpty()) {
            rejets.noter(l.numero, raison, M::HorsLimites);
            continue;
        }
        lus.push_back(s);
    }
    return conclure(out, lus, rejets, bilan, d.nom, message, QStringLiteral("%1 séismes lus"));
}

bool lireCatalogueSeismes(const QString& chemin, std::vector<TSeisme>& out, QString* message, BilanCatalogue* bilan)
{
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, message))
        return false;
    return lireSeismesDepuis(donnees, nomAffiche(chemin), out, message, bilan);
}

int typeVolcanGVP(const QString& typePrincipal)
{
    const QString t = sansPluriel(typePrincipal);
    if (t.isEmpty())
        return 0;
    for (const TypeGVP& g : typesGVP)
        if (t == QLatin1String(g.cle))
            return g.code;
    // Longer texts ("Stratovolcano / Caldera", "Lava domes and cones"): the longest
    // known type found inside wins.
    int meilleur = 0;
    qsizetype longueur = 0;
    for (const TypeGVP& g : typesGVP) {
        const QLatin1String k(g.cle);
        if (k.size() > longueur && t.contains(k)) {
            meilleur = g.code;
            longueur = k.size();
        }
    }
    return meilleur;
}

int activiteDepuisAnnee(int annee)
{
    if (annee >= 1964)
        return 1;
    if (annee >= 1900)
        return 2;
    if (annee >= 1800)
        return 3;
    if (annee >= 1700)
        return 4;
    if (annee >= 1500)
        return 5;
    if (annee >= 1)
        return 6;
    return 7;
}

int activiteDerniereEruption(const QString& texte)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,5})\\s*(CE|BCE|AD|BC)?\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(texte);
    if (!m.hasMatch())
        return 0;
    const int an = m.captured(1).toInt();
    const QString ere = m.captured(2).toUpper();
    if (ere == QLatin1String("BCE") || ere == QLatin1String("BC"))
        return 7;
    if (an == 0)
        return 7;
    return activiteDepuisAnnee(an);
}

bool lireListeVolcansGVP(const QByteArray& donnees, const QString& nom, std::vector<TVolcan>& out,
                         std::vector<int>& numeros, QString* message, BilanCatalogue* bilan)
{
    const QStringList lignes = lignesTexte(donnees);
    const int entete = trouverEnteteGVP(lignes, "primary volcano type");
    if (entete < 0) {
        dire(message, QStringLiteral("Fichier « %1 » : ce n'est pas une liste de volcans GVP (ligne d'en-tête "
                                     "« Volcano Number, Volcano Name, …, Primary Volcano Type, … » attendue).")
                          .arg(nom));
        return false;
    }
    return volcansListeGVP(lignes, entete, nom, out, &numeros, message, bilan);
}

bool lireEruptionsGVP(const QByteArray& donnees, const QString& nom, std::map<int, int>& derniereAnnee,
                      QString* message)
{
    const QStringList lignes = lignesTexte(donnees);
    const int entete = trouverEnteteGVP(lignes, "start year");
    if (entete < 0) {
        dire(message, QStringLiteral("Fichier « %1 » : ce n'est pas une liste d'éruptions GVP (colonnes « Volcano "
                                     "Number », « Eruption Category », « Start Year » attendues).")
                          .arg(nom));
        return false;
    }
    const QStringList e = entetesCles(lignes[entete]);
    const int cNum = colonne(e, {"volcano number"}), cCat = colonne(e, {"eruption category"});
    const int cAn = colonne(e, {"start year"});
    for (const LigneCSV& l : lignesCSV(lignes, entete + 1)) {
        const QStringList c = decouperCSV(l.texte);
        bool ok = false;
        const int num = champ(c, cNum).toInt(&ok);
        if (!ok)
            continue;
        if (cCat >= 0 && !champ(c, cCat).toLower().contains(QLatin1String("confirmed")))
            continue;
        bool okA = false;
        const int an = champ(c, cAn).toInt(&okA);
        if (!okA)
            continue;
        auto it = derniereAnnee.find(num);
        if (it == derniereAnnee.end())
            derniereAnnee.emplace(num, an);
        else
            it->second = std::max(it->second, an);
    }
    dire(message, QStringLiteral("%1 volcans dans la liste d'éruptions.").arg(derniereAnnee.size()));
    return true;
}

int appliquerEruptions(std::vector<TVolcan>& volcans, const std::vector<int>& numeros,
                       const std::map<int, int>& derniereAnnee)
{
    int changes = 0;
    const std::size_t n = std::min(volcans.size(), numeros.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto it = derniereAnnee.find(numeros[i]);
        if (it == derniereAnnee.end())
            continue;
        const int code = activiteDepuisAnnee(it->second);
        const int actuel = volcans[i].Activite;
        // Dated classes run from 1 (most recent) to 7; 0, 8 and 9 are undated.
        const bool plusRecent = actuel == 0 || actuel > 7 || code < actuel;
        if (plusRecent && code != actuel) {
            volcans[i].Activite = static_cast<std::uint8_t>(code);
            ++changes;
        }
    }
    return changes;
}

bool lireVolcansDepuis(const QByteArray& donnees, const QString& nom, std::vector<TVolcan>& out, QString* message,
                       BilanCatalogue* bilan)
{
    const QStringList lignes = lignesTexte(donnees);
    int entete = trouverEnteteGVP(lignes, "primary volcano type");
    if (entete >= 0)
        return volcansListeGVP(lignes, entete, nom, out, nullptr, message, bilan);
    entete = trouverEnteteGVP(lignes, "start year");
    if (entete >= 0)
        return volcansDepuisEruptions(lignes, entete, nom, out, message, bilan);
    dire(message, QStringLiteral("Fichier « %1 » : colonnes non reconnues (attendu : une liste de volcans GVP avec "
                                 "Volcano Number, Volcano Name, Primary Volcano Type, Last Known Eruption, Latitude, "
                                 "Longitude, Elevation (m), ou une liste d'éruptions GVP).")
                      .arg(nom));
    return false;
}

bool lireCatalogueVolcans(const QString& chemin, std::vector<TVolcan>& out, QString* message, BilanCatalogue* bilan)
{
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, message))
        return false;
    return lireVolcansDepuis(donnees, nomAffiche(chemin), out, message, bilan);
}

bool lireMidas(const QByteArray& vitesses, const QByteArray& stationsNGL, const QString& nom,
               std::vector<TStationGPS>& out, QString* message, BilanCatalogue* bilan, double dureeMini)
{
    if (!estTableMidas(vitesses)) {
        dire(message, QStringLiteral("Fichier « %1 » : ce n'est pas une table MIDAS (24 champs par ligne : station, "
                                     "version MIDAS, époques, vitesses en m/an…).")
                          .arg(nom));
        return false;
    }
    struct Pos {
        double lat, lon, h;
    };
    std::unordered_map<std::string, Pos> positions;
    for (const QByteArray& l : stationsNGL.split('\n')) {
        const QList<QByteArray> f = l.simplified().split(' ');
        if (f.size() < 4)
            continue;
        bool a, b, c;
        const double lat = f[1].toDouble(&a), lon = f[2].toDouble(&b), h = f[3].toDouble(&c);
        if (a && b && c && positionValide(lat, lon))
            positions[f[0].toStdString()] = {lat, lon, h};
    }
    if (positions.empty()) {
        dire(message, QStringLiteral("Fichier « %1 » : liste des stations NGL vide ou illisible (colonnes Sta "
                                     "Lat(deg) Long(deg) Hgt(m) attendues).")
                          .arg(nom));
        return false;
    }
    const std::size_t depuis = out.size();
    std::vector<TStationGPS> lus;
    BilanRejets rejets;
    int numero = 0;
    for (const QByteArray& l : vitesses.split('\n')) {
        ++numero;
        const QList<QByteArray> f = l.simplified().split(' ');
        if (f.size() < 14) {
            if (!l.trimmed().isEmpty())
                rejets.noter(numero, QStringLiteral("ligne incomplète"), M::Incompletes);
            continue;
        }
        const auto it = positions.find(f[0].toStdString());
        if (it == positions.end()) {
            rejets.noter(numero,
                         QStringLiteral("station « %1 » absente de la liste des stations").arg(QString::fromLatin1(f[0])),
                         M::StationInconnue);
            continue;
        }
        bool ok[7];
        const double duree = f[4].toDouble(&ok[0]);
        const double ve = f[8].toDouble(&ok[1]), vn = f[9].toDouble(&ok[2]), vu = f[10].toDouble(&ok[3]);
        const double se = f[11].toDouble(&ok[4]), sn = f[12].toDouble(&ok[5]), su = f[13].toDouble(&ok[6]);
        if (!std::all_of(ok, ok + 7, [](bool b) { return b; })) {
            rejets.noter(numero, QStringLiteral("nombres illisibles"), M::SansVitesse);
            continue;
        }
        if (duree < dureeMini) {
            rejets.noter(numero, QStringLiteral("série trop courte (%1 ans)").arg(duree), M::SerieCourte);
            continue;
        }
        TStationGPS s = stationDepuis(QString::fromLatin1(f[0]), it->second.lat, it->second.lon, it->second.h,
                                      vn * 1000, ve * 1000, vu * 1000, sn * 1000, se * 1000, su * 1000);
        const QString raison = stationUtilisable(s);
        if (!raison.isEmpty()) {
            rejets.noter(numero, raison, motifStation(s));
            continue;
        }
        lus.push_back(s);
    }
    conclure(out, lus, rejets, bilan, QStringLiteral("UNR MIDAS"), message, QStringLiteral("%1 stations lues"));
    numeroter(out, depuis);
    return true;
}

bool lireGPSDepuis(const QByteArray& donnees, const QString& nom, std::vector<TStationGPS>& out, QString* message,
                   BilanCatalogue* bilan)
{
    if (estTableMidas(donnees)) {
        dire(message, QStringLiteral("Fichier « %1 » : une table MIDAS doit être lue avec la liste des stations "
                                     "de l'UNR (DataHoldings.txt) placée à côté.")
                          .arg(nom));
        return false;
    }
    return gpsCSV(lignesTexte(donnees), nom, out, message, bilan);
}

bool lireCatalogueGPS(const QString& chemin, std::vector<TStationGPS>& out, QString* message, BilanCatalogue* bilan)
{
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, message))
        return false;
    if (estTableMidas(donnees)) {
        // The MIDAS table has no coordinates: they come from the NGL station list
        // published beside it.
        const QDir dossier = QFileInfo(chemin).absoluteDir();
        const QStringList candidats =
            dossier.entryList({QStringLiteral("DataHoldings*.txt"), QStringLiteral("llh*")}, QDir::Files, QDir::Name);
        if (candidats.isEmpty()) {
            dire(message, QStringLiteral("Fichier « %1 » : table MIDAS sans coordonnées ; la liste des stations de "
                                         "l'UNR (DataHoldings.txt) est attendue dans le même dossier.")
                              .arg(nomAffiche(chemin)));
            return false;
        }
        QByteArray liste;
        if (!lireFichier(dossier.filePath(candidats.first()), liste, message))
            return false;
        return lireMidas(donnees, liste, nomAffiche(chemin), out, message, bilan);
    }
    return lireGPSDepuis(donnees, nomAffiche(chemin), out, message, bilan);
}

QByteArray texteGPS(const std::vector<TStationGPS>& stations, const QString& titre)
{
    QByteArray t;
    t += toCp1252(titre) + "\r\n";
    t += "NOM  LAT (deg)      LON (deg)      HAUT (mm)       INC (mm)...\r\n";
    auto nombre = [](double v, int decimales) { return QByteArray::number(v, 'f', decimales); };
    for (const TStationGPS& s : stations) {
        QByteArray code = s.Nom.bytes().left(4);
        while (code.size() < 4)
            code += ' ';
        // An uncertainty too small for the written digits must not read back as 0,
        // which would drop the station.
        const double incVitLat = (s.IncVitLat > 0 && s.IncVitLat < 0.00005) ? 0.0001 : s.IncVitLat;
        t += code + " POS  " + nombre(s.Latitude, 6) + ' ' + nombre(s.Longitude, 6) + ' ' + nombre(s.Altitude, 1) +
             ' ' + nombre(s.IncLatitude, 2) + ' ' + nombre(s.IncLongitude, 2) + ' ' + nombre(s.IncAltitude, 2) + "\r\n";
        t += code + " VEL  " + nombre(s.VitLat, 3) + ' ' + nombre(s.VitLong, 3) + ' ' + nombre(s.VitAlt, 3) + ' ' +
             nombre(incVitLat, 4) + ' ' + nombre(s.IncVitLong, 4) + ' ' + nombre(s.IncVitAlt, 4) + "\r\n";
    }
    return t;
}
