#include "map/windows/commandesfichiers.h"

#include "map/windows/delimCarte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QFileInfo>

TCommandesFichiers::TCommandesFichiers(TCarte& carte) : carte_(carte)
{
    auto brancher = [this](const char* nom, void (TCommandesFichiers::*f)()) {
        QObject::connect(carte_.commande(nom), &QAction::triggered, &carte_, [this, f] { (this->*f)(); });
    };
    brancher("OuvrirunfichierGPS1", &TCommandesFichiers::OuvrirunfichierGPS1Click);
    brancher("OuvrirunfichierSeismes1", &TCommandesFichiers::OuvrirunfichierSeismes1Click);
    brancher("Chargerunfichierdevolcans1", &TCommandesFichiers::Chargerunfichierdevolcans1Click);
    brancher("Chargerunfonddecarte1", &TCommandesFichiers::Chargerunfonddecarte1Click);
    brancher("Enregistrerlefichierdeseismes1", &TCommandesFichiers::Enregistrerlefichierdeseismes1Click);
    brancher("Enregistrerlefichierdevolcans1", &TCommandesFichiers::Enregistrerlefichierdevolcans1Click);
    brancher("EnregistrerlesvecteursaffichescommedonneesGPS1",
             &TCommandesFichiers::EnregistrerlesvecteursaffichescommedonneesGPS1Click);
}

bool TCommandesFichiers::chargerGPS(const QString& chemin)
{
    ResultatChargement r;
    {
        // The layer is drawn once, when it is shown.
        const TScene::Differe differe(carte_.scene());
        r = carte_.donnees().ChargerGPS(chemin);
        // A load that kept nothing leaves the map as it was.
        if (r.remplace)
            carte_.afficherGPS();
    }
    TCarte::signalerChargement(r);
    return r.remplace;
}

bool TCommandesFichiers::chargerSeismes(const QString& chemin)
{
    ResultatChargement r;
    {
        const TScene::Differe differe(carte_.scene());
        r = carte_.donnees().ChargerSeismes(chemin);
        if (r.remplace)
            carte_.afficherSeismes();
    }
    TCarte::signalerChargement(r);
    return r.remplace;
}

bool TCommandesFichiers::chargerVolcans(const QString& chemin)
{
    ResultatChargement r;
    {
        const TScene::Differe differe(carte_.scene());
        r = carte_.donnees().ChargerVolcans(chemin);
        if (r.remplace)
            carte_.afficherVolcans();
    }
    TCarte::signalerChargement(r);
    return r.remplace;
}

void TCommandesFichiers::OuvrirunfichierGPS1Click()
{
    const QString chemin = carte_.demanderFichier(QStringLiteral("GPS|*.gps|Texte|*.txt|CSV|*.csv|Tous|*.*"));
    if (!chemin.isEmpty())
        chargerGPS(chemin);
}

void TCommandesFichiers::OuvrirunfichierSeismes1Click()
{
    const QString chemin =
        carte_.demanderFichier(QStringLiteral("Seismes|*.fse|Texte|*.txt|CSV|*.csv|GeoJSON|*.json;*.geojson"));
    if (!chemin.isEmpty())
        chargerSeismes(chemin);
}

void TCommandesFichiers::Chargerunfichierdevolcans1Click()
{
    const QString chemin = carte_.demanderFichier(QStringLiteral("Volcans|*.fvo|Texte|*.txt|CSV|*.csv"));
    if (!chemin.isEmpty())
        chargerVolcans(chemin);
}

void TCommandesFichiers::Chargerunfonddecarte1Click()
{
    FileDialogRequest req;
    req.folder = carte_.DernierDossier;
    req.filter = QStringLiteral("Images|*.jpg;*.jpeg;*.png;*.gif;*.bmp|Tous|*.*");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return;
    TBitmap32 pic;
    QString erreur;
    if (!loadPicture(chemin, pic, &erreur) || pic.isEmpty()) {
        // The picture in place stays: the map is never left empty.
        showError(QStringLiteral("Impossible de lire l'image ") + QFileInfo(chemin).fileName() +
                  (erreur.isEmpty() ? QString() : QStringLiteral(" : ") + erreur));
        return;
    }
    carte_.scene().installerFond(std::move(pic));
    carte_.scene().reconstruireCalques();
}

namespace {

// A save dialog for one kind of data file; nothing to save is said before asking.
void enregistrer(const QString& dossier, const QString& ext, const QString& filtre, int nombre, const QString& rien,
                 const std::function<ResultatEcriture(const QString&)>& ecrire)
{
    if (nombre == 0) {
        showWarning(rien);
        return;
    }
    FileDialogRequest req;
    req.folder = dossier;
    req.defaultExt = ext;
    req.filter = filtre;
    req.fileName = QStringLiteral("*.") + ext;
    req.overwritePrompt = true;
    const QString chemin = dialogs().saveFile(req);
    if (chemin.isEmpty())
        return;
    const ResultatEcriture r = ecrire(chemin);
    if (!r.ok)
        showError(r.message.isEmpty() ? QStringLiteral("Impossible d'écrire le fichier ") + chemin : r.message);
}

int stationsAffichees(const TDonnees& d)
{
    int n = 0;
    for (const TStationGPS& s : d.TabStations)
        n += s.Affiche == 1;
    return n;
}

} // namespace

void TCommandesFichiers::Enregistrerlefichierdeseismes1Click()
{
    TDonnees& d = carte_.donnees();
    enregistrer(carte_.DernierDossier, QStringLiteral("fse"), QStringLiteral("fichier binaire séisme|*.fse"),
                static_cast<int>(d.TabSeismes.size()),
                QStringLiteral("Aucun séisme n'est chargé : il n'y a rien à enregistrer."),
                [&d](const QString& c) { return d.EnregistrerSeismes(c); });
}

void TCommandesFichiers::Enregistrerlefichierdevolcans1Click()
{
    TDonnees& d = carte_.donnees();
    enregistrer(carte_.DernierDossier, QStringLiteral("fvo"), QStringLiteral("fichier binaire volcans|*.fvo"),
                static_cast<int>(d.TabVolcans.size()),
                QStringLiteral("Aucun volcan n'est chargé : il n'y a rien à enregistrer."),
                [&d](const QString& c) { return d.EnregistrerVolcans(c); });
}

void TCommandesFichiers::EnregistrerlesvecteursaffichescommedonneesGPS1Click()
{
    TDonnees& d = carte_.donnees();
    enregistrer(carte_.DernierDossier, QStringLiteral("gps"), QStringLiteral("fichier binaire gps|*.gps"),
                stationsAffichees(d), QStringLiteral("Aucun vecteur GPS n'est affiché : il n'y a rien à enregistrer."),
                [&d](const QString& c) { return d.EnregistrerGPS(c); });
}
