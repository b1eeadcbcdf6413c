#pragma once

#include "panels/analog/AnalogInputPanel.h"
#include "panels/gateway/NodeInputLink.h"

#include <memory>

namespace vantel {

// The wireless unit with two relay outputs and three analog inputs, behind
// the gateway: the rows of its wired twin (ranges, thermocouples, LED
// thresholds, formulas, graph and CSV) on the node's link.
class DlgQZK17_GW final : public AnalogInputPanel {
public:
    static constexpr AnalogInputShape kShape{3, 2, true, false, false, kSecondsRule, kSecondsUnit};

    DlgQZK17_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> session)
        : AnalogInputPanel(view, std::move(context), std::move(page),
                           std::make_unique<NodeInputLink>(std::move(session)), kShape)
    {
    }

    // Relay states as CVantelGW counts them: 0 off, 1 on, 2 not read yet.
    int relayState(int output) const { return node().outputsKnown() ? (outputBits() >> output) & 1 : 2; }
    bool pulses(int output) const { return node().pulses(output); }
    int configurationByte() const { return node().configurationByte(); }
    bool startedUp() const { return node().startedUp(); }

private:
    const NodeInputLink& node() const { return static_cast<const NodeInputLink&>(inputLink()); }
};

} // namespace vantel
