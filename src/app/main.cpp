// Orbiplate: program entry.
#include "app/windows/orbiplate.h"
#include "map/windows/delimCarte.h"
#include "ui/windows/qtdialogs.h"
#include "ui/windows/traduction.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbiplate"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbiplate"));
    // Qt's own dialogs and buttons in French; without the catalogue they stay in English.
    installerTraductionQt(app);
    QtDialogService service;
    setDialogService(&service);

    int code = 1;
    {
        // The data files are read from the folder the program was started in.
        TOrbiplate orbiplate(QDir::currentPath());
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
