#include "map/niveaumarin.h"

#include "data/fichiers.h"
#include "map/lecture.h"
#include "map/motifnombre.h"
#include "ui/arrondi.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

VueAltitudes VueAltitudes::de(const TGrilleAltitude& g)
{
    VueAltitudes v;
    v.z = g.valeurs().data();
    v.lignes = TGrilleAltitude::Lignes;
    v.colonnes = TGrilleAltitude::Colonnes;
    v.aires.resize(static_cast<std::size_t>(v.lignes));
    for (int r = 0; r < v.lignes; ++r)
        v.aires[static_cast<std::size_t>(r)] = g.aire(TGrilleAltitude::DemiLignes - r);
    return v;
}

// --- The table ---

namespace {

// The table of the cells whose "key" is the level from which water covers them:
// their elevation for the plain flooding, the ocean's reach for the connected one
// (nullptr: the elevation). Each row's cells are counted by key, in whole metres,
// then every level is read from the running sums of that row: the counts and the
// metre sums are integers, so a row's figures are exact and only the sum of the
// rows, each weighted by its area, is rounded.
TTableSurfVol tableParCle(const VueAltitudes& v, const std::int16_t* cle)
{
    constexpr int Haut = TTableSurfVol::NiveauMax;   // 250
    constexpr int Bas = -TTableSurfVol::NiveauMin;   // 200
    constexpr int Bandes = TTableSurfVol::NbProfondeurs; // 121: bands of 100 m, the last one open
    constexpr std::size_t Zero = static_cast<std::size_t>(Bas); // index of level 0

    TTableSurfVol t;
    // Rise: cells by the level k = max(key, 1) from which they count.
    std::array<long long, Haut + 1> ocean{}, terre{}, altitudes{};
    // Fall: cells below 0 by m = -key, 1 ... 200; those deeper count in `dessous` only.
    std::array<long long, Bas + 1> nombre{}, profondeurs{}, emergees{};
    // Depth bands of today's ocean.
    std::array<long long, Bandes + 1> nombreBande{}, sommeBande{};

    for (int r = 0; r < v.lignes; ++r) {
        ocean.fill(0);
        terre.fill(0);
        altitudes.fill(0);
        nombre.fill(0);
        profondeurs.fill(0);
        emergees.fill(0);
        nombreBande.fill(0);
        sommeBande.fill(0);
        long long dessous = 0; // cells whose key is below 0

        const std::size_t debut = static_cast<std::size_t>(r) * static_cast<std::size_t>(v.colonnes);
        const std::int16_t* z = v.z + debut;
        const std::int16_t* k = cle ? cle + debut : nullptr;
        for (int c = 0; c < v.colonnes; ++c) {
            const int e = z[c];
            const int cl = k ? k[c] : e;
            if (cl <= Haut) {
                const auto i = static_cast<std::size_t>(std::max(cl, 1));
                if (e >= 1) {
                    ++terre[i];
                    altitudes[i] += e;
                } else {
                    ++ocean[i];
                }
            }
            if (cl < 0) {
                ++dessous;
                if (cl >= -Bas) {
                    const auto m = static_cast<std::size_t>(-cl);
                    ++nombre[m];
                    profondeurs[m] += -cl;
                    if (e == cl)
                        ++emergees[m];
                }
                const int d = -e;
                const auto b = static_cast<std::size_t>(std::min((d + 99) / 100, Bandes));
                ++nombreBande[b];
                sommeBande[b] += d;
            }
        }

        const double a = v.aires[static_cast<std::size_t>(r)];
        long long co = 0, ct = 0, somme = 0;
        for (int L = 1; L <= Haut; ++L) {
            const auto i = static_cast<std::size_t>(L);
            co += ocean[i];
            ct += terre[i];
            somme += altitudes[i];
            const long long x = L * (co + ct) - somme;
            t.S[Zero + i] += a * static_cast<double>(ct);
            t.V[Zero + i] += a * static_cast<double>(x) / 1000.0;
        }
        long long cn = 0, sp = 0, ce = 0;
        for (int m = 1; m <= Bas; ++m) {
            const auto i = static_cast<std::size_t>(m);
            cn += nombre[i];
            sp += profondeurs[i];
            ce += emergees[i];
            const long long x = sp + m * (dessous - cn);
            t.S[Zero - i] -= a * static_cast<double>(ce);
            t.V[Zero - i] -= a * static_cast<double>(x) / 1000.0;
        }
        long long cb = 0, sb = 0;
        for (int n = 1; n < Bandes; ++n) {
            const auto i = static_cast<std::size_t>(n);
            cb += nombreBande[i];
            sb += sommeBande[i];
            const long long x = sb + 100LL * n * (dessous - cb);
            t.U[i] += a * static_cast<double>(x) / 1000.0;
        }
    }
    return t;
}

} // namespace

TTableSurfVol calculerTableSurfVol(const VueAltitudes& v)
{
    return tableParCle(v, nullptr);
}

TTableSurfVol calculerTableSurfVolReliee(const VueAltitudes& v, const TAtteinteOcean& atteinte)
{
    if (atteinte.niveau.size() != v.taille())
        return {};
    return tableParCle(v, atteinte.niveau.data());
}

// --- Reach of the ocean ---

namespace {

// The four neighbours of cell i: north and south (not across the poles), east and
// west, the first and the last column being the same meridian.
template <typename F>
inline void pourVoisins(std::size_t i, int ligne, int colonne, int L, int C, F f)
{
    const auto c = static_cast<std::size_t>(C);
    if (ligne > 0)
        f(i - c);
    if (ligne < L - 1)
        f(i + c);
    if (C > 1) {
        f(colonne > 0 ? i - 1 : i + c - 1);
        f(colonne < C - 1 ? i + 1 : i - (c - 1));
    }
}

// Cells of a grid whose rows close on themselves (the first and the last column
// touch), visited by runs along the rows: the runs follow the grid's memory, which
// is what makes a fill over millions of cells fast.
class TRemplissage {
public:
    TRemplissage(int lignes, int colonnes)
        : L_(lignes), C_(colonnes),
          // The row of a cell by a multiplication (exact while index × columns < 2^40).
          inverse_(((std::uint64_t{1} << 40) + static_cast<std::uint64_t>(colonnes) - 1) /
                   static_cast<std::uint64_t>(colonnes))
    {
    }

    int ligne(std::size_t i) const { return static_cast<int>((i * inverse_) >> 40); }

    template <typename F>
    void voisins(std::size_t i, F f) const
    {
        const int l = ligne(i);
        pourVoisins(i, l, static_cast<int>(i - static_cast<std::size_t>(l) * static_cast<std::size_t>(C_)), L_, C_, f);
    }

    // From `depart`, every cell connected to it through cells for which dedans(i)
    // holds is given to prendre(i) (which must make dedans false); the cells met
    // around them that are not inside are given to bord(i), perhaps several times.
    template <typename Dedans, typename Prendre, typename Bord>
    void remplir(std::size_t depart, Dedans dedans, Prendre prendre, Bord bord)
    {
        const auto C = static_cast<std::size_t>(C_);
        auto gauche = [C](std::size_t x) { return x == 0 ? C - 1 : x - 1; };
        auto droite = [C](std::size_t x) { return x == C - 1 ? 0 : x + 1; };
        pile_.assign(1, static_cast<std::uint32_t>(depart));
        while (!pile_.empty()) {
            const std::size_t i = pile_.back();
            pile_.pop_back();
            if (!dedans(i))
                continue;
            const int l = ligne(i);
            const std::size_t base = static_cast<std::size_t>(l) * C;
            std::size_t g = i - base, d = g, nb = 1;
            while (nb < C && dedans(base + gauche(g))) {
                g = gauche(g);
                ++nb;
            }
            while (nb < C && dedans(base + droite(d))) {
                d = droite(d);
                ++nb;
            }
            for (std::size_t k = 0, x = g; k < nb; ++k, x = droite(x))
                prendre(base + x);
            if (nb < C) {
                bord(base + gauche(g));
                bord(base + droite(d));
            }
            for (const int autre : {l - 1, l + 1}) {
                if (autre < 0 || autre >= L_)
                    continue;
                const std::size_t b = static_cast<std::size_t>(autre) * C;
                bool dansRun = false;
                for (std::size_t k = 0, x = g; k < nb; ++k, x = droite(x)) {
                    const std::size_t j = b + x;
                    if (dedans(j)) {
                        if (!dansRun)
                            pile_.push_back(static_cast<std::uint32_t>(j));
                        dansRun = true;
                    } else {
                        bord(j);
                        dansRun = false;
                    }
                }
            }
        }
    }

private:
    int L_;
    int C_;
    std::uint64_t inverse_;
    std::vector<std::uint32_t> pile_;
};

} // namespace

namespace {

// The reach of the ocean from `graine` (see calculerAtteinteOcean) written into
// a.niveau (all `Jamais` before); returns the number of cells reached below 0 m,
// that is the size of the seed's area below 0 m.
std::size_t remplirDepuis(const VueAltitudes& v, TRemplissage& remplissage, std::size_t graine, TAtteinteOcean& a)
{
    // From the seed, the lowest path to every cell: a flood by rising levels, one
    // bucket per metre. Levels never go down, so a cell is settled when first met:
    // a cell taken from the bucket of its level settles at that level all the lower
    // cells it leads to, and puts the higher ones it meets in their own buckets.
    // Only the levels of the table matter: the ocean deeper than all of them is
    // taken at once, and the flood stops above the highest.
    constexpr int Profond = TAtteinteOcean::Profond;
    constexpr int Haut = TTableSurfVol::NiveauMax;
    constexpr int NbSeaux = Haut - Profond + 1;
    const std::int16_t* z = v.z;
    std::int16_t* niveaux = a.niveau.data();
    std::vector<std::vector<std::uint32_t>> seaux(NbSeaux);
    std::size_t sousZero = 0;
    auto pousser = [&](std::size_t i, int niveau) {
        niveaux[i] = static_cast<std::int16_t>(niveau);
        sousZero += niveau < 0;
        seaux[static_cast<std::size_t>(niveau - Profond)].push_back(static_cast<std::uint32_t>(i));
    };
    auto remplirA = [&](std::size_t depart, int niveau) {
        remplissage.remplir(
            depart, [&](std::size_t i) { return niveaux[i] == TAtteinteOcean::Jamais && z[i] <= niveau; },
            [&](std::size_t i) {
                niveaux[i] = static_cast<std::int16_t>(niveau);
                sousZero += niveau < 0;
            },
            [&](std::size_t i) {
                if (niveaux[i] == TAtteinteOcean::Jamais && z[i] <= Haut)
                    pousser(i, z[i]);
            });
    };
    if (z[graine] <= Profond)
        remplirA(graine, Profond);
    else if (z[graine] <= Haut)
        pousser(graine, z[graine]);
    for (int b = 0; b < NbSeaux; ++b) {
        const int niveau = b + Profond;
        std::vector<std::uint32_t>& seau = seaux[static_cast<std::size_t>(b)];
        // Nothing is added to the bucket being emptied: what it leads to is either
        // settled at once or higher.
        for (std::size_t k = 0; k < seau.size(); ++k)
            remplissage.voisins(seau[k], [&](std::size_t j) {
                if (niveaux[j] != TAtteinteOcean::Jamais)
                    return;
                if (z[j] <= niveau)
                    remplirA(j, niveau);
                else if (z[j] <= Haut)
                    pousser(j, z[j]);
            });
        std::vector<std::uint32_t>().swap(seau);
    }
    return sousZero;
}

} // namespace

TAtteinteOcean calculerAtteinteOcean(const VueAltitudes& v)
{
    TAtteinteOcean a;
    const std::size_t n = v.taille();
    a.niveau.assign(n, TAtteinteOcean::Jamais);
    if (n == 0)
        return a;
    const std::int16_t* z = v.z;
    TRemplissage remplissage(v.lignes, v.colonnes);

    // The deepest cell, and how many cells lie below 0 m.
    std::size_t fond = 0, sousZero = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sousZero += z[i] < 0;
        if (z[i] < z[fond])
            fond = i;
    }
    if (sousZero == 0)
        return a;
    // The deepest cell nearly always lies in the ocean: its area below 0 m holds
    // more than half of such cells, so that no other can be larger.
    if (2 * remplirDepuis(v, remplissage, fond, a) > sousZero) {
        a.graine = static_cast<long long>(fond);
        return a;
    }

    // Otherwise the largest area below 0 m, and its deepest cell.
    std::vector<std::uint8_t> vu(n, 0);
    std::size_t plusGrande = 0, graine = fond;
    for (std::size_t depart = 0; depart < n; ++depart) {
        if (vu[depart] || z[depart] >= 0)
            continue;
        std::size_t taille = 0;
        std::size_t plusBas = depart;
        remplissage.remplir(
            depart, [&](std::size_t i) { return !vu[i] && z[i] < 0; },
            [&](std::size_t i) {
                vu[i] = 1;
                ++taille;
                if (z[i] < z[plusBas])
                    plusBas = i;
            },
            [](std::size_t) {});
        if (taille > plusGrande) {
            plusGrande = taille;
            graine = plusBas;
        }
    }
    std::fill(a.niveau.begin(), a.niveau.end(), TAtteinteOcean::Jamais);
    remplirDepuis(v, remplissage, graine, a);
    a.graine = static_cast<long long>(graine);
    return a;
}

// --- The file ---

QByteArray encoderTableSurfVol(const TTableSurfVol& t)
{
    QByteArray o(TailleFichierSurfVol, Qt::Uninitialized);
    char* p = o.data();
    auto mettre = [&p](double d) {
        qToLittleEndian<double>(d, p);
        p += 8;
    };
    for (int i = 0; i < TTableSurfVol::NbNiveaux; ++i) {
        mettre(t.S[static_cast<std::size_t>(i)]);
        mettre(t.V[static_cast<std::size_t>(i)]);
    }
    for (double u : t.U)
        mettre(u);
    return o;
}

bool decoderTableSurfVol(const QByteArray& octets, TTableSurfVol& t)
{
    if (octets.size() != TailleFichierSurfVol)
        return false;
    const char* p = octets.constData();
    auto lire = [&p] {
        const double d = qFromLittleEndian<double>(p);
        p += 8;
        return d;
    };
    for (int i = 0; i < TTableSurfVol::NbNiveaux; ++i) {
        t.S[static_cast<std::size_t>(i)] = lire();
        t.V[static_cast<std::size_t>(i)] = lire();
    }
    for (double& u : t.U)
        u = lire();
    return true;
}

bool ecrireTableSurfVol(const QString& chemin, const TTableSurfVol& t, QString* message)
{
    const QByteArray o = encoderTableSurfVol(t);
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(o) != o.size() || !f.commit()) {
        const QString raison = f.errorString();
        f.cancelWriting();
        if (message)
            *message = QStringLiteral("Impossible d'enregistrer le fichier « %1 » (%2).").arg(nomAffiche(chemin), raison);
        return false;
    }
    return true;
}

bool lireTableSurfVol(const QString& chemin, TTableSurfVol& t, QString* message)
{
    QByteArray o;
    if (!lireFichierEntier(chemin, o, message, 1 << 20))
        return false;
    if (!decoderTableSurfVol(o, t)) {
        if (message)
            *message = QStringLiteral("Le fichier « %1 » n'a pas la bonne taille : %2 octets au lieu de %3.")
                           .arg(nomAffiche(chemin))
                           .arg(o.size())
                           .arg(TailleFichierSurfVol);
        return false;
    }
    return true;
}

// --- The calculator ---

std::optional<double> niveauPourVolume(const std::array<double, TTableSurfVol::NbNiveaux>& V, double A)
{
    if (A == 0)
        return 0.0;
    if (!std::isfinite(A))
        return std::nullopt;
    for (int L = TTableSurfVol::NiveauMin; L <= 199; ++L) {
        const double v0 = V[static_cast<std::size_t>(L - TTableSurfVol::NiveauMin)];
        const double v1 = V[static_cast<std::size_t>(L + 1 - TTableSurfVol::NiveauMin)];
        if (v0 < A && A < v1)
            return L + (A - v0) / (v1 - v0);
    }
    return std::nullopt;
}

double augmentationVolumeThermique(double volumeEau, double coefficient, double rechauffement)
{
    return volumeEau * coefficient * rechauffement;
}

double variationVolumeOcean(int eau, int dorsales, int sediments)
{
    return (static_cast<double>(eau) + dorsales + sediments) * 1000000.0;
}

QString texteSurface(int L, const TTableSurfVol& t)
{
    if (L == 0 || L < TTableSurfVol::NiveauMin || L > TTableSurfVol::NiveauMax)
        return QString();
    const QString nombre = formatMotif(std::fabs(t.surface(L)), QStringLiteral("###,###,###,###"));
    return (L > 0 ? QStringLiteral("Surface recouverte : ") : QStringLiteral("Surface dégagée : ")) + nombre +
           QStringLiteral(" km²");
}

QString texteVolume(int L, const TTableSurfVol& t)
{
    if (L == 0 || L < TTableSurfVol::NiveauMin || L > TTableSurfVol::NiveauMax)
        return QString();
    return QStringLiteral("Volume d'eau correspondant : ") + formatMotif(t.volume(L), QStringLiteral("###,###,###,###")) +
           QStringLiteral(" km3");
}

QString texteRemontee(const std::optional<double>& niveau)
{
    if (!niveau)
        return QString::fromUtf8(TexteHorsModele);
    return QStringLiteral("Remontée du niveau marin (m) : ") + formatMotif(*niveau, QStringLiteral("#,##0.##"));
}

QString texteAugmentationVolume(double km3)
{
    return QStringLiteral("Augmentation de volume (km3) : ") + formatMotif(km3, QStringLiteral("###,###,###,##0"));
}

// --- The layer ---

void dessinerNiveauMarin(TBitmap32& calque, const TGrilleAltitude& g, int W, int H, int D, int L,
                         const TAtteinteOcean* atteinte)
{
    if (W <= 0 || H <= 0)
        return;
    if (calque.width() != W || calque.height() != H)
        calque.setSize(W, H);
    if (atteinte && atteinte->niveau.size() != g.valeurs().size())
        atteinte = nullptr;
    const int f = g.f();
    // Every pixel's row and column, computed once per line and per column.
    std::vector<std::size_t> debutLigne(static_cast<std::size_t>(H));
    for (int y = 0; y < H; ++y) {
        const int ligne = std::clamp(arrondi((H / 2.0 - y) * f / H * 180.0), -TGrilleAltitude::DemiLignes,
                                     TGrilleAltitude::DemiLignes);
        debutLigne[static_cast<std::size_t>(y)] =
            static_cast<std::size_t>(TGrilleAltitude::DemiLignes - ligne) * TGrilleAltitude::Colonnes;
    }
    std::vector<std::size_t> colonneDe(static_cast<std::size_t>(W));
    for (int x = 0; x < W; ++x) {
        int c = arrondi((x - W / 2.0) * 360.0 * f / W - static_cast<double>(D) * f);
        if (c < -180 * f)
            c += 360 * f;
        else if (c > 180 * f)
            c -= 360 * f;
        c = std::clamp(c, -TGrilleAltitude::DemiColonnes, TGrilleAltitude::DemiColonnes);
        colonneDe[static_cast<std::size_t>(x)] = static_cast<std::size_t>(c + TGrilleAltitude::DemiColonnes);
    }
    const std::int16_t* z = g.valeurs().data();
    constexpr TColor32 couleurs[3] = {CouleurTerre, CouleurMer, CouleurIsolee};
    for (int y = 0; y < H; ++y) {
        TColor32* ligne = calque.scanLine(y);
        const std::int16_t* zl = z + debutLigne[static_cast<std::size_t>(y)];
        if (!atteinte) {
            for (int x = 0; x < W; ++x)
                ligne[x] = zl[colonneDe[static_cast<std::size_t>(x)]] < L ? CouleurMer : CouleurTerre;
        } else {
            const std::int16_t* al = atteinte->niveau.data() + debutLigne[static_cast<std::size_t>(y)];
            for (int x = 0; x < W; ++x) {
                const std::size_t c = colonneDe[static_cast<std::size_t>(x)];
                ligne[x] = couleurs[static_cast<int>(etatCelluleReliee(zl[c], al[c], L))];
            }
        }
    }
}
