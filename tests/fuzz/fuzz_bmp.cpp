// Fuzzing harness: the BMP decoder (and Qt's, for run-length pictures).
#include "fuzz_commun.h"
#include "ui/codecs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::essayerDecodeur(&decodeBmp, fuzz::octets(data, size));
    return 0;
}
