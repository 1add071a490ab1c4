#include "exercises/exemples.h"

#include "data/decimal.h"
#include "data/fichiers.h"
#include "data/longitude.h"
#include "data/validation.h"

#include <QDir>
#include <QStringList>

#include <cmath>

namespace {

bool blanc(char c)
{
    return c == ' ' || c == '\t';
}

// Longest list of line numbers written out in the message.
constexpr int LignesCitees = 10;

QString nombreExemples(int n)
{
    if (n == 0)
        return QStringLiteral("aucun exemple lu");
    if (n == 1)
        return QStringLiteral("1 exemple lu");
    return QStringLiteral("%1 exemples lus").arg(n);
}

QString listeLignes(const std::vector<int>& lignes)
{
    const int n = static_cast<int>(lignes.size());
    const int cites = std::min(n, LignesCitees);
    QStringList t;
    for (int i = 0; i < cites; ++i)
        t << QString::number(lignes[static_cast<std::size_t>(i)]);
    if (n > cites)
        return t.join(QStringLiteral(", ")) + QStringLiteral(" et %1 autres").arg(n - cites);
    if (cites == 1)
        return t.front();
    const QString dernier = t.takeLast();
    return t.join(QStringLiteral(", ")) + QStringLiteral(" et ") + dernier;
}

QString messageIgnorees(const QString& nomFichier, const std::vector<int>& lignes, int lus)
{
    if (lignes.size() == 1)
        return QStringLiteral("Fichier « %1 » : la ligne %2 n'a pas pu être lue ; elle a été ignorée (%3).")
            .arg(nomFichier, listeLignes(lignes), nombreExemples(lus));
    return QStringLiteral("Fichier « %1 » : les lignes %2 n'ont pas pu être lues ; elles ont été ignorées (%3).")
        .arg(nomFichier, listeLignes(lignes), nombreExemples(lus));
}

} // namespace

bool lireLigneExemple(const QByteArray& brute, TStationGPS& exemple)
{
    QByteArray ligne = brute;
    if (ligne.endsWith('\r'))
        ligne.chop(1);
    if (ligne.size() < 7)
        return false;

    // The code: the first four characters, blanks after a shorter code dropped.
    QByteArray code = ligne.left(4);
    while (!code.isEmpty() && code.back() == ' ')
        code.chop(1);
    if (code.isEmpty() || code.front() == ' ')
        return false;
    for (char c : code)
        if (static_cast<unsigned char>(c) < 0x20)
            return false; // a tab inside the code: the columns are not where they should be

    // Characters 5 and 6 are skipped, unless a single tab parts the code from the
    // latitude: then the latitude starts at character 6 and keeps its first digit.
    int debut = 6;
    if (ligne[4] == '\t' && !blanc(ligne[5]))
        debut = 5;
    QByteArray reste = ligne.mid(debut);
    remplacerMarqueDecimale(reste);
    const QList<QByteArray> champs = reste.split('\t');
    if (champs.size() < 5)
        return false;

    const char point = SeparateurDecimal();
    double lat = 0, lon = 0, vn = 0, ve = 0;
    if (!convertirReel(champs[0], point, lat) || !convertirReel(champs[1], point, lon)
        || !convertirReel(champs[3], point, vn) || !convertirReel(champs[4], point, ve))
        return false;
    if (!(lat >= -90 && lat <= 90) || !(std::fabs(lon) <= bornes::LongitudeMax)
        || !(std::fabs(vn) <= bornes::VitesseMax) || !(std::fabs(ve) <= bornes::VitesseMax))
        return false;

    exemple = TStationGPS();
    exemple.Nom.assignBytes(code.constData(), static_cast<int>(code.size()));
    exemple.Latitude = lat;
    exemple.Longitude = ramenerLongitude(lon);
    exemple.VitLat = vn;
    exemple.VitLong = ve;
    return true;
}

ResultatExemples lireExemples(const QByteArray& texte, std::vector<TStationGPS>& exemples,
                              const QString& nomFichier)
{
    ResultatExemples r;
    r.ok = true;
    QList<QByteArray> lignes = texte.split('\n');
    if (!lignes.isEmpty() && lignes.front().startsWith("\xEF\xBB\xBF"))
        lignes.front().remove(0, 3); // byte order mark of a file saved by a text editor
    int numero = 0;
    for (const QByteArray& ligne : lignes) {
        ++numero;
        if (ligne.trimmed().isEmpty())
            continue;
        TStationGPS s;
        if (lireLigneExemple(ligne, s)) {
            exemples.push_back(s);
            ++r.lus;
        } else {
            r.lignesIgnorees.push_back(numero);
        }
    }
    if (!r.lignesIgnorees.empty())
        r.message = messageIgnorees(nomFichier, r.lignesIgnorees, r.lus);
    return r;
}

ResultatExemples ChargerExemples(const QString& chemin, std::vector<TStationGPS>& exemples)
{
    QByteArray texte;
    ResultatExemples r;
    // A list of a few dozen stations: anything beyond a few megabytes is not one.
    if (!lireFichierEntier(chemin, texte, &r.message, 16 * 1024 * 1024))
        return r;
    return lireExemples(texte, exemples, nomAffiche(chemin));
}

QString TExemples::chemin() const
{
    return QDir(dossier_).filePath(QString::fromLatin1(NomFichierExemples));
}

ResultatExemples TExemples::assurer()
{
    if (!liste_.empty()) {
        ResultatExemples r;
        r.ok = true;
        r.lus = static_cast<int>(liste_.size());
        return r;
    }
    return ChargerExemples(chemin(), liste_);
}
