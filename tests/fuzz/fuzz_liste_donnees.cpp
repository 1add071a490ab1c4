// Fuzzing harness: the data lists (.cft).
#include "fuzz_commun.h"
#include "app/listedonnees.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<EntreeListe> entrees =
        analyserListeDonnees(fuzz::octets(data, size), QStringLiteral("/dossier/des/listes"));
    for (const EntreeListe& e : entrees) {
        fuzz::verifier(!e.chemin.contains(QLatin1Char('\\')), "séparateur de dossiers");
        genreFichierListe(e.chemin);
    }
    return 0;
}
