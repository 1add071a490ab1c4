// French for Qt's own texts: the buttons, message boxes and standard dialogs
// (colour, file, font) that Qt draws itself.
#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

// Makes French the default locale and installs Qt's French catalogue ("qtbase_fr"
// from `dossier`, Qt's translations folder when empty) in the application, with
// the few texts that catalogue lacks; the translator is owned by the application
// and removing it removes those too. When the catalogue is missing or
// unreadable, nothing is installed and nullptr is returned: the standard dialogs
// then keep Qt's English texts, and the program goes on.
QTranslator* installerTraductionQt(QCoreApplication& app, const QString& dossier = QString());
