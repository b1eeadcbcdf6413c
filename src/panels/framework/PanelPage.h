#pragma once

#include "graph/DlgGraphTab.h"
#include "graph/LECanvas.h"
#include "graph/TabPanel.h"
#include "panels/framework/PanelLink.h"
#include "registry/PanelKind.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace vantel {

class PanelWindow;

// The first tab of the container: an analog panel's page of any kind.
class PanelPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual TabPanel& tabPanel() = 0;
};

// What the container hands to the page it creates. The page builds its
// widgets under `parent`, binds them to the container (`window`, the view
// and host of the panel) and gives the container the panel, which takes the
// link. The canvas is null when the registry was full; the panel then draws
// no graph.
struct PanelPageContext {
    ContainerKind kind = ContainerKind::QZK17;
    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage = nullptr;
    QWidget* parent = nullptr;
    PanelWindow* window = nullptr;
    std::unique_ptr<PanelLink> link;
};

// Builds the page of a container kind; the caller captures what else the
// panel needs (unit list, logging settings).
using PanelPageFactory = std::function<PanelPage*(PanelPageContext&)>;

} // namespace vantel
