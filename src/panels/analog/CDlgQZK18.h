#pragma once

#include "panels/analog/AnalogOutputPanel.h"

namespace vantel {

// Three analog outputs and two digital inputs; a line when the periodic DI read is sent and when it is answered.
class CDlgQZK18 final : public AnalogOutputPanel {
public:
    static constexpr AnalogOutputShape kShape{3, 2, true};

    CDlgQZK18(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogOutputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
