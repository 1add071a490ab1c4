#include "data/stores.h"

bool rangValide(int rang)
{
    return rang >= 0 && static_cast<std::size_t>(rang) < TabStations.size();
}

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

int reconstruireTabTri(const std::function<bool(const TStationGPS&)>& passe)
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
    return static_cast<int>(TabTri.size());
}

int reconstruireTabTri(const FiltreZone& filtre)
{
    return reconstruireTabTri([&filtre](const TStationGPS& s) { return filtre.passe(s); });
}

bool tabTriDepuisMarques()
{
    if (!TabTri.empty())
        return false;
    for (const TStationGPS& s : TabStations)
        if (s.Rang != -1) {
            TabTri.push_back(s);
            TabTri.back().Affiche = 1;
        }
    return true;
}

void afficherTousLesVecteurs(bool affiche)
{
    for (TStationGPS& s : TabStations)
        s.Affiche = affiche ? 1 : 0;
}

bool marquerStationTri(int k, bool affiche)
{
    if (k < 0 || static_cast<std::size_t>(k) >= TabTri.size())
        return false;
    const std::uint8_t v = affiche ? 1 : 0;
    TabTri[static_cast<std::size_t>(k)].Affiche = v;
    const int rang = TabTri[static_cast<std::size_t>(k)].Rang;
    if (rangValide(rang))
        TabStations[static_cast<std::size_t>(rang)].Affiche = v;
    return true;
}

void marquerToutTabTri(bool affiche)
{
    for (std::size_t k = 0; k < TabTri.size(); ++k)
        marquerStationTri(static_cast<int>(k), affiche);
}

void viderSeismes()
{
    TabSeismes.clear();
    TabSeismes.shrink_to_fit();
    SeismesCharges = false;
}

void viderVolcans()
{
    TabVolcans.clear();
    TabVolcans.shrink_to_fit();
    VolcansCharges = false;
}

void viderStations()
{
    TabStations.clear();
    TabStations.shrink_to_fit();
    TabTri.clear();
    GPSCharges = false;
}

void viderMemoire(bool seismesAffiches, bool volcansAffiches, bool gpsAffiches)
{
    if (!seismesAffiches)
        viderSeismes();
    if (!volcansAffiches)
        viderVolcans();
    if (!gpsAffiches)
        viderStations();
}
