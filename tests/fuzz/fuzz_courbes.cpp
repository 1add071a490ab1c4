// Fuzzing harness: the daily positions beside a time-series picture and its
// calibration file (its first 64 bytes), driven through a calibration, the
// read-outs and velocity drags over the whole view.
#include "fuzz_commun.h"
#include "tables/courbes.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace courbes;
    const QByteArray d = fuzz::octets(data, size);
    PositionsJournalieres p;
    if (analyserPositions(d, p)) {
        fuzz::verifier(p.taille() >= 2 && p.nord.size() == p.taille() && p.est.size() == p.taille() &&
                           p.haut.size() == p.taille(),
                       "composantes de longueurs différentes");
        for (std::size_t i = 1; i < p.taille(); ++i)
            fuzz::verifier(p.t[i - 1] <= p.t[i], "jours dans le désordre");
        PositionsJournalieres relues;
        fuzz::verifier(analyserPositions(textePositions(QStringLiteral("FUZZ"), p), relues) &&
                           relues.taille() == p.taille(),
                       "positions réécrites");
        for (int axe = Latitude; axe <= Altitude; ++axe)
            if (const auto a = ajusterDroite(p, axe, p.t.front(), p.t.back()))
                fuzz::verifier(a->jours >= 2, "droite sur moins de deux jours");
    } else {
        fuzz::verifier(p.taille() == 0, "échec qui garde des positions");
    }

    Etalonnage e;
    std::optional<Etalonnage> lu;
    if (decoderEtalonnage(d.left(TailleEtalonnage), e)) {
        fuzz::verifier(d.size() >= TailleEtalonnage, "étalonnage de moins de 64 octets");
        Etalonnage relu;
        fuzz::verifier(decoderEtalonnage(octetsEtalonnage(e), relu) && relu == e, "étalonnage réécrit");
        lu = e;
    }
    TMesureCourbes m;
    TStationGPS s;
    s.VitLat = d.isEmpty() ? 0 : static_cast<unsigned char>(d[0]);
    m.ouvrir(s, lu, p);
    TBitmap32 calque(LargeurVue, HauteurVue);
    // Drags across every band, in both directions, and one calibration from the
    // bytes' own markers.
    for (int i = 0; i + 4 <= d.size() && i < 64; i += 4) {
        const int x0 = static_cast<unsigned char>(d[i]) * 3, y0 = static_cast<unsigned char>(d[i + 1]) * 3;
        const int x1 = static_cast<unsigned char>(d[i + 2]) * 3, y1 = static_cast<unsigned char>(d[i + 3]) * 3;
        if (i == 32) {
            m.definir();
            m.choisirAxe((x0 + y0) % 4);
        }
        m.appui(x0, y0);
        m.deplacement(x1, y1, true);
        m.relachement(x1, y1);
        m.deplacement(x1, y1, false);
        if (m.trace)
            dessinerTraits(calque, *m.trace);
        if (i == 40)
            m.valider();
    }
    return 0;
}
