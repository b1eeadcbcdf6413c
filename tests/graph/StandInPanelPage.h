#pragma once

#include "graph/DisplayPeriod.h"
#include "graph/PanelPage.h"

#include <QLabel>

namespace vantel::test {

// A minimal first-tab page standing in for an analog panel: it records what
// the container and the graph page ask of it and drives its canvas as a panel
// would.
class StandInPanelPage : public PanelPage, public TabPanel {
public:
    explicit StandInPanelPage(const PanelPageContext& context)
        : PanelPage(context.parent), canvas(context.canvas), graphPage(context.graphPage)
    {
        resize(600, 300);
        new QLabel(QStringLiteral("stand-in panel"), this);
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
    void SelectDisplayPeriod(int index) override
    {
        periods.push_back(index);
        if (canvas && ApplyDisplayPeriod(*canvas, index))
            canvas->Refresh();
    }
    void RefreshGraph() override
    {
        ++refreshes;
        if (canvas)
            canvas->Refresh();
    }
    void OpenScaleDialog(int row) override { scaleRows.push_back(row); }
    void SetClosing() override { closing = true; }

    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage;
    std::vector<int> periods;
    std::vector<int> scaleRows;
    int refreshes = 0;
    bool closing = false;
};

} // namespace vantel::test
