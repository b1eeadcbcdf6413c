#include "graph/CanvasPainter.h"

#include "graph/CanvasGeometry.h"
#include "graph/SeriesScene.h"
#include "graph/TimeAxisScene.h"

#include <cmath>

namespace vantel {
namespace {

void addReadout(CanvasScene& scene, const CanvasGeometry& geometry, const LECanvas& canvas,
                const LocalTimeFn& localTime)
{
    const CanvasView& view = canvas.viewLocked();
    if (!canvas.cursorEnabledLocked() || view.start == 0 || view.end == 0)
        return;
    scene.items.emplace_back(SceneBox{geometry.readoutStrip(), kBlack, kBlack});
    const PixelPoint mouse = canvas.mouseLocked();
    const LECanvasSeries* selected = canvas.selectedLocked();
    if (!geometry.insidePlot(mouse) || selected == nullptr)
        return;
    const PixelRect& plot = geometry.plot();
    const double min = selected->scaleMinLocked();
    const double max = selected->scaleMaxLocked();
    const double value = min + static_cast<double>(plot.bottom - mouse.y) / (plot.bottom - plot.top) * (max - min);
    const double time = std::trunc(view.start + static_cast<double>(mouse.x - plot.left) / (plot.right - plot.left) *
                                                    (view.end - view.start));
    scene.items.emplace_back(SceneText{geometry.readoutTextBox(),
                                       CursorReadoutText(value, LocalTimeOf(time, localTime)), selected->colourLocked(),
                                       TextAlign::Left | TextAlign::VCenter});
}

void addPlot(CanvasScene& scene, const CanvasGeometry& geometry, const LECanvas& canvas)
{
    const CanvasView& view = canvas.viewLocked();
    if (!(view.end > view.start))
        return;
    const LECanvasSeries* selected = canvas.selectedLocked();
    if (selected != nullptr)
        AddValueAxis(scene, geometry, *selected);
    const auto& series = canvas.seriesLocked();
    for (const auto& one : series)
        if (one.get() != selected)
            AddSeriesPath(scene, geometry, view, *one, 1);
    if (selected != nullptr)
        AddSeriesPath(scene, geometry, view, *selected, series.size() > 1 ? 2 : 1);
}

} // namespace

CanvasScene PaintCanvas(const LECanvas& canvas, PaintKind kind, const LocalTimeFn& localTime)
{
    const CanvasGeometry geometry(canvas.width(), canvas.height());
    CanvasScene scene;
    scene.fontHeight = geometry.fontHeight();
    const auto guard = canvas.lock();
    if (kind == PaintKind::Full) {
        scene.items.emplace_back(SceneBox{{0, 0, geometry.width(), geometry.height()}, kBlack, kBlack});
        AddTimeAxis(scene, geometry, canvas.viewLocked(), localTime);
        addPlot(scene, geometry, canvas);
    }
    addReadout(scene, geometry, canvas, localTime);
    return scene;
}

} // namespace vantel
