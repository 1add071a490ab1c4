// "Légende": the small window over the map that shows the colour scale of the
// ocean-floor age overlay.
#pragma once

#include "ui/bitmap32.h"

#include <QWidget>

class QLabel;

class TEchage : public QWidget {
    Q_OBJECT
public:
    explicit TEchage(QWidget* parent = nullptr);
    // Shows the picture (the window takes its size).
    void montrer(const TBitmap32& image);
    QLabel* legende = nullptr;
};
