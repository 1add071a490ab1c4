// Helpers of the section tests: elevation grids with a known pattern, the map a
// section is built from, records placed by hand.
#pragma once

#include "data/records.h"
#include "map/grille.h"
#include "section/construction.h"

#include <QByteArray>

#include <functional>
#include <memory>

// The ten-minute grid's bytes with altitude(row, column) for every node (rows
// north first, columns west first, little-endian 16-bit).
inline QByteArray octetsGrille(const std::function<int(int ligne, int colonne)>& altitude)
{
    QByteArray b;
    b.resize(TGrilleAltitude::Lignes * TGrilleAltitude::Colonnes * 2);
    qsizetype i = 0;
    for (int j = TGrilleAltitude::DemiLignes; j >= -TGrilleAltitude::DemiLignes; --j)
        for (int k = -TGrilleAltitude::DemiColonnes; k <= TGrilleAltitude::DemiColonnes; ++k) {
            const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(altitude(j, k)));
            b[i++] = static_cast<char>(v & 0xFF);
            b[i++] = static_cast<char>(v >> 8);
        }
    return b;
}

inline std::unique_ptr<TGrilleAltitude> grilleMotif(const std::function<int(int, int)>& altitude)
{
    auto g = std::make_unique<TGrilleAltitude>();
    g->chargerOctets(QStringLiteral("topo_10.bil"), octetsGrille(altitude));
    return g;
}

// The grid whose altitude is the column index: a profile tells where it was sampled.
inline const TGrilleAltitude& grilleColonnes()
{
    static const std::unique_ptr<TGrilleAltitude> g = grilleMotif([](int, int k) { return k; });
    return *g;
}

inline TSeisme seisme(double lon, double lat, double profondeur, double magnitude)
{
    TSeisme s;
    s.Longitude = static_cast<float>(lon);
    s.Latitude = static_cast<float>(lat);
    s.Profondeur = static_cast<float>(profondeur);
    s.Magnitude = static_cast<float>(magnitude);
    return s;
}

inline TVolcan volcan(double lon, double lat, double altitude)
{
    TVolcan v;
    v.Longitude = static_cast<float>(lon);
    v.Latitude = static_cast<float>(lat);
    v.Altitude = static_cast<float>(altitude);
    return v;
}

// Map pixel of a position on a 3600 x 1800 map shifted by `decalage`.
inline QPoint pixelCarte(double lon, double lat, int decalage = 0, int W = 3600, int H = 1800)
{
    double l = lon + decalage;
    while (l > 180)
        l -= 360;
    while (l < -180)
        l += 360;
    return QPoint(static_cast<int>(std::lround(l / 360.0 * W + W / 2.0)),
                  static_cast<int>(std::lround(H / 2.0 - lat / 180.0 * H)));
}
