#pragma once

#include "panels/framework/ContainerPanel.h"
#include "panels/framework/WorkerLink.h"
#include "panels/gateway/NodeSession.h"

#include <memory>

namespace vantel {

// The panel of an analog container kind of a unit on the LAN, on `view`
// with the unit's checked link; null for the gateway kinds, whose link
// belongs to the gateway.
PanelPtr<ContainerPanel> MakeAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                         std::unique_ptr<AnalogLink> link);
// The panel of a gateway kind on the unit's node; null for the other kinds.
PanelPtr<ContainerPanel> MakeGatewayAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                                std::unique_ptr<NodeSession> link);

// The 自動 box and period box that poll a panel's inputs: AI auto of the
// input classes, DI auto of the output classes.
struct PollingControls {
    int autoBox;
    int periodBox;
};
PollingControls PollingControlsOf(ContainerKind kind);

} // namespace vantel
