#include "map/windows/commandesniveau.h"

#include "data/fichiers.h"
#include "map/agefonds.h"
#include "map/windows/delimCarte.h"
#include "map/windows/echage.h"
#include "map/windows/variniv.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>

namespace {

// Hourglass cursor for the lifetime of the guard.
class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

} // namespace

TCommandesNiveau::TCommandesNiveau(TCarte& carte) : carte_(carte), simulation_(carte.Grille)
{
    Niveaumarinsi1_ = carte_.commande("Niveaumarinsi1");
    Population1_ = carte_.commande("Population1");
    agedesfonds_ = carte_.commande("agedesfondsoceaniques1");
    QAction* table = carte_.commande("CalculetableSurfVol1");
    for (QAction* a : {Niveaumarinsi1_, Population1_, agedesfonds_, table})
        a->setEnabled(true);
    connect(Niveaumarinsi1_, &QAction::triggered, this, [this] { NiveaumarinClick(); });
    connect(Population1_, &QAction::triggered, this, [this] { Population1Click(); });
    connect(agedesfonds_, &QAction::triggered, this, [this] { agefondsClick(); });
    connect(table, &QAction::triggered, this, [this] { CalculetableSurfVolClick(); });
    connect(carte_.commande("Viderlamemoire1"), &QAction::triggered, this, [this] { viderMemoire(); });

    echage_ = new TEchage(&carte_);
    echage_->hide();
    // The threatened people, over the top left of the map.
    Popmenac_ = new QLabel(carte_.vue());
    Popmenac_->setObjectName(QStringLiteral("Popmenac"));
    Popmenac_->setAutoFillBackground(true);
    Popmenac_->setFrameShape(QFrame::Box);
    Popmenac_->setMargin(4);
    Popmenac_->move(8, 8);
    Popmenac_->hide();

    carte_.scene().redessinerSurcouche = [this](Calque c) { redessiner(c); };
}

TCommandesNiveau::~TCommandesNiveau()
{
    carte_.scene().redessinerSurcouche = nullptr;
}

QString TCommandesNiveau::cheminTable() const
{
    return carte_.Config.DossierDepart + QStringLiteral("ModSVfH.fmo");
}

// --- Sea level ---

void TCommandesNiveau::NiveaumarinClick()
{
    TScene& s = carte_.scene();
    if (!Niveaumarinsi1_->isChecked()) {
        s.afficher(Calque::NiveauMarin, false);
        if (variNiv_)
            variNiv_->hide();
        Popmenac_->hide();
        carte_.vue()->invalidate();
        return;
    }
    const bool prepare = !s.calqueAUneImage(Calque::NiveauMarin);
    if (prepare) {
        if (!variNiv_) {
            variNiv_ = new TVariNiv(&carte_);
            variNiv_->setWindowFlag(Qt::Tool);
            connect(variNiv_->OK, &QPushButton::clicked, this, [this] { appliquerNiveau(); });
            connect(variNiv_->ReliesOcean, &QCheckBox::toggled, this, [this] { modeChange(); });
            variNiv_->adjustSize();
            const QRect g = carte_.geometry();
            variNiv_->move(std::max(g.left(), g.right() - variNiv_->width() - 10),
                           std::max(g.top() + 110, g.bottom() - variNiv_->height() - 60));
        }
        {
            Sablier sablier;
            s.assurerCalque(Calque::NiveauMarin);
        }
        preparerTable();
    }
    s.afficher(Calque::NiveauMarin, true);
    variNiv_->show();
    variNiv_->raise();
    // A new layer shows the level in the calculator at once.
    if (prepare)
        appliquerNiveau();
}

void TCommandesNiveau::preparerTable()
{
    {
        Sablier sablier;
        simulation_.preparer();
        if (variNiv_)
            variNiv_->recevoirTable(simulation_.tableEnUsage());
    }
    // The file is kept for the programs that read it; what the simulation uses is
    // always computed from the grid in use.
    QFile f(cheminTable());
    if (f.open(QIODevice::ReadOnly) && f.readAll() == encoderTableSurfVol(simulation_.table()))
        return;
    f.close();
    QString message;
    if (!ecrireTable(&message) && !echecEcritureSignale_) {
        echecEcritureSignale_ = true;
        showWarning(message + QStringLiteral(" La simulation du niveau marin fonctionne sans ce fichier."));
    }
}

bool TCommandesNiveau::ecrireTable(QString* message)
{
    return ecrireTableSurfVol(cheminTable(), simulation_.table(), message);
}

void TCommandesNiveau::appliquerNiveau()
{
    if (!Niveaumarinsi1_->isChecked() || !variNiv_)
        return;
    Sablier sablier;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TScene& s = carte_.scene();
    s.assurerCalque(Calque::NiveauMarin);
    niveauApplique_ = variNiv_->Altimer->value();
    const bool population = s.affiche(Calque::Population) && !population_.vide();
    const ResultatNiveau r = simulation_.appliquer(niveauApplique_, s.calque(Calque::NiveauMarin)->bitmap, s.Etat.W,
                                                   s.Etat.H, s.Etat.Decalage, population ? &population_ : nullptr,
                                                   totalMonde_);
    afficherTextes(r);
    carte_.vue()->invalidate();
}

void TCommandesNiveau::afficherTextes(const ResultatNiveau& r)
{
    variNiv_->Lvarisurf->setText(r.surface);
    variNiv_->LVol->setText(r.volume);
    variNiv_->PopMenace->setText(r.population);
    if (r.populationCalculee) {
        Popmenac_->setText(r.population);
        Popmenac_->adjustSize();
        Popmenac_->show();
        Popmenac_->raise();
    } else {
        Popmenac_->hide();
    }
}

void TCommandesNiveau::majPopulationMenacee()
{
    if (!variNiv_ || !Niveaumarinsi1_->isChecked())
        return;
    Sablier sablier;
    const bool population = carte_.scene().affiche(Calque::Population) && !population_.vide();
    afficherTextes(simulation_.textes(niveauApplique_, population ? &population_ : nullptr, totalMonde_));
}

void TCommandesNiveau::modeChange()
{
    simulation_.Reliee = variNiv_->ReliesOcean->isChecked();
    {
        Sablier sablier;
        variNiv_->recevoirTable(simulation_.tableEnUsage());
    }
    if (Niveaumarinsi1_->isChecked() && carte_.scene().calqueAUneImage(Calque::NiveauMarin)) {
        variNiv_->Altimer->setValue(niveauApplique_);
        appliquerNiveau();
    }
}

void TCommandesNiveau::CalculetableSurfVolClick()
{
    QString message;
    bool ok = false;
    {
        Sablier sablier;
        simulation_.preparer();
        if (variNiv_)
            variNiv_->recevoirTable(simulation_.tableEnUsage());
        ok = ecrireTable(&message);
    }
    if (!ok)
        showError(message);
    else
        showInformation(QStringLiteral("Table des surfaces et des volumes enregistrée dans « %1 ».")
                            .arg(nomAffiche(cheminTable())));
}

// --- Population ---

void TCommandesNiveau::Population1Click()
{
    TScene& s = carte_.scene();
    if (!Population1_->isChecked()) {
        s.afficher(Calque::Population, false);
        Popmenac_->hide();
        majPopulationMenacee();
        carte_.vue()->invalidate();
        return;
    }
    QString message;
    bool lue = false;
    {
        Sablier sablier;
        TGrillePopulation p;
        lue = lirePopulation(carte_.Config.FichierPopulation, p, &message);
        if (lue) {
            population_ = std::move(p);
            dessinerPopulation();
            s.afficher(Calque::Population, true);
        }
    }
    if (!lue) {
        Population1_->setChecked(false);
        showWarning(message);
        return;
    }
    majPopulationMenacee();
}

void TCommandesNiveau::dessinerPopulation()
{
    TScene& s = carte_.scene();
    s.assurerCalque(Calque::Population);
    const ReglagesAffichage& r = s.Reglages;
    totalMonde_ = ::dessinerPopulation(s.calque(Calque::Population)->bitmap, population_, s.Etat.W, s.Etat.H,
                                       s.Etat.Decalage, r.CouleurPopulation, r.DensiteMini, r.DensiteMaxi);
}

// --- Ocean-floor age ---

void TCommandesNiveau::agefondsClick()
{
    TScene& s = carte_.scene();
    if (!agedesfonds_->isChecked()) {
        s.afficher(Calque::AgeFonds, false);
        s.calque(Calque::AgeFonds)->bitmap.setSize(0, 0);
        echage_->close();
        carte_.vue()->invalidate();
        return;
    }
    TBitmap32 echelle;
    QString message;
    bool lue = false;
    {
        Sablier sablier;
        lue = chargerEchelleAge(carte_.Config.FichierEchelleAge, echelle, &message);
    }
    if (!lue) {
        agedesfonds_->setChecked(false);
        showWarning(message);
        return;
    }
    if (!RemplirCalqueAge()) {
        agedesfonds_->setChecked(false);
        return;
    }
    echage_->montrer(echelle);
    const QRect g = carte_.geometry();
    echage_->move(g.left() + 10, std::max(g.top(), g.bottom() - echage_->height() - 80));
}

bool TCommandesNiveau::RemplirCalqueAge()
{
    TScene& s = carte_.scene();
    TBitmapLayer* l = s.calque(Calque::AgeFonds);
    if (l->bitmap.isEmpty()) {
        TBitmap32 image;
        QString message;
        bool lue = false;
        {
            Sablier sablier;
            lue = chargerImageAge(carte_.Config.FichierAge, image, &message);
            if (lue) {
                remplirCalqueAge(l->bitmap, image, s.Etat.W, s.Etat.H, s.Etat.Decalage);
                l->location = QRect(0, 0, s.Etat.W, s.Etat.H);
            }
        }
        if (!lue) {
            showWarning(message);
            return false;
        }
    }
    s.afficher(Calque::AgeFonds, true);
    if (!echage_->legende->pixmap().isNull())
        echage_->show();
    return true;
}

// --- Rebuild and memory ---

void TCommandesNiveau::redessiner(Calque c)
{
    TScene& s = carte_.scene();
    switch (c) {
    case Calque::AgeFonds:
        // A new size or shift: the picture is read again and laid over the new map.
        s.calque(Calque::AgeFonds)->bitmap.setSize(0, 0);
        if (!RemplirCalqueAge()) {
            agedesfonds_->setChecked(false);
            s.afficher(Calque::AgeFonds, false);
            echage_->close();
        }
        break;
    case Calque::NiveauMarin:
        if (variNiv_ && Niveaumarinsi1_->isChecked()) {
            const QSignalBlocker bloque(variNiv_->Altimer);
            const int enCours = variNiv_->Altimer->value();
            variNiv_->Altimer->setValue(niveauApplique_);
            appliquerNiveau();
            variNiv_->Altimer->setValue(enCours);
        }
        break;
    case Calque::Population:
        if (!population_.vide())
            dessinerPopulation();
        break;
    default:
        break;
    }
}

void TCommandesNiveau::viderMemoire()
{
    TScene& s = carte_.scene();
    if (!s.affiche(Calque::AgeFonds))
        s.libererCalque(Calque::AgeFonds);
    if (!s.affiche(Calque::NiveauMarin))
        s.libererCalque(Calque::NiveauMarin);
}
