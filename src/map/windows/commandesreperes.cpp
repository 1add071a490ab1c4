#include "map/windows/commandesreperes.h"

#include "map/windows/delimCarte.h"
#include "map/windows/tableaureperes.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QFileInfo>

TCommandesReperes::TCommandesReperes(TCarte& carte) : carte_(carte)
{
    QObject::connect(carte_.commande("FenetreReperes1"), &QAction::triggered, &carte_,
                     [this] { FenetreReperes1Click(); });
    QObject::connect(carte_.commande("Chargerdesreperes1"), &QAction::triggered, &carte_,
                     [this] { Chargerdesreperes1Click(); });
    // The vertices of a kept path become rows of the table.
    carte_.suivreEffets([this](const carte::Effets& e) {
        for (const carte::Effets::LigneTable& l : e.lignesTable) {
            creerFenetre();
            tableau_->definirLigneTrajet(l.ligne, l.latitude, l.longitude);
        }
    });
}

void TCommandesReperes::creerFenetre()
{
    if (tableau_)
        return;
    tableau_ = new TTableau_reperes(&carte_);
    tableau_->setObjectName(QStringLiteral("Tableau_reperes"));
    tableau_->setWindowFlag(Qt::Tool);
    tableau_->surValider = [this] { AjouterReperes(); };
}

void TCommandesReperes::AjouterReperes()
{
    creerFenetre();
    carte_.majContexte();
    carte::TGrilleReperes g = tableau_->grille();
    carte_.appliquer(carte_.Interaction.ajouterReperes(g, tableau_->ajouterCoche()));
    // Decimal marks and dispositions come back as they were read, the rows left
    // out marked.
    tableau_->definirGrille(g);
}

void TCommandesReperes::FenetreReperes1Click()
{
    creerFenetre();
    tableau_->show();
    tableau_->raise();
    tableau_->activateWindow();
}

void TCommandesReperes::Chargerdesreperes1Click()
{
    creerFenetre();
    FileDialogRequest req;
    req.folder = carte_.DernierDossier;
    req.filter = QStringLiteral("fichier orbiplate|*.obf");
    req.defaultExt = QStringLiteral("obf");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    carte_.DernierDossier = QFileInfo(chemin).absolutePath();
    if (tableau_->chargerFichier(chemin))
        AjouterReperes();
}

void TCommandesReperes::chargerEtAjouter(const QString& chemin, bool ajouter)
{
    creerFenetre();
    tableau_->definirAjouter(ajouter);
    if (tableau_->chargerFichier(chemin))
        AjouterReperes();
}
