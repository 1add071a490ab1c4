// orbiplate-data: builds Orbiplate's data folder from the public data sets of the
// agencies (USGS, ISC, Smithsonian GVP, UNR, IGN, NOAA, CIESIN, EarthByte, PB2002).

#include "import/construction.h"
#include "data/fichiers.h"
#include "import/produits.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

const char* const Aide = R"(Usage : orbiplate-data --sources DOSSIER [--out DOSSIER] [options]

Construit le dossier de données d'Orbiplate à partir des jeux de données publics
(même disposition que data-src : earthquakes/, volcanoes/, gps/, relief/,
population/, seafloor_age/, plates/, colour_scales/). Seuls les produits absents ou dont
les sources ont changé sont reconstruits.

Produits : config.obc, planisphere3600.jpg, planisphere7200.jpg,
planisphere_nb2.jpg, planispherenb.jpg, topo_10.bil (altitudes 1081 x 2161),
s.fse et seismes_*.fse, volcans.fvo, table2.txt et gps_*.gps, point/*.jpg
(courbes des séries temporelles) avec point/*.txt (leurs positions journalières),
exemples.txt, gpw2020.tdp (population), age_unavcob.png, echelle_age.png,
plaques_limites.txt, plaques_contours.txt, plaques_poles.txt (modèle PB2002),
autres_donnees.cft (liste de données), credits.txt.

Options :
  --sources DOSSIER   dossier des données publiques (obligatoire)
  --out DOSSIER       dossier à construire (défaut : ./donnees)
  --seismes FICHIER   catalogue de séismes pour s.fse (CSV USGS ComCat, USGS/NEIC,
                      ISC-GEM, ou GeoJSON USGS) au lieu des catalogues fournis
  --volcans FICHIER   liste de volcans GVP (CSV) pour volcans.fvo
  --gps FICHIER       table de vitesses (CSV en mm/an) pour table2.txt
  --aide DOSSIER      pages d'aide à copier dans aide/ (défaut : le dossier aide
                      du dépôt, à côté du dossier de compilation)
  --etalonnages       écrire aussi l'étalonnage (point/*.etl) de chaque image de
                      série temporelle, pour mesurer sans étalonner d'abord
                      (sans cette option, les élèves étalonnent eux-mêmes)
  --diffusion         seulement ce que les licences des sources permettent de
                      redistribuer (paquet de données) : sans l'âge des fonds
                      océaniques ni la série de USUD ; credits.txt le dit
  --force             tout reconstruire
  --jobs N            nombre de produits construits en même temps (défaut : 2)
  --help              cette aide
)";

void afficher(const QString& ligne)
{
    std::fprintf(stdout, "%s\n", ligne.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    // Text is drawn into pictures without any window.
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString sources, out = QStringLiteral("donnees");
    OptionsConstruction options;
    options.taches = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    Contexte ctx;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto valeur = [&](QString& cible) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "Option %s : valeur manquante.\n", a.toUtf8().constData());
                std::exit(2);
            }
            cible = args[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(Aide, stdout);
            return 0;
        } else if (a == QLatin1String("--sources")) {
            valeur(sources);
        } else if (a == QLatin1String("--out")) {
            valeur(out);
        } else if (a == QLatin1String("--seismes")) {
            valeur(ctx.seismes);
        } else if (a == QLatin1String("--volcans")) {
            valeur(ctx.volcans);
        } else if (a == QLatin1String("--gps")) {
            valeur(ctx.gps);
        } else if (a == QLatin1String("--aide")) {
            valeur(ctx.aide);
        } else if (a == QLatin1String("--etalonnages")) {
            ctx.etalonnages = true;
        } else if (a == QLatin1String("--diffusion")) {
            ctx.diffusion = true;
        } else if (a == QLatin1String("--force")) {
            options.forcer = true;
        } else if (a == QLatin1String("--jobs")) {
            QString n;
            valeur(n);
            options.taches = std::max(1, n.toInt());
        } else {
            std::fprintf(stderr, "Option inconnue : %s (voir --help).\n", a.toUtf8().constData());
            return 2;
        }
    }
    if (sources.isEmpty()) {
        std::fputs("Le dossier des sources est obligatoire (--sources DOSSIER ; voir --help).\n", stderr);
        return 2;
    }
    if (!QFileInfo(sources).isDir()) {
        std::fprintf(stderr, "Dossier des sources « %s » introuvable.\n", sources.toUtf8().constData());
        return 2;
    }
    if (ctx.aide.isEmpty()) {
        // The repository's help folder, next to the build folder holding this tool.
        const QString defaut = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../aide"));
        if (QFileInfo(defaut).isDir())
            ctx.aide = defaut;
    }
    for (QString* f : {&ctx.seismes, &ctx.volcans, &ctx.gps, &ctx.aide})
        if (!f->isEmpty())
            *f = QFileInfo(*f).absoluteFilePath();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "Impossible de créer le dossier « %s ».\n", out.toUtf8().constData());
        return 2;
    }
    ctx.sources = QDir(QFileInfo(sources).absoluteFilePath());
    ctx.sortie = QDir(QFileInfo(out).absoluteFilePath());

    QElapsedTimer chrono;
    chrono.start();
    const BilanConstruction b = construireDossier(ctx, listeProduits(ctx), options, &afficher);
    if (b.construits == 0 && b.echecs == 0) {
        afficher(QStringLiteral("Dossier de données à jour : %1").arg(nomAffiche(ctx.sortie.path())));
        return 0;
    }
    afficher(QStringLiteral("%1 produit(s) construit(s), %2 à jour, %3 échec(s) en %4 s : %5")
                 .arg(b.construits)
                 .arg(b.aJour)
                 .arg(b.echecs)
                 .arg(chrono.elapsed() / 1000.0, 0, 'f', 1)
                 .arg(nomAffiche(ctx.sortie.path())));
    for (const QString& e : b.erreurs)
        std::fprintf(stderr, "%s\n", e.toUtf8().constData());
    return b.echecs == 0 && b.erreurs.isEmpty() ? 0 : 1;
}
