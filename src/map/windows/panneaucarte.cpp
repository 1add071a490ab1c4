#include "map/windows/panneaucarte.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* etiquette(QWidget* parent, const QString& nom, const QString& texte = QString())
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(nom);
    return l;
}

QToolButton* bouton(QWidget* parent, const QString& nom, const QString& texte, const QString& bulle, int tag)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(nom);
    b->setText(texte);
    b->setToolTip(bulle);
    b->setCheckable(true);
    b->setProperty("tag", tag);
    return b;
}

void texte(QLabel* l, const QString& t)
{
    if (l->text() != t)
        l->setText(t);
}

} // namespace

TPanneauxCarte::TPanneauxCarte(QWidget* central, QWidget* vue)
{
    // Tool bar: mode buttons (the mouse tools plug in here) and the two scroll bars.
    PanIcones = new QFrame(central);
    PanIcones->setObjectName(QStringLiteral("PanIcones"));
    PanIcones->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(PanIcones);
    h->setContentsMargins(4, 2, 4, 2);
    auto* Bcadre = bouton(PanIcones, QStringLiteral("Bcadre"), QStringLiteral("▭"), QStringLiteral("Délimitation d'une zone"), 0);
    auto* BCoupe = bouton(PanIcones, QStringLiteral("BCoupe"), QStringLiteral("╱"), QStringLiteral("Mode coupe"), 1);
    Bcurseur = bouton(PanIcones, QStringLiteral("Bcurseur"), QStringLiteral("➚"), QStringLiteral("Mode consultation"), 2);
    auto* BTrait = bouton(PanIcones, QStringLiteral("BTrait"), QStringLiteral("◠"), QStringLiteral("Grand cercle"), 3);
    auto* BTrajet = bouton(PanIcones, QStringLiteral("BTrajet"), QStringLiteral("⤳"), QStringLiteral("Suivi d'un trajet"), 4);
    BLoupe = bouton(PanIcones, QStringLiteral("BLoupe"), QStringLiteral("⊕"), QStringLiteral("Mode Zoom"), 5);
    BLoupe->setCheckable(false); // the zoom to the delimited zone, not a mode
    Bcurseur->setChecked(true);
    BLoupe->setVisible(false);
    BCoupe->setEnabled(false); // the section line comes with the section window
    for (QToolButton* b : {Bcadre, BCoupe, Bcurseur, BTrait, BTrajet, BLoupe})
        h->addWidget(b);
    boutonsModes[0] = Bcadre;
    boutonsModes[1] = BCoupe;
    boutonsModes[2] = Bcurseur;
    boutonsModes[3] = BTrait;
    boutonsModes[4] = BTrajet;
    OK = new QPushButton(QStringLiteral("OK"), PanIcones);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setToolTip(QStringLiteral("Sélectionner les stations GPS de la zone"));
    OK->setVisible(false);
    h->addWidget(OK);
    h->addSpacing(12);
    h->addWidget(etiquette(PanIcones, QStringLiteral("LabZoom"), QStringLiteral("Zoom")));
    Zoom = new QScrollBar(Qt::Horizontal, PanIcones);
    Zoom->setObjectName(QStringLiteral("Zoom"));
    Zoom->setMinimumWidth(200);
    h->addWidget(Zoom, 1);
    h->addSpacing(12);
    h->addWidget(etiquette(PanIcones, QStringLiteral("LabDecalage"), QStringLiteral("Décalage")));
    decalage = new QScrollBar(Qt::Horizontal, PanIcones);
    decalage->setObjectName(QStringLiteral("decalage"));
    decalage->setRange(-180, 180);
    decalage->setSingleStep(5);
    decalage->setPageStep(5);
    decalage->setMinimumWidth(200);
    h->addWidget(decalage, 1);
    statRef = etiquette(PanIcones, QStringLiteral("statRef"));
    h->addWidget(statRef);
    // Readout panel at the bottom.
    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* b = new QHBoxLayout(Panel1);
    b->setContentsMargins(6, 2, 6, 2);
    // Three short columns: position, distance and station, nearest volcano. Their
    // widths are fixed so that the texts changing under the pointer never move
    // the panel nor widen the window.
    auto colonne = [&](int largeur) {
        auto* w = new QWidget(Panel1);
        w->setFixedWidth(largeur);
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        b->addWidget(w);
        return w;
    };
    auto ajouter = [](QWidget* col, QWidget* w) {
        w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        static_cast<QVBoxLayout*>(col->layout())->addWidget(w);
    };
    QWidget* position = colonne(190);
    Latitude = etiquette(position, QStringLiteral("Latitude"), QStringLiteral("Latitude : "));
    Longitude = etiquette(position, QStringLiteral("Longitude"), QStringLiteral("Longitude : "));
    labalt = etiquette(position, QStringLiteral("labalt"), QStringLiteral("altitude : "));
    Plaque = etiquette(position, QStringLiteral("Plaque"));
    for (QLabel* l : {Latitude, Longitude, labalt, Plaque})
        ajouter(position, l);
    QWidget* mesure = colonne(230);
    Labdistance = etiquette(mesure, QStringLiteral("Labdistance"));
    station = etiquette(mesure, QStringLiteral("station"));
    Vitesse = etiquette(mesure, QStringLiteral("Vitesse"));
    VitesseModele = etiquette(mesure, QStringLiteral("VitesseModele"));
    for (QLabel* l : {Labdistance, station, Vitesse, VitesseModele})
        ajouter(mesure, l);
    // Nearest volcano: shown only while one is near the pointer.
    QWidget* volcan = colonne(330);
    auto* ligneVolcan = new QWidget(volcan);
    auto* lv = new QHBoxLayout(ligneVolcan);
    lv->setContentsMargins(0, 0, 0, 0);
    Lvolcan = etiquette(ligneVolcan, QStringLiteral("Lvolcan"), QStringLiteral("Volcan :"));
    NomsVolcans = etiquette(ligneVolcan, QStringLiteral("NomsVolcans"));
    AltVolc = etiquette(ligneVolcan, QStringLiteral("AltVolc"));
    QFont gras = NomsVolcans->font();
    gras.setBold(true);
    NomsVolcans->setFont(gras);
    lv->addWidget(Lvolcan);
    lv->addWidget(NomsVolcans);
    lv->addWidget(AltVolc);
    lv->addStretch(1);
    ajouter(volcan, ligneVolcan);
    typeVolcan = etiquette(volcan, QStringLiteral("typeVolcan"));
    LDernerupt = etiquette(volcan, QStringLiteral("LDernerupt"));
    ajouter(volcan, typeVolcan);
    ajouter(volcan, LDernerupt);
    for (QLabel* l : {Lvolcan, NomsVolcans, AltVolc, typeVolcan, LDernerupt})
        l->setVisible(false);
    b->addStretch(1);
    PanelDist = new QFrame(Panel1);
    PanelDist->setObjectName(QStringLiteral("PanelDist"));
    PanelDist->setFrameShape(QFrame::StyledPanel);
    auto* pd = new QHBoxLayout(PanelDist);
    pd->setContentsMargins(4, 0, 4, 0);
    pd->addWidget(etiquette(PanelDist, QStringLiteral("LabDist"), QStringLiteral("Distance cumulée :")));
    LabDistCumul = etiquette(PanelDist, QStringLiteral("LabDistCumul"), QStringLiteral("0 km"));
    LabDistCumul->setMinimumWidth(80);
    LabDistCumul->setFont(gras);
    pd->addWidget(LabDistCumul);
    pd->addWidget(etiquette(PanelDist, QStringLiteral("LabClicDroit"), QStringLiteral("Click droit pour terminer")));
    RAZ = new QPushButton(QStringLiteral("RAZ"), PanelDist);
    RAZ->setObjectName(QStringLiteral("RAZ"));
    pd->addWidget(RAZ);
    PanelDist->setVisible(false);
    b->addWidget(PanelDist);

    // Legend placement instructions, over the top left of the map.
    Paninstr = new QFrame(vue);
    Paninstr->setObjectName(QStringLiteral("Paninstr"));
    Paninstr->setFrameShape(QFrame::Box);
    Paninstr->setAutoFillBackground(true);
    auto* pi = new QVBoxLayout(Paninstr);
    for (const QString& t : {QStringLiteral("Cliquer sur l'emplacement"), QStringLiteral("de l'échelle"),
                             QStringLiteral("puis sur OK")}) {
        QLabel* l = new QLabel(t, Paninstr);
        l->setAlignment(Qt::AlignCenter);
        pi->addWidget(l);
    }
    OKLegende = new QPushButton(QStringLiteral("OK"), Paninstr);
    OKLegende->setObjectName(QStringLiteral("OKLegende"));
    pi->addWidget(OKLegende);
    Paninstr->adjustSize();
    Paninstr->move(30, 30);
    Paninstr->hide();
}

void TPanneauxCarte::afficher(const carte::EtatPanneau& p)
{
    texte(Latitude, p.position.latitude);
    texte(Longitude, p.position.longitude);
    texte(labalt, p.position.altitude);
    texte(station, p.station.trimmed());
    texte(Vitesse, p.vitesse);
    texte(VitesseModele, p.vitesseModele);
    texte(Plaque, p.plaque);
    texte(Labdistance, p.distance);
    texte(LabDistCumul, p.distanceCumulee);
    for (QLabel* l : {Lvolcan, NomsVolcans, AltVolc, typeVolcan, LDernerupt})
        if (l->isVisibleTo(Panel1) != p.volcanVisible)
            l->setVisible(p.volcanVisible);
    if (p.volcanVisible) {
        texte(NomsVolcans, p.nomVolcan);
        texte(AltVolc, p.altVolcan);
        texte(typeVolcan, p.typeVolcan);
        texte(LDernerupt, p.activiteVolcan);
    }
    if (OK->isVisibleTo(PanIcones) != p.okVisible)
        OK->setVisible(p.okVisible);
    if (BLoupe->isVisibleTo(PanIcones) != p.loupeVisible)
        BLoupe->setVisible(p.loupeVisible);
    if (PanelDist->isVisibleTo(Panel1) != p.panelDistVisible)
        PanelDist->setVisible(p.panelDistVisible);
}

void TPanneauxCarte::cocherMode(int tag)
{
    for (QToolButton* b : boutonsModes)
        b->setChecked(b->property("tag").toInt() == tag);
}

void TPanneauxCarte::definirStationRef(const QString& t)
{
    texte(statRef, t);
}

void TPanneauxCarte::definirAltitude(const QString& t)
{
    texte(labalt, t);
}
