// Pointer-move handling of the map's mouse tools on the 7200 x 3600 map with
// 17,000 stations and 1,300 volcanoes loaded (readout, nearest station and
// volcano, rubber band), and the redraw of a full traces layer.
#include "data/records.h"
#include "map/etatcarte.h"
#include "map/grille.h"
#include "data/stores.h"
#include "map/modes.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <random>

using namespace carte;

namespace {

constexpr int W = 7200;
constexpr int H = 3600;

struct Monde {
    EtatCarte etat;
    TGrilleAltitude grille;
    TBitmap32 bande{W, H};
    TBitmap32 traces;
    TDonnees donnees;
    std::vector<TStationGPS>& TabStations = donnees.TabStations;
    std::vector<TVolcan>& TabVolcans = donnees.TabVolcans;
    TInteraction m;

    Monde()
    {
        etat.W = W;
        etat.H = H;
        etat.EchelleMin = 0.25;
        etat.EchelleMax = 2;
        std::mt19937 rng(7);
        // Stations cluster in a few regions as real networks do.
        std::uniform_real_distribution<double> u(-1, 1);
        TabStations.clear();
        TabStations.reserve(17000);
        for (int i = 0; i < 17000; ++i) {
            TStationGPS s;
            const bool amerique = i % 3 != 0;
            s.Latitude = amerique ? 38 + 10 * u(rng) : 60 * u(rng);
            s.Longitude = amerique ? -118 + 12 * u(rng) : 180 * u(rng);
            s.VitLat = 20 * u(rng);
            s.VitLong = 20 * u(rng);
            assignShort(s.Nom, "ABCD");
            TabStations.push_back(s);
        }
        TabVolcans.clear();
        for (int i = 0; i < 1300; ++i) {
            TVolcan v;
            v.Latitude = static_cast<float>(70 * u(rng));
            v.Longitude = static_cast<float>(180 * u(rng));
            v.Altitude = 1500;
            v.TypeVolcan = 20;
            assignShort(v.Nom, "Volcan");
            TabVolcans.push_back(v);
        }
        m.attacherCalques(&bande, &traces);
        m.contexte().etat = &etat;
        m.contexte().donnees = &donnees;
        m.contexte().grille = &grille;
        m.contexte().gpsCoche = true;
        m.contexte().volcansCoche = true;
    }
};

Monde& monde()
{
    static std::unique_ptr<Monde> w;
    if (!w)
        w = std::make_unique<Monde>();
    return *w;
}

// Pointer positions over California, where the stations are densest.
QPoint position(int i)
{
    return {W / 2 + (-118 + (i % 40) * 0.1) * W / 360, H / 2 - (36 + (i % 23) * 0.1) * H / 180};
}

void BM_DeplacementConsultation(benchmark::State& st)
{
    Monde& w = monde();
    w.m.ChoisirMode(2);
    int i = 0;
    for (auto _ : st) {
        const QPoint p = position(i++);
        benchmark::DoNotOptimize(w.m.deplacement(p.x(), p.y(), false));
    }
}
BENCHMARK(BM_DeplacementConsultation)->Unit(benchmark::kMicrosecond);

// Zone frame of about 60° x 30°, dragged.
void BM_DeplacementZone(benchmark::State& st)
{
    Monde& w = monde();
    w.m.ChoisirMode(0);
    w.m.appui(1000, 800, BoutonSouris::Gauche);
    int i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(w.m.deplacement(2200 + (i % 50), 1400 + (i % 31), true));
        ++i;
    }
    w.m.relachement(2200, 1400, BoutonSouris::Gauche);
}
BENCHMARK(BM_DeplacementZone)->Unit(benchmark::kMicrosecond);

// A great-circle rubber band across a third of the map.
void BM_DeplacementGrandCercle(benchmark::State& st)
{
    Monde& w = monde();
    w.m.ChoisirMode(3);
    w.m.appui(1000, 900, BoutonSouris::Gauche);
    int i = 0;
    for (auto _ : st) {
        const QPoint p = position(i++);
        benchmark::DoNotOptimize(w.m.deplacement(p.x() + 2400, p.y(), true));
    }
    w.m.relachement(3400, 900, BoutonSouris::Gauche);
}
BENCHMARK(BM_DeplacementGrandCercle)->Unit(benchmark::kMicrosecond);

// Path in progress: the arc from the last vertex follows the pointer.
void BM_DeplacementTrajet(benchmark::State& st)
{
    Monde& w = monde();
    w.m.ChoisirMode(4);
    w.m.appui(600, 700, BoutonSouris::Gauche);
    w.m.relachement(600, 700, BoutonSouris::Gauche);
    int i = 0;
    for (auto _ : st) {
        const QPoint p = position(i++);
        benchmark::DoNotOptimize(w.m.deplacement(p.x() + 3000, p.y() + 400, false));
    }
    w.m.appui(600, 700, BoutonSouris::Droit);
    w.m.relachement(600, 700, BoutonSouris::Droit);
}
BENCHMARK(BM_DeplacementTrajet)->Unit(benchmark::kMicrosecond);

// 20 kept arcs across the world, 5 landmark groups of 50 named points each
// spread over a region of 40° (towns, stations of a class exercise), joined in
// turn straight or by great circles, and a path of 200 vertices round the world.
void BM_RedessinerTraces(benchmark::State& st)
{
    Monde& w = monde();
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-1, 1);
    w.m.arcs.clear();
    w.m.groupes.clear();
    for (int i = 0; i < 20; ++i)
        w.m.arcs.push_back({60 * u(rng), 170 * u(rng), 60 * u(rng), 170 * u(rng)});
    for (int g = 0; g < 5; ++g) {
        GroupeReperes gr;
        gr.relier = true;
        gr.grandsCercles = g % 2 == 0;
        for (int i = 0; i < 50; ++i) {
            TRepere r;
            r.Nom = QStringLiteral("Repère %1").arg(i);
            r.Latitude = -50 + 25 * g + 20 * u(rng);
            r.Longitude = -140 + 60 * g + 20 * u(rng);
            r.Disposition = QString("NSEOP"[i % 5]);
            gr.reperes.push_back(r);
        }
        w.m.groupes.push_back(gr);
    }
    GroupeReperes trajet;
    trajet.relier = true;
    trajet.grandsCercles = true;
    for (int i = 0; i < 200; ++i) {
        TRepere r;
        r.Latitude = 40 * std::sin(i * 0.1);
        r.Longitude = -170 + i * 1.7;
        trajet.reperes.push_back(r);
    }
    w.m.groupes.push_back(trajet);
    if (w.traces.isEmpty())
        w.traces.setSize(W, H);
    for (auto _ : st)
        benchmark::DoNotOptimize(w.m.RedessinerTraces());
}
BENCHMARK(BM_RedessinerTraces)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // text drawing needs the font system
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
