#include "import/grilles.h"
#include "data/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <gdal.h>
#include <cpl_conv.h>
#include <cpl_error.h>

#include <bzlib.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

// The netCDF and HDF5 libraries under GDAL are not safe to call from several
// threads at once: every GDAL access goes through this lock.
std::mutex& verrouGDAL()
{
    static std::mutex m;
    return m;
}

void initialiserGDAL()
{
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}


// Unpacks a bzip2 file into `sortie`.
bool decompresserBz2(const QString& chemin, QFile& sortie, QString* message)
{
    FILE* f = std::fopen(QFile::encodeName(chemin).constData(), "rb");
    if (!f) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » non trouvé.").arg(nomAffiche(chemin));
        return false;
    }
    int err = BZ_OK;
    BZFILE* bz = BZ2_bzReadOpen(&err, f, 0, 0, nullptr, 0);
    bool ok = err == BZ_OK;
    std::vector<char> tampon(1 << 20);
    while (ok) {
        const int n = BZ2_bzRead(&err, bz, tampon.data(), static_cast<int>(tampon.size()));
        if ((err == BZ_OK || err == BZ_STREAM_END) && n > 0)
            ok = sortie.write(tampon.data(), n) == n;
        if (err == BZ_STREAM_END)
            break;
        if (err != BZ_OK)
            ok = false;
    }
    BZ2_bzReadClose(&err, bz);
    std::fclose(f);
    if (!ok && message)
        *message = QStringLiteral("Fichier « %1 » : archive bzip2 tronquée ou illisible.").arg(nomAffiche(chemin));
    return ok && sortie.flush();
}

// The HDF5 library under netCDF-4 prints diagnostics on the standard error for
// attributes it merely probes; they are silenced while a grid is read (GDAL's own
// errors are still reported through CPLGetLastErrorMsg).
class SilenceErreurStandard {
public:
    SilenceErreurStandard()
    {
        std::fflush(stderr);
        sauve_ = dup(2);
        const int nul = open("/dev/null", O_WRONLY);
        if (sauve_ >= 0 && nul >= 0)
            dup2(nul, 2);
        if (nul >= 0)
            close(nul);
    }
    ~SilenceErreurStandard()
    {
        std::fflush(stderr);
        if (sauve_ >= 0) {
            dup2(sauve_, 2);
            close(sauve_);
        }
    }

private:
    int sauve_ = -1;
};

bool lireAvecGDAL(const QString& chemin, const QString& nomMessage, Grille& g, QString* message)
{
    std::lock_guard<std::mutex> verrou(verrouGDAL());
    SilenceErreurStandard silence;
    initialiserGDAL();
    GDALDatasetH ds = GDALOpen(QFile::encodeName(chemin).constData(), GA_ReadOnly);
    if (!ds) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » : grille illisible (netCDF, GeoTIFF ou ASCII ESRI attendu) : %2")
                           .arg(nomMessage, QString::fromUtf8(CPLGetLastErrorMsg()));
        return false;
    }
    const int nx = GDALGetRasterXSize(ds), ny = GDALGetRasterYSize(ds);
    double gt[6] = {0, 1, 0, 0, 0, 1};
    const bool geo = GDALGetGeoTransform(ds, gt) == CE_None;
    GDALRasterBandH bande = GDALGetRasterCount(ds) > 0 ? GDALGetRasterBand(ds, 1) : nullptr;
    if (!geo || !bande || nx < 2 || ny < 2 || gt[2] != 0 || gt[4] != 0 || gt[1] <= 0) {
        GDALClose(ds);
        if (message)
            *message = QStringLiteral("Fichier « %1 » : ce n'est pas une grille régulière en longitude et latitude.")
                           .arg(nomMessage);
        return false;
    }
    g.nx = nx;
    g.ny = ny;
    g.v.assign(static_cast<std::size_t>(nx) * ny, 0.0f);
    const CPLErr e = GDALRasterIO(bande, GF_Read, 0, 0, nx, ny, g.v.data(), nx, ny, GDT_Float32, 0, 0);
    int aNoData = 0;
    const double noData = GDALGetRasterNoDataValue(bande, &aNoData);
    int aEchelle = 0, aDecalage = 0;
    double echelle = GDALGetRasterScale(bande, &aEchelle);
    double decalage = GDALGetRasterOffset(bande, &aDecalage);
    if (!aEchelle)
        echelle = 1;
    if (!aDecalage)
        decalage = 0;
    const QString erreurGDAL = QString::fromUtf8(CPLGetLastErrorMsg());
    GDALClose(ds);
    if (e != CE_None) {
        g = Grille();
        if (message)
            *message = QStringLiteral("Fichier « %1 » : lecture de la grille interrompue (fichier tronqué ?) : %2")
                           .arg(nomMessage, erreurGDAL);
        return false;
    }
    const float nd = static_cast<float>(noData);
    for (float& x : g.v) {
        if ((aNoData && (x == nd || (std::isnan(nd) && std::isnan(x)))) || !std::isfinite(x))
            x = std::numeric_limits<float>::quiet_NaN();
        else if (echelle != 1 || decalage != 0)
            x = static_cast<float>(x * echelle + decalage);
    }
    g.dlon = gt[1];
    g.lon0 = gt[0] + gt[1] / 2;
    if (gt[5] < 0) {
        g.dlat = -gt[5];
        g.lat0 = gt[3] + gt[5] / 2;
    } else {
        // Rows stored south first: turn them so that row 0 is the northernmost.
        g.dlat = gt[5];
        g.lat0 = gt[3] + gt[5] * (ny - 1) + gt[5] / 2;
        for (int r = 0; r < ny / 2; ++r)
            std::swap_ranges(g.v.begin() + static_cast<std::ptrdiff_t>(r) * nx,
                             g.v.begin() + static_cast<std::ptrdiff_t>(r + 1) * nx,
                             g.v.begin() + static_cast<std::ptrdiff_t>(ny - 1 - r) * nx);
    }
    // Some files store their coordinates with rounding errors (ETOPO5's step is
    // written 0.0833341 for 1/12): steps that almost divide the circle or the
    // meridian are taken as exact. Longitudes given as 0..360 are kept; sampling
    // wraps them.
    for (int n : {nx, nx - 1}) {
        if (std::fabs(n * g.dlon - 360.0) < 0.02 * g.dlon * n / 100.0 + 1e-9 || std::fabs(n * g.dlon - 360.0) < 0.05) {
            g.dlon = 360.0 / n;
            g.lon0 = std::round(g.lon0 / (g.dlon / 2)) * (g.dlon / 2);
            break;
        }
    }
    if (std::fabs((ny - 1) * g.dlat - 180.0) < 0.05) {
        g.dlat = 180.0 / (ny - 1);
        g.lat0 = 90.0;
    } else if (std::fabs(ny * g.dlat - 180.0) < 0.05) {
        g.dlat = 180.0 / ny;
        g.lat0 = 90.0 - g.dlat / 2;
    }
    return true;
}

} // namespace

double Grille::bilineaire(double lat, double lon) const
{
    if (vide())
        return std::numeric_limits<double>::quiet_NaN();
    const double fr = (lat0 - lat) / dlat;
    double fc = (lon - lon0) / dlon;
    const bool tour = globaleEnLongitude();
    const double periode = 360.0 / dlon;
    if (tour && (fc < 0 || fc > nx - 1)) {
        fc = std::fmod(fc, periode);
        if (fc < 0)
            fc += periode;
    }
    if (fr < -0.5 || fr > ny - 0.5)
        return std::numeric_limits<double>::quiet_NaN();
    const double r = std::clamp(fr, 0.0, static_cast<double>(ny - 1));
    int r0 = static_cast<int>(std::floor(r));
    if (r0 >= ny - 1)
        r0 = ny - 2;
    const double tr = r - r0;
    int c0 = static_cast<int>(std::floor(fc));
    double tc = fc - c0;
    int c1 = c0 + 1;
    if (tour) {
        // Columns of the grid itself first (a gridline grid repeats its first
        // column at +180), wrapped by the period only outside.
        const int p = static_cast<int>(std::lround(periode));
        if (c0 < 0 || c0 >= nx)
            c0 = ((c0 % p) + p) % p;
        if (c1 < 0 || c1 >= nx)
            c1 = ((c1 % p) + p) % p;
    } else {
        if (fc < -0.5 || fc > nx - 0.5)
            return std::numeric_limits<double>::quiet_NaN();
        c0 = std::clamp(c0, 0, nx - 1);
        c1 = std::clamp(c1, 0, nx - 1);
        tc = std::clamp(tc, 0.0, 1.0);
    }
    const double a = at(c0, r0), b = at(c1, r0), c = at(c0, r0 + 1), d = at(c1, r0 + 1);
    return (a * (1 - tc) + b * tc) * (1 - tr) + (c * (1 - tc) + d * tc) * tr;
}

double Grille::bicubique(double lat, double lon) const
{
    if (vide() || nx < 4 || ny < 4)
        return bilineaire(lat, lon);
    const double fr = (lat0 - lat) / dlat;
    double fc = (lon - lon0) / dlon;
    const bool tour = globaleEnLongitude();
    const int periode = static_cast<int>(std::lround(360.0 / dlon));
    if (fr < -0.5 || fr > ny - 0.5 || (!tour && (fc < -0.5 || fc > nx - 0.5)))
        return std::numeric_limits<double>::quiet_NaN();
    const int r0 = static_cast<int>(std::floor(fr)), c0 = static_cast<int>(std::floor(fc));
    const double tr = fr - r0, tc = fc - c0;
    auto poids = [](double t, double w[4]) {
        const double t2 = t * t, t3 = t2 * t;
        w[0] = -0.5 * t3 + t2 - 0.5 * t;
        w[1] = 1.5 * t3 - 2.5 * t2 + 1;
        w[2] = -1.5 * t3 + 2 * t2 + 0.5 * t;
        w[3] = 0.5 * t3 - 0.5 * t2;
    };
    double wr[4], wc[4];
    poids(tr, wr);
    poids(tc, wc);
    double somme = 0;
    for (int i = 0; i < 4; ++i) {
        const int r = std::clamp(r0 - 1 + i, 0, ny - 1);
        double ligne = 0;
        for (int j = 0; j < 4; ++j) {
            int c = c0 - 1 + j;
            if (tour && (c < 0 || c >= nx))
                c = ((c % periode) + periode) % periode;
            c = std::clamp(c, 0, nx - 1);
            ligne += wc[j] * at(c, r);
        }
        somme += wr[i] * ligne;
    }
    return somme;
}

double Grille::proche(double lat, double lon) const
{
    if (vide())
        return std::numeric_limits<double>::quiet_NaN();
    const long r = std::lround((lat0 - lat) / dlat);
    long c = std::lround((lon - lon0) / dlon);
    if (r < 0 || r >= ny)
        return std::numeric_limits<double>::quiet_NaN();
    if (globaleEnLongitude()) {
        const long periode = std::lround(360.0 / dlon);
        if (c < 0 || c >= nx)
            c = ((c % periode) + periode) % periode;
        if (c >= nx)
            c = 0;
    } else if (c < 0 || c >= nx) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return at(static_cast<int>(c), static_cast<int>(r));
}

bool lireGrille(const QString& chemin, Grille& g, QString* message)
{
    g = Grille();
    if (!QFileInfo(chemin).isFile()) {
        if (message)
            *message = QStringLiteral("Fichier « %1 » non trouvé.").arg(nomAffiche(chemin));
        return false;
    }
    if (chemin.endsWith(QLatin1String(".bz2"), Qt::CaseInsensitive)) {
        QTemporaryFile temp(QDir::tempPath() + QStringLiteral("/orbiplate-grille-XXXXXX.nc"));
        if (!temp.open()) {
            if (message)
                *message = QStringLiteral("Impossible de créer un fichier temporaire pour décompresser « %1 ».")
                               .arg(nomAffiche(chemin));
            return false;
        }
        if (!decompresserBz2(chemin, temp, message))
            return false;
        temp.close();
        return lireAvecGDAL(temp.fileName(), nomAffiche(chemin), g, message);
    }
    return lireAvecGDAL(chemin, nomAffiche(chemin), g, message);
}

bool verifierTaille(const Grille& g, const QString& chemin, int nx, int ny, QString* message)
{
    if (g.nx == nx && g.ny == ny)
        return true;
    if (message)
        *message = QStringLiteral("Fichier « %1 » : grille de %2 × %3 valeurs, %4 × %5 attendues.")
                       .arg(nomAffiche(chemin))
                       .arg(g.nx)
                       .arg(g.ny)
                       .arg(nx)
                       .arg(ny);
    return false;
}
