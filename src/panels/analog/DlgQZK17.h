#pragma once

#include "panels/analog/AnalogInputPanel.h"

namespace vantel {

// Three analog inputs and two digital outputs.
class DlgQZK17 final : public AnalogInputPanel {
public:
    static constexpr AnalogInputShape kShape{3, 2, false, false};

    DlgQZK17(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link)
        : AnalogInputPanel(view, std::move(context), std::move(page), std::move(link), kShape)
    {
    }
};

} // namespace vantel
