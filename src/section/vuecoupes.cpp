#include "section/vuecoupes.h"

#include "drawing/texteriche.h"
#include "ui/arrondi.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace coupe {

namespace {

QRect normalise(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

double exagerationDe(const TBitmapSIG& s)
{
    return s.exageration > 0 ? s.exageration / 1000.0 : 0.005;
}

} // namespace

QString texteLecture(const TBitmapSIG& s, bool coupe, int outil, QPoint p, int ox, int oy)
{
    QString t = s.nom;
    if (!coupe || !(outil == ocCrayon || outil == ocLigne || outil == ocMesure) || !(s.echelle > 0))
        return t;
    const double p1 = s.echelle;
    const double x = (p.x() - s.marge_gauche - ox) / p1;
    t += QStringLiteral(" : X :") + QString::number(arrondi(x)) + QStringLiteral(" km");
    const int y = p.y() - oy;
    const double altitude = (s.ligne_niveau_mer - y) / p1 / exagerationDe(s);
    if ((s.relief_au_dessus && y < s.hauteur_relief) || (!s.relief_au_dessus && altitude > -11000 && altitude < 9000))
        t += QStringLiteral("  - altitude : ") + QString::number(arrondi(altitude)) + QStringLiteral(" m");
    const double profondeur = (y - s.ligne_zero_profondeur) / p1;
    if (profondeur >= 0)
        t += QStringLiteral("  - profondeur : ") + QString::number(arrondi(profondeur)) + QStringLiteral(" km");
    return t;
}

QString texteMesure(const TBitmapSIG& s, bool coupe, QPoint p0, QPoint p1, int oy)
{
    if (!coupe || !(s.echelle > 0))
        return QString();
    const double e = s.echelle;
    const bool relief0 = p0.y() - oy < s.hauteur_relief;
    const bool relief1 = p1.y() - oy < s.hauteur_relief;
    const double dx = p1.x() - p0.x(), dy = p1.y() - p0.y();
    if (!relief0 && !relief1) {
        // In the depths both scales are the true one: the angle is the dip.
        const double pendage = dx == 0 ? 90.0 : std::fabs(std::atan(dy / dx)) * 180.0 / M_PI;
        const double distance = std::sqrt(dx * dx + dy * dy) / e;
        return QStringLiteral("Pendage : ") + QString::number(arrondi(pendage)) + QStringLiteral(" ° ; Distance : ") +
               QString::number(arrondi(distance)) + QStringLiteral(" km");
    }
    if (relief0 && relief1) {
        const double denivele = (p0.y() - p1.y()) / e * 1000.0 / s.exageration;
        const double horizontale = dx / e;
        return QStringLiteral("Dénivelé : ") + QString::number(arrondi(denivele)) +
               QStringLiteral(" m ; Distance horizontale: ") + QString::number(arrondi(horizontale)) +
               QStringLiteral(" km");
    }
    return QString();
}

TVueCoupes::TVueCoupes()
{
    for (int k = 0; k < NbCadresMax; ++k) {
        cadres_[static_cast<std::size_t>(k)] = pile_.addLayer();
        cadres_[static_cast<std::size_t>(k)]->visible = false;
    }
    outil_ = pile_.addLayer();
    DessinerPointe(0, couleur, pointe_);
}

TVueCoupes::~TVueCoupes() = default;

void TVueCoupes::repeindre(const QRect& r)
{
    if (aRepeindre)
        aRepeindre(r);
}

void TVueCoupes::definirTaille(int largeur, int hauteur)
{
    largeur = std::max(1, largeur);
    hauteur = std::max(1, hauteur);
    pile_.base.setSize(largeur, hauteur);
    outil_->setSizeAndPlace(largeur, hauteur);
    zoneOutil_ = QRect();
    decalageSup_ = std::clamp(decalageSup_, -largeur / 2, largeur / 2);
    DessinerCadres();
}

// --- Frames ---

QRect TVueCoupes::placeCadre(int k) const
{
    if (k < 0 || k >= NbCadresMax)
        return {};
    return places_[static_cast<std::size_t>(k)];
}

void TVueCoupes::DessinerCadres()
{
    const int W = pile_.base.width(), H = pile_.base.height();
    // Opaque white: what the view shows under the frames, composed without blending.
    pile_.base.clear(clWhite32);
    effacerOutil();
    outil_->bitmap.clear(clTransparentWhite32);
    // What the readouts said belongs to the pictures as they were.
    mesureGardee_ = false;
    texteXP_.clear();
    textePente_.clear();
    for (int k = 0; k < NbCadresMax; ++k) {
        TBitmapLayer* l = cadres_[static_cast<std::size_t>(k)];
        l->visible = false;
        places_[static_cast<std::size_t>(k)] = QRect();
    }
    if (W <= 0 || H <= 0) {
        repeindre();
        return;
    }
    auto preparer = [this](TBitmapSIG& s) {
        s.marge_gauche = MargeGauche;
        s.marge_haut = MargeHaut;
        s.marge_bas = MargeBas;
        s.marge_droite = MargeDroite;
        if (s.Nature == nbCoupe)
            s.exageration = images.exageration();
    };
    auto rendre = [this](int k, TBitmapSIG& s, const QRect& place) {
        TBitmapLayer* l = cadres_[static_cast<std::size_t>(k)];
        if (l->bitmap.width() != place.width() || l->bitmap.height() != place.height())
            l->bitmap.setSize(place.width(), place.height());
        DessinerDocument(s, l->bitmap);
        l->location = place;
        l->visible = true;
        places_[static_cast<std::size_t>(k)] = place;
    };

    if (images.superpositionEffective()) {
        TBitmapSIG& bas = images.image(images.cadre(1));
        TBitmapSIG& haut = images.image(images.cadre(0));
        bas.couleur_fond = 0;
        haut.couleur_fond = images.teinte;
        TBitmapSIG* plusPetite = nullptr;
        for (TBitmapSIG* s : {&haut, &bas}) {
            preparer(*s);
            s->mise_en_page = -1;
            if (s->Nature != nbCoupe)
                continue;
            CalculerMiseEnPage(*s, W, H);
            if (s->echelle > 0 && (!plusPetite || s->echelle < plusPetite->echelle))
                plusPetite = s;
        }
        // One scale for both, the smaller, with the rows of that section.
        for (TBitmapSIG* s : {&haut, &bas}) {
            if (s->Nature != nbCoupe || !plusPetite)
                continue;
            s->echelle = plusPetite->echelle;
            s->hauteur_relief = plusPetite->hauteur_relief;
            s->ligne_zero_profondeur = plusPetite->ligne_zero_profondeur;
            s->ligne_niveau_mer = plusPetite->ligne_niveau_mer;
            s->mise_en_page = 0;
        }
        rendre(1, bas, QRect(0, 0, W, H));
        rendre(0, haut, QRect(decalageSup_, 0, W, H));
        places_[0] = QRect(0, 0, W, H);
    } else {
        const int n = images.nombreCadres();
        const int w = n == 1 ? W : W / 2;
        const int h = n == 4 ? H / 2 : H;
        for (int k = 0; k < n; ++k) {
            const int colonne = k % 2, rang = k / 2;
            const QRect place(colonne ? w + 1 : 0, rang ? h + 1 : 0, colonne ? W - w - 1 : w, rang ? H - h - 1 : h);
            if (place.isEmpty())
                continue;
            TBitmapSIG& s = images.image(images.cadre(k));
            preparer(s);
            s.mise_en_page = -1;
            s.couleur_fond = clWhite32;
            rendre(k, s, place);
        }
        if (n >= 2)
            pile_.base.fillRect(QRect(w, 0, 1, H), clBlack32);
        if (n == 4)
            pile_.base.fillRect(QRect(0, h, W, 1), clBlack32);
    }
    repeindre();
}

CadreSouris TVueCoupes::CadreSous(int x, int y) const
{
    CadreSouris c;
    if (images.superpositionEffective()) {
        c.ox = decalageSup_;
        return c;
    }
    const QRect f0 = places_[0];
    const int w = f0.isEmpty() ? pile_.base.width() : f0.width();
    const int h = f0.isEmpty() ? pile_.base.height() : f0.height();
    if (x > w) {
        c.cadre += 1;
        c.ox = w + 1;
    }
    if (y > h) {
        c.cadre += 2;
        c.oy = h + 1;
    }
    if (c.cadre >= images.nombreCadres())
        c = CadreSouris();
    return c;
}

void TVueCoupes::definirDecalageSuperposition(int px)
{
    const int W = pile_.base.width();
    px = std::clamp(px, -W / 2, W / 2);
    if (px == decalageSup_)
        return;
    decalageSup_ = px;
    if (images.superpositionEffective()) {
        // Only the upper frame moves: nothing is drawn again.
        cadres_[0]->location.moveLeft(px);
        if (courant_.cadre == 0)
            courant_.ox = px;
        repeindre();
    }
}

// --- Composition ---

std::vector<const TBitmapLayer*> TVueCoupes::couches() const
{
    std::vector<const TBitmapLayer*> c;
    // Superposed, the upper section (frame 0) lies over the lower one.
    if (images.superpositionEffective()) {
        for (int k : {1, 0})
            if (cadres_[static_cast<std::size_t>(k)]->visible)
                c.push_back(cadres_[static_cast<std::size_t>(k)]);
    } else {
        for (const TBitmapLayer* l : cadres_)
            if (l->visible)
                c.push_back(l);
    }
    c.push_back(outil_);
    if (texte_ && texte_->visible)
        c.push_back(texte_);
    return c;
}

void TVueCoupes::compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                         TColor32 background) const
{
    composeLayers(pile_.base, couches(), placement, area, out, clWhite32);
    Q_UNUSED(background);
}

TBitmap32 TVueCoupes::imageAffichee() const
{
    TBitmap32 out(pile_.base.width(), pile_.base.height());
    composeLayers(pile_.base, couches(), TViewPlacement{1.0, QPointF()}, out.boundsRect(), out, clWhite32);
    return out;
}

const TBitmap32& TVueCoupes::imageCadre(int k) const
{
    static const TBitmap32 vide;
    if (k < 0 || k >= NbCadresMax || !cadres_[static_cast<std::size_t>(k)]->visible)
        return vide;
    return cadres_[static_cast<std::size_t>(k)]->bitmap;
}

TColor32 TVueCoupes::pixelAffiche(const QPoint& p) const
{
    TBitmap32 un(1, 1);
    composeLayers(pile_.base, couches(), TViewPlacement{1.0, QPointF(-p.x(), -p.y())}, un.boundsRect(), un,
                  clWhite32);
    return un.pixel(0, 0);
}

// --- Tool state ---

void TVueCoupes::definirCouleur(TColor32 c)
{
    couleur = c | 0xFF000000u;
    DessinerPointe(epaisseur, couleur, pointe_);
}

void TVueCoupes::epaisseurMoins()
{
    if (epaisseur > 0)
        --epaisseur;
    DessinerPointe(epaisseur, couleur, pointe_);
}

void TVueCoupes::epaisseurPlus()
{
    if (epaisseur <= 10)
        ++epaisseur;
    DessinerPointe(epaisseur, couleur, pointe_);
}

// --- The mouse ---

void TVueCoupes::effacerOutil()
{
    if (!zoneOutil_.isEmpty()) {
        const QRect r = zoneOutil_ & outil_->bitmap.boundsRect();
        outil_->bitmap.fillRect(r, clTransparentWhite32);
        repeindre(r);
    }
    zoneOutil_ = QRect();
}

void TVueCoupes::noterOutil(const QRect& r)
{
    const QRect z = r & outil_->bitmap.boundsRect();
    zoneOutil_ |= z;
    repeindre(z);
}

QPointF TVueCoupes::versKm(const QPoint& p) const
{
    const TBitmapSIG& s = images.image(imageCourante());
    const double e = s.echelle > 0 ? s.echelle : 1.0;
    return QPointF((p.x() - s.marge_gauche - courant_.ox) / e, (p.y() - s.ligne_zero_profondeur - courant_.oy) / e);
}

void TVueCoupes::deplacement(const QPoint& p, bool gauche)
{
    if (images.aucuneCoupe() || !pile_.base.boundsRect().contains(p))
        return;
    if (placement_) {
        if (gauche && outil == ocTexte)
            deplacerTexte(p);
        return;
    }
    const CadreSouris c = gauche && geste_ ? courant_ : CadreSous(p.x(), p.y());
    const int i = images.cadre(c.cadre);
    const TBitmapSIG& s = images.image(i);
    const bool estCoupe = images.estCoupe(i);
    texteXP_ = texteLecture(s, estCoupe, outil, p, c.ox, c.oy);
    if (!gauche || !geste_) {
        if (!mesureGardee_)
            textePente_.clear();
        return;
    }
    if (outil == ocLigne || outil == ocMesure)
        textePente_ = texteMesure(s, estCoupe, appui_, p, c.oy);
    else
        textePente_.clear();

    TBitmap32& a = outil_->bitmap;
    switch (outil) {
    case ocCrayon:
        if (p != dernier_) {
            a.draw(p.x() - 13, p.y() - 13, pointe_, TBitmap32::DrawMode::Blend);
            noterOutil(QRect(p.x() - 13, p.y() - 13, 26, 26));
            const QPointF k = versKm(p);
            chemin_.Add(k.x(), k.y());
        }
        break;
    case ocLigne:
    case ocMesure:
        effacerOutil();
        if (outil == ocLigne && style == stTirets)
            a.lineAAStipple(appui_.x(), appui_.y(), p.x(), p.y(), {couleur, clTransparentWhite32},
                            0.5 / (epaisseur + 1));
        else
            a.lineAA(appui_.x(), appui_.y(), p.x(), p.y(), couleur);
        noterOutil(normalise(appui_, p).adjusted(-2, -2, 2, 2));
        break;
    case ocForme: {
        effacerOutil();
        if (rectangle) {
            TracerRectangle(appui_.x(), appui_.y(), p.x(), p.y(), a, style, remplissage, couleur, 0);
            noterOutil(normalise(appui_, p).adjusted(-2, -2, 2, 2));
        } else {
            const int r = arrondi(std::hypot(p.x() - appui_.x(), p.y() - appui_.y()));
            TracerCercle(appui_.x(), appui_.y(), r, a, style, remplissage, couleur, 0);
            noterOutil(QRect(appui_.x() - r - 2, appui_.y() - r - 2, 2 * r + 5, 2 * r + 5));
        }
        break;
    }
    case ocCroute:
        effacerOutil();
        if (appui_.y() - courant_.oy < images.image(imageCourante()).hauteur_relief && estCoupe) {
            a.frameRect(normalise(appui_, p), couleur);
            noterOutil(normalise(appui_, p).adjusted(-1, -1, 1, 1));
        }
        break;
    default:
        break;
    }
    dernier_ = p;
}

bool TVueCoupes::appui(const QPoint& p)
{
    if (images.aucuneCoupe() || !pile_.base.boundsRect().contains(p))
        return false;
    if (placement_) {
        // Only the text tool moves the block being placed; another tool ends it.
        if (outil == ocTexte)
            deplacerTexte(p);
        else
            validerTexte(false);
        return true;
    }
    courant_ = CadreSous(p.x(), p.y());
    appui_ = dernier_ = p;
    geste_ = true;
    effacerOutil();
    mesureGardee_ = false;
    textePente_.clear();
    switch (outil) {
    case ocCrayon: {
        outil_->bitmap.draw(p.x() - 13, p.y() - 13, pointe_, TBitmap32::DrawMode::Blend);
        noterOutil(QRect(p.x() - 13, p.y() - 13, 26, 26));
        chemin_ = TPolygon32();
        chemin_.Antialiased = true;
        chemin_.Closed = false;
        const QPointF k = versKm(p);
        chemin_.Add(k.x(), k.y());
        break;
    }
    case ocPipette:
        definirCouleur(pixelAffiche(p));
        outil = ocCrayon;
        geste_ = false;
        break;
    case ocTexte:
        geste_ = false;
        break;
    default:
        break;
    }
    return true;
}

bool TVueCoupes::choisirCadre(const QPoint& p)
{
    if (!pile_.base.boundsRect().contains(p))
        return false;
    courant_ = CadreSous(p.x(), p.y());
    return true;
}

void TVueCoupes::garderDessin(std::unique_ptr<TDessin> d)
{
    const int numero = images.prochainNumero();
    const QString nom = NomDessin(d->Nature, numero);
    images.ajouterDessin(imageCourante(), std::move(d), nom);
}

bool TVueCoupes::garderZone(const QPoint& p)
{
    const int i = imageCourante();
    if (!images.estCoupe(i))
        return false;
    const TBitmapSIG& s = images.image(i);
    if (!(appui_.y() - courant_.oy < s.hauteur_relief) || p.x() == appui_.x() || s.profil.empty() ||
        !(s.echelle > 0))
        return false;
    const double e = s.echelle;
    const double d0 = (appui_.x() - s.marge_gauche - courant_.ox) / e - s.decalage_km;
    const double d1 = (p.x() - s.marge_gauche - courant_.ox) / e - s.decalage_km;
    const double L = s.profil.back().distance;
    const double debut = std::max(0.0, std::min(d0, d1));
    const double fin = std::min(L, std::max(0.0, std::max(d0, d1)));
    if (debut > L)
        return false;
    const int bas = std::max(appui_.y(), p.y());
    const double niveau = -(bas - courant_.oy - s.ligne_niveau_mer) / e * 1000.0 / s.exageration;
    // Kept only when some of the relief between its ends rises above its level.
    bool emerge = false;
    for (const PointProfil& q : s.profil)
        if (q.distance >= debut && q.distance <= fin && q.altitude > niveau) {
            emerge = true;
            break;
        }
    if (!emerge)
        return false;
    ZoneCroute z;
    z.couleur = couleur;
    z.style = remplissage == 0 ? 1 : remplissage;
    z.debut = debut;
    z.fin = fin;
    z.niveau = arrondi(niveau);
    const int numero = images.prochainNumero();
    images.ajouterZone(i, z, QString::number(numero) + QStringLiteral(" - coloration ") + s.nom);
    return true;
}

bool TVueCoupes::relachement(const QPoint& p)
{
    if (!geste_)
        return false;
    geste_ = false;
    const QPointF a = versKm(appui_), b = versKm(p);
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
    case ocCrayon:
        chemin_.Add(b.x(), b.y());
        d = nouveau(ndLibre);
        d->StyleTrait = stPlein;
        d->Trace = chemin_;
        break;
    case ocLigne:
        d = nouveau(ndLigne);
        d->Fleche = static_cast<std::uint8_t>(fleche);
        break;
    case ocForme:
        d = nouveau(rectangle ? ndRectangle : ndCercle);
        d->Remplissage = static_cast<std::uint8_t>(remplissage);
        if (!rectangle) {
            const TBitmapSIG& s = images.image(imageCourante());
            const double e = s.echelle > 0 ? s.echelle : 1.0;
            d->XC = static_cast<float>(a.x());
            d->YC = static_cast<float>(a.y());
            d->Rayon = static_cast<float>(std::hypot(p.x() - appui_.x(), p.y() - appui_.y()) / e);
        }
        break;
    case ocMesure:
        // The measure line stays until the next press.
        mesureGardee_ = true;
        return false;
    case ocCroute: {
        effacerOutil();
        const bool garde = garderZone(p);
        if (garde)
            DessinerCadres();
        return garde;
    }
    default:
        return false;
    }
    d->X1 = static_cast<float>(a.x());
    d->Y1 = static_cast<float>(a.y());
    d->X2 = static_cast<float>(b.x());
    d->Y2 = static_cast<float>(b.y());
    garderDessin(std::move(d));
    DessinerCadres();
    return true;
}

// --- Text ---

void TVueCoupes::majTexteLayer()
{
    if (!texte_)
        return;
    texte_->bitmap = texteTransparent_ ? texteClair_ : texteOpaque_;
    texte_->location.setSize(QSize(texte_->bitmap.width(), texte_->bitmap.height()));
}

void TVueCoupes::placerTexte(const QPoint& p, const QStringList& lignes, const QFont& police, int alignement)
{
    if (images.aucuneCoupe())
        return;
    courant_ = CadreSous(p.x(), p.y());
    lignesTexte_ = lignes;
    policeTexte_ = police;
    alignementTexte_ = alignement;
    QImage rendu;
    EcrireTexteCanevas(police, QColor::fromRgba(couleur), alignement, QColor::fromRgba(couleurFondTexte | 0xFF000000u),
                       rendu, lignes);
    texteOpaque_ = TBitmap32::fromImage(rendu);
    texteClair_ = texteOpaque_;
    RendreTransparent(couleurFondTexte | 0xFF000000u, texteClair_);
    if (!texte_)
        texte_ = pile_.addLayer();
    texte_->location = QRect(p, QSize(1, 1));
    texte_->visible = true;
    majTexteLayer();
    placement_ = true;
    repeindre();
}

void TVueCoupes::deplacerTexte(const QPoint& coin)
{
    if (!texte_ || !placement_)
        return;
    const QRect avant = texte_->location;
    texte_->location.moveTopLeft(coin);
    repeindre(avant.united(texte_->location));
}

void TVueCoupes::definirTexteTransparent(bool transparent)
{
    texteTransparent_ = transparent;
    if (texte_ && placement_) {
        majTexteLayer();
        repeindre(texte_->location);
    }
}

QRect TVueCoupes::placeTexte() const
{
    return texte_ && placement_ ? texte_->location : QRect();
}

bool TVueCoupes::validerTexte(bool ok)
{
    if (!placement_)
        return false;
    placement_ = false;
    if (!texte_)
        return false;
    texte_->visible = false;
    if (!ok || !images.valide(imageCourante())) {
        repeindre();
        return false;
    }
    const TBitmapSIG& s = images.image(imageCourante());
    const double e = s.echelle > 0 ? s.echelle : 1.0;
    const QPoint coin = texte_->location.topLeft();
    auto d = std::make_unique<TDessin>();
    d->Nature = ndTexte;
    d->Couleur = couleur;
    d->CouleurFond = couleurFondTexte | 0xFF000000u;
    d->Opacite = 255;
    const QPointF k = versKm(coin);
    d->XC = static_cast<float>(k.x());
    d->YC = static_cast<float>(k.y());
    d->FondTransparent = texteTransparent_;
    d->NomPolice = policeTexte_.family();
    const double taille = policeTexte_.pointSizeF() > 0 ? policeTexte_.pointSizeF() : policeTexte_.pixelSize();
    d->TaillePolice = static_cast<float>(std::fabs(taille) / e);
    d->StylePolice = static_cast<std::uint8_t>((policeTexte_.bold() ? spGras : 0) |
                                               (policeTexte_.italic() ? spItalique : 0) |
                                               (policeTexte_.underline() ? spSouligne : 0) |
                                               (policeTexte_.strikeOut() ? spBarre : 0));
    d->Alignement = static_cast<std::uint8_t>(alignementTexte_);
    d->Lignes = lignesTexte_;
    garderDessin(std::move(d));
    DessinerCadres();
    return true;
}

} // namespace coupe
