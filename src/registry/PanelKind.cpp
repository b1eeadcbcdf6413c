#include "registry/PanelKind.h"

#include <array>

namespace vantel {

namespace {

using K = ContainerKind;

struct RowKind {
    int row;
    ContainerKind kind;
};

constexpr std::array<RowKind, 9> kContainerRows{{
    {18, K::QZK17V2},
    {19, K::QZK17},
    {20, K::QZK18},
    {21, K::QZK19},
    {30, K::QZK28},
    {37, K::QZK17Gateway},
    {38, K::QZK33Gateway},
    {48, K::QZK17V2},
    {49, K::QZK33},
}};

} // namespace

PanelKind PanelKindOf(const ModelRow& model)
{
    if (!IsKnownModelRow(model.index))
        return {};
    if (model.isAnalog()) {
        for (const RowKind& entry : kContainerRows)
            if (entry.row == model.index)
                return {PanelClass::Container, entry.kind};
        return {};
    }
    return {model.isGateway() ? PanelClass::DigitalGateway : PanelClass::Digital};
}

std::optional<ContainerKind> ContainerKindFromNumber(int number)
{
    if (number < 0 || number >= kContainerKindCount)
        return std::nullopt;
    return static_cast<ContainerKind>(number);
}

} // namespace vantel
