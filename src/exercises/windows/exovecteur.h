// The window of the two vector exercises: "Orientation des vecteurs" (mode 1,
// the direction of a station's velocity vector) and "Mouvements relatifs" (mode
// 0, the direction of a station's motion relative to another taken as fixed).
//
// Each mode keeps its own question number, mark and help flag for the whole run;
// a finished mode cannot be taken again.
#pragma once

#include "exercises/notation.h"
#include "exercises/orientation.h"
#include "exercises/tirage.h"
#include "ui/bitmap32.h"

#include <QDialog>

#include <array>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class TExemples;

class Tvecteur : public QDialog {
    Q_OBJECT
public:
    enum Mode { MouvementsRelatifs = 0, OrientationVecteurs = 1 };

    explicit Tvecteur(TExemples& exemples, QWidget* parent = nullptr);

    // Starts (or takes up again) the exercise of a mode: a new question is drawn
    // and the window shown. False when the mode is finished or the examples do
    // not allow it (the pupil has been told why).
    bool demarrer(int mode);
    void changerHasard(const SourceHasard& hasard);

    // The eight direction buttons (tag = direction code).
    void RadioButtonClick(int code);
    // "OK": the answer is marked.
    void BitBtn1Click();
    // "Aide": the help panel.
    void BitBtn2Click();
    // "X": closes the help panel.
    void Button1Click();

    // --- State, for the commands and the tests ---
    int mode() const { return mode_; }
    const TNoteExercice& note(int mode) const { return etats_[static_cast<std::size_t>(mode ? 1 : 0)].note; }
    const Question& question() const { return question_; }
    int choix() const { return choix_; }
    const TBitmap32& imageFleche() const { return fleche_; }
    // The expected answer of the current question.
    ReponseAttendue attendue() const;

private:
    struct EtatMode {
        TNoteExercice note;
        TTirage tirage;
    };
    EtatMode& etat() { return etats_[static_cast<std::size_t>(mode_ ? 1 : 0)]; }
    GenreExercice genre() const;
    void nouvelleQuestion();
    void montrerFleche();
    void majNote();

    TExemples& exemples_;
    std::array<EtatMode, 2> etats_;
    int mode_ = OrientationVecteurs;
    Question question_;
    int choix_ = Nord;
    TBitmap32 fleche_;

    QLabel* numero = nullptr;
    QLabel* Eti_instrO = nullptr;
    QLabel* Eti_instrdif = nullptr;
    QLabel* codestation = nullptr;
    QLabel* dlat = nullptr;
    QLabel* dlon = nullptr;
    QFrame* PanelRef = nullptr;
    QLabel* CodestationR = nullptr;
    QLabel* DlatR = nullptr;
    QLabel* DlonR = nullptr;
    QButtonGroup* directions_ = nullptr;
    std::array<QRadioButton*, NbDirections> boutons_{};
    QLabel* TrVect = nullptr;
    QLabel* PaNote = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QFrame* Panaide = nullptr;
    QLabel* Labeldiff = nullptr;
    QPushButton* Button1 = nullptr;
};
