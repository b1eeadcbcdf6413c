#include "cli/LoggablePanels.h"

#include "cli/GatewayLinks.h"
#include "cli/GatewayModelCheck.h"
#include "cli/TerminalText.h"
#include "panels/UnitOpen.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/PanelTexts.h"
#include "panels/gateway/CVantelGW.h"
#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <optional>
#include <stop_token>
#include <string>

namespace vantel::ctl {
namespace {

// Ticks the panel's polling box with the period asked for; false (the panel
// closed again) when the panel refuses the period.
bool SwitchOnPolling(PanelBase& panel, HeadlessPanelControls& view, PollingControls polling,
                     const std::optional<std::string>& period)
{
    if (period)
        view.setText(polling.periodBox, *period);
    view.setChecked(polling.autoBox, true);
    panel.onAutoClicked(polling.autoBox);
    if (view.isChecked(polling.autoBox))
        return true;
    view.closeAndWait(panel);
    return false;
}

LoggingPanel Logging(PanelPtr<PanelBase> panel)
{
    const CsvLogger* log = &panel->logger();
    return {std::move(panel), log, {}};
}

// An analog panel stays open after a failed exchange; nobody is there to
// read on, so the run ends at the panel's message.
LoggingPanel EndingAtMessage(LoggingPanel opened, HeadlessPanelControls& view, const char* message)
{
    opened.failed = [&view, message] {
        const auto shown = view.messages();
        return std::find(shown.begin(), shown.end(), message) != shown.end();
    };
    return opened;
}

// Opening a unit without a window: its panel on the headless view, on the
// run's one link to its gateway, started with its logging poll switched on.
class HeadlessOpening final : public UnitOpening {
public:
    HeadlessOpening(HeadlessPanelControls& view, PanelContext context, const UnitRecord& unit,
                    const std::optional<std::string>& period)
        : view_(view), context_(std::move(context)), unit_(unit), period_(period)
    {
    }

    LoggingPanel take() { return std::move(opened_); }

    void openConnectingPanel(const PanelKindRow& row) override
    {
        auto panel = MakePanel<CVantelDIGITAL>(view_, std::move(context_));
        if (panel->start() && SwitchOnPolling(*panel, view_, row.polling, period_))
            opened_ = Logging(std::move(panel));
    }

    void openOnChannel(const PanelKindRow& row, ConnectedAnalogUnit unit) override
    {
        runContainerPanel(row, unit.unitId, {std::move(unit.channel)});
    }

    CGatewayLink* gatewayLink() override
    {
        int error = 0;
        CGatewayLink* link = GatewayLinks::instance().linkFor(unit_, context_.app.adapterAddress.load(), error);
        if (link == nullptr)
            view_.showMessage(ConnectErrorText(error));
        return link;
    }

    void openOnGateway(const PanelKindRow& row, CGatewayLink& link) override
    {
        auto panel = MakePanel<CVantelGW>(view_, std::move(context_), link);
        panel->start();
        if (SwitchOnPolling(*panel, view_, row.polling, period_))
            opened_ = Logging(std::move(panel));
    }

    // Checked as the main window's connect checks it, then the panel on the
    // unit's node with the unit ID the check reported.
    void checkThenOpenOnGateway(const PanelKindRow& row, CGatewayLink& link) override
    {
        if (const std::optional<int> unitId = CheckGatewayModel(link, unit_, view_))
            runContainerPanel(row, *unitId, {nullptr, &link, unit_.node, unit_.replyTimeout});
    }

private:
    // A panel of the tab container, started and polling; the run ends at
    // the row's failure message.
    void runContainerPanel(const PanelKindRow& row, int unitId, ContainerLinkSource link)
    {
        PanelPtr<ContainerPanel> panel = row.makePanel(
            view_, std::move(context_), ContainerPage{row.kind.container, unitId, nullptr, nullptr}, std::move(link));
        panel->start();
        if (SwitchOnPolling(*panel, view_, row.polling, period_))
            opened_ = EndingAtMessage(Logging(std::move(panel)), view_, row.failureMessage);
    }

    HeadlessPanelControls& view_;
    PanelContext context_;
    const UnitRecord& unit_;
    const std::optional<std::string>& period_;
    LoggingPanel opened_;
};

// Connects, checks and opens the unit as the main window's connect does.
LoggingPanel OpenLogging(HeadlessPanelControls& view, PanelContext context, const std::optional<std::string>& period)
{
    const UnitRecord* unit = context.list.find(context.unit);
    if (unit == nullptr)
        return {};
    const AppState& app = context.app;
    const std::stop_token giveUp = context.giveUp;
    HeadlessOpening opening(view, std::move(context), *unit, period);
    OpenUnit(*unit, app, view, opening, giveUp);
    return opening.take();
}

} // namespace

LoggingSupport LoggingFor(const UnitRecord& unit)
{
    const ModelRow& model = ModelAt(unit.modelRow);
    const PanelKindRow* row = KindRowOf(model);
    if (row == nullptr)
        return {{}, "\"" + Printable(unit.name) + "\" is of a model that no panel opens"};
    if (row->kind.panel != PanelClass::Container && model.inputCount == 0)
        return {{},
                "\"" + Printable(unit.name) + "\" (" + std::string(model.displayName) +
                    ") has no digital inputs; the panel logs only while it polls them"};
    return {OpenLogging, {}};
}

} // namespace vantel::ctl
