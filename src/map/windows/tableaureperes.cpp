#include "map/windows/tableaureperes.h"

#include "ui/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

using carte::TGrilleReperes;

namespace {

const char* const Titre = "Repères à ajouter sur la carte";

// Marked cells carry this flag besides their colour and tool tip.
constexpr int RoleMarque = Qt::UserRole + 1;
const QColor FondMarque(255, 190, 190);

FileDialogRequest requeteFichier()
{
    FileDialogRequest r;
    r.filter = QStringLiteral("fichier orbiplate|*.obf");
    r.defaultExt = QStringLiteral("obf");
    return r;
}

} // namespace

TTableau_reperes::TTableau_reperes(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Tableau_reperes"));
    setWindowTitle(QString::fromUtf8(Titre));

    QMenu* fichier = menuBar()->addMenu(QStringLiteral("Fichier"));
    fichier->addAction(QStringLiteral("Charger"), this, [this] { Charger1Click(); });
    fichier->addAction(QStringLiteral("Enregistrer sous"), this, [this] { Enregistrersous1Click(); });
    fichier->addAction(QStringLiteral("Fermer"), this, [this] { Fermer1Click(); });
    QMenu* editer = menuBar()->addMenu(QStringLiteral("Editer"));
    QMenu* copier = editer->addMenu(QStringLiteral("Copier..."));
    copier->addAction(QStringLiteral("Tout"), this, [this] { Tout1Click(); });
    copier->addAction(QString::fromUtf8("la partie sélectionnée"), this, [this] { lapartieslectionne1Click(); });
    editer->addAction(QStringLiteral("Coller"), this, [this] { Coller1Click(); });
    editer->addAction(QStringLiteral("Valider"), this, [this] { valider1Click(); });

    auto* centre = new QWidget(this);
    auto* v = new QVBoxLayout(centre);
    Tableau = new QTableWidget(1, TGrilleReperes::NbColonnes, centre);
    Tableau->setObjectName(QStringLiteral("Tableau"));
    Tableau->setHorizontalHeaderLabels(TGrilleReperes::entetes());
    Tableau->verticalHeader()->setVisible(false);
    Tableau->installEventFilter(this);
    QObject::connect(Tableau, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) { celluleModifiee(it); });
    v->addWidget(Tableau, 1);

    PanneauBas = new QWidget(centre);
    auto* bas = new QHBoxLayout(PanneauBas);
    auto* cases = new QVBoxLayout;
    Relier = new QCheckBox(QStringLiteral("Relier les points"), PanneauBas);
    GC = new QCheckBox(QStringLiteral("grands cercles"), PanneauBas);
    Ajouter = new QCheckBox(QString::fromUtf8("Ajouter aux autres légendes"), PanneauBas);
    cases->addWidget(Relier);
    cases->addWidget(GC);
    cases->addWidget(Ajouter);
    bas->addLayout(cases);
    auto* aideTexte = new QVBoxLayout;
    for (const char* t : {"Colonne disposition :", "N (nord), S (sud),  E (est), O (ouest), P (pas de point)",
                          " position du nom par rapport au point", "Colonne Nom :", "15 caractères maximum",
                          "Latitude de −90 à 90, longitude de −180 à 180"})
        aideTexte->addWidget(new QLabel(QString::fromUtf8(t), PanneauBas));
    bas->addLayout(aideTexte);
    v->addWidget(PanneauBas);
    setCentralWidget(centre);
    ajuster();
}

TGrilleReperes TTableau_reperes::grille() const
{
    TGrilleReperes g;
    g.cellules.push_back(TGrilleReperes::entetes());
    for (int r = 0; r < Tableau->rowCount(); ++r) {
        QStringList l;
        for (int c = 0; c < Tableau->columnCount(); ++c) {
            const QTableWidgetItem* it = Tableau->item(r, c);
            l << (it ? it->text() : QString());
        }
        g.cellules.push_back(l);
    }
    g.relier = Relier->isChecked();
    g.grandsCercles = GC->isChecked();
    return g;
}

void TTableau_reperes::definirGrille(const TGrilleReperes& g)
{
    const int colonnes = std::max(TGrilleReperes::NbColonnes, g.colonnes());
    Tableau->clearContents();
    Tableau->setColumnCount(colonnes);
    Tableau->setRowCount(std::max(1, g.lignes() - 1));
    QStringList entetes = g.lignes() > 0 ? g.cellules[0] : TGrilleReperes::entetes();
    while (entetes.size() < colonnes)
        entetes << QString();
    Tableau->setHorizontalHeaderLabels(entetes);
    for (int r = 1; r < g.lignes(); ++r)
        for (int c = 0; c < colonnes; ++c)
            Tableau->setItem(r - 1, c, new QTableWidgetItem(g.cellule(r, c)));
    Relier->setChecked(g.relier);
    GC->setChecked(g.grandsCercles);
    marquerErreurs(g.lignesIgnorees);
    ajuster();
}

void TTableau_reperes::marquerErreurs(const std::vector<carte::ErreurRepere>& erreurs)
{
    marquage_ = true;
    for (const carte::ErreurRepere& e : erreurs) {
        const int r = e.ligne - 1;
        if (r < 0 || r >= Tableau->rowCount() || e.colonne < 0 || e.colonne >= Tableau->columnCount())
            continue;
        QTableWidgetItem* it = Tableau->item(r, e.colonne);
        if (!it) {
            it = new QTableWidgetItem;
            Tableau->setItem(r, e.colonne, it);
        }
        it->setBackground(FondMarque);
        it->setToolTip(e.raison);
        it->setData(RoleMarque, true);
    }
    marquage_ = false;
}

void TTableau_reperes::celluleModifiee(QTableWidgetItem* it)
{
    if (marquage_ || !it || !it->data(RoleMarque).toBool())
        return;
    marquage_ = true;
    it->setData(Qt::BackgroundRole, QVariant());
    it->setData(Qt::ToolTipRole, QVariant());
    it->setData(RoleMarque, QVariant());
    marquage_ = false;
}

bool TTableau_reperes::celluleMarquee(int ligne, int colonne) const
{
    const QTableWidgetItem* it = Tableau->item(ligne, colonne);
    return it && it->data(RoleMarque).toBool();
}

bool TTableau_reperes::ajouterCoche() const
{
    return Ajouter->isChecked();
}

void TTableau_reperes::definirAjouter(bool coche)
{
    Ajouter->setChecked(coche);
}

bool TTableau_reperes::chargerFichier(const QString& chemin)
{
    TGrilleReperes g;
    QString erreur;
    if (!carte::chargerFichierReperes(chemin, g, &erreur)) {
        showError(erreur);
        return false;
    }
    definirGrille(g);
    return true;
}

void TTableau_reperes::definirLigneTrajet(int ligne, const QString& latitude, const QString& longitude)
{
    if (ligne < 1)
        return;
    if (Tableau->rowCount() < ligne)
        Tableau->setRowCount(ligne);
    Tableau->setItem(ligne - 1, 1, new QTableWidgetItem(latitude));
    Tableau->setItem(ligne - 1, 2, new QTableWidgetItem(longitude));
    Tableau->setItem(ligne - 1, 3, new QTableWidgetItem(QStringLiteral("O")));
    ajuster();
}

void TTableau_reperes::Charger1Click()
{
    FileDialogRequest r = requeteFichier();
    r.caption = QStringLiteral("Charger");
    const QString chemin = dialogs().openFile(r);
    if (!chemin.isEmpty())
        chargerFichier(chemin);
}

void TTableau_reperes::Enregistrersous1Click()
{
    FileDialogRequest r = requeteFichier();
    r.caption = QStringLiteral("Enregistrer sous");
    const QString chemin = dialogs().saveFile(r);
    if (chemin.isEmpty())
        return;
    QString erreur;
    if (!carte::enregistrerFichierReperes(chemin, grille(), &erreur))
        showError(erreur);
}

void TTableau_reperes::Fermer1Click()
{
    close();
}

void TTableau_reperes::Tout1Click()
{
    QGuiApplication::clipboard()->setText(carte::texteTabule(windowTitle(), grille()));
}

void TTableau_reperes::lapartieslectionne1Click()
{
    const QList<QTableWidgetSelectionRange> sel = Tableau->selectedRanges();
    if (sel.isEmpty())
        return;
    const QTableWidgetSelectionRange& s = sel.first();
    // Grid rows are shifted by one: row 0 of the grid holds the headers.
    QGuiApplication::clipboard()->setText(carte::texteTabule(windowTitle(), grille(), s.topRow() + 1,
                                                             s.leftColumn(), s.bottomRow() + 1, s.rightColumn()));
}

void TTableau_reperes::Coller1Click()
{
    const QString texte = QGuiApplication::clipboard()->text();
    if (texte.isEmpty())
        return;
    const int r0 = std::max(0, Tableau->currentRow());
    const int c0 = std::max(0, Tableau->currentColumn());
    QStringList lignes = texte.split(QLatin1Char('\n'));
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    for (int i = 0; i < lignes.size(); ++i) {
        QString l = lignes[i];
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
        const QStringList cellules = l.split(QLatin1Char('\t'));
        if (Tableau->rowCount() <= r0 + i)
            Tableau->setRowCount(r0 + i + 1);
        for (int j = 0; j < cellules.size() && c0 + j < Tableau->columnCount(); ++j)
            Tableau->setItem(r0 + i, c0 + j, new QTableWidgetItem(cellules[j]));
    }
    ajuster();
}

void TTableau_reperes::valider1Click()
{
    if (surValider)
        surValider();
}

void TTableau_reperes::TableauKeyPress(int touche, bool& traite)
{
    const int derniere = Tableau->rowCount() - 1;
    if ((touche == Qt::Key_Return || touche == Qt::Key_Enter) && Tableau->currentRow() == derniere &&
        Tableau->currentColumn() == Tableau->columnCount() - 1) {
        Tableau->setRowCount(derniere + 2);
        Tableau->setCurrentCell(derniere + 1, 0);
        ajuster();
        traite = true;
    } else if (touche == Qt::Key_Backspace && Tableau->currentRow() == derniere && derniere > 0 &&
               Tableau->currentColumn() == 0) {
        const QTableWidgetItem* it = Tableau->item(derniere, 0);
        if (!it || it->text().isEmpty()) {
            Tableau->setRowCount(derniere);
            Tableau->setCurrentCell(derniere - 1, 0);
            ajuster();
            traite = true;
        }
    }
}

bool TTableau_reperes::eventFilter(QObject* o, QEvent* e)
{
    if (o == Tableau && e->type() == QEvent::KeyPress) {
        bool traite = false;
        TableauKeyPress(static_cast<QKeyEvent*>(e)->key(), traite);
        if (traite)
            return true;
    }
    return QMainWindow::eventFilter(o, e);
}

void TTableau_reperes::ajuster()
{
    const int largeurGrille =
        (Tableau->horizontalHeader()->defaultSectionSize() + 1) * Tableau->columnCount() + 3;
    const int hauteurLigne = Tableau->verticalHeader()->defaultSectionSize() + 1;
    const int hauteurGrille = hauteurLigne * (Tableau->rowCount() + 1) + 3;
    Tableau->setFixedWidth(largeurGrille);
    Tableau->setMinimumHeight(std::min(hauteurGrille, hauteurLigne * 6 + 3));
    Tableau->setMaximumHeight(hauteurGrille);
    int largeur = std::max(largeurGrille + 24, PanneauBas->sizeHint().width());
    if (const QScreen* ecran = screen())
        largeur = std::min(largeur, ecran->availableGeometry().width());
    resize(largeur, height());
    adjustSize();
}
