// Fuzzing harness: the GPS velocity table import ("POS " and "VEL " lines).
#include "fuzz_commun.h"
#include "data/textimport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TStationGPS> s;
    int ligne = 0;
    if (!importerGPSTexte(fuzz::octets(data, size), s, &ligne))
        fuzz::verifier(ligne >= 1, "ligne de l'erreur");
    for (std::size_t i = 0; i < s.size(); ++i)
        fuzz::verifier(s[i].Rang == static_cast<std::int16_t>(i), "rang des stations");
    fuzz::dessinerStations(s);
    return 0;
}
