// Layer composition, the image view's conversions and painting, and the file-filter
// handling of the Qt dialog service.
#include "ui/raster_compose.h"
#include "ui/windows/imageview.h"
#include "ui/windows/qtdialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

constexpr TColor32 kBg = 0xFF808080;

TLayerStack checkerStack(int w, int h)
{
    TLayerStack s;
    s.base.setSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.base.setPixel(x, y, 0xFF000000u | static_cast<TColor32>((y << 12) | x));
    return s;
}

} // namespace

TEST(Compose, BaseAtZoomAndOffset)
{
    TLayerStack s = checkerStack(40, 30);
    TBitmap32 out(100, 80);
    // Zoom 2, base placed at (10, 5): view pixel (10 + 2mx + k) shows base column mx.
    composeView(s, {2.0, QPointF(10, 5)}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out.pixel(10, 5), s.base.pixel(0, 0));
    EXPECT_EQ(out.pixel(11, 6), s.base.pixel(0, 0));
    EXPECT_EQ(out.pixel(12, 5), s.base.pixel(1, 0));
    EXPECT_EQ(out.pixel(10 + 2 * 39 + 1, 5 + 2 * 29 + 1), s.base.pixel(39, 29));
    EXPECT_EQ(out.pixel(9, 5), kBg);          // left of the picture
    EXPECT_EQ(out.pixel(10 + 80, 20), kBg);   // right of it
    EXPECT_EQ(out.pixel(20, 5 + 60), kBg);    // below it
    // Zoom 1/4: each view pixel takes the base pixel under its centre.
    TBitmap32 small(10, 8);
    composeView(s, {0.25, QPointF(0, 0)}, small.boundsRect(), small, kBg);
    EXPECT_EQ(small.pixel(3, 2), s.base.pixel(14, 10));
}

TEST(Compose, LayersInOrderWithModesAndVisibility)
{
    TLayerStack s;
    s.base = TBitmap32(10, 10, 0xFF0000FF);
    TBitmapLayer* a = s.addLayer();
    a->setSizeAndPlace(10, 10);
    a->bitmap.fillRect(QRect(0, 0, 5, 10), 0xFFFF0000); // opaque red left half
    TBitmapLayer* b = s.addLayer();
    b->setSizeAndPlace(10, 10);
    b->bitmap.fillRect(QRect(0, 0, 10, 5), 0x8000FF00); // half green top half
    TBitmap32 out(10, 10);
    composeView(s, {1.0, QPointF()}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out.pixel(2, 8), 0xFFFF0000u);             // red over blue
    EXPECT_EQ(out.pixel(8, 8), 0xFF0000FFu);             // transparent layer pixels
    EXPECT_EQ(out.pixel(8, 2), blendOver(0x8000FF00, 0xFF0000FF));
    EXPECT_EQ(out.pixel(2, 2), blendOver(0x8000FF00, 0xFFFF0000));

    // Hidden layers and master alpha 0 draw nothing.
    a->visible = false;
    b->masterAlpha = 0;
    composeView(s, {1.0, QPointF()}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out, TBitmap32(10, 10, 0xFF0000FF));

    // Master alpha scales the layer; opaque mode ignores the pixels' own alpha.
    a->visible = true;
    a->masterAlpha = 128;
    composeView(s, {1.0, QPointF()}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out.pixel(2, 8), blendOver(0x80FF0000, 0xFF0000FF));
    a->masterAlpha = 255;
    a->drawMode = TBitmap32::DrawMode::Opaque;
    composeView(s, {1.0, QPointF()}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out.pixel(8, 8), 0xFFFFFFFFu); // cleared pixels become white
}

TEST(Compose, PositionedLayerAndPartialArea)
{
    TLayerStack s;
    s.base = TBitmap32(20, 20, 0xFF000000);
    TBitmapLayer* l = s.addLayer();
    l->bitmap = TBitmap32(2, 2, 0xFFFFFFFF);
    l->bitmap.setPixel(1, 1, 0xFFFF0000);
    l->location = QRect(10, 10, 4, 4); // stretched twice
    TBitmap32 out(40, 40, 0xFF123456);
    // Only the area is written.
    composeView(s, {2.0, QPointF()}, QRect(20, 20, 10, 10), out, kBg);
    EXPECT_EQ(out.pixel(19, 19), 0xFF123456u);
    EXPECT_EQ(out.pixel(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(out.pixel(24, 24), 0xFFFF0000u);
    EXPECT_EQ(out.pixel(27, 27), 0xFFFF0000u);
    EXPECT_EQ(out.pixel(28, 28), 0xFF000000u); // base again, right of the layer
    EXPECT_EQ(out.pixel(30, 30), 0xFF123456u);
    // Stacks removed by pointer keep the others.
    TBitmapLayer* m = s.addLayer();
    s.removeLayer(l);
    EXPECT_EQ(s.layerCount(), 1);
    EXPECT_EQ(s.layer(0), m);
    // A bad scale shows only the background, without fault.
    composeView(s, {0.0, QPointF()}, out.boundsRect(), out, kBg);
    EXPECT_EQ(out.pixel(5, 5), kBg);
}

TEST(Compose, ViewRectCoversTheBaseRectangle)
{
    const TViewPlacement p{2.5, QPointF(3, -4)};
    const QRect v = p.viewRect(QRect(10, 10, 3, 2));
    EXPECT_LE(v.left(), 3 + 25);
    EXPECT_GE(v.right() + 1, 3 + 32.5);
    // Every view pixel showing the rectangle lies inside the view rectangle.
    for (int x = 0; x < 60; ++x)
        for (int y = -10; y < 40; ++y)
            if (p.mapX(x) >= 10 && p.mapX(x) <= 12 && p.mapY(y) >= 10 && p.mapY(y) <= 11) {
                EXPECT_TRUE(v.contains(x, y)) << x << "," << y;
            }
}

TEST(ImageView, ConversionsScrollAndEvents)
{
    TImageView view;
    view.setCentered(false);
    view.resize(300, 200);
    view.base() = TBitmap32(1000, 500, 0xFF000000);
    view.baseChanged();
    view.setScale(2.0);
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(40);
    EXPECT_EQ(view.offset(), QPointF(-100, -40));
    // mx = round((x - offset x) / scale), ties to even.
    EXPECT_EQ(view.viewToMap(QPointF(0, 0)), QPoint(50, 20));
    EXPECT_EQ(view.viewToMap(QPointF(1, 2)), QPoint(50, 21));  // 50.5 -> 50, 21 -> 21
    EXPECT_EQ(view.viewToMap(QPointF(3, 0)), QPoint(52, 20));  // 51.5 -> 52
    EXPECT_EQ(view.mapToView(QPointF(50, 20)), QPointF(0, 0));

    QSignalSpy down(&view, &TImageView::mouseDown);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 10), QPointF(20, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &press);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(1).toPoint(), QPoint(60, 25));

    // A picture smaller than the view is centred.
    TImageView c;
    c.resize(400, 300);
    c.base() = TBitmap32(100, 50);
    c.baseChanged();
    const QSize vs = c.viewport()->size();
    EXPECT_EQ(c.offset(), QPointF((vs.width() - 100) / 2, (vs.height() - 50) / 2));
}

TEST(ImageView, PaintsVisibleLayersOnly)
{
    TImageView view;
    view.resize(200, 150);
    view.setCentered(false);
    view.base() = TBitmap32(400, 300, 0xFF0000FF);
    view.baseChanged();
    TBitmapLayer* hidden = view.addLayer();
    hidden->setSizeAndPlace(400, 300);
    hidden->bitmap.clear(0xFFFF0000);
    hidden->visible = false;
    TBitmapLayer* shown = view.addLayer();
    shown->setSizeAndPlace(400, 300);
    shown->bitmap.fillRect(QRect(0, 0, 10, 10), 0xFF00FF00);
    view.setScale(0.5);
    const QImage img = view.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(img.pixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(img.pixel(50, 50), 0xFF0000FFu);
}

TEST(QtDialogs, FilterStrings)
{
    const QString f = QStringLiteral("Séismes|*.fse|Texte|*.txt;*.csv|Tous|*.*");
    EXPECT_EQ(QtDialogService::qtFilters(f),
              QStringList({"Séismes (*.fse)", "Texte (*.txt *.csv)", "Tous (*.*)"}));
    EXPECT_EQ(QtDialogService::filterMasks(f, 2), QStringList({"*.txt", "*.csv"}));
    EXPECT_TRUE(QtDialogService::filterMasks(f, 4).isEmpty());
    EXPECT_TRUE(QtDialogService::filterMasks(f, 0).isEmpty());

    EXPECT_EQ(QtDialogService::completeName("/t/carte", "png", {}), "/t/carte.png");
    EXPECT_EQ(QtDialogService::completeName("/t/carte.jpg", "png", {}), "/t/carte.jpg");
    EXPECT_EQ(QtDialogService::completeName("/t/carte", "", {"*.gif"}), "/t/carte.gif");
    EXPECT_EQ(QtDialogService::completeName("/t/carte", "", {"*.*"}), "/t/carte");
    EXPECT_EQ(QtDialogService::completeName("/t.d/carte", ".obf", {}), "/t.d/carte.obf");
}
