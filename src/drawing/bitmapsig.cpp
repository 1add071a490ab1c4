#include "drawing/bitmapsig.h"

#include "drawing/inondation.h"

namespace {

TRenduCoupe& RenduCoupe()
{
    static TRenduCoupe rendu;
    return rendu;
}

} // namespace

void DefinirRenduCoupe(TRenduCoupe rendu)
{
    RenduCoupe() = std::move(rendu);
}

void TBitmapSIG::CopierDe(const TBitmapSIG* source)
{
    if (!source || source == this)
        return;
    Nature = source->Nature;
    marge_gauche = source->marge_gauche;
    marge_haut = source->marge_haut;
    marge_bas = source->marge_bas;
    marge_droite = source->marge_droite;
    points_epais = source->points_epais;
    cadre = source->cadre;
    index = source->index;
    nom = source->nom;

    ViderDessins();
    const std::size_t n = source->dessins.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TDessin* d = source->dessins[i].get();
        if (!d)
            break; // the used part ends at the first empty slot
        auto copie = std::make_unique<TDessin>();
        copie->CopierDe(d);
        AjouterDessin(std::move(copie), i < source->noms_dessins.size() ? source->noms_dessins[i] : QString());
    }

    couleur_seismes = source->couleur_seismes;
    couleur_volcans = source->couleur_volcans;
    couleur_cadre = source->couleur_cadre;
    couleur_fond = source->couleur_fond;
    profil = source->profil;
    seismes = source->seismes;
    magnitudes_seismes = source->magnitudes_seismes;
    volcans = source->volcans;
    zones_croute = source->zones_croute;
    hauteur_relief = source->hauteur_relief;
    ligne_zero_profondeur = source->ligne_zero_profondeur;
    ligne_niveau_mer = source->ligne_niveau_mer;
    couleur_profil = source->couleur_profil;
    couleur_niveau_mer = source->couleur_niveau_mer;
    exageration = source->exageration;
    echelle = source->echelle;
    decalage_km = source->decalage_km;
    zones_visibles = source->zones_visibles;
    relief_au_dessus = source->relief_au_dessus;
    mise_en_page = source->mise_en_page;
    image = source->image;
}

void TBitmapSIG::AjouterDessin(std::unique_ptr<TDessin> dessin, const QString& nomDessin)
{
    dessins.push_back(std::move(dessin));
    noms_dessins.push_back(nomDessin.left(kLongueurNomDessin));
}

bool TBitmapSIG::SupprimerDessin(int i)
{
    if (i < 0 || i >= static_cast<int>(dessins.size()))
        return false;
    dessins.erase(dessins.begin() + i);
    if (i < static_cast<int>(noms_dessins.size()))
        noms_dessins.erase(noms_dessins.begin() + i);
    return true;
}

void TBitmapSIG::ViderDessins()
{
    dessins.clear();
    noms_dessins.clear();
}

void DessinerDocument(TBitmapSIG& picture, TBitmap32& target)
{
    if (target.isEmpty())
        return;
    const int w = target.width();
    const int h = target.height();
    target.clear(picture.couleur_fond);

    if (picture.cadre) {
        const TColor32 c = picture.couleur_cadre;
        for (int x = 0; x < w; ++x) {
            target.setPixel(x, 0, c);
            target.setPixel(x, h - 1, c);
        }
        for (int y = 0; y < h; ++y) {
            target.setPixel(0, y, c);
            target.setPixel(w - 1, y, c);
        }
    }

    switch (picture.Nature) {
    case nbImage:
        // The whole image stretched over all but the last column and row, which
        // keep the background (and border).
        if (picture.image && !picture.image->isEmpty() && w > 1 && h > 1)
            target.draw(QRect(0, 0, w - 1, h - 1), picture.image->boundsRect(), *picture.image,
                        TBitmap32::DrawMode::Blend);
        break;
    case nbCoupe:
        if (RenduCoupe())
            RenduCoupe()(picture, target);
        break;
    case nbCadre:
        target.frameRect(QRect(QPoint(picture.marge_gauche, picture.marge_haut),
                               QPoint(w - picture.marge_droite - 1, h - picture.marge_bas - 1)),
                         clBlack32);
        break;
    default:
        break;
    }

    auto& ds = picture.dessins;
    for (std::size_t i = 0; i < ds.size(); ++i) {
        if (!ds[i]) {
            ds.resize(i);
            if (picture.noms_dessins.size() > i)
                picture.noms_dessins.resize(i);
            break;
        }
        // A drawing that fails is skipped; the others are still drawn.
        ds[i]->Dessiner(target, target, picture.marge_gauche, picture.ligne_zero_profondeur, picture.echelle);
    }
}

void RemplirForme(int x, int y, TColor32 colour, TBitmap32& target, int fill)
{
    const TColor32 trou = withAlpha(colour, 1);
    // Blending a fully transparent colour leaves the pixel fillable: track visits.
    const bool suivre = alphaOf(colour) == 0;
    // Every reached pixel is 0x00FFFFFF, over which blending gives the source back
    // (or the pixel itself for a fully transparent source): both are precomputed.
    const TColor32 encre = blendOver(colour, clTransparentWhite32);
    const TColor32 vide = blendOver(trou, clTransparentWhite32);
    Inonder(
        target, x, y, suivre, [](TColor32 p) { return p == clTransparentWhite32; },
        [&](int px, int py, TColor32& p) { p = MotifEncre(fill, px, py) ? encre : vide; });
}
