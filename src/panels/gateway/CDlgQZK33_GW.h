#pragma once

#include "panels/analog/AnalogOutputPanel.h"
#include "panels/gateway/NodeOutputLink.h"

#include <memory>

namespace vantel {

// The wireless unit with three analog outputs and three digital inputs,
// behind the gateway: the rows of its wired twin (set values through the
// formula, sweeps, LED thresholds, graph and CSV) on the node's link.
class CDlgQZK33_GW final : public AnalogOutputPanel {
public:
    static constexpr AnalogOutputShape kShape{3, 3, true, kSecondsRule, kSecondsUnit};

    CDlgQZK33_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> session)
        : AnalogOutputPanel(view, std::move(context), std::move(page),
                            std::make_unique<NodeOutputLink>(std::move(session)), kShape)
    {
    }

    // True while commands of earlier ticks are still on the radio.
    bool tickCommandsPending() const { return node().tickCommandsPending(); }
    bool startedUp() const { return node().startedUp(); }

private:
    const NodeOutputLink& node() const { return static_cast<const NodeOutputLink&>(outputLink()); }
};

} // namespace vantel
