// Data lists (".cft"): text files of lines "path,caption,flag" that put data files
// under the help menu and open some of them at once; and the safe hand-over of a
// document to the system's associated program (data-list files, the help page,
// spreadsheets), which never runs a program.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

class QObject;

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
// shown in a warning box (a failure the opener reports later too). The folder of
// the file is its working folder.
bool ouvrirDocument(const QString& chemin);

// Hands a URL to the system: the installed opener when a test set one, otherwise
// xdg-open when it is on the PATH (QDesktopServices where it is not). False when
// it failed at once. True when it was handed over: `siEchec` is called later if
// the opener fails within a few seconds (no program for that kind of document,
// no browser), unless `contexte`, when given, is gone by then.
bool ouvrirParLeSysteme(const QUrl& url, std::function<void()> siEchec = {}, QObject* contexte = nullptr);

// Runs `programme` with the URL (its local path for a file) as only argument,
// its output going where the program's goes. False when it cannot be started.
// Otherwise `siEchec` is called if it crashes or exits with a non-zero code
// within `delaiMs`; past that it is taken as showing the document (a browser
// staying in the foreground) and its end is no longer watched. `siEchec` is
// never called once `contexte` (when given) is gone or the application quits.
bool lancerOuvreur(const QString& programme, const QUrl& url, std::function<void()> siEchec, int delaiMs,
                   QObject* contexte = nullptr);
constexpr int DelaiOuvreurMs = 5000;

// The program used to open documents instead of the system's; tests install
// their own (an empty function restores the system's).
void definirOuvreurSysteme(std::function<bool(const QUrl&)> ouvreur);

// "&Fichier d'aide": aide/index.html under the current folder, or, when it has
// none, the help page installed with the program.
QString cheminFichierAide();
// Hands the help page to the system. A missing page is reported in a warning
// naming it (false). When the system cannot show it, at once or later,
// `pageInterne` is given its path so that the program shows it itself; without
// one, a warning says that the page could not be shown.
bool ouvrirFichierAide(std::function<void(const QString&)> pageInterne = {}, QObject* contexte = nullptr);

// "Charger des données dans un tableur": asks for a file (starting in the last
// folder used, which becomes the chosen file's folder) and hands it to the system.
bool chargerDonneesDansTableur(QString& dernierDossier);
// The same with a folder remembered between calls.
bool chargerDonneesDansTableur();
