#pragma once

#include "graph/CanvasTypes.h"

#include <optional>

namespace vantel {

// Where to put a window whose normal rectangle is `normal`, given the stored
// left and top (negative: none stored): shifted to them with its size kept,
// or nothing when the shifted window would reach past the desktop's right or
// bottom edge (the window then keeps its own place).
std::optional<PixelPoint> RestoredWindowPosition(PixelRect normal, int storedLeft, int storedTop, PixelRect desktop);

} // namespace vantel
