// The program's windows put together: the map, then its tool windows in their
// start-up order, and the map's general commands that live outside the map
// itself: the data lists under the help menu, the help page, the About panel and
// the spreadsheet command.
#pragma once

#include "app/listedonnees.h"
#include "data/stores.h"

#include <QString>

#include <memory>

class TCarte;
class TApropos;
class TFenetreAide;
class MenuListeDonnees;
class TCommandesExport;
class Tgestimp;
class TCommandesCoupe;
class TCommandeVuePolaire;

class TOrbiplate {
public:
    // dossier: the start folder (configuration and data files).
    explicit TOrbiplate(const QString& dossier);
    // The same over stores owned elsewhere (tests).
    TOrbiplate(const QString& dossier, TDonnees& donnees);
    ~TOrbiplate();

    // Starts the map (false when its base picture is missing), then creates the
    // tool windows and binds the general commands.
    bool demarrer();

    TCarte& carte() { return *carte_; }
    TCommandesExport& exportCarte() { return *export_; }
    TDonnees& donnees() { return *donnees_; }
    TApropos* apropos() const { return apropos_; }
    MenuListeDonnees* listeDonnees() const { return liste_; }
    // The program's help window; made the first time the system cannot show the
    // help page, then kept.
    TFenetreAide* fenetreAide() const { return aide_; }
    // The print layout manager, made once the map has started.
    Tgestimp& gestionnaireImpression() { return *gestimp_; }
    // The map's section commands and the section window they make.
    TCommandesCoupe& coupes() { return *coupes_; }
    // The polar view and its command, made with the map's tool windows.
    TCommandeVuePolaire& vuePolaire() { return *polaire_; }

    // "Charger un fichier de configuration".
    void Chargerunfichierdeconfiguration1Click();
    // "&A propos de...": the panel over the map.
    void Apropos1Click();
    // "&Fichier d'aide": the help page in the system's browser, or in the
    // program's help window when the system cannot show it.
    void Fichierdaide1Click();
    void afficherAideInterne(const QString& chemin);
    // Opens one file of the data list by its kind: landmarks are added to the map,
    // GPS and earthquake files loaded and shown, any other file handed to the
    // system (never run).
    void ouvrirEntree(const EntreeListe& e);

private:
    std::unique_ptr<TDonnees> propres_; // the program's stores, when it owns them
    TDonnees* donnees_;
    std::unique_ptr<TCarte> carte_;
    TApropos* apropos_ = nullptr;
    MenuListeDonnees* liste_ = nullptr;
    TFenetreAide* aide_ = nullptr;
    std::unique_ptr<TCommandesExport> export_;
    Tgestimp* gestimp_ = nullptr;
    std::unique_ptr<TCommandeVuePolaire> polaire_;
    std::unique_ptr<TCommandesCoupe> coupes_; // first to go: it hooks into the map
};
