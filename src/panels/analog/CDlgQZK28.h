#pragma once

#include "panels/analog/AnalogInputPanel.h"

namespace vantel {

// Five analog inputs with thermocouple settings, no digital outputs.
class CDlgQZK28 final : public AnalogInputPanel {
public:
    static constexpr AnalogInputShape kShape{5, 0, true, false};

    CDlgQZK28(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogInputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
