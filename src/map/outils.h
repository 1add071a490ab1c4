// The map's mouse tools: consultation (readout, the station pop-up, the fixed
// station), zone delimitation, great-circle arc, path following, and the rubber
// line of the section mode.
#pragma once

#include "map/modes.h"

namespace carte {

class TOutilConsultation : public TOutilSouris {
public:
    void appui(TInteraction& m, BoutonSouris b, Effets& e) override;
    void doubleClic(TInteraction& m, Effets& e) override;
};

class TOutilZone : public TOutilSouris {
public:
    void choisi(TInteraction& m, Effets& e) override;
    bool bornesEnDegres() const override { return true; }
    bool mesureDistance() const override { return false; }
    void glisser(TInteraction& m, std::vector<QRect>& dessine) override;
    void relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris b, Effets& e) override;
    bool okApresRelachement(const TInteraction& m) const override;
    void ok(TInteraction& m, Effets& e) override;
};

class TOutilGrandCercle : public TOutilSouris {
public:
    void glisser(TInteraction& m, std::vector<QRect>& dessine) override;
    void relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris b, Effets& e) override;
};

class TOutilTrajet : public TOutilSouris {
public:
    void choisi(TInteraction& m, Effets& e) override;
    void relachement(TInteraction& m, const PositionGeo& ou, BoutonSouris b, Effets& e) override;
};

// The section line: a straight rubber line; OK shows after the release.
class TOutilLigneCoupe : public TOutilSouris {
public:
    bool okApresRelachement(const TInteraction&) const override { return true; }
};

// Registers the tools above for their modes.
void installerOutilsCarte(TInteraction& m);

} // namespace carte
