// The station positioning exercise: the pupil reads a station's latitude and
// longitude and clicks the 20° square of the small world map that holds it.
#pragma once

#include "exercises/notation.h"
#include "exercises/tirage.h"
#include "ui/bitmap32.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class TExemples;

// The 540 × 270 picture; a press reports the point pressed.
class TPlanis : public QWidget {
    Q_OBJECT
public:
    explicit TPlanis(QWidget* parent = nullptr);
    void definirImage(const TBitmap32& image);
    const QImage& image() const { return image_; }
    std::function<void(const QPoint&)> appui;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QImage image_;
};

class TPosvecteur : public QDialog {
    Q_OBJECT
public:
    // fournirImage gives the exercise's 540 × 270 world picture with its grid
    // (made from the map each time the exercise starts).
    TPosvecteur(TExemples& exemples, std::function<TBitmap32()> fournirImage, QWidget* parent = nullptr);

    // Starts or takes up the exercise: a new question, the window shown. False
    // when it is finished or the examples do not allow it.
    bool demarrer();
    void changerHasard(const SourceHasard& hasard) { tirage_.changerHasard(hasard); }

    // A press on the picture at (x, y) of the picture.
    void planisMouseDown(int x, int y);
    void BitBtn1Click();
    void BitBtn2Click();
    void Button1Click();

    // --- State, for the tests ---
    const TNoteExercice& note() const { return note_; }
    const Question& question() const { return question_; }
    int carreChoisi() const { return carreChoisi_; }
    // The number of the right square of the current question (0 when none).
    int carreAttendu() const;
    TPlanis* planis() const { return planis_; }

private:
    void nouvelleQuestion();
    void majNote();

    TExemples& exemples_;
    std::function<TBitmap32()> fournirImage_;
    TNoteExercice note_;
    TTirage tirage_{GenreExercice::Position};
    Question question_;
    int carreChoisi_ = 0;

    QLabel* numero = nullptr;
    QLabel* codestation = nullptr;
    QLabel* dlat = nullptr;
    QLabel* dlon = nullptr;
    QLabel* PaNote = nullptr;
    TPlanis* planis_ = nullptr;
    QFrame* Marque = nullptr;
    QFrame* B_marque = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QFrame* Panaide = nullptr;
    QPushButton* Button1 = nullptr;
};
