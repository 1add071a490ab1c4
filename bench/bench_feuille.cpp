// The drawing sheet and the map's exports: a full redraw of a busy page, one step
// of a document drag and of a resize, and a capture of the 7200-pixel map over its
// black-and-white base.
#include "data/stores.h"
#include "drawing/feuille.h"
#include "map/windows/delimCarte.h"
#include "print/windows/commandesexport.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

QString dossierDonnees()
{
    const QByteArray env = qgetenv("ORBIPLATE_DONNEES");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    for (const char* c : {"donnees", "../donnees", "../../donnees"})
        if (QFileInfo::exists(QString::fromLatin1(c) + QStringLiteral("/config.obc")))
            return QDir(QString::fromLatin1(c)).absolutePath();
    return QString();
}

// Six documents (one a 7200 x 3600 map capture, shown at half size) and 500 mixed
// annotations.
struct PageChargee {
    TFeuille f;
    PageChargee()
    {
        TBitmap32 grande(7200, 3600);
        for (int y = 0; y < 3600; y += 4)
            grande.fillRect(QRect(0, y, 7200, 2), 0xFF000000u | static_cast<TColor32>(y * 2654435761u >> 8));
        f.ajouterImage(grande);
        for (int i = 0; i < 5; ++i) {
            TBitmap32 petite(600, 400, 0xFF204080 + i * 0x101010);
            const int k = f.ajouterImage(petite);
            f.placerCadre(k, QRect(100 + i * 150, 80 + i * 120, 300, 200));
        }
        std::mt19937 rng(3);
        std::uniform_int_distribution<int> x(40, 1150), y(10, 830), d(-150, 150);
        for (int i = 0; i < 500; ++i) {
            f.outil = i % 4 == 0 ? ofCrayon : i % 4 == 1 ? ofLigne : ofForme;
            f.rectangle = i % 8 < 4;
            f.remplissage = i % 8;
            f.fleche = i % 3;
            f.epaisseur = i % 4;
            const QPoint a(x(rng), y(rng));
            const QPoint b(std::clamp(a.x() + d(rng), 0, 1187), std::clamp(a.y() + d(rng), 0, 839));
            f.appui(a);
            f.deplacement((a + b) / 2);
            f.relachement(b);
        }
        f.outil = ofDeplacement;
    }
};

PageChargee& page()
{
    static PageChargee p;
    return p;
}

void BM_DessinerAnnotations(benchmark::State& state)
{
    TFeuille& f = page().f;
    for (auto _ : state)
        f.DessinerAnnotations();
}
BENCHMARK(BM_DessinerAnnotations)->Unit(benchmark::kMillisecond);

void BM_RedessinerToutPageChargee(benchmark::State& state)
{
    TFeuille& f = page().f;
    for (auto _ : state)
        f.RedessinerTout();
    state.counters["dessins"] = f.dessins().Count();
}
BENCHMARK(BM_RedessinerToutPageChargee)->Unit(benchmark::kMillisecond);

// One mouse step of a drag (the small document moves) and of a resize (the frame
// follows), with the repaint of the view's damaged part on a 1188 x 840 window.
void BM_GlissementDocument(benchmark::State& state)
{
    TFeuille& f = page().f;
    TBitmap32 vue(1188, 840);
    QRect aRepeindre;
    f.aRepeindre = [&aRepeindre](const QRect& r) { aRepeindre |= r.isEmpty() ? QRect(0, 0, 1188, 840) : r; };
    const bool redimension = state.range(0) != 0;
    // The top-most document, back at its place (the benchmark runs several times).
    const int k = f.nombreDocuments() - 1;
    f.placerCadre(k, QRect(600, 400, 300, 200));
    const QRect place = f.placeDocument(k);
    const QPoint depart = redimension ? place.bottomRight() : place.center();
    if (!f.appui(depart)) {
        state.SkipWithError(("appui refusé en " + std::to_string(depart.x()) + "," + std::to_string(depart.y())).c_str());
        return;
    }
    int i = 0;
    for (auto _ : state) {
        aRepeindre = QRect();
        f.deplacement(depart + QPoint(i % 40, (i * 3) % 40));
        f.compose(TViewPlacement{1.0, QPointF()}, aRepeindre & vue.boundsRect(), vue, 0xFFC0C0C0);
        ++i;
    }
    f.relachement(depart);
    f.aRepeindre = nullptr;
    state.SetLabel(redimension ? "redimensionnement" : "déplacement");
}
BENCHMARK(BM_GlissementDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole page composed at its own size (what is saved, copied and printed).
void BM_ImagePage(benchmark::State& state)
{
    TFeuille& f = page().f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.imagePage());
}
BENCHMARK(BM_ImagePage)->Unit(benchmark::kMillisecond);

// A capture of the view over the black-and-white base of the 7200-pixel map: the
// first one reads the picture, the next ones reuse it.
void BM_CaptureNB7200(benchmark::State& state)
{
    if (dossierDonnees().isEmpty()) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    ScriptedDialogs muet;
    DialogServiceGuard garde(&muet);
    TDonnees donnees;
    TCarte carte(dossierDonnees(), donnees);
    if (!carte.demarrer()) {
        state.SkipWithError("démarrage impossible");
        return;
    }
    carte.resize(1920, 1040);
    carte.show();
    carte.changerFond(false, true);
    carte.commande("Seismes1")->trigger();
    carte.commande("PointsGPS1")->trigger();
    QApplication::processEvents();
    const bool premiere = state.range(0) != 0;
    for (auto _ : state) {
        TCommandesExport e(carte, {});
        if (!premiere) {
            state.PauseTiming();
            benchmark::DoNotOptimize(e.capturer(e.partieVisible(), true));
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(e.capturer(e.partieVisible(), true));
    }
    state.counters["W"] = carte.Etat.W;
    state.SetLabel(premiere ? "lecture du fond N/B comprise" : "fond N/B déjà lu");
}
BENCHMARK(BM_CaptureNB7200)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

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
