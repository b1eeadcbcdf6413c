#pragma once

#include "dialogs/QtSettingsDialogs.h"
#include "graph/PanelPage.h"
#include "panels/AnalogInputPanel.h"
#include "panels/PanelContext.h"

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
    using PanelMaker =
        std::function<PanelPtr<AnalogInputPanel>(PanelContext, ContainerPage, std::unique_ptr<AnalogLink>)>;
    AnalogInputPage(PanelPageContext& context, PanelContext panelContext, int unitId, std::unique_ptr<AnalogLink> link,
                    AnalogInputShape shape, const PanelMaker& makePanel);

    TabPanel& tabPanel() override { return *panel_; }
    AnalogInputPanel& panel() { return *panel_; }

private:
    void buildInputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape);
    void buildOutputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape);
    void clicked(int id);

    QtSettingsDialogs dialogs_;
    AnalogInputPanel* panel_ = nullptr;
};

// The page of an analog-input container kind (0, 1, 4), with its panel.
template <typename Panel>
AnalogInputPage* MakeAnalogInputPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                                     std::unique_ptr<AnalogLink> link)
{
    return new AnalogInputPage(context, std::move(panelContext), unitId, std::move(link), Panel::kShape,
                               [&](PanelContext c, ContainerPage page, std::unique_ptr<AnalogLink> owned) {
                                   return MakePanel<Panel>(*context.window, std::move(c), std::move(page),
                                                           std::move(owned));
                               });
}

} // namespace vantel
