#include "print/windows/gestimp.h"

#include "data/fichiers.h"
#include "print/impression.h"
#include "ui/dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString EntreePDF = QStringLiteral("Imprimer dans un fichier PDF…");
constexpr int MiniatureMaxi = 320;

QSpinBox* spin(QWidget* parent, const QString& nom, int mini, int maxi, int valeur)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(nom);
    s->setRange(mini, maxi);
    s->setValue(valeur);
    return s;
}

QRadioButton* radio(QWidget* parent, const QString& nom, const QString& texte)
{
    auto* r = new QRadioButton(texte, parent);
    r->setObjectName(nom);
    return r;
}

QPushButton* bouton(QWidget* parent, const QString& nom, const QString& texte)
{
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TCadreApercu::TCadreApercu(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("cadre"));
    setFrameShape(QFrame::Box);
    setToolTip(texte());
}

void TCadreApercu::definir(const std::vector<QRect>& cellules, const QImage& miniature)
{
    cellules_ = cellules;
    miniature_ = miniature;
    update();
}

void TCadreApercu::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xE8, 0xEE, 0xF4));
    if (miniature_.isNull() || cellules_.empty()) {
        p.setPen(Qt::black);
        p.drawText(rect(), Qt::AlignCenter, texte());
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        for (const QRect& c : cellules_)
            p.drawImage(c, miniature_);
    }
    p.end();
    QFrame::paintEvent(e);
}

Tgestimp::Tgestimp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("gestimp"));
    setWindowTitle(QStringLiteral("Choix de l'impression"));
    setModal(true);
    executerDialogue = [](QDialog& d) { return d.exec(); };
    DossierPDF = QDir::currentPath();

    // Page: orientation, paper, colour.
    orientation = new QGroupBox(QStringLiteral("Orientation"), this);
    orientation->setObjectName(QStringLiteral("orientation"));
    portrait = radio(orientation, QStringLiteral("portrait"), QStringLiteral("portrait"));
    paysage = radio(orientation, QStringLiteral("paysage"), QStringLiteral("paysage"));
    portrait->setChecked(true);
    auto* go = new QVBoxLayout(orientation);
    go->addWidget(portrait);
    go->addWidget(paysage);

    formatpage = new QComboBox(this);
    formatpage->setObjectName(QStringLiteral("formatpage"));
    formatpage->addItems({QStringLiteral("A4"), QStringLiteral("A3")});

    Couleur = new QGroupBox(QStringLiteral("Impression"), this);
    Couleur->setObjectName(QStringLiteral("Couleur"));
    BoutonCouleur = radio(Couleur, QStringLiteral("BoutonCouleur"), QStringLiteral("Couleur"));
    BoutonGris = radio(Couleur, QStringLiteral("BoutonGris"), QStringLiteral("Niveaux de gris"));
    BoutonCouleur->setChecked(true);
    auto* gc = new QVBoxLayout(Couleur);
    gc->addWidget(BoutonCouleur);
    gc->addWidget(BoutonGris);

    imprimante = new QComboBox(this);
    imprimante->setObjectName(QStringLiteral("imprimante"));
    imprimante->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Nombrecopies = spin(this, QStringLiteral("Nombrecopies"), 1, 100, 1);

    // Grid, margins and spacing.
    nblig = spin(this, QStringLiteral("nblig"), 1, TMiseEnPage::LignesColonnesMaxi, mp_.nblig);
    nbcol = spin(this, QStringLiteral("nbcol"), 1, TMiseEnPage::LignesColonnesMaxi, mp_.nbcol);
    margegauche = spin(this, QStringLiteral("margegauche"), 0, TMiseEnPage::MargeMaxi, mp_.margegauche);
    margedroite = spin(this, QStringLiteral("margedroite"), 0, TMiseEnPage::MargeMaxi, mp_.margedroite);
    margehaut = spin(this, QStringLiteral("margehaut"), 0, TMiseEnPage::MargeMaxi, mp_.margehaut);
    margebas = spin(this, QStringLiteral("margebas"), 0, TMiseEnPage::MargeMaxi, mp_.margebas);
    espaces = spin(this, QStringLiteral("espaces"), 0, TMiseEnPage::EspacesMaxi, mp_.espaces);

    taillim = new QLabel(this);
    taillim->setObjectName(QStringLiteral("taillim"));
    verifier = bouton(this, QStringLiteral("verifier"), QStringLiteral("Vérifier"));
    Avertis = new QLabel(QStringLiteral("Image trop petite.\nAjustez les valeurs"), this);
    Avertis->setObjectName(QStringLiteral("Avertis"));
    Avertis->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));
    centrevert = bouton(this, QStringLiteral("centrevert"), QStringLiteral("Centrer verticalement"));
    CentreHrz = bouton(this, QStringLiteral("CentreHrz"), QStringLiteral("Centrer horizontalement"));
    RAZ = bouton(this, QStringLiteral("RAZ"), QStringLiteral("RAZ"));
    RAZ->setToolTip(QStringLiteral("Marges remises à 10 mm"));

    // Preview: the white page with the printed area at 0.6 pixel per millimetre.
    auto* support = new QWidget(this);
    const int cote = TMiseEnPage().panneauPage().height();
    support->setMinimumSize(cote, cote);
    Page = new QFrame(support);
    Page->setObjectName(QStringLiteral("Page"));
    Page->setFrameShape(QFrame::Box);
    Page->setAutoFillBackground(true);
    QPalette blanc = Page->palette();
    blanc.setColor(QPalette::Window, Qt::white);
    Page->setPalette(blanc);
    cadre = new TCadreApercu(Page);
    auto* placeApercu = new QHBoxLayout;
    placeApercu->addWidget(support);
    apercu_ = support;

    BoutonOK = new QPushButton(QStringLiteral("OK"), this);
    BoutonOK->setObjectName(QStringLiteral("BoutonOK"));
    BoutonOK->setDefault(true);
    BoutonAnnuler = bouton(this, QStringLiteral("BoutonAnnuler"), QStringLiteral("Annuler"));

    // Placement.
    auto* gauche = new QVBoxLayout;
    gauche->addWidget(orientation);
    auto* fmt = new QHBoxLayout;
    fmt->addWidget(new QLabel(QStringLiteral("Format :"), this));
    fmt->addWidget(formatpage, 1);
    gauche->addLayout(fmt);
    gauche->addWidget(Couleur);
    gauche->addWidget(new QLabel(QStringLiteral("Imprimante :"), this));
    gauche->addWidget(imprimante);
    auto* cop = new QHBoxLayout;
    cop->addWidget(new QLabel(QStringLiteral("Nombre de copies :"), this));
    cop->addWidget(Nombrecopies);
    gauche->addLayout(cop);
    gauche->addStretch(1);

    auto* grille = new QGridLayout;
    int l = 0;
    auto ligne = [&](const QString& texte, QWidget* w) {
        grille->addWidget(new QLabel(texte, this), l, 0);
        grille->addWidget(w, l, 1);
        ++l;
    };
    ligne(QStringLiteral("Lignes :"), nblig);
    ligne(QStringLiteral("Colonnes :"), nbcol);
    ligne(QStringLiteral("Marge gauche (mm) :"), margegauche);
    ligne(QStringLiteral("Marge droite (mm) :"), margedroite);
    ligne(QStringLiteral("Marge haute (mm) :"), margehaut);
    ligne(QStringLiteral("Marge basse (mm) :"), margebas);
    ligne(QStringLiteral("Espacement (mm) :"), espaces);
    auto* milieu = new QVBoxLayout;
    milieu->addLayout(grille);
    auto* taille = new QHBoxLayout;
    taille->addWidget(new QLabel(QStringLiteral("taille de l'image (mm) :"), this));
    taille->addWidget(taillim, 1);
    milieu->addLayout(taille);
    milieu->addWidget(verifier);
    milieu->addWidget(Avertis);
    milieu->addWidget(centrevert);
    milieu->addWidget(CentreHrz);
    milieu->addWidget(RAZ);
    milieu->addStretch(1);

    auto* haut = new QHBoxLayout;
    haut->addLayout(gauche);
    haut->addLayout(milieu);
    haut->addLayout(placeApercu);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(BoutonOK);
    boutons->addWidget(BoutonAnnuler);
    auto* v = new QVBoxLayout(this);
    v->addLayout(haut);
    v->addLayout(boutons);

    // Events.
    for (QSpinBox* s : {margegauche, margedroite, margehaut, margebas, espaces})
        connect(s, &QSpinBox::textChanged, this, [this] { margeChange(); });
    for (QSpinBox* s : {nblig, nbcol})
        connect(s, &QSpinBox::valueChanged, this, [this] { lignesColonnesChange(); });
    connect(portrait, &QRadioButton::toggled, this, [this] { orientationChange(); });
    connect(formatpage, &QComboBox::currentIndexChanged, this, [this] { formatChange(); });
    connect(BoutonGris, &QRadioButton::toggled, this, [this] { majApercu(); });
    connect(verifier, &QPushButton::clicked, this, [this] {
        mp_.MiseEnPage();
        afficher();
    });
    connect(RAZ, &QPushButton::clicked, this, [this] {
        mp_.RAZ();
        afficher();
    });
    connect(centrevert, &QPushButton::clicked, this, [this] {
        mp_.centrerVerticalement();
        // Written as the user would: the margins change and "Vérifier" is offered.
        // Each edit reads every spin edit back, so both values are taken first.
        const int m = mp_.margehaut;
        margehaut->setValue(m);
        margebas->setValue(m);
        majApercu();
    });
    connect(CentreHrz, &QPushButton::clicked, this, [this] {
        mp_.centrerHorizontalement();
        const int m = mp_.margegauche;
        margegauche->setValue(m);
        margedroite->setValue(m);
        majApercu();
    });
    connect(BoutonOK, &QPushButton::clicked, this, &Tgestimp::accept);
    connect(BoutonAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    QStringList noms;
    for (const QString& n : QPrinterInfo::availablePrinterNames())
        noms.append(n);
    definirImprimantes(noms, QPrinterInfo::defaultPrinterName());

    mp_.MiseEnPage();
    afficher();
}

Tgestimp::~Tgestimp() = default;

void Tgestimp::definirImage(const TBitmap32& image)
{
    image_ = image;
    mp_.definirRapport(image_.width(), image_.height());
    miniature_ = QImage();
    miniatureGris_ = QImage();
    if (!image_.isEmpty()) {
        const double f = std::min(1.0, static_cast<double>(MiniatureMaxi) / std::max(image_.width(), image_.height()));
        // A reduced copy first, so that the preview costs little whatever the picture.
        const QImage petite =
            image_.asImage().scaled(std::max(1, static_cast<int>(image_.width() * f)),
                                    std::max(1, static_cast<int>(image_.height() * f)), Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
        const TBitmap32 reduite = TBitmap32::fromImage(petite.convertToFormat(QImage::Format_ARGB32));
        miniature_ = imagePourImpression(reduite, false);
        miniatureGris_ = imagePourImpression(reduite, true);
    }
    majApercu();
}

const TBitmap32& Tgestimp::image() const
{
    return image_;
}

double Tgestimp::rapport() const
{
    return mp_.R;
}

void Tgestimp::definirImprimantes(const QStringList& noms, const QString& parDefaut)
{
    const QSignalBlocker bloque(imprimante);
    imprimante->clear();
    for (const QString& n : noms)
        imprimante->addItem(n, n);
    imprimante->addItem(EntreePDF, QString());
    const int i = parDefaut.isEmpty() ? -1 : imprimante->findData(parDefaut);
    imprimante->setCurrentIndex(i >= 0 ? i : imprimante->count() - 1);
}

bool Tgestimp::versPDF() const
{
    return imprimante->currentIndex() == imprimante->count() - 1;
}

bool Tgestimp::imprimer(const TBitmap32& image)
{
    if (image.isEmpty()) {
        showWarning(messageRienAImprimer());
        return false;
    }
    definirImage(image);
    // The layout runs each time the manager opens, for the new picture's ratio.
    mp_.MiseEnPage();
    afficher();
    if (executerDialogue(*this) != QDialog::Accepted)
        return false;
    return lancerImpression();
}

void Tgestimp::accept()
{
    // Values changed without "Vérifier": the layout runs now, so that what is printed
    // is what the preview shows.
    if (mp_.AVerifier) {
        mp_.MiseEnPage();
        afficher();
    }
    if (!mp_.imprimable()) {
        Avertis->setVisible(true);
        return;
    }
    QDialog::accept();
}

bool Tgestimp::lancerImpression()
{
    if (image_.isEmpty()) {
        showWarning(messageRienAImprimer());
        return false;
    }
    const bool gris = BoutonGris->isChecked();
    const int copies = Nombrecopies->value();
    TResultatImpression r;
    if (versPDF()) {
        FileDialogRequest req;
        req.caption = QStringLiteral("Imprimer dans un fichier PDF");
        req.folder = DossierPDF;
        req.filter = QStringLiteral("Document PDF|*.pdf");
        req.defaultExt = QStringLiteral("pdf");
        req.fileName = QStringLiteral("impression.pdf");
        QString chemin = dialogs().saveFile(req);
        if (chemin.isEmpty())
            return false;
        if (QFileInfo(chemin).suffix().isEmpty())
            chemin += QStringLiteral(".pdf");
        r = imprimerPDF(chemin, image_, gris, mp_, copies);
        if (r.ok)
            DossierPDF = QFileInfo(chemin).absolutePath();
    } else {
        const QString nom = imprimante->currentData().toString();
        const QPrinterInfo info = QPrinterInfo::printerInfo(nom);
        if (info.isNull()) {
            showError(QStringLiteral("L'imprimante « %1 » n'est pas disponible.").arg(nom));
            return false;
        }
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setCopyCount(1);
        printer.setColorMode(gris ? QPrinter::GrayScale : QPrinter::Color);
        printer.setDocName(QStringLiteral("Orbiplate"));
        r = imprimerPages(printer, imagePourImpression(image_, gris), mp_, copies, nom);
        if (r.ok && printer.printerState() == QPrinter::Error) {
            r.ok = false;
            r.message = QStringLiteral("L'impression sur « %1 » a échoué.").arg(nom);
        }
    }
    if (!r.ok) {
        showError(r.message);
        return false;
    }
    return true;
}

void Tgestimp::afficher()
{
    recalcul_ = true;
    margegauche->setValue(mp_.margegauche);
    margedroite->setValue(mp_.margedroite);
    margehaut->setValue(mp_.margehaut);
    margebas->setValue(mp_.margebas);
    espaces->setValue(mp_.espaces);
    nblig->setValue(mp_.nblig);
    nbcol->setValue(mp_.nbcol);
    recalcul_ = false;
    if (mp_.IW > 0 && mp_.IH > 0)
        taillim->setText(mp_.texteTaille());
    Avertis->setVisible(mp_.Avertissement);
    verifier->setVisible(mp_.AVerifier);
    majApercu();
}

void Tgestimp::margeChange()
{
    if (recalcul_)
        return;
    mp_.margeChange({margegauche->cleanText(), margedroite->cleanText(), margehaut->cleanText(), margebas->cleanText(),
                     espaces->cleanText()});
    verifier->setVisible(true);
}

void Tgestimp::lignesColonnesChange()
{
    if (recalcul_)
        return;
    mp_.changerLignesColonnes(nblig->value(), nbcol->value());
    afficher();
}

void Tgestimp::orientationChange()
{
    if (recalcul_)
        return;
    mp_.changerOrientation(portrait->isChecked() ? OrientationPage::Portrait : OrientationPage::Paysage);
    afficher();
}

void Tgestimp::formatChange()
{
    if (recalcul_)
        return;
    mp_.changerFormat(formatpage->currentIndex() == 1 ? FormatPapier::A3 : FormatPapier::A4);
    const int cote = mp_.panneauPage().height() > mp_.panneauPage().width() ? mp_.panneauPage().height()
                                                                             : mp_.panneauPage().width();
    apercu_->setMinimumSize(cote, cote);
    afficher();
    // The window takes the size the preview needs, smaller again back on A4.
    adjustSize();
}

void Tgestimp::majApercu()
{
    Page->setGeometry(QRect(QPoint(0, 0), mp_.panneauPage()));
    cadre->setGeometry(mp_.cadre());
    // While the warning is up the last cells would not match the grid asked for.
    cadre->definir(mp_.Avertissement ? std::vector<QRect>() : mp_.cellulesApercu(),
                   BoutonGris->isChecked() ? miniatureGris_ : miniature_);
}
