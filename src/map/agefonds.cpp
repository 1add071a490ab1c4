#include "map/agefonds.h"

#include "data/fichiers.h"
#include "map/projection.h"
#include "ui/codecs.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

bool chargerImage(const QString& chemin, TBitmap32& image, const QString& quoi, QString* message)
{
    auto dire = [&](const QString& t) {
        if (message)
            *message = t;
        return false;
    };
    if (!QFileInfo(chemin).isFile())
        return dire(QStringLiteral("Fichier %1 « %2 » non trouvé.").arg(quoi, nomAffiche(chemin)));
    TBitmap32 lue;
    QString erreur;
    if (!loadPicture(chemin, lue, &erreur) || lue.isEmpty())
        return dire(QStringLiteral("Le fichier %1 « %2 » est illisible%3")
                        .arg(quoi, nomAffiche(chemin), erreur.isEmpty() ? QStringLiteral(".") : QStringLiteral(" : ") + erreur));
    image = std::move(lue);
    return true;
}

} // namespace

bool chargerImageAge(const QString& chemin, TBitmap32& image, QString* message)
{
    TBitmap32 lue;
    if (!chargerImage(chemin, lue, QStringLiteral("de l'âge des fonds océaniques"), message))
        return false;
    if (std::abs(lue.width() - 2 * lue.height()) > 2) {
        if (message)
            *message = QStringLiteral("L'image de l'âge des fonds océaniques « %1 » mesure %2 × %3 pixels : un "
                                      "planisphère doit être deux fois plus large que haut.")
                           .arg(nomAffiche(chemin))
                           .arg(lue.width())
                           .arg(lue.height());
        return false;
    }
    image = std::move(lue);
    return true;
}

bool chargerEchelleAge(const QString& chemin, TBitmap32& image, QString* message)
{
    return chargerImage(chemin, image, QStringLiteral("de l'échelle des âges"), message);
}

void remplirCalqueAge(TBitmap32& calque, const TBitmap32& image, int W, int H, int D)
{
    if (W <= 0 || H <= 0 || image.isEmpty()) {
        calque.setSize(0, 0);
        return;
    }
    calque.setSizeUninitialized(W, H);
    int roulement = carte::roulementPixels(D, W) % W;
    if (roulement < 0)
        roulement += W;
    // Source column of every destination column, the roll included; the nearest
    // source pixel to each destination pixel's centre, as the stretch draw takes it.
    const double sx = static_cast<double>(image.width()) / W;
    const double sy = static_cast<double>(image.height()) / H;
    std::vector<int> source(static_cast<std::size_t>(W));
    for (int x = 0; x < W; ++x) {
        const int u = std::clamp(static_cast<int>(std::floor((x + 0.5) * sx)), 0, image.width() - 1);
        int cible = x + roulement;
        if (cible >= W)
            cible -= W;
        source[static_cast<std::size_t>(cible)] = u;
    }
    for (int y = 0; y < H; ++y) {
        const int v = std::clamp(static_cast<int>(std::floor((y + 0.5) * sy)), 0, image.height() - 1);
        const TColor32* s = image.scanLine(v);
        TColor32* d = calque.scanLine(y);
        for (int x = 0; x < W; ++x) {
            const TColor32 p = s[source[static_cast<std::size_t>(x)]];
            d[x] = (alphaOf(p) == 0 || (p & 0x00FFFFFF) == 0x00FFFFFF) ? clTransparentWhite32 : p;
        }
    }
}
