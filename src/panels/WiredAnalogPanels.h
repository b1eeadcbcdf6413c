#pragma once

#include "panels/PanelKindTable.h"
#include "panels/analog/AnalogInputPanel.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/framework/WorkerLink.h"

#include <memory>
#include <type_traits>
#include <variant>

namespace vantel {

// A wired analog panel of a container kind: the panel of its direction
// (AnalogInputPanel or AnalogOutputPanel) with the shape of the kind's row,
// on the worker over the unit's own channel.
template <typename Direction, ContainerKind Kind> class WiredAnalogPanel final : public Direction {
public:
    using Shape =
        std::conditional_t<std::is_base_of_v<AnalogInputPanel, Direction>, AnalogInputShape, AnalogOutputShape>;

    WiredAnalogPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : Direction(view, std::move(context), std::move(page), std::move(link), std::get<Shape>(KindRowOf(Kind).shape))
    {
    }
};

// The panel classes of the wired analog units, by the names they are known by.
using DlgQZK17 = WiredAnalogPanel<AnalogInputPanel, ContainerKind::QZK17>;
using DlgQZK17V2 = WiredAnalogPanel<AnalogInputPanel, ContainerKind::QZK17V2>;
using CDlgQZK28 = WiredAnalogPanel<AnalogInputPanel, ContainerKind::QZK28>;
using CDlgQZK19 = WiredAnalogPanel<AnalogOutputPanel, ContainerKind::QZK19>;
using CDlgQZK18 = WiredAnalogPanel<AnalogOutputPanel, ContainerKind::QZK18>;
using CDlgQZK33 = WiredAnalogPanel<AnalogOutputPanel, ContainerKind::QZK33>;

} // namespace vantel
