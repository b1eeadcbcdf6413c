#include "graph/ContainerPlacement.h"

namespace vantel {

std::optional<PixelPoint> RestoredWindowPosition(PixelRect normal, int storedLeft, int storedTop, PixelRect desktop)
{
    PixelRect shifted = normal;
    if (storedLeft >= 0) {
        shifted.right = storedLeft + (normal.right - normal.left);
        shifted.left = storedLeft;
    }
    if (storedTop >= 0) {
        shifted.bottom = storedTop + (normal.bottom - normal.top);
        shifted.top = storedTop;
    }
    if (shifted.right > desktop.right || shifted.bottom > desktop.bottom)
        return std::nullopt;
    return PixelPoint{shifted.left, shifted.top};
}

} // namespace vantel
