// The PB2002 plate model turned into the data folder's plate products, on the
// staged public files (skipped when they are absent): the plate of well-known
// places, the model's relative poles, and files that do not parse.
#include "import/plaques.h"
#include "import/produits.h"
#include "plates/modele.h"
#include "plates/plaques.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString dossierSources()
{
    const QByteArray env = qgetenv("ORBIPLATE_DATA_SRC");
    return env.isEmpty() ? QStringLiteral(ORBIPLATE_DATA_SRC) : QString::fromLocal8Bit(env);
}

QByteArray lire(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class PB2002 : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir d(dossierSources());
        if (!QFileInfo(d.filePath(import_plaques::SourceLimites)).isFile())
            GTEST_SKIP() << "PB2002 files not staged in " << d.path().toStdString();
        s.limites = lire(d.filePath(import_plaques::SourceLimites));
        s.pas = lire(d.filePath(import_plaques::SourcePas));
        s.contours = lire(d.filePath(import_plaques::SourceContours));
        s.poles = lire(d.filePath(import_plaques::SourcePoles));
        s.nomLimites = "PB2002_boundaries.dig.txt";
        s.nomPas = "PB2002_steps.dat.txt";
        s.nomContours = "PB2002_plates.dig.txt";
        s.nomPoles = "PB2002_poles.dat.txt";
    }
    bool modele(plaques::TModelePlaques& m)
    {
        import_plaques::Produits p;
        QString e;
        if (!import_plaques::convertir(s, p, e)) {
            ADD_FAILURE() << e.toStdString();
            return false;
        }
        return plaques::analyserLimites(p.limites, "l", m.limites, e) && plaques::analyserContours(p.contours, "c", m.contours, e)
               && plaques::analyserPoles(p.poles, "p", m.poles, e) && (m.indexer(), true);
    }
    import_plaques::Sources s;
};

} // namespace

TEST_F(PB2002, ProductsAndThePlateOfWellKnownPlaces)
{
    import_plaques::Produits p;
    QString e;
    ASSERT_TRUE(import_plaques::convertir(s, p, e)) << e.toStdString();
    EXPECT_EQ(p.nbLimites, 229);
    EXPECT_EQ(p.nbPoints, 6048);
    EXPECT_EQ(p.nbPlaques, 52);
    EXPECT_EQ(p.nbPoles, 52);
    plaques::TModelePlaques m;
    ASSERT_TRUE(modele(m));
    // Steps of every kind, and subduction polarities both ways.
    int sub = 0, osr = 0, gauche = 0, droite = 0;
    for (const plaques::SegmentLimite& l : m.limites) {
        for (plaques::TypeLimite t : l.types) {
            sub += t == plaques::TypeLimite::SUB;
            osr += t == plaques::TypeLimite::OSR;
        }
        gauche += l.polarite == '/';
        droite += l.polarite == '\\';
    }
    EXPECT_EQ(sub, 1127);
    EXPECT_EQ(osr, 1875);
    EXPECT_GT(gauche, 0);
    EXPECT_GT(droite, 0);

    struct Lieu {
        const char* nom;
        double lon, lat;
        const char* plaque;
    };
    for (const Lieu& l : {Lieu{"Paris", 2.35, 48.85, "EU"}, Lieu{"Hawaï", -155.5, 19.6, "PA"},
                          Lieu{"Lima", -77.04, -12.05, "SA"}, Lieu{"Reykjavik", -21.94, 64.15, "NA"},
                          Lieu{"Egilsstaðir (est de l'Islande)", -14.4, 65.27, "EU"},
                          Lieu{"Sydney", 151.2, -33.87, "AU"}, Lieu{"New Delhi", 77.2, 28.6, "IN"},
                          Lieu{"Lhassa", 91.1, 29.65, "EU"}, Lieu{"Nairobi", 36.82, -1.29, "SO"},
                          Lieu{"Pôle Sud", 0, -90, "AN"}, Lieu{"Pôle Nord", 0, 90, "NA"},
                          Lieu{"San Francisco (est de la faille)", -122.27, 37.8, "NA"}}) {
        const QString c = m.codeEn(l.lon, l.lat);
        EXPECT_EQ(c, QString::fromLatin1(l.plaque)) << l.nom;
    }
    // Every point of a one-degree grid lies on a plate, and the lookup grid agrees
    // with the full search.
    int sansPlaque = 0, desaccords = 0;
    plaques::TModelePlaques sansIndex = m;
    sansIndex.contours = m.contours;
    for (double lat = -89.5; lat < 90; lat += 1.0)
        for (double lon = -179.75; lon < 180; lon += 1.5) {
            const int i = m.plaqueEn(lon, lat);
            sansPlaque += i < 0;
            int j = -1;
            for (std::size_t k = 0; k < m.contours.size() && j < 0; ++k)
                if (plaques::contient(m.contours[k], lon, lat))
                    j = static_cast<int>(k);
            desaccords += i != j;
        }
    EXPECT_EQ(sansPlaque, 0);
    EXPECT_EQ(desaccords, 0);
}

TEST_F(PB2002, RelativePolesOfThePairs)
{
    plaques::TModelePlaques m;
    ASSERT_TRUE(modele(m));
    plaques::Vec3 auna, naau;
    ASSERT_TRUE(plaques::rotationCouple(m, "AU", "NA", auna));
    ASSERT_TRUE(plaques::rotationCouple(m, "NA", "AU", naau));
    const plaques::Pole p = plaques::poleDe(auna), q = plaques::poleDe(naau);
    EXPECT_NEAR(p.vitesse, q.vitesse, 1e-12);
    EXPECT_NEAR(p.latitude, -q.latitude, 1e-9);
    // Pacific is the reference of the poles: PA relative to anything is minus its pole.
    plaques::Vec3 paeu;
    ASSERT_TRUE(plaques::rotationCouple(m, "PA", "EU", paeu));
    const plaques::Pole eu = plaques::poleDe(paeu);
    EXPECT_NEAR(eu.latitude, -61.066, 1e-3);
    EXPECT_NEAR(eu.vitesse, 0.8591, 1e-4);
}

TEST_F(PB2002, AFileThatDoesNotParseNamesTheLineAndBuildsNothing)
{
    // A point of the 3rd boundary line spoiled; a step moved; a pole unreadable.
    QList<QByteArray> l = s.limites.split('\n');
    l[2] = " +4.43182E+01;-5.44512E+01";
    import_plaques::Sources faux = s;
    faux.limites = l.join('\n');
    import_plaques::Produits p;
    QString e;
    EXPECT_FALSE(import_plaques::convertir(faux, p, e));
    EXPECT_TRUE(e.contains("PB2002_boundaries.dig.txt") && e.contains("ligne 3")) << e.toStdString();
    EXPECT_TRUE(p.limites.isEmpty() && p.contours.isEmpty() && p.poles.isEmpty());

    l = s.pas.split('\n');
    std::swap(l[10], l[11]);
    faux = s;
    faux.pas = l.join('\n');
    EXPECT_FALSE(import_plaques::convertir(faux, p, e));
    EXPECT_TRUE(e.contains("PB2002_steps.dat.txt") && e.contains("ligne 11")) << e.toStdString();

    faux = s;
    faux.poles = s.poles.replace("  0.9270", "  0.9x70");
    EXPECT_FALSE(import_plaques::convertir(faux, p, e));
    EXPECT_TRUE(e.contains("PB2002_poles.dat.txt") && e.contains("ligne 1")) << e.toStdString();

    // Through the data folder builder: nothing is written.
    QTemporaryDir src, out;
    QDir(src.path()).mkpath("plates");
    for (const char* f : {import_plaques::SourceLimites, import_plaques::SourcePas, import_plaques::SourceContours,
                          import_plaques::SourcePoles})
        QFile::copy(QDir(dossierSources()).filePath(f), QDir(src.path()).filePath(f));
    {
        QFile f(QDir(src.path()).filePath(import_plaques::SourcePoles));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(faux.poles);
    }
    Contexte ctx;
    ctx.sources = QDir(src.path());
    ctx.sortie = QDir(out.path());
    QStringList journal;
    for (const Produit& pr : listeProduits(ctx))
        if (pr.nom == "plaques") {
            EXPECT_FALSE(pr.construire(ctx, journal, e));
            for (const QString& sortie : pr.sorties)
                EXPECT_FALSE(QFileInfo(ctx.sortie.filePath(sortie)).exists()) << sortie.toStdString();
        }
}
