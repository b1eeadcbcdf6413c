#pragma once

#include "dialogs/SettingsDialogs.h"
#include "graph/DlgGraphTab.h"
#include "graph/LECanvas.h"
#include "graph/TabPanel.h"
#include "panels/framework/AnalogUnitLink.h"
#include "panels/framework/PanelBase.h"
#include "panels/framework/PanelShapes.h"
#include "registry/PanelKind.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vantel {

// What the tab container gives the panel of its first tab: the kind that
// chose the panel class and the shape of its rows, the unit ID its connect
// reported, and the graph page with its canvas (null when the canvas
// registry was full: the panel then draws no graph).
struct ContainerPage {
    ContainerKind kind = ContainerKind::QZK17;
    int unitId = 0;
    std::shared_ptr<LECanvas> canvas;
    DlgGraphTab* graphPage = nullptr;
    ContainerShape shape{};
};

// A panel that lives in the tab container (the analog family, through the
// gateway or not). The container's window is its view and host, so its
// close runs the one close order of every panel; the one link it was
// handed, checked and open, carries its requests (a worker for units on
// the LAN, a node session for units behind the gateway) and is its own
// until that close releases it. It also keeps the status line and the
// traces of the graph page.
class ContainerPanel : public PanelBase, public TabPanel {
public:
    // The span a panel's graph starts with.
    static constexpr double kStartSpanSeconds = 60;

    // GUI thread, once the container's window exists: first reads, log, tick.
    virtual void start() = 0;

    ContainerKind kind() const { return page_.kind; }
    int unitIdReported() const { return page_.unitId; }
    // True once the link's own start-up sequence is done (see AnalogUnitLink).
    bool startedUp() const { return link_->startedUp(); }

    // TabPanel: the graph page's period list and series changes.
    void selectDisplayPeriod(int index) override;
    void refreshGraph() override;

protected:
    ContainerPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogUnitLink> link);

    PanelLink& link() override { return *link_; }
    AnalogUnitLink& unitLink() const { return *link_; }
    const ContainerShape& containerShape() const { return page_.shape; }
    LECanvas* canvas() const { return page_.canvas.get(); }
    DlgGraphTab* graphPage() const { return page_.graphPage; }

    void checkReplies() override { link_->checkReplies(); }
    // Never waits; dropped once the link has stopped, answered as failed by
    // a link that cannot carry it.
    void post(analog::Request request) { link_->post(std::move(request)); }

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
    // The links of the units behind the gateway run the panel's start-up and
    // its reply watchdog.
    template <typename> friend class NodeAnalogLink;

    const ContainerPage page_;
    std::unique_ptr<AnalogUnitLink> link_;
    SettingsDialogs* const dialogs_;
};

} // namespace vantel
