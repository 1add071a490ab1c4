#include "plates/modele.h"

#include <cstring>
#include <map>

namespace plaques {

int RotationsPlaques::indice(const TModelePlaques& m, const QString& code) const
{
    for (std::size_t i = 0; i < m.contours.size(); ++i)
        if (m.contours[i].code == code)
            return static_cast<int>(i);
    return -1;
}

RotationsPlaques rotationsDesPlaques(const TModelePlaques& m)
{
    RotationsPlaques r;
    r.omega.resize(m.contours.size());
    r.aUnPole.resize(m.contours.size(), false);
    for (std::size_t i = 0; i < m.contours.size(); ++i) {
        const int p = m.indicePole(m.contours[i].code);
        if (p < 0)
            continue;
        const PoleEuler& e = m.poles[static_cast<std::size_t>(p)];
        r.omega[i] = vecteurRotation({e.latitude, e.longitude, e.vitesse});
        r.aUnPole[i] = true;
    }
    return r;
}

bool rotationCouple(const TModelePlaques& m, const QString& a, const QString& b, Vec3& omega)
{
    const int ia = m.indicePole(a), ib = m.indicePole(b);
    if (ia < 0 || ib < 0)
        return false;
    const PoleEuler& pa = m.poles[static_cast<std::size_t>(ia)];
    const PoleEuler& pb = m.poles[static_cast<std::size_t>(ib)];
    omega = rotationRelative(vecteurRotation({pa.latitude, pa.longitude, pa.vitesse}),
                             vecteurRotation({pb.latitude, pb.longitude, pb.vitesse}));
    return true;
}

const std::vector<int>& TPlaquesStations::pour(const std::vector<TStationGPS>& stations, const TModelePlaques& m)
{
    // FNV-1a over the count and the coordinates' bits.
    std::uint64_t h = 1469598103934665603ULL;
    auto melanger = [&h](const void* d, std::size_t n) {
        const auto* o = static_cast<const unsigned char*>(d);
        for (std::size_t i = 0; i < n; ++i) {
            h ^= o[i];
            h *= 1099511628211ULL;
        }
    };
    const std::uint64_t n = stations.size();
    melanger(&n, sizeof n);
    const std::uint64_t nc = m.contours.size();
    melanger(&nc, sizeof nc);
    for (const TStationGPS& s : stations) {
        melanger(&s.Latitude, sizeof s.Latitude);
        melanger(&s.Longitude, sizeof s.Longitude);
    }
    if (h == signature_ && plaques_.size() == stations.size())
        return plaques_;
    plaques_.resize(stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i)
        plaques_[i] = m.plaqueEn(stations[i].Longitude, stations[i].Latitude);
    signature_ = h;
    return plaques_;
}

std::vector<VecteurCalcule> vecteursModele(const std::vector<TStationGPS>& stations, const std::vector<int>& plaqueDe,
                                           const RotationsPlaques& rot, int plaqueB, bool tousLesVecteurs)
{
    std::vector<VecteurCalcule> v;
    const int np = static_cast<int>(rot.omega.size());
    if (plaqueB < 0 || plaqueB >= np || !rot.aUnPole[static_cast<std::size_t>(plaqueB)]
        || plaqueDe.size() != stations.size())
        return v;
    const Vec3 wb = rot.omega[static_cast<std::size_t>(plaqueB)];
    v.reserve(stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const TStationGPS& s = stations[i];
        const int a = plaqueDe[i];
        if ((!tousLesVecteurs && s.Affiche != 1) || a < 0 || a >= np || !rot.aUnPole[static_cast<std::size_t>(a)])
            continue;
        const VitesseSurface p = vitessePredite(rot.omega[static_cast<std::size_t>(a)] - wb, s.Longitude, s.Latitude);
        v.push_back({s.Longitude, s.Latitude, p.est, p.nord});
    }
    return v;
}

int plaqueMajoritaire(const std::vector<TStationGPS>& stations, const TModelePlaques& m)
{
    std::map<int, int> compte;
    for (const TStationGPS& s : stations) {
        const int p = m.plaqueEn(s.Longitude, s.Latitude);
        if (p >= 0)
            ++compte[p];
    }
    int meilleur = -1, n = 0;
    for (const auto& [p, c] : compte)
        if (c > n) {
            n = c;
            meilleur = p;
        }
    return meilleur;
}

} // namespace plaques
