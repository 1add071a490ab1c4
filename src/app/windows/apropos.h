// The "A propos de Orbiplate" panel shown over the map: the program's title, the
// origin and licences of the data (the data folder's credits file), and thanks.
#pragma once

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TApropos : public QFrame {
public:
    explicit TApropos(QWidget* parent = nullptr);

    // Reads the credits of the data folder (the current folder); the built-in
    // summary when the file is missing.
    void actualiser();
    static QString texteCredits(const QString& dossier);
    static QString creditsParDefaut();

    QPushButton* ok() const { return OK; }
    QPlainTextEdit* credits() const { return Credits; }

private:
    QLabel* TitreApropos = nullptr;
    QPlainTextEdit* Credits = nullptr;
    QPushButton* OK = nullptr;
};
