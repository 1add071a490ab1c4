// View state of the map window: map size, longitude shift, zoom bounds, base
// picture flags and the reference ("fixed") GPS station.
#pragma once

#include "data/records.h"
#include "map/projection.h"

#include <QByteArray>

#include <vector>

struct EtatCarte {
    int W = 0;                 // LargeurCarte: map pixels for 360° of longitude
    int H = 0;                 // HauteurCarte: map pixels for 180° of latitude
    int Decalage = 0;          // longitude shift, whole degrees, -180 … 180
    int LongMinVisible = -180;
    int LongMaxVisible = 180;
    double EchelleMin = 1;
    double EchelleMax = 1;
    int DiviseurZoom = 100;
    bool FondNBAffiche = false;
    bool CartePrecise = false;

    // Reference station: index in TabStations, -1 when none.
    int StationRef = -1;
    double VitLatRef = 0;
    double VitLongRef = 0;
    int PosRefX = 0;
    int PosRefY = 0;
    // What the reference designated when it was chosen, to recognise it after a reload.
    QByteArray NomRef;
    double LatRef = 0;
    double LongRef = 0;

    // The projection of the map in its current size and shift.
    carte::TPlateCarree projection() const { return {W, H, Decalage}; }
    carte::PointCarte versCarte(double longitude, double latitude) const
    {
        return carte::geoVersCarte(longitude, latitude, W, H, Decalage);
    }
    carte::PositionGeo versGeo(double mx, double my) const { return carte::carteVersGeo(mx, my, W, H, Decalage); }

    void fixerDecalage(int d)
    {
        Decalage = d;
        LongMinVisible = -d - 180;
        LongMaxVisible = 180 - d;
    }

    // Makes station i the reference: its velocities, index and map pixel.
    void choisirStationRef(const std::vector<TStationGPS>& stations, int i)
    {
        const TStationGPS& s = stations[static_cast<std::size_t>(i)];
        StationRef = i;
        VitLatRef = s.VitLat;
        VitLongRef = s.VitLong;
        NomRef = s.Nom.bytes();
        LatRef = s.Latitude;
        LongRef = s.Longitude;
        const carte::PointCarte p = versCarte(s.Longitude, s.Latitude);
        PosRefX = p.x;
        PosRefY = p.y;
    }
    void remiseAZero()
    {
        StationRef = -1;
        VitLatRef = 0;
        VitLongRef = 0;
        NomRef.clear();
    }
    // Map pixel of the reference station for the current size and shift.
    void replacerStationRef()
    {
        const carte::PointCarte p = versCarte(LongRef, LatRef);
        PosRefX = p.x;
        PosRefY = p.y;
    }
    // A reference index that no longer designates the chosen station (the stations
    // were reloaded or emptied) is cleared; true when it was.
    bool validerStationRef(const std::vector<TStationGPS>& stations)
    {
        if (StationRef < 0)
            return false;
        const bool perdue = static_cast<std::size_t>(StationRef) >= stations.size()
                            || stations[static_cast<std::size_t>(StationRef)].Nom.bytes() != NomRef
                            || stations[static_cast<std::size_t>(StationRef)].Latitude != LatRef
                            || stations[static_cast<std::size_t>(StationRef)].Longitude != LongRef;
        if (perdue) {
            remiseAZero();
            return true;
        }
        return false;
    }
};
