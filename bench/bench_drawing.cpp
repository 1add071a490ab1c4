// Drawing primitives: flood fills of a whole screen, and a page of 1,000 mixed
// annotations rendered the way a sheet document redraws.
#include "drawing/bitmapsig.h"
#include "drawing/dessins.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <random>

namespace {

void BM_RemplirZonePleinEcran(benchmark::State& state)
{
    const int code = static_cast<int>(state.range(0));
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        state.PauseTiming();
        b.clear(clTransparentWhite32);
        state.ResumeTiming();
        RemplirZone(960, 540, 0xFF0000FF, b, code);
        benchmark::DoNotOptimize(b.bits());
    }
    state.SetItemsProcessed(state.iterations() * 1920LL * 1080LL);
}
BENCHMARK(BM_RemplirZonePleinEcran)->Arg(rmPlein)->Arg(rmQuadrillageOblique)->Unit(benchmark::kMillisecond);

void BM_RemplirFormePleinEcran(benchmark::State& state)
{
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        state.PauseTiming();
        b.clear(clTransparentWhite32);
        state.ResumeTiming();
        RemplirForme(0, 0, 0xFF808000, b, rmObliques1);
        benchmark::DoNotOptimize(b.bits());
    }
    state.SetItemsProcessed(state.iterations() * 1920LL * 1080LL);
}
BENCHMARK(BM_RemplirFormePleinEcran)->Unit(benchmark::kMillisecond);

// A reproducible mix of every kind, style, thickness and fill, sized like the
// annotations a pupil adds to an A4 page.
TBitmapSIG* PageDeDessins()
{
    static std::unique_ptr<TBitmapSIG> page;
    if (page)
        return page.get();
    page = std::make_unique<TBitmapSIG>();
    page->Nature = nbLegende;
    page->echelle = 1.0;
    page->marge_gauche = 0;
    page->ligne_zero_profondeur = 0;
    std::mt19937 gen(12345);
    std::uniform_real_distribution<float> px(0, 1188), py(0, 840), taille(5, 60);
    std::uniform_int_distribution<int> ep(0, 4), rem(0, 7), st(0, 1), fl(0, 2), coul(0, 0xFFFFFF);
    for (int i = 0; i < 1000; ++i) {
        auto d = std::make_unique<TDessin>();
        const int kinds[] = {ndLibre, ndLigne, ndRectangle, ndCercle, ndTexte};
        d->Nature = static_cast<std::uint8_t>(kinds[i % 5]);
        d->Couleur = 0xFF000000u | static_cast<TColor32>(coul(gen));
        d->Epaisseur = static_cast<std::uint8_t>(ep(gen));
        d->StyleTrait = static_cast<std::uint8_t>(st(gen));
        d->X1 = px(gen);
        d->Y1 = py(gen);
        d->X2 = d->X1 + taille(gen) * 2 - 60;
        d->Y2 = d->Y1 + taille(gen) * 2 - 60;
        d->XC = d->X1;
        d->YC = d->Y1;
        d->Rayon = taille(gen) / 2;
        switch (d->Nature) {
        case ndLibre:
            for (int k = 0; k < 12; ++k)
                d->Trace.Add(d->X1 + k * 4, d->Y1 + (k % 3) * 5);
            d->X2 = d->X1 + 44;
            d->Y2 = d->Y1 + 10;
            break;
        case ndLigne:
            d->Fleche = static_cast<std::uint8_t>(fl(gen));
            break;
        case ndRectangle:
        case ndCercle:
            d->Remplissage = static_cast<std::uint8_t>(rem(gen));
            break;
        case ndTexte:
            d->Lignes << QStringLiteral("Fosse <b>océanique</b>") << QStringLiteral("km<sup>2</sup> H<sub>2</sub>O");
            d->Alignement = static_cast<std::uint8_t>(i % 3);
            break;
        default:
            break;
        }
        page->AjouterDessin(std::move(d), NomDessin(static_cast<std::uint8_t>(kinds[i % 5]), i + 1));
    }
    return page.get();
}

void BM_Page1000Dessins(benchmark::State& state)
{
    TBitmapSIG* page = PageDeDessins();
    TBitmap32 cible(1188, 840);
    for (auto _ : state) {
        DessinerDocument(*page, cible);
        benchmark::DoNotOptimize(cible.bits());
    }
}
BENCHMARK(BM_Page1000Dessins)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
