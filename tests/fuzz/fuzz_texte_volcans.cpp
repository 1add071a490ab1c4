// Fuzzing harness: the fixed-column volcano list import.
#include "fuzz_commun.h"
#include "data/textimport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<TVolcan> v(1);
    const int n = importerVolcansTexte(fuzz::octets(data, size), v);
    fuzz::verifier(n >= 0 && v.size() == 1 + static_cast<std::size_t>(n), "volcans ajoutés");
    fuzz::dessinerVolcans(v);
    return 0;
}
