#include "data/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString nomAffiche(const QString& chemin)
{
    return QDir::toNativeSeparators(chemin);
}

bool lireFichierEntier(const QString& chemin, QByteArray& donnees, QString* message, qint64 tailleMax)
{
    auto dire = [message](const QString& t) {
        if (message)
            *message = t;
        return false;
    };
    const QFileInfo info(chemin);
    if (!info.isFile())
        return dire(QStringLiteral("Fichier « %1 » non trouvé.").arg(nomAffiche(chemin)));
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return dire(QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(nomAffiche(chemin)));
    if (tailleMax > 0 && f.size() > tailleMax)
        return dire(QStringLiteral("Le fichier « %1 » est trop grand (%2 Mo).")
                        .arg(nomAffiche(chemin))
                        .arg(f.size() / (1024 * 1024)));
    donnees = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return dire(QStringLiteral("Erreur de lecture du fichier « %1 ».").arg(nomAffiche(chemin)));
    return true;
}
