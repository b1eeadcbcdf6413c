#include "graph/CanvasSceneRenderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>

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

} // namespace vantel
