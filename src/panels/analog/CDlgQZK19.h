#pragma once

#include "panels/analog/AnalogOutputPanel.h"

namespace vantel {

// Two analog outputs and three digital inputs; one line per periodic DI read, when it is answered.
class CDlgQZK19 final : public AnalogOutputPanel {
public:
    static constexpr AnalogOutputShape kShape{2, 3, false};

    CDlgQZK19(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogOutputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
