#include "section/renducoupe.h"

#include "map/rendu.h"
#include "ui/arrondi.h"

#include <algorithm>
#include <cmath>

namespace coupe {

namespace {

std::function<double()>& limiteProfondeur()
{
    static std::function<double()> f;
    return f;
}

double profondeurLimite()
{
    return limiteProfondeur() ? limiteProfondeur()() : 500.0;
}

} // namespace

void CalculerMiseEnPage(TBitmapSIG& s, int largeur, int hauteur)
{
    if (s.Nature != nbCoupe || s.profil.empty())
        return;
    const double L = s.profil.back().distance;
    if (!(L > 0))
        return;
    const double E = s.exageration;
    double p = (largeur - s.marge_gauche - s.marge_droite) / L;
    double dmax = 0;
    for (const PointProjete& q : s.seismes)
        dmax = std::max(dmax, static_cast<double>(q.valeur));
    // The deepest focus must fit above the bottom margin: the scale shrinks when it
    // would not (and never to nothing when even the relief leaves no room).
    auto ajuster = [&](int zero, auto recalculerZero) {
        if (!s.seismes.empty() && dmax > 0 && hauteur - s.marge_bas < zero + arrondi(dmax * p / 1000.0)) {
            const double place = hauteur - zero - s.marge_bas;
            if (place > 0) {
                p = place / dmax * 1000.0;
                zero = recalculerZero();
            }
        }
        return zero;
    };
    if (s.relief_au_dessus) {
        s.hauteur_relief = arrondi(20000.0 * p * E / 1000.0) + s.marge_haut + s.marge_bas;
        auto zero = [&] { return arrondi(9000.0 * p / 1000.0) + s.hauteur_relief + s.marge_haut; };
        s.ligne_zero_profondeur = ajuster(zero(), zero);
        s.ligne_niveau_mer = arrondi(-11000.0 * p * E / 1000.0) + s.hauteur_relief - s.marge_bas;
    } else {
        s.hauteur_relief = 0;
        auto zero = [&] { return arrondi(9000.0 * p * E / 1000.0) + s.marge_haut; };
        s.ligne_zero_profondeur = ajuster(zero(), zero);
        s.ligne_niveau_mer = s.ligne_zero_profondeur;
    }
    s.echelle = p;
}

int colonneDistance(const TBitmapSIG& s, double km)
{
    return arrondi(km * s.echelle) + s.marge_gauche;
}

namespace {

struct Repere {
    double p, s1, sE;
    int x(const TBitmapSIG& s, double d) const { return arrondi(d * p) + s.marge_gauche; }
    int xProfil(const TBitmapSIG& s, double d) const { return arrondi((d + s.decalage_km) * p) + s.marge_gauche; }
};

// The exaggerated relief line, shifted left by dx, onto any bitmap.
void ligneRelief(const TBitmapSIG& s, const Repere& r, TBitmap32& cible, int dx, TColor32 couleur)
{
    const auto& pr = s.profil;
    for (std::size_t j = 1; j < pr.size(); ++j) {
        const int xa = r.xProfil(s, pr[j - 1].distance) - dx, xb = r.xProfil(s, pr[j].distance) - dx;
        const int ya = s.ligne_niveau_mer - arrondi(pr[j - 1].altitude * r.sE);
        const int yb = s.ligne_niveau_mer - arrondi(pr[j].altitude * r.sE);
        cible.lineAA(xa, ya, xb, yb, couleur);
    }
}

void dessinerZones(const TBitmapSIG& s, const Repere& r, TBitmap32& cible)
{
    const int hauteur = s.hauteur_relief - 1;
    if (hauteur <= 1)
        return;
    for (const ZoneCroute& z : s.zones_croute) {
        const int x1 = r.xProfil(s, z.debut), x2 = r.xProfil(s, z.fin);
        const int largeur = x2 - x1;
        if (largeur <= 0)
            continue;
        // The level's row, kept inside the relief frame.
        const int e = std::min(s.ligne_niveau_mer - arrondi(z.niveau * r.sE), s.hauteur_relief - 2);
        if (e < 0)
            continue;
        TBitmap32 travail(largeur, hauteur);
        ligneRelief(s, r, travail, x1, s.couleur_profil);
        // Everything under the relief line takes the pattern; only the part above
        // the level is kept.
        RemplirForme(largeur / 2, hauteur - 1, z.couleur, travail, z.style);
        const int lignes = std::min(e + 1, hauteur);
        cible.draw(QRect(x1, 0, largeur, lignes), QRect(0, 0, largeur, lignes), travail, TBitmap32::DrawMode::Blend);
    }
}

} // namespace

void DessinerCoupe(TBitmapSIG& s, TBitmap32& cible)
{
    if (s.Nature != nbCoupe || cible.isEmpty())
        return;
    if (s.mise_en_page == -1)
        CalculerMiseEnPage(s, cible.width(), cible.height());
    if (s.profil.empty() || !(s.profil.back().distance > 0) || !(s.echelle > 0))
        return;
    Repere r;
    r.p = s.echelle;
    r.s1 = r.p / 1000.0;
    r.sE = s.exageration * r.s1;
    const int W = cible.width();
    const bool avecSeismes = !s.seismes.empty();
    const bool dessus = s.relief_au_dessus;
    // Below the foci the relief stands at true scale when it has its own frame
    // above; otherwise this is the only relief, exaggerated as the rows were laid.
    const double sFoyers = dessus ? r.s1 : r.sE;

    if (dessus) {
        // A section laid out alone gets a grey relief frame; superposed, the frame
        // takes the picture's own background, so the section under it shows through.
        const TColor32 fond = s.mise_en_page == -1 ? GrisRelief : s.couleur_fond;
        const QRect cadreRelief(0, 0, W, s.hauteur_relief);
        if (s.cadre)
            cible.fillRect(cadreRelief.adjusted(1, 1, -1, 0), fond);
        else
            cible.fillRect(cadreRelief, fond);
        if (avecSeismes)
            cible.frameRect(cadreRelief, clBlack32);
    }

    const auto& pr = s.profil;
    for (std::size_t j = 1; j < pr.size(); ++j) {
        const int xa = r.xProfil(s, pr[j - 1].distance), xb = r.xProfil(s, pr[j].distance);
        if (dessus) {
            cible.lineAA(xa, s.ligne_niveau_mer - arrondi(pr[j - 1].altitude * r.sE), xb,
                         s.ligne_niveau_mer - arrondi(pr[j].altitude * r.sE), s.couleur_profil);
            if (pr[j].altitude < 0)
                cible.setPixelS(xb, s.ligne_niveau_mer, s.couleur_niveau_mer);
        }
        if (avecSeismes || !dessus)
            cible.lineAA(xa, s.ligne_zero_profondeur - arrondi(pr[j - 1].altitude * sFoyers), xb,
                         s.ligne_zero_profondeur - arrondi(pr[j].altitude * sFoyers), s.couleur_profil);
    }

    if (dessus && s.zones_visibles)
        dessinerZones(s, r, cible);

    const double limite = profondeurLimite();
    for (const PointProjete& q : s.seismes)
        tracerPoint(cible, r.x(s, q.distance), s.ligne_zero_profondeur + arrondi(q.valeur * r.s1),
                    couleurProfondeur(s.couleur_seismes, q.valeur / 1000.0, limite), s.points_epais);

    for (const PointProjete& v : s.volcans) {
        const int x = r.x(s, v.distance);
        if (avecSeismes)
            tracerPoint(cible, x, s.ligne_zero_profondeur - arrondi(v.valeur * sFoyers), s.couleur_volcans,
                        s.points_epais);
        if (dessus || !avecSeismes) {
            const int y = s.ligne_niveau_mer - arrondi(v.valeur * r.sE);
            tracerPoint(cible, x, y, s.couleur_volcans, s.points_epais);
            // Joined to the relief on both sides of its place.
            for (std::size_t j = 0; j + 1 < pr.size(); ++j) {
                if (pr[j].distance <= v.distance && v.distance < pr[j + 1].distance) {
                    for (const std::size_t k : {j, j + 1})
                        cible.lineAA(r.xProfil(s, pr[k].distance),
                                     s.ligne_niveau_mer - arrondi(pr[k].altitude * r.sE), x, y, s.couleur_volcans);
                    break;
                }
            }
        }
    }
}

void installerRenduCoupe(std::function<double()> profondeur)
{
    limiteProfondeur() = std::move(profondeur);
    DefinirRenduCoupe([](TBitmapSIG& s, TBitmap32& cible) { DessinerCoupe(s, cible); });
}

} // namespace coupe
