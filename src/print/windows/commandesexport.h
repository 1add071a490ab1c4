// The map's export commands: its four print items ("&Imprimer" of "&Fichier"),
// "Enregistrer l'image sous...", the four copy items of "Edition" › "&Copier"
// (the visible part or the delimited zone, to the clipboard or to the drawing
// sheet), the copy option (black-and-white or colour base) and "Fenêtre  de
// Dessin".
//
// What is exported is what the map shows, in view pixels: the part of the map the
// view shows (or the delimited zone) rendered off screen by the map's scene, over
// the black-and-white base of the current size when asked, so that the screen never
// changes.
#pragma once

#include "ui/bitmap32.h"

#include <QRect>

#include <functional>

class TCarte;

class TCommandesExport {
public:
    // `imprimer` prints a picture through the print layout manager.
    TCommandesExport(TCarte& carte, std::function<bool(const TBitmap32&)> imprimer);

    // The view rectangle where the map is drawn, within the view's client area.
    QRect partieVisible() const;
    // The delimited zone in view pixels (smaller coordinates first); empty when
    // there is none or when it is smaller than 15 x 15 pixels.
    QRect zoneDelimitee() const;
    // A view rectangle of the map as it shows, over the black-and-white base when
    // `nb` (and the map does not already show it); without the zone's outline when
    // `sansCadre`.
    TBitmap32 capturer(const QRect& zoneVue, bool nb, bool sansCadre = false);

    // Tags 0 "avec fond de carte en N/B", 1 "la sélection (fond en N/B)", 2 "tout
    // en couleurs", 3 "la sélection en couleurs".
    void ImprimerExecute(int tag);
    void Enregistrerlimagesous1Click();
    void Verslepressepapier1Click();
    void Copierverslafeuillededessin1Click();
    void Copierlapartiedelimiteeverslepressepapier1Click();
    void Copierlapartiedelimiteeverslafeuillededessin1Click();
    void FenetredeDessin1Click();

private:
    bool copieNB() const;
    // The black-and-white base of the current size, rolled by the shift (kept for
    // the next capture while neither changes); nullptr when it cannot be read.
    const TBitmap32* fondNB();
    void finirZone();
    void majZone();

    TCarte& carte_;
    std::function<bool(const TBitmap32&)> imprimer_;
    TBitmap32 fondNB_;
    QString fondNBFichier_;
    int fondNBDecalage_ = 0;
};
