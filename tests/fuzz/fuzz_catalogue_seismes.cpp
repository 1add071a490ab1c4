// Fuzzing harness: the agencies' earthquake catalogues (CSV, GeoJSON, tables).
#include "fuzz_commun.h"
#include "data/catalogues.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TSeisme> s(1);
    QString message;
    BilanCatalogue bilan;
    if (!lireSeismesDepuis(fuzz::octets(data, size), QStringLiteral("essai.csv"), s, &message, &bilan)) {
        fuzz::verifier(s.size() == 1 && !message.isEmpty(), "échec sans message, ou sortie modifiée");
        return 0;
    }
    fuzz::verifier(s.size() == 1 + static_cast<std::size_t>(bilan.lus) && bilan.ignores >= 0, "bilan");
    fuzz::dessinerSeismes(s);
    return 0;
}
