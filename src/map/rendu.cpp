#include "map/rendu.h"

#include "drawing/dessins.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

bool ReglagesAffichage::agrandirVecteurs()
{
    if (EchelleVecteurs < 5) {
        EchelleVecteurs += 0.25;
        return true;
    }
    return false;
}

bool ReglagesAffichage::retrecirVecteurs()
{
    if (EchelleVecteurs > 0.5) {
        EchelleVecteurs -= 0.25;
        return true;
    }
    return false;
}

TColor32 attenuationDepuisPourcentage(int pourcentage)
{
    pourcentage = std::clamp(pourcentage, 0, 100);
    return withAlpha(clWhite32, static_cast<std::uint32_t>(carte::arrondi(pourcentage * 255.0 / 100.0)));
}

int pourcentageDepuisAttenuation(TColor32 attenuation)
{
    return carte::arrondi(alphaOf(attenuation) / 255.0 * 100.0);
}

void tracerPoint(TBitmap32& calque, int x, int y, TColor32 c, bool epais)
{
    const int w = calque.width(), h = calque.height();
    if (!epais) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            calque.setPixel(x, y, c);
        return;
    }
    if (x >= 1 && y >= 1 && x < w - 1 && y < h - 1) {
        for (int yy = y - 1; yy <= y + 1; ++yy) {
            TColor32* p = calque.scanLine(yy) + x - 1;
            p[0] = c;
            p[1] = c;
            p[2] = c;
        }
        return;
    }
    for (int yy = y - 1; yy <= y + 1; ++yy)
        for (int xx = x - 1; xx <= x + 1; ++xx)
            if (xx >= 0 && yy >= 0 && xx < w && yy < h)
                calque.setPixel(xx, yy, c);
}

int poidsProfondeur(double profondeur, double profLimite)
{
    if (profLimite <= 0)
        return profondeur <= 0 ? 255 : 0;
    const double w = (profLimite - profondeur) / profLimite;
    if (!(w > 0))
        return 0;
    return std::min(255, carte::arrondi(255 * w));
}

TColor32 couleurProfondeur(TColor32 couleur, double profondeur, double profLimite)
{
    const std::uint32_t p = static_cast<std::uint32_t>(poidsProfondeur(profondeur, profLimite));
    // Blend with black: each channel scaled by p / 255, rounded.
    auto canal = [p](std::uint32_t v) { return (v * p + 127) / 255; };
    return color32(canal(redOf(couleur)), canal(greenOf(couleur)), canal(blueOf(couleur)), 255);
}

ComposantesVecteur composantesVecteur(const TStationGPS& s, const ReferenceVecteurs& ref, double longitudeRef,
                                      bool correctionVLat)
{
    ComposantesVecteur c;
    if (ref.station < 0) {
        c.n = s.VitLat;
        c.e = s.VitLong;
        return c;
    }
    c.e = s.VitLong - ref.vitLong;
    if (correctionVLat)
        c.n = s.VitLat - std::cos((longitudeRef - s.Longitude) * M_PI / 180.0) * ref.vitLat;
    else
        c.n = s.VitLat - ref.vitLat;
    return c;
}

ComposantesVecteur composantesVecteur(const TStationGPS& s, const EtatCarte& etat, double longitudeRef,
                                      bool correctionVLat)
{
    return composantesVecteur(s, ReferenceVecteurs::de(etat), longitudeRef, correctionVLat);
}

namespace {

// Each renderer is written once over a projection type: the map's plate carrée
// gets its inlined copy, any other projection goes through the interface.
template <class F>
void selonProjection(const carte::TProjection& p, F&& f)
{
    if (const auto* pc = dynamic_cast<const carte::TPlateCarree*>(&p))
        f(*pc);
    else
        f(p);
}

template <class P>
void seismesAvec(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& r, const P& proj)
{
    calque.clear(clTransparentWhite32);
    const float mini = static_cast<float>(r.MagnitudeMini);
    // The 256 possible shaded colours, computed once.
    TColor32 teintes[256];
    for (int p = 0; p < 256; ++p) {
        auto canal = [p](std::uint32_t v) { return (v * static_cast<std::uint32_t>(p) + 127) / 255; };
        teintes[p] = color32(canal(redOf(r.CouleurSeismes)), canal(greenOf(r.CouleurSeismes)),
                             canal(blueOf(r.CouleurSeismes)), 255);
    }
    for (const TSeisme& s : seismes) {
        if (!(s.Magnitude >= mini))
            continue;
        carte::PointCarte p;
        if (!proj.versPixel(s.Longitude, s.Latitude, p))
            continue;
        tracerPoint(calque, p.x, p.y, teintes[poidsProfondeur(s.Profondeur, r.ProfLimite)], r.PointsEpais);
    }
}

template <class P>
void volcansAvec(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& r, const P& proj)
{
    calque.clear(clTransparentWhite32);
    for (const TVolcan& v : volcans) {
        carte::PointCarte p;
        if (!proj.versPixel(v.Longitude, v.Latitude, p))
            continue;
        tracerPoint(calque, p.x, p.y, r.CouleurVolcans[static_cast<std::size_t>(classeCouleurVolcan(v.TypeVolcan))],
                    r.PointsEpais);
    }
}

template <class P>
void gpsAvec(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& r, const P& proj,
             const ReferenceVecteurs& reference, double echelle, bool gpsAffiche, const TBitmap32* legende,
             int epaisseurVecteurs)
{
    calque.clear(r.Attenuation);
    if (!gpsAffiche)
        return;
    for (const TStationGPS& s : stations) {
        carte::PointCarte p;
        if (proj.versPixel(s.Longitude, s.Latitude, p))
            tracerPoint(calque, p.x, p.y, r.CouleurStations, r.PointsEpais);
    }
    const bool refValide = reference.station >= 0 && static_cast<std::size_t>(reference.station) < stations.size();
    const double longitudeRef = refValide ? stations[static_cast<std::size_t>(reference.station)].Longitude : 0;
    ReferenceVecteurs ref = reference;
    if (!refValide)
        ref.station = -1;
    const int epaisseur = epaisseurVecteurs >= 0 ? epaisseurVecteurs : (r.PointsEpais ? 1 : 0);
    // The vectors are drawn tile by tile rather than in the stations' order: the
    // pixels of neighbouring vectors are then still in the processor's cache. They
    // all have the same colour, so the order does not change the picture.
    struct Vecteur {
        std::uint32_t tuile;
        std::uint32_t station;
        int x, y, dx, dy;
    };
    constexpr int kTuile = 128;
    thread_local std::vector<Vecteur> vecteurs;
    vecteurs.clear();
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const TStationGPS& s = stations[i];
        if (s.Affiche != 1)
            continue;
        carte::PointCarte p;
        if (!proj.versPixel(s.Longitude, s.Latitude, p))
            continue;
        const ComposantesVecteur c = composantesVecteur(s, ref, longitudeRef, r.CorrectionVLat);
        double estX, estY, nordX, nordY;
        proj.repereLocal(s.Longitude, s.Latitude, estX, estY, nordX, nordY);
        const double e = c.e * echelle, n = c.n * echelle;
        const int dx = carte::arrondi(e * estX + n * nordX);
        const int dy = carte::arrondi(e * estY + n * nordY);
        if (dx == 0 && dy == 0)
            continue;
        const auto tx = static_cast<std::uint32_t>(std::clamp(p.x / kTuile, 0, 0xFFFF));
        const auto ty = static_cast<std::uint32_t>(std::clamp(p.y / kTuile, 0, 0xFFFF));
        vecteurs.push_back({ty << 16 | tx, static_cast<std::uint32_t>(i), p.x, p.y, dx, dy});
    }
    std::sort(vecteurs.begin(), vecteurs.end(), [](const Vecteur& a, const Vecteur& b) {
        return a.tuile != b.tuile ? a.tuile < b.tuile : a.station < b.station;
    });
    for (const Vecteur& v : vecteurs)
        TracerLigne(v.x, v.y, v.x + v.dx, v.y + v.dy, calque, stPlein, flFin, r.CouleurVecteurs, epaisseur);
    carte::PointCarte p;
    if (refValide && proj.versPixel(stations[static_cast<std::size_t>(ref.station)].Longitude,
                                       stations[static_cast<std::size_t>(ref.station)].Latitude, p))
        calque.frameRect(QRect(QPoint(p.x - 2, p.y - 2), QPoint(p.x + 2, p.y + 2)), 0xFFFF0000);
    if (r.LegendePlacee && legende && !legende->isEmpty())
        calque.draw(r.PosLegendeX, r.PosLegendeY, *legende, TBitmap32::DrawMode::Blend);
}

} // namespace

void dessinerSeismes(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& r,
                     const carte::TProjection& projection)
{
    selonProjection(projection, [&](const auto& p) { seismesAvec(calque, seismes, r, p); });
}

void dessinerSeismes(TBitmap32& calque, const std::vector<TSeisme>& seismes, const ReglagesAffichage& r,
                     const EtatCarte& etat)
{
    dessinerSeismes(calque, seismes, r, etat.projection());
}

void dessinerVolcans(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& r,
                     const carte::TProjection& projection)
{
    selonProjection(projection, [&](const auto& p) { volcansAvec(calque, volcans, r, p); });
}

void dessinerVolcans(TBitmap32& calque, const std::vector<TVolcan>& volcans, const ReglagesAffichage& r,
                     const EtatCarte& etat)
{
    dessinerVolcans(calque, volcans, r, etat.projection());
}

void dessinerGPS(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& r,
                 const carte::TProjection& projection, const ReferenceVecteurs& ref, double echelle, bool gpsAffiche,
                 const TBitmap32* legende, int epaisseurVecteurs)
{
    selonProjection(projection, [&](const auto& p) {
        gpsAvec(calque, stations, r, p, ref, echelle, gpsAffiche, legende, epaisseurVecteurs);
    });
}

void dessinerGPS(TBitmap32& calque, const std::vector<TStationGPS>& stations, const ReglagesAffichage& r,
                 const EtatCarte& etat, bool gpsAffiche, const TBitmap32* legende)
{
    dessinerGPS(calque, stations, r, etat.projection(), ReferenceVecteurs::de(etat), r.EchelleVecteurs, gpsAffiche,
                legende);
}

TBitmap32 construireLegende(double echelleVecteurs, TColor32 couleur)
{
    const int L = carte::arrondi(echelleVecteurs * 50);
    if (L <= 0)
        return TBitmap32();
    QFont police(QStringLiteral("Arial"));
    police.setPointSize(12);
    police.setBold(true);
    const QString texte = QStringLiteral("50 mm/an");
    const int lt = TBitmap32::textWidth(texte, police);
    const int ht = TBitmap32::textHeight(texte, police);
    const int largeur = std::max(L, lt) + 5;
    TBitmap32 b(largeur, ht + 12, withAlpha(clWhite32, 0x60));
    TracerLigne(0, 5, L, 5, b, stPlein, flFin, couleur, 1);
    b.drawText(std::max(0, (largeur - lt - 3) / 2), 10, texte, police, couleur);
    return b;
}
