#include "section/windows/fcoupe.h"

#include "drawing/windows/dialoguestexte.h"
#include "drawing/windows/feuilledessin.h"
#include "section/donneescoupe.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"
#include "ui/windows/panneaucouleur.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace coupe;

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

QAction* item(QMenu* m, const char* nom, const QString& texte)
{
    QAction* a = m->addAction(texte);
    a->setObjectName(QString::fromLatin1(nom));
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

TCoupe::TCoupe(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Coupe"));
    setWindowTitle(QStringLiteral("Coupe"));
    executerDialogue = [](QDialog& d) { return d.exec(); };

    // Menus.
    QMenuBar* mb = menuBar();
    QMenu* fichier = mb->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    connect(item(fichier, "Enregistrerlimagesous1", QStringLiteral("&Enregistrer l'image sous")), &QAction::triggered,
            this, &TCoupe::Enregistrerlimagesous1Click);
    connect(item(fichier, "Imprimer1", QStringLiteral("&Imprimer")), &QAction::triggered, this,
            &TCoupe::Imprimer1Click);
    fichier->addSeparator();
    connect(item(fichier, "Fermer1", QStringLiteral("&Fermer")), &QAction::triggered, this, &QWidget::hide);
    QAction* copier = mb->addAction(QStringLiteral("&Copier"));
    copier->setObjectName(QStringLiteral("Copier1"));
    connect(copier, &QAction::triggered, this, &TCoupe::Copier1Click);

    QMenu* disposition = mb->addMenu(QStringLiteral("&Disposition"));
    disposition->setObjectName(QStringLiteral("Disposition1"));
    auto* modes = new QActionGroup(this);
    Superposer1 = item(disposition, "Superposer1", QStringLiteral("&Superposer"));
    Superposer1->setCheckable(true);
    modes->addAction(Superposer1);
    Juxtaposer1 = disposition->addMenu(QStringLiteral("&Juxtaposer"));
    Juxtaposer1->setObjectName(QStringLiteral("Juxtaposer1"));
    Juxtaposer1->menuAction()->setCheckable(true);
    Juxtaposer1->menuAction()->setChecked(true);
    auto* nombres = new QActionGroup(this);
    const char* noms[3] = {"uncadre1", "deuxcadres1", "quatrecadres1"};
    const char* textes[3] = {"un cadre", "deux cadres", "quatre cadres"};
    const int n[3] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        juxtapositions_[i] = radio(Juxtaposer1, nombres, QString::fromLatin1(textes[i]), n[i], i == 0);
        juxtapositions_[i]->setObjectName(QString::fromLatin1(noms[i]));
        connect(juxtapositions_[i], &QAction::triggered, this, [this, k = n[i]] { JuxtaposerClick(k); });
    }
    connect(Superposer1, &QAction::triggered, this, &TCoupe::SuperposerClick);
    disposition->addSeparator();
    Reliefaudessus1 = item(disposition, "Reliefaudessus1", QStringLiteral("&Relief au-dessus"));
    Reliefaudessus1->setCheckable(true);
    connect(Reliefaudessus1, &QAction::triggered, this, &TCoupe::ReliefaudessusClick);

    QMenu* choixMenu = mb->addMenu(QStringLiteral("Ch&oix"));
    choixMenu->setObjectName(QStringLiteral("Choix1"));
    connect(item(choixMenu, "Couleurs1", QStringLiteral("&Couleurs...")), &QAction::triggered, this,
            &TCoupe::Couleurs1Click);
    QMenu* exag = choixMenu->addMenu(QStringLiteral("&Exagération des reliefs"));
    exag->setObjectName(QStringLiteral("Exagerationdesreliefs1"));
    exagerations_ = new QActionGroup(this);
    for (int e : Exagerations) {
        QAction* a = radio(exag, exagerations_, QStringLiteral("x %1").arg(e), e, e == images().exageration());
        a->setObjectName(QStringLiteral("x%1").arg(e));
        connect(a, &QAction::triggered, this, [this, e] { ExagerationClick(e); });
    }

    QMenu* effacer = mb->addMenu(QStringLiteral("&Effacer..."));
    effacer->setObjectName(QStringLiteral("Effacer1"));
    connect(item(effacer, "ladernierecoupe1", QStringLiteral("la &dernière coupe")), &QAction::triggered, this,
            &TCoupe::Ladernierecoupe1Click);
    letrace1 = effacer->addMenu(QStringLiteral("le tracé..."));
    letrace1->setObjectName(QStringLiteral("letrace1"));

    // Tool bar.
    QToolBar* barre = addToolBar(QStringLiteral("BarreOutils"));
    barre->setObjectName(QStringLiteral("BarreOutils"));
    barre->setMovable(false);
    struct Outil {
        const char* nom;
        const char* texte;
        const char* bulle;
        int tag;
    } const defs[] = {{"Bouton_crayon", "✎", "crayon", ocCrayon},
                      {"Bouton_trait", "╱", "ligne", ocLigne},
                      {"ToolButton_forme", "▭", "forme", ocForme},
                      {"Bouton_texte", "T", "texte", ocTexte},
                      {"Bouton_mesure", "∡", "mesure", ocMesure},
                      {"BoutonCroute", "▒", "Coloration de la croûte", ocCroute},
                      {"Bouton_Pipette", "⊙", "prélèvement de la couleur", ocPipette}};
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
    connect(Annuler, &QAction::triggered, this, &TCoupe::AnnulerClick);
    barre->addSeparator();

    auto* menuStyle = new QMenu(this);
    menuStyle->setObjectName(QStringLiteral("Menustyle"));
    auto* gStyle = new QActionGroup(menuStyle);
    radio(menuStyle, gStyle, QStringLiteral("traits pleins"), 0, true);
    radio(menuStyle, gStyle, QStringLiteral("tiretés"), 1);
    connect(gStyle, &QActionGroup::triggered, this, [this](QAction* a) { vue_.style = a->data().toInt(); });
    auto* menuRemplis = new QMenu(this);
    menuRemplis->setObjectName(QStringLiteral("Menuremplis"));
    auto* gRemplis = new QActionGroup(menuRemplis);
    const char* remplissages[] = {"&Vide",        "&Plein",          "Rayures &Verticales", "Rayures &Horizontales",
                                  "&Quadrillage", "Rayures &Obliques 1", "Rayures O&bliques 2", "Q&uadrillage oblique"};
    for (int i = 0; i < 8; ++i)
        radio(menuRemplis, gRemplis, QString::fromUtf8(remplissages[i]), i, i == 0);
    connect(gRemplis, &QActionGroup::triggered, this, [this](QAction* a) { vue_.remplissage = a->data().toInt(); });
    auto* menuFormes = new QMenu(this);
    menuFormes->setObjectName(QStringLiteral("Menu_formes"));
    auto* gFormes = new QActionGroup(menuFormes);
    radio(menuFormes, gFormes, QStringLiteral("&Rectangle"), 0, true);
    radio(menuFormes, gFormes, QStringLiteral("&Cercle"), 1);
    connect(gFormes, &QActionGroup::triggered, this, [this](QAction* a) { vue_.rectangle = a->data().toInt() == 0; });
    auto* menuFleche = new QMenu(this);
    menuFleche->setObjectName(QStringLiteral("MenuFleche"));
    auto* gFleche = new QActionGroup(menuFleche);
    radio(menuFleche, gFleche, QStringLiteral("&simple"), 0, true);
    radio(menuFleche, gFleche, QStringLiteral("&flèche"), 1);
    radio(menuFleche, gFleche, QStringLiteral("&double flèche"), 2);
    connect(gFleche, &QActionGroup::triggered, this, [this](QAction* a) { vue_.fleche = a->data().toInt(); });
    auto* menuFonte = new QMenu(this);
    menuFonte->setObjectName(QStringLiteral("MenuFonte"));
    connect(menuFonte->addAction(QStringLiteral("&Fonte")), &QAction::triggered, this, [] {
        QFont f = saisieTexte().police();
        if (dialogs().chooseFont(f))
            saisieTexte().definirPolice(f);
    });
    aStyle = barre->addWidget(choix(barre, QStringLiteral("ChoixStyle"), QStringLiteral("Style"), menuStyle));
    aFleche = barre->addWidget(choix(barre, QStringLiteral("ChoixFleche"), QStringLiteral("Flèche"), menuFleche));
    aForme = barre->addWidget(choix(barre, QStringLiteral("ChoixForme"), QStringLiteral("Forme"), menuFormes));
    aRemplis = barre->addWidget(choix(barre, QStringLiteral("ChoixRemplis"), QStringLiteral("Remplissage"), menuRemplis));
    aFonte = barre->addWidget(choix(barre, QStringLiteral("ChoixFonte"), QStringLiteral("Fonte"), menuFonte));
    aStyle->setObjectName(QStringLiteral("ChoixStyleAction"));
    aFleche->setObjectName(QStringLiteral("ChoixFlecheAction"));
    aForme->setObjectName(QStringLiteral("ChoixFormeAction"));
    aRemplis->setObjectName(QStringLiteral("ChoixRemplisAction"));
    aFonte->setObjectName(QStringLiteral("ChoixFonteAction"));
    barre->addSeparator();
    PanCouleur = new TPanneauCouleur(QStringLiteral("PanCouleur"), barre);
    PanCouleur->setToolTip(QStringLiteral("couleur du prochain trait"));
    connect(PanCouleur, &TPanneauCouleur::couleurChoisie, this, [this](TColor32 c) {
        vue_.definirCouleur(c);
        majPointe();
    });
    barre->addWidget(PanCouleur);
    auto* epaisseur = new QSpinBox(barre);
    epaisseur->setObjectName(QStringLiteral("SpinButton1"));
    epaisseur->setToolTip(QStringLiteral("choix de l'épaisseur du trait"));
    epaisseur->setRange(0, 11);
    connect(epaisseur, &QSpinBox::valueChanged, this, [this](int v) {
        while (vue_.epaisseur < v && vue_.epaisseur <= 10)
            vue_.epaisseurPlus();
        while (vue_.epaisseur > v)
            vue_.epaisseurMoins();
        majPointe();
    });
    barre->addWidget(epaisseur);
    epais = new QLabel(barre);
    epais->setObjectName(QStringLiteral("epais"));
    epais->setFixedSize(25, 25);
    barre->addWidget(epais);

    // The readouts over the image, the image, the slide of the superposition.
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* lectures = new QWidget(central);
    auto* h = new QHBoxLayout(lectures);
    h->setContentsMargins(6, 2, 6, 2);
    PanXP = new QLabel(lectures);
    PanXP->setObjectName(QStringLiteral("PanXP"));
    PanXP->setMinimumWidth(420);
    Panpente = new QLabel(lectures);
    Panpente->setObjectName(QStringLiteral("Panpente"));
    h->addWidget(PanXP, 1);
    h->addWidget(Panpente, 1);
    v->addWidget(lectures);
    Profil_ = new TImageView(central);
    Profil_->setObjectName(QStringLiteral("Profil"));
    Profil_->setCentered(false);
    Profil_->setSource(&vue_);
    Profil_->setBackground(clWhite32);
    Profil_->viewport()->setCursor(Qt::CrossCursor);
    Profil_->viewport()->setMouseTracking(true);
    Profil_->installEventFilter(this);
    v->addWidget(Profil_, 1);
    ScrolC2 = new QScrollBar(Qt::Horizontal, central);
    ScrolC2->setObjectName(QStringLiteral("ScrolC2"));
    ScrolC2->setVisible(false);
    ScrolC2->setSingleStep(5);
    ScrolC2->setPageStep(50);
    connect(ScrolC2, &QScrollBar::valueChanged, this, [this](int pos) { vue_.definirDecalageSuperposition(pos); });
    v->addWidget(ScrolC2);
    setCentralWidget(central);
    vue_.aRepeindre = [this](const QRect& r) {
        if (r.isEmpty())
            Profil_->invalidate();
        else
            Profil_->invalidate(r);
    };
    connect(Profil_, &TImageView::mouseDown, this, [this](QMouseEvent* e, const QPoint& p) {
        profilAppui(e->button(), p, e->globalPosition().toPoint());
    });
    connect(Profil_, &TImageView::mouseMove, this,
            [this](QMouseEvent* e, const QPoint& p) { profilDeplacement(e->buttons(), p); });
    connect(Profil_, &TImageView::mouseUp, this,
            [this](QMouseEvent* e, const QPoint& p) { profilRelachement(e->button(), p); });

    // The frames' context menu.
    Menucopie = new QMenu(this);
    Menucopie->setObjectName(QStringLiteral("Menucopie"));
    Afficher1 = Menucopie->addMenu(QStringLiteral("Afficher..."));
    Afficher1->setObjectName(QStringLiteral("Afficher1"));
    Cadredudessous1 = Menucopie->addMenu(QStringLiteral("Cadre du dessous..."));
    Cadredudessous1->setObjectName(QStringLiteral("Cadredudessous1"));
    Menucopie->addSeparator();
    Copierlacoupe1 = item(Menucopie, "Copierlacoupe1", QStringLiteral("&Copier la coupe"));
    connect(Copierlacoupe1, &QAction::triggered, this, &TCoupe::Copierlacoupe1Click);
    Copierverslafeuillededessin1 =
        item(Menucopie, "Copierverslafeuillededessin1", QStringLiteral("Copier &vers la feuille de dessin"));
    connect(Copierverslafeuillededessin1, &QAction::triggered, this, &TCoupe::Copierverslafeuillededessin1Click);
    Copierlesdonneesdelacoupe1 =
        item(Menucopie, "Copierlesdonneesdelacoupe1", QStringLiteral("Copier les données de la coupe"));
    connect(Copierlesdonneesdelacoupe1, &QAction::triggered, this, &TCoupe::Copierlesdonneesdelacoupe1Click);
    Menucopie->addSeparator();
    connect(item(Menucopie, "Supprimerlacoupe1", QStringLiteral("Supprimer la coupe")), &QAction::triggered, this,
            &TCoupe::Supprimerlacoupe1Click);
    Inverserlorientationdelacoupe1 =
        item(Menucopie, "Inverserlorientationdelacoupe1", QStringLiteral("Inverser l'orientation de la coupe"));
    connect(Inverserlorientationdelacoupe1, &QAction::triggered, this, &TCoupe::Inverserlorientationdelacoupe1Click);
    Choix2 = item(Menucopie, "Choix2", QStringLiteral("Choix..."));
    connect(Choix2, &QAction::triggered, this, &TCoupe::Choix2Click);

    BoutonClick(ocMesure);
    majPointe();
    resize(1200, 800);
    definirTailleDepuisVue();
    majApres();
}

TCoupe::~TCoupe()
{
    Profil_->setSource(nullptr);
}

bool TCoupe::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Profil_ && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, [this] { definirTailleDepuisVue(); }, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}

void TCoupe::definirTailleDepuisVue()
{
    const QSize client = Profil_->viewport()->size();
    const QSize t(std::max(40, client.width() - 19), std::max(40, client.height() - 19));
    if (t == vue_.taille())
        return;
    vue_.definirTaille(t.width(), t.height());
    ScrolC2->setRange(-t.width() / 2, t.width() / 2);
    Profil_->baseChanged();
}

// --- Menus made from the pictures ---

void TCoupe::majMenusCoupes()
{
    const QStringList noms = images().nomsMenus();
    const bool sup = images().superposition();
    Afficher1->setTitle(sup ? QStringLiteral("Cadre du dessus...") : QStringLiteral("Afficher..."));
    Cadredudessous1->menuAction()->setVisible(sup);
    const int haut = images().cadre(vue_.cadreCourant().cadre);
    const int bas = images().cadre(1);
    for (QMenu* m : {Afficher1, Cadredudessous1}) {
        m->clear();
        auto* g = new QActionGroup(m);
        for (int i = 0; i < noms.size(); ++i) {
            QAction* a = radio(m, g, noms[i], i, i == (m == Afficher1 ? haut : bas));
            if (m == Afficher1)
                connect(a, &QAction::triggered, this, [this, i] { AfficherClick(i); });
            else
                connect(a, &QAction::triggered, this, [this, i] { CadreDuDessousClick(i); });
        }
    }
    letrace1->clear();
    const auto& t = images().traces();
    for (int k = 0; k < static_cast<int>(t.size()); ++k) {
        QAction* a = letrace1->addAction(t[static_cast<std::size_t>(k)].libelle);
        a->setData(k);
        connect(a, &QAction::triggered, this, [this, k] { EffacerTraceClick(k); });
    }
    letrace1->menuAction()->setEnabled(!t.empty());
}

void TCoupe::majApres()
{
    Annuler->setEnabled(images().peutAnnuler());
    majMenusCoupes();
    Superposer1->setChecked(images().superposition());
    Juxtaposer1->menuAction()->setChecked(!images().superposition());
    for (QAction* a : juxtapositions_)
        a->setChecked(!images().superposition() && a->data().toInt() == images().nombreCadres());
    Reliefaudessus1->setChecked(images().reliefAuDessus);
    for (QAction* a : exagerations_->actions())
        a->setChecked(a->data().toInt() == images().exageration());
    const bool barre = images().superpositionEffective();
    if (ScrolC2->isVisible() != barre)
        ScrolC2->setVisible(barre);
    majOptions();
}

void TCoupe::majOptions()
{
    const int o = vue_.outil;
    aStyle->setVisible(o == ocLigne || o == ocForme);
    aFleche->setVisible(o == ocLigne);
    aForme->setVisible(o == ocForme);
    aRemplis->setVisible(o == ocForme || o == ocCroute);
    aFonte->setVisible(o == ocTexte);
    for (int t = 0; t < 8; ++t)
        if (outils_[t])
            outils_[t]->setChecked(t == o);
}

void TCoupe::majPointe()
{
    PanCouleur->setCouleur(vue_.couleur);
    epais->setPixmap(QPixmap::fromImage(vue_.pointe().toImage()));
}

void TCoupe::majLectures()
{
    if (PanXP->text() != vue_.texteXP())
        PanXP->setText(vue_.texteXP());
    if (Panpente->text() != vue_.textePente())
        Panpente->setText(vue_.textePente());
}

void TCoupe::DessinerCadres()
{
    vue_.DessinerCadres();
    majApres();
    majLectures();
}

void TCoupe::fermerSiVide()
{
    if (images().aucuneCoupe()) {
        if (positionnement_)
            positionnement_->hide();
        vue_.validerTexte(false);
        vue_.DessinerCadres();
        majApres();
        hide();
    } else {
        DessinerCadres();
    }
}

void TCoupe::AjouterCoupe(std::unique_ptr<TBitmapSIG> section)
{
    const bool premiere = !isVisible();
    images().AjouterCoupe(std::move(section));
    DessinerCadres();
    if (premiere) {
        // Over the whole screen also where no window manager maximises it.
        if (QScreen* ecran = screen() ? screen() : QGuiApplication::primaryScreen())
            setGeometry(ecran->availableGeometry());
        showMaximized();
    } else
        show();
    raise();
}

// --- Exports ---

void TCoupe::Enregistrerlimagesous1Click()
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
    if (!savePicture(chemin, vue_.imageAffichee(), &erreur))
        showError(QStringLiteral("L'image n'a pas pu être enregistrée dans « %1 »%2")
                      .arg(QFileInfo(chemin).fileName(),
                           erreur.isEmpty() ? QStringLiteral(".") : QStringLiteral(" : ") + erreur));
}

void TCoupe::Imprimer1Click()
{
    if (imprimer)
        imprimer(vue_.imageAffichee());
}

void TCoupe::Copier1Click()
{
    QGuiApplication::clipboard()->setImage(vue_.imageAffichee().toImage());
}

void TCoupe::Copierlacoupe1Click()
{
    const TBitmap32& b = vue_.imageCadre(vue_.cadreCourant().cadre);
    if (!b.isEmpty())
        QGuiApplication::clipboard()->setImage(b.toImage());
}

void TCoupe::Copierverslafeuillededessin1Click()
{
    const QRect place = vue_.placeCadre(vue_.cadreCourant().cadre);
    if (place.isEmpty())
        return;
    // A frame of a large window is bigger than the page: the picture, drawn again
    // from its data, comes shrunk to the page with the frame's proportions, so that
    // none of it lies beyond the page and the printout.
    TFeuilleDessin& feuille = feuilleDessin();
    const QSize page = feuille.feuille().taillePage() - QSize(10, 10);
    QSize taille = place.size();
    if (taille.width() > page.width() || taille.height() > page.height())
        taille = taille.scaled(page, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    feuille.AjouterDocument(images().image(vue_.imageCourante()), taille.width(), taille.height());
}

void TCoupe::Copierlesdonneesdelacoupe1Click()
{
    const int i = vue_.imageCourante();
    if (images().estCoupe(i))
        QGuiApplication::clipboard()->setText(donneesCoupeTexte(images().image(i)));
}

// --- Section commands ---

void TCoupe::Supprimerlacoupe1Click()
{
    const int i = vue_.imageCourante();
    if (!images().valide(i))
        return;
    if (!askYesNo(i < NbLegendes ? QStringLiteral("Effacer cette légende ?") : QStringLiteral("Supprimer cette coupe ?")))
        return;
    if (vue_.placementTexte()) {
        vue_.validerTexte(false);
        if (positionnement_)
            positionnement_->hide();
    }
    images().supprimerImage(i, vue_.cadreCourant().cadre);
    fermerSiVide();
}

void TCoupe::Ladernierecoupe1Click()
{
    if (images().nombre() <= NbLegendes || !askYesNo(QStringLiteral("Supprimer cette coupe ?")))
        return;
    if (vue_.placementTexte()) {
        vue_.validerTexte(false);
        if (positionnement_)
            positionnement_->hide();
    }
    images().supprimerDerniereCoupe();
    fermerSiVide();
}

void TCoupe::Inverserlorientationdelacoupe1Click()
{
    if (images().inverser(vue_.imageCourante()))
        DessinerCadres();
}

void TCoupe::Choix2Click()
{
    const int i = vue_.imageCourante();
    if (!images().estCoupe(i))
        return;
    TBitmapSIG& s = images().image(i);
    TChoixCouleurs& d = choixCouleurs();
    d.CouleurS->setCouleur(s.couleur_seismes);
    d.CouleurV->setCouleur(s.couleur_volcans);
    d.CouleurPr->setCouleur(s.couleur_profil);
    d.CoulNiv0->setCouleur(s.couleur_niveau_mer);
    d.Transpar->setValue(255 - static_cast<int>(alphaOf(s.couleur_fond)));
    if (executerDialogue(d) != QDialog::Accepted)
        return;
    s.couleur_seismes = d.CouleurS->couleur();
    s.couleur_volcans = d.CouleurV->couleur();
    s.couleur_profil = d.CouleurPr->couleur();
    s.couleur_niveau_mer = d.CoulNiv0->couleur();
    s.couleur_fond = withAlpha(images().teinte, static_cast<std::uint32_t>(255 - d.Transpar->value()));
    DessinerCadres();
}

void TCoupe::Couleurs1Click()
{
    TImagesCoupe& im = images();
    TChoixCouleurs& d = choixCouleurs();
    d.CouleurS->setCouleur(im.couleurSeismes);
    d.CouleurV->setCouleur(im.couleurVolcans);
    d.CouleurPr->setCouleur(im.couleurProfil);
    d.CoulNiv0->setCouleur(im.couleurNiveauMer);
    d.Transpar->setValue(255 - static_cast<int>(alphaOf(im.teinte)));
    if (executerDialogue(d) != QDialog::Accepted)
        return;
    im.couleurSeismes = d.CouleurS->couleur();
    im.couleurVolcans = d.CouleurV->couleur();
    im.couleurProfil = d.CouleurPr->couleur();
    im.couleurNiveauMer = d.CoulNiv0->couleur();
    im.teinte = withAlpha(im.teinte, static_cast<std::uint32_t>(255 - d.Transpar->value()));
    DessinerCadres();
}

void TCoupe::ExagerationClick(int facteur)
{
    images().definirExageration(facteur);
    DessinerCadres();
}

void TCoupe::EffacerTraceClick(int item)
{
    const auto& t = images().traces();
    if (item < 0 || item >= static_cast<int>(t.size()))
        return;
    if (!askYesNo(QStringLiteral("Voulez-vous effacer le tracé : ") + t[static_cast<std::size_t>(item)].libelle))
        return;
    images().effacerTrace(item);
    DessinerCadres();
}

void TCoupe::AnnulerClick()
{
    if (!images().peutAnnuler()) {
        Annuler->setEnabled(false);
        return;
    }
    if (!askYesNo(QStringLiteral("Voulez-vous effacer le dernier tracé")))
        return;
    images().annuler();
    DessinerCadres();
}

void TCoupe::SuperposerClick()
{
    images().superposer();
    ScrolC2->setValue(0);
    vue_.definirDecalageSuperposition(0);
    DessinerCadres();
}

void TCoupe::JuxtaposerClick(int n)
{
    images().juxtaposer(n);
    DessinerCadres();
}

void TCoupe::ReliefaudessusClick(bool coche)
{
    images().reliefAuDessus = coche;
    DessinerCadres();
}

void TCoupe::AfficherClick(int image)
{
    images().afficherDans(images().superposition() ? 0 : vue_.cadreCourant().cadre, image);
    DessinerCadres();
}

void TCoupe::CadreDuDessousClick(int image)
{
    images().afficherDans(1, image);
    DessinerCadres();
}

void TCoupe::BoutonClick(int tag)
{
    vue_.outil = tag;
    majOptions();
}

// --- Mouse ---

void TCoupe::profilAppui(Qt::MouseButton b, const QPoint& p, const QPoint& globalPos)
{
    if (images().aucuneCoupe())
        return;
    if (b == Qt::RightButton) {
        if (!vue_.choisirCadre(p))
            return;
        const bool coupe = images().estCoupe(vue_.imageCourante());
        Copierlesdonneesdelacoupe1->setEnabled(coupe);
        Inverserlorientationdelacoupe1->setEnabled(coupe);
        Choix2->setEnabled(coupe);
        majMenusCoupes();
        Menucopie->popup(globalPos);
        return;
    }
    if (b != Qt::LeftButton)
        return;
    if (vue_.outil == ocTexte && !vue_.placementTexte()) {
        if (!QRect(QPoint(0, 0), vue_.taille()).contains(p))
            return;
        vue_.appui(p);
        TSaisieTexte& s = saisieTexte();
        s.preparer(vue_.couleur);
        if (executerDialogue(s) != QDialog::Accepted)
            return;
        vue_.placerTexte(p, s.lignes(), s.police(), s.alignement());
        if (!positionnement_) {
            positionnement_ = new TContLegEch(this);
            connect(positionnement_, &TContLegEch::fermee, this, [this](bool ok) {
                if (vue_.validerTexte(ok))
                    majApres();
            });
            connect(positionnement_, &TContLegEch::transparenceChangee, this,
                    [this](bool t) { vue_.definirTexteTransparent(t); });
        }
        vue_.definirTexteTransparent(positionnement_->transparent());
        positionnement_->mode = 0;
        positionnement_->show();
        positionnement_->raise();
        return;
    }
    const bool placait = vue_.placementTexte();
    vue_.appui(p);
    if (placait && !vue_.placementTexte() && positionnement_)
        positionnement_->hide(); // another tool ended the placing
    if (vue_.outil == ocCrayon)
        majPointe();
    majOptions();
    majLectures();
}

void TCoupe::profilDeplacement(Qt::MouseButtons b, const QPoint& p)
{
    vue_.deplacement(p, b & Qt::LeftButton);
    majLectures();
}

void TCoupe::profilRelachement(Qt::MouseButton b, const QPoint& p)
{
    if (b != Qt::LeftButton)
        return;
    if (vue_.relachement(p))
        majApres();
    majLectures();
}
