// The data file commands of the map's "&Fichier" menu: loading earthquakes,
// volcanoes, GPS stations and a base picture, and saving the earthquakes, the
// volcanoes and the displayed vectors.
#pragma once

#include <QString>

class TCarte;

class TCommandesFichiers {
public:
    explicit TCommandesFichiers(TCarte& carte);

    // Loads a file of the kind and, when the store was replaced, shows its layer;
    // says what the load has to say (error, or warning for a partial load). False
    // when nothing was loaded: the map is then as it was.
    bool chargerGPS(const QString& chemin);
    bool chargerSeismes(const QString& chemin);
    bool chargerVolcans(const QString& chemin);

    void OuvrirunfichierGPS1Click();
    void OuvrirunfichierSeismes1Click();
    void Chargerunfichierdevolcans1Click();
    void Chargerunfonddecarte1Click();
    void Enregistrerlefichierdeseismes1Click();
    void Enregistrerlefichierdevolcans1Click();
    void EnregistrerlesvecteursaffichescommedonneesGPS1Click();

private:
    TCarte& carte_;
};
