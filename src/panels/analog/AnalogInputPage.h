#pragma once

#include "dialogs/QtSettingsDialogs.h"
#include "panels/analog/AnalogInputPanel.h"
#include "panels/framework/PanelContext.h"
#include "panels/framework/PanelPage.h"

#include <functional>
#include <memory>

class QGroupBox;

namespace vantel {

class PanelWindow;

// The first tab of an analog-input unit: the AI rows with their range
// choice, readings and bars, the digital outputs, the sample rate and the
// status line, bound to the container window by their control ids.
class AnalogInputPage : public PanelPage {
public:
    using PanelMaker = std::function<PanelPtr<AnalogInputPanel>(PanelContext, ContainerPage)>;
    AnalogInputPage(PanelPageContext& context, PanelContext panelContext, int unitId, AnalogInputShape shape,
                    const PanelMaker& makePanel);

    TabPanel& tabPanel() override { return *panel_; }
    AnalogInputPanel& panel() { return *panel_; }

private:
    void buildInputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape);
    void buildOutputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape);
    void clicked(int id);

    QtSettingsDialogs dialogs_;
    AnalogInputPanel* panel_ = nullptr;
};

// The page of an analog-input container kind (0, 1, 4, 5), with its panel
// on `link` (the unit's own worker, or its node on the gateway link).
template <typename Panel, typename Link>
AnalogInputPage* MakeAnalogInputPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                                     std::unique_ptr<Link> link)
{
    return new AnalogInputPage(
        context, std::move(panelContext), unitId, Panel::kShape, [&](PanelContext c, ContainerPage page) {
            return MakePanel<Panel>(*context.window, std::move(c), std::move(page), std::move(link));
        });
}

} // namespace vantel
