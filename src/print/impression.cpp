#include "print/impression.h"

#include "data/fichiers.h"
#include "ui/arrondi.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace {

// What the PDF engine writes, passed on to the file with every byte accounted for.
// The engine does not look at what its writes return, and a file whose last bytes
// did not reach the disk may still commit as if whole: a short write here marks
// the job as failed.
class TSortieVerifiee : public QIODevice {
public:
    explicit TSortieVerifiee(QIODevice& cible) : cible_(cible) {}
    bool echec() const { return echec_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* donnees, qint64 n) override
    {
        if (echec_)
            return -1;
        qint64 fait = 0;
        while (fait < n) {
            const qint64 r = cible_.write(donnees + fait, n - fait);
            if (r <= 0) {
                echec_ = true;
                return -1;
            }
            fait += r;
        }
        return n;
    }

private:
    QIODevice& cible_;
    bool echec_ = false;
};

} // namespace

QString messageRienAImprimer()
{
    return QStringLiteral("Il n'y a pas d'image à imprimer.");
}

QString messageMiseEnPageImpossible()
{
    return QStringLiteral("Image trop petite.\nAjustez les valeurs");
}

TGeometrieImpression geometrieImpression(const TMiseEnPage& mp, int largeurPagePixels)
{
    TGeometrieImpression g;
    if (mp.PW <= 0)
        return g;
    const double k = static_cast<double>(largeurPagePixels) / mp.PW;
    g.k = k;
    g.hauteur = arrondi(mp.IH * k);
    g.largeur = arrondi(mp.IW * k);
    g.pasLigne = arrondi(k * (mp.IH + mp.espaces));
    g.pasColonne = arrondi(k * (mp.IW + mp.espaces));
    g.haut = arrondi(k * mp.margehaut);
    g.gauche = arrondi(k * mp.margegauche);
    g.cellules.reserve(static_cast<std::size_t>(std::max(0, mp.nblig * mp.nbcol)));
    for (int r = 0; r < mp.nblig; ++r)
        for (int c = 0; c < mp.nbcol; ++c)
            g.cellules.emplace_back(g.gauche + c * g.pasColonne, g.haut + r * g.pasLigne, g.largeur, g.hauteur);
    return g;
}

QImage imagePourImpression(const TBitmap32& image, bool niveauxDeGris)
{
    if (image.isEmpty())
        return QImage();
    const int w = image.width(), h = image.height();
    QImage sortie(w, h, niveauxDeGris ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (sortie.isNull())
        return sortie;
    for (int y = 0; y < h; ++y) {
        const TColor32* src = image.scanLine(y);
        uchar* ligne = sortie.scanLine(y);
        for (int x = 0; x < w; ++x) {
            // Over white paper.
            const TColor32 p = blendOver(src[x], clWhite32);
            if (niveauxDeGris)
                ligne[x] = static_cast<uchar>(qGray(static_cast<QRgb>(p)));
            else
                reinterpret_cast<QRgb*>(ligne)[x] = 0xFF000000u | p;
        }
    }
    return sortie;
}

bool preparerPage(QPagedPaintDevice& dev, const TMiseEnPage& mp)
{
    const QPageSize taille(mp.format() == FormatPapier::A3 ? QPageSize::A3 : QPageSize::A4);
    const QPageLayout mise(taille,
                           mp.orientation() == OrientationPage::Paysage ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait,
                           QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
    return dev.setPageLayout(mise);
}

TResultatImpression imprimerPages(QPagedPaintDevice& dev, const QImage& image, const TMiseEnPage& mp, int copies,
                                  const QString& destination)
{
    TResultatImpression r;
    if (image.isNull()) {
        r.message = messageRienAImprimer();
        return r;
    }
    if (!mp.imprimable()) {
        r.message = messageMiseEnPageImpossible();
        return r;
    }
    if (!preparerPage(dev, mp)) {
        r.message = QStringLiteral("« %1 » n'accepte pas le format de page choisi.").arg(destination);
        return r;
    }
    QPainter p;
    if (!p.begin(&dev)) {
        r.message = QStringLiteral("Impossible d'imprimer sur « %1 ».").arg(destination);
        return r;
    }
    const TGeometrieImpression g = geometrieImpression(mp, dev.width());
    const int n = std::clamp(copies, 1, 100);
    for (int copie = 0; copie < n; ++copie) {
        if (copie > 0 && !dev.newPage()) {
            p.end();
            r.message = QStringLiteral("L'impression sur « %1 » s'est arrêtée à la page %2.").arg(destination).arg(copie);
            return r;
        }
        for (const QRect& cellule : g.cellules)
            p.drawImage(cellule, image);
    }
    if (!p.end()) {
        r.message = QStringLiteral("L'impression sur « %1 » n'a pas pu être terminée.").arg(destination);
        return r;
    }
    r.ok = true;
    return r;
}

TResultatImpression imprimerPDF(const QString& chemin, const TBitmap32& image, bool niveauxDeGris,
                                const TMiseEnPage& mp, int copies)
{
    TResultatImpression r;
    if (image.isEmpty()) {
        r.message = messageRienAImprimer();
        return r;
    }
    if (!mp.imprimable()) {
        r.message = messageMiseEnPageImpossible();
        return r;
    }
    const QString nom = nomAffiche(chemin);
    const bool existait = QFileInfo::exists(chemin);
    // The file is written beside its final place and renamed over it only once
    // complete. It is unbuffered so that each write says at once whether it
    // reached the file.
    QSaveFile fichier(chemin);
    fichier.setDirectWriteFallback(false);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        r.message = QStringLiteral("Impossible de créer le fichier « %1 ».\n%2").arg(nom, fichier.errorString());
        return r;
    }
    TSortieVerifiee sortie(fichier);
    sortie.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    {
        QPdfWriter pdf(&sortie);
        pdf.setCreator(QStringLiteral("Orbiplate"));
        pdf.setTitle(QFileInfo(chemin).completeBaseName());
        const TResultatImpression pages =
            imprimerPages(pdf, imagePourImpression(image, niveauxDeGris), mp, copies, nom);
        if (!pages.ok) {
            fichier.cancelWriting();
            return pages;
        }
    }
    sortie.close();
    if (sortie.echec() || !fichier.commit()) {
        const QString raison = fichier.errorString();
        fichier.cancelWriting();
        r.message = QStringLiteral("Impossible d'enregistrer le fichier « %1 » (disque plein ou protégé ?).\n%2")
                        .arg(nom, raison);
        if (existait)
            r.message += QStringLiteral("\nLe fichier existant n'a pas été modifié.");
        return r;
    }
    r.ok = true;
    return r;
}
