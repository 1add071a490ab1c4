// Fuzzing harness: the agencies' volcano lists and eruption lists.
#include "fuzz_commun.h"
#include "data/catalogues.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TVolcan> v(1);
    QString message;
    BilanCatalogue bilan;
    if (!lireVolcansDepuis(fuzz::octets(data, size), QStringLiteral("essai.csv"), v, &message, &bilan)) {
        fuzz::verifier(v.size() == 1 && !message.isEmpty(), "échec sans message, ou sortie modifiée");
        return 0;
    }
    fuzz::verifier(v.size() == 1 + static_cast<std::size_t>(bilan.lus), "bilan");
    fuzz::dessinerVolcans(v);
    return 0;
}
