#include "graph/LECanvasWidget.h"

#include "graph/CanvasGeometry.h"
#include "graph/CanvasPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>

#include <memory>

namespace vantel {
namespace {

QColor toQColor(Colour colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QRect toQRect(const PixelRect& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// Outline covering left .. right - 1 and top .. bottom - 1, like a GDI rectangle.
QRect outlineRect(const PixelRect& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1);
}

Qt::Alignment toQtAlignment(int align)
{
    Qt::Alignment out;
    if (align & TextAlign::Left)
        out |= Qt::AlignLeft;
    if (align & TextAlign::Right)
        out |= Qt::AlignRight;
    if (align & TextAlign::HCenter)
        out |= Qt::AlignHCenter;
    if (align & TextAlign::Top)
        out |= Qt::AlignTop;
    if (align & TextAlign::Bottom)
        out |= Qt::AlignBottom;
    if (align & TextAlign::VCenter)
        out |= Qt::AlignVCenter;
    return out;
}

struct ItemPainter {
    QPainter& painter;

    void operator()(const SceneBox& box) const
    {
        painter.setPen(QPen(toQColor(box.outline), 1));
        painter.setBrush(toQColor(box.fill));
        painter.drawRect(outlineRect(box.rect));
    }
    void operator()(const SceneFrame& frame) const
    {
        painter.setPen(QPen(toQColor(frame.colour), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outlineRect(frame.rect));
    }
    void operator()(const SceneLine& line) const
    {
        QPen pen(toQColor(line.colour), 1, line.dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
    }
    void operator()(const ScenePolyline& polyline) const
    {
        QPen pen(toQColor(polyline.colour), 1);
        pen.setCosmetic(true); // one-pixel cosmetic lines take the fast path of the raster engine
        painter.setPen(pen);
        QPolygon points(static_cast<int>(polyline.points.size()));
        for (std::size_t i = 0; i < polyline.points.size(); ++i)
            points.setPoint(static_cast<int>(i), polyline.points[i].x, polyline.points[i].y);
        painter.drawPolyline(points);
        // Wider pens are drawn as shifted copies: stroking a dense zigzag
        // outline costs far more than repeating a fast one-pixel line.
        for (int extra = 1; extra < polyline.width; ++extra) {
            painter.drawPolyline(points.translated(extra, 0));
            painter.drawPolyline(points.translated(0, extra));
        }
    }
    void operator()(const SceneText& text) const
    {
        painter.setPen(toQColor(text.colour));
        painter.drawText(toQRect(text.box), static_cast<int>(toQtAlignment(text.align)) | Qt::TextSingleLine,
                         QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size())));
    }
};

} // namespace

QFont CanvasFont(int pixelHeight)
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setFamilies(
        {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(std::max(pixelHeight, 1));
    return font;
}

QFont CanvasSceneRenderer::fontOfHeight(int pixelHeight)
{
    if (pixelHeight != fontHeight_) {
        font_ = CanvasFont(pixelHeight);
        fontHeight_ = pixelHeight;
    }
    return font_;
}

void CanvasSceneRenderer::render(QPainter& painter, const CanvasScene& scene)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(fontOfHeight(scene.fontHeight));
    const ItemPainter itemPainter{painter};
    for (const SceneItem& item : scene.items)
        std::visit(itemPainter, item);
}

bool SaveScenePng(const CanvasScene& scene, int width, int height, const std::string& path)
{
    // Fonts need a Qt application; a command-line caller has none, and no
    // screen either.
    std::unique_ptr<QGuiApplication> offscreen;
    if (QCoreApplication::instance() == nullptr) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "vantelctl";
        static char* argv[] = {name, nullptr};
        offscreen = std::make_unique<QGuiApplication>(argc, argv);
    }
    QImage image(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CanvasSceneRenderer().render(painter, scene);
    }
    return image.save(QString::fromStdString(path), "PNG");
}

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
