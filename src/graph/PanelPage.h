#pragma once

#include "graph/DlgGraphTab.h"
#include "graph/LECanvas.h"
#include "graph/TabPanel.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace vantel {

// The first tab of the container: an analog panel's page of any kind.
class PanelPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual TabPanel& tabPanel() = 0;
};

// What the container hands to the panel it creates. The canvas is null when
// the registry was full; the panel then draws no graph.
struct PanelPageContext {
    int kind = 0;
    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage = nullptr;
    QWidget* parent = nullptr;
};

// Builds the panel of a container kind; the caller captures what else the
// panel needs (connection, unit list, logging settings).
using PanelPageFactory = std::function<PanelPage*(const PanelPageContext&)>;

} // namespace vantel
