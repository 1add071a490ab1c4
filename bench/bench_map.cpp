// Map window figures on the real data folder (ORBIPLATE_DONNEES, or ./donnees,
// ../donnees): start-up to the first painted map, drawing of the data layers,
// repaint of a full-HD view, and a shift of the 7200-pixel map.
#include "data/loaders.h"
#include "data/records.h"
#include "data/stores.h"
#include "map/rendu.h"
#include "map/windows/delimCarte.h"
#include "map/windows/commandesvecteurs.h"
#include "map/windows/commandesfichiers.h"
#include "map/windows/commandesreperes.h"
#include "ui/windows/imageview.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/raster_compose.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <random>

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

bool donneesPresentes(benchmark::State& state)
{
    if (dossierDonnees().isEmpty()) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return false;
    }
    return true;
}

EtatCarte etat(int W)
{
    EtatCarte e;
    e.W = W;
    e.H = W / 2;
    return e;
}

void BM_DemarrageJusquALaCartePeinte(benchmark::State& state)
{
    if (!donneesPresentes(state))
        return;
    for (auto _ : state) {
        TDonnees donnees;
        TCarte carte(dossierDonnees(), donnees);
        if (!carte.demarrer()) {
            state.SkipWithError("démarrage impossible");
            return;
        }
        carte.show();
        // One full paint of the view.
        QImage img = carte.vue()->viewport()->grab().toImage();
        benchmark::DoNotOptimize(img.bits());
    }
}
BENCHMARK(BM_DemarrageJusquALaCartePeinte)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CalqueSeismesReels(benchmark::State& state)
{
    if (!donneesPresentes(state))
        return;
    std::vector<TSeisme> s;
    lireSeismes(dossierDonnees() + QStringLiteral("/seismes_isc-gem_1904-2016.fse"), s);
    ReglagesAffichage r;
    r.MagnitudeMini = 1;
    const EtatCarte e = etat(static_cast<int>(state.range(0)));
    TBitmap32 calque(e.W, e.H);
    for (auto _ : state)
        dessinerSeismes(calque, s, r, e);
    state.counters["seismes"] = static_cast<double>(s.size());
}
BENCHMARK(BM_CalqueSeismesReels)->Arg(3600)->Arg(7200)->Unit(benchmark::kMillisecond);

void BM_CalqueSeismesSynthetiques(benchmark::State& state)
{
    std::mt19937 g(7);
    std::uniform_real_distribution<float> lon(-180, 180), lat(-90, 90), prof(0, 700), mag(2, 9);
    std::vector<TSeisme> s(static_cast<std::size_t>(state.range(1)));
    for (TSeisme& x : s) {
        x.Longitude = lon(g);
        x.Latitude = lat(g);
        x.Profondeur = prof(g);
        x.Magnitude = mag(g);
    }
    ReglagesAffichage r;
    r.MagnitudeMini = 1;
    const EtatCarte e = etat(static_cast<int>(state.range(0)));
    TBitmap32 calque(e.W, e.H);
    for (auto _ : state)
        dessinerSeismes(calque, s, r, e);
}
BENCHMARK(BM_CalqueSeismesSynthetiques)->Args({3600, 1000000})->Args({7200, 1000000})->Unit(benchmark::kMillisecond);

void BM_CalqueGPS(benchmark::State& state)
{
    if (!donneesPresentes(state))
        return;
    std::vector<TStationGPS> s;
    lireStations(dossierDonnees() + QStringLiteral("/gps_midas_complet.gps"), s);
    for (TStationGPS& x : s)
        x.Affiche = 1;
    ReglagesAffichage r;
    r.Attenuation = attenuationDepuisPourcentage(30);
    r.PointsEpais = state.range(1) != 0; // vectors of thickness 1, or hairlines
    EtatCarte e = etat(static_cast<int>(state.range(0)));
    if (!s.empty())
        e.choisirStationRef(s, 0);
    TBitmap32 calque(e.W, e.H);
    for (auto _ : state)
        dessinerGPS(calque, s, r, e, true, nullptr);
    state.counters["stations"] = static_cast<double>(s.size());
}
BENCHMARK(BM_CalqueGPS)->ArgsProduct({{3600, 7200}, {0, 1}})->Unit(benchmark::kMillisecond);
// The same, with the processor time of all the threads that draw the vectors.
BENCHMARK(BM_CalqueGPS)
    ->Name("BM_CalqueGPS_TousFils")
    ->ArgsProduct({{3600, 7200}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// Composition of a 1920 × 1080 view of the 3600 map at the fitted zoom (0.52), 1, 2
// and the maximum (4), with the nine layers of the stack visible and full of pixels,
// or with the four a teacher usually has (GPS, earthquakes, volcanoes, interaction).
void BM_RepeintVueHD(benchmark::State& state)
{
    TLayerStack pile;
    pile.base = TBitmap32(3600, 1800, 0xFF3060A0);
    for (int i = 0; i < state.range(1); ++i) {
        TBitmapLayer* l = pile.addLayer();
        l->setSizeAndPlace(3600, 1800);
        l->bitmap.clear(i == 3 ? 0x40FFFFFF : clTransparentWhite32);
        for (int k = 0; k < 20000; ++k)
            l->bitmap.setPixel((k * 7919 + i * 31) % 3600, (k * 104729 + i) % 1800, 0xFFFF00FF);
    }
    const double zoom = state.range(0) / 100.0;
    TViewPlacement p{zoom, QPointF(-200 * zoom, -100 * zoom)};
    if (zoom < 0.6)
        p.offset = QPointF(0, 0);
    TBitmap32 vue(1920, 1080);
    for (auto _ : state)
        composeView(pile, p, QRect(0, 0, 1920, 1080), vue);
}
BENCHMARK(BM_RepeintVueHD)
    ->ArgsProduct({{52, 100, 200, 400}, {9, 4}})
    ->Unit(benchmark::kMillisecond);

// A step of the shift scroll bar on the 7200-pixel map with earthquakes, volcanoes
// and GPS layers shown.
void BM_Decalage7200(benchmark::State& state)
{
    if (!donneesPresentes(state))
        return;
    ScriptedDialogs muet;
    DialogServiceGuard garde(&muet);
    TDonnees donnees;
    TCarte carte(dossierDonnees(), donnees);
    if (!carte.demarrer()) {
        state.SkipWithError("démarrage impossible");
        return;
    }
    carte.changerFond(false, true);
    carte.commande("Seismes1")->trigger();
    carte.commande("Volcans1")->trigger();
    carte.commande("PointsGPS1")->trigger();
    int v = 0;
    for (auto _ : state) {
        v = v == 0 ? 5 : 0;
        carte.findChild<QScrollBar*>(QStringLiteral("decalage"))->setValue(v);
    }
    state.counters["W"] = carte.Etat.W;
}
BENCHMARK(BM_Decalage7200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
