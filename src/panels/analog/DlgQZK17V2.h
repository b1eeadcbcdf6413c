#pragma once

#include "panels/analog/AnalogInputPanel.h"

namespace vantel {

// Three analog inputs with thermocouple settings and two digital outputs that a DO alert can drive from an input.
class DlgQZK17V2 final : public AnalogInputPanel {
public:
    static constexpr AnalogInputShape kShape{3, 2, true, true};

    DlgQZK17V2(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogInputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
