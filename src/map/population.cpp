#include "map/population.h"

#include "data/fichiers.h"
#include "map/motifnombre.h"
#include "ui/arrondi.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>

int TGrillePopulation::premiereLigneDe(const QString& nomFichier)
{
    return QFileInfo(nomFichier).suffix().toUpper() == QLatin1String("BIL") ? 5 : 0;
}

qint64 TGrillePopulation::tailleAttendue(const QString& nomFichier)
{
    return static_cast<qint64>(DerniereLigne + 1 - premiereLigneDe(nomFichier)) * Colonnes * 4;
}

bool decoderPopulation(const QString& chemin, const QByteArray& octets, TGrillePopulation& p, QString* message)
{
    const int premiere = TGrillePopulation::premiereLigneDe(chemin);
    const qint64 attendue = TGrillePopulation::tailleAttendue(chemin);
    if (octets.size() != attendue) {
        if (message) {
            const int lignes = TGrillePopulation::DerniereLigne + 1 - premiere;
            *message = QStringLiteral("Le fichier de population « %1 » n'a pas la bonne taille : %2 octets au lieu de "
                                      "%3 (%4 lignes de %5 cellules).")
                           .arg(nomAffiche(chemin), formatMotif(static_cast<double>(octets.size()), QStringLiteral("###,###,##0")),
                                formatMotif(static_cast<double>(attendue), QStringLiteral("###,###,##0")))
                           .arg(lignes)
                           .arg(TGrillePopulation::Colonnes);
        }
        return false;
    }
    TGrillePopulation n;
    n.premiereLigne = premiere;
    n.comptes.resize(static_cast<std::size_t>(attendue / 4));
    const auto* o = reinterpret_cast<const uchar*>(octets.constData());
    double total = 0;
    for (std::size_t i = 0; i < n.comptes.size(); ++i) {
        const std::uint32_t c = qFromLittleEndian<std::uint32_t>(o + 4 * i);
        n.comptes[i] = c;
        total += c;
    }
    n.total = total;
    p = std::move(n);
    return true;
}

bool lirePopulation(const QString& chemin, TGrillePopulation& p, QString* message)
{
    QByteArray octets;
    QString m;
    if (!lireFichierEntier(chemin, octets, &m, 64 << 20)) {
        if (message)
            *message = QStringLiteral("Grille de population illisible : ") + m;
        return false;
    }
    return decoderPopulation(chemin, octets, p, message);
}

int alphaDensite(double densite, int mini, int maxi)
{
    if (!(densite > mini))
        return 0;
    if (maxi <= mini)
        return 255;
    return std::clamp(arrondi((densite - mini) / (maxi - mini) * 255.0), 0, 255);
}

double dessinerPopulation(TBitmap32& calque, const TGrillePopulation& p, int W, int H, int D, TColor32 couleur,
                          int mini, int maxi)
{
    if (calque.width() != W || calque.height() != H)
        calque.setSize(W, H);
    else
        calque.clear();
    double total = 0;
    if (W <= 0 || H <= 0 || p.vide())
        return total;
    constexpr int N = TGrillePopulation::Colonnes;
    constexpr double K = 27.777777777777778; // km in a quarter degree
    const double pas = W / static_cast<double>(N);
    const int decalage = arrondi(D / 360.0 * W);
    const TColor32 rgb = couleur & 0x00FFFFFF;

    // Pixel column of each cell, brought into [0, W).
    std::vector<int> colonne(N);
    for (int i = 0; i < N; ++i) {
        int t = (arrondi(i * pas) + decalage) % W;
        if (t < 0)
            t += W;
        colonne[static_cast<std::size_t>(i)] = t;
    }

    std::vector<int> alphas(N);
    std::vector<std::uint8_t> ligne(static_cast<std::size_t>(W), 0);
    std::vector<std::uint8_t> precedente(static_cast<std::size_t>(W), 0);
    int yPrecedent = 0;
    bool premiere = true;
    double densite = 0;
    auto ecrire = [&](int y, const std::vector<std::uint8_t>& a) {
        if (y < 0 || y >= H)
            return;
        TColor32* px = calque.scanLine(y);
        for (int x = 0; x < W; ++x) {
            const std::uint32_t v = a[static_cast<std::size_t>(x)];
            px[x] = v ? (rgb | (v << 24)) : clTransparentWhite32;
        }
    };

    for (int r = p.premiereLigne; r <= TGrillePopulation::DerniereLigne; ++r) {
        const int y = arrondi(r * pas + 20.5 * pas);
        const double c = std::cos(TGrillePopulation::latitudeLigne(r) * M_PI / 180.0);
        for (int i = 0; i < N; ++i) {
            const std::uint32_t n = p.compte(r, i);
            total += n;
            if (c > 0)
                densite = n / (c * K) / K;
            alphas[static_cast<std::size_t>(i)] = alphaDensite(densite, mini, maxi);
        }
        // Along the row: each cell's pixel, then the pixels up to the next cell's
        // (the last cell's run reaches the first one's across the edge).
        for (int i = 0; i < N; ++i) {
            const int t = colonne[static_cast<std::size_t>(i)];
            const int a0 = alphas[static_cast<std::size_t>(i)];
            const int suivante = (i + 1) % N;
            const int a1 = alphas[static_cast<std::size_t>(suivante)];
            int d = colonne[static_cast<std::size_t>(suivante)] - t;
            if (d <= 0)
                d += W;
            ligne[static_cast<std::size_t>(t)] = static_cast<std::uint8_t>(a0);
            if (d >= W) // both cells on one pixel (a map narrower than the grid)
                continue;
            for (int k = 1; k < d; ++k) {
                int x = t + k;
                if (x >= W)
                    x -= W;
                ligne[static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(std::clamp(arrondi(a0 + (a1 - a0) * static_cast<double>(k) / d), 0, 255));
            }
        }
        ecrire(y, ligne);
        // Between the previous row and this one, column by column.
        if (!premiere && y - yPrecedent > 1) {
            const int dy = y - yPrecedent;
            for (int yy = std::max(yPrecedent + 1, 0); yy < y && yy < H; ++yy) {
                const std::uint32_t w = static_cast<std::uint32_t>((static_cast<std::int64_t>(yy - yPrecedent) << 16) / dy);
                TColor32* px = calque.scanLine(yy);
                for (int x = 0; x < W; ++x) {
                    const std::uint32_t a = (precedente[static_cast<std::size_t>(x)] * (65536u - w) +
                                             ligne[static_cast<std::size_t>(x)] * w + 32768u) >> 16;
                    px[x] = a ? (rgb | (std::min(a, 255u) << 24)) : clTransparentWhite32;
                }
            }
        }
        precedente.swap(ligne);
        yPrecedent = y;
        premiere = false;
    }
    return total;
}

double populationMenacee(const TGrillePopulation& p, const TGrilleAltitude& g, int L, const TAtteinteOcean* atteinte)
{
    if (p.vide())
        return 0;
    if (atteinte && atteinte->niveau.size() != g.valeurs().size())
        atteinte = nullptr;
    constexpr int N = TGrillePopulation::Colonnes;
    const int f = g.f();
    std::vector<int> colonne(N);
    for (int i = 0; i < N; ++i)
        colonne[static_cast<std::size_t>(i)] = arrondi(TGrillePopulation::longitudeColonne(i) * f);
    const std::int16_t* z = g.valeurs().data();
    double somme = 0;
    for (int r = p.premiereLigne; r <= TGrillePopulation::DerniereLigne; ++r) {
        const int ligneGrille = arrondi(TGrillePopulation::latitudeLigne(r) * f);
        for (int i = 0; i < N; ++i) {
            const std::uint32_t n = p.compte(r, i);
            if (n < 1)
                continue;
            const int c = colonne[static_cast<std::size_t>(i)];
            if (!g.surGrille(ligneGrille, c))
                continue;
            const std::size_t idx = static_cast<std::size_t>(TGrilleAltitude::DemiLignes - ligneGrille) *
                                        TGrilleAltitude::Colonnes +
                                    static_cast<std::size_t>(c + TGrilleAltitude::DemiColonnes);
            const bool sous = atteinte ? atteinte->niveau[idx] < L : z[idx] < L;
            if (sous)
                somme += n;
        }
    }
    return somme;
}

QString textePopulationMenacee(double somme, double total)
{
    const double arrondie = std::nearbyint(somme / 1000.0) * 1000.0;
    const double part = total > 0 ? arrondie / total * 100.0 : 0.0;
    return QStringLiteral("Population menacée : ") + formatMotif(arrondie, QStringLiteral("###,###,###,##0")) +
           QStringLiteral(" personnes (") + formatMotif(part, QStringLiteral("#0 %)"));
}
