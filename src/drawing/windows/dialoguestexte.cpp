#include "drawing/windows/dialoguestexte.h"

#include "drawing/marquestexte.h"
#include "ui/dialogs.h"
#include "ui/windows/panneaucouleur.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

// --- TSaisieTexte ---

TSaisieTexte::TSaisieTexte(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SaisieTexte"));
    setWindowTitle(QStringLiteral("Saisie d'un texte"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    police_ = QFont(QStringLiteral("Arial"), 12);
    auto* v = new QVBoxLayout(this);
    auto* l1 = new QLabel(QStringLiteral("Taper ci-dessous le texte à afficher"), this);
    l1->setObjectName(QStringLiteral("Label1"));
    v->addWidget(l1);
    TexteSaisi = new QPlainTextEdit(this);
    TexteSaisi->setObjectName(QStringLiteral("TexteSaisi"));
    TexteSaisi->setMinimumSize(420, 140);
    v->addWidget(TexteSaisi, 1);

    auto* marques = new QHBoxLayout;
    struct Bouton {
        const char* nom;
        const char* texte;
        const char* bulle;
    } const defs[5] = {{"gras", "g", "gras"},
                       {"italique", "i", "italique"},
                       {"souligne", "s", "souligné"},
                       {"exposant", "2", "exposant"},
                       {"indice", "i", "indice"}};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(defs[i].nom));
        b->setText(QString::fromUtf8(defs[i].texte));
        b->setToolTip(QString::fromUtf8(defs[i].bulle));
        b->setCheckable(true);
        b->setProperty("tag", i);
        QFont f = b->font();
        if (i == 0)
            f.setBold(true);
        else if (i == 1)
            f.setItalic(true);
        else if (i == 2)
            f.setUnderline(true);
        else
            f.setPointSizeF(f.pointSizeF() * 0.75);
        b->setFont(f);
        if (i == 3)
            b->setStyleSheet(QStringLiteral("padding-bottom: 6px;"));
        if (i == 4)
            b->setStyleSheet(QStringLiteral("padding-top: 6px;"));
        connect(b, &QToolButton::clicked, this, [this, i](bool enfonce) { marqueCliquee(i, enfonce); });
        boutons[i] = b;
        marques->addWidget(b);
    }
    marques->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("Fonte"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    marques->addWidget(Button1);
    v->addLayout(marques);

    auto* groupe = new QGroupBox(QStringLiteral("Alignement"), this);
    groupe->setObjectName(QStringLiteral("Alignement"));
    auto* g = new QHBoxLayout(groupe);
    const char* textes[3] = {"à gauche", "centré", "à droite"};
    auto* bg = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        alignements[i] = new QRadioButton(QString::fromUtf8(textes[i]), groupe);
        bg->addButton(alignements[i], i);
        g->addWidget(alignements[i]);
    }
    alignements[0]->setChecked(true);
    connect(bg, &QButtonGroup::idClicked, this, [this](int i) {
        const Qt::Alignment a = i == 1 ? Qt::AlignHCenter : (i == 2 ? Qt::AlignRight : Qt::AlignLeft);
        for (QTextBlock b = TexteSaisi->document()->begin(); b.isValid(); b = b.next()) {
            QTextCursor c(b);
            QTextBlockFormat f = b.blockFormat();
            f.setAlignment(a);
            c.setBlockFormat(f);
        }
        QTextOption o = TexteSaisi->document()->defaultTextOption();
        o.setAlignment(a);
        TexteSaisi->document()->setDefaultTextOption(o);
    });
    v->addWidget(groupe);
    auto* l2 = new QLabel(QStringLiteral("Agrandir la taille de la fenêtre si besoin (longue ligne)"), this);
    l2->setObjectName(QStringLiteral("Label2"));
    v->addWidget(l2);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
    ok->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BitBtn2"));
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ok, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(ok);

    connect(Button1, &QPushButton::clicked, this, [this] {
        QFont f = police_;
        if (dialogs().chooseFont(f))
            definirPolice(f);
    });
    TexteSaisi->setFont(police_);
}

void TSaisieTexte::preparer(TColor32 couleur)
{
    couleur_ = QColor::fromRgba(couleur | 0xFF000000u);
    TexteSaisi->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: %1; }")
                                  .arg(couleur_.name()));
    TexteSaisi->setFont(police_);
}

void TSaisieTexte::definirPolice(const QFont& f)
{
    police_ = f;
    TexteSaisi->setFont(f);
}

QStringList TSaisieTexte::lignes() const
{
    return TexteSaisi->toPlainText().split(QLatin1Char('\n'));
}

int TSaisieTexte::alignement() const
{
    for (int i = 0; i < 3; ++i)
        if (alignements[i]->isChecked())
            return i;
    return 0;
}

void TSaisieTexte::marqueCliquee(int bouton, bool enfonce)
{
    QTextCursor c = TexteSaisi->textCursor();
    const ::TexteSaisi avant{TexteSaisi->toPlainText(), c.selectionStart(), c.selectionEnd() - c.selectionStart()};
    const ::TexteSaisi apres = appliquerMarque(avant, bouton, enfonce);
    if (apres.texte != avant.texte)
        TexteSaisi->setPlainText(apres.texte);
    QTextCursor n = TexteSaisi->textCursor();
    n.setPosition(apres.curseur);
    n.setPosition(apres.curseur + apres.longueur, QTextCursor::KeepAnchor);
    TexteSaisi->setTextCursor(n);
    TexteSaisi->setFocus();
}

// --- TContLegEch ---

namespace {
// A label that reports its clicks.
class EtiquetteCliquable : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clic;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (clic)
            clic();
        QLabel::mousePressEvent(e);
    }
};
} // namespace

TContLegEch::TContLegEch(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ContLegEch"));
    setWindowTitle(QStringLiteral("Positionner le texte"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    auto* v = new QVBoxLayout(this);
    auto* groupe = new QGroupBox(QStringLiteral("Transparent "), this);
    groupe->setObjectName(QStringLiteral("Transparence"));
    auto* h = new QHBoxLayout(groupe);
    Oui = new QRadioButton(QStringLiteral("Oui"), groupe);
    Non = new QRadioButton(QStringLiteral("Non"), groupe);
    Oui->setChecked(true);
    h->addWidget(Oui);
    h->addWidget(Non);
    v->addWidget(groupe);
    connect(Oui, &QRadioButton::toggled, this, [this](bool oui) { emit transparenceChangee(oui); });
    auto* etiq = new EtiquetteCliquable(QStringLiteral("voir instructions"), this);
    etiq->setObjectName(QStringLiteral("Label2"));
    etiq->setStyleSheet(QStringLiteral("color: #1d4f7a; text-decoration: underline;"));
    etiq->clic = [this] { basculerInstructions(); };
    Label2 = etiq;
    v->addWidget(Label2);
    Label1 = new QLabel(QStringLiteral("Choisir le mode de \r\ntransparence, positionner\r\nla légende avec la souris\r\n"
                                       "et Valider (OK).")
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont gras = Label1->font();
    gras.setBold(true);
    Label1->setFont(gras);
    Label1->setVisible(false);
    v->addWidget(Label1);
    auto* boutons = new QHBoxLayout;
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    boutons->addWidget(BitBtn1);
    boutons->addWidget(BitBtn2);
    v->addLayout(boutons);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        hide();
        emit fermee(true);
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        hide();
        emit fermee(false);
    });
    // Small: the choice and the buttons; enlarged: with the instructions.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(20, 120);
}

bool TContLegEch::transparent() const
{
    return Oui->isChecked();
}

void TContLegEch::basculerInstructions()
{
    agrandi_ = !agrandi_;
    Label1->setVisible(agrandi_);
    Label2->setText(agrandi_ ? QStringLiteral("masquer instructions") : QStringLiteral("voir instructions"));
    adjustSize();
}

// --- TChoixCouleurs ---

TChoixCouleurs::TChoixCouleurs(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChoixCouleurs"));
    setWindowTitle(QStringLiteral("Choix des couleurs"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* g = new QGridLayout(this);
    struct Ligne {
        TPanneauCouleur** panneau;
        const char* nom;
        const char* texte;
    } const lignes[4] = {{&CouleurS, "CouleurS", "Couleur des séismes"},
                         {&CouleurV, "CouleurV", "Couleur des volcans"},
                         {&CouleurPr, "CouleurPr", "Couleur du profil topographique"},
                         {&CoulNiv0, "CoulNiv0", "Couleur du niveau zéro"}};
    int r = 0;
    for (const Ligne& l : lignes) {
        *l.panneau = new TPanneauCouleur(QString::fromLatin1(l.nom), this);
        g->addWidget(*l.panneau, r, 0);
        g->addWidget(new QLabel(QString::fromUtf8(l.texte), this), r, 1);
        ++r;
    }
    Transpar = new QSpinBox(this);
    Transpar->setObjectName(QStringLiteral("Transpar"));
    Transpar->setRange(0, 255);
    Transpar->setValue(255);
    g->addWidget(Transpar, r, 0);
    g->addWidget(new QLabel(QStringLiteral("Transparence"), this), r, 1);
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Abort, this);
    boutons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
    boutons->button(QDialogButtonBox::Abort)->setObjectName(QStringLiteral("BitBtn2"));
    boutons->button(QDialogButtonBox::Abort)->setText(QStringLiteral("Abandonner"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons->button(QDialogButtonBox::Abort), &QPushButton::clicked, this, &QDialog::reject);
    g->addWidget(boutons, r + 1, 0, 1, 2);
}

TSaisieTexte& saisieTexte()
{
    static TSaisieTexte* d = new TSaisieTexte;
    return *d;
}

TChoixCouleurs& choixCouleurs()
{
    static TChoixCouleurs* d = new TChoixCouleurs;
    return *d;
}
