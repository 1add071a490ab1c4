// An ordered list of named drawings, as kept by the drawing sheet: each new drawing
// is appended under its kind's list name and a running number that only grows, so
// numbers are not reused after a removal. Drawn from first to last, so later
// drawings cover earlier ones.
#pragma once

#include "drawing/dessins.h"

#include <QString>

#include <memory>
#include <vector>

class TListeDessins {
public:
    struct Entree {
        QString nom;
        std::unique_ptr<TDessin> dessin;
    };

    int Count() const { return static_cast<int>(entrees_.size()); }
    bool EstVide() const { return entrees_.empty(); }
    const QString& Nom(int i) const { return entrees_.at(static_cast<std::size_t>(i)).nom; }
    TDessin* Dessin(int i) const { return entrees_.at(static_cast<std::size_t>(i)).dessin.get(); }
    // The last number given (0 before the first drawing).
    int Compteur() const { return compteur_; }

    // Appends the drawing (taken over) and returns the name it was given; a null
    // drawing is ignored and gives an empty name.
    QString Ajouter(std::unique_ptr<TDessin> dessin);
    // Releases the drawing at index i and closes the gap; false for a bad index.
    bool Supprimer(int i);
    void Vider();

    // Undo: asks "Voulez-vous effacer le dernier tracé" and removes the last drawing
    // on Yes. True when a drawing was removed.
    bool AnnulerDernier();
    // Asks "Voulez-vous effacer le tracé : <name>" and removes drawing i on Yes.
    bool SupprimerApresConfirmation(int i);

    // Draws every drawing in order; a drawing that fails is skipped. Returns the
    // number of drawings that failed.
    int Dessiner(TBitmap32& cible, double ox, double oy, double s) const;

private:
    std::vector<Entree> entrees_;
    int compteur_ = 0;
};
