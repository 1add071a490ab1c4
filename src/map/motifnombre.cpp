#include "map/motifnombre.h"

#include "data/decimal.h"

#include <cmath>
#include <string>

QString formatMotif(double v, const QString& motif)
{
    auto chiffreMotif = [](QChar c) { return c == QLatin1Char('#') || c == QLatin1Char('0'); };
    auto dansMotif = [&](QChar c) { return chiffreMotif(c) || c == QLatin1Char(',') || c == QLatin1Char('.'); };
    int debut = 0;
    while (debut < motif.size() && !chiffreMotif(motif[debut]))
        ++debut;
    int fin = debut;
    while (fin < motif.size() && dansMotif(motif[fin]))
        ++fin;
    const QString avant = motif.left(debut);
    const QString apres = motif.mid(fin);
    const QString nombre = motif.mid(debut, fin - debut);

    const int point = nombre.indexOf(QLatin1Char('.'));
    const QString entier = point < 0 ? nombre : nombre.left(point);
    const QString decimales = point < 0 ? QString() : nombre.mid(point + 1);
    const int minEntier = static_cast<int>(entier.count(QLatin1Char('0')));
    const bool grouper = entier.contains(QLatin1Char(','));
    const int minDec = static_cast<int>(decimales.count(QLatin1Char('0')));
    const int maxDec = minDec + static_cast<int>(decimales.count(QLatin1Char('#')));

    if (!std::isfinite(v))
        v = 0;
    const double echelle = std::pow(10.0, maxDec);
    // Beyond 2^62 nothing the program shows is meaningful any more.
    const double a = std::min(std::fabs(v) * echelle, 4.0e18);
    const long long r = std::llround(a);
    const long long p = static_cast<long long>(echelle);
    const long long partieEntiere = r / p;
    std::string fraction = maxDec > 0 ? std::to_string(r % p) : std::string();
    if (maxDec > 0)
        fraction.insert(0, static_cast<std::size_t>(maxDec) - fraction.size(), '0');
    while (static_cast<int>(fraction.size()) > minDec && fraction.back() == '0')
        fraction.pop_back();

    QString chiffres;
    if (partieEntiere != 0 || minEntier > 0) {
        chiffres = QString::number(partieEntiere);
        if (chiffres.size() < minEntier)
            chiffres.prepend(QString(minEntier - static_cast<int>(chiffres.size()), QLatin1Char('0')));
        if (grouper)
            for (qsizetype i = chiffres.size() - 3; i > 0; i -= 3)
                chiffres.insert(i, QChar(SeparateurMilliers));
    }
    if (!fraction.empty())
        chiffres += QChar::fromLatin1(SeparateurDecimal()) + QString::fromStdString(fraction);
    const bool negatif = v < 0 && r != 0;
    return avant + (negatif ? QStringLiteral("-") : QString()) + chiffres + apres;
}
