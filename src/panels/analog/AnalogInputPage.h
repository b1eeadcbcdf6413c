#pragma once

#include "dialogs/PanelSettingsDialog.h"
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

    PanelSettingsDialog dialogs_;
    AnalogInputPanel* panel_ = nullptr;
};

} // namespace vantel
