#pragma once

#include "panels/framework/ContainerPanel.h"

#include <memory>

namespace vantel {

// The least panel the tab container can hold, for tests of the container and
// its graph page: it owns the link it is handed, shows which unit is
// connected and closes as every panel does, but reads and writes nothing.
class StandInAnalogPanel : public ContainerPanel {
public:
    StandInAnalogPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<PanelLink> link);
    ~StandInAnalogPanel() override;

    // GUI thread, once the container's window exists.
    void start() override;

    void openScaleDialog(int /*row*/) override {}

protected:
    void periodicWork() override {}
};

} // namespace vantel
