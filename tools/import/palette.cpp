#include "import/palette.h"
#include "data/fichiers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

bool lireCouleur(const QString& t, TColor32& c)
{
    const QString s = t.trimmed().toLower();
    const QStringList rgb = s.split(QLatin1Char('/'));
    if (rgb.size() == 3) {
        bool a, b, d;
        const int r = rgb[0].toInt(&a), g = rgb[1].toInt(&b), bl = rgb[2].toInt(&d);
        if (!a || !b || !d)
            return false;
        c = color32(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(bl, 0, 255));
        return true;
    }
    static const QRegularExpression gris(QStringLiteral("^gr[ae]y(\\d{1,3})$"));
    const auto m = gris.match(s);
    if (m.hasMatch()) {
        const int v = (std::min(m.captured(1).toInt(), 100) * 255 + 50) / 100;
        c = color32(v, v, v);
        return true;
    }
    if (s == QLatin1String("white")) {
        c = 0xFFFFFFFF;
        return true;
    }
    if (s == QLatin1String("black")) {
        c = 0xFF000000;
        return true;
    }
    if (s == QLatin1String("gray") || s == QLatin1String("grey")) {
        c = color32(190, 190, 190);
        return true;
    }
    bool ok = false;
    const int v = s.toInt(&ok);
    if (ok && v >= 0 && v <= 255) {
        c = color32(v, v, v);
        return true;
    }
    return false;
}

TColor32 melange(TColor32 a, TColor32 b, double t)
{
    auto m = [t](std::uint32_t x, std::uint32_t y) {
        return static_cast<std::uint32_t>(std::lround(x + (static_cast<double>(y) - x) * t));
    };
    return color32(m(redOf(a), redOf(b)), m(greenOf(a), greenOf(b)), m(blueOf(a), blueOf(b)));
}

} // namespace

TColor32 Palette::couleur(double z) const
{
    if (std::isnan(z) || tranches.empty())
        return sansDonnee;
    if (z <= tranches.front().z0)
        return tranches.front().c0;
    if (z >= tranches.back().z1)
        return tranches.back().c1;
    // Binary search on the slices' upper bounds.
    auto it = std::lower_bound(tranches.begin(), tranches.end(), z,
                               [](const Tranche& t, double v) { return t.z1 < v; });
    if (it == tranches.end())
        it = tranches.end() - 1;
    const double w = it->z1 - it->z0;
    const double t = w > 0 ? std::clamp((z - it->z0) / w, 0.0, 1.0) : 0.0;
    return melange(it->c0, it->c1, t);
}

bool lirePalette(const QByteArray& texte, const QString& nom, Palette& p, QString* message)
{
    p = Palette();
    double gmin = 0, gmax = 0;
    bool plage = false, charniere = false;
    static const QRegularExpression rePlage(QStringLiteral("RANGE\\s*=\\s*(-?[0-9.eE+]+)/(-?[0-9.eE+]+)"));
    for (const QByteArray& brute : texte.split('\n')) {
        QString l = QString::fromUtf8(brute).trimmed();
        if (l.startsWith(QLatin1Char('#'))) {
            const auto m = rePlage.match(l);
            if (m.hasMatch()) {
                gmin = m.captured(1).toDouble();
                gmax = m.captured(2).toDouble();
                plage = gmax > gmin;
            }
            if (l.contains(QLatin1String("HARD_HINGE")) || l.contains(QLatin1String("SOFT_HINGE")))
                charniere = true;
            continue;
        }
        QString etiquette;
        const int pv = l.indexOf(QLatin1Char(';'));
        if (pv >= 0) {
            etiquette = l.mid(pv + 1).trimmed();
            l = l.left(pv).trimmed();
        }
        const QStringList f = l.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (f.isEmpty())
            continue;
        if (f.size() >= 2 && (f[0] == QLatin1String("B") || f[0] == QLatin1String("F") || f[0] == QLatin1String("N"))) {
            TColor32 c;
            if (lireCouleur(f[1], c))
                (f[0] == QLatin1String("B") ? p.dessous : f[0] == QLatin1String("F") ? p.dessus : p.sansDonnee) = c;
            continue;
        }
        if (f.size() < 4)
            continue;
        bool a, b;
        Palette::Tranche t;
        t.z0 = f[0].toDouble(&a);
        t.z1 = f[2].toDouble(&b);
        if (!a || !b || !lireCouleur(f[1], t.c0) || !lireCouleur(f[3], t.c1))
            continue;
        t.etiquette = etiquette;
        p.tranches.push_back(t);
    }
    if (p.tranches.empty()) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » : aucune tranche de couleur (table CPT « z0 R/G/B z1 R/G/B » "
                                      "attendue).")
                           .arg(nom);
        return false;
    }
    std::sort(p.tranches.begin(), p.tranches.end(),
              [](const Palette::Tranche& x, const Palette::Tranche& y) { return x.z0 < y.z0; });
    // Normalised tables: -1..0 maps to min..0 and 0..1 to 0..max (with a hinge),
    // or -1..1 linearly to min..max.
    if (plage && p.zMin() >= -1.0001 && p.zMax() <= 1.0001) {
        auto etirer = [&](double z) {
            if (charniere)
                return z < 0 ? z * -gmin : z * gmax;
            return gmin + (z + 1) / 2 * (gmax - gmin);
        };
        for (auto& t : p.tranches) {
            t.z0 = etirer(t.z0);
            t.z1 = etirer(t.z1);
        }
    }
    return true;
}

bool chargerPalette(const QString& chemin, Palette& p, QString* message)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » non trouvé.").arg(nomAffiche(chemin));
        return false;
    }
    return lirePalette(f.readAll(), nomAffiche(chemin), p, message);
}
