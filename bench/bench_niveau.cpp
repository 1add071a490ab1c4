// Sea-level, population and ocean-floor age figures on the real data folder
// (ORBIPLATE_DONNEES, or ./donnees, ../donnees): the level/volume table, the
// flooding connected to the ocean, the sea-level, population and age layers on
// the 3600- and 7200-pixel maps, the threatened population.
#include "map/agefonds.h"
#include "map/config.h"
#include "map/grille.h"
#include "map/niveaumarin.h"
#include "map/population.h"

#include <QDir>
#include <QFileInfo>

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

// The grid and the population of the data folder, read once.
struct Donnees {
    TConfiguration config;
    TGrilleAltitude grille;
    TGrillePopulation population;
    bool ok = false;
};

const Donnees& donnees()
{
    static const Donnees d = [] {
        Donnees r;
        const QString dossier = dossierDonnees();
        if (dossier.isEmpty())
            return r;
        r.config = lireConfiguration(dossier);
        r.ok = r.grille.charger(cheminGrille(r.config)) && lirePopulation(r.config.FichierPopulation, r.population);
        return r;
    }();
    return d;
}

bool present(benchmark::State& state)
{
    if (!donnees().ok) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return false;
    }
    return true;
}

void BM_TableSurfVol(benchmark::State& state)
{
    if (!present(state))
        return;
    const VueAltitudes v = VueAltitudes::de(donnees().grille);
    for (auto _ : state) {
        TTableSurfVol t = calculerTableSurfVol(v);
        benchmark::DoNotOptimize(t.V.data());
    }
}
BENCHMARK(BM_TableSurfVol)->Unit(benchmark::kMillisecond);

// For comparison: every level by its own pass over the grid.
void BM_TableSurfVol451Passes(benchmark::State& state)
{
    if (!present(state))
        return;
    const VueAltitudes v = VueAltitudes::de(donnees().grille);
    for (auto _ : state) {
        TTableSurfVol t;
        for (int L = TTableSurfVol::NiveauMin; L <= TTableSurfVol::NiveauMax; ++L) {
            double s = 0, vol = 0;
            for (int r = 0; r < v.lignes; ++r) {
                const double a = v.aires[static_cast<std::size_t>(r)];
                const std::int16_t* z = v.z + static_cast<std::size_t>(r) * v.colonnes;
                for (int c = 0; c < v.colonnes; ++c) {
                    const int e = z[c];
                    if (L >= 1 && e >= 1 && e <= L) {
                        s += a;
                        vol += (L - e) * a / 1000;
                    } else if (L >= 1 && e <= 0) {
                        vol += L * a / 1000;
                    } else if (L < 0 && e >= L && e < 0) {
                        s -= a;
                        vol += e * a / 1000;
                    } else if (L < 0 && e < L) {
                        vol += L * a / 1000;
                    }
                }
            }
            t.S[static_cast<std::size_t>(L + 200)] = s;
            t.V[static_cast<std::size_t>(L + 200)] = vol;
        }
        benchmark::DoNotOptimize(t.V.data());
    }
}
BENCHMARK(BM_TableSurfVol451Passes)->Unit(benchmark::kMillisecond)->Iterations(1);

// The connected flooding of one level from scratch: the ocean's reach, then the
// cells it floods at +10 m.
void BM_InondationRelieeUnNiveau(benchmark::State& state)
{
    if (!present(state))
        return;
    const VueAltitudes v = VueAltitudes::de(donnees().grille);
    for (auto _ : state) {
        const TAtteinteOcean a = calculerAtteinteOcean(v);
        std::size_t n = 0;
        for (std::int16_t s : a.niveau)
            n += s < 10;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_InondationRelieeUnNiveau)->Unit(benchmark::kMillisecond);

// The connected twin of the table, from scratch.
void BM_TableSurfVolReliee(benchmark::State& state)
{
    if (!present(state))
        return;
    const VueAltitudes v = VueAltitudes::de(donnees().grille);
    for (auto _ : state) {
        const TAtteinteOcean a = calculerAtteinteOcean(v);
        TTableSurfVol t = calculerTableSurfVolReliee(v, a);
        benchmark::DoNotOptimize(t.V.data());
    }
}
BENCHMARK(BM_TableSurfVolReliee)->Unit(benchmark::kMillisecond);

// The sea-level layer at +10 m; argument: map width; second: connected flooding.
void BM_CalqueNiveauMarin(benchmark::State& state)
{
    if (!present(state))
        return;
    const int W = static_cast<int>(state.range(0));
    const bool reliee = state.range(1) != 0;
    const TAtteinteOcean a = reliee ? calculerAtteinteOcean(VueAltitudes::de(donnees().grille)) : TAtteinteOcean{};
    TBitmap32 calque(W, W / 2);
    for (auto _ : state) {
        dessinerNiveauMarin(calque, donnees().grille, W, W / 2, 30, 10, reliee ? &a : nullptr);
        benchmark::DoNotOptimize(calque.bits());
    }
}
BENCHMARK(BM_CalqueNiveauMarin)->Args({3600, 0})->Args({7200, 0})->Args({7200, 1})->Unit(benchmark::kMillisecond);

void BM_CalquePopulation(benchmark::State& state)
{
    if (!present(state))
        return;
    const int W = static_cast<int>(state.range(0));
    TBitmap32 calque(W, W / 2);
    for (auto _ : state) {
        const double total = dessinerPopulation(calque, donnees().population, W, W / 2, 30, 0xFFFF0000, 1, 100);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_CalquePopulation)->Arg(3600)->Arg(7200)->Unit(benchmark::kMillisecond);

void BM_PopulationMenacee(benchmark::State& state)
{
    if (!present(state))
        return;
    for (auto _ : state) {
        const double n = populationMenacee(donnees().population, donnees().grille, 10);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PopulationMenacee)->Unit(benchmark::kMillisecond);

// Filling the age layer of the 7200-pixel map: the picture read, then laid over.
void BM_RemplirCalqueAge(benchmark::State& state)
{
    if (!present(state))
        return;
    TBitmap32 calque;
    for (auto _ : state) {
        TBitmap32 image;
        if (!chargerImageAge(donnees().config.FichierAge, image)) {
            state.SkipWithError("image de l'âge illisible");
            return;
        }
        remplirCalqueAge(calque, image, 7200, 3600, 30);
        benchmark::DoNotOptimize(calque.bits());
    }
}
BENCHMARK(BM_RemplirCalqueAge)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
