#include "import/produits.h"
#include "data/fichiers.h"

#include "data/catalogues.h"
#include "data/loaders.h"
#include "import/itrf.h"
#include "import/plaques.h"
#include "plates/plaques.h"
#include "import/series.h"
#include "ui/codecs.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

namespace {

constexpr double RayonTerre = 6371.0072;  // km, sphere of equal area
constexpr double Pi = 3.14159265358979323846;

QString chemin(const Contexte& ctx, const QString& relatif)
{
    return QDir::isAbsolutePath(relatif) ? relatif : ctx.sources.filePath(relatif);
}
QString sortie(const Contexte& ctx, const QString& nom)
{
    return ctx.sortie.filePath(nom);
}

bool lireTout(const QString& fichier, QByteArray& donnees, QString& erreur)
{
    if (lireFichierEntier(fichier, donnees, &erreur))
        return true;
    // The sources are named as such in the tool's report.
    if (!QFileInfo(fichier).isFile())
        erreur = QStringLiteral("Fichier source « %1 » non trouvé.").arg(nomAffiche(fichier));
    return false;
}

bool enregistrerImage(const QString& fichier, const TBitmap32& img, int qualite, QString& erreur)
{
    QString e;
    if (!savePicture(fichier, img, &e, qualite)) {
        erreur = QStringLiteral("Impossible d'écrire « %1 » : %2").arg(nomAffiche(fichier), e);
        return false;
    }
    return true;
}

QString separateurMilliers(long long n)
{
    QString s = QString::number(n);
    for (int i = s.size() - 3; i > (n < 0 ? 1 : 0); i -= 3)
        s.insert(i, QChar(0x202F));
    return s;
}

// ---- relief and pictures ----------------------------------------------------------

// Sampling of a relief grid at the centres of a w x h plate carrée picture,
// rows north first; NaN becomes 0.
std::vector<float> reliefEchantillonne(const Grille& g, int w, int h)
{
    std::vector<float> e(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const double lat = 90.0 - (y + 0.5) * 180.0 / h;
        float* ligne = e.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const double v = g.bicubique(lat, -180.0 + (x + 0.5) * 360.0 / w);
            ligne[x] = std::isnan(v) ? 0.0f : static_cast<float>(v);
        }
    }
    return e;
}

TColor32 ombrer(TColor32 c, double f)
{
    auto m = [f](std::uint32_t v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v * f), 0L, 255L)); };
    return color32(m(redOf(c)), m(greenOf(c)), m(blueOf(c)));
}

bool ecrireStations(const QString& fichier, const std::vector<TStationGPS>& st, QString& erreur)
{
    return ecrireAtomique(fichier, encoderStations(st), erreur);
}

// ---- catalogues ------------------------------------------------------------------

bool seismesDe(const Contexte& ctx, const QString& relatif, std::vector<TSeisme>& out, QStringList& journal,
               QString& erreur)
{
    BilanCatalogue b;
    QString msg;
    if (!lireCatalogueSeismes(chemin(ctx, relatif), out, &msg, &b)) {
        erreur = msg;
        return false;
    }
    journal << QStringLiteral("  %1 : %2, %3 séismes ; %4")
                   .arg(QFileInfo(relatif).fileName(), b.format)
                   .arg(b.lus)
                   .arg(texteIgnores(b));
    return true;
}

void trierParDate(std::vector<TSeisme>& s)
{
    std::stable_sort(s.begin(), s.end(), [](const TSeisme& a, const TSeisme& b) { return a.DateHeure < b.DateHeure; });
}

bool produitSeismes(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    std::vector<TSeisme> defaut;
    if (!ctx.seismes.isEmpty()) {
        if (!seismesDe(ctx, ctx.seismes, defaut, journal, erreur))
            return false;
    } else {
        // ComCat M >= 5 since 2013, completed before 2013 by ComCat M >= 6 since 1900
        // (the two queries do not overlap in time, so nothing is counted twice).
        std::vector<TSeisme> m5, m6;
        if (!seismesDe(ctx, QStringLiteral("earthquakes/usgs_comcat_M5plus_2013-2023.csv"), m5, journal, erreur) ||
            !seismesDe(ctx, QStringLiteral("earthquakes/usgs_comcat_M6plus_1900-2023.csv"), m6, journal, erreur))
            return false;
        double debutM5 = 1e18;
        for (const auto& s : m5)
            debutM5 = std::min(debutM5, s.DateHeure);
        const double debutJour = std::floor(debutM5);
        for (const auto& s : m6)
            if (s.DateHeure < debutJour)
                defaut.push_back(s);
        const std::size_t recents = m6.size() - defaut.size();
        if (recents > 0)
            journal << QStringLiteral("  séismes M6 à partir du %1 laissés au catalogue M5, qui les contient : %2")
                           .arg(QDate(1899, 12, 30).addDays(static_cast<qint64>(debutJour)).toString(QStringLiteral("dd/MM/yyyy")))
                           .arg(recents);
        defaut.insert(defaut.end(), m5.begin(), m5.end());
    }
    trierParDate(defaut);
    if (defaut.empty()) {
        erreur = QStringLiteral("Aucun séisme lu : « s.fse » n'est pas écrit.");
        return false;
    }
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::Seismes)), encoderSeismes(defaut), erreur))
        return false;
    journal << QStringLiteral("s.fse : %1 séismes").arg(defaut.size());
    return true;
}

struct Alternative {
    const char* source;
    const char* fichier;
};
const Alternative alternativesSeismes[] = {
    {"earthquakes/derived/isc-gem-cat_v7.0_from_kmz.csv", "seismes_isc-gem_1904-2016.fse"},
    {"earthquakes/usgs_neic_significant_M5.5plus_1965-2016.csv", "seismes_neic_1965-2016.fse"},
    {"earthquakes/usgs_comcat_M6plus_1900-2023.csv", "seismes_M6_1900-2023.fse"},
    {"earthquakes/vega-datasets_3.2.1_usgs_all_week_2018-02.geojson.json", "seismes_semaine_2018.fse"},
};

bool produitSeismesAlternatifs(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    for (const Alternative& a : alternativesSeismes) {
        std::vector<TSeisme> s;
        if (!seismesDe(ctx, QString::fromLatin1(a.source), s, journal, erreur))
            return false;
        trierParDate(s);
        if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(a.fichier)), encoderSeismes(s), erreur))
            return false;
        journal << QStringLiteral("%1 : %2 séismes").arg(QString::fromLatin1(a.fichier)).arg(s.size());
    }
    return true;
}

bool produitVolcans(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    std::vector<TVolcan> volcans;
    QString msg;
    BilanCatalogue b;
    if (!ctx.volcans.isEmpty()) {
        if (!lireCatalogueVolcans(chemin(ctx, ctx.volcans), volcans, &msg, &b)) {
            erreur = msg;
            return false;
        }
        journal << QStringLiteral("  %1 : %2, %3 volcans ; %4").arg(ctx.volcans, b.format).arg(b.lus).arg(texteIgnores(b));
    } else {
        QByteArray holo, pleisto, eruptions;
        const QString fHolo = chemin(ctx, QStringLiteral("volcanoes/GVP_Volcano_List_Holocene_VOTW5.0.0_2022-12-07.csv"));
        const QString fPleisto = chemin(ctx, QStringLiteral("volcanoes/GVP_Volcano_List_Pleistocene_undated-version.csv"));
        const QString fErupt = chemin(ctx, QStringLiteral("volcanoes/GVP_Eruption_Results_2022-02.csv"));
        if (!lireTout(fHolo, holo, erreur) || !lireTout(fPleisto, pleisto, erreur) ||
            !lireTout(fErupt, eruptions, erreur))
            return false;
        std::vector<int> numeros;
        if (!lireListeVolcansGVP(holo, fHolo, volcans, numeros, &msg, &b)) {
            erreur = msg;
            return false;
        }
        journal << QStringLiteral("  liste holocène : %1 volcans ; %2").arg(b.lus).arg(texteIgnores(b));
        std::map<int, int> dernieres;
        if (!lireEruptionsGVP(eruptions, fErupt, dernieres, &msg)) {
            erreur = msg;
            return false;
        }
        const int changes = appliquerEruptions(volcans, numeros, dernieres);
        journal << QStringLiteral("  liste des éruptions : %1 dates d'activité rendues plus récentes").arg(changes);
        std::vector<int> numerosP;
        if (!lireListeVolcansGVP(pleisto, fPleisto, volcans, numerosP, &msg, &b)) {
            erreur = msg;
            return false;
        }
        journal << QStringLiteral("  liste pléistocène : %1 volcans ; %2").arg(b.lus).arg(texteIgnores(b));
        // A volcano found in both lists keeps its Holocene entry.
        const std::size_t holocenes = numeros.size();
        numeros.insert(numeros.end(), numerosP.begin(), numerosP.end());
        const int doublons = retirerDoublonsVolcans(volcans, numeros, holocenes);
        journal << QStringLiteral("  %1 volcan(s) de la liste pléistocène déjà dans la liste holocène écarté(s)")
                       .arg(doublons);
    }
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::Volcans)), encoderVolcans(volcans), erreur))
        return false;
    journal << QStringLiteral("volcans.fvo : %1 volcans").arg(volcans.size());
    return true;
}

// Positions and velocities of the ITRF2014 network, every solution of every station;
// the NGL station list gives the stations' observation periods.
const char* const SourceITRF = "gps/itrf2014/ITRF2014_GNSS.SSC.txt";
const char* const ListeNGL = "gps/ngl_midas/DataHoldings_2020-09.txt";

const char* const seriesStations[] = {
    "gps/timeseries/HUSB.IGS14.tenv3", "gps/timeseries/UTUR.IGS14.tenv3", "gps/timeseries/LHAS.tenv3",
    "gps/timeseries/P156.pbo.final_igs08.pos", "gps/timeseries/USUD.pos.neu",
};

// The series whose producer and terms of use are unknown: never redistributed.
bool serieRetenue(const Contexte& ctx, const char* fichier)
{
    return !ctx.diffusion || !QByteArray(fichier).contains("USUD");
}

bool lireMidasSources(const Contexte& ctx, std::vector<TStationGPS>& out, QString& erreur, double dureeMini,
                      BilanCatalogue* bilan = nullptr)
{
    QByteArray vit, liste;
    const QString fv = chemin(ctx, QStringLiteral("gps/ngl_midas/midas.IGS14_2020-09.txt"));
    if (!lireTout(fv, vit, erreur) ||
        !lireTout(chemin(ctx, QStringLiteral("gps/ngl_midas/DataHoldings_2020-09.txt")), liste, erreur))
        return false;
    QString msg;
    if (!lireMidas(vit, liste, nomAffiche(fv), out, &msg, bilan, dureeMini)) {
        erreur = msg;
        return false;
    }
    return true;
}

// The ITRF2014 network, one solution per station: the one of its long-term motion.
bool stationsITRF(const Contexte& ctx, std::vector<TStationGPS>& out, QStringList* journal, QString& erreur)
{
    const QString f = chemin(ctx, QString::fromLatin1(SourceITRF));
    QByteArray d, liste;
    if (!lireTout(f, d, erreur) || !lireTout(chemin(ctx, QString::fromLatin1(ListeNGL)), liste, erreur))
        return false;
    QString msg;
    ChoixITRF choix;
    std::map<QString, int> motifs;
    if (!lireStationsITRF(d, liste, nomAffiche(f), out, &msg, &choix, &motifs)) {
        erreur = msg;
        return false;
    }
    if (journal) {
        BilanCatalogue b;
        for (const auto& m : motifs)
            b.ignores += m.second;
        b.ignoresParMotif = motifs;
        *journal << QStringLiteral("  %1 : %2 stations ; %3").arg(QFileInfo(f).fileName()).arg(choix.stations).arg(texteIgnores(b));
        *journal << QStringLiteral("  %1 stations à plusieurs solutions : vitesse à long terme retenue, différente de "
                                   "celle de la dernière solution pour %2 d'entre elles (période d'observation de la "
                                   "liste NGL pour %3 stations)")
                        .arg(choix.plusieurs)
                        .arg(choix.autreQueDerniere)
                        .arg(choix.periodes);
    }
    return true;
}

bool produitGPS(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    std::vector<TStationGPS> uniques;
    std::set<QByteArray> codes;
    if (ctx.gps.isEmpty()) {
        if (!stationsITRF(ctx, uniques, &journal, erreur))
            return false;
        for (const auto& s : uniques)
            codes.insert(s.Nom.bytes());
    } else {
        std::vector<TStationGPS> reseau;
        QString msg;
        BilanCatalogue b;
        if (!lireCatalogueGPS(chemin(ctx, ctx.gps), reseau, &msg, &b)) {
            erreur = msg;
            return false;
        }
        // One station per code: the first row of a code is kept.
        for (const auto& s : reseau)
            if (codes.insert(s.Nom.bytes()).second)
                uniques.push_back(s);
        journal << QStringLiteral("  %1 : %2 stations ; %3").arg(QFileInfo(ctx.gps).fileName()).arg(b.lus).arg(texteIgnores(b));
        if (uniques.size() < reseau.size())
            journal << QStringLiteral("  %1 ligne(s) d'un code déjà lu écartée(s) (la première ligne du code est gardée)")
                           .arg(reseau.size() - uniques.size());
    }

    // Stations whose daily series have curves must be in the default table: taken
    // from the MIDAS solution, or else fitted on the series itself.
    std::vector<TStationGPS> midas;
    BilanCatalogue bMidas;
    if (!lireMidasSources(ctx, midas, erreur, 0, &bMidas))
        return false;
    std::map<QByteArray, TStationGPS> parCode;
    for (const auto& s : midas)
        parCode.emplace(s.Nom.bytes(), s);
    for (const char* f : seriesStations) {
        if (!serieRetenue(ctx, f))
            continue;
        QByteArray d;
        if (!lireTout(chemin(ctx, QString::fromLatin1(f)), d, erreur))
            return false;
        SerieGPS serie;
        if (!lireSerie(d, QString::fromLatin1(f), serie, &erreur))
            return false;
        const QByteArray code = toCp1252(serie.code).left(4);
        if (codes.count(code))
            continue;
        const auto it = parCode.find(code);
        if (it != parCode.end()) {
            uniques.push_back(it->second);
            journal << QStringLiteral("  %1 ajoutée (vitesse MIDAS)").arg(serie.code);
        } else {
            VitessesSerie v;
            if (!vitessesSerie(serie, v)) {
                erreur = QStringLiteral("Fichier « %1 » : série trop courte pour en tirer une vitesse.").arg(QString::fromLatin1(f));
                return false;
            }
            TStationGPS s;
            s.Nom.assignBytes(code.constData(), static_cast<int>(code.size()));
            s.Affiche = 1;
            s.Latitude = serie.latitude;
            s.Longitude = serie.longitude;
            s.Altitude = serie.hauteur * 1000;
            s.VitLat = v.vN;
            s.VitLong = v.vE;
            s.VitAlt = v.vU;
            s.IncVitLat = std::max(v.sN, 0.01);
            s.IncVitLong = std::max(v.sE, 0.01);
            s.IncVitAlt = std::max(v.sU, 0.01);
            uniques.push_back(s);
            journal << QStringLiteral("  %1 ajoutée (vitesse ajustée sur la série)").arg(serie.code);
        }
        codes.insert(code);
    }
    for (std::size_t i = 0; i < uniques.size(); ++i)
        uniques[i].Rang = static_cast<std::int16_t>(i);
    const QString titre = ctx.gps.isEmpty()
                              ? QStringLiteral("Vitesses GNSS ITRF2014 (IGN, Altamimi et al. 2016) en mm/an, "
                                               "hauteurs en mm ; stations des séries temporelles : UNR MIDAS")
                              : QStringLiteral("Vitesses GPS en mm/an, hauteurs en mm");
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::GPS)), texteGPS(uniques, titre), erreur) ||
        !ecrireStations(sortie(ctx, QStringLiteral("gps_itrf2014.gps")), uniques, erreur))
        return false;
    journal << QStringLiteral("table2.txt et gps_itrf2014.gps : %1 stations").arg(uniques.size());

    // Larger alternatives: the whole MIDAS network, and the stations with at least
    // 2.5 years of data and a north uncertainty under 1 mm/an.
    if (!ecrireStations(sortie(ctx, QStringLiteral("gps_midas_complet.gps")), midas, erreur))
        return false;
    std::vector<TStationGPS> fiables;
    std::vector<TStationGPS> longues;
    BilanCatalogue bLongues;
    if (!lireMidasSources(ctx, longues, erreur, 2.5, &bLongues))
        return false;
    for (const auto& s : longues)
        if (s.IncVitLat < 1.0)
            fiables.push_back(s);
    if (!ecrireStations(sortie(ctx, QStringLiteral("gps_midas_fiables.gps")), fiables, erreur))
        return false;
    journal << QStringLiteral("gps_midas_complet.gps : %1 stations ; %2").arg(midas.size()).arg(texteIgnores(bMidas));
    BilanCatalogue bFiables = bLongues;
    if (longues.size() > fiables.size()) {
        const int incertaines = static_cast<int>(longues.size() - fiables.size());
        bFiables.ignores += incertaines;
        bFiables.ignoresParMotif[QStringLiteral("à incertitude nord de 1 mm/an ou plus")] += incertaines;
    }
    journal << QStringLiteral("gps_midas_fiables.gps : %1 stations ; %2").arg(fiables.size()).arg(texteIgnores(bFiables));
    return true;
}

bool produitSeries(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    QDir dossier(ctx.sortie.filePath(QStringLiteral("point")));
    if (!dossier.exists() && !ctx.sortie.mkpath(QStringLiteral("point"))) {
        erreur = QStringLiteral("Impossible de créer le dossier « %1 ».").arg(dossier.path());
        return false;
    }
    for (const char* f : seriesStations) {
        if (!serieRetenue(ctx, f))
            continue;
        QByteArray d;
        if (!lireTout(chemin(ctx, QString::fromLatin1(f)), d, erreur))
            return false;
        SerieGPS serie;
        if (!lireSerie(d, QString::fromLatin1(f), serie, &erreur))
            return false;
        AxesCourbes axes;
        const TBitmap32 img = dessinerCourbes(serie, &axes);
        const QString code = serie.code.left(4);
        const QString nom = code + QStringLiteral(".jpg");
        if (!enregistrerImage(dossier.filePath(nom), img, 92, erreur))
            return false;
        // The days the picture plots, for the viewer's fit over a window.
        if (!ecrireAtomique(dossier.filePath(code + QStringLiteral(".txt")),
                            courbes::textePositions(code, positionsCourbes(serie)), erreur))
            return false;
        if (ctx.etalonnages) {
            QString message;
            if (!courbes::ecrireEtalonnage(dossier.filePath(code + QStringLiteral(".etl")), etalonnageCourbes(axes),
                                           &message)) {
                erreur = message;
                return false;
            }
        }
        journal << QStringLiteral("point/%1 : %2 jours de %3 à %4")
                       .arg(nom)
                       .arg(serie.points.size())
                       .arg(serie.points.front().t, 0, 'f', 1)
                       .arg(serie.points.back().t, 0, 'f', 1);
    }
    return true;
}

// Stations of the exercises: long-running sites spread over the main plates.
const char* const stationsExemples[] = {
    "ZIMM", "WTZR", "ONSA", "GRAS", "POL2", "IRKT", "BJFS", "LHAS",  // Eurasia
    "ALGO", "NRC1", "GODE", "PIE1", "YELL", "FAIR",                  // North America
    "KOKB", "MKEA", "THTI", "CHAT",                                  // Pacific
    "TIDB", "ALIC", "DARW", "YAR2", "AUCK",                          // Australia
    "BRAZ", "KOUR", "LPGS", "SANT", "UNSA",                          // South America
    "HARB", "MAS1", "NKLG", "MALI", "RABT",                          // Africa (Nubia, Somalia)
    "MCM4", "CAS1", "DAV1",                                          // Antarctica
    "GLPS", "EISL",                                                  // Nazca
    "IISC", "HYDE", "BAHR", "YIBL", "GUAM", "REYK", "NOUM",          // India, Arabia, Philippine Sea, ...
};

bool produitExemples(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    std::vector<TStationGPS> reseau;
    if (!stationsITRF(ctx, reseau, nullptr, erreur))
        return false;
    std::vector<TStationGPS> choisis;
    for (const char* code : stationsExemples) {
        const auto it = std::find_if(reseau.begin(), reseau.end(),
                                     [&](const TStationGPS& s) { return s.Nom.bytes() == QByteArray(code); });
        if (it != reseau.end())
            choisis.push_back(*it);
    }
    if (choisis.size() < 3) {
        erreur = QStringLiteral("Trop peu de stations d'exemple trouvées dans le réseau ITRF2014.");
        return false;
    }
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::Exemples)), texteExemples(choisis), erreur))
        return false;
    journal << QStringLiteral("exemples.txt : %1 stations").arg(choisis.size());
    return true;
}

// ---- grids -----------------------------------------------------------------------

bool produitRelief(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    const QString f = chemin(ctx, QStringLiteral("relief/gmt_earth_relief_10m_g_SRTM15V2.grd"));
    Grille g;
    if (!lireGrille(f, g, &erreur) || !verifierTaille(g, f, 2161, 1081, &erreur))
        return false;
    const QByteArray d = grilleAltitudes(g);
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::Relief)), d, erreur))
        return false;
    journal << QStringLiteral("%1 : 1081 × 2161 altitudes (%2 octets)").arg(QString::fromLatin1(NomsDonnees::Relief)).arg(d.size());
    return true;
}

bool reliefPourImages(const Contexte& ctx, Grille& g, QStringList& journal, QString& erreur)
{
    // SRTM15+ at 10' (smooth, modern data) interpolated bicubically; ETOPO5 (5',
    // 1980s compilation with stair-step artefacts on land) only when it is missing.
    QString e1;
    const QString f10 = chemin(ctx, QStringLiteral("relief/gmt_earth_relief_10m_g_SRTM15V2.grd"));
    if (lireGrille(f10, g, &e1) && verifierTaille(g, f10, 2161, 1081, &e1))
        return true;
    journal << QStringLiteral("  grille de 10' indisponible (%1) : images tirées d'ETOPO5").arg(e1);
    const QString f5 = chemin(ctx, QStringLiteral("relief/etopo5.cdf"));
    return lireGrille(f5, g, &erreur) && verifierTaille(g, f5, 4320, 2161, &erreur);
}

bool produitPlanispheres(const Contexte& ctx, int largeur, const char* couleur, const char* nb, QStringList& journal,
                         QString& erreur)
{
    Grille g;
    if (!reliefPourImages(ctx, g, journal, erreur))
        return false;
    Palette p;
    if (!chargerPalette(chemin(ctx, QStringLiteral("colour_scales/gmt_etopo1.cpt")), p, &erreur))
        return false;
    const int h = largeur / 2;
    if (!enregistrerImage(sortie(ctx, QString::fromLatin1(couleur)), planisphere(g, p, largeur, h, false), 90, erreur) ||
        !enregistrerImage(sortie(ctx, QString::fromLatin1(nb)), planisphere(g, p, largeur, h, true), 90, erreur))
        return false;
    journal << QStringLiteral("%1 et %2 : %3 × %4").arg(QString::fromLatin1(couleur), QString::fromLatin1(nb)).arg(largeur).arg(h);
    return true;
}

bool produitPopulation(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    const QString fd = chemin(ctx, QStringLiteral("population/gpw_v4_population_density_rev11_2020_15_min.tif"));
    const QString fc = chemin(ctx, QStringLiteral("population/gpw_v4_population_count_rev11_2020_30_min.tif"));
    Grille d, c;
    if (!lireGrille(fd, d, &erreur) || !verifierTaille(d, fd, 1440, 720, &erreur) || !lireGrille(fc, c, &erreur) ||
        !verifierTaille(c, fc, 720, 360, &erreur))
        return false;
    double total = 0, totalSource = 0;
    const QByteArray donnees = grillePopulation(d, c, &total, &totalSource);
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(NomsDonnees::Population)), donnees, erreur))
        return false;
    journal << QStringLiteral("%1 : 564 × 1440 cellules, %2 personnes (source : %3)")
                   .arg(QString::fromLatin1(NomsDonnees::Population), separateurMilliers(std::llround(total)),
                        separateurMilliers(std::llround(totalSource)));
    return true;
}

bool produitAge(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    Grille g;
    QString e1;
    const QString f6 = chemin(ctx, QStringLiteral("seafloor_age/age.3.6.nc.bz2"));
    if (!lireGrille(f6, g, &e1) || !verifierTaille(g, f6, 3601, 1801, &e1)) {
        journal << QStringLiteral("  grille de 6' indisponible (%1) : grille de 20'").arg(e1);
        const QString f20 = chemin(ctx, QStringLiteral("seafloor_age/gmt_cache_age.3.20.nc"));
        if (!lireGrille(f20, g, &erreur))
            return false;
    } else {
        // That file holds age x 100.
        for (float& v : g.v)
            if (!std::isnan(v))
                v /= 100.0f;
    }
    Palette p;
    if (!chargerPalette(chemin(ctx, QStringLiteral("seafloor_age/gmt_earth_age.cpt")), p, &erreur))
        return false;
    if (!enregistrerImage(sortie(ctx, QString::fromLatin1(NomsDonnees::Age)), imageAges(g, p, 3600, 1800), 90, erreur) ||
        !enregistrerImage(sortie(ctx, QString::fromLatin1(NomsDonnees::EchelleAge)), echelleAges(p), 90, erreur))
        return false;
    journal << QStringLiteral("age_unavcob.png : 3600 × 1800 ; echelle_age.png");
    return true;
}

// ---- configuration, credits, data list ----------------------------------------------

const char* const texteCredits = R"(Orbiplate : origine des données de ce dossier
===============================================

Ce dossier a été construit par l'outil orbiplate-data à partir des jeux de données
publics ci-dessous. Les fichiers dérivés restent soumis aux conditions de leur source ;
les sources sous licence CC BY ou CC BY-SA exigent la mention de l'auteur, et la
licence CC BY-SA s'applique aussi aux fichiers qui en sont tirés.

Relief (topo_10.bil, planisphere*.jpg)
  - SRTM15+ V2, grille de 10' (GMT earth_relief_10m). Producteur : Scripps Institution
    of Oceanography (Tozer, Sandwell, Smith, Olson, Beale, Wessel 2019, Earth and Space
    Science, doi:10.1029/2019EA000658) ; filtrage par l'équipe GMT (Wessel et al.).
    Distribution libre, citation demandée.
  - ETOPO5, grille de 5'. Producteur : NOAA National Geophysical Data Center (1988,
    Data Announcement 88-MGG-02). Domaine public (gouvernement des États-Unis).
  - Table de couleurs « etopo1 » de GMT 6 (LGPL-3+).
  Les planisphères sont calculés par Orbiplate (couleurs hypsométriques et ombrage).

Séismes (s.fse, seismes_*.fse)
  - USGS ANSS ComCat (catalogue complet, recherches M >= 5 depuis 2013 et M >= 6 depuis
    1900 ; flux GeoJSON d'une semaine de 2018). Producteur : U.S. Geological Survey.
    Domaine public.
  - USGS/NEIC, séismes significatifs 1965-2016 (M >= 5,5). Domaine public.
  - ISC-GEM Global Instrumental Earthquake Catalogue v7.0 (2020-04-09),
    doi:10.31905/D808B825. Producteur : International Seismological Centre et GEM
    Foundation (Storchak et al. 2013, 2015 ; Di Giacomo et al. 2018).
    Licence CC BY-SA 3.0 : seismes_isc-gem_1904-2016.fse est diffusé sous la même licence.

Volcans (volcans.fvo)
  - Global Volcanism Program, 2022. Volcanoes of the World (v. 5.0.0 ; 7 décembre 2022).
    Distributed by Smithsonian Institution, compiled by Venzke, E. Listes des volcans de
    l'Holocène et du Pléistocène, liste des éruptions (février 2022). Usage libre avec
    cette citation.

GPS (table2.txt, gps_*.gps, point/*.jpg, exemples.txt)
  - ITRF2014 (positions et vitesses des stations GNSS). Producteur : IGN, centre de
    produits ITRF (Altamimi, Rebischung, Métivier, Collilieux 2016, JGR 121:6109).
    Diffusion libre, citation demandée.
    Une station y a souvent plusieurs solutions : l'ITRF en ouvre une nouvelle à
    chaque séisme ou changement de matériel, et donne les dates de début et de fin
    de chacune. Une seule solution est gardée par station, celle du mouvement à long
    terme : les solutions de même vitesse (à 0,05 mm/an près) sont réunies et leurs
    durées additionnées ; la vitesse valable le plus longtemps est retenue (à
    égalité, la plus récente), avec la position de la plus récente de ses solutions.
    Une date de début ou de fin non précisée est prise au premier ou au dernier jour
    d'observation de la station d'après la liste des stations du Nevada Geodetic
    Laboratory, dans les limites des données GNSS de l'ITRF2014 (1994,0 à 2015,1),
    ou à ces limites pour une station absente de cette liste. Ainsi, au Japon, c'est
    la vitesse d'avant le séisme de 2011 qui est donnée, et non la vitesse
    post-sismique. Les modèles de déformation post-sismique de l'ITRF2014 ne sont
    pas utilisés.
  - Vitesses MIDAS IGS14 (septembre 2020) et liste des stations, Nevada Geodetic
    Laboratory, University of Nevada, Reno (Blewitt, Kreemer, Hammond, Gazeaux 2016,
    JGR 121:2054 ; Blewitt, Hammond, Kreemer 2018, Eos 99). Diffusion libre, citation
    demandée.
  - Séries temporelles journalières : HUSB, UTUR, LHAS (Nevada Geodetic Laboratory,
    format tenv3) ; P156 (UNAVCO / EarthScope Plate Boundary Observatory, NSF/NASA,
    remerciements demandés) ; USUD (producteur non indiqué, exemple de démonstration).

Population (gpw2020.tdp)
  - Gridded Population of the World, version 4.11 (GPWv4 rev. 11), 2020, densités au
    quart de degré et effectifs au demi-degré. Producteur : Center for International
    Earth Science Information Network (CIESIN), Columbia University ; NASA SEDAC.
    Licence CC BY 4.0.
    Les effectifs par cellule de 0,25° sont la densité multipliée par la surface de la
    cellule, ramenés dans chaque cellule de 0,5° au total publié pour celle-ci.

Âge des fonds océaniques (age_unavcob.png, echelle_age.png)
  - Müller, Sdrolias, Gaina, Roest (2008), Age, spreading rates and spreading symmetry
    of the world's ocean crust, G-cubed 9, Q04006, doi:10.1029/2007GC001743. EarthByte
    (Université de Sydney), diffusion NOAA NCEI. Libre pour la recherche et
    l'enseignement, citation demandée.
  - Table de couleurs « earth_age » (M. Seton, EarthByte, 2020 ; GMT, LGPL-3).

Plaques (plaques_limites.txt, plaques_contours.txt, plaques_poles.txt)
  - Modèle PB2002 : Bird, P. (2003), An updated digital model of plate boundaries,
    Geochemistry Geophysics Geosystems 4(3), 1027, doi:10.1029/2001GC000252.
    52 plaques, limites avec le type de chaque pas, pôles eulériens par rapport à la
    plaque Pacifique. Conversion SIG par Hugo Ahlenius (Nordpil) et csterling
    (dépôt fraxen/tectonicplates). Licence Open Data Commons Attribution 1.0
    (ODC-BY 1.0) : citer Bird (2003) et Ahlenius/Nordpil.
)";

const char* const texteNonDiffuse = R"(Non fourni dans ce dossier
  Ce dossier est fait pour être redistribué (paquet orbiplate-donnees) : il ne contient
  que ce que les licences des sources permettent de redistribuer.
  - Âge des fonds océaniques (age_unavcob.png, echelle_age.png) : la grille de Müller,
    Sdrolias, Gaina, Roest (2008) est diffusée librement par EarthByte et la NOAA
    « pour la recherche et l'enseignement », sans licence qui en permette la
    redistribution. Pour l'ajouter à votre dossier personnel, téléchargez-la
    (seafloor_age/age.3.6.nc.bz2, avec la table de couleurs gmt_earth_age.cpt) puis :
      orbiplate-data --sources DOSSIER --out ~/.local/share/Orbiplate/donnees
  - Série temporelle de la station USUD : producteur et conditions d'usage inconnus.
)";

bool produitPlaques(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    using namespace import_plaques;
    Sources s;
    const struct {
        const char* source;
        QByteArray* donnees;
        QString* nom;
    } fichiers[] = {{SourceLimites, &s.limites, &s.nomLimites},
                    {SourcePas, &s.pas, &s.nomPas},
                    {SourceContours, &s.contours, &s.nomContours},
                    {SourcePoles, &s.poles, &s.nomPoles}};
    for (const auto& f : fichiers) {
        const QString c = chemin(ctx, QString::fromLatin1(f.source));
        *f.nom = nomAffiche(c);
        if (!lireTout(c, *f.donnees, erreur))
            return false;
    }
    Produits p;
    if (!convertir(s, p, erreur))
        return false;
    // The three texts are complete before the first is written.
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(plaques::FichierLimites)), p.limites, erreur)
        || !ecrireAtomique(sortie(ctx, QString::fromLatin1(plaques::FichierContours)), p.contours, erreur)
        || !ecrireAtomique(sortie(ctx, QString::fromLatin1(plaques::FichierPoles)), p.poles, erreur))
        return false;
    journal << QStringLiteral("plaques : %1 limites (%2 points), %3 contours, %4 pôles")
                   .arg(p.nbLimites)
                   .arg(p.nbPoints)
                   .arg(p.nbPlaques)
                   .arg(p.nbPoles);
    return true;
}

bool produitConfiguration(const Contexte& ctx, QStringList& journal, QString& erreur)
{
    using namespace NomsDonnees;
    const QStringList lignes = {QString::fromLatin1(Couleur3600), QString::fromLatin1(NB3600),
                                QString::fromLatin1(Couleur7200), QString::fromLatin1(NB7200),
                                QString::fromLatin1(GPS),         QString::fromLatin1(Seismes),
                                QString::fromLatin1(Volcans),     QString::fromLatin1(Relief),
                                QString::fromLatin1(Population)};
    if (!ecrireAtomique(sortie(ctx, QStringLiteral("config.obc")), (lignes.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                        erreur))
        return false;
    QByteArray credits(texteCredits);
    if (ctx.diffusion) {
        credits.replace(" ; USUD (producteur non indiqué, exemple de démonstration).", ".");
        // The age section goes, up to the blank line that ends it.
        const int debut = credits.indexOf("Âge des fonds océaniques (");
        if (debut >= 0) {
            const int fin = credits.indexOf("\n\n", debut);
            credits.remove(debut, fin < 0 ? credits.size() - debut : fin + 2 - debut);
        }
        if (!credits.endsWith("\n\n"))
            credits += '\n';
        credits += texteNonDiffuse;
    }
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(Credits)), credits, erreur))
        return false;
    // Data list: path, caption, flag. Only .gps and .fse files are loaded by the
    // program; other files open in their usual application.
    const QString liste = QStringLiteral(
        "gps_itrf2014.gps;GPS : réseau ITRF2014 (IGN) avec les stations des séries;non\n"
        "gps_midas_fiables.gps;GPS : réseau MIDAS (UNR) - stations suivies plus de 2 ans et demi;non\n"
        "gps_midas_complet.gps;GPS : réseau MIDAS complet (UNR - 17 000 stations);non\n"
        "s.fse;Séismes : USGS M5+ depuis 2013 et M6+ depuis 1900;non\n"
        "seismes_isc-gem_1904-2016.fse;Séismes : ISC-GEM 1904-2016 (CC BY-SA 3.0);non\n"
        "seismes_neic_1965-2016.fse;Séismes : USGS/NEIC M5.5+ 1965-2016;non\n"
        "seismes_M6_1900-2023.fse;Séismes : USGS M6+ 1900-2023;non\n"
        "seismes_semaine_2018.fse;Séismes : une semaine de février 2018 (toutes magnitudes);non\n"
        "credits.txt;Origine et licences des données;non\n");
    QString texte = liste;
    texte.replace(QLatin1Char(';'), QLatin1Char(','));
    if (!ecrireAtomique(sortie(ctx, QString::fromLatin1(Liste)), texte.toUtf8(), erreur))
        return false;
    journal << QStringLiteral("config.obc, credits.txt, autres_donnees.cft");
    return true;
}

} // namespace

// ---- public pieces ---------------------------------------------------------------------

bool ecrireAtomique(const QString& fichier, const QByteArray& donnees, QString& erreur)
{
    QSaveFile f(fichier);
    if (!f.open(QIODevice::WriteOnly) || f.write(donnees) != donnees.size() || !f.commit()) {
        f.cancelWriting();
        erreur = QStringLiteral("Impossible d'écrire « %1 ».").arg(nomAffiche(fichier));
        return false;
    }
    return true;
}

QString texteIgnores(const BilanCatalogue& b)
{
    if (b.ignores <= 0)
        return QStringLiteral("aucune ligne écartée");
    auto lignes = [](int n) { return n == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(n); };
    std::vector<std::pair<QString, int>> motifs(b.ignoresParMotif.begin(), b.ignoresParMotif.end());
    std::stable_sort(motifs.begin(), motifs.end(), [](const auto& x, const auto& y) { return x.second > y.second; });
    QStringList parties;
    int connus = 0;
    for (const auto& m : motifs) {
        if (m.second <= 0)
            continue;
        parties << lignes(m.second) + QLatin1Char(' ') + m.first;
        connus += m.second;
    }
    const QString total = b.ignores == 1 ? QStringLiteral("1 ligne écartée") : QStringLiteral("%1 lignes écartées").arg(b.ignores);
    if (connus == 0)
        return total + QStringLiteral(" (raison non précisée)");
    if (parties.size() == 1 && connus == b.ignores)
        return parties.front() + (b.ignores == 1 ? QStringLiteral(" écartée") : QStringLiteral(" écartées"));
    // Rows a reader skipped without telling why are still counted.
    if (b.ignores > connus)
        parties << lignes(b.ignores - connus) + QStringLiteral(" pour une autre raison");
    return total + QStringLiteral(" : ") + parties.join(QStringLiteral(", "));
}

int retirerDoublonsVolcans(std::vector<TVolcan>& volcans, std::vector<int>& numeros, std::size_t debut)
{
    const std::size_t n = std::min(volcans.size(), numeros.size());
    debut = std::min(debut, n);
    std::set<int> connus;
    for (std::size_t i = 0; i < debut; ++i)
        if (numeros[i] > 0)
            connus.insert(numeros[i]);
    auto nom = [](const TVolcan& v) { return v.Nom.bytes().trimmed().toLower(); };
    auto memeLieu = [&](const TVolcan& a, const TVolcan& b) {
        double dlon = std::fabs(a.Longitude - b.Longitude);
        dlon = std::min(dlon, 360.0 - dlon);
        return std::fabs(a.Latitude - b.Latitude) <= 0.1 && dlon <= 0.1 && nom(a) == nom(b);
    };
    std::size_t garde = debut;
    int retires = 0;
    for (std::size_t i = debut; i < n; ++i) {
        bool doublon = numeros[i] > 0 && connus.count(numeros[i]) > 0;
        for (std::size_t j = 0; !doublon && j < debut; ++j)
            doublon = (numeros[i] <= 0 || numeros[j] <= 0) && memeLieu(volcans[i], volcans[j]);
        if (doublon) {
            ++retires;
            continue;
        }
        volcans[garde] = volcans[i];
        numeros[garde] = numeros[i];
        ++garde;
    }
    volcans.erase(volcans.begin() + static_cast<std::ptrdiff_t>(garde), volcans.begin() + static_cast<std::ptrdiff_t>(n));
    numeros.erase(numeros.begin() + static_cast<std::ptrdiff_t>(garde), numeros.begin() + static_cast<std::ptrdiff_t>(n));
    return retires;
}

QByteArray grilleAltitudes(const Grille& relief)
{
    constexpr int L = 2161, H = 1081;
    QByteArray d(L * H * 2, '\0');
    char* p = d.data();
    for (int j = 0; j < H; ++j) {
        const double lat = 90.0 - j / 6.0;
        for (int k = 0; k < L; ++k) {
            const double v = relief.bilineaire(lat, -180.0 + k / 6.0);
            const long e = std::isnan(v) ? 0 : std::clamp(std::lround(v), -32768L, 32767L);
            qToLittleEndian<std::int16_t>(static_cast<std::int16_t>(e), p);
            p += 2;
        }
    }
    return d;
}

QByteArray grillePopulation(const Grille& densite, const Grille& comptes, double* total, double* totalSource)
{
    constexpr int L = 1440, H = 564, PremiereLigne = 20;  // row 0 of the file is row 20 of the 0.25° grid
    std::vector<std::uint32_t> out(static_cast<std::size_t>(L) * H, 0);
    auto aire = [](int ligne025) {
        const double nord = (90.0 - ligne025 * 0.25) * Pi / 180, sud = (90.0 - (ligne025 + 1) * 0.25) * Pi / 180;
        return RayonTerre * RayonTerre * (0.25 * Pi / 180) * (std::sin(nord) - std::sin(sud));
    };
    double somme = 0;
    for (int bl = PremiereLigne / 2; bl < (PremiereLigne + H) / 2; ++bl) {
        for (int bc = 0; bc < L / 2; ++bc) {
            double poids[4], aires[4], sp = 0, sa = 0;
            for (int q = 0; q < 4; ++q) {
                const int r = 2 * bl + q / 2, c = 2 * bc + q % 2;
                aires[q] = aire(r);
                const float dv = (r < densite.ny && c < densite.nx) ? densite.at(c, r) : NAN;
                poids[q] = std::isnan(dv) || dv < 0 ? 0.0 : dv * aires[q];
                sp += poids[q];
                sa += aires[q];
            }
            const float cv = (bl < comptes.ny && bc < comptes.nx) ? comptes.at(bc, bl) : NAN;
            const double cible = std::isnan(cv) || cv < 0 ? sp : cv;
            const long long n = std::llround(cible);
            if (n <= 0)
                continue;
            // Shares of the block's count; largest remainders get the units left.
            double parts[4];
            long long entiers[4], places = 0;
            for (int q = 0; q < 4; ++q) {
                parts[q] = n * (sp > 0 ? poids[q] / sp : aires[q] / sa);
                entiers[q] = static_cast<long long>(std::floor(parts[q]));
                places += entiers[q];
            }
            int ordre[4] = {0, 1, 2, 3};
            std::sort(ordre, ordre + 4, [&](int a, int b) { return parts[a] - entiers[a] > parts[b] - entiers[b]; });
            for (int i = 0; places < n; i = (i + 1) % 4, ++places)
                ++entiers[ordre[i]];
            for (int q = 0; q < 4; ++q) {
                const int r = 2 * bl + q / 2 - PremiereLigne, c = 2 * bc + q % 2;
                out[static_cast<std::size_t>(r) * L + c] =
                    static_cast<std::uint32_t>(std::min<long long>(entiers[q], 0xFFFFFFFFLL));
                somme += static_cast<double>(entiers[q]);
            }
        }
    }
    if (total)
        *total = somme;
    if (totalSource) {
        double s = 0;
        for (float v : comptes.v)
            if (!std::isnan(v) && v > 0)
                s += v;
        *totalSource = s;
    }
    QByteArray d(static_cast<qsizetype>(out.size() * 4), '\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        qToLittleEndian<std::uint32_t>(out[i], d.data() + i * 4);
    return d;
}

TBitmap32 planisphere(const Grille& relief, const Palette& palette, int w, int h, bool gris)
{
    const std::vector<float> e = reliefEchantillonne(relief, w, h);
    TBitmap32 img(w, h, clWhite32);
    // Light from the north-west, 45° above the horizon; relief exaggerated so that
    // mountain ranges read at the scale of the whole world.
    const double lx = -0.5, ly = 0.5, lz = std::sqrt(0.5);
    const double pasY = Pi * RayonTerre * 1000.0 / h;  // metres per pixel, north-south
    const double exageration = 12.0;
    for (int y = 0; y < h; ++y) {
        const double lat = 90.0 - (y + 0.5) * 180.0 / h;
        const double pasX = std::max(std::cos(lat * Pi / 180), 0.45) * 2 * Pi * RayonTerre * 1000.0 / w;
        const float* l = e.data() + static_cast<std::size_t>(y) * w;
        const float* ln = e.data() + static_cast<std::size_t>(std::max(y - 1, 0)) * w;
        const float* ls = e.data() + static_cast<std::size_t>(std::min(y + 1, h - 1)) * w;
        TColor32* sortieLigne = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const float z = l[x];
            const double dzdx = (l[(x + 1) % w] - l[(x + w - 1) % w]) / (2 * pasX) * exageration;
            const double dzdy = (ln[x] - ls[x]) / (2 * pasY) * exageration;
            const double n = std::sqrt(dzdx * dzdx + dzdy * dzdy + 1);
            const double eclairage = (-dzdx * lx - dzdy * ly + lz) / n / lz;  // 1 on flat ground
            TColor32 c;
            double force;
            if (gris) {
                int v;
                if (z < 0)
                    v = static_cast<int>(std::lround(242 - 22 * std::min(-z / 6000.0, 1.0)));
                else
                    v = static_cast<int>(std::lround(208 - 36 * std::min(z / 4500.0, 1.0)));
                c = color32(v, v, v);
                force = z < 0 ? 0.25 : 0.55;
            } else {
                c = palette.couleur(z);
                force = z < 0 ? 0.45 : 0.8;
            }
            sortieLigne[x] = ombrer(c, 1.0 + force * (eclairage - 1.0));
        }
    }
    return img;
}

TBitmap32 imageAges(const Grille& ages, const Palette& palette, int w, int h)
{
    TBitmap32 img(w, h, clWhite32);
    for (int y = 0; y < h; ++y) {
        const double lat = 90.0 - (y + 0.5) * 180.0 / h;
        TColor32* l = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const double a = ages.proche(lat, -180.0 + (x + 0.5) * 360.0 / w);
            if (std::isnan(a) || a < 0) {
                l[x] = clWhite32;  // continents and no data: made transparent by the program
                continue;
            }
            TColor32 c = palette.couleur(a);
            if ((c & 0x00FFFFFF) == 0x00FFFFFF)
                c = 0xFFFEFEFE;  // pure white is reserved for "no ocean floor"
            l[x] = c;
        }
    }
    return img;
}

TBitmap32 echelleAges(const Palette& palette)
{
    const int nb = static_cast<int>(palette.tranches.size());
    const int hautCase = 20, haut0 = 62;
    const int largeur = 190, hauteur = haut0 + nb * hautCase + 14;
    TBitmap32 img(largeur, hauteur, clWhite32);
    QFont titre(QStringLiteral("Arial"));
    titre.setPixelSize(13);
    titre.setBold(true);
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(12);
    img.drawText(10, 6, QStringLiteral("Âge des fonds océaniques"), titre, clBlack32);
    img.drawText(10, 24, QStringLiteral("en millions d'années"), police, clBlack32);
    img.drawText(10, 40, QStringLiteral("(Ma)"), police, clBlack32);
    auto texteAge = [](double a) { return QString::number(std::lround(a)); };
    for (int i = 0; i < nb; ++i) {
        const auto& t = palette.tranches[static_cast<std::size_t>(i)];
        const int y = haut0 + i * hautCase;
        img.fillRect(QRect(10, y, 40, hautCase), t.c0 | 0xFF000000);
        img.frameRect(QRect(10, y, 40, hautCase + 1), clBlack32);
        const QString libelle = i + 1 < nb ? QStringLiteral("%1 à %2 Ma").arg(texteAge(t.z0), texteAge(t.z1))
                                           : QStringLiteral("plus de %1 Ma").arg(texteAge(t.z0));
        img.drawText(58, y + 3, libelle, police, clBlack32);
    }
    return img;
}

QByteArray texteExemples(const std::vector<TStationGPS>& stations)
{
    QByteArray t;
    auto n = [](double v, int d) { return QByteArray::number(v, 'f', d); };
    for (const TStationGPS& s : stations) {
        QByteArray code = s.Nom.bytes().left(4);
        while (code.size() < 4)
            code += ' ';
        // Characters 5 and 6 are skipped by the reader: a tab and a blank.
        t += code + "\t " + n(s.Latitude, 4) + '\t' + n(s.Longitude, 4) + '\t' + n(s.Altitude / 1000.0, 1) + '\t' +
             n(s.VitLat, 2) + '\t' + n(s.VitLong, 2) + '\n';
    }
    return t;
}

namespace {

// The help pages: every file of the help folder copied as it is into "aide".
QStringList fichiersAide(const QString& dossier)
{
    QStringList noms;
    if (dossier.isEmpty())
        return noms;
    const QDir d(dossier);
    for (const QFileInfo& f : d.entryInfoList(QDir::Files, QDir::Name))
        noms << f.fileName();
    return noms;
}

bool produitAide(const Contexte& c, QStringList& journal, QString& erreur)
{
    const QStringList noms = fichiersAide(c.aide);
    if (!c.sortie.mkpath(QStringLiteral("aide"))) {
        erreur = QStringLiteral("Impossible de créer le dossier « %1 ».").arg(c.sortie.filePath(QStringLiteral("aide")));
        return false;
    }
    for (const QString& nom : noms) {
        QFile f(QDir(c.aide).filePath(nom));
        if (!f.open(QIODevice::ReadOnly)) {
            erreur = QStringLiteral("Page d'aide « %1 » illisible.").arg(f.fileName());
            return false;
        }
        if (!ecrireAtomique(c.sortie.filePath(QStringLiteral("aide/") + nom), f.readAll(), erreur))
            return false;
    }
    journal << QStringLiteral("aide : %1 fichier(s)").arg(noms.size());
    return true;
}

}  // namespace

std::vector<Produit> listeProduits(const Contexte& ctx)
{
    using namespace NomsDonnees;
    auto L = [](const char* s) { return QString::fromLatin1(s); };
    QStringList series;
    for (const char* f : seriesStations)
        if (serieRetenue(ctx, f))
            series << L(f);
    QStringList pointsJpg;
    for (const char* code : {"HUSB", "UTUR", "LHAS", "P156", "USUD"}) {
        if (!serieRetenue(ctx, code))
            continue;
        pointsJpg << QStringLiteral("point/%1.jpg").arg(L(code)) << QStringLiteral("point/%1.txt").arg(L(code));
        if (ctx.etalonnages)
            pointsJpg << QStringLiteral("point/%1.etl").arg(L(code));
    }
    const QString itrf = QString::fromLatin1(SourceITRF);
    const QStringList midas = {QStringLiteral("gps/ngl_midas/midas.IGS14_2020-09.txt"),
                               QStringLiteral("gps/ngl_midas/DataHoldings_2020-09.txt")};
    std::vector<Produit> p;
    struct Planisphere {
        int largeur;
        const char* couleur;
        const char* nb;
    };
    for (const Planisphere& pl : {Planisphere{7200, Couleur7200, NB7200}, Planisphere{3600, Couleur3600, NB3600}})
        p.push_back({QStringLiteral("planisphères %1").arg(pl.largeur),
                     {QStringLiteral("relief/etopo5.cdf"), QStringLiteral("relief/gmt_earth_relief_10m_g_SRTM15V2.grd"),
                      QStringLiteral("colour_scales/gmt_etopo1.cpt")},
                     {L(pl.couleur), L(pl.nb)},
                     [pl](const Contexte& c, QStringList& j, QString& e) {
                         return produitPlanispheres(c, pl.largeur, pl.couleur, pl.nb, j, e);
                     }});
    if (!ctx.diffusion)
        p.push_back({QStringLiteral("âge des fonds océaniques"),
                     {QStringLiteral("seafloor_age/age.3.6.nc.bz2"), QStringLiteral("seafloor_age/gmt_earth_age.cpt")},
                     {L(Age), L(EchelleAge)},
                     &produitAge});
    p.push_back({QStringLiteral("relief"), {QStringLiteral("relief/gmt_earth_relief_10m_g_SRTM15V2.grd")}, {L(Relief)},
                 &produitRelief});
    p.push_back({QStringLiteral("population"),
                 {QStringLiteral("population/gpw_v4_population_density_rev11_2020_15_min.tif"),
                  QStringLiteral("population/gpw_v4_population_count_rev11_2020_30_min.tif")},
                 {L(Population)},
                 &produitPopulation});
    QStringList srcSeismes = ctx.seismes.isEmpty()
                                 ? QStringList{QStringLiteral("earthquakes/usgs_comcat_M5plus_2013-2023.csv"),
                                               QStringLiteral("earthquakes/usgs_comcat_M6plus_1900-2023.csv")}
                                 : QStringList{ctx.seismes};
    p.push_back({QStringLiteral("séismes"), srcSeismes, {L(Seismes)}, &produitSeismes});
    QStringList srcAlt, sortAlt;
    for (const Alternative& a : alternativesSeismes) {
        srcAlt << L(a.source);
        sortAlt << L(a.fichier);
    }
    p.push_back({QStringLiteral("autres catalogues de séismes"), srcAlt, sortAlt, &produitSeismesAlternatifs});
    QStringList srcVolcans =
        ctx.volcans.isEmpty()
            ? QStringList{QStringLiteral("volcanoes/GVP_Volcano_List_Holocene_VOTW5.0.0_2022-12-07.csv"),
                          QStringLiteral("volcanoes/GVP_Volcano_List_Pleistocene_undated-version.csv"),
                          QStringLiteral("volcanoes/GVP_Eruption_Results_2022-02.csv")}
            : QStringList{ctx.volcans};
    p.push_back({QStringLiteral("volcans"), srcVolcans, {L(Volcans)}, &produitVolcans});
    QStringList srcGPS = (ctx.gps.isEmpty() ? QStringList{itrf} : QStringList{ctx.gps}) + midas + series;
    p.push_back({QStringLiteral("GPS"),
                 srcGPS,
                 {L(GPS), QStringLiteral("gps_itrf2014.gps"), QStringLiteral("gps_midas_complet.gps"),
                  QStringLiteral("gps_midas_fiables.gps")},
                 &produitGPS});
    p.push_back({QStringLiteral("séries temporelles GPS"), series, pointsJpg, &produitSeries});
    p.push_back({QStringLiteral("exemples"), {itrf, L(ListeNGL)}, {L(Exemples)}, &produitExemples});
    p.push_back({QStringLiteral("plaques"),
                 {L(import_plaques::SourceLimites), L(import_plaques::SourcePas), L(import_plaques::SourceContours),
                  L(import_plaques::SourcePoles)},
                 {L(plaques::FichierLimites), L(plaques::FichierContours), L(plaques::FichierPoles)},
                 &produitPlaques});
    // The credits name the plate model: its sources are the configuration's too,
    // so that a folder built before it gets the new credits. Named after the
    // mode, so that switching modes rewrites the credits.
    p.push_back({ctx.diffusion ? QStringLiteral("configuration (diffusion)") : QStringLiteral("configuration"),
                 {L(import_plaques::SourcePoles)},
                 {QStringLiteral("config.obc"), L(Credits), L(Liste)},
                 &produitConfiguration});
    const QStringList aide = fichiersAide(ctx.aide);
    if (!aide.isEmpty()) {
        QStringList src, sorties;
        for (const QString& nom : aide) {
            src << QDir(ctx.aide).absoluteFilePath(nom);
            sorties << QStringLiteral("aide/") + nom;
        }
        p.push_back({QStringLiteral("aide"), src, sorties, &produitAide});
    }
    return p;
}
