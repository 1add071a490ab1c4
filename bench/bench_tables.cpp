// GPS table and time-series figures on the real data folder (ORBIPLATE_DONNEES,
// or ./donnees, ../donnees): filter, sort and fill of the 17,082 MIDAS stations by
// each criterion (the core, and the window's "Trier" with the grid repainted),
// "&Tout" on that table, the least-squares fit over twenty years of days, and the
// opening of a station's time-series window.
#include "data/stores.h"
#include "map/windows/delimCarte.h"
#include "tables/courbes.h"
#include "tables/tableaugps.h"
#include "tables/windows/afcourbes.h"
#include "tables/windows/tableaux.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cmath>

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

// The MIDAS stations loaded once.
TDonnees* midas(benchmark::State& state)
{
    static TDonnees d;
    static bool lu = false;
    if (!lu) {
        const QString dossier = dossierDonnees();
        if (dossier.isEmpty() || !d.ChargerGPS(dossier + QStringLiteral("/gps_midas_complet.gps")).remplace) {
            state.SkipWithError("gps_midas_complet.gps introuvable (ORBIPLATE_DONNEES)");
            return nullptr;
        }
        lu = true;
    }
    return &d;
}

void BM_FiltrerTrierRemplir(benchmark::State& state)
{
    TDonnees* d = midas(state);
    if (!d)
        return;
    const int critere = static_cast<int>(state.range(0));
    tableaux::TGrilleGPS grille(*d);
    int n = 0;
    for (auto _ : state) {
        tableaux::filtrer(*d, FiltreZone{});
        n = tableaux::trier(*d, critere);
        // What the window writes: the cells of one screen of rows.
        for (int r = 2; r < 2 + 45 && r < grille.nbLignes(); ++r)
            for (int c = 0; c < tableaux::NbColonnes; ++c)
                benchmark::DoNotOptimize(grille.cellule(r, c));
    }
    state.counters["stations"] = n;
}
BENCHMARK(BM_FiltrerTrierRemplir)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The window: "Trier" with the sort of the menu, then the grid painted.
void BM_TrierFenetre(benchmark::State& state)
{
    const QString dossier = dossierDonnees();
    TDonnees donnees;
    if (dossier.isEmpty() || !donnees.ChargerGPS(dossier + QStringLiteral("/gps_midas_complet.gps")).remplace) {
        state.SkipWithError("gps_midas_complet.gps introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    ScriptedDialogs script;
    DialogServiceGuard garde(&script);
    TCarte carte(dossier, donnees);
    if (!carte.demarrer()) {
        state.SkipWithError("démarrage impossible");
        return;
    }
    TTableaux t(carte);
    t.resize(1600, 900);
    t.show();
    QApplication::processEvents();
    const int critere = static_cast<int>(state.range(0));
    for (auto _ : state) {
        t.choisirTri(critere);
        t.TrierClick();
        t.tableau()->viewport()->repaint();
    }
    state.counters["stations"] = static_cast<double>(donnees.TabTri.size());
}
BENCHMARK(BM_TrierFenetre)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_CopierTout(benchmark::State& state)
{
    TDonnees* d = midas(state);
    if (!d)
        return;
    tableaux::filtrer(*d, FiltreZone{});
    tableaux::trier(*d, tableaux::ParNom);
    tableaux::TGrilleGPS grille(*d);
    grille.incertitudes = state.range(0) != 0;
    qsizetype taille = 0;
    for (auto _ : state) {
        const QString t = grille.texte(QStringLiteral("Tri des données GPS"));
        QGuiApplication::clipboard()->setText(t);
        taille = t.size();
    }
    state.counters["caracteres"] = static_cast<double>(taille);
}
BENCHMARK(BM_CopierTout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AjustementVingtAns(benchmark::State& state)
{
    courbes::PositionsJournalieres p;
    for (int i = 0; i < 20 * 365; ++i) {
        const double t = 2000 + i / 365.25;
        p.t.push_back(t);
        p.nord.push_back(12 * (t - 2000) + 3 * std::sin(i * 0.7));
        p.est.push_back(-25 * (t - 2000));
        p.haut.push_back(std::cos(i * 0.3));
    }
    double pente = 0;
    for (auto _ : state) {
        const auto a = courbes::ajusterDroite(p, courbes::Latitude, 2000, 2020);
        pente = a ? a->pente : 0;
        benchmark::DoNotOptimize(pente);
    }
    state.counters["jours"] = static_cast<double>(p.taille());
}
BENCHMARK(BM_AjustementVingtAns)->Unit(benchmark::kMicrosecond);

// A double click on a station: its picture, calibration and days read, the
// window shown.
void BM_OuvrirCourbes(benchmark::State& state)
{
    const QString dossier = dossierDonnees();
    if (dossier.isEmpty() || !QFileInfo::exists(dossier + QStringLiteral("/point/USUD.jpg"))) {
        state.SkipWithError("point/USUD.jpg introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    ScriptedDialogs script;
    DialogServiceGuard garde(&script);
    TAfCourbes c;
    TStationGPS s;
    assignShort(s.Nom, QStringLiteral("USUD"));
    for (auto _ : state) {
        if (!c.ouvrir(s, dossier)) {
            state.SkipWithError("ouverture impossible");
            return;
        }
        QApplication::processEvents();
    }
    state.counters["jours"] = static_cast<double>(c.mesure().positions.taille());
}
BENCHMARK(BM_OuvrirCourbes)->Unit(benchmark::kMillisecond);

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
