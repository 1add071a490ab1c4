// Fuzzing harness: the station records of .gps files.
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
    std::vector<TStationGPS> s, relues;
    bool tronque = false;
    decoderStations(d, s, &tronque);
    fuzz::verifier(s.size() == size / TailleStation && tronque == (size % TailleStation != 0), "nombre de stations");
    const QByteArray ecrit = encoderStations(s);
    decoderStations(ecrit, relues);
    fuzz::verifier(encoderStations(relues) == ecrit, "stations réécrites");
    fuzz::dessinerStations(s);
    return 0;
}
