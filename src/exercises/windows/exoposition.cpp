#include "exercises/windows/exoposition.h"

#include "exercises/exemples.h"
#include "exercises/positionnement.h"
#include "exercises/windows/exemplesprets.h"
#include "ui/dialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int MargeGauche = 44;
constexpr int MargeHaute = 18;
constexpr int MargeDroite = 28;
constexpr int MargeBasse = 8;

// The picture with the degrees of its grid lines written around it.
class TCadrePlanis : public QWidget {
public:
    explicit TCadrePlanis(QWidget* parent) : QWidget(parent)
    {
        setFixedSize(MargeGauche + LargeurPlanis + MargeDroite, MargeHaute + HauteurPlanis + MargeBasse);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QFont f = font();
        f.setPointSizeF(std::max(6.0, f.pointSizeF() - 1));
        p.setFont(f);
        p.setPen(palette().color(QPalette::WindowText));
        const int h = p.fontMetrics().height();
        // Longitudes every 60°, above the picture.
        for (int lon = -180; lon <= 180; lon += 60) {
            const int x = MargeGauche + (lon + 180) * LargeurPlanis / 360;
            QString t = QString::number(std::abs(lon)) + QStringLiteral("°");
            if (lon < 0)
                t += QStringLiteral(" O");
            else if (lon > 0)
                t += QStringLiteral(" E");
            p.drawText(QRect(x - 30, 0, 60, MargeHaute), Qt::AlignHCenter | Qt::AlignVCenter, t);
        }
        // Latitudes of the row lines, left of the picture; the equator on the right.
        for (int lat = 90; lat >= -90; lat -= 20) {
            const int y = MargeHaute + (90 - lat) * HauteurPlanis / 180;
            QString t = QString::number(std::abs(lat)) + QStringLiteral("° ") + (lat > 0 ? QStringLiteral("N")
                                                                                         : QStringLiteral("S"));
            p.drawText(QRect(0, y - h / 2, MargeGauche - 4, h), Qt::AlignRight | Qt::AlignVCenter, t);
        }
        p.drawText(QRect(MargeGauche + LargeurPlanis + 4, MargeHaute + HauteurPlanis / 2 - h / 2, MargeDroite - 4, h),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0°"));
    }
};

QFrame* marque(QWidget* parent, const char* nom, const QColor& couleur)
{
    auto* m = new QFrame(parent);
    m->setObjectName(QString::fromLatin1(nom));
    m->setFixedSize(CoteCarre, CoteCarre);
    m->setAttribute(Qt::WA_TransparentForMouseEvents);
    m->setStyleSheet(QStringLiteral("QFrame { border: 3px solid %1; background: rgba(%2, %3, %4, 70); }")
                         .arg(couleur.name())
                         .arg(couleur.red())
                         .arg(couleur.green())
                         .arg(couleur.blue()));
    m->hide();
    return m;
}

} // namespace

TPlanis::TPlanis(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("planis"));
    setFixedSize(LargeurPlanis, HauteurPlanis);
    setCursor(Qt::CrossCursor);
}

void TPlanis::definirImage(const TBitmap32& image)
{
    image_ = image.toImage();
    update();
}

void TPlanis::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (image_.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(0, 0, image_);
}

void TPlanis::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && appui)
        appui(e->position().toPoint());
}

TPosvecteur::TPosvecteur(TExemples& exemples, std::function<TBitmap32()> fournirImage, QWidget* parent)
    : QDialog(parent), exemples_(exemples), fournirImage_(std::move(fournirImage))
{
    setObjectName(QStringLiteral("Posvecteur"));
    setWindowTitle(QStringLiteral("Exercice : Position des stations GPS"));
    setModal(false);
    auto* v = new QVBoxLayout(this);

    auto* entete = new QHBoxLayout;
    entete->addWidget(new QLabel(QString::fromUtf8("Question n°"), this));
    numero = new QLabel(QStringLiteral("1"), this);
    numero->setObjectName(QStringLiteral("numero"));
    QFont gras = numero->font();
    gras.setBold(true);
    numero->setFont(gras);
    entete->addWidget(numero);
    entete->addStretch(1);
    entete->addWidget(new QLabel(QStringLiteral("Note :"), this));
    PaNote = new QLabel(QStringLiteral("0/0"), this);
    PaNote->setObjectName(QStringLiteral("PaNote"));
    PaNote->setFrameShape(QFrame::Panel);
    PaNote->setFrameShadow(QFrame::Sunken);
    PaNote->setMinimumSize(60, 26);
    PaNote->setAlignment(Qt::AlignCenter);
    PaNote->setFont(gras);
    entete->addWidget(PaNote);
    v->addLayout(entete);

    auto* consigne1 = new QLabel(QString::fromUtf8("Choisir le carré dans lequel se trouve la station "
                                                   "d'enregistrement GPS."),
                                 this);
    auto* consigne2 = new QLabel(QString::fromUtf8("Cliquer sur l'emplacement approximatif et valider."), this);
    v->addWidget(consigne1);
    v->addWidget(consigne2);

    auto* station = new QFrame(this);
    station->setFrameShape(QFrame::StyledPanel);
    auto* hs = new QHBoxLayout(station);
    codestation = new QLabel(station);
    codestation->setObjectName(QStringLiteral("codestation"));
    codestation->setFont(gras);
    dlat = new QLabel(station);
    dlat->setObjectName(QStringLiteral("dlat"));
    dlon = new QLabel(station);
    dlon->setObjectName(QStringLiteral("dlon"));
    hs->addWidget(codestation);
    hs->addSpacing(20);
    hs->addWidget(dlat);
    hs->addSpacing(20);
    hs->addWidget(dlon);
    hs->addStretch(1);
    v->addWidget(station);

    auto* cadre = new TCadrePlanis(this);
    planis_ = new TPlanis(cadre);
    planis_->move(MargeGauche, MargeHaute);
    planis_->appui = [this](const QPoint& p) { planisMouseDown(p.x(), p.y()); };
    Marque = marque(planis_, "Marque", QColor(0xFF, 0, 0));
    B_marque = marque(planis_, "B_marque", QColor(0, 0xFF, 0));
    v->addWidget(cadre, 0, Qt::AlignHCenter);

    auto* boutons = new QHBoxLayout;
    BitBtn2 = new QPushButton(QStringLiteral("Aide"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QString::fromUtf8("La première aide est gratuite, chacune des suivantes coûte un point"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QString::fromUtf8("Valider la réponse"));
    BitBtn1->setDefault(true);
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
    QPalette pal = Panaide->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    Panaide->setPalette(pal);
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
    auto* aide = new QLabel(
        QString::fromUtf8("La latitude se compte à partir de l'équateur (0°, ligne pointillée) jusqu'à 90° "
                          "vers le nord (N) ou vers le sud (S). La longitude se compte à partir du méridien de "
                          "Greenwich (0°) jusqu'à 180° vers l'est (E) ou vers l'ouest (O). La carte va de "
                          "180° O à gauche à 180° E à droite, et de 90° N en haut à 90° S en bas ; chaque carré "
                          "mesure 20° de côté. Exemple : une station à 45,5° N et 6,1° E est dans le troisième "
                          "carré en partant du haut et le premier à droite du méridien de Greenwich."),
        Panaide);
    aide->setObjectName(QStringLiteral("Labelaide"));
    aide->setWordWrap(true);
    // Fixed width, as high as its lines: the window fits it when it opens.
    const int largeurAide = MargeGauche + LargeurPlanis + MargeDroite - 30;
    aide->setFixedWidth(largeurAide);
    aide->setMinimumHeight(aide->heightForWidth(largeurAide));
    va->addWidget(aide);
    v->addWidget(Panaide);
    Panaide->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

bool TPosvecteur::demarrer()
{
    if (note_.termine())
        return false;
    if (isVisible() && question_.valide()) {
        raise();
        activateWindow();
        return true;
    }
    if (!exemplesPrets(exemples_, GenreExercice::Position))
        return false;
    TBitmap32 image = fournirImage_ ? fournirImage_() : TBitmap32();
    if (image.isEmpty())
        image = planisphereExercice(TBitmap32(), 0); // the grid on white, still usable
    planis_->definirImage(image);
    Panaide->hide();
    majNote();
    nouvelleQuestion();
    adjustSize();
    show();
    raise();
    activateWindow();
    return true;
}

void TPosvecteur::nouvelleQuestion()
{
    const std::vector<TStationGPS>& ex = exemples_.liste();
    question_ = tirage_.tirer(ex);
    numero->setText(QString::number(note_.question()));
    carreChoisi_ = 0;
    Marque->hide();
    B_marque->hide();
    if (!question_.valide())
        return;
    const TStationGPS& s = ex[static_cast<std::size_t>(question_.exemple)];
    codestation->setText(QStringLiteral("Station : ") + shortToQString(s.Nom).left(15));
    dlat->setText(texteLatitude(s.Latitude));
    dlon->setText(texteLongitude(s.Longitude));
}

int TPosvecteur::carreAttendu() const
{
    if (!question_.valide())
        return 0;
    const TStationGPS& s = exemples_.liste()[static_cast<std::size_t>(question_.exemple)];
    return carreDePosition(s.Latitude, s.Longitude).numero();
}

void TPosvecteur::majNote()
{
    PaNote->setText(note_.texte());
}

void TPosvecteur::planisMouseDown(int x, int y)
{
    const Carre c = carreDuPoint(x, y);
    if (!c.valide())
        return;
    Marque->move(c.coin());
    Marque->show();
    Marque->raise();
    carreChoisi_ = c.numero();
}

void TPosvecteur::BitBtn1Click()
{
    if (!Panaide->isHidden()) {
        Panaide->hide();
        adjustSize();
    }
    if (!question_.valide() || note_.termine())
        return;
    const int attendu = carreAttendu();
    const bool juste = attendu != 0 && attendu == carreChoisi_;
    note_.repondre(juste);
    majNote();
    if (juste) {
        showInformation(QStringLiteral("Bravo !  Note : ") + PaNote->text());
    } else {
        B_marque->move(carreDeNumero(attendu).coin());
        B_marque->show();
        B_marque->raise();
        showError(QStringLiteral("Erreur ! (voir la bonne réponse en vert). Note : ") + PaNote->text());
        B_marque->hide();
    }
    if (note_.termine()) {
        question_ = Question();
        close();
        return;
    }
    nouvelleQuestion();
}

void TPosvecteur::BitBtn2Click()
{
    if (!Panaide->isHidden())
        return;
    Panaide->show();
    adjustSize();
    if (note_.ouvrirAide())
        majNote();
}

void TPosvecteur::Button1Click()
{
    Panaide->hide();
    adjustSize();
}
