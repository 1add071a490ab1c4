// Fuzzing harness: the PNG decoder.
#include "fuzz_commun.h"
#include "ui/codecs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::essayerDecodeur(&decodePng, fuzz::octets(data, size));
    return 0;
}
