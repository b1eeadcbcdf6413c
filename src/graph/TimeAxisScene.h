#pragma once

#include "graph/CanvasGeometry.h"
#include "graph/CanvasScene.h"
#include "graph/CanvasText.h"
#include "graph/LECanvas.h"

namespace vantel {

// Frame, time-per-division caption, vertical grid anchored at the grid origin
// and its date and time labels. Nothing when the view is empty.
void AddTimeAxis(CanvasScene& scene, const CanvasGeometry& geometry, const CanvasView& view,
                 const LocalTimeFn& localTime);

} // namespace vantel
