#include "import/plaques.h"

#include "data/longitude.h"
#include "plates/plaques.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace import_plaques {

namespace {

struct SegmentDig {
    QString titre; // first bytes of the title record ("AF-AN", "AF")
    int ligneTitre = 0;
    std::vector<plaques::PointGeo> points;
    std::vector<int> lignes; // line of each point
};

QString message(const QString& nom, int ligne, const QString& quoi)
{
    return QStringLiteral("Fichier « %1 », ligne %2 : %3").arg(nom).arg(ligne).arg(quoi);
}

QList<QByteArray> lignesDe(const QByteArray& texte)
{
    QList<QByteArray> l = texte.split('\n');
    if (!l.isEmpty() && l.last().trimmed().isEmpty())
        l.removeLast();
    for (QByteArray& s : l)
        if (s.endsWith('\r'))
            s.chop(1);
    return l;
}

// A ".dig" file: title record, " lon,lat" records, "*** end of line segment ***".
bool lireDig(const QByteArray& texte, const QString& nom, int tailleTitre, std::vector<SegmentDig>& out,
             QString& erreur)
{
    const QList<QByteArray> lignes = lignesDe(texte);
    SegmentDig cour;
    bool ouvert = false;
    for (int i = 0; i < lignes.size(); ++i) {
        const QByteArray l = lignes[i].trimmed();
        const int n = i + 1;
        if (l.isEmpty())
            continue;
        if (l.startsWith("***")) {
            if (!ouvert || cour.points.size() < 2) {
                erreur = message(nom, n, QStringLiteral("fin de segment sans segment d'au moins deux points."));
                return false;
            }
            out.push_back(std::move(cour));
            cour = SegmentDig();
            ouvert = false;
            continue;
        }
        if (!ouvert) {
            cour.titre = QString::fromLatin1(lignes[i].left(tailleTitre)).trimmed();
            cour.ligneTitre = n;
            ouvert = true;
            continue;
        }
        const QList<QByteArray> c = l.split(',');
        bool okLon = false, okLat = false;
        const double lon = c.size() == 2 ? c[0].trimmed().toDouble(&okLon) : 0;
        const double lat = c.size() == 2 ? c[1].trimmed().toDouble(&okLat) : 0;
        if (!okLon || !okLat || !std::isfinite(lon) || !std::isfinite(lat)) {
            erreur = message(nom, n, QStringLiteral("point « longitude,latitude » attendu."));
            return false;
        }
        if (lat < -90 || lat > 90 || lon < -180 || lon > 360) {
            erreur = message(nom, n, QStringLiteral("point hors des latitudes -90 à 90° ou des longitudes -180 à 360°."));
            return false;
        }
        cour.points.push_back({ramenerLongitude(lon), lat});
        cour.lignes.push_back(n);
    }
    if (ouvert) {
        erreur = message(nom, lignes.size(), QStringLiteral("dernier segment sans « *** end of line segment *** »."));
        return false;
    }
    if (out.empty()) {
        erreur = QStringLiteral("Fichier « %1 » : aucun segment.").arg(nom);
        return false;
    }
    return true;
}

// Bytes a..b (1-based, inclusive) of a fixed-column record.
QByteArray colonnes(const QByteArray& l, int a, int b)
{
    return l.mid(a - 1, b - a + 1).trimmed();
}

bool proche(const plaques::PointGeo& p, double lon, double lat)
{
    double d = std::fabs(ramenerLongitude(lon) - p.longitude);
    d = std::min(d, 360 - d);
    return d < 0.0015 && std::fabs(lat - p.latitude) < 0.0015;
}

QByteArray nombre(double v)
{
    return QByteArray::number(v, 'f', 5);
}

} // namespace

bool convertir(const Sources& s, Produits& p, QString& erreur)
{
    p = Produits();
    // --- Boundaries and their steps ---
    std::vector<SegmentDig> limites;
    if (!lireDig(s.limites, s.nomLimites, 5, limites, erreur))
        return false;
    const QList<QByteArray> pas = lignesDe(s.pas);
    int k = 0; // next step record
    QByteArray texteLimites = "# Limites de plaques du modèle PB2002 (Bird 2003, G-cubed 4(3) 1027).\n"
                              "# > plaque de gauche, polarité (- / \\), plaque de droite ; puis longitude latitude type\n"
                              "# (type du pas vers le point suivant : CCB CTF CRB OSR OTF OCB SUB ; - au dernier point).\n";
    for (const SegmentDig& seg : limites) {
        const QString& t = seg.titre;
        if (t.size() != 5 || !QStringLiteral("-/\\").contains(t[2])) {
            erreur = message(s.nomLimites, seg.ligneTitre, QStringLiteral("titre de limite « AA-BB » attendu."));
            return false;
        }
        texteLimites += "> " + t.left(2).toLatin1() + ' ' + t[2].toLatin1() + ' ' + t.mid(3).toLatin1() + '\n';
        for (std::size_t i = 0; i < seg.points.size(); ++i) {
            QByteArray type = "-";
            if (i + 1 < seg.points.size()) {
                // Skip blank records; the steps follow the boundary points in order.
                while (k < pas.size() && pas[k].trimmed().isEmpty())
                    ++k;
                if (k >= pas.size()) {
                    erreur = message(s.nomPas, pas.size(), QStringLiteral("pas manquants pour la limite %1 (ligne %2 de %3).")
                                                               .arg(t)
                                                               .arg(seg.ligneTitre)
                                                               .arg(s.nomLimites));
                    return false;
                }
                const QByteArray& l = pas[k];
                const int n = k + 1;
                ++k;
                bool ok[4];
                const double lon1 = colonnes(l, 13, 20).toDouble(&ok[0]);
                const double lat1 = colonnes(l, 22, 28).toDouble(&ok[1]);
                const double lon2 = colonnes(l, 30, 37).toDouble(&ok[2]);
                const double lat2 = colonnes(l, 39, 45).toDouble(&ok[3]);
                plaques::TypeLimite tl;
                if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !plaques::typeDeCode(QString::fromLatin1(colonnes(l, 93, 95)), tl)) {
                    erreur = message(s.nomPas, n, QStringLiteral("pas illisible (coordonnées ou type de limite)."));
                    return false;
                }
                if (QString::fromLatin1(colonnes(l, 7, 11)) != t || !proche(seg.points[i], lon1, lat1)
                    || !proche(seg.points[i + 1], lon2, lat2)) {
                    erreur = message(s.nomPas, n, QStringLiteral("le pas ne suit pas la limite %1 de %2 (ligne %3).")
                                                      .arg(t, s.nomLimites)
                                                      .arg(seg.lignes[i]));
                    return false;
                }
                type = plaques::codeDeType(tl);
            }
            texteLimites += nombre(seg.points[i].longitude) + ' ' + nombre(seg.points[i].latitude) + ' ' + type + '\n';
            ++p.nbPoints;
        }
    }
    for (; k < pas.size(); ++k)
        if (!pas[k].trimmed().isEmpty()) {
            erreur = message(s.nomPas, k + 1, QStringLiteral("pas en trop après la dernière limite de %1.").arg(s.nomLimites));
            return false;
        }
    p.nbLimites = static_cast<int>(limites.size());

    // --- Outlines ---
    std::vector<SegmentDig> contours;
    if (!lireDig(s.contours, s.nomContours, 2, contours, erreur))
        return false;
    QByteArray texteContours = "# Contours des plaques du modèle PB2002 (Bird 2003), sens trigonométrique vu de l'espace.\n"
                               "# > code de la plaque ; puis longitude latitude (le dernier point égale le premier).\n";
    for (const SegmentDig& seg : contours) {
        if (seg.titre.size() != 2) {
            erreur = message(s.nomContours, seg.ligneTitre, QStringLiteral("code de plaque à deux lettres attendu."));
            return false;
        }
        texteContours += "> " + seg.titre.toLatin1() + '\n';
        for (const plaques::PointGeo& q : seg.points)
            texteContours += nombre(q.longitude) + ' ' + nombre(q.latitude) + '\n';
    }
    p.nbPlaques = static_cast<int>(contours.size());

    // --- Poles: "ID NLat ELon deg/Ma" (A2, F9.3, F10.3, F9.4), then the source ---
    QByteArray textePoles = "# Pôles eulériens du modèle PB2002 (Bird 2003) par rapport à la plaque Pacifique :\n"
                            "# code latitude longitude vitesse angulaire (°/Ma, sens trigonométrique).\n";
    const QList<QByteArray> poles = lignesDe(s.poles);
    for (int i = 0; i < poles.size(); ++i) {
        const QByteArray& l = poles[i];
        if (l.trimmed().isEmpty())
            continue;
        bool ok[3];
        const QByteArray code = colonnes(l, 1, 2);
        const double lat = colonnes(l, 3, 11).toDouble(&ok[0]);
        const double lon = colonnes(l, 12, 21).toDouble(&ok[1]);
        const double w = colonnes(l, 22, 30).toDouble(&ok[2]);
        if (code.size() != 2 || !ok[0] || !ok[1] || !ok[2]) {
            erreur = message(s.nomPoles, i + 1, QStringLiteral("pôle « code latitude longitude vitesse » attendu."));
            return false;
        }
        textePoles += code + ' ' + QByteArray::number(lat, 'f', 3) + ' ' + QByteArray::number(lon, 'f', 3) + ' '
                      + QByteArray::number(w, 'f', 4) + '\n';
        ++p.nbPoles;
    }

    // What is written is read back as the program reads it.
    std::vector<plaques::SegmentLimite> l;
    std::vector<plaques::ContourPlaque> c;
    std::vector<plaques::PoleEuler> q;
    if (!plaques::analyserLimites(texteLimites, QString::fromLatin1(plaques::FichierLimites), l, erreur)
        || !plaques::analyserContours(texteContours, QString::fromLatin1(plaques::FichierContours), c, erreur)
        || !plaques::analyserPoles(textePoles, QString::fromLatin1(plaques::FichierPoles), q, erreur))
        return false;
    for (const plaques::ContourPlaque& cp : c)
        if (std::none_of(q.begin(), q.end(), [&](const plaques::PoleEuler& e) { return e.code == cp.code; })) {
            erreur = QStringLiteral("Fichier « %1 » : pas de pôle pour la plaque %2.").arg(s.nomPoles, cp.code);
            return false;
        }
    p.limites = texteLimites;
    p.contours = texteContours;
    p.poles = textePoles;
    return true;
}

} // namespace import_plaques
