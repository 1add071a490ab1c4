// Orbiplate: program entry.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbiplate"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbiplate"));
    QMainWindow carte;
    carte.setWindowTitle(QStringLiteral("Carte"));
    carte.resize(1024, 700);
    carte.show();
    return app.exec();
}
