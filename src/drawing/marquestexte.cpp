#include "drawing/marquestexte.h"

#include <algorithm>

namespace {
const char* const noms[] = {"b", "i", "u", "sup", "sub"};
}

QString baliseOuvrante(int bouton)
{
    if (bouton < 0 || bouton > 4)
        return QString();
    return QStringLiteral("<%1>").arg(QLatin1String(noms[bouton]));
}

QString baliseFermante(int bouton)
{
    if (bouton < 0 || bouton > 4)
        return QString();
    return QStringLiteral("</%1>").arg(QLatin1String(noms[bouton]));
}

TexteSaisi appliquerMarque(const TexteSaisi& avant, int bouton, bool enfonce)
{
    TexteSaisi r = avant;
    const int n = static_cast<int>(r.texte.size());
    const int a = std::clamp(avant.curseur, 0, n);
    const int L = std::clamp(avant.longueur, 0, n - a);
    r.curseur = a;
    r.longueur = L;
    const QString ouvrante = baliseOuvrante(bouton);
    const QString fermante = baliseFermante(bouton);
    if (ouvrante.isEmpty())
        return r;
    const int lo = static_cast<int>(ouvrante.size());
    if (!enfonce && L > 0) {
        // Unwrapping the selection, when it is wrapped.
        if (a < lo || r.texte.mid(a - lo, lo) != ouvrante)
            return r;
        r.texte.remove(a - lo, lo);
        const int apres = a - lo + L;
        if (r.texte.mid(apres, fermante.size()) == fermante)
            r.texte.remove(apres, fermante.size());
        r.curseur = a - lo;
        return r;
    }
    const QString balise = enfonce ? ouvrante : fermante;
    r.texte.insert(a, balise);
    r.curseur = a + static_cast<int>(balise.size());
    if (L > 0)
        r.texte.insert(r.curseur + L, fermante);
    return r;
}
