// Reading whole files and naming them in messages, the same way everywhere.
#pragma once

#include <QByteArray>
#include <QString>

// A path as the user's system writes it, for messages.
QString nomAffiche(const QString& chemin);

// Reads a whole file. On failure `message` (when given) says why in French,
// naming the file: missing (or not a file), cannot be opened, read error, or
// larger than `tailleMax` bytes (0: no limit).
bool lireFichierEntier(const QString& chemin, QByteArray& donnees, QString* message = nullptr,
                       qint64 tailleMax = 0);
