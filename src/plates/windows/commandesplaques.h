// The map's plate commands: the "Limites de plaques" layer of "&Affichage" with
// the plate under the pointer in the readout, the "Vecteurs du modèle" of
// "&Vecteurs" (the velocity the PB2002 rotations predict at each station, beside
// the measured one) with the plate they are relative to, and "Ajuster un pôle
// eulérien" on the stations selected with the zone tool, whose residuals are
// drawn on the map.
#pragma once

#include "plates/modele.h"
#include "plates/plaques.h"

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class TCarte;
class TAjustementPole;
class TEchage;
class TCommandeVuePolaire;
struct PoleNomme;

class TCommandesPlaques : public QObject {
    Q_OBJECT
public:
    explicit TCommandesPlaques(TCarte& carte);
    ~TCommandesPlaques() override;

    // The model, loaded from the start folder on first use; false (after a
    // warning naming the file) when a product is missing or faulty.
    bool chargerModele();
    const plaques::TModelePlaques& modele() const { return modele_; }

    // Menu commands.
    void LimitesdeplaquesClick();
    void VecteursdumodeleClick();
    void AjusterunpoleeulerienClick();
    // The plate the model vectors are relative to when no station is fixed (code).
    QString plaqueDeReference() const { return plaqueRef_; }
    void choisirPlaqueDeReference(const QString& code);

    // The redraws.
    void dessinerLimites();
    void dessinerVecteurs();

    TAjustementPole* fenetreAjustement() const { return fenetre_; }
    TEchage* legende() const { return legende_; }
    // Opens the polar view about a pole; set by the polar view when there is one.
    std::function<void(double latitude, double longitude)> ouvrirVuePolaire;
    // The polar view gets the boundaries as an overlay, the pairs of neighbouring
    // plates in its pole lists, and the fit window's button opens it.
    void brancherVuePolaire(TCommandeVuePolaire& polaire);
    // The pairs of plates that share a boundary, named "A / B" with the pole of A
    // relative to B (empty when the model cannot be read).
    std::vector<PoleNomme> couplesVoisins();

    // The model's velocity at a station relative to the plate used for the
    // vectors (the fixed station's plate, or the chosen one); false when the
    // station or that plate is on no plate of the model.
    bool vitesseModele(double longitude, double latitude, plaques::VitesseSurface& v) const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Takes this object's hooks out of the map's scene and mode machine.
    void debrancher();
    bool chargerModeleSilencieux();
    void completerLecture(double longitude, double latitude, const TStationGPS* station, QString& plaque,
                          QString& vitesse) const;
    int plaqueB() const;
    void majVisibiliteVecteurs();
    void viderMemoire();

    TCarte& carte_;
    bool debranche_ = false;
    plaques::TModelePlaques modele_;
    plaques::RotationsPlaques rotations_;
    mutable plaques::TPlaquesStations plaquesStations_;
    // What the last drawings covered on the two layers (only that is cleared).
    plaques::TracesCalque tracesLimites_, tracesVecteurs_;
    QAction* Limites_ = nullptr;
    QAction* Modele_ = nullptr;
    QAction* Ajuster_ = nullptr;
    QMenu* menuReference_ = nullptr;
    QActionGroup* groupeReference_ = nullptr;
    QString plaqueRef_ = QStringLiteral("EU");
    TAjustementPole* fenetre_ = nullptr;
    // The boundaries' legend in a small window over the map, in view whatever the zoom.
    TEchage* legende_ = nullptr;
    // The previous fit, to compare with the next one.
    std::optional<plaques::ResultatAjustement> precedent_;
    int plaquePrecedente_ = -1;
    TCommandeVuePolaire* polaire_ = nullptr;
};
