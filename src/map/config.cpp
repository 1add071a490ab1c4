#include "map/config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const char* const Defauts[9] = {
    "planisphere3600.jpg", "planisphere_nb2.jpg", "planisphere7200.jpg", "planispherenb.jpg",
    "table2.txt",          "s.fse",               "volcans.fvo",         "",
    "Pop9515.tdp",
};

// Names written on another system may use "\" between folders.
QString nomLocal(QString nom)
{
    nom.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return nom.trimmed();
}

} // namespace

QString dossierAvecSeparateur(const QString& dossier)
{
    QString d = QDir::fromNativeSeparators(dossier);
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

TConfiguration lireConfiguration(const QString& dossierDepart)
{
    TConfiguration c;
    c.DossierDepart = dossierAvecSeparateur(dossierDepart);

    QString noms[9];
    for (int i = 0; i < 9; ++i)
        noms[i] = QString::fromLatin1(Defauts[i]);

    QFile f(c.DossierDepart + QStringLiteral("config.obc"));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList lignes = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
        for (int i = 0; i < 9 && i < lignes.size(); ++i) {
            const QString nom = nomLocal(lignes[i]);
            if (!nom.isEmpty() || i == 7)
                noms[i] = nom;
        }
        c.Lu = true;
    }

    auto prefixe = [&](const QString& n) { return QFileInfo(n).isAbsolute() ? n : c.DossierDepart + n; };
    c.FondCouleur3600 = prefixe(noms[0]);
    c.FondNB3600 = prefixe(noms[1]);
    c.FondCouleur7200 = prefixe(noms[2]);
    c.FondNB7200 = prefixe(noms[3]);
    c.FichierGPS = prefixe(noms[4]);
    c.FichierSeismes = prefixe(noms[5]);
    c.FichierVolcans = prefixe(noms[6]);
    c.FichierGrille = noms[7];
    c.FichierPopulation = prefixe(noms[8]);
    c.FichierAge = c.DossierDepart + QStringLiteral("age_unavcob.png");
    c.FichierEchelleAge = c.DossierDepart + QStringLiteral("echelle_age.png");
    return c;
}

QString cheminGrille(const TConfiguration& c)
{
    if (c.FichierGrille.isEmpty())
        return QString();
    if (QFileInfo(c.FichierGrille).isAbsolute())
        return c.FichierGrille;
    return c.DossierDepart + c.FichierGrille;
}
