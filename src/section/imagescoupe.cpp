#include "section/imagescoupe.h"

#include "drawing/texteriche.h"

#include <algorithm>

namespace coupe {

TImagesCoupe::TImagesCoupe()
{
    for (int k = 0; k < NbLegendes; ++k) {
        auto l = std::make_unique<TBitmapSIG>();
        l->Nature = nbLegende;
        l->nom = QStringLiteral("Légende %1").arg(k + 1);
        l->echelle = 1.0;
        l->ligne_zero_profondeur = 0;
        l->index = k;
        images_.push_back(std::move(l));
    }
}

QStringList TImagesCoupe::nomsMenus() const
{
    QStringList n;
    for (const auto& i : images_)
        n << i->nom;
    return n;
}

void TImagesCoupe::renumeroter()
{
    for (std::size_t i = 0; i < images_.size(); ++i)
        images_[i]->index = static_cast<int>(i);
}

// --- Frames ---

void TImagesCoupe::afficherDans(int k, int i)
{
    if (k < 0 || k >= NbCadresMax || !valide(i))
        return;
    cadres_[static_cast<std::size_t>(k)] = i;
}

void TImagesCoupe::superposer()
{
    std::vector<int> coupes;
    for (int k = 0; k < cadresAffiches(); ++k) {
        const int i = cadres_[static_cast<std::size_t>(k)];
        if (estCoupe(i) && std::find(coupes.begin(), coupes.end(), i) == coupes.end())
            coupes.push_back(i);
    }
    if (coupes.empty() && nombreCoupes() > 0)
        coupes.push_back(nombre() - 1);
    if (!coupes.empty())
        cadres_[0] = coupes[0];
    cadres_[1] = coupes.size() >= 2 ? coupes[1] : 1;
    superposer_ = true;
    nbCadres_ = 1;
}

void TImagesCoupe::juxtaposer(int n)
{
    if (n != 1 && n != 2 && n != 4)
        return;
    superposer_ = false;
    nbCadres_ = n;
}

// --- Sections ---

std::unique_ptr<TBitmapSIG> TImagesCoupe::nouvelleCoupe(const QString& nom, bool pointsEpais) const
{
    auto s = std::make_unique<TBitmapSIG>();
    s->Nature = nbCoupe;
    s->zones_visibles = true;
    s->marge_gauche = MargeGauche;
    s->marge_droite = MargeDroite;
    s->marge_haut = 5;
    s->marge_bas = 5;
    s->points_epais = pointsEpais;
    s->nom = nom;
    s->couleur_seismes = couleurSeismes;
    s->couleur_volcans = couleurVolcans;
    s->couleur_profil = couleurProfil;
    s->couleur_niveau_mer = couleurNiveauMer;
    s->couleur_fond = clWhite32;
    s->exageration = exageration_;
    s->relief_au_dessus = reliefAuDessus;
    return s;
}

int TImagesCoupe::AjouterCoupe(std::unique_ptr<TBitmapSIG> section)
{
    const int i = nombre();
    section->index = i;
    images_.push_back(std::move(section));
    // The first three sections open one, two and four frames.
    if (i == NbLegendes || i == NbLegendes + 1 || i == NbLegendes + 2) {
        superposer_ = false;
        nbCadres_ = i == NbLegendes ? 1 : i == NbLegendes + 1 ? 2 : 4;
    }
    // The shown pictures move one frame on; superposed, the upper one goes under.
    if (superposer_) {
        cadres_[1] = cadres_[0];
    } else {
        for (int k = nbCadres_ - 1; k >= 1; --k)
            cadres_[static_cast<std::size_t>(k)] = cadres_[static_cast<std::size_t>(k - 1)];
    }
    cadres_[0] = i;
    aucuneCoupe_ = false;
    return i;
}

bool TImagesCoupe::supprimerDerniereCoupe()
{
    const int i = nombre() - 1;
    if (i < NbLegendes)
        return false;
    oublierImage(i, true);
    images_.pop_back();
    for (int k = 0; k < NbCadresMax; ++k)
        if (cadres_[static_cast<std::size_t>(k)] >= i)
            cadres_[static_cast<std::size_t>(k)] = k;
    aucuneCoupe_ = nombre() <= NbLegendes;
    return true;
}

bool TImagesCoupe::supprimerImage(int i, int cadreClique)
{
    if (!valide(i))
        return false;
    if (i < NbLegendes) {
        // A legend only loses its annotations.
        oublierImage(i, false);
        image(i).ViderDessins();
        return true;
    }
    oublierImage(i, true);
    images_.erase(images_.begin() + i);
    renumeroter();
    for (int k = 0; k < NbCadresMax; ++k) {
        int& c = cadres_[static_cast<std::size_t>(k)];
        if (c == i)
            c = k; // the deleted section's frames show their own legend
        else if (c > i)
            --c;
        if (c >= nombre())
            c = k;
    }
    if (nombre() <= NbLegendes) {
        aucuneCoupe_ = true;
        return true;
    }
    if (cadreClique >= 0 && cadreClique < NbCadresMax)
        cadres_[static_cast<std::size_t>(cadreClique)] = nbCadres_ == 1 ? nombre() - 1 : cadreClique;
    return true;
}

bool TImagesCoupe::inverser(int i)
{
    if (!estCoupe(i) || image(i).profil.empty())
        return false;
    TBitmapSIG& s = image(i);
    const double L = s.profil.back().distance;
    for (PointProfil& p : s.profil)
        p.distance = L - p.distance;
    std::reverse(s.profil.begin(), s.profil.end());
    for (PointProjete& q : s.seismes)
        q.distance = L - q.distance;
    std::reverse(s.seismes.begin(), s.seismes.end());
    std::reverse(s.magnitudes_seismes.begin(), s.magnitudes_seismes.end());
    for (PointProjete& v : s.volcans)
        v.distance = L - v.distance;
    std::reverse(s.volcans.begin(), s.volcans.end());
    for (ZoneCroute& z : s.zones_croute) {
        const double debut = L - z.fin, fin = L - z.debut;
        z.debut = debut;
        z.fin = fin;
    }
    const double p = s.echelle > 0 ? s.echelle : 1.0;
    auto miroir = [L](float x) { return static_cast<float>(L - x); };
    for (auto& d : s.dessins) {
        if (!d)
            break;
        switch (d->Nature) {
        case ndLigne:
        case ndRectangle:
            d->X1 = miroir(d->X1);
            d->X2 = miroir(d->X2);
            break;
        case ndCercle:
            d->XC = miroir(d->XC);
            d->X1 = miroir(d->X1);
            d->X2 = miroir(d->X2);
            break;
        case ndTexte: {
            // The text's left edge goes where its right edge was.
            const int largeur =
                MettreEnPageTexte(false, 0, 0, d->Lignes, d->Alignement, d->PoliceAEchelle(p)).largeurBloc;
            d->XC = static_cast<float>(L - (d->XC * p + largeur) / p);
            break;
        }
        case ndLibre:
            d->X1 = miroir(d->X1);
            d->X2 = miroir(d->X2);
            for (auto& sous : d->Trace.Points)
                for (TFixedPoint& q : sous)
                    q.X = toFixed(L - fromFixed(q.X));
            break;
        default:
            break;
        }
    }
    return true;
}

void TImagesCoupe::definirExageration(int e)
{
    if (std::find(Exagerations.begin(), Exagerations.end(), e) == Exagerations.end())
        return;
    exageration_ = e;
    for (auto& i : images_)
        if (i->Nature == nbCoupe)
            i->exageration = e;
}

// --- Annotations ---

void TImagesCoupe::ajouterDessin(int i, std::unique_ptr<TDessin> d, const QString& nom)
{
    if (!valide(i) || !d)
        return;
    TBitmapSIG& s = image(i);
    s.AjouterDessin(std::move(d), nom);
    traces_.push_back({nom + QStringLiteral(" - ") + s.nom, {i, static_cast<int>(s.dessins.size()) - 1, false}});
}

void TImagesCoupe::ajouterZone(int i, const ZoneCroute& z, const QString& libelle)
{
    if (!estCoupe(i))
        return;
    TBitmapSIG& s = image(i);
    s.zones_croute.push_back(z);
    traces_.push_back({libelle, {i, static_cast<int>(s.zones_croute.size()) - 1, true}});
}

bool TImagesCoupe::annuler()
{
    if (traces_.empty())
        return false;
    const ActionCoupe a = traces_.back().action;
    const std::size_t avant = traces_.size();
    retirerElement(a.image, a.indice, a.croute);
    // An entry that no longer pointed anywhere still goes.
    if (traces_.size() == avant)
        traces_.pop_back();
    return true;
}

bool TImagesCoupe::effacerTrace(int item)
{
    if (item < 0 || item >= static_cast<int>(traces_.size()))
        return false;
    const ActionCoupe a = traces_[static_cast<std::size_t>(item)].action;
    const std::size_t avant = traces_.size();
    retirerElement(a.image, a.indice, a.croute);
    if (traces_.size() == avant)
        traces_.erase(traces_.begin() + item);
    return true;
}

void TImagesCoupe::retirerElement(int i, int indice, bool croute)
{
    if (!valide(i))
        return;
    TBitmapSIG& s = image(i);
    if (croute) {
        if (indice < 0 || indice >= static_cast<int>(s.zones_croute.size()))
            return;
        s.zones_croute.erase(s.zones_croute.begin() + indice);
    } else if (!s.SupprimerDessin(indice)) {
        return;
    }
    std::vector<EntreeTrace> restent;
    restent.reserve(traces_.size());
    for (EntreeTrace& e : traces_) {
        ActionCoupe& a = e.action;
        if (a.image == i && a.croute == croute) {
            if (a.indice == indice)
                continue;
            if (a.indice > indice)
                --a.indice;
        }
        restent.push_back(std::move(e));
    }
    traces_ = std::move(restent);
}

void TImagesCoupe::oublierImage(int i, bool retiree)
{
    std::vector<EntreeTrace> restent;
    for (EntreeTrace& e : traces_) {
        if (e.action.image == i)
            continue;
        if (retiree && e.action.image > i)
            --e.action.image;
        restent.push_back(std::move(e));
    }
    traces_ = std::move(restent);
}

QString TImagesCoupe::verifier() const
{
    if (nombre() < NbLegendes)
        return QStringLiteral("moins de quatre images");
    for (int j = 0; j < nombre(); ++j) {
        const TBitmapSIG& s = image(j);
        if (s.index != j)
            return QStringLiteral("image %1 numérotée %2").arg(j).arg(s.index);
        if ((j < NbLegendes) != (s.Nature == nbLegende))
            return QStringLiteral("image %1 de nature %2").arg(j).arg(s.Nature);
        if (s.Nature == nbCoupe && s.magnitudes_seismes.size() != s.seismes.size())
            return QStringLiteral("magnitudes de l'image %1").arg(j);
        if (s.noms_dessins.size() != s.dessins.size())
            return QStringLiteral("noms des dessins de l'image %1").arg(j);
    }
    for (int k = 0; k < NbCadresMax; ++k)
        if (!valide(cadre(k)))
            return QStringLiteral("cadre %1 sur l'image %2").arg(k).arg(cadre(k));
    if (aucuneCoupe_ != (nombre() == NbLegendes))
        return QStringLiteral("indicateur sans coupe");
    // Every entry points at an element, every element has exactly one entry.
    std::vector<std::vector<int>> dessins(static_cast<std::size_t>(nombre())), zones(static_cast<std::size_t>(nombre()));
    for (int j = 0; j < nombre(); ++j) {
        dessins[static_cast<std::size_t>(j)].assign(image(j).dessins.size(), 0);
        zones[static_cast<std::size_t>(j)].assign(image(j).zones_croute.size(), 0);
    }
    for (const EntreeTrace& e : traces_) {
        const ActionCoupe& a = e.action;
        if (!valide(a.image))
            return QStringLiteral("entrée sur l'image %1").arg(a.image);
        auto& v = a.croute ? zones[static_cast<std::size_t>(a.image)] : dessins[static_cast<std::size_t>(a.image)];
        if (a.indice < 0 || a.indice >= static_cast<int>(v.size()))
            return QStringLiteral("entrée %1 hors de l'image %2").arg(a.indice).arg(a.image);
        if (++v[static_cast<std::size_t>(a.indice)] > 1)
            return QStringLiteral("deux entrées sur l'élément %1 de l'image %2").arg(a.indice).arg(a.image);
    }
    for (int j = 0; j < nombre(); ++j)
        for (const auto* v : {&dessins[static_cast<std::size_t>(j)], &zones[static_cast<std::size_t>(j)]})
            for (int n : *v)
                if (n != 1)
                    return QStringLiteral("élément sans entrée sur l'image %1").arg(j);
    return QString();
}

} // namespace coupe
