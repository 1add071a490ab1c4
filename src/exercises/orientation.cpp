#include "exercises/orientation.h"

#include "drawing/dessins.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Sens {
    const char* libelle;
    const char* texte;
    FlecheDirection fleche;
};

const std::array<Sens, NbDirections> sens = {{
    {"Nord", " N", {{32, 4}, {28, 8}, {36, 8}}},
    {"N-E", " N-E", {{52, 12}, {52, 16}, {48, 12}}},
    {"Est", " E", {{60, 32}, {56, 28}, {56, 36}}},
    {"S-E", " S-E", {{52, 52}, {52, 48}, {48, 52}}},
    {"Sud", " S", {{32, 60}, {28, 56}, {36, 56}}},
    {"S-O", " S-O", {{12, 52}, {12, 48}, {16, 52}}},
    {"Ouest", " O", {{4, 32}, {8, 28}, {8, 36}}},
    {"N-O", " N-O", {{12, 12}, {12, 16}, {16, 12}}},
}};

bool codeValide(int code)
{
    return code >= 0 && code < NbDirections;
}

} // namespace

QString libelleDirection(int code)
{
    return codeValide(code) ? QString::fromLatin1(sens[static_cast<std::size_t>(code)].libelle) : QString();
}

QString texteDirection(int code)
{
    return codeValide(code) ? QString::fromLatin1(sens[static_cast<std::size_t>(code)].texte) : QString();
}

ReponseAttendue reponseAttendue(double nord, double est)
{
    ReponseAttendue r;
    if (!std::isfinite(nord) || !std::isfinite(est) || (nord == 0 && est == 0))
        return r;
    r.valide = true;
    // A displacement along a meridian or a parallel points to the cardinal
    // direction alone: neither neighbouring quadrant is nearer than the other.
    if (est == 0) {
        r.direction = nord > 0 ? Nord : Sud;
        r.texte = texteDirection(r.direction);
        return r;
    }
    if (nord == 0) {
        r.direction = est > 0 ? Est : Ouest;
        r.texte = texteDirection(r.direction);
        return r;
    }
    if (nord > 0)
        r.direction = est > 0 ? NordEst : NordOuest;
    else
        r.direction = est > 0 ? SudEst : SudOuest;
    r.texte = texteDirection(r.direction);
    // One component more than ten times the other: its cardinal direction is right too.
    if (std::fabs(nord / est) > 10)
        r.aussi = nord > 0 ? Nord : Sud;
    else if (std::fabs(est / nord) > 10)
        r.aussi = est > 0 ? Est : Ouest;
    if (r.aussi >= 0)
        r.texte += QStringLiteral(" (ou %1)").arg(texteDirection(r.aussi).trimmed());
    return r;
}

FlecheDirection flecheDirection(int code)
{
    return codeValide(code) ? sens[static_cast<std::size_t>(code)].fleche : FlecheDirection{};
}

void dessinerFleche(TBitmap32& image, int code, TColor32 fond, TColor32 trait, int echelle)
{
    const int k = std::max(1, echelle);
    image.setSize(CoteFleche * k, CoteFleche * k);
    image.clear(fond);
    if (!codeValide(code))
        return;
    const FlecheDirection f = flecheDirection(code);
    const QPoint centre = QPoint(32, 32) * k, pointe = f.pointe * k;
    const QPoint barbes[2] = {f.barbe1 * k, f.barbe2 * k};
    TracerLigne(centre.x(), centre.y(), pointe.x(), pointe.y(), image, stPlein, flAucune, trait, 1);
    for (const QPoint& b : barbes)
        TracerLigne(pointe.x(), pointe.y(), b.x(), b.y(), image, stPlein, flAucune, trait, 1);
}
