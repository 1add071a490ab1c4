#include "map/reperes.h"

#include "data/fichiers.h"

#include "data/decimal.h"
#include "data/records.h"
#include "map/grandcercle.h"
#include "map/lecture.h"
#include "map/projection.h"
#include "map/rendu.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace carte {

TGrilleReperes TGrilleReperes::nouvelle()
{
    TGrilleReperes g;
    g.cellules.push_back(entetes());
    g.cellules.push_back(QStringList{QString(), QString(), QString(), QString()});
    return g;
}

QStringList TGrilleReperes::entetes()
{
    return {QStringLiteral("Nom"), QStringLiteral("Latitude"), QStringLiteral("Longitude"),
            QStringLiteral("disposition")};
}

int TGrilleReperes::colonnes() const
{
    int n = 0;
    for (const QStringList& l : cellules)
        n = std::max(n, static_cast<int>(l.size()));
    return n;
}

QString TGrilleReperes::cellule(int ligne, int colonne) const
{
    if (ligne < 0 || ligne >= lignes() || colonne < 0)
        return {};
    const QStringList& l = cellules[static_cast<std::size_t>(ligne)];
    return colonne < l.size() ? l[colonne] : QString();
}

void TGrilleReperes::definirCellule(int ligne, int colonne, const QString& texte)
{
    if (ligne < 0 || colonne < 0)
        return;
    const int largeur = std::max(colonnes(), std::max(NbColonnes, colonne + 1));
    while (lignes() <= ligne)
        cellules.emplace_back();
    for (QStringList& l : cellules)
        while (l.size() < largeur)
            l.append(QString());
    cellules[static_cast<std::size_t>(ligne)][colonne] = texte;
}

QString dispositionDepuisTexte(const QString& texte)
{
    if (texte.isEmpty())
        return QStringLiteral("O");
    const QChar c = texte.at(0).toUpper();
    if (c == QLatin1Char('N') || c == QLatin1Char('S') || c == QLatin1Char('E') || c == QLatin1Char('P'))
        return QString(c);
    return QStringLiteral("O");
}

QString dispositionReconnue(const QString& texte)
{
    const QString t = texte.trimmed().toLower();
    if (t.isEmpty())
        return QStringLiteral("O");
    static const struct {
        const char* mot;
        const char* lettre;
    } connues[] = {{"n", "N"},         {"s", "S"},   {"e", "E"},   {"o", "O"},     {"p", "P"},
                   {"nord", "N"},      {"sud", "S"}, {"est", "E"}, {"ouest", "O"}, {"pas de point", "P"}};
    for (const auto& c : connues)
        if (t == QLatin1String(c.mot))
            return QString::fromLatin1(c.lettre);
    return {};
}

namespace {

// A cell's text as quoted in a message: long texts are shortened.
QString cite(const QString& texte)
{
    const QString t = texte.trimmed();
    return t.size() > 20 ? t.left(19) + QChar(0x2026) : t;
}

// The text of a coordinate cell as it is read: the first other decimal mark
// becomes the system's separator.
QString texteCoordonnee(const QString& cellule)
{
    QString t = cellule;
    const int pos = t.indexOf(QChar::fromLatin1(MarqueDecimaleRemplacee()));
    if (pos >= 0)
        t[pos] = QChar::fromLatin1(SeparateurDecimal());
    return t;
}

// Reads one coordinate cell into v; a French reason when it cannot be used.
QString lireCoordonnee(const QString& cellule, const char* nom, double borne, double& v)
{
    const QString quoi = QString::fromLatin1(nom);
    if (cellule.trimmed().isEmpty())
        return quoi + QStringLiteral(" manquante");
    if (!convertirReelSysteme(texteCoordonnee(cellule), v))
        return QStringLiteral("%1 « %2 » illisible").arg(quoi, cite(cellule));
    if (!std::isfinite(v) || v < -borne || v > borne)
        // No line break inside the bounds.
        return QStringLiteral("%1 « %2 » hors des bornes (de\u00a0\u2212%3\u00a0à\u00a0%3)")
            .arg(quoi, cite(cellule), QString::number(borne));
    return {};
}

} // namespace

bool ligneRepereVide(const TGrilleReperes& g, int ligne)
{
    for (int c = 0; c < 3; ++c)
        if (!g.cellule(ligne, c).trimmed().isEmpty())
            return false;
    return true;
}

std::vector<ErreurRepere> verifierLigneRepere(const TGrilleReperes& g, int ligne, TRepere* repere)
{
    std::vector<ErreurRepere> erreurs;
    TRepere r;
    r.Nom = g.cellule(ligne, 0);
    const QString nom = r.Nom.size() > LongueurNomRepere ? QString() : r.Nom.trimmed();
    auto noter = [&](int colonne, const QString& raison) {
        if (!raison.isEmpty())
            erreurs.push_back({ligne, colonne, raison, nom});
    };
    if (r.Nom.size() > LongueurNomRepere)
        noter(0, QStringLiteral("nom de %1 caractères (%2 au plus)").arg(r.Nom.size()).arg(LongueurNomRepere));
    noter(1, lireCoordonnee(g.cellule(ligne, 1), "latitude", LatitudeMaxRepere, r.Latitude));
    noter(2, lireCoordonnee(g.cellule(ligne, 2), "longitude", LongitudeMaxRepere, r.Longitude));
    r.Disposition = dispositionReconnue(g.cellule(ligne, 3));
    if (r.Disposition.isEmpty())
        noter(3, QStringLiteral("disposition « %1 » inconnue (N, S, E, O ou P)").arg(cite(g.cellule(ligne, 3))));
    if (erreurs.empty() && repere)
        *repere = r;
    return erreurs;
}

std::vector<ErreurRepere> verifierGrilleReperes(const TGrilleReperes& g)
{
    std::vector<ErreurRepere> erreurs;
    for (int ligne = 1; ligne < g.lignes(); ++ligne) {
        if (ligneRepereVide(g, ligne))
            continue;
        const std::vector<ErreurRepere> e = verifierLigneRepere(g, ligne);
        erreurs.insert(erreurs.end(), e.begin(), e.end());
    }
    return erreurs;
}

QString messageLignesIgnorees(const std::vector<ErreurRepere>& erreurs, int maxLignes)
{
    QStringList lignes;
    int restantes = 0;
    for (std::size_t i = 0; i < erreurs.size();) {
        const int ligne = erreurs[i].ligne;
        const QString nom = erreurs[i].nom;
        QStringList raisons;
        for (; i < erreurs.size() && erreurs[i].ligne == ligne; ++i)
            raisons << erreurs[i].raison;
        if (lignes.size() >= maxLignes) {
            ++restantes;
            continue;
        }
        const QString qui = nom.isEmpty() ? QString::number(ligne) : QStringLiteral("%1 (%2)").arg(ligne).arg(nom);
        lignes << QStringLiteral("Ligne %1 ignorée : %2.").arg(qui, raisons.join(QStringLiteral(", ")));
    }
    if (lignes.isEmpty())
        return {};
    if (restantes == 1)
        lignes << QStringLiteral("\u2026 et 1 autre ligne ignorée.");
    else if (restantes > 1)
        lignes << QStringLiteral("\u2026 et %1 autres lignes ignorées.").arg(restantes);
    lignes << QString() << QStringLiteral("Corrigez les cases marquées en rouge, puis validez à nouveau.");
    return lignes.join(QLatin1Char('\n'));
}

std::vector<TRepere> lireReperesGrille(TGrilleReperes& grille)
{
    std::vector<TRepere> reperes;
    grille.lignesIgnorees.clear();
    for (int ligne = 1; ligne < grille.lignes(); ++ligne) {
        if (ligneRepereVide(grille, ligne))
            continue;
        TRepere r;
        const std::vector<ErreurRepere> erreurs = verifierLigneRepere(grille, ligne, &r);
        if (!erreurs.empty()) {
            grille.lignesIgnorees.insert(grille.lignesIgnorees.end(), erreurs.begin(), erreurs.end());
            continue;
        }
        for (int c : {1, 2}) {
            const QString lu = texteCoordonnee(grille.cellule(ligne, c));
            if (lu != grille.cellule(ligne, c))
                grille.definirCellule(ligne, c, lu);
        }
        grille.definirCellule(ligne, 3, r.Disposition);
        reperes.push_back(r);
    }
    return reperes;
}

namespace {

// A cell holding a line break would shift every following value by a line.
QString celluleSurUneLigne(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

constexpr int MaxColonnesFichier = 64;
constexpr int MaxLignesFichier = 100000;

} // namespace

QByteArray ecrireFichierReperes(const TGrilleReperes& grille)
{
    const int C = std::max(grille.colonnes(), 1);
    const int R = grille.lignes();
    QByteArray out;
    auto ligne = [&out](const QString& s) {
        out += toCp1252(s);
        out += "\r\n";
    };
    ligne(QString::number(C));
    ligne(QString::number(R));
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            ligne(celluleSurUneLigne(grille.cellule(r, c)));
    ligne(grille.relier ? QStringLiteral("R") : QStringLiteral("N"));
    ligne(grille.grandsCercles ? QStringLiteral("GC") : QStringLiteral("N"));
    return out;
}

bool lireFichierReperes(const QByteArray& donnees, TGrilleReperes& grille, QString* erreur)
{
    QList<QByteArray> lignes = donnees.split('\n');
    for (QByteArray& l : lignes)
        if (l.endsWith('\r'))
            l.chop(1);
    auto echec = [erreur](const QString& m) {
        if (erreur)
            *erreur = m;
        return false;
    };
    int C = 0, R = 0;
    if (lignes.size() < 2 || !convertirEntier(lignes[0].constData(), lignes[0].constData() + lignes[0].size(), C) ||
        !convertirEntier(lignes[1].constData(), lignes[1].constData() + lignes[1].size(), R))
        return echec(QStringLiteral("Ce fichier n'est pas un fichier de repères."));
    if (C < 1 || C > MaxColonnesFichier || R < 1 || R > MaxLignesFichier)
        return echec(QStringLiteral("Ce fichier de repères annonce un tableau de taille impossible."));
    const qsizetype besoin = 2 + static_cast<qsizetype>(C) * R;
    if (lignes.size() < besoin)
        return echec(QStringLiteral("Ce fichier de repères est incomplet."));
    TGrilleReperes g;
    g.cellules.resize(static_cast<std::size_t>(R));
    qsizetype i = 2;
    for (int r = 0; r < R; ++r) {
        QStringList& l = g.cellules[static_cast<std::size_t>(r)];
        for (int c = 0; c < C; ++c)
            l.append(fromCp1252(lignes[i++]));
    }
    g.relier = i < lignes.size() && lignes[i].trimmed() == "R";
    ++i;
    g.grandsCercles = i < lignes.size() && lignes[i].trimmed() == "GC";
    grille = std::move(g);
    return true;
}

bool chargerFichierReperes(const QString& chemin, TGrilleReperes& grille, QString* erreur)
{
    // A landmark file is a few kilobytes; anything far larger is not one.
    QByteArray donnees;
    if (!lireFichierEntier(chemin, donnees, erreur, 64 * 1024 * 1024))
        return false;
    return lireFichierReperes(donnees, grille, erreur);
}

bool enregistrerFichierReperes(const QString& chemin, const TGrilleReperes& grille, QString* erreur)
{
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(ecrireFichierReperes(grille)) < 0 || !f.commit()) {
        if (erreur)
            *erreur = QStringLiteral("Impossible d'enregistrer le fichier « %1 ».").arg(chemin);
        return false;
    }
    return true;
}

QString texteTabule(const QString& titre, const TGrilleReperes& grille)
{
    return texteTabule(titre, grille, 0, 0, grille.lignes() - 1, grille.colonnes() - 1);
}

QString texteTabule(const QString& titre, const TGrilleReperes& grille, int ligne0, int colonne0, int ligne1,
                    int colonne1)
{
    QString t = titre + QLatin1Char('\n');
    for (int r = std::max(0, ligne0); r <= ligne1 && r < grille.lignes(); ++r) {
        QStringList cellules;
        for (int c = std::max(0, colonne0); c <= colonne1; ++c)
            cellules << grille.cellule(r, c);
        t += cellules.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return t;
}

QString texteCoordonneeRepere(double v)
{
    return formatDecimal(v, 2);
}

int longueurGroupe(const std::vector<TRepere>& reperes)
{
    int total = 0;
    for (std::size_t i = 1; i < reperes.size(); ++i)
        total += distanceGrandCercle(reperes[i - 1].Longitude, reperes[i - 1].Latitude, reperes[i].Longitude,
                                     reperes[i].Latitude);
    return total;
}

QPoint positionNom(const QString& disposition, int x, int y, int largeur, int hauteur)
{
    if (disposition == QLatin1String("S"))
        return {x - largeur / 2, y + 4};
    if (disposition == QLatin1String("O"))
        return {x - 4 - largeur, y - hauteur / 2};
    if (disposition == QLatin1String("N"))
        return {x - largeur / 2, y - 4 - hauteur};
    if (disposition == QLatin1String("E"))
        return {x + 4, y - hauteur / 2};
    return {x, y};
}

QRect dessinerGroupesReperes(const TGroupesReperes& groupes, TBitmap32& cible, int decalage,
                             const StyleReperes& style, std::vector<QRect>* zones)
{
    auto noter = [zones](const QRect& r) {
        if (zones)
            zones->push_back(r);
        return r;
    };
    const int W = cible.width();
    const int H = cible.height();
    QRect touche;
    if (cible.isEmpty())
        return touche;
    for (const GroupeReperes& g : groupes) {
        PointCarte precedent;
        for (std::size_t i = 0; i < g.reperes.size(); ++i) {
            const TRepere& r = g.reperes[i];
            const PointCarte p = geoVersCarte(r.Longitude, r.Latitude, W, H, decalage);
            if (r.Disposition != QLatin1String("P")) {
                tracerPoint(cible, p.x, p.y, style.couleur, style.pointsEpais);
                touche |= noter(QRect(p.x - 1, p.y - 1, 3, 3));
            }
            if (g.relier && i > 0) {
                if (g.grandsCercles) {
                    const TRepere& a = g.reperes[i - 1];
                    touche |= TraceGrandCercle({a.Latitude, a.Longitude, r.Latitude, r.Longitude}, style.couleur,
                                               cible, decalage, zones);
                } else {
                    cible.lineAA(precedent.x, precedent.y, p.x, p.y, style.couleur);
                    std::vector<QRect> morceaux;
                    touche |= zonesLigne(precedent.x, precedent.y, p.x, p.y, morceaux);
                    if (zones)
                        zones->insert(zones->end(), morceaux.begin(), morceaux.end());
                }
            }
            if (!r.Nom.isEmpty()) {
                const int w = TBitmap32::textWidth(r.Nom, style.police);
                const int h = TBitmap32::textHeight(r.Nom, style.police);
                const QPoint coin = positionNom(r.Disposition, p.x, p.y, w, h);
                cible.drawText(coin.x(), coin.y(), r.Nom, style.police, style.couleur);
                touche |= noter(QRect(coin.x() - h, coin.y() - h / 2, w + 2 * h, 2 * h));
            }
            precedent = p;
        }
    }
    return touche & cible.boundsRect();
}

} // namespace carte
