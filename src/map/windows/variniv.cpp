#include "map/windows/variniv.h"

#include "map/motifnombre.h"
#include "map/schemabassin.h"
#include "ui/arrondi.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class T>
T* nomme(T* w, const char* nom)
{
    w->setObjectName(QString::fromLatin1(nom));
    return w;
}

QLabel* etiquette(QWidget* parent, const char* nom)
{
    auto* l = nomme(new QLabel(parent), nom);
    l->setMinimumWidth(330);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QSpinBox* spin(QWidget* parent, const char* nom, int mini, int maxi, int pas, int valeur)
{
    auto* s = nomme(new QSpinBox(parent), nom);
    s->setRange(mini, maxi);
    s->setSingleStep(pas);
    s->setValue(valeur);
    return s;
}

} // namespace

TVariNiv::TVariNiv(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VariNiv"));
    setWindowTitle(QStringLiteral("Paramètres et calculs de simulation de variation du niveau marin"));

    // The level shown on the map.
    auto* carte = new QGroupBox(QStringLiteral("Simulation sur la carte"), this);
    Altimer = spin(carte, "Altimer", TTableSurfVol::NiveauMin, TTableSurfVol::NiveauMax, 10, 0);
    Altimer->setSuffix(QStringLiteral(" m"));
    OK = nomme(new QPushButton(QStringLiteral("OK"), carte), "OK");
    ReliesOcean = nomme(new QCheckBox(QStringLiteral("Seulement les terres reliées à l'océan"), carte), "ReliesOcean");
    ReliesOcean->setToolTip(QStringLiteral("Les dépressions fermées (mer Caspienne, mer Morte, vallée de la Mort…) ne "
                                           "sont inondées que si la mer les atteint ; elles apparaissent en orange."));
    Lvarisurf = etiquette(carte, "Lvarisurf");
    LVol = etiquette(carte, "LVol");
    PopMenace = etiquette(carte, "PopMenace");
    {
        auto* v = new QVBoxLayout(carte);
        auto* h = new QHBoxLayout;
        h->addWidget(new QLabel(QStringLiteral("Variation du niveau marin :"), carte));
        h->addWidget(Altimer);
        h->addWidget(OK);
        h->addStretch(1);
        v->addLayout(h);
        v->addWidget(ReliesOcean);
        v->addWidget(Lvarisurf);
        v->addWidget(LVol);
        v->addWidget(PopMenace);
    }

    // Thermal expansion of the water above a depth.
    auto* dilatation = new QGroupBox(QStringLiteral("Dilatation thermique de l'océan"), this);
    TableauVol = nomme(new QTableWidget(0, 2, dilatation), "TableauVol");
    TableauVol->horizontalHeader()->hide();
    TableauVol->verticalHeader()->hide();
    TableauVol->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableauVol->setSelectionMode(QAbstractItemView::SingleSelection);
    TableauVol->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableauVol->verticalHeader()->setDefaultSectionSize(TableauVol->fontMetrics().height() + 6);
    TableauVol->setColumnWidth(0, 90);
    TableauVol->horizontalHeader()->setStretchLastSection(true);
    TableauVol->setMinimumWidth(250);
    TableauVol->setMinimumHeight(200);
    Edit1 = nomme(new QLineEdit(dilatation), "Edit1");
    Edit1->setReadOnly(true);
    CDilat = nomme(new QDoubleSpinBox(dilatation), "CDilat");
    CDilat->setDecimals(5);
    CDilat->setRange(0.0001, 0.0006);
    CDilat->setSingleStep(0.00001);
    CDilat->setValue(0.00026);
    ElevT = nomme(new QDoubleSpinBox(dilatation), "ElevT");
    ElevT->setDecimals(1);
    ElevT->setRange(0, 50);
    ElevT->setSingleStep(0.1);
    ElevT->setValue(0);
    Calculer = nomme(new QPushButton(QStringLiteral("Calculer"), dilatation), "Calculer");
    AugmVol = etiquette(dilatation, "AugmVol");
    Remontee = etiquette(dilatation, "Remontee");
    {
        auto* h = new QHBoxLayout(dilatation);
        auto* gauche = new QVBoxLayout;
        gauche->addWidget(new QLabel(QStringLiteral("Volume d'eau au-dessus de la profondeur choisie :"), dilatation));
        gauche->addWidget(TableauVol, 1);
        gauche->addWidget(Edit1);
        h->addLayout(gauche);
        auto* droite = new QVBoxLayout;
        auto* f = new QFormLayout;
        f->addRow(QStringLiteral("Coefficient de dilatation de l'eau (par °C) :"), CDilat);
        f->addRow(QStringLiteral("Élévation de la température (°C) :"), ElevT);
        droite->addLayout(f);
        droite->addWidget(Calculer, 0, Qt::AlignLeft);
        droite->addWidget(AugmVol);
        droite->addWidget(Remontee);
        droite->addStretch(1);
        h->addLayout(droite, 1);
    }

    // Volume of the ocean and shape of its basins.
    auto* bassin = new QGroupBox(QStringLiteral("Volume de l'océan et forme des bassins (en millions de km3)"), this);
    ChVarVolEau = spin(bassin, "ChVarVolEau", -100, 60, 1, 0);
    VarVolDors = spin(bassin, "VarVolDors", -60, 60, 1, 0);
    VarvolSed = spin(bassin, "VarvolSed", 0, 60, 1, 0);
    Calcul2 = nomme(new QPushButton(QStringLiteral("Calculer"), bassin), "Calcul2");
    BCarte = nomme(new QPushButton(QStringLiteral("Carte"), bassin), "BCarte");
    BCarte->setEnabled(false);
    BCarte->setToolTip(QStringLiteral("Montrer ce niveau sur la carte"));
    Remontee2 = etiquette(bassin, "Remontee2");
    Schema = nomme(new QLabel(bassin), "Schema");
    Schema->setFixedSize(LargeurSchema, HauteurSchema);
    {
        auto* v = new QVBoxLayout(bassin);
        auto* f = new QFormLayout;
        f->addRow(QStringLiteral("Variation du volume d'eau :"), ChVarVolEau);
        f->addRow(QStringLiteral("Variation du volume des dorsales :"), VarVolDors);
        f->addRow(QStringLiteral("Volume des sédiments déposés :"), VarvolSed);
        v->addLayout(f);
        auto* boutons = new QHBoxLayout;
        boutons->addWidget(Calcul2);
        boutons->addWidget(BCarte);
        boutons->addStretch(1);
        v->addLayout(boutons);
        v->addWidget(Remontee2);
        v->addWidget(Schema, 0, Qt::AlignHCenter);
        v->addStretch(1);
    }

    // Two columns, so that the window fits a small screen.
    auto* h = new QHBoxLayout(this);
    auto* gauche = new QVBoxLayout;
    gauche->addWidget(carte);
    gauche->addWidget(dilatation, 1);
    h->addLayout(gauche, 1);
    h->addWidget(bassin);

    connect(Calculer, &QPushButton::clicked, this, [this] { CalculerClick(); });
    connect(Calcul2, &QPushButton::clicked, this, [this] { Calcul2Click(); });
    connect(BCarte, &QPushButton::clicked, this, [this] { BCarteClick(); });
    connect(TableauVol, &QTableWidget::cellClicked, this, [this](int l, int c) { TableauVolClick(l, c); });
    for (QSpinBox* s : {ChVarVolEau, VarVolDors, VarvolSed})
        connect(s, &QSpinBox::valueChanged, this, [this] { VarVolDorsChange(); });
    dessinerSchema();
}

void TVariNiv::recevoirTable(const TTableSurfVol& t)
{
    for (std::size_t n = 0; n < U_.size(); ++n)
        U_[n] = t.U[n];
    V_ = t.V;
    const int choisie = TableauVol->currentRow();
    const int lignes = LignesEntete + NbProfondeursAffichees; // 113
    if (TableauVol->rowCount() != lignes)
        TableauVol->setRowCount(lignes);
    auto cellule = [this](int l, int c, const QString& texte, bool entete) {
        QTableWidgetItem* it = TableauVol->item(l, c);
        if (!it) {
            it = new QTableWidgetItem;
            TableauVol->setItem(l, c, it);
        }
        it->setText(texte);
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (entete) {
            QFont f = it->font();
            f.setBold(true);
            it->setFont(f);
            it->setFlags(Qt::ItemIsEnabled);
            it->setTextAlignment(Qt::AlignCenter);
        }
    };
    cellule(0, 0, QStringLiteral("Profondeur"), true);
    cellule(0, 1, QStringLiteral("Volume"), true);
    cellule(1, 0, QStringLiteral("(m)"), true);
    cellule(1, 1, QStringLiteral("(km3)"), true);
    for (int n = 0; n < NbProfondeursAffichees; ++n) {
        cellule(LignesEntete + n, 0, formatMotif(100.0 * n, QStringLiteral("###,##0")), false);
        cellule(LignesEntete + n, 1, formatMotif(U_[static_cast<std::size_t>(n)], QStringLiteral("###,###,##0")), false);
    }
    // At first the water above 700 m, the layer the upper ocean's warming is
    // usually measured over.
    TableauVol->selectRow(choisie >= LignesEntete ? choisie : LignesEntete + 7);
}

double TVariNiv::volumeLigneChoisie() const
{
    const int n = TableauVol->currentRow() - LignesEntete;
    if (n < 0 || n >= NbProfondeursAffichees)
        return 0;
    return U_[static_cast<std::size_t>(n)];
}

void TVariNiv::CalculerClick()
{
    const double dv = augmentationVolumeThermique(volumeLigneChoisie(), CDilat->value(), ElevT->value());
    AugmVol->setText(texteAugmentationVolume(dv));
    Remontee->setText(texteRemontee(niveauPourVolume(V_, dv)));
}

void TVariNiv::Calcul2Click()
{
    const double a = variationVolumeOcean(ChVarVolEau->value(), VarVolDors->value(), VarvolSed->value());
    const std::optional<double> niveau = niveauPourVolume(V_, a);
    Remontee2->setText(texteRemontee(niveau));
    if (niveau) {
        Altimer->setValue(arrondi(*niveau));
        BCarte->setEnabled(true);
    }
}

void TVariNiv::TableauVolClick(int ligne, int colonne)
{
    if (const QTableWidgetItem* it = TableauVol->item(ligne, colonne))
        Edit1->setText(it->text());
}

void TVariNiv::BCarteClick()
{
    BCarte->setEnabled(false);
    OK->click();
}

void TVariNiv::VarVolDorsChange()
{
    dessinerSchema();
}

void TVariNiv::showEvent(QShowEvent* e)
{
    dessinerSchema();
    QWidget::showEvent(e);
}

void TVariNiv::dessinerSchema()
{
    Schema->setPixmap(QPixmap::fromImage(dessinerSchemaBassin(VarVolDors->value(), ChVarVolEau->value()).toImage()));
}
