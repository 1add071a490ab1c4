// Cross-sections: building a 3000 km section (band, projection, sampling) over the
// real catalogues and over a million synthetic earthquakes; drawing four frames of
// busy sections on a 1920 x 1080 image; one slide step of the superposition; one
// pointer move with the measure line and its readout.
#include "data/stores.h"
#include "map/grille.h"
#include "section/construction.h"
#include "section/vuecoupes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <random>

namespace {

QString dossierDonnees()
{
    const QByteArray env = qgetenv("ORBIPLATE_DONNEES");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    for (const char* c : {"donnees", "../donnees", "../../donnees", "/work/main/donnees"})
        if (QFileInfo::exists(QString::fromLatin1(c) + QStringLiteral("/config.obc")))
            return QDir(QString::fromLatin1(c)).absolutePath();
    return QString();
}

struct Donnees {
    TDonnees d;
    TGrilleAltitude grille;
    bool pret = false;
    Donnees()
    {
        const QString dossier = dossierDonnees();
        if (dossier.isEmpty())
            return;
        d.ChargerSeismes(dossier + QStringLiteral("/seismes_isc-gem_1904-2016.fse"));
        d.ChargerVolcans(dossier + QStringLiteral("/volcans.fvo"));
        grille.charger(dossier + QStringLiteral("/topo_10.bil"));
        pret = !d.TabSeismes.empty() && grille.charge();
    }
};

Donnees& donnees()
{
    static Donnees d;
    return d;
}

coupe::CarteCoupe carte(const std::vector<TSeisme>* seismes, const std::vector<TVolcan>* volcans)
{
    coupe::CarteCoupe c;
    c.W = 3600;
    c.H = 1800;
    c.grille = &donnees().grille;
    c.seismes = seismes;
    c.volcans = volcans;
    c.magnitudeMini = 3;
    return c;
}

QPoint pixel(double lon, double lat)
{
    return QPoint(static_cast<int>(std::lround((lon + 180) * 10)), static_cast<int>(std::lround((90 - lat) * 10)));
}

// From the Sea of Japan across northern Japan to the Pacific, 40° N, 128° to 163° E:
// about 3000 km.
void construire(benchmark::State& state, const coupe::CarteCoupe& c)
{
    const coupe::LigneCoupe l = coupe::ligneDepuisPixels(pixel(128, 40), pixel(163, 40), c);
    std::size_t foyers = 0;
    double longueur = 0;
    for (auto _ : state) {
        TBitmapSIG s;
        s.Nature = nbCoupe;
        coupe::ConstruireCoupe(s, l, 1.5, c);
        foyers = s.seismes.size();
        longueur = s.profil.back().distance;
        benchmark::DoNotOptimize(s.profil.data());
    }
    state.counters["km"] = longueur;
    state.counters["foyers"] = static_cast<double>(foyers);
    state.counters["seismes"] = c.seismes ? static_cast<double>(c.seismes->size()) : 0;
}

void BM_ConstruireCoupeCatalogues(benchmark::State& state)
{
    if (!donnees().pret) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    construire(state, carte(&donnees().d.TabSeismes, &donnees().d.TabVolcans));
    state.counters["volcans"] = static_cast<double>(donnees().d.TabVolcans.size());
}
BENCHMARK(BM_ConstruireCoupeCatalogues)->Unit(benchmark::kMillisecond);

void BM_ConstruireCoupeMillion(benchmark::State& state)
{
    if (!donnees().pret) {
        state.SkipWithError("dossier de données introuvable (ORBIPLATE_DONNEES)");
        return;
    }
    static const std::vector<TSeisme> synthetiques = [] {
        std::vector<TSeisme> v(1000000);
        std::mt19937 rng(11);
        std::uniform_real_distribution<float> lon(-180, 180), lat(-80, 80), prof(0, 700), mag(2, 9);
        for (TSeisme& s : v) {
            s.Longitude = lon(rng);
            s.Latitude = lat(rng);
            s.Profondeur = prof(rng);
            s.Magnitude = mag(rng);
        }
        return v;
    }();
    construire(state, carte(&synthetiques, &donnees().d.TabVolcans));
}
BENCHMARK(BM_ConstruireCoupeMillion)->Unit(benchmark::kMillisecond);

// A section of 5000 foci and 20 annotations of every kind.
std::unique_ptr<TBitmapSIG> coupeChargee(coupe::TImagesCoupe& im, int n, bool relief)
{
    im.reliefAuDessus = relief;
    auto s = im.nouvelleCoupe(QStringLiteral("Coupe %1").arg(n), true);
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> d(0, 3000), p(0, 650000);
    for (int i = 0; i <= 162; ++i)
        s->profil.push_back({i * 18.5185, static_cast<int>(3000 * std::sin(i / 9.0)) - 1500});
    for (int i = 0; i < 5000; ++i) {
        s->seismes.push_back({d(rng), static_cast<int>(p(rng))});
        s->magnitudes_seismes.push_back(5);
    }
    for (int i = 0; i < 30; ++i)
        s->volcans.push_back({d(rng), 1500});
    s->zones_croute.push_back({0xFFAA5500, 3, 500, 1500, -2000});
    for (int i = 0; i < 20; ++i) {
        auto a = std::make_unique<TDessin>();
        a->Nature = i % 5 == 4 ? ndTexte : static_cast<std::uint8_t>(i % 4);
        a->X1 = static_cast<float>(100 + 120 * i);
        a->Y1 = 50;
        a->X2 = a->X1 + 200;
        a->Y2 = 300;
        a->XC = a->X1;
        a->YC = 100;
        a->Rayon = 80;
        a->Epaisseur = static_cast<std::uint8_t>(i % 3);
        a->Remplissage = static_cast<std::uint8_t>(i % 8);
        a->Fleche = static_cast<std::uint8_t>(i % 3);
        a->Lignes = QStringList{QStringLiteral("Fosse du Japon"), QStringLiteral("H<sub>2</sub>O")};
        a->TaillePolice = 40;
        if (a->Nature == ndLibre)
            for (int k = 0; k < 40; ++k)
                a->Trace.Add(a->X1 + k * 5.0, 100 + 30 * std::sin(k / 4.0));
        s->AjouterDessin(std::move(a), QStringLiteral("Dessin %1").arg(i));
    }
    return s;
}

coupe::TVueCoupes& vueChargee()
{
    static coupe::TVueCoupes* v = [] {
        coupe::installerRenduCoupe();
        auto* vue = new coupe::TVueCoupes;
        vue->definirTaille(1920, 1080);
        for (int n = 1; n <= 4; ++n)
            vue->images.AjouterCoupe(coupeChargee(vue->images, n, n % 2 == 0));
        return vue;
    }();
    return *v;
}

void BM_DessinerCadresQuatre(benchmark::State& state)
{
    coupe::TVueCoupes& v = vueChargee();
    v.images.juxtaposer(4);
    for (auto _ : state)
        v.DessinerCadres();
    state.counters["foyers"] = 4 * 5000;
}
BENCHMARK(BM_DessinerCadresQuatre)->Unit(benchmark::kMillisecond);

// Superposed: one step of the slide and the repaint of the whole view.
void BM_PasSuperposition(benchmark::State& state)
{
    coupe::TVueCoupes& v = vueChargee();
    v.images.superposer();
    v.DessinerCadres();
    TBitmap32 ecran(1920, 1080);
    QRect aRepeindre;
    v.aRepeindre = [&aRepeindre](const QRect& r) { aRepeindre |= r.isEmpty() ? QRect(0, 0, 1920, 1080) : r; };
    int i = 0;
    for (auto _ : state) {
        aRepeindre = QRect();
        v.definirDecalageSuperposition((i % 2 ? 1 : -1) * (10 + i % 300));
        v.compose(TViewPlacement{1.0, QPointF()}, aRepeindre & ecran.boundsRect(), ecran, clWhite32);
        ++i;
    }
    v.aRepeindre = nullptr;
    v.images.juxtaposer(4);
}
BENCHMARK(BM_PasSuperposition)->Unit(benchmark::kMillisecond);

// A pointer move with the measure tool's button down over a section: readout,
// dip, rubber line, and the repaint of what changed.
void BM_DeplacementMesure(benchmark::State& state)
{
    coupe::TVueCoupes& v = vueChargee();
    v.images.juxtaposer(4);
    v.DessinerCadres();
    v.outil = coupe::ocMesure;
    TBitmap32 ecran(1920, 1080);
    QRect aRepeindre;
    v.aRepeindre = [&aRepeindre](const QRect& r) { aRepeindre |= r.isEmpty() ? QRect(0, 0, 1920, 1080) : r; };
    const QPoint depart(200, 200);
    v.appui(depart);
    int i = 0;
    for (auto _ : state) {
        aRepeindre = QRect();
        v.deplacement(QPoint(300 + i % 500, 250 + (i * 7) % 250), true);
        v.compose(TViewPlacement{1.0, QPointF()}, aRepeindre & ecran.boundsRect(), ecran, clWhite32);
        benchmark::DoNotOptimize(v.textePente().size());
        ++i;
    }
    v.relachement(depart);
    v.aRepeindre = nullptr;
}
BENCHMARK(BM_DeplacementMesure)->Unit(benchmark::kMillisecond);

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
