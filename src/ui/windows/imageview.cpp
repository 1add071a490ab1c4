#include "ui/windows/imageview.h"

#include "ui/arrondi.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

TImageView::TImageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void TImageView::setSource(const TImageSource* source)
{
    source_ = source ? source : &ownSource_;
    baseChanged();
}

QSize TImageView::imageSize() const
{
    return source_->imageSize();
}

void TImageView::setScale(double scale)
{
    if (!std::isfinite(scale) || scale <= 0 || scale == scale_)
        return;
    // Keep the base point at the viewport centre where it is.
    const QSize vs = viewport()->size();
    const double cx = (vs.width() / 2.0 - offset_.x()) / scale_;
    const double cy = (vs.height() / 2.0 - offset_.y()) / scale_;
    scale_ = scale;
    adjusting_ = true;
    updateScrollBars();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(cx * scale_ - vs.width() / 2.0)));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(cy * scale_ - vs.height() / 2.0)));
    adjusting_ = false;
    updateOffset();
    viewport()->update();
    emit scaleChanged(scale_);
}

void TImageView::setCentered(bool centered)
{
    centered_ = centered;
    updateOffset();
    viewport()->update();
}

QPoint TImageView::viewToMap(const QPointF& p) const
{
    auto conv = [this](double v, double o) { return arrondi((v - o) / scale_); };
    return {conv(p.x(), offset_.x()), conv(p.y(), offset_.y())};
}

QPointF TImageView::mapToView(const QPointF& m) const
{
    return offset_ + m * scale_;
}

QRect TImageView::mapRectToView(const QRect& r) const
{
    return placement().viewRect(r);
}

void TImageView::scrollToMap(const QPoint& m)
{
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(m.x() * scale_)));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(m.y() * scale_)));
}

void TImageView::setBackground(TColor32 c)
{
    background_ = c;
    viewport()->update();
}

void TImageView::invalidate(const QRect& mapRect)
{
    const QRect r = mapRectToView(mapRect).intersected(viewport()->rect());
    if (!r.isEmpty())
        viewport()->update(r);
}

void TImageView::invalidate()
{
    viewport()->update();
}

void TImageView::baseChanged()
{
    updateScrollBars();
    updateOffset();
    viewport()->update();
}

void TImageView::updateScrollBars()
{
    const QSize vs = viewport()->size();
    const QSize is = imageSize();
    const int cw = static_cast<int>(std::ceil(is.width() * scale_));
    const int ch = static_cast<int>(std::ceil(is.height() * scale_));
    horizontalScrollBar()->setRange(0, std::max(0, cw - vs.width()));
    horizontalScrollBar()->setPageStep(std::max(1, vs.width()));
    verticalScrollBar()->setRange(0, std::max(0, ch - vs.height()));
    verticalScrollBar()->setPageStep(std::max(1, vs.height()));
}

void TImageView::updateOffset()
{
    const QSize vs = viewport()->size();
    const QSize is = imageSize();
    const double cw = is.width() * scale_;
    const double ch = is.height() * scale_;
    const double ox = centered_ && cw < vs.width() ? std::floor((vs.width() - cw) / 2) : -horizontalScrollBar()->value();
    const double oy = centered_ && ch < vs.height() ? std::floor((vs.height() - ch) / 2) : -verticalScrollBar()->value();
    offset_ = QPointF(ox, oy);
}

void TImageView::paintEvent(QPaintEvent* event)
{
    const QSize vs = viewport()->size();
    if (vs.isEmpty())
        return;
    if (frame_.width() != vs.width() || frame_.height() != vs.height())
        frame_.setSize(vs.width(), vs.height());
    QPainter p(viewport());
    // The composed pixels are opaque: show them as RGB32, a plain copy for Qt.
    const QImage img(reinterpret_cast<const uchar*>(frame_.bits()), frame_.width(), frame_.height(),
                     frame_.width() * 4, QImage::Format_RGB32);
    for (const QRect& r : event->region()) {
        const QRect a = r.intersected(frame_.boundsRect());
        if (a.isEmpty())
            continue;
        source_->compose(placement(), a, frame_, background_);
        p.drawImage(a.topLeft(), img, a);
    }
}

void TImageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    updateOffset();
}

void TImageView::scrollContentsBy(int dx, int dy)
{
    if (adjusting_)
        return;
    const QPointF before = offset_;
    updateOffset();
    // Shifts the pixels already shown; only the uncovered strip is composed again.
    if (offset_ - before == QPointF(dx, dy))
        viewport()->scroll(dx, dy);
    else
        viewport()->update();
    emit scrolled();
}

void TImageView::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event, viewToMap(event->position()));
}

void TImageView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event, viewToMap(event->position()));
}

void TImageView::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(event, viewToMap(event->position()));
}

void TImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit mouseDoubleClick(event, viewToMap(event->position()));
}

void TImageView::wheelEvent(QWheelEvent* event)
{
    event->ignore();
    emit mouseWheel(event, viewToMap(event->position()));
    if (!event->isAccepted())
        QAbstractScrollArea::wheelEvent(event);
}
