// Exercise figures: the positioning exercise's world picture made from a base
// picture of the map's two sizes (each time the exercise starts), reading an
// examples file, and drawing a relative-motion question from many examples.
#include "exercises/exemples.h"
#include "exercises/positionnement.h"
#include "exercises/tirage.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

TBitmap32 fondSynthetique(int w)
{
    TBitmap32 b(w, w / 2);
    std::mt19937 g(7);
    for (int y = 0; y < b.height(); ++y) {
        TColor32* l = b.scanLine(y);
        for (int x = 0; x < b.width(); ++x)
            l[x] = 0xFF000000u | (g() & 0xFFFFFFu);
    }
    return b;
}

QByteArray fichierExemples(int lignes)
{
    QByteArray t;
    for (int i = 0; i < lignes; ++i)
        t += QByteArray::number(1000 + i % 9000) + "\t " + QByteArray::number(-80 + i % 160) + ".1234\t"
             + QByteArray::number(-170 + i % 340) + ".5678\t120.5\t" + QByteArray::number(i % 50 - 25) + ".37\t"
             + QByteArray::number(i % 70 - 35) + ".81\n";
    return t;
}

void BM_PlanisphereExercice(benchmark::State& state)
{
    const TBitmap32 fond = fondSynthetique(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TBitmap32 p = planisphereExercice(fond, 37);
        benchmark::DoNotOptimize(p.bits());
    }
}
BENCHMARK(BM_PlanisphereExercice)->Arg(3600)->Arg(7200)->Unit(benchmark::kMillisecond);

void BM_LectureExemples(benchmark::State& state)
{
    const QByteArray texte = fichierExemples(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<TStationGPS> ex;
        benchmark::DoNotOptimize(lireExemples(texte, ex).lus);
    }
}
BENCHMARK(BM_LectureExemples)->Arg(45)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_TirageRelatif(benchmark::State& state)
{
    std::vector<TStationGPS> ex;
    lireExemples(fichierExemples(static_cast<int>(state.range(0))), ex);
    TTirage t(GenreExercice::Relatif, [](int n) { return n / 2; });
    for (auto _ : state)
        benchmark::DoNotOptimize(t.tirer(ex).reference);
}
BENCHMARK(BM_TirageRelatif)->Arg(45)->Arg(2000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
