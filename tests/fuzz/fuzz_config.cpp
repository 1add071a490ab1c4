// Fuzzing harness: the configuration file config.obc.
#include "fuzz_commun.h"
#include "map/config.h"
#include "map/grille.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dossier;
    {
        QFile f(QDir(dossier.path()).filePath(QStringLiteral("config.obc")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const TConfiguration c = lireConfiguration(dossier.path());
    fuzz::verifier(c.Lu && c.DossierDepart.endsWith(QLatin1Char('/')), "configuration lue");
    for (const QString* nom : {&c.FondCouleur3600, &c.FondNB3600, &c.FondCouleur7200, &c.FondNB7200, &c.FichierGPS,
                               &c.FichierSeismes, &c.FichierVolcans, &c.FichierPopulation})
        fuzz::verifier(!nom->isEmpty(), "nom de fichier");
    TGrilleAltitude::pasDepuisNom(cheminGrille(c));
    return 0;
}
