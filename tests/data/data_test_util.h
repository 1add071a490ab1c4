// Helpers shared by the data tests: files in a temporary folder and a fixture that
// puts the global stores back as they were.
#pragma once

#include "data/stores.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QString ecrireTemp(const QTemporaryDir& dir, const QString& nom, const QByteArray& contenu)
{
    const QString chemin = dir.filePath(nom);
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << chemin.toStdString();
    f.write(contenu);
    return chemin;
}

inline QByteArray lireTout(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Stores of a test's own: the test bodies name them and their operations as the
// program's data object does.
struct AvecDonnees {
    TDonnees donnees;
    std::vector<TSeisme>& TabSeismes = donnees.TabSeismes;
    std::vector<TVolcan>& TabVolcans = donnees.TabVolcans;
    std::vector<TStationGPS>& TabStations = donnees.TabStations;
    std::vector<TStationGPS>& TabTri = donnees.TabTri;
    bool& SeismesCharges = donnees.SeismesCharges;
    bool& VolcansCharges = donnees.VolcansCharges;
    bool& GPSCharges = donnees.GPSCharges;

    ResultatChargement ChargerSeismes(const QString& c) { return donnees.ChargerSeismes(c); }
    ResultatChargement ChargerVolcans(const QString& c) { return donnees.ChargerVolcans(c); }
    ResultatChargement ChargerGPS(const QString& c) { return donnees.ChargerGPS(c); }
    ResultatEcriture EnregistrerSeismes(const QString& c) { return donnees.EnregistrerSeismes(c); }
    ResultatEcriture EnregistrerVolcans(const QString& c) { return donnees.EnregistrerVolcans(c); }
    ResultatEcriture EnregistrerGPS(const QString& c) { return donnees.EnregistrerGPS(c); }
    bool rangValide(int r) { return donnees.rangValide(r); }
    template <class F>
    int reconstruireTabTri(const F& f) { return donnees.reconstruireTabTri(f); }
    bool tabTriDepuisMarques() { return donnees.tabTriDepuisMarques(); }
    void afficherTousLesVecteurs(bool a) { donnees.afficherTousLesVecteurs(a); }
    bool marquerStationTri(int k, bool a) { return donnees.marquerStationTri(k, a); }
    void marquerToutTabTri(bool a) { donnees.marquerToutTabTri(a); }
    void viderSeismes() { donnees.viderSeismes(); }
    void viderVolcans() { donnees.viderVolcans(); }
    void viderStations() { donnees.viderStations(); }
    void viderMemoire(bool s, bool v, bool g) { donnees.viderMemoire(s, v, g); }
};

class StoresFixture : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString ecrire(const QString& nom, const QByteArray& contenu) { return ecrireTemp(dir, nom, contenu); }

    QTemporaryDir dir;
};
