// The waiting window "Patience" and the running of a long computation behind it.
//
// The computation runs on a thread of its own while the window's thread waits for
// it; when it lasts longer than a delay, the waiting window shows (over the
// application, which takes no input meanwhile) and the windows keep repainting.
// The computation must not touch any window.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;

class TPatience : public QDialog {
    Q_OBJECT
public:
    explicit TPatience(QWidget* parent = nullptr);
    QLabel* Texte = nullptr; // "Calculs en cours... Patience !"
};

// Runs `calcul` with the hourglass cursor; the waiting window shows once it has
// run `delaiMs` milliseconds. An exception of the computation is thrown again
// here, after the window is gone. True when the window was shown.
bool executerAvecPatience(const std::function<void()>& calcul, QWidget* parent, int delaiMs = 500);
