#include "tables/tableaugps.h"

#include "map/lecture.h"

#include <algorithm>
#include <cstring>

namespace tableaux {

Chiffres Chiffres::bornes() const
{
    Chiffres c;
    c.LatLong = std::clamp(LatLong, 2, 13);
    c.Altitude = std::clamp(Altitude, 2, 13);
    c.Incertitudes = std::clamp(Incertitudes, 1, 5);
    c.Vitesses = std::clamp(Vitesses, 1, 5);
    return c;
}

bool nomAvant(const TStationGPS& a, const TStationGPS& b)
{
    const int la = std::min<int>(a.Nom.Len, ShortString<5>::capacity);
    const int lb = std::min<int>(b.Nom.Len, ShortString<5>::capacity);
    // memcmp compares unsigned bytes.
    const int c = std::memcmp(a.Nom.Ch, b.Nom.Ch, static_cast<std::size_t>(std::min(la, lb)));
    return c < 0 || (c == 0 && la < lb);
}

void trierStations(std::vector<TStationGPS>& stations, int critere)
{
    switch (critere) {
    case ParLatitude:
        std::stable_sort(stations.begin(), stations.end(),
                         [](const TStationGPS& a, const TStationGPS& b) { return a.Latitude < b.Latitude; });
        break;
    case ParLongitude:
        std::stable_sort(stations.begin(), stations.end(),
                         [](const TStationGPS& a, const TStationGPS& b) { return a.Longitude < b.Longitude; });
        break;
    default:
        std::stable_sort(stations.begin(), stations.end(), nomAvant);
        break;
    }
}

int filtrer(TDonnees& d, const FiltreZone& bornes)
{
    return d.reconstruireTabTri(bornes);
}

int trier(TDonnees& d, int critere)
{
    std::vector<TStationGPS> tri;
    tri.reserve(d.TabTri.size());
    // Only the first 32768 stations can be designated back by their Rang.
    const std::size_t n = std::min<std::size_t>(d.TabStations.size(), 32768);
    for (std::size_t i = 0; i < n; ++i) {
        const TStationGPS& s = d.TabStations[i];
        if (s.Rang == -1)
            continue;
        tri.push_back(s);
        tri.back().Rang = static_cast<std::int16_t>(i);
    }
    trierStations(tri, critere);
    d.TabTri = std::move(tri);
    d.annoncer(TDonnees::Tri);
    return static_cast<int>(d.TabTri.size());
}

bool stationAffichee(const TDonnees& d, int k)
{
    if (k < 0 || static_cast<std::size_t>(k) >= d.TabTri.size())
        return false;
    const TStationGPS& s = d.TabTri[static_cast<std::size_t>(k)];
    if (d.rangValide(s.Rang))
        return d.TabStations[static_cast<std::size_t>(s.Rang)].Affiche != 0;
    return s.Affiche != 0;
}

QString entete(int ligne, int colonne)
{
    static const char* const premiere[NbColonnes] = {"Station", "V", "Latitude", "Longitude", "Altitude",
                                                     "Vit. Lat.", "Vit. Long", "Vit. Alt.", ""};
    static const char* const seconde[NbColonnes] = {"", "", "(degrés)", "(degrés)", "(mm)",
                                                    "(mm/an)", "(mm/an)", "(mm/an)", ""};
    if (colonne < 0 || colonne >= NbColonnes)
        return {};
    if (ligne == 0)
        return QString::fromUtf8(premiere[colonne]);
    if (ligne == 1)
        return QString::fromUtf8(seconde[colonne]);
    return {};
}

int TGrilleGPS::station(int ligne) const
{
    if (ligne < LignesEntete || ligne >= nbLignes())
        return -1;
    return (ligne - LignesEntete) / lignesParStation();
}

bool TGrilleGPS::ligneIncertitude(int ligne) const
{
    return incertitudes && station(ligne) >= 0 && (ligne - LignesEntete) % 2 == 1;
}

QString TGrilleGPS::celluleStation(int k, int colonne) const
{
    if (k < 0 || k >= nbStations())
        return {};
    const TStationGPS& s = d_.TabTri[static_cast<std::size_t>(k)];
    const Chiffres c = chiffres.bornes();
    switch (colonne) {
    case 0:
        return shortToQString(s.Nom);
    case 1:
        return stationAffichee(d_, k) ? QStringLiteral("X") : QString();
    case 2:
        return carte::formatGeneral(s.Latitude, c.LatLong);
    case 3:
        return carte::formatGeneral(s.Longitude, c.LatLong);
    case 4:
        return carte::formatGeneral(s.Altitude, c.Altitude);
    case 5:
        return carte::formatGeneral(s.VitLat, c.Vitesses);
    case 6:
        return carte::formatGeneral(s.VitLong, c.Vitesses);
    case 7:
        return carte::formatGeneral(s.VitAlt, c.Vitesses);
    case 8:
        return QString::number(k);
    default:
        return {};
    }
}

QString TGrilleGPS::celluleIncertitude(int k, int colonne) const
{
    if (k < 0 || k >= nbStations())
        return {};
    const TStationGPS& s = d_.TabTri[static_cast<std::size_t>(k)];
    const int n = chiffres.bornes().Incertitudes;
    const QString pm = QStringLiteral("+/- ");
    switch (colonne) {
    case 2:
        return pm + carte::formatGeneral(s.IncLatitude, n) + QStringLiteral(" mm");
    case 3:
        return pm + carte::formatGeneral(s.IncLongitude, n) + QStringLiteral(" mm");
    case 4:
        return pm + carte::formatGeneral(s.IncAltitude, n);
    case 5:
        return pm + carte::formatGeneral(s.IncVitLat, n);
    case 6:
        return pm + carte::formatGeneral(s.IncVitLong, n);
    case 7:
        return pm + carte::formatGeneral(s.IncVitAlt, n);
    default:
        return {};
    }
}

QString TGrilleGPS::cellule(int ligne, int colonne) const
{
    if (ligne < LignesEntete)
        return entete(ligne, colonne);
    const int k = station(ligne);
    if (k < 0)
        return {};
    return ligneIncertitude(ligne) ? celluleIncertitude(k, colonne) : celluleStation(k, colonne);
}

void TGrilleGPS::ajouterLigne(QString& t, int ligne) const
{
    for (int c = 0; c < NbColonnes; ++c) {
        if (c > 0)
            t += QLatin1Char('\t');
        t += cellule(ligne, c);
    }
    t += QLatin1Char('\n');
}

QString TGrilleGPS::texte(const QString& titre) const
{
    return textePartie(titre, LignesEntete, nbLignes() - 1);
}

QString TGrilleGPS::textePartie(const QString& titre, int premiere, int derniere) const
{
    QString t;
    // About 60 characters a row: one allocation for the whole table.
    const int lignes = std::max(0, std::min(derniere, nbLignes() - 1) - std::max(premiere, LignesEntete) + 1);
    t.reserve(titre.size() + 1 + (LignesEntete + lignes) * 64);
    t += titre;
    t += QLatin1Char('\n');
    for (int r = 0; r < LignesEntete; ++r)
        ajouterLigne(t, r);
    for (int r = std::max(premiere, LignesEntete); r <= derniere && r < nbLignes(); ++r)
        ajouterLigne(t, r);
    return t;
}

} // namespace tableaux
