#pragma once

#include "graph/CanvasObserver.h"
#include "graph/CanvasScene.h"
#include "graph/LECanvas.h"

#include <QFont>
#include <QWidget>

#include <memory>
#include <string>

class QPainter;
class QScrollBar;

namespace vantel {

// Replays a canvas scene with QPainter: how the canvas widget draws, also
// used without one (PNG files of vantelctl plot).
class CanvasSceneRenderer {
public:
    void render(QPainter& painter, const CanvasScene& scene);

private:
    QFont fontOfHeight(int pixelHeight);

    QFont font_;
    int fontHeight_ = -1;
};

// Draws a scene of width x height pixels into a PNG file, without a screen:
// starts an offscreen Qt for the drawing when no Qt application runs.
bool SaveScenePng(const CanvasScene& scene, int width, int height, const std::string& path);

// Monospaced font holding Japanese glyphs, at a pixel height.
QFont CanvasFont(int pixelHeight);

// The window of a trend canvas: W x H of drawing and, when the canvas has
// one, a scroll bar of H / 25 below it. It paints what the model decides and
// forwards scrolling and mouse moves to it. Model changes made on other
// threads arrive here as queued repaints.
class LECanvasWidget : public QWidget, private CanvasObserver {
    Q_OBJECT
public:
    LECanvasWidget(std::shared_ptr<LECanvas> canvas, QWidget* parent = nullptr);
    ~LECanvasWidget() override;

    LECanvas& canvas() const { return *canvas_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    // The read-out strip, the only area a mouse move repaints.
    QRect readoutRect() const;
    // The drawing without the scroll bar.
    QImage renderImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void canvasInvalidated(bool scrollChanged) override;
    void syncScrollBar();
    void onScrollAction(int action);

    std::shared_ptr<LECanvas> canvas_;
    QScrollBar* scrollBar_ = nullptr;
    CanvasSceneRenderer renderer_;
};

} // namespace vantel
