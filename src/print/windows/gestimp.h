// The print layout manager "Choix de l'impression": one picture printed in a grid
// of copies on each page, with margins and spacing in millimetres, in portrait or
// landscape, on A4 or A3, in colour or grey levels, on a chosen printer or into a
// PDF file, in a number of copies (the pages of one job).
//
// Callers (the map's print items, the drawing sheet, the cross-section window)
// hand it the picture to print; it keeps its settings between uses.
#pragma once

#include "ui/bitmap32.h"

#include <QDialog>

#include <functional>

class Tgestimp : public QDialog {
    Q_OBJECT
public:
    explicit Tgestimp(QWidget* parent = nullptr);
    ~Tgestimp() override;

    // The picture to print: the manager keeps its own copy until the next caller
    // replaces it; the ratio R is set to its height / width.
    void definirImage(const TBitmap32& image);
    const TBitmap32& image() const;
    double rapport() const;

    // Shows the manager modally with this picture and prints on OK. True when a
    // job was sent (or a PDF file written).
    bool imprimer(const TBitmap32& image);

    // Runs the dialog modally; tests replace it.
    std::function<int(QDialog&)> executerDialogue;
};
