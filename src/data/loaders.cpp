#include "data/loaders.h"

#include "data/catalogues.h"

#include "data/textimport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

QString nomAffiche(const QString& chemin)
{
    return QDir::toNativeSeparators(chemin);
}

// Reads a whole file; on failure fills the result's message.
bool lireFichier(const QString& chemin, QByteArray& donnees, ResultatChargement& r)
{
    QFile f(chemin);
    if (!QFileInfo(chemin).isFile()) {
        r.message = QStringLiteral("Fichier « %1 » non trouvé.").arg(nomAffiche(chemin));
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        r.message = QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(nomAffiche(chemin));
        return false;
    }
    donnees = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.message = QStringLiteral("Erreur de lecture du fichier « %1 ».").arg(nomAffiche(chemin));
        return false;
    }
    return true;
}

void noterTroncature(const QString& chemin, bool tronque, int complets, ResultatChargement& r)
{
    r.tronque = tronque;
    if (tronque)
        r.message = QStringLiteral("Le fichier « %1 » est tronqué : %2 enregistrements complets ont été lus.")
                        .arg(nomAffiche(chemin))
                        .arg(complets);
}

constexpr float IncVitAltMax = 1e6f;  // mm/an

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

template <typename T>
ResultatChargement lireBinaire(const QString& chemin, std::vector<T>& out,
                               void (*decoder)(const QByteArray&, std::vector<T>&, bool*))
{
    ResultatChargement r;
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, r))
        return r;
    const std::size_t avant = out.size();
    bool tronque = false;
    decoder(donnees, out, &tronque);
    r.ok = true;
    r.lus = static_cast<int>(out.size() - avant);
    noterTroncature(chemin, tronque, r.lus, r);
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
        // single: a value that cannot be an uncertainty (not finite, or out of all
        // measure) is taken as 0.
        const float inc = lireLE<float>(p + 100);
        s.IncVitAlt = std::isfinite(inc) && std::fabs(inc) < IncVitAltMax ? static_cast<double>(inc) : 0.0;
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
                                      int (*importer)(const QByteArray&, std::vector<T>&))
{
    if (estFichierBinaire(chemin, extension))
        return lireBinaire<T>(chemin, out, decoder);
    ResultatChargement r;
    QByteArray donnees;
    if (!lireFichier(chemin, donnees, r))
        return r;
    r.ok = true;
    r.lus = importer(donnees, out);
    return r;
}

}  // namespace

namespace {

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
    r.ok = lecteur(chemin, out, &r.message, &bilan);
    r.lus = static_cast<int>(out.size() - avant);
    return r;
}

}  // namespace

ResultatChargement lireSeismes(const QString& chemin, std::vector<TSeisme>& out)
{
    if (estCatalogue(chemin, true))
        return lireCatalogue<TSeisme>(chemin, out, &lireCatalogueSeismes);
    return lireSelonExtension<TSeisme>(chemin, out, "FSE", &decoderSeismes, &importerSeismesTexte);
}

ResultatChargement lireVolcans(const QString& chemin, std::vector<TVolcan>& out)
{
    if (estCatalogue(chemin, false))
        return lireCatalogue<TVolcan>(chemin, out, &lireCatalogueVolcans);
    return lireSelonExtension<TVolcan>(chemin, out, "FVO", &decoderVolcans, &importerVolcansTexte);
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
    r.ok = importerGPSTexte(donnees, out, &ligne);
    r.lus = static_cast<int>(out.size() - avant);
    r.ligneErreur = r.ok ? 0 : ligne;
    if (!r.ok)
        r.message = QStringLiteral("Fichier « %1 » : ligne %2 illisible (nombre attendu).")
                        .arg(nomAffiche(chemin))
                        .arg(ligne);
    return r;
}

// ---- Store loaders ---------------------------------------------------------

ResultatChargement ChargerSeismes(const QString& chemin)
{
    std::vector<TSeisme> lus;
    ResultatChargement r = lireSeismes(chemin, lus);
    if (!r.ok)
        return r;
    TabSeismes = std::move(lus);
    SeismesCharges = true;
    return r;
}

ResultatChargement ChargerVolcans(const QString& chemin)
{
    std::vector<TVolcan> lus;
    ResultatChargement r = lireVolcans(chemin, lus);
    if (!r.ok)
        return r;
    TabVolcans = std::move(lus);
    VolcansCharges = true;
    return r;
}

ResultatChargement ChargerGPS(const QString& chemin)
{
    std::vector<TStationGPS> lus;
    ResultatChargement r = lireStations(chemin, lus);
    // A file that could not be read changes nothing; a text import stopped on a bad
    // line keeps what it read before it.
    if (!r.ok && r.ligneErreur == 0)
        return r;
    if (estFichierBinaire(chemin, "GPS") || !lus.empty()) {
        // Rang as stored in a file may designate nothing in the new store: every
        // station designates itself again.
        for (std::size_t i = 0; i < lus.size(); ++i)
            lus[i].Rang = i <= 32767 ? static_cast<std::int16_t>(i) : std::int16_t(-1);
        TabStations = std::move(lus);
    }
    GPSCharges = true;
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

ResultatEcriture EnregistrerSeismes(const QString& chemin)
{
    return ecrireSeismes(chemin, TabSeismes);
}

ResultatEcriture EnregistrerVolcans(const QString& chemin)
{
    return ecrireVolcans(chemin, TabVolcans);
}

ResultatEcriture EnregistrerGPS(const QString& chemin)
{
    return ecrireStationsAffichees(chemin, TabStations);
}
