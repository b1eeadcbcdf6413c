#include "registry/PanelKind.h"

namespace vantel {

std::optional<ContainerKind> ContainerKindFromNumber(int number)
{
    if (number < 0 || number >= kContainerKindCount)
        return std::nullopt;
    return static_cast<ContainerKind>(number);
}

} // namespace vantel
