// Fuzzing harness: the agencies' GPS velocity tables.
#include "fuzz_commun.h"
#include "data/catalogues.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TStationGPS> s(1);
    QString message;
    BilanCatalogue bilan;
    if (!lireGPSDepuis(fuzz::octets(data, size), QStringLiteral("essai.csv"), s, &message, &bilan)) {
        fuzz::verifier(s.size() == 1 && !message.isEmpty(), "échec sans message, ou sortie modifiée");
        return 0;
    }
    fuzz::verifier(s.size() == 1 + static_cast<std::size_t>(bilan.lus), "bilan");
    fuzz::dessinerStations(s);
    return 0;
}
