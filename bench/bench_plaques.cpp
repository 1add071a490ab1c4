// Plate model: the boundaries layer of the 7200-pixel map, the plate under the
// pointer, the model vectors of the MIDAS network, pole fits (2,000 stations, and
// the ITRF2014 stations of Australia and North America, whose poles are given as
// counters). Reads the data folder (ORBIPLATE_DONNEES, or ./donnees).
#include "data/longitude.h"
#include "data/stores.h"
#include "map/rendu.h"
#include "plates/cinematique.h"
#include "plates/dessinplaques.h"
#include "plates/modele.h"
#include "plates/plaques.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <map>
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

const plaques::TModelePlaques* modele()
{
    static plaques::TModelePlaques m;
    static bool essaye = false, ok = false;
    if (!essaye) {
        essaye = true;
        QString e;
        ok = !dossierDonnees().isEmpty() && m.charger(dossierDonnees(), e);
    }
    return ok ? &m : nullptr;
}

const std::vector<TStationGPS>* stations(const char* fichier)
{
    static std::map<std::string, TDonnees> lus;
    auto it = lus.find(fichier);
    if (it == lus.end()) {
        it = lus.try_emplace(fichier).first;
        it->second.ChargerGPS(QDir(dossierDonnees()).filePath(QString::fromLatin1(fichier)));
    }
    return it->second.TabStations.empty() ? nullptr : &it->second.TabStations;
}

void BM_LimitesCarte7200(benchmark::State& state)
{
    const plaques::TModelePlaques* m = modele();
    if (!m) {
        state.SkipWithError("produits des plaques introuvables (ORBIPLATE_DONNEES)");
        return;
    }
    TBitmap32 calque(7200, 3600);
    const carte::TPlateCarree proj(7200, 3600, 0);
    plaques::StyleLimites style;
    style.echelle = 2;
    // Arg 1: as the map redraws it (only the tiles of its last drawing are
    // cleared); arg 0: the whole layer cleared first.
    plaques::TracesCalque traces;
    plaques::dessinerLimites(calque, m->limites, proj, style, &traces);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            plaques::dessinerLimites(calque, m->limites, proj, style, state.range(0) ? &traces : nullptr));
    state.counters["pas"] = 5819;
}
BENCHMARK(BM_LimitesCarte7200)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PlaqueSousLePointeur(benchmark::State& state)
{
    const plaques::TModelePlaques* m = modele();
    if (!m) {
        state.SkipWithError("produits des plaques introuvables (ORBIPLATE_DONNEES)");
        return;
    }
    // A pointer wandering over the map: steps of a fraction of a degree.
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> pas(-0.3, 0.3), depart(-1, 1);
    double lon = 0, lat = 0;
    std::int64_t n = 0;
    for (auto _ : state) {
        lon = ramenerLongitude(lon + pas(gen));
        lat = std::clamp(lat + pas(gen), -89.0, 89.0);
        if (++n % 5000 == 0) { // and now and then a jump anywhere
            lon = 180 * depart(gen);
            lat = 85 * depart(gen);
        }
        benchmark::DoNotOptimize(m->plaqueEn(lon, lat));
    }
}
BENCHMARK(BM_PlaqueSousLePointeur)->Unit(benchmark::kMicrosecond);

// The worst place: full searches along the boundaries themselves.
void BM_PlaqueSurLesLimites(benchmark::State& state)
{
    const plaques::TModelePlaques* m = modele();
    if (!m) {
        state.SkipWithError("produits des plaques introuvables (ORBIPLATE_DONNEES)");
        return;
    }
    std::vector<plaques::PointGeo> p;
    for (const plaques::SegmentLimite& s : m->limites)
        for (const plaques::PointGeo& q : s.points)
            p.push_back({q.longitude + 0.01, q.latitude + 0.01});
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m->plaqueEn(p[i].longitude, p[i].latitude));
        i = (i + 1) % p.size();
    }
}
BENCHMARK(BM_PlaqueSurLesLimites)->Unit(benchmark::kMicrosecond);

// Model vectors of every MIDAS station on the 7200 map: layer cleared, vectors
// computed and drawn. Arg 1: each station's plate already known (the cache
// kept between redraws); arg 0: looked up again.
void BM_VecteursModeleMIDAS(benchmark::State& state)
{
    const plaques::TModelePlaques* m = modele();
    const std::vector<TStationGPS>* st0 = m ? stations("gps_midas_complet.gps") : nullptr;
    if (!st0) {
        state.SkipWithError("produits des plaques ou gps_midas_complet.gps introuvables");
        return;
    }
    std::vector<TStationGPS> st = *st0;
    for (TStationGPS& s : st)
        s.Affiche = 1;
    const plaques::RotationsPlaques rot = plaques::rotationsDesPlaques(*m);
    const int eu = rot.indice(*m, QStringLiteral("EU"));
    TBitmap32 calque(7200, 3600);
    const carte::TPlateCarree proj(7200, 3600, 0);
    plaques::TPlaquesStations cache;
    plaques::TracesCalque traces;
    std::size_t n = 0;
    for (auto _ : state) {
        if (state.range(0) == 0)
            cache.oublier();
        plaques::effacerTraces(calque, traces);
        const std::vector<plaques::VecteurCalcule> v = plaques::vecteursModele(st, cache.pour(st, *m), rot, eu);
        // Thin and at the default scale of the vectors, as the map draws them.
        plaques::dessinerVecteurs(calque, v, proj, ReglagesAffichage().EchelleVecteurs, 0xFFFF6A00, 0, &traces);
        n = v.size();
    }
    state.counters["stations"] = static_cast<double>(st.size());
    state.counters["vecteurs"] = static_cast<double>(n);
}
BENCHMARK(BM_VecteursModeleMIDAS)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_AjustementPole2000(benchmark::State& state)
{
    // 2,000 MIDAS stations of North America when the file is there, otherwise
    // synthetic ones.
    std::vector<TStationGPS> st;
    if (const std::vector<TStationGPS>* midas = stations("gps_midas_complet.gps"))
        for (const TStationGPS& s : *midas)
            if (s.Longitude > -110 && s.Longitude < -65 && s.Latitude > 25 && s.Latitude < 60 && st.size() < 2000)
                st.push_back(s);
    if (st.size() < 2000) {
        st.clear();
        std::mt19937 gen(5);
        std::uniform_real_distribution<double> u(0, 1);
        const plaques::Vec3 w = plaques::vecteurRotation({-5, -83, 0.2});
        for (int i = 0; i < 2000; ++i) {
            TStationGPS s;
            s.Longitude = -110 + 45 * u(gen);
            s.Latitude = 25 + 35 * u(gen);
            const plaques::VitesseSurface v = plaques::vitessePredite(w, s.Longitude, s.Latitude);
            s.VitLong = v.est;
            s.VitLat = v.nord;
            st.push_back(s);
        }
    }
    plaques::ResultatAjustement r;
    for (auto _ : state) {
        r = plaques::ajusterRotation(st);
        benchmark::DoNotOptimize(r.omega);
    }
    state.counters["stations"] = r.nbStations;
    state.counters["rms"] = r.rms;
}
BENCHMARK(BM_AjustementPole2000)->Unit(benchmark::kMillisecond);

// Poles fitted to the ITRF2014 stations of a box (as the zone tool selects
// them), and the relative pole Australia / North America against PB2002.
struct Boite {
    double lonMin, lonMax, latMin, latMax;
};
std::vector<TStationGPS> dansBoite(const std::vector<TStationGPS>& st, const Boite& b)
{
    std::vector<TStationGPS> r;
    for (const TStationGPS& s : st)
        if (s.Longitude >= b.lonMin && s.Longitude <= b.lonMax && s.Latitude >= b.latMin && s.Latitude <= b.latMax
            && s.IncVitLat != 0)
            r.push_back(s);
    return r;
}

void BM_PolesITRF2014(benchmark::State& state)
{
    const plaques::TModelePlaques* m = modele();
    const std::vector<TStationGPS>* st = m ? stations("gps_itrf2014.gps") : nullptr;
    if (!st) {
        state.SkipWithError("produits des plaques ou gps_itrf2014.gps introuvables");
        return;
    }
    // Australia; North America east of the Rocky Mountains (arg 0) or the whole
    // continent with its Pacific margin (arg 1).
    const Boite au{110, 155, -45, -10};
    const Boite na = state.range(0) == 0 ? Boite{-110, -60, 25, 62} : Boite{-130, -60, 25, 62};
    const std::vector<TStationGPS> sAU = dansBoite(*st, au), sNA = dansBoite(*st, na);
    plaques::ResultatAjustement a, n;
    for (auto _ : state) {
        a = plaques::ajusterRotation(sAU);
        n = plaques::ajusterRotation(sNA);
    }
    if (!a.ok || !n.ok) {
        state.SkipWithError((a.erreur + n.erreur).toUtf8().constData());
        return;
    }
    const plaques::Pole rel = plaques::poleDe(plaques::rotationRelative(a.omega, n.omega));
    plaques::Vec3 w;
    plaques::rotationCouple(*m, QStringLiteral("AU"), QStringLiteral("NA"), w);
    const plaques::Pole pb = plaques::poleDe(w);
    const double ecart = std::acos(std::clamp(plaques::produitScalaire(plaques::unitaire(rel.longitude, rel.latitude),
                                                                       plaques::unitaire(pb.longitude, pb.latitude)),
                                              -1.0, 1.0))
                         * 180 / M_PI;
    auto& c = state.counters;
    c["AU_n"] = a.nbStations;
    c["AU_lat"] = a.pole.latitude;
    c["AU_lon"] = a.pole.longitude;
    c["AU_deg_Ma"] = a.pole.vitesse;
    c["AU_rms"] = a.rms;
    c["AU_3rms"] = static_cast<double>(a.horsNorme.size());
    c["NA_n"] = n.nbStations;
    c["NA_lat"] = n.pole.latitude;
    c["NA_lon"] = n.pole.longitude;
    c["NA_deg_Ma"] = n.pole.vitesse;
    c["NA_rms"] = n.rms;
    c["NA_3rms"] = static_cast<double>(n.horsNorme.size());
    c["AUNA_lat"] = rel.latitude;
    c["AUNA_lon"] = rel.longitude;
    c["AUNA_deg_Ma"] = rel.vitesse;
    c["PB_lat"] = pb.latitude;
    c["PB_lon"] = pb.longitude;
    c["PB_deg_Ma"] = pb.vitesse;
    c["ecart_deg"] = ecart;
}
BENCHMARK(BM_PolesITRF2014)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(20);

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
