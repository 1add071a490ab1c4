#include "app/listedonnees.h"
#include "app/dossierdepart.h"
#include "data/fichiers.h"

#include "data/records.h"
#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// Data lists written on other systems are in Windows-1252; UTF-8 is taken when
// the bytes are valid UTF-8.
QString decoderTexte(const QByteArray& b)
{
    const QString u = QString::fromUtf8(b);
    if (!u.contains(QChar::ReplacementCharacter))
        return u;
    return fromCp1252(b);
}

std::function<bool(const QUrl&)>& ouvreur()
{
    static std::function<bool(const QUrl&)> f;
    return f;
}

} // namespace

bool lancerOuvreur(const QString& programme, const QUrl& url, std::function<void()> siEchec, int delaiMs,
                   QObject* contexte)
{
    const QString argument = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return QProcess::startDetached(programme, {argument});
    // The process belongs to the application, not to `contexte`: a process destroyed
    // while running is killed and reports its end on the spot, in the middle of its
    // owner's destruction.
    auto* p = new QProcess(application);
    p->setProgram(programme);
    p->setArguments({argument});
    if (url.isLocalFile())
        p->setWorkingDirectory(QFileInfo(url.toLocalFile()).absolutePath());
    // Nothing is read from it: a browser writing much must not block on a full pipe.
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->setStandardInputFile(QProcess::nullDevice());
    auto surveille = std::make_shared<bool>(true);
    const bool avecContexte = contexte != nullptr;
    const QPointer<QObject> garde(contexte);
    QObject::connect(application, &QCoreApplication::aboutToQuit, p, [surveille] { *surveille = false; });
    QObject::connect(p, &QProcess::finished, p,
                     [p, surveille, siEchec, avecContexte, garde](int code, QProcess::ExitStatus statut) {
                         const bool echec = *surveille && (statut != QProcess::NormalExit || code != 0);
                         *surveille = false;
                         p->deleteLater();
                         if (echec && siEchec && (!avecContexte || garde))
                             siEchec();
                     });
    p->start();
    if (!p->waitForStarted(3000)) {
        *surveille = false;
        delete p;
        return false;
    }
    QTimer::singleShot(std::max(0, delaiMs), p, [surveille] { *surveille = false; });
    return true;
}

bool ouvrirParLeSysteme(const QUrl& url, std::function<void()> siEchec, QObject* contexte)
{
    if (ouvreur())
        return ouvreur()(url);
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (programme.isEmpty())
        return QDesktopServices::openUrl(url);
    return lancerOuvreur(programme, url, std::move(siEchec), DelaiOuvreurMs, contexte);
}

std::vector<EntreeListe> analyserListeDonnees(const QByteArray& texte, const QString& dossier)
{
    std::vector<EntreeListe> entrees;
    const QStringList lignes = decoderTexte(texte).split(QLatin1Char('\n'));
    for (QString ligne : lignes) {
        if (ligne.endsWith(QLatin1Char('\r')))
            ligne.chop(1);
        if (ligne.trimmed().isEmpty())
            continue;
        const int v1 = ligne.indexOf(QLatin1Char(','));
        if (v1 < 0)
            break;
        QString chemin = ligne.left(v1).trimmed();
        const QString reste = ligne.mid(v1 + 1);
        const int v2 = reste.indexOf(QLatin1Char(','));
        EntreeListe e;
        e.libelle = v2 < 0 ? reste : reste.left(v2);
        const QString drapeau = v2 < 0 ? QString() : reste.mid(v2 + 1);
        e.ouvrir = drapeau.trimmed().compare(QLatin1String("OUI"), Qt::CaseInsensitive) == 0;
        chemin.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (chemin.isEmpty())
            break;
        e.chemin = QDir::cleanPath(dossier + QLatin1Char('/') + chemin);
        entrees.push_back(e);
    }
    return entrees;
}

std::vector<EntreeListe> lireListeDonnees(const QString& cheminCft)
{
    QFile f(cheminCft);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // A data list is a few lines; reading is bounded so that a wrong file choice
    // cannot fill the memory.
    const QByteArray texte = f.read(4 * 1024 * 1024);
    return analyserListeDonnees(texte, QFileInfo(cheminCft).absolutePath());
}

const std::vector<EntreeListe>& TListeDonnees::charger(const QString& cheminCft)
{
    entrees_ = lireListeDonnees(cheminCft);
    return entrees_;
}

GenreFichierListe genreFichierListe(const QString& chemin)
{
    const QString ext = QFileInfo(chemin).suffix().toUpper();
    if (ext == QLatin1String("OBF"))
        return GenreFichierListe::Reperes;
    if (ext == QLatin1String("GPS"))
        return GenreFichierListe::GPS;
    if (ext == QLatin1String("FSE"))
        return GenreFichierListe::Seismes;
    return GenreFichierListe::Autre;
}

namespace {

bool extensionExecutable(const QString& nom)
{
    static const QStringList extensions = {
        // scripts and interpreters
        "sh", "bash", "zsh", "csh", "tcsh", "ksh", "fish", "py", "pyc", "pyo", "pyw", "pyz", "pl", "pm", "rb",
        "php", "lua", "tcl", "awk", "js", "mjs", "jse", "vbs", "vbe", "wsf", "wsh", "ps1", "psm1", "hta",
        // programs, packages and libraries
        "exe", "com", "bat", "cmd", "msi", "msp", "scr", "pif", "cpl", "msc", "jar", "jnlp", "appimage", "run",
        "bin", "elf", "out", "so", "dll", "deb", "rpm", "apk", "flatpakref", "snap", "app", "command",
        // launchers and shortcuts
        "desktop", "kdelnk", "lnk", "url", "reg", "inf", "scf", "action", "workflow"};
    const QString ext = QFileInfo(nom).suffix().toLower();
    return !ext.isEmpty() && extensions.contains(ext);
}

bool contenuExecutable(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray debut = f.read(512);
    if (debut.startsWith("\x7f" "ELF") || debut.startsWith("MZ") || debut.startsWith("#!"))
        return true;
    // Desktop launchers, whatever their name.
    return debut.trimmed().startsWith("[Desktop Entry]");
}

QString messageRefus(const QString& chemin)
{
    return QStringLiteral("Le fichier « %1 » est un programme, un script ou un lanceur : "
                          "par sécurité, Orbiplate ne l'ouvre pas.")
        .arg(QFileInfo(chemin).fileName());
}

} // namespace

VerdictOuverture verifierOuvertureSure(const QString& chemin)
{
    VerdictOuverture v;
    const QFileInfo lien(chemin);
    if (!lien.exists() || lien.isDir()) {
        v.message = QStringLiteral("Fichier non trouvé");
        return v;
    }
    // The checks look at the name given and at the file a link leads to.
    const QFileInfo cible(lien.canonicalFilePath());
    if (extensionExecutable(lien.fileName()) || extensionExecutable(cible.fileName())) {
        v.message = messageRefus(chemin);
        return v;
    }
    const QFile::Permissions execution = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther |
                                         QFileDevice::ExeUser;
    if ((cible.permissions() & execution) || contenuExecutable(cible.filePath())) {
        v.message = messageRefus(chemin);
        return v;
    }
    v.permis = true;
    return v;
}

bool ouvrirDocument(const QString& chemin)
{
    const VerdictOuverture v = verifierOuvertureSure(chemin);
    if (!v.permis) {
        showWarning(v.message);
        return false;
    }
    const QString nom = QFileInfo(chemin).fileName();
    auto echec = [nom] {
        showWarning(QStringLiteral("Aucun programme de ce système ne sait ouvrir le fichier « %1 ».").arg(nom));
    };
    if (!ouvrirParLeSysteme(QUrl::fromLocalFile(QFileInfo(chemin).absoluteFilePath()), echec)) {
        echec();
        return false;
    }
    return true;
}

void definirOuvreurSysteme(std::function<bool(const QUrl&)> f)
{
    ouvreur() = std::move(f);
}

QString cheminFichierAide()
{
    const QString local = QDir::current().filePath(QStringLiteral("aide/index.html"));
    if (QFileInfo(local).isFile())
        return local;
    // A start folder without help pages (the user's own): those installed with the program.
    const QString installee = pageAideInstallee(QCoreApplication::applicationDirPath());
    return installee.isEmpty() ? local : installee;
}

bool ouvrirFichierAide(std::function<void(const QString&)> pageInterne, QObject* contexte)
{
    const QString chemin = QFileInfo(cheminFichierAide()).absoluteFilePath();
    const QFileInfo page(chemin);
    if (!page.isFile()) {
        showWarning(QStringLiteral("La page d'aide est introuvable :\n%1").arg(nomAffiche(chemin)));
        return false;
    }
    auto interne = [chemin, pageInterne] {
        if (pageInterne)
            pageInterne(chemin);
        else
            showWarning(QStringLiteral("Le système n'a pas pu afficher la page d'aide :\n%1")
                            .arg(nomAffiche(chemin)));
    };
    // A page that could run something is never handed over; shown as text, it is harmless.
    if (!verifierOuvertureSure(chemin).permis || !ouvrirParLeSysteme(QUrl::fromLocalFile(chemin), interne, contexte))
        interne();
    return true;
}

bool chargerDonneesDansTableur()
{
    static QString dernierDossier;
    return chargerDonneesDansTableur(dernierDossier);
}

bool chargerDonneesDansTableur(QString& dernierDossier)
{
    FileDialogRequest req;
    req.caption = QStringLiteral("Charger des données dans un tableur");
    req.folder = dernierDossier;
    // Each caption is followed by masks that match files: "*.xls", not ".xls".
    req.filter = QStringLiteral("tableur OpenOffice|*.ods;*.sxc|tableur Excel|*.xls;*.xlsx|texte CSV|*.csv|tous|*.*");
    const QString chemin = dialogs().openFile(req);
    if (chemin.isEmpty())
        return false;
    dernierDossier = QFileInfo(chemin).absolutePath();
    return ouvrirDocument(chemin);
}
