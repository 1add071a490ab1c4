// Printing a laid-out picture on a paged device: a printer or a PDF file. Each
// copy is one page of the job, with the picture stretched into every cell of the
// grid at the device's own resolution.
#pragma once

#include "print/miseenpage.h"
#include "ui/bitmap32.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

class QPagedPaintDevice;

// Where the copies go on a page whose width is largeurPagePixels device pixels.
struct TGeometrieImpression {
    double k = 0;     // device pixels per millimetre
    int largeur = 0;  // one copy
    int hauteur = 0;
    int pasLigne = 0; // from one row (column) of copies to the next
    int pasColonne = 0;
    int haut = 0;     // top and left margins
    int gauche = 0;
    std::vector<QRect> cellules; // row after row
};
TGeometrieImpression geometrieImpression(const TMiseEnPage& mp, int largeurPagePixels);

// The picture as it goes on paper: laid over white (its transparent parts are
// the paper), in grey levels when asked. The source is left as it is, so that a
// grey print never turns the caller's picture grey.
QImage imagePourImpression(const TBitmap32& image, bool niveauxDeGris);

// Gives the device the layout's paper (A4 or A3) and orientation, with no margins:
// millimetre 0 is the paper's edge. False when the device refuses the page.
bool preparerPage(QPagedPaintDevice& dev, const TMiseEnPage& mp);

struct TResultatImpression {
    bool ok = false;
    QString message; // in French, naming the destination, when not ok
};

// One job of `copies` pages (1..100) on the device, each holding the whole grid;
// the page is prepared first. The same QImage serves every cell and page, so that
// a PDF holds the picture once. `destination` names the printer or file in the
// messages.
TResultatImpression imprimerPages(QPagedPaintDevice& dev, const QImage& image, const TMiseEnPage& mp, int copies,
                                  const QString& destination);

// The same job into a PDF file. The file is written under a temporary name in
// its folder and takes its own name only once complete, so that when anything
// fails (folder missing or protected, disk full) an earlier file of that name
// stays whole and no partial file is left.
TResultatImpression imprimerPDF(const QString& chemin, const TBitmap32& image, bool niveauxDeGris,
                                const TMiseEnPage& mp, int copies);

// What each failure says.
QString messageRienAImprimer();
QString messageMiseEnPageImpossible();
