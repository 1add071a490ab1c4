// Scrolling, zooming view of a base picture with positioned bitmap layers over it.
//
// A base pixel (mx, my) is shown from offset() + (mx, my) * scale(). Mouse events are
// passed on with the base pixel under the pointer, mx = round((x - offset x) / scale),
// rounded to the nearest integer with ties to even. Painting composes only the damaged
// part of the viewport, at the current zoom, so a small invalidate() (a rubber band
// moving) costs only the pixels it covers.
#pragma once

#include "ui/raster_compose.h"

#include <QAbstractScrollArea>

class QMouseEvent;
class QWheelEvent;

class TImageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);

    // What the view shows: its own layer stack (below) unless another source is set
    // (not owned; nullptr goes back to the own stack).
    void setSource(const TImageSource* source);
    const TImageSource* source() const { return source_; }

    TLayerStack& stack() { return stack_; }
    const TLayerStack& stack() const { return stack_; }
    TBitmap32& base() { return stack_.base; }
    const TBitmap32& base() const { return stack_.base; }
    TBitmapLayer* addLayer() { return stack_.addLayer(); }

    // Zoom factor (view pixels per base pixel); the base point at the centre of the
    // viewport stays there. Values that are not positive and finite are ignored.
    void setScale(double scale);
    double scale() const { return scale_; }

    // A picture smaller than the viewport is centred in it (default) or shown at the
    // top left.
    void setCentered(bool centered);
    bool centered() const { return centered_; }

    // View offset of the base picture's top-left corner, in viewport pixels.
    QPointF offset() const { return offset_; }
    TViewPlacement placement() const { return {scale_, offset_}; }

    // Conversions between viewport points and base pixels.
    QPoint viewToMap(const QPointF& p) const;
    QPointF mapToView(const QPointF& m) const;
    QRect mapRectToView(const QRect& r) const;

    // Scrolls so that the base pixel m is at the top-left of the viewport, as far as
    // the scroll bars allow.
    void scrollToMap(const QPoint& m);

    void setBackground(TColor32 c);

    // Repaints the part of the view that shows the base rectangle r.
    void invalidate(const QRect& mapRect);
    // Repaints everything.
    void invalidate();
    // To be called after the base picture changed size: updates the scroll bars and
    // repaints.
    void baseChanged();

signals:
    void mouseDown(QMouseEvent* event, const QPoint& mapPos);
    void mouseMove(QMouseEvent* event, const QPoint& mapPos);
    void mouseUp(QMouseEvent* event, const QPoint& mapPos);
    void mouseDoubleClick(QMouseEvent* event, const QPoint& mapPos);
    // A receiver that handles the wheel accepts the event; otherwise the view scrolls.
    void mouseWheel(QWheelEvent* event, const QPoint& mapPos);
    void scaleChanged(double scale);
    void scrolled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateScrollBars();
    void updateOffset();
    QSize imageSize() const;

    // The own stack as a source.
    class StackSource : public TImageSource {
    public:
        explicit StackSource(const TLayerStack& s) : stack(s) {}
        QSize imageSize() const override { return {stack.base.width(), stack.base.height()}; }
        void compose(const TViewPlacement& p, const QRect& area, TBitmap32& out, TColor32 bg) const override
        {
            composeView(stack, p, area, out, bg);
        }
        const TLayerStack& stack;
    };

    TLayerStack stack_;
    StackSource ownSource_{stack_};
    const TImageSource* source_ = &ownSource_;
    double scale_ = 1.0;
    bool centered_ = true;
    QPointF offset_;
    TColor32 background_ = 0xFFC0C0C0;
    TBitmap32 frame_; // viewport-sized composition buffer
    bool adjusting_ = false;
};
