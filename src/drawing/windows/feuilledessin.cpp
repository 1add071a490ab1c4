#include "drawing/windows/feuilledessin.h"

#include "drawing/windows/dialoguestexte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"
#include "ui/windows/panneaucouleur.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction* radio(QMenu* m, QActionGroup* g, const QString& texte, int tag, bool coche = false)
{
    QAction* a = m->addAction(texte);
    a->setCheckable(true);
    a->setChecked(coche);
    a->setData(tag);
    g->addAction(a);
    return a;
}

QToolButton* choix(QWidget* parent, const QString& nom, const QString& texte, QMenu* menu)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(nom);
    b->setText(texte);
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    return b;
}

} // namespace

std::function<bool(const TBitmap32&)>& TFeuilleDessin::impression()
{
    static std::function<bool(const TBitmap32&)> f;
    return f;
}

TFeuilleDessin::TFeuilleDessin(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FeuilleDessin"));
    setWindowTitle(QStringLiteral("Feuille de dessin"));
    executerDialogue = [](QDialog& d) { return d.exec(); };

    // Menus.
    QMenuBar* mb = menuBar();
    QMenu* fichier = mb->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    QAction* enregistrer = fichier->addAction(QStringLiteral("&Enregistrer comme fichier d'image..."));
    enregistrer->setObjectName(QStringLiteral("Enregistrer1"));
    QAction* imprimer = fichier->addAction(QStringLiteral("&Imprimer"));
    imprimer->setObjectName(QStringLiteral("Imprimer1"));
    QAction* fermer = fichier->addAction(QStringLiteral("&Fermer"));
    fermer->setObjectName(QStringLiteral("Fermer1"));
    QAction* copier = mb->addAction(QStringLiteral("&Copier"));
    copier->setObjectName(QStringLiteral("Copier1"));
    QMenu* disposition = mb->addMenu(QStringLiteral("&Disposition"));
    disposition->setObjectName(QStringLiteral("Disposition1"));
    auto* orientation = new QActionGroup(this);
    Portrait = radio(disposition, orientation, QStringLiteral("Portrait"), 0);
    Portrait->setObjectName(QStringLiteral("Portrait1"));
    Paysage = radio(disposition, orientation, QStringLiteral("Paysage"), 1, true);
    Paysage->setObjectName(QStringLiteral("Paysage1"));
    Effacer1 = mb->addMenu(QStringLiteral("&Effacer..."));
    Effacer1->setObjectName(QStringLiteral("Effacer1"));
    connect(enregistrer, &QAction::triggered, this, &TFeuilleDessin::Enregistrer1Click);
    connect(imprimer, &QAction::triggered, this, &TFeuilleDessin::Imprimer1Click);
    connect(fermer, &QAction::triggered, this, &QWidget::hide);
    connect(copier, &QAction::triggered, this, &TFeuilleDessin::Copier1Click);
    connect(Portrait, &QAction::triggered, this, [this] { PaysageClick(false); });
    connect(Paysage, &QAction::triggered, this, [this] { PaysageClick(true); });

    // Tool bar: the tools, undo, the options of the tool, colour and thickness.
    QToolBar* barre = addToolBar(QStringLiteral("BarreOutils"));
    barre->setObjectName(QStringLiteral("BarreOutils"));
    barre->setMovable(false);
    struct Outil {
        const char* nom;
        const char* texte;
        const char* bulle;
        int tag;
    } const defs[] = {{"Bouton_crayon", "✎", "crayon", ofCrayon},
                      {"Bouton_trait", "╱", "ligne", ofLigne},
                      {"ToolButton_forme", "▭", "forme", ofForme},
                      {"Bouton_texte", "T", "texte", ofTexte},
                      {"BoutonDeplace", "✥", "Déplacement", ofDeplacement},
                      {"Bouton_Pipette", "⊙", "prélèvement de la couleur", ofPipette}};
    for (const Outil& o : defs) {
        auto* b = new QToolButton(barre);
        b->setObjectName(QString::fromLatin1(o.nom));
        b->setText(QString::fromUtf8(o.texte));
        b->setToolTip(QString::fromUtf8(o.bulle));
        b->setCheckable(true);
        b->setProperty("tag", o.tag);
        barre->addWidget(b);
        outils_[o.tag] = b;
        connect(b, &QToolButton::clicked, this, [this, t = o.tag] { BoutonClick(t); });
    }
    Annuler = barre->addAction(QStringLiteral("↶"));
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setToolTip(QStringLiteral("Annulation"));
    Annuler->setEnabled(false);
    connect(Annuler, &QAction::triggered, this, &TFeuilleDessin::AnnulerClick);
    barre->addSeparator();

    // Option menus: choosing an item checks it and stores its tag.
    auto* menuStyle = new QMenu(this);
    menuStyle->setObjectName(QStringLiteral("Menustyle"));
    auto* gStyle = new QActionGroup(menuStyle);
    radio(menuStyle, gStyle, QStringLiteral("traits pleins"), 0, true);
    radio(menuStyle, gStyle, QStringLiteral("tiretés"), 1);
    connect(gStyle, &QActionGroup::triggered, this, [this](QAction* a) { feuille_.style = a->data().toInt(); });
    auto* menuRemplis = new QMenu(this);
    menuRemplis->setObjectName(QStringLiteral("Menuremplis"));
    auto* gRemplis = new QActionGroup(menuRemplis);
    const char* remplissages[] = {"&Vide",        "&Plein",          "Rayures &Verticales", "Rayures &Horizontales",
                                  "&Quadrillage", "Rayures &Obliques 1", "Rayures O&bliques 2", "Q&uadrillage oblique"};
    for (int i = 0; i < 8; ++i)
        radio(menuRemplis, gRemplis, QString::fromUtf8(remplissages[i]), i, i == 0);
    connect(gRemplis, &QActionGroup::triggered, this,
            [this](QAction* a) { feuille_.remplissage = a->data().toInt(); });
    auto* menuFormes = new QMenu(this);
    menuFormes->setObjectName(QStringLiteral("Menu_formes"));
    auto* gFormes = new QActionGroup(menuFormes);
    radio(menuFormes, gFormes, QStringLiteral("&Rectangle"), 0, true);
    radio(menuFormes, gFormes, QStringLiteral("&Cercle"), 1);
    connect(gFormes, &QActionGroup::triggered, this, [this](QAction* a) { feuille_.rectangle = a->data().toInt() == 0; });
    auto* menuFleche = new QMenu(this);
    menuFleche->setObjectName(QStringLiteral("MenuFleche"));
    auto* gFleche = new QActionGroup(menuFleche);
    radio(menuFleche, gFleche, QStringLiteral("&simple"), 0, true);
    radio(menuFleche, gFleche, QStringLiteral("&flèche"), 1);
    radio(menuFleche, gFleche, QStringLiteral("&double flèche"), 2);
    connect(gFleche, &QActionGroup::triggered, this, [this](QAction* a) { feuille_.fleche = a->data().toInt(); });
    auto* menuFonte = new QMenu(this);
    menuFonte->setObjectName(QStringLiteral("MenuFonte"));
    QAction* fonte = menuFonte->addAction(QStringLiteral("&Fonte"));
    connect(fonte, &QAction::triggered, this, [] {
        QFont f = saisieTexte().police();
        if (dialogs().chooseFont(f))
            saisieTexte().definirPolice(f);
    });
    ChoixStyle = choix(barre, QStringLiteral("ChoixStyle"), QStringLiteral("Style"), menuStyle);
    ChoixFleche = choix(barre, QStringLiteral("ChoixFleche"), QStringLiteral("Flèche"), menuFleche);
    ChoixForme = choix(barre, QStringLiteral("ChoixForme"), QStringLiteral("Forme"), menuFormes);
    ChoixRemplis = choix(barre, QStringLiteral("ChoixRemplis"), QStringLiteral("Remplissage"), menuRemplis);
    ChoixFonte = choix(barre, QStringLiteral("ChoixFonte"), QStringLiteral("Fonte"), menuFonte);
    aStyle = barre->addWidget(ChoixStyle);
    aFleche = barre->addWidget(ChoixFleche);
    aForme = barre->addWidget(ChoixForme);
    aRemplis = barre->addWidget(ChoixRemplis);
    aFonte = barre->addWidget(ChoixFonte);
    for (QAction* a : {aStyle, aFleche, aForme, aRemplis, aFonte})
        a->setObjectName(a == aStyle ? QStringLiteral("ChoixStyleAction")
                         : a == aFleche ? QStringLiteral("ChoixFlecheAction")
                         : a == aForme  ? QStringLiteral("ChoixFormeAction")
                         : a == aRemplis ? QStringLiteral("ChoixRemplisAction")
                                         : QStringLiteral("ChoixFonteAction"));
    barre->addSeparator();
    PanCouleur = new TPanneauCouleur(QStringLiteral("PanCouleur"), barre);
    PanCouleur->setToolTip(QStringLiteral("couleur du prochain trait"));
    PanCouleur->setCouleur(feuille_.couleur);
    connect(PanCouleur, &TPanneauCouleur::couleurChoisie, this, [this](TColor32 c) {
        feuille_.definirCouleur(c);
        majPointe();
    });
    barre->addWidget(PanCouleur);
    auto* epaisseur = new QSpinBox(barre);
    epaisseur->setObjectName(QStringLiteral("SpinButton1"));
    epaisseur->setToolTip(QStringLiteral("choix de l'épaisseur du trait"));
    epaisseur->setRange(0, 11);
    connect(epaisseur, &QSpinBox::valueChanged, this, [this](int v) {
        while (feuille_.epaisseur < v)
            feuille_.epaisseurPlus();
        while (feuille_.epaisseur > v)
            feuille_.epaisseurMoins();
        majPointe();
    });
    barre->addWidget(epaisseur);
    epais = new QLabel(barre);
    epais->setObjectName(QStringLiteral("epais"));
    epais->setFixedSize(25, 25);
    barre->addWidget(epais);

    // The page.
    SupportGlobal = new TImageView(this);
    SupportGlobal->setObjectName(QStringLiteral("SupportGlobal"));
    SupportGlobal->setCentered(false);
    SupportGlobal->setSource(&feuille_);
    SupportGlobal->viewport()->setCursor(Qt::CrossCursor);
    setCentralWidget(SupportGlobal);
    feuille_.aRepeindre = [this](const QRect& r) {
        if (r.isEmpty())
            SupportGlobal->invalidate();
        else
            SupportGlobal->invalidate(r);
    };
    connect(SupportGlobal, &TImageView::mouseDown, this, [this](QMouseEvent* e, const QPoint& p) {
        pageAppui(e->button(), p, e->globalPosition().toPoint());
    });
    connect(SupportGlobal, &TImageView::mouseMove, this,
            [this](QMouseEvent* e, const QPoint& p) { pageDeplacement(e->buttons(), p); });
    connect(SupportGlobal, &TImageView::mouseUp, this,
            [this](QMouseEvent* e, const QPoint& p) { pageRelachement(e->button(), p); });

    // Context menu of a document.
    MenuSup = new QMenu(this);
    MenuSup->setObjectName(QStringLiteral("MenuSup"));
    MarquerLeCadre = MenuSup->addAction(QStringLiteral("Marquer le cadre"));
    MarquerLeCadre->setCheckable(true);
    MarquerLeCadre->setChecked(true);
    connect(MarquerLeCadre, &QAction::triggered, this, &TFeuilleDessin::MarquerLeCadreClick);
    QMenu* opacite = MenuSup->addMenu(QStringLiteral("Opacité"));
    opacite->setObjectName(QStringLiteral("Opacite"));
    opacites_ = new QActionGroup(opacite);
    for (int p = 0; p <= 100; p += 10)
        radio(opacite, opacites_, QStringLiteral("%1 %").arg(p), p, p == 0);
    connect(opacites_, &QActionGroup::triggered, this, [this](QAction* a) { OpaciteClick(a->data().toInt()); });
    MenuSup->addSeparator();
    QAction* supprimer = MenuSup->addAction(QStringLiteral("Supprimer le document"));
    supprimer->setObjectName(QStringLiteral("SupprimerDocument"));
    connect(supprimer, &QAction::triggered, this, &TFeuilleDessin::SupprimerDocumentClick);

    BoutonClick(ofDeplacement);
    majPointe();
    resize(1000, 760);
}

TFeuilleDessin::~TFeuilleDessin()
{
    SupportGlobal->setSource(nullptr);
}

void TFeuilleDessin::majPointe()
{
    PanCouleur->setCouleur(feuille_.couleur);
    epais->setPixmap(QPixmap::fromImage(feuille_.pointe().toImage()));
}

void TFeuilleDessin::majOptions()
{
    const int o = feuille_.outil;
    aStyle->setVisible(o == ofLigne || o == ofForme);
    aFleche->setVisible(o == ofLigne);
    aForme->setVisible(o == ofForme);
    aRemplis->setVisible(o == ofForme);
    aFonte->setVisible(o == ofTexte);
    for (int t = 0; t < 8; ++t)
        if (outils_[t])
            outils_[t]->setChecked(t == o);
    SupportGlobal->invalidate(); // the frames show with the move tool only
}

void TFeuilleDessin::BoutonClick(int tag)
{
    feuille_.outil = tag;
    majOptions();
}

void TFeuilleDessin::majApres()
{
    Annuler->setEnabled(!feuille_.dessins().EstVide());
    reconstruireEffacer();
    majOptions();
}

void TFeuilleDessin::reconstruireEffacer()
{
    Effacer1->clear();
    const TListeDessins& d = feuille_.dessins();
    for (int i = 0; i < d.Count(); ++i) {
        QAction* a = Effacer1->addAction(d.Nom(i));
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] {
            feuille_.effacer(i);
            majApres();
        });
    }
}

void TFeuilleDessin::AjouterImage(const TBitmap32& image)
{
    feuille_.ajouterImage(image);
    SupportGlobal->baseChanged();
    majOptions();
    show();
    raise();
}

void TFeuilleDessin::AjouterDocument(const TBitmapSIG& picture, int largeur, int hauteur)
{
    feuille_.ajouterDocument(picture, largeur, hauteur);
    SupportGlobal->baseChanged();
    majOptions();
    show();
    raise();
}

void TFeuilleDessin::AnnulerClick()
{
    if (!feuille_.annuler())
        Annuler->setEnabled(false);
    majApres();
}

// --- Page commands ---

void TFeuilleDessin::Enregistrer1Click()
{
    FileDialogRequest req;
    req.defaultExt = QStringLiteral("png");
    req.filter = QStringLiteral("Tout (*.png;*.gif;*.jpg;*.jpeg;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.bmp|"
                                "Portable Network Graphics (*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|"
                                "Fichier image JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp");
    const QString chemin = dialogs().saveFile(req);
    if (chemin.isEmpty())
        return;
    QString erreur;
    if (!savePicture(chemin, feuille_.imagePage(), &erreur))
        showError(QStringLiteral("L'image n'a pas pu être enregistrée dans « %1 »%2")
                      .arg(QFileInfo(chemin).fileName(), erreur.isEmpty() ? QStringLiteral(".") : QStringLiteral(" : ") + erreur));
}

void TFeuilleDessin::Imprimer1Click()
{
    if (impression())
        impression()(feuille_.imagePage());
}

void TFeuilleDessin::Copier1Click()
{
    QGuiApplication::clipboard()->setImage(feuille_.imagePage().toImage());
}

void TFeuilleDessin::PaysageClick(bool paysage)
{
    Paysage->setChecked(paysage);
    Portrait->setChecked(!paysage);
    feuille_.definirPaysage(paysage);
    SupportGlobal->baseChanged();
}

// --- Documents ---

void TFeuilleDessin::ouvrirMenuDocument(int i, const QPoint& globalPos)
{
    if (i < 0 || i >= feuille_.nombreDocuments())
        return;
    selectionne_ = i;
    MarquerLeCadre->setChecked(feuille_.document(i).cadre);
    const int o = feuille_.opacite(i);
    for (QAction* a : opacites_->actions())
        a->setChecked(a->data().toInt() == o);
    MenuSup->popup(globalPos);
}

void TFeuilleDessin::MarquerLeCadreClick()
{
    feuille_.definirCadre(selectionne_, MarquerLeCadre->isChecked());
    selectionne_ = -1;
}

void TFeuilleDessin::OpaciteClick(int pourcent)
{
    feuille_.definirOpacite(selectionne_, pourcent);
    selectionne_ = -1;
}

void TFeuilleDessin::SupprimerDocumentClick()
{
    const int i = selectionne_;
    selectionne_ = -1;
    if (i < 0 || !askYesNo(QStringLiteral("Supprimer ce document ?")))
        return;
    feuille_.supprimerDocument(i);
    if (feuille_.nombreDocuments() == 0)
        hide();
}

// --- Mouse ---

void TFeuilleDessin::pageAppui(Qt::MouseButton b, const QPoint& p, const QPoint& globalPos)
{
    if (b == Qt::RightButton) {
        const int i = feuille_.documentSous(p);
        if (i >= 0)
            ouvrirMenuDocument(i, globalPos);
        else
            selectionne_ = -1;
        return;
    }
    if (b != Qt::LeftButton)
        return;
    if (feuille_.outil == ofTexte && !feuille_.placementTexte() && !feuille_.feuilleVide()) {
        const QSize page = feuille_.taillePage();
        if (p.x() < 0 || p.y() < 0 || p.x() >= page.width() || p.y() >= page.height())
            return;
        TSaisieTexte& s = saisieTexte();
        s.preparer(feuille_.couleur);
        if (executerDialogue(s) != QDialog::Accepted)
            return;
        feuille_.placerTexte(p, s.lignes(), s.police(), s.alignement());
        if (!positionnement_) {
            positionnement_ = new TContLegEch(this);
            connect(positionnement_, &TContLegEch::fermee, this, [this](bool ok) {
                feuille_.validerTexte(ok);
                majApres();
            });
            connect(positionnement_, &TContLegEch::transparenceChangee, this,
                    [this](bool t) { feuille_.definirTexteTransparent(t); });
        }
        feuille_.definirTexteTransparent(positionnement_->transparent());
        positionnement_->mode = 0;
        positionnement_->show();
        positionnement_->raise();
        return;
    }
    const bool placait = feuille_.placementTexte();
    feuille_.appui(p);
    if (placait && !feuille_.placementTexte() && positionnement_)
        positionnement_->hide(); // another tool ended the placing
    if (feuille_.outil != ofPipette)
        majPointe();
    majOptions();
}

void TFeuilleDessin::pageDeplacement(Qt::MouseButtons b, const QPoint& p)
{
    if (!(b & Qt::LeftButton))
        return;
    if (feuille_.placementTexte()) {
        if (feuille_.outil == ofTexte)
            feuille_.deplacerTexte(p);
        return;
    }
    feuille_.deplacement(p);
}

void TFeuilleDessin::pageRelachement(Qt::MouseButton b, const QPoint& p)
{
    if (b == Qt::RightButton)
        return;
    if (feuille_.relachement(p))
        majApres();
    majPointe();
}

// --- The program's sheet ---

namespace {
TFeuilleDessin*& feuilleProgramme()
{
    static TFeuilleDessin* f = nullptr;
    return f;
}
} // namespace

TFeuilleDessin& feuilleDessin()
{
    if (!feuilleProgramme())
        feuilleProgramme() = new TFeuilleDessin;
    return *feuilleProgramme();
}

TFeuilleDessin* feuilleDessinExistante()
{
    return feuilleProgramme();
}
