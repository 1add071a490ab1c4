// A picture panel redrawn from its data at any pixel size: a copied image (kind 0),
// a cross-section (kind 1), an empty frame (kind 2) or a blank legend panel
// (kind 3), with the user's annotations drawn on top.
#pragma once

#include "drawing/coupetypes.h"
#include "drawing/dessins.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Kinds of picture (TBitmapSIG::Nature).
constexpr std::uint8_t nbImage = 0;
constexpr std::uint8_t nbCoupe = 1;
constexpr std::uint8_t nbCadre = 2;
constexpr std::uint8_t nbLegende = 3;

// Longest annotation name kept beside a picture's annotations.
constexpr int kLongueurNomDessin = 20;

class TBitmapSIG {
public:
    TBitmapSIG() = default;
    virtual ~TBitmapSIG() = default;
    TBitmapSIG(const TBitmapSIG&) = delete;
    TBitmapSIG& operator=(const TBitmapSIG&) = delete;

    std::uint8_t Nature = nbImage;
    std::int32_t marge_gauche = 5;
    std::int32_t marge_haut = 5;
    std::int32_t marge_bas = 5;
    std::int32_t marge_droite = 5;
    bool points_epais = true;
    bool cadre = true;
    std::int32_t index = 0;
    QString nom;
    // Annotations, drawn in order. A null slot ends the list: rendering shortens the
    // array there.
    std::vector<std::unique_ptr<TDessin>> dessins;
    std::vector<QString> noms_dessins; // parallel to dessins, at most 20 characters each
    TColor32 couleur_seismes = 0;
    TColor32 couleur_volcans = 0;
    TColor32 couleur_cadre = 0xFF7F7F7F;
    TColor32 couleur_fond = 0; // its alpha is the panel's opacity
    std::vector<PointProfil> profil;
    std::vector<PointProjete> seismes;
    std::vector<float> magnitudes_seismes; // kind 1: the magnitude of each entry of seismes
    std::vector<PointProjete> volcans;
    std::vector<ZoneCroute> zones_croute;
    std::int32_t hauteur_relief = 110;
    std::int32_t ligne_zero_profondeur = 0; // row of the annotations' origin
    std::int32_t ligne_niveau_mer = 0;
    TColor32 couleur_profil = 0;
    TColor32 couleur_niveau_mer = 0;
    std::int32_t exageration = 0;
    double echelle = 0.0;      // pixels per document unit: the annotations' scale
    double decalage_km = 0.0;
    bool zones_visibles = false;
    bool relief_au_dessus = false;
    std::int32_t mise_en_page = -1; // -1: a section lays itself out at each rendering
    // Kind 0: the image, shared between a picture and its copies.
    std::shared_ptr<TBitmap32> image;

    // Makes this picture an independent copy of the source: every field and data
    // array, fresh copies of the annotations with their names; the image is shared.
    // A null source leaves the picture unchanged.
    void CopierDe(const TBitmapSIG* source);

    // Appends an annotation (taken over) under `nomDessin`, cut to 20 characters.
    void AjouterDessin(std::unique_ptr<TDessin> dessin, const QString& nomDessin);
    // Releases annotation i and closes the gap; false for a bad index.
    bool SupprimerDessin(int i);
    // Releases every annotation.
    void ViderDessins();
};

// Renders the picture onto the target at the target's current size: background,
// grey border, the kind's content, then the annotations (origin (marge_gauche,
// ligne_zero_profondeur), scale echelle).
void DessinerDocument(TBitmapSIG& picture, TBitmap32& target);

// Draws the content of a cross-section (kind 1) after the background and border
// and before the annotations; it lays the section out first when it has to.
using TRenduCoupe = std::function<void(TBitmapSIG& section, TBitmap32& target)>;
// Installs the renderer of kind 1 (an empty function removes it). Until one is
// installed, a section draws only its background, border and annotations.
void DefinirRenduCoupe(TRenduCoupe rendu);

// Pattern fill of the untouched region (pixels exactly 0x00FFFFFF) around the seed,
// four-way connected: ink pixels are blended with the colour, the others with the
// colour at alpha 1, so every reached pixel stops being fillable. Iterative.
void RemplirForme(int x, int y, TColor32 colour, TBitmap32& target, int fill);
