#include "print/windows/commandesexport.h"

#include "drawing/windows/feuilledessin.h"
#include "map/windows/delimCarte.h"
#include "ui/codecs.h"
#include "ui/dialogs.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

// Hourglass cursor for the lifetime of the guard.
class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

const char* const ItemsZone[] = {"laselectionfondenNB1", "laselectionencouleurs1",
                                 "Copierlapartiedelimiteeverslepressepapier1",
                                 "Copierlapartiedelimiteeverslafeuillededessin1"};

} // namespace

TCommandesExport::TCommandesExport(TCarte& carte, std::function<bool(const TBitmap32&)> imprimer)
    : carte_(carte), imprimer_(std::move(imprimer))
{
    auto brancher = [this](const char* nom, std::function<void()> f) {
        QAction* a = carte_.commande(nom);
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &carte_, std::move(f));
    };
    carte_.menu("Copier1")->menuAction()->setEnabled(true);
    if (imprimer_) {
        carte_.menu("Imprimer1")->menuAction()->setEnabled(true);
        brancher("avecfonddecarteenNB1", [this] { ImprimerExecute(0); });
        brancher("laselectionfondenNB1", [this] { ImprimerExecute(1); });
        brancher("toutencouleurs1", [this] { ImprimerExecute(2); });
        brancher("laselectionencouleurs1", [this] { ImprimerExecute(3); });
    }
    brancher("Enregistrerlimagesous1", [this] { Enregistrerlimagesous1Click(); });
    brancher("Verslepressepapier1", [this] { Verslepressepapier1Click(); });
    brancher("Copierverslafeuillededessin1", [this] { Copierverslafeuillededessin1Click(); });
    brancher("Copierlapartiedelimiteeverslepressepapier1", [this] { Copierlapartiedelimiteeverslepressepapier1Click(); });
    brancher("Copierlapartiedelimiteeverslafeuillededessin1",
             [this] { Copierlapartiedelimiteeverslafeuillededessin1Click(); });
    brancher("FenetredeDessin1", [this] { FenetredeDessin1Click(); });
    carte_.commande("CopieavecfondNB1")->setEnabled(true);
    carte_.commande("Copieavecfondcouleur1")->setEnabled(true);
    // The zone commands follow the zone tool: usable once a zone is delimited.
    majZone();
    carte_.suivreEffets([this](const carte::Effets&) { majZone(); });
}

void TCommandesExport::majZone()
{
    const bool zone = carte_.Interaction.panneau().commandesDelimitees;
    for (const char* nom : ItemsZone) {
        const bool impression = QByteArray(nom).startsWith("lasel");
        carte_.commande(nom)->setEnabled(zone && (!impression || imprimer_));
    }
}

bool TCommandesExport::copieNB() const
{
    return carte_.commande("CopieavecfondNB1")->isChecked();
}

QRect TCommandesExport::partieVisible() const
{
    const TImageView* v = carte_.vue();
    const QRect image = v->mapRectToView(QRect(0, 0, carte_.Etat.W, carte_.Etat.H));
    return image & v->viewport()->rect();
}

QRect TCommandesExport::zoneDelimitee() const
{
    const carte::TInteraction& m = carte_.Interaction;
    if (!m.panneau().commandesDelimitees)
        return QRect();
    const TImageView* v = carte_.vue();
    const QPointF a = v->mapToView(QPointF(m.pointAppui()));
    const QPointF b = v->mapToView(QPointF(m.pointRelache()));
    const QRect r = QRect(QPoint(qRound(std::min(a.x(), b.x())), qRound(std::min(a.y(), b.y()))),
                          QPoint(qRound(std::max(a.x(), b.x())), qRound(std::max(a.y(), b.y()))));
    if (r.width() < 15 || r.height() < 15)
        return QRect();
    return r;
}

const TBitmap32* TCommandesExport::fondNB()
{
    const EtatCarte& e = carte_.Etat;
    const QString fichier = e.CartePrecise ? carte_.Fonds.NB7200 : carte_.Fonds.NB3600;
    if (fichier != fondNBFichier_ || fondNB_.width() != e.W || fondNB_.height() != e.H) {
        TBitmap32 pic;
        QString erreur;
        if (!loadPicture(fichier, pic, &erreur) || pic.isEmpty()) {
            showError(QStringLiteral("Il manque l'image de la carte de fond noir et blanc (%1).")
                          .arg(QFileInfo(fichier).fileName()));
            return nullptr;
        }
        if (pic.width() != e.W || pic.height() != e.H) {
            // Another size than the map's: stretched to it once.
            TBitmap32 mis(e.W, e.H);
            mis.draw(mis.boundsRect(), pic.boundsRect(), pic, TBitmap32::DrawMode::Opaque);
            pic = std::move(mis);
        }
        fondNB_ = std::move(pic);
        fondNBFichier_ = fichier;
        fondNBDecalage_ = 0;
    }
    if (fondNBDecalage_ != e.Decalage) {
        fondNB_.rollHorizontal(carte::roulementPixels(e.Decalage - fondNBDecalage_, e.W));
        fondNBDecalage_ = e.Decalage;
    }
    return &fondNB_;
}

TBitmap32 TCommandesExport::capturer(const QRect& zoneVue, bool nb, bool sansCadre)
{
    TBitmap32 out;
    if (zoneVue.isEmpty())
        return out;
    Sablier s;
    OptionsRendu o;
    if (nb && !carte_.Etat.FondNBAffiche) {
        o.fond = fondNB();
        if (!o.fond)
            return out;
    }
    if (sansCadre) {
        unsigned calques = 0;
        for (int i = 0; i < NbCalques; ++i)
            if (carte_.scene().calque(static_cast<Calque>(i))->visible && i != static_cast<int>(Calque::Interaction))
                calques |= 1u << i;
        o.calques = calques;
    }
    out.setSize(zoneVue.width(), zoneVue.height());
    TViewPlacement p = carte_.vue()->placement();
    p.offset -= QPointF(zoneVue.topLeft());
    carte_.scene().rendreDans(p, out.boundsRect(), out, o);
    return out;
}

void TCommandesExport::finirZone()
{
    // The zone is finished: its outline goes, and the OK button.
    carte_.Interaction.panneauModifiable().okVisible = false;
    carte_.Interaction.panneauModifiable().commandesDelimitees = false;
    carte_.appliquer(carte_.Interaction.effacerBande());
    majZone();
}

void TCommandesExport::ImprimerExecute(int tag)
{
    const bool zone = tag == 1 || tag == 3;
    const QRect r = zone ? zoneDelimitee() : partieVisible();
    if (r.isEmpty())
        return;
    const TBitmap32 image = capturer(r, tag == 0 || tag == 1, zone);
    if (!image.isEmpty() && imprimer_)
        imprimer_(image);
}

void TCommandesExport::Enregistrerlimagesous1Click()
{
    FileDialogRequest req;
    req.folder = carte_.DernierDossier;
    req.defaultExt = QStringLiteral("png");
    req.filter = QStringLiteral("Tout (*.png;*.gif;*.jpg;*.jpeg;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.bmp|"
                                "Portable Network Graphics (*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|"
                                "Fichier image JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp");
    const QString chemin = dialogs().saveFile(req);
    if (chemin.isEmpty())
        return;
    carte_.DernierDossier = QFileInfo(chemin).absolutePath();
    const TBitmap32 image = capturer(partieVisible(), false);
    QString erreur;
    if (!savePicture(chemin, image, &erreur))
        showError(QStringLiteral("L'image n'a pas pu être enregistrée dans « %1 »%2")
                      .arg(QFileInfo(chemin).fileName(),
                           erreur.isEmpty() ? QStringLiteral(".") : QStringLiteral(" : ") + erreur));
}

void TCommandesExport::Verslepressepapier1Click()
{
    const TBitmap32 image = capturer(partieVisible(), copieNB());
    if (!image.isEmpty())
        QGuiApplication::clipboard()->setImage(image.toImage());
}

void TCommandesExport::Copierverslafeuillededessin1Click()
{
    const TBitmap32 image = capturer(partieVisible(), copieNB());
    if (!image.isEmpty())
        feuilleDessin().AjouterImage(image);
}

void TCommandesExport::Copierlapartiedelimiteeverslepressepapier1Click()
{
    const QRect r = zoneDelimitee();
    if (r.isEmpty())
        return;
    const TBitmap32 image = capturer(r, copieNB(), true);
    finirZone();
    if (!image.isEmpty())
        QGuiApplication::clipboard()->setImage(image.toImage());
}

void TCommandesExport::Copierlapartiedelimiteeverslafeuillededessin1Click()
{
    const QRect r = zoneDelimitee();
    if (r.isEmpty())
        return;
    const TBitmap32 image = capturer(r, copieNB(), true);
    finirZone();
    if (!image.isEmpty())
        feuilleDessin().AjouterImage(image);
}

void TCommandesExport::FenetredeDessin1Click()
{
    if (TFeuilleDessin* f = feuilleDessinExistante()) {
        f->show();
        f->raise();
    }
}
