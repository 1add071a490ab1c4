// Orbiplate: program entry.
#include "map/windows/delimCarte.h"
#include "ui/windows/qtdialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbiplate"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbiplate"));
    QtDialogService service;
    setDialogService(&service);

    // The data files are read from the folder the program was started in.
    TCarte carte(QDir::currentPath());
    if (!carte.demarrer())
        return 1;
    carte.show();
    // The map paints itself once before the tool windows are created.
    QApplication::processEvents();
    const int code = app.exec();
    setDialogService(nullptr);
    return code;
}
