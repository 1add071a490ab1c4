// Operations on the process-wide stores: the GPS table store TabTri, the display
// marks (Affiche) of the stations and the emptying of a kind's store.
#pragma once

#include "data/records.h"

#include <functional>

// True when `rang` designates a station of TabStations.
bool rangValide(int rang);

// The table window's latitude/longitude window (bounds included; Longmin > Longmax
// is a window across the 180° meridian). A station whose IncVitLat is 0 never passes.
struct FiltreZone {
    double Latmin = -90, Latmax = 90, Longmin = -180, Longmax = 180;
    bool passe(const TStationGPS& s) const;
};

// Empties TabTri, then for every station of TabStations in order: a station that
// passes gets Rang = its index and Affiche = 1 and is copied to the end of TabTri;
// the others get Rang = -1 and Affiche = 0. A passing station beyond index 32767
// cannot be designated by Rang: it is marked displayed but not listed. Returns the
// length of TabTri.
int reconstruireTabTri(const std::function<bool(const TStationGPS&)>& passe);
int reconstruireTabTri(const FiltreZone& filtre);

// Only when TabTri is empty: copies every station of TabStations whose Rang is not
// -1, with Affiche = 1 on the copy. Returns true when TabTri was filled this way.
bool tabTriDepuisMarques();

// Sets Affiche of every station of TabStations (the map's "show all / none").
void afficherTousLesVecteurs(bool affiche);
// Sets Affiche of TabTri[k] and of the station its Rang designates (a Rang that
// designates nothing is not followed). False when k is out of range.
bool marquerStationTri(int k, bool affiche);
// The same for every station of TabTri.
void marquerToutTabTri(bool affiche);

// Empties one kind's store and clears its load flag. Emptying the stations also
// empties TabTri, whose copies would otherwise designate stations that are gone.
void viderSeismes();
void viderVolcans();
void viderStations();
// "Vider la mémoire": empties the kinds whose map layer is not displayed.
void viderMemoire(bool seismesAffiches, bool volcansAffiches, bool gpsAffiches);
