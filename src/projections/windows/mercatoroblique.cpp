#include "projections/windows/mercatoroblique.h"

#include "projections/polaire.h"
#include "ui/raster_compose.h"
#include "ui/windows/imageview.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int ZoomMini = 20, ZoomMaxi = 100;
}

TBitmap32 partieAffichee(const TImageView& vue)
{
    const QSize taille = vue.stack().base.isEmpty() ? QSize() : QSize(vue.base().width(), vue.base().height());
    if (taille.isEmpty())
        return TBitmap32();
    const QRect zone = vue.mapRectToView(QRect(QPoint(0, 0), taille)) & vue.viewport()->rect();
    if (zone.isEmpty())
        return TBitmap32();
    TBitmap32 b(zone.width(), zone.height());
    TViewPlacement p = vue.placement();
    p.offset -= QPointF(zone.topLeft());
    composeView(vue.stack(), p, b.boundsRect(), b);
    return b;
}

bool copierPartieAffichee(const TImageView& vue)
{
    const TBitmap32 b = partieAffichee(vue);
    if (b.isEmpty())
        return false;
    QGuiApplication::clipboard()->setImage(b.toImage());
    return true;
}

void afficherEnGrand(QWidget& fenetre)
{
    // Without a window manager a maximised window keeps its size: it is given the
    // screen's first.
    if (QScreen* ecran = fenetre.screen() ? fenetre.screen() : QGuiApplication::primaryScreen())
        fenetre.setGeometry(ecran->availableGeometry());
    fenetre.showMaximized();
    fenetre.raise();
    fenetre.activateWindow();
}

TMercatorOblique::TMercatorOblique(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MercatorOblique"));
    setWindowTitle(QStringLiteral("Projection Mercator oblique"));
    Copierlimage1 = menuBar()->addAction(QStringLiteral("Copier l'image"));
    Copierlimage1->setObjectName(QStringLiteral("Copierlimage1"));
    connect(Copierlimage1, &QAction::triggered, this, &TMercatorOblique::CopierlimageClick);

    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(4, 4, 4, 4);
    auto* barre = new QHBoxLayout;
    auto* etiquette = new QLabel(QStringLiteral("Zoom"), central);
    ValeurZoom = new QScrollBar(Qt::Horizontal, central);
    ValeurZoom->setObjectName(QStringLiteral("ValeurZoom"));
    ValeurZoom->setRange(ZoomMini, ZoomMaxi);
    ValeurZoom->setValue(90);
    ValeurZoom->setMinimumWidth(200);
    barre->addWidget(etiquette);
    barre->addWidget(ValeurZoom);
    barre->addStretch(1);
    auto* legende = new QLabel(QStringLiteral("En haut : le pôle choisi ; au milieu : le cercle à 90° du pôle ; "
                                              "en bas : le point opposé (antipode)."),
                               central);
    legende->setObjectName(QStringLiteral("Legende"));
    barre->addWidget(legende);
    v->addLayout(barre);
    VueMercaObl = new TImageView(central);
    VueMercaObl->setObjectName(QStringLiteral("VueMercaObl"));
    VueMercaObl->setCentered(false);
    VueMercaObl->setScale(0.9);
    v->addWidget(VueMercaObl, 1);
    setCentralWidget(central);
    connect(ValeurZoom, &QScrollBar::valueChanged, this, &TMercatorOblique::ValeurZoomChange);
}

void TMercatorOblique::installer(TBitmap32&& image)
{
    VueMercaObl->base() = std::move(image);
    VueMercaObl->baseChanged();
}

const TBitmap32& TMercatorOblique::image() const
{
    return VueMercaObl->base();
}

void TMercatorOblique::ajusterZoom()
{
    const int client = VueMercaObl->viewport()->width();
    const int position = polaire::positionZoomAjustee(client, image().width(), ZoomMini, ZoomMaxi);
    if (position == ValeurZoom->value())
        ValeurZoomChange();
    else
        ValeurZoom->setValue(position);
    VueMercaObl->scrollToMap(QPoint(0, 0));
}

void TMercatorOblique::ValeurZoomChange()
{
    VueMercaObl->setScale(polaire::echelleDeZoom(ValeurZoom->value(), ZoomMini, ZoomMaxi));
}

void TMercatorOblique::CopierlimageClick()
{
    copierPartieAffichee(*VueMercaObl);
}
