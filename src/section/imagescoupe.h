// The pictures of the cross-section window and their bookkeeping: the four legend
// panels followed by the sections, which picture each of the four frames shows,
// the frame count and the superposition, the annotations and crust colourings
// with their undo list (which is also the list of the "le tracé..." items), and
// the section-level commands: add, delete the last, delete one, reverse, the
// exaggeration and the colours.
//
// Whatever the order of the commands, every frame shows an existing picture, the
// section menus (made from the list) name the pictures at their places, and every
// undo entry points at an existing annotation or colouring.
#pragma once

#include "drawing/bitmapsig.h"
#include "section/renducoupe.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace coupe {

constexpr int NbLegendes = 4;
constexpr int NbCadresMax = 4;
// Margins applied to every displayed picture.
constexpr int MargeGauche = 30;
constexpr int MargeHaut = 10;
constexpr int MargeBas = 5;
constexpr int MargeDroite = 30;

// One undo entry: the picture, the annotation's (or crust colouring's) index in it.
struct ActionCoupe {
    int image = 0;
    int indice = 0;
    bool croute = false;
    bool operator==(const ActionCoupe& o) const
    {
        return image == o.image && indice == o.indice && croute == o.croute;
    }
};

// An item of "le tracé..." with the undo entry it stands for.
struct EntreeTrace {
    QString libelle;
    ActionCoupe action;
};

// The exaggeration factors of the menu.
constexpr std::array<int, 7> Exagerations{1, 2, 5, 10, 20, 50, 100};

class TImagesCoupe {
public:
    TImagesCoupe();

    // --- The pictures ---
    int nombre() const { return static_cast<int>(images_.size()); }
    TBitmapSIG& image(int i) { return *images_[static_cast<std::size_t>(i)]; }
    const TBitmapSIG& image(int i) const { return *images_[static_cast<std::size_t>(i)]; }
    bool valide(int i) const { return i >= 0 && i < nombre(); }
    bool estCoupe(int i) const { return i >= NbLegendes && valide(i) && image(i).Nature == nbCoupe; }
    int nombreCoupes() const { return nombre() - NbLegendes; }
    // The items of the section menus ("Afficher...", "Cadre du dessous..."): the
    // name of every picture, legends first; item i shows picture i.
    QStringList nomsMenus() const;

    // --- Frames ---
    int cadre(int k) const { return cadres_[static_cast<std::size_t>(k)]; }
    int nombreCadres() const { return nbCadres_; }
    bool superposition() const { return superposer_; }
    // Superposed with at least two sections: frames 0 (above) and 1 share the image.
    bool superpositionEffective() const { return superposer_ && nombreCoupes() >= 2; }
    // The frames the display uses.
    int cadresAffiches() const { return superpositionEffective() ? 2 : nbCadres_; }
    bool aucuneCoupe() const { return aucuneCoupe_; }
    // Frame k shows picture i (ignored for a bad frame or picture).
    void afficherDans(int k, int i);
    // "&Superposer": at most two of the displayed sections go to frames 0 and 1 (the
    // second legend under a lone section), one frame.
    void superposer();
    // "un cadre", "deux cadres", "quatre cadres".
    void juxtaposer(int n);

    // --- Window defaults for new sections ---
    TColor32 couleurSeismes = CouleurSeismesDefaut;
    TColor32 couleurVolcans = CouleurVolcansDefaut;
    TColor32 couleurProfil = CouleurProfilDefaut;
    TColor32 couleurNiveauMer = CouleurNiveauMerDefaut;
    TColor32 teinte = TeinteSuperpositionDefaut;
    int exageration() const { return exageration_; }
    bool reliefAuDessus = false; // what new sections take

    // A new section picture with the window's defaults (not yet in the list).
    std::unique_ptr<TBitmapSIG> nouvelleCoupe(const QString& nom, bool pointsEpais) const;
    // Appends the section and places it: frame 0 shows it, the others move one
    // frame on; the first three sections give one, two and four frames. Returns
    // its index.
    int AjouterCoupe(std::unique_ptr<TBitmapSIG> section);

    // "la &dernière coupe": only when the last picture is a section. False when
    // nothing was deleted.
    bool supprimerDerniereCoupe();
    // "Supprimer la coupe" (already confirmed) on picture i shown in frame `cadre`:
    // a legend loses its annotations; a section leaves the list. False when nothing
    // changed.
    bool supprimerImage(int i, int cadreClique);

    // "Inverser l'orientation de la coupe": every distance d becomes L - d; the
    // annotations are mirrored. Twice gives the section back.
    bool inverser(int i);
    // "&Exagération des reliefs": every section takes the factor.
    void definirExageration(int e);

    // --- Annotations and crust colourings ---
    int compteurDessins() const { return compteur_; }
    int prochainNumero() { return ++compteur_; }
    // Appends the annotation to picture i under its name (at most 20 characters),
    // with its undo entry and its item "name - picture name".
    void ajouterDessin(int i, std::unique_ptr<TDessin> d, const QString& nom);
    // Appends the crust colouring to section i; its item is `libelle`.
    void ajouterZone(int i, const ZoneCroute& z, const QString& libelle);
    const std::vector<EntreeTrace>& traces() const { return traces_; }
    bool peutAnnuler() const { return !traces_.empty(); }
    // "Annuler" (already confirmed): removes what the last entry points at.
    bool annuler();
    // An item of "le tracé..." (already confirmed): removes that annotation or
    // colouring, its item and entry; the later ones of the same picture move down.
    bool effacerTrace(int item);

    // Checks the bookkeeping (tests): empty when consistent, else what is wrong.
    QString verifier() const;

private:
    void renumeroter();
    // Removes element `indice` of the kind from picture i and lowers the entries
    // that pointed after it; the entries that pointed at it go.
    void retirerElement(int i, int indice, bool croute);
    // Forgets every entry of picture i and lowers those of later pictures when the
    // picture itself leaves the list.
    void oublierImage(int i, bool retiree);

    std::vector<std::unique_ptr<TBitmapSIG>> images_;
    std::array<int, NbCadresMax> cadres_{0, 1, 2, 3};
    int nbCadres_ = 1;
    bool superposer_ = false;
    bool aucuneCoupe_ = true;
    int exageration_ = 5;
    int compteur_ = 0;
    std::vector<EntreeTrace> traces_;
};

} // namespace coupe
