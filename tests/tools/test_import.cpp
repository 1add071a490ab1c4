#include "data/catalogues.h"
#include "data/loaders.h"
#include "import/construction.h"
#include "import/grilles.h"
#include "import/itrf.h"
#include "import/palette.h"
#include "import/produits.h"
#include "import/series.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

bool ecrire(const QString& chemin, const QByteArray& d)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(d) == d.size();
}

// A gridline-registered global grid (nodes on -180..180, -90..90) with
// value = f(lat, lon), north row first.
Grille grilleNoeuds(int nx, int ny, double (*f)(double, double))
{
    Grille g;
    g.nx = nx;
    g.ny = ny;
    g.dlon = 360.0 / (nx - 1);
    g.dlat = 180.0 / (ny - 1);
    g.lon0 = -180;
    g.lat0 = 90;
    g.v.resize(static_cast<std::size_t>(nx) * ny);
    for (int r = 0; r < ny; ++r)
        for (int c = 0; c < nx; ++c)
            g.v[static_cast<std::size_t>(r) * nx + c] = static_cast<float>(f(90 - r * g.dlat, -180 + c * g.dlon));
    return g;
}

// Builds one product of the list on the given sources; its journal is returned.
bool construireProduit(const Contexte& ctx, const QString& nom, QStringList& journal, QString& erreur)
{
    for (const Produit& p : listeProduits(ctx))
        if (p.nom == nom)
            return p.construire(ctx, journal, erreur);
    erreur = "produit inconnu : " + nom;
    return false;
}

std::int16_t valeurFichier(const QByteArray& d, int j, int k)
{
    return qFromLittleEndian<std::int16_t>(d.constData() + ((540 - j) * 2161 + (k + 1080)) * 2);
}

} // namespace

TEST(ImportGrilles, ElevationFileIsNorthFirstWithCellZeroAtLatLonZero)
{
    // Value encodes the node: 10 * latitude index + longitude sign.
    const Grille g = grilleNoeuds(2161, 1081, [](double lat, double lon) { return lat * 60 + (lon > 0 ? 1 : lon < 0 ? -1 : 0); });
    const QByteArray d = grilleAltitudes(g);
    ASSERT_EQ(d.size(), 1081 * 2161 * 2);
    EXPECT_EQ(valeurFichier(d, 0, 0), 0);  // latitude 0, longitude 0
    // The cell (0, 0) is the 1081st value of the 541st row.
    EXPECT_EQ(qFromLittleEndian<std::int16_t>(d.constData() + (540 * 2161 + 1080) * 2), 0);
    EXPECT_EQ(qFromLittleEndian<std::int16_t>(d.constData()), 90 * 60 - 1);  // first value: north pole, west
    EXPECT_EQ(valeurFichier(d, 540, 1080), 90 * 60 + 1);
    EXPECT_EQ(valeurFichier(d, -540, -1080), -90 * 60 - 1);
    EXPECT_EQ(valeurFichier(d, 6, 6), 60 + 1);  // 1°N, 1°E
    EXPECT_EQ(valeurFichier(d, -6, -6), -60 - 1);
}

TEST(ImportGrilles, GdalReadsAsciiGridsNorthUpAndReportsBadFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString f = dir.filePath("g.asc");
    ASSERT_TRUE(ecrire(f, "ncols 4\nnrows 2\nxllcorner -180\nyllcorner -90\ncellsize 90\nNODATA_value -9999\n"
                          "1 2 3 4\n5 6 -9999 8\n"));
    Grille g;
    QString msg;
    ASSERT_TRUE(lireGrille(f, g, &msg)) << msg.toStdString();
    ASSERT_EQ(g.nx, 4);
    ASSERT_EQ(g.ny, 2);
    EXPECT_DOUBLE_EQ(g.lat0, 45);   // centre of the northern row
    EXPECT_DOUBLE_EQ(g.lon0, -135);
    EXPECT_EQ(g.at(0, 0), 1.0f);
    EXPECT_TRUE(std::isnan(g.at(2, 1)));
    EXPECT_EQ(g.proche(-45, 135), 8.0);
    EXPECT_EQ(g.proche(45, 170 + 360), 4.0);  // longitudes wrap on a global grid
    EXPECT_TRUE(verifierTaille(g, f, 4, 2, &msg));
    EXPECT_FALSE(verifierTaille(g, f, 2161, 1081, &msg));
    EXPECT_TRUE(msg.contains("g.asc") && msg.contains("2161"));

    // Truncated grid, missing file, not a grid, truncated bzip2 archive.
    const QString t = dir.filePath("t.asc");
    ASSERT_TRUE(ecrire(t, "ncols 4\nnrows 2\nxllcorner -180\nyllcorner -90\ncellsize 90\n1 2 3 4\n5"));
    EXPECT_FALSE(lireGrille(t, g, &msg));
    EXPECT_TRUE(msg.contains("t.asc"));
    EXPECT_FALSE(lireGrille(dir.filePath("absent.nc"), g, &msg));
    EXPECT_TRUE(msg.contains("absent.nc"));
    const QString x = dir.filePath("x.tif");
    ASSERT_TRUE(ecrire(x, "not a picture at all"));
    EXPECT_FALSE(lireGrille(x, g, &msg));
    EXPECT_TRUE(msg.contains("x.tif"));
    const QString b = dir.filePath("a.nc.bz2");
    ASSERT_TRUE(ecrire(b, QByteArray("BZh91AY&SY") + QByteArray(20, '\x01')));
    EXPECT_FALSE(lireGrille(b, g, &msg));
    EXPECT_TRUE(msg.contains("a.nc.bz2"));
}

TEST(ImportGrilles, PopulationKeepsHalfDegreeTotals)
{
    // Density grid 1440 x 720 at 0.25°, count grid 720 x 360 at 0.5°.
    Grille d;
    d.nx = 1440;
    d.ny = 720;
    d.dlon = d.dlat = 0.25;
    d.lon0 = -179.875;
    d.lat0 = 89.875;
    d.v.assign(1440 * 720, NAN);
    Grille c;
    c.nx = 720;
    c.ny = 360;
    c.dlon = c.dlat = 0.5;
    c.lon0 = -179.75;
    c.lat0 = 89.75;
    c.v.assign(720 * 360, NAN);
    // Block (row 100, col 360) at about 40°N, 0°E: densities 10, 30, 0, NaN; count 1001.
    d.v[200 * 1440 + 720] = 10;
    d.v[200 * 1440 + 721] = 30;
    d.v[201 * 1440 + 720] = 0;
    c.v[100 * 720 + 360] = 1001;
    // A block with people but no density: spread by area.
    c.v[150 * 720 + 10] = 4;
    // A block south of the file's last row (-56°) is not in the file.
    c.v[300 * 720 + 10] = 50;
    double total = 0, source = 0;
    const QByteArray f = grillePopulation(d, c, &total, &source);
    ASSERT_EQ(f.size(), 1440 * 564 * 4);
    auto n = [&](int ligne025, int col) {
        return qFromLittleEndian<std::uint32_t>(f.constData() + ((ligne025 - 20) * 1440 + col) * 4);
    };
    EXPECT_EQ(n(200, 720) + n(200, 721) + n(201, 720) + n(201, 721), 1001u);
    EXPECT_NEAR(n(200, 721), 3 * n(200, 720), 2.0);  // in proportion to density x area
    EXPECT_EQ(n(201, 720), 0u);
    EXPECT_EQ(n(300, 20) + n(300, 21) + n(301, 20) + n(301, 21), 4u);
    EXPECT_DOUBLE_EQ(total, 1005);
    EXPECT_DOUBLE_EQ(source, 1055);
    // Row 0 of the file is centred on 84.875°N: density row 20.
    d.v[20 * 1440 + 0] = 5;
    c.v[10 * 720 + 0] = 7;
    const QByteArray g = grillePopulation(d, c);
    EXPECT_EQ(qFromLittleEndian<std::uint32_t>(g.constData()), 7u);
}

TEST(ImportPalette, CptSlicesHingedRangeAndNames)
{
    Palette p;
    QString msg;
    ASSERT_TRUE(lirePalette("# RANGE = -8000/4000\n# HARD_HINGE\n-1 0/0/100 0 0/0/255\n0 0/100/0 1 white\n"
                            "B black\nF white\nN gray50\n",
                            "t.cpt", p, &msg));
    ASSERT_EQ(p.tranches.size(), 2u);
    EXPECT_DOUBLE_EQ(p.zMin(), -8000);
    EXPECT_DOUBLE_EQ(p.zMax(), 4000);
    EXPECT_EQ(p.couleur(-8000), color32(0, 0, 100));
    EXPECT_EQ(p.couleur(-4000), color32(0, 0, 178));  // halfway, rounded
    EXPECT_EQ(p.couleur(2000), color32(128, 178, 128));
    EXPECT_EQ(p.couleur(99999), 0xFFFFFFFFu);  // beyond the end: the last colour
    EXPECT_EQ(p.couleur(NAN), color32(128, 128, 128));
    EXPECT_FALSE(lirePalette("# nothing\n", "vide.cpt", p, &msg));
    EXPECT_TRUE(msg.contains("vide.cpt"));
}

TEST(ImportImages, AgePictureKeepsWhiteForContinentsOnly)
{
    Grille a = grilleNoeuds(361, 181, [](double lat, double lon) { return lon <= 0 ? NAN : (lat + 90) * 1.5; });
    Palette p;
    ASSERT_TRUE(lirePalette("0 255/0/0 100 255/255/255\n100 white 300 0/0/255\n", "a.cpt", p, nullptr));
    const TBitmap32 img = imageAges(a, p, 360, 180);
    ASSERT_EQ(img.width(), 360);
    int blancs = 0;
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 360; ++x) {
            const TColor32 c = img.pixel(x, y);
            EXPECT_EQ(alphaOf(c), 255u);
            if ((c & 0xFFFFFF) == 0xFFFFFF) {
                ++blancs;
                EXPECT_LT(x, 180);  // only where there is no age
            }
        }
    EXPECT_EQ(blancs, 180 * 180);
    const TBitmap32 e = echelleAges(p);
    EXPECT_GT(e.height(), 2 * 20);
}

TEST(ImportImages, PlanisphereSizeAndGreyPictureStaysLight)
{
    Grille g = grilleNoeuds(73, 37, [](double lat, double lon) { return std::sin(lon / 20) * 3000 + lat * 20; });
    Palette p;
    ASSERT_TRUE(lirePalette("-10000 0/0/255 0 100/100/255\n0 0/128/0 9000 255/255/255\n", "r.cpt", p, nullptr));
    const TBitmap32 c = planisphere(g, p, 200, 100, false);
    const TBitmap32 nb = planisphere(g, p, 200, 100, true);
    ASSERT_EQ(c.width(), 200);
    ASSERT_EQ(c.height(), 100);
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 200; x += 7) {
            const TColor32 v = nb.pixel(x, y);
            EXPECT_EQ(redOf(v), greenOf(v));
            EXPECT_EQ(redOf(v), blueOf(v));
            EXPECT_GE(redOf(v), 110u);  // light enough to print symbols over it
        }
}

TEST(ImportSeries, ParsesTheThreeLayoutsAndFitsVelocities)
{
    const QByteArray tenv3 =
        "site YYMMMDD yyyy.yyyy __MJD week d reflon _e0(m) __east(m) ____n0(m) _north(m) u0(m) ____up(m) _ant(m) "
        "sig_e(m) sig_n(m) sig_u(m) __corr_en __corr_eu __corr_nu _latitude(deg) _longitude(deg) __height(m)\n"
        "LHAS 95MAY19 1995.3785 49856  801 5   91.1    385  0.888603   3282129  0.602585  3624  0.707878  0.0000 "
        "0.002231 0.001932 0.008643 -0.009728 -0.044382 -0.198749  29.6573392384 -268.8960142076  3624.70788\n";
    SerieGPS s;
    QString msg;
    ASSERT_TRUE(lireSerie(tenv3 + tenv3, "l.tenv3", s, &msg)) << msg.toStdString();
    EXPECT_EQ(s.code, "LHAS");
    EXPECT_NEAR(s.points[0].e, 385.888603, 1e-9);
    EXPECT_NEAR(s.points[0].n, 3282129.602585, 1e-6);
    EXPECT_NEAR(s.longitude, 91.1039857924, 1e-9);

    // Decimal-year variant, out of order, coordinates from the header.
    QByteArray neu = "#4-character ID: USUD\n#NEU Reference position :    36.13  138.36 1508.6 (Unknown/WGS84)\n";
    for (int i = 99; i >= 0; --i) {
        const double t = 2000 + i * 0.05;
        neu += QByteArray::number(t, 'f', 4) + " 2000 1 " + QByteArray::number(0.01 * (t - 2000), 'f', 6) + " " +
               QByteArray::number(-0.02 * (t - 2000), 'f', 6) + " 0.0 0.001 0.001 0.003\n";
    }
    ASSERT_TRUE(lireSerie(neu, "u.neu", s, &msg)) << msg.toStdString();
    EXPECT_EQ(s.code, "USUD");
    EXPECT_DOUBLE_EQ(s.points.front().t, 2000.0);
    EXPECT_NEAR(s.latitude, 36.13, 1e-9);
    VitessesSerie v;
    ASSERT_TRUE(vitessesSerie(s, v));
    EXPECT_NEAR(v.vN, 10.0, 1e-3);
    EXPECT_NEAR(v.vE, -20.0, 1e-3);

    const QByteArray pos =
        "4-character ID: P156\nNEU Reference position :    40.0244429509  236.0938828649  488.99986 (ITRF08/WGS84)\n"
        "End Field Description\n*YYYYMMDD HHMMSS JJJJJ.JJJJ X Y Z Sx Sy Sz Rxy Rxz Ryz NLat Elong Height dN dE dU\n"
        " 20060608 120000 53894.5000 -2728552.75872 -4059578.68050  4080378.65052  0.00524  0.00799  0.00709  0.845 "
        "-0.808 -0.830      40.0244418478  236.0938835998  489.00262    -0.12280   0.06265   0.00276    0.00312  "
        "0.00246  0.01122 -0.159 -0.205  0.127 repro\n";
    ASSERT_TRUE(lireSerie(pos + pos, "p.pos", s, &msg)) << msg.toStdString();
    EXPECT_EQ(s.code, "P156");
    EXPECT_NEAR(s.points[0].t, 2006 + (158 + 0.5) / 365.0, 1e-6);
    EXPECT_NEAR(s.points[0].n, -0.1228, 1e-9);
    EXPECT_NEAR(s.longitude, 236.0938828649 - 360, 1e-9);

    EXPECT_FALSE(lireSerie("hello\nworld\n", "x.txt", s, &msg));
    EXPECT_TRUE(msg.contains("x.txt"));
}

TEST(ImportSeries, CurvesPictureFitsTheViewerBands)
{
    SerieGPS s;
    s.code = "TEST";
    for (int i = 0; i < 400; ++i) {
        const double t = 2003.2 + i * 0.02;
        s.points.push_back({t, 0.012 * (t - 2003), -0.03 * (t - 2003), 0.002 * std::sin(t * 6)});
    }
    AxesCourbes axes;
    const TBitmap32 img = dessinerCourbes(s, &axes);
    ASSERT_EQ(img.width(), CourbesGPS::Largeur);
    ASSERT_EQ(img.height(), CourbesGPS::Hauteur);
    // In view pixels (picture minus the offsets): graduations of time inside
    // 55 < x < 565, of each plot inside its band.
    ASSERT_GE(axes.temps.size(), 3u);
    for (const auto& g : axes.temps) {
        const double x = g.position - CourbesGPS::DecalageX;
        EXPECT_GT(x, 55);
        EXPECT_LT(x, 565);
    }
    // Whole years, the first at or before the first day.
    EXPECT_LE(axes.temps.front().valeur, 2003.2);
    EXPECT_EQ(axes.temps.front().valeur, std::floor(axes.temps.front().valeur));
    EXPECT_GE(axes.temps.back().valeur, s.points.back().t);
    const int bandes[3][2] = {{34, 205}, {261, 431}, {488, 658}};
    for (int k = 0; k < 3; ++k) {
        ASSERT_GE(axes.variations[k].size(), 2u);
        for (const auto& g : axes.variations[k]) {
            const double y = g.position - CourbesGPS::DecalageY;
            EXPECT_GT(y, bandes[k][0]);
            EXPECT_LT(y, bandes[k][1]);
        }
        // Values increase upwards.
        EXPECT_GT(axes.variations[k].front().position, axes.variations[k].back().position);
        EXPECT_LT(axes.variations[k].front().valeur, axes.variations[k].back().valeur);
    }
    // A calibration from two graduations per axis: time grows to the right,
    // variations upwards (smaller y).
    const auto& t = axes.temps;
    const auto& l = axes.variations[0];
    const double penteT = (t.back().valeur - t.front().valeur) / (t.back().position - t.front().position);
    const double penteL = (l.back().valeur - l.front().valeur) / (l.back().position - l.front().position);
    EXPECT_LT(penteL, 0);
    EXPECT_GT(penteT, 0);
}

TEST(ImportTextes, ExamplesLinesSkipTwoCharactersThenTabFields)
{
    TStationGPS s;
    s.Nom.assignBytes("ZIMM", 4);
    s.Latitude = 46.8771;
    s.Longitude = 7.4653;
    s.Altitude = 956300;
    s.VitLat = 16.36;
    s.VitLong = 19.75;
    const QByteArray t = texteExemples({s});
    ASSERT_TRUE(t.endsWith('\n'));
    EXPECT_EQ(t.left(4), "ZIMM");
    const QList<QByteArray> f = t.mid(6).trimmed().split('\t');
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(f[0], "46.8771");
    EXPECT_EQ(f[1], "7.4653");
    EXPECT_EQ(f[3], "16.36");
    EXPECT_EQ(f[4], "19.75");
}

TEST(ImportConstruction, RebuildsOnlyWhatIsMissingOrStaleAndLeavesNothingOnFailure)
{
    QTemporaryDir src, out;
    ASSERT_TRUE(src.isValid() && out.isValid());
    ASSERT_TRUE(ecrire(src.filePath("a.csv"), "1"));
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    int appels = 0;
    std::vector<Produit> p;
    p.push_back({"bon", {"a.csv"}, {"a.out"}, [&](const Contexte& c, QStringList&, QString& e) {
                     ++appels;
                     return ecrireAtomique(c.sortie.filePath("a.out"), "contenu", e);
                 }});
    p.push_back({"mauvais", {"absent.csv"}, {"b.out"}, [](const Contexte&, QStringList&, QString& e) {
                     e = "Fichier source « absent.csv » non trouvé.";
                     return false;
                 }});
    auto rien = [](const QString&) {};
    BilanConstruction b = construireDossier(ctx, p, {}, rien);
    EXPECT_EQ(b.construits, 1);
    EXPECT_EQ(b.echecs, 1);
    ASSERT_EQ(b.erreurs.size(), 1);
    EXPECT_TRUE(b.erreurs[0].contains("absent.csv"));
    EXPECT_FALSE(QFile::exists(out.filePath("b.out")));
    EXPECT_EQ(appels, 1);

    b = construireDossier(ctx, p, {}, rien);  // up to date, the failed one retried
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(b.aJour, 1);

    QFile::remove(out.filePath("a.out"));  // missing output
    construireDossier(ctx, p, {}, rien);
    EXPECT_EQ(appels, 2);

    ASSERT_TRUE(ecrire(src.filePath("a.csv"), "12"));  // the source changed
    construireDossier(ctx, p, {}, rien);
    EXPECT_EQ(appels, 3);

    ASSERT_TRUE(ecrire(out.filePath("a.out"), "x"));  // an output altered by hand
    construireDossier(ctx, p, {}, rien);
    EXPECT_EQ(appels, 4);

    OptionsConstruction forcer;
    forcer.forcer = true;
    construireDossier(ctx, p, forcer, rien);
    EXPECT_EQ(appels, 5);
}

TEST(ImportConstruction, AtomicWriteLeavesNoPartialFile)
{
    QTemporaryDir out;
    QString e;
    EXPECT_FALSE(ecrireAtomique(out.filePath("absent/x.bin"), "abc", e));
    EXPECT_TRUE(e.contains("x.bin"));
    ASSERT_TRUE(ecrireAtomique(out.filePath("x.bin"), "abc", e));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"x.bin"});
}

TEST(ImportConstruction, ConfigurationNamesNineFilesAndTheGridStep)
{
    QTemporaryDir src, out;
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    const std::vector<Produit> produits = listeProduits(ctx);
    const auto it = std::find_if(produits.begin(), produits.end(), [](const Produit& p) { return p.nom == "configuration"; });
    ASSERT_NE(it, produits.end());
    QStringList journal;
    QString e;
    ASSERT_TRUE(it->construire(ctx, journal, e)) << e.toStdString();
    QFile f(out.filePath("config.obc"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lignes = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lignes.size(), 9);
    EXPECT_EQ(lignes[0], "planisphere3600.jpg");
    EXPECT_EQ(lignes[3], "planispherenb.jpg");
    EXPECT_EQ(lignes[4], "table2.txt");
    // The grid's name without its first five characters and its extension: "10".
    EXPECT_EQ(lignes[7].mid(5, lignes[7].size() - 9), "10");
    // Every entry of the data list names a product of the folder.
    QFile l(out.filePath(NomsDonnees::Liste));
    ASSERT_TRUE(l.open(QIODevice::ReadOnly));
    QStringList sorties;
    for (const Produit& p : produits)
        sorties << p.sorties;
    for (const QString& ligne : QString::fromUtf8(l.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList champs = ligne.split(',');
        ASSERT_EQ(champs.size(), 3) << ligne.toStdString();
        EXPECT_TRUE(sorties.contains(champs[0])) << champs[0].toStdString();
    }
    QFile credits(out.filePath("credits.txt"));
    ASSERT_TRUE(credits.open(QIODevice::ReadOnly));
    // The choice among the ITRF2014 solutions of a station is told.
    EXPECT_TRUE(QString::fromUtf8(credits.readAll()).simplified().contains("mouvement à long terme"));
}

// The folder of the data package: nothing whose licence forbids redistribution,
// and credits that say what is missing and how to add it.
TEST(ImportConstruction, RedistributableFolderLeavesOutAgeAndUnknownSeries)
{
    QTemporaryDir src, out;
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    ctx.diffusion = true;
    const std::vector<Produit> produits = listeProduits(ctx);
    QStringList sources, sorties;
    for (const Produit& p : produits) {
        sources << p.sources;
        sorties << p.sorties;
    }
    for (const QString& f : sources + sorties) {
        EXPECT_FALSE(f.contains("USUD")) << f.toStdString();
        EXPECT_FALSE(f.contains("seafloor_age") || f.contains("age_unavcob") || f.contains("echelle_age")) << f.toStdString();
    }
    EXPECT_TRUE(sorties.contains("point/HUSB.jpg"));
    const auto it = std::find_if(produits.begin(), produits.end(),
                                 [](const Produit& p) { return p.sorties.contains(NomsDonnees::Credits); });
    ASSERT_NE(it, produits.end());
    QStringList journal;
    QString e;
    ASSERT_TRUE(it->construire(ctx, journal, e)) << e.toStdString();
    QFile credits(out.filePath("credits.txt"));
    ASSERT_TRUE(credits.open(QIODevice::ReadOnly));
    const QString texte = QString::fromUtf8(credits.readAll());
    const int manque = texte.indexOf("Non fourni dans ce dossier");
    ASSERT_GT(manque, 0);
    EXPECT_FALSE(texte.left(manque).contains("age_unavcob.png"));
    EXPECT_FALSE(texte.left(manque).contains("USUD"));
    EXPECT_TRUE(texte.mid(manque).contains("orbiplate-data --sources"));
    EXPECT_TRUE(texte.contains("ISC-GEM")) << "the other sources are still credited";
    EXPECT_TRUE(texte.left(manque).contains("PB2002")) << "the sections after the age stay";
    EXPECT_TRUE(texte.left(manque).contains("Population (gpw2020.tdp)"));

    // The other mode is another product: switching rewrites the credits.
    ctx.diffusion = false;
    for (const Produit& p : listeProduits(ctx))
        EXPECT_NE(p.nom, it->nom);
}

TEST(ImportConstruction, HelpPagesAreCopiedAndFollowTheirSources)
{
    QTemporaryDir src, sortie;
    const QDir aide(src.path());
    ASSERT_TRUE(ecrire(aide.filePath("index.html"), "<html>aide</html>"));
    ASSERT_TRUE(ecrire(aide.filePath("carte.png"), "png"));
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(sortie.path());
    ctx.aide = src.path();
    std::vector<Produit> produits;
    for (const Produit& p : listeProduits(ctx))
        if (p.nom == QLatin1String("aide"))
            produits.push_back(p);
    ASSERT_EQ(produits.size(), 1u);
    EXPECT_EQ(produits[0].sorties, (QStringList{"aide/carte.png", "aide/index.html"}));
    auto rien = [](const QString&) {};
    BilanConstruction b = construireDossier(ctx, produits, {}, rien);
    EXPECT_EQ(b.construits, 1);
    QFile page(ctx.sortie.filePath("aide/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_EQ(page.readAll(), QByteArray("<html>aide</html>"));
    page.close();

    ASSERT_TRUE(ecrire(aide.filePath("index.html"), "<html>nouvelle aide</html>"));
    b = construireDossier(ctx, produits, {}, rien);
    EXPECT_EQ(b.construits, 1);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_EQ(page.readAll(), QByteArray("<html>nouvelle aide</html>"));
}

// The time-series product: beside each picture the days it plots, and with
// --etalonnages the calibration of its axes, so that the viewer's measures match
// the series' own velocities without a calibration by hand.
TEST(ImportSeries, DailyPositionsAndCalibrationsBesideThePictures)
{
    QTemporaryDir src, out;
    ASSERT_TRUE(QDir(src.path()).mkpath("gps/timeseries"));
    const char* const fichiers[] = {"HUSB.IGS14.tenv3", "UTUR.IGS14.tenv3", "LHAS.tenv3", "P156.pbo.final_igs08.pos",
                                    "USUD.pos.neu"};
    for (const char* f : fichiers) {
        // Decimal-year columns: 12 mm/an north, -30 mm/an east over three years.
        QByteArray d = "#4-character ID: " + QByteArray(f).left(4) + "\n#NEU Reference position :  36.1 138.4 1508.6\n";
        for (int i = 0; i < 1100; ++i) {
            const double t = 2010.3 + i / 365.25;
            d += QByteArray::number(t, 'f', 5) + " 2010 1 " + QByteArray::number(0.012 * (t - 2010), 'f', 5) + " " +
                 QByteArray::number(-0.03 * (t - 2010), 'f', 5) + " " + QByteArray::number(0.002 * std::sin(t), 'f', 5) +
                 "\n";
        }
        ASSERT_TRUE(ecrire(src.filePath(QStringLiteral("gps/timeseries/") + f), d));
    }
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    QStringList journal;
    QString e;
    ASSERT_TRUE(construireProduit(ctx, QString::fromUtf8("séries temporelles GPS"), journal, e)) << e.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out.filePath("point/USUD.txt")));
    EXPECT_FALSE(QFileInfo::exists(out.filePath("point/USUD.etl"))) << "pupils calibrate by default";

    ctx.etalonnages = true;
    for (const Produit& p : listeProduits(ctx)) {
        if (p.nom == QString::fromUtf8("séries temporelles GPS")) {
            EXPECT_TRUE(p.sorties.contains("point/P156.etl"));
        }
    }
    ASSERT_TRUE(construireProduit(ctx, QString::fromUtf8("séries temporelles GPS"), journal, e)) << e.toStdString();
    courbes::Etalonnage etl;
    ASSERT_TRUE(courbes::lireEtalonnage(out.filePath("point/USUD.etl"), etl));
    ASSERT_TRUE(etl.tempsEtalonne());

    // The calibration reads back the graduations the picture shows.
    SerieGPS serie;
    QFile f(src.filePath("gps/timeseries/USUD.pos.neu"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(lireSerie(f.readAll(), "USUD", serie, &e));
    AxesCourbes axes;
    dessinerCourbes(serie, &axes);
    for (const Graduation& g : axes.temps)
        EXPECT_NEAR(etl.date(static_cast<int>(g.position) - CourbesGPS::DecalageX), g.valeur, 0.6 * etl.PenteTemps);
    for (int k = 0; k < 3; ++k)
        for (const Graduation& g : axes.variations[k])
            EXPECT_NEAR(etl.variation(1 + k, static_cast<int>(g.position) - CourbesGPS::DecalageY), g.valeur,
                        0.6 * std::fabs(etl.pente(1 + k)))
                << k;

    // A drag across the north plot in the viewer: the fit of the days is the
    // series' velocity, the two-point reading near it.
    courbes::TMesureCourbes m;
    courbes::PositionsJournalieres jours;
    ASSERT_TRUE(courbes::lirePositions(out.filePath("point/USUD.txt"), jours));
    ASSERT_EQ(jours.taille(), 1100u);
    m.ouvrir(TStationGPS(), etl, jours);
    auto yDe = [&](int axe, double cm) { return static_cast<int>(std::lround((cm - etl.origine(axe)) / etl.pente(axe))); };
    auto xDe = [&](double t) { return static_cast<int>(std::lround((t - etl.OrigineTemps) / etl.PenteTemps)); };
    // The north curve about its median: 12 mm/an, through 0 in the middle (2011.8).
    const int x0 = xDe(2010.5), x1 = xDe(2013.1);
    m.appui(x0, yDe(1, 1.2 * (2010.5 - 2011.8)));
    m.relachement(x1, yDe(1, 1.2 * (2013.1 - 2011.8)));
    ASSERT_FALSE(m.affichage.vitesse.isEmpty());
    const double deuxPoints = m.affichage.vitesse.section(": ", 1).replace(',', '.').toDouble();
    EXPECT_NEAR(deuxPoints, 12, 0.6);
    ASSERT_TRUE(m.affichage.ajustement.contains(" jours : ")) << m.affichage.ajustement.toStdString();
    EXPECT_NEAR(m.affichage.ajustement.section(" : ", 1).section(' ', 0, 0).replace(',', '.').toDouble(), 12, 0.01);
}

// ---- reports of skipped rows ----------------------------------------------------

TEST(ImportBilans, SkippedRowsAreToldWithTheirReasons)
{
    BilanCatalogue b;
    EXPECT_EQ(texteIgnores(b), "aucune ligne écartée");
    b.ignores = 54;
    b.ignoresParMotif["sans profondeur"] = 54;
    EXPECT_EQ(texteIgnores(b), "54 lignes sans profondeur écartées");
    b.ignores = 1;
    b.ignoresParMotif = {{"hors limites", 1}};
    EXPECT_EQ(texteIgnores(b), "1 ligne hors limites écartée");
    // Several reasons by decreasing count; rows without a reason are still counted.
    b.ignores = 130;
    b.ignoresParMotif = {{"sans profondeur", 54}, {"d'événements non sismiques", 70}, {"hors limites", 3}};
    EXPECT_EQ(texteIgnores(b), "130 lignes écartées : 70 lignes d'événements non sismiques, 54 lignes sans "
                               "profondeur, 3 lignes hors limites, 3 lignes pour une autre raison");
    b.ignoresParMotif.clear();
    EXPECT_EQ(texteIgnores(b), "130 lignes écartées (raison non précisée)");
}

TEST(ImportBilans, ReadersCountEachSkippedRowUnderOneReason)
{
    const QByteArray comcat =
        "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type\n"
        "1950-01-01T00:00:00.000Z,10,20,,6.1,mw,,,,,us,a,2014,\"sans profondeur\",earthquake\n"
        "1951-01-01T00:00:00.000Z,10,20,,6.2,mw,,,,,us,b,2014,\"sans profondeur\",earthquake\n"
        "1962-01-01T00:00:00.000Z,95,20,10,6.2,mw,,,,,us,c,2014,\"latitude 95\",earthquake\n"
        "1963-01-01T00:00:00.000Z,,20,10,6.2,mw,,,,,us,d,2014,\"sans latitude\",earthquake\n"
        "1964-01-01T00:00:00.000Z,10,20,10,,mw,,,,,us,e,2014,\"sans magnitude\",earthquake\n"
        "1965-13-01T00:00:00.000Z,10,20,10,6.0,mw,,,,,us,f,2014,\"mois 13\",earthquake\n"
        "1966-01-01T00:00:00.000Z,10,20,,6.0,mw,,,,,us,g,2014,\"essai\",nuclear explosion\n"
        "1967-01-01T00:00:00.000Z,10,20,33,6.0,mw,,,,,us,h,2014,\"bon\",earthquake\n";
    std::vector<TSeisme> s;
    BilanCatalogue b;
    ASSERT_TRUE(lireSeismesDepuis(comcat, "c.csv", s, nullptr, &b));
    EXPECT_EQ(b.lus, 1);
    EXPECT_EQ(b.ignores, 7);
    EXPECT_EQ(b.ignoresParMotif, (std::map<QString, int>{{"sans profondeur", 2},
                                                         {"hors limites", 1},
                                                         {"sans position", 1},
                                                         {"sans magnitude", 1},
                                                         {"à date illisible", 1},
                                                         {"d'événements non sismiques", 1}}));

    const QByteArray geojson = R"({"type":"FeatureCollection","features":[
        {"properties":{"mag":4.1,"time":1517400000000,"type":"earthquake"},"geometry":{"coordinates":[10,20,5]}},
        {"properties":{"mag":1.1,"time":1517400000000,"type":"quarry blast"},"geometry":{"coordinates":[10,20,0]}},
        {"properties":{"mag":null,"time":1517400000000,"type":"earthquake"},"geometry":{"coordinates":[10,20,5]}},
        {"properties":{"mag":2.0,"time":1517400000000,"type":"earthquake"},"geometry":{"coordinates":[10,20]}},
        {"properties":{"mag":2.0,"time":1517400000000,"type":"earthquake"},"geometry":{"coordinates":[10,-91,3]}}]})";
    s.clear();
    ASSERT_TRUE(lireSeismesDepuis(geojson, "g.json", s, nullptr, &b));
    EXPECT_EQ(b.ignores, 4);
    EXPECT_EQ(b.ignoresParMotif, (std::map<QString, int>{{"d'événements non sismiques", 1},
                                                         {"sans magnitude", 1},
                                                         {"sans profondeur", 1},
                                                         {"hors limites", 1}}));

    const QByteArray gvp = "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,"
                           "Last Known Eruption,Region,Subregion,Latitude,Longitude,Elevation (m)\n"
                           "1,Alpha,X,Stratovolcano,Eruption Observed,1990 CE,R,S,10,20,1000\n"
                           "2,,X,Shield,Eruption Observed,1990 CE,R,S,10,20,1000\n"
                           "3,Gamma,X,Shield,Eruption Observed,1990 CE,R,S,,20,1000\n"
                           "4,Delta,X,Shield,Eruption Observed,1990 CE,R,S,-99,20,1000\n";
    std::vector<TVolcan> v;
    ASSERT_TRUE(lireVolcansDepuis(gvp, "v.csv", v, nullptr, &b));
    EXPECT_EQ(b.lus, 1);
    EXPECT_EQ(b.ignoresParMotif,
              (std::map<QString, int>{{"sans nom", 1}, {"sans position", 1}, {"hors limites", 1}}));

    const QByteArray gps = "station,latitude,longitude,height_m,vE_mm_yr,vN_mm_yr,vU_mm_yr,sE_mm_yr,sN_mm_yr,sU_mm_yr\n"
                           "AAAA,10,20,5,1,2,3,0.1,0.1,0.1\n"
                           "BBBB,10,20,5,,2,3,0.1,0.1,0.1\n"
                           "CCCC,10,20,5,1,2,3,0.1,0,0.1\n"
                           "DDDD,100,20,5,1,2,3,0.1,0.1,0.1\n";
    std::vector<TStationGPS> st;
    ASSERT_TRUE(lireGPSDepuis(gps, "g.csv", st, nullptr, &b));
    EXPECT_EQ(b.lus, 1);
    EXPECT_EQ(b.ignoresParMotif, (std::map<QString, int>{{"sans vitesse", 1},
                                                         {"sans incertitude de vitesse", 1},
                                                         {"hors limites", 1}}));

    // MIDAS: a station missing from the NGL list, a series too short.
    auto midas = [](const char* code, const char* duree) {
        return QByteArray(code) + " MIDAS5 2010.0 2015.0 " + duree +
               " 1000 1000 900 0.01 0.02 0.001 0.0001 0.0001 0.0002 0 0 0 0 0 0 0.001 0.001 0.001 0\n";
    };
    const QByteArray vitesses = midas("AAAA", "5.0") + midas("ZZZZ", "5.0") + midas("BBBB", "1.0");
    const QByteArray liste = "Sta Lat(deg) Long(deg) Hgt(m)\nAAAA 10 20 5\nBBBB 11 21 5\n";
    st.clear();
    ASSERT_TRUE(lireMidas(vitesses, liste, "m.txt", st, nullptr, &b, 2.5));
    EXPECT_EQ(b.lus, 1);
    EXPECT_EQ(b.ignoresParMotif, (std::map<QString, int>{{"de stations absentes de la liste des stations", 1},
                                                         {"de séries trop courtes", 1}}));
}

TEST(ImportBilans, EarthquakeProductTellsRowsWithoutDepthAndTheCataloguesJoin)
{
    QTemporaryDir src, out;
    ASSERT_TRUE(QDir(src.path()).mkpath("earthquakes"));
    const QByteArray entete = "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type\n";
    ASSERT_TRUE(ecrire(src.filePath("earthquakes/usgs_comcat_M5plus_2013-2023.csv"),
                       entete + "2013-01-01T03:51:13.000Z,-20.8,-69.6,56.1,5.1,mb,,,,,us,a,2014,\"p\",earthquake\n"
                                "2013-06-01T00:00:00.000Z,10,20,10,6.5,mw,,,,,us,b,2014,\"p\",earthquake\n"));
    ASSERT_TRUE(ecrire(src.filePath("earthquakes/usgs_comcat_M6plus_1900-2023.csv"),
                       entete + "2013-06-01T00:00:00.000Z,10,20,10,6.5,mw,,,,,us,b,2014,\"p\",earthquake\n"
                                "1950-01-01T00:00:00.000Z,10,20,,6.1,mw,,,,,us,c,2014,\"p\",earthquake\n"
                                "1951-01-01T00:00:00.000Z,10,20,,6.2,mw,,,,,us,d,2014,\"p\",earthquake\n"
                                "1960-05-22T19:11:20.000Z,-38.1,-73.4,25,9.5,mw,,,,,us,e,2014,\"p\",earthquake\n"));
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    QStringList journal;
    QString e;
    ASSERT_TRUE(construireProduit(ctx, "séismes", journal, e)) << e.toStdString();
    const QString j = journal.join('\n');
    EXPECT_TRUE(j.contains("2 lignes sans profondeur écartées")) << j.toStdString();
    EXPECT_TRUE(j.contains("séismes M6 à partir du 01/01/2013 laissés au catalogue M5, qui les contient : 1"))
        << j.toStdString();
    QFile f(out.filePath("s.fse"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<TSeisme> s;
    decoderSeismes(f.readAll(), s);
    ASSERT_EQ(s.size(), 3u);  // 1960 from M6, both events of M5
    EXPECT_FLOAT_EQ(s[0].Magnitude, 9.5f);
}

// ---- volcanoes -------------------------------------------------------------------

TEST(ImportVolcans, EveryGvpPrimaryTypeHasItsCode)
{
    // The primary types of the Holocene and Pleistocene lists, as written there.
    const std::pair<const char*, int> types[] = {
        {"Caldera", 11}, {"Caldera(s)", 11}, {"Caldera(?)", 11}, {"Complex", 27}, {"Complex(es)", 27},
        {"Compound", 26}, {"Cone", 23}, {"Cone(s)", 23}, {"Crater rows", 5}, {"Explosion crater", 12},
        {"Explosion crater(s)", 12}, {"Explosion crater(?)", 12}, {"Fissure vent", 1}, {"Fissure vent(s)", 1},
        {"Fissure vent(s) ?", 1}, {"Lava cone", 4}, {"Lava cone(es)", 4}, {"Lava cone(s)", 4},
        {"Lava dome", 13}, {"Lava dome(s)", 13}, {"Lava dome(s) ?", 13}, {"Maar", 10}, {"Maar(s)", 10},
        {"Pyroclastic cone", 24}, {"Pyroclastic cone(s)", 24}, {"Pyroclastic shield", 25}, {"Shield", 3},
        {"Shield(s)", 3}, {"Shield?", 3}, {"Stratovolcano", 20}, {"Stratovolcano(es)", 20},
        {"Stratovolcano?", 20}, {"Subglacial", 7}, {"Submarine", 6}, {"Submarine(es)", 6}, {"Tuff cone", 21},
        {"Tuff cone(s)", 21}, {"Tuff ring(s)", 22}, {"Tuya", 7}, {"Volcanic field", 2},
        // No type code describes these: the type stays unknown.
        {"Unknown", 0}, {"Volcanic remnant", 0},
    };
    for (const auto& t : types)
        EXPECT_EQ(typeVolcanGVP(QString::fromLatin1(t.first)), t.second) << t.first;
}

TEST(ImportVolcans, SecondListLosesTheVolcanoesOfTheFirst)
{
    auto volcan = [](const char* nom, float lat, float lon) {
        TVolcan v;
        v.Nom.assignBytes(nom, static_cast<int>(std::strlen(nom)));
        v.Latitude = lat;
        v.Longitude = lon;
        return v;
    };
    std::vector<TVolcan> v = {volcan("McBride Volcanic Province", -18.367f, 144.567f),
                              volcan("Unnamed", 40.0f, 45.6f), volcan("Sans numero", 10.0f, 179.98f),
                              // second list
                              volcan("McBride Volcanic Province", -18.33f, 144.55f),  // same number
                              volcan("Unnamed", 40.0f, 45.6f),                        // another number
                              volcan("SANS NUMERO", 10.05f, -179.97f),                // no number, same place
                              volcan("Sans numero", 12.0f, 179.98f),                  // no number, elsewhere
                              volcan("Autre", -18.367f, 144.567f)};
    std::vector<int> n = {259804, 214804, 0, 259804, 214805, 0, 0, 300001};
    EXPECT_EQ(retirerDoublonsVolcans(v, n, 3), 2);
    ASSERT_EQ(v.size(), 6u);
    ASSERT_EQ(n, (std::vector<int>{259804, 214804, 0, 214805, 0, 300001}));
    EXPECT_FLOAT_EQ(v[0].Latitude, -18.367f);  // the first list's entry is kept
    EXPECT_FLOAT_EQ(v[4].Latitude, 12.0f);
    EXPECT_EQ(v[5].Nom.bytes(), "Autre");
}

TEST(ImportVolcans, ProductKeepsOneEntryPerVolcanoAndCodesTuyas)
{
    QTemporaryDir src, out;
    ASSERT_TRUE(QDir(src.path()).mkpath("volcanoes"));
    const QByteArray entete = "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,"
                              "Last Known Eruption,Region,Subregion,Latitude,Longitude,Elevation (m),"
                              "Dominant Rock Type,Tectonic Setting\n";
    ASSERT_TRUE(ecrire(src.filePath("volcanoes/GVP_Volcano_List_Holocene_VOTW5.0.0_2022-12-07.csv"),
                       "Global Volcanism Program,,,Basic List of Holocene Volcanoes\n" + entete +
                           "390040,Bridgeman Island,Antarctica,Stratovolcano,Evidence Uncertain,Unknown,A,B,"
                           "-62.063,-56.713,240,,\n"
                           "211060,Etna,Italy,Stratovolcano(es),Eruption Observed,2022 CE,A,B,37.748,14.999,3357,,\n"));
    ASSERT_TRUE(ecrire(src.filePath("volcanoes/GVP_Volcano_List_Pleistocene_undated-version.csv"),
                       entete + "390040,Bridgeman Island,Antarctica,Stratovolcano,,,A,B,-62.061,-56.717,240,,\n"
                                "371802,Herdubreid,Iceland,Tuya,,,A,B,65.18,-16.35,1682,,\n"));
    ASSERT_TRUE(ecrire(src.filePath("volcanoes/GVP_Eruption_Results_2022-02.csv"),
                       "Volcano Number,Volcano Name,Eruption Number,Eruption Category,Start Year\n"));
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    QStringList journal;
    QString e;
    ASSERT_TRUE(construireProduit(ctx, "volcans", journal, e)) << e.toStdString();
    EXPECT_TRUE(journal.join('\n').contains("1 volcan(s) de la liste pléistocène déjà dans la liste holocène"));
    QFile f(out.filePath("volcans.fvo"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<TVolcan> v;
    decoderVolcans(f.readAll(), v);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_FLOAT_EQ(v[0].Latitude, -62.063f);
    EXPECT_EQ(v[0].Activite, 8);  // the Holocene entry's activity, not the Pleistocene one
    EXPECT_EQ(v[2].Nom.bytes(), "Herdubreid");
    EXPECT_EQ(v[2].TypeVolcan, 7);
}

// ---- ITRF2014 stations -----------------------------------------------------------

namespace {

// One solution in the layout of the SSC file: position line and velocity line.
QByteArray solutionSSC(const char* domes, const char* nom, const char* code, double x, double y, double z,
                       const char* vitesses, const char* soln = "")
{
    QByteArray l = QByteArray(domes) + ' ' + QByteArray(nom).leftJustified(16, ' ', true) + " GNSS " + code;
    l += ' ' + QByteArray::number(x, 'f', 4).rightJustified(13) + ' ' + QByteArray::number(y, 'f', 4).rightJustified(13) +
         ' ' + QByteArray::number(z, 'f', 4).rightJustified(13) + " 0.0006 0.0006 0.0005";
    if (*soln)
        l += QByteArray(" ") + soln;
    l += '\n';
    l += QByteArray(domes) + QByteArray(34, ' ') + vitesses + '\n';
    return l;
}

const char* const EnteteSSC =
    "                      ITRF2014 STATION POSITIONS AT EPOCH 2010.0 AND VELOCITIES\n"
    "DOMES NB. SITE NAME        TECH. ID.        X/Vx       Y/Vy         Z/Vz         Sigmas            SOLN  "
    "DATA_START   DATA_END  \n"
    "------------------------------------------------------------------------------------------------------\n";

} // namespace

TEST(ImportITRF, SolutionsAreReadWithTheirIntervalsAndTurnedToLocalAxes)
{
    // On the equator at 0°E, then at 90°E: east is +Y, then -X; north is +Z.
    const QByteArray d = QByteArray(EnteteSSC) +
                         solutionSSC("10001S006", "Zero Zero", "ZERO", 6378137.0, 0, 0,
                                     "0.00000       0.01000       0.02000 .00003 .00004 .00005") +
                         solutionSSC("10002M006", "Nonante", "NONA", 0, 6378237.0, 0,
                                     "-.01000       0.00000       0.00000 .00003 .00004 .00005",
                                     " 1 00:000:00000 11:070:21600") +
                         "10009M001                                  0.00000 0.00000 0.00000 .1 .1 .1\n";  // orphan
    std::vector<SolutionITRF> s;
    std::map<QString, int> ignores;
    QString msg;
    ASSERT_TRUE(lireSolutionsITRF(d, "t.ssc", s, &msg, &ignores)) << msg.toStdString();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(ignores, (std::map<QString, int>{{"de vitesse sans ligne de position", 1}}));
    EXPECT_EQ(s[0].code, "ZERO");
    EXPECT_EQ(s[0].nom, "Zero Zero");
    EXPECT_TRUE(std::isnan(s[0].debut) && std::isnan(s[0].fin));
    EXPECT_EQ(s[1].numero, 1);
    EXPECT_TRUE(std::isnan(s[1].debut));
    EXPECT_NEAR(s[1].fin, 2011 + (69 + 0.25) / 365.0, 1e-9);
    EXPECT_DOUBLE_EQ(dureeSolution(s[1]), s[1].fin - ITRF2014::DebutDonnees);

    const TStationGPS a = stationITRF(s[0]);
    EXPECT_EQ(a.Nom.bytes(), "ZERO");
    EXPECT_NEAR(a.Latitude, 0, 1e-9);
    EXPECT_NEAR(a.Longitude, 0, 1e-9);
    EXPECT_NEAR(a.Altitude, 0, 1e-3);
    EXPECT_NEAR(a.VitLong, 10, 1e-9);
    EXPECT_NEAR(a.VitLat, 20, 1e-9);
    EXPECT_NEAR(a.VitAlt, 0, 1e-9);
    EXPECT_NEAR(a.IncVitLong, 0.04, 1e-9);
    EXPECT_NEAR(a.IncVitLat, 0.05, 1e-9);
    EXPECT_NEAR(a.IncVitAlt, 0.03, 1e-9);
    const TStationGPS b = stationITRF(s[1]);
    EXPECT_NEAR(b.Longitude, 90, 1e-9);
    EXPECT_NEAR(b.Altitude, 100000, 1e-3);  // 100 m, in mm
    EXPECT_NEAR(b.VitLong, 10, 1e-9);

    // A pole, and a file without any solution.
    SolutionITRF pole;
    pole.z = 6356752.3141 + 50;
    EXPECT_NEAR(stationITRF(pole).Latitude, 90, 1e-9);
    EXPECT_NEAR(stationITRF(pole).Altitude, 50000, 1);
    EXPECT_FALSE(lireSolutionsITRF(EnteteSSC, "vide.ssc", s, &msg));
    EXPECT_TRUE(msg.contains("vide.ssc"));
}

TEST(ImportITRF, LongTermSolutionIsKeptRatherThanThePostSeismicOne)
{
    // A station near Mizusawa: one solution before the 2011 earthquake, one after,
    // moving at its post-seismic rate.
    const double x = -3857167.6071, y = 3108694.9703, z = 4004041.6556;
    const QByteArray d = QByteArray(EnteteSSC) +
                         solutionSSC("21702M002", "MIZUSAWA", "MIZU", x, y, z,
                                     "0.00453       0.01057       -.00644 .00006 .00005 .00006",
                                     " 1 00:000:00000 11:068:09920") +
                         solutionSSC("21702M002", "MIZUSAWA", "MIZU", x - 1.8, y - 1.2, z - 1,
                                     "-.06338       -.01063       -.01222 .00009 .00008 .00009",
                                     " 2 11:070:20783 00:000:00000");
    std::vector<TStationGPS> st;
    ChoixITRF choix;
    QString msg;
    ASSERT_TRUE(lireStationsITRF(d, QByteArray(), "m.ssc", st, &msg, &choix)) << msg.toStdString();
    ASSERT_EQ(st.size(), 1u);
    EXPECT_NEAR(st[0].VitLat, -6.96, 0.01);
    EXPECT_NEAR(st[0].VitLong, -11.07, 0.01);
    EXPECT_NEAR(st[0].Latitude, 39.1352, 1e-4);
    EXPECT_EQ(choix.stations, 1);
    EXPECT_EQ(choix.plusieurs, 1);
    EXPECT_EQ(choix.autreQueDerniere, 1);
}

TEST(ImportITRF, SameVelocitySolutionsAddUpAndOpenBoundsFollowTheStationList)
{
    const double x = 4581690.8267, y = 556114.9242, z = 4389360.8453;
    const char* const lente = "-.01377       0.01886       0.01142 .00003 .00004 .00003";
    const char* const lente2 = "-.01378       0.01886       0.01142 .00003 .00004 .00003";  // same, rounded
    const char* const rapide = "-.02000       0.03000       0.01000 .00003 .00004 .00003";
    // 2000-2004 and 2004-2008 at one velocity (8 years) outweigh 2008-2015.1 at another.
    const QByteArray d = QByteArray(EnteteSSC) +
                         solutionSSC("10002M006", "Grasse", "GRAS", x, y, z, lente, " 1 00:001:00000 04:001:00000") +
                         solutionSSC("10002M006", "Grasse", "GRAS", x, y, z + 0.01, lente2, " 2 04:001:00000 08:001:00000") +
                         solutionSSC("10002M006", "Grasse", "GRAS", x, y, z, rapide, " 3 08:001:00000 00:000:00000");
    std::vector<SolutionITRF> s;
    ASSERT_TRUE(lireSolutionsITRF(d, "g.ssc", s));
    ASSERT_EQ(s.size(), 3u);
    std::vector<std::size_t> r = solutionsLongTerme(s);
    ASSERT_EQ(r, std::vector<std::size_t>{1});  // the latest solution of the slow group

    // An open start stands for 1994 by default: 1994-2005 at the slow velocity
    // outlasts 2005-2015.1 at the other. When the station list tells that the
    // station was first observed in 2003, the slow velocity holds for 2 years only.
    const QByteArray d2 = QByteArray(EnteteSSC) +
                          solutionSSC("10002M006", "Grasse", "GRAS", x, y, z, lente, " 1 00:000:00000 05:001:00000") +
                          solutionSSC("10002M006", "Grasse", "GRAS", x, y, z, rapide, " 2 05:001:00000 00:000:00000");
    s.clear();
    ASSERT_TRUE(lireSolutionsITRF(d2, "g.ssc", s));
    EXPECT_EQ(solutionsLongTerme(s), std::vector<std::size_t>{0});
    auto liste = [&](double dx, const char* debut) {
        return "Sta  Lat(deg)   Long(deg) Hgt(m)  X(m)           Y(m)         Z(m)          Dtbeg      Dtend\n"
               "GRAS  43.7547     6.9206 1319.310 " +
               QByteArray::number(x + dx, 'f', 4) + ' ' + QByteArray::number(y, 'f', 4) + ' ' +
               QByteArray::number(z, 'f', 4) + ' ' + debut + " 2020-09-19 2020-09-27   8752\n";
    };
    const auto periodes = periodesNGL(liste(0.5, "1998-06-01"), s);
    ASSERT_EQ(periodes.count("GRAS"), 1u);
    EXPECT_NEAR(periodes.at("GRAS").debut, 1998 + 151 / 365.0, 1e-9);
    EXPECT_DOUBLE_EQ(periodes.at("GRAS").fin, ITRF2014::FinDonnees);  // the frame's data end in 2015
    ChoixITRF choix;
    EXPECT_EQ(solutionsLongTerme(s, periodesNGL(liste(0.5, "2003-01-01"), s), &choix), std::vector<std::size_t>{1});
    EXPECT_EQ(choix.periodes, 1);
    // Another site with the same code, 5 km away, tells nothing about this one.
    EXPECT_TRUE(periodesNGL(liste(5000, "2003-01-01"), s).empty());
}
