#pragma once

#include "graph/LECanvas.h"

namespace vantel {

inline constexpr int kDisplayPeriodCount = 10;

// Applies item `index` of the period list ("1min" ... "24hour") to a canvas:
// span, then time per division. False, and nothing changed, for an index
// outside the list. The caller refreshes the canvas afterwards.
bool ApplyDisplayPeriod(LECanvas& canvas, int index);

} // namespace vantel
