#pragma once

#include "graph/CanvasGeometry.h"
#include "graph/CanvasScene.h"
#include "graph/LECanvas.h"

namespace vantel {

// Legend and value scale of the selected series.
void AddValueAxis(CanvasScene& scene, const CanvasGeometry& geometry, const LECanvasSeries& series);

// The polyline strokes of one series inside the view; nothing for a hidden or
// empty series. Samples with a non-finite time or value are skipped.
void AddSeriesPath(CanvasScene& scene, const CanvasGeometry& geometry, const CanvasView& view,
                   const LECanvasSeries& series, int penWidth);

} // namespace vantel
