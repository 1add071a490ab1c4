// Writes the seed corpora of the fuzzing harnesses: small files made by the
// program's own writers (records, GPS text, landmark files, pictures) and by hand
// for the formats it only reads (the agencies' catalogues, text dumps, data lists,
// configuration). Usage: fuzz_semences <folder>, normally tests/fuzz/corpus.
#include "data/catalogues.h"
#include "data/loaders.h"
#include "map/reperes.h"
#include "tables/courbes.h"
#include "ui/codecs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <vector>

#include <gif_lib.h>

namespace {

QDir racine;

void ecrire(const char* harnais, const char* nom, const QByteArray& contenu)
{
    racine.mkpath(QString::fromLatin1(harnais));
    QFile f(racine.filePath(QStringLiteral("%1/%2").arg(QLatin1String(harnais), QLatin1String(nom))));
    if (!f.open(QIODevice::WriteOnly) || f.write(contenu) != contenu.size()) {
        std::fprintf(stderr, "Impossible d'écrire %s/%s\n", harnais, nom);
        std::exit(1);
    }
}

TSeisme seisme(double jour, float lat, float lon, float prof, float mag)
{
    TSeisme s;
    s.DateHeure = jour;
    s.Latitude = lat;
    s.Longitude = lon;
    s.Profondeur = prof;
    s.Magnitude = mag;
    return s;
}

TVolcan volcan(const char* nom, float lat, float lon, float alt, int type, int activite)
{
    TVolcan v;
    assignShort(v.Nom, QString::fromUtf8(nom));
    v.Latitude = lat;
    v.Longitude = lon;
    v.Altitude = alt;
    v.TypeVolcan = static_cast<std::uint8_t>(type);
    v.Activite = static_cast<std::uint8_t>(activite);
    return v;
}

TStationGPS station(const char* nom, double lat, double lon, double vn, double ve)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Affiche = 1;
    s.Latitude = lat;
    s.Longitude = lon;
    s.Altitude = 250300;
    s.IncLatitude = s.IncLongitude = 1.5;
    s.IncAltitude = 4;
    s.VitLat = vn;
    s.VitLong = ve;
    s.VitAlt = -0.8;
    s.IncVitLat = s.IncVitLong = 0.05;
    s.IncVitAlt = 0.2;
    return s;
}

// Text at 1-based column `col` of a line, padded with blanks.
void placer(QByteArray& ligne, int col, const QByteArray& texte)
{
    if (ligne.size() < col - 1 + texte.size())
        ligne.append(QByteArray(col - 1 + texte.size() - ligne.size(), ' '));
    ligne.replace(col - 1, texte.size(), texte);
}

TBitmap32 dessin(int w, int h, bool transparent)
{
    TBitmap32 b(w, h, transparent ? clTransparentWhite32 : clWhite32);
    b.fillRect(QRect(1, 1, w / 2, h / 2), color32(200, 30, 40));
    b.fillRect(QRect(w / 3, h / 3, w / 2, h / 2), color32(10, 120, 250, transparent ? 128 : 255));
    b.lineAA(0, h - 1.5, w, 0.5, clBlack32);
    return b;
}

TBitmap32 degrade(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, color32(x * 255 / w, y * 255 / h, (x * y) & 0xFF));
    return b;
}

QByteArray imageQt(const TBitmap32& b, QImage::Format format, const char* type)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    b.toImage().convertToFormat(format).save(&tampon, type);
    return octets;
}

// An interlaced GIF placed inside its screen, with a transparent index.
QByteArray gifEntrelace()
{
    QByteArray out;
    int code = 0;
    GifFileType* gif = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* b, int n) {
            static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(b), n);
            return n;
        },
        &code);
    GifColorType couleurs[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {9, 9, 9}};
    ColorMapObject* palette = GifMakeMapObject(4, couleurs);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, 12, 10, 2, 0, palette);
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, 3};
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    EGifPutImageDesc(gif, 2, 1, 7, 8, true, nullptr);
    for (int y = 0; y < 8; ++y) {
        std::vector<GifPixelType> ligne(7, static_cast<GifPixelType>(y % 4));
        EGifPutLine(gif, ligne.data(), 7);
    }
    EGifCloseFile(gif, &code);
    GifFreeMapObject(palette);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage : fuzz_semences <dossier>\n");
        return 2;
    }
    racine = QDir(QString::fromLocal8Bit(argv[1]));

    // Binary records.
    const std::vector<TSeisme> seismes = {seisme(41275.16, 38.3f, 142.4f, 29, 9.1f), seisme(1.5, -90, 180, 700, 3),
                                          seisme(45000, 0, -179.9f, 0, 5.5f)};
    ecrire("fse", "trois.fse", encoderSeismes(seismes));
    ecrire("fse", "tronque.fse", encoderSeismes({seismes[0]}) + QByteArray("\x01\x02\x03", 3));
    const std::vector<TVolcan> volcans = {volcan("Etna", 37.75f, 14.99f, 3320, 20, 1),
                                          volcan("Piton de la Fournaise", -21.23f, 55.71f, 2632, 3, 1),
                                          volcan("Sans altitude", 63, -20, -10000, 0, 8)};
    ecrire("fvo", "trois.fvo", encoderVolcans(volcans));
    ecrire("fvo", "un.fvo", encoderVolcans({volcans[1]}));
    const std::vector<TStationGPS> stations = {station("ZIMM", 46.877, 7.465, 16.36, 19.75),
                                               station("KOKB", 22.126, -159.665, 34.41, -62.13),
                                               station("AB", -89.9, 180, 0, 0)};
    ecrire("gps_binaire", "trois.gps", encoderStations(stations));
    ecrire("gps_binaire", "un.gps", encoderStations({stations[1]}));

    // Text dumps.
    {
        QByteArray t = "<PRE>\nDate       Time        Lat      Long     Depth  Mag\n---------------------------\n";
        const char* lignes[][5] = {{"2011/03/11 05:46:24", "38.297", "142.373", "29.0", "9.1"},
                                   {"1999/12/31 23:59:59", "-89.5", "-179.99", "700.0", "3.0"},
                                   {"2004/02/30 00:00:00", "x", "0", "0", "0"}};
        for (auto& l : lignes) {
            QByteArray ligne;
            placer(ligne, 1, l[0]);
            placer(ligne, 24, l[1]);
            placer(ligne, 33, l[2]);
            placer(ligne, 43, l[3]);
            placer(ligne, 50, l[4]);
            t += ligne + "\n";
        }
        ecrire("texte_seismes", "catalogue.txt", t + "</PRE>\n");
    }
    {
        QByteArray t = "<PRE>\n Number   Name                      Location\n--------------------------\n";
        const char* lignes[][6] = {{"Etna", "37.734", "15.004", "3330", "Stratovolcano", "D1"},
                                   {"Kilauea", "19.421", "-155.287", "1222", "Shield volcano", "D1"},
                                   {"Inconnu", "-10,5", "x", "", "", ""}};
        for (auto& l : lignes) {
            QByteArray ligne;
            placer(ligne, 1, "0101-04=");
            placer(ligne, 11, l[0]);
            placer(ligne, 63, l[1]);
            placer(ligne, 71, l[2]);
            placer(ligne, 81, l[3]);
            placer(ligne, 87, l[4]);
            placer(ligne, 132, l[5]);
            t += ligne + "\n";
        }
        ecrire("texte_volcans", "liste.txt", t + "</pre>\n");
    }
    ecrire("texte_gps", "table.txt", texteGPS(stations, QStringLiteral("Réseau d'essai")));
    ecrire("texte_gps", "virgules.txt",
           "LAT   LON\nABCD POS  45,5 6,25 100 1 1 2\nABCD VEL  1,5 -2 0 0,1 0,1 0,3\nEFGH POS  x\n");

    // The agencies' catalogues.
    ecrire("catalogue_seismes", "comcat.csv",
           "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type,horizontalError,"
           "depthError,magError,magNst,status,locationSource,magSource\n"
           "2016-11-13T11:02:56.340Z,-42.737,173.054,15.1,7.8,mww,,19,0.1,1,us,us1000778i,2017-01-01T00:00:00Z,"
           "\"Amberley, New Zealand\",earthquake,,,,,reviewed,us,us\n"
           "2017-09-03T03:30:01.760Z,41.332,129.030,0,6.3,mb,,,,,us,x,2017,\"Korea\",nuclear explosion,,,,,reviewed,us,"
           "us\n");
    ecrire("catalogue_seismes", "neic.csv",
           "Date,Time,Latitude,Longitude,Type,Depth,Depth Error,Depth Seismic Stations,Magnitude,Magnitude Type\n"
           "12/26/2004,00:58:53,3.295,95.982,Earthquake,30,,,9.1,MW\n");
    ecrire("catalogue_seismes", "iscgem.csv",
           "# ISC-GEM\n#\n#         date          ,    lat   ,    lon   , smajax , sminax , strike, q ,  depth ,"
           "   unc , q ,  mw  ,  unc , q , s , type ,    eventid\n"
           " 1906-04-18 13:12:26.00 ,   37.700 , -122.500 ,   20.0 ,   10.0 ,  90.0 , C ,   10.0 ,   5.0 , C , 7.9  ,"
           "  0.2 , A ,   , MW   ,   16958009\n");
    ecrire("catalogue_seismes", "flux.geojson",
           R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"mag":4.5,)"
           R"("time":1517966773840,"type":"earthquake"},"geometry":{"type":"Point","coordinates":[-70.1,-33.2,100]}}]})");
    ecrire("catalogue_seismes", "table.csv", "\"lat\",\"long\",\"depth\",\"mag\",\"stations\"\n-20.42,181.62,562,4.8,41\n");
    ecrire("catalogue_volcans", "holocene.csv",
           "Global Volcanism Program,,,Basic List of Holocene Volcanoes,,\n"
           "Volcano Number,Volcano Name,Country,Primary Volcano Type,Activity Evidence,Last Known Eruption,Region,"
           "Subregion,Latitude,Longitude,Elevation (m),Dominant Rock Type,Tectonic Setting\n"
           "211060,Etna,Italy,Stratovolcano(es),Eruption Observed,2024 CE,Med,Italy,37.748,14.999,3357,Basalt,"
           "Subduction\n"
           "300001,\"Batu, Tara\",Indonesia,Shield,Evidence Credible,Unknown,X,Y,-7.79,123.58,,Basalt,Rift\n");
    ecrire("catalogue_volcans", "eruptions.csv",
           "Volcano Number,Volcano Name,Eruption Number,Eruption Category,Area of Activity,VEI,VEI Modifier,"
           "Start Year Modifier,Start Year,Start Year Uncertainty,Latitude,Longitude\n"
           "211060,Etna,1,Confirmed Eruption,,2,,,2021,,37.748,14.999\n"
           "211060,Etna,2,Uncertain Eruption,,,,,-1500,,37.748,14.999\n");
    ecrire("catalogue_gps", "vitesses.csv",
           "station,domes,name,latitude,longitude,height_m,vE_mm_yr,vN_mm_yr,vU_mm_yr,sE_mm_yr,sN_mm_yr,sU_mm_yr\n"
           "ZIMM,14001M004,Zimmerwald,46.877,7.465,956.3,19.75,16.36,0.9,0.02,0.03,0.05\n"
           "BRST,10004M004,Brest,48.380,-4.497,65.8,16.1,15.8,-0.2,0.02,0.02,0.07\n");
    ecrire("midas", "midas.txt",
           "ZIMM MIDAS4 2008.2355 2018.7324 10.4969 3190 2968 5171 0.019750 0.016360 0.000900 0.000020 0.000030 "
           "0.000050 -0.002 0.004 0.013 0.072 0.115 0.072 0.002 0.002 0.008 1\n"
           "SHRT MIDAS4 2019.0 2020.0 1.0 300 300 100 0.01 0.01 0.0 0.001 0.001 0.001 0 0 0 0 0 0 0 0 0 0\n"
           "\n%%\n"
           "Sta  Lat(deg)   Long(deg) Hgt(m)  X(m) Y(m) Z(m)\n"
           "ZIMM 46.877 7.465 956.3 0 0 0\nSHRT 10 370 10 0 0 0\n");

    // Landmarks, data lists, configuration, elevation grid.
    {
        carte::TGrilleReperes g = carte::TGrilleReperes::nouvelle();
        const char* cellules[][4] = {{"Paris", "48.85", "2.35", "N"},
                                     {"Réunion", "-21,1", "55,5", "E"},
                                     {"Antipode", "-48.85", "-177.65", "P"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                g.definirCellule(r + 1, c, QString::fromUtf8(cellules[r][c]));
        g.relier = true;
        g.grandsCercles = true;
        ecrire("reperes", "trajet.obf", carte::ecrireFichierReperes(g));
        g.grandsCercles = false;
        g.definirCellule(3, 1, QStringLiteral("nord"));
        ecrire("reperes", "droites.obf", carte::ecrireFichierReperes(g));
    }
    ecrire("liste_donnees", "liste.cft",
           "seismes\\japon.fse,Séismes du Japon,OUI\r\nreperes/arc.obf,Arc des Petites Antilles,non\r\n\r\n"
           "gps.gps,Stations,oui\r\nfin sans virgule\r\napres.txt,jamais lu,OUI\r\n");
    ecrire("config", "config.obc",
           "planisphere3600.jpg\nplanisphere_nb2.jpg\nplanisphere7200.jpg\nplanispherenb.jpg\ntable2.txt\ns.fse\n"
           "volcans.fvo\nalti_10.bin\nPop9515.tdp\n");
    ecrire("config", "court.obc", "C:\\donnees\\fond.jpg\r\n\r\n/abs/fond.jpg\r\n");
    {
        QByteArray g(1, '\0');
        for (int i = 0; i < 600; ++i) {
            const std::int16_t v = static_cast<std::int16_t>((i * 37) % 9000 - 4000);
            g.append(static_cast<char>(v & 0xFF));
            g.append(static_cast<char>((v >> 8) & 0xFF));
        }
        ecrire("grille", "pas10.bin", g);
        g[0] = 3;
        ecrire("grille", "pas60.bin", g.left(301));
    }

    // Pictures.
    QByteArray octets;
    encodeJpeg(degrade(24, 16), octets, 80);
    ecrire("jpeg", "degrade.jpg", octets);
    encodeJpeg(dessin(17, 9, false), octets, 30);
    ecrire("jpeg", "dessin.jpg", octets);
    ecrire("jpeg", "gris.jpg", imageQt(degrade(16, 16), QImage::Format_Grayscale8, "JPG"));
    encodePng(dessin(20, 14, true), octets);
    ecrire("png", "transparent.png", octets);
    encodePng(degrade(16, 8), octets);
    ecrire("png", "opaque.png", octets);
    ecrire("png", "palette.png", imageQt(dessin(12, 12, false), QImage::Format_Indexed8, "PNG"));
    encodeGif(dessin(20, 14, true), octets);
    ecrire("gif", "transparent.gif", octets);
    encodeGif(degrade(24, 16), octets);
    ecrire("gif", "quantifie.gif", octets);
    ecrire("gif", "entrelace.gif", gifEntrelace());
    encodeBmp(dessin(9, 7, true), octets);
    ecrire("bmp", "alpha.bmp", octets);
    ecrire("bmp", "rgb24.bmp", imageQt(degrade(7, 5), QImage::Format_RGB888, "BMP"));
    ecrire("bmp", "indexe.bmp", imageQt(dessin(10, 6, false), QImage::Format_Indexed8, "BMP"));
    {
        // Run-length 8-bit picture, 6 x 3: runs, an absolute run, end of lines and of picture.
        QByteArray rle("BM");
        rle += QByteArray::fromHex("00000000" "00000000" "3e000000");
        rle += QByteArray::fromHex("28000000" "06000000" "03000000" "0100" "0800" "01000000");
        rle += QByteArray::fromHex("00000000" "00000000" "00000000" "02000000" "00000000");
        rle += QByteArray::fromHex("00000000" "ffffffff");
        rle += QByteArray::fromHex("0601" "0000" "0300" "0301" "0000" "0003010001" "00" "0000" "0001");
        ecrire("bmp", "rle8.bmp", rle);
    }
    {
        // Daily positions as the data tool writes them, one written by a
        // spreadsheet, and a calibration file.
        courbes::PositionsJournalieres p;
        for (int i = 0; i < 20; ++i) {
            p.t.push_back(2010 + i / 365.25);
            p.nord.push_back(0.5 * i);
            p.est.push_back(-1.25 * i);
            p.haut.push_back(i % 3);
        }
        ecrire("courbes", "positions.txt", courbes::textePositions(QStringLiteral("USUD"), p));
        ecrire("courbes", "tableur.txt", "2010,5;1,5;2;3\r\n2010,6;1,6;2;3\r\nmauvaise ligne\r\n");
        courbes::Etalonnage e;
        e.PenteTemps = 0.032;
        e.OrigineTemps = 1996.064;
        e.PenteLat = -0.0773;
        e.OrigineLat = 7.99;
        ecrire("courbes", "usud.etl", courbes::octetsEtalonnage(e));
    }
    return 0;
}
