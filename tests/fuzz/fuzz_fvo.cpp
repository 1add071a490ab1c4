// Fuzzing harness: the volcano records of .fvo files.
#include "fuzz_commun.h"
#include "data/loaders.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray d = fuzz::octets(data, size);
    std::vector<TVolcan> v, relus;
    bool tronque = false;
    decoderVolcans(d, v, &tronque);
    fuzz::verifier(v.size() == size / TailleVolcan && tronque == (size % TailleVolcan != 0), "nombre de volcans");
    // Written back and read again, the records stay the same.
    const QByteArray ecrit = encoderVolcans(v);
    decoderVolcans(ecrit, relus);
    fuzz::verifier(encoderVolcans(relus) == ecrit, "volcans réécrits");
    fuzz::dessinerVolcans(v);
    return 0;
}
