// The data the program works on: the earthquake, volcano and GPS station stores,
// the GPS table store, their load flags, and everything that changes them
// (loading, emptying, the table filter, the vector marks).
//
// One object holds them all and is passed by reference to what reads them. Every
// change goes through its operations, which tell the listeners which stores
// changed, so that views (the map's layers, the table, the sections) follow
// without each command remembering to redraw them.
#pragma once

#include "data/loaders.h"
#include "data/records.h"

#include <functional>
#include <map>

// The table window's latitude/longitude window (bounds included; Longmin > Longmax
// is a window across the 180° meridian). A station whose IncVitLat is 0 never passes.
struct FiltreZone {
    double Latmin = -90, Latmax = 90, Longmin = -180, Longmax = 180;
    bool passe(const TStationGPS& s) const;
};

class TDonnees {
public:
    // What changed, as flags (several stores may change at once).
    enum Magasin : unsigned {
        Seismes = 1,
        Volcans = 2,
        Stations = 4, // the stations, or only their Affiche marks
        Tri = 8,      // TabTri
    };
    using Ecouteur = std::function<void(unsigned magasins)>;

    TDonnees() = default;
    TDonnees(const TDonnees&) = delete;
    TDonnees& operator=(const TDonnees&) = delete;

    // The stores, filled by the loaders. Readers index them directly; nobody keeps
    // a pointer into them across a change.
    std::vector<TSeisme> TabSeismes;
    std::vector<TVolcan> TabVolcans;
    std::vector<TStationGPS> TabStations;
    std::vector<TStationGPS> TabTri; // stations retained by the table filter, in table order

    // Set when a loader has run for the kind, cleared when its store is emptied.
    bool SeismesCharges = false;
    bool VolcansCharges = false;
    bool GPSCharges = false;

    // Listeners are called after each change, with the stores that changed. The
    // returned number forgets the listener.
    int ecouter(Ecouteur e);
    void oublier(int numero);
    // For changes made directly in the stores (tests, the table's check boxes).
    void annoncer(unsigned magasins);

    // Loaders: see loaders.h. A load that keeps nothing changes nothing and
    // announces nothing.
    ResultatChargement ChargerSeismes(const QString& chemin);
    ResultatChargement ChargerVolcans(const QString& chemin);
    ResultatChargement ChargerGPS(const QString& chemin);
    // Writers: every earthquake, every volcano, the displayed stations.
    ResultatEcriture EnregistrerSeismes(const QString& chemin) const;
    ResultatEcriture EnregistrerVolcans(const QString& chemin) const;
    ResultatEcriture EnregistrerGPS(const QString& chemin) const;

    // True when `rang` designates a station of TabStations.
    bool rangValide(int rang) const;

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
    // Sets Affiche of station i of TabStations; false when i designates none.
    bool marquerStation(int i, bool affiche);
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

private:
    std::map<int, Ecouteur> ecouteurs_;
    int prochain_ = 1;
};
