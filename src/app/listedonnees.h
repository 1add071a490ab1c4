// Data lists (".cft"): text files of lines "path,caption,flag" that put data files
// under the help menu and open some of them at once; and the safe hand-over of a
// document to the system's associated program (data-list files, the help page,
// spreadsheets), which never runs a program.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

struct EntreeListe {
    QString chemin;   // full path: the list's folder, then the entry's path
    QString libelle;  // menu item caption
    bool ouvrir = false; // flag "OUI" (any case): open at once, item checked
};

// Reads the text of a data list whose folder is `dossier`. Lines are split at the
// first comma into path and rest, the rest at its first comma into caption and
// flag; backslashes in the path become folder separators. A line without a comma
// ends the reading (the entries read so far stay); blank lines are skipped.
std::vector<EntreeListe> analyserListeDonnees(const QByteArray& texte, const QString& dossier);
// The same from a file; an unreadable file gives no entry.
std::vector<EntreeListe> lireListeDonnees(const QString& cheminCft);

// The entries of the current list (a new list replaces the previous one).
class TListeDonnees {
public:
    // Replaces the entries by those of the file; returns the new entries.
    const std::vector<EntreeListe>& charger(const QString& cheminCft);
    void remplacer(std::vector<EntreeListe> entrees) { entrees_ = std::move(entrees); }
    const std::vector<EntreeListe>& entrees() const { return entrees_; }
    void vider() { entrees_.clear(); }

private:
    std::vector<EntreeListe> entrees_;
};

// What opening a listed file means, by its upper-cased extension.
enum class GenreFichierListe { Reperes, GPS, Seismes, Autre };
GenreFichierListe genreFichierListe(const QString& chemin);

// Whether a file may be handed to the system. Refused: a missing file or a
// folder ("Fichier non trouvé"), and anything that would run: files with an
// execute permission, ELF, "MZ" or "#!" contents, desktop launchers, and the
// extensions of scripts and programs.
struct VerdictOuverture {
    bool permis = false;
    QString message; // French text for the warning box when refused
};
VerdictOuverture verifierOuvertureSure(const QString& chemin);

// Hands the file to the system after the check above; a refusal or a failure is
// shown in a warning box. The folder of the file is its working folder as far as
// the platform allows.
bool ouvrirDocument(const QString& chemin);

// The program used to open documents: QDesktopServices by default; tests install
// their own (an empty function restores the default).
void definirOuvreurSysteme(std::function<bool(const QUrl&)> ouvreur);

// "&Fichier d'aide": aide/index.html under the current folder.
QString cheminFichierAide();
bool ouvrirFichierAide();

// "Charger des données dans un tableur": asks for a file (starting in the last
// folder used, which becomes the chosen file's folder) and hands it to the system.
bool chargerDonneesDansTableur(QString& dernierDossier);
// The same with a folder remembered between calls.
bool chargerDonneesDansTableur();
