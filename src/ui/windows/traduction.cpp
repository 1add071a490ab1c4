#include "ui/windows/traduction.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* installerTraductionQt(QCoreApplication& app, const QString& dossier)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString ou = dossier.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : dossier;
    auto* traducteur = new QTranslator(&app);
    if (!traducteur->load(QStringLiteral("qtbase_fr"), ou) || !QCoreApplication::installTranslator(traducteur)) {
        delete traducteur;
        return nullptr;
    }
    return traducteur;
}
