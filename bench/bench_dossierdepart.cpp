// Start-up from a desktop menu entry on the real data folder (ORBIPLATE_DONNEES,
// or ./donnees, ../donnees) taken as the installed one: the first start, which
// fills the user's folder, and every later start, which only checks it.
#include "app/dossierdepart.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString dossierDonnees()
{
    const QByteArray env = qgetenv("ORBIPLATE_DONNEES");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    for (const char* c : {"donnees", "../donnees", "../../donnees", "../../../donnees"})
        if (QFileInfo::exists(QString::fromLatin1(c) + QStringLiteral("/config.obc")))
            return QDir(QString::fromLatin1(c)).absolutePath();
    return QString();
}

void BM_PremierDemarrage(benchmark::State& state)
{
    const QString installe = dossierDonnees();
    if (installe.isEmpty()) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    QTemporaryDir maison;
    const QString courant = maison.filePath("vide");
    QDir().mkpath(courant);
    qint64 octets = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString perso = maison.filePath(QStringLiteral("donnees%1").arg(n++));
        state.ResumeTiming();
        const ChoixDossierDepart c = choisirDossierDepart(courant, perso, {installe});
        benchmark::DoNotOptimize(c.copies.size());
        state.PauseTiming();
        for (const QString& f : c.copies)
            octets += QFileInfo(QDir(perso).filePath(f)).size();
        QDir(perso).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(octets);
}
BENCHMARK(BM_PremierDemarrage)->Unit(benchmark::kMillisecond);

void BM_DemarrageSuivant(benchmark::State& state)
{
    const QString installe = dossierDonnees();
    if (installe.isEmpty()) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    QTemporaryDir maison;
    const QString courant = maison.filePath("vide");
    QDir().mkpath(courant);
    const QString perso = maison.filePath("donnees");
    choisirDossierDepart(courant, perso, {installe});
    for (auto _ : state) {
        const ChoixDossierDepart c = choisirDossierDepart(courant, perso, {installe});
        if (!c.copies.isEmpty())
            state.SkipWithError("un démarrage suivant ne devrait rien copier");
        benchmark::DoNotOptimize(c.dossier);
    }
}
BENCHMARK(BM_DemarrageSuivant)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
