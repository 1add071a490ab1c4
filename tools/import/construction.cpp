#include "import/construction.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

const char* const FichierEtat = ".orbiplate-data.etat";

namespace {

// Raised whenever a product's content changes with the same sources.
constexpr int VersionOutil = 4;

std::map<QString, QString> lireEtat(const QDir& sortie)
{
    std::map<QString, QString> etat;
    QFile f(sortie.filePath(QString::fromLatin1(FichierEtat)));
    if (!f.open(QIODevice::ReadOnly))
        return etat;
    for (const QByteArray& l : f.readAll().split('\n')) {
        const int tab = l.indexOf('\t');
        if (tab > 0)
            etat[QString::fromUtf8(l.left(tab))] = QString::fromUtf8(l.mid(tab + 1));
    }
    return etat;
}

bool ecrireEtat(const QDir& sortie, const std::map<QString, QString>& etat)
{
    QByteArray d;
    for (const auto& kv : etat)
        d += kv.first.toUtf8() + '\t' + kv.second.toUtf8() + '\n';
    QSaveFile f(sortie.filePath(QString::fromLatin1(FichierEtat)));
    return f.open(QIODevice::WriteOnly) && f.write(d) == d.size() && f.commit();
}

} // namespace

QString signatureProduit(const Contexte& ctx, const Produit& p)
{
    QStringList s;
    s << QStringLiteral("v%1").arg(VersionOutil);
    for (const QString& src : p.sources) {
        const QFileInfo fi(QDir::isAbsolutePath(src) ? src : ctx.sources.filePath(src));
        if (fi.isFile())
            s << QStringLiteral("%1:%2:%3").arg(src).arg(fi.size()).arg(fi.lastModified().toMSecsSinceEpoch());
        else
            s << src + QStringLiteral(":absent");
    }
    for (const QString& out : p.sorties) {
        const QFileInfo fi(ctx.sortie.filePath(out));
        s << QStringLiteral("%1=%2").arg(out).arg(fi.isFile() ? fi.size() : -1);
    }
    return s.join(QLatin1Char('|'));
}

BilanConstruction construireDossier(const Contexte& ctx, const std::vector<Produit>& produits,
                                    const OptionsConstruction& options,
                                    const std::function<void(const QString&)>& afficher)
{
    BilanConstruction bilan;
    std::map<QString, QString> etat = lireEtat(ctx.sortie);
    std::vector<const Produit*> aFaire;
    for (const Produit& p : produits) {
        bool manquant = false;
        for (const QString& out : p.sorties)
            manquant = manquant || !QFileInfo(ctx.sortie.filePath(out)).isFile();
        const auto it = etat.find(p.nom);
        if (!options.forcer && !manquant && it != etat.end() && it->second == signatureProduit(ctx, p))
            ++bilan.aJour;
        else
            aFaire.push_back(&p);
    }
    std::mutex verrou;
    std::atomic<std::size_t> suivant{0};
    auto travail = [&] {
        for (;;) {
            const std::size_t i = suivant++;
            if (i >= aFaire.size())
                return;
            const Produit& p = *aFaire[i];
            QElapsedTimer chrono;
            chrono.start();
            QStringList journal;
            QString erreur;
            const bool ok = p.construire(ctx, journal, erreur);
            std::lock_guard<std::mutex> g(verrou);
            if (ok) {
                ++bilan.construits;
                etat[p.nom] = signatureProduit(ctx, p);
                afficher(QStringLiteral("[%1] fait en %2 s").arg(p.nom).arg(chrono.elapsed() / 1000.0, 0, 'f', 1));
                for (const QString& l : journal)
                    afficher(QStringLiteral("    ") + l);
            } else {
                ++bilan.echecs;
                etat.erase(p.nom);
                bilan.erreurs << QStringLiteral("[%1] %2").arg(p.nom, erreur);
                afficher(QStringLiteral("[%1] ÉCHEC : %2").arg(p.nom, erreur));
            }
        }
    };
    const int n = std::max(1, std::min<int>(options.taches, static_cast<int>(aFaire.size())));
    std::vector<std::thread> fils;
    for (int i = 1; i < n; ++i)
        fils.emplace_back(travail);
    travail();
    for (auto& f : fils)
        f.join();
    if (!aFaire.empty() && !ecrireEtat(ctx.sortie, etat))
        bilan.erreurs << QStringLiteral("Impossible d'écrire le fichier d'état « %1 ».").arg(QString::fromLatin1(FichierEtat));
    return bilan;
}
