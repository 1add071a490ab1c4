// Loading speed of the data files: a 1,000,000-record earthquake file and a GPS
// velocity table of 17,000 stations.
#include "data/catalogues.h"
#include "data/decimal.h"
#include "data/loaders.h"
#include "data/textimport.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QTemporaryDir& dossier()
{
    static QTemporaryDir d;
    return d;
}

QString fichierSeismes(int n)
{
    const QString chemin = dossier().filePath(QStringLiteral("bench_%1.fse").arg(n));
    if (!QFile::exists(chemin)) {
        std::vector<TSeisme> v(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            v[i].DateHeure = 30000 + i * 0.01;
            v[i].Latitude = static_cast<float>(i % 180 - 90);
            v[i].Longitude = static_cast<float>(i % 360 - 180);
            v[i].Profondeur = static_cast<float>(i % 700);
            v[i].Magnitude = 4.0f + static_cast<float>(i % 50) / 10.0f;
        }
        ecrireSeismes(chemin, v);
    }
    return chemin;
}

QByteArray tableGPS(int n)
{
    QByteArray t = "Table of station velocities\nSITE    LAT      LONG    ...\n";
    char ligne[200];
    for (int i = 0; i < n; ++i) {
        const char nom[5] = {char('A' + i % 26), char('A' + i / 26 % 26), char('A' + i / 676 % 26), char('0' + i % 10), 0};
        std::snprintf(ligne, sizeof ligne, "%s  POS   %.6f %.6f %.3f 1.2 1.4 3.1\n", nom, (i % 170) - 85.123456,
                      (i % 359) - 179.654321, 123.456 + i);
        t += ligne;
        std::snprintf(ligne, sizeof ligne, "%s  VEL   %.2f %.2f %.2f 0.12 0.15 0.41\n", nom, 12.34 + i % 7,
                      -5.67 - i % 5, 0.89);
        t += ligne;
    }
    return t;
}

void BM_ChargerFse1M(benchmark::State& state)
{
    const QString chemin = fichierSeismes(1000000);
    for (auto _ : state) {
        std::vector<TSeisme> v;
        const ResultatChargement r = lireSeismes(chemin, v);
        if (r.lus != 1000000)
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_ChargerFse1M)->Unit(benchmark::kMillisecond);

void BM_EcrireFse1M(benchmark::State& state)
{
    std::vector<TSeisme> v(1000000);
    const QString chemin = dossier().filePath(QStringLiteral("ecrit.fse"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ecrireSeismes(chemin, v).ok);
}
BENCHMARK(BM_EcrireFse1M)->Unit(benchmark::kMillisecond);

void BM_ImportGPSTexte17000(benchmark::State& state)
{
    definirSeparateurDecimal('.');
    const QByteArray t = tableGPS(17000);
    for (auto _ : state) {
        std::vector<TStationGPS> v;
        if (!importerGPSTexte(t, v) || v.size() != 17000)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(v.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * t.size());
}
BENCHMARK(BM_ImportGPSTexte17000)->Unit(benchmark::kMillisecond);

// An agency CSV of 40,000 earthquakes, with or without one unmatched quote in its
// second line (the rest of the file must still be read, in one pass).
QByteArray catalogueCSV(int n, bool guillemetPerdu)
{
    QByteArray t = "time,latitude,longitude,depth,mag,place,type\n";
    t += guillemetPerdu ? "2011-03-11T05:46:24Z,38.3,142.4,29,9.1,\"Tohoku, Japan,earthquake\n"
                        : "2011-03-11T05:46:24Z,38.3,142.4,29,9.1,\"Tohoku, Japan\",earthquake\n";
    char ligne[160];
    for (int i = 0; i < n; ++i) {
        std::snprintf(ligne, sizeof ligne, "2011-03-%02dT05:46:24Z,%.3f,%.3f,%d,%.1f,\"Place %d, Region\",earthquake\n",
                      1 + i % 28, (i % 170) - 85.0 + 0.123, (i % 359) - 179.0 + 0.456, i % 600, 5.0 + i % 40 / 10.0, i);
        t += ligne;
    }
    return t;
}

void BM_CatalogueCSV40000(benchmark::State& state)
{
    const QByteArray t = catalogueCSV(40000, state.range(0) != 0);
    for (auto _ : state) {
        std::vector<TSeisme> v;
        lireSeismesDepuis(t, QStringLiteral("c.csv"), v);
        benchmark::DoNotOptimize(v.data());
    }
    state.SetLabel(state.range(0) ? "guillemet non fermé à la ligne 2" : "fichier correct");
}
BENCHMARK(BM_CatalogueCSV40000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
