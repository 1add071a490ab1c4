#include "print/miseenpage.h"

#include "ui/arrondi.h"

#include <algorithm>
#include <cmath>

bool TMiseEnPage::MiseEnPage()
{
    // Worked on copies: a layout that fails leaves every value as it was.
    int gauche = margegauche, droite = margedroite, haut = margehaut, bas = margebas;
    int iw = (PW - gauche - droite - (nbcol - 1) * espaces) / nbcol;
    if (iw <= 5 || arrondi(iw * R) <= 5) {
        Avertissement = true;
        return false;
    }
    const int h = (PH - haut - bas - (nblig - 1) * espaces) / nblig;
    int ih;
    if (h < arrondi(iw * R)) {
        // The height limits: the grid is narrower than the page allows.
        ih = h;
        iw = arrondi(h / R);
        const int w = PW - gauche - droite - iw * nbcol - (nbcol - 1) * espaces;
        if (w > 1) {
            gauche += w / 2;
            droite += w / 2;
        }
    } else {
        ih = arrondi(iw * R);
        const int v = PH - haut - bas - (ih * nblig + (nblig - 1) * espaces);
        if (v > 1) {
            haut += v / 2;
            bas += v / 2;
        }
    }
    if (ih <= 4 || iw <= 0) {
        Avertissement = true;
        return false;
    }
    IW = iw;
    IH = ih;
    margegauche = gauche;
    margedroite = droite;
    margehaut = haut;
    margebas = bas;
    LargeurImprimable = PW - margedroite - margegauche;
    HauteurImprimable = PH - margebas - margehaut;
    Avertissement = false;
    AVerifier = false;
    return true;
}

void TMiseEnPage::margeChange(const QStringList& textes)
{
    int* const champs[] = {&margegauche, &margedroite, &margehaut, &margebas, &espaces};
    const int n = std::min<int>(5, static_cast<int>(textes.size()));
    for (int i = 0; i < n; ++i) {
        bool ok = false;
        const int v = textes[i].trimmed().toInt(&ok);
        if (!ok)
            break;
        *champs[i] = std::clamp(v, 0, i < 4 ? MargeMaxi : EspacesMaxi);
    }
    AVerifier = true;
}

void TMiseEnPage::centrerVerticalement()
{
    margehaut = margebas = (margehaut + margebas) / 2;
    HauteurImprimable = PH - margebas - margehaut;
}

void TMiseEnPage::centrerHorizontalement()
{
    margegauche = margedroite = (margegauche + margedroite) / 2;
    LargeurImprimable = PW - margedroite - margegauche;
}

void TMiseEnPage::RAZ()
{
    margegauche = margedroite = margehaut = margebas = MargeInitiale;
    MiseEnPage();
}

void TMiseEnPage::changerLignesColonnes(int lignes, int colonnes)
{
    nblig = std::clamp(lignes, 1, LignesColonnesMaxi);
    nbcol = std::clamp(colonnes, 1, LignesColonnesMaxi);
    AVerifier = true;
    RAZ();
}

void TMiseEnPage::changerOrientation(OrientationPage o)
{
    orientation_ = o;
    orienter();
    AVerifier = true;
    RAZ();
}

void TMiseEnPage::changerFormat(FormatPapier f)
{
    format_ = f;
    PetitCote = f == FormatPapier::A3 ? 297 : 210;
    GrandCote = f == FormatPapier::A3 ? 420 : 297;
    orienter();
    MiseEnPage();
    AVerifier = true;
}

void TMiseEnPage::orienter()
{
    const bool portrait = orientation_ == OrientationPage::Portrait;
    PW = portrait ? PetitCote : GrandCote;
    PH = portrait ? GrandCote : PetitCote;
}

void TMiseEnPage::definirRapport(double rapport)
{
    if (std::isfinite(rapport) && rapport > 0)
        R = rapport;
}

void TMiseEnPage::definirRapport(int largeur, int hauteur)
{
    if (largeur > 0 && hauteur > 0)
        R = static_cast<double>(hauteur) / largeur;
}

QString TMiseEnPage::texteTaille() const
{
    return QString::number(IW) + QStringLiteral(" x ") + QString::number(IH);
}

QSize TMiseEnPage::panneauPage() const
{
    return QSize(arrondi(PW * PixelsParMm) + 4, arrondi(PH * PixelsParMm) + 4);
}

QRect TMiseEnPage::cadre() const
{
    return QRect(arrondi(margegauche * PixelsParMm) + 2, arrondi(margehaut * PixelsParMm) + 2,
                 arrondi(LargeurImprimable * PixelsParMm), arrondi(HauteurImprimable * PixelsParMm));
}

std::vector<QRect> TMiseEnPage::cellulesApercu() const
{
    std::vector<QRect> cellules;
    if (IW <= 0 || IH <= 0)
        return cellules;
    const int w = std::max(1, arrondi(IW * PixelsParMm));
    const int h = std::max(1, arrondi(IH * PixelsParMm));
    for (int r = 0; r < nblig; ++r)
        for (int c = 0; c < nbcol; ++c)
            cellules.emplace_back(arrondi(c * (IW + espaces) * PixelsParMm), arrondi(r * (IH + espaces) * PixelsParMm),
                                  w, h);
    return cellules;
}

bool TMiseEnPage::imprimable() const
{
    if (Avertissement || IW <= 0 || IH <= 0 || margegauche < 0 || margehaut < 0)
        return false;
    const long long largeur = margegauche + static_cast<long long>(nbcol) * IW + (nbcol - 1LL) * espaces;
    const long long hauteur = margehaut + static_cast<long long>(nblig) * IH + (nblig - 1LL) * espaces;
    return largeur <= PW && hauteur <= PH;
}
