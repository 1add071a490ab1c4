#include "fuzz_commun.h"

#include "map/etatcarte.h"
#include "map/lecture.h"
#include "map/rendu.h"
#include "ui/codecs.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

void initialiser()
{
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nom[] = "fuzz";
    static char* argv[] = {nom, nullptr};
    app = new QGuiApplication(argc, argv);
    // Fonts are looked up once here rather than inside the first input.
    TBitmap32 essai(40, 20);
    essai.drawText(1, 1, QStringLiteral("Séisme"), QFont(QStringLiteral("Arial"), 10), clBlack32);
}

void verifier(bool condition, const char* quoi)
{
    if (!condition) {
        std::fprintf(stderr, "Propriété non respectée : %s\n", quoi);
        std::abort();
    }
}

namespace {

constexpr std::size_t kLectures = 4;
const int kDecalages[] = {0, 90, -180};

EtatCarte etat(int decalage)
{
    EtatCarte e;
    e.W = 360;
    e.H = 180;
    e.fixerDecalage(decalage);
    return e;
}

void lirePosition(double longitude, double latitude, const EtatCarte& e)
{
    const carte::PointCarte p = e.versCarte(longitude, latitude);
    const carte::IndicesGrille g = carte::indicesGrille(p.x, p.y, e.W, e.H, e.Decalage, 6);
    carte::textesPositionMouvement(longitude, latitude, g.surGrille, 0);
    carte::textesPositionAppui(p.x - e.W / 2, e.H / 2 - p.y, g.surGrille, 0);
}

} // namespace

void dessinerSeismes(const std::vector<TSeisme>& seismes)
{
    ReglagesAffichage r;
    for (int d : kDecalages) {
        const EtatCarte e = etat(d);
        TBitmap32 calque(e.W, e.H);
        dessinerSeismes(calque, seismes, r, e);
        r.MagnitudeMini = 0;
        r.PointsEpais = !r.PointsEpais;
    }
    const EtatCarte e = etat(0);
    for (std::size_t i = 0; i < std::min(kLectures, seismes.size()); ++i) {
        const TSeisme& s = seismes[i];
        lirePosition(s.Longitude, s.Latitude, e);
        carte::formatDecimal(s.Magnitude, 1);
        carte::formatGeneral(s.Profondeur, 4);
        couleurProfondeur(r.CouleurSeismes, s.Profondeur, r.ProfLimite);
    }
}

void dessinerVolcans(const std::vector<TVolcan>& volcans)
{
    ReglagesAffichage r;
    for (int d : kDecalages) {
        const EtatCarte e = etat(d);
        TBitmap32 calque(e.W, e.H);
        dessinerVolcans(calque, volcans, r, e);
        r.PointsEpais = !r.PointsEpais;
    }
    const EtatCarte e = etat(0);
    for (std::size_t i = 0; i < std::min(kLectures, volcans.size()); ++i) {
        const TVolcan& v = volcans[i];
        lirePosition(v.Longitude, v.Latitude, e);
        carte::lectureVolcan(volcans, v.Longitude, v.Latitude);
        carte::lectureVolcan(volcans, v.Longitude + 0.5, v.Latitude - 0.5);
        int trouves = 0;
        carte::rechercheVolcans(shortToQString(v.Nom).left(3), volcans, &trouves);
    }
}

void dessinerStations(const std::vector<TStationGPS>& stations)
{
    ReglagesAffichage r;
    const TBitmap32 legende = construireLegende(r.EchelleVecteurs, r.CouleurVecteurs);
    r.LegendePlacee = true;
    for (int d : kDecalages) {
        EtatCarte e = etat(d);
        if (d != 0 && !stations.empty())
            e.choisirStationRef(stations, static_cast<int>(stations.size() / 2));
        TBitmap32 calque(e.W, e.H);
        dessinerGPS(calque, stations, r, e, true, &legende);
        r.PointsEpais = !r.PointsEpais;
        r.CorrectionVLat = !r.CorrectionVLat;
        r.EchelleVecteurs *= 2;
    }
    EtatCarte e = etat(0);
    for (std::size_t i = 0; i < std::min(kLectures, stations.size()); ++i) {
        const TStationGPS& s = stations[i];
        lirePosition(s.Longitude, s.Latitude, e);
        carte::lectureStation(stations, s.Longitude, s.Latitude, false, 0, 0);
        carte::lectureStation(stations, s.Longitude, s.Latitude, true, s.VitLat / 2, -s.VitLong);
        composantesVecteur(s, e, s.Longitude, true);
    }
}

void dessinerImage(const TBitmap32& image)
{
    if (image.isEmpty())
        return;
    TBitmap32 petit(48, 32, clWhite32);
    petit.draw(petit.boundsRect(), image.boundsRect(), image, TBitmap32::DrawMode::Blend);
    TBitmap32 partie(40, 40);
    partie.draw(QRect(-5, 3, 50, 30), QRect(image.width() / 3, image.height() / 4, image.width() / 2 + 1,
                                            image.height() / 2 + 1),
                image, TBitmap32::DrawMode::Opaque);
    if (static_cast<long long>(image.width()) * image.height() > 4096)
        return;
    // Lossless round trips: every pixel, alpha included, comes back.
    QByteArray donnees;
    TBitmap32 retour;
    verifier(encodePng(image, donnees) && decodePng(donnees, retour) && retour == image, "aller-retour PNG");
    verifier(encodeBmp(image, donnees) && decodeBmp(donnees, retour) && retour == image, "aller-retour BMP");
    verifier(encodeGif(image, donnees) && decodeGif(donnees, retour) && retour.width() == image.width() &&
                 retour.height() == image.height(),
             "aller-retour GIF");
}

void essayerDecodeur(Decodeur decodeur, const QByteArray& donnees)
{
    TBitmap32 image(3, 3, clWhite32);
    QString erreur;
    if (!decodeur(donnees, image, &erreur)) {
        verifier(image == TBitmap32(3, 3, clWhite32) && !erreur.isEmpty(), "échec sans message, ou image modifiée");
        return;
    }
    verifier(!image.isEmpty(), "image décodée vide");
    dessinerImage(image);
}

} // namespace fuzz
