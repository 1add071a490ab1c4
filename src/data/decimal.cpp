#include "data/decimal.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace {

char gSeparateur = '.';

bool blanc(char c)
{
    return c == ' ' || c == '\t';
}

bool chiffre(char c)
{
    return c >= '0' && c <= '9';
}

void rogner(const char*& debut, const char*& fin)
{
    while (debut < fin && blanc(*debut))
        ++debut;
    while (fin > debut && blanc(fin[-1]))
        --fin;
}

}  // namespace

void DeterminerSeparateurDecimal()
{
    const QString p = QLocale::system().decimalPoint();
    definirSeparateurDecimal(p == QLatin1String(",") ? ',' : '.');
}

char SeparateurDecimal()
{
    return gSeparateur;
}

char MarqueDecimaleRemplacee()
{
    return gSeparateur == ',' ? '.' : ',';
}

void definirSeparateurDecimal(char separateur)
{
    gSeparateur = separateur == ',' ? ',' : '.';
}

void remplacerMarqueDecimale(QByteArray& texte)
{
    texte.replace(MarqueDecimaleRemplacee(), SeparateurDecimal());
}

QString remplacerMarqueDecimale(const QString& texte)
{
    QString r = texte;
    r.replace(QChar::fromLatin1(MarqueDecimaleRemplacee()), QChar::fromLatin1(SeparateurDecimal()));
    return r;
}

bool convertirReel(const char* debut, const char* fin, char point, double& valeur)
{
    rogner(debut, fin);
    if (debut == fin)
        return false;
    // Check the shape: [sign] digits [point digits] [e [sign] digits], at least one
    // mantissa digit. This keeps out "inf", "nan", hexadecimal and the other mark.
    std::string s;
    s.reserve(static_cast<std::size_t>(fin - debut));
    const char* p = debut;
    if (*p == '+' || *p == '-') {
        if (*p == '-')
            s.push_back('-');
        ++p;
    }
    int chiffresMantisse = 0;
    bool pointVu = false;
    for (; p < fin; ++p) {
        if (chiffre(*p)) {
            ++chiffresMantisse;
            s.push_back(*p);
        } else if (*p == point && !pointVu) {
            pointVu = true;
            s.push_back('.');
        } else {
            break;
        }
    }
    if (chiffresMantisse == 0)
        return false;
    if (p < fin && (*p == 'e' || *p == 'E')) {
        s.push_back('e');
        ++p;
        if (p < fin && (*p == '+' || *p == '-'))
            s.push_back(*p++);
        int chiffresExposant = 0;
        for (; p < fin && chiffre(*p); ++p, ++chiffresExposant)
            s.push_back(*p);
        if (chiffresExposant == 0)
            return false;
    }
    if (p != fin)
        return false;
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    valeur = v;
    return true;
}

bool convertirReel(const QByteArray& texte, char point, double& valeur)
{
    return convertirReel(texte.constData(), texte.constData() + texte.size(), point, valeur);
}

bool convertirReelSysteme(const QString& texte, double& valeur)
{
    const QByteArray b = texte.toLatin1();
    return convertirReel(b, SeparateurDecimal(), valeur);
}

bool convertirEntier(const char* debut, const char* fin, int& valeur)
{
    rogner(debut, fin);
    if (debut == fin)
        return false;
    const char* p = debut;
    const char* chiffres = (*p == '+' || *p == '-') ? p + 1 : p;
    if (chiffres == fin || !chiffre(*chiffres))
        return false;
    if (*p == '+')
        ++p;
    int v = 0;
    const auto r = std::from_chars(p, fin, v);
    if (r.ec != std::errc() || r.ptr != fin)
        return false;
    valeur = v;
    return true;
}
