#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/CGatewayLink.h"
#include "graph/GraphPageLayout.h"
#include "panels/framework/ContainerPanel.h"
#include "panels/framework/PanelShapes.h"
#include "registry/PanelKind.h"

#include <array>
#include <memory>
#include <string_view>
#include <variant>

namespace vantel {

// The 自動 box and period box that poll a panel's inputs.
struct PollingControls {
    int autoBox = 0;
    int periodBox = 0;
};

// How a unit is reached before its panel opens.
enum class ConnectRoute {
    ByPanel,           // the panel connects and checks the unit itself
    UnitChannel,       // connected and its model checked on a channel the panel takes
    GatewayNode,       // the shared gateway link is opened; the panel takes the unit's node
    GatewayModelCheck, // the same, once the node's "md" reply named the unit's model
};

// What a container panel talks through: the unit's checked channel, or its
// node on the open gateway link.
struct ContainerLinkSource {
    std::unique_ptr<CAnalogChannel> channel;
    CGatewayLink* gateway = nullptr;
    int node = 0;
    int replyTimeoutSeconds = 0;
};

using ContainerPanelFactory = PanelPtr<ContainerPanel> (*)(PanelView& view, PanelContext context, ContainerPage page,
                                                           ContainerLinkSource link);

inline constexpr int kNoModelRow = -1;

// One row of the kind table: everything a panel class or container kind is.
// The page of a container kind is the page of its shape's direction.
struct PanelKindRow {
    PanelKind kind;
    std::string_view panelClass;
    // Container kinds only: the catalogue rows of the models that open it
    // (kNoModelRow where there is only one).
    std::array<int, 2> modelRows{kNoModelRow, kNoModelRow};
    ConnectRoute connect = ConnectRoute::ByPanel;
    PollingControls polling;
    // Container kinds only.
    int templateId = 0;
    ContainerShape shape{};
    GraphPageLayout graph{};
    ContainerPanelFactory makePanel = nullptr;
    // A container panel stays open after a failed exchange, showing this
    // message; a run without a window ends there.
    const char* failureMessage = nullptr;

    bool viaGateway() const
    {
        return connect == ConnectRoute::GatewayNode || connect == ConnectRoute::GatewayModelCheck;
    }
    bool analogOutputs() const { return std::holds_alternative<AnalogOutputShape>(shape); }
    bool opensModel(int modelRow) const { return modelRow == modelRows[0] || modelRow == modelRows[1]; }
};

} // namespace vantel
