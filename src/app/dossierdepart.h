// The start folder: where the program reads its data files and writes those it
// makes (the level/volume table, the time-series calibrations). Started in a data
// folder, the program uses it as it is. Started elsewhere, as a desktop menu entry
// starts it, it uses a folder of the user's own, filled from the data folder
// installed with the program, so that nothing is ever written into the system's.
#pragma once

#include <QString>
#include <QStringList>

struct ChoixDossierDepart {
    enum class Origine {
        Courant,   // the folder the program was started in
        Personnel, // the user's own folder, filled from the installed one
        Installe,  // the installed folder itself, read only (the user's could not be made)
    };
    Origine origine = Origine::Courant;
    QString dossier;       // the start folder chosen (absolute path)
    QString installe;      // the installed data folder used, when one was
    QStringList copies;    // files copied or brought up to date at this start, relative
    QString avertissement; // French text when the user's folder could not be made or filled

    // One French paragraph for the About panel: which folder, and why.
    QString description() const;
};

// Name of the file, in the user's folder, recording what was copied from the
// installed folder (path, size and date of each installed file at its copy).
extern const char* const FichierCopieInstallee;

// Whether a folder can be a start folder: it holds "config.obc", or, without one,
// the default colour base picture (the configuration's defaults then apply).
bool estDossierDonnees(const QString& dossier);

// The installed data folders, by preference: share/orbiplate/donnees beside the
// folder of the program (`dossierProgramme`: its bin folder), then
// orbiplate/donnees in each of the system's data folders. Only existing ones.
QStringList dossiersDonneesInstalles(const QString& dossierProgramme);

// The help page installed with the program (share/orbiplate/aide/index.html
// beside its bin folder, then in the system's data folders); empty if none.
QString pageAideInstallee(const QString& dossierProgramme);

// The user's start folder: "donnees" in the program's data location of the user
// (on Linux ~/.local/share/Orbiplate/donnees). Needs the application's name set.
QString dossierPersonnel();

// Brings the user's folder up to date from the installed one: every file of the
// installed folder (hidden ones excepted) missing from the user's is copied; a
// copy the user has not changed since is replaced when the installed file
// changes (a new version of the data package); a file the user changed or made
// stays. Each copy is written under a temporary name and renamed. False with a
// French message naming the file at fault; what was copied before stays.
bool remplirDossierPersonnel(const QString& installe, const QString& personnel, QStringList& copies,
                             QString& erreur);

// The choice at start-up, from the current folder, the user's folder and the
// installed data folders (in order of preference):
// - the current folder when it is a data folder (exactly as before);
// - otherwise the user's folder, made and brought up to date from the first
//   installed data folder; if it cannot be made or filled and holds no
//   configuration yet, the installed folder itself, with a warning;
// - without an installed data folder, the user's folder if it is a data folder;
// - otherwise the current folder (the configuration's defaults apply).
ChoixDossierDepart choisirDossierDepart(const QString& courant, const QString& personnel,
                                        const QStringList& installes);

// The choice of this run, kept for the About panel; before any, the current folder.
void retenirChoixDossierDepart(const ChoixDossierDepart& choix);
ChoixDossierDepart choixDossierDepartRetenu();
