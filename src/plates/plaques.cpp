#include "plates/plaques.h"

#include "data/fichiers.h"
#include "data/longitude.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace plaques {

namespace {

const char* const CodesTypes[NbTypesLimite] = {"CCB", "CTF", "CRB", "OSR", "OTF", "OCB", "SUB"};

struct NomPlaque {
    const char* code;
    const char* nom;
};
// The 52 plates of the model, in its order.
const NomPlaque Noms[] = {
    {"AF", "Afrique"},
    {"AM", "Amour"},
    {"AN", "Antarctique"},
    {"AP", "Altiplano"},
    {"AR", "Arabie"},
    {"AS", "Égée"},
    {"AT", "Anatolie"},
    {"AU", "Australie"},
    {"BH", "Tête d'Oiseau"},
    {"BR", "Récif Balmoral"},
    {"BS", "Mer de Banda"},
    {"BU", "Birmanie"},
    {"CA", "Caraïbes"},
    {"CL", "Carolines"},
    {"CO", "Cocos"},
    {"CR", "Récif Conway"},
    {"EA", "Île de Pâques"},
    {"EU", "Eurasie"},
    {"FT", "Futuna"},
    {"GP", "Galápagos"},
    {"IN", "Inde"},
    {"JF", "Juan de Fuca"},
    {"JZ", "Juan Fernández"},
    {"KE", "Kermadec"},
    {"MA", "Mariannes"},
    {"MN", "Manus"},
    {"MO", "Maoke"},
    {"MS", "Mer des Moluques"},
    {"NA", "Amérique du Nord"},
    {"NB", "Bismarck Nord"},
    {"ND", "Andes du Nord"},
    {"NH", "Nouvelles-Hébrides"},
    {"NI", "Niuafo'ou"},
    {"NZ", "Nazca"},
    {"OK", "Okhotsk"},
    {"ON", "Okinawa"},
    {"PA", "Pacifique"},
    {"PM", "Panama"},
    {"PS", "Mer des Philippines"},
    {"RI", "Rivera"},
    {"SA", "Amérique du Sud"},
    {"SB", "Bismarck Sud"},
    {"SC", "Scotia"},
    {"SL", "Shetland"},
    {"SO", "Somalie"},
    {"SS", "Mer des Salomon"},
    {"SU", "Sonde"},
    {"SW", "Sandwich"},
    {"TI", "Timor"},
    {"TO", "Tonga"},
    {"WL", "Woodlark"},
    {"YA", "Yangtsé"},
};

QString message(const QString& nom, int ligne, const QString& quoi)
{
    return QStringLiteral("Fichier « %1 », ligne %2 : %3").arg(nom).arg(ligne).arg(quoi);
}

bool codeValide(const QString& c)
{
    return c.size() == 2 && c[0].isUpper() && c[1].isUpper() && c[0].unicode() < 128 && c[1].unicode() < 128;
}

// Splits a text into trimmed lines, blank and comment lines kept as empty
// strings so that line numbers stay those of the file.
QStringList lignesDe(const QByteArray& texte)
{
    QStringList l = QString::fromUtf8(texte).split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().trimmed().isEmpty())
        l.removeLast();
    for (QString& s : l) {
        s = s.trimmed();
        if (s.startsWith(QLatin1Char('#')))
            s.clear();
    }
    return l;
}

// "longitude latitude" at the start of a line's fields; checks range and finiteness.
bool lirePoint(const QStringList& champs, PointGeo& p, QString& quoi)
{
    bool okLon = false, okLat = false;
    const double lon = champs.value(0).toDouble(&okLon);
    const double lat = champs.value(1).toDouble(&okLat);
    if (!okLon || !okLat || !std::isfinite(lon) || !std::isfinite(lat)) {
        quoi = QStringLiteral("longitude et latitude attendues.");
        return false;
    }
    if (lat < -90 || lat > 90) {
        quoi = QStringLiteral("latitude hors de -90 à 90°.");
        return false;
    }
    if (lon < -180 || lon > 360) {
        quoi = QStringLiteral("longitude hors de -180 à 360°.");
        return false;
    }
    p.longitude = ramenerLongitude(lon);
    p.latitude = lat;
    return true;
}

bool lireFichier(const QString& chemin, QByteArray& d, QString& erreur)
{
    // The products are a few hundred kilobytes: anything much larger is not one.
    return lireFichierEntier(chemin, d, &erreur, 64LL << 20);
}

double ecartLongitude(double a, double b)
{
    double d = b - a;
    if (d > 180)
        d -= 360;
    else if (d < -180)
        d += 360;
    return d;
}

} // namespace

bool typeDeCode(const QString& code, TypeLimite& t)
{
    for (int i = 0; i < NbTypesLimite; ++i)
        if (code == QLatin1String(CodesTypes[i])) {
            t = static_cast<TypeLimite>(i);
            return true;
        }
    return false;
}

const char* codeDeType(TypeLimite t)
{
    return CodesTypes[static_cast<int>(t)];
}

FamilleLimite familleDe(TypeLimite t)
{
    switch (t) {
    case TypeLimite::OSR:
        return FamilleLimite::Dorsale;
    case TypeLimite::SUB:
        return FamilleLimite::Subduction;
    case TypeLimite::OTF:
    case TypeLimite::CTF:
        return FamilleLimite::Transformante;
    case TypeLimite::OCB:
    case TypeLimite::CCB:
        return FamilleLimite::Convergence;
    case TypeLimite::CRB:
        return FamilleLimite::Rift;
    }
    return FamilleLimite::Convergence;
}

QString nomFamille(FamilleLimite f)
{
    switch (f) {
    case FamilleLimite::Dorsale:
        return QStringLiteral("Dorsales océaniques");
    case FamilleLimite::Subduction:
        return QStringLiteral("Zones de subduction");
    case FamilleLimite::Transformante:
        return QStringLiteral("Failles transformantes");
    case FamilleLimite::Convergence:
        return QStringLiteral("Convergence sans subduction");
    case FamilleLimite::Rift:
        return QStringLiteral("Rifts continentaux");
    }
    return {};
}

bool analyserLimites(const QByteArray& texte, const QString& nom, std::vector<SegmentLimite>& out, QString& erreur)
{
    out.clear();
    std::vector<SegmentLimite> lus;
    const QStringList lignes = lignesDe(texte);
    SegmentLimite* cour = nullptr;
    bool dernierPoint = false; // the current segment got its "-" point
    auto fermer = [&](int ligne) {
        if (cour && (cour->points.size() < 2 || !dernierPoint)) {
            erreur = message(nom, ligne, QStringLiteral("limite %1%2%3 incomplète (au moins deux points, le dernier de type « - »).")
                                              .arg(cour->gauche)
                                              .arg(QLatin1Char(cour->polarite))
                                              .arg(cour->droite));
            return false;
        }
        return true;
    };
    for (int i = 0; i < lignes.size(); ++i) {
        const QString& l = lignes[i];
        if (l.isEmpty())
            continue;
        const int n = i + 1;
        if (l.startsWith(QLatin1Char('>'))) {
            if (!fermer(n))
                return false;
            const QStringList c = l.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (c.size() != 3 || !codeValide(c[0]) || !codeValide(c[2]) || c[1].size() != 1
                || !QStringLiteral("-/\\").contains(c[1][0])) {
                erreur = message(nom, n, QStringLiteral("en-tête de limite « > AA - BB » attendu."));
                return false;
            }
            lus.push_back({c[0], c[2], c[1][0].toLatin1(), {}, {}});
            cour = &lus.back();
            dernierPoint = false;
            continue;
        }
        if (!cour) {
            erreur = message(nom, n, QStringLiteral("point avant le premier en-tête de limite."));
            return false;
        }
        if (dernierPoint) {
            erreur = message(nom, n, QStringLiteral("point après le dernier point de la limite."));
            return false;
        }
        const QStringList c = l.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        PointGeo p;
        QString quoi;
        if (c.size() != 3) {
            erreur = message(nom, n, QStringLiteral("longitude, latitude et type attendus."));
            return false;
        }
        if (!lirePoint(c, p, quoi)) {
            erreur = message(nom, n, quoi);
            return false;
        }
        cour->points.push_back(p);
        if (c[2] == QLatin1String("-")) {
            dernierPoint = true;
        } else {
            TypeLimite t;
            if (!typeDeCode(c[2], t)) {
                erreur = message(nom, n, QStringLiteral("type de limite « %1 » inconnu.").arg(c[2]));
                return false;
            }
            cour->types.push_back(t);
        }
    }
    if (!fermer(lignes.size()))
        return false;
    if (lus.empty()) {
        erreur = QStringLiteral("Fichier « %1 » : aucune limite de plaques.").arg(nom);
        return false;
    }
    out = std::move(lus);
    return true;
}

bool analyserContours(const QByteArray& texte, const QString& nom, std::vector<ContourPlaque>& out, QString& erreur)
{
    out.clear();
    std::vector<ContourPlaque> lus;
    const QStringList lignes = lignesDe(texte);
    int debut = 0;
    auto fermer = [&](int ligne) {
        if (lus.empty())
            return true;
        ContourPlaque& c = lus.back();
        const bool ferme = c.points.size() >= 4 && c.points.front().latitude == c.points.back().latitude
                           && std::fabs(ecartLongitude(c.points.front().longitude, c.points.back().longitude)) < 1e-9;
        if (!ferme) {
            erreur = message(nom, debut, QStringLiteral("contour de la plaque %1 non fermé (au moins quatre points, le dernier égal au premier).")
                                             .arg(c.code));
            return false;
        }
        preparerContour(c);
        (void)ligne;
        return true;
    };
    for (int i = 0; i < lignes.size(); ++i) {
        const QString& l = lignes[i];
        if (l.isEmpty())
            continue;
        const int n = i + 1;
        if (l.startsWith(QLatin1Char('>'))) {
            if (!fermer(n))
                return false;
            const QString code = l.mid(1).trimmed();
            if (!codeValide(code)) {
                erreur = message(nom, n, QStringLiteral("en-tête de plaque « > AA » attendu."));
                return false;
            }
            for (const ContourPlaque& c : lus)
                if (c.code == code) {
                    erreur = message(nom, n, QStringLiteral("plaque %1 déjà décrite.").arg(code));
                    return false;
                }
            lus.push_back({code, {}});
            debut = n;
            continue;
        }
        if (lus.empty()) {
            erreur = message(nom, n, QStringLiteral("point avant le premier en-tête de plaque."));
            return false;
        }
        const QStringList c = l.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        PointGeo p;
        QString quoi;
        if (c.size() != 2) {
            erreur = message(nom, n, QStringLiteral("longitude et latitude attendues."));
            return false;
        }
        if (!lirePoint(c, p, quoi)) {
            erreur = message(nom, n, quoi);
            return false;
        }
        lus.back().points.push_back(p);
    }
    if (!fermer(lignes.size()))
        return false;
    if (lus.empty()) {
        erreur = QStringLiteral("Fichier « %1 » : aucun contour de plaque.").arg(nom);
        return false;
    }
    out = std::move(lus);
    return true;
}

bool analyserPoles(const QByteArray& texte, const QString& nom, std::vector<PoleEuler>& out, QString& erreur)
{
    out.clear();
    std::vector<PoleEuler> lus;
    const QStringList lignes = lignesDe(texte);
    for (int i = 0; i < lignes.size(); ++i) {
        const QString& l = lignes[i];
        if (l.isEmpty())
            continue;
        const int n = i + 1;
        const QStringList c = l.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (c.size() != 4 || !codeValide(c[0])) {
            erreur = message(nom, n, QStringLiteral("code, latitude, longitude et vitesse attendus."));
            return false;
        }
        bool ok[3];
        PoleEuler p{c[0], c[1].toDouble(&ok[0]), c[2].toDouble(&ok[1]), c[3].toDouble(&ok[2])};
        if (!ok[0] || !ok[1] || !ok[2] || !std::isfinite(p.latitude) || !std::isfinite(p.longitude)
            || !std::isfinite(p.vitesse)) {
            erreur = message(nom, n, QStringLiteral("nombre illisible."));
            return false;
        }
        if (p.latitude < -90 || p.latitude > 90 || p.longitude < -180 || p.longitude > 360) {
            erreur = message(nom, n, QStringLiteral("pôle hors des latitudes -90 à 90° ou des longitudes -180 à 360°."));
            return false;
        }
        // The fastest plates of the model turn at about 50°/Ma (microplates).
        if (p.vitesse < 0 || p.vitesse > 1000) {
            erreur = message(nom, n, QStringLiteral("vitesse angulaire hors de 0 à 1000°/Ma."));
            return false;
        }
        for (const PoleEuler& q : lus)
            if (q.code == p.code) {
                erreur = message(nom, n, QStringLiteral("pôle de la plaque %1 déjà donné.").arg(p.code));
                return false;
            }
        p.longitude = ramenerLongitude(p.longitude);
        lus.push_back(p);
    }
    if (lus.empty()) {
        erreur = QStringLiteral("Fichier « %1 » : aucun pôle eulérien.").arg(nom);
        return false;
    }
    out = std::move(lus);
    return true;
}

bool lireLimites(const QString& chemin, std::vector<SegmentLimite>& out, QString& erreur)
{
    out.clear();
    QByteArray d;
    return lireFichier(chemin, d, erreur) && analyserLimites(d, nomAffiche(chemin), out, erreur);
}

bool lireContours(const QString& chemin, std::vector<ContourPlaque>& out, QString& erreur)
{
    out.clear();
    QByteArray d;
    return lireFichier(chemin, d, erreur) && analyserContours(d, nomAffiche(chemin), out, erreur);
}

bool lirePoles(const QString& chemin, std::vector<PoleEuler>& out, QString& erreur)
{
    out.clear();
    QByteArray d;
    return lireFichier(chemin, d, erreur) && analyserPoles(d, nomAffiche(chemin), out, erreur);
}

void preparerContour(ContourPlaque& c)
{
    c.latMin = 90;
    c.latMax = -90;
    double tour = 0;
    for (std::size_t i = 0; i < c.points.size(); ++i) {
        c.latMin = std::min(c.latMin, c.points[i].latitude);
        c.latMax = std::max(c.latMax, c.points[i].latitude);
        if (i + 1 < c.points.size())
            tour += ecartLongitude(c.points[i].longitude, c.points[i + 1].longitude);
    }
    // Going round a pole adds up to a whole turn of longitude: eastwards (with the
    // plate on the left) around the north pole, westwards around the south pole.
    c.pole = tour > 180 ? 1 : tour < -180 ? -1 : 0;
}

bool contient(const ContourPlaque& c, double longitude, double latitude)
{
    if (c.pole == 0 && (latitude < c.latMin || latitude > c.latMax))
        return false;
    if (c.pole > 0 && latitude < c.latMin)
        return false;
    if (c.pole < 0 && latitude > c.latMax)
        return false;
    bool dedans = false;
    const std::size_t n = c.points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const PointGeo& a = c.points[i];
        const PointGeo& b = c.points[i + 1];
        if (a.latitude < latitude && b.latitude < latitude)
            continue; // the step lies south of the point: the ray cannot meet it
        // Longitudes measured from the point's meridian: the step crosses it when
        // they change sign (a change across the opposite meridian is not a crossing).
        const double s1 = ecartLongitude(longitude, a.longitude);
        const double d = ecartLongitude(a.longitude, b.longitude);
        const double s2 = s1 + d;
        if ((s1 > 0) == (s2 > 0))
            continue;
        const double t = -s1 / d;
        const double lat = a.latitude + t * (b.latitude - a.latitude);
        if (lat > latitude)
            dedans = !dedans;
    }
    return c.pole > 0 ? !dedans : dedans;
}

QString nomPlaque(const QString& code)
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const NomPlaque& n : Noms)
            t.insert(QString::fromLatin1(n.code), QString::fromUtf8(n.nom));
        return t;
    }();
    return table.value(code, code);
}

const QStringList& codesPlaques()
{
    static const QStringList codes = [] {
        QStringList c;
        for (const NomPlaque& n : Noms)
            c << QString::fromLatin1(n.code);
        return c;
    }();
    return codes;
}

// --- The model ---

namespace {
QString dans(const QString& dossier, const char* nom)
{
    return dossier.isEmpty() ? QString::fromLatin1(nom) : QDir(dossier).filePath(QString::fromLatin1(nom));
}
} // namespace

bool TModelePlaques::chargerLimites(const QString& dossier, QString& erreur)
{
    std::vector<SegmentLimite> l;
    if (!lireLimites(dans(dossier, FichierLimites), l, erreur))
        return false;
    limites = std::move(l);
    return true;
}

bool TModelePlaques::charger(const QString& dossier, QString& erreur)
{
    std::vector<ContourPlaque> c;
    std::vector<PoleEuler> p;
    if (!limitesChargees() && !chargerLimites(dossier, erreur))
        return false;
    if (!lireContours(dans(dossier, FichierContours), c, erreur))
        return false;
    if (!lirePoles(dans(dossier, FichierPoles), p, erreur))
        return false;
    contours = std::move(c);
    poles = std::move(p);
    indexer();
    return true;
}

int TModelePlaques::parcoursComplet(double longitude, double latitude) const
{
    const int n = static_cast<int>(contours.size());
    if (dernier_ >= 0 && dernier_ < n && contient(contours[static_cast<std::size_t>(dernier_)], longitude, latitude))
        return dernier_;
    for (int i = 0; i < n; ++i)
        if (i != dernier_ && contient(contours[static_cast<std::size_t>(i)], longitude, latitude)) {
            dernier_ = i;
            return i;
        }
    return -1;
}

namespace {
int colonneCellule(double longitude)
{
    return std::clamp(static_cast<int>(std::floor(longitude + 180.0)), 0, 359);
}
int ligneCellule(double latitude)
{
    return std::clamp(static_cast<int>(std::floor(latitude + 90.0)), 0, 179);
}
} // namespace

void TModelePlaques::indexer()
{
    dernier_ = -1;
    cellule_.assign(static_cast<std::size_t>(NbLon) * NbLat, -2); // -2: no outline crosses the cell
    candidats_.assign(cellule_.size(), {});
    // Every cell an outline step may pass through (the step's box, in cells) gets
    // the outline as a candidate.
    for (std::size_t c = 0; c < contours.size(); ++c) {
        const std::vector<PointGeo>& p = contours[c].points;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const double d = ecartLongitude(p[i].longitude, p[i + 1].longitude);
            const double l0 = std::min(p[i].longitude, p[i].longitude + d);
            const double l1 = std::max(p[i].longitude, p[i].longitude + d);
            const int j0 = ligneCellule(std::min(p[i].latitude, p[i + 1].latitude));
            const int j1 = ligneCellule(std::max(p[i].latitude, p[i + 1].latitude));
            const int i0 = static_cast<int>(std::floor(l0 + 180.0));
            const int i1 = static_cast<int>(std::floor(l1 + 180.0));
            for (int j = j0; j <= j1; ++j)
                for (int k = i0; k <= i1; ++k) {
                    const int col = ((k % NbLon) + NbLon) % NbLon;
                    const std::size_t cel = static_cast<std::size_t>(j) * NbLon + col;
                    std::vector<int>& l = candidats_[cel];
                    if (l.empty() || l.back() != static_cast<int>(c))
                        l.push_back(static_cast<int>(c));
                    cellule_[cel] = -1;
                }
        }
    }
    for (std::vector<int>& l : candidats_) {
        std::sort(l.begin(), l.end());
        l.erase(std::unique(l.begin(), l.end()), l.end());
    }
    // Neighbouring cells of a row that no outline crosses lie in the same plate:
    // one full search per run of such cells.
    for (int j = 0; j < NbLat; ++j) {
        int plaque = -3;
        for (int k = 0; k < NbLon; ++k) {
            int& cel = cellule_[static_cast<std::size_t>(j) * NbLon + k];
            if (cel == -1) {
                plaque = -3;
                continue;
            }
            if (plaque == -3)
                plaque = parcoursComplet(-180.0 + k + 0.5, -90.0 + j + 0.5);
            cel = plaque;
        }
    }
    dernier_ = -1;
}

int TModelePlaques::plaqueEn(double longitude, double latitude) const
{
    if (!std::isfinite(longitude) || !std::isfinite(latitude) || latitude < -90 || latitude > 90)
        return -1;
    longitude = ramenerLongitude(longitude);
    if (cellule_.empty())
        return parcoursComplet(longitude, latitude);
    const std::size_t cel = static_cast<std::size_t>(ligneCellule(latitude)) * NbLon + colonneCellule(longitude);
    if (cellule_[cel] >= 0)
        return cellule_[cel];
    for (int c : candidats_[cel])
        if (contient(contours[static_cast<std::size_t>(c)], longitude, latitude))
            return c;
    // Gaps of the outlines: whatever plate holds the point.
    return parcoursComplet(longitude, latitude);
}

QString TModelePlaques::codeEn(double longitude, double latitude) const
{
    const int i = plaqueEn(longitude, latitude);
    return i < 0 ? QString() : contours[static_cast<std::size_t>(i)].code;
}

int TModelePlaques::indicePole(const QString& code) const
{
    for (std::size_t i = 0; i < poles.size(); ++i)
        if (poles[i].code == code)
            return static_cast<int>(i);
    return -1;
}

} // namespace plaques
