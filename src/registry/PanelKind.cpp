#include "registry/PanelKind.h"

namespace vantel {

namespace {

using K = ContainerKind;

constexpr std::array<ContainerTraits, kContainerKindCount> kTraits{{
    {K::QZK17, "DlgQZK17", 144, false, false, 3, 5, {"AI1", "AI2", "AI3", "DO1", "DO2"}},
    {K::QZK17V2, "DlgQZK17V2", 139, false, false, 3, 5, {"AI1", "AI2", "AI3", "DO1", "DO2"}},
    {K::QZK19, "CDlgQZK19", 143, true, false, 3, 5, {"AO1", "AO2", "DI1", "DI2", "DI3"}},
    {K::QZK18, "CDlgQZK18", 140, true, false, 3, 5, {"AO1", "AO2", "AO3", "DI1", "DI2"}},
    {K::QZK28, "CDlgQZK28", 137, false, false, 5, 5, {"AI1", "AI2", "AI3", "AI4", "AI5"}},
    {K::QZK17Gateway, "DlgQZK17_GW", 139, false, true, 3, 5, {"AI1", "AI2", "AI3", "DO1", "DO2"}},
    {K::QZK33Gateway, "CDlgQZK33_GW", 146, true, true, 3, 6, {"AO1", "AO2", "AO3", "DI1", "DI2", "DI3"}},
    {K::QZK33, "CDlgQZK33", 146, true, false, 3, 6, {"AO1", "AO2", "AO3", "DI1", "DI2", "DI3"}},
}};

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

const ContainerTraits& TraitsOf(ContainerKind kind)
{
    return kTraits[static_cast<std::size_t>(NumberOf(kind))];
}

std::optional<ContainerKind> ContainerKindFromNumber(int number)
{
    if (number < 0 || number >= kContainerKindCount)
        return std::nullopt;
    return static_cast<ContainerKind>(number);
}

} // namespace vantel
