#include "app/dossierdepart.h"

#include "data/fichiers.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

const char* const FichierCopieInstallee = ".copie-installee";

namespace {

QString absolu(const QString& d)
{
    return QDir::cleanPath(QFileInfo(d).absoluteFilePath());
}

// What the user's folder holds of the installed one: for each copied file, the
// installed file's size and date at the copy, then the copy's own size and date.
struct TraceCopie {
    qint64 tailleInstalle = -1;
    qint64 dateInstalle = -1;
    qint64 tailleCopie = -1;
    qint64 dateCopie = -1;
};

qint64 dateMs(const QFileInfo& f)
{
    return f.lastModified().toMSecsSinceEpoch();
}

QHash<QString, TraceCopie> lireTraces(const QString& chemin)
{
    QHash<QString, TraceCopie> traces;
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return traces;
    // A damaged record only makes the files it named count as the user's own.
    for (const QByteArray& ligne : f.readAll().split('\n')) {
        const QList<QByteArray> champs = ligne.split('\t');
        if (champs.size() != 5 || champs[0].isEmpty())
            continue;
        TraceCopie t;
        bool ok[4];
        t.tailleInstalle = champs[1].toLongLong(&ok[0]);
        t.dateInstalle = champs[2].toLongLong(&ok[1]);
        t.tailleCopie = champs[3].toLongLong(&ok[2]);
        t.dateCopie = champs[4].trimmed().toLongLong(&ok[3]);
        if (ok[0] && ok[1] && ok[2] && ok[3])
            traces.insert(QString::fromUtf8(champs[0]), t);
    }
    return traces;
}

bool ecrireTraces(const QString& chemin, const QHash<QString, TraceCopie>& traces, QString& erreur)
{
    QStringList noms = traces.keys();
    noms.sort();
    QByteArray texte;
    for (const QString& n : noms) {
        const TraceCopie& t = traces[n];
        texte += n.toUtf8() + '\t' + QByteArray::number(t.tailleInstalle) + '\t' + QByteArray::number(t.dateInstalle) +
                 '\t' + QByteArray::number(t.tailleCopie) + '\t' + QByteArray::number(t.dateCopie) + '\n';
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(texte) != texte.size() || !f.commit()) {
        erreur = QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(nomAffiche(chemin), f.errorString());
        return false;
    }
    return true;
}

// Copies through a temporary name renamed at the end: an interrupted copy
// leaves the previous file (or none), never half of one.
bool copier(const QString& source, const QString& cible, QString& erreur)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        erreur = QStringLiteral("Impossible de lire le fichier « %1 » : %2").arg(nomAffiche(source), in.errorString());
        return false;
    }
    if (!QDir().mkpath(QFileInfo(cible).absolutePath())) {
        erreur = QStringLiteral("Impossible de créer le dossier « %1 ».").arg(nomAffiche(QFileInfo(cible).absolutePath()));
        return false;
    }
    QSaveFile out(cible);
    if (!out.open(QIODevice::WriteOnly)) {
        erreur = QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(nomAffiche(cible), out.errorString());
        return false;
    }
    QByteArray bloc;
    while (!in.atEnd()) {
        bloc = in.read(1 << 20);
        if (bloc.isEmpty() && in.error() != QFileDevice::NoError)
            break;
        if (out.write(bloc) != bloc.size())
            break;
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        out.commit();
        erreur = QStringLiteral("Impossible de lire le fichier « %1 » : %2").arg(nomAffiche(source), in.errorString());
        return false;
    }
    if (!out.commit()) {
        erreur = QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(nomAffiche(cible), out.errorString());
        return false;
    }
    return true;
}

ChoixDossierDepart& retenu()
{
    static ChoixDossierDepart choix;
    return choix;
}
bool choixRetenu = false;

} // namespace

QString ChoixDossierDepart::description() const
{
    const QString d = nomAffiche(QDir::toNativeSeparators(dossier));
    QString texte;
    switch (origine) {
    case Origine::Courant:
        texte = QStringLiteral("Dossier de départ : %1 (le dossier dans lequel Orbiplate a été lancé).").arg(d);
        break;
    case Origine::Personnel:
        texte = QStringLiteral("Dossier de départ : %1, votre dossier personnel, rempli à partir du dossier de "
                               "données installé %2. Orbiplate y lit ses données et y enregistre les fichiers "
                               "qu'il écrit (table des surfaces et des volumes, étalonnages des séries "
                               "temporelles).")
                    .arg(d, nomAffiche(QDir::toNativeSeparators(installe)));
        if (installe.isEmpty())
            texte = QStringLiteral("Dossier de départ : %1, votre dossier personnel. Orbiplate y lit ses données et "
                                   "y enregistre les fichiers qu'il écrit.")
                        .arg(d);
        if (!copies.isEmpty())
            texte += QStringLiteral(" %1 fichier(s) y ont été copiés ou mis à jour à ce démarrage.").arg(copies.size());
        break;
    case Origine::Installe:
        texte = QStringLiteral("Dossier de départ : %1, le dossier de données installé, en lecture seule : les "
                               "fichiers qu'Orbiplate écrit ne peuvent pas y être enregistrés.")
                    .arg(d);
        break;
    }
    if (!avertissement.isEmpty())
        texte += QLatin1Char(' ') + avertissement;
    return texte;
}

bool estDossierDonnees(const QString& dossier)
{
    const QDir d(dossier);
    return QFileInfo(d.filePath(QStringLiteral("config.obc"))).isFile() ||
           QFileInfo(d.filePath(QStringLiteral("planisphere3600.jpg"))).isFile();
}

QStringList dossiersDonneesInstalles(const QString& dossierProgramme)
{
    QStringList candidats;
    if (!dossierProgramme.isEmpty())
        candidats << QDir(dossierProgramme).filePath(QStringLiteral("../share/orbiplate/donnees"));
    for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidats << QDir(d).filePath(QStringLiteral("orbiplate/donnees"));
    QStringList dossiers;
    for (const QString& c : candidats) {
        const QString a = absolu(c);
        if (estDossierDonnees(a) && !dossiers.contains(a))
            dossiers << a;
    }
    return dossiers;
}

QString pageAideInstallee(const QString& dossierProgramme)
{
    QStringList candidats;
    if (!dossierProgramme.isEmpty())
        candidats << QDir(dossierProgramme).filePath(QStringLiteral("../share/orbiplate/aide/index.html"));
    for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidats << QDir(d).filePath(QStringLiteral("orbiplate/aide/index.html"));
    for (const QString& c : candidats)
        if (QFileInfo(c).isFile())
            return absolu(c);
    return {};
}

QString dossierPersonnel()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("donnees"));
}

bool remplirDossierPersonnel(const QString& installe, const QString& personnel, QStringList& copies, QString& erreur)
{
    copies.clear();
    const QDir source(installe);
    const QDir cible(personnel);
    if (!QDir().mkpath(personnel)) {
        erreur = QStringLiteral("Impossible de créer le dossier « %1 ».").arg(nomAffiche(personnel));
        return false;
    }
    const QString cheminTraces = cible.filePath(QString::fromLatin1(FichierCopieInstallee));
    QHash<QString, TraceCopie> traces = lireTraces(cheminTraces);
    bool tracesChangees = false;
    bool ok = true;

    QStringList noms;
    QDirIterator it(installe, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        noms << source.relativeFilePath(it.next());
    noms.sort();
    for (const QString& nom : noms) {
        const QFileInfo inst(source.filePath(nom));
        const QFileInfo copie(cible.filePath(nom));
        if (copie.exists()) {
            const auto t = traces.constFind(nom);
            // Only a copy of ours, untouched since, follows the installed file.
            if (t == traces.cend() || !copie.isFile())
                continue;
            const bool inchangee = copie.size() == t->tailleCopie && dateMs(copie) == t->dateCopie;
            const bool nouvelle = inst.size() != t->tailleInstalle || dateMs(inst) != t->dateInstalle;
            if (!inchangee || !nouvelle)
                continue;
        }
        if (!copier(inst.filePath(), copie.filePath(), erreur)) {
            ok = false;
            break;
        }
        const QFileInfo faite(copie.filePath());
        traces.insert(nom, TraceCopie{inst.size(), dateMs(inst), faite.size(), dateMs(faite)});
        tracesChangees = true;
        copies << nom;
    }
    // What was copied is recorded even when a later file failed.
    if (tracesChangees) {
        QString e;
        if (!ecrireTraces(cheminTraces, traces, e) && ok) {
            erreur = e;
            ok = false;
        }
    }
    return ok;
}

ChoixDossierDepart choisirDossierDepart(const QString& courant, const QString& personnel,
                                        const QStringList& installes)
{
    ChoixDossierDepart c;
    c.dossier = absolu(courant);
    if (estDossierDonnees(courant))
        return c;
    const QString perso = absolu(personnel);
    if (installes.isEmpty()) {
        if (!personnel.isEmpty() && estDossierDonnees(perso)) {
            c.origine = ChoixDossierDepart::Origine::Personnel;
            c.dossier = perso;
        }
        return c;
    }
    c.installe = absolu(installes.front());
    QString erreur;
    const bool rempli = !personnel.isEmpty() && remplirDossierPersonnel(c.installe, perso, c.copies, erreur);
    if (personnel.isEmpty())
        erreur = QStringLiteral("Le dossier des données de l'utilisateur est inconnu.");
    if (rempli || estDossierDonnees(perso)) {
        c.origine = ChoixDossierDepart::Origine::Personnel;
        c.dossier = perso;
        if (!rempli)
            c.avertissement = QStringLiteral("Votre dossier personnel n'a pas pu être mis à jour à partir du dossier "
                                             "installé : %1")
                                  .arg(erreur);
        return c;
    }
    c.origine = ChoixDossierDepart::Origine::Installe;
    c.dossier = c.installe;
    c.avertissement = QStringLiteral("Votre dossier personnel « %1 » n'a pas pu être rempli : %2")
                          .arg(nomAffiche(QDir::toNativeSeparators(perso)), erreur);
    return c;
}

void retenirChoixDossierDepart(const ChoixDossierDepart& choix)
{
    retenu() = choix;
    choixRetenu = true;
}

ChoixDossierDepart choixDossierDepartRetenu()
{
    if (!choixRetenu) {
        ChoixDossierDepart c;
        c.dossier = absolu(QDir::currentPath());
        return c;
    }
    return retenu();
}
