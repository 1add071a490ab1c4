// The polar view and its unrolled view: the build of the polar picture from the
// 3600- and 7200-pixel base maps (all the processors, then one), the three
// overlays with the real catalogues on the 7200 build (ISC-GEM earthquakes,
// MIDAS stations with their vectors, volcanoes), the reference circle, the circles
// about the pole, and the oblique Mercator picture. The catalogues are read from
// the data folder (ORBIPLATE_DONNEES, or ./donnees, ../donnees); the base maps are
// synthetic (their content does not change the cost).
#include "data/loaders.h"
#include "projections/mercator.h"
#include "projections/polaire.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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

const TBitmap32& fond(int W)
{
    static TBitmap32 f3600, f7200;
    TBitmap32& f = W == 7200 ? f7200 : f3600;
    if (f.isEmpty()) {
        f.setSize(W, W / 2);
        for (int y = 0; y < W / 2; ++y) {
            TColor32* l = f.scanLine(y);
            for (int x = 0; x < W; ++x)
                l[x] = color32(static_cast<std::uint32_t>(x * 7), static_cast<std::uint32_t>(y * 3),
                               static_cast<std::uint32_t>((x ^ y) & 0xFF));
        }
    }
    return f;
}

// Pole near the Pacific – North America pole of rotation.
const polaire::TProjectionPolaire& projection(int W)
{
    static const polaire::TProjectionPolaire p3600(1800, 50, -75), p7200(3600, 50, -75);
    return W == 7200 ? p7200 : p3600;
}

const TBitmap32& imagePolaire7200()
{
    static TBitmap32 image;
    if (image.isEmpty())
        polaire::construireImagePolaire(fond(7200), 0, projection(7200), image);
    return image;
}

void BM_ImagePolaire(benchmark::State& state)
{
    const int W = static_cast<int>(state.range(0));
    const int fils = static_cast<int>(state.range(1));
    const TBitmap32& f = fond(W);
    TBitmap32 image;
    for (auto _ : state) {
        polaire::construireImagePolaire(f, 10, projection(W), image, fils);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["pixels"] = static_cast<double>(image.width()) * image.height();
}
BENCHMARK(BM_ImagePolaire)->ArgsProduct({{3600, 7200}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeismesPolaires7200(benchmark::State& state)
{
    std::vector<TSeisme> s;
    lireSeismes(dossierDonnees() + QStringLiteral("/seismes_isc-gem_1904-2016.fse"), s);
    if (s.empty()) {
        state.SkipWithError("seismes_isc-gem_1904-2016.fse introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    ReglagesAffichage r;
    r.MagnitudeMini = 1;
    TBitmap32 calque;
    for (auto _ : state)
        polaire::dessinerSeismesPolaires(calque, s, r, projection(7200));
    state.counters["seismes"] = static_cast<double>(s.size());
}
BENCHMARK(BM_SeismesPolaires7200)->Unit(benchmark::kMillisecond);

void BM_GPSPolaires7200(benchmark::State& state)
{
    std::vector<TStationGPS> s;
    lireStations(dossierDonnees() + QStringLiteral("/gps_midas_complet.gps"), s);
    if (s.empty()) {
        state.SkipWithError("gps_midas_complet.gps introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    for (TStationGPS& x : s)
        x.Affiche = 1;
    // Vectors relative to the first station, as when one is taken as fixed.
    ReferenceVecteurs ref;
    if (state.range(0) != 0)
        ref = {0, s[0].VitLat, s[0].VitLong};
    ReglagesAffichage r;
    TBitmap32 calque;
    for (auto _ : state)
        polaire::dessinerGPSPolaires(calque, s, r, ref, polaire::vecteursPolaires(7200), projection(7200));
    state.counters["stations"] = static_cast<double>(s.size());
}
BENCHMARK(BM_GPSPolaires7200)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_VolcansPolaires7200(benchmark::State& state)
{
    std::vector<TVolcan> v;
    lireVolcans(dossierDonnees() + QStringLiteral("/volcans.fvo"), v);
    if (v.empty()) {
        state.SkipWithError("volcans.fvo introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    ReglagesAffichage r;
    TBitmap32 calque;
    for (auto _ : state)
        polaire::dessinerVolcansPolaires(calque, v, r, projection(7200));
    state.counters["volcans"] = static_cast<double>(v.size());
}
BENCHMARK(BM_VolcansPolaires7200)->Unit(benchmark::kMillisecond);

// The circle and the circles about the pole at the scale of a full-HD screen.
void BM_CercleRepere7200(benchmark::State& state)
{
    TBitmap32 calque;
    for (auto _ : state)
        polaire::dessinerCercleRepere(calque, 3600, 2500, 1900.0 / 7200);
}
BENCHMARK(BM_CercleRepere7200)->Unit(benchmark::kMillisecond);

void BM_CerclesPole7200(benchmark::State& state)
{
    TBitmap32 calque;
    for (auto _ : state)
        polaire::dessinerCerclesPole(calque, 3600, 1900.0 / 7200);
}
BENCHMARK(BM_CerclesPole7200)->Unit(benchmark::kMillisecond);

void BM_MercatorOblique7200(benchmark::State& state)
{
    const TBitmap32& p = imagePolaire7200();
    TBitmap32 image;
    for (auto _ : state) {
        polaire::construireMercatorOblique(p, image, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_MercatorOblique7200)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // text of the circles about the pole
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
