// The "A propos de Orbiplate" panel shown over the map: the program's title, the
// origin and licences of the data (the data folder's credits file), the start
// folder in use, and thanks.
#pragma once

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TApropos : public QFrame {
public:
    explicit TApropos(QWidget* parent = nullptr);

    // Reads the credits of the start folder (the built-in summary when the file
    // is missing) and says which folder it is.
    void actualiser();
    static QString texteCredits(const QString& dossier);
    static QString creditsParDefaut();

    QPushButton* ok() const { return OK; }
    QPlainTextEdit* credits() const { return Credits; }
    QLabel* dossierDepart() const { return DossierDepart; }

private:
    QLabel* TitreApropos = nullptr;
    QPlainTextEdit* Credits = nullptr;
    QLabel* DossierDepart = nullptr;
    QPushButton* OK = nullptr;
};
