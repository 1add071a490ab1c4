// The map without any window: the base picture and the stack of layers over it,
// which layers are shown, the view state (size, shift, reference station), the
// display settings, the rules that redraw the layers from the data object, and the
// rendering of the map, or of any part of it, at any size into a bitmap.
//
// The screen shows a scene through an image view (the scene is its source); the
// exports, the drawing sheet, printing and the black-and-white capture render it
// off screen with the same call.
#pragma once

#include "data/stores.h"
#include "map/calques.h"
#include "map/etatcarte.h"
#include "map/rendu.h"
#include "ui/raster_compose.h"

#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <optional>

// What an off-screen rendering shows.
struct OptionsRendu {
    // The layers drawn (bit i: Calque(i)), whatever the screen shows; none given:
    // the layers shown on the screen.
    std::optional<unsigned> calques;
    // Another base picture of the map's size (the black-and-white one for a
    // capture); nullptr: the base picture in place.
    const TBitmap32* fond = nullptr;
    // Colour outside the map.
    TColor32 fondVue = 0xFFC0C0C0;
};

constexpr unsigned bitCalque(Calque c)
{
    return 1u << static_cast<unsigned>(c);
}

class TScene : public TImageSource {
public:
    explicit TScene(TDonnees& donnees);
    ~TScene() override;
    TScene(const TScene&) = delete;
    TScene& operator=(const TScene&) = delete;

    TDonnees& donnees() { return donnees_; }
    const TDonnees& donnees() const { return donnees_; }

    EtatCarte Etat;           // size, shift, zoom bounds, base picture flags, reference station
    ReglagesAffichage Reglages;
    TBitmap32 ImageLegende;   // the vector legend picture

    // --- The base picture and the layers ---
    TBitmap32& fond() { return pile_.base; }
    const TBitmap32& fond() const { return pile_.base; }
    TBitmapLayer* calque(Calque c) { return calques_[static_cast<std::size_t>(c)]; }
    const TBitmapLayer* calque(Calque c) const { return calques_[static_cast<std::size_t>(c)]; }
    bool calqueAUneImage(Calque c) const;
    // Sizes the layer to the map (and places it over it) when it is not already so.
    void assurerCalque(Calque c);
    // Releases a layer's picture ("Vider la mémoire").
    void libererCalque(Calque c);

    // --- Which layers are shown (what the menus show and set) ---
    bool affiche(Calque c) const { return calque(c)->visible; }
    // Shows or hides a layer; shown, a data layer is drawn from its store.
    void afficher(Calque c, bool oui);

    // --- Drawing from the stores ---
    void dessinerSeismes();
    void dessinerVolcans();
    // The stations, their vectors, the reference square and the placed legend.
    void dessinerGPS();
    // Every layer rebuilt after a change of base picture or of display settings, in
    // the fixed order.
    void reconstruireCalques();
    // While a guard lives, changes of the stores only note the layers to redraw;
    // they are drawn once when it ends (a load followed by showing its layer draws
    // the layer once).
    class Differe {
    public:
        explicit Differe(TScene& s);
        ~Differe();
        Differe(const Differe&) = delete;
        Differe& operator=(const Differe&) = delete;

    private:
        TScene& s_;
    };

    // --- Base picture and shift ---
    // Makes pic the base picture: the map's size, rolled by the shift, the tool
    // layers sized to it. The layers are not redrawn (reconstruireCalques does).
    void installerFond(TBitmap32&& pic);
    // The base picture switch of the display choices; false (with the message to
    // show) when the picture could not be read: the picture in place stays.
    bool changerFond(bool nb, bool precise, const NomsFonds& noms, QString* message);
    // A new shift: the pictures roll, the data-driven layers are redrawn.
    void decaler(int nouveau);

    // --- Reference station and legend ---
    // A reference that no longer designates its station is cleared; true when it was.
    bool verifierStationRef();
    void choisirStationRef(int i);
    // Back to absolute vectors ("Remise à &zéro").
    void remiseAZeroStationRef();
    // The legend picture's layer placed with its top-left corner at map pixel p.
    void placerLegende(const QPoint& p);

    // --- Rendering ---
    // TImageSource: what the screen shows (the shown layers over the base).
    QSize imageSize() const override { return {Etat.W, Etat.H}; }
    void compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background) const override;
    // The map rectangle `zone` (map pixels) rendered into a picture of `taille`
    // pixels (the zone stretched to its width; rows below the zone, if any, take
    // the colour outside the map).
    TBitmap32 rendre(const QRect& zone, const QSize& taille, const OptionsRendu& options = {}) const;
    // The same into part `zoneVue` of `cible` with any placement.
    void rendreDans(const TViewPlacement& placement, const QRect& zoneVue, TBitmap32& cible,
                    const OptionsRendu& options) const;

    // --- Hooks (the window sets them) ---
    // A map rectangle to repaint; an empty rectangle repaints everything.
    std::function<void(const QRect&)> aRepeindre;
    // The traces layer redrawn from the kept traces (after a shift or a rebuild).
    std::function<void()> redessinerTraces;
    // A layer was shown or hidden (menus follow).
    std::function<void(Calque, bool)> affichageChange;
    // The base picture changed size (the view refits).
    std::function<void()> fondChange;
    // The reference station was chosen or cleared.
    std::function<void()> referenceChange;
    // The overlays drawn from files and from the elevation grid (ocean-floor age,
    // population, sea level): a rebuild asks for each that needs redrawing, in the
    // fixed order; the feature that owns them sets it.
    std::function<void(Calque)> redessinerSurcouche;
    // The plate boundaries layer redrawn for a new size, shift or base picture
    // (set by the plates feature).
    std::function<void()> redessinerPlaques;
    // The GPS layer was just redrawn (the model vectors drawn beside the measured
    // ones follow it).
    std::function<void()> gpsRedessine;

private:
    void donneesChangees(unsigned magasins);
    void repeindre(const QRect& r = QRect());

    TDonnees& donnees_;
    int ecouteur_ = 0;
    TLayerStack pile_;
    std::array<TBitmapLayer*, NbCalques> calques_{};
    int differe_ = 0;
    unsigned enAttente_ = 0; // stores changed while drawing was deferred
};
