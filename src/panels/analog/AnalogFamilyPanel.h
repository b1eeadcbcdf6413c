#pragma once

#include "dialogs/SettingsDialogs.h"
#include "panels/analog/AnalogUnitLink.h"
#include "panels/framework/ContainerPanel.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vantel {

// A 16-bit word of the unit as a signed number.
int SignExtend16(int raw);

// Stores the LED thresholds the unit reported into a row of either kind.
template <typename Row> void TakeThresholds(Row& row, const analog::Thresholds& thresholds)
{
    row.ledWhenOutside = thresholds.ledWhenOutside;
    row.thresholdMode = thresholds.mode;
    row.low = SignExtend16(thresholds.lowRaw);
    row.high = SignExtend16(thresholds.highRaw);
}
// What the analog panels share beyond the container: the one link their
// requests go through (a worker for units on the LAN, a node session for
// units behind the gateway), the status line and the traces of the graph page.
class AnalogFamilyPanel : public ContainerPanel {
public:
    // The span a panel's graph starts with.
    static constexpr double kStartSpanSeconds = 60;

protected:
    AnalogFamilyPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogUnitLink> link);

    void checkReplies() override { unitLink_.checkReplies(); }

    // The state of a row that the formula dialog reads and changes, guarded
    // by the panel's lock of its rows.
    struct FormulaState {
        std::mutex& lock;
        const int& rangeCode;
        ChannelFormula& formula;
        GraphRange& display;
    };
    // GUI thread: the formula dialog (換算式, "Scale") of `row`. On OK the
    // formula and the graph range go into the unit record and the row, and
    // the graph is redrawn; false after Cancel or without dialogs.
    bool editFormula(int row, bool outputs, const FormulaState& state, GraphRange defaults);
    // The settings dialogs of the context; null in headless runs.
    SettingsDialogs* dialogs() const { return dialogs_; }

    // Never waits; dropped once the link has stopped, answered as failed by
    // a link that cannot carry it.
    void post(analog::Request request) { unitLink_.post(std::move(request)); }
    AnalogUnitLink& unitLink() const { return unitLink_; }

    // GUI thread: the link's status line for the unit.
    std::string statusText();

    // GUI thread, at start-up: the canvas shows `kStartSpanSeconds` from now.
    void startGraph();
    // A trace in the colour of its graph-page row; null without a canvas.
    LECanvasSeries* addSeries(int row, std::string_view name, double scaleMin, double scaleMax);
    // A trace of a digital channel (0 or 1) in window `index`, hidden until
    // its box on the graph page is ticked.
    LECanvasSeries* addDigitalSeries(int row, std::string_view name, int index);
    LECanvasSeries* series(int row) const;
    // The trace label and the graph page's row name.
    void labelGraphRow(int row, const std::string& label);
    // Any thread: one sample on trace `row` at `seconds`.
    void addSample(int row, double seconds, double value);
    void showGraphValue(int row, std::string_view text);
    // Seconds since the epoch, as the canvas counts time.
    static double nowSeconds();

private:
    AnalogUnitLink& unitLink_;
    SettingsDialogs* const dialogs_;
};

} // namespace vantel
