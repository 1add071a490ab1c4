#include "map/calques.h"

std::vector<EtapeReconstruction> ordreReconstruction(const EtatReconstruction& e)
{
    std::vector<EtapeReconstruction> o{EtapeReconstruction::ReplacerCalques};
    if (e.AgeAUneImage)
        o.push_back(EtapeReconstruction::Age);
    if (e.SeismesCoche)
        o.push_back(EtapeReconstruction::Seismes);
    if (e.VolcansCoche)
        o.push_back(EtapeReconstruction::Volcans);
    if (e.GPSCoche)
        o.push_back(EtapeReconstruction::GPS);
    if (e.NiveauMarinCoche)
        o.push_back(EtapeReconstruction::NiveauMarin);
    if (e.PopulationCoche)
        o.push_back(EtapeReconstruction::Population);
    if (e.PlaquesAUneImage)
        o.push_back(EtapeReconstruction::Plaques);
    if (e.TracesAUneImage)
        o.push_back(EtapeReconstruction::Traces);
    return o;
}

ChoixFond choisirFond(bool nb, bool precise, bool fondNBAffiche, bool cartePrecise, const NomsFonds& noms)
{
    ChoixFond c;
    if (nb && precise) {
        if (!(fondNBAffiche && cartePrecise)) {
            c = {true, noms.NB7200, QStringLiteral("Il manque l'image de la carte de fond noir et blanc"), true, true};
        }
    } else if (!nb && precise) {
        if (!(!fondNBAffiche && cartePrecise))
            c = {true, noms.Couleur7200, QStringLiteral("Il manque l'image de la carte de fond "), false, true};
    } else if (nb && !precise) {
        if (!(fondNBAffiche && !cartePrecise))
            c = {true, noms.NB3600, QStringLiteral("Il manque l'image de la carte de fond"), true, false};
    } else if (fondNBAffiche || cartePrecise) {
        c = {true, noms.Couleur3600, QStringLiteral("Il manque l'image de la carte de fond "), false, false};
    }
    return c;
}
