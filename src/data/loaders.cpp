#include "data/loaders.h"

#include "data/catalogues.h"
#include "data/fichiers.h"

#include "data/textimport.h"
#include "data/validation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// Reads a whole file; on failure fills the result's message.
bool lireFichier(const QString& chemin, QByteArray& donnees, ResultatChargement& r)
{
    return lireFichierEntier(chemin, donnees, &r.message);
}

template <typename T>
T lireLE(const char* p)
{
    return qFromLittleEndian<T>(p);
}

template <typename T>
void ecrireLE(char* p, T v)
{
    qToLittleEndian<T>(v, p);
}

// A short string on disk: length byte then `octets` character bytes. The length is
// kept within the string's capacity; characters not stored read as 0.
template <int N>
void lireCourte(const char* p, int octets, ShortString<N>& s)
{
    std::uint8_t len = static_cast<std::uint8_t>(p[0]);
    if (len > N)
        len = N;
    std::memset(s.Ch, 0, sizeof s.Ch);
    std::memcpy(s.Ch, p + 1, static_cast<std::size_t>(octets));
    s.Len = len;
}

template <int N>
void ecrireCourte(char* p, int octets, const ShortString<N>& s)
{
    p[0] = static_cast<char>(s.Len);
    std::memcpy(p + 1, s.Ch, static_cast<std::size_t>(octets));
}

template <typename T, typename Decode>
void decoderTous(const QByteArray& donnees, int taille, std::vector<T>& out, bool* tronque, Decode decode)
{
    const qsizetype n = donnees.size() / taille;
    if (tronque)
        *tronque = donnees.size() % taille != 0;
    const std::size_t debut = out.size();
    out.resize(debut + static_cast<std::size_t>(n));
    const char* p = donnees.constData();
    for (qsizetype i = 0; i < n; ++i, p += taille)
        decode(p, out[debut + static_cast<std::size_t>(i)]);
}

qsizetype tailleEnregistrement(const TSeisme*)
{
    return TailleSeisme;
}
qsizetype tailleEnregistrement(const TVolcan*)
{
    return TailleVolcan;
}
qsizetype tailleEnregistrement(const TStationGPS*)
{
    return TailleStation;
}

// The quick test of each kind (the full check, with its reason, runs only when
// it fails), and the longitude normalisation of a plausible record.
bool plausible(const TSeisme& s)
{
    return seismePlausible(s);
}
bool plausible(const TVolcan&)
{
    return false; // a few thousand records: the full check every time
}
bool plausible(const TStationGPS&)
{
    return false;
}
void normaliser(TSeisme& s)
{
    if (s.Longitude < -180 || s.Longitude > 180)
        s.Longitude = static_cast<float>(ramenerLongitude(static_cast<double>(s.Longitude)));
}
template <typename T>
void normaliser(T&)
{
}

QString verifier(TSeisme& s)
{
    return verifierSeisme(s);
}
QString verifier(TVolcan& v)
{
    return verifierVolcan(v);
}
QString verifier(TStationGPS& s)
{
    return verifierStation(s);
}

// What the messages call one record of each kind.
struct Noms {
    const char* singulier;
    const char* pluriel;
    const char* lu;      // the participle, singular then plural
    const char* lus;
    const char* fichier; // "un fichier de séismes"
    const char* aucun;   // "aucun séisme"
};
Noms noms(const TSeisme*)
{
    return {"séisme", "séismes", "lu", "lus", "un fichier de séismes", "aucun séisme"};
}
Noms noms(const TVolcan*)
{
    return {"volcan", "volcans", "lu", "lus", "un fichier de volcans", "aucun volcan"};
}
Noms noms(const TStationGPS*)
{
    return {"station", "stations", "lue", "lues", "un fichier de stations GPS", "aucune station"};
}

// "1 séisme lu", "12 stations lues".
template <typename T>
QString nombreLu(int n)
{
    const Noms m = noms(static_cast<const T*>(nullptr));
    return n == 1 ? QStringLiteral("1 %1 %2").arg(QString::fromUtf8(m.singulier), QString::fromUtf8(m.lu))
                  : QStringLiteral("%1 %2 %3").arg(n).arg(QString::fromUtf8(m.pluriel), QString::fromUtf8(m.lus));
}

// The sentence of a load that kept some records and skipped others.
template <typename T>
QString texteRejets(const QString& chemin, int lus, const BilanRejets& rejets, bool lignes)
{
    return QStringLiteral("Fichier « %1 » : %2 ; %3.").arg(nomAffiche(chemin), nombreLu<T>(lus), rejets.texte(lignes));
}

// Drops the implausible records of out[debut …] in place, the others keeping their
// order; the first reason and the count go to `rejets`.
template <typename T>
void garderPlausibles(std::vector<T>& out, std::size_t debut, BilanRejets& rejets, qsizetype premierNumero)
{
    std::size_t garde = debut;
    for (std::size_t i = debut; i < out.size(); ++i) {
        T& e = out[i];
        if (plausible(e)) {
            // Valid values: only the longitude may need bringing back.
            normaliser(e);
        } else {
            const QString raison = verifier(e);
            if (!raison.isEmpty()) {
                rejets.noter(static_cast<int>(premierNumero + static_cast<qsizetype>(i - debut)), raison);
                continue;
            }
        }
        if (garde != i)
            out[garde] = e;
        ++garde;
    }
    out.resize(garde);
}

// What a file obviously is when it is not a file of records: a picture, a
// document, an archive, or text. Empty when nothing tells.
QString genreEvident(const QByteArray& d)
{
    struct Signature {
        const char* octets;
        int longueur;
        const char* genre;
    } const signatures[] = {
        {"\xFF\xD8\xFF", 3, "une image JPEG"},   {"\x89PNG\r\n\x1A\n", 8, "une image PNG"},
        {"GIF8", 4, "une image GIF"},             {"BM", 2, "une image BMP"},
        {"%PDF", 4, "un document PDF"},           {"PK\x03\x04", 4, "une archive ZIP ou un document bureautique"},
        {"\x1F\x8B", 2, "une archive gzip"},      {"BZh", 3, "une archive bzip2"},
    };
    for (const Signature& s : signatures)
        if (d.startsWith(QByteArray::fromRawData(s.octets, s.longueur)))
            return QString::fromUtf8(s.genre);
    // Text: every byte of the beginning printable or a line break (records hold
    // binary numbers).
    const qsizetype n = std::min<qsizetype>(d.size(), 512);
    if (n >= 24) {
        bool texte = true;
        for (qsizetype i = 0; i < n && texte; ++i) {
            const auto c = static_cast<unsigned char>(d[i]);
            texte = c == '\n' || c == '\r' || c == '\t' || (c >= 32 && c != 127);
        }
        if (texte)
            return QStringLiteral("un fichier de texte");
    }
    return QString();
}

template <typename T>
ResultatChargement lireBinaire(const QString& chemin, std::vector<T>& out,
                               void (*decoder)(const QByteArray&, std::vector<T>&, bool*))
{
    ResultatChargement r;
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, r))
        return r;

    const std::size_t debut = out.size();
    const qsizetype taille = tailleEnregistrement(static_cast<const T*>(nullptr));
    const qsizetype nombre = donnees.size() / taille;
    const bool tronque = donnees.size() % taille != 0;
    const std::size_t total = static_cast<std::size_t>(nombre);
    out.reserve(debut + total);
    // Decoded and checked by blocks that stay in the processor's cache.
    constexpr qsizetype bloc = 4096;
    BilanRejets rejets;
    for (qsizetype i = 0; i < nombre; i += bloc) {
        const qsizetype m = std::min(bloc, nombre - i);
        const QByteArray morceau = QByteArray::fromRawData(donnees.constData() + i * taille, m * taille);
        const std::size_t avant = out.size();
        decoder(morceau, out, nullptr);
        garderPlausibles(out, avant, rejets, i + 1);
    }
    r.ignores = rejets.nombre;
    r.tronque = tronque;
    const Noms n = noms(static_cast<const T*>(nullptr));
    // A picture, a document or a text that some bytes would read as plausible
    // records: recognised by its signature when records are wrong too (a real
    // file of records, whose first bytes could match a signature by chance, has
    // none wrong).
    const QString genre = genreEvident(donnees);
    if (!genre.isEmpty() && rejets.nombre * 20 >= static_cast<int>(std::max<std::size_t>(total, 1))) {
        out.resize(debut);
        r.message = QStringLiteral("Le fichier « %1 » n'est pas %2 : c'est %3.")
                        .arg(nomAffiche(chemin), QString::fromUtf8(n.fichier), genre);
        return r;
    }
    if (total > 0 && rejets.nombre * 2 > static_cast<int>(total)) {
        out.resize(debut);
        // Mostly garbage: a file of another kind, a picture renamed, random bytes.
        if (total == 1)
            r.message = QStringLiteral("Le fichier « %1 » n'est pas %2 : son seul enregistrement est invalide (%3).")
                            .arg(nomAffiche(chemin), QString::fromUtf8(n.fichier), rejets.raison);
        else
            r.message = QStringLiteral("Le fichier « %1 » n'est pas %2 : %3 enregistrements sur %4 sont invalides "
                                       "(le premier, n° %5 : %6).")
                            .arg(nomAffiche(chemin), QString::fromUtf8(n.fichier))
                            .arg(rejets.nombre)
                            .arg(total)
                            .arg(rejets.premier)
                            .arg(rejets.raison);
        return r;
    }
    r.ok = true;
    r.lus = static_cast<int>(out.size() - debut);
    if (tronque)
        r.message = QStringLiteral("Le fichier « %1 » est tronqué : %2 enregistrements complets ont été lus.")
                        .arg(nomAffiche(chemin))
                        .arg(total);
    if (rejets.nombre > 0) {
        const QString t = texteRejets<T>(chemin, r.lus, rejets, false);
        r.message = r.message.isEmpty() ? t : r.message + QLatin1Char(' ') + t;
    }
    return r;
}

ResultatEcriture ecrireFichier(const QString& chemin, const QByteArray& donnees, int nombre)
{
    ResultatEcriture r;
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) {
        r.message = QStringLiteral("Impossible de créer le fichier « %1 ».").arg(nomAffiche(chemin));
        return r;
    }
    if (f.write(donnees) != donnees.size() || !f.commit()) {
        f.cancelWriting();
        r.message = QStringLiteral("Impossible d'enregistrer le fichier « %1 ».").arg(nomAffiche(chemin));
        return r;
    }
    r.ok = true;
    r.ecrits = nombre;
    return r;
}

}  // namespace

bool estFichierBinaire(const QString& chemin, const char* extensionMajuscule)
{
    return QFileInfo(chemin).suffix().toUpper() == QLatin1String(extensionMajuscule);
}

// ---- Record codecs ---------------------------------------------------------

void decoderSeismes(const QByteArray& donnees, std::vector<TSeisme>& out, bool* tronque)
{
    decoderTous(donnees, TailleSeisme, out, tronque, [](const char* p, TSeisme& s) {
        s.DateHeure = lireLE<double>(p);
        s.Latitude = lireLE<float>(p + 8);
        s.Longitude = lireLE<float>(p + 12);
        s.Profondeur = lireLE<float>(p + 16);
        s.Magnitude = lireLE<float>(p + 20);
    });
}

void decoderVolcans(const QByteArray& donnees, std::vector<TVolcan>& out, bool* tronque)
{
    decoderTous(donnees, TailleVolcan, out, tronque, [](const char* p, TVolcan& v) {
        // Only 24 of the 25 name characters are stored.
        lireCourte(p, 24, v.Nom);
        v.Latitude = lireLE<float>(p + 25);
        v.Longitude = lireLE<float>(p + 29);
        v.Altitude = lireLE<float>(p + 33);
        v.TypeVolcan = static_cast<std::uint8_t>(p[37]);
        v.Activite = static_cast<std::uint8_t>(p[38]);
    });
}

void decoderStations(const QByteArray& donnees, std::vector<TStationGPS>& out, bool* tronque)
{
    decoderTous(donnees, TailleStation, out, tronque, [](const char* p, TStationGPS& s) {
        lireCourte(p, 5, s.Nom);
        s.Rang = lireLE<std::int16_t>(p + 6);
        s.Affiche = static_cast<std::uint8_t>(p[8]);
        double* champs[11] = {&s.Latitude, &s.Longitude, &s.Altitude, &s.IncLatitude, &s.IncLongitude,
                              &s.IncAltitude, &s.VitLat, &s.VitLong, &s.VitAlt, &s.IncVitLat, &s.IncVitLong};
        for (int i = 0; i < 11; ++i)
            *champs[i] = lireLE<double>(p + 12 + 8 * i);
        // The last uncertainty is stored as a single in the last four bytes. Older
        // files hold there the low half of a double, which reads as an arbitrary
        // single: a value that cannot be an uncertainty (not finite, negative or out
        // of all measure) is taken as 0 rather than making the station invalid.
        const float inc = lireLE<float>(p + 100);
        s.IncVitAlt = inc >= 0 && inc <= bornes::IncertitudeVitesseMax ? static_cast<double>(inc) : 0.0;
    });
}

QByteArray encoderSeismes(const std::vector<TSeisme>& seismes)
{
    QByteArray b(static_cast<qsizetype>(seismes.size()) * TailleSeisme, '\0');
    char* p = b.data();
    for (const TSeisme& s : seismes) {
        ecrireLE<double>(p, s.DateHeure);
        ecrireLE<float>(p + 8, s.Latitude);
        ecrireLE<float>(p + 12, s.Longitude);
        ecrireLE<float>(p + 16, s.Profondeur);
        ecrireLE<float>(p + 20, s.Magnitude);
        p += TailleSeisme;
    }
    return b;
}

QByteArray encoderVolcans(const std::vector<TVolcan>& volcans)
{
    QByteArray b(static_cast<qsizetype>(volcans.size()) * TailleVolcan, '\0');
    char* p = b.data();
    for (const TVolcan& v : volcans) {
        ecrireCourte(p, 24, v.Nom);
        ecrireLE<float>(p + 25, v.Latitude);
        ecrireLE<float>(p + 29, v.Longitude);
        ecrireLE<float>(p + 33, v.Altitude);
        p[37] = static_cast<char>(v.TypeVolcan);
        p[38] = static_cast<char>(v.Activite);
        p += TailleVolcan;
    }
    return b;
}

QByteArray encoderStations(const std::vector<TStationGPS>& stations)
{
    QByteArray b(static_cast<qsizetype>(stations.size()) * TailleStation, '\0');
    char* p = b.data();
    for (const TStationGPS& s : stations) {
        ecrireCourte(p, 5, s.Nom);
        ecrireLE<std::int16_t>(p + 6, s.Rang);
        p[8] = 1;
        const double champs[11] = {s.Latitude, s.Longitude, s.Altitude, s.IncLatitude, s.IncLongitude,
                                   s.IncAltitude, s.VitLat, s.VitLong, s.VitAlt, s.IncVitLat, s.IncVitLong};
        for (int i = 0; i < 11; ++i)
            ecrireLE<double>(p + 12 + 8 * i, champs[i]);
        ecrireLE<float>(p + 100, static_cast<float>(s.IncVitAlt));
        p += TailleStation;
    }
    return b;
}

// ---- Reading files ---------------------------------------------------------

namespace {

// Reads a file of a kind whose text import never fails once the file is open.
template <typename T>
ResultatChargement lireSelonExtension(const QString& chemin, std::vector<T>& out, const char* extension,
                                      void (*decoder)(const QByteArray&, std::vector<T>&, bool*),
                                      int (*importer)(const QByteArray&, std::vector<T>&, BilanRejets*, bool*),
                                      const char* forme)
{
    if (estFichierBinaire(chemin, extension))
        return lireBinaire<T>(chemin, out, decoder);
    ResultatChargement r;
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, r))
        return r;
    BilanRejets rejets;
    bool cadre = false;
    r.lus = importer(donnees, out, &rejets, &cadre);
    r.ignores = rejets.nombre;
    if (!cadre) {
        r.message = QStringLiteral("Le fichier « %1 » n'a pas la forme attendue (%2).")
                        .arg(nomAffiche(chemin), QString::fromUtf8(forme));
        return r;
    }
    r.ok = true;
    if (rejets.nombre > 0)
        r.message = texteRejets<T>(chemin, r.lus, rejets, true);
    return r;
}

// Agency catalogues (CSV, GeoJSON) go through their own readers, which recognise the
// layout from the header line.
bool estCatalogue(const QString& chemin, bool geojsonAussi)
{
    const QString ext = QFileInfo(chemin).suffix().toUpper();
    return ext == QLatin1String("CSV") ||
           (geojsonAussi && (ext == QLatin1String("JSON") || ext == QLatin1String("GEOJSON")));
}

template <typename T>
ResultatChargement lireCatalogue(const QString& chemin, std::vector<T>& out,
                                 bool (*lecteur)(const QString&, std::vector<T>&, QString*, BilanCatalogue*))
{
    ResultatChargement r;
    const std::size_t avant = out.size();
    BilanCatalogue bilan;
    QString message;
    r.ok = lecteur(chemin, out, &message, &bilan);
    r.lus = static_cast<int>(out.size() - avant);
    r.ignores = bilan.rejets.nombre;
    if (!r.ok)
        r.message = message;
    else if (bilan.rejets.nombre > 0)
        r.message = QStringLiteral("Fichier « %1 » : %2").arg(nomAffiche(chemin), message);
    return r;
}

constexpr const char* FormeSeismes =
    "un catalogue en colonnes : une ligne de tirets « --------- », puis une ligne par séisme";
constexpr const char* FormeVolcans =
    "une liste en colonnes : une ligne de tirets « --------- », puis une ligne par volcan";

}  // namespace

ResultatChargement lireSeismes(const QString& chemin, std::vector<TSeisme>& out)
{
    if (estCatalogue(chemin, true))
        return lireCatalogue<TSeisme>(chemin, out, &lireCatalogueSeismes);
    return lireSelonExtension<TSeisme>(chemin, out, "FSE", &decoderSeismes, &importerSeismesTexte, FormeSeismes);
}

ResultatChargement lireVolcans(const QString& chemin, std::vector<TVolcan>& out)
{
    if (estCatalogue(chemin, false))
        return lireCatalogue<TVolcan>(chemin, out, &lireCatalogueVolcans);
    return lireSelonExtension<TVolcan>(chemin, out, "FVO", &decoderVolcans, &importerVolcansTexte, FormeVolcans);
}

ResultatChargement lireStations(const QString& chemin, std::vector<TStationGPS>& out)
{
    if (estCatalogue(chemin, false))
        return lireCatalogue<TStationGPS>(chemin, out, &lireCatalogueGPS);
    if (estFichierBinaire(chemin, "GPS"))
        return lireBinaire<TStationGPS>(chemin, out, &decoderStations);
    ResultatChargement r;
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, r))
        return r;
    const std::size_t avant = out.size();
    int ligne = 0;
    BilanRejets rejets;
    bool entete = false;
    r.ok = importerGPSTexte(donnees, out, &ligne, &rejets, &entete);
    r.lus = static_cast<int>(out.size() - avant);
    r.ignores = rejets.nombre;
    r.ligneErreur = r.ok ? 0 : ligne;
    if (!entete) {
        r.ok = false;
        r.message = QStringLiteral("Le fichier « %1 » n'a pas la forme attendue (une table de vitesses GPS : une "
                                   "ligne d'en-tête contenant « LAT », puis des lignes « POS » et « VEL »).")
                        .arg(nomAffiche(chemin));
    } else if (!r.ok) {
        r.message = QStringLiteral("Fichier « %1 » : ligne %2 illisible (nombre attendu) ; %3 avant elle.")
                        .arg(nomAffiche(chemin))
                        .arg(ligne)
                        .arg(nombreLu<TStationGPS>(r.lus));
        if (rejets.nombre > 0)
            r.message += QLatin1Char(' ') + rejets.texte(true) + QLatin1Char('.');
    } else if (rejets.nombre > 0) {
        r.message = texteRejets<TStationGPS>(chemin, r.lus, rejets, true);
    }
    return r;
}

// ---- Store loaders ---------------------------------------------------------

namespace {

// A load that kept nothing changes nothing: it fails, saying so.
template <typename T>
void rienDeValide(const QString& chemin, ResultatChargement& r)
{
    if (!r.ok || r.lus > 0)
        return;
    const Noms n = noms(static_cast<const T*>(nullptr));
    QString t = QStringLiteral("Le fichier « %1 » ne contient %2 valide")
                    .arg(nomAffiche(chemin), QString::fromUtf8(n.aucun));
    if (!r.message.isEmpty())
        t += QStringLiteral(" (") + r.message + QLatin1Char(')');
    r.ok = false;
    r.message = t + QStringLiteral(". Les données affichées sont conservées.");
}

void donneesConservees(ResultatChargement& r)
{
    if (!r.ok && !r.message.isEmpty() && !r.message.contains(QStringLiteral("sont conservées")))
        r.message += QStringLiteral(" Les données affichées sont conservées.");
}

}  // namespace

// ---- Store loaders ---------------------------------------------------------

ResultatChargement chargerSeismes(const QString& chemin, std::vector<TSeisme>& magasin)
{
    std::vector<TSeisme> lus;
    ResultatChargement r = lireSeismes(chemin, lus);
    rienDeValide<TSeisme>(chemin, r);
    if (!r.ok) {
        donneesConservees(r);
        return r;
    }
    magasin = std::move(lus);
    r.remplace = true;
    return r;
}

ResultatChargement chargerVolcans(const QString& chemin, std::vector<TVolcan>& magasin)
{
    std::vector<TVolcan> lus;
    ResultatChargement r = lireVolcans(chemin, lus);
    rienDeValide<TVolcan>(chemin, r);
    if (!r.ok) {
        donneesConservees(r);
        return r;
    }
    magasin = std::move(lus);
    r.remplace = true;
    return r;
}

ResultatChargement chargerStations(const QString& chemin, std::vector<TStationGPS>& magasin)
{
    std::vector<TStationGPS> lus;
    ResultatChargement r = lireStations(chemin, lus);
    // A text import stopped on a bad line keeps what it read before it.
    const bool arretTexte = !r.ok && r.ligneErreur > 0 && !lus.empty();
    if (!arretTexte) {
        rienDeValide<TStationGPS>(chemin, r);
        if (!r.ok) {
            donneesConservees(r);
            return r;
        }
    }
    // Rang as stored in a file may designate nothing in the new store: every
    // station designates itself again.
    for (std::size_t i = 0; i < lus.size(); ++i)
        lus[i].Rang = i <= 32767 ? static_cast<std::int16_t>(i) : std::int16_t(-1);
    magasin = std::move(lus);
    r.remplace = true;
    return r;
}

// ---- Writing files ---------------------------------------------------------

ResultatEcriture ecrireSeismes(const QString& chemin, const std::vector<TSeisme>& seismes)
{
    return ecrireFichier(chemin, encoderSeismes(seismes), static_cast<int>(seismes.size()));
}

ResultatEcriture ecrireVolcans(const QString& chemin, const std::vector<TVolcan>& volcans)
{
    return ecrireFichier(chemin, encoderVolcans(volcans), static_cast<int>(volcans.size()));
}

ResultatEcriture ecrireStationsAffichees(const QString& chemin, const std::vector<TStationGPS>& stations)
{
    std::vector<TStationGPS> affichees;
    for (const TStationGPS& s : stations)
        if (s.Affiche == 1)
            affichees.push_back(s);
    return ecrireFichier(chemin, encoderStations(affichees), static_cast<int>(affichees.size()));
}
