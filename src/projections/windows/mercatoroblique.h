// The window "Projection Mercator oblique": the two discs of the polar view
// unrolled about the pole, small circles about it running horizontally. It shows
// the base picture only; the polar view builds it and keeps whether it is up to
// date.
#pragma once

#include "ui/bitmap32.h"

#include <QMainWindow>

class QAction;
class QScrollBar;
class TImageView;

class TMercatorOblique : public QMainWindow {
    Q_OBJECT
public:
    explicit TMercatorOblique(QWidget* parent = nullptr);

    TImageView* VueMercaObl = nullptr;
    QScrollBar* ValeurZoom = nullptr; // 20 … 100, view scale = position / 100
    QAction* Copierlimage1 = nullptr;

    // The unrolled picture to show.
    void installer(TBitmap32&& image);
    const TBitmap32& image() const;
    // The zoom that shows the whole width of the picture.
    void ajusterZoom();
    void ValeurZoomChange();
    void CopierlimageClick();
};

// What a view shows of its picture and visible layers at its zoom, as on the
// screen; empty when it shows nothing.
TBitmap32 partieAffichee(const TImageView& vue);
// Puts it on the clipboard; false when there is nothing to copy.
bool copierPartieAffichee(const TImageView& vue);
// Shows a window over the whole screen.
void afficherEnGrand(QWidget& fenetre);
