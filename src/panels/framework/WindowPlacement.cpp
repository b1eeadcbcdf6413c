#include "panels/framework/WindowPlacement.h"

namespace vantel {

std::optional<WindowOrigin> RestoredWindowOrigin(const WindowRect& window, const WindowRect& desktop, int storedLeft,
                                                 int storedTop)
{
    if (storedLeft < 0 && storedTop < 0)
        return std::nullopt;
    const WindowOrigin origin{storedLeft >= 0 ? storedLeft : window.left, storedTop >= 0 ? storedTop : window.top};
    const int right = origin.left + (window.right - window.left);
    const int bottom = origin.top + (window.bottom - window.top);
    if (right > desktop.right || bottom > desktop.bottom)
        return std::nullopt;
    return origin;
}

} // namespace vantel
