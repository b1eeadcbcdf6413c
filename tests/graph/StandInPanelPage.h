#pragma once

#include "graph/DisplayPeriod.h"
#include "panels/framework/PanelPage.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/PanelWindow.h"
#include "support/StandInAnalogPanel.h"

#include <QLabel>

namespace vantel::test {

// A minimal first-tab page standing in for an analog panel: the container's
// panel (which runs the close and owns the link) and a record of what the
// graph page asks of it; it drives its canvas as a panel would.
class StandInPanelPage : public PanelPage, public TabPanel {
public:
    StandInPanelPage(PanelPageContext& context, PanelContext panelContext)
        : PanelPage(context.parent), canvas(context.canvas), graphPage(context.graphPage)
    {
        resize(600, 300);
        auto* status = new QLabel(QStringLiteral("stand-in panel"), this);
        context.window->bind(PanelId::Status, status);
        auto owned = MakePanel<StandInAnalogPanel>(*context.window, std::move(panelContext),
                                                   ContainerPage{context.kind, 0, context.canvas, context.graphPage},
                                                   std::move(context.link));
        panel = owned.get();
        context.window->setPanel(std::move(owned));
        if (canvas) {
            ApplyDisplayPeriod(*canvas, 0);
            for (int row = 0; row < 3; ++row) {
                LECanvasSeries* series = canvas->AddSeries("AI" + std::to_string(row + 1), -10, 10);
                const Colour colour = DlgGraphTab::RowColour(row);
                series->SetColour(colour.red, colour.green, colour.blue);
            }
        }
    }

    TabPanel& tabPanel() override { return *this; }
    void selectDisplayPeriod(int index) override
    {
        periods.push_back(index);
        panel->selectDisplayPeriod(index);
    }
    void refreshGraph() override
    {
        ++refreshes;
        panel->refreshGraph();
    }
    void openScaleDialog(int row) override { scaleRows.push_back(row); }

    StandInAnalogPanel* panel = nullptr;
    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage;
    std::vector<int> periods;
    std::vector<int> scaleRows;
    int refreshes = 0;
};

} // namespace vantel::test
