// The map's "Vue polaire" command (menu "&Affichage"): the first time, the pole
// dialog, then the view built around that pole and shown over the screen; after
// that the view is only shown again (its own OK button builds it anew).
#pragma once

class TCarte;
class TChoixPole;
class TVuePolaire;

class TCommandeVuePolaire {
public:
    // Makes the view and the pole dialog (hidden) and takes the map's item.
    explicit TCommandeVuePolaire(TCarte& carte);
    ~TCommandeVuePolaire();
    TCommandeVuePolaire(const TCommandeVuePolaire&) = delete;
    TCommandeVuePolaire& operator=(const TCommandeVuePolaire&) = delete;

    void Vuepolaire1Click();
    // Builds the view about a pole without asking (a fitted pole) and shows it.
    void ouvrirAutourDe(double latitude, double longitude);
    TVuePolaire& vue() { return *vue_; }
    TChoixPole& choixPole() { return *choix_; }

private:
    TCarte& carte_;
    TVuePolaire* vue_ = nullptr;   // owned by the map window
    TChoixPole* choix_ = nullptr;  // owned by the map window
};
