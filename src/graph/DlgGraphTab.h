#pragma once

#include "graph/CanvasTypes.h"
#include "graph/GraphPageLayout.h"
#include "graph/LECanvas.h"
#include "graph/TabPanel.h"
#include "ui/ControlView.h"

#include <memory>
#include <string_view>

namespace vantel {

// The graph page of the tab container: period, show/hide boxes, the series
// whose scale is drawn, and per row a colour, a name, a live value and a
// "Scale" button. Its rows follow the layout of the container kind.
class DlgGraphTab {
public:
    DlgGraphTab(ControlView& view, const GraphPageLayout& layout);

    void setCanvas(std::shared_ptr<LECanvas> canvas);
    void setPanel(TabPanel* panel) { panel_ = panel; }
    // Analog rows come first: 5 for the five-input unit, else 3.
    int analogRows() const { return layout_.analogPageRows; }

    void onInitDialog();
    void onPeriodSelected();
    void onSeriesSelected();
    void onCheckClicked(int controlId);
    void onScaleClicked(int controlId);

    // Called by the panels, also from reply threads (the view marshals).
    void SetRowValue(int row, std::string_view text);
    // The row's name label ("AO1: name").
    void setRowLabel(int row, std::string_view text);
    // The row's "Scale" button, locked while its output runs.
    void enableRow(int row, bool enabled);
    void SetRowUnit(int row, int rangeCode, double multiplier, double offset, std::string_view unit);

    static Colour RowColour(int row);

private:
    LECanvasSeries* seriesOfRow(int row) const;

    ControlView& view_;
    const GraphPageLayout layout_;
    std::shared_ptr<LECanvas> canvas_;
    TabPanel* panel_ = nullptr;
};

// Unit text shown for a row: the user's unit, or with an identity formula and
// no unit the unit of the channel's range code.
std::string RowUnitText(const GraphPageLayout& layout, int rangeCode, double multiplier, double offset,
                        std::string_view unit);

} // namespace vantel
