// Fuzzing harness: the landmark files (.obf) and the landmarks read from their table.
#include "fuzz_commun.h"
#include "map/reperes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::initialiser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray d = fuzz::octets(data, size);
    carte::TGrilleReperes grille = carte::TGrilleReperes::nouvelle();
    const carte::TGrilleReperes avant = grille;
    QString erreur;
    if (!carte::lireFichierReperes(d, grille, &erreur)) {
        fuzz::verifier(grille == avant && !erreur.isEmpty(), "échec sans message, ou tableau modifié");
        return 0;
    }
    // What is written and read back stays the same from the second writing on.
    carte::TGrilleReperes relue, relue2;
    fuzz::verifier(carte::lireFichierReperes(carte::ecrireFichierReperes(grille), relue) &&
                       carte::lireFichierReperes(carte::ecrireFichierReperes(relue), relue2) && relue == relue2,
                   "repères réécrits");
    carte::texteTabule(QStringLiteral("Repères"), grille);
    carte::texteTabule(QStringLiteral("Repères"), grille, 1, 1, 3, 2);
    carte::GroupeReperes groupe;
    groupe.reperes = carte::lireReperesGrille(grille);
    groupe.relier = grille.relier;
    groupe.grandsCercles = grille.grandsCercles;
    carte::longueurGroupe(groupe.reperes);
    carte::TGroupesReperes groupes{groupe};
    groupe.relier = true;
    groupe.grandsCercles = !grille.grandsCercles;
    groupes.push_back(groupe);
    carte::StyleReperes style;
    for (int decalage : {0, 90}) {
        TBitmap32 traces(360, 180);
        std::vector<QRect> zones;
        carte::dessinerGroupesReperes(groupes, traces, decalage, style, &zones);
        style.pointsEpais = false;
    }
    return 0;
}
