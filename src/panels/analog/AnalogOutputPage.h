#pragma once

#include "dialogs/PanelSettingsDialog.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/framework/PanelContext.h"
#include "panels/framework/PanelPage.h"

#include <memory>

class QAbstractButton;
class QGridLayout;
class QGroupBox;

namespace vantel {

// The first tab of an analog-output unit: the AO rows with their buttons,
// bars and sweep controls, the DI bank and the status line. The widgets are
// bound to the container window by their control ids; the panel drives them
// through it.
class AnalogOutputPage : public PanelPage {
public:
    // Builds the rows of `shape` and hands the container a panel made by
    // `makePanel` from the finished context.
    using PanelMaker = std::function<PanelPtr<AnalogOutputPanel>(PanelContext, ContainerPage)>;
    AnalogOutputPage(PanelPageContext& context, PanelContext panelContext, int unitId, AnalogOutputShape shape,
                     const PanelMaker& makePanel);

    TabPanel& tabPanel() override { return *panel_; }
    AnalogOutputPanel& panel() { return *panel_; }

private:
    void buildOutputs(QGroupBox& group, PanelWindow& window, int rows);
    void buildInputs(QGroupBox& group, PanelWindow& window, int inputs);
    void bindButton(PanelWindow& window, int id, QAbstractButton* button);

    PanelSettingsDialog dialogs_;
    AnalogOutputPanel* panel_ = nullptr;
};

} // namespace vantel
