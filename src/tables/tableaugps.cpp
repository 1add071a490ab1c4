#include "tables/tableaugps.h"

#include "data/decimal.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <cmath>
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

void ajouterGeneral(QByteArray& out, double v, int chiffres)
{
    if (!std::isfinite(v) || v == 0) {
        out += '0';
        return;
    }
    chiffres = std::max(1, chiffres);
    char buf[64];
    const auto e = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, chiffres - 1);
    const char* posE = std::find(buf, e.ptr, 'e');
    int exposant = 0;
    std::from_chars(posE + (posE[1] == '+' ? 2 : 1), e.ptr, exposant);
    const char separateur = SeparateurDecimal();
    // Digits after a point, without their trailing zeros (nor a point left alone).
    auto ajouterSansZeros = [&](const char* debut, const char* fin) {
        const char* point = std::find(debut, fin, '.');
        if (point != fin) {
            while (fin > point + 1 && fin[-1] == '0')
                --fin;
            if (fin == point + 1)
                fin = point;
        }
        for (const char* c = debut; c < fin; ++c)
            out += *c == '.' ? separateur : *c;
    };
    if (exposant + 1 <= chiffres && std::fabs(v) >= 0.00001) {
        const int decimales = std::max(0, chiffres - 1 - exposant);
        const auto f = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimales);
        ajouterSansZeros(buf, f.ptr);
    } else {
        ajouterSansZeros(buf, posE);
        out += 'E';
        out += exposant < 0 ? '-' : '+';
        out += QByteArray::number(std::abs(exposant));
    }
}

void TGrilleGPS::ajouterCellule(QByteArray& out, int ligne, int colonne) const
{
    if (ligne < LignesEntete) {
        out += entete(ligne, colonne).toUtf8();
        return;
    }
    const int k = station(ligne);
    if (k < 0 || colonne < 0 || colonne >= NbColonnes)
        return;
    const TStationGPS& s = d_.TabTri[static_cast<std::size_t>(k)];
    const Chiffres c = chiffres.bornes();
    if (ligneIncertitude(ligne)) {
        static const double TStationGPS::*const inc[NbColonnes] = {nullptr,
                                                                   nullptr,
                                                                   &TStationGPS::IncLatitude,
                                                                   &TStationGPS::IncLongitude,
                                                                   &TStationGPS::IncAltitude,
                                                                   &TStationGPS::IncVitLat,
                                                                   &TStationGPS::IncVitLong,
                                                                   &TStationGPS::IncVitAlt,
                                                                   nullptr};
        if (!inc[colonne])
            return;
        out += "+/- ";
        ajouterGeneral(out, s.*inc[colonne], c.Incertitudes);
        if (colonne == ColonneLatitude || colonne == ColonneLongitude)
            out += " mm";
        return;
    }
    switch (colonne) {
    case 0:
        // cp1252 bytes: ASCII as they are, the rest through Unicode.
        if (std::all_of(s.Nom.Ch, s.Nom.Ch + std::min<int>(s.Nom.Len, 5),
                        [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
            out += s.Nom.bytes();
        else
            out += shortToQString(s.Nom).toUtf8();
        break;
    case 1:
        if (stationAffichee(d_, k))
            out += 'X';
        break;
    case 2:
        ajouterGeneral(out, s.Latitude, c.LatLong);
        break;
    case 3:
        ajouterGeneral(out, s.Longitude, c.LatLong);
        break;
    case 4:
        ajouterGeneral(out, s.Altitude, c.Altitude);
        break;
    case 5:
        ajouterGeneral(out, s.VitLat, c.Vitesses);
        break;
    case 6:
        ajouterGeneral(out, s.VitLong, c.Vitesses);
        break;
    case 7:
        ajouterGeneral(out, s.VitAlt, c.Vitesses);
        break;
    case 8:
        out += QByteArray::number(k);
        break;
    default:
        break;
    }
}

QString TGrilleGPS::cellule(int ligne, int colonne) const
{
    QByteArray t;
    ajouterCellule(t, ligne, colonne);
    return QString::fromUtf8(t);
}

void TGrilleGPS::ajouterLigne(QByteArray& t, int ligne) const
{
    for (int c = 0; c < NbColonnes; ++c) {
        if (c > 0)
            t += '\t';
        ajouterCellule(t, ligne, c);
    }
    t += '\n';
}

QString TGrilleGPS::texte(const QString& titre) const
{
    return textePartie(titre, LignesEntete, nbLignes() - 1);
}

QString TGrilleGPS::textePartie(const QString& titre, int premiere, int derniere) const
{
    QByteArray t;
    // About 60 bytes a row: one allocation for the whole table.
    const int lignes = std::max(0, std::min(derniere, nbLignes() - 1) - std::max(premiere, LignesEntete) + 1);
    t.reserve(titre.size() + 1 + (LignesEntete + lignes) * 64);
    t += titre.toUtf8();
    t += '\n';
    for (int r = 0; r < LignesEntete; ++r)
        ajouterLigne(t, r);
    for (int r = std::max(premiere, LignesEntete); r <= derniere && r < nbLignes(); ++r)
        ajouterLigne(t, r);
    return QString::fromUtf8(t);
}

} // namespace tableaux
