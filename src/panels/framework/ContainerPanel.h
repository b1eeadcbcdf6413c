#pragma once

#include "graph/DlgGraphTab.h"
#include "graph/LECanvas.h"
#include "graph/TabPanel.h"
#include "panels/framework/PanelBase.h"
#include "registry/PanelKind.h"

#include <memory>

namespace vantel {

// What the tab container gives the panel of its first tab: the kind that
// chose the panel class, the unit ID its connect reported, and the graph
// page with its canvas (null when the canvas registry was full: the panel
// then draws no graph).
struct ContainerPage {
    ContainerKind kind = ContainerKind::QZK17;
    int unitId = 0;
    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage = nullptr;
};

// A panel that lives in the tab container (the analog family, through the
// gateway or not). The container's window is its view and host, so its
// close runs the one close order of every panel; the link it was handed,
// checked and open, is its own until that close releases it.
class ContainerPanel : public PanelBase, public TabPanel {
public:
    // GUI thread, once the container's window exists: first reads, log, tick.
    virtual void start() = 0;

    ContainerKind kind() const { return page_.kind; }
    int unitIdReported() const { return page_.unitId; }

    // TabPanel: the graph page's period list and series changes.
    void selectDisplayPeriod(int index) override;
    void refreshGraph() override;

protected:
    ContainerPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<PanelLink> link);

    PanelLink& link() override { return *link_; }
    LECanvas* canvas() const { return page_.canvas.get(); }
    DlgGraphTab* graphPage() const { return page_.graphPage; }

private:
    // The links of the units behind the gateway run the panel's start-up and
    // its reply watchdog.
    template <typename> friend class NodeAnalogLink;

    const ContainerPage page_;
    std::unique_ptr<PanelLink> link_;
};

} // namespace vantel
