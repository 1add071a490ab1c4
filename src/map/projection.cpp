#include "map/projection.h"

namespace carte {

PositionGeo carteVersGeo(double mx, double my, int W, int H, int decalage)
{
    PositionGeo g;
    if (W <= 0 || H <= 0)
        return g;
    g.longitude = ramenerLongitude((mx - W / 2.0) / W * 360.0 - decalage);
    g.latitude = (H / 2.0 - my) / H * 180.0;
    return g;
}

PointCarte vueVersCarte(double vx, double vy, double offsetX, double offsetY, double zoom)
{
    if (zoom <= 0)
        zoom = 1;
    return {arrondi((vx - offsetX) / zoom), arrondi((vy - offsetY) / zoom)};
}

double angleGrandCercle(double lon1, double lat1, double lon2, double lat2)
{
    constexpr double rad = M_PI / 180.0;
    const double p1 = lat1 * rad, p2 = lat2 * rad;
    const double c = std::sin(p2) * std::sin(p1) + std::cos(p2) * std::cos(p1) * std::cos((lon1 - lon2) * rad);
    if (c >= 1)
        return 0;
    if (c <= -1)
        return M_PI;
    return std::acos(c);
}

int distanceGrandCercle(double lon1, double lat1, double lon2, double lat2)
{
    return arrondi(angleGrandCercle(lon1, lat1, lon2, lat2) * 6371.0);
}

int stationLaPlusProche(const std::vector<TStationGPS>& stations, double longitude, double latitude)
{
    return indiceLePlusProche(stations, longitude, latitude);
}

double echelleMinPour(int largeurClient, int W)
{
    if (W <= 0)
        return 1;
    return static_cast<double>(largeurClient) / W - 0.01;
}

double echelleMaxPour(int W)
{
    if (W <= 0)
        return 1;
    return 14400.0 / W;
}

int positionZoom(double echelle, int diviseur)
{
    if (echelle <= 0)
        echelle = 1e-3;
    return arrondi(std::log(echelle) * diviseur);
}

double echelleDePosition(int position, int diviseur)
{
    return std::exp(static_cast<double>(position) / diviseur);
}

} // namespace carte
