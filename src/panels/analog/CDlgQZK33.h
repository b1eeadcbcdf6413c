#pragma once

#include "panels/analog/AnalogOutputPanel.h"

namespace vantel {

// Three analog outputs and three digital inputs; a line is logged when the periodic DI read is sent and when it is
// answered.
class CDlgQZK33 final : public AnalogOutputPanel {
public:
    static constexpr AnalogOutputShape kShape{3, 3, true};

    CDlgQZK33(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogOutputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
