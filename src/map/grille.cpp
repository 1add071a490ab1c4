#include "map/grille.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

TGrilleAltitude::TGrilleAltitude()
    : z_(static_cast<std::size_t>(Lignes) * Colonnes, 0)
{
    calculerTables();
}

int TGrilleAltitude::pasDepuisNom(const QString& nomFichier)
{
    const QString nom = QFileInfo(nomFichier).fileName();
    if (nom.size() <= 9)
        return 10;
    bool ok = false;
    const int m = nom.mid(5, nom.size() - 9).trimmed().toInt(&ok);
    // The array holds ten-minute cells: a finer step would index beyond it.
    if (!ok || m < 10 || m > 60)
        return 10;
    return m;
}

void TGrilleAltitude::calculerTables()
{
    for (int j = 0; j <= DemiLignes; ++j) {
        const double w = std::cos(j * M_PI / 1080.0) * PasKm;
        w_[static_cast<std::size_t>(j)] = static_cast<float>(w);
        a_[static_cast<std::size_t>(j)] = static_cast<float>(w * PasKm);
    }
}

void TGrilleAltitude::preparer(const QString& nomFichier)
{
    m_ = pasDepuisNom(nomFichier);
    f_ = 60 / m_;
    calculerTables();
    std::fill(z_.begin(), z_.end(), 0);
    charge_ = false;
    mini_ = maxi_ = 0;
}

bool TGrilleAltitude::charger(const QString& chemin)
{
    preparer(chemin);
    QFile fichier(chemin);
    if (chemin.isEmpty() || !fichier.open(QIODevice::ReadOnly))
        return false;
    lireValeurs(fichier.read(static_cast<qint64>(z_.size()) * 2));
    return true;
}

void TGrilleAltitude::chargerOctets(const QString& nomFichier, const QByteArray& octets)
{
    preparer(nomFichier);
    lireValeurs(octets);
}

void TGrilleAltitude::lireValeurs(const QByteArray& octets)
{
    const std::size_t n = std::min(static_cast<std::size_t>(octets.size() / 2), z_.size());
    const auto* p = reinterpret_cast<const unsigned char*>(octets.constData());
    int mn = std::numeric_limits<int>::max();
    int mx = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)));
        z_[i] = v;
        if (v < mn)
            mn = v;
        if (v > mx)
            mx = v;
    }
    if (n > 0) {
        mini_ = mn;
        maxi_ = mx;
    }
    charge_ = true;
}

QString TGrilleAltitude::texteMiniMaxi() const
{
    return QStringLiteral("mini : %1 ; maxi : %2").arg(mini_).arg(maxi_);
}

bool TGrilleAltitude::surGrille(int ligne, int colonne) const
{
    return std::abs(ligne) <= 90 * f_ && std::abs(colonne) <= 180 * f_ && std::abs(ligne) <= DemiLignes
           && std::abs(colonne) <= DemiColonnes;
}

int TGrilleAltitude::altitude(int ligne, int colonne) const
{
    if (!surGrille(ligne, colonne))
        return 0;
    const std::size_t i = static_cast<std::size_t>(DemiLignes - ligne) * Colonnes
                          + static_cast<std::size_t>(colonne + DemiColonnes);
    return z_[i];
}
