#include "ui/windows/traduction.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace {

// The few texts of Qt's dialogs that its French catalogue leaves in English (the
// file dialog's type column names folders through a class the catalogue does not
// know). Consulted before the catalogue; anything else falls through to it.
class ComplementsFrancais : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexte, const char* source, const char* /*precision*/, int /*n*/) const override
    {
        static const struct {
            const char* contexte;
            const char* source;
            const char* francais;
        } textes[] = {{"QAbstractFileIconProvider", "Folder", "Dossier"},
                      {"QAbstractFileIconProvider", "Drive", "Lecteur"},
                      {"QAbstractFileIconProvider", "File", "Fichier"},
                      {"QAbstractFileIconProvider", "Shortcut", "Raccourci"},
                      {"QAbstractFileIconProvider", "%1 File", "Fichier %1"}};
        if (!contexte || !source)
            return {};
        for (const auto& t : textes)
            if (std::strcmp(contexte, t.contexte) == 0 && std::strcmp(source, t.source) == 0)
                return QString::fromUtf8(t.francais);
        return {};
    }
};

} // namespace

QTranslator* installerTraductionQt(QCoreApplication& app, const QString& dossier)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString ou = dossier.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : dossier;
    auto* traducteur = new QTranslator(&app);
    if (!traducteur->load(QStringLiteral("qtbase_fr"), ou) || !QCoreApplication::installTranslator(traducteur)) {
        delete traducteur;
        return nullptr;
    }
    // Installed last, consulted first; removed with the catalogue (it is its child).
    QCoreApplication::installTranslator(new ComplementsFrancais(traducteur));
    return traducteur;
}
