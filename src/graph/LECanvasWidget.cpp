#include "graph/LECanvasWidget.h"

#include "graph/CanvasGeometry.h"
#include "graph/CanvasPainter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace vantel {

LECanvasWidget::LECanvasWidget(std::shared_ptr<LECanvas> canvas, QWidget* parent)
    : QWidget(parent), canvas_(std::move(canvas))
{
    const int w = canvas_->width();
    const int h = canvas_->height();
    const int barHeight = canvas_->hasScrollBar() ? h / 25 : 0;
    setGeometry(canvas_->x(), canvas_->y(), w, h + barHeight);
    setFixedSize(w, h + barHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (canvas_->hasScrollBar()) {
        scrollBar_ = new QScrollBar(Qt::Horizontal, this);
        scrollBar_->setGeometry(0, h, w, barHeight);
        scrollBar_->setTracking(true);
        connect(scrollBar_, &QScrollBar::actionTriggered, this, &LECanvasWidget::onScrollAction);
        syncScrollBar();
    }
    canvas_->setObserver(this);
}

LECanvasWidget::~LECanvasWidget()
{
    // Waits for a notification running on another thread; later ones see no observer.
    canvas_->setObserver(nullptr);
}

QRect LECanvasWidget::readoutRect() const
{
    const PixelRect strip = CanvasGeometry(canvas_->width(), canvas_->height()).readoutStrip();
    return QRect(strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top);
}

void LECanvasWidget::canvasInvalidated(bool scrollChanged)
{
    QMetaObject::invokeMethod(
        this,
        [this, scrollChanged] {
            if (scrollChanged)
                syncScrollBar();
            update(0, 0, canvas_->width(), canvas_->height());
        },
        Qt::QueuedConnection);
}

void LECanvasWidget::syncScrollBar()
{
    if (scrollBar_ == nullptr)
        return;
    const ScrollState scroll = canvas_->scrollState();
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setRange(0, std::max(0, LECanvas::kScrollUnits - scroll.page));
    scrollBar_->setPageStep(scroll.page);
    scrollBar_->setSingleStep(std::max(1, scroll.page / 16));
    scrollBar_->setValue(scroll.position);
}

void LECanvasWidget::onScrollAction(int action)
{
    ScrollRequest request = ScrollRequest::EndScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollRequest::LineLeft;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollRequest::LineRight;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollRequest::PageLeft;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollRequest::PageRight;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollRequest::Left;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollRequest::Right;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollRequest::Track;
        break;
    default:
        return;
    }
    canvas_->scroll(request, scrollBar_->sliderPosition());
    // The model decides where the thumb ends up.
    const ScrollState scroll = canvas_->scrollState();
    scrollBar_->setPageStep(scroll.page);
    scrollBar_->setSliderPosition(scroll.position);
}

void LECanvasWidget::paintEvent(QPaintEvent* event)
{
    const bool readoutOnly = readoutRect().contains(event->rect());
    const PaintKind kind = canvas_->beginPaint(readoutOnly);
    const CanvasScene scene = PaintCanvas(*canvas_, kind);
    QPainter painter(this);
    renderer_.render(painter, scene);
}

void LECanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (canvas_->mouseMoved(at.x(), at.y()))
        update(readoutRect());
}

void LECanvasWidget::leaveEvent(QEvent* event)
{
    // Leaving the window leaves the plot too: clear the read-out.
    if (canvas_->mouseMoved(-1, -1))
        update(readoutRect());
    QWidget::leaveEvent(event);
}

QImage LECanvasWidget::renderImage()
{
    QImage image(canvas_->width(), canvas_->height(), QImage::Format_RGB32);
    QPainter painter(&image);
    renderer_.render(painter, PaintCanvas(*canvas_, PaintKind::Full));
    return image;
}

} // namespace vantel
