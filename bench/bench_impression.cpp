// Printing into a PDF file: a 1188 x 840 map picture in a 3 x 3 grid on A4
// landscape, in colour and in grey levels, one page and ten; the file size is
// reported with each figure (the picture is embedded once for all the cells).
#include "print/impression.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Smooth colour fields with a little noise, like a shaded relief map.
TBitmap32 carteSynthetique(int w, int h)
{
    TBitmap32 bmp(w, h);
    std::uint32_t etat = 12345;
    for (int y = 0; y < h; ++y) {
        TColor32* ligne = bmp.scanLine(y);
        const double fy = double(y) / h;
        for (int x = 0; x < w; ++x) {
            etat = etat * 1664525u + 1013904223u;
            const int bruit = static_cast<int>((etat >> 24) & 15) - 8;
            const double fx = double(x) / w;
            const double s = std::sin(fx * 31.0 + std::cos(fy * 17.0) * 3.0);
            auto c = [&](double v) { return static_cast<std::uint32_t>(std::clamp(int(v) + bruit, 0, 255)); };
            ligne[x] = color32(c(90 + 80 * s * fy), c(120 + 60 * std::cos(fy * 23.0 + s)), c(140 + 100 * fx - 60 * s));
        }
    }
    return bmp;
}

void imprimer(benchmark::State& state, bool gris)
{
    const TBitmap32 image = carteSynthetique(1188, 840);
    TMiseEnPage mp;
    mp.definirRapport(image.width(), image.height());
    mp.changerOrientation(OrientationPage::Paysage);
    mp.changerLignesColonnes(3, 3);
    const int copies = static_cast<int>(state.range(0));
    const QString chemin = QDir(QDir::tempPath()).filePath(QStringLiteral("orbiplate_bench_impression.pdf"));
    for (auto _ : state) {
        const TResultatImpression r = imprimerPDF(chemin, image, gris, mp, copies);
        if (!r.ok)
            state.SkipWithError(qPrintable(r.message));
    }
    state.counters["Mo"] = QFileInfo(chemin).size() / (1024.0 * 1024.0);
    QFile::remove(chemin);
}

void BM_PDF3x3A4PaysageCouleur(benchmark::State& state) { imprimer(state, false); }
void BM_PDF3x3A4PaysageGris(benchmark::State& state) { imprimer(state, true); }

} // namespace

BENCHMARK(BM_PDF3x3A4PaysageCouleur)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PDF3x3A4PaysageGris)->Arg(1)->Unit(benchmark::kMillisecond);

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
