// Helpers shared by the data tests: files in a temporary folder and a fixture that
// puts the global stores back as they were.
#pragma once

#include "data/records.h"

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

class StoresFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        seismes = TabSeismes;
        volcans = TabVolcans;
        stations = TabStations;
        tri = TabTri;
        flags[0] = SeismesCharges;
        flags[1] = VolcansCharges;
        flags[2] = GPSCharges;
        TabSeismes.clear();
        TabVolcans.clear();
        TabStations.clear();
        TabTri.clear();
        SeismesCharges = VolcansCharges = GPSCharges = false;
    }
    void TearDown() override
    {
        TabSeismes = seismes;
        TabVolcans = volcans;
        TabStations = stations;
        TabTri = tri;
        SeismesCharges = flags[0];
        VolcansCharges = flags[1];
        GPSCharges = flags[2];
    }
    QString ecrire(const QString& nom, const QByteArray& contenu) { return ecrireTemp(dir, nom, contenu); }

    QTemporaryDir dir;

private:
    std::vector<TSeisme> seismes;
    std::vector<TVolcan> volcans;
    std::vector<TStationGPS> stations, tri;
    bool flags[3] = {};
};
