// Fuzzing harness: the earthquake records of .fse files.
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
    std::vector<TSeisme> s;
    bool tronque = false;
    decoderSeismes(d, s, &tronque);
    fuzz::verifier(s.size() == size / TailleSeisme && tronque == (size % TailleSeisme != 0), "nombre de séismes");
    // Written back, the records give the same bytes.
    const QByteArray ecrit = encoderSeismes(s);
    fuzz::verifier(ecrit == d.left(ecrit.size()), "séismes réécrits");
    fuzz::dessinerSeismes(s);
    return 0;
}
