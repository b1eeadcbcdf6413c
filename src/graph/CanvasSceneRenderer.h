#pragma once

#include "graph/CanvasScene.h"

#include <QFont>

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

// Monospaced font holding Japanese glyphs, at a pixel height.
QFont CanvasFont(int pixelHeight);

} // namespace vantel
