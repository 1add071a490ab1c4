#include "import/itrf.h"

#include "ui/codecs.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Reasons of the lines passed over, read after "N lignes".
const char* const PositionIllisible = "de position illisibles";
const char* const VitesseIllisible = "de vitesse illisibles";
const char* const VitesseSansPosition = "de vitesse sans ligne de position";
const char* const PositionSansVitesse = "de position sans ligne de vitesse";

bool estDomes(const QString& t)
{
    static const QRegularExpression re(QStringLiteral("^\\d{5}[A-Z]\\d{3}$"));
    return re.match(t).hasMatch();
}

// "YY:DOY:SSSSS" as a decimal year; NaN for 00:000:00000 (open bound); false
// when the text is not such a date.
bool dateSSC(const QString& t, double& annee)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{2}):(\\d{3}):(\\d{5})$"));
    const auto m = re.match(t);
    if (!m.hasMatch())
        return false;
    const int yy = m.captured(1).toInt(), jour = m.captured(2).toInt(), sec = m.captured(3).toInt();
    if (yy == 0 && jour == 0 && sec == 0) {
        annee = NAN;
        return true;
    }
    const int a = yy >= 50 ? 1900 + yy : 2000 + yy;
    const int jours = (a % 4 == 0 && (a % 100 != 0 || a % 400 == 0)) ? 366 : 365;
    if (jour < 1 || jour > jours || sec > 86400)
        return false;
    annee = a + (jour - 1 + sec / 86400.0) / jours;
    return true;
}

bool nombres(const QStringList& t, int depuis, int n, double* v)
{
    if (t.size() < depuis + n)
        return false;
    for (int i = 0; i < n; ++i) {
        bool ok = false;
        v[i] = t[depuis + i].toDouble(&ok);
        if (!ok || !std::isfinite(v[i]))
            return false;
    }
    return true;
}

bool memeVitesse(const SolutionITRF& a, const SolutionITRF& b)
{
    return std::abs(a.vx - b.vx) <= ITRF2014::EcartVitesse && std::abs(a.vy - b.vy) <= ITRF2014::EcartVitesse &&
           std::abs(a.vz - b.vz) <= ITRF2014::EcartVitesse;
}

} // namespace

double dureeSolution(const SolutionITRF& s, const PeriodeStation& p)
{
    const double debut = std::isnan(s.debut) ? p.debut : s.debut;
    const double fin = std::isnan(s.fin) ? p.fin : s.fin;
    return std::max(0.0, fin - debut);
}

std::map<QString, PeriodeStation> periodesNGL(const QByteArray& liste, const std::vector<SolutionITRF>& s)
{
    std::map<QString, const SolutionITRF*> parCode;
    for (const SolutionITRF& sol : s)
        parCode.emplace(sol.code, &sol);
    std::map<QString, PeriodeStation> periodes;
    for (const QByteArray& l : liste.split('\n')) {
        const QList<QByteArray> f = l.simplified().split(' ');
        if (f.size() < 9)
            continue;
        const auto it = parCode.find(QString::fromLatin1(f[0]));
        if (it == parCode.end())
            continue;
        bool ok[3];
        const double x = f[4].toDouble(&ok[0]), y = f[5].toDouble(&ok[1]), z = f[6].toDouble(&ok[2]);
        const QDate d0 = QDate::fromString(QString::fromLatin1(f[7]), Qt::ISODate);
        const QDate d1 = QDate::fromString(QString::fromLatin1(f[8]), Qt::ISODate);
        if (!ok[0] || !ok[1] || !ok[2] || !d0.isValid() || !d1.isValid())
            continue;
        const SolutionITRF& sol = *it->second;
        if (std::hypot(std::hypot(x - sol.x, y - sol.y), z - sol.z) > 1000.0)
            continue;
        auto annee = [](const QDate& d) { return d.year() + (d.dayOfYear() - 1) / static_cast<double>(d.daysInYear()); };
        PeriodeStation p;
        p.debut = std::clamp(annee(d0), ITRF2014::DebutDonnees, ITRF2014::FinDonnees);
        p.fin = std::clamp(annee(d1) + 1 / 365.25, ITRF2014::DebutDonnees, ITRF2014::FinDonnees);
        if (p.fin > p.debut)
            periodes[it->first] = p;
    }
    return periodes;
}

bool lireSolutionsITRF(const QByteArray& donnees, const QString& nom, std::vector<SolutionITRF>& out,
                       QString* message, std::map<QString, int>* ignores)
{
    std::map<QString, int> motifs;
    auto ignorer = [&](const char* motif) { ++motifs[QString::fromUtf8(motif)]; };
    std::vector<SolutionITRF> lues;
    bool attendVitesse = false;  // the last solution read still waits for its velocity line
    for (const QByteArray& brute : donnees.split('\n')) {
        QString l = QString::fromLatin1(brute);
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
        if (l.size() < 10 || !estDomes(l.left(9)))
            continue;  // header, rule or blank line
        const QString domes = l.left(9);
        const bool ligneVitesse = l.mid(9, 25).trimmed().isEmpty();
        if (ligneVitesse) {
            const QStringList t = l.mid(9).simplified().split(QLatin1Char(' '));
            double v[6];
            if (!attendVitesse || lues.back().domes != domes) {
                ignorer(VitesseSansPosition);
                continue;
            }
            attendVitesse = false;
            if (!nombres(t, 0, 6, v)) {
                ignorer(VitesseIllisible);
                lues.pop_back();
                continue;
            }
            SolutionITRF& s = lues.back();
            s.vx = v[0];
            s.vy = v[1];
            s.vz = v[2];
            s.svx = v[3];
            s.svy = v[4];
            s.svz = v[5];
            continue;
        }
        if (attendVitesse) {
            ignorer(PositionSansVitesse);
            lues.pop_back();
            attendVitesse = false;
        }
        // DOMES, 16-character name, technique, code, X Y Z, their sigmas, then
        // (when the station has several solutions) SOLN, DATA_START, DATA_END.
        SolutionITRF s;
        s.domes = domes;
        s.nom = l.mid(10, 16).trimmed();
        const QStringList t = l.mid(26).simplified().split(QLatin1Char(' '));
        double p[6];
        bool ok = t.size() >= 8 && t[1].size() == 4 && nombres(t, 2, 6, p);
        if (ok && t.size() >= 11) {
            s.numero = t[8].toInt(&ok);
            ok = ok && dateSSC(t[9], s.debut) && dateSSC(t[10], s.fin);
        } else if (ok && t.size() != 8) {
            ok = false;
        }
        if (!ok) {
            ignorer(PositionIllisible);
            continue;
        }
        s.code = t[1];
        s.x = p[0];
        s.y = p[1];
        s.z = p[2];
        lues.push_back(s);
        attendVitesse = true;
    }
    if (attendVitesse) {
        ignorer(PositionSansVitesse);
        lues.pop_back();
    }
    if (ignores)
        *ignores = motifs;
    if (lues.empty()) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » : aucune solution de station lue (fichier SSC de l'ITRF "
                                      "attendu : lignes de position « DOMES nom GNSS CODE X Y Z σ SOLN début fin » "
                                      "suivies de lignes de vitesse « DOMES VX VY VZ σ »).")
                           .arg(nom);
        return false;
    }
    out.insert(out.end(), lues.begin(), lues.end());
    if (message)
        *message = QStringLiteral("%1 solutions lues.").arg(lues.size());
    return true;
}

std::vector<std::size_t> solutionsLongTerme(const std::vector<SolutionITRF>& s,
                                            const std::map<QString, PeriodeStation>& periodes, ChoixITRF* choix)
{
    // Solutions by station, in the order of first appearance.
    std::vector<std::vector<std::size_t>> stations;
    std::map<std::pair<QString, QString>, std::size_t> rang;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto cle = std::make_pair(s[i].domes, s[i].code);
        const auto it = rang.find(cle);
        if (it == rang.end()) {
            rang.emplace(cle, stations.size());
            stations.push_back({i});
        } else {
            stations[it->second].push_back(i);
        }
    }
    ChoixITRF c;
    std::vector<std::size_t> choisies;
    for (const auto& sol : stations) {
        const auto itP = periodes.find(s[sol.front()].code);
        const PeriodeStation periode = itP == periodes.end() ? PeriodeStation{} : itP->second;
        if (itP != periodes.end())
            ++c.periodes;
        // Velocity groups: the members of each, their total duration and latest SOLN.
        struct Groupe {
            std::vector<std::size_t> membres;
            double duree = 0;
            int dernier = 0;
        };
        std::vector<Groupe> groupes;
        for (const std::size_t i : sol) {
            auto g = std::find_if(groupes.begin(), groupes.end(),
                                  [&](const Groupe& gr) { return memeVitesse(s[gr.membres.front()], s[i]); });
            if (g == groupes.end()) {
                groupes.emplace_back();
                g = groupes.end() - 1;
            }
            g->membres.push_back(i);
            g->duree += dureeSolution(s[i], periode);
            g->dernier = std::max(g->dernier, s[i].numero);
        }
        const Groupe& meilleur = *std::max_element(groupes.begin(), groupes.end(), [](const Groupe& a, const Groupe& b) {
            return a.duree != b.duree ? a.duree < b.duree : a.dernier < b.dernier;
        });
        const std::size_t retenue = *std::max_element(
            meilleur.membres.begin(), meilleur.membres.end(),
            [&](std::size_t a, std::size_t b) { return s[a].numero < s[b].numero; });
        const std::size_t derniere = *std::max_element(
            sol.begin(), sol.end(), [&](std::size_t a, std::size_t b) { return s[a].numero < s[b].numero; });
        ++c.stations;
        if (sol.size() > 1)
            ++c.plusieurs;
        if (!memeVitesse(s[retenue], s[derniere]))
            ++c.autreQueDerniere;
        choisies.push_back(retenue);
    }
    if (choix)
        *choix = c;
    return choisies;
}

TStationGPS stationITRF(const SolutionITRF& s)
{
    // GRS80 ellipsoid.
    constexpr double a = 6378137.0, f = 1.0 / 298.257222101, e2 = f * (2 - f);
    const double p = std::hypot(s.x, s.y);
    const double lon = std::atan2(s.y, s.x);
    double lat = std::atan2(s.z, p * (1 - e2)), n = a;
    for (int i = 0; i < 10; ++i) {
        n = a / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
        lat = std::atan2(s.z + e2 * n * std::sin(lat), p);
    }
    const double sp = std::sin(lat), cp = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
    n = a / std::sqrt(1 - e2 * sp * sp);
    const double h = p * cp + s.z * sp - a * a / n;
    const double ve = -sl * s.vx + cl * s.vy;
    const double vn = -sp * cl * s.vx - sp * sl * s.vy + cp * s.vz;
    const double vu = cp * cl * s.vx + cp * sl * s.vy + sp * s.vz;
    auto q = [](double u, double v, double w) { return std::sqrt(u * u + v * v + w * w); };
    const double se = q(sl * s.svx, cl * s.svy, 0);
    const double sn = q(sp * cl * s.svx, sp * sl * s.svy, cp * s.svz);
    const double su = q(cp * cl * s.svx, cp * sl * s.svy, sp * s.svz);

    TStationGPS st;
    QByteArray code = toCp1252(s.code.trimmed()).left(4);
    st.Nom.assignBytes(code.constData(), static_cast<int>(code.size()));
    st.Affiche = 1;
    st.Latitude = lat * 180 / Pi;
    st.Longitude = lon * 180 / Pi;
    st.Altitude = h * 1000.0;
    st.VitLat = vn * 1000;
    st.VitLong = ve * 1000;
    st.VitAlt = vu * 1000;
    // The program takes a north uncertainty of 0 for "no velocity": the
    // uncertainties are kept at 0.01 mm/yr at least.
    st.IncVitLat = std::max(sn * 1000, 0.01);
    st.IncVitLong = std::max(se * 1000, 0.01);
    st.IncVitAlt = std::max(su * 1000, 0.01);
    return st;
}

bool lireStationsITRF(const QByteArray& donnees, const QByteArray& listeNGL, const QString& nom,
                      std::vector<TStationGPS>& out, QString* message, ChoixITRF* choix, std::map<QString, int>* ignores)
{
    std::vector<SolutionITRF> s;
    if (!lireSolutionsITRF(donnees, nom, s, message, ignores))
        return false;
    std::vector<std::size_t> retenues = solutionsLongTerme(s, periodesNGL(listeNGL, s), choix);
    std::stable_sort(retenues.begin(), retenues.end(), [&](std::size_t a, std::size_t b) {
        return s[a].code != s[b].code ? s[a].code < s[b].code : s[a].domes < s[b].domes;
    });
    const std::size_t depuis = out.size();
    for (const std::size_t i : retenues)
        out.push_back(stationITRF(s[i]));
    for (std::size_t i = depuis; i < out.size(); ++i)
        out[i].Rang = static_cast<std::int16_t>(std::min<std::size_t>(i, 32767));
    if (message)
        *message = QStringLiteral("%1 stations lues (%2 solutions).").arg(retenues.size()).arg(s.size());
    return true;
}
