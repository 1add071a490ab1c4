#include "drawing/feuille.h"

#include "drawing/texteriche.h"
#include "ui/arrondi.h"

#include <QImage>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace {

constexpr double OrigineX = 30;
constexpr double OrigineY = 0;
constexpr double Echelle = 1.0;
constexpr int TaillePoignee = 7;
constexpr int TailleMini = 40;
constexpr TColor32 BlancCle = 0xFFFFFFFF;

QRect normalise(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

TFeuille::TFeuille()
{
    pile_.base.setSize(LargeurPagePaysage, HauteurPagePaysage);
    apercu_ = pile_.addLayer();
    apercu_->setSizeAndPlace(LargeurPagePaysage, HauteurPagePaysage);
    annotations_ = pile_.addLayer();
    annotations_->setSizeAndPlace(LargeurPagePaysage, HauteurPagePaysage);
    DessinerPointe(0, couleur, pointe_);
}

TFeuille::~TFeuille() = default;

void TFeuille::repeindre(const QRect& r)
{
    if (aRepeindre)
        aRepeindre(r);
}

QSize TFeuille::taillePage() const
{
    return paysage_ ? QSize(LargeurPagePaysage, HauteurPagePaysage) : QSize(HauteurPagePaysage, LargeurPagePaysage);
}

void TFeuille::definirPaysage(bool paysage)
{
    paysage_ = paysage;
    const QSize t = taillePage();
    pile_.base = TBitmap32(t.width(), t.height(), 0xFFFFFFFF);
    // The annotations and the previews cover the whole page.
    annotations_->setSizeAndPlace(t.width(), t.height());
    apercu_->setSizeAndPlace(t.width(), t.height());
    DessinerAnnotations();
    cadresAJour_ = false;
    repeindre();
}

// --- Composition ---

std::vector<const TBitmapLayer*> TFeuille::couches(bool avecCadres) const
{
    // The documents in the order they came, then what is drawn over them: the
    // annotations, the text being placed and the tools' previews, so that an arrow
    // or a text put on a copied map shows on it.
    std::vector<const TBitmapLayer*> c;
    for (const Document& d : documents_)
        if (d.calque->visible)
            c.push_back(d.calque);
    for (const TBitmapLayer* l : {static_cast<const TBitmapLayer*>(annotations_), static_cast<const TBitmapLayer*>(texte_),
                                  static_cast<const TBitmapLayer*>(apercu_)})
        if (l && l->visible)
            c.push_back(l);
    if (avecCadres && outil == ofDeplacement && !documents_.empty()) {
        if (!cadresAJour_)
            dessinerCadres();
        c.push_back(&cadres_);
    }
    return c;
}

TBitmap32 TFeuille::imagePage() const
{
    const QSize t = taillePage();
    TBitmap32 out(t.width(), t.height());
    composeLayers(pile_.base, couches(false), TViewPlacement{1.0, QPointF()}, out.boundsRect(), out, clWhite32);
    return out;
}

void TFeuille::compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out, TColor32 background) const
{
    // The page shows white, around it the view's own colour.
    const QRect page = placement.viewRect(QRect(QPoint(0, 0), taillePage())) & area;
    const std::vector<const TBitmapLayer*> c = couches(true);
    const QRect a = area & out.boundsRect();
    // Outside the page: the background alone.
    for (const QRect& r : QRegion(a).subtracted(QRegion(page)))
        out.fillRect(r, background | 0xFF000000u);
    if (!page.isEmpty())
        composeLayers(pile_.base, c, placement, page, out, clWhite32);
}

TColor32 TFeuille::pixelAffiche(const QPoint& p) const
{
    TBitmap32 un(1, 1);
    const TViewPlacement placement{1.0, QPointF(-p.x(), -p.y())};
    composeLayers(pile_.base, couches(false), placement, un.boundsRect(), un, clWhite32);
    return un.pixel(0, 0);
}

void TFeuille::dessinerCadres() const
{
    const QSize t = taillePage();
    if (cadres_.bitmap.width() != t.width() || cadres_.bitmap.height() != t.height())
        cadres_.setSizeAndPlace(t.width(), t.height());
    else
        cadres_.bitmap.clear(clTransparentWhite32);
    for (const Document& d : documents_) {
        const QRect r = d.calque->location;
        cadres_.bitmap.frameRect(r, 0xFF202020);
        const int m = TaillePoignee / 2;
        std::vector<QPoint> points = {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center()};
        if (d.cotes)
            for (const QPoint& q : {QPoint(r.center().x(), r.top()), QPoint(r.right(), r.center().y()),
                                    QPoint(r.center().x(), r.bottom()), QPoint(r.left(), r.center().y())})
                points.push_back(q);
        for (const QPoint& q : points) {
            const QRect h(q.x() - m, q.y() - m, TaillePoignee, TaillePoignee);
            cadres_.bitmap.fillRect(h, clWhite32);
            cadres_.bitmap.frameRect(h, 0xFF202020);
        }
    }
    cadresAJour_ = true;
}

// --- Documents ---

void TFeuille::rendre(Document& d, bool force)
{
    TBitmap32& b = d.calque->bitmap;
    const QSize taille = d.calque->location.size();
    if (!force && d.renduPour == taille && b.width() == taille.width() && b.height() == taille.height())
        return;
    b.setSize(taille.width(), taille.height());
    DessinerDocument(*d.image, b);
    d.renduPour = taille;
}

int TFeuille::ajouterImage(const TBitmap32& image)
{
    outil = ofDeplacement;
    Document d;
    d.image = std::make_unique<TBitmapSIG>();
    d.image->Nature = nbImage;
    d.image->cadre = false;
    d.image->couleur_fond = 0x00FFFFFF;
    d.image->image = std::make_shared<TBitmap32>(image);
    d.calque = pile_.addLayer();
    d.calque->location = QRect(0, 0, std::max(1, image.width() / 2), std::max(1, image.height() / 2));
    rendre(d, true);
    documents_.push_back(std::move(d));
    vide_ = false;
    cadresAJour_ = false;
    repeindre();
    return nombreDocuments() - 1;
}

int TFeuille::ajouterDocument(const TBitmapSIG& picture, int largeur, int hauteur)
{
    outil = ofDeplacement;
    Document d;
    d.image = std::make_unique<TBitmapSIG>();
    d.image->CopierDe(&picture);
    d.cotes = true;
    d.calque = pile_.addLayer();
    d.calque->location = QRect(0, 0, std::max(1, largeur), std::max(1, hauteur));
    rendre(d, true);
    documents_.push_back(std::move(d));
    vide_ = false;
    cadresAJour_ = false;
    repeindre();
    return nombreDocuments() - 1;
}

QRect TFeuille::placeDocument(int i) const
{
    return documents_[static_cast<std::size_t>(i)].calque->location;
}

const TBitmap32& TFeuille::renduDocument(int i) const
{
    return documents_[static_cast<std::size_t>(i)].calque->bitmap;
}

int TFeuille::documentSous(const QPoint& p) const
{
    for (int i = nombreDocuments() - 1; i >= 0; --i) {
        const QRect r = placeDocument(i);
        const int m = TaillePoignee / 2 + 1;
        if (r.adjusted(-m, -m, m, m).contains(p))
            return i;
    }
    return -1;
}

bool TFeuille::supprimerDocument(int i)
{
    if (i < 0 || i >= nombreDocuments())
        return false;
    pile_.removeLayer(documents_[static_cast<std::size_t>(i)].calque);
    documents_.erase(documents_.begin() + i);
    cadresAJour_ = false;
    if (!documents_.empty())
        RedessinerTout();
    else
        repeindre();
    return true;
}

void TFeuille::definirCadre(int i, bool cadre)
{
    if (i < 0 || i >= nombreDocuments())
        return;
    Document& d = documents_[static_cast<std::size_t>(i)];
    d.image->cadre = cadre;
    rendre(d, true);
    repeindre(d.calque->location);
}

void TFeuille::definirOpacite(int i, int pourcent)
{
    if (i < 0 || i >= nombreDocuments())
        return;
    Document& d = documents_[static_cast<std::size_t>(i)];
    pourcent = std::clamp(pourcent, 0, 100);
    d.image->couleur_fond = withAlpha(clWhite32, static_cast<std::uint32_t>(arrondi(pourcent * 255.0 / 100.0)));
    rendre(d, true);
    repeindre(d.calque->location);
}

int TFeuille::opacite(int i) const
{
    if (i < 0 || i >= nombreDocuments())
        return 0;
    return arrondi(alphaOf(document(i).couleur_fond) / 255.0 * 10) * 10;
}

// --- Frames ---

Poignee TFeuille::poigneeSous(int i, const QPoint& p) const
{
    if (i < 0 || i >= nombreDocuments())
        return Poignee::Aucune;
    const QRect r = placeDocument(i);
    const bool cotes = documents_[static_cast<std::size_t>(i)].cotes;
    auto pres = [&p](QPoint q) {
        return std::abs(p.x() - q.x()) <= TaillePoignee / 2 + 1 && std::abs(p.y() - q.y()) <= TaillePoignee / 2 + 1;
    };
    if (pres(r.topLeft()))
        return Poignee::HautGauche;
    if (pres(r.topRight()))
        return Poignee::HautDroite;
    if (pres(r.bottomLeft()))
        return Poignee::BasGauche;
    if (pres(r.bottomRight()))
        return Poignee::BasDroite;
    if (cotes) {
        if (pres(QPoint(r.center().x(), r.top())))
            return Poignee::Haut;
        if (pres(QPoint(r.right(), r.center().y())))
            return Poignee::Droite;
        if (pres(QPoint(r.center().x(), r.bottom())))
            return Poignee::Bas;
        if (pres(QPoint(r.left(), r.center().y())))
            return Poignee::Gauche;
    }
    if (r.contains(p))
        return Poignee::Interieur;
    return Poignee::Aucune;
}

QRect TFeuille::glisserCadre(int i, Poignee h, const QRect& rect, const QPoint& depart, const QPoint& courant) const
{
    const QSize page = taillePage();
    const int dx = courant.x() - depart.x(), dy = courant.y() - depart.y();
    if (h == Poignee::Interieur) {
        // A move keeps the whole document on the page when it fits.
        QRect r = rect.translated(dx, dy);
        r.moveLeft(std::clamp(r.left(), 0, std::max(0, page.width() - r.width())));
        r.moveTop(std::clamp(r.top(), 0, std::max(0, page.height() - r.height())));
        return r;
    }
    // Edges as reals: left, top, right, bottom (right and bottom exclusive).
    double g = rect.left(), hau = rect.top(), d = rect.left() + rect.width(), b = rect.top() + rect.height();
    const double g0 = g, h0 = hau, d0 = d, b0 = b;
    switch (h) {
    case Poignee::HautGauche:
        g += dx;
        hau += dy;
        break;
    case Poignee::HautDroite:
        d += dx;
        hau += dy;
        break;
    case Poignee::BasGauche:
        g += dx;
        b += dy;
        break;
    case Poignee::BasDroite:
        d += dx;
        b += dy;
        break;
    case Poignee::Haut:
        hau += dy;
        break;
    case Poignee::Bas:
        b += dy;
        break;
    case Poignee::Gauche:
        g += dx;
        break;
    case Poignee::Droite:
        d += dx;
        break;
    default:
        return rect;
    }
    // Sizes within 40 x 40 and the page less 10.
    const double maxL = page.width() - 10, maxH = page.height() - 10;
    auto borner = [&](double& bas, double& haut, bool basBouge, double mini, double maxi) {
        if (haut - bas < mini) {
            if (basBouge)
                bas = haut - mini;
            else
                haut = bas + mini;
        }
        if (haut - bas > maxi) {
            if (basBouge)
                bas = haut - maxi;
            else
                haut = bas + maxi;
        }
    };
    const bool gaucheBouge = h == Poignee::HautGauche || h == Poignee::BasGauche || h == Poignee::Gauche;
    const bool hautBouge = h == Poignee::HautGauche || h == Poignee::HautDroite || h == Poignee::Haut;
    borner(g, d, gaucheBouge, TailleMini, maxL);
    borner(hau, b, hautBouge, TailleMini, maxH);
    // An image keeps its proportions: at a corner, the edge moved least follows the
    // other, c being height / width of the picture as rendered.
    const Document& doc = documents_[static_cast<std::size_t>(i)];
    if (doc.image->Nature == nbImage && !doc.cotes && doc.calque->bitmap.width() > 0) {
        const double c = static_cast<double>(doc.calque->bitmap.height()) / doc.calque->bitmap.width();
        switch (h) {
        case Poignee::HautGauche:
            if (std::fabs(h0 - hau) > std::fabs(g0 - g))
                g = d - (b - hau) / c;
            else
                hau = b - c * (d - g);
            break;
        case Poignee::HautDroite:
            if (std::fabs(h0 - hau) > std::fabs(d0 - d))
                d = g + (b - hau) / c;
            else
                hau = b - c * (d - g);
            break;
        case Poignee::BasGauche:
            if (std::fabs(g0 - g) < std::fabs(b0 - b))
                g = d - (b - hau) / c;
            else
                b = hau + c * (d - g);
            break;
        case Poignee::BasDroite:
            if (std::fabs(d0 - d) < std::fabs(b0 - b))
                d = g + (b - hau) / c;
            else
                b = hau + c * (d - g);
            break;
        default:
            break;
        }
    }
    return QRect(QPoint(arrondi(g), arrondi(hau)), QPoint(arrondi(d) - 1, arrondi(b) - 1));
}

void TFeuille::placerCadre(int i, const QRect& rect)
{
    if (i < 0 || i >= nombreDocuments())
        return;
    TBitmapLayer* l = documents_[static_cast<std::size_t>(i)].calque;
    const QRect avant = l->location;
    l->location.moveTopLeft(rect.topLeft());
    cadresAJour_ = false;
    const int m = TaillePoignee;
    repeindre(avant.united(l->location).adjusted(-m, -m, m, m));
}

bool TFeuille::redimensionner(int i, const QSize& taille)
{
    if (i < 0 || i >= nombreDocuments() || taille.width() <= 20 || taille.height() <= 20)
        return false;
    Document& d = documents_[static_cast<std::size_t>(i)];
    const QSize page = taillePage();
    const QRect avant = d.calque->location;
    d.calque->location.setSize(QSize(std::min(taille.width(), page.width()), std::min(taille.height(), page.height())));
    rendre(d, false);
    cadresAJour_ = false;
    const int m = TaillePoignee;
    repeindre(avant.united(d.calque->location).adjusted(-m, -m, m, m));
    return true;
}

// --- Tool state ---

void TFeuille::definirCouleur(TColor32 c)
{
    couleur = c | 0xFF000000u;
    DessinerPointe(epaisseur, couleur, pointe_);
}

void TFeuille::epaisseurMoins()
{
    if (epaisseur > 0)
        --epaisseur;
    DessinerPointe(epaisseur, couleur, pointe_);
}

void TFeuille::epaisseurPlus()
{
    if (epaisseur <= 10)
        ++epaisseur;
    DessinerPointe(epaisseur, couleur, pointe_);
}

// --- Drawing with the mouse ---

QPointF TFeuille::versDocument(const QPoint& p) const
{
    return QPointF((p.x() - OrigineX) / Echelle, (p.y() - OrigineY) / Echelle);
}

bool TFeuille::appui(const QPoint& p)
{
    const QSize page = taillePage();
    if (vide_ || p.x() < 0 || p.y() < 0 || p.x() >= page.width() || p.y() >= page.height())
        return false;
    appui_ = dernier_ = p;
    geste_ = true;
    if (placement_) {
        // Only the text tool moves the block being placed; any other stops placing.
        if (outil == ofTexte)
            deplacerTexte(p);
        else
            validerTexte(false);
        geste_ = false;
        return true;
    }
    apercu_->bitmap.clear(clTransparentWhite32);
    switch (outil) {
    case ofCrayon:
        apercu_->bitmap.draw(p.x() - 13, p.y() - 13, pointe_, TBitmap32::DrawMode::Blend);
        chemin_ = TPolygon32();
        chemin_.Antialiased = true;
        chemin_.Closed = false;
        chemin_.Add(versDocument(p).x(), versDocument(p).y());
        repeindre(QRect(p.x() - 13, p.y() - 13, 26, 26));
        break;
    case ofPipette:
        definirCouleur(pixelAffiche(p));
        outil = ofCrayon;
        geste_ = false;
        break;
    case ofDeplacement: {
        docGlisse_ = documentSous(p);
        poigneeGlissee_ = poigneeSous(docGlisse_, p);
        if (poigneeGlissee_ == Poignee::Aucune)
            docGlisse_ = -1;
        if (docGlisse_ >= 0) {
            rectDepart_ = rectCourant_ = placeDocument(docGlisse_);
            redimensionnement_ = false;
        }
        break;
    }
    default:
        break;
    }
    return true;
}

void TFeuille::deplacement(const QPoint& p)
{
    const QSize page = taillePage();
    if (vide_ || !geste_ || p.x() < 0 || p.y() < 0 || p.x() >= page.width() || p.y() >= page.height())
        return;
    TBitmap32& a = apercu_->bitmap;
    switch (outil) {
    case ofCrayon:
        if (p != dernier_) {
            a.draw(p.x() - 13, p.y() - 13, pointe_, TBitmap32::DrawMode::Blend);
            chemin_.Add(versDocument(p).x(), versDocument(p).y());
            repeindre(normalise(dernier_, p).adjusted(-14, -14, 14, 14));
        }
        break;
    case ofLigne: {
        const QRect avant = normalise(appui_, dernier_).adjusted(-2, -2, 2, 2);
        a.clear(clTransparentWhite32);
        if (style == 1) {
            a.lineAAStipple(appui_.x(), appui_.y(), p.x(), p.y(), {couleur, clTransparentWhite32},
                            0.5 / (epaisseur + 1));
        } else {
            a.lineAA(appui_.x(), appui_.y(), p.x(), p.y(), couleur);
        }
        repeindre(avant.united(normalise(appui_, p).adjusted(-2, -2, 2, 2)));
        break;
    }
    case ofForme: {
        a.clear(clTransparentWhite32);
        if (rectangle) {
            TracerRectangle(appui_.x(), appui_.y(), p.x(), p.y(), a, style, 0, couleur, 0);
        } else {
            const int r = arrondi(std::hypot(p.x() - appui_.x(), p.y() - appui_.y()));
            TracerCercle(appui_.x(), appui_.y(), r, a, style, 0, couleur, 0);
        }
        repeindre();
        break;
    }
    case ofDeplacement:
        if (docGlisse_ >= 0) {
            rectCourant_ = glisserCadre(docGlisse_, poigneeGlissee_, rectDepart_, appui_, p);
            if (poigneeGlissee_ == Poignee::Interieur) {
                placerCadre(docGlisse_, rectCourant_);
            } else {
                // The frame follows; the document is rendered again at the release.
                redimensionnement_ = true;
                const QRect avant = cadres_.location;
                dessinerCadres();
                cadres_.bitmap.frameRect(rectCourant_, 0xFFFF0000);
                repeindre(avant.isEmpty() ? QRect() : rectDepart_.united(rectCourant_).adjusted(-8, -8, 8, 8));
            }
        }
        break;
    default:
        break;
    }
    dernier_ = p;
}

bool TFeuille::relachement(const QPoint& p)
{
    // A resize pending ends first.
    if (outil == ofDeplacement && docGlisse_ >= 0) {
        if (redimensionnement_) {
            placerCadre(docGlisse_, rectCourant_);
            redimensionner(docGlisse_, rectCourant_.size());
        }
        docGlisse_ = -1;
        redimensionnement_ = false;
        cadresAJour_ = false;
        repeindre();
    }
    if (!geste_)
        return false;
    geste_ = false;
    const QPointF a = versDocument(appui_), b = versDocument(p);
    auto nouveau = [this](std::uint8_t nature) {
        auto d = std::make_unique<TDessin>();
        d->Nature = nature;
        d->Couleur = couleur;
        d->Epaisseur = static_cast<std::uint8_t>(epaisseur);
        d->Opacite = 255;
        d->StyleTrait = static_cast<std::uint8_t>(style);
        return d;
    };
    std::unique_ptr<TDessin> d;
    switch (outil) {
    case ofCrayon:
        apercu_->bitmap.clear(clTransparentWhite32);
        chemin_.Add(b.x(), b.y());
        d = nouveau(ndLibre);
        d->StyleTrait = 0;
        d->Trace = chemin_;
        break;
    case ofLigne:
        d = nouveau(ndLigne);
        d->Fleche = static_cast<std::uint8_t>(fleche);
        break;
    case ofForme:
        d = nouveau(rectangle ? ndRectangle : ndCercle);
        d->Remplissage = static_cast<std::uint8_t>(remplissage);
        if (!rectangle) {
            d->XC = static_cast<float>(a.x());
            d->YC = static_cast<float>(a.y());
            d->Rayon = static_cast<float>(arrondi(std::hypot(p.x() - appui_.x(), p.y() - appui_.y())) / Echelle);
        }
        break;
    default:
        return false;
    }
    d->X1 = static_cast<float>(a.x());
    d->Y1 = static_cast<float>(a.y());
    d->X2 = static_cast<float>(b.x());
    d->Y2 = static_cast<float>(b.y());
    dessins_.Ajouter(std::move(d));
    RedessinerTout();
    dernier_ = p;
    return true;
}

// --- Annotations ---

bool TFeuille::annuler()
{
    if (dessins_.EstVide())
        return false;
    dessins_.AnnulerDernier();
    RedessinerTout();
    apercu_->bitmap.clear(clTransparentWhite32);
    return true;
}

bool TFeuille::effacer(int i)
{
    if (i < 0 || i >= dessins_.Count())
        return false;
    const bool fait = dessins_.SupprimerApresConfirmation(i);
    if (fait)
        DessinerAnnotations();
    RedessinerTout();
    return fait;
}

bool TFeuille::supprimerTrace(int i)
{
    if (!dessins_.Supprimer(i))
        return false;
    apercu_->bitmap.clear(clTransparentWhite32);
    DessinerAnnotations();
    return true;
}

void TFeuille::DessinerAnnotations()
{
    annotations_->bitmap.clear(clTransparentWhite32);
    dessins_.Dessiner(annotations_->bitmap, OrigineX, OrigineY, Echelle);
    apercu_->bitmap.clear(clTransparentWhite32);
    repeindre();
}

void TFeuille::RedessinerTout()
{
    pile_.base.clear(clTransparentWhite32);
    apercu_->bitmap.clear(clTransparentWhite32);
    for (Document& d : documents_)
        rendre(d, false);
    DessinerAnnotations();
}

// --- Text ---

void TFeuille::placerTexte(const QPoint& p, const QStringList& lignes, const QFont& police, int alignement)
{
    lignesTexte_ = lignes;
    policeTexte_ = police;
    alignementTexte_ = alignement;
    QImage rendu;
    EcrireTexteCanevas(police, QColor::fromRgba(couleur), alignement, QColor(Qt::white), rendu, lignes);
    if (!texte_) {
        texte_ = pile_.addLayer();
        texte_->drawMode = TBitmap32::DrawMode::Blend;
    }
    TBitmap32 b = TBitmap32::fromImage(rendu);
    RendreTransparent(BlancCle, b);
    texte_->bitmap = std::move(b);
    texte_->location = QRect(p, QSize(texte_->bitmap.width(), texte_->bitmap.height()));
    texte_->visible = true;
    texte_->drawMode = texteTransparent_ ? TBitmap32::DrawMode::Blend : TBitmap32::DrawMode::Opaque;
    placement_ = true;
    repeindre();
}

void TFeuille::deplacerTexte(const QPoint& coin)
{
    if (!texte_)
        return;
    const QRect avant = texte_->location;
    texte_->location.moveTopLeft(coin);
    repeindre(avant.united(texte_->location));
}

void TFeuille::definirTexteTransparent(bool transparent)
{
    texteTransparent_ = transparent;
    if (texte_) {
        texte_->drawMode = transparent ? TBitmap32::DrawMode::Blend : TBitmap32::DrawMode::Opaque;
        repeindre(texte_->location);
    }
}

QRect TFeuille::placeTexte() const
{
    return texte_ ? texte_->location : QRect();
}

void TFeuille::validerTexte(bool ok)
{
    if (!placement_)
        return;
    placement_ = false;
    if (!texte_)
        return;
    texte_->visible = false;
    if (ok) {
        const QPoint coin = texte_->location.topLeft();
        auto d = std::make_unique<TDessin>();
        d->Nature = ndTexte;
        d->Couleur = couleur;
        d->Opacite = 255;
        d->XC = static_cast<float>((coin.x() - OrigineX) / Echelle);
        d->YC = static_cast<float>((coin.y() - OrigineY) / Echelle);
        d->FondTransparent = texteTransparent_;
        d->NomPolice = policeTexte_.family();
        const double taille = policeTexte_.pointSizeF() > 0 ? policeTexte_.pointSizeF() : policeTexte_.pixelSize();
        d->TaillePolice = static_cast<float>(std::fabs(taille) / Echelle);
        d->StylePolice = static_cast<std::uint8_t>((policeTexte_.bold() ? spGras : 0) |
                                                   (policeTexte_.italic() ? spItalique : 0) |
                                                   (policeTexte_.underline() ? spSouligne : 0) |
                                                   (policeTexte_.strikeOut() ? spBarre : 0));
        d->Alignement = static_cast<std::uint8_t>(alignementTexte_);
        d->CouleurFond = BlancCle;
        d->Lignes = lignesTexte_;
        dessins_.Ajouter(std::move(d));
        RedessinerTout();
    } else {
        repeindre();
    }
}
