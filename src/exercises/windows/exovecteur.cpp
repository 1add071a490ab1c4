#include "exercises/windows/exovecteur.h"

#include "exercises/exemples.h"
#include "exercises/windows/exemplesprets.h"
#include "map/lecture.h"
#include "ui/dialogs.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr TColor32 CouleurFleche = 0xFF000080;
// The arrow's picture is shown twice its size: its barbs are a few pixels long.
constexpr int EchelleEcran = 2;
constexpr int LargeurFenetre = 460;

// Cells of the compass rose around the arrow picture, by direction code.
constexpr int LigneRose[NbDirections] = {0, 0, 1, 2, 2, 2, 1, 0};
constexpr int ColonneRose[NbDirections] = {1, 2, 2, 2, 1, 0, 0, 0};

QString nomExemple(const std::vector<TStationGPS>& ex, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < ex.size() ? shortToQString(ex[static_cast<std::size_t>(i)].Nom)
                                                             : QString();
}

QString composante(const QString& intitule, double v)
{
    return intitule + carte::formatGeneral(v, 4) + QStringLiteral(" mm");
}

// A wrapped text of a fixed width, as high as its lines: the window then fits it
// exactly whatever is shown or hidden around it.
void texteLargeurFixe(QLabel* l, int largeur)
{
    l->setWordWrap(true);
    l->setFixedWidth(largeur);
    l->setMinimumHeight(l->heightForWidth(largeur));
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte = QString())
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    return l;
}

} // namespace

Tvecteur::Tvecteur(TExemples& exemples, QWidget* parent)
    : QDialog(parent), exemples_(exemples),
      etats_{EtatMode{TNoteExercice(), TTirage(GenreExercice::Relatif)},
             EtatMode{TNoteExercice(), TTirage(GenreExercice::Orientation)}}
{
    setObjectName(QStringLiteral("vecteur"));
    setModal(false);
    auto* v = new QVBoxLayout(this);

    auto* entete = new QHBoxLayout;
    entete->addWidget(new QLabel(QString::fromUtf8("Question n°"), this));
    numero = etiquette(this, "numero", QStringLiteral("1"));
    QFont gras = numero->font();
    gras.setBold(true);
    numero->setFont(gras);
    entete->addWidget(numero);
    entete->addStretch(1);
    entete->addWidget(new QLabel(QStringLiteral("Note :"), this));
    PaNote = etiquette(this, "PaNote", QStringLiteral("0/0"));
    PaNote->setFrameShape(QFrame::Panel);
    PaNote->setFrameShadow(QFrame::Sunken);
    PaNote->setMinimumSize(60, 26);
    PaNote->setAlignment(Qt::AlignCenter);
    PaNote->setFont(gras);
    entete->addWidget(PaNote);
    v->addLayout(entete);

    Eti_instrO = etiquette(this, "Eti_instrO",
                           QString::fromUtf8("Choisir la direction du vecteur vitesse de la station, "
                                             "d'après son déplacement annuel, puis valider."));
    Eti_instrdif = etiquette(this, "Eti_instrdif",
                             QString::fromUtf8("Choisir la direction du déplacement de la station 1 par "
                                               "rapport à la station de référence, supposée fixe, puis valider."));
    for (QLabel* l : {Eti_instrO, Eti_instrdif}) {
        texteLargeurFixe(l, LargeurFenetre - 30);
        v->addWidget(l);
    }

    auto* station = new QFrame(this);
    station->setObjectName(QStringLiteral("PanelStation"));
    station->setFrameShape(QFrame::StyledPanel);
    auto* vs = new QVBoxLayout(station);
    codestation = etiquette(station, "codestation");
    codestation->setFont(gras);
    dlat = etiquette(station, "dlat");
    dlon = etiquette(station, "dlon");
    vs->addWidget(codestation);
    vs->addWidget(dlat);
    vs->addWidget(dlon);
    v->addWidget(station);

    PanelRef = new QFrame(this);
    PanelRef->setObjectName(QStringLiteral("PanelRef"));
    PanelRef->setFrameShape(QFrame::StyledPanel);
    auto* vr = new QVBoxLayout(PanelRef);
    CodestationR = etiquette(PanelRef, "CodestationR");
    CodestationR->setFont(gras);
    DlatR = etiquette(PanelRef, "DlatR");
    DlonR = etiquette(PanelRef, "DlonR");
    vr->addWidget(CodestationR);
    vr->addWidget(DlatR);
    vr->addWidget(DlonR);
    v->addWidget(PanelRef);

    // The eight directions around the arrow, as on a compass rose.
    auto* rose = new QGridLayout;
    directions_ = new QButtonGroup(this);
    for (int code = 0; code < NbDirections; ++code) {
        auto* b = new QRadioButton(libelleDirection(code), this);
        b->setObjectName(QStringLiteral("RadioButton%1").arg(code + 1));
        b->setProperty("tag", code);
        directions_->addButton(b, code);
        boutons_[static_cast<std::size_t>(code)] = b;
        Qt::Alignment a = Qt::AlignCenter;
        if (ColonneRose[code] == 0)
            a = Qt::AlignRight | Qt::AlignVCenter;
        else if (ColonneRose[code] == 2)
            a = Qt::AlignLeft | Qt::AlignVCenter;
        rose->addWidget(b, LigneRose[code], ColonneRose[code], a);
    }
    TrVect = etiquette(this, "TrVect");
    TrVect->setFixedSize(CoteFleche * EchelleEcran, CoteFleche * EchelleEcran);
    rose->addWidget(TrVect, 1, 1, Qt::AlignCenter);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addLayout(rose);
    centre->addStretch(1);
    v->addLayout(centre);
    connect(directions_, &QButtonGroup::idClicked, this, [this](int code) { RadioButtonClick(code); });

    auto* boutons = new QHBoxLayout;
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QString::fromUtf8("Valider la réponse"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Aide"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QString::fromUtf8("La première aide est gratuite, chacune des suivantes coûte un point"));
    boutons->addWidget(BitBtn2);
    boutons->addStretch(1);
    boutons->addWidget(BitBtn1);
    v->addLayout(boutons);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    Panaide = new QFrame(this);
    Panaide->setObjectName(QStringLiteral("Panaide"));
    Panaide->setFrameShape(QFrame::Box);
    Panaide->setAutoFillBackground(true);
    QPalette p = Panaide->palette();
    p.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    Panaide->setPalette(p);
    auto* va = new QVBoxLayout(Panaide);
    auto* haut = new QHBoxLayout;
    auto* titre = new QLabel(QStringLiteral("Aide"), Panaide);
    titre->setFont(gras);
    haut->addWidget(titre);
    haut->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("X"), Panaide);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedWidth(28);
    haut->addWidget(Button1);
    va->addLayout(haut);
    auto* aide = etiquette(
        Panaide, "Labelaide",
        QString::fromUtf8("Le déplacement annuel d'une station a deux composantes : en latitude (positive vers "
                          "le nord, négative vers le sud) et en longitude (positive vers l'est, négative vers "
                          "l'ouest). Leurs signes donnent la direction : par exemple +3 mm en latitude et +2 mm "
                          "en longitude donnent N-E, -5 mm et -5 mm donnent S-O. Quand une composante est plus "
                          "de dix fois plus grande que l'autre, la direction principale (Nord, Sud, Est ou "
                          "Ouest) est aussi acceptée ; quand une composante est nulle, seule la direction "
                          "principale est juste. Sans choix, la réponse donnée est « Nord »."));
    Labeldiff = etiquette(
        Panaide, "Labeldiff",
        QString::fromUtf8("Mouvement relatif : la station de référence est supposée fixe. Retrancher ses "
                          "déplacements de ceux de la station 1 (latitude de la station 1 moins latitude de la "
                          "référence, longitude de la station 1 moins longitude de la référence) : la "
                          "direction de ce déplacement relatif est la réponse."));
    for (QLabel* l : {aide, Labeldiff}) {
        texteLargeurFixe(l, LargeurFenetre - 50);
        va->addWidget(l);
    }
    v->addWidget(Panaide);
    Panaide->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    setFixedWidth(LargeurFenetre);
    montrerFleche();
}

GenreExercice Tvecteur::genre() const
{
    return mode_ == OrientationVecteurs ? GenreExercice::Orientation : GenreExercice::Relatif;
}

void Tvecteur::changerHasard(const SourceHasard& hasard)
{
    for (EtatMode& e : etats_)
        e.tirage.changerHasard(hasard);
}

bool Tvecteur::demarrer(int mode)
{
    const int m = mode ? OrientationVecteurs : MouvementsRelatifs;
    if (etats_[static_cast<std::size_t>(m)].note.termine())
        return false;
    // Already on the screen with its question: chosen again from the menu, it is
    // only brought to the front (the pupil cannot change a question this way).
    if (isVisible() && mode_ == m && question_.valide()) {
        raise();
        activateWindow();
        return true;
    }
    if (!exemplesPrets(exemples_, m == OrientationVecteurs ? GenreExercice::Orientation : GenreExercice::Relatif))
        return false;
    mode_ = m;
    const bool relatif = mode_ == MouvementsRelatifs;
    setWindowTitle(relatif ? QString::fromUtf8("Exercice : orientation des vecteurs de déplacement relatif")
                           : QString::fromUtf8("Exercice : orientation des vecteurs de déplacement"));
    Eti_instrO->setVisible(!relatif);
    Eti_instrdif->setVisible(relatif);
    PanelRef->setVisible(relatif);
    Labeldiff->setVisible(relatif);
    Panaide->hide();
    majNote();
    nouvelleQuestion();
    adjustSize();
    show();
    raise();
    activateWindow();
    return true;
}

void Tvecteur::nouvelleQuestion()
{
    const std::vector<TStationGPS>& ex = exemples_.liste();
    question_ = etat().tirage.tirer(ex);
    numero->setText(QString::number(etat().note.question()));
    // A fresh choice for each question: none shown, "Nord" if the pupil picks none.
    directions_->setExclusive(false);
    for (QRadioButton* b : boutons_)
        b->setChecked(false);
    directions_->setExclusive(true);
    choix_ = Nord;
    montrerFleche();
    if (!question_.valide())
        return;
    const TStationGPS& s = ex[static_cast<std::size_t>(question_.exemple)];
    const bool relatif = mode_ == MouvementsRelatifs;
    codestation->setText((relatif ? QStringLiteral("Station 1 : ") : QStringLiteral("Station : "))
                         + nomExemple(ex, question_.exemple));
    dlat->setText(composante(QString::fromUtf8("Déplacement annuel en latitude : "), s.VitLat));
    dlon->setText(composante(QString::fromUtf8("Déplacement annuel en longitude : "), s.VitLong));
    if (relatif && question_.reference >= 0) {
        const TStationGPS& r = ex[static_cast<std::size_t>(question_.reference)];
        CodestationR->setText(QString::fromUtf8("Station de référence supposée fixe : ")
                              + nomExemple(ex, question_.reference));
        DlatR->setText(composante(QString::fromUtf8("Déplacement annuel en latitude : "), r.VitLat));
        DlonR->setText(composante(QString::fromUtf8("Déplacement annuel en longitude : "), r.VitLong));
    }
}

void Tvecteur::montrerFleche()
{
    const QColor c = TrVect->palette().color(QPalette::Window);
    const TColor32 fond = color32(static_cast<std::uint32_t>(c.red()), static_cast<std::uint32_t>(c.green()),
                                  static_cast<std::uint32_t>(c.blue()));
    const bool choisi = directions_ && directions_->checkedId() >= 0;
    dessinerFleche(fleche_, choisi ? choix_ : -1, fond, CouleurFleche);
    TBitmap32 ecran;
    dessinerFleche(ecran, choisi ? choix_ : -1, fond, CouleurFleche, EchelleEcran);
    TrVect->setPixmap(QPixmap::fromImage(ecran.toImage()));
}

void Tvecteur::RadioButtonClick(int code)
{
    if (code < 0 || code >= NbDirections)
        return;
    QRadioButton* b = boutons_[static_cast<std::size_t>(code)];
    if (!b->isChecked())
        b->setChecked(true);
    choix_ = code;
    montrerFleche();
}

ReponseAttendue Tvecteur::attendue() const
{
    double nord = 0, est = 0;
    deplacementQuestion(exemples_.liste(), question_, genre(), nord, est);
    return reponseAttendue(nord, est);
}

void Tvecteur::majNote()
{
    PaNote->setText(etat().note.texte());
}

void Tvecteur::BitBtn1Click()
{
    if (!Panaide->isHidden()) {
        Panaide->hide();
        adjustSize();
    }
    if (!question_.valide() || etat().note.termine())
        return;
    const ReponseAttendue r = attendue();
    const bool juste = r.accepte(choix_);
    etat().note.repondre(juste);
    majNote();
    if (juste)
        showInformation(QStringLiteral("Bravo !  Note : ") + PaNote->text());
    else
        showError(QString::fromUtf8("Erreur ! (la bonne réponse était ") + r.texte + QStringLiteral("). Note : ")
                  + PaNote->text());
    if (etat().note.termine()) {
        question_ = Question();
        close();
        return;
    }
    nouvelleQuestion();
}

void Tvecteur::BitBtn2Click()
{
    if (!Panaide->isHidden())
        return;
    Panaide->show();
    adjustSize();
    if (etat().note.ouvrirAide())
        majNote();
}

void Tvecteur::Button1Click()
{
    Panaide->hide();
    adjustSize();
}
