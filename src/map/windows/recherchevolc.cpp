#include "map/windows/recherchevolc.h"

#include "data/stores.h"
#include "map/lecture.h"
#include "map/windows/delimCarte.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TRecherche_Volc::TRecherche_Volc(const TDonnees& donnees, QWidget* parent) : QDialog(parent), donnees_(donnees)
{
    setObjectName(QStringLiteral("Recherche_Volc"));
    setWindowTitle(QStringLiteral("Recherche d'un volcan"));
    auto* v = new QVBoxLayout(this);
    auto* ligne = new QHBoxLayout;
    ligne->addWidget(new QLabel(QString::fromUtf8("Nom à rechercher"), this));
    Nom = new QLineEdit(this);
    ligne->addWidget(Nom, 1);
    Rechercher = new QPushButton(QStringLiteral("Rechercher"), this);
    Rechercher->setDefault(true);
    ligne->addWidget(Rechercher);
    v->addLayout(ligne);
    Reponse = new QPlainTextEdit(this);
    Reponse->setObjectName(QStringLiteral("Reponse"));
    Reponse->setReadOnly(true);
    Reponse->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Reponse->setMinimumSize(320, 240);
    v->addWidget(Reponse, 1);
    connect(Rechercher, &QPushButton::clicked, this, [this] { RechercherClick(); });
    connect(Nom, &QLineEdit::returnPressed, this, [this] { RechercherClick(); });
}

void TRecherche_Volc::RechercherClick()
{
    Reponse->clear();
    int trouves = 0;
    const QStringList lignes = carte::rechercheVolcans(Nom->text(), donnees_.TabVolcans, &trouves);
    Reponse->setPlainText(lignes.join(QLatin1Char('\n')));
    Reponse->setVerticalScrollBarPolicy(trouves >= 2 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Reponse->verticalScrollBar()->setValue(0);
    Reponse->moveCursor(QTextCursor::Start);
}

TCommandeRechercheVolcan::TCommandeRechercheVolcan(TCarte& carte) : carte_(carte)
{
    QAction* a = carte_.commande("Rechercherunvolcan");
    QObject::connect(a, &QAction::triggered, &carte_, [this] { RechercherunvolcanClick(); });
    QObject::connect(&carte_, &TCarte::calqueAffiche, a, [a](Calque c, bool oui) {
        if (c == Calque::Volcans && oui)
            a->setEnabled(true);
    });
}

void TCommandeRechercheVolcan::creerFenetre()
{
    if (fenetre_)
        return;
    fenetre_ = new TRecherche_Volc(carte_.donnees(), &carte_);
    fenetre_->setWindowFlag(Qt::Tool);
}

void TCommandeRechercheVolcan::RechercherunvolcanClick()
{
    creerFenetre();
    fenetre_->show();
    fenetre_->raise();
    fenetre_->activateWindow();
}
