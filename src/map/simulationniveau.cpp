#include "map/simulationniveau.h"

void TSimulationNiveau::preparer()
{
    table_ = calculerTableSurfVol(VueAltitudes::de(grille_));
    tableReliee_.reset();
    atteinte_.reset();
}

const TTableSurfVol& TSimulationNiveau::table()
{
    if (!table_)
        preparer();
    return *table_;
}

const TAtteinteOcean& TSimulationNiveau::atteinte()
{
    if (!atteinte_)
        atteinte_ = calculerAtteinteOcean(VueAltitudes::de(grille_));
    return *atteinte_;
}

const TTableSurfVol& TSimulationNiveau::tableReliee()
{
    if (!tableReliee_)
        tableReliee_ = calculerTableSurfVolReliee(VueAltitudes::de(grille_), atteinte());
    return *tableReliee_;
}

ResultatNiveau TSimulationNiveau::textes(int L, const TGrillePopulation* population, double total)
{
    ResultatNiveau r;
    const TTableSurfVol& t = tableEnUsage();
    r.surface = texteSurface(L, t);
    r.volume = texteVolume(L, t);
    r.population = QString::fromUtf8(TexteMenaceNonCalculee);
    if (L >= 1 && population && !population->vide()) {
        r.menacee = populationMenacee(*population, grille_, L, Reliee ? &atteinte() : nullptr);
        r.population = textePopulationMenacee(r.menacee, total);
        r.populationCalculee = true;
    }
    return r;
}

ResultatNiveau TSimulationNiveau::appliquer(int L, TBitmap32& calque, int W, int H, int D,
                                            const TGrillePopulation* population, double total)
{
    dessinerNiveauMarin(calque, grille_, W, H, D, L, Reliee ? &atteinte() : nullptr);
    return textes(L, population, total);
}
