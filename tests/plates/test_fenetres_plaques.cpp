// The plate commands of the map window on a start folder of their own: the
// boundaries layer and the plate in the readout, the model vectors, the pole fit
// window and its residuals.
#include "data/data_test_util.h"
#include "data/loaders.h"
#include "map/windows/delimCarte.h"
#include "map/windows/echage.h"
#include "plates/windows/ajustementpole.h"
#include "plates/windows/commandesplaques.h"
#include "projections/windows/commandevuepolaire.h"
#include "projections/windows/vuepolaire.h"
#include "ui/windows/imageview.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "carte_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace plaques;

namespace {

// Two plates side by side on the equator: Inde to the west of 0°, Eurasie to the
// east, the boundary along 0° with Eurasie overriding. India turns about the
// north pole at 1°/Ma relative to Eurasia (the poles are relative to a third
// plate, Pacifique, which does not move).
const char* const Limites = "> IN \\ EU\n0 -30 SUB\n0 30 -\n";
const char* const Contours = "> IN\n-60 -30\n0 -30\n0 30\n-60 30\n-60 -30\n"
                             "> EU\n0 -30\n60 -30\n60 30\n0 30\n0 -30\n";
const char* const Poles = "IN 90 0 1.5\nEU 90 0 0.5\nPA 0 0 0\n";

TStationGPS station(const char* nom, double lon, double lat, double ve, double vn)
{
    TStationGPS s;
    assignShort(s.Nom, QString::fromLatin1(nom));
    s.Longitude = lon;
    s.Latitude = lat;
    s.VitLong = ve;
    s.VitLat = vn;
    s.IncVitLat = 0.1;
    s.IncVitLong = 0.1;
    s.Affiche = 1;
    return s;
}

int pixelsVisibles(const TBitmap32& b, const QRect& r)
{
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(b.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(b.width() - 1, r.right()); ++x)
            n += (b.pixel(x, y) >> 24) > 0x40;
    return n;
}

class FenetresPlaques : public ::testing::Test, public AvecDonnees {
protected:
    void SetUp() override
    {
        d = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(savePicture(d + QStringLiteral("c3600.png"), TBitmap32(720, 360, 0xFF336699)));
        ecrire("config.obc", "c3600.png\nnb3600.png\nc7200.png\nnb7200.png\nt.gps\ns.fse\nv.fvo\ntopo_10.bil\npop.tdp\n");
        // Stations moving with their plate in the Pacific frame, one off it.
        std::vector<TStationGPS> st;
        const double k = M_PI / 180 * RayonTerreKm; // mm/an at the equator for 1°/Ma
        st.push_back(station("IN01", -30, 0, 1.5 * k, 0));
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                const double lon = 10 + 10 * i, lat = -20 + 12 * j;
                st.push_back(station(qPrintable(QStringLiteral("E%1%2").arg(i).arg(j)), lon, lat,
                                     0.5 * k * std::cos(lat * M_PI / 180), 0));
            }
        st[6].VitLat += 40; // a station that does not follow its plate
        ecrire("t.gps", encoderStations(st));
    }
    void produits()
    {
        ecrire(FichierLimites, Limites);
        ecrire(FichierContours, Contours);
        ecrire(FichierPoles, Poles);
    }
    void ecrire(const char* nom, const QByteArray& o)
    {
        QFile f(d + QString::fromLatin1(nom));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(o);
    }
    std::unique_ptr<TCarte> carte()
    {
        auto c = std::make_unique<TCarte>(dir.path(), donnees);
        EXPECT_TRUE(c->demarrer());
        commandes = new TCommandesPlaques(*c);
        return c;
    }
    // Map pixel of a point on the 720 x 360 map (unshifted).
    static QPoint pixel(double lon, double lat) { return {int(std::lround((lon + 180) * 2)), int(std::lround((90 - lat) * 2))}; }
    void montrerGPS(TCarte& c)
    {
        enfant<QAction>(c, "PointsGPS1")->trigger();
        ASSERT_EQ(donnees.TabStations.size(), 17u);
    }

    QTemporaryDir dir;
    QString d;
    ScriptedDialogs script;
    DialogServiceGuard garde{&script};
    TCommandesPlaques* commandes = nullptr;
};

} // namespace

TEST_F(FenetresPlaques, BoundariesLayerFollowsTheShiftAndTheReadoutNamesThePlate)
{
    produits();
    auto c = carte();
    QAction* item = enfant<QAction>(*c, "Limitesdeplaques1");
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    ASSERT_TRUE(item->isChecked());
    EXPECT_TRUE(c->scene().affiche(Calque::Plaques));
    const TBitmap32& b = c->calque(Calque::Plaques)->bitmap;
    const QPoint p = pixel(0, 0);
    EXPECT_GT(pixelsVisibles(b, QRect(p.x() - 2, p.y() - 20, 5, 40)), 40) << "the boundary along 0°";
    // Teeth on the Eurasian side (east), not on the Indian one.
    EXPECT_GT(pixelsVisibles(b, QRect(p.x() + 4, p.y() - 40, 3, 80)), 0);
    EXPECT_EQ(pixelsVisibles(b, QRect(p.x() - 7, p.y() - 40, 3, 80)), 0);
    EXPECT_GT(pixelsVisibles(b, QRect(5, 250, 60, 100)), 100) << "the legend at the bottom left";
    ASSERT_NE(commandes->legende(), nullptr);
    EXPECT_TRUE(commandes->legende()->isVisible()) << "and in its window, whatever the zoom";

    c->DocumentMouseMove(Qt::NoButton, pixel(-20, 5));
    EXPECT_EQ(c->Interaction.panneau().plaque, QStringLiteral("Plaque : Inde"));
    EXPECT_EQ(enfant<QLabel>(*c, "Plaque")->text(), QStringLiteral("Plaque : Inde"));
    c->DocumentMouseMove(Qt::NoButton, pixel(20, 5));
    EXPECT_EQ(c->Interaction.panneau().plaque, QStringLiteral("Plaque : Eurasie"));
    c->DocumentMouseMove(Qt::NoButton, pixel(120, 5));
    EXPECT_EQ(c->Interaction.panneau().plaque, QStringLiteral("Plaque : "));

    // A shift of 90° moves the boundary with the map; the legend stays in its corner.
    c->scene().decaler(90);
    const QPoint q{(0 + 90 + 180) * 2, 180};
    EXPECT_EQ(pixelsVisibles(b, QRect(p.x() - 2, p.y() - 20, 5, 40)), 0);
    EXPECT_GT(pixelsVisibles(b, QRect(q.x() - 2, q.y() - 20, 5, 40)), 40);
    EXPECT_GT(pixelsVisibles(b, QRect(5, 250, 60, 100)), 100);

    // A base picture of another size (the precise or black-and-white map): the
    // layer is drawn again at the new size.
    c->scene().decaler(0);
    c->scene().installerFond(TBitmap32(1440, 720, 0xFF808080));
    c->scene().reconstruireCalques();
    const TBitmap32& b2 = c->calque(Calque::Plaques)->bitmap;
    ASSERT_EQ(b2.width(), 1440);
    EXPECT_GT(pixelsVisibles(b2, QRect(720 - 3, 360 - 40, 7, 80)), 80);

    item->trigger();
    EXPECT_FALSE(c->scene().affiche(Calque::Plaques));
    EXPECT_FALSE(commandes->legende()->isVisible());
    c->DocumentMouseMove(Qt::NoButton, pixel(20, 5));
    EXPECT_EQ(c->Interaction.panneau().plaque, QString()) << "no plate readout without the layer";
    EXPECT_TRUE(script.shown.empty());
}

TEST_F(FenetresPlaques, MissingOrFaultyProductsAreNamedAndNothingIsShown)
{
    auto c = carte();
    QAction* item = enfant<QAction>(*c, "Limitesdeplaques1");
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(c->scene().affiche(Calque::Plaques));
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(script.shown[0].text.contains("plaques_limites.txt")) << script.shown[0].text.toStdString();

    produits();
    ecrire(FichierPoles, "IN 90 0 1.5\nEU 95 0 0.5\n");
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_TRUE(script.shown[1].text.contains("plaques_poles.txt") && script.shown[1].text.contains("ligne 2"))
        << script.shown[1].text.toStdString();
}

TEST_F(FenetresPlaques, ModelVectorsRelativeToTheFixedStationsPlateOrTheChosenPlate)
{
    produits();
    auto c = carte();
    montrerGPS(*c);
    QAction* item = enfant<QAction>(*c, "Vecteursdumodele1");
    item->trigger();
    ASSERT_TRUE(item->isChecked());
    EXPECT_TRUE(c->scene().affiche(Calque::VecteursModele));
    const TBitmap32& b = c->calque(Calque::VecteursModele)->bitmap;
    // Relative to Eurasia (the default plate): India moves east at 1°/Ma x R at
    // the equator, the Eurasian stations do not move.
    const double k = M_PI / 180 * RayonTerreKm;
    const QPoint in = pixel(-30, 0);
    const int longueur = static_cast<int>(std::lround(k * c->Reglages.EchelleVecteurs));
    EXPECT_GT(pixelsVisibles(b, QRect(in.x() + 3, in.y() - 1, longueur - 6, 3)), longueur / 2);
    EXPECT_EQ(pixelsVisibles(b, QRect(in.x() - 30, in.y() - 10, 28, 20)), 0);
    const QPoint eu = pixel(20, -8);
    EXPECT_EQ(pixelsVisibles(b, QRect(eu.x() - 10, eu.y() - 10, 20, 20)), 0);

    c->DocumentMouseMove(Qt::NoButton, in);
    const plaques::VitesseSurface attendu{k, 0};
    EXPECT_EQ(c->Interaction.panneau().vitesseModele,
              QStringLiteral("prédite par le modèle : ") + carte::formatDecimal(attendu.norme(), 2) + " mm/an");
    EXPECT_EQ(enfant<QLabel>(*c, "VitesseModele")->text(), c->Interaction.panneau().vitesseModele);

    // The chosen plate Inde: now the Eurasian stations move west.
    enfant<QAction>(*c, "ReferenceIN")->trigger();
    EXPECT_EQ(commandes->plaqueDeReference(), "IN");
    EXPECT_EQ(pixelsVisibles(b, QRect(in.x() + 3, in.y() - 1, longueur - 6, 3)), 0);
    EXPECT_GT(pixelsVisibles(b, QRect(eu.x() - 30, eu.y() - 2, 28, 4)), 5);

    // A fixed station on Eurasia: relative to Eurasia again, whatever the menu says.
    c->scene().choisirStationRef(5);
    EXPECT_GT(pixelsVisibles(b, QRect(in.x() + 3, in.y() - 1, longueur - 6, 3)), longueur / 2);

    // Hiding the GPS layer takes the model vectors with it.
    QAction* gps = enfant<QAction>(*c, "PointsGPS1");
    gps->trigger();
    EXPECT_FALSE(c->scene().affiche(Calque::VecteursModele));
    gps->trigger();
    EXPECT_TRUE(c->scene().affiche(Calque::VecteursModele));
    item->trigger();
    EXPECT_FALSE(c->scene().affiche(Calque::VecteursModele));
    EXPECT_TRUE(script.shown.empty());
}

TEST_F(FenetresPlaques, PoleFitOnTheZoneStationsWithItsResidualsAndRefusals)
{
    produits();
    auto c = carte();
    montrerGPS(*c);
    QAction* ajuster = enfant<QAction>(*c, "Ajusterunpoleeulerien1");
    ajuster->trigger();
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].text.contains("Délimitation d'une zone")) << script.shown[0].text.toStdString();

    FiltreZone z;
    z.Latmin = -10;
    z.Latmax = 1;
    z.Longmin = -40;
    z.Longmax = 15; // two stations
    ASSERT_EQ(donnees.reconstruireTabTri(z), 2);
    ajuster->trigger();
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_TRUE(script.shown[1].text.contains("trois stations"));
    EXPECT_EQ(commandes->fenetreAjustement(), nullptr);

    // The Eurasian stations: their plate's pole comes back, one station is off it.
    z = FiltreZone{-30, 30, 5, 60};
    ASSERT_EQ(donnees.reconstruireTabTri(z), 16);
    ajuster->trigger();
    ASSERT_EQ(script.shown.size(), 2u);
    TAjustementPole* f = commandes->fenetreAjustement();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    ASSERT_TRUE(f->resultat());
    EXPECT_EQ(f->resultat()->nbStations, 16);
    EXPECT_TRUE(f->Resultat->text().contains("Stations : 16"));
    EXPECT_TRUE(f->Resultat->text().contains("Eurasie"));
    ASSERT_EQ(f->HorsNorme->count(), 1);
    EXPECT_TRUE(f->HorsNorme->item(0)->text().startsWith("E11 : ")) << f->HorsNorme->item(0)->text().toStdString();
    EXPECT_FALSE(f->Comparaison->isVisible());
    // The residuals are drawn (the off station's the longest), enlarged as asked.
    EXPECT_TRUE(c->scene().affiche(Calque::VecteursModele));
    const TBitmap32& b = c->calque(Calque::VecteursModele)->bitmap;
    const QPoint hors = pixel(20, -8);
    const int avant = pixelsVisibles(b, QRect(hors.x() - 3, hors.y() - 200, 7, 198));
    EXPECT_GT(avant, 20);
    f->Agrandissement->setValue(1);
    EXPECT_LT(pixelsVisibles(b, QRect(hors.x() - 3, hors.y() - 200, 7, 198)), avant);
    f->AfficherResidus->setChecked(false);
    EXPECT_FALSE(c->scene().affiche(Calque::VecteursModele));
    f->AfficherResidus->setChecked(true);
    EXPECT_TRUE(c->scene().affiche(Calque::VecteursModele));

    // A second fit is compared with the first, and the model's pole of the pair is given.
    z = FiltreZone{-30, 30, -60, -1};
    std::vector<TStationGPS> inde;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            inde.push_back(station("I", -50 + 15 * i, -20 + 20 * j,
                                   1.5 * M_PI / 180 * RayonTerreKm * std::cos((-20 + 20 * j) * M_PI / 180), 0));
    donnees.TabTri = inde;
    ajuster->trigger();
    EXPECT_TRUE(f->Comparaison->isVisibleTo(f));
    EXPECT_TRUE(f->Comparaison->text().contains("Modèle PB2002, Inde par rapport à Eurasie")) << f->Comparaison->text().toStdString();
    EXPECT_TRUE(f->Comparaison->text().contains("pôle 90° N, 0° E, 1 °/Ma") && f->Comparaison->text().contains("rapport des vitesses angulaires : 1"))
        << qPrintable(f->Comparaison->text());

    // The polar view button waits for a polar view.
    EXPECT_FALSE(f->VuePolaire->isEnabled());
    double lat = 0, lon = 1;
    commandes->ouvrirVuePolaire = [&](double a, double b) { lat = a, lon = b; };
    ajuster->trigger();
    ASSERT_TRUE(f->VuePolaire->isEnabled());
    f->VuePolaire->click();
    EXPECT_NEAR(lat, 90, 1e-6);

    f->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(c->scene().affiche(Calque::VecteursModele)) << "the residuals go with their window";
}

TEST_F(FenetresPlaques, PolarViewGetsTheBoundariesThePairsOfPlatesAndTheFittedPole)
{
    produits();
    auto c = carte();
    TCommandeVuePolaire polaire(*c);
    commandes->brancherVuePolaire(polaire);
    TVuePolaire& v = polaire.vue();
    EXPECT_TRUE(v.Limitesdeplaques1->isEnabled());

    // The pairs of plates that share a boundary, with the pole of the first
    // relative to the second: Eurasia turns 1°/Ma clockwise about the north pole
    // relative to India, that is anticlockwise about the south pole.
    const std::vector<PoleNomme> couples = commandes->couplesVoisins();
    ASSERT_EQ(couples.size(), 1u);
    EXPECT_EQ(couples[0].nom, QStringLiteral("Eurasie / Inde"));
    EXPECT_NEAR(couples[0].latitude, -90, 1e-9);
    EXPECT_NEAR(couples[0].vitesse, 1.0, 1e-9);

    // The pole dialog: the list fills the pole; "(aucun)" leaves it as it is.
    TChoixPole& d = polaire.choixPole();
    d.show(); // the lists are filled when they are first shown
    ASSERT_EQ(d.CouplePlaques->count(), 2);
    EXPECT_EQ(d.CouplePlaques->itemText(0), QStringLiteral("(aucun)"));
    d.setPole({45, 10});
    d.CouplePlaques->setCurrentIndex(1);
    emit d.CouplePlaques->activated(1);
    EXPECT_EQ(d.pole().latitude, -90);
    EXPECT_TRUE(d.VitesseRotation->text().contains(QStringLiteral("1 °/Ma"))) << qPrintable(d.VitesseRotation->text());
    d.setPole({45, 10});
    d.CouplePlaques->setCurrentIndex(0);
    emit d.CouplePlaques->activated(0);
    EXPECT_EQ(d.pole().latitude, 45);
    EXPECT_TRUE(d.VitesseRotation->text().isEmpty());
    d.hide();

    // Opened about a pole without the dialog, then the boundaries as an overlay.
    polaire.ouvrirAutourDe(9.6, -20.4);
    ASSERT_TRUE(v.construite());
    EXPECT_EQ(v.pole().latitude, 10);
    EXPECT_EQ(v.pole().longitude, -20);
    EXPECT_EQ(v.CouplePlaques->count(), 2) << "the view's own list too";
    auto calquesVisibles = [&] {
        int n = 0;
        for (int i = 0; i < v.vue()->stack().layerCount(); ++i)
            n += v.vue()->stack().layer(i)->visible;
        return n;
    };
    const int avant = calquesVisibles();
    v.Limitesdeplaques1->trigger();
    EXPECT_TRUE(v.Limitesdeplaques1->isChecked());
    EXPECT_EQ(calquesVisibles(), avant + 1);
    int dessines = 0;
    for (int i = 0; i < v.vue()->stack().layerCount(); ++i) {
        const TBitmapLayer* l = v.vue()->stack().layer(i);
        if (l->visible)
            dessines += pixelsVisibles(l->bitmap, l->bitmap.boundsRect());
    }
    EXPECT_GT(dessines, 100);
    v.Limitesdeplaques1->trigger();
    EXPECT_EQ(calquesVisibles(), avant);

    // The fit window's button opens the view about the fitted pole.
    montrerGPS(*c);
    ASSERT_EQ(donnees.reconstruireTabTri(FiltreZone{-30, 30, 5, 60}), 16);
    enfant<QAction>(*c, "Ajusterunpoleeulerien1")->trigger();
    TAjustementPole* f = commandes->fenetreAjustement();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(f->VuePolaire->isEnabled());
    const int constructions = v.nombreConstructions();
    f->VuePolaire->click();
    EXPECT_EQ(v.nombreConstructions(), constructions + 1);
    EXPECT_EQ(v.pole().latitude, carte::arrondi(f->resultat()->pole.latitude));
    EXPECT_TRUE(script.shown.empty());
}
