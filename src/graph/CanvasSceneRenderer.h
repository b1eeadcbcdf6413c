#pragma once

#include "graph/CanvasScene.h"

#include <QFont>

#include <string>

class QPainter;

namespace vantel {

// Replays a canvas scene with QPainter.
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

} // namespace vantel
