// Fuzzing harness: MIDAS velocities joined with a station list (the two parts separated by a line "%%").
#include "fuzz_commun.h"
#include "data/catalogues.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray d = fuzz::octets(data, size);
    const qsizetype coupure = d.indexOf("\n%%\n");
    const QByteArray vitesses = coupure < 0 ? d : d.left(coupure + 1);
    const QByteArray liste = coupure < 0 ? QByteArray() : d.mid(coupure + 4);
    std::vector<TStationGPS> s;
    QString message;
    BilanCatalogue bilan;
    if (!lireMidas(vitesses, liste, QStringLiteral("essai.txt"), s, &message, &bilan, size % 2 ? 2.5 : 0)) {
        fuzz::verifier(s.empty() && !message.isEmpty(), "échec sans message, ou sortie modifiée");
        return 0;
    }
    fuzz::dessinerStations(s);
    return 0;
}
