#include "data/records.h"

std::vector<TSeisme> TabSeismes;
std::vector<TVolcan> TabVolcans;
std::vector<TStationGPS> TabStations;
std::vector<TStationGPS> TabTri;

bool SeismesCharges = false;
bool VolcansCharges = false;
bool GPSCharges = false;
