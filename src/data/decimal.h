// The decimal separator used to read numbers typed in text files and cells.
//
// Text files may write decimals with "," or "."; the program learns once which of
// the two the system uses and, before converting a number read from text, replaces
// the other mark by it.
#pragma once

#include <QByteArray>
#include <QString>

// Takes the separator from the system locale ("," or "."; anything else counts as
// "."). Called at start and when the GPS table window is created.
void DeterminerSeparateurDecimal();

// The separator found (or set); "." until one is determined.
char SeparateurDecimal();
// The other mark, the one replaced before a conversion.
char MarqueDecimaleRemplacee();
// Sets the separator ("," or "."; anything else counts as "."), for tests.
void definirSeparateurDecimal(char separateur);

// Replaces every occurrence of the other mark by the separator.
void remplacerMarqueDecimale(QByteArray& texte);
QString remplacerMarqueDecimale(const QString& texte);

// Converts a number whose decimal point is `point`. Blanks (space, tab) around
// the number are ignored; an optional sign, digits with at most one point and an
// optional exponent are accepted; nothing else (no other mark, no "inf"/"nan").
bool convertirReel(const char* debut, const char* fin, char point, double& valeur);
bool convertirReel(const QByteArray& texte, char point, double& valeur);
// The same with the system's separator (as the program converts typed numbers).
bool convertirReelSysteme(const QString& texte, double& valeur);

// Converts a whole number (blanks around it ignored, optional sign).
bool convertirEntier(const char* debut, const char* fin, int& valeur);
