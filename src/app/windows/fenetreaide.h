// The program's own help window, for a system that cannot show the help page
// itself: the page with its pictures, its internal links followed in the window
// with back and forward, links to the web handed to the system.
#pragma once

#include <QMainWindow>
#include <QUrl>

class QAction;
class QTextBrowser;

class TFenetreAide : public QMainWindow {
public:
    explicit TFenetreAide(QWidget* parent = nullptr);

    // Shows the page (an HTML file), the window raised. A missing page is
    // reported in a warning naming it (false, the window left as it was).
    bool afficher(const QString& chemin);
    // What a click on a link does: a place in the page or another page of the
    // folder is shown here; a web or mail address, or any other document, is
    // handed to the system (a failure reported); anything else is ignored.
    void suivreLien(const QUrl& lien);

    QTextBrowser* navigateur() const { return Page; }
    QAction* precedente() const { return Precedente; }
    QAction* suivante() const { return Suivante; }
    QAction* accueil() const { return Accueil; }

private:
    QTextBrowser* Page = nullptr;
    QAction* Precedente = nullptr;
    QAction* Suivante = nullptr;
    QAction* Accueil = nullptr;
    QUrl pageDeDepart_;
};
