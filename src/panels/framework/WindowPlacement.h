#pragma once

#include "panels/framework/PanelView.h"

#include <optional>

namespace vantel {

struct WindowOrigin {
    int left = 0;
    int top = 0;
};

// Where a panel window goes when its unit has a stored position: each stored
// coordinate that is not negative replaces the window's own, the size kept.
// nullopt keeps the template's position: nothing stored, or the moved window
// would reach past the desktop's right or bottom edge.
std::optional<WindowOrigin> RestoredWindowOrigin(const WindowRect& window, const WindowRect& desktop, int storedLeft,
                                                 int storedTop);

} // namespace vantel
