#include "data/stores.h"

bool FiltreZone::passe(const TStationGPS& s) const
{
    if (s.IncVitLat == 0)
        return false;
    if (s.Latitude < Latmin || s.Latitude > Latmax)
        return false;
    if (Longmax >= Longmin)
        return Longmin <= s.Longitude && s.Longitude <= Longmax;
    return (Longmin <= s.Longitude && s.Longitude <= 180) || (-180 <= s.Longitude && s.Longitude <= Longmax);
}

int TDonnees::ecouter(Ecouteur e)
{
    const int n = prochain_++;
    ecouteurs_.emplace(n, std::move(e));
    return n;
}

void TDonnees::oublier(int numero)
{
    ecouteurs_.erase(numero);
}

void TDonnees::annoncer(unsigned magasins)
{
    if (magasins == 0)
        return;
    // A listener may forget itself (or another) while it is told.
    const std::map<int, Ecouteur> copie = ecouteurs_;
    for (const auto& [numero, e] : copie)
        if (ecouteurs_.count(numero))
            e(magasins);
}

ResultatChargement TDonnees::ChargerSeismes(const QString& chemin)
{
    ResultatChargement r = chargerSeismes(chemin, TabSeismes);
    if (r.remplace) {
        SeismesCharges = true;
        annoncer(Seismes);
    }
    return r;
}

ResultatChargement TDonnees::ChargerVolcans(const QString& chemin)
{
    ResultatChargement r = chargerVolcans(chemin, TabVolcans);
    if (r.remplace) {
        VolcansCharges = true;
        annoncer(Volcans);
    }
    return r;
}

ResultatChargement TDonnees::ChargerGPS(const QString& chemin)
{
    ResultatChargement r = chargerStations(chemin, TabStations);
    if (r.remplace) {
        GPSCharges = true;
        annoncer(Stations);
    }
    return r;
}

ResultatEcriture TDonnees::EnregistrerSeismes(const QString& chemin) const
{
    return ecrireSeismes(chemin, TabSeismes);
}

ResultatEcriture TDonnees::EnregistrerVolcans(const QString& chemin) const
{
    return ecrireVolcans(chemin, TabVolcans);
}

ResultatEcriture TDonnees::EnregistrerGPS(const QString& chemin) const
{
    return ecrireStationsAffichees(chemin, TabStations);
}

bool TDonnees::rangValide(int rang) const
{
    return rang >= 0 && static_cast<std::size_t>(rang) < TabStations.size();
}

int TDonnees::reconstruireTabTri(const std::function<bool(const TStationGPS&)>& passe)
{
    TabTri.clear();
    for (std::size_t i = 0; i < TabStations.size(); ++i) {
        TStationGPS& s = TabStations[i];
        if (passe(s)) {
            s.Affiche = 1;
            if (i <= 32767) {
                s.Rang = static_cast<std::int16_t>(i);
                TabTri.push_back(s);
            } else {
                s.Rang = -1;
            }
        } else {
            s.Rang = -1;
            s.Affiche = 0;
        }
    }
    annoncer(Stations | Tri);
    return static_cast<int>(TabTri.size());
}

int TDonnees::reconstruireTabTri(const FiltreZone& filtre)
{
    return reconstruireTabTri([&filtre](const TStationGPS& s) { return filtre.passe(s); });
}

bool TDonnees::tabTriDepuisMarques()
{
    if (!TabTri.empty())
        return false;
    for (const TStationGPS& s : TabStations)
        if (s.Rang != -1) {
            TabTri.push_back(s);
            TabTri.back().Affiche = 1;
        }
    annoncer(Tri);
    return true;
}

void TDonnees::afficherTousLesVecteurs(bool affiche)
{
    for (TStationGPS& s : TabStations)
        s.Affiche = affiche ? 1 : 0;
    annoncer(Stations);
}

bool TDonnees::marquerStation(int i, bool affiche)
{
    if (!rangValide(i))
        return false;
    TabStations[static_cast<std::size_t>(i)].Affiche = affiche ? 1 : 0;
    annoncer(Stations);
    return true;
}

namespace {
bool marquer(TDonnees& d, int k, bool affiche)
{
    if (k < 0 || static_cast<std::size_t>(k) >= d.TabTri.size())
        return false;
    const std::uint8_t v = affiche ? 1 : 0;
    d.TabTri[static_cast<std::size_t>(k)].Affiche = v;
    const int rang = d.TabTri[static_cast<std::size_t>(k)].Rang;
    if (d.rangValide(rang))
        d.TabStations[static_cast<std::size_t>(rang)].Affiche = v;
    return true;
}
} // namespace

bool TDonnees::marquerStationTri(int k, bool affiche)
{
    if (!marquer(*this, k, affiche))
        return false;
    annoncer(Stations | Tri);
    return true;
}

void TDonnees::marquerToutTabTri(bool affiche)
{
    for (std::size_t k = 0; k < TabTri.size(); ++k)
        marquer(*this, static_cast<int>(k), affiche);
    annoncer(Stations | Tri);
}

void TDonnees::viderSeismes()
{
    TabSeismes.clear();
    TabSeismes.shrink_to_fit();
    SeismesCharges = false;
    annoncer(Seismes);
}

void TDonnees::viderVolcans()
{
    TabVolcans.clear();
    TabVolcans.shrink_to_fit();
    VolcansCharges = false;
    annoncer(Volcans);
}

void TDonnees::viderStations()
{
    TabStations.clear();
    TabStations.shrink_to_fit();
    TabTri.clear();
    GPSCharges = false;
    annoncer(Stations | Tri);
}

void TDonnees::viderMemoire(bool seismesAffiches, bool volcansAffiches, bool gpsAffiches)
{
    if (!seismesAffiches)
        viderSeismes();
    if (!volcansAffiches)
        viderVolcans();
    if (!gpsAffiches)
        viderStations();
}
