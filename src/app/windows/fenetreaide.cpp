#include "app/windows/fenetreaide.h"
#include "data/fichiers.h"

#include "app/listedonnees.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace {

bool estPage(const QString& chemin)
{
    const QString ext = QFileInfo(chemin).suffix().toLower();
    return ext == QLatin1String("html") || ext == QLatin1String("htm") || ext == QLatin1String("txt");
}

} // namespace

TFenetreAide::TFenetreAide(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FenetreAide"));
    setWindowTitle(QStringLiteral("Aide d'Orbiplate"));
    setWindowFlag(Qt::Window);

    Page = new QTextBrowser(this);
    Page->setObjectName(QStringLiteral("Page"));
    // Every link goes through suivreLien: the browser itself would try to read a
    // web address as a file.
    Page->setOpenLinks(false);
    Page->setOpenExternalLinks(false);
    setCentralWidget(Page);

    QToolBar* barre = addToolBar(QStringLiteral("Navigation"));
    barre->setMovable(false);
    barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Precedente = barre->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Précédente"), Page,
                                  &QTextBrowser::backward);
    Suivante = barre->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Suivante"), Page,
                                &QTextBrowser::forward);
    Accueil = barre->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Début"), this, [this] {
        if (pageDeDepart_.isValid())
            Page->setSource(pageDeDepart_);
    });
    Precedente->setShortcut(QKeySequence::Back);
    Suivante->setShortcut(QKeySequence::Forward);
    Precedente->setEnabled(false);
    Suivante->setEnabled(false);
    connect(Page, &QTextBrowser::backwardAvailable, Precedente, &QAction::setEnabled);
    connect(Page, &QTextBrowser::forwardAvailable, Suivante, &QAction::setEnabled);
    connect(Page, &QTextBrowser::anchorClicked, this, [this](const QUrl& u) { suivreLien(u); });

    QSize taille(900, 760);
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        taille = taille.boundedTo(ecran->availableGeometry().size() * 9 / 10);
    resize(taille);
}

bool TFenetreAide::afficher(const QString& chemin)
{
    const QFileInfo page(chemin);
    if (!page.isFile()) {
        showWarning(QStringLiteral("La page d'aide est introuvable :\n%1")
                        .arg(nomAffiche(page.absoluteFilePath())));
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(page.absoluteFilePath());
    if (!pageDeDepart_.isValid() || pageDeDepart_ != url) {
        pageDeDepart_ = url;
        Page->setSource(url);
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return true;
}

void TFenetreAide::suivreLien(const QUrl& lien)
{
    const QUrl cible = Page->source().resolved(lien);
    const QString schema = cible.scheme().toLower();
    if (cible.isLocalFile()) {
        const QString chemin = cible.toLocalFile();
        if (estPage(chemin)) {
            if (!QFileInfo(chemin).isFile()) {
                showWarning(QStringLiteral("La page « %1 » est introuvable.").arg(nomAffiche(chemin)));
                return;
            }
            Page->setSource(cible);
        } else {
            ouvrirDocument(chemin);
        }
        return;
    }
    if (schema == QLatin1String("http") || schema == QLatin1String("https") || schema == QLatin1String("mailto")) {
        const QString adresse = cible.toDisplayString();
        auto echec = [adresse] {
            showWarning(QStringLiteral("Le système n'a pas pu ouvrir l'adresse :\n%1").arg(adresse));
        };
        if (!ouvrirParLeSysteme(cible, echec, this))
            echec();
    }
}
