// Fuzzing harness: the three plate products (boundaries, outlines, poles). The
// first byte picks the reader; what is read goes through the plate lookup, the
// drawing of the boundaries on the map and on two panels, and the pole fit.
#include "fuzz_commun.h"
#include "map/projection.h"
#include "plates/cinematique.h"
#include "plates/dessinplaques.h"
#include "plates/modele.h"
#include "plates/plaques.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray d = fuzz::octets(data + 1, size - 1);
    const QString nom = QStringLiteral("f.txt");
    QString erreur;
    plaques::TModelePlaques m;
    switch (data[0] % 3) {
    case 0: {
        const bool ok = plaques::analyserLimites(d, nom, m.limites, erreur);
        fuzz::verifier(ok != m.limites.empty(), "limites lues sans succès, ou succès sans limite");
        fuzz::verifier(ok || (erreur.contains(nom) && m.limites.empty()), "échec sans message ou limites gardées");
        if (!ok)
            return 0;
        for (const plaques::SegmentLimite& s : m.limites)
            fuzz::verifier(s.types.size() + 1 == s.points.size(), "un type par pas");
        plaques::StyleLimites style;
        plaques::TracesCalque traces;
        TBitmap32 b(360, 180);
        for (int decalage : {0, 90}) {
            plaques::dessinerLimites(b, m.limites, carte::TPlateCarree(360, 180, decalage), style, &traces);
            style.echelle = 2;
        }
        return 0;
    }
    case 1: {
        const bool ok = plaques::analyserContours(d, nom, m.contours, erreur);
        fuzz::verifier(ok || (erreur.contains(nom) && m.contours.empty()), "échec sans message ou contours gardés");
        if (!ok)
            return 0;
        m.indexer();
        for (double lat = -90; lat <= 90; lat += 7.5)
            for (double lon = -180; lon <= 180; lon += 11.25) {
                const int i = m.plaqueEn(lon, lat);
                fuzz::verifier(i >= -1 && i < static_cast<int>(m.contours.size()), "plaque hors de la liste");
            }
        return 0;
    }
    default: {
        const bool ok = plaques::analyserPoles(d, nom, m.poles, erreur);
        fuzz::verifier(ok || (erreur.contains(nom) && m.poles.empty()), "échec sans message ou pôles gardés");
        if (!ok)
            return 0;
        // Stations moving with each pole, fitted again.
        for (const plaques::PoleEuler& p : m.poles) {
            const plaques::Vec3 w = plaques::vecteurRotation({p.latitude, p.longitude, p.vitesse});
            fuzz::verifier(std::isfinite(w.x) && std::isfinite(w.y) && std::isfinite(w.z), "rotation finie");
            std::vector<TStationGPS> st;
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j) {
                    TStationGPS s;
                    s.Longitude = -20 + 10 * i;
                    s.Latitude = -15 + 10 * j;
                    const plaques::VitesseSurface v = plaques::vitessePredite(w, s.Longitude, s.Latitude);
                    s.VitLong = v.est;
                    s.VitLat = v.nord;
                    st.push_back(s);
                }
            const plaques::ResultatAjustement r = plaques::ajusterRotation(st);
            fuzz::verifier(r.ok && std::fabs(r.pole.vitesse - p.vitesse) <= 1e-6 * (1 + p.vitesse), "pôle retrouvé");
        }
        return 0;
    }
    }
}
