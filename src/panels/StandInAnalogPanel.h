#pragma once

#include "panels/ContainerPanel.h"

namespace vantel {

// Holds an analog unit's place in the tab container until the panel of its
// kind takes it: it owns the checked connection, shows which unit is
// connected and closes as every panel does, but reads and writes nothing.
class StandInAnalogPanel : public ContainerPanel {
public:
    StandInAnalogPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<PanelLink> link);
    ~StandInAnalogPanel() override;

    // GUI thread, once the container's window exists.
    void start() override;
    std::string statusText();

    void OpenScaleDialog(int /*row*/) override {}

protected:
    void periodicWork() override {}
};

} // namespace vantel
