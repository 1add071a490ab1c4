// Orbiplate: program entry.
#include "app/dossierdepart.h"
#include "app/windows/orbiplate.h"
#include "map/windows/delimCarte.h"
#include "ui/dialogs.h"
#include "ui/windows/qtdialogs.h"
#include "ui/windows/traduction.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbiplate"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbiplate"));
    QGuiApplication::setDesktopFileName(QStringLiteral("orbiplate"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orbiplate")));
    // Qt's own dialogs and buttons in French; without the catalogue they stay in English.
    installerTraductionQt(app);
    QtDialogService service;
    setDialogService(&service);

    int code = 1;
    {
        // The data files are read from the folder the program was started in when
        // it is a data folder; otherwise (a desktop menu entry starts it in the
        // home folder) from the user's own, filled from the installed data.
        const ChoixDossierDepart choix = choisirDossierDepart(
            QDir::currentPath(), dossierPersonnel(), dossiersDonneesInstalles(QCoreApplication::applicationDirPath()));
        retenirChoixDossierDepart(choix);
        if (QDir(choix.dossier) != QDir::current())
            QDir::setCurrent(choix.dossier);
        if (!choix.avertissement.isEmpty())
            showWarning(choix.avertissement);
        TOrbiplate orbiplate(choix.dossier);
        if (orbiplate.demarrer()) {
            orbiplate.carte().show();
            // The map paints itself once before the remaining windows are made.
            QApplication::processEvents();
            code = app.exec();
        }
    }
    setDialogService(nullptr);
    return code;
}
