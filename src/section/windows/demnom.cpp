#include "section/windows/demnom.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TDemNom::TDemNom(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DemNom"));
    setWindowTitle(QStringLiteral("Nom de la coupe ?"));
    auto* v = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    Nom = new QLineEdit(this);
    Nom->setObjectName(QStringLiteral("Nom"));
    Nom->setMinimumWidth(200);
    f->addRow(QStringLiteral("Nom"), Nom);
    auto* largeur = new QHBoxLayout;
    LargAng = new QSpinBox(this);
    LargAng->setObjectName(QStringLiteral("LargAng"));
    LargAng->setRange(1, 12);
    LargAng->setValue(6);
    LargAng->setSuffix(QStringLiteral(" °"));
    largeur->addWidget(LargAng);
    auto* defaut = new QLabel(QStringLiteral("par défaut : 6 °"), this);
    defaut->setObjectName(QStringLiteral("Label2"));
    largeur->addWidget(defaut);
    largeur->addStretch(1);
    f->addRow(QStringLiteral("Largeur angulaire de la la coupe"), largeur);
    v->addLayout(f);
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    BitBtn1 = boutons->button(QDialogButtonBox::Ok);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = boutons->button(QDialogButtonBox::Cancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setText(QStringLiteral("Annuler"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(boutons);
    Nom->setFocus();
}
