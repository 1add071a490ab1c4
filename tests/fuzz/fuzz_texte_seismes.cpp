// Fuzzing harness: the fixed-column earthquake catalogue import.
#include "fuzz_commun.h"
#include "data/textimport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TSeisme> s(1);
    const int n = importerSeismesTexte(fuzz::octets(data, size), s);
    fuzz::verifier(n >= 0 && s.size() == 1 + static_cast<std::size_t>(n), "séismes ajoutés");
    fuzz::dessinerSeismes(s);
    return 0;
}
