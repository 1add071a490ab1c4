// Fingerprints of fixed GPS layers: a few thousand stations, spread over the globe
// and crowded in two regions as real networks are, drawn on the map's plate carrée
// (hairlines and thick points, absolute and relative vectors) and around a pole
// (the thick vectors of both builds). Any change to a single pixel fails here.
#include "map/etatcarte.h"
#include "map/rendu.h"
#include "projections/polaire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

namespace {

// A gcc build and a clang build draw these layers with some pixels apart (each
// build always the same ones): each compiler has its own fingerprints, the clang
// ones recorded from the same code as the gcc ones.
#if defined(__clang__)
#define E(gcc, clang) clang
#else
#define E(gcc, clang) gcc
#endif

std::uint64_t Empreinte(const TBitmap32& b)
{
    std::uint64_t h = 1469598103934665603ull;
    auto mele = [&h](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    };
    mele(static_cast<std::uint32_t>(b.width()));
    mele(static_cast<std::uint32_t>(b.height()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            mele(b.pixel(x, y));
    return h;
}

// Stations moving as on a few rigid plates (velocities varying smoothly with the
// position), with a little noise: vectors overlap in the crowded regions.
std::vector<TStationGPS> Stations()
{
    std::mt19937 alea(12345);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<TStationGPS> s;
    auto ajouter = [&](double lon, double lat) {
        TStationGPS g;
        g.Longitude = lon;
        g.Latitude = lat;
        const double lo = lon * M_PI / 180, la = lat * M_PI / 180;
        g.VitLat = 25 * std::sin(lo + 0.3) * std::cos(la) + 4 * (u(alea) - 0.5);
        g.VitLong = 30 * std::cos(2 * lo) + 15 * std::sin(la) + 4 * (u(alea) - 0.5);
        g.Affiche = 1;
        s.push_back(g);
    };
    for (int i = 0; i < 1500; ++i)
        ajouter(-180 + 360 * u(alea), std::asin(2 * u(alea) - 1) * 180 / M_PI);
    for (int i = 0; i < 900; ++i) // western North America
        ajouter(-125 + 12 * u(alea), 32 + 12 * u(alea));
    for (int i = 0; i < 600; ++i) // Japan
        ajouter(130 + 12 * u(alea), 30 + 14 * u(alea));
    s[7].Affiche = 0; // a station whose vector is hidden
    return s;
}

} // namespace

TEST(EmpreintesGPS, MapLayersDrawTheSamePixelsAsBefore)
{
    const std::vector<TStationGPS> s = Stations();
    struct Cas {
        const char* nom;
        int W;
        bool epais;
        int reference;
        std::uint64_t attendue;
    } cas[] = {
        {"1440, traits fins", 1440, false, -1, E(0x1f431723dc0bb43dull, 0xad538d742a6ee5a1ull)},
        {"1440, points épais, relatifs", 1440, true, 1600, E(0x6fb292a7779b48fbull, 0xfb97524ba055d635ull)},
        {"2880, points épais", 2880, true, -1, E(0x27da2c06ef838878ull, 0x20752d6cff7dbee0ull)},
    };
    for (const Cas& c : cas) {
        EtatCarte e;
        e.W = c.W;
        e.H = c.W / 2;
        if (c.reference >= 0)
            e.choisirStationRef(s, c.reference);
        ReglagesAffichage r;
        r.PointsEpais = c.epais;
        r.Attenuation = attenuationDepuisPourcentage(30);
        r.EchelleVecteurs = 1.5;
        TBitmap32 calque(e.W, e.H);
        dessinerGPS(calque, s, r, e, true, nullptr);
        const std::uint64_t h = Empreinte(calque);
        EXPECT_EQ(h, c.attendue) << c.nom << ": 0x" << std::hex << h;
    }
}

TEST(EmpreintesGPS, PolarLayersDrawTheSamePixelsAsBefore)
{
    const std::vector<TStationGPS> s = Stations();
    const polaire::TProjectionPolaire p(900, 50, -75);
    struct Cas {
        const char* nom;
        int largeurSource;
        bool relatifs;
        std::uint64_t attendue;
    } cas[] = {
        {"vecteurs de 3", 7200, false, E(0xfeb0aafee50755e2ull, 0x7ce96578c73378fcull)},
        {"vecteurs de 3, relatifs", 7200, true, E(0xaf0e5a204b75ea7aull, 0x585f0d7e761db233ull)},
        {"vecteurs de 2", 3600, false, E(0x63768a29245a6353ull, 0x55048e46b30ee57bull)},
    };
    for (const Cas& c : cas) {
        ReferenceVecteurs ref;
        if (c.relatifs)
            ref = {1600, s[1600].VitLat, s[1600].VitLong};
        TBitmap32 calque;
        polaire::dessinerGPSPolaires(calque, s, ReglagesAffichage(), ref, polaire::vecteursPolaires(c.largeurSource),
                                     p);
        const std::uint64_t h = Empreinte(calque);
        EXPECT_EQ(h, c.attendue) << c.nom << ": 0x" << std::hex << h;
    }
}
