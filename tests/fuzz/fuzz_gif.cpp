// Fuzzing harness: the GIF decoder.
#include "fuzz_commun.h"
#include "ui/codecs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::essayerDecodeur(&decodeGif, fuzz::octets(data, size));
    return 0;
}
