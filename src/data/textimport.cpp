#include "data/textimport.h"

#include "data/codes.h"
#include "data/decimal.h"
#include "data/dates.h"

#include <cstring>

LecteurLignes::LecteurLignes(const QByteArray& donnees)
    : m_p(donnees.constData()), m_fin(donnees.constData() + donnees.size())
{
}

bool LecteurLignes::suivante(QByteArray& ligne)
{
    if (m_p >= m_fin)
        return false;
    ligne.clear();
    char tampon[LongueurMax];
    int n = 0;
    while (m_p < m_fin) {
        const auto c = static_cast<unsigned char>(*m_p++);
        if (c == '\n')
            break;
        if (c < 32 && c != '\t')
            continue;
        tampon[n++] = static_cast<char>(c);
        if (n == LongueurMax)
            break;
    }
    ligne = QByteArray(tampon, n);
    ++m_numero;
    return true;
}

namespace {

// Bytes [debut, debut+longueur) of a line with 1-based columns, cut at its end.
struct Champ {
    const char* d;
    const char* f;
};

Champ colonnes(const QByteArray& ligne, int premiere, int derniere)
{
    const qsizetype n = ligne.size();
    qsizetype a = premiere - 1;
    qsizetype b = derniere;
    if (a > n)
        a = n;
    if (b > n)
        b = n;
    if (b < a)
        b = a;
    return {ligne.constData() + a, ligne.constData() + b};
}

bool reelCol(const QByteArray& ligne, int premiere, int derniere, double& v)
{
    const Champ c = colonnes(ligne, premiere, derniere);
    return convertirReel(c.d, c.f, '.', v);
}

bool entierCol(const QByteArray& ligne, int premiere, int derniere, int& v)
{
    const Champ c = colonnes(ligne, premiere, derniere);
    return convertirEntier(c.d, c.f, v);
}

bool estFinPre(const QByteArray& ligne)
{
    if (ligne.size() != 6)
        return false;
    return ligne.toUpper() == "</PRE>";
}

// Moves the reader past the first line holding nine hyphens; false when none.
bool passerEntete(LecteurLignes& lecteur)
{
    QByteArray ligne;
    while (lecteur.suivante(ligne))
        if (ligne.contains("---------"))
            return true;
    return false;
}

// Each line decoder returns an empty text when the line gives a record, else why not.
QString seismeDepuisLigne(const QByteArray& ligne, TSeisme& s)
{
    int annee = 0, mois = 0, jour = 0, h = 0, mn = 0, sec = 0;
    if (!entierCol(ligne, 1, 4, annee) || !entierCol(ligne, 6, 7, mois) || !entierCol(ligne, 9, 10, jour) ||
        !entierCol(ligne, 12, 13, h) || !entierCol(ligne, 15, 16, mn) || !entierCol(ligne, 18, 19, sec))
        return QStringLiteral("date illisible");
    double date = 0, lat = 0, lon = 0, prof = 0, mag = 0;
    if (!encoderDateHeure(annee, mois, jour, h, mn, sec, date))
        return QStringLiteral("date impossible");
    if (!reelCol(ligne, 24, 31, lat) || !reelCol(ligne, 33, 41, lon) || !reelCol(ligne, 43, 48, prof) ||
        !reelCol(ligne, 50, 54, mag))
        return QStringLiteral("nombres illisibles");
    const QString raison = verifierValeursSeisme(date, lat, lon, prof, mag);
    if (!raison.isEmpty())
        return raison;
    s.DateHeure = date;
    s.Latitude = static_cast<float>(lat);
    s.Longitude = static_cast<float>(ramenerLongitude(lon));
    s.Profondeur = static_cast<float>(prof);
    s.Magnitude = static_cast<float>(mag);
    return QString();
}

QString volcanDepuisLigne(const QByteArray& ligne, TVolcan& v)
{
    double lat = 0, lon = 0, alt = 0;
    if (!reelCol(ligne, 63, 69, lat) || !reelCol(ligne, 71, 78, lon) || !reelCol(ligne, 81, 85, alt))
        return QStringLiteral("nombres illisibles");
    const QString raison = verifierValeursVolcan(lat, lon, alt);
    if (!raison.isEmpty())
        return raison;
    const Champ nom = colonnes(ligne, 11, 35);
    v.Nom.assignBytes(nom.d, static_cast<int>(nom.f - nom.d));
    v.Latitude = static_cast<float>(lat);
    v.Longitude = static_cast<float>(ramenerLongitude(lon));
    v.Altitude = versSimple(alt);
    const Champ type = colonnes(ligne, 87, 106);
    v.TypeVolcan = static_cast<std::uint8_t>(codeTypeVolcanDepuisTexte(QByteArray(type.d, type.f - type.d)));
    const Champ act = colonnes(ligne, 132, 133);
    v.Activite = static_cast<std::uint8_t>(codeActiviteDepuisTexte(QByteArray(act.d, act.f - act.d)));
    return QString();
}

// Reads the six numbers of a "POS "/"VEL " line's tail: leading blanks skipped,
// each number up to the next space; the last one may also run to the end.
bool sixNombres(const QByteArray& texte, char separateur, double (&v)[6])
{
    const char* p = texte.constData();
    const char* fin = p + texte.size();
    for (int i = 0; i < 6; ++i) {
        while (p < fin && (*p == ' ' || *p == '\t'))
            ++p;
        const char* blancSuivant = static_cast<const char*>(std::memchr(p, ' ', static_cast<std::size_t>(fin - p)));
        const char* finNombre = blancSuivant ? blancSuivant : (i == 5 ? fin : p);
        if (!convertirReel(p, finNombre, separateur, v[i]))
            return false;
        p = blancSuivant ? blancSuivant + 1 : fin;
    }
    return true;
}

}  // namespace

namespace {

// The framing shared by the catalogue and the volcano list: lines after the first
// one holding nine hyphens, up to "</PRE>" or the end; a line that does not
// convert, or whose values are implausible, yields nothing.
template <typename T, typename Decode>
int importerCadre(const QByteArray& donnees, std::vector<T>& out, Decode decode, BilanRejets* rejets, bool* cadre)
{
    LecteurLignes lecteur(donnees);
    const bool trouve = passerEntete(lecteur);
    if (cadre)
        *cadre = trouve;
    if (!trouve)
        return 0;
    int n = 0;
    QByteArray ligne;
    while (lecteur.suivante(ligne)) {
        if (estFinPre(ligne))
            break;
        T enregistrement;
        const QString raison = decode(ligne, enregistrement);
        if (!raison.isEmpty()) {
            // Blank lines are not records.
            if (rejets && !ligne.trimmed().isEmpty())
                rejets->noter(lecteur.numero(), raison);
            continue;
        }
        out.push_back(enregistrement);
        ++n;
    }
    return n;
}

}  // namespace

int importerSeismesTexte(const QByteArray& donnees, std::vector<TSeisme>& out, BilanRejets* rejets, bool* cadre)
{
    return importerCadre(donnees, out, &seismeDepuisLigne, rejets, cadre);
}

int importerVolcansTexte(const QByteArray& donnees, std::vector<TVolcan>& out, BilanRejets* rejets, bool* cadre)
{
    return importerCadre(donnees, out, &volcanDepuisLigne, rejets, cadre);
}

bool importerGPSTexte(const QByteArray& donnees, std::vector<TStationGPS>& out, int* ligneErreur,
                      BilanRejets* rejets, bool* entete)
{
    LecteurLignes lecteur(donnees);
    QByteArray ligne;
    bool trouve = false;
    while (lecteur.suivante(ligne))
        if (ligne.toUpper().contains("LAT ")) {
            trouve = true;
            break;
        }
    if (entete)
        *entete = trouve;
    if (!trouve)
        return true;

    const char separateur = SeparateurDecimal();
    TStationGPS tampon;
    tampon.Affiche = 1;
    while (lecteur.suivante(ligne)) {
        // Column 5 tells a line that carries a station code in columns 1-4 (blank
        // there) from one that does not.
        if (ligne.size() >= 5 && ligne.at(4) != ' ')
            tampon.Nom.assignBytes("", 0);
        else
            tampon.Nom.assignBytes(ligne.constData(), static_cast<int>(qMin<qsizetype>(4, ligne.size())));
        QByteArray reste = ligne.mid(5);

        qsizetype marque = reste.indexOf("POS ");
        const bool position = marque >= 0;
        if (!position)
            marque = reste.indexOf("VEL ");
        if (marque < 0)
            continue;
        // The marker and the character after it go, whatever that character is.
        reste.remove(0, marque + 5);
        remplacerMarqueDecimale(reste);
        double v[6];
        if (!sixNombres(reste, separateur, v)) {
            if (ligneErreur)
                *ligneErreur = lecteur.numero();
            return false;
        }
        if (position) {
            tampon.Latitude = v[0];
            tampon.Longitude = v[1];
            tampon.Altitude = v[2];
            tampon.IncLatitude = v[3];
            tampon.IncLongitude = v[4];
            tampon.IncAltitude = v[5];
        } else {
            tampon.VitLat = v[0];
            tampon.VitLong = v[1];
            tampon.VitAlt = v[2];
            tampon.IncVitLat = v[3];
            tampon.IncVitLong = v[4];
            tampon.IncVitAlt = v[5];
            if (tampon.IncVitLat != 0) {
                TStationGPS s = tampon;
                const QString raison = verifierStation(s);
                if (!raison.isEmpty()) {
                    if (rejets)
                        rejets->noter(lecteur.numero(), raison);
                    continue;
                }
                const std::size_t index = out.size();
                s.Rang = index <= 32767 ? static_cast<std::int16_t>(index) : std::int16_t(-1);
                out.push_back(s);
            }
        }
    }
    return true;
}
