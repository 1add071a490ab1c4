#include "import/series.h"
#include "data/longitude.h"

#include <QDate>
#include <QFont>
#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

double anneeDecimaleMJD(double mjd)
{
    const QDate d = QDate(1858, 11, 17).addDays(static_cast<qint64>(std::floor(mjd)));
    const double frac = mjd - std::floor(mjd);
    const int jours = QDate(d.year(), 1, 1).daysInYear();
    return d.year() + (d.dayOfYear() - 1 + frac) / jours;
}

QList<QByteArray> champs(const QByteArray& ligne)
{
    return ligne.simplified().split(' ');
}

bool nombres(const QList<QByteArray>& f, std::initializer_list<int> idx, std::vector<double>& v)
{
    v.clear();
    for (int i : idx) {
        if (i >= f.size())
            return false;
        bool ok = false;
        const double x = f[i].toDouble(&ok);
        if (!ok || !std::isfinite(x))
            return false;
        v.push_back(x);
    }
    return true;
}


bool lireTenv3(const QList<QByteArray>& lignes, SerieGPS& s)
{
    std::vector<double> v;
    for (const QByteArray& l : lignes) {
        const QList<QByteArray> f = champs(l);
        if (f.size() < 23 || f[0] == "site")
            continue;
        if (!nombres(f, {2, 7, 8, 9, 10, 11, 12, 20, 21, 22}, v))
            continue;
        if (s.code.isEmpty())
            s.code = QString::fromLatin1(f[0]);
        // Positions are split into an integer part and a fraction, in metres.
        s.points.push_back({v[0], v[3] + v[4], v[1] + v[2], v[5] + v[6]});
        s.latitude = v[7];
        s.longitude = ramenerLongitude(v[8]);
        s.hauteur = v[9];
    }
    return !s.points.empty();
}

bool lirePos(const QList<QByteArray>& lignes, SerieGPS& s)
{
    std::vector<double> v;
    static const QRegularExpression reId(QStringLiteral("4-character ID:\\s*(\\S+)"));
    for (const QByteArray& brute : lignes) {
        const QByteArray l = brute.startsWith('#') ? brute.mid(1) : brute;
        const QString texte = QString::fromLatin1(l);
        const auto m = reId.match(texte);
        if (m.hasMatch())
            s.code = m.captured(1);
        if (texte.contains(QLatin1String("NEU Reference position"))) {
            const QList<QByteArray> f = champs(l.mid(l.indexOf(':') + 1));
            if (nombres(f, {0, 1, 2}, v)) {
                s.latitude = v[0];
                s.longitude = ramenerLongitude(v[1]);
                s.hauteur = v[2];
            }
            continue;
        }
        if (brute.startsWith('#') || brute.startsWith('*'))
            continue;
        const QList<QByteArray> f = champs(l);
        if (f.size() >= 18 && f[0].size() == 8 && nombres(f, {2, 15, 16, 17}, v)) {
            // PBO .pos: YYYYMMDD HHMMSS MJD X Y Z ... NLat Elong Height dN dE dU ...
            s.points.push_back({anneeDecimaleMJD(v[0]), v[1], v[2], v[3]});
        } else if (f.size() >= 6 && f[0].contains('.') && nombres(f, {0, 3, 4, 5}, v) && v[0] > 1900 &&
                   v[0] < 2200) {
            // decimal year, year, day of year, dN, dE, dU (m), sigmas.
            s.points.push_back({v[0], v[1], v[2], v[3]});
        }
    }
    return !s.points.empty();
}

// "Nice" step for about `cible` graduations over `etendue`.
double pasRond(double etendue, int cible)
{
    if (etendue <= 0)
        return 1;
    const double brut = etendue / cible;
    const double p = std::pow(10.0, std::floor(std::log10(brut)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (brut <= m * p)
            return m * p;
    return 10 * p;
}

QString texteNombre(double v)
{
    if (std::fabs(v - std::round(v)) < 1e-9)
        return QString::number(static_cast<long long>(std::llround(v)));
    QString t = QString::number(v, 'f', 1);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return t;
}

double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return 0;
    const std::size_t k = std::min(v.size() - 1, static_cast<std::size_t>(q * (v.size() - 1)));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

// One component in cm about its median, day by day.
std::vector<double> variationsCm(const SerieGPS& s, double PointSerie::*c)
{
    std::vector<double> v;
    v.reserve(s.points.size());
    for (const auto& p : s.points)
        v.push_back(p.*c * 100.0);
    const double med = quantile(v, 0.5);
    for (double& x : v)
        x -= med;
    return v;
}

} // namespace

bool lireSerie(const QByteArray& donnees, const QString& nom, SerieGPS& s, QString* message)
{
    s = SerieGPS();
    const QList<QByteArray> lignes = donnees.split('\n');
    const bool tenv3 = !lignes.isEmpty() && lignes.front().startsWith("site YYMMMDD");
    const bool ok = tenv3 ? lireTenv3(lignes, s) : lirePos(lignes, s);
    if (!ok || s.points.size() < 2) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » : série de positions non reconnue (tenv3 de l'UNR, .pos de "
                                      "l'UNAVCO ou colonnes « année décimale, année, jour, dN, dE, dU » attendues).")
                           .arg(nom);
        return false;
    }
    std::stable_sort(s.points.begin(), s.points.end(), [](const PointSerie& a, const PointSerie& b) { return a.t < b.t; });
    if (s.code.isEmpty()) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » : code de la station introuvable.").arg(nom);
        return false;
    }
    return true;
}

bool vitessesSerie(const SerieGPS& s, VitessesSerie& out)
{
    const std::size_t n = s.points.size();
    if (n < 10 || s.points.back().t - s.points.front().t < 1.0)
        return false;
    double st = 0;
    for (const auto& p : s.points)
        st += p.t;
    const double tm = st / n;
    double stt = 0;
    for (const auto& p : s.points)
        stt += (p.t - tm) * (p.t - tm);
    auto ajuster = [&](double PointSerie::*c, double& v, double& sig) {
        double sy = 0;
        for (const auto& p : s.points)
            sy += p.*c;
        const double ym = sy / n;
        double sty = 0;
        for (const auto& p : s.points)
            sty += (p.t - tm) * (p.*c - ym);
        const double pente = sty / stt;
        double r2 = 0;
        for (const auto& p : s.points) {
            const double r = p.*c - ym - pente * (p.t - tm);
            r2 += r * r;
        }
        v = pente * 1000.0;
        sig = std::sqrt(r2 / (n - 2) / stt) * 1000.0;
    };
    ajuster(&PointSerie::n, out.vN, out.sN);
    ajuster(&PointSerie::e, out.vE, out.sE);
    ajuster(&PointSerie::u, out.vU, out.sU);
    return true;
}

TBitmap32 dessinerCourbes(const SerieGPS& s, AxesCourbes* axes)
{
    using namespace CourbesGPS;
    TBitmap32 img(Largeur, Hauteur, clWhite32);
    AxesCourbes a;
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(12);
    QFont titre(QStringLiteral("Arial"));
    titre.setPixelSize(14);
    titre.setBold(true);
    const TColor32 noir = clBlack32, grisClair = color32(215, 215, 215);

    // Heading (above the part the viewer shows, for whoever opens the file itself).
    const QString entete = QStringLiteral("Station %1 (%2° %3, %4° %5) : positions journalières")
                               .arg(s.code)
                               .arg(texteNombre(std::round(std::fabs(s.latitude) * 100) / 100))
                               .arg(s.latitude >= 0 ? QStringLiteral("N") : QStringLiteral("S"))
                               .arg(texteNombre(std::round(std::fabs(s.longitude) * 100) / 100))
                               .arg(s.longitude >= 0 ? QStringLiteral("E") : QStringLiteral("O"));
    img.drawText(20, 30, entete, titre, noir);

    if (s.points.empty())
        return img;
    // Time axis: whole years around the series.
    double t0 = std::floor(s.points.front().t), t1 = std::ceil(s.points.back().t);
    if (t1 <= t0)
        t1 = t0 + 1;
    const double pasT = pasRond(t1 - t0, 8) < 1 ? 1 : pasRond(t1 - t0, 8);
    t0 = std::floor(t0 / pasT) * pasT;
    t1 = std::ceil(t1 / pasT) * pasT;
    auto xDe = [&](double t) { return Gauche + (t - t0) / (t1 - t0) * (Droite - Gauche); };
    a.echelleTemps.pente = (t1 - t0) / (Droite - Gauche);
    a.echelleTemps.origine = t0 - Gauche * a.echelleTemps.pente;

    const QString titres[3] = {QStringLiteral("Variation de latitude (cm)"), QStringLiteral("Variation de longitude (cm)"),
                               QStringLiteral("Variation d'altitude (cm)")};
    const TColor32 couleurs[3] = {color32(0, 70, 170), color32(170, 20, 20), color32(0, 120, 40)};
    double PointSerie::*comp[3] = {&PointSerie::n, &PointSerie::e, &PointSerie::u};

    for (int k = 0; k < 3; ++k) {
        // Variations in cm about the median, the scale set on the bulk of the
        // points (a few outliers are drawn clipped to the frame).
        std::vector<double> v = variationsCm(s, comp[k]);
        double lo = quantile(v, 0.002), hi = quantile(v, 0.998);
        if (hi - lo < 1)
            lo -= 0.5, hi += 0.5;
        const double pasY = pasRond(hi - lo, 6);
        lo = std::floor(lo / pasY) * pasY;
        hi = std::ceil(hi / pasY) * pasY;
        const int haut = Haut[k], bas = Bas[k];
        auto yDe = [&](double c) { return bas - (c - lo) / (hi - lo) * (bas - haut); };
        a.echelles[k].pente = -(hi - lo) / (bas - haut);
        a.echelles[k].origine = lo - bas * a.echelles[k].pente;

        img.drawText(Gauche, haut - 24, (k == 0 ? s.code + QStringLiteral(" : ") : QString()) + titres[k], titre, noir);
        // Grid and graduations.
        for (double c = lo; c <= hi + pasY * 1e-6; c += pasY) {
            const double y = yDe(c);
            const int yi = static_cast<int>(std::lround(y));
            img.hLineBlend(Gauche, Droite, yi, grisClair);
            img.hLineBlend(Gauche - 4, Gauche, yi, noir);
            const QString t = texteNombre(std::fabs(c) < pasY * 1e-6 ? 0.0 : c);
            const int w = TBitmap32::textWidth(t, police);
            img.drawText(Gauche - 7 - w, yi - 8, t, police, noir);
            a.variations[k].push_back({static_cast<double>(yi), std::fabs(c) < pasY * 1e-6 ? 0.0 : c});
        }
        for (double t = t0; t <= t1 + pasT * 1e-6; t += pasT) {
            const int xi = static_cast<int>(std::lround(xDe(t)));
            img.vLineBlend(xi, haut, bas, grisClair);
            img.vLineBlend(xi, bas, bas + 4, noir);
            const QString txt = texteNombre(t);
            const int w = TBitmap32::textWidth(txt, police);
            img.drawText(xi - w / 2, bas + 5, txt, police, noir);
            if (k == 0)
                a.temps.push_back({static_cast<double>(xi), t});
        }
        img.frameRect(QRect(QPoint(Gauche, haut), QPoint(Droite, bas)), noir);
        // Daily positions.
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const double y = std::clamp(yDe(v[i]), static_cast<double>(haut + 1), static_cast<double>(bas - 1));
            img.blendPixelF(xDe(s.points[i].t), y, withAlpha(couleurs[k], 200));
        }
    }
    const QString axeT = QStringLiteral("Temps (années)");
    img.drawText((Gauche + Droite - TBitmap32::textWidth(axeT, police)) / 2, Bas[2] + 22, axeT, police, noir);
    if (axes)
        *axes = a;
    return img;
}

courbes::PositionsJournalieres positionsCourbes(const SerieGPS& s)
{
    courbes::PositionsJournalieres p;
    const std::vector<double> n = variationsCm(s, &PointSerie::n);
    const std::vector<double> e = variationsCm(s, &PointSerie::e);
    const std::vector<double> u = variationsCm(s, &PointSerie::u);
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        p.t.push_back(s.points[i].t);
        p.nord.push_back(n[i] * 10);
        p.est.push_back(e[i] * 10);
        p.haut.push_back(u[i] * 10);
    }
    return p;
}

courbes::Etalonnage etalonnageCourbes(const AxesCourbes& a)
{
    using namespace CourbesGPS;
    courbes::Etalonnage e;
    // View pixel x is picture pixel x + 15 (y + 70).
    e.definir(courbes::Temps, a.echelleTemps.pente, a.echelleTemps.origine + DecalageX * a.echelleTemps.pente);
    for (int k = 0; k < 3; ++k)
        e.definir(courbes::Latitude + k, a.echelles[k].pente, a.echelles[k].origine + DecalageY * a.echelles[k].pente);
    return e;
}
