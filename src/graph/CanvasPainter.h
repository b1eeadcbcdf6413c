#pragma once

#include "graph/CanvasScene.h"
#include "graph/CanvasText.h"
#include "graph/LECanvas.h"

namespace vantel {

// Everything one paint of the canvas draws, taken under the canvas lock:
// the whole picture, or only the cursor read-out strip.
CanvasScene PaintCanvas(const LECanvas& canvas, PaintKind kind, const LocalTimeFn& localTime = SystemLocalTime);

} // namespace vantel
