// Fuzzing harness: the elevation grid (first byte: the step in the file's name, the rest: the file).
#include "fuzz_commun.h"
#include "map/grille.h"
#include "map/lecture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TGrilleAltitude grille;
    static const char* const noms[] = {"alti_10.bin", "alti_20.bin", "alti_30.bin", "alti_60.bin", "altitudes.bin",
                                       "alti_5.bin"};
    if (size == 0)
        return 0;
    const QString nom = QString::fromLatin1(noms[data[0] % 6]);
    grille.chargerOctets(nom, fuzz::octets(data + 1, size - 1));
    fuzz::verifier(grille.charge() && grille.f() >= 1 && grille.f() <= 6, "pas de la grille");
    fuzz::verifier(grille.mini() <= grille.maxi(), "mini et maxi");
    grille.texteMiniMaxi();
    // The readout of a few map pixels, as the pointer moves over a shifted map.
    for (int i = 0; i < 8; ++i) {
        const int x = (i * 53 + (size > 1 ? data[1] : 0)) % 360, y = (i * 29) % 180;
        const carte::IndicesGrille g = carte::indicesGrille(x, y, 360, 180, 90, grille.f());
        const int z = g.surGrille ? grille.altitude(g.ligne, g.colonne) : 0;
        fuzz::verifier((z >= grille.mini() && z <= grille.maxi()) || z == 0, "altitude lue");
        carte::textesPositionMouvement(x - 180.0, 90.0 - y, g.surGrille, z);
        grille.largeur(g.ligne % (TGrilleAltitude::DemiLignes + 1));
    }
    return 0;
}
