#pragma once

#include "dialogs/QtSettingsDialogs.h"
#include "graph/PanelPage.h"
#include "panels/AnalogOutputPanel.h"
#include "panels/PanelContext.h"

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
    using PanelMaker =
        std::function<PanelPtr<AnalogOutputPanel>(PanelContext, ContainerPage, std::unique_ptr<AnalogLink>)>;
    AnalogOutputPage(PanelPageContext& context, PanelContext panelContext, int unitId, std::unique_ptr<AnalogLink> link,
                     AnalogOutputShape shape, const PanelMaker& makePanel);

    TabPanel& tabPanel() override { return *panel_; }
    AnalogOutputPanel& panel() { return *panel_; }

private:
    void buildOutputs(QGroupBox& group, PanelWindow& window, int rows);
    void buildInputs(QGroupBox& group, PanelWindow& window, int inputs);
    void bindButton(PanelWindow& window, int id, QAbstractButton* button);

    QtSettingsDialogs dialogs_;
    AnalogOutputPanel* panel_ = nullptr;
};

// The page of an analog-output container kind (2, 3, 7), with its panel.
template <typename Panel>
AnalogOutputPage* MakeAnalogOutputPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                                       std::unique_ptr<AnalogLink> link)
{
    return new AnalogOutputPage(context, std::move(panelContext), unitId, std::move(link), Panel::kShape,
                                [&](PanelContext c, ContainerPage page, std::unique_ptr<AnalogLink> owned) {
                                    return MakePanel<Panel>(*context.window, std::move(c), std::move(page),
                                                            std::move(owned));
                                });
}

} // namespace vantel
