// The print layout manager "Choix de l'impression": one picture printed in a grid
// of copies on each page, with margins and spacing in millimetres, in portrait or
// landscape, on A4 or A3, in colour or grey levels, on a chosen printer or into a
// PDF file, in a number of copies (the pages of one job).
//
// Callers (the map's print items, the drawing sheet, the cross-section window)
// hand it the picture to print; it keeps its settings between uses.
#pragma once

#include "print/miseenpage.h"
#include "ui/bitmap32.h"

#include <QDialog>
#include <QFrame>
#include <QImage>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The printed area in the preview: the copies drawn with the picture in them.
class TCadreApercu : public QFrame {
    Q_OBJECT
public:
    explicit TCadreApercu(QWidget* parent);
    // The caption shown when there is no picture.
    QString texte() const { return QStringLiteral("document(s)"); }
    void definir(const std::vector<QRect>& cellules, const QImage& miniature);
    int nombreCellules() const { return static_cast<int>(cellules_.size()); }
    bool avecImage() const { return !miniature_.isNull(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<QRect> cellules_;
    QImage miniature_;
};

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

    // The layout as the controls show it.
    const TMiseEnPage& miseEnPage() const { return mp_; }
    // The entries of the printer list: the given printers, the default one chosen,
    // then the PDF file entry (chosen when there is no printer). Made from the
    // system's printers at creation.
    void definirImprimantes(const QStringList& noms, const QString& parDefaut);
    // The PDF file entry is chosen in the printer list.
    bool versPDF() const;
    // Where the PDF save dialog opens; then the folder of the last PDF written.
    QString DossierPDF;

    // OK stays in the window while the layout does not fit (the warning shows).
    void accept() override;

    QGroupBox* orientation;
    QRadioButton* portrait;
    QRadioButton* paysage;
    QComboBox* formatpage;
    QGroupBox* Couleur;
    QRadioButton* BoutonCouleur;
    QRadioButton* BoutonGris;
    QComboBox* imprimante;
    QSpinBox* Nombrecopies;
    QSpinBox* nblig;
    QSpinBox* nbcol;
    QSpinBox* margegauche;
    QSpinBox* margedroite;
    QSpinBox* margehaut;
    QSpinBox* margebas;
    QSpinBox* espaces;
    QLabel* taillim;
    QPushButton* verifier;
    QLabel* Avertis;
    QPushButton* centrevert;
    QPushButton* CentreHrz;
    QPushButton* RAZ;
    QFrame* Page;
    TCadreApercu* cadre;
    QPushButton* BoutonOK;
    QPushButton* BoutonAnnuler;

private:
    // The controls from the layout, under the recomputing flag so that their change
    // events are not taken for the user's.
    void afficher();
    void margeChange();
    void lignesColonnesChange();
    void orientationChange();
    void formatChange();
    void majApercu();
    bool lancerImpression();

    TMiseEnPage mp_;
    QWidget* apercu_ = nullptr; // holds the page panel in either orientation
    TBitmap32 image_;
    QImage miniature_; // the picture at about the preview's size, over white
    QImage miniatureGris_;
    bool recalcul_ = false;
};
